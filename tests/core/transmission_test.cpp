#include "cnclink/continu.h"
#include "cnclink/transmission.h"

#include "support.h"

#include <limits>

namespace tarvex {
namespace {

TEST(TexteParametre, MillimetresEnMicrometres)
{
    const std::pair<double, const char*> doubles[] = {
        {0.1, "100"}, {1.005, "1005"},  // 1004.9999999999999 before 15 digits
        {-0.25, "-250"}, {12.3456, "12345.6"},  // 12345.599999999999: no rounding added
        {1e-5, "0.01"}, {123456789, "123456789000"}, {12.5, "12500"}, {-3, "-3000"}, {0, "0"}, {-0.0, "0"},
        {1e17, "100000000000000000000"},  // no exponent however large
        {-1e-10, "-0.0000001"},           // nor however small
        {1.0 / 3000, "0.333333333333333"}, {2.0 / 3000, "0.666666666666667"},
        {123456789012345.678, "123456789012346000"},
    };
    for (const auto& [mm, attendu] : doubles) EXPECT_EQ(texteparametre(mm * 1000.0), attendu) << mm;
    EXPECT_EQ(texteparametre(std::numeric_limits<double>::infinity()), "");
    // Single precision: 7 significant digits (123456789 mm is 123456795000 µm).
    const std::pair<float, const char*> simples[] = {
        {123456789.0f, "123456800000"}, {0.8f, "800"}, {-12.5f, "-12500"}, {0.1f, "100"}, {1.005f, "1005"},
        {12.3456f, "12345.6"}, {1e-5f, "0.01"}, {-0.0f, "0"}, {1.0f / 3000.0f, "0.3333333"},
    };
    for (const auto& [mm, attendu] : simples) EXPECT_EQ(texteparametre(mm * 1000.0f), attendu) << mm;
    EXPECT_EQ(texteparametre(50000.0f + 2.0f), "50002");
    EXPECT_EQ(texteparametre(55000.0f + 12.0f), "55012");
}

TEST(LignesJauge, FormesEtEchecs)
{
    const std::tuple<const char*, int, std::vector<std::string>, int> cas[] = {
        // item, kind, the lines, or the failure's number
        {"D2 X-12.5 Z40 R0.8 C3", 1, {"E50002=-12500", "E51002=40000", "E52002=800", "E55002=3"}, 0},
        // c is the two characters after C; a C at the end gives 0.
        {"D1 X1 Z2 R3 C123", 1, {"E50001=1000", "E51001=2000", "E52001=3000", "E55001=12"}, 0},
        {"D1 X1 Z2 R3 C", 1, {"E50001=1000", "E51001=2000", "E52001=3000", "E55001=0"}, 0},
        // The last D counts; letters next to each other give empty values.
        {"DD4 X1 Z2 R3 C4", 1, {"E50004=1000", "E51004=2000", "E52004=3000", "E55004=4"}, 0},
        {"DXZRC", 1, {"E50000=0", "E51000=0", "E52000=0", "E55000=0"}, 0},
        {"D3 L120.5 R4", 2, {"E50003=120500", "E52003=4000"}, 0},
        {"D12 L80 R-0.1", 2, {"E50012=80000", "E52012=-100"}, 0},
        {"D1 L123456789 R0", 2, {"E50001=123456800000", "E52001=0"}, 0},
        {"D5 L1 R3 r2", 2, {"E50005=1000", "E52005=3000"}, 0},  // lower case letters are not markers
        {"D1 X1 Z2 R3 C4", 3, {}, 0},                           // another kind: nothing
        {"D1 Z2 R3 C4", 1, {}, kErreurJauge},                   // no X
        {"D1 Z2 X3 R4 C5", 1, {}, kErreurJauge},                // Z before X
        {"D1 X1 Z2 C4", 1, {}, kErreurJauge},                   // no R
        {"D1 X1 Z2 R3", 1, {}, kErreurJauge},                   // no C
        {"D1 R2 L3", 2, {}, kErreurJauge},                      // R before L
        {"R5", 2, {}, kErreurJauge},                            // no L
        {"D1 X1e300 Z1 R1 C1", 1, {}, kErreurDepassement},      // beyond single precision
        {"D1 L1e36 R1", 2, {}, kErreurDepassement},             // overflows once scaled
    };
    for (const auto& [item, type, lignes, numero] : cas) {
        PositionsJauge p;
        const LignesJauge l = lignesjauge(item, type, p);
        EXPECT_TRUE(l.echec == (numero != 0) && l.numero == numero) << item;
        EXPECT_EQ(l.lignes, lignes) << item;
    }
}

TEST(LignesJauge, PositionsReporteesDUnItemAuSuivant)
{
    // Without C of its own, the second item takes the first one's position
    // of C (15): alone it is malformed.
    const std::string premier = "D1 X10 Z20 R1 C2", second = "D2 X11 Z21 R2 03";
    PositionsJauge seul;
    EXPECT_TRUE(lignesjauge(second, 1, seul).echec);

    PositionsJauge p;
    ASSERT_FALSE(lignesjauge(premier, 1, p).echec);
    EXPECT_EQ(lignesjauge(second, 1, p).lignes, (std::vector<std::string>{"E50002=11000", "E51002=21000", "E52002=2000", "E55002=3"}));
    PositionsJauge f;
    ASSERT_FALSE(lignesjauge("D1 L5 R2", 2, f).echec);
    EXPECT_EQ(lignesjauge("X2 L6 R3", 2, f).lignes, (std::vector<std::string>{"E50002=6000", "E52002=3000"}));
    // A milling item without R after one with it: R read where it was, past the end here.
    PositionsJauge g;
    EXPECT_EQ(lignesjauge("D1 L1234.5678 R0.5", 2, g).lignes, (std::vector<std::string>{"E50001=1234568", "E52001=500"}));
    EXPECT_EQ(lignesjauge("D6 L10", 2, g).lignes, (std::vector<std::string>{"E50006=10000", "E52006=0"}));
}

const std::string kDossier = "data\\PIVOT_Phase 20_BRAS_TOUR 1\\";
const std::string kDisque = "data/PIVOT_Phase 20_BRAS_TOUR 1/";
const std::string kFin = "\x13\n";

// Each step as its bytes, followed by "@n" when it moves the progress bar.
std::vector<std::string> trace(const Transfert& t)
{
    std::vector<std::string> r;
    for (const auto& e : t.etapes) r.push_back(e.octets + (e.progression >= 0 ? "@" + std::to_string(e.progression) : ""));
    return r;
}

std::vector<std::string> joindre(std::initializer_list<std::vector<std::string>> morceaux)
{
    std::vector<std::string> r;
    for (const auto& m : morceaux) r.insert(r.end(), m.begin(), m.end());
    return r;
}

class Transmission : public test::DossierDeTravail {
protected:
    void SetUp() override { DossierDeTravail::SetUp(), poser(kDisque + "prog.txt", "%100\r\nN10 G0 X0\r\nN20 M2\r\n"); }

