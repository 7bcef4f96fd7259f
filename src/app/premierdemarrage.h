#pragma once
// The window of a first start: the working folder holds no data folder yet,
// and the operator chooses what it starts with — a new empty data folder
// guarded by a code of the workshop's choice, a copy of the demonstration
// data, or nothing at all. Nothing is written before "Créer". A data folder
// without its index (made by hand, half copied) is offered the same choices,
// to complete it: its own files stay as they are, its code too.

#include "platform/controles.h"
#include "platform/fenetre.h"
#include "platform/services.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tarvex {

class PremierDemarrage : public plateforme::Fenetre {
    Q_OBJECT
public:
    // `travail`: the working folder; `livraison`: the empty data folder
    // delivered with the program (its pictures and placeholders); `demo`: the
    // demonstration data folder.
    PremierDemarrage(plateforme::Services& services, const QString& travail, const QString& livraison,
                     const QString& demo);

    // True once a data folder was made; false when the operator quit.
    bool cree() const { return cree_; }

    QLabel* Label1;
    plateforme::Cadre* Frame1;
    QRadioButton* Option1;
    QLabel* Label2;
    QLineEdit* Text1;
    QLabel* Label3;
    QLineEdit* Text2;
    QRadioButton* Option2;
    QPushButton* Creer;
    QPushButton* Quitter;

private:
    void choisir();
    void creer();

    plateforme::Services& services_;
    QString travail_, livraison_, demo_;
    bool completer_ = false;   // data is there, without its index
    bool codeGarde_ = false;   // ... and with its code.tvx: no code is asked
    bool cree_ = false;
};

}  // namespace tarvex
