// tarvex-nouveau TRAVAIL LIVRAISON CODE: makes TRAVAIL/data as the first
// start's window does for a new empty folder, for the package test, which
// then starts the installed program on it.

#include "store/nouvellesdonnees.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: tarvex-nouveau TRAVAIL LIVRAISON CODE\n");
        return 2;
    }
    const tarvex::Resultat r = tarvex::nouvellesdonnees::creerVides(argv[1], argv[2], argv[3]);
    if (!r.ok()) {
        std::fprintf(stderr, "%s\n", tarvex::joindreProblemes(r.problemes).c_str());
        return 1;
    }
    return 0;
}
