#pragma once
// "Info Machine": a machine's file, one line per item. The main window and
// the sheet creation window each have theirs (under their own names, reading
// the numbers their own way); the window itself is this one.

#include "platform/controles.h"
#include "platform/fenetre.h"
#include "store/probleme.h"

#include <QListWidget>

#include <string>
#include <vector>

namespace tarvex {

class FenetreDossierMachine : public plateforme::Fenetre {
    Q_OBJECT
public:
    plateforme::Cadre* Frame4;
    QListWidget* List4;

protected:
    FenetreDossierMachine(QWidget* parent, const QString& nom);

    // The lines read, and what could not be read.
    Problemes afficher(const Lu<std::vector<std::string>>& lu);
};

}  // namespace tarvex
