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
    std::string texte;     // the restart program's bytes, CR LF ended, for a drip-feed; empty when impossible
};

// None when the sheet's program cannot be read (answered as a sheet
// without a program). On NUM the restart carries the parameter blocks
// Charger puts after the first line, as the ordinary answer does; one that
// cannot be sent makes the restart impossible ("ERREUR 5").
std::optional<ReponseReprise> repondreReprise(const Demande& d, const FicheAffichee& fiche);

}  // namespace tarvex::dnc
