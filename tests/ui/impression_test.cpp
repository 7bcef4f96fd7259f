// The printer on QPrinter, writing PDF files offscreen, and the window's way
// to a PDF file where the system has no printer.

#include "mainwindow/selectphase.h"
#include "platform/doubles.h"
#include "platform/imprimanteqt.h"
#include "printing/impression.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvex {
namespace {

using namespace plateforme;

int pagesDuPdf(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    return static_cast<int>(QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
}

TEST(ImprimanteQt, UnLongListingContinueSurLesPagesSuivantes)
{
    QTemporaryDir dossier;
    struct Cas {
        int lignes;
        bool plusieursPages;
    } cas[] = {{10, false}, {400, true}};
    for (const auto& c : cas) {
        const QString pdf = dossier.filePath(QStringLiteral("fiche%1.pdf").arg(c.lignes));
        QtImprimante imprimante;
        imprimante.versPdf(pdf);
        ASSERT_TRUE(imprimante.commencer());
        imprimante.hauteur(60);
        imprimante.texte(35, 14, true, QStringLiteral("- Listing programme -"));
        imprimante.ligneVide();
        for (int i = 0; i < c.lignes; ++i) imprimante.texte(55, 12, false, QStringLiteral("N%1 G1 X10").arg(i * 10));
        ASSERT_TRUE(imprimante.terminer());
        EXPECT_EQ(imprimante.pages() > 1, c.plusieursPages) << c.lignes;
        EXPECT_EQ(pagesDuPdf(pdf), imprimante.pages()) << c.lignes;
        // 12-point lines on A4: some 50 a page, whatever the typeface.
        if (c.plusieursPages) {
            EXPECT_GE(imprimante.pages(), 400 / 80);
            EXPECT_LE(imprimante.pages(), 400 / 30 + 1);
        }
    }
}

TEST(ImprimanteQt, UnTravailAbandonneNeLaissePasDeDemiFiche)
{
    QTemporaryDir dossier;
    const QString pdf = dossier.filePath(QStringLiteral("fiche.pdf"));
    QtImprimante imprimante;
    imprimante.versPdf(pdf);
    ASSERT_TRUE(imprimante.commencer());
    imprimante.texte(35, 14, true, QStringLiteral("- Désignation -"));
    imprimante.abandonner();
    EXPECT_FALSE(QFile::exists(pdf));

    // A file that cannot be made: the job does not start.
    imprimante.versPdf(dossier.filePath(QStringLiteral("absent/fiche.pdf")));
    EXPECT_FALSE(imprimante.commencer());
    EXPECT_FALSE(imprimante.terminer());
}

// The main window's sheet without any machine: the printout is its heading
// and designation alone.
class SansImprimante : public ::testing::Test {
protected:
    void SetUp() override
    {
        doubles_.imprimante.installe = false;
        doubles_.messages.repondre = [this](const MessageDemande& d) {
            if (d.texte.startsWith(QStringLiteral("Aucune imprimante"))) return offre_;
            return d.boutons == Boutons::OuiNon ? Reponse::Oui : Reponse::Ok;
        };
        doubles_.enregistrement.repondre = [this](const QString&) { return choix_; };
        principale_ = std::make_unique<Selectphase>(doubles_.services);
        principale_->Phase->setEditText(QStringLiteral("PIVOT Phase 20/B"));
        principale_->Label[1]->setText(QStringLiteral("PIVOT"));
    }

    void imprimer()
    {
        Impression fenetre(*principale_);
        fenetre.charger();
        fenetre.show();
        fenetre.Command1->click();
        ouverte_ = fenetre.isVisible();
    }

    QStringList textes() const
    {
        QStringList r;
        for (const auto& d : doubles_.messages.demandes) r << d.texte;
        return r;
    }

    DoublesDeServices doubles_;
    std::unique_ptr<Selectphase> principale_;
    Reponse offre_ = Reponse::Oui;
    std::optional<QString> choix_;
    bool ouverte_ = false;
};

TEST_F(SansImprimante, LaFicheVaDansLeFichierPdfChoisi)
{
    choix_ = QStringLiteral("/tmp/fiches/pivot");
    imprimer();
    EXPECT_EQ(doubles_.enregistrement.propositions, QStringList{QStringLiteral("PIVOT Phase 20_B.pdf")});
    EXPECT_EQ(doubles_.imprimante.pdf, QStringLiteral("/tmp/fiches/pivot.pdf"));
    ASSERT_FALSE(doubles_.imprimante.lignes.isEmpty());
    EXPECT_EQ(doubles_.imprimante.lignes.last(), QStringLiteral("end"));
    EXPECT_EQ(textes(), (QStringList{QStringLiteral("Connecter l'imprimante"), doubles_.messages.demandes[1].texte,
                                     QStringLiteral("Transfert imprimante effectué")}));
    EXPECT_FALSE(ouverte_);
}

TEST_F(SansImprimante, RefusOuAnnulationNImprimentRien)
{
    offre_ = Reponse::Non;
    imprimer();
    EXPECT_TRUE(doubles_.enregistrement.propositions.isEmpty());
    EXPECT_TRUE(ouverte_);

    offre_ = Reponse::Oui;
    choix_ = std::nullopt;  // the save dialog cancelled
    imprimer();
    EXPECT_EQ(doubles_.enregistrement.propositions.size(), 1);
    EXPECT_TRUE(ouverte_);

    EXPECT_TRUE(doubles_.imprimante.lignes.isEmpty());
    EXPECT_TRUE(doubles_.imprimante.pdf.isEmpty());
    EXPECT_EQ(textes().size(), 4);  // two questions each time, no failure told
}

}  // namespace
}  // namespace tarvex
