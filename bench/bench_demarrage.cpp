// Start-up to the main window ready, offscreen, with an index of 10 and of
// 100,000 records, against a bare window shown in the same run.

#include "app/application.h"
#include "mainwindow/selectphase.h"
#include "platform/doubles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace {

void ecrireIndex(const QString& dossier, int n)
{
    QDir(dossier).mkpath(QStringLiteral("data"));
    QFile f(dossier + QStringLiteral("/data/data.txt"));
    f.open(QIODevice::WriteOnly);
    QByteArray tout;
    tout.reserve(n * 80);
    for (int i = 0; i < n; ++i) {
        tout += "PIECE" + QByteArray::number((i * 7919) % n) + "," + QByteArray::number(10 + i % 90) +
                ",TOUR 1,ENSEMBLE " + QByteArray::number(i % 50) + ",ACIER,O,O,N,O,N,N,N,N,O,O,O\r\n";
    }
    f.write(tout);
}

double demarrer(const QString& dossier)
{
    tarvex::plateforme::DoublesDeServices doubles;
    tarvex::plateforme::Services& s = doubles.services;

    const QString avant = QDir::currentPath();
    QDir::setCurrent(dossier);
    QElapsedTimer t;
    t.start();
    double ms = 0;
    {
        tarvex::Programme programme(s);
        programme.demarrer();
        QCoreApplication::processEvents();
        ms = t.nsecsElapsed() / 1e6;
    }
    QDir::setCurrent(avant);
    return ms;
}

double fenetreNue()
{
    QElapsedTimer t;
    t.start();
    QWidget w;
    w.resize(1040, 684);
    w.show();
    QCoreApplication::processEvents();
    return t.nsecsElapsed() / 1e6;
}

template <class F>
double meilleur(int fois, F f)
{
    double m = 1e30;
    for (int i = 0; i < fois; ++i) m = std::min(m, f());
    return m;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvex::preparerApplication();

    QTemporaryDir petit, grand;
    ecrireIndex(petit.path(), 10);
    ecrireIndex(grand.path(), 100000);

    fenetreNue();  // warm-up: fonts, styles
    const double nue = meilleur(5, fenetreNue);
    const double dix = meilleur(5, [&] { return demarrer(petit.path()); });
    const double cent = meilleur(3, [&] { return demarrer(grand.path()); });

    std::printf("Démarrage jusqu'à la fenêtre principale prête (hors écran, meilleur de plusieurs essais)\n");
    std::printf("  fenêtre Qt nue            %8.1f ms\n", nue);
    std::printf("  index de 10 fiches        %8.1f ms   (%.1f x la fenêtre nue)\n", dix, dix / nue);
    std::printf("  index de 100 000 fiches   %8.1f ms   (%.1f x la fenêtre nue, objectif < 1000 ms)\n", cent,
                cent / nue);
    return 0;
}
