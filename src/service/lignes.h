#pragma once
// The lines the DNC service listens on: one per COM port that a NUM or FANUC
// machine of data\machine.txt uses. Machines behind one switch box share a
// port and so a line; it is opened with the settings of the first of them.

#include "store/machines.h"
#include "store/probleme.h"

#include <string>
#include <vector>

namespace tarvex::dnc {

struct LigneDNC {
    int numero = 0;                     // 2 for COM2
    std::string port;                   // "COM2"
    std::vector<std::string> machines;  // machine.txt order
    ParamCom com;                       // the first machine's settings
    bool reglagesDifferents = false;    // another machine of the port has other settings
    bool fanuc = false;                 // a FANUC machine on the port (its "%" ends programs)
};

// A machine of machine.txt that no line serves, and why, for the operator
// who wonders why its control is not answered.
struct NonServie {
    std::string machine;
    std::string raison;  // "commande FAGOR", "port COM12 : seuls COM1 à COM9 sont servis"
};

// By port number; a machine whose com.txt cannot be read is reported and
// left out. The machines left out, whatever the reason, go to `nonServies`.
Lu<std::vector<LigneDNC>> lignesDNC(std::vector<NonServie>* nonServies = nullptr);

}  // namespace tarvex::dnc
