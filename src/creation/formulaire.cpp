#include "creation/formulaire.h"

#include "platform/autorisation.h"
#include "platform/selecteur.h"

#include "platform/cadrerimage.h"
#include "platform/textes.h"


namespace tarvex::formulaire {

using namespace plateforme;

namespace {

// The "Aperçu" frame of the machine's picture.
constexpr int kApercu = 1695;

// The preview frame, beside the options and as high: a picture at the
// preview limit fits below its caption.
constexpr int kPrevisualisationLargeur = 2520;
constexpr int kPrevisualisationHauteur = 3240;

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

Valeurs::Valeurs(QWidget* parent, int x, int y)
{
    construireValeurs(
        parent, x, y,
        [this](Cadre* frame17) {
            Decalage = liste(frame17, "Décalage", {"G54", "G55", "G56", "G57", "G58", "G59"}, 120, 600, 2400);
            Decalage->setEditText(QStringLiteral("G54"));
            fondTexte(Decalage, kJauneClair);
        },
        5160);
    for (QLineEdit* b : boitesDecalages()) b->setAlignment(Qt::AlignCenter);
}

void Valeurs::rendreEditables()
{
    for (QLineEdit* b : boitesDecalages()) b->setReadOnly(false);
    Jauge->setReadOnly(false);
    Infovrac->setReadOnly(false);
    Decalage->setEditable(true);
}

void Valeurs::vider()
{
    for (QLineEdit* b : boitesDecalages()) b->clear();
    Decalage->setEditText(QStringLiteral("G54"));
    Infovrac->setPlainText(u("Infos à compléter"));
    Jauge->setPlainText(u("A compléter"));
}

// ---------------------------------------------------------------------------

Photos::Photos(QWidget* parent, Images& images, int x, int y, QWidget* parentPrevisu, int xp, int yp)
    : images_(images)
{
    Frame4 = cadre(parent, "Frame4", "Options", x, y, 2640, 3240);
    for (int i = 0; i < kPhotos; ++i) {
        const auto& m = kModelesPhotos[i];
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
    for (int i = 0; i < kPhotos; ++i)
        if (kModelesPhotos[i].tournage) emplacements[i].option->setEnabled(true);
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

// ---------------------------------------------------------------------------

void CadresFiche::construireDesignation(QWidget* fenetre, bool modifiable)
{
    Image11 = image(fenetre, "Image11");
    Image11->placerTwips(120, 180, 2400, 1560);

    Frame1 = cadre(fenetre, "Frame1", "Désignation", 2640, 120, 7320, 2400);
    Frame15 = cadre(Frame1, "Frame15", "Données Pièce", 120, 300, 7080, 2040);
    const struct {
        plateforme::Cadre** cadre;
        QLineEdit** boite;
        const char *nomCadre, *titre, *nomBoite, *texte;
        int x, y;
    } champs[] = {
        {&Frame3, &Text5, "Frame3", "Elément", "Text5", "Nom à compléter", 120, 300},
        {&Frame5, &Text6, "Frame5", "N° de Phase", "Text6", "N° à compléter", 3600, 300},
        {&Frame2, &Text2, "Frame2", "Ensemble", "Text2", "Nom à compléter", 120, 1140},
        {&Frame6, &Text7, "Frame6", "Matière", "Text7", "Nom à compléter", 3600, 1140},
    };
    for (const auto& c : champs) {
        *c.cadre = cadre(Frame15, c.nomCadre, c.titre, c.x, c.y, 3360, 780);
        *c.boite = creer<QLineEdit>(*c.cadre, c.nomBoite, 120, 300, 3120, 315);
        // The designation only shown is the look of a box that takes no typing.
        if (modifiable)
            (*c.boite)->setText(u(c.texte));
        else
            lectureSeule(*c.boite);
    }

    Frame14 = cadre(fenetre, "Frame14", "Machine", 10080, 120, 5520, 2400);
    Frame13 = cadre(Frame14, "Frame13", "Nom", 120, 300, 2880, 720);
}

void CadresFiche::construireApercus(QWidget* fenetre)
{
    Image4 = image(Frame14, "Image4");
    Image4->placerTwips(1440, 1080, 1440, 1200);
    Frame18 = cadre(Frame14, "Frame18", "Aperçu", 3720, 300, kApercu, kApercu);
    Image3 = image(Frame18, "Image3");
    Image5 = imageNaturelle(fenetre, "Image5");
}

void CadresFiche::construirePanneaux(QWidget* fenetre)
{
    valeurs = std::make_unique<Valeurs>(fenetre, 120, 2640);
    programme = std::make_unique<Programme>(fenetre, 120 + kLargeurValeurs + 120, 2640);
}

void CadresFiche::construireDonnees(QWidget* fenetre, Images& images)
{
    Frame11 = cadre(fenetre, "Frame11", "Données", 10200, 2640, 5400, 5880);
    Frame22 = cadre(Frame11, "Frame22", "Dossier Technique", 120, 300, 1560, 780);
    Dossiertechnique = bouton(Frame22, "Dossiertechnique", "Choisir", 120, 300);
    Textdossiertechnique = boiteCachee(Frame22, "Textdossiertechnique");
    Frame16 = cadre(Frame11, "Frame16", "Code", 1800, 300, 3480, 780);
    Label1 = etiquette(Frame16, "Label1", "Code autorisation", 120, 330, 1500);
    Text3 = boiteCode(Frame16, "Text3", 1680, 300, 1680);
    photos = std::make_unique<Photos>(Frame11, images, 120, 1140, Frame11, 2820, 1140);
    sectionprevisu = bouton(Frame11, "sectionprévisu", "Modifier", 120, 4500);
}

void CadresFiche::relierSelecteurs(QWidget* fenetre, QWidget& proprietaire, Services& services,
                                   const ModeleSelecteur& image,
                                   const ModeleSelecteur& modeleProgramme, const ModeleSelecteur& dossier)
{
    auto selecteur = [&proprietaire, &services](const ModeleSelecteur& modele) -> Selecteur& {
        return Selecteur::de(proprietaire, services, modele);
    };
    QObject::connect(sectionprevisu, &QPushButton::clicked, fenetre,
                     [this, fenetre, selecteur, &image] { photos->choisir(selecteur(image), fenetre); });
    QObject::connect(programme->Command1, &QPushButton::clicked, fenetre, [this, fenetre, selecteur, &modeleProgramme] {
        programme->choisir(selecteur(modeleProgramme), fenetre);
    });
    QObject::connect(Dossiertechnique, &QPushButton::clicked, fenetre, [this, fenetre, selecteur, &dossier] {
        choisirChemin(selecteur(dossier), fenetre, Textdossiertechnique);
    });
}

// ---------------------------------------------------------------------------

void ListesBilan::construireListes(QWidget* fenetre, int h1, int h2, int bas)
{
    const int y3 = 120 + h1 + 120, y4 = 120 + h2 + 120;
    Frame1 = cadre(fenetre, "Frame1", "Données Pièce / Machine", 120, 120, 5760, h1);
    List1 = listeDeCadre(Frame1, "List1", 5760, h1);
    Frame2 = cadre(fenetre, "Frame2", "Chemins / Liens", 6000, 120, 5880, h2);
    List2 = listeDeCadre(Frame2, "List2", 5880, h2);
    Frame3 = cadre(fenetre, "Frame3", "PREF/DEC1/Jauges/Déc. d'Origines", 120, y3, 5760, bas - y3);
    List3 = listeDeCadre(Frame3, "List3", 5760, bas - y3);
    Frame4 = cadre(fenetre, "Frame4", "Analyse", 6000, y4, 5880, bas - y4);
    List4 = listeDeCadre(Frame4, "List4", 5880, bas - y4);
}

void ListesBilan::remplirListes(const creation::Bilan& b)
{
    remplirListe(List1, b.donnees);
    remplirListe(List2, b.chemins);
    remplirListe(List3, b.valeurs);
    remplirListe(List4, b.analyse);
}

}  // namespace tarvex::formulaire
