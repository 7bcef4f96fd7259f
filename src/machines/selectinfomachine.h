#pragma once
// The machine file of the main window's selected sheet ("Info Machine"),
// numbers in their general text.

#include "machines/fenetredossiermachine.h"

namespace tarvex {

struct SelectInfoMachine : FenetreDossierMachine {
    explicit SelectInfoMachine(QWidget* parent);
};

}  // namespace tarvex
