#include "trajectoire/projection.h"

#include "trajectoire/geometrie.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tarvex::trajectoire {

void Boite::ajouter(Point2 p)
{
    hmin = std::min(hmin, p.h);
    hmax = std::max(hmax, p.h);
    vmin = std::min(vmin, p.v);
    vmax = std::max(vmax, p.v);
}

void Boite::ajouter(const Boite& b)
{
    if (b.vide()) return;
    ajouter(Point2{b.hmin, b.vmin});
    ajouter(Point2{b.hmax, b.vmax});
}

namespace {

// Flattened arcs never exceed this many segments, however fine the tolerance.
constexpr int kSegmentsMax = 1024;

struct Projeteur {
    int h, v;                   // the axes across and up
    double kh, kv;              // from the true geometry to the view
    bool tournage;

    // A point of the program (turning: X as a diameter) in the view.
    Point2 programme(const Point& p) const
    {
        return {p[h] * echelle(h, tournage) * kh, p[v] * echelle(v, tournage) * kv};
    }
    // A point of the true geometry in the view.
    Point2 vrai(const Point& p) const { return {p[h] * kh, p[v] * kv}; }
};

Projeteur projeteur(const Programme& p, const Reglage& r)
{
    // Turning with X as a diameter: the true circle doubled across X.
    const double kx = p.tournage && !r.xAuRayon ? 2.0 : 1.0;
    switch (r.vue) {
    case Vue::Tour: return {2, 0, 1.0, kx, p.tournage};
    case Vue::XY: return {0, 1, kx, 1.0, p.tournage};
    case Vue::XZ: return {0, 2, kx, 1.0, p.tournage};
    case Vue::YZ: return {1, 2, 1.0, 1.0, p.tournage};
    }
    return {0, 1, kx, 1.0, p.tournage};
}

bool connu(Point2 p) { return trajectoire::connu(p.h) && trajectoire::connu(p.v); }

// An arc seen face on: the view's axes are its plane's, maybe swapped.
bool garderArc(const Mouvement& m, const Projeteur& pr, bool tournage, Trace& t)
{
    const AxesPlan ax = axesDuPlan(m.plan);
    const bool droit = pr.h == ax.a && pr.v == ax.b;
    if (!droit && !(pr.h == ax.b && pr.v == ax.a)) return false;
    Point c = m.centre;
    for (int a = 0; a < 3; ++a) c[a] *= echelle(a, tournage);
    t.arc = true;
    t.centre = pr.vrai(c);
    t.rx = m.rayon * pr.kh;
    t.ry = m.rayon * pr.kv;
    // Swapped axes mirror the turn: angle t across is pi/2 - angle in the plane.
    t.depart = droit ? m.depart : kPi / 2 - m.depart;
    t.balayage = droit ? m.balayage : -m.balayage;
    const double cosinus[] = {1, 0, -1, 0};
    for (int quart = 0; quart < 4; ++quart)
        if (dansBalayage(t.depart, t.balayage, quart * kPi / 2))
            t.boite.ajouter(Point2{t.centre.h + t.rx * cosinus[quart], t.centre.v + t.ry * cosinus[(quart + 3) % 4]});
    return true;
}

void aplatir(const Mouvement& m, const Projeteur& pr, bool tournage, double tolerance, Trace& t)
{
    const AxesPlan ax = axesDuPlan(m.plan);
    const double rv = m.rayon * std::max(pr.kh, pr.kv);
    const double pas = tolerance > 0 && tolerance < rv ? 2 * std::acos(1 - tolerance / rv) : kPi / 2;
    const int n = std::clamp(static_cast<int>(std::ceil(std::fabs(m.balayage) / pas)), 1, kSegmentsMax);
    Point c = m.centre;
    for (int a = 0; a < 3; ++a) c[a] *= echelle(a, tournage);
    const double n0 = m.debut[ax.n] * echelle(ax.n, tournage), n1 = m.fin[ax.n] * echelle(ax.n, tournage);
    t.points.clear();
    t.points.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
        const double f = static_cast<double>(i) / n, angle = m.depart + m.balayage * f;
        Point q = c;
        q[ax.a] += m.rayon * std::cos(angle);
        q[ax.b] += m.rayon * std::sin(angle);
        q[ax.n] = n0 + (n1 - n0) * f;  // a helix climbs evenly
        t.points.push_back(pr.vrai(q));
    }
}

}  // namespace

