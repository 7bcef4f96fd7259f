#include "platform/cadrerimage.h"

#include "store/cadrage.h"

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
    const Rectangle r = cadrerimage(naturelle.width(), naturelle.height(), cadre.width(), cadre.height(), limite);
    S->bordure(true);
    S->placerTwips(r.gauche, r.haut, r.largeur, r.hauteur);
    S->afficher(cheminData, image);
    return cheminData.isEmpty() || !image.isNull();
}

}  // namespace tarvex
