#pragma once
// The splash window shown at start-up, and again as the about box.

#include "platform/controles.h"
#include "platform/fenetre.h"

namespace tarvex {

class Demarrage : public plateforme::Fenetre {
    Q_OBJECT
public:
    explicit Demarrage(QWidget* parent);

    plateforme::Cadre* Frame1;
    plateforme::Image* Image2;
    plateforme::Etiquette* lblVersion;
    plateforme::Etiquette* lblCompany;
    plateforme::Etiquette* Label1;
    plateforme::Etiquette* Label2;
    plateforme::Etiquette* Label4;
    plateforme::Etiquette* Label3;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

}  // namespace tarvex
