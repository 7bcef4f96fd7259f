#pragma once
// The machine list data\machine.txt and the machine folders
// data\machine\<name>\ with com.txt, image.jpg and dossier.txt.

#include "store/probleme.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

inline constexpr const char* kListeMachines = "data\\machine.txt";
inline constexpr const char* kListeMachinesTemporaire = "data\\machinetemp.txt";
inline constexpr const char* kPasDImage = "data\\pasdimage.jpg";
inline constexpr const char* kPasDeProgramme = "data\\pasdeprogramme.txt";
inline constexpr const char* kPasDeDossierMachine = "Pas de dossier machine";

// The seven lines of com.txt: serial settings, machine kind and CNC type.
struct ParamCom {
    std::string port;        // "COM1"
    std::string vitesse;     // "9600"
    std::string parite;      // "E(ven)"
    std::string bits;        // "7"
    std::string arret;       // "2"
    std::string type;        // "1" turning, "2" milling
    std::string directeur;   // "1" NUM, "2" FAGOR, "3" FANUC, "10" other
    bool operator==(const ParamCom&) const = default;
};

// The codes of com.txt: the machine kind and the CNC type.
inline constexpr int kTournage = 1, kFraisage = 2;
inline constexpr int kNum = 1, kFagor = 2, kFanuc = 3, kAutre = 10;

// The picture of a machine kind, shown wherever a machine is; none (nullptr)
// for a kind that is neither turning nor milling.
const char* imageDuGenre(int type);

// A kind or CNC type of com.txt ("1", "10") as the number it is compared
// as; -1 for a text that is not a whole number, which matches no code.
int codeMachine(std::string_view texte);

// "data\machine\" + name + "\"; readers pass the name without surrounding blanks.
std::string dossierMachine(const std::string& nom);

// The names of the list, in file order. A missing list is an empty list.
Lu<std::vector<std::string>> lireListeMachines();

// com.txt read seven items at a time to the end of the file; the last group
// wins. A short file is reported with what it held.
Lu<ParamCom> lirecom(const std::string& nomMachine);

// The same reading on the bytes of a com.txt; `chemin` names the file in
// the problems reported.
Lu<ParamCom> analyserCom(std::string_view octets, const std::string& chemin);

struct NouvelleMachine {
    std::string nom;                      // as typed; stored without surrounding blanks
    std::string image;                    // picture to copy (data\pasdimage.jpg when none was chosen)
    std::optional<std::string> dossier;   // machine file to copy; none: "Pas de dossier machine"
    ParamCom com;
};

// Writes a new machine: its folder with image.jpg, dossier.txt and com.txt,
// then its name at the end of the list. The name is stored without the blanks
// around it, since every reader looks the folder up without them. The name goes in last, so that the
// list never names a machine whose folder is incomplete; a folder left by an
// interrupted creation or deletion (not in the list) is completed in place.
Resultat ecrireMachine(const NouvelleMachine& m);

// Rewrites the list without the names equal to `nom` (letter case counts),
// through data\machinetemp.txt; the list is replaced in one step. Without
// any name left, no list remains.
Resultat retirerMachineDeListe(const std::string& nom);

// Deletes image.jpg, com.txt, dossier.txt and the machine folder.
Resultat supprimerDossierMachine(const std::string& nom);

}  // namespace tarvex
