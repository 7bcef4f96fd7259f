// Four ports sending 1 MB each at once over socat pairs: closed as soon as all
// left, none lost a byte; an XOFF holds its line alone until kLigneBloquee; a
// pair killed fails its line alone (kPortFerme). Exits 77 without socat.

#include "platform/portqt.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

using namespace tarvex::plateforme;

namespace {

bool attendre(int ms, const std::function<bool()>& assez)
{
    QElapsedTimer t;
    t.start();
    QTimer reveil;  // the loop sleeps between events
    reveil.start(10);
    while (!assez() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return assez();
}

struct Ligne {
    QProcess socat;
    int cn = -1;  // the CNC's end
    QByteArray texte, recu;
    PortQt port;
    bool tousPartis = false;
    QList<int> echecs;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty()) return std::printf("socat absent\n"), 77;
    QTemporaryDir tmp;
    int echecs = 0;
    const auto verifier = [&](bool ok, const QString& quoi) {
        echecs += ok ? 0 : 1;
        std::printf("%s %s\n", ok ? "ok  " : "ÉCHEC", qPrintable(quoi));
    };
    constexpr int kRetenue = 1, kCoupee = 3;  // lines 0 and 2 go through
    Ligne lignes[4];
    for (int i = 0; i < 4; ++i) {
        Ligne& l = lignes[i];
        const QString cn = tmp.filePath(QStringLiteral("cn%1").arg(i)), pc = tmp.filePath(QStringLiteral("pc%1").arg(i));
        l.socat.start(QStringLiteral("socat"), {"pty,raw,echo=0,link=" + cn, "pty,raw,echo=0,link=" + pc});
        if (!attendre(5000, [&] { return QFile::exists(cn) && QFile::exists(pc); })) return std::printf("socat ?\n"), 1;
        qputenv(QByteArray("TARVEX_COM") + QByteArray::number(i + 1), pc.toLocal8Bit());
        l.cn = ::open(cn.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        // The cut line is never read: its pair dies with bytes on their way.
        if (i != kCoupee)
            QObject::connect(new QSocketNotifier(l.cn, QSocketNotifier::Read, &app), &QSocketNotifier::activated, [&l] {
                char tampon[65536];
                for (ssize_t n; (n = ::read(l.cn, tampon, sizeof tampon)) > 0;) l.recu.append(tampon, n);
            });
        // The held line's few bytes fit in the driver: what holds them there is its drain.
        for (int n = 0; l.texte.size() < (i == kRetenue ? 512 : 1024 * 1024); ++n)
            l.texte += QStringLiteral("N%1 G01 X%2 Z-%3 (COM%4)\n").arg(n).arg(n % 977).arg(n % 31).arg(i + 1).toLatin1();
        l.port.regleControleFlux(PortSerie::ControleFlux::XonXoff);
        l.port.regleDelaiSansProgres(std::chrono::milliseconds(i == kRetenue ? 3000 : 60000));
        // Closed at once: nothing may be left on its way then.
        QObject::connect(&l.port, &PortSerie::tousPartis, [&l] { l.tousPartis = l.port.fermer() == 0; });
        QObject::connect(&l.port, &PortSerie::echecEmission, [&l](int n) { l.echecs.append(n); });
        l.port.choisirPort(i + 1), l.port.regler(QStringLiteral("9600,n,8,1"));
        if (l.port.ouvrir() != 0) return std::printf("COM%d ?\n", i + 1), 1;
    }
    (void)!::write(lignes[kRetenue].cn, "\x13", 1);  // XOFF before anything is sent
    attendre(200, [] { return false; });
    for (Ligne& l : lignes) l.port.emettre(l.texte);

    verifier(attendre(30000, [&] { return lignes[0].tousPartis && lignes[2].tousPartis; }), QStringLiteral("lignes libres finies"));
    lignes[kCoupee].socat.kill();
    verifier(attendre(5000, [&] { return !lignes[kCoupee].echecs.isEmpty(); }) &&
                 lignes[kCoupee].echecs == QList<int>{kPortFerme}, QStringLiteral("paire tuée : kPortFerme"));
    verifier(attendre(5000, [&] { return !lignes[kRetenue].echecs.isEmpty(); }) && lignes[kRetenue].recu.isEmpty() &&
                 lignes[kRetenue].echecs == QList<int>{kLigneBloquee} && lignes[kRetenue].port.fermer() == kLigneBloquee,
             QStringLiteral("XOFF : rien ne passe, kLigneBloquee après le délai"));
    for (int i : {0, 2}) {
        attendre(2000, [&] { return lignes[i].recu.size() >= lignes[i].texte.size(); });
        verifier(lignes[i].recu == lignes[i].texte && lignes[i].echecs.isEmpty(),
                 QStringLiteral("COM%1 : %2 octets reçus à l'identique").arg(i + 1).arg(lignes[i].recu.size()));
    }
    for (Ligne& l : lignes) l.socat.kill(), l.socat.waitForFinished(), ::close(l.cn);
    return echecs == 0 ? 0 : 1;
}
