#include "service/fenetrerecus.h"

#include "archives/fenetrecomparaison.h"
#include "platform/construction.h"
#include "platform/instant.h"
#include "platform/principale.h"
#include "service/demande.h"
#include "service/lignes.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/liste.h"

#include <QStringList>

#include <algorithm>

namespace tarvex {

using namespace plateforme;

namespace {

QString trimmed(const std::string& s) { return QString::fromStdString(s).trimmed(); }

// How often the window looks for programs the service stored since.
constexpr int kSuiviMs = 2000;

}  // namespace

FenetreRecus::FenetreRecus(QWidget* parent, Principale& principale)
    : Fenetre(parent, QStringLiteral("Recus"), QStringLiteral("Programmes reçus"), 11400, 6600),
      principale_(principale), ancrage_(this)
{
    List1 = creer<QListWidget>(this, "List1", 120, 120, 11160, 4800);
    Label1 = etiquette(this, "Label1", "Fiche", 120, 5085, 600);
    Fiche = avecBulle(creer<QComboBox>(this, "Fiche", 780, 5040, 5400, 315),
                      "Les fiches des machines de ce port");
    Comparer = avecBulle(bouton(this, "Comparer", "Comparer à la fiche", 6360, 5010, 2160),
                         "Comparer le programme reçu à celui de la fiche, et l'y mettre");
    Supprimer = avecBulle(bouton(this, "Supprimer", "Supprimer", 8640, 5010, 1440),
                          "Ranger le programme reçu dans les archives");
    quitter = bouton(this, "quitter", "Fermer", 9840, 5940, 1440);
    Suivi = new Minuterie(this);
    Suivi->setObjectName(QStringLiteral("Suivi"));
    ancrage_.ancrer(List1, 0, 0, 1, 1).ancrer(Label1, 0, 1, 0, 0).ancrer(Fiche, 0, 1, 1, 0);
    for (QWidget* w : {Comparer, Supprimer, quitter}) ancrage_.ancrer(w, 1, 1, 0, 0);

    connect(List1, &QListWidget::currentRowChanged, this, &FenetreRecus::choisi);
    connect(List1, &QListWidget::itemClicked, this, &FenetreRecus::choisi);
    connect(Fiche, &QComboBox::currentIndexChanged, this,
            [this] { Comparer->setEnabled(courant() && Fiche->currentIndex() >= 0); });
    connect(Comparer, &QPushButton::clicked, this, &FenetreRecus::comparer);
    connect(Supprimer, &QPushButton::clicked, this, &FenetreRecus::supprimer);
    connect(quitter, &QPushButton::clicked, this, &QWidget::close);
    connect(Suivi, &Minuterie::tic, this, &FenetreRecus::suivre);
    remplir();
    Suivi->demarrer(kSuiviMs);
}

void FenetreRecus::resizeEvent(QResizeEvent* e)
{
    Fenetre::resizeEvent(e);
    ancrage_.suivre();
}

void FenetreRecus::remplir()
{
    const int rang = List1->currentRow();
    const QString ficheChoisie = Fiche->currentIndex() >= 0 ? Fiche->currentData().toString() : QString();
    const Lu<std::vector<recus::Recu>> lu = recus::lister();
    recus_ = lu.valeur;
    if (!lu.ok())
        principale_.services().messages->afficher(this, QStringLiteral("Des programmes reçus n'ont pas pu être lus."),
                                                  QStringLiteral("Programmes reçus"), Icone::Exclamation,
                                                  Boutons::Ok, QString::fromStdString(joindreProblemes(lu.problemes)));
    machines_.clear();
    for (const dnc::LigneDNC& l : dnc::lignesDNC().valeur) machines_[l.port] = l.machines;
    const QSignalBlocker bloque(List1);
    List1->clear();
    int garde = -1;
    for (const recus::Recu& r : recus_) {
        QStringList machines;
        for (const std::string& m : machines_[r.port]) machines << QString::fromStdString(m);
        QStringList champs = {archives::dateDe(r.quand) + ' ' + archives::heureDe(r.quand),
                              QString::fromStdString(r.port), machines.join(QStringLiteral(" / ")),
                              QString::fromStdString(r.premiereLigne),
                              r.lignes == 1 ? QStringLiteral("1 ligne") : QStringLiteral("%1 lignes").arg(r.lignes)};
        if (!r.complet) champs << QStringLiteral("incomplet");
        QStringList fiches;
        for (const std::string& f : r.fiches) fiches << QString::fromStdString(f);
        if (!fiches.isEmpty()) champs << QStringLiteral("→ ") + fiches.join(QStringLiteral(", "));
        if (r.chemin == affiche_) garde = List1->count();
        List1->addItem(champs.join(QStringLiteral(" | ")));
    }
    // The program shown stays shown; one gone leaves its place to the next.
    if (garde < 0 && !recus_.empty()) garde = std::clamp(rang, 0, static_cast<int>(recus_.size()) - 1);
    List1->setCurrentRow(garde);
    const recus::Recu* r = courant();
    affiche_ = r ? r->chemin : std::string();
    montrerFiches(ficheChoisie);
}

const recus::Recu* FenetreRecus::courant() const
{
    const int i = List1->currentRow();
    return i >= 0 && i < static_cast<int>(recus_.size()) ? &recus_[static_cast<std::size_t>(i)] : nullptr;
}

void FenetreRecus::choisi()
{
    const recus::Recu* r = courant();
    // A click on the program already shown keeps the sheet the operator chose.
    if (r && r->chemin == affiche_) return;
    affiche_ = r ? r->chemin : std::string();
    montrerFiches(QString());
}

void FenetreRecus::montrerFiches(const QString& garder)
{
    const QSignalBlocker bloque(Fiche);
    Fiche->clear();
    const recus::Recu* r = courant();
    if (r) {
        const std::vector<std::string>& machinesPort = machines_[r->port];
        std::vector<QString> machines;
        for (const std::string& m : machinesPort) machines.push_back(trimmed(m).toUpper());
        const Index index = lireIndex().valeur;
        for (const Enregistrement& e : index.enregistrements) {
            if (std::find(machines.begin(), machines.end(), trimmed(e[CMachine]).toUpper()) == machines.end()) continue;
            Fiche->addItem(QString::fromStdString(nomComplet(e)), QString::fromStdString(nomdossierEnregistrement(e)));
        }
        int choix = garder.isEmpty() ? -1 : Fiche->findData(garder);
        if (choix < 0) {
            const auto propose =
                recus::ficheProposee(fichiers::lire(r->chemin).value_or(std::string()), index, machinesPort);
            if (propose)
                choix = Fiche->findData(QString::fromStdString(nomdossierEnregistrement(index.enregistrements[*propose])));
        }
        // None proposed: the operator chooses, Comparer waits for it.
        Fiche->setCurrentIndex(choix);
    }
    Comparer->setEnabled(r && Fiche->currentIndex() >= 0);
    Supprimer->setEnabled(r != nullptr);
}

void FenetreRecus::suivre()
{
    std::vector<std::string> vus;
    for (const recus::Recu& r : recus_) vus.push_back(r.chemin);
    if (recus::chemins() != vus) remplir();
}

void FenetreRecus::comparer()
{
    const recus::Recu* r = courant();
    if (!r || Fiche->currentIndex() < 0) return;
    const std::optional<std::string> octets = fichiers::lire(r->chemin);
    if (!octets) {
        principale_.services().messages->afficher(this, QStringLiteral("Le programme reçu n'a pas pu être lu."),
                                                  QStringLiteral("Programmes reçus"), Icone::Exclamation,
                                                  Boutons::Ok, QString::fromStdString(r->chemin));
        return;
    }
    // The list may be read anew while the comparison is open: what is needed
    // afterwards is taken now.
    const std::string chemin = r->chemin;
    const std::string fiche = Fiche->currentText().toStdString();
    Comparaison c(this, principale_, Fiche->currentData().toString().toStdString(), QByteArray::fromStdString(*octets),
                  Comparaison::Mode::Recu, QStringLiteral("Programme reçu"),
                  Comparaison::Provenance{r->quand, QString::fromStdString(r->port), r->complet});
    principale_.services().fenetres->afficherModal(&c);
    if (!c.aRemplace()) return;
    // Only the row's mark is lost if this fails: the sheet has its program.
    (void)recus::noterRemplacement(chemin, fiche);
    remplir();
}

void FenetreRecus::supprimer()
{
    const recus::Recu* r = courant();
    if (!r) return;
    Messages& messages = *principale_.services().messages;
    const QString question = QStringLiteral("Ranger le programme reçu le %1 à %2 (%3) dans les archives ?")
                                 .arg(archives::dateDe(r->quand), archives::heureDe(r->quand),
                                      QString::fromStdString(r->port));
    const std::string chemin = r->chemin;  // the list may be read anew while the question waits
    if (messages.afficher(this, question, QStringLiteral("Confirmation"), Icone::Question, Boutons::OuiNon) !=
        Reponse::Oui)
        return;
    const Resultat res = recus::archiver(chemin);
    if (!res.ok())
        messages.afficher(this, QStringLiteral("Le programme reçu n'a pas été rangé."),
                          QStringLiteral("Programmes reçus"), Icone::Exclamation, Boutons::Ok,
                          QString::fromStdString(joindreProblemes(res.problemes)));
    remplir();
}

}  // namespace tarvex
