#include "machines/ecriture.h"

#include "store/fichiers.h"

#include "support.h"

#include <gtest/gtest.h>

namespace tarvex::machines {
namespace {

using Lignes = std::vector<std::string>;

const std::string kInterdits = "   (_/\\:;,*?<>)...Caractères interdits !";

SaisieMachine saisie(std::string nom)
{
    SaisieMachine s;
    s.nom = std::move(nom);
    s.type = 2;
    s.libelleType = "Fraiseuse CN";
    s.directeur = 3;
    s.libelleDirecteur = "Type FANUC (Origine/Jauges)";
    s.port = "COM2";
    s.vitesse = "4800";
    s.parite = "N(one)";
    s.bits = "8";
    s.arret = "1";
    s.image = "data\\pasdimage.jpg";
    return s;
}

const Lignes kFinCommunication = {"Analyse Paramètres de communication ... ", "  Port : COM2", "  Vitesse : 4800",
                                  "  Parité : N(one)", "  Nombre de bits : 8", "  Bits d'arrêt : 1"};

Lignes avecFin(Lignes debut)
{
    debut.insert(debut.end(), kFinCommunication.begin(), kFinCommunication.end());
    return debut;
}

class GestionMachines : public test::DossierDeTravail {
protected:
    void SetUp() override
    {
        DossierDeTravail::SetUp();
        std::filesystem::create_directories("data/machine");
        poser("data/pasdimage.jpg", "JPEG pas d'image");
        poser("data/machine.txt", "TOUR 1\r\n  fraiseuse \r\nFRAISEUSE\r\n");
    }
};

TEST_F(GestionMachines, BilanComplet)
{
    const BilanMachine b = analyserMachine(saisie(" Centre 5 axes "));
    EXPECT_TRUE(b.accepte);
    EXPECT_TRUE(b.alertes.empty());
    EXPECT_EQ(b.lignes, avecFin({"Analyse Nom de Machine ... ", "   Centre 5 axes  ... Saisie effectuée", " ",
                                 "Analyse Type de Machine ... ", "  Fraiseuse CN ... Cohérent", " ",
                                 "Analyse Type de Directeur de Commande ... ",
                                 "  Type FANUC (Origine/Jauges) ... Cohérent", " "}));
}

TEST_F(GestionMachines, BilanToutRefuse)
{
    // An untouched window, and a list that holds the name twice (letter case
    // and blanks aside): a message and three lines for each.
    SaisieMachine s = saisie("Nom à compléter");
    s.type = 0;
    s.directeur = 0;
    BilanMachine b = analyserMachine(s);
    EXPECT_FALSE(b.accepte);
    EXPECT_EQ(b.alertes, (std::vector<Alerte>{{"Absence Choix du Type de machine !", "Type Machine"},
                                             {"Absence Choix du Directeur de Commande !",
                                              "Type Directeur de Commande"}}));
    EXPECT_EQ(b.lignes, avecFin({"Analyse Nom de Machine ... ", "  Nom de la machine non saisi ou vide !", " ",
                                 "Analyse Type de Machine ... ", "  Type de machine non coché !", " ",
                                 "Analyse Type de Directeur de Commande ... ", "  Directeur de Commande non coché !",
                                 " "}));

    b = analyserMachine(saisie("Fraiseuse  "));
    EXPECT_FALSE(b.accepte);
    const Alerte deja{"Nom de machine déjà utilisé !", "Nom de Machine"};
    EXPECT_EQ(b.alertes, (std::vector<Alerte>{deja, deja}));
    const Lignes debut(b.lignes.begin(), b.lignes.begin() + 9);
    EXPECT_EQ(debut, (Lignes{"Analyse Nom de Machine ... ", "  Fraiseuse   ... Saisie effectuée", " ",
                             "  Le nom de la machine est déjà utilisé !", "  Modifier le nom de la machine SVP ...",
                             "  ", "  Le nom de la machine est déjà utilisé !",
                             "  Modifier le nom de la machine SVP ...", "  "}));
}

TEST_F(GestionMachines, NomsRefuses)
{
    struct Cas {
        std::string nom;
        std::string ligne;
    };
    const std::vector<Cas> cas = {
        {"", "  Nom de la machine non saisi ou vide !"},
        {"   ", "  Nom de la machine non saisi ou vide !"},
        {"TOUR_", kInterdits},
        {"A/B", kInterdits},
        {"C:\\TOUR", kInterdits},
        {"TOUR;1", kInterdits},
        {"A,B", kInterdits},
        {"PIECE?", kInterdits},
        {"<T>", kInterdits},
        {"*", kInterdits},
        {".", kInterdits},
        {" .. ", kInterdits},
        {"...", kInterdits},
        {"TOUR \"1\"", kInterdits},
        {"TOUR\t1", kInterdits},
        {"Łódź", kInterdits},
    };
    for (const auto& c : cas) {
        const BilanMachine b = analyserMachine(saisie(c.nom));
        EXPECT_FALSE(b.accepte) << c.nom;
        ASSERT_GE(b.lignes.size(), 2u);
        EXPECT_EQ(b.lignes[1], c.ligne) << c.nom;
        EXPECT_TRUE(b.alertes.empty()) << c.nom;
    }
    // Accents Windows-1252 holds, and dots inside a name, are fine.
    for (const char* nom : {"Fraiseuse Réalméca", "Œuvre", "T.1"}) EXPECT_TRUE(analyserMachine(saisie(nom)).accepte) << nom;
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

TEST_F(GestionMachines, EcritureDesEntrees)
{
    // Milling with FANUC, no machine file: com.txt ends with 2 and 3, the
    // file says there is none, the name is stored without its blanks.
    SaisieMachine s = saisie("  CU 2 ");
    ASSERT_TRUE(ecrireMachine(nouvelleMachine(s)).ok());
    EXPECT_EQ(contenu("data/machine/CU 2/com.txt"), "COM2\r\n4800\r\nN(one)\r\n8\r\n1\r\n2\r\n3\r\n");
    EXPECT_EQ(contenu("data/machine/CU 2/dossier.txt"), "Pas de dossier machine\r\n");
    EXPECT_EQ(contenu("data/machine/CU 2/image.jpg"), "JPEG pas d'image");
    EXPECT_EQ(contenu("data/machine.txt"), "TOUR 1\r\n  fraiseuse \r\nFRAISEUSE\r\nCU 2\r\n");

    // Turning with another CNC and a machine file.
    poser("notice.dmo", "Broche, 12000\r\n");
    s = saisie("TOUR 3");
    s.type = 1;
    s.directeur = 10;
    s.dossier = "notice.dmo";
    ASSERT_TRUE(ecrireMachine(nouvelleMachine(s)).ok());
    EXPECT_EQ(contenu("data/machine/TOUR 3/com.txt"), "COM2\r\n4800\r\nN(one)\r\n8\r\n1\r\n1\r\n10\r\n");
    EXPECT_EQ(contenu("data/machine/TOUR 3/dossier.txt"), "Broche, 12000\r\n");
}

TEST_F(GestionMachines, MachineUtilisee)
{
    const std::string drapeaux = ",O,N,N,N,N,N,N,N,N,N,N\r\n";
    poser("data/data.txt", "AXE,10,TOUR 1,BRAS,ACIER" + drapeaux + "CAME,20, FRAISEUSE ,BRAS,ACIER" + drapeaux +
                               "DOIGT,30,Fraiseuse R\xE9\x61lm\xE9\x63\x61");
    struct Cas {
        const char* nom;
        bool utilisee;
    } cas[] = {{"TOUR 1", true}, {"FRAISEUSE", true}, {"tour 1", false}, {"BRAS", false},
               {"Fraiseuse Réalméca", true}, {"TOUR 2", false}};
    for (const auto& c : cas) {
        const auto r = machineUtilisee(c.nom);
        EXPECT_TRUE(r.ok()) << c.nom;
        EXPECT_EQ(r.valeur, c.utilisee) << c.nom;
    }
    std::filesystem::remove("data/data.txt");
    EXPECT_FALSE(machineUtilisee("TOUR 1").valeur);
    std::filesystem::create_directories("data/data.txt");
    const auto r = machineUtilisee("TOUR 1");
    EXPECT_TRUE(r.valeur);
    EXPECT_FALSE(r.ok());
}

TEST_F(GestionMachines, Effacer)
{
    poser("data/machine.txt", "TOUR 1\r\nFRAISEUSE\r\n TOUR 2 \r\n");
    for (const char* m : {"TOUR 1", "FRAISEUSE"}) {
        poser(std::string("data/machine/") + m + "/com.txt", "COM1\r\n");
        poser(std::string("data/machine/") + m + "/image.jpg", "JPEG");
        poser(std::string("data/machine/") + m + "/dossier.txt", "x\r\n");
    }
    EXPECT_TRUE(machineListee("FRAISEUSE"));
    EXPECT_FALSE(machineListee("TOUR"));
    EXPECT_FALSE(machineListee("tour 1"));

    // The list is rewritten before the files go, and the caller runs between.
    bool appele = false;
    ASSERT_TRUE(effacerMachine("TOUR 1", [&] {
                    appele = true;
                    EXPECT_EQ(contenu("data/machine.txt"), "FRAISEUSE\r\nTOUR 2\r\n");
                    EXPECT_TRUE(present("data/machine/TOUR 1/com.txt"));
                }).ok());
    EXPECT_TRUE(appele);
    EXPECT_FALSE(present("data/machine/TOUR 1"));
    EXPECT_TRUE(present("data/machine/FRAISEUSE/com.txt"));

    // A folder holding another file cannot go: reported, naming it.
    poser("data/machine/FRAISEUSE/notes.txt", "x");
    const Resultat r = effacerMachine("FRAISEUSE");
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.problemes[0].fichier, "data\\machine\\FRAISEUSE");
    EXPECT_EQ(contenu("data/machine.txt"), "TOUR 2\r\n");

    // A machine whose folder is gone leaves the list all the same; the last
    // one leaves no list.
    EXPECT_TRUE(effacerMachine("TOUR 2").ok());
    EXPECT_FALSE(present("data/machine.txt"));
}

}  // namespace
}  // namespace tarvex::machines
