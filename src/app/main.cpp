// Tarvex starts in its working folder, the one that holds data\: the folder
// it is started in when that holds one, else ~/tarvex (or $TARVEX_HOME),
// where the first start makes it.

#include "app/application.h"
#include "platform/fin.h"
#include "platform/imprimanteqt.h"
#include "platform/portqt.h"
#include "platform/qtservices.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tarvex::preparerApplication();

    tarvex::plateforme::QtMessages messages;
    tarvex::plateforme::QtFenetres fenetres;
    tarvex::plateforme::QtImages images;
    tarvex::plateforme::QtHorloge horloge;
    tarvex::plateforme::QtPorts ports;
    tarvex::plateforme::QtImprimante imprimante;
    tarvex::plateforme::QtVisionneuse visionneuse;
    tarvex::plateforme::QtDialogueEnregistrement enregistrement;
    tarvex::plateforme::QtApplication application;
    tarvex::plateforme::QtPoste poste;
    tarvex::plateforme::QtMemoire memoire;
    tarvex::plateforme::Occupation occupation;
    tarvex::plateforme::Services services{&messages,   &fenetres,    &images,         &horloge,    &ports,
                                          &imprimante, &visionneuse, &enregistrement, &application, &poste,
                                          &memoire,    &occupation};

    tarvex::Programme programme(services);
    const QString travail = tarvex::dossierTravail();
    if (!programme.preparerDonnees(travail, tarvex::dossierPartage())) return 0;
    if (!QDir::setCurrent(travail)) {
        messages.afficher(nullptr, QStringLiteral("Dossier de travail inaccessible"), QStringLiteral("Infos"),
                          tarvex::plateforme::Icone::Critique, tarvex::plateforme::Boutons::Ok,
                          QDir::toNativeSeparators(travail));
        return 1;
    }
    programme.demarrer();
    tarvex::plateforme::surveillerFin(&app, tarvex::plateforme::finSansQuestion);
    return app.exec();
}
