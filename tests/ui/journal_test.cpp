// The journal window enlarged and walked with Tab: what a scenario cannot
// do to a window.

#include "journal/fenetrejournal.h"
#include "platform/doubles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace tarvex {
namespace {

TEST(FenetreJournal, SAgranditEtSeParcourtAuClavier)
{
    QTemporaryDir dossier;
    const QString ancien = QDir::currentPath();
    QDir::setCurrent(dossier.path());
    QDir().mkpath(QStringLiteral("data"));
    QFile journal(QStringLiteral("data/journal.txt"));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write("06/12/2026;09:30:00;P;COM1;T;Demande;A;1;1;OK;0;0\r\n06/12/2026;09:31:00;P;COM1;T;Demande;B;1;1;OK;0;0\r\n");
    journal.close();
    plateforme::DoublesDeServices doubles;
    FenetreJournal f(nullptr, doubles.services);
    f.charger();
    const QSize plus(300, 200);
    const QSize liste = f.List1->size();
    const QPoint coin = f.quitter->geometry().bottomRight();
    EXPECT_EQ(f.minimumSize(), f.size());
    f.resize(f.size() + plus);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    EXPECT_EQ(f.List1->size(), liste + plus);
    EXPECT_EQ(f.quitter->geometry().bottomRight(), coin + QPoint(plus.width(), plus.height()));

    f.Filtre->setFocus();
    for (QWidget* suivant : {static_cast<QWidget*>(f.List1), static_cast<QWidget*>(f.quitter)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), suivant);
    }
    QDir::setCurrent(ancien);
}

}  // namespace
}  // namespace tarvex
