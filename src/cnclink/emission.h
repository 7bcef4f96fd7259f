#pragma once
// Sending a program file picked on disk to the CNC, as it stands.

#include "platform/controles.h"
#include "platform/fenetre.h"
#include "platform/listes.h"
#include "platform/selecteur.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tarvex {

class Principale;

class Selecttelechargementprogramme : public plateforme::Fenetre, public CadresSelecteur {
    Q_OBJECT
public:
    explicit Selecttelechargementprogramme(Principale& principale);
    ~Selecttelechargementprogramme() override;

    plateforme::PortSerie* MSComm1;
    // Drip-feed: a program larger than the control's memory, run as it comes.
    QCheckBox* Continu;

private:
    void montrerFichier();
    void envoyer();

    Principale& principale_;
};

}  // namespace tarvex
