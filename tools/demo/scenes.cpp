// Part views and set-up photographs of the sheets.
#include "images.h"

#include <algorithm>
#include <cmath>

namespace demo {

namespace {

// ---------------------------------------------------------------------------
// Part view: the part on a neutral backdrop beside a steel rule.

void regle(QPainter& p, QPointF debut, double longueur, double epaisseur)
{
    const QRectF r(debut, QSizeF(longueur, epaisseur));
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(225, 228, 232));
    g.setColorAt(1, QColor(150, 154, 160));
    p.setPen(QPen(QColor(80, 80, 84), 0.8));
    p.setBrush(g);
    p.drawRect(r);
    p.setPen(QPen(QColor(30, 30, 30), 0.7));
    const int graduations = 60;
    for (int i = 0; i <= graduations; ++i) {
        const double x = r.left() + 4 + i * (longueur - 8) / graduations;
        const double l = i % 10 == 0 ? 0.55 : (i % 5 == 0 ? 0.4 : 0.25);
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.top() + epaisseur * l));
    }
}

// ---------------------------------------------------------------------------
// Lathe set-ups: side view, chuck on the left.

struct Tour {
    double cy;      // spindle axis
    double xMors;   // face of the jaws
    double echelle; // pixels per millimetre of the part
};

void mandrin(QPainter& p, const Piece& piece, const Tour& t, double hauteur)
{
    const double rm = std::max(hauteur * 0.34, piece.diametreMax() / 2 * t.echelle * 1.8);
    cylindreH(p, t.xMors - rm * 1.6, t.xMors - rm * 0.35, t.cy, rm * 1.05, QColor(95, 98, 104), false);
    cylindreH(p, t.xMors - rm * 0.4, t.xMors, t.cy, rm, QColor(130, 134, 140));
}

void mors(QPainter& p, const Piece& piece, const Tour& t)
{
    const double r = piece.troncons.isEmpty() ? 10 : piece.troncons.first().diametre / 2 * t.echelle;
    const double l = std::max(12.0, std::min(piece.troncons.first().longueur * t.echelle * 0.9, r * 1.3));
    const double h = std::max(14.0, r * 0.9);
    for (int sens = -1; sens <= 1; sens += 2) {
        const QRectF m(t.xMors - 2, sens < 0 ? t.cy - r - h : t.cy + r, l, h);
        QLinearGradient g(m.topLeft(), m.bottomLeft());
        g.setColorAt(0, QColor(150, 154, 160));
        g.setColorAt(0.4, QColor(190, 192, 196));
        g.setColorAt(1, QColor(90, 92, 98));
        p.setPen(QPen(QColor(30, 30, 32), 1));
        p.setBrush(g);
        p.drawRect(m);
        // Serrations and the fixing screws.
        p.setPen(QPen(QColor(60, 60, 64), 0.8));
        for (double x = m.left() + 3; x < m.right() - 2; x += 3)
            p.drawLine(QPointF(x, sens < 0 ? m.bottom() - 3 : m.top()), QPointF(x, sens < 0 ? m.bottom() : m.top() + 3));
        p.setBrush(QColor(40, 40, 44));
        p.drawEllipse(QPointF(m.center().x(), m.center().y() + sens * h * 0.15), l * 0.12, l * 0.12);
    }
}

void copeaux(QPainter& p, const QRectF& zone, QColor couleur, quint32 graine)
{
    Hasard h(graine);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 14; ++i) {
        const QPointF c(h.uniforme(zone.left(), zone.right()), h.uniforme(zone.top(), zone.bottom()));
        const double r = h.uniforme(4, 11) * zone.width() / 400;
        QPainterPath spirale;
        spirale.moveTo(c + QPointF(r, 0));
        for (double a = 0; a < 4 * M_PI; a += 0.3) {
            const double rr = r * (1 - a / (5 * M_PI));
            spirale.lineTo(c + QPointF(rr * std::cos(a) + a * r * 0.25, rr * std::sin(a) * 0.6));
        }
        p.setPen(QPen(h.entier(0, 2) ? couleur.darker(130) : QColor(70, 60, 110), 1.4));
        p.drawPath(spirale);
    }
}

