#include "store/liste.h"

#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/lecteur.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tarvex {
namespace {

// Base letter and accent rank of the Latin-1 letters (U+00C0 to U+00FF);
// 0 for the two that are not letters.
struct Lettre {
    const char* base;
    char accent;
};

constexpr Lettre kLatin1[64] = {
    {"a", 2}, {"a", 1}, {"a", 3}, {"a", 5}, {"a", 4}, {"a", 6}, {"ae", 1}, {"c", 1},  // À Á Â Ã Ä Å Æ Ç
    {"e", 2}, {"e", 1}, {"e", 3}, {"e", 4}, {"i", 2}, {"i", 1}, {"i", 3}, {"i", 4},   // È É Ê Ë Ì Í Î Ï
    {"d", 1}, {"n", 5}, {"o", 2}, {"o", 1}, {"o", 3}, {"o", 5}, {"o", 4}, {nullptr, 0}, // Ð Ñ Ò Ó Ô Õ Ö ×
    {"o", 7}, {"u", 2}, {"u", 1}, {"u", 3}, {"u", 4}, {"y", 1}, {"th", 1}, {"ss", 1}, // Ø Ù Ú Û Ü Ý Þ ß
    {"a", 2}, {"a", 1}, {"a", 3}, {"a", 5}, {"a", 4}, {"a", 6}, {"ae", 1}, {"c", 1},  // à á â ã ä å æ ç
    {"e", 2}, {"e", 1}, {"e", 3}, {"e", 4}, {"i", 2}, {"i", 1}, {"i", 3}, {"i", 4},   // è é ê ë ì í î ï
    {"d", 1}, {"n", 5}, {"o", 2}, {"o", 1}, {"o", 3}, {"o", 5}, {"o", 4}, {nullptr, 0}, // ð ñ ò ó ô õ ö ÷
    {"o", 7}, {"u", 2}, {"u", 1}, {"u", 3}, {"u", 4}, {"y", 1}, {"th", 1}, {"y", 4},  // ø ù ú û ü ý þ ÿ
};

// What one Windows-1252 byte contributes to the two halves of a sort key.
struct Contribution {
    char primaire[2];
    char secondaire[2];
    unsigned char longueur;
};

struct TableTri {
    Contribution c[256];
    TableTri()
    {
        for (int o = 0; o < 256; ++o) {
            Contribution& k = c[o];
            const char* base = nullptr;
            char accent = 0;
            if (o >= 'A' && o <= 'Z') {
                k = {{static_cast<char>(o + 32), 0}, {1, 0}, 1};
                continue;
            }
            if (o > 0 && o < 0x80) {
                k = {{static_cast<char>(o), 0}, {1, 0}, 1};
                continue;
            }
            if (o >= 0xC0 && kLatin1[o - 0xC0].base) {
                base = kLatin1[o - 0xC0].base;
                accent = kLatin1[o - 0xC0].accent;
            } else {
                switch (o) {
                case 0x8A: case 0x9A: base = "s"; accent = 8; break;   // Š š
                case 0x8E: case 0x9E: base = "z"; accent = 8; break;   // Ž ž
                case 0x8C: case 0x9C: base = "oe"; accent = 1; break;  // Œ œ
                case 0x9F: base = "y"; accent = 4; break;              // Ÿ
                default: break;
                }
            }
            if (base) {
                k.longueur = 0;
                for (const char* b = base; *b; ++b) {
                    k.primaire[k.longueur] = *b;
                    k.secondaire[k.longueur] = static_cast<char>(1 + accent);
                    ++k.longueur;
                }
            } else {
                // Symbols sort after every letter. No byte of a primary key
                // is 0, which ends it in cleTri's layout.
                k = {{'\x7f', static_cast<char>(o ? o : 1)}, {1, 1}, 2};
            }
        }
    }
};

const TableTri& tableTri()
{
    static const TableTri t;
    return t;
}

void ajouterPrimaire(std::string_view cp, std::string& primaire)
{
    const auto& t = tableTri();
    for (char c : cp) {
        const Contribution& k = t.c[static_cast<unsigned char>(c)];
        primaire.append(k.primaire, k.longueur);
    }
}

void ajouterSecondaire(std::string_view cp, std::string& secondaire)
{
    const auto& t = tableTri();
    for (char c : cp) {
        const Contribution& k = t.c[static_cast<unsigned char>(c)];
        secondaire.append(k.secondaire, k.longueur);
    }
}

std::string cleTriCp1252(std::string_view cp)
{
    std::string cle;
    cle.reserve(2 * cp.size() + 1);
    ajouterPrimaire(cp, cle);
    // The accents only break ties between texts with the same letters.
    cle.push_back('\0');
    ajouterSecondaire(cp, cle);
    return cle;
}

}  // namespace

