// What the transfer window shows, from the bytes that have left and the time.
#include "cnclink/suivi.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

TEST(Suivi, CaracteresParSecondeSelonLesBitsDUnCaractere)
{
    struct Cas { const char* reglage; double attendu; } cas[] = {
        {"9600,e,7,2", 9600.0 / 11},  // start, 7 data, parity, 2 stop
        {"9600,n,8,1", 960},          // no parity bit with "n"
        {"4800,o,8,2", 4800.0 / 12},
        {"300,e,7,1", 30},
    };
    for (const auto& c : cas) {
        const auto v = caracteresParSeconde(c.reglage);
        ASSERT_TRUE(v) << c.reglage;
        EXPECT_DOUBLE_EQ(*v, c.attendu) << c.reglage;
    }
    for (const char* refuse : {"", "9600,e,7", "0,e,7,2", "abc,e,7,2", "9600,,7,2"})
        EXPECT_FALSE(caracteresParSeconde(refuse)) << refuse;
}

TEST(Suivi, LignesPartiesTempsRestantEtAttente)
{
    // Three lines of 10 bytes, then DC3 + LF, which is not a line.
    const std::string octets = "AAAAAAAAA\nBBBBBBBBB\nCCCCCCCCC\n\x13\n";
    SuiviTransfert s(octets, 10, 1000);  // 10 characters a second
    EXPECT_EQ(s.lignesTotal(), 3);
    EXPECT_EQ(s.lignesParties(), 0);
    EXPECT_EQ(s.secondesRestantes(), 4);  // 32 bytes: 3.2 s, rounded up
    EXPECT_FALSE(s.enAttente());

    s.relever(19, 1500);  // a line is gone only with its LF
    EXPECT_EQ(s.lignesParties(), 1);
    s.relever(20, 2000);
    EXPECT_EQ(s.lignesParties(), 2);

    // Nothing more leaves: the CNC holds the line after 2 s without progress.
    s.relever(20, 3999);
    EXPECT_FALSE(s.enAttente());
    s.relever(20, 4000);
    EXPECT_TRUE(s.enAttente());
    s.relever(21, 4100);
    EXPECT_FALSE(s.enAttente());

    // Everything gone: never waiting, nothing left, the last line counted.
    s.relever(32, 9000);
    EXPECT_EQ(s.lignesParties(), 3);
    EXPECT_EQ(s.secondesRestantes(), 0);
    s.relever(32, 20000);
    EXPECT_FALSE(s.enAttente());
}

TEST(Suivi, LaCadenceMesureeRemplaceCelleDesReglagesSansCompterLesPauses)
{
    std::string octets(10000, 'N');
    octets.back() = '\n';
    SuiviTransfert s(octets, 1000, 0);
    EXPECT_EQ(s.secondesRestantes(), 10);
    // 500 bytes a second in fact; the pause between 2 and 30 s is not counted.
    s.relever(1000, 2000);
    s.relever(1000, 30000);
    EXPECT_EQ(s.secondesRestantes(), 9);  // still the settings' rate: 2 s of movement
    s.relever(1500, 31000);
    EXPECT_EQ(s.secondesRestantes(), 17);  // 8500 bytes at 500 a second
}

TEST(Suivi, Textes)
{
    // (The lines sent, and seconds and minutes left: the transfer scenarios.)
    EXPECT_EQ(texteRestant(0), "Temps restant : 0 s");
    EXPECT_EQ(texteRestant(245), "Temps restant : 4 min 05 s");
    EXPECT_EQ(texteRestant(3 * 3600 + 7 * 60 + 9), "Temps restant : 3 h 07 min");
    EXPECT_EQ(detailInterruption(12, 340).rfind("12 lignes sur 340 sont parties", 0), 0u);
}

}  // namespace

TEST(Suivi, EnContinuLaLigneEtSonBlocAMesureQuIlsPartent)
{
    SuiviTransfert s(3, 22, 10, 0);
    s.ecrits("N10 G0\n  /N20 X");
    s.relever(5, 100);
    EXPECT_EQ(s.lignesParties(), 0);
    s.ecrits("1\nG1\n\x13\n");
    s.relever(17, 200);
    EXPECT_EQ(s.lignesParties(), 2);
    EXPECT_EQ(s.bloc(), "N20");
    s.relever(22, 300);  // DC3 + LF is no line; a line without a block number has none
    EXPECT_EQ(texteLigne(s.lignesParties(), s.bloc(), s.lignesTotal() - s.lignesParties()), "Ligne 3 - reste 0 lignes");
    EXPECT_EQ(texteLigne(31200, "N31200", 8800), "Ligne 31200 : N31200 - reste 8800 lignes");
}

}  // namespace tarvex
