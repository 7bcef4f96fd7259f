#include "store/lecteur.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace tarvex {
namespace {

using Items = std::vector<std::string>;

Items items(std::string_view texte)
{
    Items r;
    LecteurItems l(texte);
    while (!l.fin()) r.push_back(std::string(l.suivantBrut().brut));
    return r;
}

TEST(LecteurItems, CasQuiTrompentUnLecteurNaif)
{
    const std::tuple<const char*, std::string, Items> cas[] = {
        {"virgule et CR LF", "a,b\r\nc", {"a", "b", "c"}},
        {"blancs autour", "  PIVOT  ,\tTOUR 1\t\r\n", {"PIVOT", "TOUR 1"}},
        {"guillemets avec virgule", "\"a,b\",c", {"a,b", "c"}},
        {"guillemets avec fin de ligne", "\"a\r\nb\"\r\nc", {"a\r\nb", "c"}},
        {"guillemets gardent les blancs", "\"  x  \",y", {"  x  ", "y"}},
        {"texte après le guillemet fermant", "\"AB\"CD,E", {"AB", "E"}},
        {"blancs avant les guillemets", "  \"x\"  ,y", {"x", "y"}},
        {"guillemet au milieu", "ab\"c,d", {"ab\"c", "d"}},
        {"CR seul", "a\rb\rc", {"a", "b", "c"}},  {"LF seul", "a\nb", {"a", "b"}},
        {"LF puis CR : deux fins", "a\n\rb", {"a", "", "b"}},
        {"ligne vide", "a\r\n\r\nb\r\n", {"a", "", "b"}},  {"deux virgules", "a,,b", {"a", "", "b"}},
        {"ligne de blancs", "  \t \r\nx", {"", "x"}},
        {"virgule finale avant la fin de ligne", "a,\r\n", {"a", ""}},
        {"virgule finale en fin de fichier", "a,", {"a"}},
        {"fin de ligne seule", "\r\n", {""}},  {"fichier vide", "", {}},
        {"fin de fichier dans des guillemets", "x,\"abc\r\ndef", {"x", "abc\r\ndef"}},
        {"guillemet ouvrant seul", "\"", {""}},  {"guillemets puis fin de ligne", "\"q\"\r\nz", {"q", "z"}},
        {"octets hauts", "\xC9querre,Ch\xE2ssis", {"\xC9querre", "Ch\xE2ssis"}},
    };
    for (const auto& [nom, texte, attendu] : cas) EXPECT_EQ(items(texte), attendu) << nom;

    // A read past the end is told; an empty quoted item is told from an empty one.
    LecteurItems l("a\r\n"), q("\"\",\r\n");
    EXPECT_EQ(l.suivant(), "a");
    EXPECT_TRUE(l.fin() && !l.depasse());
    EXPECT_TRUE(l.suivant() == "" && l.depasse());
    EXPECT_TRUE(q.suivantBrut().entreGuillemets && !q.suivantBrut().entreGuillemets);
}

TEST(ProtegerItem, RelectureIdentique)
{
    struct Cas { std::string item, ecrit; };
    const std::vector<Cas> cas = {
        {"abc", "abc"},          {"", ""},          {"a,b", "\"a,b\""},   {" a", "\" a\""},
        {"a\t", "\"a\t\""},      {"a\r\nb", "\"a\r\nb\""}, {"a\rb", "\"a\rb\""}, {"ab\"c", "ab\"c"},
        {"a\"b,c", "a\"b,c"},  // cannot be written so as to come back whole
    };
    for (const auto& c : cas) {
        EXPECT_EQ(protegerItem(c.item), c.ecrit) << c.item;
        EXPECT_TRUE(c.item.find('"') != std::string::npos || items(c.ecrit + "\r\n") == Items{c.item}) << c.item;
    }
}

TEST(Lirenombre, Cas)
{
    struct Cas { const char* texte; double attendu; };
    const std::vector<Cas> cas = {
        {"12,5", 12},      {"1 2", 12},        {"", 0},          {"abc", 0},        {"G54", 0},
        {"-3.5", -3.5},    {"+4", 4},          {"- 4", -4},      {"--1", 0},        {"+-1", 0},
        {"1e3", 1000},     {"1E-2", 0.01},     {"1D2", 100},     {"1d+2", 100},     {"1 e 2", 100},
        {"2.5e", 2.5},     {"2.5e+", 2.5},     {"2.5ex", 2.5},   {"1e2e3", 100},    {"e5", 0},
        {"1.2.3", 1.2},    {".5", 0.5},        {"-.5", -0.5},    {"5.", 5},         {".", 0},
        {"-", 0},          {"\t\n 7", 7},      {"12abc", 12},    {"1\r2", 1},       {"0x10", 0},
        {"12 ,5", 12},     {"0010", 10},       {"1 000,50", 1000}, {"-0", 0},       {"1e-400", 0},
    };
    for (const auto& c : cas) EXPECT_DOUBLE_EQ(lirenombre(c.texte), c.attendu) << '"' << c.texte << '"';
    EXPECT_TRUE(std::isinf(lirenombre("1E400")) && lirenombre("1E400") > 0 && lirenombre("-1E400") < 0);
    EXPECT_TRUE(std::isinf(lirenombre(std::string(400, '9'))));
    EXPECT_DOUBLE_EQ(lirenombre("1" + std::string(300, '0')), 1e300);
}

TEST(EstNombre, Cas)
{
    struct Cas { const char* texte; bool attendu; };
    const std::vector<Cas> cas = {
        {"1.50", true}, {"-3", true},  {"1E3", true},   {" 7 ", true},  {"5.", true},  {".5", true},
        {"1 2", false}, {"12,5", false}, {"", false},   {"abc", false}, {"1e", false}, {"1E+", false},
        {".", false},   {"-", false},  {"12a", false},  {"G54", false}, {"  ", false},
    };
    for (const auto& c : cas) EXPECT_EQ(estNombre(c.texte), c.attendu) << '"' << c.texte << '"';
}

}  // namespace
}  // namespace tarvex
