#include "cnclink/telechargement.h"

#include "cnclink/emission.h"
#include "cnclink/reception.h"
#include "cnclink/transmission.h"
#include "platform/construction.h"
#include "platform/principale.h"

namespace tarvex {

using namespace plateforme;

Selecttelechargement::Selecttelechargement(Principale& principale)
    : Fenetre(&principale.fenetre(), QStringLiteral("Sélecttéléchargement"), QStringLiteral("Emission/Réception Fichiers"),
              5400, 2760),
      principale_(principale)
{
    Frame13 = cadre(this, "Frame13", "Options de chargement", 120, 120, 5160, 1500);
    Option1 = choix<QRadioButton>(Frame13, "Option1", "Emission d'un fichier vers la machine outil", 240, 420, 4800,
                                  300);
    Option2 = choix<QRadioButton>(Frame13, "Option2", "Réception d'un fichier de la machine outil", 240, 900, 4800,
                                  300);
    Command1 = bouton(this, "Command1", "OK", 1200, 1860);
    CmdQuitter = bouton(this, "CmdQuitter", "Annuler", 2880, 1860);

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
    // The port the main window names is the DNC service's to give up while
    // the window is open: the operator may send from it more than once.
    const Cession cession(principale_.services().occupation, numeroPort(principale_.reglagesPort().port.toStdString()));
    principale_.services().fenetres->afficherModal(emission_);
}

void Selecttelechargement::recevoir()
{
    // Built anew each time: a reception starts from an empty text, with its
    // port opened by the load handler.
    const Cession cession(principale_.services().occupation, numeroPort(principale_.reglagesPort().port.toStdString()));
    Selecttelechargementsauve reception(principale_);
    reception.charger();
    principale_.services().fenetres->afficherModal(&reception);
}

}  // namespace tarvex
