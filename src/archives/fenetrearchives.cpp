#include "archives/fenetrearchives.h"

#include "archives/fenetrecomparaison.h"
#include "platform/autorisation.h"
#include "platform/construction.h"
#include "platform/controles.h"
#include "platform/instant.h"
#include "platform/principale.h"
#include "platform/textes.h"
#include "platform/verrouillage.h"
#include "store/fichiers.h"
#include "store/lecteur.h"

namespace tarvex {

using namespace plateforme;

// "PIVOT Phase 20" as the list of sheets shows it; the folder's name for a
// version whose record does not read.
QString nomFiche(const archives::Version& v)
{
    return v.fiche ? q(sansBlancs((*v.fiche)[CPiece]) + " Phase " + sansBlancs((*v.fiche)[CPhase])) : q(v.nomdossier);
}

QString ligneVersion(const archives::Version& v)
{
    const QString fiche = nomFiche(v);
    QString machine;
    if (v.fiche) machine = q(sansBlancs((*v.fiche)[CMachine]));
    QString t = q(v.date) + QStringLiteral(" - ") + q(v.motif) + QStringLiteral(" - ") + fiche;
    if (!machine.isEmpty()) t += QStringLiteral(" - ") + machine;
    return t;
}

Archives::Archives(Principale& principale)
    : Fenetre(&principale.fenetre(), QStringLiteral("Archives"), QStringLiteral("Archives des fiches"), 9600, 7200),
      principale_(principale)
{
    Label2 = etiquette(this, "Label2", "Versions archivées", 240, 180, 6000, 285);
    List1 = creer<QListWidget>(this, "List1", 240, 480, 9120, 3240);
    Label3 = etiquette(this, "Label3", "Fichiers de la version", 240, 3900, 4000, 285);
    List2 = creer<QListWidget>(this, "List2", 240, 4200, 4500, 2160);
    Comparer = avecBulle(bouton(this, "Comparer", "Comparer", 5040, 4200, 1800),
                         "Programme archivé et programme actuel de la fiche côte à côte");
    Label1 = etiquette(this, "Label1", "Code autorisation", 5040, 5085, 1800, 285);
    Text3 = boiteCode(this, "Text3", 6960, 5040, 2400);
    Restaurer = avecBulle(bouton(this, "Restaurer", "Restaurer", 5040, 5640, 1800),
                          "Remettre les fichiers de cette version dans la fiche");
    quitter = bouton(this, "quitter", "Fermer", 8145, 6600);

    connect(List1, &QListWidget::currentRowChanged, this, &Archives::versionChoisie);
    connect(Comparer, &QPushButton::clicked, this, &Archives::comparer);
    connect(Restaurer, &QPushButton::clicked, this, &Archives::restaurer);
    connect(quitter, &QPushButton::clicked, this, &QDialog::accept);
}

void Archives::charger()
{
    const auto lu = archives::lister();
    versions_ = lu.valeur;
    List1->clear();
    for (const archives::Version& v : versions_) List1->addItem(ligneVersion(v));
    versionChoisie();
    if (!lu.ok())
        principale_.services().messages->afficher(this, QStringLiteral("Des fichiers des archives ne se lisent pas."),
                                                  QStringLiteral("Infos"), Icone::Exclamation, Boutons::Ok,
                                                  q(joindreProblemes(lu.problemes)));
}

const archives::Version* Archives::versionCourante() const
{
    const int i = List1->currentRow();
    return (i >= 0 && i < static_cast<int>(versions_.size())) ? &versions_[static_cast<std::size_t>(i)] : nullptr;
}

void Archives::versionChoisie()
{
    List2->clear();
    const archives::Version* v = versionCourante();
    bool programme = false;
    if (v) {
        for (const std::string& f : v->fichiers) {
            List2->addItem(q(f));
            programme = programme || f == "prog.txt";
        }
    }
    Comparer->setEnabled(programme);
    Restaurer->setEnabled(v != nullptr);
}

void Archives::comparer()
{
    const archives::Version* v = versionCourante();
    if (!v) return;
    const auto octets = fichiers::lire(archives::cheminGarde(*v, "prog.txt"));
    Comparaison c(this, principale_, v->nomdossier, QByteArray::fromStdString(octets.value_or(std::string())),
                  Comparaison::Mode::Archive, QStringLiteral("Programme archivé le ") + q(v->date));
    principale_.services().fenetres->afficherModal(&c);
}

void Archives::restaurer()
{
    const archives::Version* v = versionCourante();
    if (!v) return;
    Services& services = principale_.services();
    if (!codeAccepte(this, *services.messages, Text3->text())) return;
    const archives::Version version = *v;
    archives::Restauration r;
    if (!sousVerrou(services, this, QStringLiteral("Restauration de la fiche %1").arg(nomFiche(version)), r.problemes,
                    [&] {
                        r = archives::restaurer(version, archives::instantDe(services.horloge->dateHeure()),
                                                auteur(services));
                    }))
        return;
    using Genre = archives::Restauration::Genre;
    switch (r.genre) {
    case Genre::Refusee:
        services.messages->afficher(this, q(r.raison), QStringLiteral("Infos"), Icone::Exclamation);
        return;
    case Genre::Echec:
        services.messages->afficher(this, QStringLiteral("La restauration de la fiche s'est arrêtée."),
                                    QStringLiteral("Infos"), Icone::Exclamation, Boutons::Ok,
                                    q(joindreProblemes(r.problemes)));
        charger();
        return;
    case Genre::Recreee:
        principale_.reinitialiser();
        principale_.remplirliste();
        break;
    case Genre::Remplacee:
        principale_.montrerFiche(r.cle);
        break;
    }
    services.messages->afficher(this, QStringLiteral("Fiche restaurée"), QStringLiteral("Infos"), Icone::Information);
    // The restoring archived what it replaced: that version is offered too.
    charger();
}

}  // namespace tarvex

namespace tarvex {

void ouvrirArchives(Principale& principale)
{
    tarvex::Archives fenetre(principale);
    fenetre.charger();
    principale.services().fenetres->afficherModal(&fenetre);
}

}  // namespace tarvex
