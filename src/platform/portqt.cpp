#include "platform/portqt.h"

#include <QFileInfo>
#include <QPointer>

#include <atomic>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#elif defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#if defined(Q_OS_LINUX)
#include <linux/serial.h>
#endif
#endif

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

bool chiffres(const QString& texte)
{
    if (texte.isEmpty()) return false;
    for (QChar c : texte)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
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
        if (emission_) echouerEmission(kLigneBloquee);
    });
}

PortQt::~PortQt()
{
    // As fermer: what is still queued is dropped, or the system's own close
    // would hold the program until it has left (half a minute on Linux).
    if (port_.isOpen() && !perdu_ && (emission_ || pasEncoreSurLaLigne() > 0)) port_.clear(QSerialPort::Output);
    fermerSansAttendre();
}

QString PortQt::peripherique(int numero)
{
#if defined(Q_OS_WIN)
    return QStringLiteral("COM%1").arg(numero);
#else
    const QByteArray variable = "TARVEX_COM" + QByteArray::number(numero);
    const QString autre = qEnvironmentVariable(variable.constData());
    if (!autre.isEmpty()) return autre;
    return QStringLiteral("/dev/ttyS%1").arg(numero - 1);
#endif
}

std::optional<PortQt::Reglage> PortQt::analyser(const QString& parametres)
{
    const QStringList champs = parametres.split(QLatin1Char(','));
    if (champs.size() != 4) return std::nullopt;
    Reglage r;

    const QString vitesse = champs[0].trimmed();
    if (!chiffres(vitesse) || vitesse.size() > 7) return std::nullopt;
    r.vitesse = vitesse.toInt();
    if (r.vitesse < 1) return std::nullopt;

    const QString parite = champs[1].trimmed().toLower();
    if (parite == QLatin1String("n")) r.parite = QSerialPort::NoParity;
    else if (parite == QLatin1String("e")) r.parite = QSerialPort::EvenParity;
    else if (parite == QLatin1String("o")) r.parite = QSerialPort::OddParity;
    else if (parite == QLatin1String("m")) r.parite = QSerialPort::MarkParity;
    else if (parite == QLatin1String("s")) r.parite = QSerialPort::SpaceParity;
    else return std::nullopt;

    const QString bits = champs[2].trimmed();
    if (bits == QLatin1String("5")) r.bits = QSerialPort::Data5;
    else if (bits == QLatin1String("6")) r.bits = QSerialPort::Data6;
    else if (bits == QLatin1String("7")) r.bits = QSerialPort::Data7;
    else if (bits == QLatin1String("8")) r.bits = QSerialPort::Data8;
    else return std::nullopt;

    // A UART knows 1.5 stop bits only with 5 data bits, and 2 only with 6 to
    // 8; the other pairs are refused as the device itself would.
    const QString arret = champs[3].trimmed();
    if (arret == QLatin1String("1")) {
        r.arret = QSerialPort::OneStop;
    } else if (arret == QLatin1String("1.5")) {
        if (r.bits != QSerialPort::Data5) return std::nullopt;
#if defined(Q_OS_WIN)
        r.arret = QSerialPort::OneAndHalfStop;
#else
        // termios has no 1.5: with 5 data bits the UART turns the two stop
        // bits into one and a half.
        r.arret = QSerialPort::TwoStop;
#endif
    } else if (arret == QLatin1String("2")) {
        if (r.bits == QSerialPort::Data5) return std::nullopt;
        r.arret = QSerialPort::TwoStop;
    } else {
        return std::nullopt;
    }
    return r;
}

bool PortQt::appliquer(const Reglage& r)
{
    // On a closed port these only record; the device says yes or no on open.
    return port_.setBaudRate(r.vitesse) && port_.setParity(r.parite) && port_.setDataBits(r.bits) &&
           port_.setStopBits(r.arret);
}

