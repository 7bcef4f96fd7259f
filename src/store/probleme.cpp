#include "store/probleme.h"

namespace tarvex {

std::string joindreProblemes(const Problemes& problemes)
{
    std::string r;
    for (const auto& p : problemes) {
        if (!r.empty()) r += '\n';
        r += p.texte();
    }
    return r;
}

}  // namespace tarvex
