#pragma once
// The modification report "Bilanmodification": what will be stored, the old
// path of every file beside its new one, the checks of the creation report;
// "Continuer" stores the sheet in place and shows it in the main window.

#include "creation/formulaire.h"
#include "platform/controles.h"
#include "platform/fenetre.h"

#include <QListWidget>
#include <QPushButton>

namespace tarvex {

class Modification2;
class Principale;

class Bilanmodification : public plateforme::Fenetre, public formulaire::ListesBilan {
    Q_OBJECT
public:
    explicit Bilanmodification(Modification2& modification);

    // The load handler: the four lists, built once; a failed check leaves
    // "Continuer" disabled.
    void charger();

    // The sheet was stored: the modification window closes too.
    bool enregistre() const { return enregistre_; }

    QPushButton *Creer, *quitter;

private:
    void continuer();
    void mettreAJourPrincipale();

    Modification2& modification_;
    Principale& principale_;
    bool enregistre_ = false;
};

}  // namespace tarvex
