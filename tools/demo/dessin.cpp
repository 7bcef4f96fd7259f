#include "dessin.h"

#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace demo {

quint32 Hasard::brut()
{
    // xorshift32: small, fast and the same everywhere.
    m_etat ^= m_etat << 13;
    m_etat ^= m_etat >> 17;
    m_etat ^= m_etat << 5;
    return m_etat;
}

double Hasard::uniforme(double a, double b)
{
    return a + (b - a) * (brut() / 4294967296.0);
}

int Hasard::entier(int a, int b)
{
    return a + static_cast<int>(brut() % static_cast<quint32>(b - a + 1));
}

QImage toile(int largeur, int hauteur, QColor fond)
{
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    image.fill(fond);
    return image;
}

void finitionPhoto(QImage& image, quint32 graine, double grain, double vignette)
{
    Hasard h(graine);
    const int w = image.width();
    const int ht = image.height();
    const double cx = w / 2.0;
    const double cy = ht / 2.0;
    const double rmax2 = cx * cx + cy * cy;
    for (int y = 0; y < ht; ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double d2 = ((x - cx) * (x - cx) + (y - cy) * (y - cy)) / rmax2;
            const double f = 1.0 - vignette * d2 * d2 * 1.4 - vignette * 0.25 * d2;
            const double n = (h.uniforme(-1.0, 1.0) + h.uniforme(-1.0, 1.0)) * grain;
            const QRgb c = ligne[x];
            auto canal = [&](int v, double teinte) {
                return std::clamp(static_cast<int>(std::lround(v * f * teinte + n)), 0, 255);
            };
            ligne[x] = qRgb(canal(qRed(c), 1.025), canal(qGreen(c), 1.0), canal(qBlue(c), 0.965));
        }
    }
}

void fondAtelier(QPainter& p, const QRectF& r, double horizon, QColor mur, QColor sol, quint32 graine)
{
    Hasard h(graine);
    const double yh = r.top() + r.height() * horizon;
    QLinearGradient gm(r.topLeft(), QPointF(r.left(), yh));
    gm.setColorAt(0, mur.lighter(112));
    gm.setColorAt(1, mur.darker(108));
    p.fillRect(QRectF(r.left(), r.top(), r.width(), yh - r.top()), gm);
    // Cladding panels and a window band high on the wall.
    p.setPen(QPen(mur.darker(125), 1));
    for (double x = r.left() + h.uniforme(10, 60); x < r.right(); x += r.width() / 7.0)
        p.drawLine(QPointF(x, r.top()), QPointF(x, yh));
    QLinearGradient gf(QPointF(0, r.top()), QPointF(0, r.top() + r.height() * 0.12));
    gf.setColorAt(0, QColor(225, 232, 238));
    gf.setColorAt(1, QColor(190, 200, 210));
    for (double x = r.left() + r.width() * 0.05; x < r.right(); x += r.width() * 0.3)
        p.fillRect(QRectF(x, r.top() + r.height() * 0.03, r.width() * 0.22, r.height() * 0.09), gf);
    // A safety stripe along the foot of the wall.
    p.fillRect(QRectF(r.left(), yh - r.height() * 0.02, r.width(), r.height() * 0.02), mur.darker(150));
    // Floor: resin with a perspective grid and a few stains.
    QLinearGradient gs(QPointF(0, yh), r.bottomLeft());
    gs.setColorAt(0, sol.darker(115));
    gs.setColorAt(1, sol.lighter(108));
    p.fillRect(QRectF(r.left(), yh, r.width(), r.bottom() - yh), gs);
    p.setPen(QPen(sol.darker(130), 1));
    const double fuite = r.left() + r.width() * 0.5;
    for (int i = -8; i <= 8; ++i) {
        const double xb = fuite + i * r.width() * 0.22;
        p.drawLine(QPointF(fuite + i * r.width() * 0.03, yh), QPointF(xb, r.bottom()));
    }
    for (double t = 0.08; t < 1.0; t *= 1.6)
        p.drawLine(QPointF(r.left(), yh + (r.bottom() - yh) * t), QPointF(r.right(), yh + (r.bottom() - yh) * t));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        QColor tache = sol.darker(h.entier(108, 125));
        tache.setAlpha(90);
        p.setBrush(tache);
        const double x = h.uniforme(r.left(), r.right());
        const double y = h.uniforme(yh, r.bottom());
        p.drawEllipse(QPointF(x, y), h.uniforme(10, 40) * r.width() / 640, h.uniforme(3, 9) * r.width() / 640);
    }
}

