#pragma once
// The machine file of the machine chosen in the sheet creation window ("Info
// Machine"), every item as it stands.

#include "machines/fenetredossiermachine.h"

namespace tarvex {

struct CreationInfoMachine : FenetreDossierMachine {
    explicit CreationInfoMachine(QWidget* parent);
};

}  // namespace tarvex
