#include "platform/fin.h"

#include <QCoreApplication>

#ifdef Q_OS_UNIX
#include <QPointer>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace tarvex::plateforme {

#ifdef Q_OS_UNIX
namespace {

// A signal handler may only write to a descriptor: the event loop reads
// the other end and ends the program there, outside the handler.
int tube[2] = {-1, -1};
QPointer<QSocketNotifier> notificateur;

extern "C" void finDemandee(int)
{
    const char c = 1;
    (void)!::write(tube[0], &c, 1);
}

}  // namespace
#endif

void surveillerFin(QObject* parent, std::function<void()> fin)
{
#ifdef Q_OS_UNIX
    if (tube[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, tube) != 0) return;
    delete notificateur;
    notificateur = new QSocketNotifier(tube[1], QSocketNotifier::Read, parent);
    QObject::connect(notificateur, &QSocketNotifier::activated, parent, [fin = std::move(fin)] {
        char c;
        (void)!::read(tube[1], &c, 1);
        fin();
    });
    struct sigaction action = {};
    action.sa_handler = finDemandee;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGHUP, SIGINT}) sigaction(s, &action, nullptr);
#else
    (void)parent, (void)fin;
#endif
}

void finSansQuestion() { QCoreApplication::exit(0); }

}  // namespace tarvex::plateforme
