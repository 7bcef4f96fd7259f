// Four serial ports sending at once through the real serial code, each over
// its own pair of pseudo-terminals joined by socat: 1 MB each must arrive
// byte for byte; XOFF from one CNC holds that line only; the pair of another
// killed mid-transfer fails that line only (kPortFerme) while the others
// finish. Exits 77 (skipped) when socat is not installed.

#include "platform/portqt.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>

using namespace tarvex::plateforme;

namespace {

int echecs = 0;
void verifier(bool ok, const QString& quoi)
{
    if (!ok) ++echecs;
    std::printf("%s %s\n", ok ? "ok  " : "ÉCHEC", qPrintable(quoi));
}

bool attendre(int ms, const std::function<bool()>& assez)
{
    QElapsedTimer t;
    t.start();
    while (!assez() && t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return assez();
}

struct Ligne {
    QProcess socat;
    int cn = -1;                              // the CNC's end, opened by the test
    std::unique_ptr<QSocketNotifier> lecture;
    QByteArray recu;
    PortQt port;
    QByteArray texte;
    bool tousPartis = false;
    QList<int> echecs;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty()) {
        std::printf("socat est introuvable : test sauté.\n");
        return 77;
    }
    QTemporaryDir tmp;
    constexpr int kLignes = 4, kLue = 0, kRetenue = 1, kCoupee = 3;
    Ligne lignes[kLignes];
    for (int i = 0; i < kLignes; ++i) {
        Ligne& l = lignes[i];
        const QString cn = tmp.filePath(QStringLiteral("cn%1").arg(i)), pc = tmp.filePath(QStringLiteral("pc%1").arg(i));
        l.socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + cn,
                                                 QStringLiteral("pty,raw,echo=0,link=") + pc});
        if (!attendre(5000, [&] { return QFile::exists(cn) && QFile::exists(pc); })) {
            verifier(false, QStringLiteral("socat n'a pas créé la paire %1").arg(i));
            return 1;
        }
        qputenv(QByteArray("TARVEX_COM") + QByteArray::number(i + 1), pc.toLocal8Bit());
        l.cn = ::open(cn.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        // The cut line is never read: its pair is killed with bytes still on their way.
        if (i != kCoupee) {
            l.lecture = std::make_unique<QSocketNotifier>(l.cn, QSocketNotifier::Read);
            QObject::connect(l.lecture.get(), &QSocketNotifier::activated, [&l] {
                char tampon[65536];
                for (ssize_t n; (n = ::read(l.cn, tampon, sizeof tampon)) > 0;) l.recu.append(tampon, n);
            });
        }
        for (int n = 0; l.texte.size() < 1024 * 1024; ++n)
            l.texte += QStringLiteral("N%1 G01 X%2 Z-%3 F0.1 (LIGNE %4)\n").arg(n).arg(n % 977).arg(n % 31).arg(i).toLatin1();
        l.port.regleControleFlux(PortSerie::ControleFlux::XonXoff);
        QObject::connect(&l.port, &PortSerie::tousPartis, [&l] { l.tousPartis = true; });
        QObject::connect(&l.port, &PortSerie::echecEmission, [&l](int n) { l.echecs.append(n); });
        verifier(l.port.choisirPort(i + 1) == 0 && l.port.regler(QStringLiteral("9600,n,8,1")) == 0 &&
                     l.port.ouvrir() == 0,
                 QStringLiteral("COM%1 ouvert").arg(i + 1));
    }
    // The held line's CNC says XOFF before anything is sent.
    (void)!::write(lignes[kRetenue].cn, "\x13", 1);
    QThread::msleep(200);
    for (Ligne& l : lignes) verifier(l.port.emettre(l.texte) == 0, QStringLiteral("emettre rend la main"));

    const auto finies = [&] { return lignes[kLue].tousPartis && lignes[2].tousPartis; };
    verifier(attendre(30000, finies), QStringLiteral("les lignes libres ont tout envoyé"));
    verifier(!lignes[kRetenue].tousPartis && lignes[kRetenue].recu.isEmpty(),
             QStringLiteral("XOFF retient sa ligne (%1 octets passés)").arg(lignes[kRetenue].recu.size()));
    lignes[kCoupee].socat.kill();
    verifier(attendre(5000, [&] { return !lignes[kCoupee].echecs.isEmpty(); }) &&
                 lignes[kCoupee].echecs == QList<int>{kPortFerme} && !lignes[kCoupee].tousPartis,
             QStringLiteral("la paire tuée donne kPortFerme sur sa ligne"));
    (void)!::write(lignes[kRetenue].cn, "\x11", 1);
    verifier(attendre(30000, [&] { return lignes[kRetenue].tousPartis; }), QStringLiteral("XON laisse tout partir"));

    for (int i = 0; i < kLignes; ++i) {
        Ligne& l = lignes[i];
        if (i == kCoupee) continue;
        attendre(2000, [&] { return l.recu.size() >= l.texte.size(); });
        verifier(l.recu == l.texte && l.echecs.isEmpty(),
                 QStringLiteral("COM%1 : %2 octets reçus à l'identique sur %3").arg(i + 1).arg(l.recu.size()).arg(l.texte.size()));
        verifier(l.port.fermer() == 0, QStringLiteral("COM%1 fermé").arg(i + 1));
    }
    for (Ligne& l : lignes) {
        l.lecture.reset();
        ::close(l.cn);
        l.socat.kill();
        l.socat.waitForFinished();
    }
    return echecs == 0 ? 0 : 1;
}
