#pragma once
// The checks of the validation reports (creation and modification of a
// sheet): each gives the line the report shows and whether the sheet may be
// stored. Texts are UTF-8.

#include "store/textechoisi.h"

#include <optional>
#include <string>
#include <string_view>

namespace tarvex::analyse {

inline constexpr std::string_view kCoherent = "  Cohérent";
inline constexpr std::string_view kAbsenceNom = "  Absence de saisie du Nom !";
inline constexpr std::string_view kInterdits = "   (_/\\:;,*?<>)...Caractères interdits !";
inline constexpr std::string_view kNonNumerique = "  Caractère non numérique interdit !";
inline constexpr std::string_view kAucuneValeur = "  Aucune valeur saisie !";
inline constexpr std::string_view kAbsenceMachine = "  Absence de sélection machine !";
inline constexpr std::string_view kAbsenceImage = "  Absence d'image pièce !";
inline constexpr std::string_view kVirguleGuillemet = "  Virgule ou guillemet interdit !";
inline constexpr std::string_view kEnUtf8 = "  Fichier en UTF-8 : il sera enregistré en Windows-1252 !";

// The untouched defaults of the creation window.
inline constexpr std::string_view kNomACompleter = "Nom à compléter";
inline constexpr std::string_view kSelectionnerMachine = "Sélectionner une machine";

struct Verdict {
    std::string_view ligne;
    bool refuse = false;
};

// One of the ten characters a name may not hold ("\", "_", "/", ":", ";",
// ",", "*", "?", "<", ">").
bool interditDansNom(char c);

// A name: empty or the default is refused, and so is a forbidden character
// or a double quote (a quote would take the rest of the index record with
// it when the record is read back).
Verdict analysenom(std::string_view texte);

// A value: empty (or blanks only) is refused, and so is any character other
// than "-", ".", "/" and the digits, blanks around it aside.
Verdict analysevaleur(std::string_view texte);

// The phase number: one that reads as 0 is refused; so is one holding a
// character that would split the index record or take the sheet's folder
// out of the data folder (a forbidden name character, a comma, a quote).
Verdict analysephase(std::string_view texte);

// The machine: reported when none is chosen, never refused.
Verdict analysemachine(std::string_view texte);

// The origin used (FANUC `Décalage`, an editable list): a comma or a double
// quote would split its line of origine.txt into other items when read back.
Verdict analysedecalage(std::string_view texte);

// What a chosen text file (a program, a machine file) adds to a report:
// nothing for a file stored as it is; a UTF-8 file is said (kEnUtf8), and
// refused, its line and character named, when it holds a character
// Windows-1252 lacks.
struct Constat {
    std::string ligne;
    bool refuse = false;
};
std::optional<Constat> analysetexte(const textechoisi::Texte& texte);

}  // namespace tarvex::analyse
