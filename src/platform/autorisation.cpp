#include "platform/autorisation.h"

#include "store/code.h"

namespace tarvex {

bool codeAccepte(QWidget* fenetre, plateforme::Messages& messages, const QString& tape)
{
    const VerificationCode v = verifcode(tape.toStdString());
    if (v.accepte) return true;
    messages.afficher(fenetre, QStringLiteral("Code autorisation erroné"), QStringLiteral("Infos"),
                      plateforme::Icone::Information, plateforme::Boutons::Ok,
                      v.probleme ? QString::fromStdString(v.probleme->texte()) : QString());
    return false;
}

}  // namespace tarvex