Point2 projeterPoint(const Programme& p, const Reglage& r, const Point& point)
{
    return projeteur(p, r).programme(point);
}

Projection projeter(const Programme& p, const Reglage& r)
{
    Projection resultat;
    const Projeteur pr = projeteur(p, r);
    resultat.traces.reserve(p.mouvements.size());
    for (std::size_t i = 0; i < p.mouvements.size(); ++i) {
        const Mouvement& m = p.mouvements[i];
        const Point2 a = pr.programme(m.debut), b = pr.programme(m.fin);
        if (!connu(a) || !connu(b) || (m.arc && !m.arcConnu())) continue;
        Trace t;
        t.mouvement = static_cast<int>(i);
        t.boite.ajouter(a);
        t.boite.ajouter(b);
        if (m.arc && r.garderArcs && garderArc(m, pr, p.tournage, t)) {
            t.points = {a, b};
        } else if (m.arc) {
            aplatir(m, pr, p.tournage, r.tolerance, t);
            for (const Point2& q : t.points) t.boite.ajouter(q);
        } else {
            t.points = {a, b};
        }
        resultat.boite.ajouter(t.boite);
        resultat.traces.push_back(std::move(t));
    }
    if (p.tournage) return resultat;  // a lathe's holes are drilled on its axis, a move like the others
    for (std::size_t i = 0; i < p.percages.size(); ++i) {
        const Point2 a = pr.programme(p.percages[i].position);
        if (!connu(a)) continue;
        resultat.croix.push_back({static_cast<int>(i), a});
        resultat.boite.ajouter(a);
    }
    return resultat;
}

Reglage reglageInitial(const Programme& p)
{
    Reglage r;
    r.vue = p.tournage ? Vue::Tour : Vue::XY;
    r.xAuRayon = true;
    r.garderArcs = true;
    return r;
}

double hauteurDessin(const Boite& b, double largeur)
{
    const double h = b.hmax - b.hmin, v = b.vmax - b.vmin;
    const double hauteur = h > 0 ? largeur * v / h : v > 0 ? largeur * 1.25 : 0;
    return std::clamp(hauteur, largeur / 3, largeur * 1.25);
}

std::vector<int> outilsDessines(const Programme& p, const Projection& vue)
{
    std::vector<std::pair<int, int>> premiers;  // (line, tool)
    auto voir = [&](int ligne, int outil) {
        for (auto& [l, o] : premiers)
            if (o == outil) {
                l = std::min(l, ligne);
                return;
            }
        premiers.emplace_back(ligne, outil);
    };
    int outil = -3;
    for (const Trace& t : vue.traces) {
        const Mouvement& m = p.mouvements[static_cast<std::size_t>(t.mouvement)];
        if (m.outil != outil) voir(m.ligne, outil = m.outil);
    }
    for (const Croix& c : vue.croix) {
        const Percage& h = p.percages[static_cast<std::size_t>(c.percage)];
        voir(h.ligne, h.outil);
    }
    std::stable_sort(premiers.begin(), premiers.end());
    std::vector<int> outils;
    for (const auto& [l, o] : premiers) outils.push_back(o);
    return outils;
}

int entreesParRang(double largeur) { return std::max(1, static_cast<int>(largeur / kLargeurEntreeLegende)); }

double hauteurLegende(std::size_t outils, double largeur)
{
    const std::size_t n = outils + 1, parRang = static_cast<std::size_t>(entreesParRang(largeur));
    return 2 + kHauteurRangLegende * static_cast<double>((n + parRang - 1) / parRang);
}

}  // namespace tarvex::trajectoire
