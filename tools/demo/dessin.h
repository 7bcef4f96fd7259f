#pragma once
// Drawing primitives shared by every picture of the demo: a repeatable random
// source, the "photograph" finish (grain, vignetting), shaded metal, the
// oblique projection used for milling set-ups, and the parts themselves.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <QVector>

namespace demo {

class Hasard {
public:
    explicit Hasard(quint32 graine) : m_etat(graine * 2654435761u + 12345u) {}
    quint32 brut();
    double uniforme(double a, double b);
    int entier(int a, int b);  // a..b inclusive
private:
    quint32 m_etat;
};

// A blank opaque picture.
QImage toile(int largeur, int hauteur, QColor fond = QColor(128, 128, 128));

// What makes a drawing look like a workshop snapshot: a little grain, a
// slightly warm tint and darker corners.
void finitionPhoto(QImage& image, quint32 graine, double grain = 2.5, double vignette = 0.35);

// Wall and floor of a workshop, horizon at the given fraction of the height.
void fondAtelier(QPainter& p, const QRectF& r, double horizon, QColor mur, QColor sol, quint32 graine);

// Dark interior of a machine enclosure (sheet metal, coolant stains).
void fondInterieur(QPainter& p, const QRectF& r, QColor teinte, quint32 graine);

// Shaded metal across a direction: dark edge, highlight, body, dark edge.
QLinearGradient degradeMetal(QPointF a, QPointF b, QColor base);

// A soft elliptic shadow on the floor.
void ombre(QPainter& p, const QRectF& r, double opacite = 0.45);

// A red arrow with a yellow label, as the setters draw on their photographs.
void annotation(QPainter& p, QPointF depuis, QPointF vers, const QString& texte, double echelle = 1.0);

// A cylinder seen from the side, axis horizontal, right face visible.
void cylindreH(QPainter& p, double x0, double x1, double cy, double rayon, QColor base,
               bool faceDroite = true, double alesage = 0.0);
// A cylinder seen slightly from above, axis vertical, bottom rounded.
void cylindreV(QPainter& p, double cx, double y0, double y1, double rayon, QColor base,
               bool dessusVisible = true);

// ---------------------------------------------------------------------------
// Oblique view of milling set-ups: plan coordinates in millimetres (x to the
// right-front, y to the left-front, z up) mapped to the picture.
struct Vue3d {
    QPointF origine;  // where (0, 0, 0) falls in the picture
    double echelle;   // pixels per millimetre
    QPointF point(double x, double y, double z) const;
    QTransform plan(double z) const;  // the plane at height z
};

// The view that fits the box (x0, y0, z0)-(x1, y1, z1) into the target.
Vue3d cadrerVue(double x0, double y0, double z0, double x1, double y1, double z1, const QRectF& cible);

// A box with its three visible faces shaded.
void boite(QPainter& p, const Vue3d& v, double x, double y, double z, double dx, double dy, double dz,
           QColor couleur);
// A machine table with T-slots along x.
void tableRainuree(QPainter& p, const Vue3d& v, double x, double y, double dx, double dy, double epaisseur,
                   int rainures);

// ---------------------------------------------------------------------------
// Parts.
struct Troncon {
    double longueur;
    double diametre;
    bool filete = false;
    bool tolere = false;  // fitting diameter, toleranced on the drawing
};

struct Piece {
    enum Forme { Tournee, Plate };
    Forme forme = Tournee;
    QColor couleur;
    // Turned part: sections from left to right, optional bore.
    QVector<Troncon> troncons;
    double alesage = 0.0;
    // Flat part: outline in plan (mm), thickness, through holes, one pocket.
    QPainterPath contour;
    double epaisseur = 0.0;
    QVector<QPainterPath> trous;
    QPainterPath poche;
    double profondeurPoche = 0.0;

    double longueur() const;  // overall length of a turned part
    double diametreMax() const;
    QRectF encombrement() const;  // plan extent of a flat part
};

// A turned part drawn side-on, axis horizontal through cy, left end at x0.
void dessinerTournee(QPainter& p, const Piece& piece, double x0, double cy, double echelle);
// A flat part in the oblique view, lying at height z, placed at (x, y).
void dessinerPlate(QPainter& p, const Piece& piece, const Vue3d& v, double x, double y, double z);

// The part alone on a transparent background, fitted to the size.
QImage vignettePiece(const Piece& piece, int largeur, int hauteur);

// Colours of the materials of the demo.
QColor couleurMatiere(const QString& matiere);

}  // namespace demo
