#include "service/servicednc.h"

#include "journal/consigner.h"
#include "platform/principale.h"
#include "platform/construction.h"
#include "service/fenetrerecus.h"
#include "service/lignes.h"
#include "service/ligneservice.h"

#include <QHeaderView>
#include <QPointer>

#include <algorithm>
#include <memory>

namespace tarvex {

using namespace plateforme;

ServiceDNC::ServiceDNC(Principale& principale)
    // No parent: a window of the main window's stays above it, and this one
    // stays open all day beside the operator's work.
    : Fenetre(nullptr, QStringLiteral("ServiceDNC"), QStringLiteral("Service DNC"), 10200, 5160),
      services_(principale.services()),
      principale_(principale)
{
    setWindowModality(Qt::NonModal);
    setWindowIcon(principale.fenetre().windowIcon());
    Lignes = creer<QTableWidget>(this, "Lignes", 120, 120, 9960, 3960);
    Lignes->setColumnCount(4);
    Lignes->setHorizontalHeaderLabels({QStringLiteral("Port"), QStringLiteral("Machines"), QStringLiteral("État"),
                                       QStringLiteral("Dernier événement")});
    Lignes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Lignes->setSelectionMode(QAbstractItemView::NoSelection);
    // Tab leaves the table for Delai and the buttons instead of walking its cells.
    Lignes->setTabKeyNavigation(false);
    Lignes->verticalHeader()->hide();
    Lignes->horizontalHeader()->setStretchLastSection(true);
    Lignes->setColumnWidth(0, px(720));
    Lignes->setColumnWidth(1, px(3000));
    Lignes->setColumnWidth(2, px(2400));

    etiquette(this, "Label1", "Délai (secondes)", 120, 4335, 1800);
    // Whole seconds, up to an hour: nothing else can be typed.
    Delai = avecBulle(creer<QSpinBox>(this, "Delai", 1980, 4290, 720, 315),
                      "Le temps de mettre la commande numérique en réception");
    Delai->setRange(0, 3600);
    // "2,5" is not 25 seconds: a comma is no thousands separator here.
    QLocale sansSeparateur(QLocale::French, QLocale::France);
    sansSeparateur.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
    Delai->setLocale(sansSeparateur);
    Delai->setValue(services_.memoire ? std::clamp(services_.memoire->delaiService(), 0, 3600) : 5);
    Demarrer = bouton(this, "Demarrer", "Démarrer le service", 2880, 4260, 2160);
    Arreter = bouton(this, "Arreter", "Arrêter le service", 5160, 4260, 2160);
    Recus = bouton(this, "Recus", "Programmes reçus", 7920, 4260, 2160);
    NonServies = etiquette(this, "NonServies", "", 120, 4710, 9960, 420);
    NonServies->setWordWrap(true);
    setTabOrder(Delai, Demarrer);
    setTabOrder(Demarrer, Arreter);
    setTabOrder(Arreter, Recus);

    // The window can be enlarged: the table takes the room, the row of
    // buttons stays under it.
    taille_ = size();
    setMinimumSize(taille_);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);

    connect(Demarrer, &QPushButton::clicked, this, &ServiceDNC::demarrer);
    connect(Arreter, &QPushButton::clicked, this, &ServiceDNC::arreter);
    connect(Recus, &QPushButton::clicked, this, &ServiceDNC::ouvrirRecus);
    connect(Delai, &QSpinBox::valueChanged, this, [this](int secondes) {
        for (auto* l : lignes_) l->regleDelai(secondes);
        if (services_.memoire) services_.memoire->retenirDelai(secondes);
    });
    if (services_.occupation) services_.occupation->inscrire(this);
    // Made at the main window's first use of it, gone with it.
    connect(&principale.fenetre(), &QObject::destroyed, this, [this] { delete this; });
    lireLignes();
}

ServiceDNC::~ServiceDNC()
{
    // Gone with the main window: the lines stop without a row to show it.
    for (auto* l : lignes_) {
        l->disconnect(this);
        l->arreter();
    }
    rangement_.finir();
    if (services_.occupation) services_.occupation->retirer(this);
}

void ServiceDNC::resizeEvent(QResizeEvent* e)
{
    Fenetre::resizeEvent(e);
    const int dx = width() - taille_.width(), dy = height() - taille_.height();
    Lignes->resize(px(9960) + dx, px(3960) + dy);
    for (QWidget* w : std::initializer_list<QWidget*>{findChild<QLabel*>(QStringLiteral("Label1")), Delai, Demarrer,
                                                       Arreter, Recus, NonServies}) {
        if (!w) continue;
        if (!w->property("y0").isValid()) w->setProperty("y0", w->y());
        w->move(w->x(), w->property("y0").toInt() + dy);
    }
    NonServies->resize(px(9960) + dx, NonServies->height());
}

