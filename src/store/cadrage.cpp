#include "store/cadrage.h"

#include <cmath>

namespace tarvex {

Rectangle cadrerimage(int w, int h, int largeurCadre, int hauteurCadre, int limite)
{
    Rectangle r;
    if (w <= 0 || h <= 0) {
        r.largeur = r.hauteur = 0;
    } else if (w < limite && h < limite) {
        r.largeur = w;
        r.hauteur = h;
    } else {
        const double ratio = static_cast<double>(w) / h;
        if (w <= h) {
            r.hauteur = limite;
            r.largeur = static_cast<int>(std::lround(limite * ratio));
        } else {
            r.largeur = limite;
            r.hauteur = static_cast<int>(std::lround(limite / ratio));
        }
    }
    // Integer division as the layout unit does: a half twip is dropped.
    r.gauche = (largeurCadre - r.largeur) / 2;
    r.haut = (hauteurCadre - r.hauteur) / 2;
    return r;
}

}  // namespace tarvex
