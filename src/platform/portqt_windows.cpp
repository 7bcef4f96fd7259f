// The serial port's system part on Windows: the DCB, ClearCommError's queue
// and error flags.
#include "platform/portqt.h"

#if defined(Q_OS_WIN)

#include <qt_windows.h>

namespace tarvex::plateforme {

// COMn is the system's own name.
QString PortQt::peripherique(int numero) { return QStringLiteral("COM%1").arg(numero); }

QSerialPort::StopBits PortQt::arretUnEtDemi() { return QSerialPort::OneAndHalfStop; }

void PortQt::ajusterLigne()
{
    const bool xonSortie = flux_ == ControleFlux::XonXoff;
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
}

bool PortQt::reglageTenu() const
{
    DCB dcb;
    dcb.DCBlength = sizeof(dcb);
    if (!GetCommState(port_.handle(), &dcb)) return true;
    if (dcb.ByteSize != static_cast<BYTE>(reglage_.bits)) return false;
    const bool avecParite = reglage_.parite != QSerialPort::NoParity;
    return (dcb.Parity != NOPARITY) == avecParite;
}

// The port is opened for this program alone: no other can hold it then.
bool PortQt::tenuAilleurs() const { return false; }

// The error flags are read, and cleared, as bytes arrive.
void PortQt::commencerReleves() {}

bool PortQt::transmetteurVide()
{
    // The driver does not tell when its UART is empty: the last characters'
    // time is let pass once its queue is.
    if (fileDuPilote() > 0) {
        fifo_.invalidate();
        return false;
    }
    if (!fifo_.isValid()) fifo_.start();
    if (fifo_.elapsed() < 16 * 11 * 1000 / qMax(reglage_.vitesse, 1) + 10) return false;
    return true;
}

qint64 PortQt::fileDuPilote() const
{
    DWORD erreurs = 0;
    COMSTAT etat;
    if (!ClearCommError(port_.handle(), &erreurs, &etat)) return -1;
    return qint64(etat.cbOutQue);
}

void PortQt::relever()
{
    DWORD e = 0;
    if (!ClearCommError(port_.handle(), &e, nullptr)) return;
    if (e & CE_BREAK) erreurs_.append(kEvCassure);
    if (e & CE_FRAME) erreurs_.append(kEvTrame);
    if (e & CE_OVERRUN) erreurs_.append(kEvDonneesPerdues);
    if (e & CE_RXOVER) erreurs_.append(kEvTamponPlein);
    if (e & CE_RXPARITY) erreurs_.append(kEvParite);
}

// Qt writes overlapped here, which a full queue only delays: a write
// failure is a lost line.
bool PortQt::saturationPassagere(QSerialPort::SerialPortError) const { return false; }

}  // namespace tarvex::plateforme

#endif
