#pragma once
// Printing the main window's selected sheet, section by section
// ("Impression Fiche Technique").

#include "platform/controles.h"
#include "platform/fenetre.h"
#include "printing/feuille.h"
#include "store/ficheaffichee.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace tarvex {

class Principale;

class Impression : public plateforme::Fenetre {
    Q_OBJECT
public:
    // `fiche`: the sheet the main window shows.
    Impression(Principale& principale, const FicheAffichee& fiche);

    // The load handler: offers the sections of the sheet's CNC type.
    void charger();

    plateforme::Cadre* Frame13;
    QCheckBox* Check7;
    QLineEdit* Text1;
    QCheckBox *Check1, *Check2, *Check8, *Check3, *Check5, *Check6, *Check11, *Check9, *Check10;
    QPushButton* Command1;

private:
    void imprimer();
    // Without any printer, the sheet may go into a PDF file instead: the
    // file chosen, or none when the operator declined.
    std::optional<QString> fichierPdf();
    impression::Fiche fiche() const;
    impression::Sections sections() const;
    void echec(const QString& detail);

    Principale& principale_;
    const FicheAffichee& fiche_;
};

// The main window's "Imprimer": the shown sheet, unless another computer
// changed it since it was shown.
void ouvrirImpression(Principale& principale);

}  // namespace tarvex
