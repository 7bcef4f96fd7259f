#pragma once
// The pieces that the sheet creation window and the sheet modification
// window share, each built into the window that owns it under the control
// names of the windows' designs: the offsets and gauges laid out by machine
// kind and CNC type, the nine picture slots with their preview, the program
// listing, the frames around them, and the four lists of their reports.

#include "creation/bilan.h"
#include "creation/ecriture.h"
#include "platform/construction.h"
#include "platform/services.h"
#include "platform/valeurs.h"
#include "store/machines.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace tarvex {
class Selecteur;
struct ModeleSelecteur;
}

namespace tarvex::formulaire {

// Machine kind and CNC type as the hidden boxes and com.txt give them.
using tarvex::kAutre;
using tarvex::kFagor;
using tarvex::kFanuc;
using tarvex::kFraisage;
using tarvex::kNum;
using tarvex::kTournage;

// The preview limit of the creation, modification and machine creation
// windows, in twips.
inline constexpr int kLimitePrevisu = 2400;

// A picker's file into a path box; nothing changes when none is handed over.
void choisirChemin(Selecteur& selecteur, QWidget* appelant, QLineEdit* boite);


// Frame7 "PREF/DEC1/Jauges/Origine" laid out as the main window's, with the
// origin used picked from a list, and the gauges as wide as the frame.
class Valeurs : public CadresValeurs {
public:
    Valeurs(QWidget* parent, int x, int y);

    // Every value box made editable again (a Y box that a turning machine
    // disabled stays disabled and grey).
    void rendreEditables();
    // The values of a new sheet: empty offsets, G54, the two placeholders.
    void vider();

    QComboBox* Decalage;
};

// Frame4 "Options" with the nine picture slots (an option button and a
// hidden path box each), and Frame12 "Prévisualisation" with its preview.
class Photos {
public:
    // Options 2640 x 3240 twips at (x, y); the preview frame at (xp, yp).
    Photos(QWidget* parent, plateforme::Images& images, int x, int y, QWidget* parentPrevisu, int xp, int yp);

    struct Emplacement {
        QRadioButton* option;
        QLineEdit* chemin;
    };
    // In the order the windows walk them (Option11, Option10, Option3 …).
    std::array<Emplacement, kPhotos> emplacements;

    // The preview routine: an empty path clears it; a picture that cannot be
    // decoded leaves it empty (false).
    bool previsu(const QString& chemin);
    // The turning slots enabled, the five milling-only ones disabled.
    void menuphototournage();
    // All nine enabled.
    void menuphotofraisage();
    // All nine disabled and unselected.
    void desactiver();
    // The path box of the first selected slot, nullptr when none is.
    QLineEdit* boiteSelectionnee() const;
    // "Modifier": the picker's file into the selected slot, then its preview.
    void choisir(Selecteur& selecteur, QWidget* appelant);
    void viderChemins();

    plateforme::Cadre* Frame4;
    plateforme::Cadre* Frame12;
    plateforme::Image* Image1;
    plateforme::Image* Image2;

private:
    plateforme::Images& images_;
};

// Frame20 "Listing Programme": the listing, "Choisir" and the hidden path of
// the chosen program, 4200 x 4200 twips.
class Programme {
public:
    Programme(QWidget* parent, int x, int y);

    // Shows the file of chargeprogramme without its last character; a file
    // that is empty or cannot be read shows an empty listing.
    void chargerListing();
    // "Choisir": the picker's file as the program, then its listing.
    void choisir(Selecteur& selecteur, QWidget* appelant);

    plateforme::Cadre* Frame20;
    QPlainTextEdit* Listing;  // named "Programme"
    QPushButton* Command1;
    QLineEdit* chargeprogramme;
};

// What the creation and the modification windows share around those
// pieces: the logo, "Désignation", the "Machine" frame with its pictures, and
// "Données" with the technical file, the code and the picture slots. Built
// in the order of the windows' designs, each window adding its own controls
// between the steps; the windows hold them as their own members.
struct CadresFiche {
    plateforme::Image* Image11;  // the logo
    // "Désignation"
    plateforme::Cadre *Frame1, *Frame15, *Frame3, *Frame5, *Frame2, *Frame6;
    QLineEdit *Text5, *Text6, *Text2, *Text7;
    // "Machine"
    plateforme::Cadre *Frame14, *Frame13, *Frame18;
    plateforme::Image *Image3, *Image5, *Image4;
    // Offsets and gauges, pictures, program.
    std::unique_ptr<Valeurs> valeurs;
    std::unique_ptr<Photos> photos;
    std::unique_ptr<Programme> programme;
    // "Données"
    plateforme::Cadre *Frame11, *Frame22, *Frame16;
    QLineEdit* Textdossiertechnique;
    QPushButton* Dossiertechnique;
    QLineEdit* Text3;
    QLabel* Label1;
    QPushButton* sectionprevisu;

    // The logo, "Désignation" (its boxes with their placeholders, or locked
    // when it is only shown), and the "Machine" frame with an empty "Nom".
    void construireDesignation(QWidget* fenetre, bool modifiable);
    // The pictures of the "Machine" frame, then the offsets and the program.
    void construireApercus(QWidget* fenetre);
    void construirePanneaux(QWidget* fenetre);
    // "Données".
    void construireDonnees(QWidget* fenetre, plateforme::Images& images);
    // "Choisir" of the technical file, "Modifier" of the pictures and
    // "Choisir" of the program open the pickers of these models, which
    // `proprietaire` (the main window) holds.
    void relierSelecteurs(QWidget* fenetre, QWidget& proprietaire, plateforme::Services& services,
                          const ModeleSelecteur& image,
                          const ModeleSelecteur& programme, const ModeleSelecteur& dossier);
};

// The four lists of the creation and the modification reports: the sheet's
// data, its paths, its values and the checks. Frame1 and Frame2 are h1 and
// h2 twips high, Frame3 and Frame4 below them down to `bas`.
struct ListesBilan {
    plateforme::Cadre *Frame1, *Frame2, *Frame3, *Frame4;
    QListWidget *List1, *List2, *List3, *List4;

    void construireListes(QWidget* fenetre, int h1, int h2, int bas);
    void remplirListes(const creation::Bilan& b);
};

}  // namespace tarvex::formulaire
