#include "creation/ecriture.h"

#include "store/archives.h"
#include "store/chemins.h"
#include "store/cp1252.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/lecteur.h"
#include "store/machines.h"
#include "store/textechoisi.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace tarvex::creation {

namespace {

constexpr const char* kProgramme = fichierDuDrapeau(CProgramme);

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
    ajouter(s.dossierTechnique, fichierDuDrapeau(CDossier));
    ajouter(s.programme, kProgramme);
    return c;
}

// What the index file can hold: a character outside Windows-1252 would be
// written as "?", and the folder name would no longer be the one typed.
bool representable(const std::string& utf8) { return cp1252::versUtf8(cp1252::depuisUtf8(utf8)) == utf8; }

// Characters of a UTF-8 text, as Windows counts them in a path: every
// character the data files can hold is one UTF-16 unit.
std::size_t caracteres(std::string_view utf8)
{
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The working folder and its separator, as the system counts a path's
// characters; the folder the files are reached from is part of each path.
std::size_t longueurDossierDeTravail()
{
    std::error_code ec;
    const std::filesystem::path courant = std::filesystem::current_path(ec);
    if (ec) return 0;
    try {
        return courant.u16string().size() + 1;
    } catch (const std::exception&) {
        return courant.native().size() + 1;
    }
}

// A name whose folder the file systems would refuse, said before anything is
// written: a record listing a sheet whose folder cannot be made could only
// be deleted. One name takes at most 255 bytes (ext4; NTFS counts 255
// characters, never more than the UTF-8 bytes). A path under Windows takes
// at most 259 characters (260 with its final null); the longest the sheet's
// name is part of is a file of the sheet kept by the archives,
// data\archives\<folder>\AAAAMMJJ-HHMMSS-nn\ plus the longest name the
// folder holds (origine.txt, dossier.pdf), which is first written under its
// temporary name (".~tvx" added). The sheet folder's own paths are shorter.
std::optional<std::string> nomTropLong(const std::string& nom)
{
    constexpr std::size_t kOctetsNom = 255, kCheminWindows = 259;
    constexpr std::string_view kFinLaPlusLongue = "AAAAMMJJ-HHMMSS-99\\origine.txt.~tvx";
    const std::string conseil = " ; raccourcir le nom de la pièce, de la phase ou de l'ensemble";
    if (nom.size() > kOctetsNom)
        return "ce nom de dossier est trop long : " + std::to_string(nom.size()) +
               " octets, les systèmes de fichiers en admettent " + std::to_string(kOctetsNom) + " au plus" + conseil;
    const std::size_t chemin =
        longueurDossierDeTravail() + caracteres(archives::dossierArchives(nom)) + kFinLaPlusLongue.size();
    if (chemin > kCheminWindows)
        return "ce nom de dossier est trop long : ses fichiers et leurs archives auraient des chemins de " +
               std::to_string(chemin) + " caractères depuis la racine du disque, Windows en admet " +
               std::to_string(kCheminWindows) + " au plus" + conseil;
    return std::nullopt;
}

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
    if (const auto trop = nomTropLong(nom)) {
        p.push_back({dossier, *trop});
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

    for (const auto& [source, cible] : copies(s)) {
        const auto octets = fichiers::estDossier(source) ? std::nullopt : fichiers::lire(source);
        if (!octets) {
            p.push_back({source, "fichier introuvable ou illisible"});
            continue;
        }
        if (cible != kProgramme) continue;
        const textechoisi::Texte t = textechoisi::analyser(*octets);
        if (!t.convertible()) p.push_back({source, t.raison()});
    }
    return p;
}

Ecriture ecrireFiche(const SaisieFiche& s, const archives::Instant& maintenant, const statut::Auteur& auteur)
{
    Ecriture e;
    e.resultat = ajouterEnregistrement(ligneIndex(s));
    if (!e.resultat.ok()) return e;
    e.indexEcrit = true;

    const std::string nom = nomDossierSaisie(s);
    const std::string P = dossierFiche(nom);
    try {
        fichiers::creerDossier("data\\" + nom);
        // The program is text: it is stored in Windows-1252 whatever the
        // editor that saved it; the other files are copied byte for byte.
        for (const auto& [source, cible] : copies(s)) {
            if (cible == kProgramme)
                textechoisi::copier(source, P + cible);
            else
                fichiers::copier(source, P + cible);
        }
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
        return e;
    }
    e.resultat = statut::enEssai(P, statut::kCreation, auteur, maintenant);
    return e;
}

}  // namespace tarvex::creation
