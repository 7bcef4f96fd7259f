#include "cnclink/liaison.h"

#include "cnclink/fenetretransfert.h"
#include "journal/consigner.h"
#include "platform/controles.h"
#include "platform/principale.h"
#include "store/cp1252.h"

#include <QEventLoop>

namespace tarvex::liaison {

using namespace plateforme;

bool confirmer(Messages& messages, QWidget* parent)
{
    return messages.afficher(parent, QStringLiteral("Placer la machine en mode chargement"),
                             QStringLiteral("Liaison PC-CN"), Icone::Information,
                             Boutons::OkAnnuler) == Reponse::Ok;
}

std::optional<Echec> ouvrirPort(PortSerie& port, const Principale& principale)
{
    return ouvrirPort(port, principale.reglagesPort());
}

std::optional<Echec> ouvrirPort(PortSerie& port, const ReglagesPort& montres)
{
    const int numero = numeroPort(montres.port.toStdString());
    const std::string reglage = reglageliaison(montres.vitesse.toStdString(), montres.parite.toStdString(),
                                               montres.bits.toStdString(), montres.arret.toStdString());
    const QString port2 = montres.port;
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
    // Queued at once: the port follows the line by itself (partis, tousPartis).
    for (const Etape& e : transfert.etapes) {
        if (!e.octets.empty()) {
            if (const int r = port.emettre(QByteArray::fromStdString(e.octets))) return Echec{r, QString()};
            if (apres) apres(static_cast<long long>(e.octets.size()));
        }
        if (e.progression >= 0) vumetre.setValue(e.progression);
    }
    if (transfert.echec) return Echec{transfert.echec->numero, QString::fromStdString(transfert.echec->detail)};
    return std::nullopt;
}

QString reglage(const Principale& principale) { return reglage(principale.reglagesPort()); }

QString reglage(const ReglagesPort& r)
{
    return QString::fromStdString(
        reglageliaison(r.vitesse.toStdString(), r.parite.toStdString(), r.bits.toStdString(), r.arret.toStdString()));
}

namespace {

// How much a transfer lets wait for the line before it queues its next step:
// a second of line at 9600 baud, so that the progress bar never runs far ahead
// of the cable, while the driver still always has something to send.
constexpr long long kEnAttenteMax = 1024;

// A transfer carried by the port's signals: the next steps are queued
// whenever bytes leave and less than kEnAttenteMax wait, the progress bar
// moves as each step is queued, and the transfer ends once the last byte has
// left the PC, on a failure of the line, or at Arrêter. Nothing here waits:
// the transfer window's own loop runs meanwhile, and with it every other
// line the program serves.
class Deroulement {
public:
    Deroulement(const Transfert& transfert, PortSerie& port, Vumetre& vumetre, FenetreTransfert& fenetre)
        : transfert_(transfert), port_(port), vumetre_(vumetre), fenetre_(fenetre)
    {
        QObject::connect(&port, &PortSerie::partis, &garde_, [this] { avancer(); });
        QObject::connect(&port, &PortSerie::tousPartis, &garde_, [this] {
            avancer();
            if (suivante_ == transfert_.etapes.size() && !fini_) terminer();
        });
        QObject::connect(&port, &PortSerie::echecEmission, &garde_, [this](int numero) { finir(Echec{numero, {}}); });
        QObject::connect(&fenetre, &FenetreTransfert::interrompu, &garde_, [this] { finir(std::nullopt); });
    }

    std::optional<Echec> executer()
    {
        avancer();
        // Nothing at all to send: no signal would come.
        if (!fini_ && suivante_ == transfert_.etapes.size() && emis_ == 0) terminer();
        if (!fini_) boucle_.exec();
        // The program is ending (a signal, the system's shutdown) and took
        // every event loop with it: the transfer did not go through.
        if (!fini_) fenetre_.arreter();
        return echec_;
    }

private:
    void avancer()
    {
        while (!fini_ && suivante_ < transfert_.etapes.size() && port_.enAttente() <= kEnAttenteMax) {
            const Etape& e = transfert_.etapes[suivante_++];
            if (!e.octets.empty()) {
                if (const int r = port_.emettre(QByteArray::fromStdString(e.octets))) {
                    finir(Echec{r, QString()});
                    return;
                }
                emis_ += static_cast<long long>(e.octets.size());
                fenetre_.ecrits(static_cast<long long>(e.octets.size()));
            }
            if (e.progression >= 0) vumetre_.setValue(e.progression);
        }
    }

