#include "machines/infomachine.h"

#include "support.h"

#include <cmath>
#include <limits>

namespace tarvex {
namespace {

TEST(TexteNombre, FormeGeneraleEtSeparateur)
{
    const std::pair<double, const char*> cas[] = {
        {1.5, "1.5"}, {7, "7"}, {-3, "-3"}, {-0.0, "0"}, {0.5, "0.5"}, {400, "400"}, {-12.5, "-12.5"},
        {1e14, "100000000000000"}, {123456789012345, "123456789012345"},
        // Past 15 digits the value is rounded and written with an exponent.
        {1234567890123456, "1.23456789012346E+15"}, {1e15, "1E+15"}, {1e20, "1E+20"}, {1e100, "1E+100"},
        {0.0001, "0.0001"}, {0.000123, "0.000123"}, {0.00001, "1E-05"}, {-0.000015, "-1.5E-05"}, {1e-300, "1E-300"},
        // Rounding to 15 digits carries into the next power of ten.
        {9.9999999999999999, "10"}, {99999999999999.99, "100000000000000"}, {999999999999999.9, "1E+15"},
        {0.1 + 0.2, "0.3"}, {2.675, "2.675"}, {1.0 / 3, "0.333333333333333"},
    };
    for (const auto& [valeur, attendu] : cas) EXPECT_EQ(texteNombre(valeur, "."), attendu) << valeur;
    EXPECT_EQ(texteNombre(std::numeric_limits<double>::infinity(), "."), "");
    // The separator of the regional settings; one of more than a byte (UTF-8) is kept whole.
    EXPECT_EQ(texteNombre(1.5, ","), "1,5");
    EXPECT_EQ(texteNombre(0.00001 * 1.5, ","), "1,5E-05");
    EXPECT_EQ(texteNombre(12, ","), "12");
    EXPECT_EQ(texteNombre(0.25, "\xD9\xAB"), "0\xD9\xAB" "25");
}

TEST(TexteValeur, NombreOuTexte)
{
    const std::tuple<const char*, bool, const char*> cas[] = {
        // the item, quoted, the text
        {"1.50", false, "1.5"}, {"007", false, "7"}, {"+5", false, "5"}, {"-0.0", false, "0"}, {".5", false, "0.5"},
        {"12.", false, "12"}, {"1E3", false, "1000"}, {"2.5D2", false, "250"},
        {"1.50", true, "1.50"},  // quoted items are texts, numbers or not
        // Not numbers as a whole.
        {"12,5", false, "12,5"}, {"1 2", false, "1 2"}, {"12 mm", false, "12 mm"}, {"1E", false, "1E"},
        {"COM1", false, "COM1"}, {".", false, "."}, {"-.", false, "-."}, {"", false, ""}, {"1E400", false, "1E400"},
        {"C\xF4ne ISO 40", false, "Cône ISO 40"},  // Windows-1252 text comes out as UTF-8
    };
    for (const auto& [brut, guillemets, attendu] : cas) EXPECT_EQ(texteValeur(brut, guillemets, "."), attendu) << brut;
    EXPECT_EQ(texteValeur("1.50", false, ","), "1,5");
}

class DossierMachine : public test::DossierDeTravail {};

TEST_F(DossierMachine, ChaqueItemUneLigne)
{
    // (Numbers, quoted texts, accents, a name with blanks: affichage/photos and
    // selection/liste-blancs-et-guillemets.) A comma splits an item; an empty line is one.
    poser("data/machine/TOUR 1/dossier.txt", "Courses X 200, Z 400\r\n\r\n  007  \r\n");
    EXPECT_EQ(lireDossierMachine("TOUR 1").valeur, (std::vector<std::string>{"Courses X 200", "Z 400", "", "007"}));
    EXPECT_EQ(lireDossierMachineValeurs("TOUR 1", ".").valeur, (std::vector<std::string>{"Courses X 200", "Z 400", "", "7"}));
}

TEST_F(DossierMachine, FichiersAbsentsSignales)
{
    poser("data/machine/TOUR 1/com.txt", "COM1\r\n");
    struct Cas { const char* nom; Probleme attendu; } cas[] = {
        {"TOUR 1", {"data\\machine\\TOUR 1\\dossier.txt", "fichier introuvable ou illisible"}},
        {"TOUR 9", {"data\\machine\\TOUR 9\\dossier.txt", "le dossier de la machine est introuvable"}},
        {"..", {"data\\machine\\..\\dossier.txt", "nom de machine invalide"}},
        {"", {"data\\machine\\\\dossier.txt", "nom de machine invalide"}},
    };
    for (const auto& c : cas) {
        const auto lu = lireDossierMachineValeurs(c.nom, ".");
        EXPECT_TRUE(lu.valeur.empty()) << c.nom;
        ASSERT_EQ(lu.problemes.size(), 1u) << c.nom;
        EXPECT_EQ(lu.problemes[0], c.attendu) << c.nom;
    }
    // An empty file: no line, no problem.
    poser("data/machine/TOUR 1/dossier.txt", "");
    const auto vide = lireDossierMachineValeurs("TOUR 1", ".");
    EXPECT_TRUE(vide.ok() && vide.valeur.empty());
}

}  // namespace
}  // namespace tarvex
