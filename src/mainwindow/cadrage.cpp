#include "mainwindow/cadrage.h"

#include <algorithm>
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

Rectangle cadrerimage(int w, int h, int largeurCadre, int hauteurCadre, int limite, const Rectangle& interieur)
{
    Rectangle r = cadrerimage(w, h, largeurCadre, hauteurCadre, limite);
    const int iL = std::max(interieur.largeur, 0);
    const int iH = std::max(interieur.hauteur, 0);
    if (r.largeur > iL || r.hauteur > iH) {
        // Sides taken down to whole twips from the natural ratio, never past the inside.
        const long long L = w, H = h;
        if (L * iH <= H * iL) {
            r.hauteur = iH;
            r.largeur = static_cast<int>(L * iH / H);
        } else {
            r.largeur = iL;
            r.hauteur = static_cast<int>(H * iL / L);
        }
        r.gauche = (largeurCadre - r.largeur) / 2;
        r.haut = (hauteurCadre - r.hauteur) / 2;
    }
    r.gauche = std::clamp(r.gauche, interieur.gauche, interieur.gauche + iL - r.largeur);
    r.haut = std::clamp(r.haut, interieur.haut, interieur.haut + iH - r.hauteur);
    return r;
}

}  // namespace tarvex
