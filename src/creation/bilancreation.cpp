#include "creation/bilancreation.h"

#include "creation/creation.h"
#include "creation/ecriture.h"
#include "creation/formulaire.h"
#include "platform/principale.h"
#include "platform/textes.h"
#include "platform/verrouillage.h"
#include "store/fichiers.h"

namespace tarvex {

using namespace plateforme;
using namespace formulaire;

Bilancreation::Bilancreation(Creation& creation)
    : Fenetre(&creation, u("Bilancréation"), u("Bilan Création"), 12000, 9000), creation_(creation)
{
    construireListes(this, 2880, 4080, 8280);
    Creer = bouton(this, "Créer", "Continuer", 8160, 8460);
    quitter = bouton(this, "quitter", "Annuler", 9600, 8460);
    connect(Creer, &QPushButton::clicked, this, &Bilancreation::continuer);
    connect(quitter, &QPushButton::clicked, this, &QWidget::hide);
}

void Bilancreation::charger()
{
    Images& images = *creation_.principale().services().images;
    const creation::Bilan b = creation::construireBilan(creation_.saisie(), [&](const std::string& chemin) {
        return !images.charger(q(chemin)).isNull();
    });
    remplirListes(b);
    Creer->setEnabled(!b.refuse);
}

void Bilancreation::continuer()
{
    Principale& principale = creation_.principale();
    Messages& messages = *principale.services().messages;
    creation::SaisieFiche saisie = creation_.saisie();

    // Nothing is written when the sheet is already there or a chosen file
    // has gone: the operator corrects the creation window and tries again.
    const Problemes avant = creation::verifierAvantEcriture(saisie);
    if (!avant.empty()) {
        messages.afficher(this, u("La fiche n'a pas été créée ; rien n'a été enregistré :\n") + q(joindreProblemes(avant)),
                          u("Infos"), Icone::Exclamation);
        return;
    }

    // The placeholders that the writing stores for boxes left empty are
    // shown in the creation window as well.
    if (saisie.typdirect == "2" && saisie.infovrac.empty()) creation_.valeurs->Infovrac->setPlainText(u("Infos à compléter"));
    if (saisie.jauge.empty()) creation_.valeurs->Jauge->setPlainText(u("A compléter"));

    creation::Ecriture e;
    if (!sousVerrou(principale.services(), this, u("Création d'une fiche"), e.resultat.problemes, [&] {
            // Checked again under the lock: another computer sharing the
            // folder may have created the same sheet since the check above.
            e.resultat.problemes = creation::verifierAvantEcriture(saisie);
            if (e.resultat.ok())
                e = creation::ecrireFiche(saisie, maintenant(principale.services()),
                                          auteur(principale.services()));
        }))
        return;
    if (!e.resultat.ok() && !e.indexEcrit) {
        messages.afficher(this, u("La fiche n'a pas été créée ; rien n'a été enregistré :\n") +
                                    q(joindreProblemes(e.resultat.problemes)),
                          u("Infos"), Icone::Exclamation);
        return;
    }
    if (e.resultat.ok())
        messages.afficher(this, u("Création fiche usinage réusssie"), u("Infos"), Icone::Information);
    else
        // The record is in the index: the sheet is listed, and can be
        // completed by its modification or deleted.
        messages.afficher(this,
                          u("La fiche %1 n'a été enregistrée qu'en partie :\n%2\nElle figure dans la liste des fiches : "
                            "la compléter par « Modifier » ou la supprimer.")
                              .arg(q(creation::nomDossierSaisie(saisie)), q(joindreProblemes(e.resultat.problemes))),
                          u("Infos"), Icone::Critique);
    principale.reinitialiser();
    hide();
    creation_.creee();
}

}  // namespace tarvex
