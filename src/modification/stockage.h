#pragma once
// Storing a modified sheet in place, and deleting a sheet: its files, its
// folder and its record of the index.
//
// Both survive a stop at any of their file operations: data\data.txt is only
// ever replaced whole (reecrireindex), every file of the sheet folder is
// written beside its target and renamed over it, and running the operation
// again with the same input finishes what was left. A sheet whose folder lost
// files can be modified or deleted all the same, which is how it is repaired.

#include "store/archives.h"
#include "store/fiche.h"
#include "store/index.h"
#include "store/probleme.h"
#include "store/statut.h"

#include <array>
#include <string>
#include <vector>

namespace tarvex::stockage {

// The eleven file slots of a sheet, in the order of the record's flags
// (fields 6 to 16): the clamping comes before the stop here, while the option
// buttons show "Mise en butée" before "Bridage".
enum Emplacement { EVue, EMont1, EMont2, EInst, EBride, EButee, EPrefx, EPrefy, EPrefz, EDossier, EProgramme };
inline constexpr int kEmplacements = 11;

// The name of a slot's file in the sheet folder: the file of its flag.
constexpr const char* fichierEmplacement(int emplacement) { return fichierDuDrapeau(CVue + emplacement); }

// The designation of a sheet as the index holds it (the main window's
// Label1 to Label4).
struct Designation {
    std::string piece, phase, machine, ensemble;
};

// "data\" + folder name + "\" and the key of the index, both built from the
// designation without surrounding blanks.
std::string dossier(const Designation& d);
std::string cle(const Designation& d);

// A slot's two paths: the file the sheet will use, and the one it had when
// the modification window opened. Empty: no file.
struct Chemins {
    std::string nouveau;
    std::string ancien;
    bool change() const { return nouveau != ancien; }
};

struct Modification {
    Designation stockee;   // the sheet being modified, as stored
    std::string genre;     // machine kind: "1" turning, "2" milling
    std::string directeur; // CNC type: "1" NUM, "2" FAGOR, "3" FANUC, "10" other
    // The new record's designation (the modification window's boxes).
    std::string piece, phase, machine, ensemble, matiere;
    std::array<Chemins, kEmplacements> fichiers;
    ValeursPref pref;
    ValeursOrigine origine;
    std::string infos;   // multi-line, as typed
    std::string jauges;  // multi-line, as typed
    archives::Instant maintenant;  // names the version of what is replaced
    statut::Auteur auteur;         // who, when a new program makes the sheet "En essai"
};

// The replacement record: part, phase without surrounding blanks, machine,
// assembly, material, then "O" for each slot with a file and "N" otherwise.
// A field that would not read back whole is quoted, as the rewrite does.
std::string ligneModifiee(const Modification& m);

struct FinModification {
    Resultat resultat;
    // The record in the index now tells the new state, whatever came after.
    bool indexReecrit = false;
};

// In this order: every new file is read (one that cannot be read stops
// everything, nothing written); the record is replaced in the index; the
// changed files are put in the folder (the folder is made again if it was
// lost); pref.txt, origine.txt or info.txt by the CNC type, and jauge.txt,
// are written anew; last, a new program makes the sheet "En essai"
// ("Programme modifié"). Slots are taken in record order, so a slot whose new file
// is another slot's file of the same folder gets what that file holds once
// the earlier slots are in place.
FinModification enregistrer(const Modification& m);

struct Suppression {
    Designation fiche;
    std::array<std::string, kEmplacements> drapeaux;  // "O"/"N", fields 6 to 16 (Label6 to Label16)
    std::string directeur;                            // Label18
    archives::Instant maintenant;                     // names the version of the archived folder
};

// Complete records of data\data.txt.
Lu<int> compterFiches();

struct FinSuppression {
    Resultat resultat;
    // The folder still held these files (names as on disk) once the sheet's
    // own were deleted: it was kept with them, and the record removed.
    std::vector<std::string> restes;
};

// The files the deletion removes, in order (flagged slots, the value file of
// the CNC type, jauge.txt).
std::vector<std::string> fichiersASupprimer(const Suppression& s);

// Deletes the sheet's files (one already missing is not an error), then its
// folder when nothing else is left in it, then its record of the index.
FinSuppression supprimer(const Suppression& s);

}  // namespace tarvex::stockage
