#include "store/reglageport.h"

#include <array>
#include <string>
#include <vector>

namespace tarvex::reglageport {
namespace {

// The spaces besides ASCII's that Unicode counts as separators, in UTF-8:
// a field typed in a combo box may come with any of them around it.
constexpr std::array<std::string_view, 18> kEspacesUnicode = {
    "\xC2\x85",     "\xC2\xA0",     "\xE1\x9A\x80", "\xE2\x80\x80", "\xE2\x80\x81", "\xE2\x80\x82",
    "\xE2\x80\x83", "\xE2\x80\x84", "\xE2\x80\x85", "\xE2\x80\x86", "\xE2\x80\x87", "\xE2\x80\x88",
    "\xE2\x80\x89", "\xE2\x80\x8A", "\xE2\x80\xA8", "\xE2\x80\xA9", "\xE2\x80\xAF", "\xE2\x81\x9F"};
constexpr std::string_view kEspaceIdeographique = "\xE3\x80\x80";

// The length of the space `texte` starts with (from its end when `fin`), 0 if none.
std::size_t espace(std::string_view texte, bool fin)
{
    if (texte.empty()) return 0;
    const char c = fin ? texte.back() : texte.front();
    if (c == ' ' || (c >= '\t' && c <= '\r')) return 1;
    auto tient = [&](std::string_view e) { return fin ? texte.ends_with(e) : texte.starts_with(e); };
    for (std::string_view e : kEspacesUnicode)
        if (tient(e)) return e.size();
    return tient(kEspaceIdeographique) ? kEspaceIdeographique.size() : 0;
}

std::string_view sansEspaces(std::string_view texte)
{
    while (const std::size_t n = espace(texte, false)) texte.remove_prefix(n);
    while (const std::size_t n = espace(texte, true)) texte.remove_suffix(n);
    return texte;
}

bool chiffres(std::string_view texte)
{
    if (texte.empty()) return false;
    for (char c : texte)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

std::optional<Reglage> analyser(std::string_view parametres)
{
    std::vector<std::string_view> champs;
    for (std::size_t debut = 0;;) {
        const std::size_t virgule = parametres.find(',', debut);
        champs.push_back(sansEspaces(parametres.substr(debut, virgule - debut)));
        if (virgule == std::string_view::npos) break;
        debut = virgule + 1;
    }
    if (champs.size() != 4) return std::nullopt;
    Reglage r;

    const std::string_view vitesse = champs[0];
    if (!chiffres(vitesse) || vitesse.size() > 7) return std::nullopt;
    r.vitesse = std::stoi(std::string(vitesse));
    if (r.vitesse < 1) return std::nullopt;

    const std::string_view parite = champs[1];
    if (parite.size() != 1) return std::nullopt;
    switch (parite[0]) {
    case 'n': case 'N': r.parite = Parite::Aucune; break;
    case 'e': case 'E': r.parite = Parite::Paire; break;
    case 'o': case 'O': r.parite = Parite::Impaire; break;
    case 'm': case 'M': r.parite = Parite::Marque; break;
    case 's': case 'S': r.parite = Parite::Espace; break;
    default: return std::nullopt;
    }

    const std::string_view bits = champs[2];
    if (bits.size() != 1 || bits[0] < '5' || bits[0] > '8') return std::nullopt;
    r.bits = bits[0] - '0';

    // A UART knows 1.5 stop bits only with 5 data bits, and 2 only with 6 to
    // 8; the other pairs are refused as the device itself would.
    const std::string_view arret = champs[3];
    if (arret == "1") {
        r.arret = Arret::Un;
    } else if (arret == "1.5") {
        if (r.bits != 5) return std::nullopt;
        r.arret = Arret::UnEtDemi;
    } else if (arret == "2") {
        if (r.bits == 5) return std::nullopt;
        r.arret = Arret::Deux;
    } else {
        return std::nullopt;
    }
    return r;
}

}  // namespace tarvex::reglageport
