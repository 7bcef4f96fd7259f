#include "journal/fenetrejournal.h"

#include "journal/modelejournal.h"
#include "platform/construction.h"

#include <QHeaderView>
#include <QResizeEvent>

namespace tarvex {

using namespace plateforme;

namespace {

constexpr int kLargeur = 12000, kHauteur = 7200;  // twips, the smallest the window is
constexpr int kSuiviMs = 1000;

}  // namespace

FenetreJournal::FenetreJournal(QWidget* parent, Services& services)
    : Fenetre(parent, QStringLiteral("Journal"), QStringLiteral("Journal des transferts"), kLargeur, kHauteur),
      services_(services)
{
    // A journal of a few months holds more than its smallest window shows.
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    Label1 = etiquette(this, "Label1", "Filtre", 120, 165, 600);
    Filtre = avecBulle(creer<QLineEdit>(this, "Filtre", 780, 120, 6000, 315),
                       "Les transferts dont la ligne contient tous les mots tapés");
    Nombre = etiquette(this, "Nombre", "", 6960, 165, 2400);
    List1 = creer<QTableView>(this, "List1", 120, 540, 11760, 5940);
    quitter = bouton(this, "quitter", "Fermer", 10665, 6600);
    Suivi = nommer(new Minuterie(this), "Suivi");

    modele_ = new ModeleJournal(lignes_, this);
    List1->setModel(modele_);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setSelectionBehavior(QAbstractItemView::SelectRows);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab goes on to Fermer instead of from cell to cell.
    List1->setTabKeyNavigation(false);
    List1->setWordWrap(false);
    List1->setColumnHidden(journal::kCrc, true);
    // Rows of one height and columns of set widths: nothing is measured
    // over the 100,000 lines of a long journal.
    List1->verticalHeader()->hide();
    List1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    List1->verticalHeader()->setDefaultSectionSize(List1->fontMetrics().height() + 6);
    static constexpr int kColonnes[] = {1050, 850, 1000, 650, 1400, 1400, 0, 800, 650, 1100, 1000};
    for (int c = 0; c < static_cast<int>(std::size(kColonnes)); ++c)
        if (kColonnes[c] > 0) List1->setColumnWidth(c, px(kColonnes[c]));
    List1->horizontalHeader()->setSectionResizeMode(journal::kObjet, QHeaderView::Stretch);
    List1->horizontalHeader()->setHighlightSections(false);

    connect(Filtre, &QLineEdit::textChanged, this, &FenetreJournal::filtrer);
    connect(quitter, &QPushButton::clicked, this, &QWidget::close);
    connect(Suivi, &Minuterie::tic, this, &FenetreJournal::suivre);
}

void FenetreJournal::charger()
{
    if (lignes_.suivre() == journal::Lignes::Suite::Illisible)
        services_.messages->afficher(this, QStringLiteral("Le journal des transferts n'a pas pu être lu en entier."),
                                     QStringLiteral("Journal"), Icone::Exclamation, Boutons::Ok,
                                     QStringLiteral("%1 : fichier illisible").arg(QString::fromUtf8(journal::kJournal)));
    filtrer();
    Suivi->demarrer(kSuiviMs);
}

void FenetreJournal::filtrer()
{
    modele_->montrer(lignes_.filtrer(Filtre->text().toStdString()));
    compter();
}

void FenetreJournal::suivre()
{
    const std::size_t avant = lignes_.taille();
    switch (lignes_.suivre()) {
    case journal::Lignes::Suite::Ajout:
        modele_->ajouterEnTete(lignes_.filtrer(Filtre->text().toStdString(), avant));
        compter();
        break;
    case journal::Lignes::Suite::Relu:
        filtrer();
        break;
    default:
        break;
    }
}

void FenetreJournal::compter()
{
    const int n = modele_->rowCount();
    Nombre->setText(n == 1 ? QStringLiteral("%1 transfert").arg(n) : QStringLiteral("%1 transferts").arg(n));
}

void FenetreJournal::resizeEvent(QResizeEvent* e)
{
    Fenetre::resizeEvent(e);
    // The table takes what the window gains; Fermer stays in its corner.
    const int l = width(), h = height();
    List1->resize(l - px(240), h - px(540 + kHauteur - 6480));
    quitter->move(l - px(kLargeur - 10665), h - px(kHauteur - 6600));
}

}  // namespace tarvex

#include "platform/principale.h"

namespace tarvex {

void ouvrirJournal(QWidget& parent, plateforme::Services& services)
{
    // Not modal: it stays open beside the main window, following what the
    // transfers append, while the operator goes on working; one at a time.
    auto* journal = parent.findChild<FenetreJournal*>(QString(), Qt::FindDirectChildrenOnly);
    if (!journal) {
        journal = new FenetreJournal(&parent, services);
        journal->setAttribute(Qt::WA_DeleteOnClose);
        journal->setWindowModality(Qt::NonModal);
        journal->charger();
    }
    journal->show();
    journal->raise();
    journal->activateWindow();
}

}  // namespace tarvex
