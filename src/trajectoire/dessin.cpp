#include "trajectoire/dessin.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace tarvex::trajectoire {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegres = 180 / kPi;
// The furthest the view may be zoomed in, in device units per millimetre:
// beyond, the coordinates handed to the rasteriser lose their precision.
constexpr double kEchelleMax = 1e5;

const QColor kCouleurs[] = {{0, 90, 200},  {0, 140, 60},  {200, 0, 150}, {210, 40, 30}, {0, 150, 170},
                            {140, 85, 20}, {110, 60, 190}, {115, 125, 0}, {0, 55, 120},  {225, 110, 0}};
const QColor kSansOutil(110, 110, 110);
const QColor kMarque(255, 190, 0, 190);
const QColor kZero(205, 205, 205);
const QColor kReperes(70, 70, 70);

bool secantes(const Boite& a, const Boite& b)
{
    return !a.vide() && !b.vide() && a.hmin <= b.hmax && b.hmin <= a.hmax && a.vmin <= b.vmax && b.vmin <= a.vmax;
}

QPen crayon(const QColor& couleur, double largeur, const Traits& t)
{
    // Never cosmetic: the paths are built in the device's coordinates, and
    // the painter's own scale is the screen's pixel ratio or the printed
    // picture's, which the widths must follow.
    QPen p(couleur, largeur * t.unite);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

// A rapid move's colour: its tool's, paled, so that even where rapids lie
// thick over each other they do not read as a cut (on paper less: a printer
// drops the palest greys).
QColor pale(const QColor& c, bool papier = false)
{
    const double blanc = papier ? 0.25 : 0.45;
    auto m = [blanc](int v) { return static_cast<int>(std::lround(v + (255 - v) * blanc)); };
    return QColor(m(c.red()), m(c.green()), m(c.blue()));
}

// Each tool's feed pattern on paper, in pen widths; the first solid.
const QList<qreal> kMotifs[] = {{},           {8, 3},          {8, 2.5, 1.5, 2.5}, {3.5, 2.5}, {8, 2.5, 1.5, 2.5, 1.5, 2.5},
                                {14, 2.5, 4, 2.5}, {1.2, 2.2}, {14, 4}};
// The rapids' dashes and gaps, device units per unite: a gap longer than a
// dash, so that any two rapids along one line still leave light between them.
constexpr double kTiret = 3, kVide = 4;

QRectF rectangleArc(const Trace& t, const Cadrage& c)
{
    const QPointF centre = c.versAppareil(t.centre);
    const double rx = t.rx * c.echelle, ry = t.ry * c.echelle;
    return {centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry};
}

// The trace's path on the device, added to `chemin`; an arc kept whole stays an arc.
void tracer(QPainterPath& chemin, const Trace& t, const Cadrage& c, bool suite)
{
    const QPointF debut = c.versAppareil(t.points.front());
    if (!suite) chemin.moveTo(debut);
    if (t.arc) {
        // The device's y goes down, the view's v up: Qt's angles turn the way the view's do.
        chemin.arcTo(rectangleArc(t, c), t.depart * kDegres, t.balayage * kDegres);
        return;
    }
    for (std::size_t i = 1; i < t.points.size(); ++i) chemin.lineTo(c.versAppareil(t.points[i]));
}

// The points of a trace on the device, its start left out; an arc kept
// whole is flattened to within a quarter of a device unit.
template <class F>
void suivre(const Trace& t, const Cadrage& c, F&& point)
{
    if (!t.arc) {
        for (std::size_t i = 1; i < t.points.size(); ++i) point(c.versAppareil(t.points[i]));
        return;
    }
    const double r = std::max(t.rx, t.ry) * c.echelle;
    const double pas = r > 0.25 ? 2 * std::acos(1 - 0.25 / r) : kPi;
    const int n = std::clamp(static_cast<int>(std::ceil(std::fabs(t.balayage) / pas)), 1, 2048);
    for (int i = 1; i < n; ++i) {
        const double a = t.depart + t.balayage * i / n;
        point(c.versAppareil({t.centre.h + t.rx * std::cos(a), t.centre.v + t.ry * std::sin(a)}));
    }
    point(c.versAppareil(t.points.back()));
}

double distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

// The strokes of one tool and one kind of move, gathered over the whole
// program and drawn at once. Points closer than half a device unit to the
// last one kept are dropped: what a pixel cannot show costs nothing.
struct Lot {
    std::vector<QPointF> points;  // polylines, one after the other
    std::vector<int> debuts;      // where each polyline starts in points
    std::vector<QPointF> ronds;   // moves seen end on
    std::vector<QPointF> croix;

    QPointF dernier, enAttente;
    bool attente = false;

    void commencer(QPointF p)
    {
        finir();
        debuts.push_back(static_cast<int>(points.size()));
        points.push_back(dernier = p);
    }
    void ajouter(QPointF p)
    {
        const QPointF d = p - dernier;
        if (d.x() * d.x() + d.y() * d.y() < 0.25) {
            enAttente = p;
            attente = true;
            return;
        }
        points.push_back(dernier = p);
        attente = false;
    }
    // The polyline's true end, when the last points were dropped.
    void finir()
    {
        if (attente) points.push_back(dernier = enAttente);
        attente = false;
    }
    int fin(std::size_t k) const
    {
        return k + 1 < debuts.size() ? debuts[k + 1] : static_cast<int>(points.size());
    }
};

// Where a point falls along a direction of the view, in device units: the
// rapids' dashes are laid on this grid, the same for every move along one
// line whatever its sense, and still while the view pans.
struct Grille {
    QPointF u;  // the direction on the device, made to point right (or down)
    double decalage = 0;

    Grille(QPointF a, QPointF b, const Cadrage& c)
    {
        const double l = distance(a, b);
        u = (b - a) / l;
        if (u.x() < 0 || (u.x() == 0 && u.y() < 0)) u = -u;
        // The device's origin is the view's (h0, v0): measured from the view's zero.
        decalage = (c.h0 * u.x() - c.v0 * u.y()) * c.echelle;
    }
    double abscisse(QPointF p) const { return QPointF::dotProduct(p, u) + decalage; }
};

// Liang-Barsky: the part of a..b inside r; false when none is.
bool couper(QPointF& a, QPointF& b, const QRectF& r)
{
    double t0 = 0, t1 = 1;
    const QPointF d = b - a;
    const double p[4] = {-d.x(), d.x(), -d.y(), d.y()};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const QPointF a0 = a;
    a = a0 + t0 * d;
    b = a0 + t1 * d;
    return true;
}

// A rapid's dashes, as segments on the grid of its line.
void tirets(std::vector<QPointF>& segments, QPointF a, QPointF b, const Cadrage& c, const QRectF& cadre, double u)
{
    if (distance(a, b) < 1e-9) return;
    const Grille g(a, b, c);
    if (!couper(a, b, cadre)) return;
    const double sa = g.abscisse(a), sb = g.abscisse(b), lo = std::min(sa, sb), hi = std::max(sa, sb);
    const double tiret = kTiret * u, periode = (kTiret + kVide) * u;
    const QPointF depart = sa <= sb ? a : b;
    for (double k = std::floor(lo / periode) * periode; k < hi; k += periode) {
        const double s0 = std::max(lo, k), s1 = std::min(hi, k + tiret);
        if (s1 <= s0) continue;
        segments.push_back(depart + (s0 - lo) * g.u);
        segments.push_back(depart + (s1 - lo) * g.u);
    }
}

// Text at a baseline's left end; returns its width.
double ecrire(QPainter& p, QPointF position, const QString& texte, const Traits& t, bool mesurer = false)
{
    if (t.textesEnChemins) {
        QFont police = p.font();
        police.setPixelSize(std::max(1, static_cast<int>(std::lround(11 * t.unite))));
        QPainterPath chemin;
        chemin.addText(position, police, texte);
        if (!mesurer) p.fillPath(chemin, p.pen().color());
        return chemin.boundingRect().width();
    }
    if (!mesurer) p.drawText(position, texte);
    return QFontMetricsF(p.font()).horizontalAdvance(texte);
}

// The lines through the program's zero; on a lathe the spindle axis as a centre line.
void zeros(QPainter& p, Vue sorte, const Cadrage& c, const QRectF& zone, const Traits& t)
{
    const QPointF zero = c.versAppareil({0, 0});
    QPen trait = crayon(kZero, 1, t);
    p.setPen(trait);
    if (zero.x() >= zone.left() && zero.x() <= zone.right())
        p.drawLine(QPointF(zero.x(), zone.top()), QPointF(zero.x(), zone.bottom()));
    if (sorte == Vue::Tour) {
        trait.setColor(kZero.darker(130));
        trait.setDashPattern({12, 3, 2, 3});
        p.setPen(trait);
    }
    if (zero.y() >= zone.top() && zero.y() <= zone.bottom())
        p.drawLine(QPointF(zone.left(), zero.y()), QPointF(zone.right(), zero.y()));
}

// The axes' names at the bottom left, a scale at the bottom right.
void reperes(QPainter& p, Vue sorte, const Cadrage& c, const QRectF& zone, const Traits& t)
{
    const double u = t.unite, marge = t.marge * u, longueur = 26 * u, pointe = 4 * u;
    p.setPen(crayon(kReperes, 1, t));
    const QPointF o(zone.left() + marge, zone.bottom() - marge);
    const QPointF droite = o + QPointF(longueur, 0), haut = o - QPointF(0, longueur);
    p.drawLine(o, droite);
    p.drawLine(droite, droite + QPointF(-pointe, -pointe / 2));
    p.drawLine(droite, droite + QPointF(-pointe, pointe / 2));
    p.drawLine(o, haut);
    p.drawLine(haut, haut + QPointF(-pointe / 2, pointe));
    p.drawLine(haut, haut + QPointF(pointe / 2, pointe));
    ecrire(p, droite + QPointF(3 * u, 4 * u), QString::fromLatin1(axeHorizontal(sorte)), t);
    ecrire(p, haut + QPointF(-4 * u, -3 * u), QString::fromLatin1(axeVertical(sorte)), t);

    // The longest of 1, 2, 5 x 10^n millimetres that fits in 120 pixels.
    const double voulu = 120 * u / c.echelle;
    double pas = std::pow(10.0, std::floor(std::log10(voulu)));
    for (const double f : {5.0, 2.0})
        if (pas * f <= voulu) {
            pas *= f;
            break;
        }
    const double l = pas * c.echelle, y = zone.bottom() - marge, x2 = zone.right() - marge, x1 = x2 - l;
    p.drawLine(QPointF(x1, y), QPointF(x2, y));
    p.drawLine(QPointF(x1, y), QPointF(x1, y - pointe));
    p.drawLine(QPointF(x2, y), QPointF(x2, y - pointe));
    const QString texte = QString::fromStdString(nombre(pas)) + QStringLiteral(" mm");
    const double largeur = ecrire(p, {}, texte, t, true);
    ecrire(p, QPointF((x1 + x2 - largeur) / 2, y - pointe - 2 * u), texte, t);
}

double distanceSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double l2 = QPointF::dotProduct(ab, ab);
    const double f = l2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / l2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + f * ab);
    return std::hypot(d.x(), d.y());
}

}  // namespace

