#pragma once
// The deletion of the sheet selected in the main window, from the
// modification window's "Supprimer": code, last-sheet refusal, question,
// files, folder, index, then the main window back without a selection.

#include <QString>

class QWidget;

namespace tarvex {

class Principale;
struct FicheAffichee;

// `fenetre` is the modification window (parent of the message boxes), `fiche`
// the sheet the main window shows, `code` the window's Text3. Returns whether
// the sheet is gone from the index: the caller then closes itself. Otherwise
// nothing was changed, or what stopped the deletion half-way was told and the
// operator may press "Supprimer" again.
bool supprimerFiche(QWidget* fenetre, Principale& principale, const FicheAffichee& fiche, const QString& code);


}  // namespace tarvex
