#include "store/archives.h"

#include "store/chemins.h"
#include "store/cp1252.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/machines.h"
#include "store/statut.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace tarvex::archives {

namespace {

std::string deux(int n)
{
    char b[8];
    std::snprintf(b, sizeof b, "%02d", n);
    return b;
}

std::string quatre(int n)
{
    char b[8];
    std::snprintf(b, sizeof b, "%04d", n);
    return b;
}

std::string ligneCrLf(const std::string& utf8) { return cp1252::depuisUtf8(utf8) + "\r\n"; }

// "AAAAMMJJ-HHMMSS" optionally followed by "-n": the date and the rank.
struct NomVersion {
    std::string stamp;
    int rang = 1;
};

std::optional<NomVersion> lireNomVersion(const std::string& nom)
{
    if (nom.size() < 15 || nom[8] != '-') return std::nullopt;
    for (std::size_t i = 0; i < 15; ++i)
        if (i != 8 && (nom[i] < '0' || nom[i] > '9')) return std::nullopt;
    NomVersion v{nom.substr(0, 15), 1};
    if (nom.size() == 15) return v;
    if (nom[15] != '-' || nom.size() == 16 || nom.size() > 20) return std::nullopt;
    int rang = 0;
    for (std::size_t i = 16; i < nom.size(); ++i) {
        if (nom[i] < '0' || nom[i] > '9') return std::nullopt;
        rang = rang * 10 + (nom[i] - '0');
    }
    v.rang = rang;
    return v;
}

std::string dateAffichee(const std::string& stamp)
{
    // AAAAMMJJ-HHMMSS -> JJ/MM/AAAA HH:MM:SS
    return stamp.substr(6, 2) + "/" + stamp.substr(4, 2) + "/" + stamp.substr(0, 4) + " " + stamp.substr(9, 2) +
           ":" + stamp.substr(11, 2) + ":" + stamp.substr(13, 2);
}

bool memeNomAscii(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto bas = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (bas(a[i]) != bas(b[i])) return false;
    }
    return true;
}

bool estFichierDeVersion(const std::string& nom) { return memeNomAscii(nom, kFiche) || memeNomAscii(nom, kMotif); }

bool estHomonyme(const std::string& nom) { return estFichierDeVersion(nom) || memeNomAscii(nom, kHomonymes); }

// Where a version folder keeps the sheet's file of that name.
std::string cheminGarde(const std::string& version, const std::string& nom)
{
    return estHomonyme(nom) ? version + kHomonymes + "\\" + nom : version + nom;
}

std::optional<Enregistrement> lireFiche(const std::string& chemin, Problemes& problemes)
{
    const auto octets = fichiers::lire(chemin);
    if (!octets) {
        problemes.push_back({chemin, "fichier introuvable ou illisible"});
        return std::nullopt;
    }
    std::optional<Enregistrement> fiche;
    const Problemes p = parcourirIndex(*octets, [&](int, const EnregistrementBrut& b) {
        fiche = decoder(b);
        return false;
    });
    if (!fiche) problemes.push_back({chemin, "la fiche archivée ne se lit pas"});
    return fiche;
}

// The record with its presence flags set from the files its folder holds.
Enregistrement drapeauxSelonFichiers(Enregistrement e, const std::string& dossier)
{
    for (int c = CVue; c <= CProgramme; ++c)
        e[static_cast<std::size_t>(c)] = fichiers::existe(dossier + fichierDuDrapeau(c)) ? "O" : "N";
    return e;
}

// Whether the folder holds nothing but files of the version, byte for byte:
// what a restoring of that version stopped before its record leaves.
bool laisseParCetteVersion(const std::string& dossier, const Version& v)
{
    for (const std::string& nom : fichiers::lister(dossier)) {
        const auto ici = fichiers::lire(dossier + nom);
        const auto archive = fichiers::lire(cheminGarde(v.chemin, nom));
        if (!ici || !archive || *ici != *archive) return false;
    }
    return true;
}

struct Trouvee {
    std::string chemin;  // the version folder, with its final "\"
    std::string date;    // as the list shows it
};

