#pragma once
// The sheet index data\data.txt: one record of sixteen fields per sheet, in
// the order the sheets were created.

#include "store/lecteur.h"
#include "store/probleme.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

inline constexpr const char* kIndex = "data\\data.txt";
inline constexpr const char* kIndexTemporaire = "data\\data.tmp";
inline constexpr int kChampsParEnregistrement = 16;

// Field positions (0-based) of a record.
enum Champ {
    CPiece, CPhase, CMachine, CEnsemble, CMatiere,
    CVue, CMont1, CMont2, CInst, CBride, CButee, CPrefx, CPrefy, CPrefz, CDossier, CProgramme,
};

// The file of the sheet folder that a presence flag of the record stands
// for (fields CVue to CProgramme); "" for another field. Letter case does not
// matter: "vue.jpg" is the "Vue.jpg" the creation writes.
constexpr const char* fichierDuDrapeau(int champ)
{
    constexpr const char* kNoms[] = {"vue.jpg",   "mont1.jpg", "mont2.jpg", "inst.jpg",    "bride.jpg", "butée.jpg",
                                     "prefx.jpg", "prefy.jpg", "prefz.jpg", "dossier.pdf", "prog.txt"};
    return champ >= CVue && champ <= CProgramme ? kNoms[champ - CVue] : "";
}

using Enregistrement = std::array<std::string, kChampsParEnregistrement>;  // UTF-8, as read
using EnregistrementBrut = std::array<std::string_view, kChampsParEnregistrement>;  // Windows-1252

Enregistrement decoder(const EnregistrementBrut& brut);

// Walks the records of an index held in memory. The visitor gets the record
// number (from 0) and its raw fields, and returns false to stop. An index that
// ends in the middle of a record reports it; blank lines at its end are not a
// record.
Problemes parcourirIndex(std::string_view octets,
                         const std::function<bool(int, const EnregistrementBrut&)>& visiteur);

struct Index {
    std::vector<Enregistrement> enregistrements;
};

// Every record of data\data.txt. A missing index is reported.
Lu<Index> lireIndex();

// The record at the given position, read again from data\data.txt.
Lu<std::optional<Enregistrement>> lireEnregistrement(int numero);

// The key that ties a record to its sheet folder: the folder name with its
// final "\", built from the record's fields without surrounding blanks.
std::string cleEnregistrement(const Enregistrement& e);

// The one line every writer of the index builds for a record: the sixteen
// fields joined by ",", each written so that it reads back as it is (a field
// holding a comma or a line end, or with blanks at its ends, between double
// quotes: see protegerItem). Written bare, such a field would become two and
// shift every later record.
std::string ligneEnregistrement(const Enregistrement& e);

// The line a rewrite copies for a record it keeps: the phase and the
// material without surrounding blanks, the other fields as read.
std::string ligneReconstruite(const Enregistrement& e);

// Appends one record (UTF-8 line without its line end).
Resultat ajouterEnregistrement(const std::string& ligne);

// Rewrites the index without the records of a key (deletion), or with them
// replaced by one line each (modification). The new index is written to
// data\data.tmp, flushed, and put in place of data\data.txt in one step: at
// every moment data\data.txt holds either the old or the new index.
Resultat reecrireindex(const std::string& cle, const std::optional<std::string>& remplacement);

// What reecrireindex writes, from the index bytes it read (both Windows-1252).
std::string reconstruireIndex(std::string_view octets, const std::string& cle,
                              const std::optional<std::string>& remplacement);

}  // namespace tarvex
