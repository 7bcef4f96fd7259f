// The toolpath painted offscreen, read pixel by pixel: a rapid keeps its gaps
// however often it runs over a line; short moves make a thin line.

#include "store/machines.h"
#include "trajectoire/fenetretrajectoire.h"

#include <QImage>
#include <QPainter>
#include <QScreen>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tarvex::trajectoire {
namespace {

constexpr int kCote = 400;

QImage peindre(const Programme& p, const Reglage& r)
{
    QImage image(kCote, kCote, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter peintre(&image);
    const Projection vue = projeter(p, r);
    const QRectF zone(0, 0, kCote, kCote);
    dessinerTrajet(peintre, p, vue, r.vue, Palette(p), ajuster(vue.boite, zone, 40), zone, Traits{});
    return image;
}

bool blanc(const QImage& i, QPointF p) { return qGray(i.pixel(p.toPoint())) > 245; }

TEST(Dessin, UnRapideGardeSesVidesUneCourteLigneResteFine)
{
    // Rapids out and back on one line, five times; the same as feed moves fill it.
    const struct {
        const char* mouvement;
        bool vides;
    } allers[] = {{"G0", true}, {"G1", false}};
    for (const auto& [g, vides] : allers) {
        std::string texte;
        for (int i = 0; i < 5; ++i) texte += std::string(g) + " X200 Y200\r\n" + g + " X0 Y5\r\n";
        const QImage image = peindre(lire(texte, kFanuc, kFraisage), Reglage{});
        int nVides = 0;
        // X0 Y5 to X200 Y200 fitted: from (40, 356) to (360, 44).
        for (int k = 0; k < 100; ++k) nVides += blanc(image, QPointF(40, 356) + (0.1 + 0.008 * k) * QPointF(320, -312));
        EXPECT_EQ(nVides > 25, vides) << g << " : " << nVides << " vides sur 100";
    }

    // A circle of 20,000 segments of R20 is a line on the circle, nothing a few pixels off it.
    std::string cercle = "G0 X20 Y0\r\n";
    for (int i = 1; i <= 20000; ++i) {
        const double a = 2 * 3.14159265358979 * i / 20000;
        cercle += "G1 X" + std::to_string(20 * std::cos(a)) + " Y" + std::to_string(20 * std::sin(a)) + "\r\n";
    }
    const QImage image = peindre(lire(cercle, kFanuc, kFraisage), Reglage{});
    const double r = 160;  // 20 mm fitted in 320 pixels across 40 mm
    for (int k = 0; k < 16; ++k) {
        const double a = 2 * 3.14159265358979 * (k + 0.5) / 16;
        const QPointF u(std::cos(a), -std::sin(a)), centre(200, 200);
        EXPECT_FALSE(blanc(image, centre + r * u)) << k;
        EXPECT_TRUE(blanc(image, centre + (r + 3) * u) && blanc(image, centre + (r - 3) * u)) << k;
    }

    // A drilling cycle's hole at X30 Y10 is a cross, its box counted: X0 Y0 to X40 Y40 fitted.
    const QImage trou = peindre(lire("G0 X0. Y0.\r\nG0 X40. Y40.\r\nG81 X30. Y10. Z-5. R1.\r\n", kFanuc, kFraisage), Reglage{});
    for (const QPointF d : {QPointF(0, 0), QPointF(2, 2), QPointF(-2, 2)}) EXPECT_FALSE(blanc(trou, QPointF(280, 280) + d));
    EXPECT_TRUE(blanc(trou, QPointF(283, 280)));
}

// The window's design is larger than the offscreen screen (800 x 600): it opens within it.
TEST(Dessin, LaFenetreSOuvreDansLEcran)
{
    FenetreTrajectoire f(nullptr, QStringLiteral("Trajectoire"), lire("G0 X0 Y0\r\nG1 X10\r\n", kFanuc, kFraisage));
    f.show();
    const QRect libre = f.screen()->availableGeometry();
    EXPECT_TRUE(libre.contains(f.geometry())) << f.geometry().width() << " x " << f.geometry().height();
}

}  // namespace
}  // namespace tarvex::trajectoire
