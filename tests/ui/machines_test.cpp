// The machine windows driven through the calls the sheet creation window
// makes, in the case the scenarios cannot set up: a disk that refuses a step
// of the writing (files that vanish are machines/fichiers-disparus').

#include "machines/gestion.h"
#include "machines/machinebilancreation.h"
#include "machines/machinecreation.h"
#include "mainwindow/selectphase.h"
#include "platform/doubles.h"
#include "store/fichiers.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "fichiers_test_support.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace tarvex {
namespace {

using namespace plateforme;
using test::lire;
using test::poser;

QString u(const char* s) { return QString::fromUtf8(s); }

void image(const QString& chemin, int l, int h)
{
    QDir().mkpath(QFileInfo(chemin).path());
    QImage i(l, h, QImage::Format_RGB32);
    i.fill(Qt::gray);
    ASSERT_TRUE(i.save(chemin, "JPG"));
}

class FenetresMachines : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dossier_.isValid());
        avant_ = QDir::currentPath();
        QDir::setCurrent(dossier_.path());
        QDir().mkpath(QStringLiteral("data/machine"));
        poser(QStringLiteral("data/code.tvx"), "SECRET\r\n");
        poser(QStringLiteral("data/machine.txt"), "TOUR 1\r\nFRAISEUSE\r\n");
        poser(QStringLiteral("data/data.txt"), "AXE,10,TOUR 1,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,N\r\n"
                                               "CAME,20,fraiseuse,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,N\r\n");
        poser(QStringLiteral("data/pasdeprogramme.txt"), "Pas de programme\r\n");
        image(QStringLiteral("data/pasdimage.jpg"), 40, 30);
        image(QStringLiteral("data/tournage.jpg"), 40, 30);
        image(QStringLiteral("data/fraisage.jpg"), 40, 30);
        for (const char* m : {"TOUR 1", "FRAISEUSE"}) {
            const QString d = u("data/machine/") + u(m) + u("/");
            poser(d + "com.txt", "COM1\r\n9600\r\nE(ven)\r\n7\r\n2\r\n1\r\n1\r\n");
            image(d + "image.jpg", 20, 20);
            poser(d + "dossier.txt", "Broche, 1.50\r\n \"a, b\" \r\n");
        }
        principale_ = std::make_unique<Selectphase>(d_.services);
        creation_ = new QDialog(principale_.get());
        creation_->setObjectName(u("Création"));
        d_.fenetres.pendant = [this](QDialog* f) {
            auto& file = actions_[f->objectName()];
            if (file.empty()) {
                f->hide();
                return;
            }
            auto action = std::move(file.front());
            file.pop_front();
            action(f);
            ASSERT_FALSE(f->isVisible()) << f->objectName().toStdString() << " still open";
        };
    }

    void TearDown() override
    {
        principale_.reset();
        QDir::setCurrent(avant_);
    }

    // What to do the next time the window of that name is shown modally;
    // the action must leave it hidden.
    template <class F>
    void quand(const char* nom, std::function<void(F&)> action)
    {
        actions_[u(nom)].push_back([action](QDialog* f) {
            auto* w = qobject_cast<F*>(f);
            ASSERT_NE(w, nullptr);
            action(*w);
        });
    }

    QStringList messages() const
    {
        QStringList r;
        for (const auto& m : d_.messages.demandes) r << m.titre + " | " + m.texte;
        return r;
    }

    QTemporaryDir dossier_;
    QString avant_;
    DoublesDeServices d_;
    std::unique_ptr<Selectphase> principale_;
    QDialog* creation_ = nullptr;
    std::map<QString, std::deque<std::function<void(QDialog*)>>> actions_;
};

// A disk that refuses a step of the writing: said, naming the file; the
// report stays open, nothing is listed, and "Continuer" again completes it.
TEST_F(FenetresMachines, EcritureInterrompue)
{
    QStringList ajoutes;
    quand<MachineCreation>("MachineCréation", [this](MachineCreation& m) {
        m.Text1->setText(u("TOUR 7"));
        m.Option1->click();
        m.Option3->click();
        m.Text3->setText(u("SECRET"));
        quand<MachineBilancreation>("MachineBilancréation", [this](MachineBilancreation& b) {
            // Each try goes one step further than the last one did, as the
            // folder left behind is completed in place.
            int essais = 0;
            for (int panne = 1; panne < 20; ++panne) {
                fichiers::panneA(panne);
                b.Créer->click();
                const bool arrete = fichiers::operationsDepuisPanne() >= panne;
                fichiers::panneA(0);
                if (!arrete) break;
                ++essais;
                EXPECT_TRUE(b.isVisible());
                EXPECT_TRUE(b.Créer->isEnabled());
                EXPECT_TRUE(messages().last().startsWith(u("Infos | La machine TOUR 7 n'a pas pu être créée :\n")))
                    << messages().last().toStdString();
                EXPECT_TRUE(messages().last().contains(u("data\\machine"))) << messages().last().toStdString();
                EXPECT_EQ(lire("data/machine.txt"), "TOUR 1\r\nFRAISEUSE\r\n");
            }
            EXPECT_GE(essais, 4);
            EXPECT_EQ(messages().last(), u("Infos | Création fiche machine réusssie"));
            EXPECT_FALSE(b.isVisible());
        });
        m.Créer->click();
        m.quitter->click();
    });
    machines::creerMachine(creation_, d_.services, [&](const QString& n) { ajoutes << n; });
    EXPECT_EQ(ajoutes, QStringList{u("TOUR 7")});
    EXPECT_EQ(lire("data/machine.txt"), "TOUR 1\r\nFRAISEUSE\r\nTOUR 7\r\n");
    EXPECT_EQ(lire("data/machine/TOUR 7/com.txt"), "COM1\r\n9600\r\nE(ven)\r\n5\r\n1\r\n1\r\n1\r\n");
}

}  // namespace
}  // namespace tarvex
