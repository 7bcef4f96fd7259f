// The picker lists on a real folder tree, and the name proposed for a
// received program: what the scenarios cannot see from their working folder.

#include "cnclink/reception.h"
#include "platform/doubles.h"
#include "platform/listes.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace tarvex::plateforme {
namespace {

void ecrire(const QString& chemin, const QByteArray& octets = "x")
{
    QDir().mkpath(QFileInfo(chemin).path());
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

QStringList entrees(const QListWidget& l)
{
    QStringList r;
    for (int i = 0; i < l.count(); ++i) r << l.item(i)->text();
    return r;
}

class Arbre : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dossier_.isValid());
        racine_ = QDir(dossier_.path()).canonicalPath();
        ecrire(racine_ + "/progs/b.TXT");
        ecrire(racine_ + "/progs/A.txt");
        ecrire(racine_ + "/progs/c.txt.bak");
        ecrire(racine_ + "/progs/.cache.txt");
        ecrire(racine_ + "/progs/notes.doc");
        QDir().mkpath(racine_ + "/progs/dossier.txt");
        QDir().mkpath(racine_ + "/progs/Zeta");
        QDir().mkpath(racine_ + "/progs/alpha");
        ancien_ = QDir::currentPath();
        QDir::setCurrent(racine_);
    }
    void TearDown() override { QDir::setCurrent(ancien_); }

    QString natif(const QString& relatif) const { return QDir::toNativeSeparators(racine_ + "/" + relatif); }

    QTemporaryDir dossier_;
    QString racine_;
    QString ancien_;
};

TEST_F(Arbre, LesFichiersDuMotifTriesSansCasse)
{
    ListeFichiers f(QStringLiteral("*.txt"));
    f.allerDans(natif("progs"));
    // Neither folders nor hidden files; the pattern ignores letter case.
    EXPECT_EQ(entrees(f), (QStringList{"A.txt", "b.TXT"}));
    EXPECT_EQ(f.nom(), QString());
    EXPECT_EQ(f.chemin(), QString());

    ASSERT_TRUE(f.choisir(QStringLiteral("b.txt")));
    EXPECT_EQ(f.nom(), QStringLiteral("b.TXT"));
    EXPECT_EQ(f.chemin(), natif("progs") + "\\b.TXT");

    // A file written after the list was read can still be chosen.
    ecrire(racine_ + "/progs/nouveau.txt");
    EXPECT_TRUE(f.choisir(QStringLiteral("nouveau.txt")));
    EXPECT_FALSE(f.choisir(QStringLiteral("notes.doc")));

    // Another folder forgets the selected file.
    f.allerDans(natif("progs/alpha"));
    EXPECT_TRUE(entrees(f).isEmpty());
    EXPECT_EQ(f.nom(), QString());
}

TEST_F(Arbre, LeClicEtLesFlechesMontrentLeFichier)
{
    ListeFichiers f(QStringLiteral("*.txt"));
    f.allerDans(natif("progs"));
    QSignalSpy clics(&f, &ListeFichiers::clique);
    f.choisir(QStringLiteral("A.txt"));
    EXPECT_EQ(clics.count(), 1);
    f.setFocus();
    QKeyEvent bas(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&f, &bas);
    EXPECT_EQ(clics.count(), 2);
    EXPECT_EQ(f.nom(), QStringLiteral("b.TXT"));
}

