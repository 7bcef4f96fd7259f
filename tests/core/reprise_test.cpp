#include "trajectoire/reprise.h"

#include "store/machines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace tarvex::trajectoire {
namespace {

std::string stocke(const std::vector<std::string>& lignes)
{
    std::string s;
    for (const auto& l : lignes) s += l + "\r\n";
    return s;
}

TEST(Reprise, Programmes)
{
    // `bloc`: a block number as the operator gives it, or "#" and the line's index.
    struct Cas { const char* nom; int directeur, type; std::vector<std::string> programme; const char* bloc; const char *refus, *attendu; };
    const std::vector<std::string> num = {
        "%130", "N10 G90 G17 G71", "N20 T5 D5 M6", "N30 S1200 M3", "N40 G0 X10 Y20 Z50 M8", "N50 G1 Z2 F300",
        "N60 G91 X5", "N70 G90 G2 X25 Y20 R5", "N80 Y25", "N90 G81 X0 Y0 Z-5 ER2 F100", "N100 X10", "N110 G80 G0 Z50",
        "N120 G77 H100", "N130 G0 X0", "N140 G0 X0 Y0 Z10", "N150 G41 G1 X5", "N150 G40 X0", "N160 M2"};
    const std::vector<std::string> fanuc = {
        "%", "O2020 (TOUR)", "G21 G99 G18", "G50 S3000", "T0202 (EBAUCHE)", "G0 X100. Z50.", "G96 S180 M4",
        "G0 X42. Z2. M8", "G1 Z-20. F0.25", "G90 X38. Z-20. F0.2", "X36.", "G0 X100.", "G20", "G1 X1.5 Z0.1 F0.01", "M30", "%"};
    const Cas cas[] = {
        {"NUM : état, approche, G2 modal après", kNum, kFraisage, num, "N80", "",
         "%130 / G90 G17 G71 / T5 D5 M6 / S1200 M3 / F300 M8 / G0 Z50. / X25. Y20. / G1 Z2. / G2 / N80 Y25 / N90 G81 X0 Y0 Z-5 "
         "ER2 F100 / N100 X10 / N110 G80 G0 Z50 / N120 G77 H100 / N130 G0 X0 / N140 G0 X0 Y0 Z10 / N150 G41 G1 X5 / N150 G40 X0 / N160 M2"
         " | Lignes 2 à 8 sautées ; état rétabli : G90 G17 G71 T5 D5 M6 S1200 M3 F300 M8 ; approche : Z 50 puis X Y puis Z 2 ; puis G2"},
        {"NUM : la ligne elle-même, G91 rendu après l'approche", kNum, kFraisage, num, "70", "",
         "%130 / G90 G17 G71 / T5 D5 M6 / S1200 M3 / F300 M8 / G0 Z50. / X15. Y20. / G1 Z2. / G91 / N70 G90 G2 X25 Y20 R5 / "
         "N80 Y25 / N90 G81 X0 Y0 Z-5 ER2 F100 / N100 X10 / N110 G80 G0 Z50 / N120 G77 H100 / N130 G0 X0 / N140 G0 X0 Y0 Z10 / "
         "N150 G41 G1 X5 / N150 G40 X0 / N160 M2 | Lignes 2 à 7 sautées ; état rétabli : G90 G17 G71 T5 D5 M6 S1200 M3 F300 M8 ; "
         "approche : Z 50 puis X Y puis Z 2 ; puis G91"},
        {"au premier outil, rien n'est encore en place", kNum, kFraisage, num, "N20", "POSITION INCONNUE", nullptr},
        {"avant le premier outil", kNum, kFraisage, num, "N10", "AVANT LE PREMIER OUTIL", nullptr},
        {"dans un cycle", kNum, kFraisage, num, "N100", "CYCLE", nullptr},
        {"l'appel", kNum, kFraisage, num, "N120", "SOUS-PROGRAMME", nullptr},
        {"après l'appel", kNum, kFraisage, num, "N130", "POSITION INCONNUE", nullptr},
        {"correction de rayon", kNum, kFraisage, num, "N150", "BLOC EN DOUBLE", nullptr},
        {"bloc absent", kNum, kFraisage, num, "N999", "BLOC INCONNU", nullptr},
        {"après la fin", kNum, kFraisage, num, "#17", "", nullptr},
        {"correction de rayon en cours", kNum, kFraisage, num, "#16", "CORRECTION DE RAYON", nullptr},
        {"FANUC tour : limite, vitesse de coupe, tourelle ; pas encore d'avance", kFanuc, kTournage, fanuc, "#8", "",
         "% / O2020 (TOUR) / G90 G18 G21 G99 / T0202 / G50 S3000 / G96 S180 M4 / M8 / G0 X100. Z50. / G1 X42. Z2. / G0 / "
         "G1 Z-20. F0.25 / G90 X38. Z-20. F0.2 / X36. / G0 X100. / G20 / G1 X1.5 Z0.1 F0.01 / M30 / % | Lignes 3 à 8 sautées ; "
         "état rétabli : G90 G18 G21 G99 T0202 G50 S3000 G96 S180 M4 M8 ; approche : X 100 Z 50 puis X 42 Z 2 ; puis G0"},
        {"FANUC tour : dans le cycle", kFanuc, kTournage, fanuc, "#10", "CYCLE", nullptr},
        {"FANUC tour : après le cycle, Z reste inconnu", kFanuc, kTournage, fanuc, "#13", "POSITION INCONNUE", nullptr},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::string octets = stocke(c.programme);
        DemandeReprise d{octets, c.directeur, c.type, -1, {}, {}};
        if (c.bloc[0] == '#') d.ligne = std::atoi(c.bloc + 1);
        else d.bloc = c.bloc;
        Reprise r = reprendre(d);
        EXPECT_EQ(r.refus, c.refus);
        if (!c.attendu) continue;
        std::string s;
        for (const auto& l : r.lignes) s += (s.empty() ? "" : " / ") + l;
        EXPECT_EQ(s + " | " + r.explication, c.attendu);
    }
}

// The state a restart writes again, compared as the words the control reads.
std::string etat(const LectureReprise& lu, int ligne, int directeur)
{
    const Etat& e = lu.etats[static_cast<std::size_t>(ligne)];
    const auto mot = [&](int i, char c) { return i < 0 ? "" : motBrut(lu.brutes[static_cast<std::size_t>(i)], c, directeur); };
    const bool m6 = e.ligneM6 >= 0 && !lu.programme.tournage;
    std::ostringstream s;
    s << "G" << e.mouvement << " c"
      << e.cycle << " p" << int(e.plan) << " u" << e.pouces << " r" << e.relatif << e.centresAbsolus << e.xAuRayon << e.transforme
      << " o" << e.repere << " a" << e.avance << " v" << e.vitesse << " l" << e.longueur << " k" << e.correction << " M" << e.broche
      << " M" << e.arrosage << " T" << e.outil << '/' << e.outilT << ' ' << mot(m6 ? e.ligneTChange : e.ligneT, 'T') << mot(e.ligneT, 'T')
      << mot(e.ligneD, 'D') << mot(e.ligneH, 'H') << mot(e.ligneS, 'S') << mot(e.ligneF, 'F') << mot(e.ligneLimite, 'S');
    return s.str();
}

bool proche(double a, double b) { return (!connu(a) && !connu(b)) || std::fabs(a - b) <= 0.001; }
bool proches(const Point& a, const Point& b) { return proche(a.x, b.x) && proche(a.y, b.y) && proche(a.z, b.z); }

// Where the tool is where the line starts, and on a mill the height it retracts to.
bool memePlace(const Etat& a, const Etat& b, bool tournage)
{
    return proches(a.position, b.position) && (tournage || proche(a.hauts.z, b.hauts.z));
}

// The restart read again: the same state at the chosen line, and from there
// the same moves, holes and lines not drawn. Returns false when refused.
bool verifier(const LectureReprise& lu, const std::string& octets, int directeur, int type, int ligne)
{
    DemandeReprise d{octets, directeur, type, ligne, {}, {}};
    const Reprise r = reprendre(lu, d);
    if (!r.refus.empty()) return false;
    SCOPED_TRACE("ligne " + std::to_string(ligne + 1) + " : " + lu.brutes[static_cast<std::size_t>(ligne)]);
    const LectureReprise relu = lirePourReprise(texte(r), directeur, type);
    const int decalage = r.debutProgramme - ligne;
    EXPECT_EQ(etat(relu, r.debutProgramme, directeur), etat(lu, ligne, directeur));
    EXPECT_TRUE(memePlace(relu.etats[static_cast<std::size_t>(r.debutProgramme)], lu.etats[static_cast<std::size_t>(ligne)], lu.programme.tournage));
    const Programme &a = lu.programme, &b = relu.programme;
    auto ma = std::find_if(a.mouvements.begin(), a.mouvements.end(), [&](const Mouvement& m) { return m.ligne >= ligne; });
    auto mb = std::find_if(b.mouvements.begin(), b.mouvements.end(), [&](const Mouvement& m) { return m.ligne >= r.debutProgramme; });
    EXPECT_EQ(a.mouvements.end() - ma, b.mouvements.end() - mb);
    for (; ma != a.mouvements.end() && mb != b.mouvements.end(); ++ma, ++mb) {
        const bool pareil = ma->ligne + decalage == mb->ligne && ma->rapide == mb->rapide && ma->arc == mb->arc &&
                            ma->horaire == mb->horaire && ma->plan == mb->plan && ma->outil == mb->outil &&
                            proches(ma->debut, mb->debut) && proches(ma->fin, mb->fin) && proches(ma->centre, mb->centre) &&
                            proche(ma->rayon, mb->rayon) && proche(ma->balayage, mb->balayage);
        EXPECT_TRUE(pareil) << "mouvement de la ligne " << ma->ligne + 1;
        if (!pareil) return true;
    }
    std::string ta, tb;
    for (const Percage& t : a.percages)
        if (t.ligne >= ligne) ta += std::to_string(t.ligne + decalage) + nomOutil(t.outil) + nombre(t.position.x) + nombre(t.position.y) + " ";
    for (const Percage& t : b.percages)
        if (t.ligne >= r.debutProgramme) tb += std::to_string(t.ligne) + nomOutil(t.outil) + nombre(t.position.x) + nombre(t.position.y) + " ";
    for (const LigneNonTracee& n : a.nonTracees)
        if (n.ligne >= ligne) ta += std::to_string(n.ligne + decalage) + ":" + std::to_string(int(n.raison)) + " ";
    for (const LigneNonTracee& n : b.nonTracees)
        if (n.ligne >= r.debutProgramme) tb += std::to_string(n.ligne) + ":" + std::to_string(int(n.raison)) + " ";
    EXPECT_EQ(ta, tb);
    return true;
}

// A program of `n` blocks mixing what a CAM system and a hand write: rapid
// and cutting moves, arcs by radius and by centre in the three planes, inch
// and millimetre, incremental stretches, tool changes, drilling cycles,
// subprogram calls, cutter compensation; every block numbered.
std::string generer(int directeur, int type, int n, unsigned graine)
{
    std::mt19937 alea(graine);
    const auto tirer = [&](int a, int b) { return a + static_cast<int>(alea() % static_cast<unsigned>(b - a + 1)); };
    const bool fanuc = directeur == kFanuc, num = directeur == kNum, tour = type == kTournage;
    const bool isoMots = directeur == kFanuc || directeur == kAutre;
    std::vector<std::string> l;
    int bloc = 0;
    const auto ecrire = [&](const std::string& s) { l.push_back("N" + std::to_string(bloc += 10) + " " + s); };
    bool pouces = false;
    double pos[3] = {0, 0, 50};  // in the current unit
    const auto v = [&](double x) {
        char t[32];
        std::snprintf(t, sizeof t, pouces ? "%.4f" : "%.3f", x);
        std::string s = t;
        while (s.back() == '0') s.pop_back();
        if (!fanuc && s.back() == '.') s.pop_back();
        return s;
    };
    const auto unite = [&](bool p) {
        if (p == pouces) return;
        for (double& x : pos) x = p ? x / 25.4 : x * 25.4;
        pouces = p;
        ecrire(p ? (isoMots ? "G20" : "G70") : (isoMots ? "G21" : "G71"));
    };
    const auto mm = [&](int a) { return pouces ? std::round(a / 25.4 * 10000) / 10000 : a; };
    l.push_back(num ? "%1000" : "%");
    if (!num) l.push_back("O1000 (ESSAI)");
    ecrire(std::string("G90 ") + (tour ? "G18 " : "G17 ") + (isoMots ? "G21" : "G71") + (tour ? " G95" : " G94"));
    const int axes[3][2] = {{0, 1}, {2, 0}, {1, 2}};
    int plan = tour ? 1 : 0;
    const char lettres[] = "XYZ", centres[] = "IJK";
    int outil = 1;
    const auto changer = [&] {
        unite(false);
        outil = outil % 9 + 1;
        const std::string t = std::to_string(outil);
        if (tour) {
            pos[0] = 200, pos[2] = 100;
            ecrire("G0 X200 Z100");
            ecrire(fanuc ? "T0" + t + "0" + t : "T" + t + " D" + t);
            ecrire((fanuc ? "G50" : "G92") + std::string(" S3000"));
            ecrire(outil % 2 ? "G96 S180 M4" : "G97 S1500 M3");
        } else {
            pos[2] = 50;
            ecrire("G0 Z50");
            ecrire(isoMots ? "T" + t + " M6" : "T" + t + " D" + t + " M6");
            if (isoMots) ecrire("G43 H" + t + " Z50.");
            ecrire("S" + std::to_string(1000 + 100 * outil) + " M3");
        }
        ecrire(std::string(tirer(0, 1) ? "M8" : "M9") + " F" + std::to_string(tour ? 0 : 100 + 50 * outil));
    };
    changer();
    while (static_cast<int>(l.size()) < n) {
        const int choix = tirer(0, 99);
        if (choix < 3) {
            changer();
        } else if (choix < 6 && !tour) {
            plan = tirer(0, 2);
            ecrire(plan == 0 ? "G17" : plan == 1 ? "G18" : "G19");
        } else if (choix < 8) {
            unite(!pouces);
        } else if (choix < 10 && !tour) {
            // Drilling: a few holes, then back to a known place.
            ecrire((num ? "G81 X" : "G81 X") + v(mm(tirer(-50, 50))) + " Y" + v(mm(tirer(-50, 50))) + " Z" + v(mm(-5)) +
                   (num ? " ER" : " R") + v(mm(2)) + " F100");
            for (int t = tirer(0, 3); t > 0; --t) ecrire("X" + v(mm(tirer(-50, 50))));
            pos[0] = mm(tirer(-50, 50)), pos[1] = mm(tirer(-50, 50)), pos[2] = mm(10);
            ecrire("G80 G0 X" + v(pos[0]) + " Y" + v(pos[1]) + " Z" + v(pos[2]));
        } else if (choix < 11 && tour && fanuc) {
            ecrire("G90 X" + v(mm(tirer(20, 40))) + " Z" + v(mm(-tirer(5, 40))) + " F0.2");
            ecrire("X" + v(mm(tirer(20, 40))));
            pos[0] = mm(tirer(40, 60)), pos[2] = mm(5);
            ecrire("G0 X" + v(pos[0]) + " Z" + v(pos[2]));
        } else if (choix < 12) {
            ecrire(num ? "G77 H100" : directeur == kAutre ? "o100 call" : "M98 P100");
            for (int a = 0; a < 3; ++a) pos[a] = mm(a == 2 ? 20 : tirer(-40, 40));
            if (tour) pos[0] = std::fabs(pos[0]);
            ecrire("G0 X" + v(pos[0]) + (tour ? "" : " Y" + v(pos[1])) + " Z" + v(pos[2]));
        } else if (choix < 14 && !tour) {
            ecrire("G41 G1 X" + v(pos[0] = mm(tirer(-50, 50))) + " D" + std::to_string(outil));
            ecrire("Y" + v(pos[1] = mm(tirer(-50, 50))));
            ecrire("G40 G1 X" + v(pos[0] = mm(tirer(-50, 50))));
        } else if (choix < 18) {
            // An incremental stretch.
            const int d0 = tirer(-20, 20), d2 = tirer(-5, 5);
            pos[0] += mm(d0), pos[2] += mm(d2);
            ecrire("G91 G1 X" + v(mm(d0)) + " Z" + v(mm(d2)));
            ecrire("G90");
        } else if (choix < 45) {
            const int a = tour ? 0 : tirer(0, 2);
            double cible = mm(tirer(-60, 60));
            if (tour && a == 0) cible = std::fabs(cible);
            pos[a] = cible;
            ecrire(std::string(choix < 25 ? "G0 " : choix < 35 ? "G1 " : "") + lettres[a] + v(cible) +
                   (choix % 4 == 0 ? " F" + std::to_string(tirer(50, 500)) : ""));
        } else {
            // An arc in the current plane, by radius or by centre.
            const int ia = axes[plan][0], ib = axes[plan][1];
            const double ea = tour ? std::fabs(mm(tirer(0, 60))) : mm(tirer(-60, 60)), eb = mm(tirer(-60, 60));
            const double sa = pos[ia], sb = pos[ib];
            const double corde = std::hypot((ea - sa) * (tour && ia == 0 ? 0.5 : 1), eb - sb);
            if (corde < 0.5) continue;
            const std::string g = tirer(0, 1) ? "G2" : "G3";
            std::string s = g + " " + lettres[ia] + v(ea) + " " + lettres[ib] + v(eb);
            if (choix < 75 || tour) {
                s += " R" + v((tirer(0, 3) ? 1 : -1) * (corde / 2 + tirer(1, 20) * (pouces ? 0.04 : 1)));
            } else {
                // The centre on the chord's perpendicular through its middle.
                const double t = tirer(-10, 10) / 10.0, ma = (sa + ea) / 2, mb = (sb + eb) / 2;
                const double ca = std::round((ma - t * (eb - sb)) * 1000) / 1000, cb = std::round((mb + t * (ea - sa)) * 1000) / 1000;
                s += std::string(" ") + centres[ia] + v(num ? ca : ca - sa) + " " + centres[ib] + v(num ? cb : cb - sb);
            }
            pos[ia] = ea, pos[ib] = eb;
            ecrire(s);
        }
    }
    ecrire("G0 Z" + v(mm(tour ? 100 : 50)) + " M5 M9");
    ecrire(fanuc || directeur == kFagor ? "M30" : "M2");
    if (directeur == kAutre) l.insert(l.begin() + 1, {"o100 sub", "G1 X0 Y0", "o100 endsub"});
    l.push_back("%");
    return stocke(l);
}

TEST(Reprise, MemeTrajectoireDepuisLaLigne)
{
    struct Cas { int directeur, type, lignes, pas; unsigned graine; };
    std::vector<Cas> cas;
    for (const int dir : {kNum, kFanuc, kFagor, kAutre}) {
        // Every line of one program; spread lines of three longer ones (each
        // restart is read to the program's end: every line of those would
        // take minutes under the sanitizers).
        cas.push_back({dir, kFraisage, 700, 1, 1});
        cas.push_back({dir, kFraisage, 3000, 97, 2});
        cas.push_back({dir, kFraisage, 4000, 131, 3});
        cas.push_back({dir, kFraisage, 5000, 163, 4});
    }
    for (const int dir : {kNum, kFanuc}) {
        cas.push_back({dir, kTournage, 500, 1, 5});
        cas.push_back({dir, kTournage, 3000, 97, 6});
    }
    for (const Cas& c : cas) {
        SCOPED_TRACE("CN " + std::to_string(c.directeur) + " genre " + std::to_string(c.type) + " graine " + std::to_string(c.graine));
        const std::string octets = generer(c.directeur, c.type, c.lignes, c.graine);
        const LectureReprise lu = lirePourReprise(octets, c.directeur, c.type);
        int faites = 0, essais = 0;
        for (int i = 0; i < static_cast<int>(lu.brutes.size()); i += c.pas, ++essais) {
            faites += verifier(lu, octets, c.directeur, c.type, i);
            if (::testing::Test::HasFailure()) return;
        }
        // Most lines of such a program can be restarted.
        EXPECT_GT(faites * 2, essais);
    }
}

TEST(Reprise, ProgrammesDesFichesDeDemonstration)
{
    namespace fs = std::filesystem;
    const fs::path data = fs::path(TARVEX_SOURCE_DIR) / "demo" / "data";
    int fiches = 0, faites = 0;
    for (const auto& entree : fs::directory_iterator(data)) {
        const fs::path prog = entree.path() / "prog.txt";
        if (!fs::exists(prog)) continue;
        // The sheet's machine is the last part of its folder's name.
        const std::string nom = entree.path().filename().string();
        std::ifstream com(data / "machine" / nom.substr(nom.rfind('_') + 1) / "com.txt");
        std::string champ[7];
        for (auto& c : champ) {
            std::getline(com, c);
            if (!c.empty() && c.back() == '\r') c.pop_back();
        }
        const int type = codeMachine(champ[5]), dir = codeMachine(champ[6]);
        std::ifstream f(prog, std::ios::binary);
        const std::string octets((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(nom);
        const LectureReprise lu = lirePourReprise(octets, dir, type);
        ++fiches;
        for (int i = 0; i < static_cast<int>(lu.brutes.size()); ++i) faites += verifier(lu, octets, dir, type, i);
    }
    EXPECT_GE(fiches, 10);
    EXPECT_GT(faites, 100);
}

}  // namespace
}  // namespace tarvex::trajectoire
