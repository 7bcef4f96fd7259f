#include "recus/fenetrerecus.h"

#include "archives/fenetrecomparaison.h"
#include "mainwindow/selectphase.h"
#include "platform/construction.h"
#include "service/demande.h"
#include "service/lignes.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/index.h"

#include <QStringList>

#include <algorithm>

namespace tarvex {

using namespace plateforme;

namespace {

QString deuxChiffres(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

QString quand(const archives::Instant& i)
{
    return QStringLiteral("%1/%2/%3 %4:%5:%6")
        .arg(deuxChiffres(i.jour), deuxChiffres(i.mois))
        .arg(i.annee)
        .arg(deuxChiffres(i.heure), deuxChiffres(i.minute), deuxChiffres(i.seconde));
}

QString trimmed(const std::string& s) { return QString::fromStdString(s).trimmed(); }

}  // namespace

FenetreRecus::FenetreRecus(QWidget* parent, Selectphase& principale)
    : Fenetre(parent, QStringLiteral("Recus"), QStringLiteral("Programmes reçus"), 11400, 6600),
      principale_(principale)
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

    connect(List1, &QListWidget::currentRowChanged, this, &FenetreRecus::choisi);
    connect(List1, &QListWidget::itemClicked, this, &FenetreRecus::choisi);
    connect(Comparer, &QPushButton::clicked, this, &FenetreRecus::comparer);
    connect(Supprimer, &QPushButton::clicked, this, &FenetreRecus::supprimer);
    connect(quitter, &QPushButton::clicked, this, &QWidget::hide);
    remplir();
}

void FenetreRecus::remplir()
{
    const Lu<std::vector<recus::Recu>> lu = recus::lister();
    recus_ = lu.valeur;
    if (!lu.ok())
        principale_.services().messages->afficher(this, QStringLiteral("Des programmes reçus n'ont pas pu être lus."),
                                                  QStringLiteral("Programmes reçus"), Icone::Exclamation,
                                                  Boutons::Ok, QString::fromStdString(joindreProblemes(lu.problemes)));
    machines_.clear();
    for (const dnc::LigneDNC& l : dnc::lignesDNC().valeur) machines_[l.port] = l.machines;
    List1->clear();
    for (const recus::Recu& r : recus_) {
        QStringList machines;
        for (const std::string& m : machines_[r.port]) machines << QString::fromStdString(m);
        QStringList champs = {quand(r.quand), QString::fromStdString(r.port), machines.join(QStringLiteral(" / ")),
                              QString::fromStdString(r.premiereLigne),
                              r.lignes == 1 ? QStringLiteral("1 ligne") : QStringLiteral("%1 lignes").arg(r.lignes)};
        if (!r.complet) champs << QStringLiteral("incomplet");
        List1->addItem(champs.join(QStringLiteral(" | ")));
    }
    if (!recus_.empty()) List1->setCurrentRow(0);
    choisi();
}

const recus::Recu* FenetreRecus::courant() const
{
    const int i = List1->currentRow();
    return i >= 0 && i < static_cast<int>(recus_.size()) ? &recus_[static_cast<std::size_t>(i)] : nullptr;
}

void FenetreRecus::choisi()
{
    Fiche->clear();
    const recus::Recu* r = courant();
    if (r) {
        std::vector<QString> machines;
        for (const std::string& m : machines_[r->port]) machines.push_back(trimmed(m).toUpper());
        for (const Enregistrement& e : lireIndex().valeur.enregistrements) {
            if (std::find(machines.begin(), machines.end(), trimmed(e[CMachine]).toUpper()) == machines.end()) continue;
            Fiche->addItem(QString::fromStdString(dnc::nomFiche(e)), QString::fromStdString(nomdossierEnregistrement(e)));
        }
    }
    Comparer->setEnabled(r && Fiche->count() > 0);
    Supprimer->setEnabled(r != nullptr);
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
    Comparaison c(this, principale_, Fiche->currentData().toString().toStdString(), QByteArray::fromStdString(*octets),
                  Comparaison::Mode::Recu);
    principale_.services().fenetres->afficherModal(&c);
}

void FenetreRecus::supprimer()
{
    const recus::Recu* r = courant();
    if (!r) return;
    const Resultat res = recus::archiver(r->chemin);
    if (!res.ok())
        principale_.services().messages->afficher(this, QStringLiteral("Le programme reçu n'a pas été rangé."),
                                                  QStringLiteral("Programmes reçus"), Icone::Exclamation,
                                                  Boutons::Ok, QString::fromStdString(joindreProblemes(res.problemes)));
    remplir();
}

}  // namespace tarvex
