#pragma once
// The creation report "Bilan Création": everything the creation window
// holds, listed and checked. "Continuer" writes the sheet; any refused check
// keeps it disabled.

#include "creation/bilan.h"
#include "creation/formulaire.h"
#include "platform/controles.h"
#include "platform/fenetre.h"

#include <QListWidget>
#include <QPushButton>

namespace tarvex {

class Creation;

class Bilancreation : public plateforme::Fenetre, public formulaire::ListesBilan {
    Q_OBJECT
public:
    explicit Bilancreation(Creation& creation);

    // The load handler: the four lists and the state of "Continuer".
    void charger();

    QPushButton *Creer, *quitter;

private:
    void continuer();

    Creation& creation_;
};

}  // namespace tarvex
