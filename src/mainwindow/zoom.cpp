#include "mainwindow/zoom.h"

#include "mainwindow/selectphase.h"
#include "platform/cadrerimage.h"
#include "platform/construction.h"

#include <QKeyEvent>

namespace tarvex {

using namespace plateforme;

namespace {

constexpr int kCadreLargeur = 8295;
constexpr int kCadreHauteur = 8055;
constexpr int kLimiteZoom = 7500;

}  // namespace

Zoom::Zoom(Selectphase& principale)
    : Fenetre(&principale, QStringLiteral("Zoom"), QStringLiteral("Zoom"), kCadreLargeur + 240, kCadreHauteur + 180),
      principale_(principale)
{
    Frame1 = cadre(this, "Frame1", "", 120, 60, kCadreLargeur, kCadreHauteur);
    Image1 = avecBulle(image(Frame1, "Image1"), "Cliquer sur l'image pour revenir à l'écran principal");
    Image2 = imageNaturelle(this, "Image2");

    // Wherever the operator clicks, the main window comes back.
    for (Image* i : {Image1, Image2}) connect(i, &Image::clique, this, &QWidget::hide);
    connect(Frame1, &Cadre::clique, this, &QWidget::hide);
}

bool Zoom::charger()
{
    chemin_.clear();
    option_.clear();
    const QString dossier = principale_.dossierFiche();
    for (const auto& o : principale_.optionsPhotos()) {
        if (!o.bouton->isChecked()) continue;
        chemin_ = dossier + QString::fromUtf8(o.fichier);
        option_ = o.bouton->text();
        setWindowTitle(principale_.Phase->currentText() + QStringLiteral(" - ") + option_);
        break;
    }
    return cadrerimage(*principale_.services().images, chemin_, Image2, Image1, Frame1, kLimiteZoom);
}

void Zoom::keyPressEvent(QKeyEvent* e)
{
    e->accept();
    hide();
}

}  // namespace tarvex
