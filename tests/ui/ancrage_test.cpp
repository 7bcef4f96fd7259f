// A window made larger than its design: each control follows by its shares.

#include "platform/ancrage.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace tarvex::plateforme {
namespace {

TEST(Ancrage, LesControlesSuiventLaFenetreAgrandie)
{
    QDialog f;
    f.setFixedSize(400, 300);
    QWidget liste(&f), gauche(&f), droite(&f), bouton(&f);
    for (QWidget* w : {&liste, &gauche, &droite, &bouton}) w->setGeometry(10, 20, 100, 50);
    Ancrage a(&f);
    a.ancrer(&liste, 0, 0, 1, 1).ancrer(&gauche, 0, 0, 0.5, 1).ancrer(&droite, 0.5, 0, 0.5, 1).ancrer(&bouton, 1, 1, 0, 0);
    EXPECT_EQ(f.minimumSize(), QSize(400, 300));  // never smaller than designed
    f.resize(600, 340);
    a.suivre();
    const std::pair<QWidget*, QRect> attendus[] = {
        {&liste, {10, 20, 300, 90}}, {&gauche, {10, 20, 200, 90}}, {&droite, {110, 20, 200, 90}}, {&bouton, {210, 60, 100, 50}}};
    for (const auto& [w, r] : attendus) EXPECT_EQ(w->geometry(), r);
}

}  // namespace
}  // namespace tarvex::plateforme
