#include "store/code.h"

#include "support.h"

namespace tarvex {
namespace {

using Code = test::DossierDeTravail;

TEST_F(Code, Verification)
{
    std::string douze;
    for (int i = 1; i <= 12; ++i) douze += "CODE" + std::to_string(i) + "\r\n";
    const std::tuple<const char*, std::string, std::string, bool> cas[] = {
        // what, code.tvx, typed, accepted (the exact code, another letter case, a blank typed after: the scenarios)
        {"code rangé entre des blancs", "  SECRET\t \r\n", "SECRET", true},
        {"blanc tapé avant", "SECRET\r\n", " SECRET", false},
        {"la virgule coupe : première partie", "AB,CD\r\n", "AB", true},
        {"la virgule coupe : ligne entière refusée", "AB,CD\r\n", "AB,CD", false},
        {"guillemets avec virgule", "\"AB,CD\",EF\r\n", "AB,CD", true},
        {"guillemets puis rognage", "\" AB \"\r\n", "AB", true},
        {"fichier vide : texte vide accepté", "", "", true},
        {"fichier vide : autre texte refusé", "", "x", false},
        {"ligne vide en tête", "\r\nSECRET\r\n", "", true},
        {"seul le premier item compte", douze, "CODE1", true},
        {"les suivants n'ont pas d'effet", douze, "CODE2", false},
        {"accents", "Cl\xE9\r\n", "Clé", true},
        {"sans fin de ligne", "SECRET", "SECRET", true},
    };
    for (const auto& [nom, fichier, tape, accepte] : cas) {
        poser("data/code.tvx", fichier);
        const auto v = verifcode(tape);
        EXPECT_EQ(v.accepte, accepte) << nom;
        EXPECT_FALSE(v.probleme) << nom;
    }
    // Without the file everything is refused, and the file is named.
    std::filesystem::remove("data/code.tvx");
    for (const char* tape : {"", "SECRET"}) {
        const auto v = verifcode(tape);
        EXPECT_FALSE(v.accepte);
        EXPECT_EQ(v.probleme.value_or(Probleme{}).texte(), "data\\code.tvx : fichier introuvable ou illisible");
    }
}

}  // namespace
}  // namespace tarvex
