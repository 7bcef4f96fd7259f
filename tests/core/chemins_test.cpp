#include "store/chemins.h"
#include "store/cp1252.h"
#include "store/fichiers.h"

#include "support.h"

#ifdef _WIN32
#include <functional>
#include <thread>

#include <windows.h>
#endif

namespace tarvex {
namespace {

TEST(Cp1252, AllerRetourCorrespondancesEtPliage)
{
    std::string tous;
    for (int i = 0; i < 256; ++i) {
        const std::string un(1, static_cast<char>(i));
        EXPECT_EQ(cp1252::depuisUtf8(cp1252::versUtf8(un)), un) << "octet " << i;
        tous += un;
    }
    EXPECT_EQ(cp1252::depuisUtf8(cp1252::versUtf8(tous)), tous);

    const std::pair<std::string, std::string> cas[] = {
        {"A", "A"}, {std::string(1, '\0'), std::string(1, '\0')}, {"\x80", "€"}, {"\x8C", "Œ"}, {"\x9C", "œ"},
        {"\x9F", "Ÿ"}, {"\x92", "’"}, {"\xE9", "é"}, {"\xC9", "É"}, {"\xA0", "\xC2\xA0"}, {"\xFF", "ÿ"},
        // The five bytes the code page leaves undefined keep their value.
        {"\x81", "\xC2\x81"}, {"\x8D", "\xC2\x8D"}, {"\x8F", "\xC2\x8F"}, {"\x90", "\xC2\x90"}, {"\x9D", "\xC2\x9D"},
    };
    for (const auto& [octet, utf8] : cas) {
        EXPECT_EQ(cp1252::versUtf8(octet), utf8);
        EXPECT_EQ(cp1252::depuisUtf8(utf8), octet);
    }

    // What the page cannot hold becomes "?", and so does UTF-8 that is not:
    // cut short, not followed by a continuation byte, overlong, a surrogate.
    const std::pair<std::string, std::string> hors[] = {
        {"Ā", "?"}, {"x日本y", "x??y"}, {"😀", "?"}, {"\xC3", "?"}, {"\xC3z", "?z"}, {"\xC0\x80", "??"},
        {"\xED\xA0\x80", "???"},
    };
    for (const auto& [utf8, octets] : hors) EXPECT_EQ(cp1252::depuisUtf8(utf8), octets);

    EXPECT_EQ(cp1252::replier("VUE.JPG"), "vue.jpg");
    EXPECT_EQ(cp1252::replier("ÉQUERRE À BUTÉE"), "équerre à butée");
    EXPECT_EQ(cp1252::replier("ŒIL Ÿ Š Ž"), "œil ÿ š ž");
    EXPECT_NE(cp1252::replier("butee"), cp1252::replier("butée"));
    EXPECT_EQ(cp1252::replier("ß×"), "ß×");
}

using Chemins = test::DossierDeTravail;

TEST_F(Chemins, ResolutionSansEgardALaCasseAccentsCompris)
{
    poser("data/PIVOT_Phase 20_BRAS_TOUR 1/Vue.jpg", "vue");
    poser("data/PIVOT_Phase 20_BRAS_TOUR 1/butée.jpg", "butee");
    poser("data/Machine/TOUR 1/com.txt", "com");
    struct Cas { const char* ecrit; const char* surDisque; };
    const std::vector<Cas> cas = {
        {"data\\PIVOT_Phase 20_BRAS_TOUR 1\\vue.jpg", "data/PIVOT_Phase 20_BRAS_TOUR 1/Vue.jpg"},
        {"DATA\\pivot_phase 20_bras_tour 1\\VUE.JPG", "data/PIVOT_Phase 20_BRAS_TOUR 1/Vue.jpg"},
        {"data\\PIVOT_Phase 20_BRAS_TOUR 1\\BUTÉE.JPG", "data/PIVOT_Phase 20_BRAS_TOUR 1/butée.jpg"},
        {"data\\machine\\tour 1\\COM.TXT", "data/Machine/TOUR 1/com.txt"},
        {"data/machine/TOUR 1/com.txt", "data/Machine/TOUR 1/com.txt"},
        // The first missing component and what follows stay as written.
        {"data\\absent\\Fichier.TXT", "data/absent/Fichier.TXT"},
        {"data\\PIVOT_Phase 20_BRAS_TOUR 1\\butee.jpg", "data/PIVOT_Phase 20_BRAS_TOUR 1/butee.jpg"},
    };
    for (const auto& c : cas) {
#ifndef _WIN32  // Windows matches the letter case itself: the path goes to it as written.
        EXPECT_EQ(chemins::texte(chemins::resoudre(c.ecrit)), c.surDisque) << c.ecrit;
#endif
        EXPECT_EQ(fichiers::lire(c.ecrit).value_or("<absent>"), contenu(c.surDisque)) << c.ecrit;
    }

    EXPECT_TRUE(fichiers::existe("data\\pivot_phase 20_bras_tour 1\\vue.jpg"));
    EXPECT_FALSE(fichiers::existe("data\\PIVOT_Phase 20_BRAS_TOUR 1\\butee.jpg"));
    EXPECT_TRUE(fichiers::estDossier("data\\MACHINE"));
    EXPECT_EQ(fichiers::lire("data\\MACHINE\\Tour 1\\Com.Txt").value_or("<absent>"), "com");
}

TEST_F(Chemins, UneEcritureVaDansLeDossierExistantSousUneAutreCasse)
{
    poser("Data/Machine/keep", "");
    fichiers::ecrire("data\\machine\\liste.txt", "x\r\n");
    EXPECT_EQ(contenu("Data/Machine/liste.txt"), "x\r\n");
    EXPECT_FALSE(present("data"));
}

#ifdef _WIN32
// Another computer reading the file, or an antivirus scanning it, holds it
// open without sharing: the store waits up to 2 s for it, then says which
// file stopped it.
TEST_F(Chemins, UnFichierTenuAilleursEstAttenduDeuxSecondes)
{
    const std::string p = "data\\data.txt";
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"remplacement", [&] { fichiers::ecrire(p, "B\r\n"); }},
        {"ajout", [&] { fichiers::ajouter(p, "B\r\n"); }},
        {"lecture", [&] { if (!fichiers::lire(p)) throw fichiers::ErreurFichier(p, "illisible"); }},
        {"suppression", [&] { fichiers::supprimer(p); }},
    };
    for (const auto& [nom, operation] : operations) {
        for (const bool relache : {true, false}) {
            poser("data/data.txt", "A\r\n");
            HANDLE h = CreateFileW(L"data\\data.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(h, INVALID_HANDLE_VALUE);
            std::thread autrePoste([&] {
                if (!relache) return;
                Sleep(500);
                CloseHandle(h);
            });
            try {
                operation();
                EXPECT_TRUE(relache) << nom;
            } catch (const fichiers::ErreurFichier& e) {
                EXPECT_FALSE(relache) << nom << " : " << e.what();
                EXPECT_EQ(e.chemin(), p) << nom;
            }
            autrePoste.join();
            if (!relache) CloseHandle(h);
        }
    }
}
#endif

TEST(NomSur, SeulsLesNomsQuiRestentDansLeurDossier)
{
    struct Cas { const char* nom; bool sur; };
    const std::vector<Cas> cas = {
        {"TOUR 1", true}, {"Fraiseuse Réalméca", true}, {"TOUR.1", true}, {"..x", true},
        {"", false},      {".", false},   {"..", false},  {"...", false}, {" . ", false}, {"  ", false},
        {"a/b", false},   {"a\\b", false}, {"../x", false}, {"C:", false}, {"a\tb", false}, {"a\nb", false},
    };
    for (const auto& c : cas) EXPECT_EQ(chemins::nomSur(c.nom), c.sur) << '"' << c.nom << '"';
}

}  // namespace
}  // namespace tarvex
