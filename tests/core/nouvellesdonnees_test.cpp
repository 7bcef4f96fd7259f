// The first data folder: what a new empty one holds, the demo copy, and what an
// interruption at each file operation leaves.

#include "store/chemins.h"
#include "store/nouvellesdonnees.h"

#include "support.h"

namespace fs = std::filesystem;

namespace tarvex {
namespace {

class NouvellesDonnees : public test::DossierDeTravail {
protected:
    // Every file under a folder by its path relative to it.
    static Instantane arbre(const fs::path& dossier) { return instantane(chemins::texte(dossier), true); }

    void SetUp() override
    {
        DossierDeTravail::SetUp();
        for (const char* nom : nouvellesdonnees::kLivres) poser(std::string("livres/") + nom, std::string("livré ") + nom);
        poser("demo/data.txt", "PIVOT,20,TOUR 1,BRAS,ACIER,O,O,N,O,N,N,N,N,N,O,O\r\n");
        poser("demo/code.tvx", "TVX2026\r\n");
        poser("demo/machine/TOUR 1/com.txt", test::kComTourNum);
        poser("demo/PIVOT_Phase 20_B\xC3\xA2ti_TOUR 1/prog.txt", "%1\r\nM2\r\n");
        fs::create_directories("demo/machine/vide");
        travail_ = (dossier_ / "atelier" / "tarvex").string();
    }

    std::string livres() const { return (dossier_ / "livres").string(); }
    std::string demo() const { return (dossier_ / "demo").string(); }
    fs::path data() const { return fs::path(travail_) / "data"; }
    Instantane livresAttendus() const
    {
        Instantane r;
        for (const char* nom : nouvellesdonnees::kLivres) r[nom] = std::string("livré ") + nom;
        return r;
    }

