// Storing a modified sheet and deleting a sheet, on a real data folder.

#include "modification/bilan.h"
#include "modification/stockage.h"
#include "store/archives.h"
#include "store/chemins.h"
#include "store/fichiers.h"

#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

namespace tarvex {
namespace {

using namespace stockage;
using Instantane = std::map<std::string, std::string>;

const std::string kAxe = "AXE,10,TOUR 1,BRAS,ACIER,O,O,N,O,N,N,N,N,N,O,O\r\n";
const std::string kBague = "BAGUE,20,FRAISEUSE,BRAS,BRONZE,O,N,N,O,N,N,N,N,N,N,N\r\n";
const std::string kCame = "CAME,30,TOUR 1,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,N\r\n";
const std::string kDossierBague = "data/BAGUE_Phase 20_BRAS_FRAISEUSE/";
const std::string kPBague = "data\\BAGUE_Phase 20_BRAS_FRAISEUSE\\";

Instantane sansArchives(Instantane i)
{
    std::erase_if(i, [](const auto& e) { return e.first.rfind("data/archives", 0) == 0; });
    return i;
}

class Stockage : public test::DossierDeTravail {
protected:
    static void preparer()
    {
        std::filesystem::remove_all("data");
        poser("data/data.txt", kAxe + kBague + kCame);
        for (const char* fiche : {"AXE_Phase 10_BRAS_TOUR 1", "BAGUE_Phase 20_BRAS_FRAISEUSE", "CAME_Phase 30_BRAS_TOUR 1"}) {
            const std::string d = std::string("data/") + fiche + "/";
            poser(d + "Vue.jpg", std::string("JPEG vue ") + fiche);
            poser(d + "pref.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
            poser(d + "jauge.txt", "T1\r\nT2\r\n");
        }
        poser(kDossierBague + "inst.jpg", "JPEG inst ancienne");
        poser("photo.jpg", "JPEG photo choisie");
        poser("prog.txt", "%1\r\nN10 G0 X0\r\n");
    }

    // The milling sheet BAGUE (NUM), as the modification window opens it.
    static Modification bague()
    {
        Modification m;
        m.stockee = {"BAGUE", "20", "FRAISEUSE", "BRAS"};
        m.genre = "2";
        m.directeur = "1";
        m.piece = "BAGUE";
        m.phase = "20";
        m.machine = "FRAISEUSE";
        m.ensemble = "BRAS";
        m.matiere = "BRONZE";
        m.fichiers[EVue] = {kPBague + "vue.jpg", kPBague + "vue.jpg"};
        m.fichiers[EInst] = {kPBague + "inst.jpg", kPBague + "inst.jpg"};
        m.pref = {"1", "2", "3", "4", "5", "6"};
        m.jauges = "T1\nT2";
        return m;
    }

    static Suppression suppressionBague()
    {
        Suppression s;
        s.fiche = {"BAGUE", "20", "FRAISEUSE", "BRAS"};
        s.drapeaux = {"O", "N", "N", "O", "N", "N", "N", "N", "N", "N", "N"};
        s.directeur = "1";
        return s;
    }

    static std::string texte(const Resultat& r) { return joindreProblemes(r.problemes); }
};

TEST_F(Stockage, UneModificationSansChangementRecopieLesMemesValeursSansLireAucunFichier)
{
    preparer();
    Modification m = bague();
    // An unchanged slot is not looked at: its file may even be missing.
    m.fichiers[EMont1] = {kPBague + "mont1.jpg", kPBague + "mont1.jpg"};
    const Instantane avant = instantane();
    const auto fin = enregistrer(m);
    ASSERT_TRUE(fin.resultat.ok()) << texte(fin.resultat);
    EXPECT_TRUE(fin.indexReecrit);
    Instantane apres = instantane();
    EXPECT_EQ(apres["data/data.txt"], kAxe + "BAGUE,20,FRAISEUSE,BRAS,BRONZE,O,O,N,O,N,N,N,N,N,N,N\r\n" + kCame);
    apres["data/data.txt"] = avant.at("data/data.txt");
    EXPECT_EQ(sansArchives(apres), avant);
}

TEST_F(Stockage, LesFichiersDeValeursSuiventLeGenreEtLeDirecteur)
{
    struct Cas {
        const char* genre;
        const char* directeur;
        const char* fichier;  // the value file written, "" for none
        std::string attendu;
    };
    const std::vector<Cas> cas = {
        {"1", "1", "pref.txt", "1\r\n3\r\n4\r\n6\r\n"},
        {"2", "1", "pref.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n"},
        {"1", "3", "origine.txt", "G55\r\nx\r\nz\r\n"},
        {"2", "3", "origine.txt", "G55\r\nx\r\ny\r\nz\r\n"},
        {"2", "2", "info.txt", "Serrer fort\r\n\r\nPuis tourner\r\n"},
        {"1", "10", "", ""},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(std::string(c.genre) + "/" + c.directeur);
        preparer();
        std::filesystem::remove(kDossierBague + "pref.txt");
        Modification m = bague();
        m.genre = c.genre;
        m.directeur = c.directeur;
        m.pref = {" 1 ", "2", "3", "4", "5", "6 "};
        m.origine = {"G55", "x", "y", "z"};
        // As copied from the main window, which shows the file less its
        // last character: the text ends with a line break.
        m.infos = "  Serrer fort\r\n\r\nPuis tourner \r\n";
        const auto fin = enregistrer(m);
        ASSERT_TRUE(fin.resultat.ok()) << texte(fin.resultat);
        std::vector<std::string> attendus = {"Vue.jpg", "inst.jpg", "jauge.txt"};
        if (*c.fichier) {
            EXPECT_EQ(contenu(kDossierBague + c.fichier), c.attendu);
            attendus.push_back(c.fichier);
        }
        std::vector<std::string> presents;
        for (const auto& n : fichiers::lister(kPBague)) presents.push_back(n);
        std::sort(presents.begin(), presents.end());
        std::sort(attendus.begin(), attendus.end());
        EXPECT_EQ(presents, attendus);
    }
}

TEST_F(Stockage, SeulsLesEnregistrementsDeLaCleExacteSontRemplaces)
{
    preparer();
    // Twice the key, once the key in another letter case (kept, rebuilt), a
    // record whose phase and material carry blanks (rebuilt without them).
    poser("data/data.txt", kAxe + kBague + "bague,20,FRAISEUSE,BRAS,BRONZE,O,N,N,N,N,N,N,N,N,N,N\r\n" +
                               "CAME,\" 30\",TOUR 1,BRAS,\" ACIER \",O,N,N,N,N,N,N,N,N,N,N\r\n" + kBague);
    Modification m = bague();
    m.phase = " 20 ";
    m.fichiers[EProgramme] = {"prog.txt", ""};
    ASSERT_TRUE(enregistrer(m).resultat.ok());
    const std::string n = "BAGUE,20,FRAISEUSE,BRAS,BRONZE,O,N,N,O,N,N,N,N,N,N,O\r\n";
    EXPECT_EQ(contenu("data/data.txt"), kAxe + n + "bague,20,FRAISEUSE,BRAS,BRONZE,O,N,N,N,N,N,N,N,N,N,N\r\n" +
                                            "CAME,30,TOUR 1,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,N\r\n" + n);
    EXPECT_EQ(contenu(kDossierBague + "prog.txt"), "%1\r\nN10 G0 X0\r\n");
    EXPECT_FALSE(present("data/data.tmp"));
}

TEST_F(Stockage, UnEmplacementQuiPrendLeFichierDUnAutreLePrendTelQuIlEstDevenu)
{
    preparer();
    Modification m = bague();
    // The part view gets the chosen photo; fixture 2 (later in record order)
    // takes the folder's part view, that is the new one; fixture 1 (earlier)
    // takes the installation picture, which is replaced only after it.
    m.fichiers[EVue].nouveau = "photo.jpg";
    m.fichiers[EMont2] = {kPBague + "Vue.jpg", ""};
    m.fichiers[EMont1] = {kPBague + "inst.jpg", ""};
    m.fichiers[EInst] = {"prog.txt", kPBague + "inst.jpg"};
    ASSERT_TRUE(enregistrer(m).resultat.ok());
    EXPECT_EQ(contenu(kDossierBague + "Vue.jpg"), "JPEG photo choisie");
    EXPECT_EQ(contenu(kDossierBague + "mont2.jpg"), "JPEG photo choisie");
    EXPECT_EQ(contenu(kDossierBague + "mont1.jpg"), "JPEG inst ancienne");
    EXPECT_EQ(contenu(kDossierBague + "inst.jpg"), "%1\r\nN10 G0 X0\r\n");
    EXPECT_FALSE(present(kDossierBague + "vue.jpg"));  // replaced under its own name
}

TEST_F(Stockage, UnFichierChoisiDansLeDossierSousSonPropreNomResteEntier)
{
    preparer();
    Modification m = bague();
    m.fichiers[EVue] = {kPBague + "VUE.JPG", kPBague + "vue.jpg"};
    ASSERT_TRUE(enregistrer(m).resultat.ok());
    EXPECT_EQ(contenu(kDossierBague + "Vue.jpg"), "JPEG vue BAGUE_Phase 20_BRAS_FRAISEUSE");
}

TEST_F(Stockage, UnFichierIllisibleOuUneFicheDisparueNArretentAvantToutEcriture)
{
    struct Cas {
        const char* nom;
        std::function<void(Modification&)> changer;
        std::string fichier;  // the one the message names
    };
    const std::vector<Cas> cas = {
        {"source absente", [](Modification& m) { m.fichiers[EDossier] = {"absent.pdf", ""}; }, "absent.pdf"},
        {"source dossier", [](Modification& m) { m.fichiers[EMont1] = {"data", ""}; }, "data"},
        {"fiche disparue", [](Modification& m) { m.stockee.piece = "BIELLE"; }, "data\\data.txt"},
        {"nom hors du dossier", [](Modification& m) { m.stockee.piece = "..\\..\\x"; }, ""},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        preparer();
        const Instantane avant = instantane();
        Modification m = bague();
        m.fichiers[EVue].nouveau = "photo.jpg";
        c.changer(m);
        const auto fin = enregistrer(m);
        ASSERT_FALSE(fin.resultat.ok());
        EXPECT_FALSE(fin.indexReecrit);
        if (!c.fichier.empty()) {
            EXPECT_EQ(fin.resultat.problemes[0].fichier, c.fichier);
        }
        EXPECT_EQ(instantane(), avant);
    }
}

TEST_F(Stockage, UnDossierPerduEstRefaitParLaModification)
{
    preparer();
    std::filesystem::remove_all(kDossierBague);
    Modification m = bague();
    m.fichiers[EVue].nouveau = "photo.jpg";
    ASSERT_TRUE(enregistrer(m).resultat.ok());
    EXPECT_EQ(contenu(kDossierBague + "vue.jpg"), "JPEG photo choisie");
    EXPECT_EQ(contenu(kDossierBague + "pref.txt"), "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
}

TEST_F(Stockage, LesFichiersCherchesSuiventLesDrapeauxEtLeDirecteur)
{
    Suppression s = suppressionBague();
    s.drapeaux = {"O", "O", "N", "N", "O", "O", "N", "N", "o", "O", "O"};
    const std::vector<std::pair<std::string, std::vector<std::string>>> cas = {
        {"1", {"vue.jpg", "mont1.jpg", "bride.jpg", "butée.jpg", "dossier.pdf", "prog.txt", "pref.txt", "jauge.txt"}},
        {"3", {"vue.jpg", "mont1.jpg", "bride.jpg", "butée.jpg", "dossier.pdf", "prog.txt", "origine.txt", "jauge.txt"}},
        {"2", {"vue.jpg", "mont1.jpg", "bride.jpg", "butée.jpg", "dossier.pdf", "prog.txt", "info.txt", "jauge.txt"}},
        {"10", {"vue.jpg", "mont1.jpg", "bride.jpg", "butée.jpg", "dossier.pdf", "prog.txt", "jauge.txt"}},
    };
    for (const auto& [directeur, attendus] : cas) {
        s.directeur = directeur;
        EXPECT_EQ(fichiersASupprimer(s), attendus) << directeur;
    }
}

TEST_F(Stockage, UneSuppressionArchiveToutLeDossierPuisLeRetire)
{
    preparer();
    poser(kDossierBague + "notes.doc", "à garder");
    Suppression s = suppressionBague();
    s.directeur = "10";  // pref.txt is not the sheet's: archived and removed all the same
    s.drapeaux[EDossier] = "O";  // flagged but already gone: not an error
    const auto fin = supprimer(s);
    ASSERT_TRUE(fin.resultat.ok()) << texte(fin.resultat);
    EXPECT_TRUE(fin.restes.empty());
    EXPECT_FALSE(present(kDossierBague));
    EXPECT_EQ(contenu("data/data.txt"), kAxe + kCame);
    EXPECT_TRUE(present("data/AXE_Phase 10_BRAS_TOUR 1/Vue.jpg"));
    const auto v = archives::lister().valeur;
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].motif, "Suppression");
    EXPECT_EQ(v[0].nomdossier, "BAGUE_Phase 20_BRAS_FRAISEUSE");
    EXPECT_EQ(v[0].fichiers, (std::vector<std::string>{"Vue.jpg", "inst.jpg", "jauge.txt", "notes.doc", "pref.txt"}));
    ASSERT_TRUE(v[0].fiche);
    EXPECT_EQ(ligneEnregistrement(*v[0].fiche), "BAGUE,20,FRAISEUSE,BRAS,BRONZE,O,N,N,O,N,N,N,N,N,N,N");
}

TEST_F(Stockage, UnNomQuiSortiraitDuDossierDesDonneesEstRefuse)
{
    preparer();
    poser("data/x/jauge.txt", "T1\r\n");
    const Instantane avant = instantane();
    Suppression s = suppressionBague();
    s.fiche = {"..", "1", "x", "y/../../x"};
    EXPECT_FALSE(supprimer(s).resultat.ok());
    EXPECT_EQ(instantane(), avant);
}

TEST_F(Stockage, CompterLesFiches)
{
    poser("data/data.txt", kAxe + kBague + "CAME,30\r\n\r\n");
    const auto n = compterFiches();
    EXPECT_EQ(n.valeur, 2);
    EXPECT_FALSE(n.ok());  // the cut record is told
    std::filesystem::remove("data/data.txt");
    EXPECT_FALSE(compterFiches().ok());
}

TEST_F(Stockage, LeBilanListeLesCheminsAnciensEtNouveauxDansLOrdreDesOptions)
{
    Modification m = bague();
    m.fichiers[EButee] = {"butee.jpg", ""};
    m.fichiers[EBride] = {"bride.jpg", kPBague + "bride.jpg"};
    std::vector<std::string> demandees;
    const auto b = bilan::bilanModification(m, [&](const std::string& c) {
        demandees.push_back(c);
        return c != "bride.jpg";
    });
    // Only the pictures newly chosen are looked at; an unreadable one refuses.
    EXPECT_EQ(demandees, (std::vector<std::string>{"butee.jpg", "bride.jpg"}));
    EXPECT_TRUE(b.refuse);
    const std::vector<std::string> debut = {
        "Chemin - Listing Programme : ", "     Ancien : ", "     Nouveau : ",
        "Chemin - Vue de la pièce :", "     Ancien : " + kPBague + "vue.jpg", "     Nouveau : " + kPBague + "vue.jpg",
    };
    ASSERT_GE(b.chemins.size(), debut.size());
    EXPECT_EQ(std::vector<std::string>(b.chemins.begin(), b.chemins.begin() + 6), debut);
    std::vector<std::string> titres;
    for (const auto& l : b.chemins)
        if (l.rfind("Chemin - ", 0) == 0) titres.push_back(l);
    EXPECT_EQ(titres, (std::vector<std::string>{"Chemin - Listing Programme : ", "Chemin - Vue de la pièce :",
                                                "Chemin - Montage d'usinage 1 :", "Chemin - Montage d'usinage 2 :",
                                                "Chemin - Installation / machine :", "Chemin - Mise en butée :",
                                                "Chemin - Bridage :", "Chemin - Palpage X :", "Chemin - Palpage Y :",
                                                "Chemin - Palpage Z :", "Chemin - Dossier Technique :"}));
    const auto butee = std::find(b.chemins.begin(), b.chemins.end(), "Chemin - Mise en butée :");
    ASSERT_NE(butee, b.chemins.end());
    EXPECT_EQ(*(butee + 2), "     Nouveau : butee.jpg");
    m.genre = "1";
    EXPECT_EQ(bilan::bilanModification(m, [](const std::string&) { return true; }).chemins.size(), 3u + 4 * 3 + 3);
}

TEST_F(Stockage, PlusDeCentJaugesGardentLesCentPremieresCommeALaCreation)
{
    preparer();
    Modification m = bague();
    m.jauges.clear();
    std::string attendu;
    for (int i = 1; i <= 120; ++i) {
        m.jauges += "T" + std::to_string(i) + "\n";
        if (i <= 100) attendu += "T" + std::to_string(i) + "\r\n";
    }
    ASSERT_TRUE(enregistrer(m).resultat.ok());
    EXPECT_EQ(contenu(kDossierBague + "jauge.txt"), attendu);
}

// Each storing stopped at each of its file operations in turn: every file is
// then as before or as after, and every file of the sheet folder that is no
// longer as it was is in a complete archived version, as it was.
TEST_F(Stockage, ArretAChaqueOperation)
{
    Modification m = bague();
    m.fichiers[EVue].nouveau = "photo.jpg";
    m.fichiers[EInst] = {"photo.jpg", kPBague + "inst.jpg"};
    m.fichiers[EMont2] = {kPBague + "Vue.jpg", ""};
    m.fichiers[EProgramme] = {"prog.txt", ""};
    m.pref = {"9", "8", "7", "6", "5", "4"};
    m.jauges = "T7,T8";
    Modification sansDossier = bague();
    sansDossier.directeur = "2";
    sansDossier.infos = "ligne 1\nligne 2";
    sansDossier.fichiers[EVue].nouveau = "photo.jpg";
    Suppression s = suppressionBague();
    s.drapeaux[EProgramme] = "O";
    struct Cas {
        const char* nom;
        std::function<Resultat()> operation;
        std::function<void()> plus;
    };
    const Cas cas[] = {
        {"modification", [&] { return enregistrer(m).resultat; }, {}},
        {"modification d'une fiche sans dossier", [&] { return enregistrer(sansDossier).resultat; },
         [] { std::filesystem::remove_all(kDossierBague); }},
        {"suppression", [&] { return supprimer(s).resultat; }, [] { poser(kDossierBague + "prog.txt.~tvx", "reste"); }},
        {"suppression qui garde le dossier", [] { return supprimer(suppressionBague()).resultat; },
         [] { poser(kDossierBague + "notes.doc", "à garder"); }},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        aChaqueOperation({.preparer =
                              [&] {
                                  preparer();
                                  if (c.plus) c.plus();
                              },
                          .operation = c.operation,
                          .etat = [] { return sansArchives(instantane()); },
                          .aussi = [](const Instantane& avant, const Instantane&, const Instantane& milieu) {
                              const auto versions = archives::lister().valeur;
                              for (const auto& [chemin, octets] : avant) {
                                  const std::size_t barre = chemin.find('/', 5);
                                  if (barre == std::string::npos || octets == "<dossier>" ||
                                      (milieu.count(chemin) && milieu.at(chemin) == octets) || chemin.ends_with(".~tvx"))
                                      continue;
                                  const std::string dossier = chemin.substr(5, barre - 5), nom = chemin.substr(barre + 1);
                                  bool garde = false;
                                  for (const auto& v : versions)
                                      garde = garde || (v.nomdossier == dossier &&
                                                        fichiers::lire(archives::cheminGarde(v, nom)) == octets);
                                  EXPECT_TRUE(garde) << chemin << " changé sans être archivé";
                              }
                          }});
    }
}

}  // namespace
}  // namespace tarvex
