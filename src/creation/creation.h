#pragma once
// The sheet creation window "Création": a new sheet in the making. It writes
// nothing itself; its "Créer" checks the code and opens the report, which
// reads these controls by name and, confirmed, writes the sheet.

#include "creation/ecriture.h"
#include "creation/formulaire.h"
#include "platform/controles.h"
#include "platform/fenetre.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace tarvex {

class Selectphase;

class Creation : public plateforme::Fenetre {
    Q_OBJECT
public:
    explicit Creation(Selectphase& principale);
    ~Creation() override;

    // The load handler: the machine list, the state without a machine.
    void charger();

    // The new sheet as the controls hold it.
    creation::SaisieFiche saisie() const;

    // The report wrote the sheet: the window is unloaded.
    void creee();
    bool estCreee() const { return creee_; }

    Selectphase& principale() { return principale_; }

    // "Désignation"
    plateforme::Cadre *Frame1, *Frame15, *Frame3, *Frame5, *Frame2, *Frame6;
    QLineEdit *Text5, *Text6, *Text2, *Text7;
    // "Machine"
    plateforme::Cadre *Frame14, *Frame13, *Frame18;
    QComboBox* Machine;
    QPushButton *Nouvellemachine, *Supprimermachine, *Infomachine;
    plateforme::Image *Image3, *Image5, *Image4;
    QLineEdit *com, *vitesse, *parit, *nbre, *sto, *typmachin, *typdirect;
    // Offsets and gauges, pictures, program.
    std::unique_ptr<formulaire::Valeurs> valeurs;
    std::unique_ptr<formulaire::Photos> photos;
    std::unique_ptr<formulaire::Programme> programme;
    // "Données"
    plateforme::Cadre *Frame11, *Frame22, *Frame16;
    QLineEdit* Textdossiertechnique;
    QPushButton* Dossiertechnique;
    QLineEdit* Text3;
    QLabel* Label1;
    QPushButton* sectionprévisu;
    // buttons, logo
    QPushButton *Créer, *Command2, *quitter;
    plateforme::Image* Image11;

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

    Selectphase& principale_;
    bool creee_ = false;
    QString machineChoisie_;  // whose com.txt filled the hidden boxes
};

}  // namespace tarvex
