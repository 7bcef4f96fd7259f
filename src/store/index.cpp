#include "store/index.h"

#include "store/cp1252.h"
#include "store/fiche.h"
#include "store/fichiers.h"

namespace tarvex {

Enregistrement decoder(const EnregistrementBrut& brut)
{
    Enregistrement e;
    for (int i = 0; i < kChampsParEnregistrement; ++i) e[i] = cp1252::versUtf8(brut[i]);
    return e;
}

Problemes parcourirIndex(std::string_view octets,
                         const std::function<bool(int, const EnregistrementBrut&)>& visiteur)
{
    Problemes problemes;
    LecteurItems lecteur(octets);
    EnregistrementBrut champs;
    int numero = 0;
    while (!lecteur.fin()) {
        int lus = 0;
        bool toutVide = true;
        while (lus < kChampsParEnregistrement && !lecteur.fin()) {
            const auto item = lecteur.suivantBrut();
            champs[lus++] = item.brut;
            if (!item.brut.empty() || item.entreGuillemets) toutVide = false;
        }
        if (lus < kChampsParEnregistrement) {
            if (!toutVide)
                problemes.push_back({kIndex, "l'enregistrement n° " + std::to_string(numero + 1) +
                                                 " est incomplet (" + std::to_string(lus) +
                                                 " champs sur 16) ; il est ignoré"});
            break;
        }
        if (!visiteur(numero, champs)) break;
        ++numero;
    }
    return problemes;
}

Lu<Index> lireIndex()
{
    Lu<Index> r;
    const auto octets = fichiers::lire(kIndex);
    if (!octets) {
        r.signaler(kIndex, "fichier introuvable ou illisible");
        return r;
    }
    r.problemes = parcourirIndex(*octets, [&](int, const EnregistrementBrut& b) {
        r.valeur.enregistrements.push_back(decoder(b));
        return true;
    });
    return r;
}

Lu<std::optional<Enregistrement>> lireEnregistrement(int numero)
{
    Lu<std::optional<Enregistrement>> r;
    const auto octets = fichiers::lire(kIndex);
    if (!octets) {
        r.signaler(kIndex, "fichier introuvable ou illisible");
        return r;
    }
    r.problemes = parcourirIndex(*octets, [&](int n, const EnregistrementBrut& b) {
        if (n != numero) return true;
        r.valeur = decoder(b);
        return false;
    });
    if (!r.valeur && r.problemes.empty())
        r.signaler(kIndex, "l'enregistrement n° " + std::to_string(numero + 1) + " n'existe plus");
    return r;
}

std::string cleEnregistrement(const Enregistrement& e)
{
    return nomdossierEnregistrement(e) + "\\";
}

std::string ligneReconstruite(const Enregistrement& e)
{
    std::string l = e[CPiece];
    l += ',';
    l += sansBlancs(e[CPhase]);
    for (int i = CMachine; i < kChampsParEnregistrement; ++i) {
        l += ',';
        l += (i == CMatiere) ? sansBlancs(e[i]) : e[i];
    }
    return l;
}

std::string ligneEnregistrement(const Enregistrement& e)
{
    std::string l;
    for (int i = 0; i < kChampsParEnregistrement; ++i) {
        if (i) l += ',';
        l += e[i];
    }
    return l;
}

Resultat ajouterEnregistrement(const std::string& ligne)
{
    try {
        const auto actuel = fichiers::lire(kIndex);
        std::string ajout;
        // A last line without its line end (an index edited by hand) would
        // otherwise swallow the first field of the new record.
        if (actuel && !actuel->empty() && actuel->back() != '\n' && actuel->back() != '\r') ajout = "\r\n";
        ajout += cp1252::depuisUtf8(ligne);
        ajout += "\r\n";
        fichiers::ajouter(kIndex, ajout);
    } catch (const fichiers::ErreurFichier& e) {
        return Resultat::echec(e.chemin(), e.detail());
    }
    return {};
}

Resultat reecrireindex(const std::string& cle, const std::optional<std::string>& remplacement)
{
    try {
        // A data.tmp found here is what an interrupted rewrite left: data.txt
        // is still the index in force, so the leftover is discarded.
        if (fichiers::existe(kIndexTemporaire)) fichiers::supprimer(kIndexTemporaire);

        const auto octets = fichiers::lire(kIndex);
        if (!octets) return Resultat::echec(kIndex, "fichier introuvable ou illisible");

        std::string nouveau;
        nouveau.reserve(octets->size() + 256);
        const std::string remplacementBrut = remplacement ? cp1252::depuisUtf8(*remplacement) : std::string();
        LecteurItems lecteur(*octets);
        while (!lecteur.fin()) {
            Enregistrement e;
            int lus = 0;
            bool toutVide = true;
            while (lus < kChampsParEnregistrement && !lecteur.fin()) {
                const auto item = lecteur.suivantBrut();
                e[lus++] = cp1252::versUtf8(item.brut);
                if (!item.brut.empty() || item.entreGuillemets) toutVide = false;
            }
            if (lus < kChampsParEnregistrement) {
                // An incomplete last record is kept as it was read: the
                // rewrite must not be the step that loses it.
                if (!toutVide) {
                    std::string l;
                    for (int i = 0; i < lus; ++i) {
                        if (i) l += ',';
                        l += e[i];
                    }
                    nouveau += cp1252::depuisUtf8(l);
                    nouveau += "\r\n";
                }
                break;
            }
            if (cleEnregistrement(e) == cle) {
                if (remplacement) {
                    nouveau += remplacementBrut;
                    nouveau += "\r\n";
                }
                continue;
            }
            nouveau += cp1252::depuisUtf8(ligneReconstruite(e));
            nouveau += "\r\n";
        }
        fichiers::ecrire(kIndexTemporaire, nouveau);
        fichiers::remplacer(kIndexTemporaire, kIndex);
    } catch (const fichiers::ErreurFichier& e) {
        // data.txt is untouched; a data.tmp left here is discarded by the next rewrite.
        return Resultat::echec(e.chemin(), e.detail());
    }
    return {};
}

}  // namespace tarvex
