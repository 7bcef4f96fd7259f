#pragma once
// "Service DNC": the lines of the machines' controls, served all at once
// while the rest of the program goes on. Not modal; closing it only hides
// it, the service runs on behind.

#include "platform/fenetre.h"
#include "platform/services.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <vector>

namespace tarvex {

class Selectphase;

namespace dnc {
class LigneService;
}

class ServiceDNC : public plateforme::Fenetre, public plateforme::Occupation::Detenteur {
    Q_OBJECT
public:
    explicit ServiceDNC(Selectphase& principale);
    ~ServiceDNC() override;

    // Starts the service as Demarrer does, and remembers it on this computer.
    void demarrer();
    void arreter();
    bool actif() const { return actif_; }

    // A manual transfer on COMn (Occupation).
    void ceder(int numero) override;
    void reprendre(int numero) override;

    QTableWidget* Lignes;
    QLineEdit* Delai;
    QPushButton* Demarrer;
    QPushButton* Arreter;
    QPushButton* Recus;

private:
    // The rows as machine.txt and the com.txt files say now.
    void lireLignes();
    int delai() const;
    void afficher();
    void ouvrirRecus();

    Selectphase& principale_;
    std::vector<dnc::LigneService*> lignes_;
    bool actif_ = false;
};

}  // namespace tarvex
