#pragma once
// "Reprise": a sheet's program started again at a line of its listing, after
// a broken tool. The restart program is shown whole, with what its first
// lines do, before anything goes: sent only on Envoyer, through the sending
// of PC - CN, on the port of the sheet's machine. Not modal: the toolpath
// behind it shows the approach, that the operator may look at closer.

#include "cnclink/liaison.h"
#include "cnclink/transmission.h"
#include "journal/consigner.h"
#include "platform/fenetre.h"
#include "platform/principale.h"
#include "platform/services.h"

#include <QCheckBox>
#include <QColor>
#include <QLabel>
#include <QListView>
#include <QPushButton>

#include <string>
#include <vector>

namespace tarvex {

// The approach's colour, in the listing and on the toolpath: none of the tools' own.
QColor couleurApproche();

struct RepriseAMontrer {
    QString titre;                    // "Reprise - Boîtier Phase 60 - N140"
    std::string objet;                // the journal's: "Boîtier Phase 60 Bâti N140" (UTF-8)
    std::string machine;              // the sheet's machine
    Enregistrement champs;            // the sheet's record: its status is read again at Envoyer
    ReglagesPort reglages;            // its port and settings
    std::vector<std::string> lignes;  // the restart program, Windows-1252, without line ends
    std::string explication;          // UTF-8
    int debutApproche = 0, finApproche = 0;  // its approach's lines: [debut, fin)
    EmpreintesFiche vue;              // the sheet as the program and the blocks were read
};

class FenetreReprise : public plateforme::Fenetre {
    Q_OBJECT
public:
    FenetreReprise(QWidget* parent, Principale& principale, RepriseAMontrer reprise);

    QListView* Listing;
    QLabel* Explication;
    QCheckBox* Continu;
    QPushButton* Envoyer;
    QPushButton* Imprimer;
    QPushButton* Fermer;
    plateforme::PortSerie* MSComm1;

signals:
    void fermee();  // Fermer, Escape or the title bar: the approach leaves the toolpath

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void envoyer();
    // Ordinary or, ticked "En continu", drip-fed; noted in the journal.
    liaison::Envoi transmettre(journal::Transfert& note);
    void imprimer();
    // Within the screen it opens on, whatever its scaling.
    void placer(QWidget* parent);

    Principale& principale_;  // its progress bar follows the sending, as for every transfer
    const RepriseAMontrer reprise_;
};

// Opens it above `parent` (the toolpath window), deleted once closed.
FenetreReprise* ouvrirReprise(QWidget* parent, Principale& principale, RepriseAMontrer reprise);

}  // namespace tarvex
