#include "mainwindow/demarrage.h"

#include "platform/construction.h"

#include <QKeyEvent>

namespace tarvex {

using namespace plateforme;

namespace {

Etiquette* texte(QWidget* parent, const char* nom, const QString& t, int x, int y, int l, int h, int points,
                 bool gras = false)
{
    auto* e = creer<Etiquette>(parent, nom, x, y, l, h);
    e->setText(t);
    QFont f = e->font();
    f.setPointSize(points);
    f.setBold(gras);
    e->setFont(f);
    return e;
}

}  // namespace

Demarrage::Demarrage(QWidget* parent)
    : Fenetre(parent, QStringLiteral("Démarrage"), QString(), 7560, 6000)
{
    setWindowFlag(Qt::FramelessWindowHint, parent == nullptr || !parent->isVisible());

    Frame1 = cadre(this, "Frame1", "", 120, 60, 7320, 5820);
    Image2 = image(Frame1, "Image2");
    Image2->placerTwips(240, 240, 6840, 3420);
    Image2->afficher(QStringLiteral(":/demarrage.jpg"), QImage(QStringLiteral(":/demarrage.jpg")));

    // The name takes what the version, right-aligned, leaves of the line.
    lblVersion = texte(Frame1, "lblVersion", QStringLiteral("  Version 2.01 "), 5400, 3780, 1680, 330, 11, true);
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblCompany = texte(Frame1, "lblCompany", QStringLiteral("Tarvex — fiches de réglage d'atelier"), 240, 3780,
                       5160, 330, 11, true);
    Label1 = texte(Frame1, "Label1", QStringLiteral("Fiches d'usinage, jauges d'outils et liaison CN"), 240, 4200,
                   6840, 285, 9);
    Label2 = texte(Frame1, "Label2", QStringLiteral("Assistance : bureau des méthodes de l'atelier"), 240, 4500,
                   6840, 285, 9);
    Label4 = texte(Frame1, "Label4", QStringLiteral("© 2026 Tarvex — tous droits réservés"), 240, 4800, 6840,
                   285, 9);
    Label3 = texte(Frame1, "Label3", QStringLiteral("Cliquer pour continuer"), 240, 5280, 6840, 330, 10);
    Label3->setAlignment(Qt::AlignCenter);

    // A click anywhere on it, or any key, closes it.
    connect(Frame1, &Cadre::clique, this, &QWidget::hide);
    connect(Image2, &Image::clique, this, &QWidget::hide);
    for (Etiquette* e : {lblVersion, lblCompany, Label1, Label2, Label4, Label3})
        connect(e, &Etiquette::clique, this, &QWidget::hide);
}

void Demarrage::keyPressEvent(QKeyEvent* e)
{
    e->accept();
    hide();
}

}  // namespace tarvex
