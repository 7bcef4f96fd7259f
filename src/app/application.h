#pragma once
// The program as a whole: the services it runs with and its main window.

#include "platform/services.h"

#include <QString>

#include <memory>

namespace tarvex {

class Selectphase;

class Programme {
public:
    explicit Programme(plateforme::Services& services);
    ~Programme();

    // Before the main window: when the working folder holds no data folder
    // yet, or one without its index, the first start's window makes or
    // completes it. False when the operator chose to quit instead.
    bool preparerDonnees(const QString& travail, const QString& partage);
    // Loads the main window (its load handler shows the splash modally) and shows it.
    void demarrer();
    Selectphase* principale() const { return principale_.get(); }

private:
    plateforme::Services& services_;
    std::unique_ptr<Selectphase> principale_;
    // A new empty data folder was made (or one without index completed): it
    // may have no machine yet, and a sheet cannot be created without one.
    bool premiereMachine_ = false;
};

// The working folder: the current folder when it holds a data folder with
// its index (a start from the workshop's folder, as `make run` does), else
// $TARVEX_HOME, by default the folder tarvex of the user's home (a start from
// the desktop menu). It may not exist yet.
QString dossierTravail();

// The data delivered with the program, vide/data (the empty data folder)
// and demo/data: $TARVEX_PARTAGE, or share/tarvex beside the program's bin
// folder (installed) or beside the program itself (build tree, Windows).
QString dossierPartage();
QString dossierPartage(const QString& dossierProgramme);

// The look every run shares: French texts in Qt's own dialogs, a decimal
// point for numbers shown from the data files.
void preparerApplication();

}  // namespace tarvex
