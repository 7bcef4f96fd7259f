#include "archives/comparaison.h"

#include "store/texte.h"

#include <dtl/dtl.hpp>

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace tarvex::comparaison {

namespace {


std::string accorder(int n, const char* mot)
{
    return std::to_string(n) + " " + mot + (n > 1 ? "s" : "");
}

// What two lines are compared by: the block number ("N120", blanks and a
// skip "/" before it aside) and the pairs of characters, blanks left out.
struct Trait {
    std::optional<long long> bloc;
    std::vector<unsigned> paires;  // sorted
};

Trait trait(const std::string& ligne)
{
    Trait t;
    std::string serre;
    for (char c : ligne)
        if (c != ' ' && c != '\t') serre += c;
    std::size_t k = serre.starts_with('/') ? 1 : 0;
    if (k < serre.size() && (serre[k] == 'N' || serre[k] == 'n') && k + 1 < serre.size() && serre[k + 1] >= '0' &&
        serre[k + 1] <= '9') {
        long long n = 0;
        for (++k; k < serre.size() && serre[k] >= '0' && serre[k] <= '9' && n < 1'000'000'000; ++k) n = n * 10 + (serre[k] - '0');
        t.bloc = n;
    }
    for (std::size_t i = 0; i + 1 < serre.size(); ++i)
        t.paires.push_back(static_cast<unsigned>(static_cast<unsigned char>(serre[i])) << 8 |
                           static_cast<unsigned char>(serre[i + 1]));
    std::sort(t.paires.begin(), t.paires.end());
    return t;
}

// One line corrected into the other: two numbered blocks when they bear
// the same number, else at least half of their pairs of characters in
// common (N10 G1 F200 / N10 G1 F150, G1 X10 F200 / G1 X10 F150, but not
// G0 X0 / M30).
bool semblables(const Trait& a, const Trait& b)
{
    if (a.bloc && b.bloc) return *a.bloc == *b.bloc;
    if (a.paires.empty() || b.paires.empty()) return false;
    std::size_t communes = 0;
    for (auto x = a.paires.begin(), y = b.paires.begin(); x != a.paires.end() && y != b.paires.end();) {
        if (*x < *y) ++x;
        else if (*y < *x) ++y;
        else ++communes, ++x, ++y;
    }
    return 4 * communes >= a.paires.size() + b.paires.size();
}

// Past this many pairs of lines a run is two unrelated texts, not a
// correction: nothing in it is paired, and the search stays short.
constexpr std::size_t kPairesMaximum = 1'000'000;

// The most pairs of like lines, one removed and one added, in the order of
// both runs (a longest common subsequence where "like" stands for "equal"):
// a line inserted before a corrected one does not take its place.
std::vector<std::pair<std::size_t, std::size_t>> appariement(const std::vector<std::string>& avant,
                                                             const std::vector<std::size_t>& retirees,
                                                             const std::vector<std::string>& apres,
                                                             const std::vector<std::size_t>& ajoutees)
{
    std::vector<std::pair<std::size_t, std::size_t>> paires;
    const std::size_t n = retirees.size(), m = ajoutees.size();
    if (n == 0 || m == 0 || n * m > kPairesMaximum) return paires;
    std::vector<Trait> ta, tb;
    for (std::size_t i : retirees) ta.push_back(trait(avant[i]));
    for (std::size_t j : ajoutees) tb.push_back(trait(apres[j]));
    // plus(i, j): the most pairs among the lines from i and j on. Pairing
    // two like lines is never worse than leaving them: without one line the
    // best count drops by one at most.
    std::vector<std::uint32_t> table((n + 1) * (m + 1), 0);
    std::vector<char> comme(n * m, 0);
    auto plus = [&](std::size_t i, std::size_t j) -> std::uint32_t& { return table[i * (m + 1) + j]; };
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;) {
            comme[i * m + j] = semblables(ta[i], tb[j]);
            plus(i, j) = comme[i * m + j] ? plus(i + 1, j + 1) + 1 : std::max(plus(i + 1, j), plus(i, j + 1));
        }
    for (std::size_t i = 0, j = 0; i < n && j < m;) {
        if (comme[i * m + j]) paires.emplace_back(i++, j++);
        else if (plus(i + 1, j) >= plus(i, j + 1)) ++i;
        else ++j;
    }
    return paires;
}

}  // namespace

Resultat comparer(const std::vector<std::string>& avant, const std::vector<std::string>& apres)
{
    Resultat r;
    // Lines are compared as numbers. A line that the other program does not
    // hold at all is removed or added whatever the alignment: it is set
    // aside before the edit script is looked for, which keeps the search
    // short when the programs have little in common (GNU diff does the same).
    std::unordered_map<std::string_view, int> numeros;
    std::vector<int> numA, numB;
    numA.reserve(avant.size());
    numB.reserve(apres.size());
    for (const std::string& l : avant) numA.push_back(numeros.try_emplace(l, static_cast<int>(numeros.size())).first->second);
    for (const std::string& l : apres) numB.push_back(numeros.try_emplace(l, static_cast<int>(numeros.size())).first->second);
    std::vector<int> dansA(numeros.size(), 0), dansB(numeros.size(), 0);
    for (int n : numA) ++dansA[static_cast<std::size_t>(n)];
    for (int n : numB) ++dansB[static_cast<std::size_t>(n)];
    std::vector<std::size_t> gardesA, gardesB;
    std::vector<int> reduitA, reduitB;
    for (std::size_t i = 0; i < numA.size(); ++i)
        if (dansB[static_cast<std::size_t>(numA[i])]) gardesA.push_back(i), reduitA.push_back(numA[i]);
    for (std::size_t j = 0; j < numB.size(); ++j)
        if (dansA[static_cast<std::size_t>(numB[j])]) gardesB.push_back(j), reduitB.push_back(numB[j]);

    dtl::Diff<int, std::vector<int>> diff(reduitA, reduitB);
    diff.compose();

    // Removed and added lines are gathered until the next common line; the
    // run is then paired by likeness (appariement), what stays unpaired is
    // shown removed or added where it stands.
    std::vector<std::size_t> retirees, ajoutees;
    auto vider = [&] {
        std::size_t i = 0, j = 0;
        auto jusqua = [&](std::size_t fi, std::size_t fj) {
            for (; i < fi; ++i, ++r.retirees) r.rangees.push_back({Genre::Retiree, avant[retirees[i]], std::nullopt});
            for (; j < fj; ++j, ++r.ajoutees) r.rangees.push_back({Genre::Ajoutee, std::nullopt, apres[ajoutees[j]]});
        };
        for (const auto& [pi, pj] : appariement(avant, retirees, apres, ajoutees)) {
            jusqua(pi, pj);
            r.rangees.push_back({Genre::Modifiee, avant[retirees[i++]], apres[ajoutees[j++]]});
            ++r.modifiees;
        }
        jusqua(retirees.size(), ajoutees.size());
        retirees.clear();
        ajoutees.clear();
    };
    std::size_t ia = 0, ib = 0, ra = 0, rb = 0;
    auto retirerJusqua = [&](std::size_t a) { for (; ia < a; ++ia) retirees.push_back(ia); };
    auto ajouterJusqua = [&](std::size_t b) { for (; ib < b; ++ib) ajoutees.push_back(ib); };
    for (const auto& [numero, info] : diff.getSes().getSequence()) {
        (void)numero;
        switch (info.type) {
        case dtl::SES_DELETE:
            retirerJusqua(gardesA[ra++] + 1);
            break;
        case dtl::SES_ADD:
            ajouterJusqua(gardesB[rb++] + 1);
            break;
        default: {
            const std::size_t a = gardesA[ra++], b = gardesB[rb++];
            retirerJusqua(a);
            ajouterJusqua(b);
            vider();
            r.rangees.push_back({Genre::Egale, avant[a], apres[b]});
            ia = a + 1;
            ib = b + 1;
        }
        }
    }
    retirerJusqua(avant.size());
    ajouterJusqua(apres.size());
    vider();
    return r;
}

std::string resume(const Resultat& r)
{
    if (r.differences() == 0) return "Aucune différence";
    return accorder(r.differences(), "ligne") + (r.differences() > 1 ? " différentes : " : " différente : ") +
           accorder(r.modifiees, "modifiée") + ", " + accorder(r.ajoutees, "ajoutée") + ", " +
           accorder(r.retirees, "supprimée");
}

std::string programmeAStocker(std::string_view recu)
{
    std::string octets;
    for (const std::string& l : lignesDe(recu)) octets += l + "\r\n";
    return octets;
}

}  // namespace tarvex::comparaison
