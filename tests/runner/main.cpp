// tarvex-scenario FILE...: each scenario in a fresh working folder (or its
// `workdir`), printing PASS FILE or FAIL FILE:LINE: message, then the totals.

#include "scenario.h"

#include "app/application.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvex::preparerApplication();
    // Numbers shown from the data files use the decimal point of the C locale here,
    // so that scenarios read the same on every machine.
    QLocale::setDefault(QLocale::c());
    QTextStream sortie(stdout);
    const QStringList fichiers = app.arguments().mid(1);
    if (fichiers.isEmpty()) return (QTextStream(stderr) << "usage: tarvex-scenario FICHIER...\n"), 2;
    const QString depart = QDir::currentPath();
    int echoues = 0;
    for (const QString& nom : fichiers) {
        QFile f(QFileInfo(QDir(depart), nom).absoluteFilePath());
        tarvex::scenario::Issue issue{false, 0, QStringLiteral("fichier illisible")};
        if (f.open(QIODevice::ReadOnly)) {
            QTemporaryDir dossier;
            QDir::setCurrent(dossier.path());
            issue = tarvex::scenario::Scenario(f.fileName(), QString::fromUtf8(f.readAll()), depart).executer();
            QDir::setCurrent(depart);
        }
        if (issue.reussi)
            sortie << "PASS " << nom << "\n";
        else
            sortie << "FAIL " << nom << ":" << issue.ligne << ": " << issue.message << "\n";
        echoues += issue.reussi ? 0 : 1;
        sortie.flush();
    }
    sortie << fichiers.size() - echoues << " passed, " << echoues << " failed\n";
    return echoues == 0 ? 0 : 1;
}
