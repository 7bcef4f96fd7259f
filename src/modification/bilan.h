#pragma once
// The lines of the modification report. Everything but the paths is the
// creation report's (creation/bilan.h), on the sheet as modified; the paths
// are listed old beside new. Texts are UTF-8.

#include "creation/bilan.h"
#include "modification/stockage.h"

#include <array>
#include <functional>
#include <string>

namespace tarvex::bilan {

// The slot (record order) of each picture option, in option order
// (kModelesPhotos): "Mise en butée" (Option5) fills field 11,
// after "Bridage" (Option6), field 10.
extern const std::array<stockage::Emplacement, kPhotos> kEmplacementOption;

// The modified sheet as the creation report reads a new one.
creation::SaisieFiche saisie(const stockage::Modification& m);

// The four lists. `imageLisible` is asked only about pictures newly chosen:
// a picture the sheet already holds is not the report's business, so a
// sheet with a damaged photograph can still be repaired.
creation::Bilan bilanModification(const stockage::Modification& m,
                                  const std::function<bool(const std::string&)>& imageLisible);

}  // namespace tarvex::bilan
