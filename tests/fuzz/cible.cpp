// The libFuzzer entry of one target: TARVEX_CIBLE names its check in
// cibles.h, one program per target built from this file.
#include "cibles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille)
{
    const std::string erreur =
        tarvex::fuzz::TARVEX_CIBLE(std::string_view(reinterpret_cast<const char*>(donnees), taille));
    if (!erreur.empty()) {
        std::fprintf(stderr, "%s\n", erreur.c_str());
        std::abort();
    }
    return 0;
}
