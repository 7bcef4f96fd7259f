#include "trajectoire/projection.h"
#include "trajectoire/trajectoire.h"

#include "store/machines.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvex::trajectoire {
namespace {

// Each move as "line G x y z", an arc known whole adding its centre in its
// plane's order and its sweep in degrees; each hole as "line P x y z"; the
// lines not drawn as "line:reason".
std::string resume(const Programme& p)
{
    static const char* kRaisons[] = {"cycle", "sp", "var", "code", "repere", "mot", "arc", "corps", "limite"};
    std::string s;
    for (const Mouvement& m : p.mouvements) {
        s += std::to_string(m.ligne) + (m.rapide ? " G0 " : !m.arc ? " G1 " : m.horaire ? " G2 " : " G3 ") +
             nombre(m.fin.x) + " " + nombre(m.fin.y) + " " + nombre(m.fin.z);
        if (m.arcConnu()) {
            const int a[3][2] = {{0, 1}, {2, 0}, {1, 2}};
            const int* ab = a[static_cast<int>(m.plan)];
            s += " c" + nombre(m.centre[ab[0]]) + "," + nombre(m.centre[ab[1]]) + " " +
                 nombre(m.balayage * 180 / 3.14159265358979323846);
        }
        s += " | ";
    }
    for (const Percage& t : p.percages)
        s += std::to_string(t.ligne) + " P " + nombre(t.position.x) + " " + nombre(t.position.y) + " " +
             nombre(t.position.z) + " | ";
    for (const LigneNonTracee& n : p.nonTracees) s += std::to_string(n.ligne) + ":" + kRaisons[static_cast<int>(n.raison)] + " ";
    return s;
}

// A program's lines joined by "\n", as stored: with CR LF.
std::string stocke(const char* programme)
{
    std::string octets;
    for (const char* p = programme; *p; ++p) octets += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
    return octets;
}

std::string joindre(const std::vector<std::string>& l)
{
    std::string s;
    for (const auto& x : l) s += (s.empty() ? "" : " / ") + x;
    return s;
}

TEST(Trajectoire, Lecture)
{
    struct Cas { const char* nom; int directeur, type; const char *programme, *mouvements, *etendue; };
    const int F = kFanuc, N = kNum, T = kTournage, M = kFraisage;
    const Cas cas[] = {
        {"mots collés, minuscules, commentaires, G91", F, M,
         "%\nO1000 (ESSAI)\nn10g21g90g0x0y0z5. (approche)\nG1Z-1.F100\nG91 X10. Y-2.\nG90X-1.\n%",
         "2 G0 0 0 5 | 3 G1 0 0 -1 | 4 G1 10 -2 -1 | 5 G1 -1 -2 -1 | ", "X de -1 à 10 / Y de -2 à 0 / Z de -1 à 5"},
        {"FANUC, centre depuis le départ : G17 G3 passe par le haut", F, M, "G0 X10. Y0\nG3 X-10. Y0 I-10. J0",
         "0 G0 10 0 ? | 1 G3 -10 0 ? c0,0 180 | ", "X de -10 à 10 / Y de 0 à 10"},
        {"R positif, R négatif : plus d'un demi-cercle", F, M, "G0 X0 Y0\nG2 X10. Y10. R10.\nG0 X0 Y0\nG2 X10. Y10. R-10.",
         "0 G0 0 0 ? | 1 G2 10 10 ? c10,0 -90 | 2 G0 0 0 ? | 3 G2 10 10 ? c0,10 -270 | ", "X de -10 à 10 / Y de 0 à 20"},
        {"G18", F, M, "G18 G0 X10. Y0 Z0\nG2 X0 Z10. I-10. K0\nG0 X10. Z0\nG3 X0 Z10. I-10.",
         "0 G0 10 0 0 | 1 G2 0 0 10 c0,0 -90 | 2 G0 10 0 0 | 3 G3 0 0 10 c0,0 270 | ",
         "X de -10 à 10 / Y de 0 à 0 / Z de -10 à 10"},
        {"G19", F, M, "G19 G0 X0 Y10. Z0\nG3 Y0 Z10. J-10. K0\nG2 Y10. Z0 R-10.",
         "0 G0 0 10 0 | 1 G3 0 0 10 c0,0 90 | 2 G2 0 10 0 c10,10 -270 | ", "X de 0 à 0 / Y de 0 à 20 / Z de 0 à 20"},
        {"cercle entier, fin omise", F, M, "G0 X10. Y0\nG2 I-10.", "0 G0 10 0 ? | 1 G2 10 0 ? c0,0 -360 | ", "X de -10 à 10 / Y de -10 à 10"},
        // The same quarter about X20 Y0 from X20 Y10 to X30 Y0, its centre as each control gives it.
        {"NUM G90 : le centre lui-même ; l'alésage du FLASQUE", N, M,
         "G0 X20 Y10\nG2 X30 Y0 I20 J0\nG0 X0 Y0\nG1 X12\nN350 G2 X12 Y0 I0 J0",
         "0 G0 20 10 ? | 1 G2 30 0 ? c20,0 -90 | 2 G0 0 0 ? | 3 G1 12 0 ? | 4 G2 12 0 ? c0,0 -360 | ",
         "X de -12 à 30 / Y de -12 à 12"},
        {"NUM tour G90 : I au rayon", N, T, "G0 X20 Z-10\nG2 X30 Z-15 I15 K-10",
         "0 G0 20 ? -10 | 1 G2 30 ? -15 c-10,30 -90 | ", "X de 20 à 30 / Z de -15 à -10"},
        {"FAGOR : depuis le départ, G06 le centre lui-même sur sa ligne ; G04 K et un déplacement", kFagor, M,
         "G0 X20 Y10\nG2 X30 Y0 I0 J-10\nG06 G3 X20 Y10 I20 J0\nG2 X30 Y0 I0 J-10\nG04 K50 G1 X40\nG4 K50",
         "0 G0 20 10 ? | 1 G2 30 0 ? c20,0 -90 | 2 G3 20 10 ? c20,0 90 | 3 G2 30 0 ? c20,0 -90 | 4 G1 40 0 ? | ",
         "X de 20 à 40 / Y de 0 à 10"},
        {"RS274NGC : G90.1 centres absolus", kAutre, M, "G0 X12 Y0\nG90.1 G2 X12 Y0 I0 J0\nG91.1 G2 X12 Y0 I0 J0",
         "0 G0 12 0 ? | 1 G2 12 0 ? c0,0 -360 | 2:arc ", "X de -12 à 12 / Y de -12 à 12"},
        {"NUM : G91, centre depuis le départ ; X d'un G4 est un temps", N, M, "G0 X0 Y0\nG91 G3 X-10 Y10 I-10\nG4 F2 X3",
         "0 G0 0 0 ? | 1 G3 -10 10 ? c-10,0 90 | ", "X de -10 à 0 / Y de 0 à 10"},
        {"pouces G20 G21", F, M, "G20 G0 X1. Y.5\nG21 X1.", "0 G0 25.4 12.7 ? | 1 G0 1 12.7 ? | ", "X de 1 à 25.4 / Y de 12.7 à 12.7"},
        {"pouces G70 G71 NUM", N, M, "G70 G0 X1\nG71 X1", "0 G0 25.4 ? ? | 1 G0 1 ? ? | ", "X de 1 à 25.4"},
        {"incrément depuis une position inconnue", F, M, "G91 G0 X5.\nG90 Y1.", "0 G0 ? ? ? | 1 G0 ? 1 ? | ", "Y de 1 à 1"},
        // X as a diameter; an R5 arc would be impossible read as a radius, I is a radius. U W
        // without a point are in 0.001 mm too; G04 U is a time.
        {"tour : X au diamètre, U W", F, T, "G0 X20. Z2.\nG1 Z-10.\nG2 X30. Z-15. R5.\nG1 U10000 W-5000\nG2 X50. Z-25. I5. K0\nG04 U1.5",
         "0 G0 20 ? 2 | 1 G1 20 ? -10 | 2 G2 30 ? -15 c-10,30 -90 | 3 G1 40 ? -20 | 4 G2 50 ? -25 c-20,50 -90 | ",
         "X de 20 à 50 / Z de -25 à 2"},
        {"non tracées", F, M,
         "G0 X0 Y0 Z5.\nG81 X10. Y10. Z-3. R2. F100\nG81 X20.\nG80 G0 Z5.\nX30. Y0\nM98 P1000\nG0 X1. Y1. Z1.\nG1 X#1\nG1 Y2.\n"
         "G12 X5.\nG0 G28 Z0\nG1 X3. C2\nG0 X0 Y0\nG2 X30. Y0 R10.\nG0 G55 X5. Y5. Z5.",
         "0 G0 0 0 5 | 3 G0 20 10 5 | 4 G0 30 0 5 | 6 G0 1 1 1 | 8 G1 ? 2 1 | 12 G0 0 0 ? | 14 G0 5 5 5 | "
         "1 P 10 10 5 | 2 P 20 10 5 | 1:cycle 2:cycle 5:sp 7:var 9:code 10:repere 11:mot 13:arc ",
         "X de 0 à 30 / Y de 0 à 10 / Z de 1 à 5"},
        {"NUM : variables, sous-programme, cycle, message", N, M,
         "G0 X0 Y0 Z5\nL1=5\nG77 H10\n$ CONTROLER\nG0 X1 Y1 Z1\nG83 X1 Y1 Z-5 ER2 F100\nG0 G80 Z5\nG52 Z0",
         "0 G0 0 0 5 | 4 G0 1 1 1 | 6 G0 1 1 5 | 5 P 1 1 1 | 1:var 2:sp 5:cycle 7:repere ",
         "X de 0 à 1 / Y de 0 à 1 / Z de 1 à 5"},
        {"FANUC tour : cycles G71", F, T, "G0 X62. Z2.\nG71 U2. R0.5\nG71 P10 Q20 U0.4 W0.1 F0.25\nG0 X48.\nG1 Z0",
         "0 G0 62 ? 2 | 3 G0 48 ? ? | 4 G1 48 ? 0 | 1:cycle 2:cycle ", "X de 48 à 62 / Z de 0 à 2"},
        {"FANUC : sans point, des millièmes de mm ou des dix-millièmes de pouce", F, M,
         "G0 X1000 Y1000. Z-5\nG20 X1000 Y1.\nG21 X0 Y0\nG2 X1000 Y0 R500\nG3 X0 I-500",
         "0 G0 1 1000 -0.005 | 1 G0 2.54 25.4 -0.005 | 2 G0 0 0 -0.005 | 3 G2 1 0 -0.005 c0.5,0 -180 | "
         "4 G3 0 0 -0.005 c0.5,0 180 | ",
         "X de 0 à 2.54 / Y de 0 à 1000 / Z de -0.005 à -0.005"},
        {"FANUC : « ; » finit le bloc, pas dans un commentaire ; G04 X, P : un temps", F, M,
         "G0X0Y0;G1X10.;G1X20.;\nG1 Y5. (A;B) ; X0\nG12 X1.;G12 X2.\nG1 Y1.\nG04 X1.5;G4 P1500",
         "0 G0 0 0 ? | 0 G1 10 0 ? | 0 G1 20 0 ? | 1 G1 20 5 ? | 1 G1 0 5 ? | 3 G1 ? 1 ? | 2:code ",
         "X de 0 à 20 / Y de 0 à 5"},
        // A dwell's line: RS274NGC's time is P and FAGOR's K, NUM's F and FANUC's X or P.
        {"RS274NGC : G4 P et un déplacement ; « ; » commente", kAutre, M, "G0 X0 Y0 ; X2\nN0090 G04 P.001 G0 X1.0 Y1.0\nG1 G4 P1 X5",
         "0 G0 0 0 ? | 1 G0 1 1 ? | 2 G1 5 1 ? | ", "X de 0 à 5 / Y de 0 à 1"},
        // A body written before the G21 of its call, never called: nothing of it counts, its modes neither.
        {"RS274NGC : corps de sous-programme", kAutre, M,
         "G21 G0 X0 Y0 Z5\no<filet> sub\nG20 G91 G0 X500 Y500\n(rien)\nT3 M6\no<filet> endsub\nG0 X10\no100 sub\no100 endsub\n"
         "o100 call\nG0 X1",
         "0 G0 0 0 5 | 6 G0 10 0 5 | 10 G0 1 ? ? | 1:corps 2:corps 4:corps 5:corps 7:corps 8:corps 9:sp ",
         "X de 0 à 10 / Y de 0 à 0 / Z de 5 à 5"},
        {"valeurs hors des limites d'une commande", kAutre, M,
         "G0 X0 Y0\nG91 G1 X999999999\nX999999999\nG90 G1 X2000000000 Y1\nG0 X1 Y0\nG2 X3 Y0 R1000000000000000000\n"
         "G0 X1 Y0 Z0\nG81 X2000000000 Y0 Z-1 R1\nG80 G0 X123456789012345678901234567890\nG0 X.0000000000000000000001",
         "0 G0 0 0 ? | 1 G1 999999999 0 ? | 4 G0 1 0 ? | 6 G0 1 0 0 | 9 G0 0 ? ? | "
         "2:limite 3:limite 5:limite 7:limite 8:limite ",
         "X de 0 à 999999999 / Y de 0 à 0 / Z de 0 à 0"},
    };
    for (const Cas& c : cas) {
        const Programme p = lire(stocke(c.programme), c.directeur, c.type);
        EXPECT_EQ(resume(p), c.mouvements) << c.nom;
        EXPECT_EQ(joindre(lignesEtendue(etendue(p))), c.etendue) << c.nom;
    }
}

TEST(Trajectoire, Outils)
{
    // Every tool named, in that order; the holes count by their X Y, for the tool in the spindle.
    struct Cas { int directeur, type; const char *programme, *outils; };
    const Cas cas[] = {
        // Milling: T chooses, M6 changes.
        {kFanuc, kFraisage, "T1 M6\nG0 X0 Y0 Z5.\nT2\nG1 Z-1.\nM6\nG0 Z10.25",
         "T1 : X de 0 à 0 ; Y de 0 à 0 ; Z de -1 à 5 / T2 : X de 0 à 0 ; Y de 0 à 0 ; Z de 10.25 à 10.25"},
        // A lathe turret indexes at T; T0202 is tool 2.
        {kFanuc, kTournage, "G0 X100. Z50.\nT0202\nG0 X20. Z2.",
         "T? : X de 100 à 100 ; Z de 50 à 50 / T2 : X de 20 à 20 ; Z de 2 à 2"},
        // PIVOT 30: the drill T8 has only its hole, T9 nothing.
        {kNum, kFraisage,
         "N110 T7 D7 M6\nN130 G0 X-15 Y0 Z5\nN140 G81 X-15 Y0 Z-2 ER2 F120\nN150 G80 G0 G52 Z0 M9\nN160 T8 D8 M6\n"
         "N180 G83 X-15 Y0 Z-28 ER2 P2 F140\nN190 G80 G0 G52 Z0 M5 M9\nN200 T9 D9 M6\nN210 M2",
         "T7 : X de -15 à -15 ; Y de 0 à 0 ; Z de 5 à 5 / T8 : X de -15 à -15 ; Y de 0 à 0 / T9 : aucun déplacement tracé"},
        // Without M6, T alone changes, holes included.
        {kFanuc, kFraisage, "T1\nG0 X0 Y0 Z5.\nG81 X10. Y0 Z-1. R1.\nT2\nX20.\nG80",
         "T1 : X de 0 à 10 ; Y de 0 à 0 ; Z de 5 à 5 / T2 : X de 20 à 20 ; Y de 0 à 0"},
        {kAutre, kFraisage, "G0 X1\no1 sub\nT3 M6\no1 endsub", "T? : X de 1 à 1 / T3 : aucun déplacement tracé"},
    };
    for (const Cas& c : cas) EXPECT_EQ(joindre(lignesOutils(lire(stocke(c.programme), c.directeur, c.type))), c.outils) << c.programme;
    const std::pair<double, const char*> nombres[] = {{13.5, "13.5"},   {-1, "-1"},        {-0.0004, "0"},
                                                      {0.0005, "0.001"}, {2.10049, "2.1"}, {-12.3456, "-12.346"}};
    for (const auto& [v, texte] : nombres) EXPECT_EQ(nombre(v), texte) << v;
}

TEST(Trajectoire, Projection)
{
    const Programme tour = lire("G0 X20. Z0\r\nG1 X40. Z-10.\r\n", kFanuc, kTournage);
    for (const bool rayon : {true, false}) {
        const Boite b = projeter(tour, {Vue::Tour, rayon, false, 0.01}).boite;
        EXPECT_EQ(std::vector<double>({b.hmin, b.hmax, b.vmin, b.vmax}),
                  std::vector<double>({-10, 0, rayon ? 10.0 : 20.0, rayon ? 20.0 : 40.0}));
    }
    // A G18 quarter seen in XZ: the view's axes swap the plane's, the arc turns the other way.
    const Programme fraise = lire("G18 G0 X10. Y0 Z0\r\nG2 X0 Z10. I-10. K0\r\nG17 G2 X10. R5.\r\n", kFanuc, kFraisage);
    const Trace entier = projeter(fraise, {Vue::XZ, true, true, 0.01}).traces[0];
    ASSERT_TRUE(entier.arc);
    const Point2 attendus[] = {{10, 0}, {std::sqrt(50.0), std::sqrt(50.0)}, {0, 10}};
    for (int i = 0; i < 3; ++i) {
        const double t = entier.depart + entier.balayage * i / 2;
        EXPECT_NEAR(entier.centre.h + entier.rx * std::cos(t), attendus[i].h, 1e-9) << i;
        EXPECT_NEAR(entier.centre.v + entier.ry * std::sin(t), attendus[i].v, 1e-9) << i;
    }
    // Flattened: the same quarter, no chord further than the tolerance from the circle.
    for (const double tolerance : {0.1, 0.001}) {
        const Trace tr = projeter(fraise, {Vue::XZ, true, false, tolerance}).traces[0];
        for (std::size_t i = 1; i < tr.points.size(); ++i) {
            const double h = (tr.points[i].h + tr.points[i - 1].h) / 2, v = (tr.points[i].v + tr.points[i - 1].v) / 2;
            EXPECT_TRUE(std::hypot(h, v) >= 10 - tolerance && h > 0 && v > 0) << h << " " << v;
        }
    }
    // The G17 arc seen edge on in XZ is flattened to a line along X.
    const Trace tranche = projeter(fraise, {Vue::XZ, true, true, 0.01}).traces[1];
    EXPECT_TRUE(!tranche.arc && tranche.boite.vmin == 10 && tranche.boite.vmax == 10);
}

}  // namespace
}  // namespace tarvex::trajectoire
