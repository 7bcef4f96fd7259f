#include "store/lecteur.h"

#include "store/cp1252.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tarvex {
namespace {

inline bool blanc(char c) { return c == ' ' || c == '\t'; }
inline bool separateur(char c) { return c == ',' || c == '\r' || c == '\n'; }

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

}  // namespace

// An index of a large workshop is a few thousand records: read plainly,
// a byte at a time, it opens in a few milliseconds.
void LecteurItems::passerSeparateur()
{
    const std::size_t n = texte_.size();
    if (pos_ >= n) return;
    pos_ += (texte_[pos_] == '\r' && pos_ + 1 < n && texte_[pos_ + 1] == '\n') ? 2 : 1;
}

LecteurItems::Item LecteurItems::suivantBrut()
{
    const std::string_view t = texte_;
    const std::size_t n = t.size();
    if (pos_ >= n) {
        depasse_ = true;
        return {};
    }
    while (pos_ < n && blanc(t[pos_])) ++pos_;
    if (pos_ < n && t[pos_] == '"') {
        // Whatever follows the closing quote up to the separator is skipped.
        const std::size_t debut = pos_ + 1;
        std::size_t fin = debut;
        while (fin < n && t[fin] != '"') ++fin;
        pos_ = fin < n ? fin + 1 : n;
        while (pos_ < n && !separateur(t[pos_])) ++pos_;
        passerSeparateur();
        return {t.substr(std::min(debut, n), fin - std::min(debut, n)), true};
    }
    const std::size_t debut = pos_;
    while (pos_ < n && !separateur(t[pos_])) ++pos_;
    std::size_t dernier = pos_;
    while (dernier > debut && blanc(t[dernier - 1])) --dernier;
    passerSeparateur();
    return {t.substr(debut, dernier - debut), false};
}

std::size_t LecteurItems::suivantsBruts(std::string_view* items, bool* entreGuillemets, std::size_t nombre)
{
    std::size_t k = 0;
    for (; k < nombre && !fin(); ++k) {
        const Item item = suivantBrut();
        items[k] = item.brut;
        entreGuillemets[k] = item.entreGuillemets;
    }
    return k;
}

std::size_t LecteurItems::passer(std::size_t nombre)
{
    std::size_t fait = 0;
    for (; fait < nombre && !fin(); ++fait) suivantBrut();
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
