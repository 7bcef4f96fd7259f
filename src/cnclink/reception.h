#pragma once
// Receiving a program that the CNC sends, until its end-of-transmission
// character, and saving it.

#include "platform/controles.h"
#include "platform/fenetre.h"
#include "platform/services.h"

#include <QByteArray>
#include <QPlainTextEdit>
#include <QPushButton>

#include <string>

namespace tarvex {

class Principale;

class Selecttelechargementsauve : public plateforme::Fenetre {
    Q_OBJECT
public:
    explicit Selecttelechargementsauve(Principale& principale);
    ~Selecttelechargementsauve() override;

    // The load handler: the port opened with the main window's settings,
    // waiting for the CNC.
    void charger();

    // The received program, byte for byte as it came (less the DC3s once
    // complete): what Enregistrer writes. Programme shows it, but a text box
    // cannot keep a lone CR or a CR LF apart from a line break.
    const QByteArray& recu() const { return recu_; }

    plateforme::Cadre* Frame2;
    QPlainTextEdit* Programme;
    QPushButton* Enregistrer;
    QPushButton* Annuler;
    QPushButton* quitter;
    QPushButton* Comparer;  // the received program against the selected sheet's
    plateforme::PortSerie* MSComm1;

protected:
    void hideEvent(QHideEvent* e) override;

private:
    void evenement(int code);
    void recevoir();
    void remplacer(const QByteArray& octets);
    void enregistrer();
    void comparer();
    // The reception's line in the transfer journal: `surLaLigne_` is what
    // came, DC3s and dropped characters included, whatever the text became.
    void noter(const std::string& resultat, const QString& objet);

    Principale& principale_;
    QByteArray recu_;
    // A line or buffer event met since the port was opened: what came is
    // shown, but it is not the CNC's program and must not go into a sheet.
    bool incident_ = false;
    int evenement_ = 0;     // the number of the last such event's message, for the journal
    QByteArray surLaLigne_;
    long long debut_ = 0;   // the clock's instant the port was opened at
};

// The message that replaces the received text for a line or buffer event of
// the serial component; null for the codes that have none.
QString messageEvenement(int code);

// The name the save dialog proposes for a received program: its number when
// the text starts with one ("%1234" gives "1234.txt", "%" then "O1020" gives
// "O1020.txt"), otherwise "programme.txt".
QString nomPropose(const QByteArray& programme);

}  // namespace tarvex
