#pragma once
// The transfer journal data\journal.txt: one line per transfer, only ever
// appended to, so that what went to or came from a control can be traced
// afterwards (date, computer, port, machines, what, how much, how it ended,
// and the CRC-32 of the bytes on the line).

#include "store/probleme.h"

#include <array>
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

// The bytes that went on the line, told in pieces: a drip-fed program is
// never whole in memory.
class Mesure {
public:
    void ajouter(std::string_view octets);
    long long octets() const { return octets_; }
    long long lignes() const { return lignes_ + (finSansLF_ ? 1 : 0); }  // as compterLignes
    std::uint32_t crc() const { return crc_ ^ 0xFFFFFFFFu; }

private:
    long long octets_ = 0, lignes_ = 0;
    bool finSansLF_ = false;  // something other than DC3 after the last LF
    std::uint32_t crc_ = 0xFFFFFFFFu;
};

// Fills octets, lignes and crc from the bytes that went on the line.
void mesurer(Entree& e, std::string_view octetsSurLaLigne);
void mesurer(Entree& e, const Mesure& m);

// UTF-8, fields joined by ";", a ";" inside a field written ",", the CRC as
// 8 upper-case hexadecimal digits. A control character or DEL inside a field
// (a line end, the NUL or ESC of a noisy request) is written "?": a line is
// one transfer, and the file stays a text any editor shows.
std::string ligne(const Entree& e);

// Appends the line and CR LF (Windows-1252) to data\journal.txt, created if
// missing; on a line of its own when the file ends without a line end.
Resultat ajouter(const Entree& e);

// The lines (UTF-8) newest first; a missing journal is empty.
Lu<std::vector<std::string>> lire();

// The journal window's columns: a line's fields in order, the CRC last.
enum Colonne : std::size_t { kDate, kHeure, kPoste, kPort, kMachines, kGenre, kObjet, kOctets, kLignes, kResultat,
                             kDuree, kCrc, kColonnes };

// A line's fields. A line of another form (cut, or edited by hand) is given
// whole as its sheet or file, the other fields empty: nothing of it is hidden
// and no part of it stands under a heading it does not belong to.
std::array<std::string_view, kColonnes> champs(std::string_view ligne);

// Whole seconds as the operator reads them: "45 s", "2 min 05 s",
// "1 h 00 min 07 s"; a field that is no such number, as it is.
std::string duree(std::string_view secondes);

// The journal as a window holds it while it is open: every line read and
// folded for the filter once, and what another transfer appends afterwards
// read alone, so that neither a keystroke nor the following reads it all.
class Lignes {
public:
    std::size_t taille() const { return finsTexte_.size(); }
    // Line i (UTF-8), 0 being the oldest.
    std::string_view ligne(std::size_t i) const;

    // The numbers of the lines from `depuis` on that hold every word of the
    // filter (as correspond finds them), newest first.
    std::vector<std::size_t> filtrer(std::string_view filtreUtf8, std::size_t depuis = 0) const;

    // Takes the lines of bytes of the file (Windows-1252, ended by CR LF or
    // LF; an empty line is no transfer). A last piece without its line end is
    // a line when `finDuFichier` (a file edited by hand ends so); otherwise it
    // waits, being the start of a line still being written. Returns the
    // number of bytes taken.
    std::size_t prendre(std::string_view octets, bool finDuFichier);

    enum class Suite { Rien, Ajout, Relu, Illisible };
    // data\journal.txt read again: only what was appended since the last
    // call (Ajout), or whole the first time and when it was replaced or cut
    // meanwhile (Relu). Illisible leaves the lines as they were.
    Suite suivre();

private:
    void vider();

    std::string texte_, plie_;                    // the lines one after the other, UTF-8 and folded
    std::vector<std::size_t> finsTexte_, finsPlie_;
    std::uint64_t lu_ = 0;                        // bytes of the file taken
    std::string queue_;                           // the last of them, to tell a file grown from another
};

}  // namespace tarvex::journal
