#pragma once
// "Journal des transferts": every transfer of the journal, newest first,
// narrowed to the lines holding every word typed in Filtre.

#include "platform/fenetre.h"
#include "platform/services.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <string>
#include <vector>

namespace tarvex {

class FenetreJournal : public plateforme::Fenetre {
    Q_OBJECT
public:
    FenetreJournal(QWidget* parent, plateforme::Services& services);

    // The load handler: the journal read again.
    void charger();

    QLabel* Label1;
    QLineEdit* Filtre;
    QListWidget* List1;
    QLabel* Nombre;
    QPushButton* quitter;

private:
    void filtrer();

    plateforme::Services& services_;
    std::vector<std::string> lignes_;
};

}  // namespace tarvex