    static DemandeChargement demande(int directeur, int type, bool pref = false, bool dec = false, bool jauges = false,
                                     ModeChargement mode = ModeChargement::Programme)
    {
        DemandeChargement d;
        static_cast<ValeursPref&>(d) = {"12.5", "0.1", "-3", "1.005", "12.3456", "12,5"};  // the last read as 12
        d.directeur = directeur, d.type = type, d.dossier = kDossier, d.mode = mode;
        d.pref = pref, d.dec = dec, d.jauges = jauges;
        return d;
    }

    const std::vector<std::string> corps_ = {"N10 G0 X0\n@66", "N20 M2\n@100", "@0", kFin};
};

TEST_F(Transmission, ProgrammeNumToutesCombinaisonsDeBlocs)
{
    const std::vector<std::string> vide, pref[] = {{"$ PREF XZ\n", "E60000=12500\n", "E61000=-3000\n"},
                                                   {"$ PREF XYZ\n", "E60000=12500\n", "E61000=100\n", "E62000=-3000\n"}};
    const std::vector<std::string> dec[] = {{"$ DEC XZ\n", "E60001=1005\n", "E61001=12000\n"},
                                            {"$ DEC XYZ\n", "E60001=1005\n", "E61001=12345.6\n", "E62001=12000\n"}};
    const std::vector<std::string> jauges[] = {
        {"$ JAUGES\n", "E50001=-12500\n", "E51001=40000\n", "E52001=800\n", "E55001=3\n", "E50002=10000\n",
         "E51002=-5250\n", "E52002=400\n", "E55002=2\n"},
        {"$ JAUGES\n", "E50001=120500\n", "E52001=5000\n", "E50012=80000\n", "E52012=-100\n"}};
    for (int masque = 0; masque < 8; ++masque)
        for (int type : {1, 2}) {
            const DemandeChargement d = demande(1, type, masque & 1, masque & 2, masque & 4);
            poser(kDisque + "jauge.txt", type == 1 ? "D1 X-12.5 Z40 R0.8 C3\r\nD2 X10 Z-5.25 R0.4 C2\r\n" : "D1 L120.5 R5\r\nD12 L80 R-0.1\r\n");
            const Transfert t = transfertFiche(d);
            EXPECT_FALSE(t.echec || t.balayage) << masque << " K=" << type;
            EXPECT_EQ(trace(t), joindre({{"@0", "%100\n"}, d.pref ? pref[type - 1] : vide, d.dec ? dec[type - 1] : vide,
                                         d.jauges ? jauges[type - 1] : vide, corps_})) << masque << " K=" << type;
        }
    // Another kind: the gauge heading alone, the gauge file not opened.
    std::filesystem::remove(kDisque + "jauge.txt");
    const Transfert t = transfertFiche(demande(1, 3, true, true, true));
    EXPECT_FALSE(t.echec);
    EXPECT_EQ(trace(t), joindre({{"@0", "%100\n", "$ JAUGES\n"}, corps_}));
}

TEST_F(Transmission, LignesDeProgrammeParticulieres)
{
    const std::pair<const char*, std::vector<std::string>> cas[] = {
        {"%1\r\nN10 G1 X1,Y2\r\n", {"@0", "%1\n", "N10 G1 X1\n@66", "Y2\n@100", "@0", kFin}},
        {"%1\r\n", {"@0", "%1\n", "@0", kFin}},  // never above 0
        {"", {"@0", "\n", "@0", kFin}},          // the empty first slot still goes out
        {"  %2  \r\n\r\nM2", {"@0", "%2\n", "\n@66", "M2\n@100", "@0", kFin}},
    };
    for (int d : {1, 3})
        for (const auto& [prog, attendu] : cas) {
            poser(kDisque + "prog.txt", prog);
            const Transfert t = transfertFiche(demande(d, 1));
            EXPECT_FALSE(t.echec) << prog;
            EXPECT_EQ(trace(t), attendu) << prog;
        }
}

TEST_F(Transmission, EchecsLaOuIlsSurviennent)
{
    DemandeChargement debordement = demande(1, 1, true);
    debordement.prefZ = "1e400";
    const DemandeChargement pref = demande(1, 1, true, false, true);
    const std::string entete = "@0%100\n$ PREF XZ\nE60000=12500\nE61000=-3000\n";
    // prog, jauges: nullptr for no file; envoye: the trace joined; nomme: in the detail. (A program or
    // the gauges alone gone, a gauge item wrong from the first: cnc/charger-echec-fichiers.)
    struct Cas { const char* nom; DemandeChargement demande; const char *prog, *jauges; int numero; std::string envoye; const char* nomme; };
    const Cas cas[] = {
        {"jauges absentes", pref, "%100\r\nM2", nullptr, kErreurFichierIntrouvable, entete + "$ JAUGES\n", "jauge.txt"},
        {"jauge malformée", pref, "%100\r\nM2", "D1 X1 Z2 R3 C4\r\nD2 Z1 X2 R3 C4", kErreurJauge,
         entete + "$ JAUGES\nE50001=1000\nE51001=2000\nE52001=3000\nE55001=4\n", "D2 Z1 X2 R3 C4"},
        {"jauge hors limites", pref, "%100", "D1 X1e39 Z1 R1 C1", kErreurDepassement, entete + "$ JAUGES\n", "Jauge 1"},
        {"PREF hors limites", debordement, "%100", "", kErreurDepassement, "@0%100\n$ PREF XZ\nE60000=12500\n", "1e400"},
        {"FANUC sans programme", demande(3, 1), nullptr, "", kErreurFichierIntrouvable, "@0", "prog.txt"},
        {"aucune option", demande(1, 1, false, false, false, ModeChargement::Aucun), "%100", "", kErreurAucunTransfert, "", ""},
        {"FAGOR", demande(2, 1), "%100", "", kErreurAucunTransfert, "", ""},
        {"autre CN", demande(10, 2), "%100", "", kErreurAucunTransfert, "", ""},
    };
    for (const auto& c : cas) {
        std::filesystem::remove_all("data");
        std::filesystem::create_directories(kDisque);
        if (c.prog) poser(kDisque + "prog.txt", c.prog);
        if (c.jauges) poser(kDisque + "jauge.txt", c.jauges);
        const Transfert t = transfertFiche(c.demande);
        ASSERT_TRUE(t.echec) << c.nom;
        EXPECT_EQ(t.echec->numero, c.numero) << c.nom;
        std::string envoye;
        for (const auto& s : trace(t)) envoye += s;
        EXPECT_EQ(envoye, c.envoye) << c.nom;
        EXPECT_NE(t.echec->detail.find(c.nomme), std::string::npos) << c.nom << ": " << t.echec->detail;
    }
}

TEST_F(Transmission, FichierQuelconque)
{
    // Windows-1252 bytes go out as they are, without conversion (a file gone: cnc/emission).
    poser("envoi/trois.txt", "O1000\r\n(\xC9" "BAUCHE)\r\nM30\r\n");
    const std::string chemin = std::filesystem::absolute("envoi/trois.txt").string();
    const Transfert t = transfertFichier(chemin);
    EXPECT_FALSE(t.echec);
    EXPECT_EQ(trace(t), (std::vector<std::string>{"@0", "O1000\n", "(\xC9" "BAUCHE)\n@66", "M30\n@100", "@0", kFin}));
}


// Drip-feed makes the ordinary sending's bytes from pieces cut anywhere.
TEST_F(Transmission, EnContinuLesOctetsDeLEnvoiOrdinaire)
{
    const char* programmes[] = {"", "%100", "%100\r\nN10 G0\r\nM2\r\n", "A\rB\r\rC\n\nD\r\n\r\n", "  A  ,\t B \r\n",
                                "\"X,\r\nY\" reste\r\nZ", "\"ouvert\r\nsans fin", "A,\r\n,", "   ", "\r", "N1  \r\n  \r\nN2\t"};
    for (const char* programme : programmes) {
        poser("envoi/p.txt", programme);
        const std::string chemin = std::filesystem::absolute("envoi/p.txt").string();
        const std::string attendu = transfertFichier(chemin).texte();
        for (std::size_t pas : {1, 2, 3, 7}) {
            continu::Decoupe d;
            std::string sortie;
            const std::string_view p(programme);
            for (std::size_t i = 0; i < p.size(); i += pas) d.prendre(p.substr(i, pas), sortie);
            d.finir(sortie);
            EXPECT_EQ(sortie, attendu) << "« " << programme << " » par " << pas;
        }
        for (const continu::Source& source : {continu::Source{chemin, {}, {}}, continu::Source{{}, programme, {}}}) {
            continu::Lecture l(source);
            ASSERT_FALSE(l.ouvrir());
            const continu::Lecture::Mesure m = l.mesurer();
            std::string sortie;
            while (l.suite(sortie)) {}
            EXPECT_EQ(sortie, attendu) << programme;
            EXPECT_EQ(m.octets, static_cast<long long>(attendu.size()));
            EXPECT_EQ(m.lignes, std::count(attendu.begin(), attendu.end(), '\n') - 1);
        }
    }
    // Past the ordinary sending's 10,000 lines, and across the reading's chunks.
    std::string long_;
    for (int i = 0; i < 20000; ++i) long_ += "N" + std::to_string(i) + " G1 X" + std::to_string(i % 97) + "\r\n";
    continu::Lecture l({{}, long_, {}});
    ASSERT_FALSE(l.ouvrir());
    std::string sortie;
    while (l.suite(sortie)) {}
    EXPECT_EQ(std::count(sortie.begin(), sortie.end(), '\n'), 20001);
    EXPECT_EQ(sortie.substr(sortie.size() - 16), "N19999 G1 X17\n\x13\n");
    // Cut short while it goes, or still being written: no block cut anywhere, no DC3, a failure.
    for (std::uintmax_t taille : {std::uintmax_t{100000}, std::uintmax_t{900000}}) {
        poser("envoi/long.txt", long_);
        continu::Lecture change({std::filesystem::absolute("envoi/long.txt").string(), {}, {}});
        ASSERT_FALSE(change.ouvrir());
        sortie.clear();
        ASSERT_TRUE(change.suite(sortie));
        std::filesystem::resize_file("envoi/long.txt", taille);  // grown by NULs
        while (change.suite(sortie)) {}
        EXPECT_EQ(sortie.find_first_of(std::string("\x13\0", 2)), std::string::npos);
        EXPECT_EQ(change.echec()->numero, kErreurFichierIntrouvable);
    }
    // A sheet: Charger's blocks after the first line; a missing file as Charger.
    Transfert blocs;
    const DemandeChargement d = demande(1, 2, true, true);
    const auto prog = programmeFiche(d, blocs);
    ASSERT_TRUE(prog && !blocs.echec);
    continu::Lecture fiche({*prog, {}, blocs.texte()});
    ASSERT_FALSE(fiche.ouvrir());
    sortie.clear();
    while (fiche.suite(sortie)) {}
    EXPECT_EQ(sortie, transfertFiche(d).texte());
    continu::Lecture absente({*prog + ".bak", {}, {}});
    EXPECT_EQ(absente.ouvrir()->numero, kErreurFichierIntrouvable);
    EXPECT_FALSE(programmeFiche(demande(1, 2, false, false, false, ModeChargement::JaugesSeules), blocs));
}

}  // namespace
}  // namespace tarvex
