#pragma once
// The photograph chosen in the main window, shown large.

#include "platform/controles.h"
#include "platform/fenetre.h"

namespace tarvex {

class Selectphase;

class Zoom : public plateforme::Fenetre {
    Q_OBJECT
public:
    explicit Zoom(Selectphase& principale);

    // The load routine: fits the photograph of the first selected option of
    // the main window, titled after the sheet and the option. Without a
    // selected option the window stays blank, titled "Zoom". Returns false
    // when the photograph's file could not be shown (see chemin()).
    bool charger();

    // The file shown, or that was to be shown; empty without a selected option.
    const QString& chemin() const { return chemin_; }
    // The caption of the option shown; empty without a selected option.
    const QString& option() const { return option_; }

    plateforme::Cadre* Frame1;
    plateforme::Image* Image1;
    plateforme::Image* Image2;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    Selectphase& principale_;
    QString chemin_;
    QString option_;
};

}  // namespace tarvex
