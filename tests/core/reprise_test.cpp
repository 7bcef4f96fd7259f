#include "trajectoire/reprise.h"

#include "store/machines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>

namespace tarvex::trajectoire {
namespace {

std::string stocke(const std::vector<std::string>& lignes)
{
    return std::accumulate(lignes.begin(), lignes.end(), std::string(),
                           [](std::string s, const std::string& l) { return std::move(s) + l + "\r\n"; });
}

TEST(Reprise, Programmes)
{
    const std::vector<std::string> num = {"%130", "N10 G90 G17 G71", "N20 T5 D5 M6", "N30 S1200 M3", "N40 G0 X10 Y20 Z50 M8",
        "N50 G1 Z2 F300", "N60 G91 X5", "N70 G90 G2 X25 Y20 R5", "N80 Y25", "N90 G81 X0 Y0 Z-5 ER2 F100", "N100 X10",
        "N110 G80 G0 Z50", "N120 G77 H100", "N130 G0 X0", "N140 G0 X0 Y0 Z10", "N150 G41 G1 X5", "N150 G40 X0", "N160 M2"};
    const std::vector<std::string> fanuc = {"%", "O2020 (TOUR)", "G21 G99 G18", "G50 S3000", "T0202 (EBAUCHE)", "G0 X100. Z50.",
                                            "G96 S180 M4", "G0 X42. Z2. M8", "G1 Z-20. F0.25", "G90 X38. Z-20. F0.2", "X36.", "M30"};
    struct Cas { const std::vector<std::string>* programme; const char *bloc, *attendu; };  // bloc: as typed, or "#" and the line's index
    const Cas cas[] = {
        {&num, "N80", "%130 / G90 G17 G71 / T5 D5 M6 / S1200 M3 / F300 M8 / G0 Z50. / X25. Y20. / G1 Z2. / G2 / N80 Y25 | Lignes 2 à 8 "
         "sautées ; état rétabli : G90 G17 G71 T5 D5 M6 S1200 M3 F300 M8 ; approche : Z 50 puis X Y puis Z 2 ; puis G2"},
        {&num, "N20", "POSITION INCONNUE"}, {&fanuc, "#10", "CYCLE"},  // the other refusals: trajectoire/ and service/reprise
        {&fanuc, "#8", "% / O2020 (TOUR) / G90 G18 G21 G99 / T0202 / G50 S3000 / G96 S180 M4 / M8 / G0 X100. Z50. / G1 X42. Z2. / "
         "G0 / G1 Z-20. F0.25 | Lignes 3 à 8 sautées ; état rétabli : G90 G18 G21 G99 T0202 G50 S3000 G96 S180 M4 M8 ; approche : "
         "X 100 Z 50 puis X 42 Z 2 ; puis G0"},
    };
    for (const Cas& c : cas) {
        const std::string octets = stocke(*c.programme);
        const bool n = c.programme == &num, index = c.bloc[0] == '#';
        const Reprise r = reprendre(
            {octets, n ? kNum : kFanuc, n ? kFraisage : kTournage, index ? std::atoi(c.bloc + 1) : -1, index ? "" : c.bloc, {}});
        std::string s;
        for (int i = 0; i < static_cast<int>(r.lignes.size()) && i <= r.debutProgramme; ++i)
            s += (s.empty() ? "" : " / ") + r.lignes[static_cast<std::size_t>(i)];
        EXPECT_EQ(r.refus.empty() ? s + " | " + r.explication : r.refus, c.attendu) << c.bloc;
    }
}

// What must be the same from the line on: the state where it starts (its
// words as the control reads them), then each move, hole and line not drawn,
// their lines counted from there. Compared as numbers, to 0.001 mm.
std::vector<double> empreinte(const LectureReprise& lu, int ligne, int dir, std::string& mots)
{
    const Etat& e = lu.etats[static_cast<std::size_t>(ligne)];
    const int lignes[] = {lu.programme.tournage ? -1 : e.ligneTChange, e.ligneT, e.ligneD, e.ligneH, e.ligneS, e.ligneF, e.ligneLimite};
    for (int k = 0; k < 7; ++k)
        mots += (lignes[k] < 0 ? "" : motBrut(lu.brutes[static_cast<std::size_t>(lignes[k])], "TTDHSFS"[k], dir)) + " ";
    std::vector<double> v = {e.position.x, e.position.y, e.position.z, lu.programme.tournage ? 0 : e.hauts.z, double(int(e.plan))};
    for (const int x : {e.mouvement, e.cycle, e.pouces + 2 * e.relatif + 4 * e.centresAbsolus + 8 * e.xAuRayon, e.repere, e.avance,
                        e.vitesse, e.longueur, e.correction, e.broche, e.arrosage, e.outil, e.outilT})
        v.push_back(x);
    for (const Mouvement& m : lu.programme.mouvements)
        if (m.ligne >= ligne)
            v.insert(v.end(), {double(m.ligne - ligne), double(m.rapide + 2 * m.arc + 4 * m.horaire + 8 * int(m.plan)), double(m.outil),
                               m.debut.x, m.debut.y, m.debut.z, m.fin.x, m.fin.y, m.fin.z, m.centre.x, m.centre.y, m.centre.z, m.rayon,
                               m.balayage});
    for (const Percage& t : lu.programme.percages)
        if (t.ligne >= ligne) v.insert(v.end(), {double(t.ligne - ligne), double(t.outil), t.position.x, t.position.y});
    for (const LigneNonTracee& n : lu.programme.nonTracees)
        if (n.ligne >= ligne) v.insert(v.end(), {double(n.ligne - ligne), double(int(n.raison))});
    return v;
}

// The restart read back gives the same from its chosen line; false when refused.
bool verifier(const LectureReprise& lu, const std::string& octets, int dir, int type, int ligne)
{
    const Reprise r = reprendre(lu, {octets, dir, type, ligne, "", {}});
    if (!r.refus.empty()) return false;
    std::string ma, mb;  // the words of the state
    const std::vector<double> a = empreinte(lu, ligne, dir, ma);
    const std::vector<double> b = empreinte(lirePourReprise(texte(r), dir, type), r.debutProgramme, dir, mb);
    bool pareil = ma == mb && a.size() == b.size();
    for (std::size_t i = 0; pareil && i < a.size(); ++i) pareil = std::fabs(a[i] - b[i]) <= 0.001 || (a[i] != a[i] && b[i] != b[i]);
    EXPECT_TRUE(pareil) << "ligne " << ligne + 1 << " : " << lu.brutes[static_cast<std::size_t>(ligne)] << " ; " << ma << "/ " << mb;
    return true;
}

// A program of `n` lines as a CAM system and a hand write them: moves, arcs by
// radius and by centre in the three planes, inch stretches, incremental ones,
// tool changes, drilling, subprogram calls, cutter compensation.
std::string generer(int dir, int type, int n, unsigned graine)
{
    std::mt19937 alea(graine);
    const auto tirer = [&](int a, int b) { return a + static_cast<int>(alea() % static_cast<unsigned>(b - a + 1)); };
    const bool num = dir == kNum, tour = type == kTournage, iso = dir == kFanuc || dir == kAutre;
    std::vector<std::string> l = {num ? "%1000" : "%"};
    if (!num) l.push_back(dir == kAutre ? "o100 sub\r\nG1 X0 Y0\r\no100 endsub" : "O1000");
    bool pouces = false;  // positions in millimetres, written in the unit in force
    double pos[3] = {0, 0, 0};
    const auto v = [&](double x) {
        const std::string s = std::to_string(pouces ? std::round(x / 25.4 * 1e4) / 1e4 : x);
        return s.substr(0, s.find_last_not_of('0') + 1);
    };
    const auto ecrire = [&](const std::string& s) { l.push_back("N" + std::to_string(10 * l.size()) + " " + s); };
    const auto aller = [&](const char* g, int a, double x) { ecrire(g + std::string(1, "XYZ"[a]) + v(pos[a] = x)); };
    const auto partout = [&] { for (int a = 0; a < 3; a += tour ? 2 : 1) aller("G0 ", a, tirer(5, 60)); };
    int outil = 0, plan = tour ? 1 : 0;
    while (static_cast<int>(l.size()) < n) {
        const int choix = outil == 0 ? 0 : tirer(0, 99);
        const int ia = plan == 1 ? 2 : plan == 2 ? 1 : 0, ib = plan == 0 ? 1 : plan == 1 ? 0 : 2;
        if (choix < 3) {
            const std::string t = std::to_string(outil = outil % 9 + 1);
            aller("G0 ", tour ? 0 : 2, 100);
            ecrire(tour ? (iso ? "T0" + t + "0" + t : "T" + t + " D" + t) + (outil % 2 ? " G96 S180 M4" : " G97 S1500 M3")
                        : (iso ? "T" + t + " M6 G43 H" + t : "T" + t + " D" + t + " M6") + " S" + t + "000 M3");
            ecrire(std::string(outil % 3 ? "M8 F" : "M9 F") + (tour ? "0.2" : t + "00"));
            partout();
        } else if (choix < 6 && !tour) ecrire("G1" + std::to_string(7 + (plan = tirer(0, 2))));
        else if (choix < 8) ecrire((pouces = !pouces) ? (iso ? "G20" : "G70") : (iso ? "G21" : "G71"));
        else if (choix < 10 && !tour)
            ecrire("G81 X" + v(tirer(-50, 50)) + " Y1 Z-5 " + (num ? "ER2" : "R2.") + " F100\r\nX" + v(tirer(-50, 50)) + "\r\nG80"), partout();
        else if (choix < 12) l.push_back(num ? "G77 H100" : dir == kAutre ? "o100 call" : "M98 P100"), partout();
        else if (choix < 14 && !tour) ecrire("G41 D1\r\nG1 X" + v(pos[0] = tirer(-50, 50)) + "\r\nG40 Y" + v(pos[1] = tirer(-50, 50)));
        else if (const int d = tirer(-9, 9); choix < 17) ecrire("G91 G1 Z" + v(d) + "\r\nG90"), pos[2] += d;
        else if (choix < 50)
            aller(choix < 25 ? "G0 " : choix < 35 ? "G1 " : "", tour ? 2 * tirer(0, 1) : tirer(0, 2), tirer(tour ? 0 : -60, 60));
        else {
            const double ea = tirer(-60, 60), eb = tirer(tour ? 0 : -60, 60), sa = pos[ia], sb = pos[ib];
            const double corde = std::hypot(ea - sa, (eb - sb) / (tour ? 2 : 1)), t = tirer(-10, 10) / 10.0;
            if (corde < 1) continue;
            std::string s = (choix % 2 ? "G2 " : "G3 ") + std::string(1, "XYZ"[ia]) + v(ea) + " " + "XYZ"[ib] + v(eb);
            if (choix < 75 || tour) s += " R" + v((choix % 3 ? 1 : -1) * (corde / 2 + tirer(1, 20)));
            else  // NUM in G90: the centre itself; the others from the start
                s += std::string(" ") + "IJK"[ia] + v((sa + ea) / 2 - t * (eb - sb) - (num ? 0 : sa)) + " " + "IJK"[ib] +
                     v((sb + eb) / 2 + t * (ea - sa) - (num ? 0 : sb));
            ecrire(s), pos[ia] = ea, pos[ib] = eb;
        }
    }
    ecrire("M30");
    return stocke(l);
}

// Every line of one program per control and kind; spread lines of three
// longer ones (each restart is read to the end: every line of those would take
// minutes under the sanitizers); every line of the demo sheets' programs.
TEST(Reprise, MemeTrajectoireDepuisLaLigne)
{
    const auto essayer = [](const std::string& octets, int dir, int type, int pas) {
        const LectureReprise lu = lirePourReprise(octets, dir, type);
        int faites = 0;
        for (int i = 0; i < static_cast<int>(lu.brutes.size()) && !::testing::Test::HasFailure(); i += pas)
            faites += verifier(lu, octets, dir, type, i);
        return faites * pas;
    };
    for (const int dir : {kNum, kFanuc, kFagor, kAutre})
        for (const int type : {kFraisage, kTournage})
            for (const auto& [lignes, pas] : {std::pair{400, 1}, {3000, 149}, {4000, 199}, {5000, 251}})
                if (type == kFraisage || (lignes <= 3000 && (dir == kNum || dir == kFanuc))) {
                    EXPECT_GT(essayer(generer(dir, type, lignes, static_cast<unsigned>(lignes + dir)), dir, type, pas) * 3, lignes) << dir;
                }
    int faites = 0;
    const std::filesystem::path data = std::filesystem::path(TARVEX_SOURCE_DIR) / "demo" / "data";
    for (const auto& fiche : std::filesystem::directory_iterator(data)) {
        // The sheet's machine ends its folder's name; com.txt's 6th and 7th lines are its kind and control.
        const std::string nom = fiche.path().filename().string();
        std::ifstream com(data / "machine" / nom.substr(nom.rfind('_') + 1) / "com.txt"), f(fiche.path() / "prog.txt", std::ios::binary);
        std::string champ[7];
        for (auto& c : champ) std::getline(com, c);
        if (f) faites += essayer(std::string(std::istreambuf_iterator<char>(f), {}), codeMachine(champ[6].substr(0, champ[6].find('\r'))),
                       codeMachine(champ[5].substr(0, 1)), 1);
    }
    EXPECT_GT(faites, 100);
}

}  // namespace
}  // namespace tarvex::trajectoire
