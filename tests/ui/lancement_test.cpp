// Where a start works (the folder started in when it holds data\data.txt, else
// $TARVEX_HOME, else ~/tarvex) and finds the delivered data (or $TARVEX_PARTAGE).

#include "app/application.h"
#include "platform/fin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <csignal>

#include <gtest/gtest.h>

namespace tarvex {
namespace {

// Sets (null: clears) an environment variable until the end of the scope.
auto variable(const char* nom, const QByteArray& valeur)
{
    const bool existait = qEnvironmentVariableIsSet(nom);
    const QByteArray avant = qgetenv(nom);
    valeur.isNull() ? qunsetenv(nom) : qputenv(nom, valeur);
    return qScopeGuard([=] { existait ? qputenv(nom, avant) : qunsetenv(nom); });
}

TEST(Lancement, DossierDeTravailEtDonneesLivrees)
{
    QTemporaryDir racine;
    const QDir r(racine.path());
    for (const char* d : {"atelier/data", "sans-index/data", "windows/Data", "usr/bin", "usr/share/tarvex/vide/data",
                          "windows/share/tarvex/vide/data", "seul"})
        r.mkpath(QString::fromUtf8(d));
    for (const char* f : {"atelier/data/data.txt", "windows/Data/DATA.TXT"})
        ASSERT_TRUE(QFile(r.filePath(QString::fromUtf8(f))).open(QIODevice::WriteOnly));
    const QString depart = QDir::currentPath(), choisi = r.filePath(QStringLiteral("choisi"));
    const QString maison = QDir(QDir::homePath()).filePath(QStringLiteral("tarvex"));
    const struct {
        const char* nom;
        const char* courant;
        QByteArray home;  // null: unset
        QString attendu;
    } cas[] = {
        {"dossier de l'atelier", "atelier", choisi.toUtf8(), r.filePath(QStringLiteral("atelier"))},
        {"copié de Windows", "windows", choisi.toUtf8(), r.filePath(QStringLiteral("windows"))},
        {"data sans index", "sans-index", choisi.toUtf8(), choisi},
        {"TARVEX_HOME", ".", choisi.toUtf8(), choisi},
        {"par défaut", ".", QByteArray(), maison},
        {"TARVEX_HOME vide", ".", QByteArray(""), maison},
    };
    for (const auto& c : cas) {
        const auto home = variable("TARVEX_HOME", c.home);
        ASSERT_TRUE(QDir::setCurrent(r.filePath(QString::fromUtf8(c.courant)))) << c.nom;
        EXPECT_EQ(QDir::cleanPath(dossierTravail()).toStdString(), QDir::cleanPath(c.attendu).toStdString()) << c.nom;
    }
    QDir::setCurrent(depart);

    const struct { const char* nom; const char* programme; const char* attendu; } livrees[] = {
        {"installé : share à côté de bin", "usr/bin", "usr/share/tarvex"},
        {"à plat : share à côté du programme", "windows", "windows/share/tarvex"},
        {"introuvable : la place des données installées", "seul", "share/tarvex"},
    };
    {
        const auto partage = variable("TARVEX_PARTAGE", QByteArray());
        for (const auto& c : livrees)
            EXPECT_EQ(dossierPartage(r.filePath(QString::fromUtf8(c.programme))).toStdString(),
                      r.filePath(QString::fromUtf8(c.attendu)).toStdString()) << c.nom;
    }
    const auto partage = variable("TARVEX_PARTAGE", QByteArray("/opt/tarvex/share"));
    EXPECT_EQ(dossierPartage(r.filePath(QStringLiteral("usr/bin"))).toStdString(), "/opt/tarvex/share");
}

// Qt's file dialog names a folder's type through a context the French catalogue
// of Qt 6.4 lacks: the program answers it, no "Folder" among French texts.
TEST(Lancement, TypesDuDialogueDeFichiersEnFrancais)
{
    QTemporaryDir d;
    EXPECT_EQ(QFileIconProvider().type(QFileInfo(d.path())).toStdString(), "Dossier");
}

// SIGTERM (a logout) ends the program without the question its main window asks at a close.
TEST(Lancement, SignalSansQuestion)
{
    struct : QWidget { void closeEvent(QCloseEvent* e) override { e->ignore(); } } principale;
    principale.show();
    plateforme::surveillerFin(qApp, plateforme::finSansQuestion);
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // a failure does not hang the tests
    EXPECT_EQ(QCoreApplication::exec(), 0);
    for (int s : {SIGTERM, SIGHUP, SIGINT}) std::signal(s, SIG_DFL);
}

}  // namespace
}  // namespace tarvex
