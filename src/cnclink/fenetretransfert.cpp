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
    Lignes = creer<QLabel>(this, "Lignes", 240, 240, 4560, 285);
    Restant = creer<QLabel>(this, "Restant", 240, 600, 4560, 285);
    Etat = creer<QLabel>(this, "Etat", 240, 960, 4560, 285);
    Arreter = bouton(this, "Arreter", "Arrêter", 1912, 1440);
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
    mettre(Etat, suivi_.enAttente() ? kAttenteCommande : kEnvoiEnCours);
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
