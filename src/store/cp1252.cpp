#include "store/cp1252.h"

#include <array>
#include <cstdint>

namespace tarvex::cp1252 {
namespace {

// Code points of bytes 0x80 to 0x9F. The undefined ones keep their own value.
constexpr std::array<char32_t, 32> kHaut = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t pointDeCode(unsigned char octet)
{
    if (octet >= 0x80 && octet <= 0x9F) return kHaut[octet - 0x80];
    return octet;
}

void encoder(char32_t cp, std::string& sortie)
{
    if (cp < 0x80) {
        sortie.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        sortie.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        sortie.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        sortie.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        sortie.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        sortie.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        sortie.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        sortie.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        sortie.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        sortie.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

struct TableDecodage {
    std::array<std::string, 256> utf8;
    TableDecodage()
    {
        for (int i = 0; i < 256; ++i) encoder(pointDeCode(static_cast<unsigned char>(i)), utf8[i]);
    }
};

const TableDecodage& table()
{
    static const TableDecodage t;
    return t;
}

// Reads one code point; returns U+FFFD and advances by one byte on a
// malformed sequence.
char32_t lireUtf8(std::string_view s, std::size_t& i)
{
    const auto c0 = static_cast<unsigned char>(s[i]);
    if (c0 < 0x80) {
        ++i;
        return c0;
    }
    int suite = 0;
    char32_t cp = 0;
    if ((c0 & 0xE0) == 0xC0) {
        suite = 1;
        cp = c0 & 0x1F;
    } else if ((c0 & 0xF0) == 0xE0) {
        suite = 2;
        cp = c0 & 0x0F;
    } else if ((c0 & 0xF8) == 0xF0) {
        suite = 3;
        cp = c0 & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + static_cast<std::size_t>(suite) >= s.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k <= suite; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    // Overlong forms and surrogates are not characters.
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[suite] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        ++i;
        return 0xFFFD;
    }
    i += suite + 1;
    return cp;
}

int versOctet(char32_t cp)
{
    if (cp < 0x80) return static_cast<int>(cp);
    if (cp >= 0xA0 && cp <= 0xFF) return static_cast<int>(cp);
    for (int k = 0; k < 32; ++k)
        if (kHaut[k] == cp) return 0x80 + k;
    return -1;
}

char32_t minuscule(char32_t cp)
{
    if (cp >= 'A' && cp <= 'Z') return cp + 32;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
    if (cp >= 0x100 && cp <= 0x137) return (cp % 2 == 0) ? cp + 1 : cp;
    if (cp >= 0x139 && cp <= 0x148) return (cp % 2 == 1) ? cp + 1 : cp;
    if (cp >= 0x14A && cp <= 0x177) return (cp % 2 == 0) ? cp + 1 : cp;
    if (cp == 0x178) return 0xFF;
    if (cp >= 0x179 && cp <= 0x17E) return (cp % 2 == 1) ? cp + 1 : cp;
    return cp;
}

}  // namespace

void ajouterUtf8(std::string& sortie, std::string_view octets)
{
    const auto& t = table();
    const char* p = octets.data();
    const char* const fin = p + octets.size();
    while (p < fin) {
        // Runs of ASCII, the bulk of every data file, are copied whole.
        const char* q = p;
        while (q < fin && static_cast<unsigned char>(*q) < 0x80) ++q;
        sortie.append(p, q);
        if (q == fin) break;
        sortie += t.utf8[static_cast<unsigned char>(*q)];
        p = q + 1;
    }
}

std::string versUtf8(std::string_view octets)
{
    std::string sortie;
    sortie.reserve(octets.size() + octets.size() / 8);
    ajouterUtf8(sortie, octets);
    return sortie;
}

namespace {

// Walks a UTF-8 text: each ASCII byte goes out as `ascii` makes it, each
// other character as `autre` writes it, given its code point and where its
// bytes lie in the text (from debut to fin).
template <class Ascii, class Autre>
std::string transcrire(std::string_view utf8, Ascii ascii, Autre autre)
{
    std::string sortie;
    sortie.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            sortie.push_back(ascii(c));
            ++i;
            continue;
        }
        const std::size_t debut = i;
        const char32_t cp = lireUtf8(utf8, i);
        autre(cp, debut, i, sortie);
    }
    return sortie;
}

}  // namespace

std::string depuisUtf8(std::string_view utf8)
{
    return transcrire(
        utf8, [](unsigned char c) { return static_cast<char>(c); },
        [](char32_t cp, std::size_t, std::size_t, std::string& sortie) {
            const int o = versOctet(cp);
            sortie.push_back(o < 0 ? '?' : static_cast<char>(o));
        });
}

std::string replier(std::string_view utf8)
{
    return transcrire(
        utf8, [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); },
        [utf8](char32_t cp, std::size_t debut, std::size_t fin, std::string& sortie) {
            if (cp == 0xFFFD && fin == debut + 1)
                sortie.push_back(utf8[debut]);  // keep raw bytes of a non-UTF-8 name
            else
                encoder(minuscule(cp), sortie);
        });
}

}  // namespace tarvex::cp1252
