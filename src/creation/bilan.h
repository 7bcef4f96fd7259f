#pragma once
// The four lists of the creation report (Bilancréation): what the operator
// entered, and the result of every check. Texts are UTF-8.

#include "creation/ecriture.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvex::creation {

struct Bilan {
    std::vector<std::string> donnees;  // List1
    std::vector<std::string> chemins;  // List2
    std::vector<std::string> valeurs;  // List3
    std::vector<std::string> analyse;  // List4
    bool refuse = false;               // "Continuer" stays disabled
};

// The lines a picture that cannot be read as one adds to the analysis.
inline constexpr const char* kImageIllisible = "  Image illisible ou format non reconnu !";
// The line that tells the operator only the first gauges will be kept.
inline constexpr const char* kJaugesTronquees = "  Plus de 100 jauges : seules les 100 premières seront enregistrées !";

// `imageLisible` says whether a chosen picture can be shown; only the
// pictures that the writing copies are asked about.
Bilan construireBilan(const SaisieFiche& s, const std::function<bool(const std::string&)>& imageLisible);

}  // namespace tarvex::creation
