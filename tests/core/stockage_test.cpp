// Storing a modified sheet and deleting a sheet, on a real data folder.

#include "modification/stockage.h"
#include "store/archives.h"

#include "support.h"

namespace tarvex {
namespace {

using namespace stockage;

const std::string kAxe = "AXE,10,TOUR 1,BRAS,ACIER,O,O,N,O,N,N,N,N,N,O,O\r\n";
const std::string kBague = "BAGUE,20,FRAISEUSE,BRAS,BRONZE,O,N,N,O,N,N,N,N,N,N,N\r\n";
const std::string kCame = "CAME,30,TOUR 1,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,N\r\n";
const std::string kDossierBague = "data/BAGUE_Phase 20_BRAS_FRAISEUSE/";
const std::string kPBague = "data\\BAGUE_Phase 20_BRAS_FRAISEUSE\\";

class Stockage : public test::DossierDeTravail {
protected:
    static void preparer()
    {
        std::filesystem::remove_all("data");
        for (const std::string& e : {kAxe, kBague, kCame})
            poserFiche(e, {{"Vue.jpg", "JPEG vue " + e.substr(0, 4)}, {"pref.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n"},
                           {"jauge.txt", "T1\r\nT2\r\n"}});
        poser(kDossierBague + "inst.jpg", "JPEG inst ancienne");
        poser("photo.jpg", "JPEG photo choisie");
        poser("prog.txt", "%1\r\nN10 G0 X0\r\n");
    }

    // The milling sheet BAGUE (NUM), as the modification window opens it.
    static Modification bague()
    {
        Modification m;
        m.stockee = {"BAGUE", "20", "FRAISEUSE", "BRAS"};
        m.genre = "2", m.directeur = "1", m.piece = "BAGUE", m.phase = "20", m.machine = "FRAISEUSE", m.ensemble = "BRAS";
        m.matiere = "BRONZE", m.pref = {"1", "2", "3", "4", "5", "6"}, m.jauges = "T1\nT2";
        m.fichiers[EVue] = {kPBague + "vue.jpg", kPBague + "vue.jpg"};
        m.fichiers[EInst] = {kPBague + "inst.jpg", kPBague + "inst.jpg"};
        return m;
    }

