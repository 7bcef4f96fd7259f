#pragma once
// The technical file of a sheet: a drawing of the part with its title block,
// and for some parts a second page with the routing and the inspection points.

#include "dessin.h"

#include <QString>
#include <QStringList>

namespace demo {

struct DossierTechnique {
    QString piece, phase, ensemble, matiere, machine;
    QString numeroPlan;
    Piece forme;
    QStringList cotesParticulieres;  // tolerance notes beside the drawing
    QStringList gamme;               // second page: "phase|operation|machine|check"; empty = one page
};

void ecrirePlan(const QString& chemin, const DossierTechnique& d);

// A page of the technical file as a picture, to check the drawing without a
// PDF viewer (generator option --apercu).
QImage apercuPlan(const DossierTechnique& d, int page);

}  // namespace demo
