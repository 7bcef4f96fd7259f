#include "platform/autorisation.h"

#include "platform/construction.h"
#include "store/code.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace tarvex {

namespace {

// The system's look, with "*" for the characters of a masked box.
class StyleEtoiles : public QProxyStyle {
public:
    int styleHint(StyleHint h, const QStyleOption* o, const QWidget* w, QStyleHintReturn* r) const override
    {
        if (h == SH_LineEdit_PasswordCharacter) return '*';
        if (h == SH_LineEdit_PasswordMaskDelay) return 0;
        return QProxyStyle::styleHint(h, o, w, r);
    }
};

}  // namespace

QLineEdit* boiteCode(QWidget* parent, const char* nom, int x, int y, int l)
{
    auto* b = plateforme::creer<QLineEdit>(parent, nom, x, y, l, 315);
    auto* style = new StyleEtoiles;
    style->setParent(b);
    b->setStyle(style);
    b->setEchoMode(QLineEdit::Password);
    return b;
}

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
