#include "machines/creationinfomachine.h"

#include "machines/infomachine.h"

namespace tarvex {

CreationInfoMachine::CreationInfoMachine(QWidget* parent)
    : FenetreDossierMachine(parent, QString::fromUtf8("CréationInfoMachine"))
{
}

Problemes CreationInfoMachine::charger(const QString& nomMachine)
{
    return afficher(lireDossierMachine(nomMachine.toStdString()));
}

}  // namespace tarvex