TEST_F(Arbre, LesDossiersMontrentLeCheminEtLesSousDossiers)
{
    ListeDossiers d;
    EXPECT_EQ(d.chemin(), QDir::toNativeSeparators(racine_));
    QSignalSpy changements(&d, &ListeDossiers::change);

    ASSERT_TRUE(d.aller(QStringLiteral("progs")));
    EXPECT_EQ(d.chemin(), natif("progs"));
    EXPECT_EQ(changements.count(), 1);
    const QStringList vus = entrees(d);
    // The folders above down to this one, then its own, sorted.
    ASSERT_GE(vus.size(), 5);
    EXPECT_EQ(vus.mid(vus.size() - 5), (QStringList{QFileInfo(racine_).fileName(), "progs", "alpha", "dossier.txt", "Zeta"}));
    EXPECT_EQ(d.currentItem()->text(), QStringLiteral("progs"));

    // The same folder again: no change.
    EXPECT_TRUE(d.aller(natif("progs")));
    EXPECT_EQ(changements.count(), 1);

    // A folder that is not there leaves everything as it was.
    EXPECT_FALSE(d.aller(QStringLiteral("absent")));
    EXPECT_FALSE(d.aller(natif("progs/A.txt")));
    EXPECT_EQ(d.chemin(), natif("progs"));
    EXPECT_EQ(changements.count(), 1);

    // Letter case does not matter, as at the workshop; a relative path is
    // taken from the working folder, not from the list's.
    EXPECT_TRUE(d.aller(QStringLiteral("PROGS/ZETA")));
    EXPECT_EQ(d.chemin(), natif("progs/Zeta"));
    EXPECT_TRUE(d.aller(QStringLiteral("progs/Zeta/..")));
    EXPECT_EQ(d.chemin(), natif("progs"));

    // A double click on the folder above goes there.
    QListWidgetItem* dessus = d.item(d.currentRow() - 1);
    emit d.itemActivated(dessus);
    EXPECT_EQ(d.chemin(), QDir::toNativeSeparators(racine_));
}

TEST_F(Arbre, LecteurNonPretLaisseLesListesOuEllesEtaient)
{
    QWidget fenetre;
    ListeLecteurs lecteurs(&fenetre);
    ListeDossiers dossiers(&fenetre);
    ListeFichiers fichiers(QStringLiteral("*.txt"), &fenetre);
    MessagesEnregistres messages;
    relierListes(&lecteurs, &dossiers, &fichiers, messages, &fenetre);
    EXPECT_EQ(fichiers.dossier(), QDir::toNativeSeparators(racine_));

    dossiers.aller(QStringLiteral("progs"));
    EXPECT_EQ(fichiers.dossier(), natif("progs"));
    EXPECT_EQ(entrees(fichiers), (QStringList{"A.txt", "b.TXT"}));

    ASSERT_TRUE(lecteurs.choisir(QStringLiteral("Q:")));
    ASSERT_EQ(messages.demandes.size(), 1u);
    EXPECT_EQ(messages.demandes[0].texte, QStringLiteral("Lecteur non prêt"));
    EXPECT_EQ(messages.demandes[0].titre, QString());
    EXPECT_EQ(messages.demandes[0].icone, Icone::Critique);
    EXPECT_EQ(messages.demandes[0].boutons, Boutons::Ok);
    EXPECT_EQ(lecteurs.lecteur(), QStringLiteral("Q:"));
    EXPECT_EQ(dossiers.chemin(), natif("progs"));
    EXPECT_EQ(fichiers.dossier(), natif("progs"));

    // Back on the drive of the working folder: its current folder.
    ASSERT_TRUE(lecteurs.choisir(ListeLecteurs::lecteurDe(racine_)));
    EXPECT_EQ(messages.demandes.size(), 1u);
    EXPECT_EQ(dossiers.chemin(), QDir::toNativeSeparators(racine_));
    EXPECT_EQ(fichiers.dossier(), QDir::toNativeSeparators(racine_));
}

TEST(NomPropose, NumeroDuProgrammeSinonNomGenerique)
{
    struct Cas {
        QByteArray programme;
        const char* nom;
    } cas[] = {
        {"%1234\r\nN10 G0\r\n", "1234.txt"},
        {"%1234 (FLASQUE)\r\n", "1234.txt"},
        {"  \r\n% 77\r\n", "77.txt"},
        {"%\r\nO1020 (BAGUE)\r\n", "O1020.txt"},
        {"%\nO1020", "O1020.txt"},
        {"%\r\n\r\no0042\r\n", "O0042.txt"},
        {"O7\r\n", "O7.txt"},
        {"%\r\nN10 G0\r\n", "programme.txt"},
        {"%PROG\r\n", "programme.txt"},
        {"Erreur 5 - Erreur de trame", "programme.txt"},
        {"O\r\n", "programme.txt"},
        {"", "programme.txt"},
        {"%12345678901234567890\r\n", "1234567890123456.txt"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(nomPropose(c.programme), QString::fromLatin1(c.nom)) << c.programme.toStdString();
}

}  // namespace
}  // namespace tarvex::plateforme
