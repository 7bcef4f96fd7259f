#pragma once
// The controls the windows are drawn with, laid out in twips as the windows'
// designs give them (15 twips to a pixel), and the few behaviours the stock
// Qt widgets lack: pictures, frames and labels that take a click, option
// buttons that can all be unselected, a timer that a test can fire.

#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRect>
#include <QTimer>

namespace tarvex::plateforme {

class Images;

inline constexpr int kTwipsParPixel = 15;
inline int px(int twips) { return (twips + kTwipsParPixel / 2) / kTwipsParPixel; }
QRect pxRect(int gauche, int haut, int largeur, int hauteur);  // twips in, pixels out
void placer(QWidget* w, int gauche, int haut, int largeur, int hauteur);  // twips

inline const QColor kJauneClair(255, 255, 192);
QColor faceBouton();  // the system's button-face colour

// A text box's background: light yellow for a value the operator may type,
// button-face for a locked one.
void fondTexte(QWidget* boite, const QColor& couleur);
QColor fondTexte(const QWidget* boite);

// A box whose value is read from its first character: a value wider than the
// box shows its start (the sign, the first digits), not its end, whenever the
// program puts it there or the operator leaves the box.
void debutVisible(QLineEdit* boite);

// A box the operator reads and never types into: read-only, with the
// button-face background and without the focus frame of a box that takes
// typing. Its text can still be selected and copied.
void lectureSeule(QLineEdit* boite);

// A control that a click of the left button, once released, clicks: its
// cliquer() (a slot of each control, so that a test can click it too) tells
// it with the signal clique().
template <class Base>
class Cliquable : public Base {
public:
    using Base::Base;
    virtual void cliquer() = 0;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        Base::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton) cliquer();
    }
};

class Etiquette : public Cliquable<QLabel> {
    Q_OBJECT
public:
    using Cliquable::Cliquable;
public slots:
    void cliquer() override { emit clique(); }
signals:
    void clique();
};

// A picture control. Stretched: the picture is scaled to the control's size.
// Natural: the control takes the picture's size. Its position and size are
// kept in twips, exactly, and mapped to pixels for the screen.
class Image : public Etiquette {
    Q_OBJECT
public:
    explicit Image(QWidget* parent = nullptr, bool etire = true);

    void afficher(const QString& cheminData, const QImage& image);
    // The picture of that file, as the loader gives it; false when it gave
    // none (the control is then empty).
    bool charger(Images& images, const QString& cheminData);
    void effacer();
    const QString& chemin() const { return chemin_; }  // "" when empty
    const QImage& image() const { return image_; }
    QSize tailleNaturelle() const;                      // twips; empty picture: 0 x 0

    void placerTwips(int gauche, int haut, int largeur, int hauteur);
    void dimensionnerTwips(int largeur, int hauteur);
    void deplacerTwips(int gauche, int haut);
    QRect twips() const { return twips_; }
    void bordure(bool avec);

    // Leaves uncovered the caption of the frame it lies in, whatever its
    // place: the frame's caption shows through over the picture.
    void degagerLegende();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;

private:
    void rafraichir();

    bool etire_;
    QString chemin_;
    QImage image_;
    QRect twips_;
};

// A frame drawn as the windows were designed: its line runs through the
// middle of its caption. What the designs centre in a frame (a picture of
// 1400 twips in a frame of 1695 starts 147 twips from its top) thus lies
// inside the line; only the caption can overlap it, and the pictures leave
// the caption uncovered.
class Cadre : public Cliquable<QGroupBox> {
    Q_OBJECT
public:
    using Cliquable::Cliquable;
    // Where the caption is drawn, its margins included, in pixels from the
    // frame's corner; empty for a frame without a caption.
    QRect legende() const;
    int largeurTwips() const { return width() * kTwipsParPixel; }
    int hauteurTwips() const { return height() * kTwipsParPixel; }
    void tailleTwips(int largeur, int hauteur) { largeur_ = largeur; hauteur_ = hauteur; }
    QSize tailleTwips() const { return {largeur_ > 0 ? largeur_ : largeurTwips(), hauteur_ > 0 ? hauteur_ : hauteurTwips()}; }

public slots:
    void cliquer() override { emit clique(); }
signals:
    void clique();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int largeur_ = 0, hauteur_ = 0;
    QRect legendeDegagee_;  // the caption the pictures were last told of
};

// A timer named like the designs' Timer1: it runs on its own in the program
// and a scenario can make it fire once with declencher().
class Minuterie : public QObject {
    Q_OBJECT
public:
    explicit Minuterie(QObject* parent = nullptr);
    void demarrer(int millisecondes);
    void arreter();

public slots:
    void declencher() { emit tic(); }
signals:
    void tic();

private:
    QTimer timer_;
};

// Option buttons of one frame exclude each other; unlike Qt's own, they can
// also all be unselected.
void deselectionner(QRadioButton* bouton);

// A data file's text as a multi-line text box shows it: the files end their
// lines with CR LF (or a lone CR), the box breaks lines at LF alone, and each
// CR left in would show as a line of its own.
QString lignesBoite(QString texte);

// Text of a multi-line text box as the data files hold it (lines joined by
// CR LF) and back.
QString texteCrLf(const QPlainTextEdit* boite);

}  // namespace tarvex::plateforme
