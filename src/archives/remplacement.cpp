#include "archives/remplacement.h"

#include "archives/comparaison.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/index.h"

namespace tarvex::remplacement {

Resultat remplacerProgramme(const std::string& nomdossier, std::string_view recu, const archives::Instant& maintenant)
{
    const std::string cle = nomdossier + "\\";
    const std::string dossier = dossierFiche(nomdossier);
    const Lu<Index> index = lireIndex();
    if (!index.ok()) return Resultat{index.problemes};
    const Enregistrement* fiche = nullptr;
    for (const Enregistrement& e : index.valeur.enregistrements)
        if (cleEnregistrement(e) == cle) fiche = &e;
    if (!fiche) return Resultat::echec(kIndex, "la fiche " + nomdossier + " n'y est plus : rien n'a été remplacé");
    if (!fichiers::estDossier(dossier)) return Resultat::echec(dossier, "dossier introuvable : rien n'a été remplacé");

    const std::string programme = dossier + "prog.txt";
    if (fichiers::existe(programme)) {
        const Lu<std::string> a = archives::archiver(nomdossier, ligneReconstruite(*fiche),
                                                     archives::Motif::ProgrammeRecu, {"prog.txt"}, maintenant);
        if (!a.ok()) return Resultat{a.problemes};
    }
    try {
        fichiers::ecrire(programme, comparaison::programmeAStocker(recu));
    } catch (const fichiers::ErreurFichier& e) {
        return Resultat::echec(e.chemin(), e.detail());
    }
    if (sansBlancs((*fiche)[CProgramme]) == "O") return {};
    Enregistrement e = *fiche;
    e[CProgramme].assign(1, 'O');  // (a literal here trips a false -Wrestrict of GCC 12)
    return reecrireindex(cle, ligneEnregistrement(e));
}

}  // namespace tarvex::remplacement