void PortQt::ajusterLigne()
{
    // Whatever Qt made of the flow control mode, the received bytes must come
    // through unchanged: no line-end rewrite, and the driver never sends XOFF
    // itself. A sending port pauses its output at the CNC's XOFF (DC3) and
    // resumes at XON (DC1): the driver does it, between two characters,
    // where the program could only notice it a buffer too late.
    const bool xonSortie = flux_ == ControleFlux::XonXoff;
#if defined(Q_OS_WIN)
    DCB dcb;
    dcb.DCBlength = sizeof(dcb);
    if (GetCommState(port_.handle(), &dcb)) {
        dcb.fOutX = xonSortie ? TRUE : FALSE;
        dcb.fInX = FALSE;
        dcb.fTXContinueOnXoff = TRUE;
        dcb.XonChar = 0x11;
        dcb.XoffChar = 0x13;
        dcb.fNull = FALSE;
        dcb.fErrorChar = FALSE;
        SetCommState(port_.handle(), &dcb);
    }
#elif defined(Q_OS_UNIX)
    termios t;
    if (::tcgetattr(port_.handle(), &t) != 0) return;
    t.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY | ISTRIP | INLCR | IGNCR | ICRNL);
    if (xonSortie) {
        // IXON alone is the output half; IXANY would let any character
        // restart it.
        t.c_iflag |= IXON;
        t.c_cc[VSTART] = 0x11;
        t.c_cc[VSTOP] = 0x13;
    }
    ::tcsetattr(port_.handle(), TCSANOW, &t);
#endif
}

