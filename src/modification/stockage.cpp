#include "modification/stockage.h"

#include "creation/ecriture.h"
#include "store/chemins.h"
#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/lecteur.h"
#include "store/machines.h"
#include "store/textechoisi.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

namespace tarvex::stockage {

namespace {


std::string nom(const Designation& d)
{
    return nomdossier(sansBlancs(d.piece), sansBlancs(d.phase), sansBlancs(d.ensemble), sansBlancs(d.machine));
}

// The sheet's folder. A record edited by hand with a "\" or ".." in a field
// must not make the deletion or the modification reach outside data\:
// nothing then, and `r` says why.
std::optional<std::string> dossierVerifie(const Designation& d, Resultat& r)
{
    if (dossierFicheSur(nom(d))) return dossier(d);
    r.problemes.push_back({dossier(d), std::string(kNomDouteux) + " ; rien n'a été modifié"});
    return std::nullopt;
}

Resultat echec(const fichiers::ErreurFichier& e) { return Resultat::echec(e.chemin(), e.detail()); }

// Whether two paths name the same file, as the data folder compares names
// (letter case aside). Neither needs to exist.
bool memeFichier(const std::string& a, const std::string& b)
{
    namespace fs = std::filesystem;
    auto forme = [](const std::string& c) {
        std::error_code ec;
        fs::path p = fs::absolute(chemins::resoudre(c), ec);
        if (ec) p = chemins::resoudre(c);
        return cp1252::replier(chemins::texte(p.lexically_normal()));
    };
    return forme(a) == forme(b);
}

// The information text without blanks or line ends around it. The main
// window shows info.txt less its last character, so the text copied from it
// ends with a line break: written back as it stands, every save would add
// an empty line to the file.
std::string sansBlancsNiFinsDeLigne(const std::string& t)
{
    const auto debut = t.find_first_not_of(" \t\r\n");
    if (debut == std::string::npos) return {};
    return t.substr(debut, t.find_last_not_of(" \t\r\n") - debut + 1);
}

// The record of a key as the index holds it, for the archive.
std::optional<Enregistrement> enregistrementDeCle(std::string_view octets, const std::string& k)
{
    std::optional<Enregistrement> trouve;
    parcourirIndex(octets, [&](int, const EnregistrementBrut& b) {
        Enregistrement e = decoder(b);
        if (cleEnregistrement(e) == k) trouve = std::move(e);
        return !trouve;
    });
    return trouve;
}

// The value file the CNC type writes (none for "other").
std::optional<std::string> fichierDesValeurs(const std::string& directeur)
{
    switch (codeMachine(sansBlancs(directeur))) {
    case kNum: return "pref.txt";
    case kFanuc: return "origine.txt";
    case kFagor: return "info.txt";
    default: return std::nullopt;
    }
}

}  // namespace

std::string dossier(const Designation& d) { return dossierFiche(nom(d)); }

std::string cle(const Designation& d) { return nom(d) + "\\"; }

std::string ligneModifiee(const Modification& m)
{
    Enregistrement e{m.piece, sansBlancs(m.phase), m.machine, m.ensemble, m.matiere};
    for (int i = 0; i < kEmplacements; ++i)
        e[static_cast<std::size_t>(CVue + i)] = m.fichiers[i].nouveau.empty() ? "N" : "O";
    return ligneEnregistrement(e);
}

namespace {

using Contenus = std::array<std::optional<std::string>, kEmplacements>;

// The record of key K in the index: the sheet must still be there, since
// replacing a record that is no longer there would drop the sheet from the
// list. Nothing, and `r` says why, when it is not.
std::optional<Enregistrement> enregistrementActuel(const std::string& K, Resultat& r)
{
    const auto index = fichiers::lire(kIndex);
    if (!index) {
        r = Resultat::echec(kIndex, "fichier introuvable ou illisible ; rien n'a été modifié");
        return std::nullopt;
    }
    std::optional<Enregistrement> actuel = enregistrementDeCle(*index, K);
    if (!actuel)
        r = Resultat::echec(kIndex, "la fiche " + K.substr(0, K.size() - 1) + " n'y figure plus ; rien n'a été modifié");
    return actuel;
}

// Every new file, read before anything is written. A slot whose new file is
// the target of an earlier slot takes what that slot puts there. The program
// is text, stored in Windows-1252 whatever the editor that saved it (the
// report said so, or refused it).
Resultat lireNouveaux(const Modification& m, const std::string& P, Contenus& contenus)
{
    for (int i = 0; i < kEmplacements; ++i) {
        const Chemins& c = m.fichiers[i];
        if (!c.change() || c.nouveau.empty()) continue;
        for (int j = 0; j < i && !contenus[i]; ++j)
            if (contenus[j] && memeFichier(c.nouveau, P + fichierEmplacement(j))) contenus[i] = contenus[j];
        if (!contenus[i]) contenus[i] = fichiers::lire(c.nouveau);
        if (!contenus[i])
            return Resultat::echec(c.nouveau, "fichier introuvable ou illisible ; rien n'a été modifié");
    }
    if (auto& programme = contenus[EProgramme]) {
        textechoisi::Texte t = textechoisi::analyser(*programme);
        if (!t.convertible())
            return Resultat::echec(m.fichiers[EProgramme].nouveau, t.raison() + " ; rien n'a été modifié");
        programme = std::move(t.octets);
    }
    return {};
}

// The values of the CNC type and the gauges as the creation stores them: at
// most the first hundred (the report says so when there are more).
Resultat ecrireValeurs(const Modification& m, const std::string& P)
{
    const int genre = codeMachine(sansBlancs(m.genre));
    Resultat valeurs;
    switch (codeMachine(sansBlancs(m.directeur))) {
    case kNum: valeurs = ecrirepref(P, genre, m.pref); break;
    case kFanuc: valeurs = ecrireorigine(P, genre, m.origine); break;
    case kFagor: valeurs = ecrireinfos(P, sansBlancsNiFinsDeLigne(m.infos)); break;
    default: break;
    }
    if (!valeurs.ok()) return valeurs;
    std::string jauges;
    for (const auto& l : creation::jaugesRetenues(m.jauges).lignes) jauges += cp1252::depuisUtf8(l) + "\r\n";
    try {
        fichiers::ecrire(P + "jauge.txt", jauges);
    } catch (const fichiers::ErreurFichier& e) {
        return echec(e);
    }
    return {};
}

}  // namespace

FinModification enregistrer(const Modification& m)
{
    FinModification fin;
    const auto dossierSur = dossierVerifie(m.stockee, fin.resultat);
    if (!dossierSur) return fin;
    const std::string& P = *dossierSur;
    const std::string K = cle(m.stockee);
    const std::optional<Enregistrement> actuel = enregistrementActuel(K, fin.resultat);
    if (!actuel) return fin;
    Contenus contenus;
    fin.resultat = lireNouveaux(m, P, contenus);
    if (!fin.resultat.ok()) return fin;

    // What is about to be replaced is archived, whole, before anything is.
    std::vector<std::string> remplaces;
    for (int i = 0; i < kEmplacements; ++i)
        if (contenus[i]) remplaces.push_back(fichierEmplacement(i));
    if (const auto valeurs = fichierDesValeurs(m.directeur)) remplaces.push_back(*valeurs);
    remplaces.push_back("jauge.txt");
    const Lu<std::string> archive = archives::archiver(nom(m.stockee), ligneReconstruite(*actuel),
                                                       archives::Motif::Modification, remplaces, m.maintenant);
    if (!archive.ok()) {
        fin.resultat.problemes = archive.problemes;
        fin.resultat.problemes.push_back({kIndex, "rien n'a été modifié"});
        return fin;
    }

    fin.resultat = reecrireindex(K, ligneModifiee(m));
    if (!fin.resultat.ok()) return fin;
    fin.indexReecrit = true;

    try {
        // A folder lost since the sheet was shown is made again: the
        // modification is how such a sheet is repaired.
        if (!fichiers::estDossier(P)) fichiers::creerDossier(P.substr(0, P.size() - 1));
        // Each file is written beside its target and renamed over it, so the
        // old one stays whole until the new one is complete.
        for (int i = 0; i < kEmplacements; ++i)
            if (contenus[i]) fichiers::ecrire(P + fichierEmplacement(i), *contenus[i]);
    } catch (const fichiers::ErreurFichier& e) {
        fin.resultat = echec(e);
        return fin;
    }
    fin.resultat = ecrireValeurs(m, P);
    // Only a program the sheet did not have is unproven: a new photograph
    // or gauge changes nothing of what the machine runs.
    if (fin.resultat.ok() && contenus[EProgramme])
        fin.resultat = statut::enEssai(P, statut::kModification, m.auteur, m.maintenant);
    return fin;
}

Lu<int> compterFiches()
{
    Lu<int> r;
    const auto octets = fichiers::lire(kIndex);
    if (!octets) {
        r.signaler(kIndex, "fichier introuvable ou illisible");
        return r;
    }
    r.problemes = parcourirIndex(*octets, [&](int, const EnregistrementBrut&) {
        ++r.valeur;
        return true;
    });
    return r;
}

std::vector<std::string> fichiersASupprimer(const Suppression& s)
{
    std::vector<std::string> f;
    for (int i = 0; i < kEmplacements; ++i)
        if (s.drapeaux[i] == "O") f.push_back(fichierEmplacement(i));
    if (const auto valeurs = fichierDesValeurs(s.directeur)) f.push_back(*valeurs);
    f.push_back("jauge.txt");
    return f;
}

FinSuppression supprimer(const Suppression& s)
{
    FinSuppression fin;
    const auto dossierSur = dossierVerifie(s.fiche, fin.resultat);
    if (!dossierSur) return fin;
    const std::string& P = *dossierSur;
    // The whole folder is archived first, the files that are not the
    // sheet's included: they can all go then, and a later creation of the
    // same sheet finds no folder in its way.
    if (fichiers::estDossier(P)) {
        const auto index = fichiers::lire(kIndex);
        const std::optional<Enregistrement> actuel =
            index ? enregistrementDeCle(*index, cle(s.fiche)) : std::optional<Enregistrement>();
        std::string ligne;
        if (actuel) ligne = ligneReconstruite(*actuel);
        const Lu<std::string> archive = archives::archiver(nom(s.fiche), ligne, archives::Motif::Suppression,
                                                           archives::fichiersDuDossier(nom(s.fiche)), s.maintenant);
        if (!archive.ok()) {
            fin.resultat.problemes = archive.problemes;
            return fin;
        }
    }
    try {
        for (const auto& f : fichiersASupprimer(s)) fichiers::supprimer(P + f);
        if (fichiers::estDossier(P)) {
            for (const auto& n : fichiers::lister(P)) {
                // Every file is in the archive now; only a folder inside the
                // sheet's (which the archive does not take) keeps it.
                if (!fichiers::estDossier(P + n))
                    fichiers::supprimer(P + n);
                else
                    fin.restes.push_back(n);
            }
            std::sort(fin.restes.begin(), fin.restes.end());
            if (fin.restes.empty()) fichiers::supprimerDossier(P.substr(0, P.size() - 1));
        }
    } catch (const fichiers::ErreurFichier& e) {
        fin.resultat = echec(e);
        return fin;
    }
    fin.resultat = reecrireindex(cle(s.fiche), std::nullopt);
    return fin;
}

}  // namespace tarvex::stockage
