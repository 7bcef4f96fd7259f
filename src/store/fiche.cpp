#include "store/fiche.h"

#include "store/chemins.h"
#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/lecteur.h"

namespace tarvex {
namespace {

std::string ligne(const std::string& valeur) { return cp1252::depuisUtf8(valeur) + "\r\n"; }

Resultat ecrireFichier(const std::string& chemin, const std::string& octets)
{
    try {
        fichiers::ecrire(chemin, octets);
    } catch (const fichiers::ErreurFichier& e) {
        return Resultat::echec(e.chemin(), e.detail());
    }
    return {};
}

// Reads groups of values; the last complete group wins.
template <class Affecter>
Problemes lireGroupes(const std::string& chemin, int taille, Affecter affecter)
{
    Problemes p;
    const auto octets = fichiers::lire(chemin);
    if (!octets) {
        p.push_back({chemin, "fichier introuvable ou illisible"});
        return p;
    }
    LecteurItems lecteur(*octets);
    bool unGroupe = false;
    while (!lecteur.fin()) {
        std::vector<std::string> groupe;
        bool toutVide = true;
        while (static_cast<int>(groupe.size()) < taille && !lecteur.fin()) {
            const auto item = lecteur.suivantBrut();
            if (!item.brut.empty() || item.entreGuillemets) toutVide = false;
            groupe.push_back(cp1252::versUtf8(item.brut));
        }
        if (static_cast<int>(groupe.size()) < taille) {
            if (toutVide && unGroupe) break;  // blank lines after the values
            for (std::size_t i = 0; i < groupe.size(); ++i) affecter(static_cast<int>(i), groupe[i]);
            p.push_back({chemin, std::to_string(groupe.size()) + (groupe.size() > 1 ? " valeurs" : " valeur") +
                                     " au lieu de " + std::to_string(taille)});
            return p;
        }
        for (int i = 0; i < taille; ++i) affecter(i, groupe[i]);
        unGroupe = true;
    }
    if (!unGroupe) p.push_back({chemin, "aucune valeur (il en faut " + std::to_string(taille) + ")"});
    return p;
}

}  // namespace

std::string nomdossier(const std::string& piece, const std::string& phase, const std::string& ensemble,
                       const std::string& machine)
{
    return piece + "_Phase " + phase + "_" + ensemble + "_" + machine;
}

std::string nomdossierEnregistrement(const Enregistrement& e)
{
    return nomdossier(sansBlancs(e[CPiece]), sansBlancs(e[CPhase]), sansBlancs(e[CEnsemble]),
                      sansBlancs(e[CMachine]));
}

std::string dossierFiche(const std::string& nom) { return "data\\" + nom + "\\"; }

std::optional<std::string> dossierFicheSur(const std::string& nom)
{
    if (!chemins::nomSur(nom)) return std::nullopt;
    return dossierFiche(nom);
}

std::string dossierFicheLu(const std::string& nom)
{
    if (chemins::nomSur(nom)) return dossierFiche(nom);
    std::string seul = nom;
    for (char& c : seul) {
        const auto o = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || c == ':' || o < 0x20 || o == 0x7F) c = '?';
    }
    // A name of dots alone stays "." or ".." to the system.
    return dossierFiche(chemins::nomSur(seul) ? seul : "?" + seul);
}

Lu<ValeursPref> lirepref(const std::string& dossier, int type)
{
    Lu<ValeursPref> r;
    const bool y = fraisage(type);
    auto& v = r.valeur;
    std::vector<std::string*> ordre = y ? std::vector<std::string*>{&v.prefX, &v.prefY, &v.prefZ, &v.decX, &v.decY, &v.decZ}
                                        : std::vector<std::string*>{&v.prefX, &v.prefZ, &v.decX, &v.decZ};
    r.problemes = lireGroupes(dossier + "pref.txt", static_cast<int>(ordre.size()),
                              [&](int i, const std::string& s) { *ordre[i] = s; });
    return r;
}

Lu<ValeursOrigine> lireorigine(const std::string& dossier, int type)
{
    Lu<ValeursOrigine> r;
    auto& v = r.valeur;
    std::vector<std::string*> ordre = fraisage(type) ? std::vector<std::string*>{&v.origine, &v.x, &v.y, &v.z}
                                                     : std::vector<std::string*>{&v.origine, &v.x, &v.z};
    r.problemes = lireGroupes(dossier + "origine.txt", static_cast<int>(ordre.size()),
                              [&](int i, const std::string& s) { *ordre[i] = s; });
    return r;
}