void fondInterieur(QPainter& p, const QRectF& r, QColor teinte, quint32 graine)
{
    Hasard h(graine);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, teinte.lighter(125));
    g.setColorAt(0.6, teinte);
    g.setColorAt(1, teinte.darker(150));
    p.fillRect(r, g);
    // Coolant streaks running down the sheet metal.
    for (int i = 0; i < 40; ++i) {
        QColor c = h.entier(0, 1) ? teinte.lighter(h.entier(110, 140)) : teinte.darker(h.entier(110, 140));
        c.setAlpha(h.entier(25, 70));
        p.setPen(QPen(c, h.uniforme(1, 4) * r.width() / 640));
        const double x = h.uniforme(r.left(), r.right());
        const double y = h.uniforme(r.top(), r.top() + r.height() * 0.5);
        p.drawLine(QPointF(x, y), QPointF(x + h.uniforme(-4, 4), y + h.uniforme(20, 160) * r.height() / 480));
    }
    p.setPen(Qt::NoPen);
}

QLinearGradient degradeMetal(QPointF a, QPointF b, QColor base)
{
    QLinearGradient g(a, b);
    g.setColorAt(0.0, base.darker(170));
    g.setColorAt(0.18, base.lighter(150));
    g.setColorAt(0.32, base.lighter(118));
    g.setColorAt(0.65, base);
    g.setColorAt(0.9, base.darker(140));
    g.setColorAt(1.0, base.darker(190));
    return g;
}

void ombre(QPainter& p, const QRectF& r, double opacite)
{
    QRadialGradient g(r.center(), 0.5);
    g.setCoordinateMode(QGradient::ObjectMode);
    g.setCenter(0.5, 0.5);
    g.setFocalPoint(0.5, 0.5);
    g.setColorAt(0, QColor(0, 0, 0, static_cast<int>(255 * opacite)));
    g.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(r);
}

