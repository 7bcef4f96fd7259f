#include "creation/ecriture.h"

#include "store/chemins.h"
#include "store/cp1252.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/lecteur.h"
#include "store/machines.h"

#include <algorithm>

namespace tarvex::creation {

const std::array<PhotoModele, kPhotos> kModelesPhotos{{
    {"Option11", "textvue", "Vue de la pièce", "Vue.jpg", true},
    {"Option10", "Textmont1", "Montage d'usinage 1", "mont1.jpg", true},
    {"Option3", "Textmont2", "Montage d'usinage 2", "mont2.jpg", false},
    {"Option4", "Textinst", "Installation / machine", "inst.jpg", true},
    {"Option5", "Textbutée", "Mise en butée", "butée.jpg", false},
    {"Option6", "Textbride", "Bridage", "bride.jpg", false},
    {"Option7", "Textprefx", "Palpage X", "prefx.jpg", false},
    {"Option8", "Textprefy", "Palpage Y", "prefy.jpg", false},
    {"Option9", "Textprefz", "Palpage Z", "prefz.jpg", true},
}};

namespace {

const char* drapeau(const std::string& chemin) { return chemin.empty() ? "N" : "O"; }

std::string ligne(const std::string& utf8) { return cp1252::depuisUtf8(utf8) + "\r\n"; }

bool fraiseuse(const SaisieFiche& s) { return s.typmachin == "2"; }

// The copies of step 4, in their order: (source, name in the folder).
std::vector<std::pair<std::string, std::string>> copies(const SaisieFiche& s)
{
    std::vector<std::pair<std::string, std::string>> c;
    auto ajouter = [&](const std::string& source, const char* nom) {
        if (!source.empty()) c.emplace_back(source, nom);
    };
    for (Photo p : {PVue, PMont1, PInst, PPrefz}) ajouter(s.photos[p], kModelesPhotos[p].fichier);
    if (fraiseuse(s))
        for (Photo p : {PMont2, PButee, PBride, PPrefx, PPrefy}) ajouter(s.photos[p], kModelesPhotos[p].fichier);
    ajouter(s.dossierTechnique, "dossier.pdf");
    ajouter(s.programme, "prog.txt");
    return c;
}

// What the index file can hold: a character outside Windows-1252 would be
// written as "?", and the folder name would no longer be the one typed.
bool representable(const std::string& utf8) { return cp1252::versUtf8(cp1252::depuisUtf8(utf8)) == utf8; }

}  // namespace

std::string ligneIndex(const SaisieFiche& s)
{
    const auto& p = s.photos;
    Enregistrement e{sansBlancs(s.piece), sansBlancs(s.phase), sansBlancs(s.machine), sansBlancs(s.ensemble),
                     sansBlancs(s.matiere)};
    // In the record the clamping comes before the stop.
    std::size_t i = CVue;
    for (const std::string* chemin : {&p[PVue], &p[PMont1], &p[PMont2], &p[PInst], &p[PBride], &p[PButee],
                                      &p[PPrefx], &p[PPrefy], &p[PPrefz], &s.dossierTechnique, &s.programme})
        e[i++] = drapeau(*chemin);
    return ligneEnregistrement(e);
}

std::string nomDossierSaisie(const SaisieFiche& s)
{
    return nomdossier(sansBlancs(s.piece), sansBlancs(s.phase), sansBlancs(s.ensemble), sansBlancs(s.machine));
}

Jauges jaugesRetenues(const std::string& texte)
{
    Jauges j;
    j.lignes = normaliserJauges(texte);
    j.trouvees = j.lignes.size();
    if (j.lignes.size() > static_cast<std::size_t>(kJaugesMax)) j.lignes.resize(kJaugesMax);
    return j;
}

Problemes verifierAvantEcriture(const SaisieFiche& s)
{
    Problemes p;
    const std::string nom = nomDossierSaisie(s);
    const std::string dossier = "data\\" + nom;
    for (const std::string* champ : {&s.piece, &s.phase, &s.ensemble, &s.matiere, &s.machine})
        if (!representable(*champ)) {
            p.push_back({kIndex, "« " + sansBlancs(*champ) +
                                     " » contient un caractère que les fichiers de données ne peuvent pas garder"});
            return p;
        }
    // A sheet names a machine of the list, the one whose kind and CNC type
    // its values follow: a machine typed into the box, or none, would give a
    // sheet that cannot be shown nor sent, and a machine that could be
    // deleted under it.
    const std::string machine = sansBlancs(s.machine);
    const auto liste = lireListeMachines();
    if (machine.empty() || machine != s.machineChoisie ||
        std::find(liste.valeur.begin(), liste.valeur.end(), machine) == liste.valeur.end()) {
        p.push_back({kListeMachines, "la machine « " + machine + " » n'a pas été choisie dans la liste des machines"});
        return p;
    }
    if (!chemins::nomSur(nom)) {
        p.push_back({dossier, "ce nom ne peut pas être celui d'un dossier de fiche"});
        return p;
    }
    if (fichiers::existe(dossier)) p.push_back({dossier + "\\", "ce dossier existe déjà (la fiche a déjà été créée)"});

    // A record of the same sheet without its folder (a creation stopped
    // half-way): a second record would name the same folder.
    const auto index = fichiers::lire(kIndex);
    if (!index && fichiers::existe(kIndex)) {
        p.push_back({kIndex, "fichier illisible"});
    } else if (index && p.empty()) {
        const std::string cle = cp1252::replier(nom + "\\");
        bool trouve = false;
        parcourirIndex(*index, [&](int, const EnregistrementBrut& b) {
            trouve = cp1252::replier(cleEnregistrement(decoder(b))) == cle;
            return !trouve;
        });
        if (trouve) p.push_back({kIndex, "la fiche " + nom + " y figure déjà"});
    }

    for (const auto& [source, cible] : copies(s))
        if (fichiers::estDossier(source) || !fichiers::lire(source))
            p.push_back({source, "fichier introuvable ou illisible"});
    return p;
}

Ecriture ecrireFiche(const SaisieFiche& s)
{
    Ecriture e;
    e.resultat = ajouterEnregistrement(ligneIndex(s));
    if (!e.resultat.ok()) return e;
    e.indexEcrit = true;

    const std::string nom = nomDossierSaisie(s);
    const std::string P = dossierFiche(nom);
    try {
        fichiers::creerDossier("data\\" + nom);
        for (const auto& [source, cible] : copies(s)) fichiers::copier(source, P + cible);
    } catch (const fichiers::ErreurFichier& x) {
        e.resultat = Resultat::echec(x.chemin(), x.detail());
        return e;
    }

    const bool y = fraiseuse(s);
    const int type = y ? 2 : 1;
    if (s.typdirect == "1") {
        e.resultat = ecrirepref(P, type, {s.prefx, s.prefy, s.prefz, s.decx, s.decy, s.decz});
        if (!e.resultat.ok()) return e;
    }
    if (s.typdirect == "3") {
        e.resultat = ecrireorigine(P, type, {s.decalage, s.originex, s.originey, s.originez});
        if (!e.resultat.ok()) return e;
    }
    if (s.typdirect == "2") {
        e.resultat = ecrireinfos(P, s.infovrac);
        if (!e.resultat.ok()) return e;
    }

    std::string jauges;
    for (const auto& l : jaugesRetenues(s.jauge).lignes) jauges += ligne(l);
    try {
        fichiers::ecrire(P + "jauge.txt", jauges);
    } catch (const fichiers::ErreurFichier& x) {
        e.resultat = Resultat::echec(x.chemin(), x.detail());
    }
    return e;
}

}  // namespace tarvex::creation
