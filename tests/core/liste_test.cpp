#include "store/cadrage.h"
#include "store/cp1252.h"
#include "store/liste.h"

#include <gtest/gtest.h>

namespace tarvex {

void PrintTo(const EntreeListe& e, std::ostream* os) { *os << '{' << e.texte << ", " << e.numero << '}'; }
void PrintTo(const Rectangle& r, std::ostream* os)
{
    *os << '{' << r.gauche << ", " << r.haut << ", " << r.largeur << ", " << r.hauteur << '}';
}

namespace {

std::string index(const std::vector<std::pair<std::string, std::string>>& sheets)
{
    std::string o;
    for (const auto& [piece, phase] : sheets)
        o += cp1252::depuisUtf8(piece) + "," + phase + ",TOUR 1,BRAS,ACIER,O,O,N,O,N,N,N,N,N,O,O\r\n";
    return o;
}

std::vector<EntreeListe> entrees(const std::vector<std::pair<std::string, std::string>>& sheets)
{
    const auto r = entreesListe(index(sheets));
    EXPECT_TRUE(r.ok());
    return r.valeur;
}

TEST(Liste, OrdreAlphabetiqueFrancaisSansEgardALaCasse)
{
    struct Cas { const char* nom; std::vector<std::pair<std::string, std::string>> fiches; std::vector<EntreeListe> attendu; };
    const std::vector<Cas> cas = {
        // A byte order would put every capital before every small letter.
        {"sans égard à la casse", {{"b", "1"}, {"B", "2"}, {"a", "1"}, {"A", "2"}},
         {{"a Phase 1", 2}, {"A Phase 2", 3}, {"b Phase 1", 0}, {"B Phase 2", 1}}},
        {"é à côté de e", {{"f", "1"}, {"éb", "1"}, {"ea", "1"}, {"ec", "1"}, {"d", "1"}},
         {{"d Phase 1", 4}, {"ea Phase 1", 2}, {"éb Phase 1", 1}, {"ec Phase 1", 3}, {"f Phase 1", 0}}},
        {"sans accent avant avec accent", {{"été", "1"}, {"ete", "1"}}, {{"ete Phase 1", 1}, {"été Phase 1", 0}}},
        {"textes identiques : ordre de l'index", {{"AXE", "10"}, {"BAGUE", "1"}, {"AXE", "10"}, {"axe", "10"}},
         {{"AXE Phase 10", 0}, {"AXE Phase 10", 2}, {"axe Phase 10", 3}, {"BAGUE Phase 1", 1}}},
        {"blancs retirés", {{"  AXE ", " 20 "}}, {{"AXE Phase 20", 0}}},
        {"préfixe d'abord", {{"AXE2", "1"}, {"AXE", "1"}}, {{"AXE Phase 1", 1}, {"AXE2 Phase 1", 0}}},
        {"Œ comme oe", {{"OEUF", "1"}, {"ŒIL", "1"}, {"OF", "1"}}, {{"ŒIL Phase 1", 1}, {"OEUF Phase 1", 0}, {"OF Phase 1", 2}}},
        {"un symbole après les lettres", {{"€", "1"}, {"z", "1"}}, {{"z Phase 1", 1}, {"€ Phase 1", 0}}},
    };
    for (const auto& c : cas) EXPECT_EQ(entrees(c.fiches), c.attendu) << c.nom;
}

TEST(Cadrage, TailleEtCentrage)
{
    struct Cas { int l, h, cadreL, cadreH, limite; Rectangle attendu; };
    const std::vector<Cas> cas = {
        {3000, 1500, 1400, 1400, 1400, {0, 350, 1400, 700}},
        {1000, 800, 1400, 1400, 1400, {200, 300, 1000, 800}},
        {1500, 1500, 1400, 1400, 1400, {0, 0, 1400, 1400}},
        {1400, 700, 1400, 1400, 1400, {0, 350, 1400, 700}},     // a side at the limit is not below it
        {1399, 1399, 1400, 1400, 1400, {0, 0, 1399, 1399}},     // both below: natural size
        {2400, 3600, 2000, 2000, 2000, {333, 0, 1333, 2000}},
        {6000, 9000, 7500, 7500, 7500, {1250, 0, 5000, 7500}},
        {1000, 800, 3000, 2000, 1400, {1000, 600, 1000, 800}},
        {1001, 801, 1400, 1400, 1400, {199, 299, 1001, 801}},   // half twips dropped
        {0, 800, 1400, 1400, 1400, {700, 700, 0, 0}},
        {100000, 1, 2000, 2000, 2000, {0, 1000, 2000, 0}},
    };
    for (const auto& c : cas)
        EXPECT_EQ(cadrerimage(c.l, c.h, c.cadreL, c.cadreH, c.limite), c.attendu)
            << c.l << "x" << c.h << " limite " << c.limite;
}

TEST(Recherche, PliageEtDecompte)
{
    // Windows-1252: Œ, ß, Š, É and a symbol left as it is.
    EXPECT_EQ(plierRecherche("\x8C" "uvre \xDF \x8A" "KODA \xC9" "tau-3"), "oeuvre ss skoda etau-3");

    const std::string index = "AXE,10,TOUR 1,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,N\r\n"
                              "\"AXE, LONG\",20,TOUR 2,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,N\r\n"
                              "CAME,30,TOUR 1,,,O,N,N,N,N,N,N,N,N,N,N\r\n"
                              "VIS?,40,FRAISEUSE,,,O,N,N,N,N,N,N,N,N,N,N\r\n";
    // The list's order; a number the index does not hold is left out.
    const RechercheFiches r(index, {1, 0, 2, 7, 3});
    EXPECT_EQ(r.taille(), 4u);

    const auto deux = r.chercher("tour", 2);
    EXPECT_EQ(deux.trouvees, 3u);
    ASSERT_EQ(deux.propositions.size(), 2u);
    EXPECT_EQ(deux.propositions[0], (RechercheFiches::Proposition{"AXE, LONG Phase 20 (BRAS, ACIER, TOUR 2)", 1}));
    EXPECT_EQ(deux.propositions[1].numero, 0);
    // Empty fields are left out of the text.
    EXPECT_EQ(r.chercher("came", 10).propositions.at(0).texte, "CAME Phase 30 (TOUR 1)");
    EXPECT_EQ(r.chercher("  \t ", 10).trouvees, 0u);
    EXPECT_EQ(r.chercher("long axe", 10).trouvees, 1u);
    // A typed "?" is a character like any other; a letter Windows-1252 lacks is in no entry.
    EXPECT_EQ(r.chercher("vis?", 10).trouvees, 1u);
    EXPECT_EQ(r.chercher("vis \xC5\x82", 10).trouvees, 0u);
}

}  // namespace
}  // namespace tarvex
