// The printer on QPrinter, writing PDF files offscreen (the window's way to
// a PDF file is impression/sans-imprimante's).

#include "platform/imprimanteqt.h"

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

}  // namespace
}  // namespace tarvex
