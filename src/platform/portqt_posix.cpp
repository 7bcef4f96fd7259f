// The serial port's system part on Linux and the other POSIX systems:
// termios, the driver's queue and counters through ioctl, tcdrain.
#include "platform/portqt.h"

#if !defined(Q_OS_WIN)

#include <QFileInfo>
#include <QPointer>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>

#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#if defined(Q_OS_LINUX)
#include <linux/serial.h>
#endif

namespace tarvex::plateforme {

// COMn is /dev/ttyS(n-1) unless TARVEX_COMn names another device.
QString PortQt::peripherique(int numero)
{
    const QByteArray variable = "TARVEX_COM" + QByteArray::number(numero);
    const QString autre = qEnvironmentVariable(variable.constData());
    if (!autre.isEmpty()) return autre;
    return QStringLiteral("/dev/ttyS%1").arg(numero - 1);
}

QSerialPort::StopBits PortQt::arretUnEtDemi()
{
    // termios has no 1.5: with 5 data bits the UART turns the two stop
    // bits into one and a half.
    return QSerialPort::TwoStop;
}

void PortQt::ajusterLigne()
{
    const bool xonSortie = flux_ == ControleFlux::XonXoff;
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
}

bool PortQt::reglageTenu() const
{
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
}

bool PortQt::tenuAilleurs() const
{
    // Qt's lock file only keeps out programs that honour lock files; those
    // that lock the device itself (flock) are kept out here.
    return ::flock(port_.handle(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

void PortQt::commencerReleves()
{
#if defined(Q_OS_LINUX)
    compteursLisibles_ = true;
    relever();
    erreurs_.clear();
#endif
}

struct PortQt::Vidange {
    std::atomic<bool> finie{false};
    qint64 emis = 0;  // what had been written when it began
};

bool PortQt::transmetteurVide()
{
    // A drain that ended before the last bytes were written said nothing of them.
    if (vidange_ && vidange_->finie && vidange_->emis != emis_) vidange_.reset();
    if (!vidange_) {
        // Only for the last characters: while the driver's queue holds more,
        // it is followed from here, and one drain at a time runs per port.
        if (fileDuPilote() > 0) return false;
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
            return false;
        } catch (const std::system_error&) {
            // No thread to spare: the driver's queue was empty, only the
            // UART's few characters are left.
            if (fd >= 0) ::close(fd);
            vidange_->finie = true;
        }
    }
    if (!vidange_->finie) return false;
    return true;
}

qint64 PortQt::fileDuPilote() const
{
#if defined(TIOCOUTQ)
    int n = 0;
    if (::ioctl(port_.handle(), TIOCOUTQ, &n) == 0) return n;
    return (errno == EIO || errno == ENXIO || errno == ENODEV || errno == EBADF) ? -1 : 0;
#else
    return 0;
#endif
}

void PortQt::relever()
{
#if defined(Q_OS_LINUX)
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

bool PortQt::saturationPassagere(QSerialPort::SerialPortError erreur) const
{
    // While the CNC holds XOFF the driver's queue fills, and a write the
    // notifier allowed may still find it full: Qt reports that EAGAIN as a
    // write failure, but the bytes are still in its buffer and go at the
    // next notification. The line is not lost; a CNC that never sends XON
    // is caught by the no-progress limit. A read that meets the end of a
    // vanished line reports whatever errno held, often such an EAGAIN: only
    // a port with bytes to write and a device that still answers is kept.
    return (erreur == QSerialPort::WriteError || erreur == QSerialPort::ResourceError) &&
           port_.errorString() == QString::fromLocal8Bit(std::strerror(EAGAIN)) && port_.bytesToWrite() > 0 &&
           fileDuPilote() >= 0;
}

}  // namespace tarvex::plateforme

#endif
