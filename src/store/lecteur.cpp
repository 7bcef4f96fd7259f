#include "store/lecteur.h"

#include "store/cp1252.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace tarvex {
namespace {

inline bool blanc(char c) { return c == ' ' || c == '\t'; }

// Collects the characters of the number a text starts with, ignoring the
// blanks lirenombre ignores. Returns the number of characters of the text
// consumed up to the end of the number (blanks inside included).
std::size_t extraireNombre(std::string_view t, std::string& propre)
{
    enum Etat { Signe, Mantisse, Fraction, Exposant, SigneExposant, ChiffresExposant };
    Etat etat = Signe;
    bool chiffres = false;
    std::size_t consomme = 0;
    std::size_t longueurSansExposant = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == ' ' || c == '\t' || c == '\n') continue;
        const bool chiffre = c >= '0' && c <= '9';
        bool pris = false;
        switch (etat) {
        case Signe:
            if (c == '+' || c == '-') {
                propre.push_back(c);
                etat = Mantisse;
                pris = true;
                break;
            }
            [[fallthrough]];
        case Mantisse:
            if (chiffre) {
                propre.push_back(c);
                chiffres = true;
                etat = Mantisse;
                pris = true;
            } else if (c == '.') {
                propre.push_back(c);
                etat = Fraction;
                pris = true;
            } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && chiffres) {
                longueurSansExposant = propre.size();
                propre.push_back('e');
                etat = SigneExposant;
                pris = true;
            }
            break;
        case Fraction:
            if (chiffre) {
                propre.push_back(c);
                chiffres = true;
                pris = true;
            } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && chiffres) {
                longueurSansExposant = propre.size();
                propre.push_back('e');
                etat = SigneExposant;
                pris = true;
            }
            break;
        case SigneExposant:
            if (c == '+' || c == '-') {
                propre.push_back(c);
                etat = Exposant;
                pris = true;
                break;
            }
            [[fallthrough]];
        case Exposant:
        case ChiffresExposant:
            if (chiffre) {
                propre.push_back(c);
                etat = ChiffresExposant;
                pris = true;
            }
            break;
        }
        if (!pris) break;
        consomme = i + 1;
    }
    if (!chiffres) {
        propre.clear();
        return 0;
    }
    // An exponent mark without digits after it is not part of the number.
    if (etat == SigneExposant || etat == Exposant) propre.resize(longueurSansExposant);
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

void LecteurItems::passerSeparateur()
{
    const std::size_t n = texte_.size();
    while (pos_ < n) {
        const char c = texte_[pos_];
        if (c == ',') {
            ++pos_;
            return;
        }
        if (c == '\n') {
            ++pos_;
            return;
        }
        if (c == '\r') {
            ++pos_;
            if (pos_ < n && texte_[pos_] == '\n') ++pos_;
            return;
        }
        ++pos_;
    }
}

LecteurItems::Item LecteurItems::suivantBrut()
{
    const std::size_t n = texte_.size();
    if (pos_ >= n) {
        depasse_ = true;
        return {};
    }
    while (pos_ < n && blanc(texte_[pos_])) ++pos_;
    if (pos_ < n && texte_[pos_] == '"') {
        const std::size_t debut = pos_ + 1;
        const void* q = debut < n ? std::memchr(texte_.data() + debut, '"', n - debut) : nullptr;
        const std::size_t fin = q ? static_cast<std::size_t>(static_cast<const char*>(q) - texte_.data()) : n;
        pos_ = fin < n ? fin + 1 : n;
        passerSeparateur();
        return {texte_.substr(debut, fin - debut), true};
    }
    const std::size_t debut = pos_;
    const char* p = texte_.data() + pos_;
    const char* const e = texte_.data() + n;
    while (p < e && *p != ',' && *p != '\r' && *p != '\n') ++p;
    std::size_t fin = static_cast<std::size_t>(p - texte_.data());
    pos_ = fin;
    std::size_t dernier = fin;
    while (dernier > debut && blanc(texte_[dernier - 1])) --dernier;
    if (pos_ < n) {
        const char c = texte_[pos_];
        ++pos_;
        if (c == '\r' && pos_ < n && texte_[pos_] == '\n') ++pos_;
    }
    return {texte_.substr(debut, dernier - debut), false};
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

std::string_view sansBlancs(std::string_view texte)
{
    std::size_t a = 0, b = texte.size();
    while (a < b && blanc(texte[a])) ++a;
    while (b > a && blanc(texte[b - 1])) --b;
    return texte.substr(a, b - a);
}

std::string sansBlancs(const std::string& texte) { return std::string(sansBlancs(std::string_view(texte))); }

}  // namespace tarvex
