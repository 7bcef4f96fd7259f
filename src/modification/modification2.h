#pragma once
// The sheet modification window "modification2": the sheet selected in the
// main window, loaded for editing. Its designation is locked, so that the
// sheet keeps its record key and its folder; every file slot remembers the
// path it had at load in an old-path box beside its path box. "Enregistrer"
// opens the report, which stores; "Supprimer" deletes the sheet.
//
// It is built from the same pieces as the creation window (creation/
// formulaire.h): the offsets and gauges, the picture slots and their
// preview, the program listing.

#include "creation/formulaire.h"
#include "modification/stockage.h"
#include "platform/controles.h"
#include "platform/fenetre.h"
#include "store/ficheaffichee.h"

#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <memory>

namespace tarvex {

class Principale;

class Modification2 : public plateforme::Fenetre, public formulaire::CadresFiche {
    Q_OBJECT
public:
    // `fiche`: the sheet the main window shows, which a stored modification
    // updates there.
    Modification2(Principale& principale, const FicheAffichee& fiche);
    ~Modification2() override;

    // The load handler: the sheet shown, its values and gauges as the main
    // window shows them.
    void charger();

    // The sheet as it will be stored, from the controls and the sheet as read.
    stockage::Modification modification() const;
    // The path box and old-path box of each slot, in record order.
    struct Emplacement {
        QLineEdit* chemin;
        QLineEdit* ancien;
    };
    std::array<Emplacement, stockage::kEmplacements> emplacements() const;

    Principale& principale() { return principale_; }
    const FicheAffichee& fiche() const { return fiche_; }

    // The machine's name, and the old paths of the files; the other
    // controls are those of CadresFiche.
    QLineEdit* Text1;
    std::array<QLineEdit*, kPhotos> anciensPhotos{};  // textvuetemp … Textprefztemp, in option order
    QLineEdit* chargeprogrammetemp;
    QLineEdit* Textdossiertechniquetemp;
    // buttons
    QPushButton *Command4, *Command3, *quitter;

private:
    void enregistrer();
    void supprimer();

    Principale& principale_;
    const FicheAffichee& fiche_;
};

// The main window's "Modifier": the shown sheet.
void ouvrirModification(Principale& principale);

}  // namespace tarvex