void annotation(QPainter& p, QPointF depuis, QPointF vers, const QString& texte, double echelle)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor rouge(215, 30, 25);
    p.setPen(QPen(rouge, 3.0 * echelle, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(depuis, vers);
    const double a = std::atan2(vers.y() - depuis.y(), vers.x() - depuis.x());
    const double l = 12 * echelle;
    QPolygonF pointe;
    pointe << vers << vers - QPointF(l * std::cos(a - 0.4), l * std::sin(a - 0.4))
           << vers - QPointF(l * std::cos(a + 0.4), l * std::sin(a + 0.4));
    p.setBrush(rouge);
    p.setPen(Qt::NoPen);
    p.drawPolygon(pointe);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(std::max(8, static_cast<int>(15 * echelle)));
    p.setFont(f);
    const QFontMetricsF fm(f);
    const QRectF cadre(depuis.x() - fm.horizontalAdvance(texte) / 2 - 6 * echelle,
                       depuis.y() - fm.height() / 2 - 3 * echelle, fm.horizontalAdvance(texte) + 12 * echelle,
                       fm.height() + 6 * echelle);
    p.setBrush(QColor(250, 220, 60));
    p.setPen(QPen(QColor(60, 50, 10), 1));
    p.drawRoundedRect(cadre, 3 * echelle, 3 * echelle);
    p.setPen(Qt::black);
    p.drawText(cadre, Qt::AlignCenter, texte);
    p.restore();
}

void cylindreH(QPainter& p, double x0, double x1, double cy, double rayon, QColor base, bool faceDroite,
               double alesage)
{
    const double e = rayon * 0.24;
    QPainterPath corps;
    corps.moveTo(x0, cy - rayon);
    corps.arcTo(QRectF(x0 - e, cy - rayon, 2 * e, 2 * rayon), 90, 180);
    corps.lineTo(x1, cy + rayon);
    corps.lineTo(x1, cy - rayon);
    corps.closeSubpath();
    p.setPen(QPen(base.darker(220), 0.8));
    p.setBrush(degradeMetal(QPointF(0, cy - rayon), QPointF(0, cy + rayon), base));
    p.drawPath(corps);
    if (!faceDroite)
        return;
    const QRectF face(x1 - e, cy - rayon, 2 * e, 2 * rayon);
    QLinearGradient gf(face.topLeft(), face.bottomRight());
    gf.setColorAt(0, base.lighter(135));
    gf.setColorAt(1, base.darker(115));
    p.setBrush(gf);
    p.drawEllipse(face);
    // Turning marks on the face.
    QColor trait = base.darker(125);
    trait.setAlpha(70);
    p.setPen(QPen(trait, 0.6));
    p.setBrush(Qt::NoBrush);
    for (double k = 0.85; k > 0.2; k -= 0.17)
        p.drawEllipse(QPointF(x1, cy), e * k, rayon * k);
    if (alesage > 0) {
        QRectF trou(x1 - e * alesage / rayon, cy - alesage, 2 * e * alesage / rayon, 2 * alesage);
        QLinearGradient gt(trou.topLeft(), trou.bottomLeft());
        gt.setColorAt(0, QColor(20, 20, 22));
        gt.setColorAt(0.7, base.darker(260));
        gt.setColorAt(1, base.darker(170));
        p.setPen(QPen(base.lighter(140), 0.8));
        p.setBrush(gt);
        p.drawEllipse(trou);
    }
}

void cylindreV(QPainter& p, double cx, double y0, double y1, double rayon, QColor base, bool dessusVisible)
{
    const double e = rayon * 0.3;
    QPainterPath corps;
    corps.moveTo(cx - rayon, y0);
    corps.lineTo(cx - rayon, y1);
    corps.arcTo(QRectF(cx - rayon, y1 - e, 2 * rayon, 2 * e), 180, 180);
    corps.lineTo(cx + rayon, y0);
    corps.closeSubpath();
    p.setPen(QPen(base.darker(220), 0.8));
    p.setBrush(degradeMetal(QPointF(cx - rayon, 0), QPointF(cx + rayon, 0), base));
    p.drawPath(corps);
    if (dessusVisible) {
        p.setBrush(base.lighter(125));
        p.drawEllipse(QRectF(cx - rayon, y0 - e, 2 * rayon, 2 * e));
    }
}

// ---------------------------------------------------------------------------

QPointF Vue3d::point(double x, double y, double z) const
{
    return plan(z).map(QPointF(x, y));
}

QTransform Vue3d::plan(double z) const
{
    const double c1 = std::cos(0.42), s1 = std::sin(0.42);
    const double c2 = std::cos(0.68) * 0.78, s2 = std::sin(0.68) * 0.78;
    return QTransform(c1 * echelle, s1 * echelle, -c2 * echelle, s2 * echelle, origine.x(),
                      origine.y() - z * echelle);
}

Vue3d cadrerVue(double x0, double y0, double z0, double x1, double y1, double z1, const QRectF& cible)
{
    const Vue3d unite{QPointF(0, 0), 1.0};
    QRectF b;
    for (double x : {x0, x1})
        for (double y : {y0, y1})
            for (double z : {z0, z1}) {
                const QPointF q = unite.point(x, y, z);
                b = b.isNull() ? QRectF(q, QSizeF(0.001, 0.001)) : b.united(QRectF(q, QSizeF(0.001, 0.001)));
            }
    const double s = std::min(cible.width() / b.width(), cible.height() / b.height());
    return Vue3d{cible.center() - b.center() * s, s};
}

void boite(QPainter& p, const Vue3d& v, double x, double y, double z, double dx, double dy, double dz,
           QColor couleur)
{
    auto P = [&](double a, double b, double c) { return v.point(a, b, c); };
    const QPolygonF dessus{P(x, y, z + dz), P(x + dx, y, z + dz), P(x + dx, y + dy, z + dz), P(x, y + dy, z + dz)};
    const QPolygonF faceX{P(x + dx, y, z), P(x + dx, y + dy, z), P(x + dx, y + dy, z + dz), P(x + dx, y, z + dz)};
    const QPolygonF faceY{P(x, y + dy, z), P(x + dx, y + dy, z), P(x + dx, y + dy, z + dz), P(x, y + dy, z + dz)};
    p.setPen(QPen(couleur.darker(200), 0.8));
    QLinearGradient gx(faceX.boundingRect().topLeft(), faceX.boundingRect().bottomRight());
    gx.setColorAt(0, couleur.darker(125));
    gx.setColorAt(1, couleur.darker(160));
    p.setBrush(gx);
    p.drawPolygon(faceX);
    QLinearGradient gy(faceY.boundingRect().topLeft(), faceY.boundingRect().bottomRight());
    gy.setColorAt(0, couleur.darker(105));
    gy.setColorAt(1, couleur.darker(135));
    p.setBrush(gy);
    p.drawPolygon(faceY);
    QLinearGradient gd(dessus.boundingRect().topLeft(), dessus.boundingRect().bottomRight());
    gd.setColorAt(0, couleur.lighter(135));
    gd.setColorAt(0.5, couleur.lighter(112));
    gd.setColorAt(1, couleur);
    p.setBrush(gd);
    p.drawPolygon(dessus);
}

void tableRainuree(QPainter& p, const Vue3d& v, double x, double y, double dx, double dy, double epaisseur,
                   int rainures)
{
    const QColor fonte(92, 100, 110);
    boite(p, v, x, y, -epaisseur, dx, dy, epaisseur, fonte);
    const double pas = dy / (rainures + 1);
    const double largeur = std::min(18.0, pas * 0.25);
    for (int i = 1; i <= rainures; ++i) {
        const double ys = y + i * pas - largeur / 2;
        QPolygonF rainure{v.point(x, ys, 0), v.point(x + dx, ys, 0), v.point(x + dx, ys + largeur, 0),
                          v.point(x, ys + largeur, 0)};
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(28, 30, 34));
        p.drawPolygon(rainure);
        p.setPen(QPen(fonte.lighter(150), 1));
        p.drawLine(v.point(x, ys + largeur, 0), v.point(x + dx, ys + largeur, 0));
    }
    // Oil sheen.
    QColor reflet(255, 255, 255, 28);
    p.setPen(Qt::NoPen);
    p.setBrush(reflet);
    p.drawPolygon(QPolygonF{v.point(x + dx * 0.2, y, 0), v.point(x + dx * 0.45, y, 0),
                            v.point(x + dx * 0.35, y + dy, 0), v.point(x + dx * 0.1, y + dy, 0)});
}

