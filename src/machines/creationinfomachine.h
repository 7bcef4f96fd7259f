#pragma once
// The machine file of the machine chosen in the sheet creation window ("Info
// Machine"), every item as it stands.

#include "machines/fenetredossiermachine.h"

namespace tarvex {

class CreationInfoMachine : public FenetreDossierMachine {
    Q_OBJECT
public:
    explicit CreationInfoMachine(QWidget* parent);

    // The load routine: one line per item of the named machine's file.
    // Returns what could not be read.
    Problemes charger(const QString& nomMachine);
};

}  // namespace tarvex
