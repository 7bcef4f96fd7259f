#include "store/analyse.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tarvex::analyse {
namespace {

struct Cas { std::string texte; std::string_view ligne; };

void verifier(Verdict (*analyse)(std::string_view), const std::vector<Cas>& cas)
{
    for (const Cas& c : cas) {
        const Verdict v = analyse(c.texte);
        EXPECT_EQ(v.ligne, c.ligne) << "« " << c.texte << " »";
        EXPECT_EQ(v.refuse, c.ligne != kCoherent) << "« " << c.texte << " »";
    }
}

TEST(Analyse, NomsValeursPhasesEtMachine)
{
    verifier(analysenom, {
        // (The placeholder, nothing typed and "_": creation/refus, as each refusal there.)
        {"PIVOT", kCoherent}, {"  PIVOT  ", kCoherent}, {"nom à compléter", kCoherent}, {"PI/VOT", kInterdits},
        {"PIVOT,", kInterdits}, {"A\\B:C;D*E?F<G>", kInterdits}, {"PIVOT \"A\"", kInterdits}, {"Éclisse œil", kCoherent},
    });
    verifier(analysevaleur, {
        // (Nothing typed, blanks, a comma, a blank inside, a sign, letters: creation/refus.)
        {"12.5", kCoherent}, {"-0.25", kCoherent}, {" 12 ", kCoherent}, {"1.2.3", kCoherent},
        {"1/2", kCoherent}, {"5-", kCoherent}, {"1\xc2\xb2", kNonNumerique},
    });
    verifier(analysephase, {
        {"10", kCoherent}, {"-2", kCoherent}, {"1.5", kCoherent}, {"12bis", kCoherent},
        {"N° à compléter", kNonNumerique}, {"0", kNonNumerique}, {"", kNonNumerique}, {"abc", kNonNumerique},
        {"1,5", kInterdits}, {"10/..", kInterdits}, {"1\"0", kInterdits}, {"10_2", kInterdits},
    });
    // A missing machine is said without refusing.
    EXPECT_EQ(analysemachine("").ligne, kAbsenceMachine);
    EXPECT_EQ(analysemachine("Sélectionner une machine").ligne, kAbsenceMachine);
    EXPECT_EQ(analysemachine("TOUR 1").ligne, kCoherent);
    EXPECT_FALSE(analysemachine("").refuse);
}

TEST(Analyse, TextesChoisis)
{
    struct Cas { std::string octets, stocke; std::optional<std::string> ligne; } cas[] = {
        {"%1\r\nN10 G0 X0\r\n", "%1\r\nN10 G0 X0\r\n", std::nullopt},
        {"(\xC9" "BAUCHE)\r\n", "(\xC9" "BAUCHE)\r\n", std::nullopt},  // Windows-1252 already
        {"\xC0\xAF", "\xC0\xAF", std::nullopt},                        // not UTF-8 (overlong)
        {"(\xC3\x89" "BAUCHE \xE2\x82\xAC)\r\n", "(\xC9" "BAUCHE \x80)\r\n", std::string(kEnUtf8)},
        {"\xEF\xBB\xBF%1\r\n", "%1\r\n", std::string(kEnUtf8)},  // the byte order mark left out
        {"\xC3\x89\r\nA\rB\n\xE2\x80\x8B\n\xC5\x82", "\xC3\x89\r\nA\rB\n\xE2\x80\x8B\n\xC5\x82",
         "  Ligne 4 : caractère « \xE2\x80\x8B » (U+200B) absent de Windows-1252, interdit !"},
    };
    for (const Cas& c : cas) {
        const textechoisi::Texte t = textechoisi::analyser(c.octets);
        EXPECT_EQ(t.octets, c.stocke) << c.octets;
        const auto constat = analysetexte(t);
        EXPECT_EQ(constat ? std::optional(constat->ligne) : std::nullopt, c.ligne) << c.octets;
        EXPECT_EQ(constat && constat->refuse, c.ligne && *c.ligne != kEnUtf8) << c.octets;
    }
    EXPECT_EQ(analysedecalage("G54\"").ligne, kVirguleGuillemet);  // the comma: the scenarios
}

}  // namespace
}  // namespace tarvex::analyse
