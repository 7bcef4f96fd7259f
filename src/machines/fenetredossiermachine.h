#pragma once
// "Info Machine": a machine's file, one line per item. The main window and
// the sheet creation window each have theirs, under their own names, reading
// the numbers their own way; the window itself is this one.

#include "platform/controles.h"
#include "platform/fenetre.h"
#include "store/probleme.h"

#include <QListWidget>

namespace tarvex {

class FenetreDossierMachine : public plateforme::Fenetre {
    Q_OBJECT
public:
    plateforme::Cadre* Frame4;
    QListWidget* List4;

    // The load routine: one line per item of the named machine's file.
    // Returns what could not be read.
    Problemes charger(const QString& nomMachine);

protected:
    // `nombres`: the numbers in their general text, with the decimal point
    // of the computer's settings; otherwise every item as it stands.
    FenetreDossierMachine(QWidget* parent, const QString& nom, bool nombres);

private:
    bool nombres_;
};

}  // namespace tarvex
