#pragma once
// cadrerimage's arithmetic: where a picture of a given natural size is shown
// in a frame, in twips.

namespace tarvex {

struct Rectangle {
    int gauche = 0, haut = 0, largeur = 0, hauteur = 0;
    bool operator==(const Rectangle&) const = default;
};

// Natural size when both sides are below the limit; otherwise the longer
// side takes the limit and the other keeps the ratio. Then centred in the
// frame.
Rectangle cadrerimage(int largeur, int hauteur, int largeurCadre, int hauteurCadre, int limite);

}  // namespace tarvex
