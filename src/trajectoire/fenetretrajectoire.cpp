#include "trajectoire/fenetretrajectoire.h"

#include "mainwindow/selectphase.h"
#include "platform/textes.h"
#include "store/fichiers.h"
#include "store/lecteur.h"
#include "store/machines.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace tarvex {

using namespace plateforme;
using namespace trajectoire;

namespace {

const char* raison(Raison r)
{
    switch (r) {
    case Raison::Cycle: return "cycle";
    case Raison::SousProgramme: return "appel ou saut de programme";
    case Raison::Variables: return "paramètres ou variables";
    case Raison::CodeInconnu: return "code G inconnu";
    case Raison::HorsRepere: return "hors du repère de la pièce";
    case Raison::MotInconnu: return "mot dont l'effet est inconnu";
    case Raison::ArcImpossible: return "aucun cercle ne joint le départ et l'arrivée";
    case Raison::CorpsSousProgramme: return "corps de sous-programme, exécuté à son appel";
    case Raison::HorsLimites: return "valeur hors des limites de la commande";
    }
    return "";
}

QListWidget* liste(const char* nom, const char* bulle)
{
    auto* l = new QListWidget;
    l->setObjectName(QString::fromUtf8(nom));
    l->setToolTip(QString::fromUtf8(bulle));
    l->setUniformItemSizes(true);
    return l;
}

Cadre* cadre(const QString& titre, QWidget* contenu)
{
    auto* c = new Cadre(titre);
    auto* l = new QVBoxLayout(c);
    l->setContentsMargins(6, 4, 6, 6);
    l->addWidget(contenu);
    return c;
}

// A list as tall as `lignes` of its rows.
void hauteurLignes(QListWidget* l, int lignes)
{
    l->setFixedHeight(l->fontMetrics().height() * lignes + 2 * l->frameWidth() + 6);
}

QIcon pastille(const QColor& couleur)
{
    QPixmap p(12, 12);
    p.fill(Qt::transparent);
    QPainter peintre(&p);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setPen(couleur.darker(130));
    peintre.setBrush(couleur);
    peintre.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    return QIcon(p);
}

}  // namespace

FenetreTrajectoire::FenetreTrajectoire(QWidget* parent, const QString& titre, Programme programme)
    : Fenetre(parent, QStringLiteral("Trajectoire"), titre, 16200, 10200), programme_(std::move(programme))
{
    // Unlike the set-up windows this one may grow: a toolpath wants room.
    setMinimumSize(px(9000), px(6000));
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setSizeGripEnabled(true);

    Vue = new VueTrajectoire;
    Vue->setObjectName(QStringLiteral("Vue"));
    Vue->setToolTip(QStringLiteral("Molette : zoom ; glisser : déplacer ; clic sur un déplacement : sa ligne"));
    auto* etiquettePlan = new QLabel(QStringLiteral("Plan"));
    Plan = new QComboBox;
    Plan->setObjectName(QStringLiteral("Plan"));
    Plan->addItems({QStringLiteral("XY"), QStringLiteral("XZ"), QStringLiteral("YZ")});
    Plan->setToolTip(QStringLiteral("Plan vu"));
    etiquettePlan->setBuddy(Plan);
    Diametre = new QCheckBox(QStringLiteral("X au diamètre"));
    Diametre->setObjectName(QStringLiteral("Diametre"));
    Diametre->setToolTip(QStringLiteral("Les X programmés sont des diamètres, dessinés au rayon"));
    Diametre->setChecked(true);
    Ajuster = new QPushButton(QStringLiteral("Ajuster"));
    Ajuster->setObjectName(QStringLiteral("Ajuster"));
    Ajuster->setToolTip(QStringLiteral("Voir toute la trajectoire"));
    Ajuster->setAutoDefault(false);

    Listing = liste("Listing", "Choisir une ligne la marque dans la vue");
    Listing->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Etendue = liste("Etendue", "Course du programme sur chaque axe, en coordonnées programme");
    Outils = liste("Outils", "Course de chaque outil, dans sa couleur");
    NonTraces = liste("NonTraces", "Lignes dont la vue ne peut pas connaître le déplacement");

    remplirListes();
    disposer(etiquettePlan);

    connect(Plan, qOverload<int>(&QComboBox::activated), this, &FenetreTrajectoire::revoir);
    connect(Diametre, &QCheckBox::toggled, this, &FenetreTrajectoire::revoir);
    connect(Ajuster, &QPushButton::clicked, Vue, &VueTrajectoire::ajuster);
    connect(Listing, &QListWidget::currentRowChanged, Vue, &VueTrajectoire::marquer);
    connect(Vue, &VueTrajectoire::ligneChoisie, this, [this](int ligne) {
        Listing->setCurrentRow(ligne);
        Listing->scrollToItem(Listing->currentItem(), QAbstractItemView::PositionAtCenter);
    });
    connect(NonTraces, &QListWidget::currentRowChanged, this, [this](int rang) {
        if (rang < 0) return;
        Listing->setCurrentRow(NonTraces->item(rang)->data(Qt::UserRole).toInt() - 1);
        Listing->scrollToItem(Listing->currentItem(), QAbstractItemView::PositionAtCenter);
    });
    revoir();
}

