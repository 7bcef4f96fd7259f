#pragma once
// The pieces that the sheet creation window and the sheet modification
// window share, each built into the window that owns it under the control
// names of the windows' designs: the offsets and gauges laid out by machine
// kind and CNC type, the nine picture slots with their preview, and the
// program listing.

#include "creation/ecriture.h"
#include "mainwindow/valeurs.h"
#include "platform/construction.h"
#include "platform/services.h"
#include "store/machines.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <string>
#include <vector>

namespace tarvex {
class Selecteur;
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

// The authorisation code box: every character shown as "*".
QLineEdit* boiteCode(QWidget* parent, const char* nom, int x, int y, int l);

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

    QComboBox* Décalage;
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
    std::array<Emplacement, creation::kPhotos> emplacements;

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

}  // namespace tarvex::formulaire
