// Pictures delivered with the program: the two gauge diagrams, the logo, the
// "no picture" placeholder, the splash picture and the window icon.
#include "images.h"

#include <cmath>

namespace demo {

namespace {

const QColor kEncre(20, 40, 90);
const QColor kCote(190, 30, 30);

void fleche(QPainter& p, QPointF a, QPointF b, double taille = 7)
{
    p.drawLine(a, b);
    const double ang = std::atan2(b.y() - a.y(), b.x() - a.x());
    QPolygonF pointe{b, b - QPointF(taille * std::cos(ang - 0.35), taille * std::sin(ang - 0.35)),
                     b - QPointF(taille * std::cos(ang + 0.35), taille * std::sin(ang + 0.35))};
    p.save();
    p.setBrush(p.pen().color());
    p.drawPolygon(pointe);
    p.restore();
}

// A dimension line with arrows at both ends and its label.
void cote(QPainter& p, QPointF a, QPointF b, const QString& texte, QPointF decalageTexte)
{
    p.setPen(QPen(kCote, 1.4));
    fleche(p, (a + b) / 2, a);
    fleche(p, (a + b) / 2, b);
    p.setFont(police(17, true));
    p.drawText(QRectF((a + b) / 2 + decalageTexte - QPointF(20, 12), QSizeF(40, 24)), Qt::AlignCenter, texte);
}

void papier(QPainter& p, int largeur, int hauteur, const QString& titre)
{
    p.fillRect(QRect(0, 0, largeur, hauteur), QColor(252, 252, 248));
    p.setPen(QPen(QColor(225, 232, 240), 1));
    for (int x = 0; x < largeur; x += 20)
        p.drawLine(x, 0, x, hauteur);
    for (int y = 0; y < hauteur; y += 20)
        p.drawLine(0, y, largeur, y);
    p.setPen(QPen(kEncre, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 3, largeur - 6, hauteur - 6));
    p.fillRect(QRectF(3, 3, largeur - 6, 28), kEncre);
    p.setPen(Qt::white);
    p.setFont(police(15, true));
    p.drawText(QRectF(10, 3, largeur - 20, 28), Qt::AlignVCenter | Qt::AlignLeft, titre);
}

void legende(QPainter& p, QPointF coin, const QStringList& lignes, double interligne = 17)
{
    p.setFont(police(12.5));
    for (int i = 0; i < lignes.size(); ++i) {
        const QString& l = lignes[i];
        const int deuxPoints = static_cast<int>(l.indexOf(QLatin1Char(':')));
        p.setPen(kCote);
        p.setFont(police(12.5, true));
        const QString lettre = l.left(deuxPoints + 1);
        p.drawText(coin + QPointF(0, i * interligne), lettre);
        p.setPen(kEncre);
        p.setFont(police(12.5));
        p.drawText(coin + QPointF(QFontMetricsF(police(12.5, true)).horizontalAdvance(lettre) + 4, i * interligne),
                   l.mid(deuxPoints + 1).trimmed());
    }
}

void hachures(QPainter& p, const QRectF& r)
{
    p.save();
    p.setClipRect(r);
    p.setPen(QPen(kEncre, 0.8));
    for (double x = r.left() - r.height(); x < r.right(); x += 6)
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
    p.restore();
    p.setPen(QPen(kEncre, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

}  // namespace

QImage schemaTournage(int largeur, int hauteur)
{
    QImage image = toile(largeur, hauteur);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    papier(p, largeur, hauteur, QStringLiteral("Jauge outil de tournage"));
    const double k = largeur / 480.0;
    p.scale(k, hauteur / 360.0);

    // Tool holder clamped in the turret, reference point on the turret face.
    const QPointF ref(330, 80);
    const QPointF pointe(150, 200);
    p.setPen(QPen(kEncre, 1.6));
    hachures(p, QRectF(300, 45, 60, 70));
    p.setBrush(QColor(190, 200, 218));
    p.drawRect(QRectF(286, 115, 34, 70));
    p.setBrush(QColor(215, 222, 235));
    QPolygonF corps{QPointF(286, 150), QPointF(286, 178), QPointF(178, 178), QPointF(178, 150)};
    p.drawPolygon(corps);
    QPolygonF plaquette{pointe, QPointF(196, 184), QPointF(206, 150), QPointF(168, 150)};
    p.setBrush(QColor(235, 200, 90));
    p.drawPolygon(plaquette);
    p.setBrush(Qt::NoBrush);
    // Reference point.
    p.setPen(QPen(kCote, 1.5));
    p.drawEllipse(ref, 6, 6);
    p.drawLine(ref - QPointF(10, 0), ref + QPointF(10, 0));
    p.drawLine(ref - QPointF(0, 10), ref + QPointF(0, 10));
    p.setFont(police(11));
    p.setPen(kEncre);
    p.drawText(QPointF(366, 76), QStringLiteral("Point de"));
    p.drawText(QPointF(366, 90), QStringLiteral("référence"));
    // Extension lines and the X and Z dimensions.
    p.setPen(QPen(kEncre, 0.8, Qt::DashLine));
    p.drawLine(ref, QPointF(ref.x(), 240));
    p.drawLine(pointe, QPointF(pointe.x(), 240));
    p.drawLine(ref, QPointF(110, ref.y()));
    p.drawLine(pointe, QPointF(110, pointe.y()));
    cote(p, QPointF(pointe.x(), 232), QPointF(ref.x(), 232), QStringLiteral("Z"), QPointF(0, 14));
    cote(p, QPointF(118, ref.y()), QPointF(118, pointe.y()), QStringLiteral("X"), QPointF(-16, 0));

    // Detail of the nose: radius R.
    const QPointF loupe(70, 290);
    p.setPen(QPen(kEncre, 1, Qt::DotLine));
    p.drawLine(pointe, loupe + QPointF(30, -30));
    p.setPen(QPen(kEncre, 1.4));
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(loupe, 42, 42);
    p.setBrush(QColor(235, 200, 90));
    QPainterPath nez;
    nez.moveTo(loupe + QPointF(-34, 24));
    nez.lineTo(loupe + QPointF(-8, -6));
    nez.arcTo(QRectF(loupe + QPointF(-8, -26), QSizeF(28, 28)), 200, -110);
    nez.lineTo(loupe + QPointF(30, -30));
    nez.lineTo(loupe + QPointF(36, 20));
    nez.closeSubpath();
    p.save();
    QPainterPath disque;
    disque.addEllipse(loupe, 41, 41);
    p.setClipPath(disque);
    p.drawPath(nez);
    p.restore();
    p.setPen(QPen(kCote, 1.3));
    fleche(p, loupe + QPointF(6, -12), loupe + QPointF(-7, -4), 6);
    p.setFont(police(15, true));
    p.drawText(loupe + QPointF(8, -2), QStringLiteral("R"));

    // Orientation of the cutting edge: code C around the theoretical tip.
    const QPointF rose(385, 205);
    p.setPen(QPen(kEncre, 1.2));
    p.setBrush(QColor(240, 244, 250));
    p.drawEllipse(rose, 48, 48);
    p.setPen(QPen(kEncre, 0.8, Qt::DashLine));
    p.drawLine(rose - QPointF(44, 0), rose + QPointF(44, 0));
    p.drawLine(rose - QPointF(0, 44), rose + QPointF(0, 44));
    p.setPen(kEncre);
    p.setFont(police(12, true));
    for (int i = 1; i <= 8; ++i) {
        const double a = (i - 1) * M_PI / 4 + M_PI / 4;
        const QPointF c = rose + QPointF(std::cos(a), std::sin(a)) * 34;
        if (i == 3) {
            p.setPen(kCote);
            p.setBrush(QColor(255, 225, 220));
            p.drawEllipse(c, 9, 9);
            p.setBrush(Qt::NoBrush);
        }
        p.drawText(QRectF(c - QPointF(9, 9), QSizeF(18, 18)), Qt::AlignCenter, QString::number(i));
        p.setPen(kEncre);
    }
    p.drawText(QRectF(rose - QPointF(9, 9), QSizeF(18, 18)), Qt::AlignCenter, QStringLiteral("0"));
    p.setFont(police(11));
    p.drawText(QRectF(rose.x() - 60, rose.y() + 50, 120, 16), Qt::AlignCenter, QStringLiteral("Code C (arête)"));

    // Axes.
    p.setPen(QPen(kEncre, 1.4));
    fleche(p, QPointF(30, 150), QPointF(30, 105));
    fleche(p, QPointF(30, 150), QPointF(75, 150));
    p.setFont(police(12, true));
    p.drawText(QPointF(20, 100), QStringLiteral("X"));
    p.drawText(QPointF(78, 155), QStringLiteral("Z"));

    legende(p, QPointF(150, 276),
            {QStringLiteral("D : numéro du correcteur"), QStringLiteral("X, Z : longueurs d'outil (mm)"),
             QStringLiteral("R : rayon de bec (mm)"), QStringLiteral("C : orientation de l'arête (0 à 8)")});
    p.setPen(kEncre);
    p.setFont(police(12, true, true));
    p.drawText(QPointF(150, 348), QStringLiteral("Ex. : D1 X-12.5 Z40 R0.8 C3"));
    return image;
}

QImage schemaFraisage(int largeur, int hauteur)
{
    QImage image = toile(largeur, hauteur);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    papier(p, largeur, hauteur, QStringLiteral("Jauge outil de fraisage"));
    p.scale(largeur / 480.0, hauteur / 360.0);

    const double axe = 170;
    const double nez = 80;
    const double bout = 300;
    // Spindle (hatched) and its nose: the gauge reference.
    hachures(p, QRectF(axe - 70, 38, 140, nez - 38));
    p.setPen(QPen(kCote, 1.2, Qt::DashDotLine));
    p.drawLine(QPointF(40, nez), QPointF(330, nez));
    p.setPen(kEncre);
    p.setFont(police(11));
    p.drawText(QPointF(250, nez - 8), QStringLiteral("Nez de broche"));
    p.drawText(QPointF(250, nez + 14), QStringLiteral("(référence)"));
    // Holder: taper, flange, collet nut.
    p.setPen(QPen(kEncre, 1.6));
    p.setBrush(QColor(215, 222, 235));
    p.drawPolygon(QPolygonF{QPointF(axe - 40, nez), QPointF(axe + 40, nez), QPointF(axe + 30, nez + 40),
                            QPointF(axe - 30, nez + 40)});
    p.drawRect(QRectF(axe - 26, nez + 40, 52, 50));
    p.drawPolygon(QPolygonF{QPointF(axe - 26, nez + 90), QPointF(axe + 26, nez + 90), QPointF(axe + 20, nez + 110),
                            QPointF(axe - 20, nez + 110)});
    // End mill with corner radii.
    const double r = 22;
    QPainterPath fraise;
    fraise.moveTo(axe - r, nez + 110);
    fraise.lineTo(axe - r, bout - 8);
    fraise.quadTo(axe - r, bout, axe - r + 8, bout);
    fraise.lineTo(axe + r - 8, bout);
    fraise.quadTo(axe + r, bout, axe + r, bout - 8);
    fraise.lineTo(axe + r, nez + 110);
    fraise.closeSubpath();
    p.setBrush(QColor(200, 206, 214));
    p.drawPath(fraise);
    p.setPen(QPen(kEncre, 0.9));
    for (double y = nez + 150; y < bout - 10; y += 22)
        p.drawLine(QPointF(axe - r, y + 12), QPointF(axe + r, y - 8));
    p.setPen(QPen(kEncre, 0.8, Qt::DashDotLine));
    p.drawLine(QPointF(axe, 30), QPointF(axe, bout + 20));
    // Dimensions: L from the nose to the tip, R from the axis to the edge.
    p.setPen(QPen(kEncre, 0.8, Qt::DashLine));
    p.drawLine(QPointF(axe + r, bout), QPointF(330, bout));
    cote(p, QPointF(310, nez), QPointF(310, bout), QStringLiteral("L"), QPointF(16, 0));
    cote(p, QPointF(axe, bout + 14), QPointF(axe - r, bout + 14), QStringLiteral("R"), QPointF(0, 14));

    // Axes.
    p.setPen(QPen(kEncre, 1.4));
    fleche(p, QPointF(40, 300), QPointF(40, 255));
    fleche(p, QPointF(40, 300), QPointF(85, 300));
    p.setFont(police(12, true));
    p.drawText(QPointF(30, 250), QStringLiteral("Z"));
    p.drawText(QPointF(88, 305), QStringLiteral("X"));

    legende(p, QPointF(340, 150),
            {QStringLiteral("D : correcteur"), QStringLiteral("L : longueur"), QStringLiteral("R : rayon")}, 20);
    p.setPen(kEncre);
    p.setFont(police(12, true, true));
    p.drawText(QPointF(300, 348), QStringLiteral("Ex. : D1 L120.5 R5"));
    return image;
}

namespace {

void symboleMandrin(QPainter& p, QPointF c, double r, QColor couleur)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath anneau;
    anneau.addEllipse(c, r, r);
    anneau.addEllipse(c, r * 0.36, r * 0.36);
    p.setPen(Qt::NoPen);
    p.setBrush(couleur);
    p.drawPath(anneau);
    // Three jaws.
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(c);
        p.rotate(90 + i * 120);
        p.setBrush(couleur.darker(170));
        p.drawRect(QRectF(r * 0.42, -r * 0.14, r * 0.46, r * 0.28));
        p.restore();
    }
    p.restore();
}

}  // namespace

QImage logo(int largeur, int hauteur)
{
    QImage image = toile(largeur, hauteur);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, largeur, hauteur);
    g.setColorAt(0, QColor(18, 44, 86));
    g.setColorAt(1, QColor(10, 22, 44));
    p.fillRect(image.rect(), g);
    // Faint drawing grid.
    p.setPen(QPen(QColor(255, 255, 255, 18), 1));
    for (int x = 0; x < largeur; x += 12)
        p.drawLine(x, 0, x, hauteur);
    for (int y = 0; y < hauteur; y += 12)
        p.drawLine(0, y, largeur, y);
    symboleMandrin(p, QPointF(hauteur * 0.55, hauteur * 0.5), hauteur * 0.36, QColor(210, 216, 226));
    QFont f = police(hauteur * 0.46, true);
    f.setLetterSpacing(QFont::PercentageSpacing, 108);
    QPainterPath texte;
    texte.addText(QPointF(hauteur * 1.05, hauteur * 0.62), f, QStringLiteral("TARVEX"));
    QLinearGradient gt(0, hauteur * 0.25, 0, hauteur * 0.65);
    gt.setColorAt(0, QColor(250, 252, 255));
    gt.setColorAt(0.5, QColor(190, 200, 214));
    gt.setColorAt(1, QColor(235, 240, 248));
    p.setPen(Qt::NoPen);
    p.setBrush(gt);
    p.drawPath(texte);
    p.setPen(QColor(240, 170, 40));
    p.setFont(police(hauteur * 0.13));
    p.drawText(QPointF(hauteur * 1.08, hauteur * 0.84), QStringLiteral("Fiches de réglage d'usinage"));
    return image;
}

QImage pasDImage(int largeur, int hauteur)
{
    QImage image = toile(largeur, hauteur, QColor(226, 228, 232));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double k = std::min(largeur, hauteur) / 240.0;
    const QPointF c(largeur / 2.0, hauteur * 0.42);
    // Camera outline.
    p.setPen(QPen(QColor(140, 144, 152), 6 * k, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(c.x() - 60 * k, c.y() - 36 * k, 120 * k, 78 * k), 10 * k, 10 * k);
    p.drawRect(QRectF(c.x() - 22 * k, c.y() - 50 * k, 44 * k, 14 * k));
    p.drawEllipse(c + QPointF(0, 3 * k), 24 * k, 24 * k);
    p.setPen(QPen(QColor(200, 50, 45), 7 * k, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-75 * k, -60 * k), c + QPointF(75 * k, 60 * k));
    p.setPen(QColor(90, 94, 102));
    p.setFont(police(20 * k, true));
    p.drawText(QRectF(0, hauteur * 0.76, largeur, hauteur * 0.16), Qt::AlignCenter, QStringLiteral("Pas d'image"));
    return image;
}

QImage ecranDemarrage(int largeur, int hauteur)
{
    QImage image = toile(largeur, hauteur);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double k = largeur / 480.0;
    fondInterieur(p, QRectF(0, 0, largeur, hauteur), QColor(40, 52, 70), 77);
    // Blueprint of a part in the background.
    p.setPen(QPen(QColor(120, 170, 230, 70), 1));
    for (int x = 0; x < largeur; x += 16)
        p.drawLine(x, 0, x, hauteur);
    for (int y = 0; y < hauteur; y += 16)
        p.drawLine(0, y, largeur, y);
    p.setPen(QPen(QColor(170, 210, 255, 120), 1.5 * k));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(300 * k, 150 * k, 140 * k, 80 * k));
    p.drawEllipse(QPointF(335 * k, 190 * k), 18 * k, 18 * k);
    p.drawEllipse(QPointF(405 * k, 190 * k), 18 * k, 18 * k);
    p.drawLine(QPointF(300 * k, 245 * k), QPointF(440 * k, 245 * k));
    // A chuck holding a bar, and the tool taking a cut.
    Piece barre;
    barre.couleur = QColor(165, 170, 178);
    barre.troncons = {{30, 60}, {40, 44}, {25, 30}};
    cylindreH(p, -40 * k, 60 * k, 200 * k, 95 * k, QColor(110, 114, 122));
    dessinerTournee(p, barre, 55 * k, 200 * k, 1.6 * k);
    p.setPen(QPen(QColor(25, 25, 28), 1));
    p.setBrush(degradeMetal(QPointF(0, 150 * k), QPointF(0, 168 * k), QColor(70, 74, 82)));
    p.drawRect(QRectF(238 * k, 150 * k, 80 * k, 18 * k));
    p.setBrush(QColor(230, 190, 80));
    p.drawPolygon(QPolygonF{QPointF(222 * k, 176 * k), QPointF(242 * k, 150 * k), QPointF(252 * k, 168 * k)});
    // Sparks and chips.
    Hasard h(5);
    for (int i = 0; i < 40; ++i) {
        const QPointF o(222 * k, 176 * k);
        const double a = h.uniforme(0.2, 1.6);
        const double l = h.uniforme(10, 60) * k;
        QColor c(255, h.entier(150, 230), 60, h.entier(120, 230));
        p.setPen(QPen(c, h.uniforme(0.6, 1.6) * k));
        p.drawLine(o, o + QPointF(std::cos(a) * l, std::sin(a) * l));
    }
    // Name and purpose.
    QPainterPath nom;
    nom.addText(QPointF(180 * k, 80 * k), police(64 * k, true), QStringLiteral("Tarvex"));
    p.setPen(QPen(QColor(0, 0, 0, 120), 6 * k));
    p.setBrush(Qt::NoBrush);
    p.drawPath(nom.translated(3 * k, 3 * k));
    QLinearGradient gn(0, 30 * k, 0, 84 * k);
    gn.setColorAt(0, QColor(255, 255, 255));
    gn.setColorAt(0.55, QColor(196, 206, 222));
    gn.setColorAt(1, QColor(240, 190, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(gn);
    p.drawPath(nom);
    p.setPen(QColor(235, 240, 248));
    p.setFont(police(14 * k));
    p.drawText(QPointF(184 * k, 108 * k), QStringLiteral("Fiches de réglage d'usinage"));
    p.drawText(QPointF(184 * k, 126 * k), QStringLiteral("et liaison PC - CN"));
    p.end();
    finitionPhoto(image, 78, 1.5, 0.3);
    return image;
}

QImage icone(int taille)
{
    QImage image(taille, taille, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double t = taille;
    QLinearGradient g(0, 0, t, t);
    g.setColorAt(0, QColor(40, 90, 160));
    g.setColorAt(1, QColor(14, 36, 74));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, t - 1, t - 1), t * 0.18, t * 0.18);
    if (taille >= 32)
        symboleMandrin(p, QPointF(t / 2, t / 2), t * 0.42, QColor(205, 212, 224));
    QFont f = police(t * (taille >= 32 ? 0.42 : 0.8), true);
    p.setFont(f);
    p.setPen(taille >= 32 ? QColor(240, 180, 50) : QColor(255, 255, 255));
    p.drawText(QRectF(0, 0, t, t * (taille >= 32 ? 1.0 : 1.02)), Qt::AlignCenter, QStringLiteral("T"));
    return image;
}

}  // namespace demo
