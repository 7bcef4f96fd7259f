#include "platform/controles.h"

#include "platform/services.h"

#include <algorithm>

#include <QApplication>
#include <qdrawutil.h>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace tarvex::plateforme {

QRect pxRect(int gauche, int haut, int largeur, int hauteur)
{
    return QRect(px(gauche), px(haut), px(largeur), px(hauteur));
}

void placer(QWidget* w, int gauche, int haut, int largeur, int hauteur)
{
    w->setGeometry(pxRect(gauche, haut, largeur, hauteur));
}

QColor faceBouton() { return QApplication::palette().color(QPalette::Button); }

void fondTexte(QWidget* boite, const QColor& couleur)
{
    QPalette p = boite->palette();
    p.setColor(QPalette::Base, couleur);
    p.setColor(QPalette::Disabled, QPalette::Base, couleur);
    boite->setPalette(p);
    boite->setAutoFillBackground(true);
}

QColor fondTexte(const QWidget* boite) { return boite->palette().color(QPalette::Base); }

void debutVisible(QLineEdit* boite)
{
    // setText puts the cursor after the last character, and the box scrolls
    // to show it; while the operator types, the cursor is theirs.
    auto auDebut = [boite] {
        if (!boite->hasFocus() && boite->cursorPosition() != 0) boite->setCursorPosition(0);
    };
    QObject::connect(boite, &QLineEdit::cursorPositionChanged, boite, auDebut);
    QObject::connect(boite, &QLineEdit::editingFinished, boite, [boite] { boite->setCursorPosition(0); });
}

void lectureSeule(QLineEdit* boite)
{
    boite->setReadOnly(true);
    boite->setFocusPolicy(Qt::NoFocus);
    fondTexte(boite, faceBouton());
    debutVisible(boite);
}

Image::Image(QWidget* parent, bool etire) : Etiquette(parent), etire_(etire)
{
    setAlignment(Qt::AlignCenter);
    setScaledContents(false);
}

bool Image::charger(Images& images, const QString& cheminData)
{
    afficher(cheminData, images.charger(cheminData));
    return !image_.isNull();
}

QSize Image::tailleNaturelle() const
{
    if (image_.isNull()) return {0, 0};
    return {image_.width() * kTwipsParPixel, image_.height() * kTwipsParPixel};
}

void Image::afficher(const QString& cheminData, const QImage& image)
{
    chemin_ = image.isNull() ? QString() : cheminData;
    image_ = image;
    if (!etire_) dimensionnerTwips(tailleNaturelle().width(), tailleNaturelle().height());
    rafraichir();
}

void Image::effacer()
{
    chemin_.clear();
    image_ = QImage();
    if (!etire_) dimensionnerTwips(0, 0);
    rafraichir();
}

void Image::placerTwips(int gauche, int haut, int largeur, int hauteur)
{
    twips_ = QRect(gauche, haut, largeur, hauteur);
    setGeometry(pxRect(gauche, haut, largeur, hauteur));
}

void Image::dimensionnerTwips(int largeur, int hauteur)
{
    placerTwips(twips_.x(), twips_.y(), largeur, hauteur);
}

void Image::deplacerTwips(int gauche, int haut)
{
    placerTwips(gauche, haut, twips_.width(), twips_.height());
}

void Image::bordure(bool avec)
{
    setFrameShape(avec ? QFrame::Box : QFrame::NoFrame);
    setFrameShadow(avec ? QFrame::Sunken : QFrame::Plain);
    setLineWidth(avec ? 1 : 0);
}

void Image::rafraichir()
{
    if (image_.isNull() || width() <= 0 || height() <= 0) {
        setPixmap(QPixmap());
        return;
    }
    const QSize cible = contentsRect().size();
    setPixmap(QPixmap::fromImage(image_.scaled(cible, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void Image::resizeEvent(QResizeEvent* e)
{
    QLabel::resizeEvent(e);
    rafraichir();
    degagerLegende();
}

void Image::moveEvent(QMoveEvent* e)
{
    QLabel::moveEvent(e);
    degagerLegende();
}

void Image::degagerLegende()
{
    const auto* cadre = qobject_cast<const Cadre*>(parentWidget());
    const QRect recouverte = cadre ? cadre->legende().translated(-pos()) & rect() : QRect();
    if (recouverte.isEmpty()) {
        if (!mask().isEmpty()) clearMask();
        return;
    }
    setMask(QRegion(rect()).subtracted(recouverte));
}

namespace {
// The caption stands this far from the frame's left line when the frame is
// wide enough for it, with a blank either side where the line stops.
constexpr int kRetraitLegende = 6;
constexpr int kBlancLegende = 2;
}  // namespace

QRect Cadre::legende() const
{
    if (title().isEmpty()) return {};
    const QSize texte = fontMetrics().size(Qt::TextShowMnemonic, title());
    const int largeur = texte.width() + 2 * kBlancLegende;
    // A narrow frame gives up the indent before a letter of its caption.
    const int retrait = std::clamp(width() - largeur, 0, kRetraitLegende);
    return {retrait, 0, largeur, std::max(texte.height(), fontMetrics().height())};
}

void Cadre::paintEvent(QPaintEvent*)
{
    const QRect l = legende();
    if (l != legendeDegagee_) {
        // A caption changed after the pictures were placed.
        legendeDegagee_ = l;
        for (auto* image : findChildren<Image*>(Qt::FindDirectChildrenOnly)) image->degagerLegende();
    }
    QPainter p(this);
    QRect ligne = rect();
    if (!l.isEmpty()) ligne.setTop(l.center().y());
    qDrawShadeRect(&p, ligne, palette(), true, 1, 0);
    if (l.isEmpty()) return;
    p.fillRect(l, palette().brush(QPalette::Window));
    style()->drawItemText(&p, l.adjusted(kBlancLegende, 0, -kBlancLegende, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(), isEnabled(), title(),
                          QPalette::WindowText);
}

Minuterie::Minuterie(QObject* parent) : QObject(parent)
{
    connect(&timer_, &QTimer::timeout, this, &Minuterie::tic);
}

void Minuterie::demarrer(int millisecondes) { timer_.start(millisecondes); }
void Minuterie::arreter() { timer_.stop(); }

void deselectionner(QRadioButton* bouton)
{
    if (!bouton->isChecked()) return;
    const bool exclusif = bouton->autoExclusive();
    bouton->setAutoExclusive(false);
    bouton->setChecked(false);
    bouton->setAutoExclusive(exclusif);
}

QString lignesBoite(QString texte)
{
    texte.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texte.replace(QChar('\r'), QChar('\n'));
    return texte;
}

QString texteCrLf(const QPlainTextEdit* boite)
{
    QString t = boite->toPlainText();
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    t.replace(QChar('\n'), QStringLiteral("\r\n"));
    return t;
}

}  // namespace tarvex::plateforme