Cadrage ajuster(const Boite& b, const QRectF& zone, double marge)
{
    Cadrage c;
    if (b.vide()) {
        c.h0 = -zone.width() / 2;
        c.v0 = zone.height() / 2;
        return c;
    }
    const double lh = b.hmax - b.hmin, lv = b.vmax - b.vmin;
    const double w = std::max(1.0, zone.width() - 2 * marge), h = std::max(1.0, zone.height() - 2 * marge);
    // A path along one axis only is fitted along that one; a single point
    // (drilling at one place, seen from above) in a field of 20 millimetres.
    double e = std::min(lh > 0 ? w / lh : kEchelleMax, lv > 0 ? h / lv : kEchelleMax);
    if (lh <= 0 && lv <= 0) e = std::min(w, h) / 20;
    c.echelle = std::min(e, kEchelleMax);
    const double ch = (b.hmin + b.hmax) / 2, cv = (b.vmin + b.vmax) / 2;
    c.h0 = ch - (zone.left() + zone.width() / 2) / c.echelle;
    c.v0 = cv + (zone.top() + zone.height() / 2) / c.echelle;
    return c;
}

QRectF sansReperes(const QRectF& zone, const Traits& t)
{
    return zone.adjusted(0, 0, 0, -(t.marge + 26) * t.unite);
}