void outilTour(QPainter& p, QPointF pointe, double taille, bool versLaGauche)
{
    // Holder coming from the upper right, insert tip at `pointe`.
    const double s = versLaGauche ? 1 : -1;
    const QRectF corps(pointe.x() + s * taille * 0.35 - (s < 0 ? taille * 3 : 0), pointe.y() - taille * 0.95,
                       taille * 3, taille * 0.75);
    p.setPen(QPen(QColor(25, 25, 28), 1));
    p.setBrush(degradeMetal(corps.topLeft(), corps.bottomLeft(), QColor(70, 74, 82)));
    p.drawRect(corps);
    QPolygonF plaquette{pointe, pointe + QPointF(s * taille * 0.9, -taille * 0.25),
                        pointe + QPointF(s * taille * 0.75, -taille * 0.9), pointe + QPointF(s * taille * 0.1, -taille * 0.7)};
    QLinearGradient g(plaquette.boundingRect().topLeft(), plaquette.boundingRect().bottomRight());
    g.setColorAt(0, QColor(230, 190, 80));
    g.setColorAt(1, QColor(150, 110, 30));
    p.setBrush(g);
    p.drawPolygon(plaquette);
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(plaquette.boundingRect().center(), taille * 0.1, taille * 0.1);
}

QImage reglageTour(Prise prise, const Piece& piece, int largeur, int hauteur, quint32 graine)
{
    QImage image = toile(largeur, hauteur);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    fondInterieur(p, QRectF(0, 0, largeur, hauteur), QColor(76, 80, 86), graine);
    const double L = std::max(1.0, piece.longueur());
    const double D = std::max(1.0, piece.diametreMax());
    Tour t{};
    t.cy = hauteur * 0.52;
    switch (prise) {
    case Prise::PrefZ: {
        // Close-up on the end face and the tool touching it.
        t.echelle = std::min(hauteur * 0.62 / D, largeur * 0.5 / L * 2.2);
        const double xFace = largeur * 0.56;
        t.xMors = xFace - L * t.echelle;
        dessinerTournee(p, piece, t.xMors, t.cy, t.echelle);
        const double rFace = piece.troncons.last().diametre / 2 * t.echelle;
        const double e = rFace * 0.24;
        const QPointF contact(xFace + e * 0.55, t.cy - rFace * 0.55);
        outilTour(p, contact, std::min(largeur, hauteur) * 0.12, true);
        // A cigarette paper held between tool and face: the setter's feeler.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 250, 245, 220));
        p.drawRect(QRectF(contact.x() - 1.5, contact.y() - hauteur * 0.16, 3, hauteur * 0.2));
        annotation(p, QPointF(largeur * 0.8, hauteur * 0.82), contact + QPointF(2, 4),
                   largeur < 200 ? QStringLiteral("Z0") : QStringLiteral("Z0 face pièce"), largeur / 640.0);
        break;
    }
    case Prise::Inst: {
        t.echelle = std::min(largeur * 0.42 / L, hauteur * 0.3 / D);
        t.xMors = largeur * 0.3;
        mandrin(p, piece, t, hauteur * 0.8);
        dessinerTournee(p, piece, t.xMors - piece.troncons.first().longueur * t.echelle * 0.6, t.cy, t.echelle);
        mors(p, piece, t);
        const double xFin = t.xMors + (L - piece.troncons.first().longueur * 0.6) * t.echelle;
        const double rFin = piece.troncons.last().diametre / 2 * t.echelle;
        // Turret above, tool near the end of the part.
        const QPointF ct(largeur * 0.82, hauteur * 0.08);
        QRadialGradient gt(ct, hauteur * 0.3);
        gt.setColorAt(0, QColor(185, 188, 192));
        gt.setColorAt(1, QColor(70, 72, 78));
        p.setPen(QPen(QColor(25, 25, 28), 1));
        p.setBrush(gt);
        p.drawEllipse(ct, hauteur * 0.3, hauteur * 0.3);
        outilTour(p, QPointF(xFin + 6, t.cy - rFin - 3), std::min(largeur, hauteur) * 0.09, true);
        copeaux(p, QRectF(largeur * 0.3, hauteur * 0.8, largeur * 0.5, hauteur * 0.15), piece.couleur, graine);
        p.setPen(QPen(QColor(30, 90, 170), std::max(2.0, largeur * 0.012), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(largeur * 0.6, 0), QPointF(xFin - 4, t.cy - rFin - hauteur * 0.08));
        QColor jet(200, 220, 240, 90);
        p.setPen(QPen(jet, 3));
        p.drawLine(QPointF(xFin - 4, t.cy - rFin - hauteur * 0.08), QPointF(xFin, t.cy - rFin));
        break;
    }
    default: {
        // The part in the chuck, seen from the operator's side.
        t.echelle = std::min(largeur * 0.62 / L, hauteur * 0.3 / D);
        t.xMors = largeur * 0.26;
        mandrin(p, piece, t, hauteur);
        dessinerTournee(p, piece, t.xMors - piece.troncons.first().longueur * t.echelle * 0.6, t.cy, t.echelle);
        mors(p, piece, t);
        break;
    }
    }
    p.end();
    finitionPhoto(image, graine);
    return image;
}

// ---------------------------------------------------------------------------
// Milling set-ups: oblique view of the table.

struct Scene {
    Vue3d v;
    double a = 0, b = 0, ep = 0;  // plan extent and height of the part
};

// Plan extent of the part as it lies: length along x, width along y, height.
void etendue(const Piece& piece, double& a, double& b, double& ep)
{
    if (piece.forme == Piece::Tournee) {
        a = piece.longueur();
        b = piece.diametreMax();
        ep = b;
    } else {
        a = piece.encombrement().width();
        b = piece.encombrement().height();
        ep = piece.epaisseur;
    }
}

// The part enlarged: a small part would be lost in a vice or under the clamps,
// so the set-up pictures show it as a close-up would.
Piece agrandie(const Piece& piece, double f)
{
    Piece g = piece;
    for (Troncon& t : g.troncons) {
        t.longueur *= f;
        t.diametre *= f;
    }
    g.alesage *= f;
    const QTransform t = QTransform::fromScale(f, f);
    g.contour = t.map(piece.contour);
    g.poche = t.map(piece.poche);
    for (QPainterPath& trou : g.trous)
        trou = t.map(trou);
    g.epaisseur *= f;
    g.profondeurPoche *= f;
    return g;
}

void poserPiece(QPainter& p, const Piece& piece, const Vue3d& v, double x, double y, double z)
{
    if (piece.forme == Piece::Plate) {
        const QRectF e = piece.encombrement();
        dessinerPlate(p, piece, v, x - e.left(), y - e.top(), z);
        return;
    }
    // A turned part lying along x: drawn side-on along the x direction.
    const double d = piece.diametreMax();
    const QPointF debut = v.point(x, y + d / 2, z + d / 2);
    const QPointF fin = v.point(x + 1, y + d / 2, z + d / 2);
    const double angle = std::atan2(fin.y() - debut.y(), fin.x() - debut.x());
    const double s = std::hypot(fin.x() - debut.x(), fin.y() - debut.y());
    p.save();
    p.translate(debut);
    p.rotate(angle * 180 / M_PI);
    dessinerTournee(p, piece, 0, 0, s);
    p.restore();
}

void etauArriere(QPainter& p, const Scene& s, double zMors)
{
    const QColor bleu(56, 82, 140);
    boite(p, s.v, -60, -110, 0, s.a + 120, s.b + 230, 60, bleu);
    boite(p, s.v, -40, -50, 60, s.a + 80, 50, zMors - 60, bleu.lighter(108));
    boite(p, s.v, -40, -12, 60, s.a + 80, 12, zMors - 60, QColor(160, 164, 170));
}

void etauAvant(QPainter& p, const Scene& s, double zMors, bool morsDoux)
{
    const QColor bleu(56, 82, 140);
    const QColor mors = morsDoux ? QColor(205, 210, 216) : QColor(160, 164, 170);
    boite(p, s.v, -40, s.b, 60, s.a + 80, 12, zMors - 60, mors);
    boite(p, s.v, -40, s.b + 12, 60, s.a + 80, 50, zMors - 60, bleu.lighter(108));
    // Screw and handle.
    const QPointF vis = s.v.point(s.a / 2, s.b + 62, 85);
    const QPointF bout = s.v.point(s.a / 2, s.b + 150, 85);
    p.setPen(QPen(QColor(150, 154, 160), std::max(3.0, s.v.echelle * 18), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(vis, bout);
    p.setPen(QPen(QColor(40, 42, 46), std::max(2.0, s.v.echelle * 10), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(bout + QPointF(-s.v.echelle * 60, -s.v.echelle * 8), bout + QPointF(s.v.echelle * 60, s.v.echelle * 8));
}

void broche(QPainter& p, const Scene& s, double x, double y, double zBas, int outil)
{
    // outil: 0 end mill, 1 edge finder, 2 probe with a ruby ball.
    const QPointF bas = s.v.point(x, y, zBas);
    const double e = s.v.echelle;
    double yc = bas.y();
    if (outil == 0) {
        const double r = 8 * e;
        const double l = 45 * e;
        cylindreV(p, bas.x(), yc - l, yc, r, QColor(160, 164, 172), false);
        p.setPen(QPen(QColor(60, 62, 70), std::max(0.8, e * 2)));
        for (double k = -0.6; k <= 0.6; k += 0.4)
            p.drawLine(QPointF(bas.x() + k * r, yc - l * 0.9), QPointF(bas.x() + (k + 0.5) * r, yc - l * 0.15));
        yc -= l;
    } else if (outil == 1) {
        cylindreV(p, bas.x(), yc - 14 * e, yc, 5 * e, QColor(200, 200, 205), false);
        cylindreV(p, bas.x(), yc - 60 * e, yc - 14 * e, 5 * e, QColor(185, 188, 194), false);
        yc -= 60 * e;
    } else {
        QRadialGradient g(QPointF(bas.x() - 2 * e, yc - 6 * e), 6 * e);
        g.setColorAt(0, QColor(255, 120, 130));
        g.setColorAt(1, QColor(150, 10, 30));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        cylindreV(p, bas.x(), yc - 55 * e, yc - 4 * e, 1.6 * e, QColor(200, 200, 205), false);
        p.setBrush(g);
        p.drawEllipse(QPointF(bas.x(), yc - 4 * e), 4.5 * e, 4.5 * e);
        cylindreV(p, bas.x(), yc - 95 * e, yc - 55 * e, 12 * e, QColor(150, 154, 160), false);
        yc -= 95 * e;
    }
    // Holder, spindle nose and the head up to the top of the picture.
    cylindreV(p, bas.x(), yc - 40 * e, yc, 18 * e, QColor(80, 84, 92), false);
    cylindreV(p, bas.x(), yc - 70 * e, yc - 40 * e, 32 * e, QColor(120, 124, 132), false);
    const double haut = -10;
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(degradeMetal(QPointF(bas.x() - 60 * e, 0), QPointF(bas.x() + 60 * e, 0), QColor(84, 90, 98)));
    p.drawRect(QRectF(bas.x() - 60 * e, haut, 120 * e, yc - 70 * e - haut));
}

void cale(QPainter& p, const Scene& s, double x, double y, double z)
{
    boite(p, s.v, x, y, z, 35, 9, 25, QColor(215, 218, 224));
}

// A strap clamp holding the part's edge at xBord: sens -1 reaches it from the
// far side, +1 from the near side. The step block is drawn first (avant false),
// the strap, stud and nut over the part (avant true).
void bride(QPainter& p, const Scene& s, double xBord, double y, double zDessus, int sens, bool avant)
{
    const double longueur = std::clamp(s.a * 0.7, 70.0, 140.0);
    const double recouvrement = std::min(18.0, s.a * 0.15);
    const double xDebut = sens < 0 ? xBord - longueur + recouvrement : xBord - recouvrement;
    const double xCale = sens < 0 ? xDebut : xDebut + longueur - 34;
    const bool caleDerriere = sens < 0;
    if (!avant) {
        if (caleDerriere)
            boite(p, s.v, xCale, y - 14, 0, 34, 28, zDessus, QColor(60, 62, 66));
        return;
    }
    if (!caleDerriere)
        boite(p, s.v, xCale, y - 14, 0, 34, 28, zDessus, QColor(60, 62, 66));
    boite(p, s.v, xDebut, y - 12, zDessus, longueur, 24, 12, QColor(72, 74, 78));
    const double xGoujon = sens < 0 ? xBord - longueur * 0.4 : xBord + longueur * 0.4 - recouvrement;
    const QPointF goujon = s.v.point(xGoujon, y, zDessus + 12);
    const double e = s.v.echelle;
    cylindreV(p, goujon.x(), goujon.y() - 32 * e, goujon.y(), 5 * e, QColor(150, 152, 156));
    boite(p, s.v, xGoujon - 9, y - 9, zDessus + 12, 18, 18, 9, QColor(180, 150, 60));
}

QImage reglageFraisage(Prise prise, const Piece& pieceDonnee, int largeur, int hauteur, quint32 graine)
{
    Piece piece = pieceDonnee;
    if (prise == Prise::Mont2 && piece.forme == Piece::Plate) {
        // Second set-up: the part turned a quarter round in soft jaws.
        QTransform q;
        q.rotate(90);
        piece.contour = q.map(piece.contour);
        piece.poche = QPainterPath();
        for (QPainterPath& t : piece.trous)
            t = q.map(t);
    }
    QImage image = toile(largeur, hauteur);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    fondInterieur(p, QRectF(0, 0, largeur, hauteur), QColor(78, 82, 88), graine);

    Scene s{};
    etendue(piece, s.a, s.b, s.ep);
    if (std::max(s.a, s.b) < 110) {
        piece = agrandie(piece, 110 / std::max(s.a, s.b));
        etendue(piece, s.a, s.b, s.ep);
    }
    const bool surTable = prise == Prise::Bride;
    double recul = 1.0;
    if (surTable)
        recul = 0.75;
    else if (prise == Prise::Inst)
        recul = 1.7;
    else if (prise == Prise::PrefX || prise == Prise::PrefY || prise == Prise::PrefZ)
        recul = 0.8;
    const double etendueX = (s.a + 160) * std::cos(0.42) + (s.b + 260) * std::cos(0.68) * 0.78;
    s.v.echelle = largeur * 0.78 / etendueX / recul;
    s.v.origine = QPointF(0, 0);
    const double zMors = 110;
    // A flat part stands on parallels just above the jaws; a turned part lies
    // with its axis a little above them.
    double zPiece = std::max(62.0, zMors + 12 - s.ep);
    if (surTable)
        zPiece = 30;
    else if (piece.forme == Piece::Tournee)
        zPiece = std::max(62.0, zMors - s.ep * 0.15);
    const QPointF centre = s.v.point(s.a / 2, s.b / 2, zPiece + s.ep / 2);
    const double hautVise = prise == Prise::Inst || prise == Prise::PrefZ ? 0.6 : 0.55;
    s.v.origine = QPointF(largeur / 2.0 - centre.x(), hauteur * hautVise - centre.y());

    tableRainuree(p, s.v, -600, -500, s.a + 1200, s.b + 1000, 80, std::max(3, static_cast<int>((s.b + 1000) / 130)));
    if (surTable) {
        boite(p, s.v, s.a * 0.2, s.b * 0.15, 0, s.a * 0.6, s.b * 0.15, 30, QColor(205, 208, 214));
        boite(p, s.v, s.a * 0.2, s.b * 0.7, 0, s.a * 0.6, s.b * 0.15, 30, QColor(205, 208, 214));
        bride(p, s, 0, s.b / 2, zPiece + s.ep, -1, false);
        poserPiece(p, piece, s.v, 0, 0, zPiece);
        bride(p, s, 0, s.b / 2, zPiece + s.ep, -1, true);
        bride(p, s, s.a, s.b / 2, zPiece + s.ep, +1, true);
        annotation(p, QPointF(largeur * 0.78, hauteur * 0.14), s.v.point(s.a + 12, s.b / 2, zPiece + s.ep + 16),
                   QStringLiteral("Bridage"), largeur / 640.0);
    } else {
        etauArriere(p, s, zMors);
        if (prise == Prise::Butee)
            boite(p, s.v, -38, -40, zMors, 26, 40, 40, QColor(200, 120, 40));
        // Parallels under a flat part.
        if (piece.forme == Piece::Plate)
            boite(p, s.v, 0, 2, 60, s.a, 10, zPiece - 60, QColor(210, 212, 218));
        poserPiece(p, piece, s.v, 0, 0, zPiece);
        etauAvant(p, s, zMors, prise == Prise::Mont2);
        const double zHaut = zPiece + s.ep;
        const double echelleTexte = largeur / 640.0;
        switch (prise) {
        case Prise::Butee:
            annotation(p, QPointF(largeur * 0.22, hauteur * 0.14), s.v.point(-25, -20, zMors + 40),
                       QStringLiteral("Butée"), echelleTexte);
            break;
        case Prise::PrefX:
            broche(p, s, s.a + 5, s.b / 2, zHaut - 10, 1);
            annotation(p, QPointF(largeur * 0.82, hauteur * 0.86), s.v.point(s.a, s.b / 2, zHaut - 5),
                       QStringLiteral("X0"), echelleTexte);
            break;
        case Prise::PrefY:
            broche(p, s, s.a / 2, s.b + 5, zHaut - 6, 2);
            annotation(p, QPointF(largeur * 0.2, hauteur * 0.86), s.v.point(s.a / 2, s.b, zHaut - 4),
                       QStringLiteral("Y0"), echelleTexte);
            break;
        case Prise::PrefZ: {
            cale(p, s, s.a * 0.4, s.b * 0.4, zHaut);
            broche(p, s, s.a * 0.4 + 17, s.b * 0.4 + 4, zHaut + 25, 0);
            annotation(p, QPointF(largeur * 0.8, hauteur * 0.85), s.v.point(s.a * 0.4 + 35, s.b * 0.4 + 4, zHaut + 20),
                       QStringLiteral("Z0 + cale 25"), echelleTexte);
            break;
        }
        case Prise::Inst:
            broche(p, s, s.a * 0.3, s.b / 2, zHaut + 60, 0);
            copeaux(p, QRectF(largeur * 0.05, hauteur * 0.78, largeur * 0.4, hauteur * 0.15), piece.couleur, graine);
            break;
        default:
            break;
        }
    }
    p.end();
    finitionPhoto(image, graine);
    return image;
}

}  // namespace

QImage photoPiece(const Piece& piece, int largeur, int hauteur, quint32 graine)
{
    QImage image = toile(largeur, hauteur);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Backdrop: a light sweep, as on the inspection table.
    QLinearGradient g(0, 0, 0, hauteur);
    g.setColorAt(0, QColor(214, 220, 226));
    g.setColorAt(0.62, QColor(186, 192, 200));
    g.setColorAt(1, QColor(150, 156, 164));
    p.fillRect(image.rect(), g);
    const double w = largeur * 0.84;
    const double h = hauteur * (largeur > 120 ? 0.68 : 0.8);
    const QRectF place((largeur - w) / 2, hauteur * 0.06, w, h);
    ombre(p, QRectF(place.left() + w * 0.08, place.bottom() - h * 0.18, w * 0.9, h * 0.3), 0.5);
    const QImage sprite = vignettePiece(piece, static_cast<int>(w), static_cast<int>(h));
    p.drawImage(place.topLeft(), sprite);
    if (largeur > 120)
        regle(p, QPointF(largeur * 0.12, hauteur * 0.86), largeur * 0.76, hauteur * 0.06);
    p.end();
    finitionPhoto(image, graine, largeur > 120 ? 2.0 : 1.0, 0.25);
    return image;
}

QImage photoReglage(Prise prise, const Piece& piece, bool tournage, int largeur, int hauteur, quint32 graine)
{
    if (tournage && piece.forme == Piece::Tournee)
        return reglageTour(prise, piece, largeur, hauteur, graine);
    return reglageFraisage(prise, piece, largeur, hauteur, graine);
}

}  // namespace demo
