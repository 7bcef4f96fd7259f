#include "store/lecteur.h"

#include "store/cp1252.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tarvex {
namespace {

inline bool blanc(char c) { return c == ' ' || c == '\t'; }

// Collects the characters of the number a text starts with, ignoring the
// blanks lirenombre ignores. Returns the number of characters of the text
// consumed up to the end of the number (blanks inside included).
std::size_t extraireNombre(std::string_view t, std::string& propre)
{
    enum Etat { Signe, Mantisse, Fraction, SigneExposant, ChiffresExposant };
    Etat etat = Signe;
    bool chiffres = false;
    std::size_t consomme = 0;
    std::size_t longueurSansExposant = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == ' ' || c == '\t' || c == '\n') continue;
        const bool chiffre = c >= '0' && c <= '9';
        const bool signe = c == '+' || c == '-';
        const bool marqueExposant = c == 'e' || c == 'E' || c == 'd' || c == 'D';
        Etat suivant = etat;
        if (chiffre) {
            // A digit stays in its part: mantissa, fraction or exponent.
            suivant = etat == Signe ? Mantisse : etat == SigneExposant ? ChiffresExposant : etat;
            if (etat != SigneExposant && etat != ChiffresExposant) chiffres = true;
        } else if (signe && (etat == Signe || (etat == SigneExposant && propre.back() == 'e'))) {
            suivant = etat == Signe ? Mantisse : SigneExposant;
        } else if (c == '.' && (etat == Signe || etat == Mantisse)) {
            suivant = Fraction;
        } else if (marqueExposant && chiffres && (etat == Mantisse || etat == Fraction)) {
            longueurSansExposant = propre.size();
            suivant = SigneExposant;
        } else {
            break;
        }
        propre.push_back(marqueExposant ? 'e' : c);
        etat = suivant;
        consomme = i + 1;
    }
    if (!chiffres) {
        propre.clear();
        return 0;
    }
    // An exponent mark without digits after it is not part of the number.
    if (etat == SigneExposant) propre.resize(longueurSansExposant);
    return consomme;
}

double convertir(const std::string& propre)
{
    if (propre.empty()) return 0.0;
    const char* debut = propre.data();
    if (*debut == '+') ++debut;
    double v = 0.0;
    const auto [fin, err] = std::from_chars(debut, propre.data() + propre.size(), v);
    (void)fin;
    if (err == std::errc::result_out_of_range) {
        // Beyond the range of a double: the exponent decides between a
        // vanishing and an overwhelming value.
        const auto e = propre.find('e');
        const bool expNegatif = e != std::string::npos && e + 1 < propre.size() && propre[e + 1] == '-';
        if (expNegatif) return 0.0;
        return propre[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    if (err != std::errc()) return 0.0;
    return v;
}

struct Masques {
    std::uint64_t separateur = 0, cr = 0, special = 0, guillemet = 0;  // special: blank or quote
};

Masques masquesSimples(const char* p, std::size_t taille)
{
    Masques m;
    for (std::size_t i = 0; i < taille; ++i) {
        const std::uint64_t b = std::uint64_t(1) << i;
        switch (p[i]) {
        case '\r': m.cr |= b; m.separateur |= b; break;
        case '\n':
        case ',': m.separateur |= b; break;
        case ' ':
        case '\t': m.special |= b; break;
        case '"': m.special |= b; m.guillemet |= b; break;
        default: break;
        }
    }
    return m;
}

#if defined(__SSE2__)
Masques masquesSse2(const char* p)
{
    Masques m;
    const __m128i virgule = _mm_set1_epi8(','), cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    const __m128i espace = _mm_set1_epi8(' '), tab = _mm_set1_epi8('\t'), guillemet = _mm_set1_epi8('"');
    auto bits = [](__m128i egal, int k) {
        return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(egal)) & 0xFFFFu) << (16 * k);
    };
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        const __m128i estCr = _mm_cmpeq_epi8(v, cr), estGuillemet = _mm_cmpeq_epi8(v, guillemet);
        m.cr |= bits(estCr, k);
        m.guillemet |= bits(estGuillemet, k);
        m.separateur |= bits(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, virgule), _mm_cmpeq_epi8(v, lf)), estCr), k);
        m.special |= bits(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, espace), _mm_cmpeq_epi8(v, tab)), estGuillemet), k);
    }
    return m;
}
#endif

// Bit i of each mask set when byte i of the `taille` (at most 64) bytes at p
// is such a character.
Masques masques(const char* p, std::size_t taille)
{
    if (taille == 64) {
#if defined(__SSE2__)
        return masquesSse2(p);
#endif
    }
    return masquesSimples(p, taille);
}

}  // namespace

