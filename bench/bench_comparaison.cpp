// Two 10,000-line programs compared as the comparison window does it: a
// program brought back from the CNC with a few corrected feeds, a block
// added and one removed, then one with every tenth line changed, then two
// programs with nothing in common, and last the same lines in the
// reverse order, the worst case of the search. Against a floor measured in the same run:
// splitting both texts into lines. Prints its figures, never fails on time.

#include "archives/comparaison.h"
#include "store/texte.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kLignes = 10000;
constexpr int kRepetitions = 7;

std::string programme(int graine, int changerTous)
{
    std::string s = "%1234\r\n";
    for (int i = 1; i < kLignes; ++i) {
        const bool change = changerTous > 0 && i % changerTous == 0;
        s += "N" + std::to_string(i * 10) + " G1 X" + std::to_string((i * 37 + graine * (change ? 11 : 0)) % 500) +
             ".5 Y" + std::to_string((i * 53) % 300) + " F" + std::to_string(change ? 150 : 200) + "\r\n";
    }
    return s;
}

template <class F>
double mediane(F&& f)
{
    std::vector<double> ms;
    for (int i = 0; i < kRepetitions; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main()
{
    using namespace tarvex::comparaison;
    const std::string fiche = programme(0, 0);
    std::string quelques = fiche;
    // A few feeds corrected, a block added near the start, one removed near the end.
    for (const char* avant : {"N5000 G1", "N7000 G1", "N9000 G1"}) {
        const auto p = quelques.find(avant);
        const auto f = quelques.find(" F200", p);
        quelques.replace(f, 5, " F180");
    }
    quelques.insert(quelques.find("N100 G1"), "N95 M8\r\n");
    const auto p = quelques.find("N90000 G1");
    quelques.erase(p, quelques.find("\r\n", p) + 2 - p);
    const std::string dixieme = programme(1, 10);
    // The same lines in the reverse order: the worst case of the search.
    std::string inverse;
    {
        const auto l = tarvex::lignesDe(fiche);
        for (auto it = l.rbegin(); it != l.rend(); ++it) inverse += *it + "\r\n";
    }
    std::string etranger;
    for (int i = 0; i < kLignes; ++i) etranger += "(LIGNE " + std::to_string(i) + ")\r\n";

    std::size_t puits = 0;
    const double plancher =
        mediane([&] { puits += tarvex::lignesDe(fiche).size() + tarvex::lignesDe(quelques).size(); });
    std::printf("comparaison de deux programmes de %d lignes (médiane de %d)\n", kLignes, kRepetitions);
    std::printf("  découpage des deux textes en lignes : %.2f ms\n", plancher);
    struct Cas {
        const char* nom;
        const std::string* recu;
    } cas[] = {{"quelques corrections", &quelques}, {"une ligne sur dix changée", &dixieme}, {"rien en commun", &etranger},
                 {"les mêmes lignes à l'envers", &inverse}};
    for (const Cas& c : cas) {
        Resultat r;
        const double ms = mediane([&] { r = comparer(tarvex::lignesDe(fiche), tarvex::lignesDe(*c.recu)); });
        std::printf("  %-28s %8.2f ms  (%.0f x le découpage, cible < 100 ms)  %s\n", c.nom, ms, ms / plancher,
                    resume(r).c_str());
    }
    return puits == 0;
}
