#pragma once
// The printed set-up sheet as a list of printer operations, built from the
// values the main window shows and from the sheet's and the machine's files.
// Positions are millimetres from the printable area's left and top edges,
// sizes in points. Page breaks are the printer's business: a line that would
// pass the bottom of a page goes on the next one.

#include "store/probleme.h"
#include "trajectoire/trajectoire.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::impression {

// One check box of the window at load: offered (enabled) and ticked.
struct EtatCase {
    bool offerte = false;
    bool cochee = false;
    bool operator==(const EtatCase&) const = default;
};

// The sections the operator may tick, in the order they are printed.
struct Sections {
    bool pref = false;            // Check1
    bool dec = false;             // Check2
    bool origines = false;        // Check8
    bool jauges = false;          // Check3
    bool annotations = false;     // Check5
    bool listing = false;         // Check6
    bool donnees = false;         // Check9
    bool dossierMachine = false;  // Check10
    bool trajectoire = false;     // Check11, printed after the listing
};

struct Offre {
    EtatCase pref, dec, origines, jauges, annotations, listing, donnees, dossierMachine, trajectoire;
    bool operator==(const Offre&) const = default;
};

// What the window offers for a CNC type (the main window's Label18) and a
// program flag (Label16). The CNC type is compared as the number it is, as
// the main window does when it chooses the value frames; an unknown type
// offers only the machine file.
Offre sectionsOffertes(std::string_view directeur, std::string_view drapeauProgramme);

// What the printout takes from the main window, as shown there.
struct Fiche {
    std::string image;         // the part picture shown (data path); empty: none
    int largeurImage = 0;      // size of its box, twips
    int hauteurImage = 0;
    std::string phase;         // text of the phase list, "PIVOT Phase 20"
    std::string piece, numeroPhase, matiere, ensemble, machine;  // Label1, Label2, Label5, Label4, Label3
    std::string typeMachine;   // Label17: "2" milling prints the Y lines
    std::string directeur;     // Label18: how the program's words are read for its toolpath
    std::string prefX, prefY, prefZ, decX, decY, decZ;
    std::string origine, origineX, origineY, origineZ;
    std::string dossier;       // the sheet folder, "data\" + nomdossier + "\"
};

struct Operation {
    enum class Genre {
        Image,      // x, y, largeur, hauteur, texte = the picture's data path
        Hauteur,    // the print position moves down to y
        Texte,      // a line at x in taille points, gras or not
        LigneVide,  // an empty line in the current font
        Dessin,     // the toolpath of `trajet` at the current height: x, largeur, hauteur; the height then moves below it
        Fin,        // the document is handed to the printer
    };
    Genre genre = Genre::LigneVide;
    double x = 0, y = 0, largeur = 0, hauteur = 0;
    double taille = 0;
    bool gras = false;
    std::string texte{};
    std::shared_ptr<const trajectoire::Programme> trajet{};
    bool operator==(const Operation&) const = default;
};

// The whole printout. A file of a ticked section that cannot be read stops
// it after that section's heading: the operations end there, without Fin,
// and the problem names the file.
Lu<std::vector<Operation>> feuille(const Fiche& fiche, const Sections& sections);

// The items of a text file as the item reader gives them, in UTF-8.
Lu<std::vector<std::string>> itemsFichier(const std::string& chemin);

}  // namespace tarvex::impression
