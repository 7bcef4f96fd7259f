#include "creation/analyse.h"

#include "store/lecteur.h"

#include <algorithm>

namespace tarvex::analyse {

bool interditDansNom(char c)
{
    constexpr std::string_view interdits = "\\_/:;,*?<>";
    return interdits.find(c) != std::string_view::npos;
}

namespace {

bool nomInacceptable(std::string_view nom)
{
    return std::any_of(nom.begin(), nom.end(), [](char c) { return interditDansNom(c) || c == '"'; });
}

}  // namespace

Verdict analysenom(std::string_view texte)
{
    Verdict v{kCoherent, false};
    if (texte.empty() || texte == kNomACompleter) v = {kAbsenceNom, true};
    if (nomInacceptable(sansBlancs(texte))) v = {kInterdits, true};
    return v;
}

Verdict analysevaleur(std::string_view texte)
{
    const std::string_view coeur = sansBlancs(texte);
    if (coeur.empty()) return {kAucuneValeur, true};
    const bool numerique = std::all_of(coeur.begin(), coeur.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 45 && u <= 57;
    });
    return numerique ? Verdict{kCoherent, false} : Verdict{kNonNumerique, true};
}

Verdict analysephase(std::string_view texte)
{
    if (nomInacceptable(texte)) return {kInterdits, true};
    if (lirenombre(texte) == 0) return {kNonNumerique, true};
    return {kCoherent, false};
}

Verdict analysemachine(std::string_view texte)
{
    if (texte.empty() || texte == kSelectionnerMachine) return {kAbsenceMachine, false};
    return {kCoherent, false};
}

}  // namespace tarvex::analyse
