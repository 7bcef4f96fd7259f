// Photographs of the machine tools of the demo workshop.
#include "images.h"

#include <cmath>

namespace demo {

QFont police(double pixels, bool gras, bool mono)
{
    QFont f(mono ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(6, static_cast<int>(std::lround(pixels))));
    f.setBold(gras);
    return f;
}

namespace {

// A rectangle given in fractions of a zone.
struct Zone {
    QRectF r;
    QRectF operator()(double fx, double fy, double fw, double fh) const
    {
        return QRectF(r.left() + fx * r.width(), r.top() + fy * r.height(), fw * r.width(), fh * r.height());
    }
    QPointF pt(double fx, double fy) const { return QPointF(r.left() + fx * r.width(), r.top() + fy * r.height()); }
    double w(double f) const { return f * r.width(); }
    double h(double f) const { return f * r.height(); }
};

void tourDeSignalisation(QPainter& p, QPointF pied, double hauteur)
{
    const double l = hauteur * 0.22;
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(70, 70, 72));
    p.drawRect(QRectF(pied.x() - l * 0.15, pied.y() - hauteur * 0.25, l * 0.3, hauteur * 0.25));
    const QColor teintes[3] = {QColor(200, 40, 30), QColor(230, 150, 30), QColor(60, 200, 80)};
    for (int i = 0; i < 3; ++i) {
        const QRectF seg(pied.x() - l / 2, pied.y() - hauteur * (0.25 + 0.25 * (3 - i)), l, hauteur * 0.25);
        QColor c = teintes[i];
        if (i != 2)
            c = c.darker(170);  // only green is lit: the machine is running
        QLinearGradient g(seg.topLeft(), seg.topRight());
        g.setColorAt(0, c.darker(130));
        g.setColorAt(0.35, i == 2 ? c.lighter(160) : c.lighter(115));
        g.setColorAt(1, c.darker(140));
        p.setBrush(g);
        p.drawRect(seg);
    }
    if (true) {
        QRadialGradient halo(QPointF(pied.x(), pied.y() - hauteur * 0.375), hauteur * 0.4);
        halo.setColorAt(0, QColor(120, 255, 140, 90));
        halo.setColorAt(1, QColor(120, 255, 140, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(QPointF(pied.x(), pied.y() - hauteur * 0.375), hauteur * 0.4, hauteur * 0.4);
    }
}

void pupitre(QPainter& p, const QRectF& r, bool petitEcran = false)
{
    // Housing.
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(78, 82, 88));
    g.setColorAt(1, QColor(45, 47, 52));
    p.setPen(QPen(QColor(25, 25, 28), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, r.width() * 0.04, r.width() * 0.04);
    // Screen with a program listing.
    const QRectF ecran(r.left() + r.width() * 0.1, r.top() + r.height() * 0.06, r.width() * 0.8,
                       r.height() * (petitEcran ? 0.26 : 0.36));
    QLinearGradient ge(ecran.topLeft(), ecran.bottomLeft());
    ge.setColorAt(0, QColor(12, 30, 48));
    ge.setColorAt(1, QColor(6, 16, 26));
    p.setBrush(ge);
    p.setPen(QPen(QColor(15, 15, 15), 2));
    p.drawRect(ecran);
    const double lh = std::max(3.0, ecran.height() / 9);
    p.setFont(police(lh * 0.85, false, true));
    p.setPen(QColor(120, 230, 140));
    const char* lignes[] = {"N10 G0 G52 X0 Z0", "N20 T1 D1 M6", "N30 G96 S200 M3", "N40 G0 X52 Z2",
                            "N50 G1 X-1.6 F.2", "N60 G0 X54", "N70 G64 N100", "X 52.000  Z 2.000"};
    for (int i = 0; i < 8 && (i + 1) * lh < ecran.height() - 2; ++i)
        p.drawText(QPointF(ecran.left() + 3, ecran.top() + (i + 1) * lh), QString::fromLatin1(lignes[i]));
    QColor reflet(255, 255, 255, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(reflet);
    p.drawPolygon(QPolygonF{ecran.topLeft(), QPointF(ecran.left() + ecran.width() * 0.4, ecran.top()),
                            QPointF(ecran.left() + ecran.width() * 0.15, ecran.bottom()), ecran.bottomLeft()});
    // Keyboard.
    const double yk = ecran.bottom() + r.height() * 0.05;
    const int colonnes = 8;
    const int rangs = 5;
    const double kw = ecran.width() / colonnes;
    const double kh = (r.bottom() - yk - r.height() * 0.22) / rangs;
    for (int i = 0; i < rangs; ++i)
        for (int j = 0; j < colonnes; ++j) {
            const QRectF t(ecran.left() + j * kw + 1, yk + i * kh + 1, kw - 2, kh - 2);
            p.setBrush((i + j) % 5 == 0 ? QColor(200, 200, 190) : QColor(150, 154, 160));
            p.setPen(QPen(QColor(30, 30, 30), 0.6));
            p.drawRect(t);
        }
    // Emergency stop, feed override and the cycle buttons.
    const double yb = r.bottom() - r.height() * 0.11;
    const double rb = std::min(r.width() * 0.08, r.height() * 0.07);
    p.setBrush(QColor(240, 200, 20));
    p.setPen(QPen(QColor(40, 30, 0), 0.8));
    p.drawEllipse(QPointF(r.left() + r.width() * 0.2, yb), rb * 1.4, rb * 1.4);
    QRadialGradient gr(QPointF(r.left() + r.width() * 0.2 - rb * 0.3, yb - rb * 0.3), rb);
    gr.setColorAt(0, QColor(255, 90, 80));
    gr.setColorAt(1, QColor(150, 10, 10));
    p.setBrush(gr);
    p.drawEllipse(QPointF(r.left() + r.width() * 0.2, yb), rb, rb);
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(QPointF(r.left() + r.width() * 0.5, yb), rb * 0.9, rb * 0.9);
    p.setBrush(QColor(40, 180, 60));
    p.drawEllipse(QPointF(r.left() + r.width() * 0.72, yb), rb * 0.6, rb * 0.6);
    p.setBrush(QColor(200, 40, 30));
    p.drawEllipse(QPointF(r.left() + r.width() * 0.86, yb), rb * 0.6, rb * 0.6);
}

void plaque(QPainter& p, const QRectF& r, const QString& texte, QColor fond)
{
    p.setPen(Qt::NoPen);
    p.setBrush(fond);
    p.drawRect(r);
    p.setFont(police(r.height() * 0.62, true));
    p.setPen(fond.lightness() > 140 ? QColor(30, 30, 30) : QColor(250, 250, 250));
    p.drawText(r, Qt::AlignCenter, texte);
}

void vitre(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0.0, QColor(255, 255, 255, 0));
    g.setColorAt(0.30, QColor(255, 255, 255, 0));
    g.setColorAt(0.36, QColor(255, 255, 255, 60));
    g.setColorAt(0.44, QColor(255, 255, 255, 10));
    g.setColorAt(0.55, QColor(255, 255, 255, 45));
    g.setColorAt(0.58, QColor(255, 255, 255, 0));
    g.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(g);
    p.drawRect(r);
    p.setPen(QPen(QColor(30, 30, 30), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

// Inside a lathe: chuck on the left, a bar in the jaws, the turret above right.
void interieurTour(QPainter& p, const QRectF& r, quint32 graine)
{
    p.save();
    p.setClipRect(r);
    fondInterieur(p, r, QColor(70, 74, 80), graine);
    const double cy = r.top() + r.height() * 0.55;
    const double rm = r.height() * 0.3;
    cylindreH(p, r.left() - r.width() * 0.1, r.left() + r.width() * 0.18, cy, rm, QColor(120, 124, 130));
    for (int i = -1; i <= 1; i += 2)
        p.fillRect(QRectF(r.left() + r.width() * 0.17, cy + i * rm * 0.45 - rm * 0.12, r.width() * 0.05,
                          rm * 0.24),
                   QColor(90, 92, 96));
    cylindreH(p, r.left() + r.width() * 0.2, r.left() + r.width() * 0.47, cy, rm * 0.28, QColor(165, 168, 172));
    // Turret disc with tools.
    const QPointF ct(r.left() + r.width() * 0.78, r.top() + r.height() * 0.22);
    QRadialGradient gt(ct - QPointF(rm * 0.3, rm * 0.3), rm * 1.2);
    gt.setColorAt(0, QColor(190, 192, 196));
    gt.setColorAt(1, QColor(80, 82, 88));
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(gt);
    p.drawEllipse(ct, rm * 0.95, rm * 0.95);
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4 + 0.2;
        const QPointF c = ct + QPointF(std::cos(a), std::sin(a)) * rm * 0.75;
        p.setBrush(QColor(60, 62, 66));
        p.drawRect(QRectF(c.x() - rm * 0.12, c.y() - rm * 0.12, rm * 0.24, rm * 0.24));
    }
    p.setBrush(QColor(55, 58, 64));
    p.drawRect(QRectF(ct.x() - rm * 0.7, ct.y() + rm * 0.6, rm * 0.28, rm * 0.55));
    p.setBrush(QColor(210, 170, 60));
    p.drawPolygon(QPolygonF{QPointF(ct.x() - rm * 0.7, ct.y() + rm * 1.15), QPointF(ct.x() - rm * 0.5, ct.y() + rm * 1.15),
                            QPointF(ct.x() - rm * 0.66, ct.y() + rm * 1.3)});
    // Coolant nozzle.
    p.setPen(QPen(QColor(30, 90, 170), std::max(2.0, r.width() * 0.015), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath buse;
    buse.moveTo(r.left() + r.width() * 0.58, r.top());
    buse.cubicTo(r.left() + r.width() * 0.55, r.top() + r.height() * 0.2, r.left() + r.width() * 0.5,
                 r.top() + r.height() * 0.25, r.left() + r.width() * 0.44, r.top() + r.height() * 0.36);
    p.drawPath(buse);
    p.restore();
}

// Inside a machining centre: spindle head, tool, table with a vice.
void interieurCentre(QPainter& p, const QRectF& r, quint32 graine)
{
    p.save();
    p.setClipRect(r);
    fondInterieur(p, r, QColor(74, 78, 84), graine);
    Vue3d v{QPointF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.62), r.width() / 700.0};
    tableRainuree(p, v, 0, -150, 600, 320, 60, 3);
    boite(p, v, 200, -40, 0, 140, 160, 60, QColor(70, 90, 140));
    boite(p, v, 215, -40, 60, 30, 160, 50, QColor(150, 154, 160));
    boite(p, v, 295, -40, 60, 30, 160, 50, QColor(150, 154, 160));
    // Spindle head coming down from the top.
    const QPointF tete = v.point(270, 40, 300);
    const double rb = r.width() * 0.09;
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(degradeMetal(QPointF(tete.x() - rb * 1.6, 0), QPointF(tete.x() + rb * 1.6, 0), QColor(90, 96, 104)));
    p.drawRect(QRectF(tete.x() - rb * 1.6, r.top() - 2, rb * 3.2, tete.y() - r.top() - rb * 0.8));
    cylindreV(p, tete.x(), tete.y() - rb * 0.9, tete.y(), rb, QColor(140, 144, 150), false);
    cylindreV(p, tete.x(), tete.y(), tete.y() + rb * 0.6, rb * 0.55, QColor(60, 62, 68), false);
    cylindreV(p, tete.x(), tete.y() + rb * 0.6, tete.y() + rb * 1.5, rb * 0.25, QColor(180, 182, 188), false);
    p.restore();
}

void tourCarene(QPainter& p, const Zone& z, const AspectMachine& a, quint32 graine)
{
    const QColor caisse = a.caisse;
    const bool gauche = a.variante == 1;
    const double xPorte = gauche ? 0.31 : 0.05;
    const double xPupitre = gauche ? 0.04 : 0.62;
    // Roof and side give the enclosure its depth.
    p.setPen(QPen(caisse.darker(170), 1));
    p.setBrush(caisse.lighter(112));
    p.drawPolygon(QPolygonF{z.pt(0, 0.08), z.pt(0.12, 0.0), z.pt(1.0, 0.0), z.pt(0.88, 0.08)});
    QLinearGradient gc(z.pt(0.88, 0), z.pt(1, 0));
    gc.setColorAt(0, caisse.darker(118));
    gc.setColorAt(1, caisse.darker(140));
    p.setBrush(gc);
    p.drawPolygon(QPolygonF{z.pt(0.88, 0.08), z.pt(1.0, 0.0), z.pt(1.0, 0.9), z.pt(0.88, 1.0)});
    // Front.
    QLinearGradient gf(z.pt(0, 0.08), z.pt(0, 0.9));
    gf.setColorAt(0, caisse.lighter(108));
    gf.setColorAt(1, caisse.darker(112));
    p.setBrush(gf);
    p.drawRect(z(0, 0.08, 0.88, 0.82));
    p.setBrush(QColor(48, 50, 54));
    p.drawRect(z(0, 0.9, 0.88, 0.1));
    p.fillRect(z(0, 0.14, 0.88, 0.06), a.bande);
    plaque(p, z(gauche ? 0.6 : 0.04, 0.145, 0.22, 0.05), a.plaque, a.bande);
    // Sliding door with its window onto the work area.
    p.setPen(QPen(caisse.darker(160), 1.2));
    p.setBrush(caisse.lighter(104));
    p.drawRect(z(xPorte, 0.24, 0.52, 0.6));
    const QRectF fenetre = z(xPorte + 0.04, 0.29, 0.44, 0.4);
    interieurTour(p, fenetre, graine);
    vitre(p, fenetre);
    p.setBrush(QColor(60, 62, 66));
    p.drawRoundedRect(z(gauche ? xPorte + 0.01 : xPorte + 0.47, 0.42, 0.02, 0.22), 3, 3);
    // Control panel on the fixed part.
    pupitre(p, z(xPupitre, 0.24, 0.22, 0.5));
    // Chip bin below the door; on the variant a chip conveyor leaves at the side.
    p.setBrush(caisse.darker(125));
    p.drawRect(z(xPorte + 0.03, 0.86, 0.46, 0.04));
    if (gauche) {
        p.setBrush(QColor(90, 96, 104));
        p.drawPolygon(QPolygonF{z.pt(0.9, 0.62), z.pt(1.06, 0.3), z.pt(1.1, 0.34), z.pt(0.96, 0.7)});
        p.setBrush(QColor(70, 72, 76));
        p.drawRect(z(1.0, 0.74, 0.1, 0.22));
    }
    tourDeSignalisation(p, z.pt(gauche ? 0.2 : 0.95, 0.03), z.h(0.15));
}

void centreUsinage(QPainter& p, const Zone& z, const AspectMachine& a, quint32 graine)
{
    const QColor caisse = a.caisse;
    const bool gauche = a.variante == 1;
    const double xPortes = gauche ? 0.3 : 0.06;
    // Column housing above the enclosure.
    p.setPen(QPen(caisse.darker(170), 1));
    p.setBrush(caisse.darker(108));
    p.drawRect(z(xPortes + 0.22, 0.02, 0.36, 0.14));
    p.setBrush(caisse.lighter(110));
    p.drawPolygon(QPolygonF{z.pt(0, 0.2), z.pt(0.1, 0.14), z.pt(1.0, 0.14), z.pt(0.9, 0.2)});
    QLinearGradient gc(z.pt(0.9, 0), z.pt(1, 0));
    gc.setColorAt(0, caisse.darker(118));
    gc.setColorAt(1, caisse.darker(140));
    p.setBrush(gc);
    p.drawPolygon(QPolygonF{z.pt(0.9, 0.2), z.pt(1.0, 0.14), z.pt(1.0, 0.92), z.pt(0.9, 1.0)});
    QLinearGradient gf(z.pt(0, 0.2), z.pt(0, 0.92));
    gf.setColorAt(0, caisse.lighter(108));
    gf.setColorAt(1, caisse.darker(112));
    p.setBrush(gf);
    p.drawRect(z(0, 0.2, 0.9, 0.72));
    p.setBrush(QColor(48, 50, 54));
    p.drawRect(z(0, 0.92, 0.9, 0.08));
    p.fillRect(z(0, 0.23, 0.9, 0.045), a.bande);
    plaque(p, z(gauche ? 0.55 : 0.05, 0.233, 0.3, 0.036), a.plaque, a.bande);
    // Tool magazine on the left side.
    if (!gauche) {
        p.setBrush(caisse.darker(115));
        p.drawRoundedRect(z(-0.04, 0.3, 0.08, 0.3), 6, 6);
    }
    // Two sliding doors, the right one partly open.
    p.setPen(QPen(caisse.darker(160), 1.2));
    p.setBrush(caisse.lighter(104));
    p.drawRect(z(xPortes, 0.31, 0.34, 0.5));
    p.drawRect(z(xPortes + 0.3, 0.31, 0.3, 0.5));
    const QRectF fenetre = z(xPortes + 0.04, 0.35, 0.52, 0.3);
    interieurCentre(p, fenetre, graine);
    p.setPen(QPen(caisse.darker(160), 3));
    p.drawLine(z.pt(xPortes + 0.32, 0.35), z.pt(xPortes + 0.32, 0.65));
    vitre(p, fenetre);
    p.setBrush(QColor(60, 62, 66));
    p.drawRoundedRect(z(xPortes + 0.285, 0.5, 0.018, 0.16), 3, 3);
    // Panel on the swinging arm.
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(110, 112, 118));
    p.drawRect(z(gauche ? 0.12 : 0.8, 0.2, 0.025, 0.12));
    pupitre(p, z(gauche ? 0.03 : 0.7, 0.3, 0.2, 0.4));
    p.setBrush(caisse.darker(125));
    p.drawRect(z(xPortes + 0.02, 0.84, 0.56, 0.05));
    tourDeSignalisation(p, z.pt(xPortes + 0.52, 0.02), z.h(0.1));
}

void tourOuvert(QPainter& p, const Zone& z, const AspectMachine& a, quint32 graine)
{
    Q_UNUSED(graine);
    const QColor c = a.caisse;
    // Rear splash guard.
    p.setPen(QPen(c.darker(170), 1));
    p.setBrush(QColor(150, 152, 150));
    p.drawRect(z(0.12, 0.2, 0.82, 0.3));
    // Pedestals and chip tray.
    p.setBrush(c.darker(110));
    p.drawRect(z(0.02, 0.6, 0.26, 0.4));
    p.drawRect(z(0.74, 0.6, 0.22, 0.4));
    p.setBrush(QColor(70, 72, 70));
    p.drawRect(z(0.28, 0.7, 0.46, 0.16));
    // Bed.
    p.setBrush(degradeMetal(z.pt(0, 0.45), z.pt(0, 0.62), c));
    p.drawRect(z(0.02, 0.47, 0.94, 0.14));
    p.fillRect(z(0.3, 0.47, 0.66, 0.015), QColor(190, 194, 198));
    // Headstock.
    p.setBrush(degradeMetal(z.pt(0, 0.12), z.pt(0, 0.47), c));
    p.drawRect(z(0.0, 0.12, 0.24, 0.35));
    plaque(p, z(0.02, 0.16, 0.2, 0.07), a.plaque, c.darker(160));
    // Chuck and its guard.
    const double cy = z.r.top() + z.h(0.32);
    cylindreH(p, z.r.left() + z.w(0.24), z.r.left() + z.w(0.31), cy, z.h(0.13), QColor(140, 144, 150));
    cylindreH(p, z.r.left() + z.w(0.31), z.r.left() + z.w(0.43), cy, z.h(0.028), QColor(175, 178, 182));
    p.setBrush(QColor(240, 200, 40, 170));
    p.drawChord(QRectF(z.r.left() + z.w(0.215), cy - z.h(0.19), z.w(0.12), z.h(0.38)), 0, 180 * 16);
    // Carriage with a four-way tool post.
    p.setBrush(c.darker(104));
    p.drawRect(z(0.45, 0.4, 0.16, 0.12));
    p.setBrush(QColor(120, 124, 130));
    p.drawRect(z(0.47, 0.31, 0.11, 0.09));
    p.setBrush(QColor(85, 88, 94));
    p.drawRect(z(0.44, 0.33, 0.04, 0.03));
    p.setBrush(c);
    p.drawEllipse(QPointF(z.r.left() + z.w(0.47), z.r.top() + z.h(0.56)), z.w(0.025), z.w(0.025));
    // Tailstock.
    p.setBrush(degradeMetal(z.pt(0, 0.24), z.pt(0, 0.47), c));
    p.drawRect(z(0.8, 0.24, 0.12, 0.23));
    cylindreH(p, z.r.left() + z.w(0.75), z.r.left() + z.w(0.8), cy, z.h(0.03), QColor(170, 172, 176), false);
    // Control panel on an arm above the tailstock end.
    p.setBrush(QColor(110, 112, 118));
    p.drawRect(z(0.9, 0.1, 0.02, 0.14));
    pupitre(p, z(0.82, -0.2, 0.16, 0.32), true);
}

void fraiseuseConsole(QPainter& p, const QRectF& image, const AspectMachine& a)
{
    const QColor c = a.caisse;
    const QRectF cible(image.left() + image.width() * 0.03, image.top() + image.height() * 0.05,
                       image.width() * 0.7, image.height() * 0.85);
    const Vue3d v = cadrerVue(-600, -500, 0, 650, 350, 1720, cible);
    ombre(p, QRectF(v.point(-350, 400, 0) - QPointF(0, v.echelle * 150), v.point(450, -300, 0) + QPointF(0, v.echelle * 250)));
    // Base, column, knee, saddle, table; then ram, head, motor.
    boite(p, v, -300, -500, 0, 600, 800, 100, c.darker(115));
    boite(p, v, -200, -500, 100, 400, 350, 1400, c);
    boite(p, v, -220, -150, 350, 440, 400, 300, c.darker(105));
    boite(p, v, -200, -100, 650, 400, 330, 70, c.lighter(104));
    tableRainuree(p, Vue3d{v.point(0, 0, 780), v.echelle}, -600, -20, 1200, 220, 60, 3);
    boite(p, v, -120, -500, 1500, 240, 620, 150, c.darker(104));
    boite(p, v, -110, 20, 1100, 220, 220, 450, c);
    const QPointF q = v.point(0, 130, 1100);
    cylindreV(p, q.x(), q.y(), v.point(0, 130, 1010).y(), v.echelle * 45, QColor(175, 178, 182), false);
    cylindreV(p, q.x(), v.point(0, 130, 1010).y(), v.point(0, 130, 930).y(), v.echelle * 10, QColor(200, 170, 60),
              false);
    const QPointF m = v.point(0, 130, 1720);
    cylindreV(p, m.x(), m.y(), v.point(0, 130, 1550).y(), v.echelle * 85, c.lighter(110));
    plaque(p, QRectF(v.point(-200, -150, 1350) + QPointF(-v.echelle * 320, 0), QSizeF(v.echelle * 300, v.echelle * 70)),
           a.plaque, a.bande);
    // Hand wheels at both ends of the table, and the knee crank.
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(205, 205, 210));
    p.drawEllipse(v.point(640, 90, 750), v.echelle * 55, v.echelle * 70);
    p.drawEllipse(v.point(-640, 90, 750), v.echelle * 55, v.echelle * 70);
    p.drawEllipse(v.point(0, 260, 500), v.echelle * 45, v.echelle * 35);
    pupitre(p, QRectF(image.left() + image.width() * 0.75, image.top() + image.height() * 0.2, image.width() * 0.22,
                      image.height() * 0.34));
}

void perceuse(QPainter& p, const QRectF& image, const AspectMachine& a)
{
    const QColor c = a.caisse;
    const QRectF cible(image.left() + image.width() * 0.04, image.top() + image.height() * 0.05,
                       image.width() * 0.66, image.height() * 0.86);
    const Vue3d v = cadrerVue(-250, -200, 0, 400, 250, 1330, cible);
    ombre(p, QRectF(v.point(-250, 300, 0) - QPointF(0, v.echelle * 200), v.point(450, -250, 0) + QPointF(0, v.echelle * 250)));
    boite(p, v, -250, -200, 0, 650, 450, 110, c.darker(112));
    // Motorised cross table.
    boite(p, v, 60, -170, 110, 320, 380, 110, c.darker(104));
    tableRainuree(p, Vue3d{v.point(0, 0, 260), v.echelle}, 50, -180, 340, 400, 40, 2);
    // Round column.
    const QPointF pc = v.point(-150, 20, 110);
    cylindreV(p, pc.x(), v.point(-150, 20, 1230).y(), pc.y(), v.echelle * 70, QColor(170, 174, 180));
    // Head, motor, quill, chuck and drill.
    boite(p, v, -230, -110, 900, 560, 260, 280, c);
    const QPointF mt = v.point(-100, 20, 1330);
    cylindreV(p, mt.x(), mt.y(), v.point(-100, 20, 1180).y(), v.echelle * 95, c.lighter(110));
    const QPointF b = v.point(250, 20, 900);
    cylindreV(p, b.x(), b.y(), v.point(250, 20, 800).y(), v.echelle * 32, QColor(180, 182, 186), false);
    cylindreV(p, b.x(), v.point(250, 20, 800).y(), v.point(250, 20, 740).y(), v.echelle * 24, QColor(90, 92, 96), false);
    cylindreV(p, b.x(), v.point(250, 20, 740).y(), v.point(250, 20, 650).y(), v.echelle * 5, QColor(200, 170, 60), false);
    // Feed handle.
    p.setPen(QPen(QColor(40, 40, 44), std::max(2.0, v.echelle * 14), Qt::SolidLine, Qt::RoundCap));
    const QPointF moyeu = v.point(100, 150, 1040);
    p.drawLine(moyeu, moyeu + QPointF(v.echelle * 120, v.echelle * 90));
    p.drawLine(moyeu, moyeu + QPointF(-v.echelle * 40, v.echelle * 150));
    plaque(p, QRectF(v.point(-230, 150, 1120), QSizeF(v.echelle * 330, v.echelle * 70)), a.plaque, a.bande);
    // The CNC box added beside the drill, and its cable.
    const QRectF boitier(image.left() + image.width() * 0.72, image.top() + image.height() * 0.3, image.width() * 0.25,
                         image.height() * 0.38);
    pupitre(p, boitier, true);
    p.setPen(QPen(QColor(30, 30, 30), 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable;
    cable.moveTo(boitier.left() + 4, boitier.bottom() - 6);
    cable.cubicTo(QPointF(boitier.left() - image.width() * 0.1, boitier.bottom() + image.height() * 0.1),
                  v.point(380, 0, 400), v.point(380, -170, 160));
    p.drawPath(cable);
}

}  // namespace

QImage photoMachine(const AspectMachine& a, int largeur, int hauteur, quint32 graine)
{
    QImage image = toile(largeur, hauteur);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF tout(0, 0, largeur, hauteur);
    fondAtelier(p, tout, 0.66, QColor(198, 196, 188), QColor(118, 128, 116), graine);
    const bool portrait = hauteur > largeur;
    Zone z{};
    switch (a.modele) {
    case ModeleMachine::TourCarene:
        z.r = portrait ? QRectF(largeur * 0.04, hauteur * 0.3, largeur * 0.9, hauteur * 0.55)
                       : QRectF(largeur * 0.05, hauteur * 0.16, largeur * 0.84, hauteur * 0.68);
        break;
    case ModeleMachine::CentreUsinage:
        z.r = portrait ? QRectF(largeur * 0.08, hauteur * 0.1, largeur * 0.84, hauteur * 0.76)
                       : QRectF(largeur * 0.12, hauteur * 0.1, largeur * 0.76, hauteur * 0.78);
        break;
    case ModeleMachine::TourOuvert:
        z.r = QRectF(largeur * 0.04, hauteur * 0.26, largeur * 0.88, hauteur * 0.58);
        break;
    case ModeleMachine::FraiseuseConsole:
    case ModeleMachine::Perceuse:
        z.r = QRectF(largeur * 0.06, hauteur * 0.06, largeur * 0.88, hauteur * 0.84);
        break;
    }
    if (a.modele != ModeleMachine::FraiseuseConsole && a.modele != ModeleMachine::Perceuse)
        ombre(p, QRectF(z.r.left() - z.r.width() * 0.05, z.r.bottom() - z.r.height() * 0.06, z.r.width() * 1.12,
                        z.r.height() * 0.14));
    switch (a.modele) {
    case ModeleMachine::TourCarene: tourCarene(p, z, a, graine); break;
    case ModeleMachine::CentreUsinage: centreUsinage(p, z, a, graine); break;
    case ModeleMachine::TourOuvert: tourOuvert(p, z, a, graine); break;
    case ModeleMachine::FraiseuseConsole: fraiseuseConsole(p, tout, a); break;
    case ModeleMachine::Perceuse: perceuse(p, tout, a); break;
    }
    p.end();
    finitionPhoto(image, graine);
    return image;
}

}  // namespace demo
