#pragma once
// What the sheet creation window asks of the machine windows: a new machine
// (MachineCréation and its report), a machine's file (CréationInfoMachine),
// and the deletion of a machine. The creation window owns its `Machine` list
// and its machine part; these calls tell it what to change.

#include "platform/services.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace tarvex::machines {

// Shows MachineCréation modally over `creation`. Returns the name of the
// machine written by its report, if one was; the caller adds it last to its
// `Machine` list.
std::optional<QString> creerMachine(QWidget* creation, plateforme::Services& services);

// Shows CréationInfoMachine modally: the file of machine `nom`, each item as
// text.
void montrerInfoMachine(QWidget* creation, plateforme::Services& services, const QString& nom);

// Deletes machine `nom` after the in-use check and the operator's consent.
// `reinitialiser` is called once the name has left data\machine.txt and
// before the machine's files go: the caller refills its `Machine` list and
// returns its machine part to the no-machine state. Returns whether the
// machine was deleted.
bool supprimerMachine(QWidget* creation, plateforme::Services& services, const QString& nom,
                      const std::function<void()>& reinitialiser);

}  // namespace tarvex::machines