void ServiceDNC::lireLignes()
{
    std::vector<dnc::NonServie> nonServies;
    const Lu<std::vector<dnc::LigneDNC>> lu = dnc::lignesDNC(&nonServies);
    if (!lu.ok())
        principale_.services().messages->afficher(
            this, QStringLiteral("Ces machines ne sont pas servies : leurs réglages ne peuvent pas être lus."),
            QStringLiteral("Service DNC"), Icone::Exclamation, Boutons::Ok,
            QString::fromStdString(joindreProblemes(lu.problemes)));
    QStringList raisons;
    for (const dnc::NonServie& n : nonServies)
        raisons << QString::fromStdString(n.machine) + QStringLiteral(" (") + QString::fromStdString(n.raison) + QLatin1Char(')');
    NonServies->setText(raisons.isEmpty() ? QString() : QStringLiteral("Machines non servies : ") + raisons.join(QStringLiteral(", ")));
    // What the old lines still had to write goes before they go.
    rangement_.finir();
    for (auto* l : lignes_) delete l;
    lignes_.clear();
    for (const dnc::LigneDNC& l : lu.valeur) {
        auto* ligne = new dnc::LigneService(services_, l, rangement_, this);
        ligne->regleDelai(Delai->value());
        connect(ligne, &dnc::LigneService::change, this, &ServiceDNC::afficher);
        lignes_.push_back(ligne);
    }
    relireDerniers();
    afficher();
}

void ServiceDNC::relireDerniers(int numero)
{
    // Read on the storing thread, after what it still has to write: the rows
    // show the journal as it will be, and a backlog (a control punching
    // hundreds of programs) holds up neither this window nor the main one.
    const std::string aujourdhui =
        services_.horloge->dateHeure().toString(QStringLiteral("dd/MM/yyyy")).toStdString();
    const QPointer<ServiceDNC> moi(this);
    rangement_.confier([moi, numero, aujourdhui]() -> std::function<void()> {
        auto derniers = std::make_shared<const std::map<std::string, std::string>>(journal::derniersParPort(aujourdhui));
        return [moi, numero, derniers] {
            if (!moi) return;
            for (auto* l : moi->lignes_) {
                if (numero && l->ligne().numero != numero) continue;
                if (const auto it = derniers->find(l->ligne().port); it != derniers->end())
                    l->regleDernier(QString::fromStdString(it->second));
            }
        };
    });
}

void ServiceDNC::demarrer()
{
    if (actif_) return;
    // The machines may have changed since the rows were read.
    lireLignes();
    actif_ = true;
    if (auto* m = services_.memoire) m->retenirService(true);
    for (auto* l : lignes_) l->demarrer();
    afficher();
}

void ServiceDNC::arreter()
{
    actif_ = false;
    if (auto* m = services_.memoire) m->retenirService(false);
    for (auto* l : lignes_) l->arreter();
    afficher();
}

void ServiceDNC::terminer()
{
    if (actif_) {
        actif_ = false;
        for (auto* l : lignes_) l->arreter();
        afficher();
    }
    rangement_.finir();
}

void ServiceDNC::ceder(int numero)
{
    for (auto* l : lignes_)
        if (l->ligne().numero == numero) l->ceder();
}

void ServiceDNC::reprendre(int numero)
{
    // The manual transfer is in the journal now: the row says it.
    relireDerniers(numero);
    for (auto* l : lignes_)
        if (l->ligne().numero == numero) l->reprendre();
}

void ServiceDNC::afficher()
{
    principale_.montrerService(actif_);
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
    Lignes->setProperty("texte", entrees.join(QLatin1Char('\n')));
}

void ServiceDNC::ouvrirRecus()
{
    // Not modal: the programs kept stay listed, following what the lines
    // store, while the operator works in the other windows; one at a time.
    auto* recus = findChild<FenetreRecus*>(QString(), Qt::FindDirectChildrenOnly);
    if (!recus) {
        recus = new FenetreRecus(this, principale_);
        recus->setAttribute(Qt::WA_DeleteOnClose);
        recus->setWindowModality(Qt::NonModal);
    }
    recus->show();
    recus->raise();
    recus->activateWindow();
}

}  // namespace tarvex