// The newest complete version of a sheet folder, by its name; of one reason
// only when `motif` is given.
std::optional<Trouvee> derniereVersion(const std::string& racine, std::optional<Motif> motif = std::nullopt)
{
    std::optional<std::pair<NomVersion, std::string>> meilleure;
    for (const std::string& nom : fichiers::lister(racine)) {
        const auto nv = lireNomVersion(nom);
        const auto texte = fichiers::lire(racine + nom + "\\" + kMotif);
        if (!nv || !texte || (motif && *texte != ligneCrLf(texteMotif(*motif)))) continue;
        if (!meilleure || std::tie(nv->stamp, nv->rang) > std::tie(meilleure->first.stamp, meilleure->first.rang))
            meilleure = std::make_pair(*nv, nom);
    }
    if (!meilleure) return std::nullopt;
    return Trouvee{racine + meilleure->second + "\\", dateAffichee(meilleure->first.stamp)};
}

}  // namespace

std::string texteMotif(Motif motif)
{
    switch (motif) {
    case Motif::Suppression: return "Suppression";
    case Motif::Modification: return "Modification";
    case Motif::ProgrammeRecu: return "Programme reçu de la CN";
    case Motif::Restauration: return "Restauration";
    }
    return "";
}

std::string horodatage(const Instant& t)
{
    return quatre(t.annee) + deux(t.mois) + deux(t.jour) + "-" + deux(t.heure) + deux(t.minute) + deux(t.seconde);
}

std::string dossierArchives(const std::string& nomdossier) { return std::string(kArchives) + "\\" + nomdossier + "\\"; }

std::vector<std::string> fichiersDuDossier(const std::string& nomdossier)
{
    std::vector<std::string> noms;
    const auto sur = dossierFicheSur(nomdossier);
    if (!sur) return noms;
    const std::string& dossier = *sur;
    for (const std::string& nom : fichiers::lister(dossier))
        if (!fichiers::estDossier(dossier + nom)) noms.push_back(nom);
    std::sort(noms.begin(), noms.end());
    return noms;
}

Lu<std::string> archiver(const std::string& nomdossier, const std::string& ligneFiche, Motif motif,
                         const std::vector<std::string>& donnes, const Instant& maintenant)
{
    Lu<std::string> lu;
    std::vector<std::string> noms = donnes;
    if (std::none_of(noms.begin(), noms.end(), [](const std::string& n) {
            return cp1252::replier(n) == statut::kFichier;
        }))
        noms.push_back(statut::kFichier);
    const auto sur = dossierFicheSur(nomdossier);
    if (!sur) {
        lu.signaler(dossierFiche(nomdossier), std::string(kNomDouteux) + " ; rien n'a été archivé");
        return lu;
    }
    const std::string& source = *sur;
    const std::string racine = dossierArchives(nomdossier);
    // A step run again after a stop finds its own version already there:
    // the same reason, the same record, every file still present the same
    // bytes. It is not archived a second time.
    if (const auto derniere = derniereVersion(racine)) {
        bool meme = fichiers::lire(derniere->chemin + kMotif) == ligneCrLf(texteMotif(motif)) &&
                    fichiers::lire(derniere->chemin + kFiche) == ligneCrLf(ligneFiche);
        for (const std::string& f : noms) {
            if (!meme) break;
            if (!fichiers::existe(source + f) || fichiers::estDossier(source + f)) continue;
            const auto ici = fichiers::lire(source + f);
            const auto archive = fichiers::lire(cheminGarde(derniere->chemin, f));
            meme = ici && archive && *ici == *archive;
        }
        if (meme) {
            lu.valeur = derniere->chemin;
            return lu;
        }
    }
    try {
        if (!fichiers::estDossier(kArchives)) fichiers::creerDossier(kArchives);
        if (!fichiers::estDossier(racine)) fichiers::creerDossier(racine);
        const std::string stamp = horodatage(maintenant);
        std::string nom = stamp;
        for (int rang = 2; fichiers::existe(racine + nom); ++rang) nom = stamp + "-" + std::to_string(rang);
        const std::string version = racine + nom + "\\";
        fichiers::creerDossier(version);
        bool homonymes = false;
        for (const std::string& f : noms) {
            if (!fichiers::existe(source + f) || fichiers::estDossier(source + f)) continue;
            if (estHomonyme(f) && !homonymes) {
                fichiers::creerDossier(version + kHomonymes);
                homonymes = true;
            }
            fichiers::copier(source + f, cheminGarde(version, f));
        }
        fichiers::ecrire(version + kFiche, ligneCrLf(ligneFiche));
        fichiers::ecrire(version + kMotif, ligneCrLf(texteMotif(motif)));
        lu.valeur = version;
    } catch (const fichiers::ErreurFichier& e) {
        lu.signaler(e.chemin(), e.detail());
    }
    return lu;
}

