#include "cnclink/telechargement.h"

#include "cnclink/emission.h"
#include "cnclink/reception.h"
#include "mainwindow/selectphase.h"

namespace tarvex {

using namespace plateforme;

Selecttelechargement::Selecttelechargement(Selectphase& principale)
    : Fenetre(&principale, QStringLiteral("Sélecttéléchargement"), QStringLiteral("Emission/Réception Fichiers"),
              5400, 2760),
      principale_(principale)
{
    Frame13 = new Cadre(this);
    Frame13->setObjectName(QStringLiteral("Frame13"));
    Frame13->setTitle(QStringLiteral("Options de chargement"));
    placer(Frame13, 120, 120, 5160, 1500);
    Frame13->tailleTwips(5160, 1500);

    Option1 = new QRadioButton(QStringLiteral("Emission d'un fichier vers la machine outil"), Frame13);
    Option1->setObjectName(QStringLiteral("Option1"));
    placer(Option1, 240, 420, 4800, 300);
    Option2 = new QRadioButton(QStringLiteral("Réception d'un fichier de la machine outil"), Frame13);
    Option2->setObjectName(QStringLiteral("Option2"));
    placer(Option2, 240, 900, 4800, 300);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    placer(Command1, 1200, 1860, 1215, 375);
    Command1->setAutoDefault(false);
    CmdQuitter = new QPushButton(QStringLiteral("Annuler"), this);
    CmdQuitter->setObjectName(QStringLiteral("CmdQuitter"));
    placer(CmdQuitter, 2880, 1860, 1215, 375);
    CmdQuitter->setAutoDefault(false);

    connect(Command1, &QPushButton::clicked, this, &Selecttelechargement::valider);
    connect(CmdQuitter, &QPushButton::clicked, this, &QWidget::hide);
}

void Selecttelechargement::charger() { Option1->setChecked(true); }

void Selecttelechargement::valider()
{
    // Both tests stand one after the other: once the sending window is
    // closed, Option1 is still the selected one and the second does nothing.
    if (Option1->isChecked()) {
        hide();
        emettre();
    }
    if (Option2->isChecked()) {
        hide();
        recevoir();
    }
}

void Selecttelechargement::emettre()
{
    if (!emission_) emission_ = new Selecttelechargementprogramme(principale_);
    principale_.services().fenetres->afficherModal(emission_);
}

void Selecttelechargement::recevoir()
{
    // Built anew each time: a reception starts from an empty text, with its
    // port opened by the load handler.
    Selecttelechargementsauve reception(principale_);
    reception.charger();
    principale_.services().fenetres->afficherModal(&reception);
}

}  // namespace tarvex
