#pragma once
// The main window: the list of sheets, the selected sheet, and the commands
// that open every other window. The selected sheet is held as one value read
// from the data folder (FicheAffichee), which the windows that act on it are
// handed; the controls show it — the hidden labels Label1 to Label18, the
// serial settings, the value boxes — and the operator may type over the
// settings and the values, which Charger, the printing and the modification
// take as shown. The controls are its own: the windows it opens are handed
// it as a Principale, read what it shows as values and tell it back through
// calls.

#include "platform/controles.h"
#include "platform/fenetre.h"
#include "platform/principale.h"
#include "platform/services.h"
#include "platform/valeurs.h"
#include "store/empreinte.h"
#include "store/ficheaffichee.h"
#include "store/probleme.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvex {

struct DemandeChargement;
class Recherche;
class ServiceDNC;

class Selectphase : public QWidget, private CadresValeurs, public Principale {
    Q_OBJECT
public:
    explicit Selectphase(plateforme::Services& services, QWidget* parent = nullptr);
    ~Selectphase() override;

    // The load handler: splash, start-up state, list of sheets.
    void charger();

    // Fills Phase from the index (remplirliste). Reports an unreadable index
    // and returns false.
    bool remplirliste() override;

    // Back to the state without a selected sheet, the list refilled (after a
    // creation or a deletion).
    void reinitialiser() override;

    // The sheet shown, as read when it was chosen, its flags and listing
    // following a stored modification (ficheModifiee, programmeModifie); the
    // empty value before any choice and after a deletion.
    const FicheAffichee& ficheAffichee() const override { return fiche_; }
    // Its folder, "data\" + nomdossier + "\" (FicheAffichee::dossier).
    QString dossierFiche() const override;
    // The sheet chosen in Phase shown again, read anew: its files changed.
    void reselectionner() override;
    // The list refilled and the sheet of key `cle` (its folder name and a final backslash)
    // shown as if the operator had chosen it; none: the no-selection state.
    void montrerFiche(const std::string& cle) override;
    // This program stored over the shown sheet: `maintenant` (taken under the
    // lock, after the storing) is what the next storing compares with, so
    // that our own earlier storing is never taken for another computer's.
    void ficheStockee(std::optional<EmpreintesFiche> maintenant) override
    {
        if (maintenant) fiche_.vue = std::move(*maintenant);
    }
    // Another computer stored over the shown sheet (`etat`, found under the
    // lock): the operator is told nothing was stored and the sheet is shown
    // as it is now, or none when it is gone. False when it is unchanged.
    bool ficheChangeeAilleurs(QWidget* fenetre, EtatFiche etat) override;

    // Before a command sends or prints the shown sheet: false, with the
    // operator told ("Infos") that nothing was sent and the sheet shown as it
    // now is, when another computer deleted it or changed its record or the
    // values its boxes show since it was shown.
    bool ficheAJour(QWidget* fenetre) override;

    // After a modification was stored: the listing, its annotations and
    // Charger follow the sheet's program as a choice of the sheet shows them.
    void programmeModifie() override;
    // A modification rewrote the sheet's record: `avec` says which of its
    // files it now has (record order, CVue to CProgramme); the labels, the
    // picture options and Dossiertechnique follow. A program chosen shows
    // `listing` until it is read again.
    void ficheModifiee(const std::array<bool, kFichiersFiche>& avec, const std::optional<QString>& listing) override;

    // The preview routine of the main window.
    void previsu(const QString& cheminData);

    // The progress sweep: 0 to 100 and back to 0, repainting each value,
    // taking no input meanwhile.
    void animervumetre();

    using Principale::services;

    // What the windows it opens read and tell (Principale).
    QWidget& fenetre() override { return *this; }
    QString entreeMontree() const override;
    ReglagesPort reglagesPort() const override;
    ValeursMontrees valeursMontrees() const override;
    std::optional<ImageMontree> imageMontree() const override;
    bool modifiable() const override;
    plateforme::Vumetre& vumetre() override;
    void montrerValeur(Valeur boite, const QString& texte) override;
    void vueModifiee() override;

    // The DNC service (commandes.cpp): whether it runs; stopped as Arreter
    // does when the program ends, whatever ends it; shown running.
    bool serviceEnMarche() const;
    void terminerService();
    void montrerService(bool actif) override;

signals:
    // Emitted once a handler has done everything it does (for the benchmarks).
    void selectionAffichee();

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    friend class Zoom;
    friend struct ConstructionSelectphase;

