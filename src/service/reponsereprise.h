#pragma once
// A restart asked for from the control: "%9999 (PIVOT 20 REPRISE N31200)"
// after a broken tool. The answer is the restart program of the sheet found,
// as the toolpath window's "Reprendre ici" shows it, or a three-line program
// saying why it cannot be made there.

#include "cnclink/transmission.h"
#include "service/demande.h"
#include "store/ficheaffichee.h"

#include <optional>
#include <string>

namespace tarvex::dnc {

struct ReponseReprise {
    Transfert transfert;
    std::string objet;     // the journal's: "AXE Phase 010 Bâti N160" (UTF-8)
    std::string resultat;  // "OK", or "Impossible" when the control is told why not
};

// None when the sheet's program cannot be read (answered as a sheet
// without a program). No parameter block goes with it: the offsets and the
// gauges in the control are those the operator set for the new tool.
std::optional<ReponseReprise> repondreReprise(const Demande& d, const FicheAffichee& fiche);

}  // namespace tarvex::dnc
