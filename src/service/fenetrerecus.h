#pragma once
// "Programmes reçus": what the controls sent the DNC service, newest first,
// followed while the window is open. A program is compared with a sheet of
// its port's machines (the one it names is proposed), and put into it there
// at the operator's word; never by itself.

#include "platform/ancrage.h"
#include "platform/controles.h"
#include "platform/fenetre.h"
#include "service/recus.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <map>
#include <string>
#include <vector>

namespace tarvex {

class Principale;

class FenetreRecus : public plateforme::Fenetre {
    Q_OBJECT
public:
    FenetreRecus(QWidget* parent, Principale& principale);

    QListWidget* List1;
    QLabel* Label1;
    QComboBox* Fiche;
    QPushButton* Comparer;
    QPushButton* Supprimer;
    QPushButton* quitter;

    plateforme::Minuterie* Suivi;  // looks for programs stored or removed since

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    // The list read anew; the program shown and the sheet chosen stay as
    // they were while they are still there.
    void remplir();
    // Another program chosen: the sheets of the machines on its port, the
    // one it names proposed.
    void choisi();
    void montrerFiches(const QString& garder);
    void comparer();
    void supprimer();
    void suivre();
    const recus::Recu* courant() const;

    Principale& principale_;
    std::vector<recus::Recu> recus_;
    std::string affiche_;  // the program whose sheets Fiche lists
    plateforme::Ancrage ancrage_;
    // The machines of each port the service serves, as its rows show them.
    std::map<std::string, std::vector<std::string>> machines_;
};

}  // namespace tarvex
