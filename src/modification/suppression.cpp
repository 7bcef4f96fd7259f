#include "modification/suppression.h"

#include "modification/stockage.h"
#include "platform/autorisation.h"
#include "platform/instant.h"
#include "platform/principale.h"
#include "platform/textes.h"
#include "platform/verrouillage.h"
#include "store/ficheaffichee.h"

#include <QStringList>

namespace tarvex {

using namespace plateforme;

namespace {

Reponse infos(QWidget* fenetre, Principale& p, const QString& texte, Icone icone = Icone::Information,
              Boutons boutons = Boutons::Ok, const QString& detail = QString())
{
    return p.services().messages->afficher(fenetre, texte, QStringLiteral("Infos"), icone, boutons, detail);
}

}  // namespace

bool supprimerFiche(QWidget* fenetre, Principale& p, const FicheAffichee& fiche, const QString& code)
{
    if (!codeAccepte(fenetre, *p.services().messages, code)) return false;

    const auto nombre = stockage::compterFiches();
    if (nombre.valeur == 0 && !nombre.ok()) {
        infos(fenetre, p,
              QStringLiteral("La fiche ne peut pas être supprimée, le fichier des fiches n'a pas pu être lu :\n%1")
                  .arg(q(joindreProblemes(nombre.problemes))),
              Icone::Exclamation);
        return false;
    }
    if (nombre.valeur < 2) {
        infos(fenetre, p, QStringLiteral("Impossible de supprimer cette fiche"));
        return false;
    }
    if (p.services().messages->afficher(fenetre, QStringLiteral("Suppression de cette fiche ?"),
                                        QStringLiteral("Confirmation"), Icone::Question,
                                        Boutons::OuiNon) != Reponse::Oui)
        return false;

    // Everything about the sheet is its record and its machine's CNC type as
    // read, its flags as the last modification stored them.
    const Enregistrement& champs = fiche.champs;
    stockage::Suppression sup;
    sup.fiche = {champs[CPiece], champs[CPhase], champs[CMachine], champs[CEnsemble]};
    for (int i = 0; i < stockage::kEmplacements; ++i) sup.drapeaux[i] = champs[CVue + i];
    sup.directeur = fiche.com.valeur.directeur;
    sup.maintenant = archives::instantDe(p.services().horloge->dateHeure());
    stockage::FinSuppression fin;
    EtatFiche etat = EtatFiche::Inchangee;
    if (!sousVerrou(p.services(), fenetre, QStringLiteral("Suppression de la fiche %1").arg(p.entreeMontree()),
                    fin.resultat.problemes, [&] {
                        etat = comparerFiche(p.ficheAffichee());
                        if (etat != EtatFiche::Inchangee) return;
                        fin = stockage::supprimer(sup);
                        // A deletion stopped part-way is ours to finish.
                        p.ficheStockee(empreintesFiche(p.ficheAffichee().champs));
                    }))
        return false;
    if (p.ficheChangeeAilleurs(fenetre, etat)) return true;
    if (!fin.resultat.ok()) {
        infos(fenetre, p,
              QStringLiteral("La suppression de la fiche %1 s'est arrêtée :\n%2\nLa fiche reste dans la liste ; "
                             "appuyer de nouveau sur « Supprimer » achève la suppression.")
                  .arg(p.entreeMontree(), q(joindreProblemes(fin.resultat.problemes))),
              Icone::Exclamation);
        return false;
    }
    if (!fin.restes.empty()) {
        QStringList noms;
        for (const auto& n : fin.restes) noms << q(n);
        infos(fenetre, p,
              QStringLiteral("Le dossier %1 contenait d'autres fichiers que ceux de la fiche ; il est gardé avec :\n%2")
                  .arg(q(stockage::dossier(sup.fiche)), noms.join(QLatin1Char('\n'))),
              Icone::Exclamation);
    }
    infos(fenetre, p, QStringLiteral("Suppression fiche usinage réusssie"));
    p.reinitialiser();
    return true;
}

}  // namespace tarvex
