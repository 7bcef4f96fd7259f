#pragma once
// Two programs side by side: the lines of the sheet's program and those of a
// program received from the CNC, aligned, with what differs marked. The
// alignment is a shortest edit script (dtl); between two common lines, a
// removed line faces the added line that is its correction (same block
// number, or mostly the same characters), which is how a machinist reads a
// corrected feed; a line with no such counterpart is removed or added alone.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::comparaison {

enum class Genre { Egale, Modifiee, Retiree, Ajoutee };

struct Rangee {
    Genre genre = Genre::Egale;
    std::optional<std::string> avant;  // nothing for an added line
    std::optional<std::string> apres;  // nothing for a removed line
};

struct Resultat {
    std::vector<Rangee> rangees;
    int modifiees = 0, retirees = 0, ajoutees = 0;
    int differences() const { return modifiees + retirees + ajoutees; }
};

Resultat comparer(const std::vector<std::string>& avant, const std::vector<std::string>& apres);

// "Aucune différence", or the number of differing lines and what they are,
// such as "3 lignes différentes : 1 modifiée, 2 ajoutées, 0 supprimée".
std::string resume(const Resultat& r);

// A received program as a sheet stores it: without its DC3s, every line ended
// by CR LF (the bytes are kept as they came, Windows-1252).
std::string programmeAStocker(std::string_view recu);

}  // namespace tarvex::comparaison
