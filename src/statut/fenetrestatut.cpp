#include "statut/fenetrestatut.h"

#include "platform/autorisation.h"
#include "platform/construction.h"
#include "platform/textes.h"
#include "platform/verrouillage.h"
#include "store/liste.h"

#include <QHeaderView>

#include <algorithm>
#include <iterator>

namespace tarvex {

using namespace plateforme;

namespace {

constexpr int kLargeur = 9720, kHauteur = 5040;  // twips
constexpr int kX = 2640;                        // the boxes, right of their captions

void avertir(QWidget* fenetre, Services& services, const QString& texte)
{
    services.messages->afficher(fenetre, texte, QStringLiteral("Infos"), Icone::Exclamation);
}

}  // namespace

FenetreStatut::FenetreStatut(Principale& principale, std::function<void(statut::Statut)> enregistre)
    : Fenetre(&principale.fenetre(), QStringLiteral("Statut"),
              u("Statut de la fiche ") + q(nomComplet(principale.ficheAffichee().champs)), kLargeur, kHauteur),
      principale_(principale),
      enregistre_(std::move(enregistre))
{
    Label1 = etiquette(this, "Label1", "Historique", 120, 120, 3000);
    Historique = avecBulle(creer<QTreeWidget>(this, "Historique", 120, 420, 9480, 2280),
                           "Chaque changement de statut de la fiche, le plus récent en haut");
    Historique->setHeaderLabels({u("Date"), u("Heure"), u("Statut"), u("Poste"), u("Utilisateur"), u("Commentaire")});
    Historique->setRootIsDecorated(false);
    Historique->setAllColumnsShowFocus(true);
    static constexpr int kColonnes[] = {1150, 950, 1000, 1150, 1250};
    for (int c = 0; c < static_cast<int>(std::size(kColonnes)); ++c) Historique->setColumnWidth(c, px(kColonnes[c]));

    Label2 = etiquette(this, "Label2", "Nouveau statut", 120, 2880, 2400);
    Nouveau = avecBulle(creer<QComboBox>(this, "Nouveau", kX, 2850, 2160, 315), "Le statut à donner à la fiche");
    for (statut::Statut st : statut::kStatuts) Nouveau->addItem(u(statut::nom(st)));
    Label3 = etiquette(this, "Label3", "Commentaire", 120, 3300, 2400);
    Commentaire = avecBulle(creer<QLineEdit>(this, "Commentaire", kX, 3270, 6960, 315),
                            "Pourquoi : obligatoire pour bloquer la fiche et pour lui retirer « Validée »");
    Label4 = etiquette(this, "Label4", "Code", 120, 3720, 2400);
    Code = avecBulle(boiteCode(this, "Code", kX, 3690, 2160),
                     "Code d'autorisation : pour valider la fiche et pour la débloquer");
    Enregistrer = avecBulle(bouton(this, "Enregistrer", "Enregistrer", 7080, 4380, 1215),
                            "Enregistrer le nouveau statut");
    Fermer = bouton(this, "Fermer", "Fermer", 8385, 4380, 1215);

    connect(Nouveau, qOverload<int>(&QComboBox::currentIndexChanged), this, &FenetreStatut::exiger);
    connect(Enregistrer, &QPushButton::clicked, this, &FenetreStatut::enregistrer);
    connect(Fermer, &QPushButton::clicked, this, &QWidget::close);
}

void FenetreStatut::charger()
{
    const Lu<statut::Historique> h = statut::lire(principale_.ficheAffichee().dossier());
    montrer(h);
    Nouveau->setCurrentIndex(static_cast<int>(actuel_.value_or(statut::Statut::EnEssai)));
    exiger();
    // Lines edited by hand that do not read are no status; the operator
    // knows they are there.
    if (!h.ok())
        avertir(this, principale_.services(),
                u("Ces lignes de l'historique ne se lisent pas et sont ignorées :\n") + q(joindreProblemes(h.problemes)));
}

void FenetreStatut::montrer(const Lu<statut::Historique>& historique)
{
    const statut::Historique& h = historique.valeur;
    Historique->clear();
    for (auto l = h.lignes.rbegin(); l != h.lignes.rend(); ++l) {
        auto* item = new QTreeWidgetItem(Historique, {q(l->date), q(l->heure), u(statut::nom(l->statut)), q(l->poste),
                                                      q(l->utilisateur), q(l->commentaire)});
        item->setToolTip(5, q(l->commentaire));  // whole, however long
    }
    actuel_ = h.actuel() ? std::optional(h.actuel()->statut) : std::nullopt;
    exiger();
}

statut::Statut FenetreStatut::choisi() const
{
    return statut::kStatuts[std::clamp(Nouveau->currentIndex(), 0, static_cast<int>(std::size(statut::kStatuts)) - 1)];
}

void FenetreStatut::exiger()
{
    const statut::Exigences e = statut::exigences(actuel_, choisi());
    Label3->setText(e.commentaire ? u("Commentaire (obligatoire)") : u("Commentaire"));
    Code->setEnabled(e.code);
    if (!e.code) Code->clear();
}

void FenetreStatut::enregistrer()
{
    Services& services = principale_.services();
    const statut::Demande d{choisi(), s(Commentaire->text()), s(Code->text())};
    statut::Fin fin;
    Problemes problemes;
    if (!sousVerrou(services, this,
                    u("Statut de la fiche ") + q(nomComplet(principale_.ficheAffichee().champs)), problemes, [&] {
                        fin = statut::changer(principale_.ficheAffichee(), d, auteur(services), maintenant(services));
                    }))
        return;
    if (problemes.empty() && principale_.ficheChangeeAilleurs(this, fin.etat)) {
        // The main window shows the sheet as another computer left it: so
        // does the history, or the window goes with a sheet deleted.
        if (principale_.ficheAffichee().champs == Enregistrement{})
            close();
        else
            montrer(statut::lire(principale_.ficheAffichee().dossier()));
        return;
    }
    if (!fin.refus.empty()) {
        montrer(fin.historique);
        avertir(this, services, q(fin.refus));
        return;
    }
    problemes.insert(problemes.end(), fin.resultat.problemes.begin(), fin.resultat.problemes.end());
    if (!problemes.empty()) {
        avertir(this, services, u("Le statut n'a pas pu être enregistré :\n") + q(joindreProblemes(problemes)));
        return;
    }
    // Our own line is no other computer's change.
    principale_.ficheStockee(fin.vue);
    montrer(fin.historique);
    Commentaire->clear();
    Code->clear();
    enregistre_(d.nouveau);
}

void ouvrirStatut(Principale& principale, const std::function<void(statut::Statut)>& enregistre)
{
    FenetreStatut fenetre(principale, enregistre);
    fenetre.charger();
    principale.services().fenetres->afficherModal(&fenetre);
}

}  // namespace tarvex
