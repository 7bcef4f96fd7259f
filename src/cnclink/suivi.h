#pragma once
// What the transfer window tells the operator while a program goes out: the
// lines gone out of the total, the time left, and whether the CNC holds the
// line. Fed with the count of bytes that have left the PC and the time, so
// that it is the same on a real line, a pseudo-terminal and in the tests.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

inline constexpr const char* kEnvoiEnCours = "Envoi en cours";
inline constexpr const char* kAttenteCommande = "En attente de la commande numérique";

// Nothing left for this long: the CNC is holding the line (XOFF, buffer full).
inline constexpr std::int64_t kAttenteMs = 2000;
// The rate computed from the settings gives way to the measured one once
// the line has been moving for this long.
inline constexpr std::int64_t kMesureMs = 3000;

// Characters per second of a settings text such as "9600,e,7,2": each takes
// a start bit, the data bits, a parity bit unless "n", and the stop bits.
// No value for a text the port would refuse.
std::optional<double> caracteresParSeconde(std::string_view reglage);

class SuiviTransfert {
public:
    // `octets`: every byte the transfer sends, in order. Its lines are those
    // ended by LF, the closing DC3 + LF not counted.
    SuiviTransfert(std::string_view octets, double caracteresParSeconde, std::int64_t debutMs);
    // Drip-feed: only the counts are known beforehand, and the bytes are
    // told as they are written (ecrits), kept only until they have left.
    SuiviTransfert(std::int64_t lignes, std::int64_t octets, double caracteresParSeconde, std::int64_t debutMs);
    void ecrits(std::string_view octets);

    // `partis`: bytes that have left the PC since the start.
    void relever(std::int64_t partis, std::int64_t instantMs);

    int lignesParties() const { return lignesParties_; }
    int lignesTotal() const { return continu_ ? static_cast<int>(lignesTotal_) : static_cast<int>(finsDeLigne_.size()); }
    std::int64_t secondesRestantes() const;
    bool enAttente() const;  // bytes remain and none has left for kAttenteMs
    std::int64_t depuisMs() const { return dernierProgres_; }  // when the last byte left
    // Drip-feed: the block number of the last line that left ("N31200"), or "".
    const std::string& bloc() const { return bloc_; }

private:
    std::vector<std::int64_t> finsDeLigne_;  // offset just past each line's LF
    std::int64_t total_ = 0;
    double cadence_ = 0;                     // from the settings
    std::int64_t partis_ = 0;
    int lignesParties_ = 0;
    std::int64_t dernierReleve_ = 0;
    std::int64_t dernierProgres_ = 0;
    std::int64_t enMouvementMs_ = 0;         // time during which bytes left
    std::int64_t octetsEnMouvement_ = 0;
    // Drip-feed: the lines counted as they leave.
    bool continu_ = false;
    std::int64_t lignesTotal_ = 0;
    std::string enRoute_;     // written, not yet left
    std::string ligneEnCours_;  // the start of the line leaving, for its block number
    std::string bloc_;
};

// "Lignes envoyées : 12 sur 340"
std::string texteLignes(int parties, int total);
// Drip-feed: "Ligne 31200 : N31200 - reste 8 800 lignes" ("Ligne 12" without a block number).
std::string texteLigne(int partie, const std::string& bloc, int reste);
// "Temps restant : 4 min 05 s"
std::string texteRestant(std::int64_t secondes);
// The detail of "Transfert interrompu".
std::string detailInterruption(int parties, int total);

}  // namespace tarvex
