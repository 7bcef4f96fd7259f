#pragma once
// The entries of the main window's list of sheets: "PIVOT Phase 20" with the
// record's position in the index, in the order the list shows them.

#include "store/probleme.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

struct EntreeListe {
    std::string texte;  // UTF-8
    int numero = 0;     // record position in data\data.txt, from 0
    bool operator==(const EntreeListe&) const = default;
};

// Part name and phase without surrounding blanks, joined by " Phase ".
std::string texteEntree(std::string_view piece, std::string_view phase);

// A sort key for French alphabetical order without regard to letter case:
// accented letters sort beside their base letter (e, é, è together), an
// unaccented word before the same word with accents; equal keys mean the
// texts differ only in letter case.
std::string cleTri(std::string_view utf8);

// Every record of the index bytes, sorted as the list shows them; entries
// with the same text keep the index order.
Lu<std::vector<EntreeListe>> entreesListe(std::string_view octetsIndex);

// The same, read from data\data.txt (remplirliste).
Lu<std::vector<EntreeListe>> remplirliste();

}  // namespace tarvex
