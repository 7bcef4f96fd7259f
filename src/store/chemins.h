#pragma once
// Paths are written as the data folder writes them, relative to the working
// folder with backslashes ("data\machine\TOUR 1\com.txt"). On Windows they go
// to the system as they are. Elsewhere every component is matched without
// regard to letter case, accented letters included, so that "Vue.jpg" and
// "vue.jpg" name one file, as they do at the workshop.

#include <filesystem>
#include <string>
#include <string_view>

namespace tarvex::chemins {

// The file or folder the path names. Components that exist under another
// letter case take the name found on disk; the first component that does not
// exist, and everything after it, is kept as written.
std::filesystem::path resoudre(std::string_view chemin);

// folder + "\" + name, without doubling a separator the folder already ends with.
std::string joindre(std::string_view dossier, std::string_view nom);

// A name may become a folder of its own only when it cannot leave its parent:
// not empty, not "." or "..", no path separator, no drive colon and no
// control character. Every writer that makes a folder from a typed name asks.
bool nomSur(std::string_view nom);

// The path as shown to the operator and as compared by the tests.
std::string texte(const std::filesystem::path& p);

}  // namespace tarvex::chemins
