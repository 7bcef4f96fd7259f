#include "platform/fenetre.h"

#include "platform/controles.h"

#include <QAbstractButton>
#include <QCloseEvent>

namespace tarvex::plateforme {

Fenetre::Fenetre(QWidget* parent, const QString& nom, const QString& titre, int largeurTwips, int hauteurTwips)
    : QDialog(parent)
{
    setObjectName(nom);
    setWindowTitle(titre);
    setFixedSize(px(largeurTwips), px(hauteurTwips));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void Fenetre::reject()
{
    for (const char* nom : {"quitter", "CmdQuitter"}) {
        for (auto* b : findChildren<QAbstractButton*>(QLatin1String(nom))) {
            // A window this one owns has buttons of the same names.
            if (b->window() != this) continue;
            if (b->isVisibleTo(this) && b->isEnabled()) b->click();
            return;
        }
    }
    // Without one, as the title bar's close button.
    close();
}

void Fenetre::closeEvent(QCloseEvent* e)
{
    e->accept();
    hide();
}

Vumetre::Vumetre(QWidget* parent) : QProgressBar(parent)
{
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
    connect(this, &QProgressBar::valueChanged, this, [this](int v) {
        // Kept for the checks of a test; bounded, for a program that runs all day.
        if (historique.size() >= 10000) historique.remove(0, 5000);
        historique.append(v);
    });
}

}  // namespace tarvex::plateforme
