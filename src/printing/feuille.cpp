#include "printing/feuille.h"

#include "machines/infomachine.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/lecteur.h"
#include "store/machines.h"
#include "trajectoire/projection.h"

namespace tarvex::impression {
namespace {

// Left edges of the printout and its sizes.
constexpr double kMarge = 20;      // picture and phase title
constexpr double kTitres = 35;     // section headings
constexpr double kLignes = 55;     // section lines
constexpr double kHautTitre = 60;  // the phase title's height on the page
constexpr double kTaillePhase = 16, kTailleTitre = 14, kTailleLigne = 12;
constexpr double kTwipsParMillimetre = 40;  // the picture's box, scaled down
constexpr double kLargeurTrajectoire = 120;

class Page {
public:
    std::vector<Operation>& ops;

    void image(double x, double y, double largeur, double hauteur, const std::string& chemin)
    {
        Operation o;
        o.genre = Operation::Genre::Image;
        o.x = x;
        o.y = y;
        o.largeur = largeur;
        o.hauteur = hauteur;
        o.texte = chemin;
        ops.push_back(std::move(o));
    }
    void hauteur(double y)
    {
        Operation o;
        o.genre = Operation::Genre::Hauteur;
        o.y = y;
        ops.push_back(std::move(o));
    }
    void texte(double x, double taille, bool gras, std::string t)
    {
        Operation o;
        o.genre = Operation::Genre::Texte;
        o.x = x;
        o.taille = taille;
        o.gras = gras;
        o.texte = std::move(t);
        ops.push_back(std::move(o));
    }
    void dessin(double x, double largeur, double hauteur, std::shared_ptr<const trajectoire::Programme> trajet)
    {
        Operation o;
        o.genre = Operation::Genre::Dessin;
        o.x = x;
        o.largeur = largeur;
        o.hauteur = hauteur;
        o.trajet = std::move(trajet);
        ops.push_back(std::move(o));
    }
    void vide()
    {
        Operation o;
        o.genre = Operation::Genre::LigneVide;
        ops.push_back(std::move(o));
    }
    void titre(const char* t)
    {
        texte(kTitres, kTailleTitre, true, t);
        vide();
    }
    void ligne(std::string t) { texte(kLignes, kTailleLigne, false, std::move(t)); }
};

}  // namespace

Offre sectionsOffertes(std::string_view directeur, std::string_view drapeauProgramme)
{
    Offre o;
    const bool programme = sansBlancs(drapeauProgramme) == "O";
    const EtatCase cochee{true, true}, offerte{true, false};
    switch (codeMachine(sansBlancs(directeur))) {
    case kNum:
        o.pref = o.dec = o.jauges = cochee;
        break;
    case kFagor:
        o.donnees = offerte;
        o.jauges = cochee;
        break;
    case kFanuc:
        o.origines = o.jauges = cochee;
        break;
    case kAutre:
        o.jauges = cochee;
        break;
    default:
        // A CNC type this program does not know (or a com.txt that could not
        // be read) says nothing about the sheet's values.
        o.dossierMachine = offerte;
        return o;
    }
    if (programme) o.annotations = o.listing = o.trajectoire = offerte;
    o.dossierMachine = offerte;
    return o;
}

Lu<std::vector<std::string>> itemsFichier(const std::string& chemin)
{
    Lu<std::vector<std::string>> r;
    const auto octets = fichiers::lire(chemin);
    if (!octets) {
        r.signaler(chemin, "fichier introuvable ou illisible");
        return r;
    }
    LecteurItems lecteur(*octets);
    while (!lecteur.fin()) r.valeur.push_back(lecteur.suivant());
    return r;
}

Lu<std::vector<Operation>> feuille(const Fiche& f, const Sections& s)
{
    Lu<std::vector<Operation>> r;
    Page p{r.valeur};
    const bool fraise = fraisage(codeMachine(sansBlancs(f.typeMachine)));

    // A sheet whose part picture could not be shown is printed without it
    // rather than not at all.
    if (!f.image.empty())
        p.image(kMarge, kMarge, f.largeurImage / kTwipsParMillimetre, f.hauteurImage / kTwipsParMillimetre, f.image);
    p.vide();

    p.hauteur(kHautTitre);
    p.texte(kMarge, kTaillePhase, true, f.phase);
    p.vide();

    p.titre("- Désignation -");
    p.ligne("Pièce : " + f.piece);
    p.ligne("Phase : " + f.numeroPhase);
    p.ligne("Matière : " + f.matiere);
    p.ligne("Ensemble : " + f.ensemble);
    p.ligne("Machine : " + f.machine);
    p.vide();

    auto axes = [&](const std::string& x, const std::string& y, const std::string& z) {
        p.ligne("Suivant X : " + x);
        if (fraise) p.ligne("Suivant Y : " + y);
        p.ligne("Suivant Z : " + z);
    };
    // The lines of a file, or false once the problem is noted: the printout
    // stops where it is.
    auto fichier = [&](const Lu<std::vector<std::string>>& lu, auto&& imprimer) {
        if (!lu.ok()) {
            r.ajouter(lu.problemes);
            return false;
        }
        for (const auto& item : lu.valeur) imprimer(item);
        p.vide();
        return true;
    };
    auto tels = [&](const std::string& item) { p.ligne(item); };

    if (s.pref) {
        p.titre("- Valeurs des PREF -");
        axes(f.prefX, f.prefY, f.prefZ);
        p.vide();
    }
    if (s.dec) {
        p.titre("- Valeurs des DEC -");
        axes(f.decX, f.decY, f.decZ);
        p.vide();
    }
    if (s.origines) {
        p.titre("- Valeurs des Décalages d'origine -");
        p.ligne("Origine : " + f.origine);
        p.vide();
        axes(f.origineX, f.origineY, f.origineZ);
        p.vide();
    }
    const std::string programme = f.dossier + "prog.txt";
    if (s.jauges) {
        p.titre("- Valeurs des Jauges -");
        if (!fichier(itemsFichier(f.dossier + "jauge.txt"), tels)) return r;
    }
    if (s.annotations) {
        p.titre("- Annotations programme -");
        auto annotation = [&](const std::string& item) {
            if (!item.empty() && item[0] == '$') p.ligne(sansBlancs(item.substr(1)));
        };
        if (!fichier(itemsFichier(programme), annotation)) return r;
    }
    if (s.listing) {
        p.titre("- Listing programme -");
        if (!fichier(itemsFichier(programme), tels)) return r;
    }
    if (s.trajectoire) {
        p.titre("- Trajectoire -");
        const auto octets = fichiers::lire(programme);
        if (!octets) {
            r.signaler(programme, "fichier introuvable ou illisible");
            return r;
        }
        auto trajet = std::make_shared<const trajectoire::Programme>(trajectoire::lire(
            *octets, codeMachine(sansBlancs(f.directeur)), codeMachine(sansBlancs(f.typeMachine))));
        // As the window first shows it; a program that moves nowhere known has no drawing.
        const trajectoire::Boite boite = trajectoire::projeter(*trajet, trajectoire::reglageInitial(*trajet)).boite;
        if (!boite.vide()) {
            p.dessin(kLignes, kLargeurTrajectoire, trajectoire::hauteurDessin(boite, kLargeurTrajectoire), trajet);
            p.vide();
        }
        for (const std::string& l : trajectoire::lignesEtendue(trajectoire::etendue(*trajet))) p.ligne(l);
        // The drawing does not show them: the paper says so, as the window does.
        if (!trajet->nonTracees.empty())
            p.ligne("Lignes non tracées : " + std::to_string(trajet->nonTracees.size()));
        p.vide();
    }
    if (s.donnees) {
        p.titre("- Données -");
        if (!fichier(itemsFichier(f.dossier + "info.txt"), tels)) return r;
    }
    if (s.dossierMachine) {
        p.titre("- Dossier Machine -");
        if (!fichier(lireDossierMachine(f.machine), tels)) return r;
    }
    Operation fin;
    fin.genre = Operation::Genre::Fin;
    r.valeur.push_back(fin);
    return r;
}

}  // namespace tarvex::impression
