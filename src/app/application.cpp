#include "app/application.h"

#include "mainwindow/selectphase.h"

#include <QApplication>
#include <QFont>
#include <QLocale>
#include <QStyleFactory>

// The pictures built into the program live in a static library: they must be
// registered by hand.
static void initialiserRessources() { Q_INIT_RESOURCE(tarvex); }

namespace tarvex {

Programme::Programme(plateforme::Services& services) : services_(services) {}

Programme::~Programme() = default;

void Programme::demarrer()
{
    principale_ = std::make_unique<Selectphase>(services_);
    principale_->charger();
    principale_->show();
}

void preparerApplication()
{
    initialiserRessources();
    QApplication::setApplicationName(QStringLiteral("Tarvex"));
    QApplication::setApplicationVersion(QStringLiteral("2.01"));
    // One look on every system, with the button-face grey the windows were designed with.
    if (auto* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
    QApplication::setPalette(QApplication::style()->standardPalette());
    // The windows are laid out in twips for an 8-point dialog font.
    QFont police = QApplication::font();
    police.setPointSize(8);
    QApplication::setFont(police);
}

}  // namespace tarvex
