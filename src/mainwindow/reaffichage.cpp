#include "mainwindow/selectphase.h"

#include "mainwindow/recherche.h"
#include "store/index.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>

#include <algorithm>

namespace tarvex {

void Selectphase::reselectionner()
{
    if (Phase->currentIndex() >= 0) phaseChoisie(Phase->currentIndex());
}

int Selectphase::relireEtTrouver(const std::string& cle)
{
    remplirliste();
    const Lu<Index> index = lireIndex();
    for (std::size_t numero = 0; numero < index.valeur.enregistrements.size(); ++numero) {
        if (cleEnregistrement(index.valeur.enregistrements[numero]) != cle) continue;
        const int entree = Phase->findData(static_cast<int>(numero), Qt::UserRole);
        if (entree >= 0) Phase->setCurrentIndex(entree);
        return entree;
    }
    return -1;
}

void Selectphase::montrerFiche(const std::string& cle)
{
    const int entree = relireEtTrouver(cle);
    if (entree < 0)
        reinitialiser();
    else
        phaseChoisie(entree);
}

bool Selectphase::ficheChangeeAilleurs(QWidget* fenetre, EtatFiche etat)
{
    if (etat == EtatFiche::Inchangee) return false;
    services().messages->afficher(
        fenetre,
        etat == EtatFiche::Supprimee
            ? QStringLiteral("Cette fiche a été supprimée sur un autre poste : rien n'a été enregistré.")
            : QStringLiteral("Cette fiche a été modifiée sur un autre poste depuis son affichage : rien n'a été "
                             "enregistré."),
        QStringLiteral("Infos"), plateforme::Icone::Exclamation);
    montrerFiche(cleEnregistrement(fiche_.champs));
    return true;
}

namespace {

// A window of the program over the main window: it stores through its own
// steps and refills the list itself when it closes.
bool fenetreOuverte()
{
    if (QApplication::activeModalWidget()) return true;
    const auto fenetres = QApplication::topLevelWidgets();
    return std::any_of(fenetres.begin(), fenetres.end(),
                       [](const QWidget* w) { return w->isVisible() && qobject_cast<const QDialog*>(w); });
}

}  // namespace

void Selectphase::suivreIndex()
{
    if (fin_ || !isVisible() || fenetreOuverte()) return;
    // The operator is choosing: the list stays as it is under the hand.
    if (recherche_->enCours() || Phase->view()->isVisible()) return;
    if (!aChange(kIndex, indexLu_)) return;
    if (Phase->currentIndex() < 0) {
        remplirliste();
        return;
    }
    // The sheet shown stays, as it is shown (values typed over included),
    // at the place its record now has; gone, nothing is selected any more.
    if (relireEtTrouver(cleEnregistrement(fiche_.champs)) < 0) reinitialiser();
}

}  // namespace tarvex
