// The machine report's and the in-use check's rules the scenarios do not walk
// one by one: forbidden names, unreadable lists or index, records cut short.

#include "machines/ecriture.h"

#include "support.h"

#include <array>
#include <tuple>

namespace tarvex::machines {
namespace {

const std::string kInterdits = "   (_/\\:;,*?<>)...Caractères interdits !";

SaisieMachine saisie(std::string nom)
{
    return {std::move(nom), 2, "Fraiseuse CN", 3, "Type FANUC (Origine/Jauges)", "COM2", "4800", "N(one)", "8", "1",
            "data\\pasdimage.jpg", ""};
}

class GestionMachines : public test::DossierDeTravail {
protected:
    void SetUp() override
    {
        DossierDeTravail::SetUp(), std::filesystem::create_directories("data/machine");
        poser("data/pasdimage.jpg", "JPEG pas d'image"), poser("data/machine.txt", "TOUR 1\r\n  fraiseuse \r\nFRAISEUSE\r\n");
    }
};

TEST_F(GestionMachines, NomsRefuses)
{
    const std::string vide = "  Nom de la machine non saisi ou vide !";
    const std::pair<std::string, std::string> cas[] = {
        {"", vide},           {"   ", vide},         {"TOUR_", kInterdits}, {"A/B", kInterdits},
        {"C:\\TOUR", kInterdits}, {"TOUR;1", kInterdits}, {"A,B", kInterdits},  {"PIECE?", kInterdits},
        {"<T>", kInterdits},  {"*", kInterdits},     {".", kInterdits},     {" .. ", kInterdits},
        {"...", kInterdits},  {"TOUR \"1\"", kInterdits}, {"TOUR\t1", kInterdits}, {"Łódź", kInterdits},
    };
    for (const auto& [nom, ligne] : cas) {
        const BilanMachine b = analyserMachine(saisie(nom));
        EXPECT_FALSE(b.accepte) << nom;
        ASSERT_GE(b.lignes.size(), 2u);
        EXPECT_EQ(b.lignes[1], ligne) << nom;
        EXPECT_TRUE(b.alertes.empty()) << nom;
    }
    // Accents Windows-1252 holds, and dots inside a name, are fine.
    for (const char* nom : {"Fraiseuse Réalméca", "Œuvre", "T.1"}) EXPECT_TRUE(analyserMachine(saisie(nom)).accepte) << nom;
}

TEST_F(GestionMachines, ReglagesQueLaLiaisonPrend)
{
    // Port, speed, parity, data bits, stop bits: the first two accepted (a speed beyond the list is fine).
    const std::array<std::string, 5> cas[] = {
        {"COM2", "19200", "odd", "7", "2"},    {" com9 ", "300", "N(one)", "8", "1"}, {"COM10", "4800", "E", "7", "2"},
        {"COM2", "96.5", "E(ven)", "7", "2"},  {"COM2", "4800", "E,ven", "7", "2"},   {"COM2", "4800", "Mark", "7", "2"},
        {"COM2", "4800", "E(ven)", "9", "1"},  {"COM2", "4800", "E(ven)", "6", "1.5"}};
    for (std::size_t i = 0; i < std::size(cas); ++i) {
        SaisieMachine m = saisie("TOUR 9");
        std::tie(m.port, m.vitesse, m.parite, m.bits, m.arret) = std::tie(cas[i][0], cas[i][1], cas[i][2], cas[i][3], cas[i][4]);
        EXPECT_EQ(analyserMachine(m).accepte, i < 2) << cas[i][0] << " " << cas[i][1] << " " << cas[i][2];
    }
}

TEST_F(GestionMachines, ListeAbsenteOuIllisible)
{
    std::filesystem::remove("data/machine.txt");
    EXPECT_TRUE(analyserMachine(saisie("TOUR 1")).accepte);
    std::filesystem::create_directories("data/machine.txt");  // there, but not a file one can read
    const BilanMachine b = analyserMachine(saisie("TOUR 9"));
    EXPECT_FALSE(b.accepte);
    EXPECT_EQ(b.lignes[3], "  data\\machine.txt : fichier illisible, le nom ne peut être vérifié !");
}

TEST_F(GestionMachines, MachineUtilisee)
{
    const std::string drapeaux = ",O,N,N,N,N,N,N,N,N,N,N\r\n";
    poser("data/data.txt", "AXE,10,TOUR 1,BRAS,ACIER" + drapeaux + "CAME,20, FRAISEUSE ,BRAS,ACIER" + drapeaux +
                               "PION,40,\" Tour 2\",BRAS,ACIER" + drapeaux + "DOIGT,30,Fraiseuse R\xE9\x61lm\xE9\x63\x61");
    struct Cas { const char* nom; bool utilisee; } cas[] = {{"TOUR 1", true}, {"FRAISEUSE", true}, {"tour 1", true}, {"BRAS", false},
               {"FRAISEUSE RÉALMÉCA", true}, {"TOUR 2", true}, {"TOUR 3", false}};
    for (const auto& c : cas) {
        const auto r = machineUtilisee(c.nom);
        EXPECT_TRUE(r.ok()) << c.nom;
        EXPECT_EQ(r.valeur, c.utilisee) << c.nom;
    }
    // (An index that cannot be read: the machines/suppression scenario.)
    std::filesystem::remove("data/data.txt");
    EXPECT_FALSE(machineUtilisee("TOUR 1").valeur);
}

}  // namespace
}  // namespace tarvex::machines
