#include "plan.h"

#include "images.h"
#include "sortie.h"

#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>

#include <cmath>

namespace demo {

namespace {

constexpr int kResolution = 300;
double mm(double v) { return v * kResolution / 25.4; }
QPointF mm(double x, double y) { return QPointF(mm(x), mm(y)); }
QRectF mm(double x, double y, double w, double h) { return QRectF(mm(x), mm(y), mm(w), mm(h)); }

const QColor kTrait(0, 0, 0);

QPen trait(double epaisseur, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(kTrait, mm(epaisseur), style, Qt::FlatCap, Qt::MiterJoin);
    return pen;
}

void texte(QPainter& p, QPointF ou, const QString& t, double hauteurMm, bool gras = false)
{
    p.setFont(police(mm(hauteurMm), gras));
    p.setPen(kTrait);
    p.drawText(ou, t);
}

void texteDans(QPainter& p, const QRectF& r, const QString& t, double hauteurMm, bool gras = false,
               int alignement = Qt::AlignCenter)
{
    p.setFont(police(mm(hauteurMm), gras));
    p.setPen(kTrait);
    p.drawText(r, alignement, t);
}

void pointeFleche(QPainter& p, QPointF a, QPointF b)
{
    const double ang = std::atan2(b.y() - a.y(), b.x() - a.x());
    const double l = mm(2.5);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kTrait);
    p.drawPolygon(QPolygonF{b, b - QPointF(l * std::cos(ang - 0.28), l * std::sin(ang - 0.28)),
                            b - QPointF(l * std::cos(ang + 0.28), l * std::sin(ang + 0.28))});
    p.restore();
}

// A dimension between two points, with its extension lines and value.
void coteH(QPainter& p, QPointF a, QPointF b, double y, const QString& valeur)
{
    p.setPen(trait(0.18));
    p.drawLine(a, QPointF(a.x(), y + mm(1.5) * (y > a.y() ? 1 : -1)));
    p.drawLine(b, QPointF(b.x(), y + mm(1.5) * (y > b.y() ? 1 : -1)));
    p.drawLine(QPointF(a.x(), y), QPointF(b.x(), y));
    pointeFleche(p, QPointF((a.x() + b.x()) / 2, y), QPointF(a.x(), y));
    pointeFleche(p, QPointF((a.x() + b.x()) / 2, y), QPointF(b.x(), y));
    texteDans(p, QRectF(QPointF(std::min(a.x(), b.x()), y - mm(4.5)), QSizeF(std::fabs(b.x() - a.x()), mm(4))), valeur,
              3.0);
}

void coteV(QPainter& p, QPointF a, QPointF b, double x, const QString& valeur)
{
    p.setPen(trait(0.18));
    p.drawLine(a, QPointF(x + mm(1.5) * (x > a.x() ? 1 : -1), a.y()));
    p.drawLine(b, QPointF(x + mm(1.5) * (x > b.x() ? 1 : -1), b.y()));
    p.drawLine(QPointF(x, a.y()), QPointF(x, b.y()));
    pointeFleche(p, QPointF(x, (a.y() + b.y()) / 2), QPointF(x, a.y()));
    pointeFleche(p, QPointF(x, (a.y() + b.y()) / 2), QPointF(x, b.y()));
    p.save();
    p.translate(x - mm(1), (a.y() + b.y()) / 2);
    p.rotate(-90);
    texteDans(p, QRectF(-mm(20), -mm(4.5), mm(40), mm(4)), valeur, 3.0);
    p.restore();
}

QString nombre(double v)
{
    return QString::number(v, 'g', 6);
}

void hachurer(QPainter& p, const QRectF& r)
{
    p.save();
    p.setClipRect(r);
    p.setPen(trait(0.13));
    for (double x = r.left() - r.height(); x < r.right(); x += mm(1.6))
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
    p.restore();
}

void cadreEtCartouche(QPainter& p, const DossierTechnique& d, int page, int pages)
{
    // A4 landscape: 297 x 210 mm.
    p.setPen(trait(0.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(mm(10, 10, 277, 190));
    const double x0 = 137, y0 = 160, w = 150, h = 40;
    p.drawRect(mm(x0, y0, w, h));
    p.setPen(trait(0.25));
    const double colonnes[] = {x0 + 22, x0 + 75, x0 + 97};
    for (double x : colonnes)
        p.drawLine(mm(x, y0), mm(x, y0 + h));
    for (int i = 1; i < 5; ++i)
        p.drawLine(mm(x0, y0 + i * 8), mm(x0 + w, y0 + i * 8));
    const QString libelles[5][4] = {
        {QStringLiteral("Pièce"), d.piece, QStringLiteral("Plan n°"), d.numeroPlan},
        {QStringLiteral("Ensemble"), d.ensemble, QStringLiteral("Phase"), d.phase},
        {QStringLiteral("Matière"), d.matiere, QStringLiteral("Machine"), d.machine},
        {QStringLiteral("Échelle"), QStringLiteral("adaptée"), QStringLiteral("Folio"),
         QStringLiteral("%1 / %2").arg(page).arg(pages)},
        {QStringLiteral("Dessiné"), QStringLiteral("Bureau des méthodes"), QStringLiteral("Date"),
         QStringLiteral("06/01/2026")},
    };
    for (int i = 0; i < 5; ++i) {
        const double y = y0 + i * 8;
        texteDans(p, mm(x0 + 1.5, y, 21, 8), libelles[i][0], 2.6, false, Qt::AlignVCenter | Qt::AlignLeft);
        texteDans(p, mm(x0 + 23.5, y, 51, 8), libelles[i][1], 3.4, i < 3, Qt::AlignVCenter | Qt::AlignLeft);
        texteDans(p, mm(x0 + 76.5, y, 20, 8), libelles[i][2], 2.6, false, Qt::AlignVCenter | Qt::AlignLeft);
        texteDans(p, mm(x0 + 98.5, y, 51, 8), libelles[i][3], 3.4, i < 2, Qt::AlignVCenter | Qt::AlignLeft);
    }
    texteDans(p, mm(10, 201, 277, 6), QStringLiteral("Atelier de démonstration - document interne"), 2.4, false,
              Qt::AlignLeft | Qt::AlignVCenter);
}

void notes(QPainter& p, const DossierTechnique& d)
{
    QStringList lignes{QStringLiteral("Tolérances générales : ISO 2768-m"),
                       QStringLiteral("Arêtes vives cassées 0.2 x 45°"),
                       QStringLiteral("État de surface Ra 3.2 sauf indication")};
    lignes += d.cotesParticulieres;
    texte(p, mm(16, 166), QStringLiteral("Notes"), 3.4, true);
    for (int i = 0; i < lignes.size(); ++i)
        texte(p, mm(16, 172 + i * 5.2), QStringLiteral("- ") + lignes[i], 3.0);
}

void vueTournee(QPainter& p, const Piece& piece)
{
    const double L = piece.longueur();
    const double D = piece.diametreMax();
    const double e = std::min(190.0 / L, 95.0 / D);
    const double x0 = 20 + (230 - L * e) / 2;
    const double cy = 80;
    // Profile: outline of both halves, upper half cut when the part is bored.
    double x = x0;
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < piece.troncons.size(); ++i) {
        const Troncon& t = piece.troncons[i];
        const double r = t.diametre / 2 * e;
        const double l = t.longueur * e;
        if (piece.alesage > 0) {
            const double ra = piece.alesage / 2 * e;
            hachurer(p, mm(x, cy - r, l, r - ra));
        }
        p.setPen(trait(0.5));
        p.drawRect(mm(x, cy - r, l, 2 * r));
        if (t.filete) {
            p.setPen(trait(0.18));
            p.drawLine(mm(x, cy - r + 0.8), mm(x + l, cy - r + 0.8));
            p.drawLine(mm(x, cy + r - 0.8), mm(x + l, cy + r - 0.8));
        }
        // Diameter, written above the section.
        const QString d = (t.filete ? QStringLiteral("M") : QStringLiteral("Ø")) + nombre(t.diametre) +
                          (t.tolere ? QStringLiteral(" g6") : QString());
        coteV(p, mm(x + l * 0.5, cy - r), mm(x + l * 0.5, cy + r), mm(x + l * 0.5 + 0.01), QString());
        texteDans(p, mm(x, cy - r - 7, l, 5), d, 3.0);
        x += l;
    }
    if (piece.alesage > 0) {
        const double ra = piece.alesage / 2 * e;
        p.setPen(trait(0.5));
        p.drawLine(mm(x0, cy - ra), mm(x, cy - ra));
        p.setPen(trait(0.25, Qt::DashLine));
        p.drawLine(mm(x0, cy + ra), mm(x, cy + ra));
        texte(p, mm(x + 3, cy - ra + 1), QStringLiteral("Ø") + nombre(piece.alesage) + QStringLiteral(" H7"), 3.0);
    }
    // Axis.
    p.setPen(trait(0.18, Qt::DashDotLine));
    p.drawLine(mm(x0 - 6, cy), mm(x + 6, cy));
    // Length chain below, overall length further down.
    double xc = x0;
    const double yChaine = cy + D / 2 * e + 8;
    for (const Troncon& t : piece.troncons) {
        coteH(p, mm(xc, cy + t.diametre / 2 * e), mm(xc + t.longueur * e, cy + t.diametre / 2 * e), mm(yChaine),
              nombre(t.longueur));
        xc += t.longueur * e;
    }
    coteH(p, mm(x0, cy + D / 2 * e), mm(x, cy + D / 2 * e), mm(yChaine + 9), nombre(L) + QStringLiteral(" ±0.1"));
    texte(p, mm(x0, 22), QStringLiteral("Vue de face - demi-coupe A-A"), 3.4, true);
}

void vuePlate(QPainter& p, const Piece& piece)
{
    const QRectF b = piece.encombrement();
    const double e = std::min(200.0 / b.width(), 100.0 / (b.height() + piece.epaisseur + 22));
    const double ox = 30 + (230 - b.width() * e) / 2;
    const double oy = 36;
    QTransform t;
    t.translate(mm(ox), mm(oy));
    t.scale(mm(e), mm(e));
    t.translate(-b.left(), -b.top());
    texte(p, mm(ox, 22), QStringLiteral("Vue de dessus"), 3.4, true);
    p.setBrush(Qt::NoBrush);
    p.setPen(trait(0.5));
    p.drawPath(t.map(piece.contour));
    if (!piece.poche.isEmpty()) {
        p.setPen(trait(0.35));
        p.drawPath(t.map(piece.poche));
    }
    for (const QPainterPath& trou : piece.trous) {
        p.setPen(trait(0.35));
        p.drawPath(t.map(trou));
        const QPointF c = t.map(trou.boundingRect().center());
        p.setPen(trait(0.13, Qt::DashDotLine));
        const double r = trou.boundingRect().width() / 2 * mm(e) + mm(1.5);
        p.drawLine(c - QPointF(r, 0), c + QPointF(r, 0));
        p.drawLine(c - QPointF(0, r), c + QPointF(0, r));
    }
    const QPointF hg = t.map(b.topLeft());
    const QPointF hd = t.map(b.topRight());
    const QPointF bg = t.map(b.bottomLeft());
    coteH(p, hg, hd, hg.y() - mm(5), nombre(b.width()));
    coteV(p, hg, bg, hg.x() - mm(6), nombre(b.height()));
    if (!piece.trous.isEmpty()) {
        // Callout of the holes of the first hole's size, from the rightmost one.
        const QRectF premier = piece.trous.first().boundingRect();
        int nombreTrous = 0;
        QRectF ancre = premier;
        for (const QPainterPath& trou : piece.trous) {
            const QRectF r = trou.boundingRect();
            if (std::fabs(r.width() - premier.width()) > 0.01 || std::fabs(r.height() - premier.height()) > 0.01)
                continue;
            ++nombreTrous;
            if (r.center().x() > ancre.center().x() + 0.01 ||
                (std::fabs(r.center().x() - ancre.center().x()) <= 0.01 && r.center().y() < ancre.center().y()))
                ancre = r;
        }
        const QPointF c = t.map(ancre.center());
        p.setPen(trait(0.18));
        const QPointF renvoi = QPointF(hd.x() + mm(12), c.y() - mm(6));
        p.drawLine(c, renvoi);
        p.drawLine(renvoi, renvoi + QPointF(mm(22), 0));
        texte(p, renvoi + QPointF(mm(1), -mm(1)),
              nombreTrous > 1 ? QStringLiteral("%1 x Ø%2").arg(nombreTrous).arg(nombre(premier.width()))
                              : QStringLiteral("Ø%1").arg(nombre(premier.width())),
              3.0);
    }
    // Front view below, projected from the top view.
    const double yf = bg.y() + mm(18);
    const double hf = piece.epaisseur * mm(e);
    texte(p, QPointF(hg.x(), yf - mm(3)), QStringLiteral("Vue de face"), 3.4, true);
    p.setPen(trait(0.5));
    p.drawRect(QRectF(QPointF(hg.x(), yf), QSizeF(hd.x() - hg.x(), hf)));
    p.setPen(trait(0.25, Qt::DashLine));
    for (const QPainterPath& trou : piece.trous) {
        const QRectF r = t.mapRect(trou.boundingRect());
        p.drawLine(QPointF(r.left(), yf), QPointF(r.left(), yf + hf));
        p.drawLine(QPointF(r.right(), yf), QPointF(r.right(), yf + hf));
    }
    if (!piece.poche.isEmpty()) {
        const QRectF r = t.mapRect(piece.poche.boundingRect());
        p.drawRect(QRectF(r.left(), yf, r.width(), piece.profondeurPoche * mm(e)));
    }
    coteV(p, QPointF(hd.x(), yf), QPointF(hd.x(), yf + hf), hd.x() + mm(6), nombre(piece.epaisseur));
}

void pageGamme(QPainter& p, const DossierTechnique& d)
{
    texte(p, mm(20, 24), QStringLiteral("Gamme de fabrication - %1").arg(d.piece), 5, true);
    const double x0 = 20, y0 = 32;
    const double largeurs[] = {22, 118, 40, 77};
    const QStringList titres{QStringLiteral("Phase"), QStringLiteral("Opération"), QStringLiteral("Machine"),
                             QStringLiteral("Contrôle")};
    const double hl = 8;
    auto ligne = [&](int rang, const QStringList& cellules, bool entete) {
        double x = x0;
        for (int c = 0; c < 4; ++c) {
            const QRectF r = mm(x, y0 + rang * hl, largeurs[c], hl);
            if (entete)
                p.fillRect(r, QColor(225, 225, 225));
            p.setPen(trait(0.25));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
            texteDans(p, r.adjusted(mm(1.5), 0, -mm(1), 0), cellules.value(c), 3.0, entete,
                      Qt::AlignVCenter | Qt::AlignLeft);
            x += largeurs[c];
        }
    };
    ligne(0, titres, true);
    for (int i = 0; i < d.gamme.size(); ++i)
        ligne(i + 1, d.gamme[i].split(QLatin1Char('|')), false);
    const double yc = y0 + (d.gamme.size() + 2) * hl;
    texte(p, mm(20, yc), QStringLiteral("Points de contrôle de la phase %1").arg(d.phase), 4, true);
    const QStringList points{QStringLiteral("Première pièce contrôlée en totalité, puis 1 pièce sur 10"),
                             QStringLiteral("Cotes repérées g6 / H7 : contrôle au tampon ou à la bague"),
                             QStringLiteral("Fiche de réglage à jour avant lancement de la série")};
    for (int i = 0; i < points.size(); ++i)
        texte(p, mm(24, yc + 7 + i * 6), QStringLiteral("- ") + points[i], 3.2);
}

void dessinerPage(QPainter& p, const DossierTechnique& d, int page)
{
    const int pages = d.gamme.isEmpty() ? 1 : 2;
    cadreEtCartouche(p, d, page, pages);
    if (page == 1) {
        notes(p, d);
        if (d.forme.forme == Piece::Tournee)
            vueTournee(p, d.forme);
        else
            vuePlate(p, d.forme);
    } else {
        pageGamme(p, d);
    }
}

}  // namespace

QImage apercuPlan(const DossierTechnique& d, int page)
{
    QImage image(static_cast<int>(mm(297)), static_cast<int>(mm(210)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    dessinerPage(p, d, page);
    p.end();
    return image.scaledToWidth(1400, Qt::SmoothTransformation);
}

void ecrirePlan(const QString& chemin, const DossierTechnique& d)
{
    {
        QPdfWriter w(chemin);
        w.setResolution(kResolution);
        w.setPageSize(QPageSize(QPageSize::A4));
        w.setPageOrientation(QPageLayout::Landscape);
        w.setPageMargins(QMarginsF(0, 0, 0, 0));
        w.setTitle(QStringLiteral("Dossier technique %1 Phase %2").arg(d.piece, d.phase));
        w.setCreator(QStringLiteral("Bureau des méthodes"));
        QPainter p(&w);
        p.setRenderHint(QPainter::Antialiasing);
        dessinerPage(p, d, 1);
        if (!d.gamme.isEmpty()) {
            w.newPage();
            dessinerPage(p, d, 2);
        }
    }
    // Fixed dates so that a regeneration gives the same bytes (same length,
    // so the cross-reference table stays right).
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        echec(QStringLiteral("relecture de %1").arg(chemin));
    QByteArray octets = f.readAll();
    f.close();
    static const QRegularExpression date(QStringLiteral("\\(D:(\\d{14})"));
    QString latin = QString::fromLatin1(octets);
    auto it = date.globalMatch(latin);
    while (it.hasNext()) {
        const auto m = it.next();
        latin.replace(m.capturedStart(1), 14, QStringLiteral("20260106090000"));
    }
    ecrireOctets(chemin, latin.toLatin1());
}

}  // namespace demo
