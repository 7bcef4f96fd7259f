#include "archives/comparaison.h"

#include <dtl/dtl.hpp>

#include <unordered_map>

namespace tarvex::comparaison {

namespace {

constexpr char kDC3 = '\x13';

std::string accorder(int n, const char* mot)
{
    return std::to_string(n) + " " + mot + (n > 1 ? "s" : "");
}

}  // namespace

std::vector<std::string> lignes(std::string_view texte)
{
    std::vector<std::string> resultat;
    std::size_t debut = 0;
    while (debut < texte.size()) {
        const std::size_t fin = texte.find_first_of("\r\n", debut);
        std::string ligne(texte.substr(debut, fin == std::string_view::npos ? std::string_view::npos : fin - debut));
        std::erase(ligne, kDC3);
        if (fin == std::string_view::npos) {
            // What follows the last line end counts only if it is more than DC3s.
            if (!ligne.empty()) resultat.push_back(std::move(ligne));
            break;
        }
        resultat.push_back(std::move(ligne));
        debut = fin + ((texte[fin] == '\r' && fin + 1 < texte.size() && texte[fin + 1] == '\n') ? 2 : 1);
    }
    return resultat;
}

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

    // Removed and added lines are gathered until the next common line, then
    // paired in order; what is left of the longer run stays removed or added.
    std::vector<std::size_t> retirees, ajoutees;
    auto vider = [&] {
        const std::size_t paires = std::min(retirees.size(), ajoutees.size());
        for (std::size_t i = 0; i < paires; ++i) r.rangees.push_back({Genre::Modifiee, avant[retirees[i]], apres[ajoutees[i]]});
        for (std::size_t i = paires; i < retirees.size(); ++i) r.rangees.push_back({Genre::Retiree, avant[retirees[i]], std::nullopt});
        for (std::size_t i = paires; i < ajoutees.size(); ++i) r.rangees.push_back({Genre::Ajoutee, std::nullopt, apres[ajoutees[i]]});
        r.modifiees += static_cast<int>(paires);
        r.retirees += static_cast<int>(retirees.size() - paires);
        r.ajoutees += static_cast<int>(ajoutees.size() - paires);
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
    for (const std::string& l : lignes(recu)) octets += l + "\r\n";
    return octets;
}

}  // namespace tarvex::comparaison
