#include "machines/fenetredossiermachine.h"

namespace tarvex {

using namespace plateforme;

FenetreDossierMachine::FenetreDossierMachine(QWidget* parent, const QString& nom)
    : Fenetre(parent, nom, QStringLiteral("Info Machine"), 5160, 4500)
{
    Frame4 = new Cadre(this);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Frame4->setTitle(QStringLiteral("Dossier"));
    placer(Frame4, 120, 60, 4920, 4320);
    List4 = new QListWidget(Frame4);
    List4->setObjectName(QStringLiteral("List4"));
    placer(List4, 120, 300, 4680, 3900);
}

Problemes FenetreDossierMachine::afficher(const Lu<std::vector<std::string>>& lu)
{
    List4->clear();
    QStringList lignes;
    lignes.reserve(static_cast<qsizetype>(lu.valeur.size()));
    for (const auto& l : lu.valeur) lignes << QString::fromStdString(l);
    List4->addItems(lignes);
    return lu.problemes;
}

}  // namespace tarvex
