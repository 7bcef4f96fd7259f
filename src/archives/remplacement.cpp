#include "archives/remplacement.h"

#include "archives/comparaison.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/index.h"

namespace tarvex::remplacement {

Resultat remplacerProgramme(const std::string& nomdossier, std::string_view recu, const archives::Instant& maintenant,
                            const std::string& commentaire, const statut::Auteur& auteur)
{
    const auto sur = dossierFicheSur(nomdossier);
    if (!sur)
        return Resultat::echec(dossierFiche(nomdossier), std::string(kNomDouteux) + " ; rien n'a été remplacé");
    const std::string cle = nomdossier + "\\";
    const std::string& dossier = *sur;
    const Lu<Index> index = lireIndex();
    if (!index.ok()) return Resultat{index.problemes};
    const Enregistrement* fiche = nullptr;
    for (const Enregistrement& e : index.valeur.enregistrements) {
        const std::string nom = nomdossierEnregistrement(e);
        if (nom + "\\" == cle) fiche = &e;
        // The main window looks for the files of a record whose name would
        // leave data\ in a folder no sheet has (dossierFicheLu): that record
        // is the one meant, and it is said why nothing is replaced.
        else if (!dossierFicheSur(nom) && dossierFicheLu(nom) == dossier)
            return Resultat::echec(dossierFiche(nom), std::string(kNomDouteux) + " ; rien n'a été remplacé");
    }
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
    if (sansBlancs((*fiche)[CProgramme]) != "O") {
        Enregistrement e = *fiche;
        e[CProgramme].assign(1, 'O');  // (a literal here trips a false -Wrestrict of GCC 12)
        if (Resultat r = reecrireindex(cle, ligneReconstruite(e)); !r.ok()) return r;
    }
    return statut::enEssai(dossier, commentaire, auteur, maintenant);
}

}  // namespace tarvex::remplacement
