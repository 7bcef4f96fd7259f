#include "trajectoire/vue.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tarvex::trajectoire {
namespace {

constexpr double kMarge = 24;      // pixels left around the fitted path
constexpr double kProximite = 6;   // how near a click must fall to a move, pixels
constexpr int kSeuilGlisse = 4;    // pixels the pointer moves before a press becomes a drag
constexpr double kZoomMax = 1e4;   // beyond the fitted scale
constexpr double kZoomMin = 0.05;

QString mot(const char* axe, double v) { return QString::fromLatin1(axe) + QString::fromStdString(nombre(v)); }

}  // namespace

VueTrajectoire::VueTrajectoire(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(false);
    setCursor(Qt::OpenHandCursor);
    setMinimumSize(200, 150);
}

void VueTrajectoire::montrer(const Programme& p, const Reglage& reglage)
{
    programme_ = &p;
    reglage_ = reglage;
    sorte_ = reglage.vue;
    projection_ = projeter(p, reglage);
    palette_ = Palette(p);
    lignes_.clear();
    lignes_.reserve(projection_.traces.size());
    for (const Trace& t : projection_.traces) lignes_.push_back(p.mouvements[static_cast<std::size_t>(t.mouvement)].ligne);
    enOrdre_ = std::is_sorted(lignes_.begin(), lignes_.end());
    ++version_;
    ajuster();
    marquer(ligne_);
}

void VueTrajectoire::ajuster()
{
    Boite boite = projection_.boite;
    if (programme_ && outilSeul_ != kTousOutils) {
        boite = {};
        for (const Trace& t : projection_.traces)
            if (montre(programme_->mouvements[static_cast<std::size_t>(t.mouvement)].outil)) boite.ajouter(t.boite);
        for (const Croix& x : projection_.croix)
            if (montre(programme_->percages[static_cast<std::size_t>(x.percage)].outil)) boite.ajouter(x.position);
        if (boite.vide()) boite = projection_.boite;
    }
    cadrage_ = trajectoire::ajuster(boite, sansReperes(QRectF(rect()), Traits{}), kMarge);
    echelleAjustee_ = cadrage_.echelle;
    ajuste_ = true;
    update();
}

void VueTrajectoire::montrerOutil(int outil)
{
    outilSeul_ = outil;
    marquer(ligne_);
}

void VueTrajectoire::marquer(int ligne)
{
    ligne_ = ligne;
    marques_.clear();
    croix_.clear();
    if (!programme_) return;
    Boite boite;
    // The traces follow the program: those of one line are side by side
    // (looked for one by one should a reading ever order them otherwise).
    const auto [de, a] = enOrdre_ ? std::equal_range(lignes_.begin(), lignes_.end(), ligne)
                                  : std::pair(lignes_.begin(), lignes_.end());
    for (auto it = de; it != a; ++it) {
        if (*it != ligne) continue;
        const auto i = static_cast<std::size_t>(it - lignes_.begin());
        const Trace& t = projection_.traces[i];
        if (!montre(programme_->mouvements[static_cast<std::size_t>(t.mouvement)].outil)) continue;
        marques_.push_back(static_cast<int>(i));
        boite.ajouter(t.boite);
    }
    for (std::size_t i = 0; i < projection_.croix.size(); ++i) {
        const Percage& h = programme_->percages[static_cast<std::size_t>(projection_.croix[i].percage)];
        if (h.ligne != ligne || !montre(h.outil)) continue;
        croix_.push_back(static_cast<int>(i));
        boite.ajouter(projection_.croix[i].position);
    }
    if (!boite.vide()) {
        const Point2 a = cadrage_.versVue(QPointF(0, height())), b = cadrage_.versVue(QPointF(width(), 0));
        const bool horsVue = boite.hmax < a.h || boite.hmin > b.h || boite.vmax < a.v || boite.vmin > b.v;
        if (horsVue) {
            cadrage_.h0 = (boite.hmin + boite.hmax) / 2 - width() / 2.0 / cadrage_.echelle;
            cadrage_.v0 = (boite.vmin + boite.vmax) / 2 + height() / 2.0 / cadrage_.echelle;
            ajuste_ = false;
        }
    }
    update();
}

void VueTrajectoire::montrerApproche(std::vector<Point> points, QColor couleur)
{
    approche_ = std::move(points);
    couleurApproche_ = couleur;
    update();
}

