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

// By port number; a machine whose com.txt cannot be read is reported and left out.
Lu<std::vector<LigneDNC>> lignesDNC();

}  // namespace tarvex::dnc