std::string texteEntree(std::string_view piece, std::string_view phase)
{
    std::string t(sansBlancs(piece));
    t += " Phase ";
    t += sansBlancs(phase);
    return t;
}

std::string nomComplet(const Enregistrement& e)
{
    std::string nom = texteEntree(e[CPiece], e[CPhase]);
    const std::string_view ensemble = sansBlancs(std::string_view(e[CEnsemble]));
    if (!ensemble.empty()) {
        nom += ' ';
        nom += ensemble;
    }
    return nom;
}

std::string cleTri(std::string_view utf8) { return cleTriCp1252(cp1252::depuisUtf8(utf8)); }

namespace {

std::uint64_t grandBoutiste(const char* p)
{
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::little) {
#if defined(__GNUC__)
        v = __builtin_bswap64(v);
#else
        std::uint64_t r = 0;
        for (int i = 0; i < 8; ++i) r = (r << 8) | ((v >> (8 * i)) & 0xFF);
        v = r;
#endif
    }
    return v;
}

// Sorting a hundred thousand entries by their key strings was most of the
// time of filling the list, and so was the memory they took. Each entry
// keeps only the first sixteen bytes of its primary key, as two integers,
// and where its texts lie in the index bytes; the whole keys are made again
// only for the entries whose heads are equal. The last tie-break, the record
// number, gives identical texts the order of the index.
struct Entree {
    std::uint64_t tete[2];
    std::uint32_t piece, longueurPiece, phase, longueurPhase;
    std::uint32_t numero;

    std::string_view textePiece(std::string_view octets) const { return octets.substr(piece, longueurPiece); }
    std::string_view textePhase(std::string_view octets) const { return octets.substr(phase, longueurPhase); }
    bool memeTete(const Entree& e) const { return tete[0] == e.tete[0] && tete[1] == e.tete[1]; }
};

// The primary key of `cp` from p on, as much as fits before `limite`.
char* ecrirePrimaire(const TableTri& table, std::string_view cp, char* p, char* limite)
{
    for (char c : cp) {
        if (p >= limite) break;
        const Contribution& k = table.c[static_cast<unsigned char>(c)];
        p[0] = k.primaire[0];
        p[1] = k.primaire[1];
        p += k.longueur;
    }
    return p;
}

// The entries of the index, in record order, each with its head.
std::vector<Entree> entreesBrutes(std::string_view octetsIndex, Problemes& problemes)
{
    const auto& table = tableTri();
    // An index line is some eighty bytes: this is enough for the entries
    // not to be copied as they grow.
    std::vector<Entree> entrees;
    entrees.reserve(octetsIndex.size() / 32 + 16);
    problemes = parcourirIndex(octetsIndex, [&](int n, const EnregistrementBrut& b) {
        const std::string_view pc = sansBlancs(b[CPiece]), ph = sansBlancs(b[CPhase]);
        // Zero after the key: no primary byte is 0, so a shorter key has
        // the smaller head. Two bytes of room for a last two-letter byte.
        char tete[16 + 2] = {};
        char* const limite = tete + 16;
        ecrirePrimaire(table, ph, ecrirePrimaire(table, " Phase ", ecrirePrimaire(table, pc, tete, limite), limite),
                       limite);
        entrees.push_back({{grandBoutiste(tete), grandBoutiste(tete + 8)},
                           static_cast<std::uint32_t>(pc.data() - octetsIndex.data()),
                           static_cast<std::uint32_t>(pc.size()),
                           static_cast<std::uint32_t>(ph.data() - octetsIndex.data()),
                           static_cast<std::uint32_t>(ph.size()),
                           static_cast<std::uint32_t>(n)});
        return true;
    });
    return entrees;
}

