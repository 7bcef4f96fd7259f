// The writing of a new sheet: what lands in the data folder for each kind of
// machine and CNC type, what stops it before anything is written, and a stop
// at each of its file operations in turn.

#include "creation/bilan.h"
#include "creation/ecriture.h"
#include "store/fichiers.h"
#include "store/index.h"

#include "support.h"

#include <gtest/gtest.h>

namespace tarvex::creation {
namespace {

const std::string kIndexInitial = "AXE,10,TOUR 1,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,N\r\n";

class EcritureFiche : public test::DossierDeTravail {
protected:
    void SetUp() override
    {
        DossierDeTravail::SetUp();
        preparer();
    }

    static void preparer()
    {
        std::filesystem::remove_all("data");
        std::filesystem::remove_all("src");
        poser("data/data.txt", kIndexInitial);
        poser("data/AXE_Phase 10_BRAS_TOUR 1/Vue.jpg", "JPEG axe");
        poser("data/AXE_Phase 10_BRAS_TOUR 1/jauge.txt", "T1\r\n");
        poser("data/machine.txt", "TOUR 1\r\nFRAISEUSE\r\n");
        poser("data/machine/TOUR 1/com.txt", "COM1\r\n9600\r\nE(ven)\r\n7\r\n2\r\n1\r\n1\r\n");
        poser("data/machine/FRAISEUSE/com.txt", "COM1\r\n9600\r\nE(ven)\r\n7\r\n2\r\n2\r\n1\r\n");
        for (const auto& m : kModelesPhotos) poser(std::string("src/") + m.fichier, std::string("JPEG ") + m.fichier);
        poser("src/dossier.pdf", "%PDF");
        poser("src/prog.txt", "%1\r\nN10 G0 X0\r\n");
    }

