#include "printing/feuille.h"

#include "support.h"

namespace tarvex::impression {
namespace {

TEST(SectionsOffertes, TextesDesEtiquettes)
{
    const EtatCase non{}, offerte{true, false}, cochee{true, true};
    struct Cas {
        const char* directeur;
        const char* programme;
        Offre attendu;  // pref, dec, origines, jauges, annotations, listing, donnees, dossierMachine, trajectoire
    } cas[] = {
        // The scenarios walk every type; here the texts the labels may hold.
        {" 1 ", "N", {cochee, cochee, non, cochee, non, non, non, offerte, non}},
        {"03", " O ", {non, non, cochee, cochee, offerte, offerte, non, offerte, offerte}},
        // A flag is "O" or it is not; an unknown control offers the machine file only.
        {"10", "o", {non, non, non, cochee, non, non, non, offerte, non}},
        {"4", "O", {non, non, non, non, non, non, non, offerte, non}},
        {"", "O", {non, non, non, non, non, non, non, offerte, non}},
    };
    for (const auto& c : cas) EXPECT_EQ(sectionsOffertes(c.directeur, c.programme), c.attendu) << c.directeur;
}

class Feuille : public test::DossierDeTravail {
protected:
    static Fiche fiche()
    {
        Fiche f;
        f.phase = "A Phase 10";
        f.machine = " T1 ";
        f.typeMachine = "1";
        f.dossier = "data\\A_Phase 10_E_T1\\";
        return f;
    }
    static std::vector<std::string> lignes(const std::vector<Operation>& ops)
    {
        std::vector<std::string> r;
        for (const auto& o : ops)
            if (o.genre == Operation::Genre::Texte && o.x == 55) r.push_back(o.texte);
        return r;
    }
};

TEST_F(Feuille, UnFichierIllisibleArreteLImpressionApresSonTitre)
{
    poser("data/A_Phase 10_E_T1/jauge.txt", "D1 X1\r\n");
    poser("data/machine/T1/dossier.txt", "Tour\r\n");
    Sections s;
    s.jauges = s.listing = s.dossierMachine = true;
    const auto lu = feuille(fiche(), s);
    ASSERT_EQ(lu.problemes.size(), 1u);
    EXPECT_EQ(lu.problemes[0].fichier, "data\\A_Phase 10_E_T1\\prog.txt");
    ASSERT_GE(lu.valeur.size(), 2u);
    EXPECT_EQ(lu.valeur.back().genre, Operation::Genre::LigneVide);
    EXPECT_EQ(lu.valeur[lu.valeur.size() - 2].texte, "- Listing programme -");
    EXPECT_EQ(lignes(lu.valeur).back(), "D1 X1");

    // The machine's name is taken without its blanks; the end comes last.
    poser("data/A_Phase 10_E_T1/prog.txt", "%1\r\n  $  EBAUCHE ,G0 X10\r\n\"$ a, b \"\r\n");
    s.annotations = true;
    const auto complet = feuille(fiche(), s);
    EXPECT_TRUE(complet.ok());
    EXPECT_EQ(complet.valeur.back().genre, Operation::Genre::Fin);
    const std::vector<std::string> attendu = {"Pièce : ", "Phase : ", "Matière : ", "Ensemble : ", "Machine :  T1 ",
                                              "D1 X1", "EBAUCHE", "a, b", "%1", "$  EBAUCHE", "G0 X10", "$ a, b ",
                                              "Tour"};
    EXPECT_EQ(lignes(complet.valeur), attendu);
}

}  // namespace
}  // namespace tarvex::impression
