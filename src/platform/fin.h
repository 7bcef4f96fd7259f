#pragma once
// The program asked to end from outside its windows: SIGTERM, SIGHUP or
// SIGINT on Linux (a logout, a shutdown, "kill"). `fin` runs then on the
// event loop, outside the signal handler: the program ends the event loop
// as Quitter does, so that what runs when the program ends (the DNC service
// keeping what the controls sent) runs then too. The system's shutdown on
// Windows comes as the session manager's commit data request instead.

#include <QObject>

#include <functional>

namespace tarvex::plateforme {

// Installs the signal handlers; `parent` holds what listens to them. Called
// again, the new `fin` replaces the old one.
void surveillerFin(QObject* parent, std::function<void()> fin);

// The program's `fin`: every event loop ends, aboutToQuit runs (the service
// stops as Arreter does). Not QCoreApplication::quit(), which in Qt 6 first
// asks every window to close: the main window answers a close with the quit
// question, and at a logout nobody is there to answer it.
void finSansQuestion();

}  // namespace tarvex::plateforme
