// The real serial port on a pseudo-terminal: the test holds the master side,
// where the CNC would be; the port opens the slave as COMn (TARVEX_COMn).

#include "platform/portqt.h"

#include <gtest/gtest.h>

#include <QSocketNotifier>
#include <QTest>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <pty.h>
#include <string>
#include <sys/file.h>
#include <termios.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace tarvex::plateforme {
namespace {

using namespace std::chrono_literals;

// A port that hangs is the fault these tests look for: the alarm ends the
// run, after gtest's log has named the test that hung.
struct Garde {
    explicit Garde(std::chrono::seconds limite) { ::alarm(unsigned(limite.count())); }
    ~Garde() { ::alarm(0); }
};

// The CNC's end of the cable.
class Cnc {
public:
    explicit Cnc(bool garderEsclave = false)
    {
        char nom[256];
        termios t;
        if (::openpty(&maitre_, &esclave_, nom, nullptr, nullptr) != 0) {
            ADD_FAILURE() << "openpty";
            return;
        }
        nom_ = QString::fromLocal8Bit(nom);
        ::tcgetattr(maitre_, &t), ::cfmakeraw(&t), ::tcsetattr(maitre_, TCSANOW, &t);
        if (!garderEsclave) ::close(esclave_), esclave_ = -1;
    }
    ~Cnc() { ::close(maitre_), ::close(esclave_); }

    const QString& nom() const { return nom_; }
    int maitre() const { return maitre_; }
    int esclave() const { return esclave_; }
    void debrancher() { ::close(maitre_), maitre_ = -1; }

    void envoyer(const QByteArray& octets)
    {
        qint64 fait = 0;
        for (ssize_t n = 0; fait < octets.size(); fait += n)
            if ((n = ::write(maitre_, octets.constData() + fait, size_t(octets.size() - fait))) < 0)
                return void(ADD_FAILURE() << "write: " << errno);
    }

private:
    int maitre_ = -1, esclave_ = -1;
    QString nom_;
};

class PortPty : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (int n = 1; n <= 7; ++n) qunsetenv(QByteArray("TARVEX_COM" + QByteArray::number(n)).constData());
    }

    // The port opened on this CNC as COMn.
    void brancher(PortQt& port, const Cnc& cnc, const char* reglage = "9600,e,7,2", int n = 1)
    {
        qputenv(QByteArray("TARVEX_COM" + QByteArray::number(n)).constData(), cnc.nom().toLocal8Bit());
        ASSERT_EQ(port.choisirPort(n) | port.regler(QString::fromLatin1(reglage)) | port.ouvrir(), 0);
    }
};

// DC1 and DC3 inside the text, as a CNC sends them when it talks XON/XOFF
// to its own reader, and DC3 at the end.
const QByteArray kRecuAvecXonXoff = QByteArray("%12\nN10 G0 X1\r\n\x11N20 \x13Z2\nN30 M02\n") + QByteArray(300, 'A') + "\n\x13";

TEST_F(PortPty, ChaqueOctetArriveDC3Compris)
{
    QByteArray tous;
    for (int i = 0; i < 256; ++i) tous.append(char(i));
    tous.append("\x13");
    // Listening for the service, and in the receiving window.
    const std::tuple<PortSerie::ControleFlux, const char*, QByteArray> cas[] = {
        {PortSerie::ControleFlux::Aucun, "9600,e,7,2", kRecuAvecXonXoff},
        {PortSerie::ControleFlux::RtsXonXoff, "9600,e,7,2", kRecuAvecXonXoff},
        {PortSerie::ControleFlux::RtsXonXoff, "9600,n,8,1", tous},
    };
    for (const auto& [flux, reglage, texte] : cas) {
        SCOPED_TRACE(reglage);
        Garde garde(30s);
        Cnc cnc; PortQt port;
        brancher(port, cnc, reglage);
        port.regleSeuils(1, 1), port.regleControleFlux(flux);
        QByteArray recu;
        QList<int> evenements;
        QObject::connect(&port, &PortSerie::evenement, [&](int code) {
            evenements.append(code);
            if (code == PortSerie::kRecu) recu += port.lire();
        });
        for (qsizetype i = 0; i < texte.size(); i += 37) cnc.envoyer(texte.mid(i, 37)), QTest::qWait(3);
        ASSERT_TRUE(QTest::qWaitFor([&] { return recu.size() >= texte.size(); }, 5000)) << recu.size();
        EXPECT_GE(evenements.size(), 2);
        EXPECT_EQ(evenements.count(PortSerie::kRecu), evenements.size());
        EXPECT_TRUE(recu == texte) << recu.toHex().toStdString();
        EXPECT_EQ(port.fermer(), 0);
    }
}