std::string cheminGarde(const Version& v, const std::string& nom) { return cheminGarde(v.chemin, nom); }

Lu<std::vector<Version>> lister()
{
    Lu<std::vector<Version>> lu;
    std::vector<std::tuple<std::string, int, Version>> tri;
    for (const std::string& nomdossier : fichiers::lister(kArchives)) {
        const std::string racine = dossierArchives(nomdossier);
        if (!fichiers::estDossier(racine)) continue;
        for (const std::string& nom : fichiers::lister(racine)) {
            const auto nv = lireNomVersion(nom);
            const std::string chemin = racine + nom + "\\";
            if (!nv || !fichiers::estDossier(chemin)) continue;
            const auto motif = fichiers::lire(chemin + kMotif);
            if (!motif) continue;  // cut short: its sheet was never touched
            Version v;
            v.nomdossier = nomdossier;
            v.nom = nom;
            v.chemin = chemin;
            v.date = dateAffichee(nv->stamp);
            std::string m = cp1252::versUtf8(*motif);
            while (!m.empty() && (m.back() == '\r' || m.back() == '\n')) m.pop_back();
            v.motif = m;
            v.fiche = lireFiche(chemin + kFiche, lu.problemes);
            for (const std::string& f : fichiers::lister(chemin))
                if (!estHomonyme(f) && !fichiers::estDossier(chemin + f)) v.fichiers.push_back(f);
            const std::string homonymes = chemin + kHomonymes + "\\";
            if (fichiers::estDossier(homonymes))
                for (const std::string& f : fichiers::lister(homonymes))
                    if (estHomonyme(f) && !fichiers::estDossier(homonymes + f)) v.fichiers.push_back(f);
            std::sort(v.fichiers.begin(), v.fichiers.end());
            tri.emplace_back(nv->stamp, nv->rang, std::move(v));
        }
    }
    std::sort(tri.begin(), tri.end(), [](const auto& a, const auto& b) {
        if (std::get<0>(a) != std::get<0>(b)) return std::get<0>(a) > std::get<0>(b);
        if (std::get<1>(a) != std::get<1>(b)) return std::get<1>(a) > std::get<1>(b);
        return std::get<2>(a).nomdossier < std::get<2>(b).nomdossier;
    });
    for (auto& t : tri) lu.valeur.push_back(std::move(std::get<2>(t)));
    return lu;
}

namespace {

Restauration refusee(Restauration& r, std::string raison)
{
    r.genre = Restauration::Genre::Refusee;
    r.raison = std::move(raison);
    return r;
}

bool historique(const std::string& nom) { return cp1252::replier(nom) == statut::kFichier; }

// A sheet neither in the index nor on disk: its folder, its files and its
// record again.
Restauration recreer(const Version& v, const std::string& dossier, Restauration& r)
{
    // Only a deletion's version holds the whole folder; another one would
    // bring back a sheet of a few files and every flag "N".
    if (v.motif != texteMotif(Motif::Suppression)) {
        const auto suppression = derniereVersion(dossierArchives(v.nomdossier), Motif::Suppression);
        return refusee(r, "Cette version ne garde que les fichiers que l'opération « " + v.motif +
                              " » a remplacés : elle ne ramène pas seule la fiche supprimée. " +
                              (suppression ? "Restaurer d'abord la version de la suppression du " + suppression->date +
                                                 ", puis celle-ci"
                                           : std::string("Aucune version de la suppression de cette fiche n'est "
                                                         "archivée")) +
                              " ; rien n'a été restauré.");
    }
    const Lu<std::vector<std::string>> liste = lireListeMachines();
    const std::string machine = sansBlancs((*v.fiche)[CMachine]);
    if (std::find(liste.valeur.begin(), liste.valeur.end(), machine) == liste.valeur.end())
        return refusee(r, "La machine " + machine + " de cette fiche n'existe plus : la créer à nouveau avant " +
                              "de restaurer la fiche.");
    if (fichiers::existe(dossier) && !laisseParCetteVersion(dossier, v))
        return refusee(r, "Le dossier " + dossier + " existe déjà sans fiche dans l'index : rien n'a été restauré.");
    if (!fichiers::estDossier(dossier)) fichiers::creerDossier(dossier);
    for (const std::string& f : v.fichiers) fichiers::copier(cheminGarde(v, f), dossier + f);
    const Resultat ajout = ajouterEnregistrement(ligneReconstruite(drapeauxSelonFichiers(*v.fiche, dossier)));
    if (!ajout.ok()) {
        r.problemes = ajout.problemes;
        return r;
    }
    r.genre = Restauration::Genre::Recreee;
    return r;
}

// A sheet in the index: the current files the version brings back are
// archived before anything is replaced.
Restauration remplacer(const Version& v, const std::string& nom, const std::string& dossier,
                       const Enregistrement& actuel, const Instant& maintenant, Restauration& r)
{
    std::vector<std::string> remplaces;
    for (const std::string& f : v.fichiers)
        if (fichiers::existe(dossier + f) && !historique(f)) remplaces.push_back(f);
    if (!remplaces.empty()) {
        const Lu<std::string> a = archiver(nom, ligneReconstruite(actuel), Motif::Restauration, remplaces, maintenant);
        if (!a.ok()) {
            r.problemes = a.problemes;
            return r;
        }
    }
    if (!fichiers::estDossier(dossier)) fichiers::creerDossier(dossier);
    for (const std::string& f : v.fichiers)
        if (!historique(f)) fichiers::copier(cheminGarde(v, f), dossier + f);
    const Enregistrement nouveau = drapeauxSelonFichiers(actuel, dossier);
    if (nouveau != actuel) {
        const Resultat reecrit = reecrireindex(r.cle, ligneReconstruite(nouveau));
        if (!reecrit.ok()) {
            r.problemes = reecrit.problemes;
            return r;
        }
    }
    r.genre = Restauration::Genre::Remplacee;
    return r;
}

}  // namespace

