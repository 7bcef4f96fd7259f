#pragma once
// "Journal des transferts": every transfer of the journal, newest first, one
// column per field, narrowed to the lines holding every word typed in
// Filtre; what other transfers append meanwhile comes in at the top.

#include "journal/journal.h"
#include "platform/controles.h"
#include "platform/fenetre.h"
#include "platform/services.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace tarvex {

class ModeleJournal;

class FenetreJournal : public plateforme::Fenetre {
    Q_OBJECT
public:
    FenetreJournal(QWidget* parent, plateforme::Services& services);

    // The load handler: the journal read again, then followed.
    void charger();

    QLabel* Label1;
    QLineEdit* Filtre;
    QTableView* List1;
    QLabel* Nombre;
    QPushButton* quitter;
    plateforme::Minuterie* Suivi;  // looks for lines appended to the journal

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void filtrer();
    void suivre();
    void compter();

    plateforme::Services& services_;
    journal::Lignes lignes_;
    ModeleJournal* modele_;
};

// The main window's "Journal", modal over `parent`.
void ouvrirJournal(QWidget& parent, plateforme::Services& services);

}  // namespace tarvex
