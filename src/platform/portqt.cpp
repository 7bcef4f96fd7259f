#include "platform/portqt.h"

#include "store/reglageport.h"

#include <optional>

namespace tarvex::plateforme {

namespace {

QSerialPort::FlowControl fluxQt(PortSerie::ControleFlux mode)
{
    // The CNC ends its program with DC3, which is also XOFF: a driver doing
    // XON/XOFF on what it receives would swallow it and the reception would
    // never end. Only the RTS/CTS half of the mixed mode is honoured; the
    // XON/XOFF of a sending port is set on the driver itself (ajusterLigne),
    // for the output alone.
    switch (mode) {
    case PortSerie::ControleFlux::Rts:
    case PortSerie::ControleFlux::RtsXonXoff: return QSerialPort::HardwareControl;
    case PortSerie::ControleFlux::Aucun:
    case PortSerie::ControleFlux::XonXoff: break;
    }
    return QSerialPort::NoFlowControl;
}

}  // namespace

PortQt::PortQt(QObject* parent) : PortSerie(parent)
{
    // Arrivals and emptyings are taken up from the event loop rather than from
    // inside QSerialPort's notifiers: a window's handler may close the port
    // in answer, which would delete the notifier under its own feet.
    connect(&port_, &QSerialPort::readyRead, this, &PortQt::arrivee, Qt::QueuedConnection);
    connect(&port_, &QSerialPort::bytesWritten, this, &PortQt::parti, Qt::QueuedConnection);
    connect(&port_, &QSerialPort::errorOccurred, this, &PortQt::incident);
    connect(&suivi_, &QTimer::timeout, this, &PortQt::suivre);
    sansProgres_.setSingleShot(true);
    sansProgres_.setTimerType(Qt::PreciseTimer);
    connect(&sansProgres_, &QTimer::timeout, this, [this] {
        if (emission_ && !sansLimite_) echouerEmission(kLigneBloquee);
    });
}

PortQt::~PortQt()
{
    // As fermer: what is still queued is dropped, or the system's own close
    // would hold the program until it has left (half a minute on Linux).
    if (port_.isOpen() && !perdu_ && (emission_ || pasEncoreSurLaLigne() > 0)) port_.clear(QSerialPort::Output);
    fermerSansAttendre();
}

// peripherique, and everything below that depends on the system (declared
// together in portqt.h), is in portqt_posix.cpp and portqt_windows.cpp.

std::optional<PortQt::Reglage> PortQt::analyser(const QString& parametres)
{
    const std::optional<reglageport::Reglage> lu = reglageport::analyser(parametres.toStdString());
    if (!lu) return std::nullopt;
    Reglage r;
    r.vitesse = lu->vitesse;
    switch (lu->parite) {
    case reglageport::Parite::Aucune: r.parite = QSerialPort::NoParity; break;
    case reglageport::Parite::Paire: r.parite = QSerialPort::EvenParity; break;
    case reglageport::Parite::Impaire: r.parite = QSerialPort::OddParity; break;
    case reglageport::Parite::Marque: r.parite = QSerialPort::MarkParity; break;
    case reglageport::Parite::Espace: r.parite = QSerialPort::SpaceParity; break;
    }
    r.bits = static_cast<QSerialPort::DataBits>(lu->bits);
    switch (lu->arret) {
    case reglageport::Arret::Un: r.arret = QSerialPort::OneStop; break;
    case reglageport::Arret::UnEtDemi: r.arret = arretUnEtDemi(); break;
    case reglageport::Arret::Deux: r.arret = QSerialPort::TwoStop; break;
    }
    return r;
}

bool PortQt::appliquer(const Reglage& r)
{
    // On a closed port these only record; the device says yes or no on open.
    return port_.setBaudRate(r.vitesse) && port_.setParity(r.parite) && port_.setDataBits(r.bits) &&
           port_.setStopBits(r.arret);
}

int PortQt::choisirPort(int numero)
{
    if (estOuvert()) return kPortDejaOuvert;
    if (numero < 1) {
        numero_ = 0;
        return kPortInexistant;
    }
    numero_ = numero;
    return 0;
}

int PortQt::regler(const QString& parametres)
{
    const std::optional<Reglage> r = analyser(parametres);
    if (!r) return kReglageRefuse;
    if (estOuvert()) {
        const bool accepte = appliquer(*r);
        if (!accepte) appliquer(reglage_);
        ajusterLigne();
        if (!accepte) return kReglageRefuse;
    }
    reglage_ = *r;
    return 0;
}

void PortQt::regleSeuils(int reception, int emission)
{
    seuilReception_ = reception;
    seuilEmission_ = emission;
}

void PortQt::regleControleFlux(ControleFlux mode)
{
    flux_ = mode;
    if (estOuvert()) {
        port_.setFlowControl(fluxQt(mode));
        ajusterLigne();
    }
}

int PortQt::ouvrir()
{
    if (port_.isOpen()) {
        if (!perdu_) return kPortDejaOuvert;
        fermerSansAttendre();
    }
    if (numero_ < 1) return kPortInexistant;

    port_.setPortName(peripherique(numero_));
    appliquer(reglage_);
    port_.setFlowControl(fluxQt(flux_));
    if (!port_.open(QIODevice::ReadWrite)) {
        switch (port_.error()) {
        case QSerialPort::PermissionError:  // locked by another program, or busy
        case QSerialPort::OpenError: return kPortDejaOuvert;
        case QSerialPort::UnsupportedOperationError: return kReglageRefuse;
        default: return kPortInexistant;
        }
    }
    if (tenuAilleurs()) {
        port_.close();
        return kPortDejaOuvert;
    }
    ajusterLigne();
    if (!reglageTenu()) {
        port_.close();
        return kReglageRefuse;
    }

    perdu_ = false;
    enPanne_ = false;
    interrompu_ = false;
    sansLimite_ = false;
    recu_.clear();
    nouveau_ = false;
    finSignalee_ = true;
    erreurs_.clear();
    commencerReleves();
    return 0;
}

bool PortQt::estOuvert() const { return port_.isOpen() && !perdu_; }

int PortQt::emettre(const QByteArray& octets)
{
    if (!estOuvert()) return kPortFerme;
    if (interrompu_) return kArrete;
    // Qt keeps every byte in its own buffer and hands them to the driver as
    // it takes them (bytesWritten); nothing here waits.
    if (port_.write(octets) < 0) return kPortFerme;
    if (seuilEmission_ > 0 && port_.bytesToWrite() >= seuilEmission_) finSignalee_ = false;
    emis_ += octets.size();
    // A drain already under way still ends; suivre then sees more was
    // written since it began.
    fifo_.invalidate();
    if (!emission_) {
        emission_ = true;
        sansProgres_.start(delaiSansProgres_);
    }
    if (!suivi_.isActive()) suivi_.start(kSuiviMs);
    return 0;
}

void PortQt::suivre()
{
    if (!emission_ || !estOuvert()) return;
    const qint64 pilote = fileDuPilote();
    if (pilote < 0) {
        echouerEmission(kPortFerme);
        return;
    }
    const qint64 restant = port_.bytesToWrite() + pilote;
    if (const qint64 n = emis_ - restant - dits_; n > 0) {
        dits_ += n;
        sansProgres_.start(delaiSansProgres_);
        emit partis(n);
        // The handler may have written more, stopped or closed the port.
        if (!emission_ || !estOuvert()) return;
    }
    if (port_.bytesToWrite() > 0) {
        fifo_.invalidate();
        return;
    }
    // Everything is with the driver. The last characters leave its queue,
    // then the UART, and the owner closing before would put the device's old
    // settings back under them.
    if (!transmetteurVide()) return;
    finirEmission();
}

// A sending over, whichever way it ended: nothing more is followed.
void PortQt::oublierEmission()
{
    emission_ = false;
    emis_ = dits_ = 0;
    suivi_.stop();
    sansProgres_.stop();
    vidange_.reset();
    fifo_.invalidate();
}

void PortQt::finirEmission()
{
    oublierEmission();
    emit tousPartis();
}

void PortQt::echouerEmission(int numero)
{
    oublierEmission();
    if (numero == kLigneBloquee) {
        // Whatever stays queued is dropped, or the system's own close would
        // wait for it (half a minute on Linux); it also releases a tcdrain.
        enPanne_ = true;
        if (port_.isOpen()) port_.clear(QSerialPort::Output);
    }
    emit echecEmission(numero);
}

QByteArray PortQt::lire()
{
    if (port_.isOpen()) recu_ += port_.readAll();
    nouveau_ = false;
    QByteArray r;
    r.swap(recu_);
    return r;
}

int PortQt::fermer()
{
    if (!port_.isOpen()) {
        perdu_ = false;
        return kPortFerme;
    }
    if (perdu_) {
        fermerSansAttendre();
        return kPortFerme;
    }
    // Whatever arrives from here on is not told any more: the owner is done
    // with the port.
    fermeture_ = true;
    int r = interrompu_ ? kArrete : enPanne_ ? kLigneBloquee : 0;
    if (r == 0 && (emission_ || pasEncoreSurLaLigne() > 0)) r = kArrete;
    // Whatever stays queued is dropped, or the system's own close would wait
    // for it (half a minute on Linux).
    if (r != 0) port_.clear(QSerialPort::Output);
    fermerSansAttendre();
    return r;
}

void PortQt::fermerSansAttendre()
{
    oublierEmission();
    if (port_.isOpen()) {
        recu_ += port_.readAll();
        port_.close();
    }
    perdu_ = false;
    fermeture_ = false;
}

qint64 PortQt::pasEncoreSurLaLigne() const
{
    // Qt's count of waiting bytes drops only when a whole block goes to the
    // driver, which at 300 or 600 baud takes longer than the stall delay; the
    // driver's own queue shrinks with every character that leaves.
    return port_.bytesToWrite() + qMax<qint64>(0, fileDuPilote());
}

long long PortQt::enAttente() const { return estOuvert() ? pasEncoreSurLaLigne() : 0; }

void PortQt::interrompre()
{
    interrompu_ = true;
    // Nothing more is told of what was being sent.
    oublierEmission();
    if (!port_.isOpen()) return;
    // Qt's buffer and the driver's queue (tcflush, PurgeComm) both go: none
    // of it reaches the CNC, the closing DC3 included. The port stays open
    // until its owner closes it, as a wait may still be on it.
    port_.clear(QSerialPort::Output);
}

void PortQt::arrivee()
{
    if (!estOuvert() || fermeture_) return;
    const QByteArray octets = port_.readAll();
    if (!octets.isEmpty()) {
        recu_ += octets;
        nouveau_ = true;
    }
    relever();
    // A handler may close the port; what follows is then no longer told.
    while (!erreurs_.isEmpty()) {
        emit evenement(erreurs_.takeFirst());
        if (!estOuvert()) {
            erreurs_.clear();
            return;
        }
    }
    if (nouveau_ && seuilReception_ >= 1) {
        nouveau_ = false;
        emit evenement(kRecu);
    }
}

void PortQt::parti()
{
    if (!finSignalee_ && seuilEmission_ > 0 && port_.bytesToWrite() < seuilEmission_) {
        finSignalee_ = true;
        emit evenement(kFinTampon);
    }
    if (emission_) suivre();
}

void PortQt::incident(QSerialPort::SerialPortError erreur)
{
    switch (erreur) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
    case QSerialPort::UnknownError: break;
    default: return;  // failures of open and of the setters come back as results
    }
    if (!port_.isOpen() || perdu_) return;
    if (saturationPassagere(erreur)) {
        port_.clearError();
        return;
    }
    // A vanished device keeps its descriptor readable and Qt reports the same
    // failure in a tight loop; the port is closed at the next turn of the
    // loop, outside the notifier that reported it.
    perdu_ = true;
    QMetaObject::invokeMethod(this, &PortQt::constaterPerte, Qt::QueuedConnection);
}

void PortQt::constaterPerte()
{
    if (!perdu_) return;  // the owner closed it meanwhile
    const bool enEmission = emission_;
    fermerSansAttendre();
    if (enEmission) {
        emit echecEmission(kPortFerme);
        if (port_.isOpen()) return;  // opened again by its handler
    }
    emit evenement(kEvPeripherique);
}

PortSerie* QtPorts::creer(QObject* parent)
{
    auto* port = new PortQt(parent);
    port->regleDelaiSansProgres(delaiSansProgres);
    return port;
}

}  // namespace tarvex::plateforme
