#include "machines/creationinfomachine.h"

#include "machines/infomachine.h"

namespace tarvex {

using namespace plateforme;

CreationInfoMachine::CreationInfoMachine(QWidget* parent)
    : Fenetre(parent, QString::fromUtf8("CréationInfoMachine"), QStringLiteral("Info Machine"), 5160, 4500)
{
    Frame4 = new Cadre(this);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Frame4->setTitle(QStringLiteral("Dossier"));
    placer(Frame4, 120, 60, 4920, 4320);
    List4 = new QListWidget(Frame4);
    List4->setObjectName(QStringLiteral("List4"));
    placer(List4, 120, 300, 4680, 3900);
}

Problemes CreationInfoMachine::charger(const QString& nomMachine)
{
    List4->clear();
    const auto lu = lireDossierMachine(nomMachine.toStdString());
    QStringList lignes;
    lignes.reserve(static_cast<qsizetype>(lu.valeur.size()));
    for (const auto& l : lu.valeur) lignes << QString::fromStdString(l);
    List4->addItems(lignes);
    return lu.problemes;
}

}  // namespace tarvex