void trier(std::vector<Entree>& entrees, std::string_view octetsIndex)
{
    std::sort(entrees.begin(), entrees.end(), [](const Entree& a, const Entree& b) {
        if (a.tete[0] != b.tete[0]) return a.tete[0] < b.tete[0];
        if (a.tete[1] != b.tete[1]) return a.tete[1] < b.tete[1];
        return a.numero < b.numero;
    });
    // Runs of equal heads (long names sharing their first letters, or the
    // same text twice) are sorted again on their whole keys, each made once.
    std::vector<std::pair<std::string, Entree>> serie;
    for (std::size_t i = 0; i < entrees.size();) {
        std::size_t j = i + 1;
        while (j < entrees.size() && entrees[j].memeTete(entrees[i])) ++j;
        if (j - i > 1) {
            serie.clear();
            for (std::size_t k = i; k < j; ++k) {
                std::string texte(entrees[k].textePiece(octetsIndex));
                texte += " Phase ";
                texte += entrees[k].textePhase(octetsIndex);
                serie.emplace_back(cleTriCp1252(texte), entrees[k]);
            }
            // Stable: within the run the entries are in record order.
            std::stable_sort(serie.begin(), serie.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            for (std::size_t k = i; k < j; ++k) entrees[k] = serie[k - i].second;
        }
        i = j;
    }
}

}  // namespace

Lu<std::vector<EntreeListe>> entreesListe(std::string_view octetsIndex)
{
    Lu<std::vector<EntreeListe>> r;
    std::vector<Entree> entrees = entreesBrutes(octetsIndex, r.problemes);
    trier(entrees, octetsIndex);

    r.valeur.reserve(entrees.size());
    for (std::size_t i = 0; i < entrees.size(); ++i) {
        // In list order the texts are scattered over the index bytes: asking
        // for those of a later entry now hides the wait for memory.
#if defined(__GNUC__)
        if (i + 16 < entrees.size()) {
            __builtin_prefetch(octetsIndex.data() + entrees[i + 16].piece);
            __builtin_prefetch(octetsIndex.data() + entrees[i + 16].phase);
        }
#endif
        const Entree& e = entrees[i];
        EntreeListe& sortie = r.valeur.emplace_back();
        sortie.texte.reserve(e.longueurPiece + e.longueurPhase + 16);
        cp1252::ajouterUtf8(sortie.texte, e.textePiece(octetsIndex));
        sortie.texte += " Phase ";
        cp1252::ajouterUtf8(sortie.texte, e.textePhase(octetsIndex));
        sortie.numero = static_cast<int>(e.numero);
    }
    return r;
}

Lu<std::vector<EntreeListe>> remplirliste()
{
    const auto octets = fichiers::lire(kIndex);
    if (!octets) {
        Lu<std::vector<EntreeListe>> r;
        r.signaler(kIndex, "fichier introuvable ou illisible");
        return r;
    }
    return entreesListe(*octets);
}

}  // namespace tarvex

