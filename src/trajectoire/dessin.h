#pragma once
// The projected toolpath painted with QPainter: on screen by the view, into
// the printed sheet's picture, offscreen by the benchmark. Rapid moves
// dashed, feed moves solid, arcs as arcs, one colour per tool; the zero
// lines of the program, the axes' names and a scale.

#include "trajectoire/projection.h"

#include <QColor>
#include <QPointF>
#include <QRectF>

#include <unordered_map>
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

// One colour per tool, in the order the tools first appear in the program
// (moves and holes); grey before the first. On paper each has its own dash
// pattern too, that a printer without colours keeps apart.
class Palette {
public:
    Palette() = default;
    explicit Palette(const Programme& p);
    QColor couleur(int outil) const;
    // The tool's place in the palette; -1 for the moves before the first tool.
    int rang(int outil) const;

private:
    std::vector<int> outils_;
    std::unordered_map<int, int> rangs_;
};

// The axes across and up: "Z", "X" for turning.
const char* axeHorizontal(Vue v);
const char* axeVertical(Vue v);

// Sizes are given in pixels of a screen and multiplied by `unite` for the device.
struct Traits {
    double unite = 1;
    bool textesEnChemins = false;  // on paper: outlines, sized by the drawing's scale whatever the printer's resolution
    bool papier = false;           // each tool's feed moves with a dash pattern of its own
    int marge = 12;
};

// Every tool shown, or one alone.
inline constexpr int kTousOutils = -1000;

// The part of `zone` a path is fitted into: above the strip of the axes'
// names and the scale, so that no line of the path runs through them.
QRectF sansReperes(const QRectF& zone, const Traits& traits);

// The program's zero lines, the moves and the holes in `zone` (what the view
// keeps in its cache): rapid moves thin, pale and dashed on a grid of their
// own line, so that a rapid out and back on one line keeps its gaps; feed
// moves solid (on paper: the tool's pattern); a move seen end on a small
// circle, holes crosses. Consecutive moves that stay within half a device
// unit of each other are drawn as one: a million-line program costs what
// its drawing can show.
void dessinerTrajet(QPainter& peintre, const Programme& p, const Projection& vue, Vue sorte, const Palette& palette,
                    const Cadrage& cadrage, const QRectF& zone, const Traits& traits, int outilSeul = kTousOutils);
// The marked traces and holes (indices into vue.traces and vue.croix) over the path.
void dessinerMarques(QPainter& peintre, const Programme& p, const Projection& vue, const Palette& palette,
                     const Cadrage& cadrage, const QRectF& zone, const Traits& traits, const std::vector<int>& traces,
                     const std::vector<int>& croix = {});
// The axes' names at the bottom left, a scale at the bottom right.
void dessinerReperes(QPainter& peintre, Vue sorte, const Cadrage& cadrage, const QRectF& zone, const Traits& traits);

// The three, the marked traces over the path.
void dessiner(QPainter& peintre, const Programme& p, const Projection& vue, Vue sorte, const Palette& palette,
              const Cadrage& cadrage, const QRectF& zone, const Traits& traits, const std::vector<int>& marques = {});

// The line of the move or hole passing nearest `point` (device units), no
// further than `distance`, among the tools shown; -1 when none does.
int ligneProche(const Programme& p, const Projection& vue, const Cadrage& cadrage, QPointF point, double distance,
                int outilSeul = kTousOutils);

// The printed drawing of the program as the window first shows it, framed,
// largeur x hauteur millimetres, painted in tenths of a millimetre; its
// legend (rapid moves, then each tool's line) in its last
// hauteurLegende(...) millimetres.
void dessinerImprime(QPainter& peintre, const Programme& p, double largeur, double hauteur);

}  // namespace tarvex::trajectoire
