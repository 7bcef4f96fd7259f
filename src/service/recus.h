#pragma once
// The programs sent from the controls to this computer and kept for the
// operator: data\recus\COMn\AAAAMMJJ-HHMMSS.txt, one folder per port. None
// ever replaces a sheet's program by itself; a program removed goes to
// data\archives\recus\COMn\, so that nothing received is lost.

#include "store/archives.h"
#include "store/index.h"
#include "store/probleme.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::recus {

inline constexpr const char* kDossierRecus = "data\\recus\\";
inline constexpr const char* kArchivesRecus = "data\\archives\\recus\\";

// Stores a program received on `port` ("COM2") at `quand` as data\recus\COM2\AAAAMMJJ-HHMMSS.txt
// ("-2", "-3"… within one second; "-incomplet" before ".txt" when !complet): the bytes without
// their DC3s, every line ended by CR LF. Returns the data path written. An
// existing file is never written over.
Lu<std::string> stocker(const std::string& port, const archives::Instant& quand, std::string_view recu, bool complet);

// The text stored for the bytes received: without DC3s, every line end
// (CR LF, LF, CR) made CR LF, a last line without one given CR LF.
std::string texteStocke(std::string_view recu);

struct Recu {
    std::string chemin;         // data path of the file
    std::string port;           // "COM2"
    archives::Instant quand;
    std::string premiereLigne;  // first line other than "%" (UTF-8)
    long long lignes = 0;
    bool complet = true;
    std::vector<std::string> fiches;  // the sheets it replaced the program of ("PIVOT Phase 30 BRAS"), UTF-8
};

// Every port folder, newest first. Files whose names are not as stocker
// writes them are left out.
Lu<std::vector<Recu>> lister();

// The data paths lister would give, in its order, from the folders' names
// alone: what tells cheaply that a program came or went.
std::vector<std::string> chemins();

// Moves it to data\archives\recus\COM2\ (same name, "-2"… if taken).
Resultat archiver(const std::string& chemin);

// Remembers that the program `chemin` replaced the program of the sheet
// named `fiche` (UTF-8): a line "AAAAMMJJ-HHMMSS.txt;PIVOT Phase 30 BRAS" of
// data\recus\COMn\remplacements.txt. The sheets keep no trace of where
// their program came from, and the program files stay the bytes received.
Resultat noterRemplacement(const std::string& chemin, const std::string& fiche);

// The sheet, among those of `machines` (as machine.txt names them), that
// `programme` is proposed for: the one whose stored program bears the same
// number ("%130", "O2020", its first line other than "%"), failing that the
// one its first comment names as a request to the service would ("(PIVOT 30
// BRAS)"). Its position in `index`; none when neither names exactly one.
std::optional<std::size_t> ficheProposee(std::string_view programme, const Index& index,
                                         const std::vector<std::string>& machines);

}  // namespace tarvex::recus
