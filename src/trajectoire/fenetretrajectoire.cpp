#include "trajectoire/fenetretrajectoire.h"

#include "platform/principale.h"
#include "platform/textes.h"
#include "reprise/fenetrereprise.h"
#include "store/fichiers.h"
#include "store/lecteur.h"
#include "store/liste.h"
#include "store/machines.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

namespace tarvex {

using namespace plateforme;
using namespace trajectoire;

namespace {

QListWidget* liste(const char* nom, const char* bulle)
{
    auto* l = new QListWidget;
    l->setObjectName(QString::fromUtf8(nom));
    l->setToolTip(QString::fromUtf8(bulle));
    l->setUniformItemSizes(true);
    return l;
}

ListeLignes* longue(const char* nom, const char* bulle)
{
    auto* l = new ListeLignes;
    l->setObjectName(QString::fromUtf8(nom));
    l->setToolTip(QString::fromUtf8(bulle));
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

// A list at least `lignes` of its rows tall, besides the bar that scrolls it across.
void hauteurLignes(QAbstractItemView* l, int lignes)
{
    l->setMinimumHeight(l->fontMetrics().height() * lignes + 2 * l->frameWidth() + 6 +
                        l->horizontalScrollBar()->sizeHint().height());
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

FenetreTrajectoire::FenetreTrajectoire(QWidget* parent, const QString& titre, Programme programme,
                                       std::optional<SourceReprise> source)
    : Fenetre(parent, QStringLiteral("Trajectoire"), titre, 16200, 10200),
      programme_(std::move(programme)),
      source_(std::move(source))
{
    // Unlike the set-up windows this one may grow: a toolpath wants room.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
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

    Listing = longue("Listing", "Choisir une ligne la marque dans la vue");
    Listing->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Etendue = liste("Etendue", "Course du programme sur chaque axe, en coordonnées programme");
    Outils = liste("Outils", "Course de chaque outil, dans sa couleur ; un clic ne montre que cet outil, un autre les montre tous");
    NonTraces = longue("NonTraces", "Lignes dont la vue ne peut pas connaître le déplacement");
    Reprendre = new QPushButton(QStringLiteral("Reprendre ici"));
    Reprendre->setObjectName(QStringLiteral("Reprendre"));
    Reprendre->setToolTip(QStringLiteral("Après un bris d'outil : le programme repris à la ligne choisie, "
                                         "montré avant d'être envoyé"));
    Reprendre->setAutoDefault(false);
    Reprendre->setEnabled(false);
    Reprendre->setVisible(source_.has_value());

    remplirListes();
    disposer(etiquettePlan);
    placer(parent);

    connect(Plan, qOverload<int>(&QComboBox::activated), this, &FenetreTrajectoire::revoir);
    connect(Diametre, &QCheckBox::toggled, this, &FenetreTrajectoire::revoir);
    connect(Ajuster, &QPushButton::clicked, Vue, &VueTrajectoire::ajuster);
    connect(Listing, &ListeLignes::rangChoisi, Vue, &VueTrajectoire::marquer);
    connect(Vue, &VueTrajectoire::ligneChoisie, Listing, &ListeLignes::montrerRang);
    connect(NonTraces, &ListeLignes::rangChoisi, this, [this](int rang) {
        if (rang >= 0) Listing->montrerRang(NonTraces->model()->index(rang, 0).data(Qt::UserRole).toInt() - 1);
    });
    connect(Outils, &QListWidget::itemClicked, this, &FenetreTrajectoire::choisirOutil);
    connect(Listing, &ListeLignes::rangChoisi, this, [this](int rang) { Reprendre->setEnabled(rang >= 0); });
    connect(Reprendre, &QPushButton::clicked, this, &FenetreTrajectoire::reprendre);
    revoir();
}

void FenetreTrajectoire::remplirListes()
{
    auto* listing = new ModeleListing(programme_, this);
    listing->setTaille(Listing->tailleLigne(listing->colonnes()));
    Listing->setModel(listing);
    auto* nonTracees = new ModeleNonTracees(programme_, this);
    nonTracees->setTaille(NonTraces->tailleLigne(nonTracees->colonnes()));
    NonTraces->setModel(nonTracees);
    // The program's travel is its tools' together: read once.
    const std::vector<EtendueOutil> outils = etenduesParOutil(programme_);
    trajectoire::Etendue tout;
    for (const EtendueOutil& o : outils)
        for (const auto& [a, b] : {std::pair(&tout.x, &o.etendue.x), {&tout.y, &o.etendue.y}, {&tout.z, &o.etendue.z}})
            if (!b->vide()) a->ajouter(b->min), a->ajouter(b->max);
    for (const std::string& l : lignesEtendue(tout)) Etendue->addItem(q(l));
    const Palette palette(programme_);
    for (const EtendueOutil& o : outils) {
        auto* i = new QListWidgetItem(pastille(palette.couleur(o.outil)), q(ligneOutil(o)), Outils);
        i->setData(Qt::UserRole, o.outil);
        i->setToolTip(i->text());
    }
    hauteursMinimales(false);
    // Three axes at most: the travel takes no more room than its lines.
    Etendue->setFixedHeight(Etendue->fontMetrics().height() * std::max(1, Etendue->count()) + 2 * Etendue->frameWidth() + 6);
    Etendue->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void FenetreTrajectoire::hauteursMinimales(bool serrees)
{
    hauteurLignes(Listing, serrees ? 2 : 4);
    hauteurLignes(Outils, serrees ? 1 : 2);
    hauteurLignes(NonTraces, serrees ? 1 : 2);
}

void FenetreTrajectoire::disposer(QWidget* etiquettePlan)
{
    auto* reglages = new QHBoxLayout;
    reglages->addWidget(etiquettePlan);
    reglages->addWidget(Plan);
    reglages->addWidget(Diametre);
    reglages->addStretch();
    reglages->addWidget(Ajuster);
    // Above the view, where a screen too small for the lists still leaves it room.
    reglages->addWidget(Reprendre);
    auto* gauche = new QWidget;
    auto* g = new QVBoxLayout(gauche);
    g->setContentsMargins(0, 0, 0, 0);
    g->addLayout(reglages);
    g->addWidget(Vue, 1);
    auto* droite = new QWidget;
    auto* d = new QVBoxLayout(droite);
    d->setContentsMargins(0, 0, 0, 0);
    d->addWidget(cadre(QStringLiteral("Programme"), Listing), 3);
    d->addWidget(cadre(QStringLiteral("Etendue"), Etendue));
    d->addWidget(cadre(QStringLiteral("Outils"), Outils), 1);
    d->addWidget(cadre(QStringLiteral("Lignes non tracées"), NonTraces), 1);
    // The view and the lists share the width as the operator drags their border.
    auto* partage = new QSplitter(Qt::Horizontal);
    partage->setChildrenCollapsible(false);
    partage->addWidget(gauche);
    partage->addWidget(droite);
    partage->setStretchFactor(0, 3);
    partage->setStretchFactor(1, 2);
    partage->setSizes({px(10400), px(5400)});
    auto* tout = new QHBoxLayout(this);
    tout->addWidget(partage);

    const bool tour = programme_.tournage;
    etiquettePlan->setVisible(!tour);
    Plan->setVisible(!tour);
    Diametre->setVisible(tour);
}

void FenetreTrajectoire::placer(QWidget* parent)
{
    QScreen* ecran = parent ? parent->screen() : screen();
    if (!ecran) return;
    const QRect libre = ecran->availableGeometry();
    // Room for the frame the window manager adds; on a small screen (or a
    // large scaling) the lists may be shorter still, scrolled.
    const QSize place = libre.size() - QSize(16, 48);
    if (minimumSizeHint().height() > place.height()) {
        hauteursMinimales(true);
        // The window not shown yet, its layouts would learn of it only then:
        // it is not held to their minimum, which it reaches once shown.
        layout()->setSizeConstraint(QLayout::SetNoConstraint);
    }
    setMinimumSize(minimumSizeHint().boundedTo(place));
    const QSize taille = size().boundedTo(place).expandedTo(minimumSize());
    resize(taille);
    const QPoint centre = parent && parent->isVisible() ? parent->geometry().center() : libre.center();
    QRect r(QPoint(), taille);
    r.moveCenter(centre);
    // Another sheet's toolpath already open: this one a step aside, both in sight.
    int ouvertes = 0;
    if (parent)
        for (const auto* f : parent->findChildren<FenetreTrajectoire*>(Qt::FindDirectChildrenOnly)) ouvertes += f != this && f->isVisible();
    r.translate(40 * ouvertes, 40 * ouvertes);
    // The title bar on the screen above all.
    if (r.right() > libre.right()) r.moveRight(libre.right());
    if (r.bottom() > libre.bottom()) r.moveBottom(libre.bottom());
    r.moveTop(std::max(r.top(), libre.top() + 32));
    r.moveLeft(std::max(r.left(), libre.left()));
    move(r.topLeft());
}

void FenetreTrajectoire::choisirOutil(QListWidgetItem* item)
{
    const int outil = item->data(Qt::UserRole).toInt();
    const bool seul = Vue->outilSeul() != outil;
    Vue->montrerOutil(seul ? outil : kTousOutils);
    // The tool shown alone stays selected in the list; every tool: none.
    if (!seul) Outils->clearSelection(), Outils->setCurrentRow(-1);
}

void FenetreTrajectoire::reprendre()
{
    const int ligne = Listing->currentIndex().row();
    if (!source_ || ligne < 0) return;
    const SourceReprise& src = *source_;
    if (!lecture_) lecture_ = lirePourReprise(src.octets, src.directeur, src.type);
    DemandeReprise demande;
    demande.directeur = src.directeur;
    demande.type = src.type;
    demande.ligne = ligne;
    demande.insertion = src.insertion.lignes;
    Reprise r = trajectoire::reprendre(*lecture_, demande);
    const std::string ici = repere(*lecture_, ligne);
    // The restart carries Charger's blocks: one that cannot be sent fails it as it fails Charger.
    if (r.refus.empty() && src.insertion.echec)
        r.refus = "Erreur " + std::to_string(src.insertion.echec->numero) + "\n" + src.insertion.echec->detail;
    if (!r.refus.empty()) {
        src.principale->services().messages->afficher(
            this, QStringLiteral("Reprise impossible à %1 : %2").arg(q(ici), q(r.refus)), QStringLiteral("Reprise"),
            Icone::Exclamation);
        return;
    }
    // One restart at a time: another line chosen replaces it.
    if (reprise_) reprise_->close();
    Vue->montrerApproche(r.approche, couleurApproche());
    RepriseAMontrer montree{QStringLiteral("Reprise - ") + src.entree + QStringLiteral(" - ") + q(ici),
                            src.nom + " " + ici,
                            src.machine,
                            src.champs,
                            src.reglages,
                            std::move(r.lignes),
                            std::move(r.explication),
                            r.debutApproche,
                            r.finApproche,
                            src.vue};
    reprise_ = ouvrirReprise(this, *src.principale, std::move(montree));
    connect(reprise_, &FenetreReprise::fermee, this, [this, f = reprise_.data()] {
        if (reprise_ == f) Vue->montrerApproche({}, {});
    });
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

void ouvrirTrajectoire(Principale& principale)
{
    const FicheAffichee& fiche = principale.ficheAffichee();
    auto champ = [&fiche](Champ c) { return q(sansBlancs(fiche.champs[c])); };
    const std::string chemin = fiche.dossier() + "prog.txt";
    const auto octets = fichiers::lire(chemin);
    if (!octets) {
        principale.services().messages->afficher(
            &principale.fenetre(),
            QStringLiteral("La trajectoire de la fiche %1 ne peut pas être affichée :\n%2 : "
                           "fichier introuvable ou illisible")
                .arg(principale.entreeMontree(), q(chemin)),
            QStringLiteral("Infos"), Icone::Exclamation);
        return;
    }
    const int directeur = codeMachine(fiche.com.valeur.directeur);
    const int type = codeMachine(fiche.com.valeur.type);
    // Not modal: the operator may open another sheet's beside it.
    const QString titre = QStringLiteral("Trajectoire - ") + champ(CPiece) + QStringLiteral(" Phase ") + champ(CPhase);
    const ParamCom& com = fiche.com.valeur;
    Programme programme = trajectoire::lire(*octets, directeur, type);
    // The bytes drawn are the bytes a restart sends, whatever becomes of the file meanwhile.
    SourceReprise source{&principale, std::move(*octets), directeur, type,
                         champ(CPiece) + QStringLiteral(" Phase ") + champ(CPhase), nomComplet(fiche.champs),
                         fiche.machine(), ReglagesPort{q(com.port), q(com.vitesse), q(com.parite), q(com.bits), q(com.arret)},
                         fiche.champs, insertionFiche(fiche), fiche.vue};
    auto* fenetre = new FenetreTrajectoire(&principale.fenetre(), titre, std::move(programme), std::move(source));
    fenetre->setAttribute(Qt::WA_DeleteOnClose);
    fenetre->show();
}

}  // namespace tarvex
