#include "journal/journal.h"
#include "support.h"

#include <fstream>

namespace tarvex {
namespace {

TEST(Journal, ChampsEcritsLusEtDurees)
{
    // What a field holds is written so that a line stays one transfer of twelve fields.
    const std::pair<std::string, std::string> ecrits[] = {
        {"%1;2", "%1,2"}, {std::string("A\0B\x1B\x01\x7F", 6), "A?B???"}, {"a\r\nb\tc", "a??b?c"}, {"Étau €", "Étau €"}};
    for (const auto& [objet, attendu] : ecrits) {
        journal::Entree e{"02/01/2024", "03:04:05", "P", "COM2", {"T"}, "Demande", objet, 1, 1, "OK", 75, 0xAB};
        EXPECT_EQ(journal::ligne(e), "02/01/2024;03:04:05;P;COM2;T;Demande;" + attendu + ";1;1;OK;75;000000AB");
        EXPECT_EQ(journal::champs(journal::ligne(e))[journal::kObjet], attendu);
        EXPECT_EQ(journal::champs(journal::ligne(e))[journal::kCrc], "000000AB");
    }
    // A line of another form is shown whole, under no heading of its own.
    for (const char* autre : {"note à la main", "1;2;3;4;5;6;7;8;9;10;11;12;13", "1;2;3;4;5;6;7;8;9;10;11"}) {
        const auto c = journal::champs(autre);
        EXPECT_EQ(c[journal::kObjet], autre);
        EXPECT_EQ(c[journal::kDate], "");
    }
    const std::pair<const char*, const char*> durees[] = {
        {"0", "0 s"}, {"59", "59 s"}, {"60", "1 min 00 s"}, {"605", "10 min 05 s"}, {"3607", "1 h 00 min 07 s"},
        {"", ""}, {"-3", "-3"}, {"1x", "1x"}};
    for (const auto& [s, attendu] : durees) EXPECT_EQ(journal::duree(s), attendu) << s;
}

TEST(Journal, LignesPrisesEtFiltrees)
{
    journal::Lignes l;
    // The last piece waits for its line end, unless it ends the file.
    EXPECT_EQ(l.prendre("a;PIVOT\r\n\r\nb;\xC9" "CLISSE\nc;pi", false), 21u);
    EXPECT_EQ(l.prendre("c;pi", true), 4u);
    ASSERT_EQ(l.taille(), 3u);
    EXPECT_EQ(l.ligne(1), "b;ÉCLISSE");
    const std::pair<const char*, std::vector<std::size_t>> cas[] = {
        {"", {2, 1, 0}}, {"  ", {2, 1, 0}}, {"PI", {2, 0}}, {"eclisse b", {1}}, {"é", {1}}, {"pivot x", {}}, {"ŝ", {}}};
    for (const auto& [filtre, attendu] : cas) EXPECT_EQ(l.filtrer(filtre), attendu) << filtre;
    EXPECT_EQ(l.filtrer("", 2), std::vector<std::size_t>{2});
}

class JournalFichier : public test::DossierDeTravail {};

TEST_F(JournalFichier, AjoutSurSaPropreLigneEtSuivi)
{
    using S = journal::Lignes::Suite;
    journal::Entree e{"02/01/2024", "03:04:05", "P", "COM2", {"T"}, "Envoi fiche", "F", 0, 0, "OK", 0, 0};
    const std::string l = journal::ligne(e) + "\r\n";
    poser("data/.garde", "");
    // The file as found -> after one transfer is appended.
    const std::pair<const char*, std::string> ajouts[] = {
        {nullptr, l}, {"", l}, {"a\r\n", "a\r\n" + l}, {"a", "a\r\n" + l}, {"a\r", "a\r\n" + l}};
    for (const auto& [avant, apres] : ajouts) {
        if (avant) poser("data/journal.txt", avant);
        EXPECT_TRUE(journal::ajouter(e).ok());
        EXPECT_EQ(contenu("data/journal.txt"), apres) << (avant ? avant : "(absent)");
        journal::Lignes lu;
        EXPECT_EQ(lu.suivre(), S::Relu);
        EXPECT_EQ(lu.taille(), avant && *avant ? 2u : 1u);
        std::filesystem::remove("data/journal.txt");
    }
    journal::Lignes lignes;
    // Only what was appended is read; a line being written waits for its end.
    const std::pair<const char*, S> suite[] = {{"x\r\n", S::Relu}, {"", S::Rien}, {"y;", S::Rien},
                                               {"1\r\nz\r\n", S::Ajout}, {"", S::Rien}};
    std::string tout;
    for (const auto& [ajoute, attendu] : suite) {
        tout += ajoute;
        std::ofstream(std::filesystem::path("data/journal.txt"), std::ios::binary | std::ios::app) << ajoute;
        EXPECT_EQ(lignes.suivre(), attendu) << tout;
    }
    EXPECT_EQ(lignes.filtrer(""), (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(lignes.ligne(1), "y;1");
    // Replaced by a longer one: read whole again, not from where the other ended.
    poser("data/journal.txt", "autre\r\njournal\r\nplus long\r\n");
    EXPECT_EQ(lignes.suivre(), S::Relu);
    EXPECT_EQ(lignes.ligne(0), "autre");
    std::filesystem::remove("data/journal.txt");
    EXPECT_EQ(lignes.suivre(), S::Relu);
    EXPECT_EQ(lignes.taille(), 0u);
    EXPECT_EQ(lignes.suivre(), S::Rien);
}

}  // namespace
}  // namespace tarvex
