// The first data folder of a working folder: what a new empty one holds, the
// code that the check accepts afterwards, the copy of the demonstration data,
// and what an interruption at each file operation leaves behind.

#include "store/chemins.h"
#include "store/code.h"
#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/nouvellesdonnees.h"

#include "support.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace tarvex {
namespace {

using Instantane = std::map<std::string, std::string>;

class NouvellesDonnees : public test::DossierDeTravail {
protected:
    // Every file under a folder by its path relative to it.
    static Instantane arbre(const fs::path& dossier)
    {
        Instantane r;
        if (!fs::exists(dossier)) return r;
        for (const auto& e : fs::recursive_directory_iterator(dossier)) {
            const std::u8string nom = fs::relative(e.path(), dossier).generic_u8string();
            r[std::string(nom.begin(), nom.end())] = e.is_directory() ? "<dossier>" : contenu(chemins::texte(e.path()));
        }
        return r;
    }

    void SetUp() override
    {
        DossierDeTravail::SetUp();
        for (const char* nom : nouvellesdonnees::kLivres) poser(std::string("livres/") + nom, std::string("livré ") + nom);
        poser("demo/data.txt", "PIVOT,20,TOUR 1,BRAS,ACIER,O,O,N,O,N,N,N,N,N,O,O\r\n");
        poser("demo/code.tvx", "TVX2026\r\n");
        poser("demo/tarvex.jpg", "JPEG logo");
        poser("demo/machine/TOUR 1/com.txt", "COM1\r\n9600\r\nE(ven)\r\n7\r\n2\r\n1\r\n1\r\n");
        poser("demo/PIVOT_Phase 20_B\xC3\xA2ti_TOUR 1/prog.txt", "%1\r\nM2\r\n");
        fs::create_directories("demo/machine/vide");
        travail_ = (dossier_ / "atelier" / "tarvex").string();
    }

    std::string livres() const { return (dossier_ / "livres").string(); }
    std::string demo() const { return (dossier_ / "demo").string(); }
    fs::path data() const { return fs::path(travail_) / "data"; }

