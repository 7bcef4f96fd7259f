#include "journal/journal.h"

#include "support.h"

namespace tarvex {
namespace {

TEST(Journal, MesureEtLigne)
{
    EXPECT_EQ(journal::crc32("123456789"), 0xCBF43926u);  // the standard check value
    EXPECT_EQ(journal::crc32(""), 0u);
    const std::pair<const char*, long long> lignes[] = {{"", 0}, {"a", 1}, {"a\n", 1}, {"a\nb", 2}, {"\n\n", 2}};
    for (const auto& [o, n] : lignes) EXPECT_EQ(journal::compterLignes(o), n) << o;

    journal::Entree e{"02/01/2024", "03:04:05", "POSTE1", "COM2", {"CU 3 AXES", "TOUR 9"}, "Réception",
                      "essai;1\r\n.txt", 0, 0, "OK", 3, 0};
    journal::mesurer(e, "%1\nM2\n\x13\n");
    EXPECT_EQ(std::tie(e.octets, e.lignes, e.crc), std::tuple(8LL, 3LL, journal::crc32("%1\nM2\n\x13\n")));
    e.crc = 0x0A1B2C3D;
    EXPECT_EQ(journal::ligne(e), "02/01/2024;03:04:05;POSTE1;COM2;CU 3 AXES/TOUR 9;Réception;essai,1  .txt;8;3;OK;3;0A1B2C3D");
}

TEST(Journal, FiltreCommeLaRecherche)
{
    const std::string l = "02/01/2024;03:04:05;POSTE1;COM2;CU 3 AXES;Réception;ÉCLISSE Phase 5;8;3;OK;3;0A1B2C3D";
    const std::pair<const char*, bool> cas[] = {
        {"", true}, {"  ", true}, {"reception eclisse", true}, {"ECLISSE   com2", true}, {"0a1b", true},
        {"Éclisse pivot", false}, {"€", false}, {"ŝ", false},  // a letter no data file holds
    };
    for (const auto& [filtre, attendu] : cas) EXPECT_EQ(journal::correspond(l, filtre), attendu) << filtre;
}

class JournalFichier : public test::DossierDeTravail {};

TEST_F(JournalFichier, AjouteEtRelitLePlusRecentDabord)
{
    EXPECT_TRUE(journal::lire().ok());
    EXPECT_TRUE(journal::lire().valeur.empty());
    poser("data/.garde", "");
    journal::Entree a{"02/01/2024", "03:04:05", "POSTE1", "COM2", {"TOUR 1"}, "Envoi fiche", "PIVOT Phase 20 BRAS", 0, 0, "", 0, 0};
    journal::Entree b = a;
    b.genre = "Réception";
    ASSERT_TRUE(journal::ajouter(a).ok());
    ASSERT_TRUE(journal::ajouter(b).ok());
    EXPECT_EQ(contenu("data/journal.txt"), journal::ligne(a) + "\r\n" +
                                               "02/01/2024;03:04:05;POSTE1;COM2;TOUR 1;R\xE9" "ception;PIVOT Phase 20 BRAS;0;0;;0;00000000\r\n");
    EXPECT_EQ(journal::lire().valeur, (std::vector<std::string>{journal::ligne(b), journal::ligne(a)}));
    test::Panne panne(1);
    EXPECT_EQ(journal::ajouter(a).problemes.at(0).fichier, journal::kJournal);
}

}  // namespace
}  // namespace tarvex
