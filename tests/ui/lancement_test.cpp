// Where a start works and where it finds the delivered data: the folder it
// is started in when that holds a data folder with its index, else
// $TARVEX_HOME, else ~/tarvex; the delivered data beside the program unless
// $TARVEX_PARTAGE names them.

#include "app/application.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

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

TEST(Lancement, DossierDeTravail)
{
    QTemporaryDir racine;
    const QString depart = QDir::currentPath();
    QDir(racine.path()).mkpath(QStringLiteral("atelier/data"));
    QDir(racine.path()).mkpath(QStringLiteral("sans-index/data"));
    QDir(racine.path()).mkpath(QStringLiteral("windows/Data"));
    for (const char* f : {"atelier/data/data.txt", "windows/Data/DATA.TXT"}) {
        QFile index(racine.filePath(QString::fromUtf8(f)));
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    }

    struct Cas {
        const char* nom;
        QString courant;
        QByteArray home;  // null: unset
        QString attendu;
    };
    const QString atelier = racine.filePath(QStringLiteral("atelier"));
    const QString choisi = racine.filePath(QStringLiteral("choisi"));
    const std::vector<Cas> cas = {
        {"dossier de l'atelier", atelier, choisi.toUtf8(), atelier},
        {"copié de Windows", racine.filePath(QStringLiteral("windows")), choisi.toUtf8(), racine.filePath(QStringLiteral("windows"))},
        {"data sans index", racine.filePath(QStringLiteral("sans-index")), choisi.toUtf8(), choisi},
        {"TARVEX_HOME", racine.path(), choisi.toUtf8(), choisi},
        {"par défaut", racine.path(), QByteArray(), QDir(QDir::homePath()).filePath(QStringLiteral("tarvex"))},
        {"TARVEX_HOME vide", racine.path(), QByteArray(""), QDir(QDir::homePath()).filePath(QStringLiteral("tarvex"))},
    };
    for (const auto& c : cas) {
        const auto home = variable("TARVEX_HOME", c.home);
        ASSERT_TRUE(QDir::setCurrent(c.courant)) << c.nom;
        EXPECT_EQ(QDir::cleanPath(dossierTravail()).toStdString(), QDir::cleanPath(c.attendu).toStdString()) << c.nom;
    }
    QDir::setCurrent(depart);
}

TEST(Lancement, DonneesLivrees)
{
    QTemporaryDir racine;
    const QDir r(racine.path());
    for (const char* d : {"usr/bin", "usr/share/tarvex/vide/data", "windows/share/tarvex/vide/data", "seul"})
        r.mkpath(QString::fromUtf8(d));
    struct Cas {
        const char* nom;
        const char* programme;
        const char* attendu;
    };
    const std::vector<Cas> cas = {
        {"installé : share à côté de bin", "usr/bin", "usr/share/tarvex"},
        {"à plat : share à côté du programme", "windows", "windows/share/tarvex"},
        {"introuvable : la place des données installées", "seul", "share/tarvex"},
    };
    {
        const auto partage = variable("TARVEX_PARTAGE", QByteArray());
        for (const auto& c : cas)
            EXPECT_EQ(dossierPartage(r.filePath(QString::fromUtf8(c.programme))).toStdString(),
                      r.filePath(QString::fromUtf8(c.attendu)).toStdString()) << c.nom;
    }
    const auto partage = variable("TARVEX_PARTAGE", QByteArray("/opt/tarvex/share"));
    EXPECT_EQ(dossierPartage(r.filePath(QStringLiteral("usr/bin"))).toStdString(), "/opt/tarvex/share");
}

}  // namespace
}  // namespace tarvex
