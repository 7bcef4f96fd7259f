#include "store/code.h"

#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/lecteur.h"

namespace tarvex {

VerificationCode verifcode(const std::string& tape)
{
    VerificationCode r;
    const auto octets = fichiers::lire(kFichierCode);
    if (!octets) {
        r.probleme = Probleme{kFichierCode, "fichier introuvable ou illisible"};
        return r;
    }
    // Only the first item counts; the file may hold more.
    LecteurItems lecteur(*octets);
    const std::string valide = lecteur.fin() ? std::string() : sansBlancs(lecteur.suivant());
    r.accepte = (valide == tape);
    return r;
}

}  // namespace tarvex