    std::string travail_;
};

TEST_F(NouvellesDonnees, CodesRefuses)
{
    struct Cas {
        const char* code;
        const char* confirmation;
        const char* refus;  // nullptr: accepted
    };
    const std::vector<Cas> cas = {
        {"TVX2026", "TVX2026", nullptr},
        {"Clé à molette", "Clé à molette", nullptr},
        {"", "", "Le code autorisation ne peut pas être vide"},
        {"", "SECRET", "Le code autorisation ne peut pas être vide"},
        {"SECRET", "secret", "Les deux codes tapés sont différents"},
        {"SECRET", "", "Les deux codes tapés sont différents"},
        {" SECRET", " SECRET", "Le code autorisation ne peut ni commencer ni finir par un blanc"},
        {"SECRET\t", "SECRET\t", "Le code autorisation ne peut ni commencer ni finir par un blanc"},
        {"   ", "   ", "Le code autorisation ne peut ni commencer ni finir par un blanc"},
        {"AB,CD", "AB,CD", "Le code autorisation ne peut contenir ni virgule ni guillemet"},
        {"\"AB\"", "\"AB\"", "Le code autorisation ne peut contenir ni virgule ni guillemet"},
        {"AB\rCD", "AB\rCD", "Le code autorisation ne peut pas contenir de caractère de commande"},
        {"ŁÓDŹ", "ŁÓDŹ", "Le code autorisation contient un caractère qui ne peut pas être enregistré"},
        {"\xFF", "\xFF", "Le code autorisation contient un caractère qui ne peut pas être enregistré"},
    };
    for (const auto& c : cas) {
        const auto refus = nouvellesdonnees::refusCode(c.code, c.confirmation);
        if (c.refus)
            EXPECT_EQ(refus.value_or("<accepté>"), c.refus) << c.code;
        else
            EXPECT_FALSE(refus) << c.code << " : " << *refus;
    }
}

TEST_F(NouvellesDonnees, DossierVideEtSonCode)
{
    for (const std::string code : {"TVX2026", "Clé à molette", "A B"}) {
        fs::remove_all("atelier");
        ASSERT_TRUE(nouvellesdonnees::creerVides(travail_, livres(), code).ok()) << code;

        Instantane attendu = {{"data.txt", ""}, {"machine.txt", ""}, {"machine", "<dossier>"},
                              {"code.tvx", cp1252::depuisUtf8(code) + "\r\n"}};
        for (const char* nom : nouvellesdonnees::kLivres) attendu[nom] = std::string("livré ") + nom;
        EXPECT_EQ(arbre(data()), attendu) << code;
        EXPECT_EQ(arbre(travail_).count(nouvellesdonnees::kBrouillon), 0u);

        // The check of every guarded button accepts the code, and only it.
        fs::current_path(travail_);
        EXPECT_TRUE(verifcode(code).accepte) << code;
        EXPECT_FALSE(verifcode(code + " ").accepte) << code;
        EXPECT_FALSE(verifcode("").accepte) << code;
        fs::current_path(dossier_);
    }
}

TEST_F(NouvellesDonnees, CopieDeLaDemo)
{
    ASSERT_TRUE(nouvellesdonnees::copierDemo(travail_, demo()).ok());
    EXPECT_EQ(arbre(data()), arbre(demo()));
    EXPECT_TRUE(fs::is_directory(data() / "machine" / "vide"));
}

TEST_F(NouvellesDonnees, RienNEstEcritQuandUnePieceManque)
{
    const Instantane avant = arbre(dossier_);
    struct Cas {
        const char* nom;
        std::function<Resultat()> creer;
        std::string fichier;
    };
    fs::remove("livres/pasdimage.jpg");
    const std::vector<Cas> cas = {
        {"fichier livré absent", [&] { return nouvellesdonnees::creerVides(travail_, livres(), "SECRET"); },
         (dossier_ / "livres" / "pasdimage.jpg").string()},
        {"démo absente", [&] { return nouvellesdonnees::copierDemo(travail_, (dossier_ / "ailleurs").string()); },
         (dossier_ / "ailleurs").string()},
        {"code impossible", [&] { return nouvellesdonnees::creerVides(travail_, demo(), "A,B"); },
         (fs::path(travail_) / "data").string() + "\\code.tvx"},
    };
    for (const auto& c : cas) {
        const Resultat r = c.creer();
        ASSERT_FALSE(r.ok()) << c.nom;
        EXPECT_EQ(r.problemes.front().fichier, c.fichier) << c.nom;
    }
    auto apres = arbre(dossier_);
    EXPECT_EQ(apres.size() + 1, avant.size());  // only the removed picture
    EXPECT_FALSE(fs::exists("atelier"));
}

TEST_F(NouvellesDonnees, UnDossierExistantNEstJamaisRemplace)
{
    // A data folder of the workshop, and the scratch folder of a creation
    // that the machine's stop interrupted.
    for (const char* present : {"data", nouvellesdonnees::kBrouillon}) {
        fs::remove_all("atelier");
        poser((fs::path(travail_) / present / "data.txt").string(), "A,10,TOUR,B,C,N,N,N,N,N,N,N,N,N,N,N\r\n");
        const Instantane avant = arbre(travail_);
        for (const Resultat& r : {nouvellesdonnees::creerVides(travail_, livres(), "SECRET"),
                                  nouvellesdonnees::copierDemo(travail_, demo())}) {
            ASSERT_FALSE(r.ok()) << present;
            EXPECT_EQ(r.problemes.front().fichier, (fs::path(travail_) / present).string());
        }
        EXPECT_EQ(arbre(travail_), avant) << present;
    }
    // The working folder is a file.
    fs::remove_all("atelier");
    poser("atelier/tarvex", "pas un dossier");
    const Resultat r = nouvellesdonnees::creerVides(travail_, livres(), "SECRET");
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.problemes.front().texte(), travail_ + " : ce n'est pas un dossier");
}

// A data folder without its index is completed in place: its own files and
// code stay, what it lacks is added; the demo goes only where none of its
// files is, and a refused copy leaves the folder as it was.
TEST_F(NouvellesDonnees, UnDossierSansIndexEstCompleteSansToucherASesFichiers)
{
    poser((data() / "Code.TVX").string(), "ATELIER\r\n");
    poser((data() / "machine" / "FRAISEUSE" / "com.txt").string(), "COM2\r\n");
    Instantane attendu = arbre(data());
    EXPECT_EQ(nouvellesdonnees::copierDemo(travail_, demo()).problemes.at(0).fichier, (data() / "code.tvx").string());
    EXPECT_EQ(arbre(data()), attendu);
    ASSERT_TRUE(nouvellesdonnees::creerVides(travail_, livres(), "").ok());
    attendu.insert({{"data.txt", ""}, {"machine.txt", ""}});
    for (const char* nom : nouvellesdonnees::kLivres) attendu[nom] = std::string("livré ") + nom;
    EXPECT_EQ(arbre(data()), attendu);
}

// Stopped at each of its file operations in turn, a creation leaves nothing
// behind, not even the working folder it made, and the next one finishes.
TEST_F(NouvellesDonnees, InterrompueAChaqueEtape)
{
    struct Cas {
        const char* nom;
        std::function<Resultat()> creer;
    };
    const std::vector<Cas> cas = {
        {"vide", [&] { return nouvellesdonnees::creerVides(travail_, livres(), "SECRET"); }},
        {"démo", [&] { return nouvellesdonnees::copierDemo(travail_, demo()); }},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_GE(aChaqueOperation({.preparer = [] { fs::remove_all("atelier"); },
                                    .operation = c.creer,
                                    .etat = [] { return instantane("."); },
                                    .aussi = [](const Instantane& avant, const Instantane&,
                                                const Instantane& milieu) { EXPECT_EQ(milieu, avant); }}),
                  5);
    }
}

}  // namespace
}  // namespace tarvex
