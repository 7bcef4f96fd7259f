#pragma once
// The direction of a program file transfer: sending a file from disk to the
// CNC, or receiving one from it.

#include "platform/controles.h"
#include "platform/fenetre.h"

#include <QPushButton>
#include <QRadioButton>

namespace tarvex {

class Principale;
class Selecttelechargementprogramme;

class Selecttelechargement : public plateforme::Fenetre {
    Q_OBJECT
public:
    explicit Selecttelechargement(Principale& principale);

    // The load handler, at every opening: sending is proposed first.
    void charger();

    plateforme::Cadre* Frame13;
    QRadioButton* Option1;  // sending
    QRadioButton* Option2;  // receiving
    QPushButton* Command1;
    QPushButton* CmdQuitter;

private:
    void valider();
    void emettre();
    void recevoir();

    Principale& principale_;
    Selecttelechargementprogramme* emission_ = nullptr;  // loaded at its first use, then kept
};

}  // namespace tarvex
