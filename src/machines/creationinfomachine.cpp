#include "machines/creationinfomachine.h"

namespace tarvex {

CreationInfoMachine::CreationInfoMachine(QWidget* parent)
    : FenetreDossierMachine(parent, QString::fromUtf8("CréationInfoMachine"), false)
{
}

}  // namespace tarvex
