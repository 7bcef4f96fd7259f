// "Continuer" of the creation report stopped at each file operation in turn:
// before the index record the report stays open with nothing written; after
// it the operator is told which file stopped the writing, both windows close
// and the main window lists the incomplete sheet.

#include "creation/bilancreation.h"
#include "creation/creation.h"
#include "mainwindow/selectphase.h"
#include "platform/doubles.h"
#include "store/fichiers.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "fichiers_test_support.h"

#include <gtest/gtest.h>

namespace tarvex {
namespace {

using namespace plateforme;
using test::lire;
using test::poser;

const QByteArray kIndex = "AXE,10,TOUR 1,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,N\r\n";

class CreationArretee : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dossier_.isValid());
        precedent_ = QDir::currentPath();
        QDir::setCurrent(dossier_.path());
    }
    void TearDown() override { QDir::setCurrent(precedent_); }

    static void preparer()
    {
        QDir(QStringLiteral("data")).removeRecursively();
        poser(QStringLiteral("data/data.txt"), kIndex);
        poser(QStringLiteral("data/code.tvx"), "C\r\n");
        poser(QStringLiteral("data/machine.txt"), "TOUR 1\r\n");
        poser(QStringLiteral("data/machine/TOUR 1/com.txt"), "COM1\r\n9600\r\nE(ven)\r\n7\r\n2\r\n1\r\n1\r\n");
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::gray);
        ASSERT_TRUE(image.save(QStringLiteral("vue.jpg"), "JPG"));
        poser(QStringLiteral("prog.txt"), "%\r\nM2\r\n");
    }

    QTemporaryDir dossier_;
    QString precedent_;
};

TEST_F(CreationArretee, AChaqueOperation)
{
    // n = 0: the run without a stop, which counts the operations.
    int total = 0;
    for (int n = 0; n == 0 || n <= total; ++n) {
        SCOPED_TRACE("arrêt à l'opération " + std::to_string(n));
        preparer();
        DoublesDeServices doubles;
        Selectphase principale(doubles.services);
        principale.remplirliste();
        Creation creation(principale);
        creation.charger();
        creation.Machine->setCurrentIndex(0);
        emit creation.Machine->activated(0);
        creation.Text5->setText(QStringLiteral("NEUF"));
        creation.Text6->setText(QStringLiteral("20"));
        creation.Text2->setText(QStringLiteral("BRAS"));
        creation.Text7->setText(QStringLiteral("ACIER"));
        for (QLineEdit* b : {creation.valeurs->Prefx, creation.valeurs->Prefz, creation.valeurs->Decx, creation.valeurs->Decz})
            b->setText(QStringLiteral("1"));
        creation.photos->emplacements[creation::PVue].chemin->setText(QStringLiteral("vue.jpg"));
        creation.programme->chargeprogramme->setText(QStringLiteral("prog.txt"));
        creation.Text3->setText(QStringLiteral("C"));

        bool bilanOuvert = false;
        doubles.fenetres.pendant = [&](QDialog* f) {
            auto* bilan = qobject_cast<Bilancreation*>(f);
            ASSERT_TRUE(bilan);
            ASSERT_TRUE(bilan->Créer->isEnabled());
            fichiers::panneA(n);
            bilan->Créer->click();
            if (n == 0) total = fichiers::operationsDepuisPanne();
            fichiers::panneA(0);
            bilanOuvert = bilan->isVisible();
            bilan->hide();
        };
        creation.Créer->click();

        // The report's own message (a refill of the list that met the stop
        // adds one of the main window's).
        QString texte;
        Icone icone = Icone::Aucune;
        for (const auto& d : doubles.messages.demandes)
            if (d.texte.startsWith(QStringLiteral("La fiche")) || d.texte.startsWith(QStringLiteral("Création"))) {
                texte = d.texte;
                icone = d.icone;
            }
        const QByteArray index = lire(QStringLiteral("data/data.txt"));
        EXPECT_EQ(lire(QStringLiteral("data/machine.txt")), QByteArray("TOUR 1\r\n"));
        if (texte.startsWith(QStringLiteral("La fiche n'a pas été créée"))) {
            // Nothing written: the report stays for another try.
            EXPECT_EQ(index, kIndex);
            EXPECT_TRUE(bilanOuvert);
            EXPECT_FALSE(creation.estCreee());
            EXPECT_FALSE(QFileInfo::exists(QStringLiteral("data/NEUF_Phase 20_BRAS_TOUR 1")));
            continue;
        }
        if (texte != QStringLiteral("Création fiche usinage réusssie")) {
            EXPECT_EQ(icone, Icone::Critique);
            EXPECT_TRUE(texte.contains(QStringLiteral("data\\NEUF_Phase 20_BRAS_TOUR 1"))) << texte.toStdString();
        }
        EXPECT_EQ(index, kIndex + "NEUF,20,TOUR 1,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,O\r\n");
        EXPECT_FALSE(bilanOuvert);
        EXPECT_TRUE(creation.estCreee());
        if (doubles.messages.demandes.back().texte == texte) {
            ASSERT_EQ(principale.Phase->count(), 2);
            EXPECT_EQ(principale.Phase->itemText(1), QStringLiteral("NEUF Phase 20"));
        }
    }
    EXPECT_GT(total, 5);
}

}  // namespace
}  // namespace tarvex
