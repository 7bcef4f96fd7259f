#include "printing/feuille.h"

#include "machines/infomachine.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/lecteur.h"
#include "store/machines.h"
#include "store/statut.h"
#include "trajectoire/projection.h"

#include <functional>

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
        ops.push_back({.genre = Operation::Genre::Image, .x = x, .y = y, .largeur = largeur, .hauteur = hauteur,
                       .texte = chemin});
    }
    void hauteur(double y) { ops.push_back({.genre = Operation::Genre::Hauteur, .y = y}); }
    void texte(double x, double taille, bool gras, std::string t)
    {
        ops.push_back(
            {.genre = Operation::Genre::Texte, .x = x, .taille = taille, .gras = gras, .texte = std::move(t)});
    }
    void dessin(double x, double largeur, double hauteur, std::shared_ptr<const trajectoire::Programme> trajet)
    {
        ops.push_back({.genre = Operation::Genre::Dessin, .x = x, .largeur = largeur, .hauteur = hauteur,
                       .trajet = std::move(trajet)});
    }
    void vide() { ops.push_back({.genre = Operation::Genre::LigneVide}); }
    void titre(const char* t)
    {
        texte(kTitres, kTailleTitre, true, t);
        vide();
    }
    void ligne(std::string t) { texte(kLignes, kTailleLigne, false, std::move(t)); }
};

// The part picture, the phase in large print and its status, the designation.
void entete(Page& p, const Fiche& f)
{
    // A sheet whose part picture could not be shown is printed without it
    // rather than not at all.
    if (!f.image.empty())
        p.image(kMarge, kMarge, f.largeurImage / kTwipsParMillimetre, f.hauteurImage / kTwipsParMillimetre, f.image);
    p.vide();

    p.hauteur(kHautTitre);
    p.texte(kMarge, kTaillePhase, true, f.phase);
    // Whether the program is proven, as stored when printed. A sheet without
    // a status prints as it always has.
    const Lu<statut::Historique> h = statut::lire(f.dossier);
    if (h.valeur.actuel()) p.texte(kMarge, kTailleLigne, false, statut::resume(h.valeur));
    p.vide();

    p.titre("- Désignation -");
    p.ligne("Pièce : " + f.piece);
    p.ligne("Phase : " + f.numeroPhase);
    p.ligne("Matière : " + f.matiere);
    p.ligne("Ensemble : " + f.ensemble);
    p.ligne("Machine : " + f.machine);
    p.vide();
}

// The offsets shown in the main window, Y for milling only.
void valeurs(Page& p, const Fiche& f, const Sections& s)
{
    const bool fraise = fraisage(codeMachine(sansBlancs(f.typeMachine)));
    auto axes = [&](const std::string& x, const std::string& y, const std::string& z) {
        p.ligne("Suivant X : " + x);
        if (fraise) p.ligne("Suivant Y : " + y);
        p.ligne("Suivant Z : " + z);
        p.vide();
    };
    if (s.pref) {
        p.titre("- Valeurs des PREF -");
        axes(f.prefX, f.prefY, f.prefZ);
    }
    if (s.dec) {
        p.titre("- Valeurs des DEC -");
        axes(f.decX, f.decY, f.decZ);
    }
    if (s.origines) {
        p.titre("- Valeurs des Décalages d'origine -");
        p.ligne("Origine : " + f.origine);
        p.vide();
        axes(f.origineX, f.origineY, f.origineZ);
    }
}

