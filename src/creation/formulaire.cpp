#include "creation/formulaire.h"

#include "creation/selecteur.h"

#include "cnclink/emission.h"
#include "mainwindow/cadrerimage.h"
#include "platform/textes.h"

#include <QProxyStyle>

namespace tarvex::formulaire {

using namespace plateforme;

namespace {

QLineEdit* boiteValeur(QWidget* parent, const char* nom, int x, int y, int l)
{
    auto* b = creer<QLineEdit>(parent, nom, x, y, l, 315);
    b->setAlignment(Qt::AlignCenter);
    fondTexte(b, kJauneClair);
    debutVisible(b);
    return b;
}

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

Cadre* cadre(QWidget* parent, const char* nom, const char* titre, int x, int y, int l, int h)
{
    auto* c = creer<Cadre>(parent, nom, x, y, l, h);
    c->setTitle(u(titre));
    c->tailleTwips(l, h);
    return c;
}

QLabel* etiquette(QWidget* parent, const char* nom, const char* texte, int x, int y, int l, int h)
{
    auto* e = creer<QLabel>(parent, nom, x, y, l, h);
    e->setText(u(texte));
    return e;
}

QPushButton* bouton(QWidget* parent, const char* nom, const char* texte, int x, int y, int l, int h)
{
    auto* b = creer<QPushButton>(parent, nom, x, y, l, h);
    b->setText(u(texte));
    b->setAutoDefault(false);
    return b;
}

QListWidget* listeDeCadre(QWidget* cadre, const char* nom, int l, int h)
{
    return creer<QListWidget>(cadre, nom, 120, 300, l - 240, h - 420);
}

void remplirListe(QListWidget* liste, const std::vector<std::string>& lignes)
{
    liste->clear();
    QStringList t;
    for (const auto& x : lignes) t << QString::fromStdString(x);
    liste->addItems(t);
}

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

QLineEdit* boiteCachee(QWidget* parent, const char* nom)
{
    auto* b = new QLineEdit(parent);
    b->setObjectName(u(nom));
    b->hide();
    return b;
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

void verrouillerAxe(QLineEdit* boite, QLabel* etiquette, bool verrouille)
{
    boite->setReadOnly(verrouille);
    boite->setEnabled(!verrouille);
    fondTexte(boite, verrouille ? faceBouton() : kJauneClair);
    etiquette->setEnabled(!verrouille);
}

// ---------------------------------------------------------------------------

Valeurs::Valeurs(QWidget* parent, int x, int y)
{
    // Laid out as the main window's frame of the same name: every caption
    // whole, every box wide enough for an offset such as -1250.125.
    Frame7 = cadre(parent, "Frame7", "PREF/DEC1/Jauges/Origine", x, y, kLargeurValeurs, 5880);
    Frame9 = cadre(Frame7, "Frame9", "PREF", 120, 300, 2640, 1440);
    Prefxtext = etiquette(Frame9, "Prefxtext", "PREF suivant X", 120, 360, 1320);
    Prefx = boiteValeur(Frame9, "Prefx", 1440, 330, 1080);
    Prefytext = etiquette(Frame9, "Prefytext", "PREF suivant Y", 120, 750, 1320);
    Prefy = boiteValeur(Frame9, "Prefy", 1440, 720, 1080);
    Prefztext = etiquette(Frame9, "Prefztext", "PREF suivant Z", 120, 1140, 1320);
    Prefz = boiteValeur(Frame9, "Prefz", 1440, 1110, 1080);
    Frame10 = cadre(Frame7, "Frame10", "DEC1", 2880, 300, 2640, 1440);
    Decxtext = etiquette(Frame10, "Decxtext", "DEC1 suivant X", 120, 360, 1320);
    Decx = boiteValeur(Frame10, "Decx", 1440, 330, 1080);
    Decytext = etiquette(Frame10, "Decytext", "DEC 1suivant Y", 120, 750, 1320);
    Decy = boiteValeur(Frame10, "Decy", 1440, 720, 1080);
    Decztext = etiquette(Frame10, "Decztext", "DEC1 suivant Z", 120, 1140, 1320);
    Decz = boiteValeur(Frame10, "Decz", 1440, 1110, 1080);
    Frame17 = cadre(Frame7, "Frame17", "Origine", 120, 300, 2640, 1440);
    Décalage = creer<QComboBox>(Frame17, "Décalage", 120, 600, 2400, 315);
    Décalage->setEditable(true);
    Décalage->setInsertPolicy(QComboBox::NoInsert);
    Décalage->addItems({"G54", "G55", "G56", "G57", "G58", "G59"});
    Décalage->setEditText(QStringLiteral("G54"));
    fondTexte(Décalage, kJauneClair);
    debutVisible(Décalage->lineEdit());
    Frame19 = cadre(Frame7, "Frame19", "Décalage d'origine", 2880, 300, 2640, 1440);
    OrigineXtext = etiquette(Frame19, "OrigineXtext", "Suivant X", 120, 360, 1200);
    OrigineX = boiteValeur(Frame19, "OrigineX", 1440, 330, 1080);
    OrigineYtext = etiquette(Frame19, "OrigineYtext", "Suivant Y", 120, 750, 1200);
    OrigineY = boiteValeur(Frame19, "OrigineY", 1440, 720, 1080);
    OrigineZtext = etiquette(Frame19, "OrigineZtext", "Suivant Z", 120, 1140, 1200);
    OrigineZ = boiteValeur(Frame19, "OrigineZ", 1440, 1110, 1080);
    Frame21 = cadre(Frame7, "Frame21", "Données", 120, 300, 5400, 1440);
    Infovrac = creer<QPlainTextEdit>(Frame21, "Infovrac", 120, 300, 5160, 1020);
    Infovrac->setPlainText(u("Infos à compléter"));
    fondTexte(Infovrac, kJauneClair);
    Frame8 = cadre(Frame7, "Frame8", "Jauge Outil", 120, 1860, 5400, 3900);
    Jauge = creer<QPlainTextEdit>(Frame8, "Jauge", 120, 300, 5160, 3480);
    Jauge->setLineWrapMode(QPlainTextEdit::NoWrap);
    Jauge->setPlainText(u("A compléter"));
    fondTexte(Jauge, kJauneClair);
}

bool Valeurs::appliquer(int type, int directeur)
{
    if ((type != kTournage && type != kFraisage) ||
        (directeur != kNum && directeur != kFagor && directeur != kFanuc && directeur != kAutre))
        return false;
    const bool tour = type == kTournage;
    Frame9->setVisible(directeur == kNum);
    Frame10->setVisible(directeur == kNum);
    Frame19->setVisible(directeur == kFanuc);
    Frame17->setVisible(directeur == kFanuc);
    Frame21->setVisible(directeur == kFagor);
    if (directeur == kNum) {
        verrouillerAxe(Prefy, Prefytext, tour);
        verrouillerAxe(Decy, Decytext, tour);
    } else if (directeur == kFanuc) {
        verrouillerAxe(OrigineY, OrigineYtext, tour);
    }
    return true;
}

void Valeurs::masquer()
{
    for (Cadre* c : {Frame9, Frame10, Frame19, Frame17, Frame21}) c->hide();
}

void Valeurs::rendreEditables()
{
    for (QLineEdit* b : {Prefx, Prefz, Decx, Decz, Prefy, Decy, OrigineX, OrigineY, OrigineZ}) b->setReadOnly(false);
    Jauge->setReadOnly(false);
    Infovrac->setReadOnly(false);
    Décalage->setEditable(true);
}

void Valeurs::vider()
{
    for (QLineEdit* b : {Prefx, Prefy, Prefz, Decx, Decy, Decz, OrigineX, OrigineY, OrigineZ}) b->clear();
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
    Image1 = new Image(Frame12, true);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image2 = new Image(parentPrevisu, false);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->hide();
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