std::vector<Point2> VueTrajectoire::approche() const
{
    std::vector<Point2> r;
    for (const Point& p : approche_) r.push_back(projeterPoint(*programme_, reglage_, p));
    return r;
}

QString VueTrajectoire::texte() const
{
    QStringList lignes;
    const char *h = axeHorizontal(sorte_), *v = axeVertical(sorte_);
    for (const int i : marques_) {
        const Trace& t = projection_.traces[static_cast<std::size_t>(i)];
        const Mouvement& m = programme_->mouvements[static_cast<std::size_t>(t.mouvement)];
        const QString g = m.rapide ? QStringLiteral("G0") : !m.arc ? QStringLiteral("G1") : m.horaire ? QStringLiteral("G2") : QStringLiteral("G3");
        const Point2 a = t.points.front(), b = t.points.back();
        lignes << g + ' ' + mot(h, a.h) + ' ' + mot(v, a.v) + QStringLiteral(" → ") + mot(h, b.h) + ' ' + mot(v, b.v);
    }
    for (const int i : croix_) {
        const Point2 p = projection_.croix[static_cast<std::size_t>(i)].position;
        lignes << QStringLiteral("Perçage ") + mot(h, p.h) + ' ' + mot(v, p.v);
    }
    const std::vector<Point2> a = programme_ ? approche() : std::vector<Point2>();
    for (std::size_t i = 1; i < a.size(); ++i)
        if (connu(a[i - 1].h) && connu(a[i - 1].v) && connu(a[i].h) && connu(a[i].v))
            lignes << QStringLiteral("Approche ") + mot(h, a[i - 1].h) + ' ' + mot(v, a[i - 1].v) + QStringLiteral(" → ") +
                          mot(h, a[i].h) + ' ' + mot(v, a[i].v);
    return lignes.join('\n');
}

bool VueTrajectoire::choisir(const QString& point)
{
    static const QRegularExpression kMot(QStringLiteral("([A-Za-z])\\s*([-+]?[0-9]*\\.?[0-9]+)"));
    bool aH = false, aV = false;
    Point2 p;
    for (auto it = kMot.globalMatch(point); it.hasNext();) {
        const auto m = it.next();
        const QString axe = m.captured(1).toUpper();
        const double valeur = m.captured(2).toDouble();
        if (axe == QLatin1String(axeHorizontal(sorte_)) && !aH) {
            p.h = valeur;
            aH = true;
        } else if (axe == QLatin1String(axeVertical(sorte_))) {
            p.v = valeur;
            aV = true;
        }
    }
    return aH && aV && cliquer(cadrage_.versAppareil(p));
}

bool VueTrajectoire::cliquer(QPointF position)
{
    if (!programme_) return false;
    const int ligne = ligneProche(*programme_, projection_, cadrage_, position, kProximite, outilSeul_);
    if (ligne < 0) return false;
    marquer(ligne);
    emit ligneChoisie(ligne);
    return true;
}

void VueTrajectoire::zoomer(QPointF position, double facteur)
{
    const double echelle = std::clamp(cadrage_.echelle * facteur, echelleAjustee_ * kZoomMin,
                                      std::min(echelleAjustee_ * kZoomMax, 1e5));
    // The point under the pointer stays under it.
    const Point2 fixe = cadrage_.versVue(position);
    cadrage_.echelle = echelle;
    cadrage_.h0 = fixe.h - position.x() / echelle;
    cadrage_.v0 = fixe.v + position.y() / echelle;
    ajuste_ = false;
    update();
}

