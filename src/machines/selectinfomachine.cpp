#include "machines/selectinfomachine.h"

namespace tarvex {

SelectInfoMachine::SelectInfoMachine(QWidget* parent)
    : FenetreDossierMachine(parent, QStringLiteral("SelectInfoMachine"), true)
{
}

}  // namespace tarvex
