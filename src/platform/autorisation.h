#pragma once
// The authorisation code as every window that changes the stored data asks
// it: the typed code checked, and "Code autorisation erroné" shown when it is
// refused (with the reason when the code file could not be read).

#include "platform/services.h"

#include <QString>

class QLineEdit;
class QWidget;

namespace tarvex {

// The authorisation code box: every character shown as "*".
QLineEdit* boiteCode(QWidget* parent, const char* nom, int x, int y, int l);

bool codeAccepte(QWidget* fenetre, plateforme::Messages& messages, const QString& tape);

}  // namespace tarvex