// ---------------------------------------------------------------------------

double Piece::longueur() const
{
    double l = 0;
    for (const Troncon& t : troncons)
        l += t.longueur;
    return l;
}

double Piece::diametreMax() const
{
    double d = 0;
    for (const Troncon& t : troncons)
        d = std::max(d, t.diametre);
    return d;
}

QRectF Piece::encombrement() const
{
    return contour.boundingRect();
}

void dessinerTournee(QPainter& p, const Piece& piece, double x0, double cy, double echelle)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    double x = x0;
    for (int i = 0; i < piece.troncons.size(); ++i) {
        const Troncon& t = piece.troncons[i];
        const double r = t.diametre / 2 * echelle;
        const double x1 = x + t.longueur * echelle;
        const bool dernier = i == piece.troncons.size() - 1;
        cylindreH(p, x, x1, cy, r, piece.couleur, true, dernier ? piece.alesage / 2 * echelle : 0.0);
        if (t.filete) {
            p.save();
            QPainterPath zone;
            zone.addRect(QRectF(x, cy - r, x1 - x, 2 * r));
            p.setClipPath(zone);
            const double pas = std::max(2.0, 1.5 * echelle);
            for (double xf = x - r; xf < x1 + r; xf += pas) {
                p.setPen(QPen(piece.couleur.darker(190), std::max(0.8, pas * 0.35)));
                p.drawLine(QPointF(xf, cy - r), QPointF(xf + pas * 0.8, cy + r));
                p.setPen(QPen(piece.couleur.lighter(150), std::max(0.5, pas * 0.15)));
                p.drawLine(QPointF(xf + pas * 0.4, cy - r), QPointF(xf + pas * 1.2, cy + r));
            }
            p.restore();
            cylindreH(p, x1 - 0.01, x1, cy, r, piece.couleur, true, 0.0);
        }
        x = x1;
    }
    p.restore();
}