    static SaisieFiche fraiseuseNum()
    {
        SaisieFiche s;
        s.piece = "  FLASQUE ";
        s.phase = "010";
        s.ensemble = "CARTER";
        s.matiere = " AU4G";
        s.machine = "FRAISEUSE";
        s.machineChoisie = "FRAISEUSE";
        s.typmachin = "2";
        s.typdirect = "1";
        for (int i = 0; i < kPhotos; ++i) s.photos[i] = std::string("src\\") + kModelesPhotos[i].fichier;
        s.dossierTechnique = "src\\dossier.pdf";
        s.programme = "src\\prog.txt";
        s.prefx = " 1.5 ";
        s.prefy = "2";
        s.prefz = "-3";
        s.decx = "4";
        s.decy = "5";
        s.decz = "6";
        s.jauge = "T1 X1 Z2\nT2, T3\n\n  ";
        return s;
    }
};

TEST_F(EcritureFiche, FraiseuseNumAvecTout)
{
    const SaisieFiche s = fraiseuseNum();
    ASSERT_TRUE(verifierAvantEcriture(s).empty());
    const auto e = ecrireFiche(s);
    ASSERT_TRUE(e.resultat.ok()) << joindreProblemes(e.resultat.problemes);
    EXPECT_EQ(contenu("data/data.txt"), kIndexInitial + "FLASQUE,010,FRAISEUSE,CARTER,AU4G,O,O,O,O,O,O,O,O,O,O,O\r\n");
    const std::string d = "data/FLASQUE_Phase 010_CARTER_FRAISEUSE/";
    for (const auto& m : kModelesPhotos) EXPECT_EQ(contenu(d + m.fichier), std::string("JPEG ") + m.fichier);
    EXPECT_EQ(contenu(d + "dossier.pdf"), "%PDF");
    EXPECT_EQ(contenu(d + "prog.txt"), "%1\r\nN10 G0 X0\r\n");
    EXPECT_EQ(contenu(d + "pref.txt"), "1.5\r\n2\r\n-3\r\n4\r\n5\r\n6\r\n");
    EXPECT_EQ(contenu(d + "jauge.txt"), "T1 X1 Z2\r\nT2\r\nT3\r\n");
    EXPECT_FALSE(present(d + "origine.txt"));
    EXPECT_FALSE(present(d + "info.txt"));
    // The same sheet cannot be made twice, whatever the letter case.
    SaisieFiche encore = s;
    encore.piece = "flasque";
    EXPECT_FALSE(verifierAvantEcriture(encore).empty());
}

TEST_F(EcritureFiche, ChaqueTypeDeCommande)
{
    struct Cas {
        std::string type, directeur, fichier, contenu;
    };
    const std::vector<Cas> cas = {
        {"1", "1", "pref.txt", "1.5\r\n-3\r\n4\r\n6\r\n"},
        {"1", "3", "origine.txt", "G55\r\n7\r\n9\r\n"},
        {"2", "3", "origine.txt", "G55\r\n7\r\n8\r\n9\r\n"},
        {"1", "2", "info.txt", "Ligne 1\r\nLigne 2\r\n"},
        {"2", "10", "", ""},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.type + "/" + c.directeur);
        preparer();
        SaisieFiche s = fraiseuseNum();
        s.typmachin = c.type;
        s.typdirect = c.directeur;
        s.machine = s.machineChoisie = c.type == "1" ? "TOUR 1" : "FRAISEUSE";
        s.decalage = "G55";
        s.originex = "7";
        s.originey = "8";
        s.originez = " 9";
        s.infovrac = "  Ligne 1\nLigne 2 ";
        ASSERT_TRUE(ecrireFiche(s).resultat.ok());
        const std::string d = "data/FLASQUE_Phase 010_CARTER_" + s.machine + "/";
        for (const char* f : {"pref.txt", "origine.txt", "info.txt"})
            if (c.fichier != f) {
                EXPECT_FALSE(present(d + f)) << f;
            }
        if (!c.fichier.empty()) {
            EXPECT_EQ(contenu(d + c.fichier), c.contenu);
        }
        // A milling-only picture chosen before a turning machine was picked
        // is flagged but not copied.
        EXPECT_EQ(present(d + "mont2.jpg"), c.type == "2");
        EXPECT_TRUE(present(d + "prefz.jpg"));
    }
}

TEST_F(EcritureFiche, ValeursParDefautEtJauges)
{
    SaisieFiche s = fraiseuseNum();
    s.typdirect = "2";
    s.infovrac = "   ";
    s.jauge = "";
    s.photos = {};
    s.photos[PVue] = "src\\Vue.jpg";
    s.dossierTechnique.clear();
    s.programme.clear();
    ASSERT_TRUE(ecrireFiche(s).resultat.ok());
    const std::string d = "data/FLASQUE_Phase 010_CARTER_FRAISEUSE/";
    EXPECT_EQ(contenu(d + "info.txt"), "Infos \xe0 compl\xe9ter\r\n");
    EXPECT_EQ(contenu(d + "jauge.txt"), "A compl\xe9ter\r\n");
    EXPECT_EQ(contenu("data/data.txt"), kIndexInitial + "FLASQUE,010,FRAISEUSE,CARTER,AU4G,O,N,N,N,N,N,N,N,N,N,N\r\n");

    // More than a hundred gauges: the first hundred are kept, and the
    // report says so without refusing the sheet.
    std::string jauges;
    for (int i = 1; i <= 105; ++i) jauges += "T" + std::to_string(i) + (i % 2 ? "\n\n" : ",");
    const Jauges j = jaugesRetenues(jauges);
    EXPECT_EQ(j.trouvees, 105u);
    ASSERT_EQ(j.lignes.size(), 100u);
    EXPECT_EQ(j.lignes.back(), "T100");
    s.jauge = jauges;
    const Bilan b = construireBilan(s, [](const std::string&) { return true; });
    EXPECT_FALSE(b.refuse);
    EXPECT_EQ(b.analyse[b.analyse.size() - 2], kJaugesTronquees);
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
    s.typmachin = "1";  // not copied for a turning machine: no matter
    s.machine = "TOUR 1";
    EXPECT_EQ(refus(s), "data\\machine.txt");  // typed over the machine picked
    s.machineChoisie = "TOUR 1";
    EXPECT_EQ(refus(s), "");
    s.machine = s.machineChoisie = "TOUR 9";  // gone from the list
    EXPECT_EQ(refus(s), "data\\machine.txt");
    s.machine = s.machineChoisie = "TOUR 1";
    s.programme = "src";  // a folder is no program
    EXPECT_EQ(refus(s), "src");
    poser("src/lodz.txt", "%1\r\n(\xC5\x81\xC3\xB3" "d\xC5\xBA)\r\n");  // UTF-8, "Ł" outside Windows-1252
    s.programme = "src\\lodz.txt";
    EXPECT_EQ(refus(s), "src\\lodz.txt");
    // Folder names the file systems refuse: over 255 bytes; under, but
    // archived files whose paths pass Windows' 259 characters.
    for (const auto& [n, limite] : {std::pair{240, "255 au plus"}, std::pair{200, "259 au plus"}}) {
        s.piece = std::string(n, 'A');
        const Problemes p = verifierAvantEcriture(s);
        ASSERT_FALSE(p.empty());
        EXPECT_EQ(p.front().fichier, "data\\" + s.piece + "_Phase 010_CARTER_TOUR 1");
        EXPECT_NE(p.front().detail.find(limite), std::string::npos) << p.front().detail;
    }
    s = fraiseuseNum();
    poser("data/flasque_phase 010_carter_fraiseuse/x", "");
    EXPECT_EQ(refus(s), "data\\FLASQUE_Phase 010_CARTER_FRAISEUSE\\");
    std::filesystem::remove_all("data/flasque_phase 010_carter_fraiseuse");
    // A record of the same sheet left without its folder.
    poser("data/data.txt", kIndexInitial + "Flasque,010,FRAISEUSE,CARTER,X,O,N,N,N,N,N,N,N,N,N,N\r\n");
    EXPECT_EQ(refus(s), "data\\data.txt");
    s.piece = "FLA\xce\xa9";  // outside Windows-1252
    EXPECT_EQ(refus(s), "data\\data.txt");
    EXPECT_EQ(contenu("data/data.txt"), kIndexInitial + "Flasque,010,FRAISEUSE,CARTER,X,O,N,N,N,N,N,N,N,N,N,N\r\n");
}

// A stop at each file operation in turn: the other sheet and the machines
// are untouched, the index holds the old records and, once its line is
// written, the new one; every file of the new folder is whole; the store
// still reads.
TEST_F(EcritureFiche, ArretAChaqueOperation)
{
    const SaisieFiche s = fraiseuseNum();
    Ecriture e;
    aChaqueOperation({.preparer = preparer,
                      .operation = [&] { return (e = ecrireFiche(s)).resultat; },
                      .aussi =
                          [&](const Instantane& avant, const Instantane& apres, const Instantane& milieu) {
                              EXPECT_EQ(milieu.at("data/data.txt"), (e.indexEcrit ? apres : avant).at("data/data.txt"));
                              const auto index = lireIndex();
                              EXPECT_TRUE(index.ok()) << joindreProblemes(index.problemes);
                              EXPECT_EQ(index.valeur.enregistrements.size(), e.indexEcrit ? 2u : 1u);
                              // Stopped before its record, the sheet can be made again.
                              EXPECT_EQ(verifierAvantEcriture(s).empty(), !e.indexEcrit);
                          },
                      .reprendre = false});
}

TEST(Bilan, ImagesIllisiblesEtAxes)
{
    SaisieFiche s;
    s.piece = "A";
    s.phase = "10";
    s.ensemble = "B";
    s.matiere = "C";
    s.machine = "M";
    s.typmachin = "1";
    s.typdirect = "1";
    s.photos[PVue] = "vue.jpg";
    s.photos[PMont2] = "illisible.jpg";  // not copied for a turning machine
    s.prefx = s.prefz = s.decx = s.decz = "1";
    auto lisible = [](const std::string& c) { return c != "illisible.jpg"; };
    Bilan b = construireBilan(s, lisible);
    EXPECT_FALSE(b.refuse);
    EXPECT_EQ(b.analyse.size(), 30u);  // ten checks of three lines: no Y for turning
    s.typmachin = "2";
    b = construireBilan(s, lisible);
    EXPECT_TRUE(b.refuse);
    const std::vector<std::string> attendu = {"Analyse image Montage d'usinage 2 ... ", kImageIllisible, " "};
    EXPECT_EQ(std::vector<std::string>(b.analyse.begin() + 18, b.analyse.begin() + 21), attendu);
    s.photos[PVue] = "illisible.jpg";
    b = construireBilan(s, lisible);
    EXPECT_EQ(b.analyse[16], kImageIllisible);
}

}  // namespace
}  // namespace tarvex::creation