    // ---- controls, named as in the window's design ----
    // "Choix Pièce/Phase"
    plateforme::Cadre* Frame1;
    QComboBox* Phase;
    QLineEdit* Text4;
    QLabel* Label22;
    QLineEdit* Text2;
    QLabel* Label21;
    QLineEdit* Time;
    // A word about what another computer did to the sheet shown, or to the
    // list, that waits for no answer.
    QLabel* Avis;
    // Under it, the sheet's status: its window, and its name now in its
    // colour, the date and the user in its tooltip.
    QPushButton* Statut;
    QLabel* StatutFiche;
    // "Machine"
    plateforme::Cadre* Frame2;
    QLineEdit* Text3;
    QLabel* Label23;
    plateforme::Cadre* Frame3;  // machine "Aperçu"
    plateforme::Image* Image5;
    QPushButton* Infomachine;
    // part "Aperçu"
    plateforme::Cadre* Frame4;
    plateforme::Image* Image1;
    // "Listing Programme", "Annotations Programme"
    plateforme::Cadre* Frame5;
    QPlainTextEdit* Programme;
    plateforme::Cadre* Frame6;
    QListWidget* Annotation;
    // "PREF/DEC1/Jauges/Origine": the frames and boxes of CadresValeurs,
    // the origin used in Frame17, and the picture of the machine kind
    // beside the gauges.
    QLineEdit* Decalage;
    plateforme::Image* Image4;
    // "Visualisation"
    plateforme::Cadre* Frame11;
    plateforme::Cadre* Frame12;  // "Dossier Technique"
    QPushButton* Dossiertechnique;
    QLabel* OLE1;
    plateforme::Cadre* Frame14;  // "Prévisualisation"
    plateforme::Image* Image6;
    plateforme::Image* Image7;
    plateforme::Cadre* Frame13;  // "Options" of the pictures
    QRadioButton *Option10, *Option3, *Option4, *Option5, *Option6, *Option7, *Option8, *Option9;
    // "Téléchargement"
    plateforme::Cadre* Frame15;
    plateforme::Cadre* Visu;
    plateforme::Vumetre* ProgressBar1;
    plateforme::Cadre* Frame16;  // "Options" of the transfer
    QRadioButton *Option1, *Option2;
    QCheckBox *Check1, *Check2, *Check3;
    plateforme::Cadre* Frame18;  // "Communication"
    QComboBox *Port2, *Vitesse2, *Parite2, *Nbrebits2, *Bitsstop2;
    QLabel *Label24, *Label25, *Label26, *Label27, *Label28;
    plateforme::PortSerie* MSComm1;
    // buttons
    QPushButton *Charger, *Command2, *imprimer, *Modifier, *Command1, *Command3, *quitter;
    QPushButton* Archives;  // deleted sheets and earlier versions
    QPushButton* Trajectoire;  // the toolpath of the sheet's program
    QPushButton* Service;      // the DNC service's window
    QLabel* ServiceEnMarche;   // beside it, shown while the service runs
    QPushButton* Journal;      // the transfer journal
    // other
    plateforme::Image* Image2;
    plateforme::Image* Image3;
    plateforme::Image* Image8;
    std::array<QLabel*, 19> Label{};  // Label[1] … Label[18]; Label[0] unused
    plateforme::Minuterie* Timer1;
    // Looks every few seconds whether another computer changed data\data.txt.
    plateforme::Minuterie* Surveillance;

    // The eight picture options in their order of precedence, with the file
    // each one shows.
    struct OptionPhoto {
        QRadioButton* bouton;
        const char* fichier;
    };
    std::array<OptionPhoto, 8> optionsPhotos() const;

    // The list refilled and the entry of the record of key `cle` made current
    // without showing it; -1 when that record is gone.
    int relireEtTrouver(const std::string& cle);
    void construire();
    void etatDeDepart();
    void reglagesParDefaut();
    void quitterDemande();
    void aPropos();
    void tic();
    // The list read again when data\data.txt changed since it was filled
    // (another computer stored), the sheet shown kept when still there and
    // shown anew when its files changed (reaffichage.cpp).
    void suivreIndex();
    void ficheChangee();
    // The sheet shown read anew, the transfer option the operator chose kept;
    // false when it is gone.
    bool reafficher();
    void aviser(const QString& texte);
    bool ficheMontree() const { return fiche_.champs != Enregistrement{}; }
    QString nomFiche() const;
    // What the operator may type over the sheet shown: the values, the
    // serial settings and the transfer option.
    QStringList saisie() const;
    void saisieMontree() { saisieMontree_ = saisie(); }

    // The handlers that belong to the other commands; each lives in the file
    // of its subsystem.
    void phaseChoisie(int index);
    // The steps of showing a sheet (affichage.cpp). Those that show a file
    // add what could not be read to `problemes`, in the order of the message.
    void viderFiche();
    void montrerEnregistrement(Problemes& problemes);
    void montrerMachine(Problemes& problemes);
    void montrerValeurs(Problemes& problemes);
    void ouvrirCommandes();
    void montrerDrapeaux();
    // StatutFiche from the end of the shown sheet's statut.txt.
    void montrerStatut();
    void signalerProblemes(const QString& entree, const Problemes& problemes);
    // Programme, Annotation and Trajectoire from the value's program.
    void afficherProgramme();
    void optionPhotoCliquee(QRadioButton* bouton);
    void ouvrirZoom();
    void ouvrirInfoMachine();
    void ouvrirDossierTechnique();
    void chargerVersCn();
    // What the sheet's status and the other computers let Charger send; the
    // operator told why not.
    bool statutPermetEnvoi();
    // The sheet as read, the transfer options and the values as shown.
    DemandeChargement demandeChargement() const;
    void ouvrirTransfert();
    void ouvrirImpression();
    void ouvrirCreation();
    void ouvrirModification();
    void ouvrirArchives();
    void ouvrirTrajectoire();
    void ouvrirService();
    void ouvrirJournal();
    void ouvrirStatut();
    // The service started again when this computer ran it last time.
    void reprendreService();

    plateforme::Services& services_;
    FicheAffichee fiche_;
    Recherche* recherche_ = nullptr;  // finding a sheet by typing in Phase
    ServiceDNC* service_ = nullptr;   // made at its first use, then kept: it runs behind
    bool fin_ = false;
    Empreinte indexLu_;  // data\data.txt as it was when the list was filled
    bool listeLue_ = true;   // the last filling read the index
    bool indexAbsent_ = false;  // told that data\data.txt is gone for now
    QStringList saisieMontree_;  // saisie() as the sheet was shown
    // The sheet's folder as it was when its change was told, the values
    // typed kept: the same change is told once.
    std::optional<std::vector<std::pair<std::string, Empreinte>>> dossierAvise_;
};

}  // namespace tarvex
