// The printer on QPrinter offscreen: a job given up leaves no PDF file (pages,
// the PDF file and a real queue: integration/impression-reelle).

#include "platform/imprimanteqt.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvex {
namespace {

using namespace plateforme;

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
