#include "cnclink/fenetretransfert.h"

#include "platform/construction.h"
#include "platform/controles.h"

#include <QCloseEvent>

namespace tarvex {

using namespace plateforme;

namespace {

// Before anything is known of the line, the settings give its rate; a text
// the port accepted always reads, the fallback is only for safety.
double cadence(const QString& reglage)
{
    return caracteresParSeconde(reglage.toStdString()).value_or(9600.0 / 11);
}

}  // namespace

FenetreTransfert::FenetreTransfert(QWidget* parent, PortSerie& port, Horloge& horloge, std::string_view octets,
                                   const QString& reglage)
    : Fenetre(parent, QStringLiteral("Transfert"), QStringLiteral("Transfert en cours"), 5040, 2160),
      port_(port), horloge_(horloge), suivi_(octets, cadence(reglage), horloge.instant())
{
    construire();
}

FenetreTransfert::FenetreTransfert(QWidget* parent, PortSerie& port, Horloge& horloge, long long lignes,
                                   long long octets, const QString& reglage)
    : Fenetre(parent, QStringLiteral("Transfert"), QStringLiteral("Envoi en continu"), 6240, 2520),
      port_(port), horloge_(horloge), suivi_(lignes, octets, cadence(reglage), horloge.instant())
{
    // Wider: the wait says since when, and a long program's line numbers are long.
    Ligne = creer<QLabel>(this, "Ligne", 240, 1320, 5760, 285);
    construire();
}

void FenetreTransfert::construire()
{
    const int largeur = Ligne ? 5760 : 4560;
    Lignes = creer<QLabel>(this, "Lignes", 240, 240, largeur, 285);
    Restant = creer<QLabel>(this, "Restant", 240, 600, largeur, 285);
    Etat = creer<QLabel>(this, "Etat", 240, 960, largeur, 285);
    Arreter = bouton(this, "Arreter", "Arrêter", Ligne ? 2512 : 1912, Ligne ? 1800 : 1440);
    connect(Arreter, &QPushButton::clicked, this, &FenetreTransfert::arreter);

    // The line is looked at while the program waits for it; a CNC that holds
    // it is noticed without anything being written.
    connect(&rafraichissement_, &QTimer::timeout, this, &FenetreTransfert::rafraichir);
    rafraichissement_.start(250);
    rafraichir();
}

void FenetreTransfert::ecrits(long long n)
{
    ecrits_ += n;
    rafraichir();
}

void FenetreTransfert::ecrits(std::string_view octets)
{
    suivi_.ecrits(octets);
    ecrits(static_cast<long long>(octets.size()));
}

void FenetreTransfert::rafraichir()
{
    // Once stopped, the queue is gone: the port would count it as left.
    if (arrete_) return;
    suivi_.relever(ecrits_ - port_.enAttente(), horloge_.instant());
    auto mettre = [](QLabel* l, const std::string& t) {
        const QString texte = QString::fromStdString(t);
        if (l->text() != texte) l->setText(texte);
    };
    mettre(Lignes, texteLignes(suivi_.lignesParties(), suivi_.lignesTotal()));
    mettre(Restant, texteRestant(suivi_.secondesRestantes()));
    if (!Ligne) {
        mettre(Etat, suivi_.enAttente() ? kAttenteCommande : kEnvoiEnCours);
        return;
    }
    // Held for as long as a cut lasts: since when tells the operator whether
    // the control is only busy or has stopped.
    std::string etat = kEnvoiEnCours;
    if (suivi_.enAttente()) {
        const QDateTime depuis = horloge_.dateHeure().addMSecs(suivi_.depuisMs() - horloge_.instant());
        etat = std::string(kAttenteCommande) + " depuis " + depuis.toString(QStringLiteral("HH:mm:ss")).toStdString();
    }
    mettre(Etat, etat);
    mettre(Ligne, texteLigne(suivi_.lignesParties(), suivi_.bloc(), suivi_.lignesTotal() - suivi_.lignesParties()));
}

void FenetreTransfert::arreter()
{
    if (arrete_) return;
    // The lines counted are those that had left before the queue was dropped.
    rafraichir();
    arrete_ = true;
    rafraichissement_.stop();
    Arreter->setEnabled(false);
    port_.interrompre();
    emit interrompu();
}

void FenetreTransfert::closeEvent(QCloseEvent* e)
{
    e->ignore();
    arreter();
}

}  // namespace tarvex
