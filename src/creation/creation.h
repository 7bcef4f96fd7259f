#pragma once
// The sheet creation window "Création": a new sheet in the making. It writes
// nothing itself; its "Créer" checks the code and opens the report, which
// reads these controls by name and, confirmed, writes the sheet.

#include "creation/ecriture.h"
#include "creation/formulaire.h"
#include "machines/ecriture.h"
#include "platform/controles.h"
#include "platform/fenetre.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace tarvex {

class Principale;

class Creation : public plateforme::Fenetre, public formulaire::CadresFiche {
    Q_OBJECT
public:
    explicit Creation(Principale& principale);
    ~Creation() override;

    // The load handler: the machine list, the state without a machine.
    void charger();

    // The new sheet as the controls hold it.
    creation::SaisieFiche saisie() const;

    // The report wrote the sheet: the window is unloaded.
    void creee();
    bool estCreee() const { return creee_; }

    Principale& principale() { return principale_; }

    // The machine: its name in "Nom", its buttons, and the values of its
    // com.txt in hidden boxes. The other controls are those of CadresFiche.
    QComboBox* Machine;
    QPushButton *Nouvellemachine, *Supprimermachine, *Infomachine;
    QLineEdit *com, *vitesse, *parit, *nbre, *sto, *typmachin, *typdirect;
    // buttons
    QPushButton *Creer, *Command2, *quitter;

private:
    void machineChoisie(int index);
    // After the deletion of the machine: the list refilled by the caller.
    void sansMachine();
    void remplirMachines();
    void boutonsMachine(bool actifs);
    void nouvelleMachine();
    void supprimerMachine();
    void infoMachine();
    void raz();
    void creerClique();

    Principale& principale_;
    bool creee_ = false;
    QString machineChoisie_;  // whose com.txt filled the hidden boxes
    // The chosen machine as shown, for its deletion to store only over that.
    machines::EmpreintesMachine machineVue_;
};

// The main window's "Créer": the new sheet shown once stored.
void ouvrirCreation(Principale& principale);

}  // namespace tarvex
