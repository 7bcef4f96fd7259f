#include "mainwindow/liste.h"

#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/lecteur.h"

#include <algorithm>

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

// Works on the Windows-1252 bytes, which is what the index holds.
void ajouterCle(std::string_view cp, std::string& primaire, std::string& secondaire)
{
    for (char c : cp) {
        const auto o = static_cast<unsigned char>(c);
        const char* base = nullptr;
        char accent = 0;
        char simple = 0;
        if (o >= 'A' && o <= 'Z') {
            simple = static_cast<char>(o + 32);
        } else if (o < 0x80) {
            simple = c;
        } else if (o >= 0xC0 && kLatin1[o - 0xC0].base) {
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
            for (const char* b = base; *b; ++b) {
                primaire.push_back(*b);
                secondaire.push_back(static_cast<char>(1 + accent));
            }
        } else if (simple) {
            primaire.push_back(simple);
            secondaire.push_back(1);
        } else {
            // Symbols outside the letters sort after every letter.
            primaire.push_back('\x7f');
            primaire.push_back(static_cast<char>(o));
            secondaire.push_back(1);
            secondaire.push_back(1);
        }
    }
}

std::string cleTriCp1252(std::string_view cp)
{
    std::string primaire, secondaire;
    primaire.reserve(cp.size() + 1);
    secondaire.reserve(cp.size());
    ajouterCle(cp, primaire, secondaire);
    // The accents only break ties between texts with the same letters.
    primaire.push_back('\0');
    primaire += secondaire;
    return primaire;
}

}  // namespace

std::string texteEntree(std::string_view piece, std::string_view phase)
{
    std::string t(sansBlancs(piece));
    t += " Phase ";
    t += sansBlancs(phase);
    return t;
}

std::string cleTri(std::string_view utf8) { return cleTriCp1252(cp1252::depuisUtf8(utf8)); }

Lu<std::vector<EntreeListe>> entreesListe(std::string_view octetsIndex)
{
    Lu<std::vector<EntreeListe>> r;
    struct Tri {
        std::string cle;
        std::string texte;  // Windows-1252 until the end
        int numero;
    };
    std::vector<Tri> tri;
    r.problemes = parcourirIndex(octetsIndex, [&](int n, const EnregistrementBrut& b) {
        std::string t(sansBlancs(b[CPiece]));
        t += " Phase ";
        t += sansBlancs(b[CPhase]);
        tri.push_back({cleTriCp1252(t), std::move(t), n});
        return true;
    });
    std::stable_sort(tri.begin(), tri.end(), [](const Tri& a, const Tri& b) { return a.cle < b.cle; });
    r.valeur.reserve(tri.size());
    for (auto& e : tri) r.valeur.push_back({cp1252::versUtf8(e.texte), e.numero});
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