Restauration restaurer(const Version& v, const Instant& maintenant, const statut::Auteur& auteur)
{
    Restauration r;
    if (!v.fiche)
        return refusee(r, "La fiche archivée (" + v.chemin + kFiche + ") ne se lit pas : rien n'a été restauré.");
    // The version's folder was found letter case aside, as every folder of
    // the data is: a sheet deleted as "pivot" and made again as "PIVOT" has
    // one archive folder.
    const std::string nom = nomdossierEnregistrement(*v.fiche);
    if (cp1252::replier(nom) != cp1252::replier(v.nomdossier))
        return refusee(r, "La fiche archivée (" + v.chemin + kFiche + ") ne correspond pas au dossier " +
                              v.nomdossier + " : rien n'a été restauré.");
    const auto sur = dossierFicheSur(nom);
    if (!sur) return refusee(r, dossierFiche(nom) + " : " + kNomDouteux + " ; rien n'a été restauré.");
    const std::string& dossier = *sur;
    r.cle = nom + "\\";

    const Lu<Index> index = lireIndex();
    if (!index.ok()) {
        r.problemes = index.problemes;
        return r;
    }
    // The record of this sheet; a record whose folder is the same one under
    // another letter case is another sheet, whose files the version must not
    // take over.
    std::optional<Enregistrement> actuel, autre;
    for (const Enregistrement& e : index.valeur.enregistrements) {
        const std::string cle = cleEnregistrement(e);
        if (cle == r.cle)
            actuel = e;
        else if (cp1252::replier(cle) == cp1252::replier(r.cle))
            autre = e;
    }
    if (!actuel && autre)
        return refusee(r, "Le dossier " + dossier + " est celui de la fiche " + sansBlancs((*autre)[CPiece]) +
                              " Phase " + sansBlancs((*autre)[CPhase]) + " (" + cleEnregistrement(*autre) +
                              ") : rien n'a été restauré.");
    try {
        r = actuel ? remplacer(v, nom, dossier, *actuel, maintenant, r) : recreer(v, dossier, r);
        if (r.genre == Restauration::Genre::Recreee || r.genre == Restauration::Genre::Remplacee) {
            const Resultat ligne = statut::enEssai(dossier, statut::commentaireRestauration(v.date), auteur, maintenant);
            if (!ligne.ok()) {
                r.genre = Restauration::Genre::Echec;
                r.problemes = ligne.problemes;
            }
        }
        return r;
    } catch (const fichiers::ErreurFichier& e) {
        r.problemes.push_back({e.chemin(), e.detail()});
    }
    return r;
}

}  // namespace tarvex::archives
