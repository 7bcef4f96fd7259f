#include "store/texte.h"

#include "store/lecteur.h"

#include <algorithm>

namespace tarvex {

int numeroPort(std::string_view port)
{
    if (port.empty()) return 0;
    return static_cast<int>(lirenombre(port.substr(port.size() - 1)));
}

std::vector<std::string> lignesDe(std::string_view texte)
{
    std::vector<std::string> resultat;
    std::size_t debut = 0;
    while (debut < texte.size()) {
        const std::size_t fin = texte.find_first_of("\r\n", debut);
        std::string ligne(texte.substr(debut, fin == std::string_view::npos ? std::string_view::npos : fin - debut));
        std::erase(ligne, kDC3);
        if (fin == std::string_view::npos) {
            // What follows the last line end counts only if it is more than DC3s.
            if (!ligne.empty()) resultat.push_back(std::move(ligne));
            break;
        }
        resultat.push_back(std::move(ligne));
        debut = fin + ((texte[fin] == '\r' && fin + 1 < texte.size() && texte[fin + 1] == '\n') ? 2 : 1);
    }
    return resultat;
}

std::string ligneDeChamps(std::initializer_list<std::string_view> champs)
{
    std::string l;
    bool premier = true;
    for (std::string_view champ : champs) {
        if (!premier) l += ';';
        premier = false;
        for (char c : champ) {
            if (c == ';')
                l += ',';
            else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                l += '?';
            else
                l += c;
        }
    }
    return l;
}

}  // namespace tarvex
