#pragma once
// What tells that a file was rewritten by someone else — another computer
// storing on the same shared data folder — without reading it: its size and
// its time of last writing. A file server's change notices cannot be relied
// on, so the main window compares these now and then.

#include <cstdint>
#include <string_view>

namespace tarvex {

struct Empreinte {
    bool presente = false;
    std::uintmax_t taille = 0;
    std::int64_t temps = 0;  // the file system's own ticks: only compared
    bool operator==(const Empreinte&) const = default;
};

// The stamp of the data-folder file `chemin` now; a missing one has its own.
Empreinte empreinte(std::string_view chemin);

// Whether `chemin` changed since `vue` was taken; `vue` then becomes today's.
bool aChange(std::string_view chemin, Empreinte& vue);

}  // namespace tarvex
