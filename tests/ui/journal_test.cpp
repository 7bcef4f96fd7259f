// The journal window enlarged and walked with Tab: what a scenario cannot
// do to a window.

#include "journal/fenetrejournal.h"
#include "platform/doubles.h"
#include "store/fichiers.h"

#include <QDir>
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
    fichiers::ecrire(journal::kJournal, "1;2;3;4;5;6;A;8;9;10;11;12\r\n1;2;3;4;5;6;B;8;9;10;11;12\r\n");
    plateforme::DoublesDeServices doubles;
    FenetreJournal f(nullptr, doubles.services);
    f.charger();
    const QSize liste = f.List1->size(), base = f.size();
    const QPoint coin = f.quitter->geometry().bottomRight();
    EXPECT_EQ(f.minimumSize(), f.size());
    f.resize(f.size() + QSize(300, 200));
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    // The screen may have taken some of it back: the list follows the window.
    const QSize plus = f.size() - base;
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