void VueTrajectoire::paintEvent(QPaintEvent*)
{
    QPainter peintre(this);
    peintre.fillRect(rect(), Qt::white);
    if (programme_ && projection_.traces.empty() && projection_.croix.empty()) {
        peintre.setPen(QColor(110, 110, 110));
        peintre.drawText(rect(), Qt::AlignCenter, QStringLiteral("Aucun déplacement connu à tracer"));
    } else if (programme_) {
        const QRectF zone(rect());
        const Etat etat{cadrage_.echelle, cadrage_.h0, cadrage_.v0, devicePixelRatioF(), size(), outilSeul_, version_};
        auto memePlan = [&](const Etat& e) {
            return e.echelle == etat.echelle && e.ratio == etat.ratio && e.taille == etat.taille && e.outil == etat.outil &&
                   e.version == etat.version;
        };
        const int deja = couches_[0].etat == etat ? 0 : couches_[1].etat == etat ? 1 : -1;
        const Couche& derniere = couches_[derniere_];
        if (deja < 0 && glisse_ && memePlan(derniere.etat)) {
            // Dragged: what was painted follows the pointer at once, the rest comes as the drag ends.
            const double e = etat.echelle;
            peintre.drawImage(QPointF((derniere.etat.h0 - etat.h0) * e, (etat.v0 - derniere.etat.v0) * e), derniere.image);
        } else {
            // The fitted path has a layer of its own, that Ajuster finds again.
            derniere_ = deja >= 0 ? deja : ajuste_ ? 1 : 0;
            Couche& c = couches_[derniere_];
            if (deja < 0) {
                c.image = QImage(size() * etat.ratio, QImage::Format_ARGB32_Premultiplied);
                c.image.setDevicePixelRatio(etat.ratio);
                c.image.fill(Qt::white);
                QPainter p(&c.image);
                dessinerTrajet(p, *programme_, projection_, sorte_, palette_, cadrage_, zone, Traits{}, outilSeul_);
                c.etat = etat;
            }
            peintre.drawImage(QPointF(0, 0), c.image);
        }
        dessinerMarques(peintre, *programme_, projection_, palette_, cadrage_, zone, Traits{}, marques_, croix_);
        // Over the path, thick, ending on a ring where the program takes over.
        const std::vector<Point2> a = approche();
        peintre.setRenderHint(QPainter::Antialiasing);
        peintre.setPen(QPen(couleurApproche_, 2.5, Qt::SolidLine, Qt::RoundCap));
        peintre.setBrush(Qt::NoBrush);
        for (std::size_t i = 1; i < a.size(); ++i)
            if (connu(a[i - 1].h) && connu(a[i - 1].v) && connu(a[i].h) && connu(a[i].v))
                peintre.drawLine(cadrage_.versAppareil(a[i - 1]), cadrage_.versAppareil(a[i]));
        if (!a.empty() && connu(a.back().h) && connu(a.back().v)) peintre.drawEllipse(cadrage_.versAppareil(a.back()), 5, 5);
        dessinerReperes(peintre, sorte_, cadrage_, zone, Traits{});
    }
    peintre.setPen(palette().color(QPalette::Mid));
    peintre.drawRect(rect().adjusted(0, 0, -1, -1));
}

void VueTrajectoire::resizeEvent(QResizeEvent* e)
{
    if (ajuste_) {
        ajuster();
        return;
    }
    // The centre stays the centre.
    const QSize avant = e->oldSize();
    const Point2 centre = cadrage_.versVue(QPointF(avant.width() / 2.0, avant.height() / 2.0));
    cadrage_.h0 = centre.h - width() / 2.0 / cadrage_.echelle;
    cadrage_.v0 = centre.v + height() / 2.0 / cadrage_.echelle;
}

void VueTrajectoire::wheelEvent(QWheelEvent* e)
{
    const double crans = e->angleDelta().y() / 120.0;
    if (crans != 0) zoomer(e->position(), std::pow(1.25, crans));
    e->accept();
}

void VueTrajectoire::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return;
    appui_ = dernier_ = e->position();
    appuye_ = true;
    glisse_ = false;
}

void VueTrajectoire::mouseMoveEvent(QMouseEvent* e)
{
    if (!appuye_) return;
    const QPointF p = e->position();
    if (!glisse_ && (p - appui_).manhattanLength() < kSeuilGlisse) return;
    if (!glisse_) setCursor(Qt::ClosedHandCursor);
    glisse_ = true;
    cadrage_.h0 -= (p.x() - dernier_.x()) / cadrage_.echelle;
    cadrage_.v0 += (p.y() - dernier_.y()) / cadrage_.echelle;
    dernier_ = p;
    ajuste_ = false;
    update();
}

void VueTrajectoire::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !appuye_) return;
    if (!glisse_) cliquer(e->position());
    if (glisse_) update();
    appuye_ = glisse_ = false;
    setCursor(Qt::OpenHandCursor);
}

}  // namespace tarvex::trajectoire