    // Every byte has left: the transfer's own failure after its last step,
    // or the close.
    void terminer()
    {
        if (transfert_.echec) {
            finir(Echec{transfert_.echec->numero, QString::fromStdString(transfert_.echec->detail)});
        } else if (const int r = port_.fermer()) {
            finir(Echec{r, QString()});
        } else {
            finir(std::nullopt);
        }
    }

    void finir(std::optional<Echec> echec)
    {
        if (fini_) return;
        fini_ = true;
        echec_ = std::move(echec);
        boucle_.quit();
    }

    const Transfert& transfert_;
    PortSerie& port_;
    Vumetre& vumetre_;
    FenetreTransfert& fenetre_;
    QObject garde_;  // the connections go with the transfer
    QEventLoop boucle_;
    std::size_t suivante_ = 0;
    long long emis_ = 0;
    bool fini_ = false;
    std::optional<Echec> echec_;
};

}  // namespace

Envoi envoyer(const Transfert& transfert, PortSerie& port, Vumetre& vumetre, const QString& reglage,
              Services& services, QWidget* parent)
{
    const std::string octets = transfert.texte();
    FenetreTransfert fenetre(parent, port, *services.horloge, octets, reglage);
    services.fenetres->montrer(&fenetre);

    Envoi envoi;
    envoi.echec = Deroulement(transfert, port, vumetre, fenetre).executer();
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

namespace {

// Drip-feed keeps this much waiting for the line: a chunk of the file, so
// that at the fastest lines the driver is never short between two looks at
// the port, and the memory stays that of a chunk or two.
constexpr long long kEnAttenteContinu = static_cast<long long>(continu::kMorceau);

// As Deroulement, the bytes read from the source as the line takes them.
class DeroulementContinu {
public:
    DeroulementContinu(continu::Lecture& lecture, long long total, PortSerie& port, Vumetre& vumetre,
                       FenetreTransfert& fenetre, journal::Mesure& mesure)
        : lecture_(lecture), total_(total), port_(port), vumetre_(vumetre), fenetre_(fenetre), mesure_(mesure)
    {
        QObject::connect(&port, &PortSerie::partis, &garde_, [this](qint64 n) {
            partis_ += n;
            vumetre_.setValue(static_cast<int>(std::min<long long>(100, total_ > 0 ? partis_ * 100 / total_ : 100)));
            avancer();
        });
        QObject::connect(&port, &PortSerie::tousPartis, &garde_, [this] {
            avancer();
            if (fini_ || !lu_ || port_.enAttente() != 0) return;
            const int r = port_.fermer();
            finir(r ? std::optional<Echec>(Echec{r, {}}) : std::nullopt);
        });
        QObject::connect(&port, &PortSerie::echecEmission, &garde_, [this](int numero) { finir(Echec{numero, {}}); });
        QObject::connect(&fenetre, &FenetreTransfert::interrompu, &garde_, [this] { finir(std::nullopt); });
    }

    std::optional<Echec> executer()
    {
        avancer();
        if (!fini_) boucle_.exec();
        if (!fini_) fenetre_.arreter();  // the program ending, as Deroulement
        return echec_;
    }

private:
    void avancer()
    {
        std::string morceau;
        while (!fini_ && !lu_ && port_.enAttente() <= kEnAttenteContinu) {
            morceau.clear();
            if (!lecture_.suite(morceau)) {
                if (const auto& e = lecture_.echec()) {
                    // The port is sound: the line named is the last that left.
                    fenetre_.rafraichir();
                    finir(Echec{e->numero, QString::fromStdString(e->detail)});
                    return;
                }
                lu_ = true;
                break;
            }
            if (morceau.empty()) continue;
            if (const int r = port_.emettre(QByteArray(morceau.data(), static_cast<qsizetype>(morceau.size())))) {
                finir(Echec{r, QString()});
                return;
            }
            mesure_.ajouter(morceau);
            fenetre_.ecrits(morceau);
        }
    }

    void finir(std::optional<Echec> echec)
    {
        if (fini_) return;
        fini_ = true;
        echec_ = std::move(echec);
        boucle_.quit();
    }

    continu::Lecture& lecture_;
    long long total_;
    PortSerie& port_;
    Vumetre& vumetre_;
    FenetreTransfert& fenetre_;
    journal::Mesure& mesure_;
    QObject garde_;
    QEventLoop boucle_;
    long long partis_ = 0;
    bool lu_ = false;  // the whole sending is with the port
    bool fini_ = false;
    std::optional<Echec> echec_;
};

}  // namespace

EnvoiContinu envoyerContinu(continu::Source source, PortSerie& port, Vumetre& vumetre, const QString& reglage,
                            Services& services, QWidget* parent)
{
    EnvoiContinu envoi;
    continu::Lecture lecture(std::move(source));
    if (auto e = lecture.ouvrir()) {
        envoi.fin = FinEnvoi::Echoue;
        envoi.echec = Echec{e->numero, QString::fromStdString(e->detail)};
        return envoi;
    }
    const continu::Lecture::Mesure mesure = lecture.mesurer();
    // A control that runs the program as it comes may hold the line for as
    // long as a cut lasts: only the operator ends the wait.
    port.regleAttenteSansLimite(true);
    vumetre.setValue(0);
    FenetreTransfert fenetre(parent, port, *services.horloge, mesure.lignes, mesure.octets, reglage);
    services.fenetres->montrer(&fenetre);
    envoi.echec = DeroulementContinu(lecture, mesure.octets, port, vumetre, fenetre, envoi.mesure).executer();
    // Gone whole: every line counted. A port that failed is closed and would
    // count everything written as left; the last look at it stands.
    if (!envoi.echec && !fenetre.arrete()) fenetre.rafraichir();
    envoi.ligne = fenetre.lignesParties();
    envoi.bloc = fenetre.bloc();
    services.fenetres->retirer(&fenetre);
    vumetre.setValue(0);

    if (fenetre.arrete()) {
        abandonner(port);
        services.messages->afficher(parent, QStringLiteral("Transfert interrompu"), QStringLiteral("Liaison PC-CN"),
                                    Icone::Exclamation, Boutons::Ok,
                                    QString::fromStdString(detailInterruption(envoi.ligne, fenetre.lignesTotal())));
        envoi.fin = FinEnvoi::Arrete;
        envoi.echec.reset();
    } else if (envoi.echec) {
        envoi.fin = FinEnvoi::Echoue;
    }
    return envoi;
}

std::string resultat(const EnvoiContinu& envoi)
{
    const std::string r = resultat(static_cast<const Envoi&>(envoi));
    // Nothing went (a file gone): no line to name.
    if (envoi.fin == FinEnvoi::Reussi || envoi.mesure.octets() == 0) return r;
    return r + " après la ligne " + std::to_string(envoi.ligne) + (envoi.bloc.empty() ? "" : " " + envoi.bloc);
}

std::optional<FinEnvoi> envoyerProgramme(Principale& principale, PortSerie& port, QWidget* fenetre,
                                         const continu::Source& source, bool enContinu, journal::Transfert note)
{
    Services& services = principale.services();
    Messages& messages = *services.messages;
    if (!confirmer(messages, fenetre)) return std::nullopt;

    // A CNC whose buffer fills pauses the line with XOFF.
    port.regleControleFlux(PortSerie::ControleFlux::XonXoff);
    note.debut = services.horloge->instant();
    const std::string portMontre = principale.reglagesPort().port.toStdString();
    std::optional<Echec> echec = ouvrirPort(port, principale);
    FinEnvoi fin = FinEnvoi::Echoue;
    if (!echec && enContinu) {
        const EnvoiContinu envoi = envoyerContinu(source, port, principale.vumetre(), reglage(principale), services, fenetre);
        note.genre = "Envoi en continu";
        note.resultat = resultat(envoi);
        journal::consignerManuel(services, portMontre, fenetre, note, envoi.mesure);
        fin = envoi.fin;
        echec = envoi.echec;
    } else if (!echec) {
        // The ordinary sending: the whole text built first, as Charger.
        const Transfert transfert = source.chemin.empty() ? transfertTexte(source.texte, source.insertion)
                                                          : transfertFichier(source.chemin, source.insertion);
        const Envoi envoi = envoyer(transfert, port, principale.vumetre(), reglage(principale), services, fenetre);
        note.resultat = resultat(envoi);
        journal::consignerManuel(services, portMontre, fenetre, note, transfert.texte());
        fin = envoi.fin;
        echec = envoi.echec;
    }
    // Stopped, the window stays for another try.
    if (fin == FinEnvoi::Arrete) return fin;
    if (!echec) {
        signalerReussite(messages, fenetre);
        return FinEnvoi::Reussi;
    }
    abandonner(port);
    signaler(messages, fenetre, *echec);
    return FinEnvoi::Echoue;
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

std::string resultat(const Envoi& envoi)
{
    if (envoi.fin == FinEnvoi::Arrete) return "Interrompu";
    if (envoi.echec) return journal::erreur(envoi.echec->numero);
    return "OK";
}

QString texteBoite(const QByteArray& octets)
{
    return lignesBoite(QString::fromStdString(cp1252::versUtf8(std::string_view(octets.constData(), octets.size()))));
}

}  // namespace tarvex::liaison
