#include "cnclink/emission.h"

#include "cnclink/liaison.h"
#include "journal/consigner.h"
#include "platform/construction.h"
#include "platform/principale.h"

namespace tarvex {

using namespace plateforme;

Selecttelechargementprogramme::Selecttelechargementprogramme(Principale& principale)
    : Fenetre(&principale.fenetre(), QStringLiteral("Sélecttéléchargementprogramme"),
              QStringLiteral("Emission - Sélection programme"), 9000, 6540),
      principale_(principale)
{
    construireSelecteur(this, QStringLiteral("*.txt"), Apercu::Texte, *principale.services().messages);

    Continu = choix<QCheckBox>(this, "Continu", "En continu", 3480, 6000, 1800);
    Continu->setToolTip(QStringLiteral("Programme plus grand que la mémoire de la commande numérique, "
                                       "exécuté à mesure qu'il arrive"));

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
    const std::optional<liaison::FinEnvoi> fin =
        liaison::envoyerProgramme(principale_, *MSComm1, this, {File1->chemin().toStdString(), {}, {}},
                                  Continu->isChecked(), {{}, {}, "Envoi fichier", File1->nom().toStdString(), "OK", 0});
    if (fin == liaison::FinEnvoi::Reussi) hide();
}

}  // namespace tarvex