    static Suppression suppressionBague()
    {
        return {{"BAGUE", "20", "FRAISEUSE", "BRAS"}, {"O", "N", "N", "O", "N", "N", "N", "N", "N", "N", "N"}, "1", {}};
    }
};

TEST_F(Stockage, UneModificationSansChangementRecopieLesMemesValeursSansLireAucunFichier)
{
    preparer();
    Modification m = bague();
    // An unchanged slot is not looked at: its file may even be missing.
    m.fichiers[EMont1] = {kPBague + "mont1.jpg", kPBague + "mont1.jpg"};
    test::Instantane attendu = instantane();
    attendu["data/data.txt"] = kAxe + "BAGUE,20,FRAISEUSE,BRAS,BRONZE,O,O,N,O,N,N,N,N,N,N,N\r\n" + kCame;
    const auto fin = enregistrer(m);
    ASSERT_TRUE(fin.resultat.ok()) << joindreProblemes(fin.resultat.problemes);
    EXPECT_TRUE(fin.indexReecrit);
    EXPECT_EQ(horsArchives(instantane()), attendu);
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

    // A file of the folder chosen again under its own name, in another letter case, stays whole.
    m = bague();
    m.fichiers[EVue] = {kPBague + "VUE.JPG", kPBague + "vue.jpg"};
    ASSERT_TRUE(enregistrer(m).resultat.ok());
    EXPECT_EQ(contenu(kDossierBague + "Vue.jpg"), "JPEG photo choisie");

    // More than a hundred gauges: the first hundred, as at creation.
    m.jauges.clear();
    std::string attendu;
    for (int i = 1; i <= 120; ++i) {
        m.jauges += "T" + std::to_string(i) + "\n";
        if (i <= 100) attendu += "T" + std::to_string(i) + "\r\n";
    }
    ASSERT_TRUE(enregistrer(m).resultat.ok());
    EXPECT_EQ(contenu(kDossierBague + "jauge.txt"), attendu);
}

TEST_F(Stockage, CeQuiArreteAvantToutEcrit)
{
    const std::tuple<const char*, std::function<void(Modification&)>, std::string> cas[] = {
        // what is wrong, and the file the message names ("" any)
        {"source absente", [](Modification& m) { m.fichiers[EDossier] = {"absent.pdf", ""}; }, "absent.pdf"},
        {"source dossier", [](Modification& m) { m.fichiers[EMont1] = {"data", ""}; }, "data"},
        {"fiche disparue", [](Modification& m) { m.stockee.piece = "BIELLE"; }, "data\\data.txt"},
        {"nom hors du dossier", [](Modification& m) { m.stockee.piece = "..\\..\\x"; }, ""},
    };
    for (const auto& [nom, changer, fichier] : cas) {
        SCOPED_TRACE(nom);
        preparer();
        const auto avant = instantane();
        Modification m = bague();
        m.fichiers[EVue].nouveau = "photo.jpg";
        changer(m);
        const auto fin = enregistrer(m);
        ASSERT_FALSE(fin.resultat.ok());
        EXPECT_FALSE(fin.indexReecrit);
        EXPECT_TRUE(fichier.empty() || fin.resultat.problemes[0].fichier == fichier) << fin.resultat.problemes[0].fichier;
        EXPECT_EQ(instantane(), avant);
    }
    // A deletion whose names would leave the data folder.
    poser("data/x/jauge.txt", "T1\r\n");
    const auto avant = instantane();
    Suppression s = suppressionBague();
    s.fiche = {"..", "1", "x", "y/../../x"};
    EXPECT_FALSE(supprimer(s).resultat.ok());
    EXPECT_EQ(instantane(), avant);
}

TEST_F(Stockage, LesFichiersCherchesSuiventLesDrapeauxEtLeDirecteur)
{
    Suppression s = suppressionBague();
    s.drapeaux = {"O", "O", "N", "N", "O", "O", "N", "N", "o", "O", "O"};
    const std::vector<std::string> communs = {"vue.jpg", "mont1.jpg", "bride.jpg", "butée.jpg", "dossier.pdf", "prog.txt"};
    for (const auto& [directeur, valeurs] : {std::pair{"1", "pref.txt"}, {"3", "origine.txt"}, {"2", "info.txt"}, {"10", ""}}) {
        s.directeur = directeur;
        auto attendus = communs;
        if (*valeurs) attendus.push_back(valeurs);
        attendus.push_back("jauge.txt");
        EXPECT_EQ(fichiersASupprimer(s), attendus) << directeur;
    }
}

// (A deletion archiving the whole folder, then removing it and its record:
// modification/suppression.)
TEST_F(Stockage, LesFichesSontComptees)
{
    // A cut record is counted and told.
    poser("data/data.txt", kAxe + kBague + "CAME,30\r\n\r\n");
    const auto n = compterFiches();
    EXPECT_TRUE(n.valeur == 2 && !n.ok());
    std::filesystem::remove("data/data.txt");
    EXPECT_FALSE(compterFiches().ok());
}

// Each storing stopped at each file operation: every file as before or after,
// and each sheet file no longer as it was kept whole in an archived version.
TEST_F(Stockage, ArretAChaqueOperation)
{
    Modification m = bague();
    m.fichiers[EVue].nouveau = "photo.jpg";
    m.fichiers[EInst] = {"photo.jpg", kPBague + "inst.jpg"};
    m.fichiers[EMont2] = {kPBague + "Vue.jpg", ""};
    m.fichiers[EProgramme] = {"prog.txt", ""};
    m.pref = {"9", "8", "7", "6", "5", "4"}, m.jauges = "T7,T8";
    Modification sansDossier = bague();
    sansDossier.directeur = "2", sansDossier.infos = "ligne 1\nligne 2", sansDossier.fichiers[EVue].nouveau = "photo.jpg";
    Suppression s = suppressionBague();
    s.drapeaux[EProgramme] = "O";
    const std::tuple<const char*, std::function<Resultat()>, std::function<void()>> cas[] = {
        {"modification", [&] { return enregistrer(m).resultat; }, [] {}},
        {"modification d'une fiche sans dossier", [&] { return enregistrer(sansDossier).resultat; },
         [] { std::filesystem::remove_all(kDossierBague); }},
        {"suppression", [&] { return supprimer(s).resultat; }, [] { poser(kDossierBague + "prog.txt.~tvx", "reste"); }},
        {"suppression qui garde le dossier", [] { return supprimer(suppressionBague()).resultat; },
         [] { poser(kDossierBague + "notes.doc", "à garder"); }},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(std::get<0>(c));
        const auto& plus = std::get<2>(c);
        aChaqueOperation({.preparer = [&] { preparer(), plus(); },
                          .operation = std::get<1>(c),
                          .etat = [] { return horsArchives(instantane()); },
                          .aussi = [](const Instantane& avant, const Instantane&, const Instantane& milieu) {
                              const auto versions = archives::lister().valeur;
                              for (const auto& [chemin, octets] : avant) {
                                  const std::size_t barre = chemin.find('/', 5);
                                  if (barre == std::string::npos || octets == "<dossier>" || chemin.ends_with(".~tvx") ||
                                      (milieu.count(chemin) && milieu.at(chemin) == octets))
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