Palette::Palette(const Programme& p)
{
    // The tools in the order the program first uses them, for moves or holes.
    std::unordered_map<int, int> premiere;  // tool -> first line
    auto voir = [&](int ligne, int outil) {
        if (outil < 0) return;
        const auto [it, nouveau] = premiere.try_emplace(outil, ligne);
        if (!nouveau) it->second = std::min(it->second, ligne);
    };
    int dernier = -3;
    for (const Mouvement& m : p.mouvements)
        if (m.outil != dernier) voir(m.ligne, dernier = m.outil);
    for (const Percage& h : p.percages) voir(h.ligne, h.outil);
    std::vector<std::pair<int, int>> premiers(premiere.begin(), premiere.end());
    std::sort(premiers.begin(), premiers.end(), [](auto a, auto b) { return std::pair(a.second, a.first) < std::pair(b.second, b.first); });
    for (const auto& [o, l] : premiers) {
        rangs_.emplace(o, static_cast<int>(outils_.size()));
        outils_.push_back(o);
    }
}

int Palette::rang(int outil) const
{
    const auto it = rangs_.find(outil);
    return it == rangs_.end() ? -1 : it->second;
}

QColor Palette::couleur(int outil) const
{
    const int r = rang(outil);
    return r < 0 ? kSansOutil : kCouleurs[static_cast<std::size_t>(r) % std::size(kCouleurs)];
}