void LecteurItems::chargerBloc(std::size_t bloc)
{
    if (bloc == blocDebut_) return;
    const char* const t = texte_.data();
    const std::size_t n = texte_.size();
    const Masques m = masques(t + bloc, std::min<std::size_t>(64, n - bloc));
    // CRs are few (one a line): the LF after each is looked at directly.
    std::uint64_t crLf = 0, lfDeCrLf = bloc > 0 && bloc < n && t[bloc - 1] == '\r' && t[bloc] == '\n' ? 1 : 0;
    for (std::uint64_t c = m.cr; c; c &= c - 1) {
        const int i = std::countr_zero(c);
        if (bloc + static_cast<std::size_t>(i) + 1 < n && t[bloc + static_cast<std::size_t>(i) + 1] == '\n') {
            crLf |= std::uint64_t(1) << i;
            lfDeCrLf |= std::uint64_t(2) << i;  // nothing when the LF is in the next stretch
        }
    }
    const std::uint64_t sep = m.separateur & ~lfDeCrLf;
    // Bytes beyond the stretch count as ordinary here: the items they start
    // or end are read the careful way anyway. A quote before a separator is
    // taken for a blank: one look more, for a rare item.
    const std::uint64_t debutDouteux = (~crLf & (m.special >> 1)) | (crLf & (m.special >> 2));
    blocDebut_ = bloc;
    blocMasque_ = sep;
    blocCrLf_ = crLf;
    blocDouteux_ = sep & (debutDouteux | (m.special << 1));
    blocGuillemets_ = m.guillemet;
}

std::size_t LecteurItems::prochainSeparateurLent(std::size_t depuis)
{
    const std::size_t n = texte_.size();
    while (depuis < n) {
        const std::size_t bloc = depuis & ~static_cast<std::size_t>(63);
        chargerBloc(bloc);
        const std::uint64_t m = blocMasque_ & (~std::uint64_t(0) << (depuis - bloc));
        if (m) return bloc + static_cast<std::size_t>(std::countr_zero(m));
        depuis = bloc + 64;
    }
    return n;
}

void LecteurItems::passerSeparateur()
{
    const std::size_t n = texte_.size();
    pos_ = prochainSeparateur(pos_);
    if (pos_ >= n) return;
    const char c = texte_[pos_++];
    if (c == '\r' && pos_ < n && texte_[pos_] == '\n') ++pos_;
}

void LecteurItems::suivantBrutLent()
{
    const std::size_t n = texte_.size();
    lentDebut_ = lentLongueur_ = 0;
    lentCite_ = false;
    if (pos_ >= n) {
        depasse_ = true;
        return;
    }
    const char* const t = texte_.data();
    while (pos_ < n && blanc(t[pos_])) ++pos_;
    if (pos_ < n && t[pos_] == '"') {
        const std::size_t debut = pos_ + 1;
        const void* q = debut < n ? std::memchr(t + debut, '"', n - debut) : nullptr;
        const std::size_t fin = q ? static_cast<std::size_t>(static_cast<const char*>(q) - t) : n;
        pos_ = fin < n ? fin + 1 : n;
        passerSeparateur();
        lentDebut_ = std::min(debut, n);
        lentLongueur_ = fin - lentDebut_;
        lentCite_ = true;
        return;
    }
    const std::size_t debut = pos_;
    const std::size_t fin = prochainSeparateur(pos_);
    std::size_t dernier = fin;
    while (dernier > debut && blanc(t[dernier - 1])) --dernier;
    pos_ = fin;
    if (pos_ < n) {
        const char c = t[pos_++];
        if (c == '\r' && pos_ < n && t[pos_] == '\n') ++pos_;
    }
    lentDebut_ = debut;
    lentLongueur_ = dernier - debut;
}

