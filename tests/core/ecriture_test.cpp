// A new sheet written for each kind and CNC type, what stops it before anything
// is written, and a stop at each of its file operations.

#include "creation/bilan.h"
#include "creation/ecriture.h"
#include "store/index.h"

#include "support.h"

namespace tarvex::creation {
namespace {

const std::string kIndexInitial = "AXE,10,TOUR 1,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,N\r\n";

class EcritureFiche : public test::DossierDeTravail {
protected:
    void SetUp() override { DossierDeTravail::SetUp(), preparer(); }

    static void preparer()
    {
        std::filesystem::remove_all("data"), std::filesystem::remove_all("src");
        poserFiche(kIndexInitial, {{"Vue.jpg", "JPEG axe"}, {"jauge.txt", "T1\r\n"}});
        poserMachine("TOUR 1");
        poserMachine("FRAISEUSE", {{"com.txt", "COM1\r\n9600\r\nE(ven)\r\n7\r\n2\r\n2\r\n1\r\n"}});
        for (const auto& m : kModelesPhotos) poser(std::string("src/") + m.fichier, std::string("JPEG ") + m.fichier);
        poser("src/dossier.pdf", "%PDF"), poser("src/prog.txt", "%1\r\nN10 G0 X0\r\n");
    }

    static SaisieFiche fraiseuseNum()
    {
        SaisieFiche s{.piece = "  FLASQUE ", .phase = "010", .ensemble = "CARTER", .matiere = " AU4G",
                      .machine = "FRAISEUSE", .machineChoisie = "FRAISEUSE", .typmachin = "2", .typdirect = "1",
                      .photos = {}, .dossierTechnique = "src\\dossier.pdf", .programme = "src\\prog.txt",
                      .prefx = " 1.5 ", .prefy = "2", .prefz = "-3", .decx = "4", .decy = "5", .decz = "6",
                      .decalage = "G55", .originex = "7", .originey = "8", .originez = " 9",
                      .infovrac = "  Ligne 1\nLigne 2 ", .jauge = "T1 X1 Z2\nT2, T3\n\n  "};
        for (int i = 0; i < kPhotos; ++i) s.photos[i] = std::string("src\\") + kModelesPhotos[i].fichier;
        return s;
    }
};

TEST_F(EcritureFiche, ChaqueTypeDeCommande)
{
    // (Every file of a milling sheet, the index line and the same sheet
    // refused in another letter case: the creer-envoyer and refus scenarios.)
    const std::tuple<std::string, std::string, std::string, std::string> cas[] = {
        // kind, CNC type, the value file written ("" none), its bytes
        {"2", "1", "pref.txt", "1.5\r\n2\r\n-3\r\n4\r\n5\r\n6\r\n"}, {"1", "1", "pref.txt", "1.5\r\n-3\r\n4\r\n6\r\n"},
        {"1", "3", "origine.txt", "G55\r\n7\r\n9\r\n"}, {"2", "3", "origine.txt", "G55\r\n7\r\n8\r\n9\r\n"},
        {"1", "2", "info.txt", "Ligne 1\r\nLigne 2\r\n"}, {"2", "10", "", ""},
    };
    for (const auto& [type, directeur, fichier, octets] : cas) {
        SCOPED_TRACE(type + "/" + directeur);
        preparer();
        SaisieFiche s = fraiseuseNum();
        s.typmachin = type, s.typdirect = directeur;
        s.machine = s.machineChoisie = type == "1" ? "TOUR 1" : "FRAISEUSE";
        ASSERT_TRUE(ecrireFiche(s, {}, {}).resultat.ok());
        const std::string d = "data/FLASQUE_Phase 010_CARTER_" + s.machine + "/";
        for (const char* f : {"pref.txt", "origine.txt", "info.txt"}) EXPECT_EQ(present(d + f), fichier == f) << f;
        EXPECT_TRUE(fichier.empty() || contenu(d + fichier) == octets) << fichier;
        // A milling-only picture chosen before a turning machine was picked
        // is flagged but not copied.
        EXPECT_TRUE(present(d + "mont2.jpg") == (type == "2") && present(d + "prefz.jpg"));
    }
}

TEST_F(EcritureFiche, RefusAvantToutEcrit)
{
    auto refus = [](const SaisieFiche& s) {
        const Problemes p = verifierAvantEcriture(s);
        return p.empty() ? std::string() : p.front().fichier;
    };
    SaisieFiche s = fraiseuseNum();
    s.photos[PPrefy] = "src\\absente.jpg";
    EXPECT_EQ(refus(s), "src\\absente.jpg");
    // (A machine typed over the one picked, a sheet of another letter case, a
    // name over 255 bytes: creation/refus.)
    s.typmachin = "1", s.machine = s.machineChoisie = "TOUR 1";  // not copied for a turning machine: no matter
    EXPECT_EQ(refus(s), "");
    s.machine = s.machineChoisie = "TOUR 9";  // gone from the list
    EXPECT_EQ(refus(s), "data\\machine.txt");
    s.machine = s.machineChoisie = "TOUR 1", s.programme = "src";  // a folder is no program
    EXPECT_EQ(refus(s), "src");
    poser("src/lodz.txt", "%1\r\n(\xC5\x81\xC3\xB3" "d\xC5\xBA)\r\n");  // UTF-8, "Ł" outside Windows-1252
    s.programme = "src\\lodz.txt";
    EXPECT_EQ(refus(s), "src\\lodz.txt");
    // A folder name under 255 bytes whose archived files' paths pass Windows' 259 characters.
    s.piece = std::string(200, 'A');
    const Problemes p = verifierAvantEcriture(s);
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(p.front().fichier, "data\\" + s.piece + "_Phase 010_CARTER_TOUR 1");
    EXPECT_NE(p.front().detail.find("259 au plus"), std::string::npos) << p.front().detail;
    s = fraiseuseNum();
    // A record of the same sheet left without its folder.
    poser("data/data.txt", kIndexInitial + "Flasque,010,FRAISEUSE,CARTER,X,O,N,N,N,N,N,N,N,N,N,N\r\n");
    EXPECT_EQ(refus(s), "data\\data.txt");
    s.piece = "FLA\xce\xa9";  // outside Windows-1252
    EXPECT_EQ(refus(s), "data\\data.txt");
    EXPECT_EQ(contenu("data/data.txt"), kIndexInitial + "Flasque,010,FRAISEUSE,CARTER,X,O,N,N,N,N,N,N,N,N,N,N\r\n");
}

// A stop at each file operation in turn: the index holds the old records
// and, once its line is written, the new one; the store still reads it.
TEST_F(EcritureFiche, ArretAChaqueOperation)
{
    const SaisieFiche s = fraiseuseNum();
    Ecriture e;
    aChaqueOperation({.preparer = preparer, .operation = [&] { return (e = ecrireFiche(s, {}, {})).resultat; },
                      .aussi = [&](const Instantane& avant, const Instantane& apres, const Instantane& milieu) {
                          EXPECT_EQ(milieu.at("data/data.txt"), (e.indexEcrit ? apres : avant).at("data/data.txt"));
                          const auto index = lireIndex();
                          EXPECT_TRUE(index.ok()) << joindreProblemes(index.problemes);
                          EXPECT_EQ(index.valeur.enregistrements.size(), e.indexEcrit ? 2u : 1u);
                          // Stopped before its record, the sheet can be made again.
                          EXPECT_EQ(verifierAvantEcriture(s).empty(), !e.indexEcrit);
                      }, .reprendre = false});
}

TEST(Bilan, ImagesIllisiblesAxesEtJauges)
{
    // (A milling-only picture that cannot be read: refused in milling, not
    // looked at in turning: creation/refus.) The part view has its own line.
    SaisieFiche s;
    s.piece = s.ensemble = s.matiere = s.machine = "A", s.phase = "10", s.typmachin = s.typdirect = "1";
    s.photos[PVue] = "illisible.jpg";
    s.prefx = s.prefz = s.decx = s.decz = "1";
    auto lisible = [](const std::string& c) { return c != "illisible.jpg"; };
    Bilan b = construireBilan(s, lisible);
    EXPECT_TRUE(b.refuse && b.analyse.size() == 30u);  // ten checks of three lines: no Y for turning
    EXPECT_EQ(b.analyse[16], kImageIllisible);

    // More than a hundred gauges: the first hundred are kept, and the
    // report says so without refusing the sheet for it.
    s.photos[PVue] = "vue.jpg";
    for (int i = 1; i <= 105; ++i) s.jauge += "T" + std::to_string(i) + (i % 2 ? "\n\n" : ",");
    const Jauges j = jaugesRetenues(s.jauge);
    ASSERT_TRUE(j.trouvees == 105u && j.lignes.size() == 100u && j.lignes.back() == "T100");
    b = construireBilan(s, lisible);
    EXPECT_TRUE(!b.refuse && b.analyse[b.analyse.size() - 2] == kJaugesTronquees);
}

}  // namespace
}  // namespace tarvex::creation
