#pragma once
// A new machine as the machine creation window holds it: the report that
// MachineBilancréation builds from it, and its writing; and the deletion of a
// machine with its in-use check. Standard C++ only; texts are UTF-8.

#include "store/empreinte.h"
#include "store/machines.h"
#include "store/probleme.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvex::machines {

inline constexpr const char* kNomACompleter = "Nom à compléter";

// The entries of MachineCréation, as its controls show them.
struct SaisieMachine {
    std::string nom;               // Text1, as typed
    int type = 0;                  // 1 Option1 "Tour CN", 2 Option2 "Fraiseuse CN", 0 none
    std::string libelleType;       // caption of the selected kind
    int directeur = 0;             // 1, 2, 3 or 10 (Option3, 4, 5, 10), 0 none
    std::string libelleDirecteur;  // caption of the selected CNC type
    std::string port, vitesse, parite, bits, arret;  // the five combo boxes' texts
    std::string image;             // Machineimage
    std::string dossier;           // chargedossier, "" when no file was chosen
};

// A message box the report shows while it is built (title, exclamation icon).
struct Alerte {
    std::string texte;
    std::string titre;
    bool operator==(const Alerte&) const = default;
};

struct BilanMachine {
    std::vector<std::string> lignes;  // List4, in order
    std::vector<Alerte> alertes;      // in the order they are shown
    bool accepte = true;              // "Continuer" enabled
};

// The report on the entries. The name is refused when empty, untouched, made
// of blanks only, made only of dots (it would name data\machine\ itself or
// its parent), or holding one of the ten forbidden characters, a double
// quote, a control character or a character that Windows-1252 cannot store
// (the file would hold another name than the one typed); it is refused too
// when the list holds it already, letter case and surrounding blanks aside.
// A list that exists but cannot be read refuses the creation as well: the
// name could not be checked. A serial value the link cannot be set to is
// refused (a port other than COM1 to COM9, a speed that is not a whole
// number, a parity other than E, N or O, data bits other than 5 to 8, stop
// bits other than 1 or 2, 2 stop bits with 5 data bits; a comma or a quote
// anywhere); so is a machine file in UTF-8 that Windows-1252 cannot hold,
// while one it can hold is said and stored converted.
BilanMachine analyserMachine(const SaisieMachine& saisie);

// What is written for these entries: the name without its surrounding
// blanks, the machine file only when one was chosen.
NouvelleMachine nouvelleMachine(const SaisieMachine& saisie);

// Whether a sheet of data\data.txt names the machine as its machine (third
// item of a record, letter case and blanks around the item aside, quoted or
// not: the main window finds the machine folder so). No
// index means no sheet; an index that cannot be read is reported, and the
// machine counts as used.
Lu<bool> machineUtilisee(const std::string& nom);

// Whether data\machine.txt holds exactly this name.
bool machineListee(const std::string& nom);

// Whether data\machine.txt holds a machine of this name, letter case and
// surrounding blanks aside: the report's check, and the creation's again
// under the data lock (another computer may have created it since).
bool nomPris(const std::string& nom);

// What tells, under the data lock, that another computer deleted or changed
// a machine since the creation window showed it: its name in the list and
// the stamps of its folder's files (com.txt, image.jpg, dossier.txt).
struct EmpreintesMachine {
    std::string nom;  // without surrounding blanks
    bool listee = false;
    std::vector<std::pair<std::string, Empreinte>> fichiers;  // by name
    bool operator==(const EmpreintesMachine&) const = default;
};
EmpreintesMachine empreintesMachine(const std::string& nom);

enum class EtatMachine { Inchangee, Modifiee, Supprimee };
// The machine as `vue` shows it against the list and its folder now.
EtatMachine comparerMachine(const EmpreintesMachine& vue);

// Deletes a machine once its checks are done: its name leaves the list, then
// `apresListe` runs (the creation window refills its list), then the three
// files and the folder go. A machine folder already gone is not an error.
// Stopped at any step, the list names the machine with its folder whole, or
// no longer names it.
Resultat effacerMachine(const std::string& nom, const std::function<void()>& apresListe = {});

}  // namespace tarvex::machines
