#include "journal/journal.h"
#include "service/demande.h"
#include "service/lecture.h"
#include "service/lignes.h"
#include "service/recus.h"

#include "support.h"

namespace tarvex {
namespace {

namespace fs = std::filesystem;
using dnc::Issue;

TEST(Lecture, FinsDeProgramme)
{
    using P = std::vector<std::pair<std::string, bool>>;  // bytes, complete
    const std::tuple<bool, std::size_t, std::string, P, bool> cas[] = {
        // FANUC line, bound, bytes received, the programs ended, something pending
        {false, 100, std::string("\0\0 \r\n%1\nM2\n\x13", 13), {{"%1\nM2\n", true}}, false},
        {false, 100, "%1\n%\nM2\x13\r\n%2\n\x13%3", {{"%1\n%\nM2", true}, {"%2\n", true}}, true},
        {false, 100, "\x13 \r\n\x13\x11\n", {}, false},
        {true, 100, "%\r\nO1\r\nM30\r\n%\r\n%\nO2\n  %", {{"%\r\nO1\r\nM30\r\n%", true}, {"%\nO2\n  %", true}}, false},
        {true, 100, "O1 (%)\n%", {{"O1 (%)\n%", true}}, false},
        // Past the bound: cut, and the rest, without its beginning, incomplete too.
        {false, 4, "ABCDEFG\x13%1\x13", {{"ABCD", false}, {"EFG", false}, {"%1", true}}, false},
        {false, 4, "ABCDEFGHIJ", {{"ABCD", false}, {"EFGH", false}}, true},
    };
    for (const auto& [fanuc, limite, octets, attendus, pendant] : cas) {
        // Whole, and byte by byte as a slow line delivers them.
        for (const bool parOctet : {false, true}) {
            dnc::Lecture l(fanuc, limite);
            P vus;
            const auto recevoir = [&](std::string_view o) {
                for (auto& p : l.ajouter(o)) vus.emplace_back(p.octets, p.complet);
            };
            if (parOctet)
                for (char c : octets) recevoir(std::string_view(&c, 1));
            else
                recevoir(octets);
            EXPECT_EQ(vus, attendus) << octets << " " << parOctet;
            EXPECT_EQ(l.enCours(), pendant) << octets;
        }
    }
}

// A long program is one whole at the service's own bound; the rest of one
// cut at a bound is a program whatever its first line.
TEST(Lecture, ProgrammeOuBruit)
{
    const std::string longue = "%1\n" + std::string(40 * 1024, 'N') + "\n";
    dnc::Lecture defaut(false);
    const auto lus = defaut.ajouter(longue + "\x13");
    ASSERT_EQ(lus.size(), 1u);
    EXPECT_TRUE(lus[0].complet && lus[0].octets == longue);
    dnc::Lecture courte(false, 4);
    const auto coupes = courte.ajouter("%1\nXY\x13");
    ASSERT_EQ(coupes.size(), 2u);
    EXPECT_TRUE(!coupes[0].suite && coupes[1].suite && coupes[1].octets == "Y");

    const std::pair<const char*, bool> cas[] = {
        {"%", true}, {"%1\nM2", true}, {"O2040 (A)", true}, {"O", false}, {"OX1", false},
        {"o12", false}, {"X", false}, {"N10 G0\n%", false}, {"(A)\nO1", false}, {"", false},
    };
    for (const auto& [octets, programme] : cas) EXPECT_EQ(dnc::estProgramme(octets), programme) << octets;
}

TEST(Demande, NomCourt)
{
    // Looked for on the request's line and the next only, and kept short.
    EXPECT_EQ(dnc::lireDemande("%9999\n\n(PIVOT 20)\n")->nom, "");
    EXPECT_EQ(dnc::lireDemande("%9999\n(" + std::string(500, 'A') + ")\n")->nom.size(), dnc::kDemandeLargeur);
}

class Service : public test::DossierDeTravail {
protected:
    void SetUp() override
    {
        DossierDeTravail::SetUp();
        fs::copy(fs::path(TARVEX_SOURCE_DIR) / "demo" / "data", "data", fs::copy_options::recursive);
    }
};

TEST_F(Service, DemandeEtFicheTrouvee)
{
    const std::tuple<std::string, std::string, std::string, bool> lues[] = {
        // program, its first line, the name, JAUGES
        {"%\r\n %9999 (pivot 20 bras)\r\n", " %9999 (pivot 20 bras)", "pivot 20 bras", false},
        {"%\nO9999\n(Platine  40 jauges )\nM30\n%", "O9999", "Platine  40", true},
        {"%9999\n", "%9999", "", false},
    };
    for (const auto& [programme, premiere, nom, jauges] : lues) {
        const auto d = dnc::lireDemande(programme);
        ASSERT_TRUE(d) << programme;
        EXPECT_EQ(std::tie(d->premiereLigne, d->nom, d->jauges), std::tie(premiere, nom, jauges)) << programme;
    }
    for (const char* autre : {"%99990 (PIVOT 20)\n", "(PIVOT 20)\n%9999\n", "%\n\n"})
        EXPECT_FALSE(dnc::lireDemande(autre)) << autre;

    const Index index = lireIndex().valeur;
    const std::tuple<const char*, std::vector<std::string>, Issue, int> cas[] = {
        {"(PIVOT 20 TRINGLERIE)", {"TOUR 1"}, Issue::Inconnue, -1},
        {"(pivot 30)", {"TOUR T2", " cu 3 axes "}, Issue::Trouvee, 8},
        {"(BOITIER 60)", {"CU 3 AXES"}, Issue::Trouvee, 11},  // Boîtier: a control has no accents
        {"(SUPPORT 30 JAUGES)", {"CU 3 AXES"}, Issue::Trouvee, 3},  // NUM gauges need no program
        {"(MANCHON 20 JAUGES)", {"TOUR T2"}, Issue::SansProgramme, 10},  // FANUC
    };
    for (const auto& [nom, machines, issue, numero] : cas) {
        const auto t = dnc::chercherFiche(*dnc::lireDemande(std::string("%9999 ") + nom), index, machines);
        EXPECT_EQ(std::pair(t.issue, t.numero), std::pair(issue, numero)) << nom;
    }
}

TEST_F(Service, FicheProposeePourUnProgrammeRecu)
{
    // (By number or by comment alone: recus-remplacer.) FLASQUE's number on a second COM2 sheet names none.
    poser("data/GOUPILLE_Phase 50_BRAS_PERCEUSE CN/prog.txt", "%1234\r\nM2\r\n");
    const Index index = lireIndex().valeur;
    const std::vector<std::string> com2 = {"CU 3 AXES", "PERCEUSE CN"}, tour1 = {"TOUR 1"};
    const std::tuple<const char*, std::vector<std::string>, std::optional<std::size_t>> cas[] = {
        {"%\r\nO02020\r\nM30\r\n%", {"FRAISEUSE F4"}, 9},  // O2020 of Levier, leading zero aside
        {" % 120\r\n", tour1, 0},
        {"%120 (AXE 010)\r\n", tour1, 0},                      // the number before the comment
        {"%1234\r\n", tour1, std::nullopt},                     // FLASQUE's number, on another port
        {"%1234 (FLASQUE 10)\r\n", com2, 2},                    // two with that number: the comment
        {"%1234\r\n", com2, std::nullopt},
        {"%\r\n(MANCHON 20)\r\nM30\r\n", {"TOUR T2"}, 10},   // a sheet without a program too
        {"%5 (PIVOT)\r\n", com2, std::nullopt},
    };
    for (const auto& [programme, machines, attendu] : cas)
        EXPECT_EQ(recus::ficheProposee(programme, index, machines), attendu) << programme;
}

TEST_F(Service, UneLigneParPort)
{
    poserMachine("TOUR 9", {{"com.txt", "COM2\r\n9600\r\nE(ven)\r\n7\r\n1\r\n1\r\n3\r\n"}});
    poserMachine("SANS COM");
    fs::remove("data/machine/SANS COM/com.txt");
    poserMachine("TOUR 12", {{"com.txt", "COM12\r\n9600\r\nE(ven)\r\n7\r\n1\r\n1\r\n1\r\n"}});
    std::vector<dnc::NonServie> nonServies;
    const auto l = dnc::lignesDNC(&nonServies);
    ASSERT_EQ(l.problemes.size(), 1u);
    EXPECT_EQ(l.problemes[0].fichier, "data\\machine\\SANS COM\\com.txt");
    // FAGOR and other controls have no row.
    const std::tuple<std::string, std::vector<std::string>, std::string, bool, bool> attendues[] = {
        {"COM1", {"TOUR 1"}, "9600", false, false},
        {"COM2", {"CU 3 AXES", "TOUR 9"}, "4800", true, true},
        {"COM3", {"TOUR T2"}, "4800", false, true},
        {"COM4", {"FRAISEUSE F4"}, "2400", false, true},
    };
    ASSERT_EQ(l.valeur.size(), std::size(attendues));
    // Each machine left out said, in machine.txt order (each reason but this one: service/demandes).
    ASSERT_EQ(nonServies.size(), 6u);
    EXPECT_EQ(nonServies[4].machine + " : " + nonServies[4].raison, "SANS COM : réglages illisibles");
    for (std::size_t i = 0; i < l.valeur.size(); ++i) {
        const dnc::LigneDNC& v = l.valeur[i];
        EXPECT_EQ(std::tie(v.port, v.machines, v.com.vitesse, v.reglagesDifferents, v.fanuc), attendues[i]) << i;
    }
}

TEST(Journal, MesureEtLigne)
{
    EXPECT_EQ(journal::crc32("123456789"), 0xCBF43926u);  // the standard check value
    const std::pair<const char*, long long> lignes[] = {{"", 0}, {"a", 1}, {"a\n", 1}, {"a\nb", 2}, {"\n\n", 2}};
    for (const auto& [o, n] : lignes) EXPECT_EQ(journal::compterLignes(o), n) << o;

    journal::Entree e{"02/01/2024", "03:04:05", "POSTE1", "COM2", {"CU 3 AXES", "TOUR 9"}, "Réception",
                      "ÉCLISSE;1\r\n.txt", 0, 0, "OK", 3, 0};
    journal::mesurer(e, "%1\nM2\n\x13\n");
    EXPECT_EQ(std::tie(e.octets, e.lignes, e.crc), std::tuple(8LL, 3LL, journal::crc32("%1\nM2\n\x13\n")));
    e.crc = 0x0A1B2C3D;
    EXPECT_EQ(journal::ligne(e), "02/01/2024;03:04:05;POSTE1;COM2;CU 3 AXES/TOUR 9;Réception;ÉCLISSE,1??.txt;8;3;OK;3;0A1B2C3D");
}

TEST(Recus, TexteStocke)
{
    const std::pair<std::string, std::string> cas[] = {
        {"a\r\nb\rc\n\nd", "a\r\nb\r\nc\r\n\r\nd\r\n"}, {"a\r\x13\nb\x13\r\n", "a\r\nb\r\n"}, {"\x13", ""}};
    for (const auto& [recu, stocke] : cas) EXPECT_EQ(recus::texteStocke(recu), stocke) << recu;
}

class Fichiers : public test::DossierDeTravail {};

// (Read newest first: the service's rows after a restart, service/demandes.)
TEST_F(Fichiers, JournalAbsentEtAjoutEnPanne)
{
    EXPECT_TRUE(journal::lire().ok());
    EXPECT_TRUE(journal::lire().valeur.empty());
    poser("data/.garde", "");
    journal::Entree a{"02/01/2024", "03:04:05", "POSTE1", "COM2", {"TOUR 1"}, "Envoi fiche", "PIVOT Phase 20 BRAS", 0, 0, "", 0, 0};
    ASSERT_TRUE(journal::ajouter(a).ok());
    test::Panne panne(2);  // the append itself, after the look at how the file ends
    EXPECT_EQ(journal::ajouter(a).problemes.at(0).fichier, journal::kJournal);
}

TEST_F(Fichiers, RecusStockesListesArchives)
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
    EXPECT_FALSE(recus::stocker("COM10", t, "%1", true).ok());

