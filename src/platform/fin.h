#pragma once
// The program asked to end from outside its windows: SIGTERM, SIGHUP or
// SIGINT on Linux (a logout, a shutdown, "kill"), the system's shutdown on
// Windows (the session manager's commit data request). Each ends the event
// loop as Quitter does, so that what runs when the program ends (the DNC
// service keeping what the controls sent) runs then too.

#include <QObject>

namespace tarvex::plateforme {

// Installs the signal handlers once; `parent` holds what listens to them.
void surveillerFin(QObject* parent);

}  // namespace tarvex::plateforme
