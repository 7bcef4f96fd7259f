#pragma once
// Every picture the demo data folder holds, drawn from scratch.

#include "dessin.h"

#include <QImage>
#include <QString>

namespace demo {

// Machine photographs.
enum class ModeleMachine { TourCarene, CentreUsinage, TourOuvert, FraiseuseConsole, Perceuse };

struct AspectMachine {
    ModeleMachine modele;
    QColor caisse;
    QColor bande;
    QString plaque;   // the name painted on the machine
    int variante = 0; // 1: control panel on the left of the enclosure
};

QImage photoMachine(const AspectMachine& aspect, int largeur, int hauteur, quint32 graine);

// Sheet pictures: the part view and the set-up photographs.
enum class Prise { Mont1, Mont2, Inst, Butee, Bride, PrefX, PrefY, PrefZ };

QImage photoPiece(const Piece& piece, int largeur, int hauteur, quint32 graine);
QImage photoReglage(Prise prise, const Piece& piece, bool tournage, int largeur, int hauteur, quint32 graine);

// Pictures delivered with the program.
QImage schemaTournage(int largeur, int hauteur);
QImage schemaFraisage(int largeur, int hauteur);
QImage logo(int largeur, int hauteur);
QImage pasDImage(int largeur, int hauteur);
QImage ecranDemarrage(int largeur, int hauteur);
QImage icone(int taille);

// Shared by the pictures: a font of the given pixel size.
QFont police(double pixels, bool gras = false, bool mono = false);

}  // namespace demo
