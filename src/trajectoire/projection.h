#pragma once
// The moves as the view draws them: flat, in the plane the operator looks at,
// h across and v up, in millimetres. Pure geometry; the window scales it.

#include "trajectoire/trajectoire.h"

#include <vector>

namespace tarvex::trajectoire {

// Tour: Z across, X up (turning). Milling: XY, XZ or YZ.
enum class Vue : unsigned char { Tour, XY, XZ, YZ };

struct Point2 {
    double h = 0, v = 0;
};

struct Boite {
    double hmin = 1e300, hmax = -1e300, vmin = 1e300, vmax = -1e300;
    bool vide() const { return hmin > hmax; }
    void ajouter(Point2 p);
    void ajouter(const Boite& b);
};

struct Trace {
    int mouvement = 0;            // index in Programme::mouvements
    std::vector<Point2> points;   // the path; an arc kept whole: its start and end
    // An arc kept whole: centre, radii and angles of an arc of ellipse (a circle
    // when rx == ry), the point at angle t being (h + rx cos t, v + ry sin t);
    // radians, counter-clockwise with v up, the sweep negative when clockwise.
    bool arc = false;
    Point2 centre;
    double rx = 0, ry = 0, depart = 0, balayage = 0;
    Boite boite;
};

struct Projection {
    std::vector<Trace> traces;  // in program order; a move without a known start or end in the view is left out
    Boite boite;                // of the whole path ("Ajuster")
};

struct Reglage {
    Vue vue = Vue::XY;
    bool xAuRayon = true;      // turning: X drawn as a radius ("X au diamètre" ticked)
    bool garderArcs = false;   // arcs in the view's plane kept whole; the others flattened anyway
    double tolerance = 0.01;   // the furthest a flattened arc strays from the true one, in mm of the view
};

Projection projeter(const Programme& p, const Reglage& r);

// What the view shows first, and the printed sheet: turning Z across and X
// up as a radius, milling XY, arcs kept whole.
Reglage reglageInitial(const Programme& p);

// The height of a drawing `largeur` wide that shows the whole box at one
// scale, between a third of its width and one and a quarter times it: a flat
// path still gets a strip that can be read, a tall one stays on its page.
double hauteurDessin(const Boite& b, double largeur);

}  // namespace tarvex::trajectoire
