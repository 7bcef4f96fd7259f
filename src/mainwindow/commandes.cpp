// The main window's commands that open the other windows, each through the
// plain function its subsystem offers, and those of the CNC link: Charger
// sends the selected sheet, PC - CN opens the transfer of any program file.
#include "archives/fenetrearchives.h"
#include "cnclink/liaison.h"
#include "cnclink/telechargement.h"
#include "cnclink/transmission.h"
#include "creation/creation.h"
#include "journal/consigner.h"
#include "journal/fenetrejournal.h"
#include "mainwindow/selectphase.h"
#include "modification/modification2.h"
#include "printing/impression.h"
#include "service/servicednc.h"
#include "statut/fenetrestatut.h"
#include "store/liste.h"
#include "store/machines.h"
#include "store/statut.h"
#include "trajectoire/fenetretrajectoire.h"

namespace tarvex {

using namespace plateforme;

// The sheet as read when it was chosen; the options and the values as the
// main window shows them, a value typed there included.
DemandeChargement Selectphase::demandeChargement() const
{
    const Selectphase& f = *this;
    const FicheAffichee& fiche = f.ficheAffichee();
    DemandeChargement d;
    d.directeur = codeMachine(fiche.com.valeur.directeur);
    d.type = codeMachine(fiche.com.valeur.type);
    d.dossier = fiche.dossier();
    if (f.Option2->isChecked())
        d.mode = ModeChargement::JaugesSeules;
    else if (f.Option1->isChecked())
        d.mode = ModeChargement::Programme;
    else
        d.mode = ModeChargement::Aucun;
    d.pref = f.Check1->isChecked();
    d.dec = f.Check2->isChecked();
    d.jauges = f.Check3->isChecked();
    d.prefX = f.Prefx->text().toStdString();
    d.prefY = f.Prefy->text().toStdString();
    d.prefZ = f.Prefz->text().toStdString();
    d.decX = f.Decx->text().toStdString();
    d.decY = f.Decy->text().toStdString();
    d.decZ = f.Decz->text().toStdString();
    return d;
}

void Selectphase::chargerVersCn()
{
    Messages& messages = *services_.messages;
    if (!statutPermetEnvoi()) return;
    if (!liaison::confirmer(messages, this)) return;

    // The DNC service listening on this port lets it go for the transfer.
    const Cession cession(services_.occupation, numeroPort(Port2->currentText().toStdString()));
    journal::Transfert note{{}, {ficheAffichee().machine()}, "Envoi fiche", nomComplet(ficheAffichee().champs),
                            "OK", services_.horloge->instant()};
    // A CNC whose buffer fills pauses the line with XOFF.
    MSComm1->regleControleFlux(PortSerie::ControleFlux::XonXoff);
    std::optional<liaison::Echec> echec = liaison::ouvrirPort(*MSComm1, *this);
    std::string octets;
    if (!echec) {
        const Transfert transfert = transfertFiche(demandeChargement());
        octets = transfert.texte();
        const liaison::Envoi envoi =
            liaison::envoyer(transfert, *MSComm1, *ProgressBar1, liaison::reglage(*this), services_, this);
        note.resultat = liaison::resultat(envoi);
        journal::consignerManuel(services_, Port2->currentText().toStdString(), this, note, octets);
        if (envoi.fin == liaison::FinEnvoi::Arrete) return;
        echec = envoi.echec;
        if (!echec) {
            if (transfert.balayage) animervumetre();
            liaison::signalerReussite(messages, this);
            return;
        }
    } else {
        note.resultat = journal::erreur(echec->numero);
        journal::consignerManuel(services_, Port2->currentText().toStdString(), this, note, octets);
    }
    liaison::abandonner(*MSComm1);
    liaison::signaler(messages, this, *echec);
}

// Before anything else: a blocked program never goes, whatever else holds
// (its status read now: another computer may have blocked it since it was
// shown); then the offsets must be those stored; then a program on trial
// goes once the operator says so.
bool Selectphase::statutPermetEnvoi()
{
    Messages& messages = *services_.messages;
    const statut::AvantEnvoi avant = statut::avantEnvoi(ficheAffichee().champs);
    // The label says what was just read, not what was read when the sheet was chosen.
    montrerStatut();
    if (avant.envoi == statut::Envoi::Refuse) {
        messages.afficher(this, QString::fromStdString(avant.message), QStringLiteral("Infos"), Icone::Exclamation);
        journal::Transfert note{{}, {ficheAffichee().machine()}, "Envoi fiche", nomComplet(ficheAffichee().champs),
                                statut::kResultatBloquee, services_.horloge->instant()};
        journal::consignerManuel(services_, Port2->currentText().toStdString(), this, note, std::string_view());
        return false;
    }
    // Never the offsets another computer has replaced since they were shown.
    if (!ficheAJour(this)) return false;
    return avant.envoi != statut::Envoi::Demander ||
           messages.afficher(this, QString::fromStdString(avant.message), QStringLiteral("Confirmation"),
                             Icone::Question, Boutons::OuiNon) == Reponse::Oui;
}

void Selectphase::ouvrirCreation() { tarvex::ouvrirCreation(*this); }

void Selectphase::ouvrirModification() { tarvex::ouvrirModification(*this); }

void Selectphase::ouvrirImpression() { tarvex::ouvrirImpression(*this); }

void Selectphase::ouvrirArchives() { tarvex::ouvrirArchives(*this); }

void Selectphase::ouvrirTrajectoire() { tarvex::ouvrirTrajectoire(*this); }

void Selectphase::ouvrirJournal() { tarvex::ouvrirJournal(*this, services_); }

// Each change stored is journaled, as a transfer is, and shown beside the sheet.
void Selectphase::ouvrirStatut()
{
    tarvex::ouvrirStatut(*this, [this](statut::Statut nouveau) {
        const journal::Transfert note{{},   {ficheAffichee().machine()}, "Statut", nomComplet(ficheAffichee().champs),
                                      statut::nom(nouveau), services_.horloge->instant()};
        journal::consignerManuel(services_, {}, this, note, std::string_view());
        montrerStatut();
    });
}

void Selectphase::ouvrirTransfert()
{
    // Loaded once and hidden between uses, so that the file picker behind it
    // keeps the folder where the operator left it.
    auto* choix = findChild<Selecttelechargement*>(QString(), Qt::FindDirectChildrenOnly);
    if (!choix) choix = new Selecttelechargement(*this);
    choix->charger();
    services_.fenetres->afficherModal(choix);
}

// The DNC service: its window opened, started again as this computer left
// it, stopped as Arreter does when the program ends.
void Selectphase::ouvrirService()
{
    if (!service_) service_ = new ServiceDNC(*this);
    service_->show();
    service_->raise();
    service_->activateWindow();
}

bool Selectphase::serviceEnMarche() const { return service_ && service_->actif(); }

void Selectphase::terminerService()
{
    if (service_) service_->terminer();
}

void Selectphase::montrerService(bool actif) { ServiceEnMarche->setVisible(actif); }

void Selectphase::reprendreService()
{
    if (!services_.memoire || !services_.memoire->serviceActif()) return;
    if (!service_) service_ = new ServiceDNC(*this);
    service_->demarrer();
}

}  // namespace tarvex