const char* axeHorizontal(Vue v) { return v == Vue::Tour ? "Z" : v == Vue::YZ ? "Y" : "X"; }
const char* axeVertical(Vue v) { return v == Vue::Tour ? "X" : v == Vue::XY ? "Y" : "Z"; }

namespace {

// A tool's feed pen on paper: its colour and its own pattern.
QPen crayonPapier(const Palette& palette, int outil, const Traits& t)
{
    QPen trait = crayon(palette.couleur(outil), 1.3, t);
    const int r = palette.rang(outil);
    const auto& motif = kMotifs[static_cast<std::size_t>(r < 0 ? 0 : r) % std::size(kMotifs)];
    if (!motif.isEmpty()) {
        trait.setCapStyle(Qt::FlatCap);
        trait.setDashPattern(motif);
    }
    return trait;
}

}  // namespace

void dessinerTrajet(QPainter& peintre, const Programme& p, const Projection& vue, Vue sorte, const Palette& palette,
                    const Cadrage& c, const QRectF& zone, const Traits& t, int outilSeul)
{
    peintre.save();
    peintre.setClipRect(zone);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setBrush(Qt::NoBrush);
    zeros(peintre, sorte, c, zone, t);

    // What lies outside the zone is not handed to the rasteriser.
    const double bord = 6 * t.unite;
    const QRectF cadre = zone.adjusted(-bord, -bord, bord, bord);
    Boite visible;
    visible.ajouter(c.versVue(cadre.topLeft()));
    visible.ajouter(c.versVue(cadre.bottomRight()));

    // Per tool (palette rank + 1; 0: no tool), feed moves and rapid ones.
    std::vector<Lot> avances, rapides;
    auto lot = [&](std::vector<Lot>& lots, int outil) -> Lot& {
        const std::size_t i = static_cast<std::size_t>(palette.rang(outil) + 1);
        if (lots.size() <= i) lots.resize(i + 1);
        return lots[i];
    };
    Lot* courant = nullptr;
    QPointF position;
    int outil = kTousOutils - 1;
    bool rapide = false;
    for (const Trace& tr : vue.traces) {
        const Mouvement& m = p.mouvements[static_cast<std::size_t>(tr.mouvement)];
        if ((outilSeul != kTousOutils && m.outil != outilSeul) || !secantes(tr.boite, visible)) {
            if (courant) courant->finir();
            courant = nullptr;
            continue;
        }
        if (!courant || m.outil != outil || m.rapide != rapide) {
            if (courant) courant->finir();
            outil = m.outil;
            rapide = m.rapide;
            courant = &lot(rapide ? rapides : avances, outil);
            courant->commencer(position = c.versAppareil(tr.points.front()));
        }
        const QPointF debut = c.versAppareil(tr.points.front());
        const QPointF ecart = debut - position;
        if (std::abs(ecart.x()) + std::abs(ecart.y()) >= 0.01) courant->commencer(debut);
        // Only a move seen end on, with no extent at all in the view, is a
        // circle; a short one is a short line, or a dot.
        if (!tr.arc && tr.boite.hmin == tr.boite.hmax && tr.boite.vmin == tr.boite.vmax) {
            courant->ronds.push_back(debut);
            position = debut;
            continue;
        }
        // A move within half a unit adds its end alone, an arc too.
        if ((tr.boite.hmax - tr.boite.hmin) * c.echelle < 0.5 && (tr.boite.vmax - tr.boite.vmin) * c.echelle < 0.5)
            courant->ajouter(position = c.versAppareil(tr.points.back()));
        else
            suivre(tr, c, [&](QPointF q) { courant->ajouter(position = q); });
    }
    if (courant) courant->finir();
    for (const Croix& x : vue.croix) {
        const Percage& h = p.percages[static_cast<std::size_t>(x.percage)];
        if (outilSeul != kTousOutils && h.outil != outilSeul) continue;
        const QPointF q = c.versAppareil(x.position);
        if (cadre.contains(q)) lot(avances, h.outil).croix.push_back(q);
    }

    const double rond = 3.5 * t.unite, branche = 4 * t.unite;
    std::vector<QPointF> segments;
    // Circles of one tool at one place (a hole pecked a hundred times) drawn once.
    auto cercles = [&](std::vector<QPointF>& ronds) {
        std::sort(ronds.begin(), ronds.end(), [](QPointF a, QPointF b) {
            return std::pair(std::lround(a.x()), std::lround(a.y())) < std::pair(std::lround(b.x()), std::lround(b.y()));
        });
        QPointF avant(-1e300, 0);
        for (const QPointF& q : ronds)
            if (distance(q, avant) >= 0.5) peintre.drawEllipse(avant = q, rond, rond);
    };
    for (std::size_t i = 0; i < rapides.size(); ++i) {
        Lot& l = rapides[i];
        const QColor couleur = pale(i == 0 ? kSansOutil : kCouleurs[(i - 1) % std::size(kCouleurs)], t.papier);
        segments.clear();
        for (std::size_t k = 0; k < l.debuts.size(); ++k)
            for (int j = l.debuts[k] + 1; j < l.fin(k); ++j)
                tirets(segments, l.points[static_cast<std::size_t>(j - 1)], l.points[static_cast<std::size_t>(j)], c, cadre, t.unite);
        QPen trait = crayon(couleur, t.papier ? 0.7 : 1, t);
        trait.setCapStyle(Qt::FlatCap);
        peintre.setPen(trait);
        peintre.drawLines(segments.data(), static_cast<int>(segments.size() / 2));
        trait.setDashPattern({kTiret, kVide});
        peintre.setPen(trait);
        cercles(l.ronds);
    }
    for (std::size_t i = 0; i < avances.size(); ++i) {
        Lot& l = avances[i];
        const QColor couleur = i == 0 ? kSansOutil : kCouleurs[(i - 1) % std::size(kCouleurs)];
        QPen trait = crayon(couleur, 1.3, t);
        if (t.papier) {
            // On paper a path, that the tool's pattern runs on from one move to the next.
            const auto& motif = kMotifs[(i == 0 ? 0 : i - 1) % std::size(kMotifs)];
            if (!motif.isEmpty()) trait.setCapStyle(Qt::FlatCap), trait.setDashPattern(motif);
            QPainterPath chemin;
            for (std::size_t k = 0; k < l.debuts.size(); ++k) {
                chemin.moveTo(l.points[static_cast<std::size_t>(l.debuts[k])]);
                for (int j = l.debuts[k] + 1; j < l.fin(k); ++j) chemin.lineTo(l.points[static_cast<std::size_t>(j)]);
            }
            peintre.strokePath(chemin, trait);
        } else {
            segments.clear();
            for (std::size_t k = 0; k < l.debuts.size(); ++k)
                for (int j = l.debuts[k] + 1; j < l.fin(k); ++j) {
                    segments.push_back(l.points[static_cast<std::size_t>(j - 1)]);
                    segments.push_back(l.points[static_cast<std::size_t>(j)]);
                }
            peintre.setPen(trait);
            peintre.drawLines(segments.data(), static_cast<int>(segments.size() / 2));
        }
        // A run that stayed within half a unit is a segment that short: a
        // dot under the round caps.
        peintre.setPen(crayon(couleur, 1.3, t));
        cercles(l.ronds);
        segments.clear();
        for (const QPointF& q : l.croix)
            for (const QPointF d : {QPointF(branche, branche), QPointF(branche, -branche)}) {
                segments.push_back(q - d);
                segments.push_back(q + d);
            }
        peintre.setPen(crayon(couleur, 1.3, t));
        peintre.drawLines(segments.data(), static_cast<int>(segments.size() / 2));
    }
    peintre.restore();
}

