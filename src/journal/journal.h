#pragma once
// The transfer journal data\journal.txt: one line per transfer, only ever
// appended to, so that what went to or came from a control can be traced
// afterwards (date, computer, port, machines, what, how much, how it ended,
// and the CRC-32 of the bytes on the line).

#include "store/probleme.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::journal {

inline constexpr const char* kJournal = "data\\journal.txt";

// IEEE 802.3 CRC-32, as zlib computes it ("123456789" gives CBF43926).
std::uint32_t crc32(std::string_view octets);
// The LF count, plus one for a last line without LF (a DC3 alone there is
// the end of a received program, not a line).
long long compterLignes(std::string_view octets);

struct Entree {
    std::string date, heure;                 // "JJ/MM/AAAA", "HH:MM:SS"
    std::string poste;                       // this computer's name
    std::string port;                        // "COM2"
    std::vector<std::string> machines;       // joined by "/"
    std::string genre;                       // "Envoi fiche", "Envoi fichier", "Réception", "Demande", "Réponse", "Programme reçu"
    std::string objet;                       // "PIVOT Phase 20 BRAS" or a file name
    long long octets = 0, lignes = 0;
    std::string resultat;                    // "OK", "Erreur N", "Interrompu"
    long long secondes = 0;                  // whole seconds the transfer took
    std::uint32_t crc = 0;
};

// Fills octets, lignes and crc from the bytes that went on the line.
void mesurer(Entree& e, std::string_view octetsSurLaLigne);

// UTF-8, fields joined by ";", a ";" inside a field written ",", the CRC as
// 8 upper-case hexadecimal digits. Line ends inside a field become blanks:
// a line is one transfer.
std::string ligne(const Entree& e);

// Appends the line and CR LF (Windows-1252) to data\journal.txt, created if missing.
Resultat ajouter(const Entree& e);

// The lines (UTF-8) newest first; a missing journal is empty.
Lu<std::vector<std::string>> lire();

// Every word of the filter is in the line, letter case and accents aside, as
// the sheet search finds them. An empty filter takes every line.
bool correspond(std::string_view ligneUtf8, std::string_view filtreUtf8);

}  // namespace tarvex::journal
