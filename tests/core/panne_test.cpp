// Every storing operation is stopped at each of its file operations in turn,
// as a full disk or a stop of the machine would stop it. Whatever the step,
// the index and the machine list must read back as before or as after, the
// other sheets and machines must be untouched, and running the operation
// again must finish the job.

#include "machines/ecriture.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/machines.h"

#include "support.h"

#include <gtest/gtest.h>

#include <functional>

namespace tarvex {
namespace {

using Instantane = std::map<std::string, std::string>;

const std::string kDrapeaux = ",O,O,N,O,N,N,N,N,N,O,O\r\n";
const std::string kIndexInitial = "AXE,10,TOUR 1,BRAS,ACIER" + kDrapeaux + "BAGUE,20,FRAISEUSE,BRAS,BRONZE" +
                                  kDrapeaux + "CAME,30,TOUR 1,BRAS,ACIER" + kDrapeaux;
const std::string kListeInitiale = "TOUR 1\r\nFRAISEUSE\r\nTOUR 2\r\n";

// Files an interrupted operation may leave beside the data, which the next
// run of the operation discards or overwrites.
bool restePermis(const std::string& chemin)
{
    return chemin == "data/data.tmp" || chemin == "data/machinetemp.txt" ||
           (chemin.size() > 5 && chemin.compare(chemin.size() - 5, 5, ".~tvx") == 0);
}

class Pannes : public test::DossierDeTravail {
protected:
    static void preparer()
    {
        std::filesystem::remove_all("data");
        poser("data/data.txt", kIndexInitial);
        for (const char* fiche : {"AXE_Phase 10_BRAS_TOUR 1", "BAGUE_Phase 20_BRAS_FRAISEUSE", "CAME_Phase 30_BRAS_TOUR 1"}) {
            const std::string d = std::string("data/") + fiche + "/";
            poser(d + "Vue.jpg", std::string("JPEG ") + fiche);
            poser(d + "prog.txt", "%1\r\n(EBAUCHE)\r\nN10 G0 X0\r\n");
            poser(d + "pref.txt", "1\r\n2\r\n3\r\n4\r\n");
            poser(d + "jauge.txt", "T1\r\nT2\r\n");
        }
        poser("data/machine.txt", kListeInitiale);
        for (const char* m : {"TOUR 1", "FRAISEUSE", "TOUR 2"}) {
            const std::string d = std::string("data/machine/") + m + "/";
            poser(d + "com.txt", "COM1\r\n9600\r\nE(ven)\r\n7\r\n2\r\n1\r\n1\r\n");
            poser(d + "image.jpg", std::string("JPEG ") + m);
            poser(d + "dossier.txt", "Pas de dossier machine\r\n");
        }
        poser("data/code.tvx", "SECRET\r\n");
        poser("data/pasdimage.jpg", "JPEG pas d'image");
        poser("photo.jpg", "JPEG photo");
    }

    static Instantane sansRestes(Instantane i)
    {
        std::erase_if(i, [](const auto& e) { return restePermis(e.first); });
        return i;
    }