Lu<std::string> lireSaufDernier(const std::string& chemin)
{
    Lu<std::string> r;
    const auto octets = fichiers::lire(chemin);
    if (!octets) {
        r.signaler(chemin, "fichier introuvable ou illisible");
        return r;
    }
    if (octets->empty()) {
        r.signaler(chemin, "le fichier est vide");
        return r;
    }
    r.valeur = cp1252::versUtf8(std::string_view(*octets).substr(0, octets->size() - 1));
    return r;
}

Lu<std::string> lireinfos(const std::string& dossier) { return lireSaufDernier(dossier + "info.txt"); }

Lu<std::string> lirejauges(const std::string& dossier)
{
    auto r = lireSaufDernier(dossier + "jauge.txt");
    r.valeur = sansBlancs(r.valeur);
    return r;
}

Lu<std::string> lireprogramme(const std::string& dossier) { return lireSaufDernier(dossier + "prog.txt"); }

Lu<std::vector<std::string>> annotations(const std::string& dossier)
{
    Lu<std::vector<std::string>> r;
    const std::string chemin = dossier + "prog.txt";
    const auto octets = fichiers::lire(chemin);
    if (!octets) {
        r.signaler(chemin, "fichier introuvable ou illisible");
        return r;
    }
    LecteurItems lecteur(*octets);
    while (!lecteur.fin()) {
        const std::string_view item = lecteur.suivantBrut().brut;
        if (item.empty()) continue;
        if (item.front() == '$')
            r.valeur.push_back(cp1252::versUtf8(sansBlancs(item.substr(1))));
        else if (item.front() == '(')
            r.valeur.push_back(cp1252::versUtf8(sansBlancs(item)));
    }
    return r;
}

std::string finsDeLigneCrLf(const std::string& texte)
{
    std::string r;
    r.reserve(texte.size() + 16);
    for (std::size_t i = 0; i < texte.size(); ++i) {
        const char c = texte[i];
        if (c == '\r') {
            r += "\r\n";
            if (i + 1 < texte.size() && texte[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            r += "\r\n";
        } else {
            r.push_back(c);
        }
    }
    return r;
}

Resultat ecrirepref(const std::string& dossier, int type, const ValeursPref& v)
{
    std::string o = ligne(sansBlancs(v.prefX));
    if (fraisage(type)) o += ligne(sansBlancs(v.prefY));
    o += ligne(sansBlancs(v.prefZ));
    o += ligne(sansBlancs(v.decX));
    if (fraisage(type)) o += ligne(sansBlancs(v.decY));
    o += ligne(sansBlancs(v.decZ));
    return ecrireFichier(dossier + "pref.txt", o);
}

Resultat ecrireorigine(const std::string& dossier, int type, const ValeursOrigine& v)
{
    std::string o = ligne(sansBlancs(v.origine));
    o += ligne(sansBlancs(v.x));
    if (fraisage(type)) o += ligne(sansBlancs(v.y));
    o += ligne(sansBlancs(v.z));
    return ecrireFichier(dossier + "origine.txt", o);
}

Resultat ecrireinfos(const std::string& dossier, const std::string& texte)
{
    std::string t = sansBlancs(texte);
    if (t.empty()) t = "Infos à compléter";
    return ecrireFichier(dossier + "info.txt", ligne(finsDeLigneCrLf(t)));
}

std::vector<std::string> normaliserJauges(const std::string& texte)
{
    std::string t = sansBlancs(texte);
    if (t.empty()) t = "A compléter";
    // The stored text is read back as the file would be: with its final line end.
    const std::string octets = cp1252::depuisUtf8(finsDeLigneCrLf(t)) + "\r\n";
    std::vector<std::string> lignes;
    LecteurItems lecteur(octets);
    while (!lecteur.fin()) {
        const auto item = lecteur.suivantBrut();
        if (!item.brut.empty()) lignes.push_back(cp1252::versUtf8(item.brut));
    }
    return lignes;
}

}  // namespace tarvex
