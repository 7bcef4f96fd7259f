#include "store/machines.h"

#include "store/chemins.h"
#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/lecteur.h"
#include "store/textechoisi.h"

#include <cmath>

namespace tarvex {
namespace {

std::string ligne(const std::string& valeur) { return cp1252::depuisUtf8(valeur) + "\r\n"; }

// The list is written whole beside itself and put in its place in one step:
// at every moment machine.txt is the old list or the new one.
void remplacerListe(const std::string& octets)
{
    fichiers::ecrireBrouillon(kListeMachinesTemporaire, octets);
    fichiers::remplacer(kListeMachinesTemporaire, kListeMachines);
}

Resultat echec(const fichiers::ErreurFichier& e) { return Resultat::echec(e.chemin(), e.detail()); }

}  // namespace

int codeMachine(std::string_view texte)
{
    const double v = lirenombre(texte);
    return (std::fabs(v) < 1e6 && v == std::floor(v)) ? static_cast<int>(v) : -1;
}

const char* imageDuGenre(int type)
{
    if (type == kTournage) return "data\\tournage.jpg";
    if (type == kFraisage) return "data\\fraisage.jpg";
    return nullptr;
}

std::string dossierMachine(const std::string& nom) { return "data\\machine\\" + nom + "\\"; }

Lu<std::vector<std::string>> lireListeMachines()
{
    Lu<std::vector<std::string>> r;
    const auto octets = fichiers::lire(kListeMachines);
    if (!octets) return r;
    LecteurItems lecteur(*octets);
    while (!lecteur.fin()) {
        const auto item = lecteur.suivantBrut();
        // An empty line (or an empty pair of quotes) names no machine.
        if (item.brut.empty()) continue;
        r.valeur.push_back(cp1252::versUtf8(item.brut));
    }
    return r;
}

Lu<ParamCom> lirecom(const std::string& nomMachine)
{
    Lu<ParamCom> r;
    const std::string chemin = dossierMachine(sansBlancs(nomMachine)) + "com.txt";
    if (!chemins::nomSur(sansBlancs(nomMachine))) {
        r.signaler(chemin, "nom de machine invalide");
        return r;
    }
    const auto octets = fichiers::lire(chemin);
    if (!octets) {
        r.signaler(chemin, fichiers::estDossier(dossierMachine(sansBlancs(nomMachine)))
                               ? "fichier introuvable ou illisible"
                               : "le dossier de la machine est introuvable");
        return r;
    }
    return analyserCom(*octets, chemin);
}

Lu<ParamCom> analyserCom(std::string_view octets, const std::string& chemin)
{
    Lu<ParamCom> r;
    auto& v = r.valeur;
    std::string* ordre[7] = {&v.port, &v.vitesse, &v.parite, &v.bits, &v.arret, &v.type, &v.directeur};
    LecteurItems lecteur(octets);
    bool unGroupe = false;
    while (!lecteur.fin()) {
        std::string groupe[7];
        int lus = 0;
        bool toutVide = true;
        while (lus < 7 && !lecteur.fin()) {
            const auto item = lecteur.suivantBrut();
            if (!item.brut.empty() || item.entreGuillemets) toutVide = false;
            groupe[lus++] = cp1252::versUtf8(item.brut);
        }
        if (lus < 7) {
            if (toutVide && unGroupe) break;  // blank lines after the values
            for (int i = 0; i < lus; ++i) *ordre[i] = groupe[i];
            r.signaler(chemin, std::to_string(lus) + (lus > 1 ? " lignes" : " ligne") + " au lieu de 7");
            return r;
        }
        for (int i = 0; i < 7; ++i) *ordre[i] = groupe[i];
        unGroupe = true;
    }
    if (!unGroupe) r.signaler(chemin, "le fichier est vide (il faut 7 lignes)");
    return r;
}

Resultat ecrireMachine(const NouvelleMachine& m)
{
    const std::string nom = sansBlancs(m.nom);
    if (!chemins::nomSur(nom))
        return Resultat::echec(dossierMachine(nom), "nom de machine refusé : il sortirait du dossier data\\machine");
    const std::string dossier = dossierMachine(nom);
    try {
        if (!fichiers::estDossier(dossier)) fichiers::creerDossier(dossier.substr(0, dossier.size() - 1));
        fichiers::copier(m.image, dossier + "image.jpg");
        // A text like the data files: stored in Windows-1252 whatever the
        // editor that saved it.
        if (m.dossier)
            textechoisi::copier(*m.dossier, dossier + "dossier.txt");
        else
            fichiers::ecrire(dossier + "dossier.txt", ligne(kPasDeDossierMachine));
        const ParamCom& c = m.com;
        fichiers::ecrire(dossier + "com.txt", ligne(c.port) + ligne(c.vitesse) + ligne(c.parite) + ligne(c.bits) +
                                                  ligne(c.arret) + ligne(c.type) + ligne(c.directeur));
        // The name goes in last: the list is rewritten whole and replaced in
        // one step, so it names the new machine only once it is complete.
        // A list that is there but cannot be read must not be replaced by
        // one holding only the new name.
        const auto actuelle = fichiers::lire(kListeMachines);
        if (!actuelle && fichiers::existe(kListeMachines))
            return Resultat::echec(kListeMachines, "fichier illisible");
        std::string liste = actuelle.value_or(std::string());
        if (!liste.empty() && liste.back() != '\n' && liste.back() != '\r') liste += "\r\n";
        liste += ligne(nom);
        remplacerListe(liste);
    } catch (const fichiers::ErreurFichier& e) {
        return echec(e);
    }
    return {};
}

Resultat retirerMachineDeListe(const std::string& nom)
{
    try {
        const auto octets = fichiers::lire(kListeMachines);
        if (!octets) return Resultat::echec(kListeMachines, "fichier introuvable ou illisible");
        std::string nouveau;
        LecteurItems lecteur(*octets);
        while (!lecteur.fin()) {
            const auto item = lecteur.suivantBrut();
            if (item.brut.empty()) continue;
            if (cp1252::versUtf8(item.brut) == nom) continue;
            ajouterItem(nouveau, item.brut);
            nouveau += "\r\n";
        }
        // As the list is re-created only by writing a name into it, the last
        // deletion leaves no list at all; the readers take a missing list
        // for an empty one.
        if (nouveau.empty())
            fichiers::supprimer(kListeMachines);
        else
            remplacerListe(nouveau);
    } catch (const fichiers::ErreurFichier& e) {
        return echec(e);
    }
    return {};
}

Resultat supprimerDossierMachine(const std::string& nom)
{
    if (!chemins::nomSur(nom)) return Resultat::echec(dossierMachine(nom), "nom de machine invalide");
    const std::string dossier = dossierMachine(nom);
    try {
        fichiers::supprimer(dossier + "image.jpg");
        fichiers::supprimer(dossier + "com.txt");
        fichiers::supprimer(dossier + "dossier.txt");
        fichiers::supprimerDossier(dossier.substr(0, dossier.size() - 1));
    } catch (const fichiers::ErreurFichier& e) {
        return echec(e);
    }
    return {};
}

}  // namespace tarvex
