#pragma once
// The text a transfer sends to the CNC, byte for byte, and the order in which
// the progress bar moves while it goes out. Built without a serial port: the
// windows write the steps to their port one after the other.

#include "store/fiche.h"
#include "store/ficheaffichee.h"
#include "store/texte.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

// Failure numbers of a transfer that do not come from the serial component.
inline constexpr int kErreurAucunTransfert = 0;       // no transfer for this CNC type or option
inline constexpr int kErreurJauge = 5;                // gauge item with a letter missing or out of order
inline constexpr int kErreurDepassement = 6;          // a value too large for its number type
inline constexpr int kErreurTropDItems = 9;           // program of more than 10,000 items
inline constexpr int kErreurFichierIntrouvable = 53;  // program or gauge file missing
inline constexpr int kItemsMaximum = 10000;

// Number texts of the parameter assignments: no thousands separator, "." as
// the decimal point whatever the regional settings, no exponent, no decimal
// part for a whole value, "-" for a negative one. An infinite value has no
// text (empty): a transfer fails with kErreurDepassement before needing one.
std::string texteparametre(double valeur);  // up to 15 significant digits
std::string texteparametre(float valeur);   // up to 7 significant digits

// "9600,e,7,2": speed, first letter of the parity in lower case, data bits, stop bits.
std::string reglageliaison(std::string_view vitesse, std::string_view parite, std::string_view bits,
                           std::string_view arret);

// Positions (from 1) of the last occurrence of each letter of a gauge item;
// they carry over from one item to the next within one transfer.
struct PositionsJauge {
    int d = 0, x = 0, z = 0, r = 0, c = 0, l = 0;
};

struct LignesJauge {
    std::vector<std::string> lignes;  // without their line ends
    bool echec = false;               // a letter missing or out of order (failure kErreurJauge)
    int numero = 0;                   // when echec: kErreurJauge, or kErreurDepassement for a value
                                      // beyond single precision
};

// The parameter assignments of one gauge item: four lines for turning
// (type 1: D, X, Z, R, C), two for milling (type 2: D, L, R). The item is
// Windows-1252 bytes as read from jauge.txt, one byte per character, so the
// positions are those the operator counts. Another type gives no line.
LignesJauge lignesjauge(std::string_view item, int type, PositionsJauge& positions);

struct Etape {
    std::string octets;    // Windows-1252 bytes to write, each line ended by LF alone; may be empty
    int progression = -1;  // the progress bar's value once they are written; -1: unchanged
};

struct EchecTransfert {
    int numero = 0;
    std::string detail;  // French, for the note under the message: which file, which item
};

// A transfer: the steps to carry out in order; when echec is set, the
// transfer fails after the last step (what came before is sent, as the CNC
// would have received it).
struct Transfert {
    std::vector<Etape> etapes;
    std::optional<EchecTransfert> echec;
    bool balayage = false;  // the progress sweep runs after a successful end (gauge table)

    std::string texte() const;  // every byte of the steps, in order
};

enum class ModeChargement { Programme, JaugesSeules, Aucun };

// What the main window holds when Charger is pressed; the PREF and DEC1
// values are the texts of its value boxes (UTF-8), as shown or typed.
struct DemandeChargement : ValeursPref {
    int directeur = 0;      // CNC type D: 1 NUM, 3 FANUC
    int type = 0;           // machine kind K: 1 turning, 2 milling
    std::string dossier;    // the sheet folder, "data\...\"
    ModeChargement mode = ModeChargement::Programme;
    bool pref = false, dec = false, jauges = false;  // Check1, Check2, Check3
};

// The sheet sent to its CNC: NUM program with the PREF, DEC1 and gauge
// blocks after its first item, NUM gauge table, or FANUC program.
Transfert transfertFiche(const DemandeChargement& demande);

// Any program file sent as it is, item by item; `insertion` (lines ended by
// LF) after its first item.
Transfert transfertFichier(const std::string& chemin, std::string_view insertion = {});
// The same for a program already in memory (a restart program).
Transfert transfertTexte(std::string octets, std::string_view insertion = {});

// Drip-feed of a sheet: the program file Charger reads, and in `blocs` the
// steps it puts after the first item (failing as Charger would on them).
// None for what is no program (the gauge table alone, no transfer defined).
std::optional<std::string> programmeFiche(const DemandeChargement& demande, Transfert& blocs);

// A program built by Tarvex (a restart), Windows-1252 lines without their
// ends, sent as a file holding them is (item by item, each ended by LF, the
// DC3 after the last), but without the ordinary limit on its length: a
// restart is mostly the end of a program already too long to go whole.
Transfert transfertLignes(const std::vector<std::string>& lignes);
// The same lines as a file's bytes, CR LF ended: what a drip-feed reads.
std::string texteLignes(const std::vector<std::string>& lignes);

// What Charger sends for a sheet with its stored values: NUM "Programme" with
// PREF, DEC1 and Jauges ticked, or "Jauges seules"; FANUC its program. What
// the DNC service answers, and what a restart starts from.
DemandeChargement demandeDeFiche(const FicheAffichee& fiche, bool jaugesSeules = false);

// The lines Charger puts after a sheet's first line (the NUM PREF, DEC1 and
// gauge blocks), without their line ends; none for FANUC. `echec` when one of
// them cannot be sent (a gauge malformed or missing, a value out of range).
struct Insertion {
    std::vector<std::string> lignes;
    std::optional<EchecTransfert> echec;
};
Insertion insertionFiche(const FicheAffichee& fiche);

}  // namespace tarvex
