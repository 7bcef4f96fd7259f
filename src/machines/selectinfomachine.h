#pragma once
// The machine file of the main window's selected sheet ("Info Machine").

#include "platform/controles.h"
#include "platform/fenetre.h"
#include "store/probleme.h"

#include <QListWidget>

namespace tarvex {

class SelectInfoMachine : public plateforme::Fenetre {
    Q_OBJECT
public:
    explicit SelectInfoMachine(QWidget* parent);

    // The load routine: lists the file of the named machine, one line per
    // item, numbers in their general text. Returns what could not be read.
    Problemes charger(const QString& nomMachine);

    plateforme::Cadre* Frame4;
    QListWidget* List4;
};

}  // namespace tarvex
