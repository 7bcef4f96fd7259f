#include "mainwindow/selectphase.h"

#include "store/index.h"

namespace tarvex {

void Selectphase::reselectionner()
{
    if (Phase->currentIndex() >= 0) phaseChoisie(Phase->currentIndex());
}

void Selectphase::montrerFiche(const std::string& cle)
{
    remplirliste();
    const Lu<Index> index = lireIndex();
    for (std::size_t numero = 0; numero < index.valeur.enregistrements.size(); ++numero) {
        if (cleEnregistrement(index.valeur.enregistrements[numero]) != cle) continue;
        const int entree = Phase->findData(static_cast<int>(numero), Qt::UserRole);
        if (entree < 0) break;
        Phase->setCurrentIndex(entree);
        phaseChoisie(entree);
        return;
    }
    reinitialiser();
}

}  // namespace tarvex
