#pragma once
// Data files are Windows-1252 bytes; the program works in UTF-8 inside.
// Every byte value survives a round trip, including the five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D), which map to the C1
// control characters of the same value as the Windows converter does.

#include <string>
#include <string_view>

namespace tarvex::cp1252 {

std::string versUtf8(std::string_view octets);
void ajouterUtf8(std::string& sortie, std::string_view octets);  // appends versUtf8(octets)

// Characters that Windows-1252 cannot hold become '?', as the system's own
// converter does; malformed UTF-8 sequences too.
std::string depuisUtf8(std::string_view utf8);

// Upper/lower case folding of a UTF-8 text for file name comparison: ASCII,
// Latin-1 and Latin Extended-A letters (É/é, Œ/œ, Ÿ/ÿ...).
std::string replier(std::string_view utf8);

}  // namespace tarvex::cp1252
