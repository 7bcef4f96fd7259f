#pragma once
// Every window within the screen, at any scaling. The windows keep the sizes
// and positions they were designed with; one larger than the screen's free
// area (a 1366x768 screen at 200 % is 683x384 logical pixels, the main
// window 1096x684) shows its controls in a scrolling area instead, so that
// every command stays within reach, and a window whose title would not fit
// its title bar is widened by what the title lacks.

#include <QObject>

class QWidget;

namespace tarvex::plateforme {

// Fits `fenetre` (a top-level window about to be shown) to the free area of
// its screen. Does nothing to a window that fits.
void tenirDansEcran(QWidget* fenetre);

// Watches every top-level window shown by the application and fits it.
class TenueEcran : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* objet, QEvent* evenement) override;
};

}  // namespace tarvex::plateforme