    // `nouveau` is a folder the operation makes or removes (a machine): it
    // may be left half made or half emptied, but nothing else may differ.
    void verifier(const std::function<Resultat()>& operation, const std::function<void()>& preparation,
                  const std::string& nouveau = "")
    {
        preparation();
        const Instantane avant = instantane();
        fichiers::panneA(0);
        const Resultat propre = operation();
        ASSERT_TRUE(propre.ok()) << joindreProblemes(propre.problemes);
        const Instantane apres = instantane();
        ASSERT_NE(apres, avant);

        bool termine = false;
        for (int n = 1; n < 100 && !termine; ++n) {
            SCOPED_TRACE("panne à l'opération " + std::to_string(n));
            preparation();
            fichiers::panneA(n);
            const Resultat r = operation();
            const int faites = fichiers::operationsDepuisPanne();
            fichiers::panneA(0);
            termine = faites < n;
            if (termine) {
                EXPECT_TRUE(r.ok()) << joindreProblemes(r.problemes);
                EXPECT_EQ(instantane(), apres);
                break;
            }
            if (r.ok()) {
                // Only a read of a file that is not there anyway may fail
                // unnoticed: the outcome must then be the normal one.
                EXPECT_EQ(instantane(), apres);
                continue;
            }
            for (const auto& p : r.problemes) EXPECT_FALSE(p.fichier.empty());

            const Instantane milieu = instantane();
            ASSERT_TRUE(milieu.count("data/data.txt"));
            for (const char* f : {"data/data.txt", "data/machine.txt"}) {
                const std::string c = milieu.count(f) ? milieu.at(f) : "<absent>";
                const std::string a = avant.count(f) ? avant.at(f) : "<absent>";
                const std::string b = apres.count(f) ? apres.at(f) : "<absent>";
                EXPECT_TRUE(c == a || c == b) << f << " :\n" << c;
            }
            for (const auto& [chemin, octets] : sansRestes(milieu)) {
                if (chemin == "data/data.txt" || chemin == "data/machine.txt") continue;
                if (!nouveau.empty() && chemin.rfind(nouveau, 0) == 0) {
                    if (apres.count(chemin)) {
                        EXPECT_EQ(octets, apres.at(chemin)) << chemin;
                    }
                    continue;
                }
                EXPECT_TRUE(avant.count(chemin) && avant.at(chemin) == octets) << chemin << " changé";
            }
            for (const auto& [chemin, octets] : avant) {
                if (!restePermis(chemin) && (nouveau.empty() || chemin.rfind(nouveau, 0) != 0)) {
                    EXPECT_TRUE(milieu.count(chemin)) << chemin << " perdu";
                }
            }

            // Run again after the failure: it completes what was left.
            const Resultat reprise = operation();
            EXPECT_TRUE(reprise.ok()) << joindreProblemes(reprise.problemes);
            EXPECT_EQ(instantane(), apres);
        }
        EXPECT_TRUE(termine) << "l'opération n'a jamais abouti";
    }
};

TEST_F(Pannes, ReecritureDeLIndexSuppression)
{
    verifier([] { return reecrireindex("BAGUE_Phase 20_BRAS_FRAISEUSE\\", std::nullopt); }, preparer);
}

TEST_F(Pannes, ReecritureDeLIndexModification)
{
    verifier(
        [] {
            return reecrireindex("BAGUE_Phase 20_BRAS_FRAISEUSE\\",
                                 "BAGUE,20,FRAISEUSE,BRAS,LAITON,O,N,N,N,N,N,N,N,N,N,N");
        },
        preparer);
}

TEST_F(Pannes, ReecritureDeLIndexAvecUnDataTmpLaisse)
{
    verifier([] { return reecrireindex("AXE_Phase 10_BRAS_TOUR 1\\", std::nullopt); },
             [] {
                 preparer();
                 poser("data/data.tmp", "AXE,10,TOUR 1,BRAS,ACIER" + kDrapeaux);
             });
}

TEST_F(Pannes, AjoutDUnEnregistrement)
{
    verifier([] { return ajouterEnregistrement("DOIGT,40,TOUR 2,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,N"); }, preparer);
}

TEST_F(Pannes, RetraitDUneMachineDeLaListe)
{
    verifier([] { return retirerMachineDeListe("TOUR 2"); }, preparer);
}

TEST_F(Pannes, RetraitDeLaDerniereMachine)
{
    verifier([] { return retirerMachineDeListe("TOUR 1"); },
             [] {
                 preparer();
                 poser("data/machine.txt", "TOUR 1\r\n");
             });
    EXPECT_EQ(contenu("data/machine.txt"), "<absent>");
}

// The whole deletion: the list first, then the three files and the folder. A
// stop part-way may leave files of a machine no longer listed, never a listed
// machine without its files; running it again ends the job.
TEST_F(Pannes, SuppressionDUneMachine)
{
    verifier([] { return machines::effacerMachine("TOUR 2"); }, preparer, "data/machine/TOUR 2");
    EXPECT_EQ(contenu("data/machine.txt"), "TOUR 1\r\nFRAISEUSE\r\n");
    EXPECT_FALSE(present("data/machine/TOUR 2"));
}

TEST_F(Pannes, EcritureDUneNouvelleMachine)
{
    const NouvelleMachine m{"TOUR 3", "photo.jpg", std::nullopt, {"COM2", "4800", "N(one)", "8", "1", "2", "10"}};
    verifier([&] { return ecrireMachine(m); }, preparer, "data/machine/TOUR 3");
    EXPECT_EQ(contenu("data/machine.txt"), kListeInitiale + "TOUR 3\r\n");
}

TEST_F(Pannes, EcritureDeLaPremiereMachine)
{
    const NouvelleMachine m{"TOUR 1", "photo.jpg", "photo.jpg", {"COM1", "9600", "E(ven)", "7", "2", "1", "1"}};
    verifier([&] { return ecrireMachine(m); },
             [] {
                 std::filesystem::remove_all("data");
                 std::filesystem::create_directories("data/machine");
                 poser("data/data.txt", "");
                 poser("photo.jpg", "JPEG photo");
             },
             "data/machine/TOUR 1");
}

}  // namespace
}  // namespace tarvex
