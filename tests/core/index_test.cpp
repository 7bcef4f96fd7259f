#include "store/index.h"

#include "support.h"

namespace tarvex {
namespace {

const std::string kDrapeaux = "O,O,N,O,N,N,N,N,N,O,O";

// One index line as the creation writes it, CR LF included.
std::string ligne(const std::string& piece, const std::string& phase, const std::string& machine = "TOUR 1",
                  const std::string& ensemble = "BRAS", const std::string& matiere = "ACIER")
{
    return piece + "," + phase + "," + machine + "," + ensemble + "," + matiere + "," + kDrapeaux + "\r\n";
}

std::string cle(const std::string& piece, const std::string& phase, const std::string& machine = "TOUR 1", const std::string& ensemble = "BRAS")
{
    return piece + "_Phase " + phase + "_" + ensemble + "_" + machine + "\\";
}

std::vector<std::string> pieces(const Index& index)
{
    std::vector<std::string> r;
    for (const auto& e : index.enregistrements) r.push_back(e[CPiece] + " " + e[CPhase]);
    return r;
}

class IndexTest : public test::DossierDeTravail {};

TEST_F(IndexTest, LesFinsDeLigneSontDesSeparateursCommeLesVirgules)
{
    struct Cas { const char* nom; std::string octets; std::vector<std::string> attendu; std::size_t problemes; };
    const std::string a = ligne("AXE", "10"), b = ligne("BAGUE", "20"), c = ligne("CAME", "30");
    const std::vector<Cas> cas = {
        {"vide", "", {}, 0},
        {"trois", a + b + c, {"AXE 10", "BAGUE 20", "CAME 30"}, 0},
        {"coupé sur deux lignes", "AXE,10,TOUR 1,BRAS,ACIER,O,O,N\r\nO,N,N,N,N,N,O,O\r\n" + b, {"AXE 10", "BAGUE 20"}, 0},
        // Fifteen fields: the record takes the next line's first field and
        // every later record shifts by one item.
        {"quinze champs", "AXE,10,TOUR 1,BRAS,ACIER,O,O,N,O,N,N,N,N,N,O\r\n" + b + c, {"AXE 10", "20 TOUR 1"}, 1},
        {"lignes vides à la fin", a + "\r\n\r\n  \r\n", {"AXE 10"}, 0},
        {"dernier sans fin de ligne", a + "BAGUE,20,TOUR 1,BRAS,ACIER,O,O,N,O,N,N,N,N,N,O,O", {"AXE 10", "BAGUE 20"}, 0},
        {"dernier incomplet", a + "BAGUE,20,TOUR 1", {"AXE 10"}, 1},
    };
    for (const auto& k : cas) {
        poser("data/data.txt", k.octets);
        const auto lu = lireIndex();
        EXPECT_EQ(pieces(lu.valeur), k.attendu) << k.nom;
        EXPECT_EQ(lu.problemes.size(), k.problemes) << k.nom;
        for (const auto& p : lu.problemes) EXPECT_EQ(p.fichier, "data\\data.txt");
    }
}

TEST_F(IndexTest, LireEtMessages)
{
    poser("data/data.txt", "PIVOT,20,TOUR 1,BRAS,ACIER,O,O,N,O,N,N,N,N,N,O,O\r\n" + ligne("BAGUE", "20") + "CAME,30,TOUR 1");
    const auto lu = lireIndex();
    const Enregistrement attendu = {"PIVOT", "20", "TOUR 1", "BRAS", "ACIER", "O", "O", "N", "O", "N", "N", "N", "N", "N", "O", "O"};
    ASSERT_EQ(lu.valeur.enregistrements.size(), 2u);
    EXPECT_EQ(lu.valeur.enregistrements[0], attendu);
    EXPECT_EQ(cleEnregistrement(attendu), "PIVOT_Phase 20_BRAS_TOUR 1\\");
    // (The messages of a cut record and of one gone: the liste and fichiers-abimes scenarios.)
    poser("data/data.txt", ligne("AXE", "10") + ligne("BAGUE", "20") + ligne("CAME", "30"));
    EXPECT_EQ((*lireEnregistrement(1).valeur)[CPiece], "BAGUE");
    EXPECT_FALSE(lireEnregistrement(3).valeur);

    std::filesystem::remove("data/data.txt");
    EXPECT_EQ(lireIndex().problemes.at(0).fichier, "data\\data.txt");
    EXPECT_FALSE(lireEnregistrement(0).ok());
    EXPECT_FALSE(reecrireindex(cle("AXE", "10"), std::nullopt).ok() || present("data/data.txt"));
}

TEST_F(IndexTest, AjouterPuisRelire)
{
    struct Cas { const char* nom; std::optional<std::string> avant; std::string apres; };
    const std::string nouvelle = "ÉQUERRE,010,TOUR 1,CHÂSSIS,INOX,O,N,N,N,N,N,N,N,N,N,O";
    const std::string nouvelleCp = "\xC9QUERRE,010,TOUR 1,CH\xC2SSIS,INOX,O,N,N,N,N,N,N,N,N,N,O\r\n";
    const std::vector<Cas> cas = {
        {"index vide", std::string(), nouvelleCp},
        {"index absent", std::nullopt, nouvelleCp},
        {"après un enregistrement", ligne("AXE", "10"), ligne("AXE", "10") + nouvelleCp},
        // A last line without its line end must not swallow the new record.
        {"dernière ligne sans fin", "AXE,10,TOUR 1,BRAS,ACIER,O,O,N,O,N,N,N,N,N,O,O", ligne("AXE", "10") + nouvelleCp},
    };
    for (const auto& c : cas) {
        std::filesystem::remove_all("data"), std::filesystem::create_directory("data");
        if (c.avant) poser("data/data.txt", *c.avant);
        ASSERT_TRUE(ajouterEnregistrement(nouvelle).ok()) << c.nom;
        EXPECT_EQ(contenu("data/data.txt"), c.apres) << c.nom;
        const auto lu = lireIndex();
        ASSERT_FALSE(lu.valeur.enregistrements.empty());
        EXPECT_EQ(lu.valeur.enregistrements.back()[CPiece] + " " + lu.valeur.enregistrements.back()[CPhase], "ÉQUERRE 010") << c.nom;  // the phase stays text
    }
}

TEST_F(IndexTest, Reecriture)
{
    const std::string a = ligne("AXE", "10"), b = ligne("BAGUE", "20"), c = ligne("CAME", "30");
    const std::string bPrime = "BAGUE,20,TOUR 1,BRAS,BRONZE,O,N,N,N,N,N,N,N,N,N,N";
    struct Cas { const char* nom; std::string avant, cle; std::optional<std::string> remplacement; std::string apres; };
    const std::vector<Cas> cas = {
        // (The first and second deleted, a key twice replaced, another letter
        // case left: the suppression and sans-changement scenarios.)
        {"modification du deuxième", a + b + c, cle("BAGUE", "20"), bPrime, a + bPrime + "\r\n" + c},
        {"suppression du dernier", a + b + c, cle("CAME", "30"), std::nullopt, a + b},
        {"autre machine : rien ne correspond", a + b + c, cle("BAGUE", "20", "TOUR 2"), std::nullopt, a + b + c},
        {"même clé deux fois, supprimées", a + b + c + b, cle("BAGUE", "20"), std::nullopt, a + c},
        {"la matière ne fait pas partie de la clé", a + ligne("BAGUE", "20", "TOUR 1", "BRAS", "LAITON"), cle("BAGUE", "20"), std::nullopt, a},
        {"dernier enregistrement supprimé", a, cle("AXE", "10"), std::nullopt, ""},
        // Copied records come out as rebuilt lines, CR LF ended.
        {"lignes refaites", "  AXE ,  10 ,TOUR 1,BRAS, ACIER ,O,O,N,O,N,N,N,N,N,O,O\n" + b, cle("BAGUE", "20"), std::nullopt, a},
        {"blancs entre guillemets : la phase et la matière rognées, la pièce gardée",
         "\" AXE \",\" 10 \",TOUR 1,BRAS,\" ACIER \",O,O,N,O,N,N,N,N,N,O,O\r\n" + b, cle("BAGUE", "20"),
         std::nullopt, "\" AXE \",10,TOUR 1,BRAS,ACIER,O,O,N,O,N,N,N,N,N,O,O\r\n"},
        {"la clé se compare sans les blancs des champs", "\" BAGUE \",20,TOUR 1,BRAS,ACIER," + kDrapeaux + "\r\n" + a, cle("BAGUE", "20"), std::nullopt, a},
        // A quoted field holding a comma stays one field.
        {"virgule entre guillemets gardée", "\"AXE, long\",10,TOUR 1,BRAS,ACIER," + kDrapeaux + "\r\n" + b,
         cle("BAGUE", "20"), std::nullopt, "\"AXE, long\",10,TOUR 1,BRAS,ACIER," + kDrapeaux + "\r\n"},
        {"lignes vides de la fin retirées", a + b + "\r\n\r\n", cle("AXE", "10"), std::nullopt, b},
        {"enregistrement incomplet final gardé", a + b + "CAME,30,TOUR 1", cle("AXE", "10"), std::nullopt, b + "CAME,30,TOUR 1\r\n"},
        {"octets hauts", "\xC9QUERRE,1,TOUR 1,CH\xC2SSIS,ACIER," + kDrapeaux + "\r\n" + a, cle("ÉQUERRE", "1", "TOUR 1", "CHÂSSIS"), std::nullopt, a},
        {"clé hors de la page de code", a, cle("AĀ", "10"), std::nullopt, a},
    };
    for (const auto& k : cas) {
        poser("data/data.txt", k.avant);
        const auto r = reecrireindex(k.cle, k.remplacement);
        EXPECT_TRUE(r.ok()) << k.nom << " : " << joindreProblemes(r.problemes);
        EXPECT_TRUE(contenu("data/data.txt") == k.apres && !present("data/data.tmp")) << k.nom << ": " << contenu("data/data.txt");
    }
}

TEST_F(IndexTest, UnDataTmpLaisseParUneReecritureInterrompueEstEcarte)
{
    const std::string a = ligne("AXE", "10"), b = ligne("BAGUE", "20");
    poser("data/data.txt", a + b), poser("data/data.tmp", a + "vestige,d'une,réécriture\r\n");
    ASSERT_TRUE(reecrireindex(cle("AXE", "10"), std::nullopt).ok());
    EXPECT_TRUE(contenu("data/data.txt") == b && !present("data/data.tmp"));

    // Under another letter case too, as the workshop's system would see it.
    poser("data/DATA.TMP", "vestige\r\n");
    ASSERT_TRUE(reecrireindex(cle("BAGUE", "20"), "BAGUE,20,TOUR 1,BRAS,ACIER," + kDrapeaux).ok());
    EXPECT_TRUE(contenu("data/data.txt") == b && !present("data/DATA.TMP"));
}

}  // namespace
}  // namespace tarvex
