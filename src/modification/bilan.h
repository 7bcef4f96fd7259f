#pragma once
// The lines of the modification report: what will be stored, every file's
// old path beside its new one, and the checks shared with the creation
// report (creation/analyse.h). Texts are UTF-8.

#include "modification/stockage.h"

#include <array>
#include <string>
#include <vector>

namespace tarvex::bilan {

// The nine picture options in the order the window shows them, with the
// slot (record order) each one fills.
struct OptionImage {
    const char* nom;      // "Option11"
    const char* legende;  // "Vue de la pièce"
    stockage::Emplacement emplacement;
    bool tournage;        // offered for a turning machine
};
extern const std::array<OptionImage, 9> kOptionsImages;

struct Saisie {
    std::string piece, phase, matiere, ensemble, machine;
    std::string genre, directeur;  // the main window's Label17, Label18
    std::array<stockage::Chemins, stockage::kEmplacements> fichiers;
    std::array<std::string, 9> legendes;  // captions of the options, in kOptionsImages order
    ValeursPref pref;
    ValeursOrigine origine;
    std::string jauges;
};

struct Bilan {
    std::vector<std::string> designation;  // List1
    std::vector<std::string> chemins;      // List2
    std::vector<std::string> valeurs;      // List3
    std::vector<std::string> analyse;      // List4
    bool refuse = false;                   // "Continuer" stays disabled
};

Bilan bilanModification(const Saisie& s);

}  // namespace tarvex::bilan
