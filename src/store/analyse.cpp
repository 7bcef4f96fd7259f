#include "store/analyse.h"

#include "store/lecteur.h"

#include <algorithm>
#include <cstdio>

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

Verdict analysedecalage(std::string_view texte)
{
    if (texte.find_first_of(",\"") != std::string_view::npos) return {kVirguleGuillemet, true};
    return {kCoherent, false};
}

std::optional<Constat> analysetexte(const textechoisi::Texte& t)
{
    if (!t.utf8) return std::nullopt;
    if (t.convertible()) return Constat{std::string(kEnUtf8), false};
    char point[16];
    std::snprintf(point, sizeof point, "U+%04X", static_cast<unsigned>(t.point));
    return Constat{"  Ligne " + std::to_string(t.ligne) + " : caractère « " + t.absent + " » (" + point +
                       ") absent de Windows-1252, interdit !",
                   true};
}

}  // namespace tarvex::analyse
