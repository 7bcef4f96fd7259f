#include "service/servicednc.h"

#include "mainwindow/selectphase.h"
#include "platform/construction.h"
#include "service/fenetrerecus.h"
#include "service/lignes.h"
#include "service/ligneservice.h"

#include <QHeaderView>

namespace tarvex {

using namespace plateforme;

ServiceDNC::ServiceDNC(Selectphase& principale)
    : Fenetre(&principale, QStringLiteral("ServiceDNC"), QStringLiteral("Service DNC"), 10200, 5160),
      principale_(principale)
{
    setWindowModality(Qt::NonModal);
    Lignes = creer<QTableWidget>(this, "Lignes", 120, 120, 9960, 3960);
    Lignes->setColumnCount(4);
    Lignes->setHorizontalHeaderLabels({QStringLiteral("Port"), QStringLiteral("Machines"), QStringLiteral("État"),
                                       QStringLiteral("Dernier événement")});
    Lignes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Lignes->setSelectionMode(QAbstractItemView::NoSelection);
    Lignes->verticalHeader()->hide();
    Lignes->horizontalHeader()->setStretchLastSection(true);
    Lignes->setColumnWidth(0, px(720));
    Lignes->setColumnWidth(1, px(3000));
    Lignes->setColumnWidth(2, px(2400));

    etiquette(this, "Label1", "Délai (secondes)", 120, 4335, 1800);
    Delai = avecBulle(creer<QLineEdit>(this, "Delai", 1980, 4290, 600, 315),
                      "Le temps de mettre la commande numérique en réception");
    Delai->setText(QStringLiteral("5"));
    Demarrer = bouton(this, "Demarrer", "Démarrer le service", 2880, 4260, 2160);
    Arreter = bouton(this, "Arreter", "Arrêter le service", 5160, 4260, 2160);
    Recus = bouton(this, "Recus", "Programmes reçus", 7920, 4260, 2160);

    connect(Demarrer, &QPushButton::clicked, this, &ServiceDNC::demarrer);
    connect(Arreter, &QPushButton::clicked, this, &ServiceDNC::arreter);
    connect(Recus, &QPushButton::clicked, this, &ServiceDNC::ouvrirRecus);
    connect(Delai, &QLineEdit::textChanged, this, [this] {
        for (auto* l : lignes_) l->regleDelai(delai());
    });
    if (principale.services().occupation) principale.services().occupation->inscrire(this);
    lireLignes();
}

ServiceDNC::~ServiceDNC()
{
    if (principale_.services().occupation) principale_.services().occupation->retirer(this);
}

// The seconds typed, up to an hour; anything else is the default 5.
int ServiceDNC::delai() const
{
    bool ok = false;
    const int s = Delai->text().trimmed().toInt(&ok);
    return ok && s >= 0 && s <= 3600 ? s : 5;
}

void ServiceDNC::lireLignes()
{
    const Lu<std::vector<dnc::LigneDNC>> lu = dnc::lignesDNC();
    if (!lu.ok())
        principale_.services().messages->afficher(
            this, QStringLiteral("Ces machines ne sont pas servies : leurs réglages ne peuvent pas être lus."),
            QStringLiteral("Service DNC"), Icone::Exclamation, Boutons::Ok,
            QString::fromStdString(joindreProblemes(lu.problemes)));
    for (auto* l : lignes_) delete l;
    lignes_.clear();
    for (const dnc::LigneDNC& l : lu.valeur) {
        auto* ligne = new dnc::LigneService(principale_.services(), l, this);
        ligne->regleDelai(delai());
        connect(ligne, &dnc::LigneService::change, this, &ServiceDNC::afficher);
        lignes_.push_back(ligne);
    }
    afficher();
}

void ServiceDNC::demarrer()
{
    if (actif_) return;
    // The machines may have changed since the rows were read.
    lireLignes();
    actif_ = true;
    if (auto* m = principale_.services().memoire) m->retenirService(true);
    for (auto* l : lignes_) l->demarrer();
    afficher();
}

void ServiceDNC::arreter()
{
    actif_ = false;
    if (auto* m = principale_.services().memoire) m->retenirService(false);
    for (auto* l : lignes_) l->arreter();
    afficher();
}

void ServiceDNC::ceder(int numero)
{
    for (auto* l : lignes_)
        if (l->ligne().numero == numero) l->ceder();
}

void ServiceDNC::reprendre(int numero)
{
    for (auto* l : lignes_)
        if (l->ligne().numero == numero) l->reprendre();
}

void ServiceDNC::afficher()
{
    Demarrer->setEnabled(!actif_);
    Arreter->setEnabled(actif_);
    Lignes->setRowCount(static_cast<int>(lignes_.size()));
    // What a scenario reads of the table: one entry per row, its cells joined.
    QStringList entrees;
    for (int i = 0; i < static_cast<int>(lignes_.size()); ++i) {
        const dnc::LigneService& l = *lignes_[i];
        QStringList machines;
        for (const auto& m : l.ligne().machines) machines << QString::fromStdString(m);
        QString texteMachines = machines.join(QStringLiteral(" / "));
        if (l.ligne().reglagesDifferents && !machines.isEmpty())
            texteMachines += QStringLiteral(" (réglages différents : ouvert avec ceux de %1)").arg(machines.front());
        const QStringList cellules = {QString::fromStdString(l.ligne().port), texteMachines, l.etat(), l.dernier()};
        for (int c = 0; c < 4; ++c) {
            auto* item = Lignes->item(i, c);
            if (!item) Lignes->setItem(i, c, item = new QTableWidgetItem);
            item->setText(cellules[c]);
            item->setToolTip(cellules[c]);
        }
        entrees << cellules.join(QStringLiteral(" | "));
    }
    Lignes->setProperty("entrees", entrees);
}

void ServiceDNC::ouvrirRecus()
{
    FenetreRecus recus(this, principale_);
    principale_.services().fenetres->afficherModal(&recus);
}

}  // namespace tarvex

namespace tarvex {

void Selectphase::ouvrirService()
{
    if (!service_) service_ = new ServiceDNC(*this);
    service_->show();
    service_->raise();
    service_->activateWindow();
}

void Selectphase::reprendreService()
{
    if (!services_.memoire || !services_.memoire->serviceActif()) return;
    if (!service_) service_ = new ServiceDNC(*this);
    service_->demarrer();
}

}  // namespace tarvex
