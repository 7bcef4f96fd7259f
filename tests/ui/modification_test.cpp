// The storing of a modified sheet and the deletion of a sheet, from their
// windows, stopped at each file operation in turn: the operator is told
// which file stopped it, the window stays for another try, and that try
// finishes the job.

#include "mainwindow/selectphase.h"
#include "modification/bilanmodification.h"
#include "modification/modification2.h"
#include "modification/suppression.h"
#include "platform/doubles.h"
#include "store/fichiers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "fichiers_test_support.h"

#include <gtest/gtest.h>

#include <map>

namespace tarvex {
namespace {

using namespace plateforme;
using test::lire;
using test::poser;

// Every file of the data folder with its bytes, scratch files aside.
std::map<QString, QByteArray> instantane()
{
    std::map<QString, QByteArray> r;
    QDirIterator it(QStringLiteral("data"), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString c = it.next();
        // The archives are looked at by their own tests: a step run again
        // after a stop may archive the files it finds then.
        if (c.endsWith(QStringLiteral(".~tvx")) || c.endsWith(QStringLiteral("data.tmp")) ||
            c.startsWith(QStringLiteral("data/archives")))
            continue;
        r[c] = QFileInfo(c).isDir() ? QByteArray("<dossier>") : lire(c);
    }
    return r;
}

const QByteArray kIndex = "AXE,10,TOUR 1,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,N\r\n"
                          "BAGUE,20,TOUR 1,BRAS,BRONZE,O,N,N,N,N,N,N,N,N,N,N\r\n";

class FicheArretee : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dossier_.isValid());
        precedent_ = QDir::currentPath();
        QDir::setCurrent(dossier_.path());
    }
    void TearDown() override
    {
        fichiers::panneA(0);
        QDir::setCurrent(precedent_);
    }

    static void preparer()
    {
        QDir(QStringLiteral("data")).removeRecursively();
        poser(QStringLiteral("data/data.txt"), kIndex);
        poser(QStringLiteral("data/code.tvx"), "C\r\n");
        poser(QStringLiteral("data/machine.txt"), "TOUR 1\r\n");
        poser(QStringLiteral("data/machine/TOUR 1/com.txt"), "COM1\r\n9600\r\nE(ven)\r\n7\r\n2\r\n1\r\n1\r\n");
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::gray);
        for (const char* f : {"data/AXE_Phase 10_BRAS_TOUR 1/Vue.jpg", "data/BAGUE_Phase 20_BRAS_TOUR 1/Vue.jpg"}) {
            QDir().mkpath(QFileInfo(QString::fromUtf8(f)).path());
            ASSERT_TRUE(image.save(QString::fromUtf8(f), "JPG"));
        }
        for (const char* d : {"data/AXE_Phase 10_BRAS_TOUR 1/", "data/BAGUE_Phase 20_BRAS_TOUR 1/"}) {
            poser(QString::fromUtf8(d) + QStringLiteral("pref.txt"), "1\r\n2\r\n3\r\n4\r\n");
            poser(QString::fromUtf8(d) + QStringLiteral("jauge.txt"), "T1\r\n");
        }
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(QStringLiteral("neuve.jpg"), "JPG"));
        poser(QStringLiteral("prog.txt"), "%\r\nM2\r\n");
    }

    static void choisirAxe(Selectphase& principale)
    {
        principale.remplirliste();
        const int i = principale.Phase->findText(QStringLiteral("AXE Phase 10"));
        ASSERT_GE(i, 0);
        principale.Phase->setCurrentIndex(i);
        emit principale.Phase->activated(i);
        ASSERT_EQ(principale.Label[1]->text(), QStringLiteral("AXE"));
    }

    QTemporaryDir dossier_;
    QString precedent_;
};

