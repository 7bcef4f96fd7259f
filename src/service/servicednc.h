#pragma once
// "Service DNC": the lines of the machines' controls, served all at once
// while the rest of the program goes on. Not modal, and not kept above the
// main window: it stays open all day beside it. Closing it only hides it,
// the service runs on behind.

#include "platform/fenetre.h"
#include "platform/services.h"
#include "service/rangement.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include <vector>

namespace tarvex {

class Principale;

namespace dnc {
class LigneService;
}

class ServiceDNC : public plateforme::Fenetre, public plateforme::Occupation::Detenteur {
    Q_OBJECT
public:
    explicit ServiceDNC(Principale& principale);
    ~ServiceDNC() override;

    // Starts the service as Demarrer does, and remembers it on this computer.
    void demarrer();
    void arreter();
    // The program ends: every line stopped as Arreter does, everything kept
    // written to disk; the service is remembered as it ran, for the next start.
    void terminer();
    bool actif() const { return actif_; }

    // A manual transfer on COMn (Occupation).
    void ceder(int numero) override;
    void reprendre(int numero) override;

    QTableWidget* Lignes;
    QSpinBox* Delai;
    QPushButton* Demarrer;
    QPushButton* Arreter;
    QPushButton* Recus;
    QLabel* NonServies;  // the machines no row serves, and why

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    // The rows as machine.txt and the com.txt files say now.
    void lireLignes();
    void afficher();
    void ouvrirRecus();
    // "Dernier événement" of each row as the journal kept it.
    void relireDerniers(int numero = 0);

    plateforme::Services& services_;
    Principale& principale_;
    dnc::Rangement rangement_;
    std::vector<dnc::LigneService*> lignes_;
    bool actif_ = false;
    QSize taille_;  // as designed: what the window grows from
};

}  // namespace tarvex
