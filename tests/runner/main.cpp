// tarvex-scenario FILE...: runs each scenario in a fresh working folder and
// prints PASS FILE or FAIL FILE:LINE: message, then the totals.

#include "scenario.h"

#include "app/application.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvex::preparerApplication();
    // Numbers shown from the data files use the decimal point of the C locale here,
    // so that scenarios read the same on every machine.
    QLocale::setDefault(QLocale::c());

    const QStringList fichiers = app.arguments().mid(1);
    if (fichiers.isEmpty()) {
        std::fprintf(stderr, "usage: tarvex-scenario FICHIER...\n");
        return 2;
    }
    const QString depart = QDir::currentPath();
    int reussis = 0, echoues = 0;
    QTextStream sortie(stdout);
    for (const QString& nom : fichiers) {
        const QString fichier = QFileInfo(QDir(depart), nom).absoluteFilePath();
        QFile f(fichier);
        if (!f.open(QIODevice::ReadOnly)) {
            sortie << "FAIL " << nom << ":0: fichier illisible\n";
            ++echoues;
            continue;
        }
        const QString contenu = QString::fromUtf8(f.readAll());
        QTemporaryDir dossier;
        QDir::setCurrent(dossier.path());
        tarvex::scenario::Issue issue;
        {
            tarvex::scenario::Scenario scenario(fichier, contenu);
            issue = scenario.executer();
        }
        QDir::setCurrent(depart);
        if (issue.reussi) {
            sortie << "PASS " << nom << "\n";
            ++reussis;
        } else {
            sortie << "FAIL " << nom << ":" << issue.ligne << ": " << issue.message << "\n";
            ++echoues;
        }
        sortie.flush();
    }
    sortie << reussis << " passed, " << echoues << " failed\n";
    return echoues == 0 ? 0 : 1;
}
