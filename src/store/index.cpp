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

namespace {

// Blank lines at the end of the index are not a record.
bool toutVide(const std::string_view* champs, const bool* cites, int nombre)
{
    for (int i = 0; i < nombre; ++i)
        if (!champs[i].empty() || cites[i]) return false;
    return true;
}

}  // namespace

Problemes parcourirIndex(std::string_view octets,
                         const std::function<bool(int, const EnregistrementBrut&)>& visiteur)
{
    Problemes problemes;
    LecteurItems lecteur(octets);
    EnregistrementBrut champs;
    bool cites[kChampsParEnregistrement];
    int numero = 0;
    while (!lecteur.fin()) {
        const int lus = static_cast<int>(lecteur.suivantsBruts(champs.data(), cites, kChampsParEnregistrement));
        if (lus < kChampsParEnregistrement) {
            if (!toutVide(champs.data(), cites, lus))
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
    // The records before it are skipped as so many items, without being
    // read. Anything unusual (no such record, a record cut short) is left
    // to the walk through every record, which reports it.
    if (numero >= 0) {
        LecteurItems lecteur(*octets);
        const std::size_t avant = static_cast<std::size_t>(numero) * kChampsParEnregistrement;
        EnregistrementBrut b;
        bool cites[kChampsParEnregistrement];
        if (lecteur.passer(avant) == avant && !lecteur.fin() &&
            lecteur.suivantsBruts(b.data(), cites, kChampsParEnregistrement) == kChampsParEnregistrement) {
            r.valeur = decoder(b);
            return r;
        }
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

std::string ligneEnregistrement(const Enregistrement& e)
{
    std::string l;
    for (int i = 0; i < kChampsParEnregistrement; ++i) {
        if (i) l += ',';
        ajouterItem(l, e[i]);
    }
    return l;
}

std::string ligneReconstruite(const Enregistrement& e)
{
    Enregistrement r = e;
    for (const int i : {CPhase, CMatiere}) r[static_cast<std::size_t>(i)] = sansBlancs(e[static_cast<std::size_t>(i)]);
    return ligneEnregistrement(r);
}

Resultat ajouterEnregistrement(const std::string& ligne)
{
    try {
        const auto actuel = fichiers::lire(kIndex);
        // An index that is there but cannot be read is not appended to blindly.
        if (!actuel && fichiers::existe(kIndex)) return Resultat::echec(kIndex, "fichier illisible");
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

namespace {

// Whether a record's key, built on its Windows-1252 bytes, is the target's
// (itself converted to those bytes): without making the key of each of a
// hundred thousand records.
bool memeCle(const EnregistrementBrut& b, std::string_view cible)
{
    const std::string_view piece = sansBlancs(b[CPiece]), phase = sansBlancs(b[CPhase]),
                           ensemble = sansBlancs(b[CEnsemble]), machine = sansBlancs(b[CMachine]);
    constexpr std::string_view kPhase = "_Phase ";
    if (piece.size() + kPhase.size() + phase.size() + 1 + ensemble.size() + 1 + machine.size() + 1 != cible.size())
        return false;
    std::size_t i = 0;
    for (const std::string_view morceau : {piece, kPhase, phase, std::string_view("_"), ensemble,
                                           std::string_view("_"), machine, std::string_view("\\")}) {
        if (cible.compare(i, morceau.size(), morceau) != 0) return false;
        i += morceau.size();
    }
    return true;
}

}  // namespace

namespace {

// Whether a record read from [debut, fin) of the text is written exactly as
// its rebuilt line would be: sixteen unquoted fields joined by commas and
// ended by CR LF. (Unquoted fields have no blank at their ends, so the phase
// and the material have nothing to lose.)
bool dejaReconstruit(std::string_view texte, std::size_t debut, std::size_t fin, const EnregistrementBrut& b,
                     const bool* cites)
{
    const char* p = texte.data() + debut;
    const char* const e = texte.data() + fin;
    for (int i = 0; i < kChampsParEnregistrement; ++i) {
        if (cites[i] || b[i].data() != p) return false;
        p += b[i].size();
        if (i + 1 < kChampsParEnregistrement) {
            if (p >= e || *p != ',') return false;
            ++p;
        }
    }
    return e - p == 2 && p[0] == '\r' && p[1] == '\n';
}

}  // namespace

std::string reconstruireIndex(std::string_view octets, const std::string& cle,
                              const std::optional<std::string>& remplacement)
{
    // Records are compared and copied as bytes: decoding a hundred thousand
    // records to UTF-8 and back would cost more than the whole rewrite.
    // Every record decodes to text that converts back to the same bytes, so a
    // key that does not survive the round trip cannot match any record.
    const std::string cibleBrute = cp1252::depuisUtf8(cle);
    const bool cibleValide = cp1252::versUtf8(cibleBrute) == cle;
    const std::string remplacementBrut = remplacement ? cp1252::depuisUtf8(*remplacement) : std::string();

    std::string nouveau;
    nouveau.reserve(octets.size() + remplacementBrut.size() + 64);
    // Records already in their rebuilt form are copied as they stand, a run
    // of them at a time: [copieDebut, copieFin) of the text awaits copying.
    std::size_t copieDebut = 0, copieFin = 0;
    auto copier = [&] {
        nouveau.append(octets.substr(copieDebut, copieFin - copieDebut));
        copieDebut = copieFin;
    };
    EnregistrementBrut b;
    bool cite[kChampsParEnregistrement];
    LecteurItems lecteur(octets);
    while (!lecteur.fin()) {
        const std::size_t debut = lecteur.position();
        const int lus = static_cast<int>(lecteur.suivantsBruts(b.data(), cite, kChampsParEnregistrement));
        const std::size_t fin = lecteur.position();
        if (lus < kChampsParEnregistrement) {
            copier();
            // An incomplete last record is kept as it was read: the rewrite
            // must not be the step that loses it. Blank lines are dropped.
            if (!toutVide(b.data(), cite, lus)) {
                for (int i = 0; i < lus; ++i) {
                    if (i) nouveau += ',';
                    ajouterItem(nouveau, b[i]);
                }
                nouveau += "\r\n";
            }
            break;
        }
        if (cibleValide && memeCle(b, cibleBrute)) {
            copier();
            copieDebut = copieFin = fin;
            if (remplacement) {
                nouveau += remplacementBrut;
                nouveau += "\r\n";
            }
            continue;
        }
        if (debut == copieFin && dejaReconstruit(octets, debut, fin, b, cite)) {
            copieFin = fin;
            continue;
        }
        copier();
        copieDebut = copieFin = fin;
        // An item read without quotes has no separator inside and no blank
        // at its ends: it is written back as it is, and only the quoted ones
        // need a look.
        for (int i = 0; i < kChampsParEnregistrement; ++i) {
            if (i) nouveau += ',';
            const std::string_view champ = (i == CPhase || i == CMatiere) ? sansBlancs(b[i]) : b[i];
            if (cite[i])
                ajouterItem(nouveau, champ);
            else
                nouveau.append(champ);
        }
        nouveau += "\r\n";
    }
    copier();
    return nouveau;
}

Resultat reecrireindex(const std::string& cle, const std::optional<std::string>& remplacement)
{
    try {
        // A data.tmp found here is what an interrupted rewrite left: data.txt
        // is still the index in force, so the leftover is discarded.
        if (fichiers::existe(kIndexTemporaire)) fichiers::supprimer(kIndexTemporaire);

        const auto octets = fichiers::lire(kIndex);
        if (!octets) return Resultat::echec(kIndex, "fichier introuvable ou illisible");

        fichiers::ecrireBrouillon(kIndexTemporaire, reconstruireIndex(*octets, cle, remplacement));
        fichiers::remplacer(kIndexTemporaire, kIndex);
    } catch (const fichiers::ErreurFichier& e) {
        // data.txt is untouched; a data.tmp left here is discarded by the next rewrite.
        return Resultat::echec(e.chemin(), e.detail());
    }
    return {};
}

}  // namespace tarvex
