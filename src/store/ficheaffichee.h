#pragma once
// The sheet the main window shows, read in one call: its record, its folder's
// files, its machine and the machine's settings, with every problem met, each
// naming its file. The main window fills its controls from this value and
// hands it to the windows that act on the shown sheet (modification, deletion,
// printing, toolpath, transfer), which therefore never read the sheet back
// from the controls.
//
// A sheet whose files are damaged or missing is still read with everything
// that could be: the operator at the machine needs the gauges even when a
// photograph is gone.

#include "store/empreinte.h"
#include "store/fiche.h"
#include "store/index.h"
#include "store/machines.h"
#include "store/probleme.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvex {

// A sheet's program as the main window lists it.
struct ProgrammeFiche {
    bool present = false;                  // the record says the sheet has one
    bool lu = true;                        // prog.txt read whole: only then can it be sent
    std::string texte;                     // the listing (UTF-8), as the main window holds it
    std::vector<std::string> annotations;  // its "$" items
    Problemes problemes;                   // prog.txt's, told once for the listing and its annotations
};

// prog.txt of the sheet folder `dossier` and its annotations, when `present`.
ProgrammeFiche lireProgrammeFiche(const std::string& dossier, bool present);

// The flags of the record's files, CVue to CProgramme.
inline constexpr int kFichiersFiche = CProgramme - CVue + 1;

// What tells, under the data lock, that another computer stored over a sheet
// since it was read: its record's line and the stamps of its folder's files.
struct EmpreintesFiche {
    std::string ligne;
    std::vector<std::pair<std::string, Empreinte>> fichiers;  // by name
    bool operator==(const EmpreintesFiche&) const = default;
};

struct FicheAffichee {
    Enregistrement champs{};     // the record as read (the hidden labels Label1 to Label16)
    bool dossierPresent = false;
    bool dossierMachinePresent = false;  // a machine folder under a name that can be one
    ProgrammeFiche programme;
    Lu<ParamCom> com;            // the machine's com.txt (type and directeur: Label17, Label18)
    // The values of the CNC type, read only for it, and the gauges, read for
    // every type. What the value boxes show is these, or what the operator
    // typed over them since.
    Lu<ValeursPref> pref;          // NUM
    Lu<ValeursOrigine> origine;    // FANUC
    Lu<std::string> infos;         // FAGOR
    Lu<std::string> jauges;
    // Taken just before the files were read, or as this program last stored
    // the sheet: the storing windows store only over what the operator was
    // shown.
    EmpreintesFiche vue;

    // "data\" + the folder name built from the record ("data\_Phase __\" for
    // the empty value shown before any choice), through dossierFicheLu.
    std::string dossier() const;
    std::string machine() const;  // the record's machine without surrounding blanks
    // A flag of the record: "O", blanks aside.
    bool drapeau(Champ champ) const;
    // A com.txt that could not be read whole says nothing sure about the CNC.
    bool comLu() const { return com.ok(); }
    int genre() const;      // kTournage, kFraisage, or -1
    int directeur() const;  // kNum, kFagor, kFanuc, kAutre; -1 unless com.txt was read whole
};

// The record at position `numero` of data\data.txt and everything its sheet
// shows. No value when the record cannot be read. The problems are the
// record's and, when the sheet folder is missing, that one line for all of
// its files: the problems of the files inside a missing folder are left out
// of every part.
Lu<std::optional<FicheAffichee>> lireFicheAffichee(int numero);

// The record of data\data.txt with the key of `champs` (cleEnregistrement) and
// its folder's files now; no value when the record is gone.
std::optional<EmpreintesFiche> empreintesFiche(const Enregistrement& champs);

// The stamps of the files of the sheet folder of `champs` now (as
// EmpreintesFiche::fichiers): all of a shown sheet that can change while
// data\data.txt does not, looked at without reading the index.
std::vector<std::pair<std::string, Empreinte>> empreintesDossier(const Enregistrement& champs);

enum class EtatFiche { Inchangee, Modifiee, Supprimee };
// The shown sheet against data\data.txt and its folder now. An index that
// cannot be read says nothing: the storing then tells its own failure.
// `valeursSeules`: of the folder, only the files whose values a command
// takes from the window's boxes (pref.txt, origine.txt), not those it reads
// from the disk as they are when it runs (the program, the gauges).
EtatFiche comparerFiche(const FicheAffichee& fiche, bool valeursSeules = false);

// Whether the record of `champs` and its folder are still as `vue` saw
// them, the status aside (statut.txt changes without the program or the
// values changing, and is read again on its own wherever it matters).
bool inchangeeHorsStatut(const Enregistrement& champs, const EmpreintesFiche& vue);

}  // namespace tarvex
