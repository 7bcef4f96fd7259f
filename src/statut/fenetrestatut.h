#pragma once
// "Statut": the status history of the sheet shown in the main window, newest
// first, and the operator's change of it. The rules and the storing are the
// core's (store/statut.h); the window gathers what is typed, makes the one
// call under the data lock and shows what came of it.

#include "platform/fenetre.h"
#include "platform/principale.h"
#include "store/statut.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <functional>

namespace tarvex {

class FenetreStatut : public plateforme::Fenetre {
    Q_OBJECT
public:
    // `enregistre`: told each change stored, for the journal and the main
    // window's label.
    FenetreStatut(Principale& principale, std::function<void(statut::Statut)> enregistre);

    // The load handler: the history read, the new status set to the one now.
    void charger();

    QLabel* Label1;  // "Historique"
    QTreeWidget* Historique;
    QLabel *Label2, *Label3, *Label4;  // "Nouveau statut", "Commentaire", "Code"
    QComboBox* Nouveau;
    QLineEdit* Commentaire;
    QLineEdit* Code;
    QPushButton *Enregistrer, *Fermer;

private:
    void montrer(const Lu<statut::Historique>& historique);
    // What the change from the status now to the one chosen needs, said
    // beside the boxes; the code box open only when it is needed.
    void exiger();
    void enregistrer();
    statut::Statut choisi() const;

    Principale& principale_;
    std::function<void(statut::Statut)> enregistre_;
    std::optional<statut::Statut> actuel_;
};

// The main window's "Statut", modal over it, for the sheet it shows.
void ouvrirStatut(Principale& principale, const std::function<void(statut::Statut)>& enregistre);

}  // namespace tarvex
