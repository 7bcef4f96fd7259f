#pragma once
// MachineBilancréation: the report on the entries of MachineCréation, built
// when it loads, and the writing of the machine on "Continuer".

#include "machines/ecriture.h"
#include "platform/controles.h"
#include "platform/fenetre.h"
#include "platform/services.h"

#include <QListWidget>
#include <QPushButton>

#include <functional>

namespace tarvex {

class MachineCreation;

class MachineBilancreation : public plateforme::Fenetre {
    Q_OBJECT
public:
    // `ajouter` takes the new machine's name once it is written.
    MachineBilancreation(MachineCreation& machine, plateforme::Services& services,
                         std::function<void(const QString&)> ajouter);

    // The load handler: the report, with its message boxes.
    void charger();

    plateforme::Cadre* Frame4;  // "Analyse"
    QListWidget* List4;
    QPushButton* Creer;
    QPushButton* quitter;

private:
    void ecrire();

    MachineCreation& machine_;
    plateforme::Services& services_;
    std::function<void(const QString&)> ajouter_;
    machines::SaisieMachine saisie_;
};

}  // namespace tarvex
