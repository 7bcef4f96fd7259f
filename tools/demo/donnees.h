#pragma once
// What the demo workshop holds: its machines and its machining sheets.

#include "images.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

namespace demo {

struct MachineDemo {
    QString nom;
    QString port, vitesse, parite, bits, stop;  // com.txt lines 1 to 5
    int genre = 1;                              // 1 turning, 2 milling
    int directeur = 1;                          // 1 NUM, 2 FAGOR, 3 FANUC, 10 other
    AspectMachine aspect;
    QSize photo;             // empty: created without a photograph
    enum Dossier { Texte, Aucun, Remplacant } sorteDossier = Texte;
    QStringList dossier;     // machine file when sorteDossier is Texte
};

// The eleven flags of a sheet, in index order.
enum Drapeau { Vue, Mont1, Mont2, Inst, Bride, Butee, PrefX, PrefY, PrefZ, DossierPdf, Programme, NbDrapeaux };

struct FicheDemo {
    QString piece, phase, machine, ensemble, matiere;
    QString drapeaux;            // eleven letters O/N
    QStringList valeurs;         // pref.txt, origine.txt or the lines of info.txt
    QStringList jauges;
    QStringList programme;
    Piece forme;
    QVector<QSize> tailles;      // picture size per flag (Vue .. PrefZ); empty = 640 x 480
    QString numeroPlan;
    QStringList cotes;           // notes of the technical file
    QStringList gamme;           // second page of the technical file
    bool drapeau(Drapeau d) const { return drapeaux.at(d) == QLatin1Char('O'); }
};

QVector<MachineDemo> machinesDemo();
QVector<FicheDemo> fichesDemo();

// The placeholder document of the data folder, and the authorisation code.
QStringList texteSansDossier();
QString codeDemo();

// The picture file of a flag (Mont1 .. PrefZ) and the view it shows.
QString fichierImage(Drapeau d);
Prise prisePour(Drapeau d);

}  // namespace demo
