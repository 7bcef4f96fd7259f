#pragma once
// The first data folder of a working folder: a new empty one, made from the
// files delivered with the program and an authorisation code chosen by the
// workshop, or a copy of the demonstration data. The folder is assembled
// under a scratch name beside it and renamed to data at the end, so that an
// interruption never leaves a half-made data folder that the next start
// would take for a complete one.

#include "store/probleme.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tarvex::nouvellesdonnees {

// What every data folder holds beside the sheets and that the program never
// writes: the pictures of the windows and the two placeholders.
inline constexpr std::array<const char*, 6> kLivres = {
    "tarvex.jpg", "icon.ico", "tournage.jpg", "fraisage.jpg", "pasdimage.jpg", "pasdeprogramme.txt",
};

// Under this name, beside data, the new folder is assembled.
inline constexpr const char* kBrouillon = "data.~nouveau";

// dossier + the system's separator + nom (UTF-8 texts).
std::string sous(std::string_view dossier, std::string_view nom);

// True when the working folder already holds a data folder with its index.
bool presentes(std::string_view travail);

// True when the working folder holds a data folder without its index
// (data.txt, letter case ignored): made by hand, or half copied. The two
// creations below complete such a folder in place, adding only the files it
// lacks, data.txt last, and never replacing or removing one of its own.
bool sansIndex(std::string_view travail);

// A folder without index that holds its code.tvx keeps it: no code is asked.
bool gardeSonCode(std::string_view travail);

// Why the code typed twice cannot become the code of a new folder, or
// nothing when it can. A code must read back from code.tvx exactly as typed:
// no comma or double quote (the item reader would cut or group it), no blank
// at either end (the check trims the stored code, never the typed one), only
// characters that Windows-1252 holds.
std::optional<std::string> refusCode(std::string_view code, std::string_view confirmation);

// Makes travail/data (travail and its missing parents too) with the
// delivered files taken from `livraison`, an empty data.txt and machine.txt,
// an empty machine folder and code.tvx holding the code. Nothing is written
// when a delivered file is missing or when data already exists with its
// index; after a failure part-way everything written is taken away again.
// A folder without index keeps the machine.txt, machine folder and code.tvx
// it has (the code is then neither checked nor written).
Resultat creerVides(std::string_view travail, std::string_view livraison, std::string_view code);

// Makes travail/data as a copy of the folder `demo`, every file and
// sub-folder, under the same conditions. Into a folder without index only
// when none of the demo's files is there already.
Resultat copierDemo(std::string_view travail, std::string_view demo);

}  // namespace tarvex::nouvellesdonnees
