#include "machines/fenetredossiermachine.h"

#include "machines/infomachine.h"
#include "platform/construction.h"

#include <QLocale>

namespace tarvex {

using namespace plateforme;

FenetreDossierMachine::FenetreDossierMachine(QWidget* parent, const QString& nom, bool nombres)
    : Fenetre(parent, nom, QStringLiteral("Info Machine"), 5160, 4500), nombres_(nombres)
{
    Frame4 = cadre(this, "Frame4", "Dossier", 120, 60, 4920, 4320);
    List4 = listeDeCadre(Frame4, "List4", 4920, 4320);
}

Problemes FenetreDossierMachine::charger(const QString& nomMachine)
{
    const std::string nom = nomMachine.toStdString();
    const auto lu = nombres_ ? lireDossierMachineValeurs(nom, QLocale().decimalPoint().toStdString())
                             : lireDossierMachine(nom);
    List4->clear();
    QStringList lignes;
    lignes.reserve(static_cast<qsizetype>(lu.valeur.size()));
    for (const auto& l : lu.valeur) lignes << QString::fromStdString(l);
    List4->addItems(lignes);
    return lu.problemes;
}

}  // namespace tarvex
