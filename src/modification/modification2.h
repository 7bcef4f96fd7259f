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

class Selectphase;

class Modification2 : public plateforme::Fenetre {
    Q_OBJECT
public:
    // `fiche`: the sheet the main window shows, which a stored modification
    // updates there.
    Modification2(Selectphase& principale, const FicheAffichee& fiche);
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

    Selectphase& principale() { return principale_; }
    const FicheAffichee& fiche() const { return fiche_; }

    // "Désignation"
    plateforme::Cadre *Frame1, *Frame15, *Frame3, *Frame5, *Frame2, *Frame6;
    QLineEdit *Text5, *Text6, *Text2, *Text7;
    // "Machine"
    plateforme::Cadre *Frame14, *Frame13, *Frame18;
    QLineEdit* Text1;
    plateforme::Image *Image3, *Image5, *Image4;
    // Offsets and gauges, pictures with their old paths, program.
    std::unique_ptr<formulaire::Valeurs> valeurs;
    std::unique_ptr<formulaire::Photos> photos;
    std::array<QLineEdit*, creation::kPhotos> anciensPhotos{};  // textvuetemp … Textprefztemp, in option order
    std::unique_ptr<formulaire::Programme> programme;
    QLineEdit* chargeprogrammetemp;
    // "Données"
    plateforme::Cadre *Frame11, *Frame22, *Frame16;
    QLineEdit *Textdossiertechnique, *Textdossiertechniquetemp;
    QPushButton* Dossiertechnique;
    QLineEdit* Text3;
    QLabel* Label1;
    QPushButton* sectionprévisu;
    // buttons, logo
    QPushButton *Command4, *Command3, *quitter;
    plateforme::Image* Image11;

private:
    void enregistrer();
    void supprimer();

    Selectphase& principale_;
    const FicheAffichee& fiche_;
};

}  // namespace tarvex
