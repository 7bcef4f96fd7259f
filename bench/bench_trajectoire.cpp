// A 10,000-line milling program read as the toolpath window reads it, and its
// travel computed, overall and per tool: a serpentine of lines and half
// circles (by I J and by R), with block numbers, comments, tool changes and
// drilling cycles among them. Prints its figures, never fails on time.

#include "store/machines.h"
#include "trajectoire/trajectoire.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kLignes = 10000;
constexpr int kRepetitions = 7;
constexpr double kCible = 20;  // ms

std::string programme()
{
    std::string s = "%1234\r\n(SERPENTIN D ESSAI)\r\n";
    int n = 2, y = 0, outil = 1;
    const auto ligne = [&](const std::string& texte) {
        s += "N" + std::to_string(n * 10) + " " + texte + "\r\n";
        ++n;
    };
    while (n < kLignes) {
        if (n % 500 == 2) {
            ligne("G0 G52 Z0 M9");
            ligne("T" + std::to_string(outil) + " D" + std::to_string(outil) + " M6 (OUTIL " + std::to_string(outil) + ")");
            ++outil;
            ligne("G81 X10 Y" + std::to_string(y) + " Z-5 ER2 F100");
            ligne("G80 G0 X0 Y" + std::to_string(y) + " Z2");
            ligne("G1 Z-1 F200");
        }
        ligne("G1 X100 Y" + std::to_string(y) + " F500");
        ligne("G3 X100 Y" + std::to_string(y + 2) + " I0 J1");
        ligne("G1 X0.5");
        ligne("X0");
        ligne("G2 X0 Y" + std::to_string(y + 4) + " R1");
        y += 4;
    }
    return s;
}

}  // namespace

int main()
{
    using namespace tarvex;
    const std::string texte = programme();
    std::vector<double> ms;
    std::size_t puits = 0;
    for (int i = 0; i < kRepetitions; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        const trajectoire::Programme p = trajectoire::lire(texte, kNum, kFraisage);
        const auto e = trajectoire::lignesEtendue(trajectoire::etendue(p));
        const auto o = trajectoire::lignesOutils(p);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        puits += p.mouvements.size() + p.nonTracees.size() + e.size() + o.size();
        if (i == 0)
            std::printf("trajectoire : %zu lignes, %zu mouvements, %zu lignes non tracées, %zu outils ; %s\n", p.lignes.size(),
                        p.mouvements.size(), p.nonTracees.size(), o.size(), e.empty() ? "" : e.front().c_str());
    }
    std::sort(ms.begin(), ms.end());
    const double mediane = ms[ms.size() / 2];
    std::printf("  lecture et étendue (médiane de %d) : %.2f ms, %.3f x la cible de %.0f ms\n", kRepetitions, mediane,
                mediane / kCible, kCible);
    return puits == 0;
}
