#pragma once
// A new sheet as the creation window holds it, and its writing into the data
// folder: the index record first, then the folder, the copied files and the
// value files. Texts are UTF-8; paths are data-folder paths (chemins.h) or
// the absolute paths the pickers hand over.

#include "store/archives.h"
#include "store/photos.h"
#include "store/probleme.h"
#include "store/statut.h"

#include <array>
#include <string>
#include <vector>

namespace tarvex::creation {

// A gauge text keeps at most this many items.
inline constexpr int kJaugesMax = 100;

struct SaisieFiche {
    std::string piece, phase, ensemble, matiere, machine;
    // The machine whose com.txt filled typmachin and typdirect ("" when
    // none was picked): the sheet's values follow its kind and CNC type.
    std::string machineChoisie;
    std::string typmachin, typdirect;  // "1"/"2" and "1"/"2"/"3"/"10", as the hidden boxes hold them
    std::array<std::string, kPhotos> photos;  // path boxes, "" when none
    std::string dossierTechnique, programme;  // path boxes, "" when none
    std::string prefx, prefy, prefz, decx, decy, decz;
    std::string decalage, originex, originey, originez;
    std::string infovrac, jauge;  // multi-line values, lines joined by CR LF or LF
};

// The sixteen fields joined by ",": the names without surrounding blanks
// (every reader trims them, so the record and the folder stay in step), then
// the eleven flags, "O" for a path box that is not empty; built as every
// writer of the index builds a record (ligneEnregistrement).
std::string ligneIndex(const SaisieFiche& s);

// piece + "_Phase " + phase + "_" + ensemble + "_" + machine, trimmed names.
std::string nomDossierSaisie(const SaisieFiche& s);

// The gauge lines that will be stored: the items of the text, empty ones
// dropped, at most kJaugesMax. `retenues` counts every item found.
struct Jauges {
    std::vector<std::string> lignes;
    std::size_t trouvees = 0;
    bool tronquees() const { return trouvees > lignes.size(); }
};
Jauges jaugesRetenues(const std::string& texte);

// What makes the writing impossible before anything is written: a machine
// that is not the one picked from the machine list, a sheet folder or an
// index record that is already there (letter case ignored), a name the
// folder cannot take, a chosen file that cannot be read, an index that
// cannot be read. Each problem names its file or folder.
Problemes verifierAvantEcriture(const SaisieFiche& s);

struct Ecriture {
    Resultat resultat;
    bool indexEcrit = false;  // the record is in data\data.txt: the sheet is listed even if incomplete
};

// Writes the sheet in this order: the index record, the folder, the copies
// (Vue.jpg, mont1.jpg, inst.jpg, prefz.jpg; for milling mont2.jpg, butée.jpg,
// bride.jpg, prefx.jpg, prefy.jpg; then dossier.pdf and prog.txt), pref.txt
// (NUM), origine.txt (FANUC), info.txt (FAGOR), jauge.txt. Stops at the first
// failure; what was written stays. Last, the sheet starts "En essai"
// ("Création"), by `auteur` at `maintenant`.
Ecriture ecrireFiche(const SaisieFiche& s, const archives::Instant& maintenant, const statut::Auteur& auteur);

}  // namespace tarvex::creation
