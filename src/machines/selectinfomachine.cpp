#include "machines/selectinfomachine.h"

#include "machines/infomachine.h"

#include <QLocale>

namespace tarvex {

SelectInfoMachine::SelectInfoMachine(QWidget* parent)
    : FenetreDossierMachine(parent, QStringLiteral("SelectInfoMachine"))
{
}

Problemes SelectInfoMachine::charger(const QString& nomMachine)
{
    return afficher(lireDossierMachineValeurs(nomMachine.toStdString(), QLocale().decimalPoint().toStdString()));
}

}  // namespace tarvex