void dessinerPlate(QPainter& p, const Piece& piece, const Vue3d& v, double x, double y, double z)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = piece.couleur;
    const double ep = piece.epaisseur * v.echelle;
    const QPainterPath contour = piece.contour.translated(x, y);
    const QPainterPath dessus = v.plan(z + piece.epaisseur).map(contour);
    // Sides: the top outline swept down through the thickness.
    const QRectF b = dessus.boundingRect();
    QLinearGradient gc(b.topLeft(), b.topRight());
    gc.setColorAt(0, c.darker(120));
    gc.setColorAt(0.5, c.darker(150));
    gc.setColorAt(1, c.darker(175));
    p.setPen(Qt::NoPen);
    p.setBrush(gc);
    for (double i = ep; i >= 0.5; i -= 0.75)
        p.drawPath(dessus.translated(0, i));
    p.setPen(QPen(c.darker(230), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(dessus.translated(0, ep));
    // Top face.
    QLinearGradient gd(b.topLeft(), b.bottomRight());
    gd.setColorAt(0, c.lighter(145));
    gd.setColorAt(0.35, c.lighter(115));
    gd.setColorAt(0.7, c);
    gd.setColorAt(1, c.darker(115));
    p.setPen(QPen(c.lighter(170), 1.2));
    p.setBrush(gd);
    p.drawPath(dessus);
    // Milling marks: faint arcs of the face mill.
    {
        p.save();
        p.setClipPath(dessus);
        QColor trace = c.darker(118);
        trace.setAlpha(60);
        p.setPen(QPen(trace, 0.7));
        p.setBrush(Qt::NoBrush);
        const QRectF e = piece.encombrement().translated(x, y);
        const QTransform t = v.plan(z + piece.epaisseur);
        for (double xx = e.left() - e.height(); xx < e.right(); xx += std::max(3.0, e.width() / 18)) {
            QPainterPath arc;
            arc.addEllipse(QPointF(xx, e.center().y()), e.height() * 0.8, e.height() * 0.8);
            p.drawPath(t.map(arc));
        }
        p.restore();
    }
    // Pocket: far walls, then the floor.
    if (!piece.poche.isEmpty()) {
        const QPainterPath poche = v.plan(z + piece.epaisseur).map(piece.poche.translated(x, y));
        p.save();
        p.setClipPath(poche);
        p.fillPath(poche, c.darker(165));
        QLinearGradient gf(poche.boundingRect().topLeft(), poche.boundingRect().bottomRight());
        gf.setColorAt(0, c.lighter(105));
        gf.setColorAt(1, c.darker(125));
        p.fillPath(poche.translated(0, piece.profondeurPoche * v.echelle), gf);
        p.restore();
        p.setPen(QPen(c.lighter(175), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(poche);
    }
    // Through holes.
    for (const QPainterPath& trou : piece.trous) {
        const QPainterPath tr = trou.translated(x, y);
        double haut = z + piece.epaisseur;
        double prof = piece.epaisseur;
        if (!piece.poche.isEmpty() && piece.poche.translated(x, y).contains(tr.boundingRect().center())) {
            haut -= piece.profondeurPoche;
            prof -= piece.profondeurPoche;
        }
        const QPainterPath h = v.plan(haut).map(tr);
        p.save();
        p.setClipPath(h);
        QLinearGradient gt(h.boundingRect().topLeft(), h.boundingRect().bottomLeft());
        gt.setColorAt(0, c.darker(300));
        gt.setColorAt(1, c.darker(160));
        p.fillPath(h, gt);
        p.fillPath(h.translated(0, prof * v.echelle), QColor(18, 18, 20));
        p.restore();
        p.setPen(QPen(c.lighter(170), 0.9));
        p.setBrush(Qt::NoBrush);
        p.drawPath(h);
    }
    p.restore();
}

QImage vignettePiece(const Piece& piece, int largeur, int hauteur)
{
    QImage image(largeur, hauteur, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (piece.forme == Piece::Tournee) {
        const double l = piece.longueur();
        const double d = piece.diametreMax();
        const double s = std::min(0.9 * largeur / (l + d * 0.3), 0.86 * hauteur / d);
        dessinerTournee(p, piece, (largeur - l * s) / 2 - d * s * 0.06, hauteur / 2.0, s);
    } else {
        Vue3d v{QPointF(0, 0), 1.0};
        QRectF b = v.plan(piece.epaisseur).map(piece.contour).boundingRect();
        b = b.united(b.translated(0, piece.epaisseur));
        const double s = std::min(0.92 * largeur / b.width(), 0.9 * hauteur / b.height());
        v.echelle = s;
        v.origine = QPointF(largeur / 2.0 - b.center().x() * s, hauteur / 2.0 - b.center().y() * s);
        dessinerPlate(p, piece, v, 0, 0, 0);
    }
    return image;
}

QColor couleurMatiere(const QString& matiere)
{
    const QString m = matiere.toUpper();
    if (m.contains(QStringLiteral("AU4G")) || m.contains(QStringLiteral("ALU")))
        return QColor(200, 205, 212);
    if (m.contains(QStringLiteral("BRONZE")))
        return QColor(178, 134, 74);
    if (m.contains(QStringLiteral("LAITON")))
        return QColor(204, 172, 84);
    if (m.contains(QStringLiteral("INOX")))
        return QColor(188, 194, 200);
    if (m.contains(QStringLiteral("FONTE")))
        return QColor(128, 131, 136);
    if (m.contains(QStringLiteral("TRAIT")) || m.contains(QStringLiteral("42CRMO4")))
        return QColor(112, 116, 128);
    return QColor(152, 157, 164);
}

}  // namespace demo
