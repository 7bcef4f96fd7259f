#pragma once
// The programs sent from the controls to this computer and kept for the
// operator: data\recus\COMn\AAAAMMJJ-HHMMSS.txt, one folder per port. None
// ever replaces a sheet's program by itself; a program removed goes to
// data\archives\recus\COMn\, so that nothing received is lost.

#include "store/archives.h"
#include "store/probleme.h"

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
};

// Every port folder, newest first. Files whose names are not as stocker
// writes them are left out.
Lu<std::vector<Recu>> lister();

// Moves it to data\archives\recus\COM2\ (same name, "-2"… if taken).
Resultat archiver(const std::string& chemin);

}  // namespace tarvex::recus