// Four ports sending at once: each closed as soon as all left, none lost a
// byte; an XOFF holds its line alone until kLigneBloquee; a CNC end gone
// fails its line alone with kPortFerme.
TEST_F(PortPty, QuatreLignesEnvoientEnMemeTemps)
{
    Garde garde(60s);
    constexpr int kRetenue = 1, kCoupee = 3;  // lines 0 and 2 go through
    struct Ligne { Cnc cnc; PortQt port; QByteArray texte, recu; bool tousPartis = false; QList<int> echecs; };
    Ligne lignes[4];
    for (int i = 0; i < 4; ++i) {
        Ligne& l = lignes[i];
        // The cut line is never read: its end goes with bytes on their way.
        ::fcntl(l.cnc.maitre(), F_SETFL, O_NONBLOCK);
        if (i != kCoupee)
            QObject::connect(new QSocketNotifier(l.cnc.maitre(), QSocketNotifier::Read, &l.port), &QSocketNotifier::activated, [&l] {
                char tampon[65536];
                for (ssize_t n; (n = ::read(l.cnc.maitre(), tampon, sizeof tampon)) > 0;) l.recu.append(tampon, n);
            });
        // The held line's few bytes fit in the driver: what holds them there is its drain.
        for (int n = 0; l.texte.size() < (i == kRetenue ? 512 : 1024 * 1024); ++n)
            l.texte += QStringLiteral("N%1 G01 X%2 Z-%3 (COM%4)\n").arg(n).arg(n % 977).arg(n % 31).arg(i + 1).toLatin1();
        l.port.regleControleFlux(PortSerie::ControleFlux::XonXoff);
        l.port.regleDelaiSansProgres(i == kRetenue ? 3000ms : 60000ms);
        // Closed at once: nothing may be left on its way then.
        QObject::connect(&l.port, &PortSerie::tousPartis, [&l] { l.tousPartis = l.port.fermer() == 0; });
        QObject::connect(&l.port, &PortSerie::echecEmission, [&l](int n) { l.echecs.append(n); });
        brancher(l.port, l.cnc, "9600,n,8,1", i + 1);
    }
    lignes[kRetenue].cnc.envoyer("\x13");  // XOFF before anything is sent
    QTest::qWait(200);
    for (Ligne& l : lignes) l.port.emettre(l.texte);

    EXPECT_TRUE(QTest::qWaitFor([&] { return lignes[0].tousPartis && lignes[2].tousPartis; }, 30000));
    lignes[kCoupee].cnc.debrancher();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !lignes[kCoupee].echecs.isEmpty(); }, 5000));
    EXPECT_EQ(lignes[kCoupee].echecs, QList<int>{kPortFerme});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !lignes[kRetenue].echecs.isEmpty(); }, 5000));
    EXPECT_TRUE(lignes[kRetenue].recu.isEmpty() && lignes[kRetenue].echecs == QList<int>{kLigneBloquee});
    EXPECT_EQ(lignes[kRetenue].port.fermer(), kLigneBloquee);
    for (int i : {0, 2})
        EXPECT_TRUE(QTest::qWaitFor([&] { return lignes[i].recu == lignes[i].texte; }, 2000) && lignes[i].echecs.isEmpty())
            << i << " : " << lignes[i].recu.size();
}

TEST_F(PortPty, LeCableArracheEnAttenteDeReceptionEstSignale)
{
    Garde garde(30s);
    QList<int> evenements;
    PortQt port;
    Cnc cnc;
    brancher(port, cnc);
    port.regleSeuils(1, 1);
    QObject::connect(&port, &PortSerie::evenement, [&](int code) { evenements.append(code); });
    cnc.envoyer("%12\nN10");
    ASSERT_TRUE(QTest::qWaitFor([&] { return evenements.contains(PortSerie::kRecu); }, 2000));
    cnc.debrancher();
    // The read that meets the end of the line leaves errno as it was: an
    // EAGAIN left there is no queue full for a write.
    errno = EAGAIN;
    ASSERT_TRUE(QTest::qWaitFor([&] { return evenements.contains(kEvPeripherique); }, 2000));
    EXPECT_FALSE(port.estOuvert());
    EXPECT_EQ(port.lire(), QByteArray("%12\nN10"));
    EXPECT_EQ(port.fermer(), kPortFerme);
    EXPECT_EQ(port.ouvrir(), kPortInexistant) << "the pseudo-terminal is gone with its master";
}

