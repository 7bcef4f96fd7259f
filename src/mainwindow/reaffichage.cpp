#include "mainwindow/selectphase.h"

#include "mainwindow/recherche.h"
#include "platform/textes.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/liste.h"

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

bool Selectphase::ficheAJour(QWidget* fenetre)
{
    // The program and the gauges are read from the disk as they are when
    // sent or printed; the offsets come from the boxes, and those must be
    // the ones stored.
    const EtatFiche etat = comparerFiche(fiche_, true);
    if (etat == EtatFiche::Inchangee) return true;
    services().messages->afficher(
        fenetre,
        etat == EtatFiche::Supprimee
            ? QStringLiteral("Cette fiche a été supprimée sur un autre poste. Rien n'a été envoyé.")
            : QStringLiteral("Cette fiche a été modifiée sur un autre poste depuis son affichage : elle est affichée "
                             "de nouveau. Rien n'a été envoyé."),
        QStringLiteral("Infos"), plateforme::Icone::Exclamation);
    reafficher();
    return false;
}

QString Selectphase::nomFiche() const { return q(texteEntree(fiche_.champs[CPiece], fiche_.champs[CPhase])); }

QStringList Selectphase::saisie() const
{
    QStringList s;
    for (const QLineEdit* b : {Prefx, Prefy, Prefz, Decx, Decy, Decz, Decalage, OrigineX, OrigineY, OrigineZ})
        s << b->text();
    s << Infovrac->toPlainText() << Jauge->toPlainText();
    for (const QComboBox* c : {Port2, Vitesse2, Parite2, Nbrebits2, Bitsstop2}) s << c->currentText();
    s << (Option2->isChecked() ? QStringLiteral("jauges") : QString());
    return s;
}

void Selectphase::aviser(const QString& texte)
{
    Avis->setText(texte);
    Avis->setToolTip(texte);  // whole, should a long name not fit
}

bool Selectphase::reafficher()
{
    // "Jauges seules" stays chosen: a Charger pressed again sends what the
    // operator chose, never a whole program instead.
    const bool jauges = Option2->isChecked();
    montrerFiche(cleEnregistrement(fiche_.champs));
    if (!ficheMontree()) return false;
    if (jauges && Option2->isEnabled()) {
        Option2->setChecked(true);
        saisieMontree();
    }
    return true;
}

namespace {

// The windows that stay open beside the main window all day (the DNC
// service, the journal, the programs received) work on no sheet shown: the
// list follows data\data.txt under them. Any other window of the program
// works on the sheet shown, or stores, and refills the list itself.
bool aCote(const QWidget* w)
{
    const QString nom = w->objectName();
    return nom == QStringLiteral("ServiceDNC") || nom == QStringLiteral("Journal") || nom == QStringLiteral("Recus");
}

bool fenetreOuverte()
{
    if (const QWidget* m = QApplication::activeModalWidget(); m && !aCote(m)) return true;
    const auto fenetres = QApplication::topLevelWidgets();
    return std::any_of(fenetres.begin(), fenetres.end(), [](const QWidget* w) {
        return w->isVisible() && qobject_cast<const QDialog*>(w) && !aCote(w);
    });
}

}  // namespace

void Selectphase::suivreIndex()
{
    if (fin_ || !isVisible() || fenetreOuverte()) return;
    // The operator is choosing: the list stays as it is under the hand.
    if (recherche_->enCours() || Phase->view()->isVisible()) return;
    // A share reconnecting loses data.txt for a look or two: the list, the
    // sheet shown and what was typed over it stay, told once, until it is
    // back; then it is looked at as if it had never gone.
    if (!fichiers::existe(kIndex)) {
        if (!indexAbsent_)
            aviser(QStringLiteral("data\\data.txt est introuvable pour le moment (partage réseau coupé ?) : la liste "
                                  "et la fiche affichée restent en attendant son retour."));
        indexAbsent_ = true;
        return;
    }
    if (indexAbsent_) {
        indexAbsent_ = false;
        aviser(QString());
    }
    const bool index = aChange(kIndex, indexLu_);
    if (!ficheMontree()) {
        if (index) remplirliste();
        return;
    }
    if (index) {
        const EtatFiche etat = comparerFiche(fiche_);
        // The sheet shown stays, as it is shown (values typed over
        // included), at the place its record now has.
        if (relireEtTrouver(cleEnregistrement(fiche_.champs)) < 0) {
            if (!listeLue_) return;  // an index that does not read was told; the sheet stays
            const QString nom = nomFiche();
            reinitialiser();
            aviser(QStringLiteral("La fiche %1 a été supprimée sur un autre poste.").arg(nom));
            return;
        }
        if (etat == EtatFiche::Inchangee) return;
    } else {
        const auto dossier = empreintesDossier(fiche_.champs);
        if (dossier == fiche_.vue.fichiers || dossier == dossierAvise_) return;
    }
    ficheChangee();
}

void Selectphase::ficheChangee()
{
    const QString nom = nomFiche();
    if (saisie() != saisieMontree_) {
        // What the operator typed is not thrown away under the hand;
        // Charger and Imprimer refuse the sheet until it is shown anew.
        dossierAvise_ = empreintesDossier(fiche_.champs);
        aviser(QStringLiteral("La fiche %1 a été modifiée sur un autre poste ; les valeurs saisies ici sont gardées.")
                   .arg(nom));
        return;
    }
    aviser(reafficher()
               ? QStringLiteral("La fiche %1 a été modifiée sur un autre poste : elle est affichée de nouveau.").arg(nom)
               : QStringLiteral("La fiche %1 a été supprimée sur un autre poste.").arg(nom));
}

}  // namespace tarvex
