#include "trajectoire/trajectoire.h"

#include "trajectoire/geometrie.h"

#include <algorithm>
#include <cmath>

namespace tarvex::trajectoire {

void Intervalle::ajouter(double v)
{
    if (!connu(v)) return;
    if (v < min) min = v;
    if (v > max) max = v;
}

void Etendue::ajouter(const Point& p)
{
    x.ajouter(p.x);
    y.ajouter(p.y);
    z.ajouter(p.z);
}

void ajouter(Etendue& e, const Mouvement& m, bool tournage)
{
    e.ajouter(m.fin);
    if (!m.arcConnu()) return;
    // The points where the circle is furthest along its plane's axes, when the arc passes them.
    const AxesPlan ax = axesDuPlan(m.plan);
    const double ka = echelle(ax.a, tournage), kb = echelle(ax.b, tournage);
    const double ca = m.centre[ax.a] * ka, cb = m.centre[ax.b] * kb;
    for (int quart = 0; quart < 4; ++quart) {
        const double angle = quart * kPi / 2;
        if (!dansBalayage(m.depart, m.balayage, angle)) continue;
        Point p = m.centre;
        p[ax.n] = std::nan("");
        p[ax.a] = (ca + m.rayon * std::cos(angle)) / ka;
        p[ax.b] = (cb + m.rayon * std::sin(angle)) / kb;
        e.ajouter(p);
    }
}

namespace {

void ajouter(Etendue& e, const Percage& t)
{
    e.x.ajouter(t.position.x);
    e.y.ajouter(t.position.y);
}

}  // namespace

Etendue etendue(const Programme& p)
{
    Etendue e;
    for (const Mouvement& m : p.mouvements) ajouter(e, m, p.tournage);
    for (const Percage& t : p.percages) ajouter(e, t);
    return e;
}

std::vector<EtendueOutil> etenduesParOutil(const Programme& p)
{
    std::vector<EtendueOutil> outils;
    const auto avantOutil = [](const auto& v) { return v.outil < 0; };
    if (std::any_of(p.mouvements.begin(), p.mouvements.end(), avantOutil) ||
        std::any_of(p.percages.begin(), p.percages.end(), avantOutil))
        outils.push_back({-1, {}});
    for (const int t : p.outils) outils.push_back({t, {}});
    // Tools are few: a look along the list is quicker than a map.
    const auto etendueDe = [&outils](int outil) -> Etendue& {
        auto it = outils.begin();
        while (it != outils.end() && it->outil != outil) ++it;
        if (it == outils.end()) it = outils.insert(it, EtendueOutil{outil, {}});
        return it->etendue;
    };
    for (const Mouvement& m : p.mouvements) ajouter(etendueDe(m.outil), m, p.tournage);
    for (const Percage& t : p.percages) ajouter(etendueDe(t.outil), t);
    return outils;
}

std::string nombre(double v)
{
    if (!std::isfinite(v) || std::fabs(v) > 1e15) return "?";
    long long milliemes = std::llround(v * 1000);
    std::string s;
    if (milliemes < 0) {
        s = "-";
        milliemes = -milliemes;
    }
    s += std::to_string(milliemes / 1000);
    int reste = static_cast<int>(milliemes % 1000);
    if (reste != 0) {
        s += '.';
        for (int diviseur = 100; reste != 0; diviseur /= 10) {
            s += static_cast<char>('0' + reste / diviseur);
            reste %= diviseur;
        }
    }
    return s;
}

std::string nomOutil(int outil) { return outil < 0 ? "T?" : "T" + std::to_string(outil); }

std::vector<std::string> lignesEtendue(const Etendue& e)
{
    std::vector<std::string> lignes;
    const Intervalle* axes[3] = {&e.x, &e.y, &e.z};
    for (int a = 0; a < 3; ++a)
        if (!axes[a]->vide())
            lignes.push_back(std::string(1, "XYZ"[a]) + " de " + nombre(axes[a]->min) + " à " + nombre(axes[a]->max));
    return lignes;
}

std::string ligneOutil(const EtendueOutil& o)
{
    std::string l = nomOutil(o.outil) + " :";
    if (o.etendue.vide()) return l + " aucun déplacement tracé";
    const char* separateur = " ";
    for (const std::string& axe : lignesEtendue(o.etendue)) {
        l += separateur + axe;
        separateur = " ; ";
    }
    return l;
}

std::vector<std::string> lignesOutils(const Programme& p)
{
    std::vector<std::string> lignes;
    for (const EtendueOutil& o : etenduesParOutil(p)) lignes.push_back(ligneOutil(o));
    return lignes;
}

}  // namespace tarvex::trajectoire
