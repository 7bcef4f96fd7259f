#include "service/demande.h"
#include "service/lecture.h"
#include "service/lignes.h"

#include "support.h"

#include <filesystem>
#include <fstream>
#include <iterator>

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
    dnc::Lecture l(false);
    l.ajouter("%1\nM");
    const auto coupe = l.couper();
    ASSERT_TRUE(coupe);
    EXPECT_EQ(coupe->octets, "%1\nM");
    EXPECT_FALSE(coupe->complet);
    l.ajouter(" \r\n");
    EXPECT_FALSE(l.couper());
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
    for (const char* autre : {"%99990 (PIVOT 20)\n", "%1234 (PIVOT 20)\n", "(PIVOT 20)\n%9999\n", "%\n\n"})
        EXPECT_FALSE(dnc::lireDemande(autre)) << autre;

    poserFiche("PIVOT,20,TOUR 1,CARTER,ACIER,O,O,N,O,N,N,N,N,N,O,O");  // record 13
    const Index index = lireIndex().valeur;
    const std::tuple<const char*, std::vector<std::string>, Issue, int> cas[] = {
        {"(PIVOT 20)", {"TOUR 1"}, Issue::Plusieurs, -1},
        {"(pivot phase 20 bras)", {"TOUR 1"}, Issue::Trouvee, 0},
        {"(PIVOT  20   Carter)", {"TOUR T2", "TOUR 1"}, Issue::Trouvee, 13},
        {"(PIVOT 20 TRINGLERIE)", {"TOUR 1"}, Issue::Inconnue, -1},
        {"(PIVOT 20)", {"CU 3 AXES"}, Issue::Inconnue, -1},  // another port's machine
        {"(pivot 30)", {" cu 3 axes "}, Issue::Trouvee, 8},
        {"(BOITIER 60)", {"CU 3 AXES"}, Issue::Trouvee, 11},
        {"(SUPPORT 30)", {"CU 3 AXES"}, Issue::SansProgramme, 3},
        {"(SUPPORT 30 JAUGES)", {"CU 3 AXES"}, Issue::Trouvee, 3},  // NUM gauges need no program
        {"(MANCHON 20 JAUGES)", {"TOUR T2"}, Issue::SansProgramme, 10},  // FANUC
    };
    for (const auto& [nom, machines, issue, numero] : cas) {
        const auto t = dnc::chercherFiche(*dnc::lireDemande(std::string("%9999 ") + nom), index, machines);
        EXPECT_EQ(std::pair(t.issue, t.numero), std::pair(issue, numero)) << nom;
    }
    EXPECT_EQ(dnc::reponse(*dnc::lireDemande("%9999 (PIVOT 20)\r\n"), Issue::Plusieurs),
              "%9999 (PIVOT 20)\n(TARVEX - PLUSIEURS FICHES - PRECISER L ENSEMBLE)\n\x13\n");
    EXPECT_EQ(dnc::nomFiche(index.enregistrements[0]), "PIVOT Phase 20 BRAS");
}

// The bytes a manual Charger sends for these sheets (the charger-demo scenario's).
TEST_F(Service, MemesOctetsQueCharger)
{
    const std::tuple<int, bool, const char*> cas[] = {
        {0, false, "pivot-20"}, {2, false, "flasque-10"}, {1, true, "axe-010-jauges"},
        {8, true, "pivot-30-jauges"}, {5, false, "platine-40"},
    };
    for (const auto& [numero, jauges, attendu] : cas) {
        const auto fiche = lireFicheAffichee(numero).valeur;
        ASSERT_TRUE(fiche) << attendu;
        std::ifstream f(fs::path(TARVEX_SOURCE_DIR) / "tests/scenarios/cnc/attendus" / (std::string(attendu) + ".txt"),
                        std::ios::binary);
        const std::string octets((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        EXPECT_EQ(transfertFiche(dnc::demandeDeFiche(*fiche, jauges)).texte(), octets) << attendu;
    }
}

TEST_F(Service, UneLigneParPort)
{
    poserMachine("TOUR 9", {{"com.txt", "COM2\r\n9600\r\nE(ven)\r\n7\r\n1\r\n1\r\n3\r\n"}});
    poserMachine("SANS COM");
    fs::remove("data/machine/SANS COM/com.txt");
    const auto l = dnc::lignesDNC();
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
    for (std::size_t i = 0; i < l.valeur.size(); ++i) {
        const dnc::LigneDNC& v = l.valeur[i];
        EXPECT_EQ(std::tie(v.port, v.machines, v.com.vitesse, v.reglagesDifferents, v.fanuc), attendues[i]) << i;
        EXPECT_EQ(v.numero, static_cast<int>(i) + 1);
    }
}

}  // namespace
}  // namespace tarvex