// "Lignes non tracées : 5 (lignes 3, 12 à 14, 40)": the lines' numbers from
// 1, three or more in a row as a range; a list longer than a printed line
// ends with "…".
std::string lignesNonTracees(const trajectoire::Programme& p)
{
    constexpr std::size_t kLongueur = 90;
    const auto& n = p.nonTracees;
    std::string l = "Lignes non tracées : " + std::to_string(n.size());
    if (n.empty()) return l;
    l += n.size() == 1 ? " (ligne " : " (lignes ";
    const char* separateur = "";
    for (std::size_t i = 0; i < n.size();) {
        std::size_t j = i;
        while (j + 1 < n.size() && n[j + 1].ligne == n[j].ligne + 1) ++j;
        std::string groupe = separateur + std::to_string(n[i].ligne + 1);
        if (j >= i + 2) groupe += " à " + std::to_string(n[j].ligne + 1);
        else j = i;
        if (l.size() + groupe.size() > kLongueur) return l + ", …)";
        l += groupe;
        separateur = ", ";
        i = j + 1;
    }
    return l + ")";
}

// The toolpath as the window first shows it, with its travel; false once
// the program could not be read (the problem is noted).
bool trajectoireImprimee(Page& p, Lu<std::vector<Operation>>& r, const Fiche& f, const std::string& programme)
{
    const auto octets = fichiers::lire(programme);
    if (!octets) {
        r.signaler(programme, "fichier introuvable ou illisible");
        return false;
    }
    auto trajet = std::make_shared<const trajectoire::Programme>(
        trajectoire::lire(*octets, codeMachine(sansBlancs(f.directeur)), codeMachine(sansBlancs(f.typeMachine))));
    // A program that moves nowhere known has no drawing.
    const trajectoire::Projection vue = trajectoire::projeter(*trajet, trajectoire::reglageInitial(*trajet));
    if (!vue.boite.vide()) {
        // Under the path its legend, that a printer without colours keeps the tools apart.
        const double legende = trajectoire::hauteurLegende(trajectoire::outilsDessines(*trajet, vue).size(), kLargeurTrajectoire);
        p.dessin(kLignes, kLargeurTrajectoire, trajectoire::hauteurDessin(vue.boite, kLargeurTrajectoire) + legende, trajet);
        p.vide();
    }
    for (const std::string& l : trajectoire::lignesEtendue(trajectoire::etendue(*trajet))) p.ligne(l);
    // The drawing does not show them: the paper says so, as the window does.
    if (!trajet->nonTracees.empty()) p.ligne(lignesNonTracees(*trajet));
    p.vide();
    return true;
}

// The sections read from the files, in their order; false where the
// printout stops, at a file that could not be read (the problem is noted).
bool sectionsDesFichiers(Page& p, Lu<std::vector<Operation>>& r, const Fiche& f, const Sections& s)
{
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
    auto annotation = [&](const std::string& item) {
        if (!item.empty() && item[0] == '$') p.ligne(sansBlancs(item.substr(1)));
    };
    const std::string programme = f.dossier + "prog.txt";
    const struct {
        bool cochee;
        const char* titre;
        std::function<bool()> imprimer;
    } sections[] = {
        {s.jauges, "- Valeurs des Jauges -", [&] { return fichier(itemsFichier(f.dossier + "jauge.txt"), tels); }},
        {s.annotations, "- Annotations programme -", [&] { return fichier(itemsFichier(programme), annotation); }},
        {s.listing, "- Listing programme -", [&] { return fichier(itemsFichier(programme), tels); }},
        {s.trajectoire, "- Trajectoire -", [&] { return trajectoireImprimee(p, r, f, programme); }},
        {s.donnees, "- Données -", [&] { return fichier(itemsFichier(f.dossier + "info.txt"), tels); }},
        {s.dossierMachine, "- Dossier Machine -", [&] { return fichier(lireDossierMachine(f.machine), tels); }},
    };
    for (const auto& section : sections) {
        if (!section.cochee) continue;
        p.titre(section.titre);
        if (!section.imprimer()) return false;
    }
    return true;
}

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
    entete(p, f);
    valeurs(p, f, s);
    if (!sectionsDesFichiers(p, r, f, s)) return r;
    r.valeur.push_back({.genre = Operation::Genre::Fin});
    return r;
}

}  // namespace tarvex::impression
