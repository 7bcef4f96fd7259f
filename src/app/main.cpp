// Tarvex starts in its working folder, the one that holds data\: the folder
// it is started in when that holds one, else ~/tarvex (or $TARVEX_HOME),
// where the first start makes it.

#include "app/application.h"
#include "platform/fin.h"
#include "platform/servicesreels.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tarvex::preparerApplication();

    tarvex::plateforme::ServicesReels reels;
    tarvex::Programme programme(reels.services);
    const QString travail = tarvex::dossierTravail();
    if (!programme.preparerDonnees(travail, tarvex::dossierPartage())) return 0;
    if (!QDir::setCurrent(travail)) {
        reels.messages.afficher(nullptr, QStringLiteral("Dossier de travail inaccessible"), QStringLiteral("Infos"),
                                tarvex::plateforme::Icone::Critique, tarvex::plateforme::Boutons::Ok,
                                QDir::toNativeSeparators(travail));
        return 1;
    }
    programme.demarrer();
    tarvex::plateforme::surveillerFin(&app, tarvex::plateforme::finSansQuestion);
    return app.exec();
}