    std::string travail_;
};

TEST_F(NouvellesDonnees, CodesRefuses)
{
    const char* vide = "Le code autorisation ne peut pas être vide";
    const char* differents = "Les deux codes tapés sont différents";
    const char* blanc = "Le code autorisation ne peut ni commencer ni finir par un blanc";
    const char* virgule = "Le code autorisation ne peut contenir ni virgule ni guillemet";
    const char* page = "Le code autorisation contient un caractère qui ne peut pas être enregistré";
    const std::tuple<const char*, const char*, const char*> cas[] = {
        // code, confirmation, refusal (nullptr: accepted)
        {"TVX2026", "TVX2026", nullptr},  {"Clé à molette", "Clé à molette", nullptr},
        {"", "", vide},                   {"", "SECRET", vide},
        {"SECRET", "secret", differents}, {"SECRET", "", differents},
        {" SECRET", " SECRET", blanc},    {"SECRET\t", "SECRET\t", blanc}, {"   ", "   ", blanc},
        {"AB,CD", "AB,CD", virgule},      {"\"AB\"", "\"AB\"", virgule},
        {"AB\rCD", "AB\rCD", "Le code autorisation ne peut pas contenir de caractère de commande"},
        {"ŁÓDŹ", "ŁÓDŹ", page},           {"\xFF", "\xFF", page},
    };
    for (const auto& [code, confirmation, refus] : cas)
        EXPECT_EQ(nouvellesdonnees::refusCode(code, confirmation).value_or("<accepté>"), refus ? refus : "<accepté>") << code;
}

TEST_F(NouvellesDonnees, DossierVideEtSonCodeOuCopieDeLaDemo)
{
    // (A code with an accent and a blank, in Windows-1252: premier/vide.)
    ASSERT_TRUE(nouvellesdonnees::creerVides(travail_, livres(), "TVX2026").ok());
    Instantane attendu = livresAttendus();
    attendu.insert({{"data.txt", ""}, {"machine.txt", ""}, {"machine", "<dossier>"}, {"code.tvx", "TVX2026\r\n"}});
    EXPECT_EQ(arbre(data()), attendu);
    EXPECT_FALSE(fs::exists(fs::path(travail_) / nouvellesdonnees::kBrouillon));
    fs::remove_all("atelier");
    ASSERT_TRUE(nouvellesdonnees::copierDemo(travail_, demo()).ok());
    EXPECT_EQ(arbre(data()), arbre(demo()));
}

TEST_F(NouvellesDonnees, RienNEstEcritQuandUnePieceManque)
{
    fs::remove("livres/pasdimage.jpg");
    const Instantane avant = instantane(".");
    const std::pair<Resultat, std::string> cas[] = {
        {nouvellesdonnees::creerVides(travail_, livres(), "SECRET"), (dossier_ / "livres" / "pasdimage.jpg").string()},
        {nouvellesdonnees::copierDemo(travail_, (dossier_ / "ailleurs").string()), (dossier_ / "ailleurs").string()},
        {nouvellesdonnees::creerVides(travail_, demo(), "A,B"), data().string() + "\\code.tvx"},
    };
    for (const auto& [r, fichier] : cas) EXPECT_EQ(r.problemes.at(0).fichier, fichier);
    EXPECT_EQ(instantane("."), avant);
}

TEST_F(NouvellesDonnees, UnDossierExistantNEstJamaisRemplace)
{
    // A data folder of the workshop, and the scratch folder of a creation
    // that the machine's stop interrupted.
    for (const char* present : {"data", nouvellesdonnees::kBrouillon}) {
        fs::remove_all("atelier");
        poser((fs::path(travail_) / present / "data.txt").string(), "A,10,TOUR,B,C,N,N,N,N,N,N,N,N,N,N,N\r\n");
        const Instantane avant = arbre(travail_);
        for (const Resultat& r : {nouvellesdonnees::creerVides(travail_, livres(), "SECRET"), nouvellesdonnees::copierDemo(travail_, demo())})
            EXPECT_EQ(r.problemes.at(0).fichier, (fs::path(travail_) / present).string());
        EXPECT_EQ(arbre(travail_), avant) << present;
    }
    // The working folder is a file.
    fs::remove_all("atelier");
    poser("atelier/tarvex", "pas un dossier");
    EXPECT_EQ(joindreProblemes(nouvellesdonnees::creerVides(travail_, livres(), "SECRET").problemes), travail_ + " : ce n'est pas un dossier");
}

// A data folder without its index is completed in place, its own files kept;
// the demo goes only where none of its files is, a refused copy changing nothing.
TEST_F(NouvellesDonnees, UnDossierSansIndexEstCompleteSansToucherASesFichiers)
{
    poser((data() / "Code.TVX").string(), "ATELIER\r\n");
    poser((data() / "machine" / "FRAISEUSE" / "com.txt").string(), "COM2\r\n");
    Instantane attendu = arbre(data());
    EXPECT_EQ(nouvellesdonnees::copierDemo(travail_, demo()).problemes.at(0).fichier, (data() / "code.tvx").string());
    EXPECT_EQ(arbre(data()), attendu);
    ASSERT_TRUE(nouvellesdonnees::creerVides(travail_, livres(), "").ok());
    attendu.merge(livresAttendus());
    attendu.insert({{"data.txt", ""}, {"machine.txt", ""}});
    EXPECT_EQ(arbre(data()), attendu);
}

// Stopped at each of its file operations in turn, a creation leaves nothing
// behind, not even the working folder it made, and the next one finishes.
TEST_F(NouvellesDonnees, InterrompueAChaqueEtape)
{
    const std::pair<const char*, std::function<Resultat()>> cas[] = {
        {"vide", [&] { return nouvellesdonnees::creerVides(travail_, livres(), "SECRET"); }},
        {"démo", [&] { return nouvellesdonnees::copierDemo(travail_, demo()); }},
    };
    for (const auto& [nom, creer] : cas) {
        SCOPED_TRACE(nom);
        EXPECT_GE(aChaqueOperation({.preparer = [] { fs::remove_all("atelier"); }, .operation = creer, .etat = [] { return instantane("."); },
                                    .aussi = [](const Instantane& avant, const Instantane&, const Instantane& milieu) { EXPECT_EQ(milieu, avant); }}), 5);
    }
}

}  // namespace
}  // namespace tarvex
