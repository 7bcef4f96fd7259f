// A 10,000-line milling program read as the toolpath window reads it, and
// its travel (its drawing: bench_trajectoire_dessin); then a 1,000,000-line
// one, and a 1,000,000-line 4-axis one of which no line can be drawn, opened
// in the window offscreen: read, the window built, its first painting, a
// zoom, a pan and a choice of line, and the memory the process reached.
// Prints its figures, never fails on time.

#include "serpentin.h"
#include "store/machines.h"
#include "trajectoire/fenetretrajectoire.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kLignes = 10000;
constexpr int kRepetitions = 7;
constexpr double kCible = 20;  // ms
constexpr int kMillion = 1000000;
constexpr double kCibleOuverture = 3000, kCibleReponse = 100;  // ms
constexpr double kCibleMemoire = 500;  // MB
constexpr int kMagasin = 24;  // tools the million-line program takes in turn

double chrono(const std::function<void()>& f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// The most memory the process has held (VmHWM), or holds now (VmRSS), in MB (Linux; 0 elsewhere).
double memoire(const char* champ = "VmHWM:")
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith(champ)) return l.mid(6).trimmed().split(' ').front().toDouble() / 1024;
    return 0;
}

void lecture()
{
    using namespace tarvex;
    const std::string texte = banc::serpentin(kLignes);
    std::vector<double> ms;
    for (int i = 0; i < kRepetitions; ++i) {
        trajectoire::Programme p;
        std::vector<std::string> e, o;
        ms.push_back(chrono([&] {
            p = trajectoire::lire(texte, kNum, kFraisage);
            e = trajectoire::lignesEtendue(trajectoire::etendue(p));
            o = trajectoire::lignesOutils(p);
        }));
        if (i == 0)
            std::printf("trajectoire : %zu lignes, %zu mouvements, %zu lignes non tracées, %zu outils ; %s\n", p.lignes.size(),
                        p.mouvements.size(), p.nonTracees.size(), o.size(), e.empty() ? "" : e.front().c_str());
    }
    std::sort(ms.begin(), ms.end());
    const double mediane = ms[ms.size() / 2];
    std::printf("  lecture et étendue (médiane de %d) : %.2f ms, %.3f x la cible de %.0f ms\n", kRepetitions, mediane,
                mediane / kCible, kCible);
}

void ecrire(const char* quoi, double ms, double cible)
{
    std::printf("  %-40s %9.1f ms, %.3f x la cible de %.0f ms\n", quoi, ms, ms / cible, cible);
}

// Opens `texte` in the window as "Trajectoire" does and works in it as the operator would.
void million(const char* nom, const std::string& texte, int directeur)
{
    using namespace tarvex;
    std::printf("%s : %d lignes\n", nom, kMillion);
    trajectoire::Programme p;
    const double lu = chrono([&] { p = trajectoire::lire(texte, directeur, kFraisage); });
    std::printf("  %zu mouvements, %zu lignes non tracées\n", p.mouvements.size(), p.nonTracees.size());
    {
        trajectoire::Projection pr;
        ecrire("  dont projection", chrono([&] { pr = trajectoire::projeter(p, trajectoire::reglageInitial(p)); }), kCibleOuverture);
        ecrire("  dont étendue par outil", chrono([&] { trajectoire::etenduesParOutil(p); }), kCibleOuverture);
        ecrire("  dont palette", chrono([&] { trajectoire::Palette pa(p); }), kCibleOuverture);
        ecrire("  dont modèle", chrono([&] { trajectoire::ModeleListing m(p, nullptr); }), kCibleOuverture);
    }
    FenetreTrajectoire* f = nullptr;
    const double construite = chrono([&] { f = new FenetreTrajectoire(nullptr, QStringLiteral("Banc"), std::move(p)); });
    const double montree = chrono([&] {
        f->show();
        QApplication::processEvents();
        f->Vue->grab();
    });
    ecrire("lecture", lu, kCibleOuverture);
    ecrire("fenêtre (listes, projection)", construite, kCibleOuverture);
    ecrire("premier dessin", montree, kCibleOuverture);
    ecrire("ouverture en tout", lu + construite + montree, kCibleOuverture);

    trajectoire::VueTrajectoire* v = f->Vue;
    const QPointF centre(v->width() / 2.0, v->height() / 2.0);
    auto molette = [&](int crans) {
        QWheelEvent e(centre, v->mapToGlobal(centre), {}, QPoint(0, 120 * crans), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(v, &e);
        v->grab();
    };
    auto souris = [&](QEvent::Type t, QPointF p, Qt::MouseButton b) {
        QMouseEvent e(t, p, v->mapToGlobal(p), b, t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(v, &e);
    };
    std::vector<double> zooms, glisses, lachers, choix;
    for (int i = 0; i < 5; ++i) {
        zooms.push_back(chrono([&] { molette(i < 3 ? 2 : -1); }));
        souris(QEvent::MouseButtonPress, centre, Qt::LeftButton);
        glisses.push_back(chrono([&] {
            souris(QEvent::MouseMove, centre + QPointF(40, 25), Qt::NoButton);
            v->grab();
        }));
        lachers.push_back(chrono([&] {
            souris(QEvent::MouseButtonRelease, centre + QPointF(40, 25), Qt::LeftButton);
            v->grab();
        }));
        choix.push_back(chrono([&] {
            f->Listing->montrerRang(kMillion / 7 * (i + 1));
            v->grab();
        }));
    }
    const double fit = chrono([&] {
        f->Ajuster->click();
        v->grab();
    });
    double nonTracee = 0;
    if (f->NonTraces->model()->rowCount() > 0)
        nonTracee = chrono([&] {
            f->NonTraces->montrerRang(f->NonTraces->model()->rowCount() - 3);
            v->grab();
        });
    auto pire = [](const std::vector<double>& ms) { return *std::max_element(ms.begin(), ms.end()); };
    ecrire("zoom (le plus long de 5)", pire(zooms), kCibleReponse);
    ecrire("glissé (le plus long de 5)", pire(glisses), kCibleReponse);
    ecrire("glissé lâché, tout redessiné (idem)", pire(lachers), kCibleReponse);
    ecrire("choix d'une ligne (le plus long de 5)", pire(choix), kCibleReponse);
    ecrire("Ajuster", fit, kCibleReponse);
    ecrire("choix d'une ligne non tracée", nonTracee, kCibleReponse);
    const double mo = memoire(), maintenant = memoire("VmRSS:");
    std::printf("  mémoire : %.0f Mo la fenêtre ouverte, %.3f x la cible de %.0f Mo (le plus haut atteint : %.0f Mo)\n",
                maintenant, maintenant / kCibleMemoire, kCibleMemoire, mo);
    delete f;
}

// Four axes: every line moves A too, which the view does not draw.
std::string quatreAxes(int lignes)
{
    std::string s = "%1\r\nG0 X0 Y0 Z5\r\n";
    for (int i = 2; i < lignes; ++i)
        s += "N" + std::to_string(i) + " G1 X" + std::to_string(i % 97) + " Y" + std::to_string(i % 89) + " A" +
             std::to_string(i % 360) + "\r\n";
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    lecture();
    million("trajectoire d'un million de lignes", banc::serpentin(kMillion, kMagasin), tarvex::kNum);
    million("quatre axes d'un million de lignes", quatreAxes(kMillion), tarvex::kFanuc);
    return 0;
}
