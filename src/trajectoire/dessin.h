#pragma once
// The projected toolpath painted with QPainter: on screen by the view, into
// the printed sheet's picture, offscreen by the benchmark. Rapid moves
// dashed, feed moves solid, arcs as arcs, one colour per tool; the zero
// lines of the program, the axes' names and a scale.

#include "trajectoire/projection.h"

#include <QColor>
#include <QPointF>
#include <QRectF>

#include <vector>

class QPainter;

namespace tarvex::trajectoire {

// Where the view's millimetres fall on the device: (h0, v0) is the view's
// point at the device's origin, echelle the device units per millimetre.
struct Cadrage {
    double echelle = 1, h0 = 0, v0 = 0;
    QPointF versAppareil(Point2 p) const { return {(p.h - h0) * echelle, (v0 - p.v) * echelle}; }
    Point2 versVue(QPointF p) const { return {h0 + p.x() / echelle, v0 - p.y() / echelle}; }
};

// The whole box in `zone`, centred, at least `marge` device units from its edges.
Cadrage ajuster(const Boite& b, const QRectF& zone, double marge);

// One colour per tool, in the order the tools first move; grey before the first.
class Palette {
public:
    Palette() = default;
    explicit Palette(const Programme& p);
    QColor couleur(int outil) const;

private:
    std::vector<int> outils_;
};

// The axes across and up: "Z", "X" for turning.
const char* axeHorizontal(Vue v);
const char* axeVertical(Vue v);

// Sizes are given in pixels of a screen and multiplied by `unite` for the device.
struct Traits {
    double unite = 1;
    bool textesEnChemins = false;  // on paper: outlines, sized by the drawing's scale whatever the printer's resolution
    int marge = 12;
};

// The part of `zone` a path is fitted into: above the strip of the axes'
// names and the scale, so that no line of the path runs through them.
QRectF sansReperes(const QRectF& zone, const Traits& traits);

// Paints the whole drawing into `zone`, the marked traces (indices into
// vue.traces) over the others.
void dessiner(QPainter& peintre, const Programme& p, const Projection& vue, Vue sorte, const Palette& palette,
              const Cadrage& cadrage, const QRectF& zone, const Traits& traits, const std::vector<int>& marques = {});

// The trace passing nearest `point` (device units), no further than
// `distance`; -1 when none does.
int traceProche(const Projection& vue, const Cadrage& cadrage, QPointF point, double distance);

// The printed drawing of the program as the window first shows it, framed,
// largeur x hauteur millimetres, painted in tenths of a millimetre.
void dessinerImprime(QPainter& peintre, const Programme& p, double largeur, double hauteur);

}  // namespace tarvex::trajectoire
