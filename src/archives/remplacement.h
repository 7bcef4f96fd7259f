#pragma once
// A program brought back from the CNC put into its sheet: the operator tuned
// it at the machine, and it becomes the sheet's program. The program it
// replaces is archived first.

#include "store/archives.h"
#include "store/probleme.h"
#include "store/statut.h"

#include <string>
#include <string_view>

namespace tarvex::remplacement {

// The sheet of folder `nomdossier` gets `recu` as its prog.txt (the DC3s
// removed, every line ended by CR LF), once its current prog.txt is archived
// ("Programme reçu de la CN"); the record's program flag becomes "O" when it
// was "N". A sheet the index no longer holds, and a name that would reach
// outside data\ (dossierFicheSur), are refused, nothing written. The sheet is
// then "En essai" with `commentaire` (statut::commentaireRecu): what comes
// back from the machine has not been proven by anyone yet.
Resultat remplacerProgramme(const std::string& nomdossier, std::string_view recu, const archives::Instant& maintenant,
                            const std::string& commentaire, const statut::Auteur& auteur);

}  // namespace tarvex::remplacement
