#include "mainwindow/cadrerimage.h"

#include "mainwindow/cadrage.h"

namespace tarvex {

bool cadrerimage(plateforme::Images& images, const QString& cheminData, plateforme::Image* M, plateforme::Image* S,
                 plateforme::Cadre* F, int limite)
{
    S->effacer();
    QImage image;
    if (!cheminData.isEmpty()) image = images.charger(cheminData);
    M->afficher(cheminData, image);
    const QSize naturelle = M->tailleNaturelle();
    const QSize cadre = F->tailleTwips();
    // The frame's inside as the style draws it, below its caption (what the
    // font makes of the caption is only known here), less a pixel so that the
    // picture does not lie on the frame's line.
    const QRect i = F->contentsRect().adjusted(1, 1, -1, -1);
    const int t = plateforme::kTwipsParPixel;
    const Rectangle interieur{i.x() * t, i.y() * t, i.width() * t, i.height() * t};
    const Rectangle r =
        cadrerimage(naturelle.width(), naturelle.height(), cadre.width(), cadre.height(), limite, interieur);
    S->bordure(true);
    S->placerTwips(r.gauche, r.haut, r.largeur, r.hauteur);
    S->afficher(cheminData, image);
    return cheminData.isEmpty() || !image.isNull();
}

}  // namespace tarvex
