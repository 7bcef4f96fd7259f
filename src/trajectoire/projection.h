#pragma once
// The moves as the view draws them: flat, in the plane the operator looks at,
// h across and v up, in millimetres. Pure geometry; the window scales it.

#include "trajectoire/trajectoire.h"

#include <initializer_list>
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

// A trace's points: a line's two kept without an allocation (a million-line
// program makes a million traces), a flattened arc's as many as it needs.
class Points {
public:
    Points() = default;
    Points(std::initializer_list<Point2> l)
    {
        for (const Point2& p : l) push_back(p);
    }
    std::size_t size() const { return plus_.empty() ? n_ : plus_.size(); }
    const Point2* begin() const { return plus_.empty() ? deux_ : plus_.data(); }
    const Point2* end() const { return begin() + size(); }
    const Point2& operator[](std::size_t i) const { return begin()[i]; }
    const Point2& front() const { return *begin(); }
    const Point2& back() const { return end()[-1]; }
    void clear() { n_ = 0, plus_.clear(); }
    void reserve(std::size_t n) { plus_.reserve(n > 2 ? n : 0); }
    void push_back(Point2 p)
    {
        if (plus_.empty() && n_ < 2) {
            deux_[n_++] = p;
            return;
        }
        if (plus_.empty()) plus_.assign(deux_, deux_ + n_);
        plus_.push_back(p);
    }

private:
    Point2 deux_[2];
    std::size_t n_ = 0;
    std::vector<Point2> plus_;
};

struct Trace {
    int mouvement = 0;            // index in Programme::mouvements
    Points points;                // the path; an arc kept whole: its start and end
    // An arc kept whole: centre, radii and angles of an arc of ellipse (a circle
    // when rx == ry), the point at angle t being (h + rx cos t, v + ry sin t);
    // radians, counter-clockwise with v up, the sweep negative when clockwise.
    bool arc = false;
    Point2 centre;
    double rx = 0, ry = 0, depart = 0, balayage = 0;
    Boite boite;
};

// A drilling cycle's hole where the view can place it.
struct Croix {
    int percage = 0;  // index in Programme::percages
    Point2 position;
};

struct Projection {
    std::vector<Trace> traces;  // in program order; a move without a known start or end in the view is left out
    std::vector<Croix> croix;
    Boite boite;                // of the whole path and its holes ("Ajuster")
};

struct Reglage {
    Vue vue = Vue::XY;
    bool xAuRayon = true;      // turning: X drawn as a radius ("X au diamètre" ticked)
    bool garderArcs = false;   // arcs in the view's plane kept whole; the others flattened anyway
    double tolerance = 0.01;   // the furthest a flattened arc strays from the true one, in mm of the view
};

Projection projeter(const Programme& p, const Reglage& r);
// One point of the program in the view (NaN where an axis seen is unknown).
Point2 projeterPoint(const Programme& p, const Reglage& r, const Point& point);

// What the view shows first, and the printed sheet: turning Z across and X
// up as a radius, milling XY, arcs kept whole.
Reglage reglageInitial(const Programme& p);

// The height of a drawing `largeur` wide that shows the whole box at one
// scale, between a third of its width and one and a quarter times it: a flat
// path still gets a strip that can be read, a tall one stays on its page.
double hauteurDessin(const Boite& b, double largeur);

// The tools with something drawn (a move or a hole), in the order they first
// appear in the program: the printed legend's entries.
std::vector<int> outilsDessines(const Programme& p, const Projection& vue);

// The printed legend under a drawing `largeur` millimetres wide: the rapid
// moves' sample, then one per tool, as many on a row as fit.
inline constexpr double kLargeurEntreeLegende = 24, kHauteurRangLegende = 5;
int entreesParRang(double largeur);
double hauteurLegende(std::size_t outils, double largeur);

}  // namespace tarvex::trajectoire
