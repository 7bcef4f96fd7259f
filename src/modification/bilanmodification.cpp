#include "modification/bilanmodification.h"

#include "creation/formulaire.h"
#include "modification/bilan.h"
#include "modification/modification2.h"
#include "platform/instant.h"
#include "platform/principale.h"
#include "platform/textes.h"
#include "platform/verrouillage.h"
#include "store/lecteur.h"
#include "store/machines.h"

namespace tarvex {

using namespace plateforme;
using stockage::Emplacement;

Bilanmodification::Bilanmodification(Modification2& modification)
    : Fenetre(&modification, u("Bilanmodification"), u("Bilan Création"), 12000, 8400),
      modification_(modification),
      principale_(modification.principale())
{
    construireListes(this, 2640, 4440, 7680);
    Creer = bouton(this, "Créer", "Continuer", 9240, 7860);
    quitter = bouton(this, "quitter", "Annuler", 10620, 7860);
    connect(Creer, &QPushButton::clicked, this, &Bilanmodification::continuer);
    // Back to the modification window with every edit kept.
    connect(quitter, &QPushButton::clicked, this, &QWidget::hide);
}

void Bilanmodification::charger()
{
    const stockage::Modification mod = modification_.modification();
    Images& images = *principale_.services().images;
    const creation::Bilan b = bilan::bilanModification(
        mod, [&](const std::string& chemin) { return !images.charger(q(chemin)).isNull(); });

    Creer->setEnabled(true);
    remplirListes(b);
    if (b.refuse) Creer->setEnabled(false);
}

void Bilanmodification::mettreAJourPrincipale()
{
    Principale& p = principale_;
    Modification2& m = modification_;
    const auto e = m.emplacements();
    static_assert(stockage::kEmplacements == kFichiersFiche);
    std::array<bool, kFichiersFiche> avec{};
    for (int i = 0; i < stockage::kEmplacements; ++i) avec[i] = !e[i].chemin->text().isEmpty();
    std::optional<QString> listing;
    if (avec[stockage::EProgramme]) listing = m.programme->Listing->toPlainText();
    p.ficheModifiee(avec, listing);

    // The values as stored, shown by the main window.
    const ParamCom& com = m.fiche().com.valeur;
    formulaire::Valeurs& v = *m.valeurs;
    const bool y = codeMachine(sansBlancs(com.type)) == kFraisage;
    auto copier = [&p](Valeur vers, const QString& texte) { p.montrerValeur(vers, texte.trimmed()); };
    switch (codeMachine(sansBlancs(com.directeur))) {
    case kNum:
        copier(Valeur::Prefx, v.Prefx->text());
        if (y) copier(Valeur::Prefy, v.Prefy->text());
        copier(Valeur::Prefz, v.Prefz->text());
        copier(Valeur::Decx, v.Decx->text());
        if (y) copier(Valeur::Decy, v.Decy->text());
        copier(Valeur::Decz, v.Decz->text());
        break;
    case kFanuc:
        copier(Valeur::Decalage, v.Decalage->currentText());
        copier(Valeur::OrigineX, v.OrigineX->text());
        if (y) copier(Valeur::OrigineY, v.OrigineY->text());
        copier(Valeur::OrigineZ, v.OrigineZ->text());
        break;
    case kFagor:
        if (v.Infovrac->toPlainText().isEmpty()) v.Infovrac->setPlainText(u("Infos à compléter"));
        copier(Valeur::Infovrac, v.Infovrac->toPlainText());
        break;
    default: break;
    }
    if (v.Jauge->toPlainText().isEmpty()) v.Jauge->setPlainText(u("A compléter"));
    p.montrerValeur(Valeur::Jauge, v.Jauge->toPlainText());
}

void Bilanmodification::continuer()
{
    Principale& p = principale_;
    Services& services = p.services();
    stockage::Modification m = modification_.modification();
    m.maintenant = archives::instantDe(services.horloge->dateHeure());
    m.auteur = auteur(services);
    stockage::FinModification fin;
    EtatFiche etat = EtatFiche::Inchangee;
    if (!sousVerrou(services, this, u("Modification de la fiche %1").arg(p.entreeMontree()),
                    fin.resultat.problemes, [&] {
                        // Under the lock, so that nothing stores between this look and ours.
                        etat = comparerFiche(p.ficheAffichee());
                        if (etat != EtatFiche::Inchangee) return;
                        fin = stockage::enregistrer(m);
                        p.ficheStockee(empreintesFiche(p.ficheAffichee().champs));
                    }))
        return;
    if (p.ficheChangeeAilleurs(this, etat)) {
        // The edits were made over a sheet that is no longer the one stored:
        // the modification windows close with them.
        enregistre_ = true;
        hide();
        return;
    }
    // Once the record is replaced the main window follows it, even when a
    // later step stopped: the record tells the sheet's new state.
    if (fin.indexReecrit) mettreAJourPrincipale();
    if (!fin.resultat.ok()) {
        const QString suite =
            fin.indexReecrit
                ? u("La fiche est enregistrée dans data\\data.txt mais son dossier n'est pas complet ; appuyer de "
                    "nouveau sur « Continuer » achève la modification.")
                : u("Rien n'a été modifié.");
        services.messages->afficher(this,
                                    u("La modification de la fiche %1 s'est arrêtée :\n%2\n%3")
                                        .arg(p.entreeMontree(), q(joindreProblemes(fin.resultat.problemes)), suite),
                                    u("Infos"), Icone::Exclamation);
        return;
    }
    services.messages->afficher(this, u("Modification fiche usinage réusssie"), u("Infos"), Icone::Information);

    // The main window shows the new part view, no photograph selected, and
    // the stored program with its annotations: nothing of the old one stays.
    p.programmeModifie();
    p.vueModifiee();
    enregistre_ = true;
    hide();
}

}  // namespace tarvex