void dessinerMarques(QPainter& peintre, const Programme& p, const Projection& vue, const Palette& palette,
                     const Cadrage& c, const QRectF& zone, const Traits& t, const std::vector<int>& traces,
                     const std::vector<int>& croix)
{
    peintre.save();
    peintre.setClipRect(zone);
    peintre.setRenderHint(QPainter::Antialiasing);
    const double point = 3.5 * t.unite;
    for (const int i : traces) {
        const Trace& tr = vue.traces[static_cast<std::size_t>(i)];
        QPainterPath marque;
        tracer(marque, tr, c, false);
        peintre.strokePath(marque, crayon(kMarque, 8, t));
        const int o = p.mouvements[static_cast<std::size_t>(tr.mouvement)].outil;
        peintre.strokePath(marque, crayon(palette.couleur(o), 2, t));
        peintre.setPen(crayon(palette.couleur(o), 1.5, t));
        peintre.setBrush(Qt::white);
        peintre.drawEllipse(c.versAppareil(tr.points.back()), point * 1.4, point * 1.4);
        peintre.setBrush(Qt::NoBrush);
    }
    for (const int i : croix) {
        const Croix& x = vue.croix[static_cast<std::size_t>(i)];
        const QPointF q = c.versAppareil(x.position);
        const double b = 5 * t.unite;
        const QLineF l1(q - QPointF(b, b), q + QPointF(b, b)), l2(q - QPointF(b, -b), q + QPointF(b, -b));
        peintre.setPen(crayon(kMarque, 8, t));
        peintre.drawLines({l1, l2});
        peintre.setPen(crayon(palette.couleur(p.percages[static_cast<std::size_t>(x.percage)].outil), 2, t));
        peintre.drawLines({l1, l2});
    }
    peintre.restore();
}

