#pragma once
// The pictures a sheet may hold: the option that shows each one, its path box
// in the creation and modification windows, its caption and the name of its
// copy in the sheet folder.

#include <array>

namespace tarvex {

// The nine picture slots in the order the windows walk them (Option11,
// Option10, Option3, Option4, Option5, Option6, Option7, Option8, Option9).
enum Photo { PVue, PMont1, PMont2, PInst, PButee, PBride, PPrefx, PPrefy, PPrefz };
inline constexpr int kPhotos = 9;

struct PhotoModele {
    const char* option;   // the option button
    const char* boite;    // its hidden path box
    const char* legende;  // the option button's caption
    const char* fichier;  // the name of the copy in the sheet folder
    bool tournage;        // offered for a turning machine
};
extern const std::array<PhotoModele, kPhotos> kModelesPhotos;

}  // namespace tarvex
