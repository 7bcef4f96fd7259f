#include "journal/fenetrejournal.h"

#include "journal/journal.h"
#include "platform/construction.h"

namespace tarvex {

using namespace plateforme;

FenetreJournal::FenetreJournal(QWidget* parent, Services& services)
    : Fenetre(parent, QStringLiteral("Journal"), QStringLiteral("Journal des transferts"), 12000, 7200),
      services_(services)
{
    Label1 = etiquette(this, "Label1", "Filtre", 120, 165, 600);
    Filtre = avecBulle(creer<QLineEdit>(this, "Filtre", 780, 120, 6000, 315),
                       "Les transferts dont la ligne contient tous les mots tapés");
    Nombre = etiquette(this, "Nombre", "", 6960, 165, 2400);
    List1 = creer<QListWidget>(this, "List1", 120, 540, 11760, 5940);
    quitter = bouton(this, "quitter", "Fermer", 10665, 6600);

    connect(Filtre, &QLineEdit::textChanged, this, &FenetreJournal::filtrer);
    connect(quitter, &QPushButton::clicked, this, &QWidget::hide);
}

void FenetreJournal::charger()
{
    const Lu<std::vector<std::string>> lu = journal::lire();
    lignes_ = lu.valeur;
    if (!lu.ok())
        services_.messages->afficher(this, QStringLiteral("Le journal des transferts n'a pas pu être lu en entier."),
                                     QStringLiteral("Journal"), Icone::Exclamation, Boutons::Ok,
                                     QString::fromStdString(joindreProblemes(lu.problemes)));
    filtrer();
}

void FenetreJournal::filtrer()
{
    const std::string filtre = Filtre->text().toStdString();
    List1->clear();
    for (const std::string& l : lignes_)
        if (journal::correspond(l, filtre)) List1->addItem(QString::fromStdString(l));
    const int n = List1->count();
    Nombre->setText(n == 1 ? QStringLiteral("%1 transfert").arg(n) : QStringLiteral("%1 transferts").arg(n));
}

}  // namespace tarvex

#include "mainwindow/selectphase.h"

namespace tarvex {

void Selectphase::ouvrirJournal()
{
    FenetreJournal journal(this, services_);
    journal.charger();
    services_.fenetres->afficherModal(&journal);
}

}  // namespace tarvex
