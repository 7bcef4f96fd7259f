#include "trajectoire/dessin.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace tarvex::trajectoire {
namespace {

constexpr double kDegres = 180 / 3.14159265358979323846;
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
    for (const Mouvement& m : p.mouvements)
        if (m.outil >= 0 && std::find(outils_.begin(), outils_.end(), m.outil) == outils_.end()) outils_.push_back(m.outil);
}

QColor Palette::couleur(int outil) const
{
    const auto it = std::find(outils_.begin(), outils_.end(), outil);
    if (it == outils_.end()) return kSansOutil;
    return kCouleurs[static_cast<std::size_t>(it - outils_.begin()) % std::size(kCouleurs)];
}

const char* axeHorizontal(Vue v) { return v == Vue::Tour ? "Z" : v == Vue::YZ ? "Y" : "X"; }
const char* axeVertical(Vue v) { return v == Vue::Tour ? "X" : v == Vue::XY ? "Y" : "Z"; }

void dessiner(QPainter& peintre, const Programme& p, const Projection& vue, Vue sorte, const Palette& palette,
              const Cadrage& c, const QRectF& zone, const Traits& t, const std::vector<int>& marques)
{
    peintre.save();
    peintre.setClipRect(zone);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setBrush(Qt::NoBrush);
    zeros(peintre, sorte, c, zone, t);

    // What lies outside the zone is not handed to the rasteriser.
    Boite visible;
    visible.ajouter(c.versVue(zone.topLeft()));
    visible.ajouter(c.versVue(zone.bottomRight()));

    // Consecutive moves of one kind and one tool make one path, so that the
    // dashes and the joins run on from one move to the next.
    QPainterPath chemin;
    int outil = -2;
    bool rapide = false, suite = false;
    const double point = 3.5 * t.unite;
    auto vider = [&] {
        if (chemin.isEmpty()) return;
        QPen trait = crayon(palette.couleur(outil), rapide ? 1 : 1.3, t);
        if (rapide) {
            trait.setCapStyle(Qt::FlatCap);
            trait.setDashPattern({4, 3});
        }
        peintre.strokePath(chemin, trait);
        chemin.clear();
    };
    for (const Trace& tr : vue.traces) {
        const Mouvement& m = p.mouvements[static_cast<std::size_t>(tr.mouvement)];
        if (!secantes(tr.boite, visible)) {
            suite = false;
            continue;
        }
        if (m.outil != outil || m.rapide != rapide) {
            vider();
            outil = m.outil;
            rapide = m.rapide;
            suite = false;
        }
        const QPointF debut = c.versAppareil(tr.points.front());
        suite = suite && std::abs(debut.x() - chemin.currentPosition().x()) < 0.01 &&
                std::abs(debut.y() - chemin.currentPosition().y()) < 0.01;
        // A move seen end on (a plunge in XY) is a small circle, dashed for a rapid one.
        const double etendue = std::max(tr.boite.hmax - tr.boite.hmin, tr.boite.vmax - tr.boite.vmin) * c.echelle;
        if (etendue < 0.5) {
            chemin.addEllipse(debut, point, point);
            chemin.moveTo(debut);
            suite = true;
            continue;
        }
        tracer(chemin, tr, c, suite);
        suite = true;
    }
    vider();

    for (const int i : marques) {
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

    peintre.setRenderHint(QPainter::Antialiasing, t.textesEnChemins);
    reperes(peintre, sorte, c, zone, t);
    peintre.restore();
}

int traceProche(const Projection& vue, const Cadrage& c, QPointF point, double distance)
{
    const Point2 p = c.versVue(point);
    const double marge = distance / c.echelle;
    int meilleure = -1;
    double plusPres = distance;
    for (std::size_t i = 0; i < vue.traces.size(); ++i) {
        const Trace& t = vue.traces[i];
        if (p.h < t.boite.hmin - marge || p.h > t.boite.hmax + marge || p.v < t.boite.vmin - marge ||
            p.v > t.boite.vmax + marge)
            continue;
        std::vector<QPointF> l;
        if (t.arc) {
            constexpr int kPas = 64;
            for (int k = 0; k <= kPas; ++k) {
                const double a = t.depart + t.balayage * k / kPas;
                l.push_back(c.versAppareil({t.centre.h + t.rx * std::cos(a), t.centre.v + t.ry * std::sin(a)}));
            }
        } else {
            for (const Point2& q : t.points) l.push_back(c.versAppareil(q));
        }
        double d = l.size() == 1 ? distanceSegment(point, l[0], l[0]) : plusPres + 1;
        for (std::size_t k = 1; k < l.size(); ++k) d = std::min(d, distanceSegment(point, l[k - 1], l[k]));
        // Of two moves at the same place, the later one: it is drawn on top.
        if (d <= plusPres) {
            plusPres = d;
            meilleure = static_cast<int>(i);
        }
    }
    return meilleure;
}

void dessinerImprime(QPainter& peintre, const Programme& p, double largeur, double hauteur)
{
    const Reglage r = reglageInitial(p);
    const Projection vue = projeter(p, r);
    const QRectF zone(0, 0, largeur * 10, hauteur * 10);
    Traits t;
    t.unite = 2;  // a pixel of the screen is a fifth of a millimetre on paper
    t.textesEnChemins = true;
    peintre.save();
    peintre.setPen(crayon(kZero, 0.5, t));
    peintre.drawRect(zone);
    dessiner(peintre, p, vue, r.vue, Palette(p), ajuster(vue.boite, sansReperes(zone, t), 2 * t.marge * t.unite), zone, t);
    peintre.restore();
}

}  // namespace tarvex::trajectoire
