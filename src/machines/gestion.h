#pragma once
// What the sheet creation window asks of the machine windows: a new machine
// (MachineCréation and its report), a machine's file (CréationInfoMachine),
// and the deletion of a machine. The creation window owns its `Machine` list
// and its machine part; these calls tell it what to change.

#include "machines/ecriture.h"
#include "platform/services.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace tarvex::machines {

// Shows MachineCréation modally over `creation`. The operator may create
// several machines before leaving it: `ajouter` gets the name of each one
// (as stored, without surrounding blanks) the moment its report has written
// it, before the success message, so that the caller puts it last in its
// `Machine` list at once. The pickers are those of the main window above
// which `creation` stands.
void creerMachine(QWidget* creation, plateforme::Services& services,
                  const std::function<void(const QString&)>& ajouter);

// The same for a caller whose `Machine` combo box is a child of `creation`
// under that name: each new name is added at its end as it is written, so
// nothing is left for the caller to add and the result is always empty.
std::optional<QString> creerMachine(QWidget* creation, plateforme::Services& services);

// Shows CréationInfoMachine modally: the file of machine `nom`, each item as
// text. A file that cannot be read is said in a message, naming it, and no
// window opens.
void montrerInfoMachine(QWidget* creation, plateforme::Services& services, const QString& nom);

// Deletes machine `nom` after the in-use check and the operator's consent.
// `reinitialiser` is called once the name has left data\machine.txt and
// before the machine's files go: the caller refills its `Machine` list and
// returns its machine part to the no-machine state. Returns whether the
// machine was deleted (its name left the list). A name that the list does
// not hold as it is, surrounding blanks aside, is not deleted: its folder
// could be another machine's under another letter case.
// `vue`: the machine as the caller showed it when it was chosen. Under the
// data lock it is compared with the list and the folder now, and the in-use
// check is made again: a machine another computer deleted or changed since,
// or that a sheet created since uses, is told and nothing is deleted; on a
// change `reinitialiser` is called too, so that the list shows what is there.
// Without a `vue` of that name the machine is taken as the checks find it.
bool supprimerMachine(QWidget* creation, plateforme::Services& services, const QString& nom,
                      const machines::EmpreintesMachine* vue, const std::function<void()>& reinitialiser);

}  // namespace tarvex::machines