void dessinerReperes(QPainter& peintre, Vue sorte, const Cadrage& c, const QRectF& zone, const Traits& t)
{
    peintre.save();
    peintre.setRenderHint(QPainter::Antialiasing, t.textesEnChemins);
    reperes(peintre, sorte, c, zone, t);
    peintre.restore();
}

void dessiner(QPainter& peintre, const Programme& p, const Projection& vue, Vue sorte, const Palette& palette,
              const Cadrage& c, const QRectF& zone, const Traits& t, const std::vector<int>& marques)
{
    dessinerTrajet(peintre, p, vue, sorte, palette, c, zone, t);
    dessinerMarques(peintre, p, vue, palette, c, zone, t, marques);
    dessinerReperes(peintre, sorte, c, zone, t);
}

int ligneProche(const Programme& p, const Projection& vue, const Cadrage& c, QPointF point, double distance,
                int outilSeul)
{
    const Point2 pv = c.versVue(point);
    const double marge = distance / c.echelle;
    int meilleure = -1;
    double plusPres = distance;
    for (const Trace& t : vue.traces) {
        if (pv.h < t.boite.hmin - marge || pv.h > t.boite.hmax + marge || pv.v < t.boite.vmin - marge ||
            pv.v > t.boite.vmax + marge)
            continue;
        const Mouvement& m = p.mouvements[static_cast<std::size_t>(t.mouvement)];
        if (outilSeul != kTousOutils && m.outil != outilSeul) continue;
        QPointF avant = c.versAppareil(t.points.front());
        double d = distanceSegment(point, avant, avant);
        suivre(t, c, [&](QPointF q) { d = std::min(d, distanceSegment(point, std::exchange(avant, q), q)); });
        // Of two moves at the same place, the later one: it is drawn on top.
        if (d <= plusPres) {
            plusPres = d;
            meilleure = m.ligne;
        }
    }
    for (const Croix& x : vue.croix) {
        const Percage& h = p.percages[static_cast<std::size_t>(x.percage)];
        if (outilSeul != kTousOutils && h.outil != outilSeul) continue;
        const double d = distanceSegment(point, c.versAppareil(x.position), c.versAppareil(x.position));
        if (d <= plusPres) {
            plusPres = d;
            meilleure = h.ligne;
        }
    }
    return meilleure;
}

