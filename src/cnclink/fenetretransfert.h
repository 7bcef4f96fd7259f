#pragma once
// The window a transfer runs under: lines gone out of the total, the time
// left, what the line is doing, and the button that stops it. Shown while
// the program goes out (Fenetres::montrer), it follows what has left the PC
// and not merely what was written to the port.

#include "cnclink/suivi.h"
#include "platform/fenetre.h"
#include "platform/services.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <string_view>

namespace tarvex {

class FenetreTransfert : public plateforme::Fenetre {
    Q_OBJECT
public:
    // `octets`: everything the transfer sends; `reglage`: the settings text
    // the port was opened with, for the rate of the line.
    FenetreTransfert(QWidget* parent, plateforme::PortSerie& port, plateforme::Horloge& horloge,
                     std::string_view octets, const QString& reglage);
    // Drip-feed: only the counts are known; `Ligne` shows the line the
    // control is at, and a held line since when.
    FenetreTransfert(QWidget* parent, plateforme::PortSerie& port, plateforme::Horloge& horloge, long long lignes,
                     long long octets, const QString& reglage);

    QLabel* Lignes;
    QLabel* Ligne = nullptr;  // drip-feed only
    QLabel* Restant;
    QLabel* Etat;
    QPushButton* Arreter;

    // Told after each write: the bytes just handed to the port.
    void ecrits(long long n);
    void ecrits(std::string_view octets);  // drip-feed
    // Reads the port again and updates the texts.
    void rafraichir();
    bool arrete() const { return arrete_; }
    int lignesParties() const { return suivi_.lignesParties(); }
    int lignesTotal() const { return suivi_.lignesTotal(); }
    const std::string& bloc() const { return suivi_.bloc(); }
    // What Arrêter does; also when the program ends under a transfer.
    void arreter();

signals:
    // Arrêter, or the title bar's close button: the port was told to drop
    // what it holds.
    void interrompu();

protected:
    // The title bar's close button stops the transfer as Arrêter does.
    void closeEvent(QCloseEvent* e) override;
    // A key pressed by mistake must not stop a program on its way to the
    // control: only "Arrêter" or the title bar's button does.
    void reject() override {}

private:
    void construire();

    plateforme::PortSerie& port_;
    plateforme::Horloge& horloge_;
    SuiviTransfert suivi_;
    long long ecrits_ = 0;
    bool arrete_ = false;
    QTimer rafraichissement_;
};

}  // namespace tarvex