TEST_F(PortPty, OuverturesRefusees)
{
    Cnc cnc;
    qputenv("TARVEX_COM1", cnc.nom().toLocal8Bit());
    qputenv("TARVEX_COM7", "/dev/tarvex-pas-de-port");

    struct Cas { const char* nom; std::function<int()> essai; int attendu; };
    PortQt a, b;
    const auto ouvrirA = [&] { return a.choisirPort(1), a.ouvrir(); };
    const std::vector<Cas> cas = {
        {"port zéro", [&] { return a.choisirPort(0); }, kPortInexistant},
        {"ouvrir sans numéro de port", [&] { return a.ouvrir(); }, kPortInexistant},
        {"périphérique absent", [&] { a.choisirPort(7); return a.ouvrir(); }, kPortInexistant},
        {"fermer un port fermé", [&] { return a.fermer(); }, kPortFerme},
        {"écrire sur un port fermé", [&] { return a.emettre("N10\n"); }, kPortFerme},
        {"première ouverture", ouvrirA, 0},
        {"le même composant une seconde fois", [&] { return a.ouvrir(); }, kPortDejaOuvert},
        {"changer de port ouvert", [&] { return a.choisirPort(2); }, kPortDejaOuvert},
        {"un second composant", [&] { b.choisirPort(1); return b.ouvrir(); }, kPortDejaOuvert},
        {"fermeture", [&] { return a.fermer(); }, 0},
        {"un autre programme le tient", [&] {
             const int fd = ::open(cnc.nom().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
             ::flock(fd, LOCK_EX);
             const int r = ouvrirA();
             ::close(fd);
             return r;
         }, kPortDejaOuvert},
        {"libre à nouveau", ouvrirA, 0},
    };
    for (const auto& c : cas) EXPECT_EQ(c.essai(), c.attendu) << c.nom;
}

TEST_F(PortPty, ReglagesRefusesAvantEtPendantLOuverture)
{
    Cnc cnc(true);
    // Which texts are refused is the core's table (reglageport_test).
    const char* refuses[] = {"9600,e,7", "9600,n,5,2"};
    PortQt ferme;
    for (const char* texte : refuses) EXPECT_EQ(ferme.regler(QString::fromLatin1(texte)), kReglageRefuse) << texte;

    // Accepted, and taken by the device as it opens.
    const char* acceptes[] = {"4800,O,8,1", "110,n,5,1.5", "19200, s ,6,2", "1200,m,8,1", "9600,e,7,2"};
    for (const char* texte : acceptes) {
        PortQt port;
        brancher(port, cnc, texte);
        EXPECT_EQ(port.fermer(), 0) << texte;
    }
    // Refused while open, the line stays as it was. Sending, the driver
    // honours the CNC's XOFF and XON and nothing else; receiving (the first
    // test), it leaves DC3 to the program.
    PortQt port;
    port.regleControleFlux(PortSerie::ControleFlux::XonXoff);
    brancher(port, cnc);
    termios avant, apres;
    ASSERT_EQ(::tcgetattr(cnc.esclave(), &avant), 0);
    for (const char* texte : refuses) EXPECT_EQ(port.regler(QString::fromLatin1(texte)), kReglageRefuse) << texte;
    ASSERT_EQ(::tcgetattr(cnc.esclave(), &apres), 0);
    EXPECT_TRUE(port.estOuvert());
    EXPECT_EQ(std::tuple(apres.c_cflag, cfgetospeed(&apres)), std::tuple(avant.c_cflag, cfgetospeed(&avant)));
    EXPECT_EQ(apres.c_iflag & (IXON | IXOFF | IXANY), tcflag_t(IXON));
}

}  // namespace
}  // namespace tarvex::plateforme
