#include "cnclink/emission.h"

#include "cnclink/liaison.h"
#include "journal/consigner.h"
#include "platform/principale.h"

namespace tarvex {

using namespace plateforme;

Selecttelechargementprogramme::Selecttelechargementprogramme(Principale& principale)
    : Fenetre(&principale.fenetre(), QStringLiteral("Sélecttéléchargementprogramme"),
              QStringLiteral("Emission - Sélection programme"), 9000, 6540),
      principale_(principale)
{
    construireSelecteur(this, QStringLiteral("*.txt"), Apercu::Texte, *principale.services().messages);

    MSComm1 = principale.services().ports->creer(this);
    MSComm1->setObjectName(QStringLiteral("MSComm1"));

    connect(File1, &ListeFichiers::clique, this, &Selecttelechargementprogramme::montrerFichier);
    connect(Command1, &QPushButton::clicked, this, &Selecttelechargementprogramme::envoyer);
    connect(CmdQuitter, &QPushButton::clicked, this, &QWidget::hide);
}

Selecttelechargementprogramme::~Selecttelechargementprogramme() = default;

// The file goes to the CNC byte for byte: it is shown so.
void Selecttelechargementprogramme::montrerFichier() { Programme->setPlainText(apercuTexte(File1->chemin(), true)); }

void Selecttelechargementprogramme::envoyer()
{
    if (File1->nom().isEmpty()) {
        hide();
        return;
    }
    Messages& messages = *principale_.services().messages;
    if (!liaison::confirmer(messages, this)) return;

    MSComm1->regleControleFlux(PortSerie::ControleFlux::XonXoff);
    std::optional<liaison::Echec> echec = liaison::ouvrirPort(*MSComm1, principale_);
    if (!echec) {
        const long long debut = principale_.services().horloge->instant();
        const Transfert transfert = transfertFichier(File1->chemin().toStdString());
        const liaison::Envoi envoi = liaison::envoyer(transfert, *MSComm1, principale_.vumetre(),
                                                      liaison::reglage(principale_), principale_.services(), this);
        journal::consignerManuel(principale_.services(), principale_.reglagesPort().port.toStdString(), this,
                                 {{}, {}, "Envoi fichier", File1->nom().toStdString(), liaison::resultat(envoi), debut},
                                 transfert.texte());
        // Stopped, the window stays for another try.
        if (envoi.fin == liaison::FinEnvoi::Arrete) return;
        echec = envoi.echec;
        if (!echec) {
            liaison::signalerReussite(messages, this);
            hide();
            return;
        }
    }
    liaison::abandonner(*MSComm1);
    liaison::signaler(messages, this, *echec);
}

}  // namespace tarvex
