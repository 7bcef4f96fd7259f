#pragma once
// The machine file of the main window's selected sheet ("Info Machine"),
// numbers in their general text.

#include "machines/fenetredossiermachine.h"

namespace tarvex {

class SelectInfoMachine : public FenetreDossierMachine {
    Q_OBJECT
public:
    explicit SelectInfoMachine(QWidget* parent);

    // The load routine: one line per item of the named machine's file.
    // Returns what could not be read.
    Problemes charger(const QString& nomMachine);
};

}  // namespace tarvex
