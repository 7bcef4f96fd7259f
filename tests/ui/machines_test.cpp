// The machine windows driven as the operator would, through the calls the
// sheet creation window makes: a new machine and its report, a machine's
// file, the deletion of a machine.

#include "machines/creationinfomachine.h"
#include "machines/gestion.h"
#include "machines/machinebilancreation.h"
#include "machines/machinecreation.h"
#include "creation/selecteur.h"
#include "mainwindow/selectphase.h"
#include "platform/doubles.h"
#include "store/fichiers.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace tarvex {
namespace {

using namespace plateforme;

QString u(const char* s) { return QString::fromUtf8(s); }

void poser(const QString& chemin, const QByteArray& octets)
{
    QDir().mkpath(QFileInfo(chemin).path());
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

QByteArray lire(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return "<absent>";
    return f.readAll();
}

void image(const QString& chemin, int l, int h)
{
    QDir().mkpath(QFileInfo(chemin).path());
    QImage i(l, h, QImage::Format_RGB32);
    i.fill(Qt::gray);
    ASSERT_TRUE(i.save(chemin, "JPG"));
}

QStringList lignes(const QListWidget* l)
{
    QStringList r;
    for (int i = 0; i < l->count(); ++i) r << l->item(i)->text();
    return r;
}

QStringList entrees(const QComboBox* c)
{
    QStringList r;
    for (int i = 0; i < c->count(); ++i) r << c->itemText(i);
    return r;
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
        machine_ = new QComboBox(creation_);
        machine_->setObjectName(u("Machine"));
        machine_->addItems({u("TOUR 1"), u("FRAISEUSE")});
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
    QComboBox* machine_ = nullptr;
    std::map<QString, std::deque<std::function<void(QDialog*)>>> actions_;
};

TEST_F(FenetresMachines, DeuxMachinesCreeesDansLaMemeFenetre)
{
    quand<MachineCreation>("MachineCréation", [this](MachineCreation& m) {
        EXPECT_EQ(m.windowTitle(), u("Création Machine"));
        EXPECT_EQ(m.Text1->text(), u("Nom à compléter"));
        EXPECT_EQ(m.Machineimage->text(), u("data\\pasdimage.jpg"));
        EXPECT_EQ(m.Image1->chemin(), u("data\\pasdimage.jpg"));
        EXPECT_EQ(m.chargedossier->text(), u(""));
        for (auto* o : {m.Option1, m.Option2, m.Option3, m.Option4, m.Option5, m.Option10}) EXPECT_FALSE(o->isChecked());
        EXPECT_EQ((QStringList{m.Port2->currentText(), m.Vitesse2->currentText(), m.Parité2->currentText(),
                               m.Nbrebits2->currentText(), m.Bitsstop2->currentText()}),
                  (QStringList{"COM1", "9600", "E(ven)", "5", "1"}));

        // Milling then turning: only turning stays, with its picture.
        m.Option2->click();
        EXPECT_EQ(m.Image4->chemin(), u("data\\fraisage.jpg"));
        m.Option1->click();
        EXPECT_FALSE(m.Option2->isChecked());
        EXPECT_EQ(m.Image4->chemin(), u("data\\tournage.jpg"));
        m.Option2->click();
        m.Option5->click();
        m.Text1->setText(u("  CU 2 "));
        m.Port2->setEditText(u("COM3"));

        // A wrong code keeps everything.
        m.Text3->setText(u("secret"));
        m.Créer->click();
        EXPECT_EQ(messages().last(), u("Infos | Code autorisation erroné"));
        EXPECT_EQ(m.Text1->text(), u("  CU 2 "));

        quand<MachineBilancreation>("MachineBilancréation", [this](MachineBilancreation& b) {
            EXPECT_EQ(b.windowTitle(), u("Bilan Création Machine"));
            EXPECT_TRUE(b.Créer->isEnabled());
            EXPECT_EQ(lignes(b.List4).mid(0, 9),
                      (QStringList{"Analyse Nom de Machine ... ", "    CU 2  ... Saisie effectuée", " ",
                                   "Analyse Type de Machine ... ", "  Fraiseuse CN ... Cohérent", " ",
                                   "Analyse Type de Directeur de Commande ... ",
                                   "  Type FANUC (Origine/Jauges) ... Cohérent", " "}));
            EXPECT_EQ(lignes(b.List4).mid(9, 2), (QStringList{"Analyse Paramètres de communication ... ", "  Port : COM3"}));
            b.Créer->click();
            // Added to the creation window's list before the message.
            EXPECT_EQ(entrees(machine_).last(), u("CU 2"));
            EXPECT_EQ(messages().last(), u("Infos | Création fiche machine réusssie"));
        });
        m.Text3->setText(u("SECRET"));
        m.Créer->click();
        EXPECT_TRUE(m.isVisible());

        // A second machine from the same window, its entries kept.
        EXPECT_EQ(m.Text1->text(), u("  CU 2 "));
        m.Text1->setText(u("TOUR 9"));
        m.Option1->click();
        m.Option10->click();
        quand<MachineBilancreation>("MachineBilancréation", [](MachineBilancreation& b) { b.Créer->click(); });
        m.Créer->click();
        m.quitter->click();
    });
    const auto r = machines::creerMachine(creation_, d_.services);
    EXPECT_FALSE(r.has_value());
    EXPECT_EQ(entrees(machine_), (QStringList{"TOUR 1", "FRAISEUSE", "CU 2", "TOUR 9"}));
    EXPECT_EQ(lire("data/machine.txt"), "TOUR 1\r\nFRAISEUSE\r\nCU 2\r\nTOUR 9\r\n");
    EXPECT_EQ(lire("data/machine/CU 2/com.txt"), "COM3\r\n9600\r\nE(ven)\r\n5\r\n1\r\n2\r\n3\r\n");
    EXPECT_EQ(lire("data/machine/TOUR 9/com.txt"), "COM3\r\n9600\r\nE(ven)\r\n5\r\n1\r\n1\r\n10\r\n");
    EXPECT_EQ(lire("data/machine/CU 2/dossier.txt"), "Pas de dossier machine\r\n");
    EXPECT_EQ(lire("data/machine/CU 2/image.jpg"), lire("data/pasdimage.jpg"));
}

TEST_F(FenetresMachines, RefusEtRaz)
{
    quand<MachineCreation>("MachineCréation", [this](MachineCreation& m) {
        m.Text3->setText(u("SECRET"));
        // Untouched: two boxes while the report is built, Continuer disabled.
        quand<MachineBilancreation>("MachineBilancréation", [](MachineBilancreation& b) {
            EXPECT_FALSE(b.Créer->isEnabled());
            EXPECT_EQ(lignes(b.List4)[1], u("  Nom de la machine non saisi ou vide !"));
            b.quitter->click();
        });
        m.Créer->click();
        EXPECT_EQ(messages(), (QStringList{"Type Machine | Absence Choix du Type de machine !",
                                           "Type Directeur de Commande | Absence Choix du Directeur de Commande !"}));
        // A name of the list in another letter case.
        m.Text1->setText(u(" fraiseuse"));
        m.Option2->click();
        m.Option3->click();
        quand<MachineBilancreation>("MachineBilancréation", [](MachineBilancreation& b) {
            EXPECT_FALSE(b.Créer->isEnabled());
            EXPECT_EQ(lignes(b.List4)[3], u("  Le nom de la machine est déjà utilisé !"));
            b.quitter->click();
        });
        m.Créer->click();
        EXPECT_EQ(messages().last(), u("Nom de Machine | Nom de machine déjà utilisé !"));

        // RAZ: everything back as at loading, without a question.
        m.Nbrebits2->setEditText(u("8"));
        m.chargedossier->setText(u("x.dmo"));
        m.Programme->setPlainText(u("x"));
        const auto avant = d_.messages.demandes.size();
        m.Command2->click();
        EXPECT_EQ(d_.messages.demandes.size(), avant);
        EXPECT_EQ(m.Text1->text(), u("Nom à compléter"));
        EXPECT_EQ(m.chargedossier->text(), u(""));
        EXPECT_EQ(m.Programme->toPlainText(), u(""));
        EXPECT_EQ(m.Image4->chemin(), u(""));
        EXPECT_EQ(m.Nbrebits2->currentText(), u("5"));
        for (auto* o : {m.Option1, m.Option2, m.Option3, m.Option4, m.Option5, m.Option10}) EXPECT_FALSE(o->isChecked());
        m.quitter->click();
    });
    machines::creerMachine(creation_, d_.services, [](const QString&) { ADD_FAILURE() << "nothing is created"; });
    EXPECT_EQ(lire("data/machine.txt"), "TOUR 1\r\nFRAISEUSE\r\n");
}

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

TEST_F(FenetresMachines, PhotoEtDossierChoisis)
{
    image(QStringLiteral("photos/presse.jpg"), 300, 150);
    poser(QStringLiteral("photos/notice.dmo"), "Notice\r\nbroche\r\n");
    quand<MachineCreation>("MachineCréation", [this](MachineCreation& m) {
        // The photograph picker: a file clicked, then OK.
        quand<Selecteur>("MachineSelectionimage", [this](Selecteur& p) {
            ASSERT_TRUE(p.Dir1->choisir(dossier_.filePath(QStringLiteral("photos"))));
            ASSERT_TRUE(p.File1->choisir(QStringLiteral("presse.jpg")));
            p.Command1->click();
        });
        m.sectionprévisu->click();
        EXPECT_TRUE(m.Machineimage->text().endsWith(u("presse.jpg"))) << m.Machineimage->text().toStdString();
        EXPECT_EQ(m.Image1->twips().size(), QSize(2400, 1200));
        // Cancelled: the path stays.
        quand<Selecteur>("MachineSelectionimage", [](Selecteur& p) { p.CmdQuitter->click(); });
        m.sectionprévisu->click();
        EXPECT_TRUE(m.Machineimage->text().endsWith(u("presse.jpg")));

        // The machine file picker: OK without a file gives the placeholder.
        quand<Selecteur>("MachineDossier", [](Selecteur& p) { p.Command1->click(); });
        m.Command1->click();
        EXPECT_EQ(m.chargedossier->text(), u("data\\pasdeprogramme.txt"));
        EXPECT_EQ(m.Programme->toPlainText().trimmed(), u("Pas de programme"));
        // A chosen file, shown without its last character.
        quand<Selecteur>("MachineDossier", [this](Selecteur& p) {
            ASSERT_TRUE(p.Dir1->choisir(dossier_.filePath(QStringLiteral("photos"))));
            ASSERT_TRUE(p.File1->choisir(QStringLiteral("notice.dmo")));
            p.Command1->click();
        });
        m.Command1->click();
        EXPECT_EQ(m.Programme->toPlainText().split('\n').first(), u("Notice"));

        m.Text1->setText(u("PRESSE"));
        m.Option1->click();
        m.Option4->click();
        m.Text3->setText(u("SECRET"));
        m.Créer->click();  // no hook: the report is shown and left at once
        quand<MachineBilancreation>("MachineBilancréation", [](MachineBilancreation& b) { b.Créer->click(); });
        m.Créer->click();
        EXPECT_EQ(messages().last(), u("Infos | Création fiche machine réusssie"));

        // A machine file that cannot be read any more: said, and dropped.
        quand<Selecteur>("MachineDossier", [this](Selecteur& p) {
            ASSERT_TRUE(p.File1->choisir(QStringLiteral("notice.dmo")));
            QFile::remove(dossier_.filePath(QStringLiteral("photos/notice.dmo")));
            p.Command1->click();
        });
        m.Command1->click();
        EXPECT_TRUE(messages().last().contains(u("notice.dmo"))) << messages().last().toStdString();
        EXPECT_EQ(m.chargedossier->text(), u(""));
        EXPECT_EQ(m.Programme->toPlainText(), u(""));
        m.quitter->click();
    });
    QStringList ajoutes;
    machines::creerMachine(creation_, d_.services, [&](const QString& n) { ajoutes << n; });
    EXPECT_EQ(ajoutes, QStringList{u("PRESSE")});
    EXPECT_EQ(lire("data/machine/PRESSE/image.jpg"), lire("photos/presse.jpg"));
    EXPECT_EQ(lire("data/machine/PRESSE/dossier.txt"), "Notice\r\nbroche\r\n");
    EXPECT_EQ(lire("data/machine/PRESSE/com.txt"), "COM1\r\n9600\r\nE(ven)\r\n5\r\n1\r\n1\r\n2\r\n");
}

TEST_F(FenetresMachines, InfoMachine)
{
    quand<CreationInfoMachine>("CréationInfoMachine", [](CreationInfoMachine& i) {
        EXPECT_EQ(i.windowTitle(), u("Info Machine"));
        EXPECT_EQ(lignes(i.List4), (QStringList{"Broche", "1.50", "a, b"}));
        i.hide();
    });
    machines::montrerInfoMachine(creation_, d_.services, u("TOUR 1"));
    EXPECT_TRUE(actions_[u("CréationInfoMachine")].empty());
    EXPECT_TRUE(messages().isEmpty());

    // A machine without its file: a message naming it, no window.
    QFile::remove(QStringLiteral("data/machine/TOUR 1/dossier.txt"));
    machines::montrerInfoMachine(creation_, d_.services, u("TOUR 1"));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains(u("data\\machine\\TOUR 1\\dossier.txt"))) << messages()[0].toStdString();
}

TEST_F(FenetresMachines, Suppression)
{
    // Called once the name has left the list, while the files are still there.
    int remises = 0;
    QString enCours;
    auto reinitialiser = [&] {
        ++remises;
        EXPECT_FALSE(lire("data/machine.txt").contains(enCours.toUtf8()));
        EXPECT_TRUE(QFile::exists("data/machine/" + enCours + "/com.txt")) << enCours.toStdString();
    };
    enCours = u("FRAISEUSE");
    // Used by a sheet: refused even if one would have said Yes.
    EXPECT_FALSE(machines::supprimerMachine(creation_, d_.services, u("TOUR 1"), reinitialiser));
    EXPECT_EQ(messages(), QStringList{u("Suppression Machine | Impossible - Cette machine est utilisée dans une fiche pièce !")});
    EXPECT_EQ(d_.messages.demandes[0].icone, Icone::Critique);

    // A sheet naming it in another letter case does not hold it; No keeps it.
    d_.messages.demandes.clear();
    d_.messages.repondre = [](const MessageDemande&) { return Reponse::Non; };
    EXPECT_FALSE(machines::supprimerMachine(creation_, d_.services, u("FRAISEUSE"), reinitialiser));
    EXPECT_EQ(messages(), QStringList{u("Suppression Machine | Supprimer - FRAISEUSE ?")});
    EXPECT_EQ(lire("data/machine.txt"), "TOUR 1\r\nFRAISEUSE\r\n");

    d_.messages.demandes.clear();
    d_.messages.repondre = nullptr;
    EXPECT_TRUE(machines::supprimerMachine(creation_, d_.services, u("FRAISEUSE"), reinitialiser));
    EXPECT_EQ(messages(), (QStringList{"Suppression Machine | Supprimer - FRAISEUSE ?", "Infos | Machine supprimée"}));
    EXPECT_EQ(remises, 1);
    EXPECT_EQ(lire("data/machine.txt"), "TOUR 1\r\n");
    EXPECT_FALSE(QDir(QStringLiteral("data/machine/FRAISEUSE")).exists());

    // Not a name of the list as it stands: nothing, not even TOUR 1's
    // folder under another letter case.
    d_.messages.demandes.clear();
    EXPECT_FALSE(machines::supprimerMachine(creation_, d_.services, u("tour 1"), reinitialiser));
    EXPECT_EQ(d_.messages.demandes.size(), 1u);
    EXPECT_TRUE(QFile::exists(QStringLiteral("data/machine/TOUR 1/com.txt")));

    // The last machine: no list remains.
    poser(QStringLiteral("data/data.txt"), "");
    d_.messages.demandes.clear();
    enCours = u("TOUR 1");
    EXPECT_TRUE(machines::supprimerMachine(creation_, d_.services, u("TOUR 1"), reinitialiser));
    EXPECT_EQ(messages().last(), u("Infos | Machine supprimée"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("data/machine.txt")));
    EXPECT_EQ(remises, 2);
}

}  // namespace
}  // namespace tarvex