std::size_t LecteurItems::suivantsBruts(std::string_view* items, bool* entreGuillemets, std::size_t nombre)
{
    const char* const t = texte_.data();
    const std::size_t n = texte_.size();
    auto special = [](char c) { return c == ' ' || c == '\t' || c == '"'; };
    // The stretch's bits are kept in locals: the stores into `items` could
    // otherwise be taken for stores into the members and force reloads.
    std::size_t bloc = 0;
    std::uint64_t crLf = 0, douteux = 0;
    auto charger = [&](std::size_t b) {
        bloc = b;
        if (b != blocDebut_) chargerBloc(b);
        crLf = blocCrLf_;
        douteux = blocDouteux_;
        return blocMasque_;
    };
    std::size_t pos = pos_;
    // `m`: the separators of the stretch at `bloc` not yet used.
    std::uint64_t m = charger(pos & ~static_cast<std::size_t>(63)) & (~std::uint64_t(0) << (pos & 63));
    std::size_t k = 0;
    while (k < nombre && pos < n) {
        if (special(t[pos])) {
            pos_ = pos;
            suivantBrutLent();
            items[k] = std::string_view(t + lentDebut_, lentLongueur_);
            entreGuillemets[k++] = lentCite_;
            pos = pos_;
            m = charger(pos & ~static_cast<std::size_t>(63)) & (~std::uint64_t(0) << (pos & 63));
            continue;
        }
        while (!m && bloc + 64 < n) {
            // The item goes on past this stretch. charger() moves `bloc`, so
            // it runs on its own statement: the offset of `pos` must be taken
            // from the new stretch, and an item that ended on the old one's
            // last byte leaves `pos` 64 or 65 bytes past the old start.
            const std::uint64_t masque = charger(bloc + 64);
            m = pos > bloc ? masque & (~std::uint64_t(0) << (pos - bloc)) : masque;
        }
        if (!m) {
            std::size_t dernier = n;
            while (dernier > pos && blanc(t[dernier - 1])) --dernier;
            items[k] = std::string_view(t + pos, dernier - pos);
            entreGuillemets[k++] = false;
            pos = n;
            break;
        }
        // Items that end in this stretch, one per separator bit, as long as
        // none starts or ends with a blank or a quote.
        std::uint64_t bit;
        do {
            bit = m & (~m + 1);
            m ^= bit;
            const std::size_t fin = bloc + static_cast<std::size_t>(std::countr_zero(bit));
            std::size_t dernier = fin;
            // An item begun in an earlier stretch has its last byte out of
            // reach of this stretch's bits.
            if ((douteux & bit) || pos < bloc)
                while (dernier > pos && blanc(t[dernier - 1])) --dernier;
            items[k] = std::string_view(t + pos, dernier - pos);
            entreGuillemets[k++] = false;
            pos = fin + ((crLf & bit) ? 2 : 1);
        } while (m && k < nombre && !(douteux & bit));
    }
    pos_ = pos;
    return k;
}

std::size_t LecteurItems::passer(std::size_t nombre)
{
    const std::size_t n = texte_.size();
    std::size_t fait = 0;
    while (fait < nombre && pos_ < n) {
        const std::size_t bloc = pos_ & ~static_cast<std::size_t>(63);
        chargerBloc(bloc);
        const std::uint64_t reste = ~std::uint64_t(0) << (pos_ - bloc);
        std::uint64_t m = blocMasque_ & reste;
        // A quote may open an item that holds separators, and an item that
        // goes on past the stretch has no separator here: one at a time.
        if ((blocGuillemets_ & reste) || !m) {
            suivantBrut();
            ++fait;
            continue;
        }
        const auto dansLeBloc = static_cast<std::size_t>(std::popcount(m));
        if (dansLeBloc > nombre - fait) {
            for (std::size_t i = nombre - fait; i > 1; --i) m &= m - 1;
            m &= ~m + 1;  // the separator that ends the last item to skip
            fait = nombre;
        } else {
            m = std::uint64_t(1) << (63 - std::countl_zero(m));
            fait += dansLeBloc;
        }
        pos_ = bloc + static_cast<std::size_t>(std::countr_zero(m)) + ((blocCrLf_ & m) ? 2 : 1);
    }
    return fait;
}

std::string LecteurItems::suivant() { return cp1252::versUtf8(suivantBrut().brut); }

double lirenombre(std::string_view texte)
{
    std::string propre;
    extraireNombre(texte, propre);
    return convertir(propre);
}

bool estNombre(std::string_view texte)
{
    const std::string_view t = sansBlancs(texte);
    if (t.empty()) return false;
    std::string propre;
    const std::size_t n = extraireNombre(t, propre);
    if (propre.empty() || n != t.size()) return false;
    // Blanks inside do not make a text a number ("1 2" is a text).
    for (char c : t)
        if (blanc(c) || c == '\n') return false;
    const char dernier = t.back();
    return (dernier >= '0' && dernier <= '9') || dernier == '.';
}

void ajouterItem(std::string& sortie, std::string_view brut)
{
    bool aProteger = !brut.empty() && (blanc(brut.front()) || blanc(brut.back()));
    for (char c : brut) {
        if (c == '"') {
            aProteger = false;
            break;
        }
        if (c == ',' || c == '\r' || c == '\n') aProteger = true;
    }
    if (aProteger) sortie.push_back('"');
    sortie.append(brut);
    if (aProteger) sortie.push_back('"');
}

std::string protegerItem(std::string_view brut)
{
    std::string r;
    ajouterItem(r, brut);
    return r;
}

std::string_view sansBlancs(std::string_view texte)
{
    std::size_t a = 0, b = texte.size();
    while (a < b && blanc(texte[a])) ++a;
    while (b > a && blanc(texte[b - 1])) --b;
    return texte.substr(a, b - a);
}

std::string sansBlancs(const std::string& texte) { return std::string(sansBlancs(std::string_view(texte))); }

}  // namespace tarvex
