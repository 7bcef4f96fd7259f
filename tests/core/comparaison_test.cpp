// Programs compared line by line: what the machinist sees marked.

#include "archives/comparaison.h"
#include "store/texte.h"

#include <gtest/gtest.h>

namespace tarvex::comparaison {
namespace {

std::string trace(const Resultat& r)
{
    // One letter per row: = same, M changed, - removed, + added.
    std::string t;
    for (const Rangee& x : r.rangees) t += "=M-+"[static_cast<int>(x.genre)];
    return t;
}

TEST(Comparaison, LignesAlignees)
{
    struct Cas { const char* nom; std::vector<std::string> avant, apres; const char* trace; const char* resume; };
    // (Identical programs and lines added at the end: the programme-recu scenario.)
    const Cas cas[] = {
        {"une avance corrigée", {"%1", "N10 G1 F200", "M30"}, {"%1", "N10 G1 F150", "M30"}, "=M=",
         "1 ligne différente : 1 modifiée, 0 ajoutée, 0 supprimée"},
        {"un bloc retiré au milieu", {"%1", "N10", "N20", "N30", "M30"}, {"%1", "N10", "M30"}, "==--=",
         "2 lignes différentes : 0 modifiée, 0 ajoutée, 2 supprimées"},
        {"une ligne insérée avant une avance corrigée", {"%1", "N10 G1 F200", "M30"}, {"%1", "N5 M8", "N10 G1 F150", "M30"},
         "=+M=", "2 lignes différentes : 1 modifiée, 1 ajoutée, 0 supprimée"},
        {"les blocs se font face par leur numéro", {"N10 G0 X0", "N20 G1 X5", "N30 M5"}, {"N10 G0 X0 M8", "N15 G4", "N20 G1 X6"},
         "M+M-", "4 lignes différentes : 2 modifiées, 1 ajoutée, 1 supprimée"},
        {"sans numéro, une cote corrigée fait face, une ligne sans rapport non", {"G1 X10 F200", "G0 X0"},
         {"M8", "G1 X12 F200"}, "+M-", "3 lignes différentes : 1 modifiée, 1 ajoutée, 1 supprimée"},
        {"tout vide", {}, {}, "", "Aucune différence"},
        {"programme reçu vide", {"%1", "M30"}, {}, "--", "2 lignes différentes : 0 modifiée, 0 ajoutée, 2 supprimées"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const Resultat r = comparer(c.avant, c.apres);
        EXPECT_EQ(trace(r), c.trace);
        EXPECT_EQ(resume(r), c.resume);
        // Read down each side, the rows give back each program.
        std::vector<std::string> gauche, droite;
        for (const Rangee& x : r.rangees) {
            if (x.avant) gauche.push_back(*x.avant);
            if (x.apres) droite.push_back(*x.apres);
        }
        EXPECT_EQ(gauche, c.avant);
        EXPECT_EQ(droite, c.apres);
    }
}

TEST(Comparaison, LignesDUnTexteRecu)
{
    EXPECT_EQ(lignesDe("%1\r\nN10\nN20\rM30"), (std::vector<std::string>{"%1", "N10", "N20", "M30"}));
    EXPECT_EQ(lignesDe("%1\r\nM30\r\n\x13"), (std::vector<std::string>{"%1", "M30"}));
    EXPECT_EQ(lignesDe("\r\n\r\n"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(lignesDe(""), std::vector<std::string>{});
    // DC3 anywhere is dropped, every line ends with CR LF, accents kept as bytes.
    EXPECT_EQ(programmeAStocker("%1\nN10 (R\xc9GLAGE)\x13\rM30\x13"), "%1\r\nN10 (R\xc9GLAGE)\r\nM30\r\n");
    EXPECT_EQ(programmeAStocker("\x13"), "");
}

}  // namespace
}  // namespace tarvex::comparaison
