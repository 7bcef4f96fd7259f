#pragma once
// A sheet's folder under data\: its name and the text files it holds.

#include "store/index.h"
#include "store/probleme.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvex {

// piece + "_Phase " + phase + "_" + ensemble + "_" + machine, as given.
std::string nomdossier(const std::string& piece, const std::string& phase, const std::string& ensemble,
                       const std::string& machine);

// The folder name of a record read back from the index: each field without
// surrounding blanks.
std::string nomdossierEnregistrement(const Enregistrement& e);

// "data\" + folder name + "\".
std::string dossierFiche(const std::string& nom);

// The one check every path built from a record goes through, reading as well
// as writing and archiving: a sheet's folder is one folder right under data\.
// A name that could reach outside it (a record edited by hand with "\" or
// ".." in a field) has no folder: nullopt.
std::optional<std::string> dossierFicheSur(const std::string& nom);

// Why such a name has no folder, as the operator is told.
inline constexpr const char* kNomDouteux = "ce nom ne peut pas être celui d'un dossier de fiche";

// Where a reader looks for the files of the sheet of that name: its folder,
// or, for a name without one, "data\" + the name with each character a
// folder name cannot hold shown as "?": one folder under data\ that no sheet
// can have (no writer makes a name holding such a character), so every file
// of the sheet reads as missing.
std::string dossierFicheLu(const std::string& nom);

// The machine kind: 1 turning (X, Z), 2 milling (X, Y, Z).
inline bool fraisage(int type) { return type == 2; }

struct ValeursPref {
    std::string prefX, prefY, prefZ;
    std::string decX, decY, decZ;
    bool operator==(const ValeursPref&) const = default;
};

struct ValeursOrigine {
    std::string origine;  // the work offset used, such as G54
    std::string x, y, z;
    bool operator==(const ValeursOrigine&) const = default;
};

// Readers. `dossier` is the sheet folder with its final "\". A file holding
// several groups of values gives the last complete group; a group cut short
// by the end of the file is reported and its values read so far are kept.
Lu<ValeursPref> lirepref(const std::string& dossier, int type);
Lu<ValeursOrigine> lireorigine(const std::string& dossier, int type);
Lu<std::string> lireinfos(const std::string& dossier);
Lu<std::string> lirejauges(const std::string& dossier);
Lu<std::string> lireprogramme(const std::string& dossier);
Lu<std::vector<std::string>> annotations(const std::string& dossier);

// The whole file as text except its last character; an empty file is reported.
Lu<std::string> lireSaufDernier(const std::string& chemin);

// Writers: one value per line, CR LF, without quotes; the file is written in
// one step (see fichiers::ecrire).
Resultat ecrirepref(const std::string& dossier, int type, const ValeursPref& v);
Resultat ecrireorigine(const std::string& dossier, int type, const ValeursOrigine& v);
Resultat ecrireinfos(const std::string& dossier, const std::string& texte);

// The gauge lines stored for a typed text: the text without surrounding
// blanks ("A compléter" when empty), read back item by item, empty items
// dropped. Every item is kept, however many.
std::vector<std::string> normaliserJauges(const std::string& texte);

// Line breaks of a multi-line value as the data files store them: CR LF.
std::string finsDeLigneCrLf(const std::string& texte);

}  // namespace tarvex