    const auto l = recus::lister();
    ASSERT_EQ(l.valeur.size(), 4u);
    EXPECT_EQ(l.valeur[0].chemin, "data\\recus\\COM2\\20240102-030405-2.txt");  // newest first
    EXPECT_EQ(std::tie(l.valeur[2].premiereLigne, l.valeur[2].lignes, l.valeur[2].port), std::tuple("%12 (A)", 3LL, "COM2"));

    // Archived twice under one name: the second beside the first, nothing lost.
    const std::string premier = l.valeur[2].chemin;
    ASSERT_TRUE(recus::archiver(premier).ok());
    EXPECT_EQ(recus::stocker("COM2", t, "%16", true).valeur, premier);
    ASSERT_TRUE(recus::archiver(premier).ok());
    EXPECT_EQ(contenu("data/archives/recus/COM2/20240102-030405.txt"), "%\r\n%12 (A)\r\nM2\r\n");
    EXPECT_EQ(contenu("data/archives/recus/COM2/20240102-030405-2.txt"), "%16\r\n");
    EXPECT_FALSE(recus::archiver("data\\PIVOT_Phase 20_BRAS_TOUR 1\\prog.txt").ok());

    // The sheets a program replaced show in its row, until it is archived:
    // a later program of the same name has replaced nothing.
    const std::string deuxieme = "data\\recus\\COM2\\20240102-030405-2.txt";
    ASSERT_TRUE(recus::noterRemplacement(deuxieme, "PIVOT Phase 30 BRAS").ok());
    ASSERT_TRUE(recus::noterRemplacement(deuxieme, "Boîtier Phase 60 Bâti").ok());
    EXPECT_EQ(contenu("data/recus/COM2/remplacements.txt"),
              "20240102-030405-2.txt;PIVOT Phase 30 BRAS\r\n20240102-030405-2.txt;Bo\xeetier Phase 60 B\xe2ti\r\n");
    const auto avec = recus::lister().valeur;
    ASSERT_EQ(avec.size(), 3u);
    EXPECT_EQ(avec[0].fiches, (std::vector<std::string>{"PIVOT Phase 30 BRAS", "Boîtier Phase 60 Bâti"}));
    EXPECT_EQ(recus::chemins(), (std::vector<std::string>{avec[0].chemin, avec[1].chemin, avec[2].chemin}));
    ASSERT_TRUE(recus::archiver(deuxieme).ok());
    EXPECT_FALSE(present("data/recus/COM2/remplacements.txt"));
    recus::stocker("COM2", t, "%17", true);
    EXPECT_EQ(recus::stocker("COM2", t, "%18", true).valeur, deuxieme);
    EXPECT_TRUE(recus::lister().valeur.at(0).fiches.empty());
}

}  // namespace
}  // namespace tarvex
