#include "store/machines.h"

#include "support.h"

namespace tarvex {
namespace {

using Noms = std::vector<std::string>;

const ParamCom kTourNum{"COM1", "9600", "E(ven)", "7", "2", "1", "1"};
const ParamCom kFraiseuseAutre{"COM2", "4800", "N(one)", "8", "1", "2", "10"};
const std::string kComTourNum = test::kComTourNum;

class Machines : public test::DossierDeTravail {
protected:
    void SetUp() override
    {
        DossierDeTravail::SetUp(), std::filesystem::create_directories("data/machine");
        poser("data/pasdimage.jpg", "JPEG pas d'image"), poser("photo.jpg", "JPEG photo"), poser("notice.txt", "Notice, broche 12000 tr/min\r\n");
    }
};

TEST_F(Machines, LireLaListeEtCom)
{
    // (Absent or empty: creation/formulaire.)
    const std::tuple<const char*, std::optional<std::string>, Noms> listes[] = {
        {"blancs autour et lignes vides", "  TOUR 1 \r\n\r\n\tFRAISEUSE\r\n\r\n", {"TOUR 1", "FRAISEUSE"}},
        {"virgule", "A,B\r\n", {"A", "B"}},
        {"guillemets", "\"A,B\"\r\n\"\"\r\n", {"A,B"}},
        {"accents", "Fraiseuse R\xE9\x61lm\xE9\x63\x61\r\n", {"Fraiseuse Réalméca"}},
    };
    for (const auto& [nom, octets, attendu] : listes) {
        std::filesystem::remove("data/machine.txt");
        if (octets) poser("data/machine.txt", *octets);
        const auto lu = lireListeMachines();
        EXPECT_TRUE(lu.ok() && lu.valeur == attendu) << nom;
    }

    const std::tuple<const char*, std::string, ParamCom, std::string> coms[] = {
        {"tour NUM", kComTourNum, kTourNum, ""},
        {"la dernière série l'emporte", kComTourNum + "COM2\r\n4800\r\nN(one)\r\n8\r\n1\r\n2\r\n10\r\n", kFraiseuseAutre, ""},
        {"lignes vides à la fin", kComTourNum + "\r\n\r\n", kTourNum, ""},
        {"trois lignes", "COM1\r\n9600\r\nE(ven)\r\n", {"COM1", "9600", "E(ven)", "", "", "", ""}, "3 lignes au lieu de 7"},
        {"une ligne", "COM3\r\n", {"COM3", "", "", "", "", "", ""}, "1 ligne au lieu de 7"},
        {"vide", "", {}, "le fichier est vide (il faut 7 lignes)"},
        {"série suivante incomplète", kComTourNum + "COM4\r\n", {"COM4", "9600", "E(ven)", "7", "2", "1", "1"},
         "1 ligne au lieu de 7"},
    };
    for (const auto& [nom, octets, attendu, probleme] : coms) {
        poser("data/machine/TOUR 1/com.txt", octets);
        const auto lu = lirecom(" TOUR 1 ");  // as a record holds it: blanks dropped for the lookup
        EXPECT_EQ(lu.valeur, attendu) << nom;
        EXPECT_EQ(joindreProblemes(lu.problemes), probleme.empty() ? "" : "data\\machine\\TOUR 1\\com.txt : " + probleme)
            << nom;
    }
    std::filesystem::remove("data/machine/TOUR 1/com.txt");
    const std::pair<const char*, std::string> absents[] = {
        {"TOUR 1", "data\\machine\\TOUR 1\\com.txt : fichier introuvable ou illisible"},
        {"TOUR 9", "data\\machine\\TOUR 9\\com.txt : le dossier de la machine est introuvable"},
        {"..", "data\\machine\\..\\com.txt : nom de machine invalide"},
        {"../../x", "data\\machine\\../../x\\com.txt : nom de machine invalide"},
    };
    for (const auto& [machine, texte] : absents) EXPECT_EQ(joindreProblemes(lirecom(machine).problemes), texte);
}

TEST_F(Machines, EcrireUneMachine)
{
    // (The three files of a machine: the machines/creer scenario.) The list in Windows-1252.
    ASSERT_TRUE(ecrireMachine({"TOUR 1", "data\\pasdimage.jpg", std::nullopt, kTourNum}).ok());
    ASSERT_TRUE(ecrireMachine({"Fraiseuse Réalméca", "photo.jpg", "notice.txt", kFraiseuseAutre}).ok());
    EXPECT_EQ(contenu("data/machine.txt"), "TOUR 1\r\nFraiseuse R\xE9\x61lm\xE9\x63\x61\r\n");
    EXPECT_EQ(lirecom("Fraiseuse Réalméca").valeur, kFraiseuseAutre);
    EXPECT_FALSE(present("data/machinetemp.txt"));

    // Blanks around the name would give a folder no reader finds.
    poser("data/machine.txt", "TOUR 1");  // no final line end
    ASSERT_TRUE(ecrireMachine({"  TOUR 2 ", "photo.jpg", std::nullopt, kTourNum}).ok());
    EXPECT_EQ(contenu("data/machine.txt"), "TOUR 1\r\nTOUR 2\r\n");
    EXPECT_EQ(lirecom("TOUR 2").valeur, kTourNum);

    // Names that would leave data\machine are refused before anything is written.
    const auto avant = instantane();
    for (const char* nom : {"..", ".", "", "   ", "../TOUR", "a\\b", "C:"}) {
        EXPECT_FALSE(ecrireMachine({nom, "photo.jpg", std::nullopt, kTourNum}).ok()) << nom;
        EXPECT_EQ(instantane(), avant) << nom;
    }
    EXPECT_FALSE(present("data/TOUR"));

    // A picture that is not there: the list does not name the machine.
    const auto r = ecrireMachine({"TOUR 3", "absente.jpg", std::nullopt, kTourNum});
    EXPECT_EQ(joindreProblemes(r.problemes), "absente.jpg : fichier introuvable");
    EXPECT_EQ(contenu("data/machine.txt"), "TOUR 1\r\nTOUR 2\r\n");

    // Without data\machine.
    std::filesystem::remove_all("data/machine");
    std::filesystem::remove("data/machine.txt");
    EXPECT_EQ(ecrireMachine({"TOUR 1", "photo.jpg", std::nullopt, kTourNum}).problemes.at(0).fichier, "data\\machine\\TOUR 1");
    EXPECT_FALSE(present("data/machine.txt"));
}

TEST_F(Machines, RetirerDeLaListe)
{
    const std::string liste = "TOUR 1\r\nFRAISEUSE\r\nTOUR 2\r\n";
    const std::tuple<const char*, std::string, std::string, std::string> cas[] = {
        {"première", liste, "TOUR 1", "FRAISEUSE\r\nTOUR 2\r\n"},
        {"dernière", liste, "TOUR 2", "TOUR 1\r\nFRAISEUSE\r\n"},
        {"la casse compte", liste, "tour 1", liste},
        {"deux fois le même nom", "A\r\nB\r\nA\r\n", "A", "B\r\n"},
        {"blancs et lignes vides", "  A \r\n\r\nB\n", "A", "B\r\n"},
        {"guillemets gardés", "\"X,Y\"\r\nA\r\n", "A", "\"X,Y\"\r\n"},
        {"accents", "Fraiseuse R\xE9\x61lm\xE9\x63\x61\r\nA\r\n", "Fraiseuse Réalméca", "A\r\n"},
    };
    // (A middle one and the last one: the machines/suppression scenario.)
    for (const auto& [nom, avant, retire, apres] : cas) {
        poser("data/machine.txt", avant);
        const auto r = retirerMachineDeListe(retire);
        EXPECT_TRUE(r.ok()) << nom << " : " << joindreProblemes(r.problemes);
        EXPECT_EQ(contenu("data/machine.txt"), apres) << nom;
        EXPECT_FALSE(present("data/machinetemp.txt")) << nom;
    }
    std::filesystem::remove("data/machine.txt");
    EXPECT_FALSE(retirerMachineDeListe("A").ok());
    EXPECT_FALSE(present("data/machine.txt"));
}

TEST_F(Machines, SupprimerLeDossier)
{
    // (A folder removed, and one kept for a file of its own: the machines/suppression scenario.)
    for (const char* nom : {"..", "", "."}) EXPECT_FALSE(supprimerDossierMachine(nom).ok()) << nom;
    EXPECT_TRUE(present("data/machine"));
}

}  // namespace
}  // namespace tarvex
