#pragma once
// "Programmes reçus": what the controls sent the DNC service, newest first.
// A program is compared with a sheet of its port's machines, and put into it
// there at the operator's word; never by itself.

#include "platform/fenetre.h"
#include "recus/recus.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <map>
#include <string>
#include <vector>

namespace tarvex {

class Selectphase;

class FenetreRecus : public plateforme::Fenetre {
    Q_OBJECT
public:
    FenetreRecus(QWidget* parent, Selectphase& principale);

    QListWidget* List1;
    QLabel* Label1;
    QComboBox* Fiche;
    QPushButton* Comparer;
    QPushButton* Supprimer;
    QPushButton* quitter;

private:
    void remplir();
    // The sheets of the machines on the chosen program's port.
    void choisi();
    void comparer();
    void supprimer();
    const recus::Recu* courant() const;

    Selectphase& principale_;
    std::vector<recus::Recu> recus_;
    // The machines of each port the service serves, as its rows show them.
    std::map<std::string, std::vector<std::string>> machines_;
};

}  // namespace tarvex
