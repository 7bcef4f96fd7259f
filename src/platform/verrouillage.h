#pragma once
// Every storing operation holds the data lock (store/verrou.h) just around
// its storing, never while a window is merely open, so that two computers
// sharing the data folder never store at the same moment.

#include "platform/services.h"
#include "store/probleme.h"
#include "store/statut.h"

#include <QString>

#include <functional>

class QWidget;

namespace tarvex::plateforme {

// Runs `stocker` holding the data lock for `operation`, in words ("Modification
// de la fiche PIVOT Phase 20"), and releases it whatever `stocker` does.
// A lock found is waited on with the windows redrawn but taking no input,
// under the wait cursor; a lock still in use is told ("Infos"); a lock left
// behind is offered for removal
// and, on Yes, removed and the lock tried again. False: nothing ran and the
// operator knows why; the window stays for another try.
// True: `stocker` ran, or the lock file could not be created, in which case
// `problemes` gets why, naming the file, for the window's own storing failure.
bool sousVerrou(Services& services, QWidget* parent, const QString& operation, Problemes& problemes,
                const std::function<void()>& stocker);

// This computer and its user as a sheet's status history names them, as the
// lock does.
statut::Auteur auteur(Services& services);
// The platform clock's moment, as the store dates what it writes.
archives::Instant maintenant(Services& services);

}  // namespace tarvex::plateforme
