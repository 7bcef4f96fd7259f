#include "creation/formulaire.h"

#include "creation/selecteur.h"

#include "cnclink/emission.h"
#include "mainwindow/cadrerimage.h"
#include "platform/textes.h"

#include <QProxyStyle>

namespace tarvex::formulaire {

using namespace plateforme;

namespace {

// The preview frame, beside the options and as high: a picture at the
// preview limit fits below its caption.
constexpr int kPrevisualisationLargeur = 2520;
constexpr int kPrevisualisationHauteur = 3240;

// The system's look, with "*" for the characters of a masked box.
class StyleEtoiles : public QProxyStyle {
public:
    int styleHint(StyleHint h, const QStyleOption* o, const QWidget* w, QStyleHintReturn* r) const override
    {
        if (h == SH_LineEdit_PasswordCharacter) return '*';
        if (h == SH_LineEdit_PasswordMaskDelay) return 0;
        return QProxyStyle::styleHint(h, o, w, r);
    }
};

}  // namespace

void choisirChemin(Selecteur& selecteur, QWidget* appelant, QLineEdit* boite)
{
    if (const auto chemin = selecteur.choisir(appelant)) boite->setText(*chemin);
}

void Photos::choisir(Selecteur& selecteur, QWidget* appelant)
{
    const auto chemin = selecteur.choisir(appelant);
    QLineEdit* boite = boiteSelectionnee();
    if (chemin && boite) boite->setText(*chemin);
    if (boite) previsu(boite->text());
}

void Programme::choisir(Selecteur& selecteur, QWidget* appelant)
{
    choisirChemin(selecteur, appelant, chargeprogramme);
    chargerListing();
}

QLineEdit* boiteCode(QWidget* parent, const char* nom, int x, int y, int l)
{
    auto* b = creer<QLineEdit>(parent, nom, x, y, l, 315);
    auto* style = new StyleEtoiles;
    style->setParent(b);
    b->setStyle(style);
    b->setEchoMode(QLineEdit::Password);
    return b;
}

Valeurs::Valeurs(QWidget* parent, int x, int y)
{
    construireValeurs(
        parent, x, y,
        [this](Cadre* frame17) {
            Décalage = liste(frame17, "Décalage", {"G54", "G55", "G56", "G57", "G58", "G59"}, 120, 600, 2400);
            Décalage->setEditText(QStringLiteral("G54"));
            fondTexte(Décalage, kJauneClair);
        },
        5160);
    for (QLineEdit* b : boitesDecalages()) b->setAlignment(Qt::AlignCenter);
}

void Valeurs::rendreEditables()
{
    for (QLineEdit* b : boitesDecalages()) b->setReadOnly(false);
    Jauge->setReadOnly(false);
    Infovrac->setReadOnly(false);
    Décalage->setEditable(true);
}

void Valeurs::vider()
{
    for (QLineEdit* b : boitesDecalages()) b->clear();
    Décalage->setEditText(QStringLiteral("G54"));
    Infovrac->setPlainText(u("Infos à compléter"));
    Jauge->setPlainText(u("A compléter"));
}

// ---------------------------------------------------------------------------

Photos::Photos(QWidget* parent, Images& images, int x, int y, QWidget* parentPrevisu, int xp, int yp)
    : images_(images)
{
    Frame4 = cadre(parent, "Frame4", "Options", x, y, 2640, 3240);
    for (int i = 0; i < creation::kPhotos; ++i) {
        const auto& m = creation::kModelesPhotos[i];
        auto* o = creer<QRadioButton>(Frame4, m.option, 120, 300 + i * 315, 2400, 285);
        o->setText(u(m.legende));
        emplacements[i] = {o, boiteCachee(Frame4, m.boite)};
        QLineEdit* chemin = emplacements[i].chemin;
        QObject::connect(o, &QRadioButton::clicked, o, [this, chemin] { previsu(chemin->text()); });
    }
    Frame12 = cadre(parentPrevisu, "Frame12", "Prévisualisation", xp, yp, kPrevisualisationLargeur,
                    kPrevisualisationHauteur);
    Image1 = image(Frame12, "Image1");
    Image2 = imageNaturelle(parentPrevisu, "Image2");
}

bool Photos::previsu(const QString& chemin)
{
    return cadrerimage(images_, chemin, Image2, Image1, Frame12, kLimitePrevisu);
}

void Photos::menuphototournage()
{
    for (const auto& e : emplacements) e.option->setEnabled(false);
    for (int i = 0; i < creation::kPhotos; ++i)
        if (creation::kModelesPhotos[i].tournage) emplacements[i].option->setEnabled(true);
}

void Photos::menuphotofraisage()
{
    for (const auto& e : emplacements) e.option->setEnabled(true);
}

void Photos::desactiver()
{
    for (const auto& e : emplacements) {
        deselectionner(e.option);
        e.option->setEnabled(false);
    }
}

QLineEdit* Photos::boiteSelectionnee() const
{
    for (const auto& e : emplacements)
        if (e.option->isChecked()) return e.chemin;
    return nullptr;
}

void Photos::viderChemins()
{
    for (const auto& e : emplacements) e.chemin->clear();
}

// ---------------------------------------------------------------------------

Programme::Programme(QWidget* parent, int x, int y)
{
    Frame20 = cadre(parent, "Frame20", "Listing Programme", x, y, 4200, 4200);
    Listing = creer<QPlainTextEdit>(Frame20, "Programme", 120, 300, 3960, 3300);
    Listing->setReadOnly(true);
    Listing->setLineWrapMode(QPlainTextEdit::NoWrap);
    Listing->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Listing->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Command1 = bouton(Frame20, "Command1", "Choisir", 120, 3720);
    chargeprogramme = boiteCachee(Frame20, "chargeprogramme");
}

void Programme::chargerListing()
{
    if (chargeprogramme->text().isEmpty()) return;
    Listing->setPlainText(apercuTexte(chargeprogramme->text()));
}

}  // namespace tarvex::formulaire