// Some drivers take the settings they can and ignore the rest without a
// word (7 data bits on many USB adapters): the line is read back, and a port
// that does not hold what was asked is refused rather than used with other
// settings the CNC would not understand.
bool PortQt::reglageTenu() const
{
#if defined(Q_OS_WIN)
    DCB dcb;
    dcb.DCBlength = sizeof(dcb);
    if (!GetCommState(port_.handle(), &dcb)) return true;
    if (dcb.ByteSize != static_cast<BYTE>(reglage_.bits)) return false;
    const bool avecParite = reglage_.parite != QSerialPort::NoParity;
    return (dcb.Parity != NOPARITY) == avecParite;
#elif defined(Q_OS_UNIX)
    // A pseudo-terminal has no line: it keeps no character format at all.
    const QString canonique = QFileInfo(peripherique(numero_)).canonicalFilePath();
    if (canonique.startsWith(QStringLiteral("/dev/pts/")) || canonique.startsWith(QStringLiteral("/dev/pty")))
        return true;
    termios t;
    if (::tcgetattr(port_.handle(), &t) != 0) return true;
    tcflag_t taille = CS8;
    switch (reglage_.bits) {
    case QSerialPort::Data5: taille = CS5; break;
    case QSerialPort::Data6: taille = CS6; break;
    case QSerialPort::Data7: taille = CS7; break;
    default: break;
    }
    if ((t.c_cflag & CSIZE) != taille) return false;
    const bool avecParite = reglage_.parite != QSerialPort::NoParity;
    return ((t.c_cflag & PARENB) != 0) == avecParite;
#else
    return true;
#endif
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
#if defined(Q_OS_UNIX)
    // Qt's lock file only keeps out programs that honour lock files; those
    // that lock the device itself (flock) are kept out here.
    if (::flock(port_.handle(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        port_.close();
        return kPortDejaOuvert;
    }
#endif
    ajusterLigne();
    if (!reglageTenu()) {
        port_.close();
        return kReglageRefuse;
    }

    perdu_ = false;
    enPanne_ = false;
    interrompu_ = false;
    recu_.clear();
    nouveau_ = false;
    finSignalee_ = true;
    erreurs_.clear();
#if defined(Q_OS_LINUX)
    compteursLisibles_ = true;
    relever();
    erreurs_.clear();
#endif
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

struct PortQt::Vidange {
    std::atomic<bool> finie{false};
    qint64 emis = 0;  // what had been written when it began
};

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
#if defined(Q_OS_WIN)
    if (fileDuPilote() > 0) {
        fifo_.invalidate();
        return;
    }
    if (!fifo_.isValid()) fifo_.start();
    if (fifo_.elapsed() < 16 * 11 * 1000 / qMax(reglage_.vitesse, 1) + 10) return;
#elif defined(Q_OS_UNIX)
    // A drain that ended before the last bytes were written said nothing of them.
    if (vidange_ && vidange_->finie && vidange_->emis != emis_) vidange_.reset();
    if (!vidange_) {
        // Only for the last characters: while the driver's queue holds more,
        // it is followed from here, and one drain at a time runs per port.
        if (fileDuPilote() > 0) return;
        // tcdrain may wait without limit (a USB adapter held by CTS): it
        // runs aside, and the no-progress limit catches a line that holds
        // (clearing the output releases it). It drains its own copy of the
        // descriptor, which a port opened meanwhile cannot be given. Its end
        // is told to this thread through the relay, which outlives the port
        // if need be; the port itself may be gone by then.
        vidange_ = std::make_shared<Vidange>();
        vidange_->emis = emis_;
        const int fd = ::dup(port_.handle());
        try {
            if (fd < 0) throw std::system_error(errno, std::generic_category());
            std::thread([fd, v = vidange_, relais = relais_, moi = QPointer<PortQt>(this)] {
                ::tcdrain(fd);
                ::close(fd);
                v->finie = true;
                QMetaObject::invokeMethod(relais.get(), [moi] {
                    if (moi) moi->suivre();
                }, Qt::QueuedConnection);
            }).detach();
            return;
        } catch (const std::system_error&) {
            // No thread to spare: the driver's queue was empty, only the
            // UART's few characters are left.
            if (fd >= 0) ::close(fd);
            vidange_->finie = true;
        }
    }
    if (!vidange_->finie) return;
#endif
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

qint64 PortQt::fileDuPilote() const
{
    // What the driver still holds for the line once Qt has handed everything
    // over. Devices that cannot tell (a pseudo-terminal passes bytes straight
    // to the other side) count as empty; one that has gone counts as -1.
#if defined(Q_OS_WIN)
    DWORD erreurs = 0;
    COMSTAT etat;
    if (!ClearCommError(port_.handle(), &erreurs, &etat)) return -1;
    return qint64(etat.cbOutQue);
#elif defined(Q_OS_UNIX) && defined(TIOCOUTQ)
    int n = 0;
    if (::ioctl(port_.handle(), TIOCOUTQ, &n) == 0) return n;
    return (errno == EIO || errno == ENXIO || errno == ENODEV || errno == EBADF) ? -1 : 0;
#else
    return 0;
#endif
}

void PortQt::relever()
{
    // Qt 6 no longer reports break, framing or parity errors; the driver's
    // counters still do, read each time bytes arrive.
#if defined(Q_OS_WIN)
    DWORD e = 0;
    if (!ClearCommError(port_.handle(), &e, nullptr)) return;
    if (e & CE_BREAK) erreurs_.append(kEvCassure);
    if (e & CE_FRAME) erreurs_.append(kEvTrame);
    if (e & CE_OVERRUN) erreurs_.append(kEvDonneesPerdues);
    if (e & CE_RXOVER) erreurs_.append(kEvTamponPlein);
    if (e & CE_RXPARITY) erreurs_.append(kEvParite);
#elif defined(Q_OS_LINUX)
    if (!compteursLisibles_) return;
    serial_icounter_struct c{};
    if (::ioctl(port_.handle(), TIOCGICOUNT, &c) != 0) {
        compteursLisibles_ = false;  // a pseudo-terminal, most USB adapters
        return;
    }
    if (c.brk != compteurs_.cassure) erreurs_.append(kEvCassure);
    if (c.frame != compteurs_.trame) erreurs_.append(kEvTrame);
    if (c.overrun != compteurs_.debordement) erreurs_.append(kEvDonneesPerdues);
    if (c.buf_overrun != compteurs_.tampon) erreurs_.append(kEvTamponPlein);
    if (c.parity != compteurs_.parite) erreurs_.append(kEvParite);
    compteurs_ = {c.brk, c.frame, c.overrun, c.buf_overrun, c.parity};
#endif
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
#if !defined(Q_OS_WIN)
    // While the CNC holds XOFF the driver's queue fills, and a write the
    // notifier allowed may still find it full: Qt reports that EAGAIN as a
    // write failure, but the bytes are still in its buffer and go at the
    // next notification. The line is not lost; a CNC that never sends XON
    // is caught by the no-progress limit. A read that meets the end of a
    // vanished line reports whatever errno held, often such an EAGAIN: only
    // a port with bytes to write and a device that still answers is kept.
    if ((erreur == QSerialPort::WriteError || erreur == QSerialPort::ResourceError) &&
        port_.errorString() == QString::fromLocal8Bit(std::strerror(EAGAIN)) && port_.bytesToWrite() > 0 &&
        fileDuPilote() >= 0) {
        port_.clearError();
        return;
    }
#endif
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

PortSerie* QtPorts::creer(QObject* parent) { return new PortQt(parent); }

}  // namespace tarvex::plateforme
