// The folder list on a real folder tree and the name proposed for a received
// program, beyond the scenarios' working folder (files and drives: cnc/emission).

#include "cnclink/reception.h"
#include "platform/listes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvex::plateforme {
namespace {

// (A name in any letter case and a relative sub-folder: cnc/emission.)
TEST(ListeDossiers, MontreLeCheminEtLesSousDossiers)
{
    QTemporaryDir dossier;
    const QString racine = QDir(dossier.path()).canonicalPath();
    for (const char* d : {"progs/dossier.txt", "progs/Zeta", "progs/alpha"}) QDir(racine).mkpath(QString::fromLatin1(d));
    ASSERT_TRUE(QFile(racine + "/progs/A.txt").open(QIODevice::WriteOnly));
    const QString ancien = QDir::currentPath();
    QDir::setCurrent(racine);
    auto natif = [&](const QString& relatif) { return QDir::toNativeSeparators(racine + "/" + relatif); };
    ListeDossiers d;
    EXPECT_EQ(d.chemin(), QDir::toNativeSeparators(racine));
    ASSERT_TRUE(d.aller(QStringLiteral("progs/Zeta/..")));
    EXPECT_EQ(d.chemin(), natif("progs"));
    QStringList vus;
    for (int i = 0; i < d.count(); ++i) vus << d.item(i)->text();
    // The folders above down to this one, then its own, sorted.
    ASSERT_GE(vus.size(), 5);
    EXPECT_EQ(vus.mid(vus.size() - 5), (QStringList{QFileInfo(racine).fileName(), "progs", "alpha", "dossier.txt", "Zeta"}));
    EXPECT_EQ(d.currentItem()->text(), QStringLiteral("progs"));
    // A folder that is not there, or a file, leaves everything as it was.
    EXPECT_FALSE(d.aller(QStringLiteral("absent")) || d.aller(natif("progs/A.txt")));
    EXPECT_EQ(d.chemin(), natif("progs"));
    // A double click on the folder above goes there.
    emit d.itemActivated(d.item(d.currentRow() - 1));
    EXPECT_EQ(d.chemin(), QDir::toNativeSeparators(racine));
    QDir::setCurrent(ancien);
}

TEST(NomPropose, NumeroDuProgrammeSinonNomGenerique)
{
    struct Cas { QByteArray programme; const char* nom; } cas[] = {
        {"%1234\r\nN10 G0\r\n", "1234.txt"}, {"%1234 (FLASQUE)\r\n", "1234.txt"}, {"  \r\n% 77\r\n", "77.txt"},
        {"%\r\nO1020 (BAGUE)\r\n", "O1020.txt"}, {"%\nO1020", "O1020.txt"}, {"%\r\n\r\no0042\r\n", "O0042.txt"},
        {"O7\r\n", "O7.txt"}, {"%\r\nN10 G0\r\n", "programme.txt"}, {"%PROG\r\n", "programme.txt"},
        {"Erreur 5 - Erreur de trame", "programme.txt"}, {"O\r\n", "programme.txt"}, {"", "programme.txt"},
        {"%12345678901234567890\r\n", "1234567890123456.txt"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(nomPropose(c.programme), QString::fromLatin1(c.nom)) << c.programme.toStdString();
}

}  // namespace
}  // namespace tarvex::plateforme
