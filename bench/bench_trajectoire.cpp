// A 10,000-line milling program read as the toolpath window reads it, and its
// travel computed, overall and per tool (its drawing: bench_trajectoire_dessin).
// Prints its figures, never fails on time.

#include "serpentin.h"
#include "store/machines.h"
#include "trajectoire/trajectoire.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLignes = 10000;
constexpr int kRepetitions = 7;
constexpr double kCible = 20;  // ms

}  // namespace

int main()
{
    using namespace tarvex;
    const std::string texte = banc::serpentin(kLignes);
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
