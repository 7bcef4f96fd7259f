#include "store/cp1252.h"
#include "store/fiche.h"
#include "store/ficheaffichee.h"

#include "support.h"

namespace tarvex {
namespace {

const std::string kDossier = "data\\PIVOT_Phase 20_BRAS_TOUR 1\\";
const std::string kSurDisque = "data/PIVOT_Phase 20_BRAS_TOUR 1/";

class Fiche : public test::DossierDeTravail {
protected:
    void SetUp() override { DossierDeTravail::SetUp(), std::filesystem::create_directories(kSurDisque); }
};

TEST_F(Fiche, LireLesValeurs)
{
    // (Whole files of each kind, and origine.txt: the display scenarios.)
    struct Cas { const char* nom; int type; std::string octets; ValeursPref attendu; std::string probleme; /* "": none */ };
    const std::vector<Cas> cas = {
        {"la dernière série l'emporte", 1, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n", {"5", "", "6", "7", "", "8"}, ""},
        {"lignes vides après les valeurs", 1, "1\r\n2\r\n3\r\n4\r\n\r\n\r\n", {"1", "", "2", "3", "", "4"}, ""},
        {"fichier de tournage lu en fraisage", 2, "1\r\n2\r\n3\r\n4\r\n", {"1", "2", "3", "4", "", ""}, "4 valeurs au lieu de 6"},
        {"série finale incomplète", 1, "1\r\n2\r\n3\r\n4\r\n5\r\n", {"5", "", "2", "3", "", "4"}, "1 valeur au lieu de 4"},
        {"fichier vide", 1, "", {}, "aucune valeur (il en faut 4)"},
        {"virgule dans une valeur", 1, "1,5\r\n2\r\n3\r\n", {"1", "", "5", "2", "", "3"}, ""},
    };
    for (const auto& c : cas) {
        poser(kSurDisque + "pref.txt", c.octets);
        const auto lu = lirepref(kDossier, c.type);
        EXPECT_EQ(lu.valeur, c.attendu) << c.nom;
        EXPECT_EQ(joindreProblemes(lu.problemes), c.probleme.empty() ? "" : kDossier + "pref.txt : " + c.probleme) << c.nom;
    }
}

TEST_F(Fiche, EcrireInfosPuisRelire)
{
    // (pref.txt and origine.txt of each kind: the creation's writing tests; a text
    // trimmed, its accents and commas kept: modification/valeurs, creation/refus.)
    // Information text read back less its last character; none, its placeholder.
    const std::tuple<std::string, std::string, std::string> infos[] = {
        {"", "Infos \xE0 compl\xE9ter\r\n", "Infos à compléter\r"},
        {"   ", "Infos \xE0 compl\xE9ter\r\n", "Infos à compléter\r"},
    };
    for (const auto& [tape, fichier, relu] : infos) {
        ASSERT_TRUE(ecrireinfos(kDossier, tape).ok());
        EXPECT_EQ(contenu(kSurDisque + "info.txt"), fichier) << tape;
        EXPECT_EQ(lireinfos(kDossier).valeur, relu) << tape;
    }
}

TEST_F(Fiche, Jauges)
{
    std::string cent;
    std::vector<std::string> centLignes;
    for (int i = 1; i <= 150; ++i) {
        cent += "T" + std::to_string(i) + (i % 2 ? "," : "\r\n");
        centLignes.push_back("T" + std::to_string(i));
    }
    const std::pair<std::string, std::vector<std::string>> cas[] = {
        {"T1 L=125.3, T2 L=98", {"T1 L=125.3", "T2 L=98"}}, {"", {"A compléter"}}, {" \t ", {"A compléter"}},
        {"  T1\r\n\r\n\n T2  \r\n", {"T1", "T2"}},         {"T1,,T2,", {"T1", "T2"}}, {"\"T1, T2\"", {"T1, T2"}},
        {"Jauge ø12", {"Jauge ø12"}},                       {cent, centLignes},  // no cap on the number of items
    };
    for (const auto& [tape, lignes] : cas) EXPECT_EQ(normaliserJauges(tape), lignes) << tape;
}

TEST_F(Fiche, ProgrammeEtAnnotations)
{
    // The whole file less its last character.
    const std::pair<std::string, std::string> cas[] = {
        {"%1\r\nN10 G0\r\n", "%1\r\nN10 G0\r"}, {"%1\r\nN10 G0", "%1\r\nN10 G"}, {"%1\nN10\n", "%1\nN10"},
        {"x", ""},                              {"Op\xE9ration\r\n", "Opération\r"},
    };
    for (const auto& [octets, texte] : cas) {
        poser(kSurDisque + "prog.txt", octets);
        const auto lu = lireprogramme(kDossier);
        EXPECT_TRUE(lu.ok() && lu.valeur == texte) << texte;
    }
    poser(kSurDisque + "prog.txt", "");
    const auto vide = lireprogramme(kDossier);
    EXPECT_EQ(joindreProblemes(vide.problemes) + vide.valeur, kDossier + "prog.txt : le fichier est vide");

    // (A comment, a message, a block, a comma in a comment, a line that starts with blanks: the atelier's
    // PIVOT program in affichage/fichiers-abimes and modification/programme.)
    const std::tuple<const char*, std::string, std::vector<std::string>> annotes[] = {
        {"dollar seul", "$\r\n", {""}},
        {"item après une virgule", "N10 G1 X5,(FIN)\r\n", {"(FIN)"}},
        {"dollar ailleurs qu'en tête", "N10 $X\r\nN20 (Y)\r\n", {}},
        {"accents et fins de ligne mêlées", "(Ébauche)\r$ Contrôle\n", {"(Ébauche)", "Contrôle"}},
        {"vide", "", {}},
    };
    for (const auto& [nom, programme, attendu] : annotes) {
        poser(kSurDisque + "prog.txt", cp1252::depuisUtf8(programme));
        const auto lu = annotations(kDossier);
        EXPECT_TRUE(lu.ok() && lu.valeur == attendu) << nom;
    }
}

// Another computer stores pref.txt once this one has read it, before the
// rest of the sheet (a slow share): never old values under new stamps.
TEST_F(Fiche, UnChangementPendantLaLectureSeVoitCommeUnChangement)
{
    struct Ailleurs : fichiers::Observateur {
        void avant(std::string_view chemin) override
        {
            if (chemin.ends_with("jauge.txt")) poser(kSurDisque + "pref.txt", "0.5\r\n-3\r\n0\r\n0\r\n");
        }
    } ailleurs;
    poserMachine("TOUR 1");
    poser("data/data.txt", "PIVOT,20,TOUR 1,BRAS,ACIER,N,N,N,N,N,N,N,N,N,N,N\r\n");
    poser(kSurDisque + "pref.txt", "12.5\r\n-3\r\n0\r\n0\r\n");
    fichiers::observer(&ailleurs);
    const auto lu = lireFicheAffichee(0);
    fichiers::observer(nullptr);
    ASSERT_TRUE(lu.valeur && lu.valeur->pref.valeur.prefX == "12.5");
    EXPECT_EQ(comparerFiche(*lu.valeur), EtatFiche::Modifiee);
    EXPECT_NE(empreintesDossier(lu.valeur->champs), lu.valeur->vue.fichiers);
}

}  // namespace
}  // namespace tarvex
