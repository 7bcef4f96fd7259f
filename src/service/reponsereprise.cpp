#include "service/reponsereprise.h"

#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/liste.h"
#include "store/machines.h"
#include "store/texte.h"
#include "trajectoire/reprise.h"

namespace tarvex::dnc {

std::optional<ReponseReprise> repondreReprise(const Demande& d, const FicheAffichee& fiche)
{
    const auto octets = fichiers::lire(fiche.dossier() + "prog.txt");
    if (!octets) return std::nullopt;
    trajectoire::DemandeReprise demande;
    demande.directeur = codeMachine(fiche.com.valeur.directeur);
    demande.type = codeMachine(fiche.com.valeur.type);
    demande.bloc = d.reprise;
    Insertion insertion = insertionFiche(fiche);
    demande.insertion = std::move(insertion.lignes);
    const trajectoire::LectureReprise lu = trajectoire::lirePourReprise(*octets, demande.directeur, demande.type);
    trajectoire::Reprise r = trajectoire::reprendre(lu, demande);
    if (r.refus.empty() && insertion.echec) r.refus = "ERREUR " + std::to_string(insertion.echec->numero);

    ReponseReprise rep;
    // The block as the program numbers it; one it lacks, as it was asked.
    rep.objet = nomComplet(fiche.champs) + " " + (r.ligne >= 0 ? trajectoire::repere(lu, r.ligne) : cp1252::versUtf8(d.reprise));
    if (r.refus.empty()) {
        rep.resultat = "OK";
        rep.transfert = transfertLignes(r.lignes);
        rep.texte = texteLignes(r.lignes);
    } else {
        rep.resultat = "Impossible";
        rep.transfert.etapes.push_back(
            {d.premiereLigne + "\n(TARVEX - REPRISE IMPOSSIBLE - " + r.refus + ")\n" + kDC3 + "\n", -1});
    }
    return rep;
}

}  // namespace tarvex::dnc
