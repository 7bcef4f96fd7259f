#include "recus/recus.h"

#include "support.h"

namespace tarvex {
namespace {

TEST(Recus, TexteStocke)
{
    const std::pair<std::string, std::string> cas[] = {
        {"%1\nM2\x13", "%1\r\nM2\r\n"},
        {"a\r\nb\rc\n\nd", "a\r\nb\r\nc\r\n\r\nd\r\n"},
        {"a\r\x13\nb\x13\r\n", "a\r\nb\r\n"},
        {"\x13", ""},
    };
    for (const auto& [recu, stocke] : cas) EXPECT_EQ(recus::texteStocke(recu), stocke) << recu;
}

class RecusFichiers : public test::DossierDeTravail {};

TEST_F(RecusFichiers, StockeListeArchive)
{
    poser("data/.garde", "");
    const archives::Instant t{2024, 1, 2, 3, 4, 5}, avant{2024, 1, 2, 3, 4, 4};
    const std::tuple<const char*, archives::Instant, const char*, bool, const char*> cas[] = {
        {"COM2", t, "%\r\n%12 (A)\nM2\x13", true, "data\\recus\\COM2\\20240102-030405.txt"},
        {"COM2", t, "%13\n", true, "data\\recus\\COM2\\20240102-030405-2.txt"},
        {"COM2", t, "%14\n", false, "data\\recus\\COM2\\20240102-030405-incomplet.txt"},
        {"COM3", avant, "%15", false, "data\\recus\\COM3\\20240102-030404-incomplet.txt"},
    };
    for (const auto& [port, quand, recu, complet, chemin] : cas) EXPECT_EQ(recus::stocker(port, quand, recu, complet).valeur, chemin);
    EXPECT_EQ(contenu("data/recus/COM2/20240102-030405.txt"), "%\r\n%12 (A)\r\nM2\r\n");
    EXPECT_FALSE(recus::stocker("COM10", t, "%1", true).ok());

    const auto l = recus::lister();
    ASSERT_EQ(l.valeur.size(), 4u);
    EXPECT_EQ(l.valeur[0].chemin, "data\\recus\\COM2\\20240102-030405-2.txt");  // newest first
    EXPECT_EQ(std::tie(l.valeur[2].premiereLigne, l.valeur[2].lignes, l.valeur[2].port), std::tuple("%12 (A)", 3LL, "COM2"));
    EXPECT_FALSE(l.valeur[3].complet);

    // Archived twice under one name: the second beside the first, nothing lost.
    const std::string premier = l.valeur[2].chemin;
    ASSERT_TRUE(recus::archiver(premier).ok());
    EXPECT_EQ(recus::stocker("COM2", t, "%16", true).valeur, premier);
    ASSERT_TRUE(recus::archiver(premier).ok());
    EXPECT_FALSE(present("data/recus/COM2/20240102-030405.txt"));
    EXPECT_EQ(contenu("data/archives/recus/COM2/20240102-030405.txt"), "%\r\n%12 (A)\r\nM2\r\n");
    EXPECT_EQ(contenu("data/archives/recus/COM2/20240102-030405-2.txt"), "%16\r\n");
    EXPECT_FALSE(recus::archiver("data\\PIVOT_Phase 20_BRAS_TOUR 1\\prog.txt").ok());
}

}  // namespace
}  // namespace tarvex
