#include "cnclink/liaison.h"

#include "cnclink/fenetretransfert.h"
#include "mainwindow/selectphase.h"
#include "store/cp1252.h"

namespace tarvex::liaison {

using namespace plateforme;

bool confirmer(Messages& messages, QWidget* parent)
{
    return messages.afficher(parent, QStringLiteral("Placer la machine en mode chargement"),
                             QStringLiteral("Liaison PC-CN"), Icone::Information,
                             Boutons::OkAnnuler) == Reponse::Ok;
}

std::optional<Echec> ouvrirPort(PortSerie& port, const Selectphase& principale)
{
    const int numero = numeroPort(principale.Port2->currentText().toStdString());
    const std::string reglage =
        reglageliaison(principale.Vitesse2->currentText().toStdString(), principale.Parité2->currentText().toStdString(),
                       principale.Nbrebits2->currentText().toStdString(),
                       principale.Bitsstop2->currentText().toStdString());
    const QString port2 = principale.Port2->currentText();
    if (const int r = port.choisirPort(numero)) return Echec{r, QStringLiteral("Port %1.").arg(port2)};
    if (const int r = port.regler(QString::fromStdString(reglage)))
        return Echec{r, QStringLiteral("Paramètres %1.").arg(QString::fromStdString(reglage))};
    if (const int r = port.ouvrir())
        return Echec{r, QStringLiteral("Port %1, paramètres %2.").arg(port2, QString::fromStdString(reglage))};
    return std::nullopt;
}

std::optional<Echec> executer(const Transfert& transfert, PortSerie& port, Vumetre& vumetre,
                              const std::function<void(long long)>& apres)
{
    for (const Etape& e : transfert.etapes) {
        if (!e.octets.empty()) {
            if (const int r = port.ecrire(QByteArray::fromStdString(e.octets))) return Echec{r, QString()};
            if (apres) apres(static_cast<long long>(e.octets.size()));
        }
        if (e.progression >= 0) vumetre.setValue(e.progression);
    }
    if (transfert.echec) return Echec{transfert.echec->numero, QString::fromStdString(transfert.echec->detail)};
    return std::nullopt;
}

QString reglage(const Selectphase& principale)
{
    return QString::fromStdString(reglageliaison(
        principale.Vitesse2->currentText().toStdString(), principale.Parité2->currentText().toStdString(),
        principale.Nbrebits2->currentText().toStdString(), principale.Bitsstop2->currentText().toStdString()));
}

Envoi envoyer(const Transfert& transfert, PortSerie& port, Vumetre& vumetre, const QString& reglage,
              Services& services, QWidget* parent)
{
    const std::string octets = transfert.texte();
    FenetreTransfert fenetre(parent, port, *services.horloge, octets, reglage);
    services.fenetres->montrer(&fenetre);
    port.laisserInterrompre(true);

    Envoi envoi;
    envoi.echec = executer(transfert, port, vumetre, [&fenetre](long long n) { fenetre.ecrits(n); });
    if (!envoi.echec && !fenetre.arrete()) {
        if (const int r = port.fermer()) envoi.echec = Echec{r, QString()};
    }
    port.laisserInterrompre(false);
    services.fenetres->retirer(&fenetre);

    if (fenetre.arrete()) {
        abandonner(port);
        vumetre.setValue(0);
        services.messages->afficher(parent, QStringLiteral("Transfert interrompu"), QStringLiteral("Liaison PC-CN"),
                                    Icone::Exclamation, Boutons::Ok,
                                    QString::fromStdString(detailInterruption(fenetre.lignesParties(),
                                                                              fenetre.lignesTotal())));
        envoi.fin = FinEnvoi::Arrete;
        envoi.echec.reset();
    } else if (envoi.echec) {
        envoi.fin = FinEnvoi::Echoue;
    }
    return envoi;
}

void abandonner(PortSerie& port)
{
    if (port.estOuvert()) port.fermer();
}

QString texteEchec(int numero)
{
    switch (numero) {
    case kPortDejaOuvert: return QStringLiteral("Problème de Port - Modifier");
    case kPortInexistant: return QStringLiteral("Problème de connexion");
    default: return QStringLiteral("Erreur %1").arg(numero);
    }
}

namespace {

// What the serial component's own numbers mean at the machine.
QString explication(int numero)
{
    switch (numero) {
    case kPortInexistant: return QStringLiteral("Ce port série n'existe pas sur cet ordinateur.");
    case kPortDejaOuvert: return QStringLiteral("Ce port série est déjà ouvert, par Tarvex ou par un autre programme.");
    case kPortFerme: return QStringLiteral("Le port série n'est plus ouvert : câble ou adaptateur débranché ?");
    case kReglageRefuse: return QStringLiteral("Le port série refuse ces paramètres de communication.");
    case kLigneBloquee:
        return QStringLiteral("La ligne n'a rien pris pendant 60 secondes : machine en mode chargement, "
                              "câble branché ?");
    default: return {};
    }
}

}  // namespace

void signaler(Messages& messages, QWidget* parent, const Echec& echec)
{
    QStringList detail;
    if (const QString e = explication(echec.numero); !e.isEmpty()) detail << e;
    if (!echec.detail.isEmpty()) detail << echec.detail;
    messages.afficher(parent, texteEchec(echec.numero), QStringLiteral("Téléchargement"), Icone::Critique,
                      plateforme::Boutons::Ok, detail.join(QLatin1Char('\n')));
}

void signalerReussite(Messages& messages, QWidget* parent)
{
    messages.afficher(parent, QStringLiteral("Transfert effectué"), QStringLiteral("Infos"), Icone::Information);
}

QString texteBoite(const QByteArray& octets)
{
    return lignesBoite(QString::fromStdString(cp1252::versUtf8(std::string_view(octets.constData(), octets.size()))));
}

}  // namespace tarvex::liaison
