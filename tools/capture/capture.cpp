// Takes the README's picture of the main window: the program started on a
// copy of the demo data, a sheet chosen and one of its photographs previewed.
// Run under Xvfb: xvfb-run -a build/tarvex-capture demo/data docs/fenetre-principale.png "PIVOT Phase 20"

#include "app/application.h"
#include "mainwindow/selectphase.h"
#include "platform/doubles.h"
#include "platform/qtservices.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tarvex::preparerApplication();
    if (argc < 4) {
        std::fprintf(stderr, "usage: tarvex-capture DOSSIER_DATA IMAGE.png \"ENTRÉE\" [OPTION]\n");
        return 2;
    }
    const QString source = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString sortie = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[2]));
    const QString entree = QString::fromUtf8(argv[3]);
    const QString option = argc > 4 ? QString::fromUtf8(argv[4]) : QStringLiteral("Option10");

    QTemporaryDir travail;
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-R"), source, travail.filePath(QStringLiteral("data"))});
    QDir::setCurrent(travail.path());

    // Recording services, so that the capture never stops on a question and
    // the splash closes at once; pictures and clock are the real ones.
    tarvex::plateforme::DoublesDeServices doubles;
    tarvex::plateforme::QtImages images;
    tarvex::plateforme::QtHorloge horloge;
    tarvex::plateforme::Services& s = doubles.services;
    s.images = &images;
    s.horloge = &horloge;

    tarvex::Programme programme(s);
    programme.demarrer();
    tarvex::Selectphase* w = programme.principale();
    auto* phase = w->findChild<QComboBox*>(QStringLiteral("Phase"));
    const int i = phase->findText(entree);
    if (i < 0) {
        std::fprintf(stderr, "entrée introuvable : %s\n", argv[3]);
        return 1;
    }
    phase->setCurrentIndex(i);
    emit phase->activated(i);
    if (auto* b = w->findChild<QRadioButton*>(option); b && b->isEnabled()) b->click();
    w->findChild<tarvex::plateforme::Minuterie*>(QStringLiteral("Timer1"))->declencher();
    for (int k = 0; k < 20; ++k) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    if (!w->grab().save(sortie)) {
        std::fprintf(stderr, "impossible d'écrire %s\n", argv[2]);
        return 1;
    }
    std::printf("%s\n", qPrintable(sortie));
    return 0;
}
