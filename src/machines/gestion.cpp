#include "machines/gestion.h"

// Placeholder until the machine windows exist: nothing is created, shown or
// deleted.
namespace tarvex::machines {

std::optional<QString> creerMachine(QWidget*, plateforme::Services&) { return std::nullopt; }

void montrerInfoMachine(QWidget*, plateforme::Services&, const QString&) {}

bool supprimerMachine(QWidget*, plateforme::Services&, const QString&, const std::function<void()>&)
{
    return false;
}

}  // namespace tarvex::machines
