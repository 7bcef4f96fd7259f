#pragma once
// The program's own services, the Qt implementations of every interface of
// services.h, gathered as main hands them to the windows (the tests hand
// them the doubles of doubles.h instead).

#include "platform/imprimanteqt.h"
#include "platform/portqt.h"
#include "platform/qtservices.h"

namespace tarvex::plateforme {

struct ServicesReels {
    QtMessages messages;
    QtFenetres fenetres;
    QtImages images;
    QtHorloge horloge;
    QtPorts ports;
    QtImprimante imprimante;
    QtVisionneuse visionneuse;
    QtDialogueEnregistrement enregistrement;
    QtApplication application;
    QtPoste poste;
    QtMemoire memoire;
    Occupation occupation;
    Services services{&messages,   &fenetres,    &images,      &horloge, &ports,  &imprimante,
                      &visionneuse, &enregistrement, &application, &poste,   &memoire, &occupation};
};

}  // namespace tarvex::plateforme
