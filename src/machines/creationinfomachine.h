#pragma once
// The machine file of the machine chosen in the sheet creation window ("Info
// Machine"), every item as it stands.

#include "platform/controles.h"
#include "platform/fenetre.h"
#include "store/probleme.h"

#include <QListWidget>

namespace tarvex {

class CreationInfoMachine : public plateforme::Fenetre {
    Q_OBJECT
public:
    explicit CreationInfoMachine(QWidget* parent);

    // The load routine: one line per item of the named machine's file.
    // Returns what could not be read.
    Problemes charger(const QString& nomMachine);

    plateforme::Cadre* Frame4;
    QListWidget* List4;
};

}  // namespace tarvex
