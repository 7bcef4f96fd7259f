#pragma once
// MachineCréation: the entries of a new machine. The window stores nothing:
// its "Créer" checks the authorisation code and opens the report, which reads
// these controls and writes the machine.

#include "machines/ecriture.h"
#include "platform/controles.h"
#include "platform/fenetre.h"
#include "platform/services.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace tarvex {

class MachineCreation : public plateforme::Fenetre {
    Q_OBJECT
public:
    // `ajouter` takes the name of every machine the report writes, at the
    // moment it is written. `proprietaire` holds the pickers; without it the
    // "Image" and "Importer" buttons open none.
    MachineCreation(QWidget* parent, QWidget* proprietaire, plateforme::Services& services,
                    std::function<void(const QString&)> ajouter);

    // The load handler.
    void charger();

    // The entries as the report reads them.
    machines::SaisieMachine saisie() const;

    // The preview routine of this window.
    void previsu(const QString& cheminData);

    // ---- controls, named as in the window's design ----
    plateforme::Cadre* Frame14;  // "Machine"
    plateforme::Cadre* Frame13;  // "Nom"
    QLineEdit* Text1;
    QRadioButton *Option1, *Option2;
    plateforme::Image* Image4;
    plateforme::Cadre* Frame2;  // "Directeur de commande"
    QRadioButton *Option3, *Option4, *Option5, *Option10;
    plateforme::Cadre* Frame6;  // "Communication"
    QComboBox *Port2, *Vitesse2, *Parite2, *Nbrebits2, *Bitsstop2;
    QLabel *Port1, *Vitesse1, *Parite1, *Nbrebits1, *Bitsstop1;
    plateforme::Cadre* Frame3;  // "Prévisualisation"
    QPushButton* sectionprevisu;
    plateforme::Cadre* Frame12;
    plateforme::Image* Image1;
    plateforme::Image* Image2;
    QLineEdit* Machineimage;
    plateforme::Cadre* Frame20;  // "Dossier Machine"
    QPushButton* Command1;
    QPlainTextEdit* Programme;
    QLineEdit* chargedossier;
    plateforme::Cadre* Frame16;  // "Code"
    QLineEdit* Text3;
    QLabel* Label1;
    plateforme::Cadre* Frame1;
    QPushButton* Command2;
    QPushButton* Creer;
    QPushButton* quitter;

private:
    void tour();
    void fraiseuse();
    void choisirImage();
    void importer();
    void raz();
    void demanderBilan();
    void reglagesParDefaut();
    void deselectionnerOptions();

    QWidget* proprietaire_;  // holds the pickers
    plateforme::Services& services_;
    std::function<void(const QString&)> ajouter_;
};

}  // namespace tarvex
