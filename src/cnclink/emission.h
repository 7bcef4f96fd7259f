#pragma once
// Sending a program file picked on disk to the CNC, as it stands.

#include "creation/selecteur.h"
#include "platform/controles.h"
#include "platform/fenetre.h"
#include "platform/listes.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace tarvex {

class Selectphase;

class Selecttelechargementprogramme : public plateforme::Fenetre, public CadresSelecteur {
    Q_OBJECT
public:
    explicit Selecttelechargementprogramme(Selectphase& principale);
    ~Selecttelechargementprogramme() override;

    plateforme::PortSerie* MSComm1;

private:
    void montrerFichier();
    void envoyer();

    Selectphase& principale_;
};

// The text of a file as a preview shows it: every character but the last
// (the line end the editors put there), line ends as line breaks. A missing,
// unreadable or empty file shows nothing. A file chosen to be stored (a
// sheet's program, a machine file) shows as it will be stored, a UTF-8 one
// converted to Windows-1252 (textechoisi.h); `brut`: as its bytes stand.
QString apercuTexte(const QString& chemin, bool brut = false);

}  // namespace tarvex