void FenetreTrajectoire::remplirListes()
{
    const QColor rouge(170, 0, 0);
    std::vector<const LigneNonTracee*> nonTracee(programme_.lignes.size(), nullptr);
    for (const LigneNonTracee& n : programme_.nonTracees) nonTracee[static_cast<std::size_t>(n.ligne)] = &n;
    QStringList lignes;
    lignes.reserve(static_cast<qsizetype>(programme_.lignes.size()));
    for (const std::string& l : programme_.lignes) lignes << q(l);
    Listing->addItems(lignes);
    for (const LigneNonTracee& n : programme_.nonTracees) {
        QListWidgetItem* i = Listing->item(n.ligne);
        i->setForeground(rouge);
        i->setToolTip(QStringLiteral("Non tracée : ") + QString::fromUtf8(raison(n.raison)));
        auto* e = new QListWidgetItem(QStringLiteral("Ligne %1 : %2").arg(n.ligne + 1).arg(q(n.texte)), NonTraces);
        e->setData(Qt::UserRole, n.ligne + 1);
        e->setToolTip(QString::fromUtf8(raison(n.raison)));
    }
    for (const std::string& l : lignesEtendue(etendue(programme_))) Etendue->addItem(q(l));
    const Palette palette(programme_);
    for (const EtendueOutil& o : etenduesParOutil(programme_))
        if (!o.etendue.vide()) new QListWidgetItem(pastille(palette.couleur(o.outil)), q(ligneOutil(o)), Outils);
    hauteurLignes(Etendue, 3);
    hauteurLignes(Outils, 4);
    hauteurLignes(NonTraces, 5);
}

void FenetreTrajectoire::disposer(QWidget* etiquettePlan)
{
    auto* reglages = new QHBoxLayout;
    reglages->addWidget(etiquettePlan);
    reglages->addWidget(Plan);
    reglages->addWidget(Diametre);
    reglages->addStretch();
    reglages->addWidget(Ajuster);
    auto* gauche = new QVBoxLayout;
    gauche->addLayout(reglages);
    gauche->addWidget(Vue, 1);
    auto* droite = new QVBoxLayout;
    droite->addWidget(cadre(QStringLiteral("Programme"), Listing), 1);
    droite->addWidget(cadre(QStringLiteral("Etendue"), Etendue));
    droite->addWidget(cadre(QStringLiteral("Outils"), Outils));
    droite->addWidget(cadre(QStringLiteral("Lignes non tracées"), NonTraces));
    auto* tout = new QHBoxLayout(this);
    tout->addLayout(gauche, 1);
    tout->addLayout(droite);
    for (QWidget* w : {static_cast<QWidget*>(Listing), static_cast<QWidget*>(Etendue), static_cast<QWidget*>(Outils),
                       static_cast<QWidget*>(NonTraces)})
        w->setFixedWidth(px(5400));

    const bool tour = programme_.tournage;
    etiquettePlan->setVisible(!tour);
    Plan->setVisible(!tour);
    Diametre->setVisible(tour);
}

void FenetreTrajectoire::revoir()
{
    Reglage r = reglageInitial(programme_);
    if (!programme_.tournage) {
        const trajectoire::Vue plans[] = {trajectoire::Vue::XY, trajectoire::Vue::XZ, trajectoire::Vue::YZ};
        r.vue = plans[std::clamp(Plan->currentIndex(), 0, 2)];
    }
    r.xAuRayon = Diametre->isChecked();
    Vue->montrer(programme_, r);
}

// The main window's "Trajectoire": the selected sheet's program read as its
// machine's control reads it.
void Selectphase::ouvrirTrajectoire()
{
    auto champ = [this](Champ c) { return q(sansBlancs(fiche_.champs[c])); };
    const std::string chemin = fiche_.dossier() + "prog.txt";
    const auto octets = fichiers::lire(chemin);
    if (!octets) {
        services_.messages->afficher(this,
                                     QStringLiteral("La trajectoire de la fiche %1 ne peut pas être affichée :\n%2 : "
                                                    "fichier introuvable ou illisible")
                                         .arg(Phase->currentText(), q(chemin)),
                                     QStringLiteral("Infos"), Icone::Exclamation);
        return;
    }
    const int directeur = codeMachine(fiche_.com.valeur.directeur);
    const int type = codeMachine(fiche_.com.valeur.type);
    FenetreTrajectoire fenetre(this, QStringLiteral("Trajectoire - ") + champ(CPiece) + QStringLiteral(" Phase ") + champ(CPhase),
                               trajectoire::lire(*octets, directeur, type));
    services_.fenetres->afficherModal(&fenetre);
}

}  // namespace tarvex
