#include "store/textechoisi.h"

#include "store/cp1252.h"
#include "store/fichiers.h"

#include <cstdio>

namespace tarvex::textechoisi {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The length of the well-formed UTF-8 character at `i`, its code point left
// in `cp`; 0 when the bytes
// there are not one (a stray continuation byte, a sequence cut short, an
// overlong form, a surrogate, beyond U+10FFFF).
std::size_t caractere(std::string_view s, std::size_t i, char32_t& cp)
{
    const auto c0 = static_cast<unsigned char>(s[i]);
    cp = c0;
    if (c0 < 0x80) return 1;
    std::size_t n = 0;
    if ((c0 & 0xE0) == 0xC0) {
        n = 2;
        cp = c0 & 0x1F;
    } else if ((c0 & 0xF0) == 0xE0) {
        n = 3;
        cp = c0 & 0x0F;
    } else if ((c0 & 0xF8) == 0xF0) {
        n = 4;
        cp = c0 & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[n] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
    return n;
}

}  // namespace

Texte analyser(std::string_view octets)
{
    Texte t;
    std::string_view texte = octets;
    const bool bom = texte.substr(0, kBom.size()) == kBom;
    if (bom) texte.remove_prefix(kBom.size());
    bool auDela = false;
    char32_t cp = 0;
    for (std::size_t i = 0; i < texte.size();) {
        const std::size_t n = caractere(texte, i, cp);
        if (n == 0) {
            // Not UTF-8: bytes of the workshop's code page, kept as they are.
            t.octets = std::string(octets);
            return t;
        }
        auDela = auDela || n > 1;
        i += n;
    }
    if (!bom && !auDela) {
        t.octets = std::string(octets);
        return t;
    }
    t.utf8 = true;
    t.octets = cp1252::depuisUtf8(texte);
    if (cp1252::versUtf8(t.octets) == texte) return t;

    // Some character has no Windows-1252 byte: the first one is named, with
    // its line, so that the operator can find it.
    t.ligne = 1;
    for (std::size_t i = 0; i < texte.size();) {
        const std::size_t n = caractere(texte, i, cp);
        const std::string_view c = texte.substr(i, n);
        if (n > 1 && cp1252::versUtf8(cp1252::depuisUtf8(c)) != c) {
            t.absent = std::string(c);
            t.point = cp;
            break;
        }
        if (c == "\n" || (c == "\r" && (i + 1 == texte.size() || texte[i + 1] != '\n'))) ++t.ligne;
        i += n;
    }
    t.octets = std::string(octets);
    return t;
}

std::string Texte::raison() const
{
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(point));
    return "ligne " + std::to_string(ligne) + " : le caractère « " + absent + " » (" + code +
           ") n'existe pas en Windows-1252, le codage des fichiers de données";
}

void copier(std::string_view source, std::string_view cible)
{
    const auto octets = fichiers::lire(source);
    // Said of the target, the file that is missing, naming what it was to
    // be copied from.
    if (!octets)
        throw fichiers::ErreurFichier(std::string(cible),
                                      "copie impossible, " + std::string(source) + " est introuvable ou illisible");
    fichiers::ecrire(cible, analyser(*octets).octets);
}

}  // namespace tarvex::textechoisi
