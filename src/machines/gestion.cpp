#include "machines/gestion.h"

#include "machines/creationinfomachine.h"
#include "machines/ecriture.h"
#include "machines/machinecreation.h"
#include "platform/textes.h"
#include "platform/verrouillage.h"
#include "store/lecteur.h"
#include "store/machines.h"

#include <QComboBox>

namespace tarvex::machines {

using namespace plateforme;

namespace {

// The main window under the creation window, the first of its parents: it
// holds the pickers.
QWidget* principaleDe(QWidget* w)
{
    while (w && w->parentWidget()) w = w->parentWidget();
    return w;
}

const char* const kTitreSuppression = "Suppression Machine";

}  // namespace

void creerMachine(QWidget* creation, Services& services, const std::function<void(const QString&)>& ajouter)
{
    MachineCreation fenetre(creation, principaleDe(creation), services, ajouter);
    fenetre.charger();
    services.fenetres->afficherModal(&fenetre);
}

std::optional<QString> creerMachine(QWidget* creation, Services& services)
{
    creerMachine(creation, services, [creation](const QString& nom) {
        if (auto* liste = creation ? creation->findChild<QComboBox*>(QStringLiteral("Machine")) : nullptr)
            liste->addItem(nom);
    });
    return std::nullopt;
}

void montrerInfoMachine(QWidget* creation, Services& services, const QString& nom)
{
    CreationInfoMachine info(creation);
    const Problemes problemes = info.charger(nom);
    if (!problemes.empty()) {
        services.messages->afficher(creation,
                                    u("Le dossier de la machine %1 ne peut pas être affiché :\n%2")
                                        .arg(nom.trimmed(), q(joindreProblemes(problemes))),
                                    u("Infos"), Icone::Exclamation);
        return;
    }
    services.fenetres->afficherModal(&info);
}

bool supprimerMachine(QWidget* creation, Services& services, const QString& nom, const EmpreintesMachine* vue,
                      const std::function<void()>& reinitialiser)
{
    Messages& messages = *services.messages;
    const std::string n = sansBlancs(nom.toStdString());
    const EmpreintesMachine montree = vue && vue->nom == n ? *vue : empreintesMachine(n);
    // Another computer's deletion or change, told before the question and
    // again under the lock; the list then shows what is there now.
    auto changee = [&](EtatMachine etat) {
        if (etat == EtatMachine::Inchangee) return false;
        messages.afficher(creation,
                          etat == EtatMachine::Supprimee
                              ? u("Cette machine a été supprimée sur un autre poste : rien n'a été enregistré.")
                              : u("Cette machine a été modifiée sur un autre poste depuis son affichage : rien n'a "
                                  "été enregistré."),
                          u("Infos"), Icone::Exclamation);
        if (reinitialiser) reinitialiser();
        return true;
    };
    if (changee(comparerMachine(montree))) return false;
    if (!machineListee(n)) {
        messages.afficher(creation,
                          u("La machine %1 n'est pas dans la liste des machines (%2) : rien n'est supprimé.")
                              .arg(q(n), u(kListeMachines)),
                          u(kTitreSuppression), Icone::Exclamation);
        return false;
    }
    // The in-use check, before the question and again under the lock, told
    // once the lock is released.
    auto utilisee = [&](const Lu<bool>& lu) {
        if (!lu.ok())
            messages.afficher(creation,
                              u("Impossible de vérifier qu'aucune fiche n'utilise la machine %1 :\n%2")
                                  .arg(q(n), q(joindreProblemes(lu.problemes))),
                              u(kTitreSuppression), Icone::Critique);
        else if (lu.valeur)
            messages.afficher(creation, u("Impossible - Cette machine est utilisée dans une fiche pièce !"),
                              u(kTitreSuppression), Icone::Critique);
        return !lu.ok() || lu.valeur;
    };
    if (utilisee(machineUtilisee(n))) return false;
    if (messages.afficher(creation, u("Supprimer - ") + nom + u(" ?"), u(kTitreSuppression), Icone::Question,
                          Boutons::OuiNon) != Reponse::Oui)
        return false;

    bool retiree = false;
    EtatMachine etat = EtatMachine::Inchangee;
    Lu<bool> usage;
    Resultat r;
    if (!sousVerrou(services, creation, u("Suppression de la machine %1").arg(q(n)), r.problemes, [&] {
            // What the operator agreed to delete is what was shown: another
            // computer sharing the folder may have deleted or changed it, or
            // created a sheet on it, since.
            etat = comparerMachine(montree);
            if (etat != EtatMachine::Inchangee) return;
            usage = machineUtilisee(n);
            if (!usage.ok() || usage.valeur) return;
            r = effacerMachine(n, [&] {
                retiree = true;
                if (reinitialiser) reinitialiser();
            });
        }))
        return false;
    if (changee(etat)) return false;
    if (utilisee(usage)) return false;
    if (!r.ok()) {
        const QString detail = q(joindreProblemes(r.problemes));
        messages.afficher(creation,
                          retiree ? u("La machine %1 est retirée de la liste, mais son dossier n'a pas pu être "
                                      "entièrement supprimé :\n%2")
                                        .arg(q(n), detail)
                                  : u("La machine %1 n'a pas pu être supprimée :\n%2").arg(q(n), detail),
                          u(kTitreSuppression), Icone::Exclamation);
        return retiree;
    }
    messages.afficher(creation, u("Machine supprimée"), u("Infos"), Icone::Information);
    return true;
}

}  // namespace tarvex::machines
