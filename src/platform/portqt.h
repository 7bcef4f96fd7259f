#pragma once
// The serial port of the workshop PC, on QSerialPort. Everything that depends
// on the operating system (device names, the driver's output queue, the line
// error counters) is in portqt_posix.cpp and portqt_windows.cpp.

#include "platform/services.h"

#include <QList>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>

namespace tarvex::plateforme {

// Event codes raised besides PortSerie::kRecu and PortSerie::kFinTampon.
inline constexpr int kEvCassure = 1001;          // break received
inline constexpr int kEvTrame = 1004;            // framing error
inline constexpr int kEvDonneesPerdues = 1006;   // the UART overran: characters lost
inline constexpr int kEvTamponPlein = 1008;      // the driver's receive buffer overflowed
inline constexpr int kEvParite = 1009;           // parity error
inline constexpr int kEvPeripherique = 1011;     // the device stopped answering (unplugged)

class PortQt : public PortSerie {
    Q_OBJECT
public:
    explicit PortQt(QObject* parent = nullptr);
    ~PortQt() override;

    int choisirPort(int numero) override;
    int regler(const QString& parametres) override;
    int ouvrir() override;
    int emettre(const QByteArray& octets) override;
    QByteArray lire() override;
    int fermer() override;
    bool estOuvert() const override;
    void regleSeuils(int reception, int emission) override;
    void regleControleFlux(ControleFlux mode) override;
    long long enAttente() const override;
    void interrompre() override;
    void regleAttenteSansLimite(bool sansLimite) override { sansLimite_ = sansLimite; }

    // The device behind COMn: the system's name on Windows; elsewhere
    // /dev/ttyS(n-1) unless TARVEX_COMn names another one (a USB adapter).
    static QString peripherique(int numero);

    // How long emettre's bytes may go without one leaving before it gives up
    // with kLigneBloquee. A minute at the workshop, as a CNC whose buffer is
    // full may hold the line (XOFF) that long; the tests shorten it.
    void regleDelaiSansProgres(std::chrono::milliseconds delai) { delaiSansProgres_ = delai; }

    // While bytes given to emettre have not all left, how often the driver's
    // queue is looked at: it shrinks character by character without any
    // notification. Nothing is looked at while nothing is being sent.
    static constexpr int kSuiviMs = 20;

private:
    struct Reglage {
        qint32 vitesse = 9600;
        QSerialPort::Parity parite = QSerialPort::NoParity;
        QSerialPort::DataBits bits = QSerialPort::Data8;
        QSerialPort::StopBits arret = QSerialPort::OneStop;
    };

    static std::optional<Reglage> analyser(const QString& parametres);
    bool appliquer(const Reglage& r);
    qint64 pasEncoreSurLaLigne() const;

    // The system's part, in portqt_posix.cpp and portqt_windows.cpp.
    static QSerialPort::StopBits arretUnEtDemi();
    // Whatever Qt made of the flow control mode, the received bytes must come
    // through unchanged: no line-end rewrite, and the driver never sends XOFF
    // itself. A sending port pauses its output at the CNC's XOFF (DC3) and
    // resumes at XON (DC1): the driver does it, between two characters,
    // where the program could only notice it a buffer too late.
    void ajusterLigne();
    // Some drivers take the settings they can and ignore the rest without a
    // word (7 data bits on many USB adapters): the line is read back, and a
    // port that does not hold what was asked is refused rather than used with
    // other settings the CNC would not understand.
    bool reglageTenu() const;
    bool tenuAilleurs() const;  // another program locked the device
    void commencerReleves();
    bool transmetteurVide();    // the last characters have left the UART
    // What the driver still holds for the line once Qt has handed everything
    // over. Devices that cannot tell (a pseudo-terminal passes bytes straight
    // to the other side) count as empty; one that has gone counts as -1.
    qint64 fileDuPilote() const;
    // Qt 6 no longer reports break, framing or parity errors; the driver's
    // counters still do, read each time bytes arrive.
    void relever();
    bool saturationPassagere(QSerialPort::SerialPortError erreur) const;

    void arrivee();
    void incident(QSerialPort::SerialPortError erreur);
    void constaterPerte();
    void parti();
    void fermerSansAttendre();
    void suivre();
    void oublierEmission();
    void finirEmission();
    void echouerEmission(int numero);

    QSerialPort port_;
    int numero_ = 0;
    Reglage reglage_;
    ControleFlux flux_ = ControleFlux::Aucun;
    int seuilReception_ = 0;
    int seuilEmission_ = 0;
    QByteArray recu_;
    bool nouveau_ = false;       // received since the last kRecu or lire
    bool finSignalee_ = true;    // kFinTampon already raised for the current emptying
    bool perdu_ = false;         // the device went away while open
    bool enPanne_ = false;       // the line took nothing for delaiSansProgres
    bool fermeture_ = false;     // fermer is closing: arrivals are no longer told
    bool interrompu_ = false;    // interrompre: what was queued is dropped
    bool sansLimite_ = false;    // drip-feed: no delaiSansProgres
    QList<int> erreurs_;         // line errors not yet raised
    std::chrono::milliseconds delaiSansProgres_{60000};
    // What emettre has queued since the last tousPartis, and how much of it
    // was told as gone.
    bool emission_ = false;
    qint64 emis_ = 0;
    qint64 dits_ = 0;
    QTimer suivi_;
    QTimer sansProgres_;
    // The transmitter is empty only once the driver's drain says so (Unix:
    // tcdrain, aside, as it waits without limit) or once the last
    // characters' time has passed (Windows).
    struct Vidange;
    std::shared_ptr<Vidange> vidange_;
    // Lives in this thread; deleted from its event loop whoever lets it go last.
    std::shared_ptr<QObject> relais_{new QObject, [](QObject* o) { o->deleteLater(); }};
    QElapsedTimer fifo_;
#ifdef Q_OS_LINUX
    struct Compteurs {
        int cassure = 0, trame = 0, debordement = 0, tampon = 0, parite = 0;
    };
    Compteurs compteurs_;
    bool compteursLisibles_ = false;
#endif
};

class QtPorts : public Ports {
public:
    PortSerie* creer(QObject* parent) override;
    // Given to every port made: the tests shorten it.
    std::chrono::milliseconds delaiSansProgres{60000};
};

}  // namespace tarvex::plateforme