void dessinerImprime(QPainter& peintre, const Programme& p, double largeur, double hauteur)
{
    const Reglage r = reglageInitial(p);
    const Projection vue = projeter(p, r);
    const std::vector<int> outils = outilsDessines(p, vue);
    const double legende = hauteurLegende(outils.size(), largeur);
    const QRectF zone(0, 0, largeur * 10, (hauteur - legende) * 10);
    Traits t;
    t.unite = 2;  // a pixel of the screen is a fifth of a millimetre on paper
    t.textesEnChemins = true;
    t.papier = true;
    const Palette palette(p);
    peintre.save();
    peintre.setPen(crayon(kZero, 0.5, t));
    peintre.drawRect(zone);
    dessiner(peintre, p, vue, r.vue, palette, ajuster(vue.boite, sansReperes(zone, t), 2 * t.marge * t.unite), zone, t);

    // The legend: a sample of each line under the frame, its name after it.
    peintre.setRenderHint(QPainter::Antialiasing);
    const int parRang = entreesParRang(largeur);
    const double l = kLargeurEntreeLegende * 10, h = kHauteurRangLegende * 10, echantillon = 100;
    for (std::size_t i = 0; i <= outils.size(); ++i) {
        const double x = static_cast<double>(i % static_cast<std::size_t>(parRang)) * l;
        const double y = zone.bottom() + 20 + static_cast<double>(i / static_cast<std::size_t>(parRang)) * h + h / 2;
        QString nom;
        if (i == 0) {
            QPen trait = crayon(pale(kSansOutil, true), 0.7, t);
            trait.setCapStyle(Qt::FlatCap);
            trait.setDashPattern({kTiret / 0.7, kVide / 0.7});
            peintre.setPen(trait);
            nom = QStringLiteral("Rapides");
        } else {
            peintre.setPen(crayonPapier(palette, outils[i - 1], t));
            nom = QString::fromStdString(nomOutil(outils[i - 1]));
        }
        peintre.drawLine(QPointF(x, y), QPointF(x + echantillon, y));
        peintre.setPen(kReperes);
        ecrire(peintre, QPointF(x + echantillon + 15, y + 8), nom, t);
    }
    peintre.restore();
}

}  // namespace tarvex::trajectoire
