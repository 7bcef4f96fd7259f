#pragma once
// The program as a whole: the services it runs with and its main window.

#include "platform/services.h"

#include <memory>

namespace tarvex {

class Selectphase;

class Programme {
public:
    explicit Programme(plateforme::Services& services);
    ~Programme();

    // Loads the main window (its load handler shows the splash modally) and shows it.
    void demarrer();
    Selectphase* principale() const { return principale_.get(); }

private:
    plateforme::Services& services_;
    std::unique_ptr<Selectphase> principale_;
};

// The look every run shares: French texts in Qt's own dialogs, a decimal
// point for numbers shown from the data files.
void preparerApplication();

}  // namespace tarvex