TEST_F(FicheArretee, EnregistrementAChaqueOperation)
{
    std::map<QString, QByteArray> attendu;
    int total = 0;
    for (int n = 0; n == 0 || n <= total; ++n) {
        SCOPED_TRACE("arrêt à l'opération " + std::to_string(n));
        preparer();
        const auto avant = instantane();
        DoublesDeServices doubles;
        Selectphase principale(doubles.services);
        choisirAxe(principale);
        Modification2 modification(principale);
        modification.charger();
        modification.photos->emplacements[0].chemin->setText(QStringLiteral("neuve.jpg"));
        modification.programme->chargeprogramme->setText(QStringLiteral("prog.txt"));
        modification.valeurs->Prefx->setText(QStringLiteral("9"));
        modification.Text3->setText(QStringLiteral("C"));

        bool arrete = false, avantIndex = false;
        doubles.fenetres.pendant = [&](QDialog* f) {
            auto* bilan = qobject_cast<Bilanmodification*>(f);
            ASSERT_TRUE(bilan);
            ASSERT_TRUE(bilan->Créer->isEnabled());
            const std::size_t messages = doubles.messages.demandes.size();
            fichiers::panneA(n);
            bilan->Créer->click();
            if (n == 0) total = fichiers::operationsDepuisPanne();
            fichiers::panneA(0);
            if (bilan->isVisible()) {
                // Stopped: told, with the file named, and the report stays.
                arrete = true;
                ASSERT_EQ(doubles.messages.demandes.size(), messages + 1);
                const MessageDemande& d = doubles.messages.demandes.back();
                EXPECT_EQ(d.icone, Icone::Exclamation);
                EXPECT_TRUE(d.texte.startsWith(QStringLiteral("La modification de la fiche AXE Phase 10 s'est arrêtée")))
                    << d.texte.toStdString();
                EXPECT_TRUE(d.texte.contains(QStringLiteral("data\\")) || d.texte.contains(QStringLiteral("neuve.jpg")) ||
                            d.texte.contains(QStringLiteral("prog.txt")))
                    << d.texte.toStdString();
                avantIndex = d.texte.endsWith(QStringLiteral("Rien n'a été modifié."));
                if (avantIndex) {
                    EXPECT_EQ(instantane(), avant);
                    EXPECT_EQ(principale.Label[16]->text(), QStringLiteral("N"));
                } else {
                    EXPECT_EQ(principale.Label[16]->text(), QStringLiteral("O"));
                }
                // The same "Continuer" again finishes the job.
                bilan->Créer->click();
            }
            EXPECT_FALSE(bilan->isVisible());
            bilan->hide();
        };
        modification.Command4->click();
        EXPECT_EQ(doubles.messages.demandes.back().texte, QStringLiteral("Modification fiche usinage réusssie"));
        EXPECT_FALSE(modification.isVisible());
        if (n == 0) {
            EXPECT_FALSE(arrete);
            attendu = instantane();
            EXPECT_EQ(lire(QStringLiteral("data/AXE_Phase 10_BRAS_TOUR 1/prog.txt")), QByteArray("%\r\nM2\r\n"));
            EXPECT_EQ(lire(QStringLiteral("data/AXE_Phase 10_BRAS_TOUR 1/pref.txt")), QByteArray("9\r\n2\r\n3\r\n4\r\n"));
        } else {
            EXPECT_EQ(instantane(), attendu);
        }
        EXPECT_EQ(principale.Prefx->text(), QStringLiteral("9"));
        EXPECT_EQ(principale.Label[16]->text(), QStringLiteral("O"));
    }
    EXPECT_GT(total, 5);
}

TEST_F(FicheArretee, SuppressionAChaqueOperation)
{
    std::map<QString, QByteArray> attendu;
    int total = 0;
    for (int n = 0; n == 0 || n <= total; ++n) {
        SCOPED_TRACE("arrêt à l'opération " + std::to_string(n));
        preparer();
        DoublesDeServices doubles;
        Selectphase principale(doubles.services);
        choisirAxe(principale);
        Modification2 modification(principale);
        modification.charger();

        fichiers::panneA(n);
        const bool supprimee = supprimerFiche(&modification, principale, QStringLiteral("C"));
        if (n == 0) total = fichiers::operationsDepuisPanne();
        fichiers::panneA(0);
        if (!supprimee) {
            const MessageDemande& d = doubles.messages.demandes.back();
            EXPECT_TRUE(d.texte.startsWith(QStringLiteral("La suppression de la fiche AXE Phase 10 s'est arrêtée")) ||
                        d.texte.startsWith(QStringLiteral("La fiche ne peut pas être supprimée")) ||
                        d.texte == QStringLiteral("Code autorisation erroné"))
                << d.texte.toStdString();
            // The sheet is still listed and still selected: "Supprimer" again.
            EXPECT_EQ(lire(QStringLiteral("data/data.txt")), kIndex);
            EXPECT_EQ(principale.Label[1]->text(), QStringLiteral("AXE"));
            ASSERT_TRUE(supprimerFiche(&modification, principale, QStringLiteral("C")));
        }
        bool reussie = false;
        for (const auto& d : doubles.messages.demandes)
            reussie = reussie || d.texte == QStringLiteral("Suppression fiche usinage réusssie");
        EXPECT_TRUE(reussie);
        EXPECT_EQ(principale.Label[1]->text(), QString());
        // A stop in the reading that refills the list is the list's own
        // message, after the deletion's.
        if (doubles.messages.demandes.back().texte == QStringLiteral("Suppression fiche usinage réusssie")) {
            EXPECT_EQ(principale.Phase->count(), 1);
        }
        if (n == 0) {
            attendu = instantane();
        } else {
            EXPECT_EQ(instantane(), attendu);
        }
    }
    EXPECT_EQ(lire(QStringLiteral("data/data.txt")), QByteArray("BAGUE,20,TOUR 1,BRAS,BRONZE,O,N,N,N,N,N,N,N,N,N,N\r\n"));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("data/AXE_Phase 10_BRAS_TOUR 1")));
    EXPECT_GT(total, 3);
}

}  // namespace
}  // namespace tarvex
