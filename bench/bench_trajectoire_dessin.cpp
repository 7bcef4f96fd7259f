// The 10,000-line program of bench_trajectoire drawn as the window first
// shows it: projected, then painted whole into an offscreen picture the size
// of the view. Prints its figures, never fails on time.

#include "serpentin.h"
#include "store/machines.h"
#include "trajectoire/dessin.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLignes = 10000;
constexpr int kRepetitions = 7;
constexpr double kCible = 50;  // ms
constexpr int kLargeur = 760, kHauteur = 600;  // pixels: the view in its window

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    using namespace tarvex::trajectoire;
    const Programme p = lire(banc::serpentin(kLignes), tarvex::kNum, tarvex::kFraisage);
    QImage image(kLargeur, kHauteur, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> ms;
    std::size_t traces = 0;
    for (int i = 0; i < kRepetitions; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        const Reglage r = reglageInitial(p);
        const Projection vue = projeter(p, r);
        const QRectF zone(0, 0, kLargeur, kHauteur);
        image.fill(Qt::white);
        QPainter peintre(&image);
        dessiner(peintre, p, vue, r.vue, Palette(p), ajuster(vue.boite, sansReperes(zone, Traits{}), 24), zone, Traits{});
        peintre.end();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        traces = vue.traces.size();
    }
    const double premier = ms.front();
    std::sort(ms.begin(), ms.end());
    const double mediane = ms[ms.size() / 2];
    std::printf("trajectoire dessinée : %zu mouvements tracés dans %d x %d pixels\n", traces, kLargeur, kHauteur);
    std::printf("  projection et dessin (médiane de %d) : %.2f ms, %.3f x la cible de %.0f ms ; premier : %.2f ms\n",
                kRepetitions, mediane, mediane / kCible, kCible, premier);
    return traces == 0;
}
