// The index and machine-list rewrites, a machine written or deleted, stopped at
// each file operation: never a machine listed without its files, and run again
// the operation finishes the job.

#include "machines/ecriture.h"
#include "store/index.h"
#include "store/machines.h"

#include "support.h"

namespace tarvex {
namespace {

class Pannes : public test::DossierDeTravail {
protected:
    static void preparer()
    {
        std::filesystem::remove_all("data");
        for (const char* e : {"AXE,10,TOUR 1,BRAS,ACIER", "BAGUE,20,FRAISEUSE,BRAS,BRONZE", "CAME,30,TOUR 1,BRAS,ACIER"})
            poserFiche(std::string(e) + ",O,O,N,O,N,N,N,N,N,O,O",
                       {{"Vue.jpg", std::string("JPEG ") + e}, {"prog.txt", "%1\r\nN10 G0 X0\r\n"}, {"jauge.txt", "T1\r\n"}});
        for (const char* m : {"TOUR 1", "FRAISEUSE", "TOUR 2"})
            poserMachine(m, {{"image.jpg", std::string("JPEG ") + m}, {"dossier.txt", "Pas de dossier machine\r\n"}});
        poser("data/pasdimage.jpg", "JPEG pas d'image");
        poser("photo.jpg", "JPEG photo");
    }
};

TEST_F(Pannes, IndexListeEtMachines)
{
    const NouvelleMachine tour3{"TOUR 3", "photo.jpg", std::nullopt, {"COM2", "4800", "N(one)", "8", "1", "2", "10"}};
    struct Cas {
        const char* nom;
        std::function<Resultat()> operation;
        std::function<void()> plus;  // on top of the folder above
    };
    // (The index rewritten and a record added: the storing and creation stop tests.)
    const Cas cas[] = {
        {"data.tmp laissé", [] { return reecrireindex("AXE_Phase 10_BRAS_TOUR 1\\", std::nullopt); }, [] { poser("data/data.tmp", "AXE,10,TOUR 1\r\n"); }},
        {"retrait de la liste", [] { return retirerMachineDeListe("TOUR 2"); }, {}},
        {"retrait de la dernière machine", [] { return retirerMachineDeListe("TOUR 1"); }, [] { poser("data/machine.txt", "TOUR 1\r\n"); }},
        // The list first, then the three files and the folder.
        {"suppression d'une machine", [] { return machines::effacerMachine("TOUR 2"); }, {}},
        {"nouvelle machine", [&] { return ecrireMachine(tour3); }, {}},
        {"première machine", [] { return ecrireMachine({"TOUR 1", "photo.jpg", "photo.jpg", {"COM1", "9600", "E(ven)", "7", "2", "1", "1"}}); },
         [] { std::filesystem::remove_all("data"), std::filesystem::create_directories("data/machine"), poser("data/data.txt", ""); }},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_GT(aChaqueOperation({.preparer = [&] { preparer(), c.plus ? c.plus() : void(); }, .operation = c.operation}), 0);
    }
    EXPECT_EQ(contenu("data/machine/TOUR 1/dossier.txt"), "JPEG photo");
}

}  // namespace
}  // namespace tarvex