namespace tarvex {

namespace {

// One or two letters for each Windows-1252 byte.
struct TablePliage {
    char c[256][2];
    unsigned char n[256];
    TablePliage()
    {
        for (int o = 0; o < 256; ++o) {
            const char* base = nullptr;
            if (o >= 0xC0 && kLatin1[o - 0xC0].base) base = kLatin1[o - 0xC0].base;
            switch (o) {
            case 0x8A: case 0x9A: base = "s"; break;   // Š š
            case 0x8E: case 0x9E: base = "z"; break;   // Ž ž
            case 0x8C: case 0x9C: base = "oe"; break;  // Œ œ
            case 0x9F: base = "y"; break;              // Ÿ
            default: break;
            }
            if (base) {
                c[o][0] = base[0];
                c[o][1] = base[1];
                n[o] = base[1] ? 2 : 1;
            } else {
                c[o][0] = static_cast<char>(o >= 'A' && o <= 'Z' ? o + 32 : o);
                c[o][1] = 0;
                n[o] = 1;
            }
        }
    }
};

const TablePliage& tablePliage()
{
    static const TablePliage t;
    return t;
}

void plier(std::string_view cp, std::string& sortie)
{
    const auto& t = tablePliage();
    const std::size_t debut = sortie.size();
    sortie.resize(debut + 2 * cp.size());
    char* p = sortie.data() + debut;
    for (char c : cp) {
        const auto o = static_cast<unsigned char>(c);
        p[0] = t.c[o][0];
        p[1] = t.c[o][1];
        p += t.n[o];
    }
    sortie.resize(static_cast<std::size_t>(p - sortie.data()));
}

// Between two fields of an entry: no typed word holds it, so no word is
// found across two fields.
constexpr char kSeparateur = '\x01';

}  // namespace

std::string plierRecherche(std::string_view cp1252)
{
    std::string r;
    r.reserve(cp1252.size());
    plier(cp1252, r);
    return r;
}

std::vector<std::string> motsRecherche(std::string_view saisie)
{
    std::vector<std::string> mots;
    // A letter Windows-1252 lacks is in no entry: turned into the "?" the
    // conversion puts in its place, it would find the entries holding one.
    const std::string octets = cp1252::depuisUtf8(saisie);
    if (cp1252::versUtf8(octets) != saisie) return mots;
    const std::string plie = plierRecherche(octets);
    std::string mot;
    for (char c : plie) {
        if (static_cast<unsigned char>(c) <= ' ') {
            if (!mot.empty()) mots.push_back(std::move(mot));
            mot.clear();
        } else {
            mot += c;
        }
    }
    if (!mot.empty()) mots.push_back(std::move(mot));
    return mots;
}

RechercheFiches::RechercheFiches(std::string_view octetsIndex, const std::vector<int>& ordre,
                                 const std::vector<std::string>& statuts)
    : index_(octetsIndex)
{
    std::vector<Champs> parRecord;
    parcourirIndex(index_, [&](int, const EnregistrementBrut& b) {
        Champs c{};
        const Champ noms[5] = {CPiece, CPhase, CEnsemble, CMatiere, CMachine};
        for (int k = 0; k < 5; ++k) {
            const std::string_view v = sansBlancs(b[noms[k]]);
            c.debut[k] = static_cast<std::uint32_t>(v.data() - index_.data());
            c.longueur[k] = static_cast<std::uint32_t>(v.size());
        }
        parRecord.push_back(c);
        return true;
    });

    plie_.reserve(index_.size());
    debuts_.reserve(ordre.size() + 1);
    for (int numero : ordre) {
        if (numero < 0 || static_cast<std::size_t>(numero) >= parRecord.size()) continue;
        const Champs& c = parRecord[static_cast<std::size_t>(numero)];
        debuts_.push_back(static_cast<std::uint32_t>(plie_.size()));
        // The entry's text as the list shows it, so that "phase 20" is found too.
        plier(std::string_view(index_).substr(c.debut[0], c.longueur[0]), plie_);
        plie_ += " phase ";
        plier(std::string_view(index_).substr(c.debut[1], c.longueur[1]), plie_);
        for (int k = 2; k < 5; ++k) {
            plie_ += kSeparateur;
            plier(std::string_view(index_).substr(c.debut[k], c.longueur[k]), plie_);
        }
        if (static_cast<std::size_t>(numero) < statuts.size() && !statuts[static_cast<std::size_t>(numero)].empty()) {
            plie_ += kSeparateur;
            plier(cp1252::depuisUtf8(statuts[static_cast<std::size_t>(numero)]), plie_);
        }
        numeros_.push_back(numero);
        champs_.push_back(c);
    }
    debuts_.push_back(static_cast<std::uint32_t>(plie_.size()));
}

RechercheFiches::Proposition RechercheFiches::proposition(std::size_t i) const
{
    const Champs& c = champs_[i];
    auto champ = [&](int k) { return std::string_view(index_).substr(c.debut[k], c.longueur[k]); };
    Proposition p;
    p.numero = numeros_[i];
    p.texte = cp1252::versUtf8(texteEntree(champ(0), champ(1)));
    std::string suite;
    for (int k = 2; k < 5; ++k) {
        if (champ(k).empty()) continue;
        if (!suite.empty()) suite += ", ";
        suite += cp1252::versUtf8(champ(k));
    }
    if (!suite.empty()) p.texte += " (" + suite + ")";
    return p;
}

RechercheFiches::Resultat RechercheFiches::chercher(std::string_view saisie, std::size_t maximum) const
{
    Resultat r;
    std::vector<std::string> mots = motsRecherche(saisie);
    if (mots.empty()) return r;
    // The longest word first: it rules most entries out at once.
    std::sort(mots.begin(), mots.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
    const std::string_view tout(plie_);
    for (std::size_t i = 0; i < numeros_.size(); ++i) {
        const std::string_view entree = tout.substr(debuts_[i], debuts_[i + 1] - debuts_[i]);
        bool toutes = true;
        for (const auto& m : mots) {
            if (entree.find(m) == std::string_view::npos) {
                toutes = false;
                break;
            }
        }
        if (!toutes) continue;
        if (r.propositions.size() < maximum) r.propositions.push_back(proposition(i));
        ++r.trouvees;
    }
    return r;
}

}  // namespace tarvex
