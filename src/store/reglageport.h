#pragma once
// A serial line's settings as the transfers and the DNC service give them to
// the port: "9600,e,7,2", speed, parity letter, data bits, stop bits. The
// port refuses what a UART could not do rather than open with other settings
// the CNC would not understand.

#include <optional>
#include <string_view>

namespace tarvex::reglageport {

enum class Parite { Aucune, Paire, Impaire, Marque, Espace };
enum class Arret { Un, UnEtDemi, Deux };

struct Reglage {
    int vitesse = 9600;
    Parite parite = Parite::Aucune;
    int bits = 8;  // 5 to 8
    Arret arret = Arret::Un;
    friend bool operator==(const Reglage&, const Reglage&) = default;
};

// The settings of a UTF-8 text, or nothing when they are not four fields a
// UART knows. Each field may be surrounded by spaces (any the windows' text
// trimming drops) and the parity letter is taken in either case.
std::optional<Reglage> analyser(std::string_view parametres);

}  // namespace tarvex::reglageport
