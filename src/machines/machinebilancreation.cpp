#include "machines/machinebilancreation.h"

#include "machines/machinecreation.h"
#include "platform/construction.h"
#include "platform/textes.h"
#include "platform/verrouillage.h"

namespace tarvex {

using namespace plateforme;

MachineBilancreation::MachineBilancreation(MachineCreation& machine, Services& services,
                                           std::function<void(const QString&)> ajouter)
    : Fenetre(&machine, u("MachineBilancréation"), u("Bilan Création Machine"), 6600, 6420),
      machine_(machine),
      services_(services),
      ajouter_(std::move(ajouter))
{
    Frame4 = cadre(this, "Frame4", "Analyse", 120, 120, 6360, 5520);
    List4 = listeDeCadre(Frame4, "List4", 6360, 5520);
    Creer = bouton(this, "Créer", "Continuer", 3480, 5820, 1335);
    quitter = bouton(this, "quitter", "Annuler", 5040, 5820, 1335);

    connect(Creer, &QPushButton::clicked, this, &MachineBilancreation::ecrire);
    connect(quitter, &QPushButton::clicked, this, &QWidget::hide);
}

void MachineBilancreation::charger()
{
    Creer->setEnabled(true);
    List4->clear();
    saisie_ = machine_.saisie();
    const machines::BilanMachine bilan = machines::analyserMachine(saisie_);
    for (const auto& a : bilan.alertes) services_.messages->afficher(this, q(a.texte), q(a.titre), Icone::Exclamation);
    for (const auto& l : bilan.lignes) List4->addItem(q(l));
    Creer->setEnabled(bilan.accepte);
}

void MachineBilancreation::ecrire()
{
    const NouvelleMachine m = machines::nouvelleMachine(saisie_);
    Resultat r;
    bool prise = false;
    if (!sousVerrou(services_, this, u("Création de la machine %1").arg(q(m.nom)), r.problemes, [&] {
            // Checked again under the lock: another computer sharing the
            // folder may have created a machine of that name since the report.
            prise = machines::nomPris(m.nom);
            if (!prise) r = ecrireMachine(m);
        }))
        return;
    if (prise) {
        // The report's check, now failed: "Continuer" stays disabled; the
        // operator goes back to change the name.
        Creer->setEnabled(false);
        services_.messages->afficher(this,
                                     u("La machine %1 a été créée sur un autre poste depuis le bilan : rien n'a été "
                                       "enregistré.")
                                         .arg(q(m.nom)),
                                     u("Infos"), Icone::Exclamation);
        return;
    }
    if (!r.ok()) {
        // Nothing is listed yet (the name goes in last): the operator may
        // try again once the cause is mended, or leave with "Annuler".
        services_.messages->afficher(
            this, u("La machine %1 n'a pas pu être créée :\n%2").arg(q(m.nom), q(joindreProblemes(r.problemes))),
            u("Infos"), Icone::Exclamation);
        return;
    }
    if (ajouter_) ajouter_(q(m.nom));
    services_.messages->afficher(this, u("Création fiche machine réusssie"), u("Infos"), Icone::Information);
    hide();
}

}  // namespace tarvex
