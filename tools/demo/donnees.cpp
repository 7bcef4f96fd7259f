#include "donnees.h"

namespace demo {

namespace {

QStringList lignes(const char* texte)
{
    QStringList l = QString::fromUtf8(texte).split(QLatin1Char('\n'));
    while (!l.isEmpty() && l.first().isEmpty())
        l.removeFirst();
    while (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

QPainterPath cercle(double x, double y, double d)
{
    QPainterPath p;
    p.addEllipse(QPointF(x, y), d / 2, d / 2);
    return p;
}

QPainterPath rectangle(double x, double y, double w, double h, double r = 0)
{
    QPainterPath p;
    if (r > 0)
        p.addRoundedRect(QRectF(x, y, w, h), r, r);
    else
        p.addRect(QRectF(x, y, w, h));
    return p;
}

Piece tournee(const QString& matiere, QVector<Troncon> troncons, double alesage = 0)
{
    Piece p;
    p.forme = Piece::Tournee;
    p.couleur = couleurMatiere(matiere);
    p.troncons = std::move(troncons);
    p.alesage = alesage;
    return p;
}

Piece plate(const QString& matiere, QPainterPath contour, double epaisseur, QVector<QPainterPath> trous,
            QPainterPath poche = QPainterPath(), double profondeur = 0)
{
    Piece p;
    p.forme = Piece::Plate;
    p.couleur = couleurMatiere(matiere);
    p.contour = std::move(contour);
    p.epaisseur = epaisseur;
    p.trous = std::move(trous);
    p.poche = std::move(poche);
    p.profondeurPoche = profondeur;
    return p;
}

Piece pivot() { return tournee(QStringLiteral("ACIER"), {{25, 30}, {8, 40}, {25, 25, false, true}, {30, 20}}); }

QVector<QSize> tailles(std::initializer_list<QSize> t) { return QVector<QSize>(t); }

const QSize L(640, 480);   // landscape
const QSize P(480, 640);   // portrait
const QSize C(480, 480);   // square

}  // namespace

QString codeDemo() { return QStringLiteral("TVX2026"); }

QStringList texteSansDossier()
{
    return {QStringLiteral("Pas de dossier machine disponible."),
            QStringLiteral("Le dossier de cette machine reste à rédiger par le service entretien.")};
}

QString fichierImage(Drapeau d)
{
    switch (d) {
    case Vue: return QStringLiteral("Vue.jpg");
    case Mont1: return QStringLiteral("mont1.jpg");
    case Mont2: return QStringLiteral("mont2.jpg");
    case Inst: return QStringLiteral("inst.jpg");
    case Bride: return QStringLiteral("bride.jpg");
    case Butee: return QStringLiteral("butée.jpg");
    case PrefX: return QStringLiteral("prefx.jpg");
    case PrefY: return QStringLiteral("prefy.jpg");
    case PrefZ: return QStringLiteral("prefz.jpg");
    default: return QString();
    }
}

Prise prisePour(Drapeau d)
{
    switch (d) {
    case Mont2: return Prise::Mont2;
    case Inst: return Prise::Inst;
    case Bride: return Prise::Bride;
    case Butee: return Prise::Butee;
    case PrefX: return Prise::PrefX;
    case PrefY: return Prise::PrefY;
    case PrefZ: return Prise::PrefZ;
    default: return Prise::Mont1;
    }
}

QVector<MachineDemo> machinesDemo()
{
    QVector<MachineDemo> m;

    MachineDemo tour1;
    tour1.nom = QStringLiteral("TOUR 1");
    tour1.port = QStringLiteral("COM1");
    tour1.vitesse = QStringLiteral("9600");
    tour1.parite = QStringLiteral("E(ven)");
    tour1.bits = QStringLiteral("7");
    tour1.stop = QStringLiteral("2");
    tour1.genre = 1;
    tour1.directeur = 1;
    tour1.aspect = {ModeleMachine::TourCarene, QColor(226, 228, 224), QColor(30, 80, 150), tour1.nom};
    tour1.photo = L;
    tour1.dossier = lignes(R"(
TOUR 1 - Tour CN 2 axes, directeur NUM
Mise en service : mars 2009
Diamètre admissible sur banc (mm)
400
Longueur maxi usinable (mm)
600
Passage de barre (mm)
52
Puissance broche (kW)
15.0
Vitesse maxi broche : 4000 tr/min
Mandrin 3 mors hydraulique Ø 210, tourelle 12 postes
Jeu mesuré sur l'axe X (mm)
0.02
Entretien
Graissage centralisé : vérifier le niveau chaque lundi
Vidange du bac d'arrosage tous les 6 mois
Dernière révision broche : 12/01/2024
)");
    m << tour1;

    MachineDemo cu;
    cu.nom = QStringLiteral("CU 3 AXES");
    cu.port = QStringLiteral("COM2");
    cu.vitesse = QStringLiteral("4800");
    cu.parite = QStringLiteral("E(ven)");
    cu.bits = QStringLiteral("7");
    cu.stop = QStringLiteral("1");
    cu.genre = 2;
    cu.directeur = 1;
    cu.aspect = {ModeleMachine::CentreUsinage, QColor(200, 204, 200), QColor(40, 120, 70), cu.nom};
    cu.photo = P;
    cu.dossier = lignes(R"(
CU 3 AXES - Centre d'usinage vertical, directeur NUM
Courses X 600, Y 400, Z 450 (mm)
Cône de broche : ISO 40
Magasin 20 outils
Vitesse maxi broche (tr/min)
8000
Avance rapide (m/min)
24
Couple de serrage de l'étau (daN.m)
1.50
Entretien
Contrôle de la géométrie : 1 fois par an
Filtre à air de l'armoire : nettoyer tous les mois
Dernière révision : 03/06/2025
)");
    m << cu;

    MachineDemo t2;
    t2.nom = QStringLiteral("TOUR T2");
    t2.port = QStringLiteral("COM3");
    t2.vitesse = QStringLiteral("4800");
    t2.parite = QStringLiteral("E(ven)");
    t2.bits = QStringLiteral("7");
    t2.stop = QStringLiteral("2");
    t2.genre = 1;
    t2.directeur = 3;
    t2.aspect = {ModeleMachine::TourCarene, QColor(236, 234, 226), QColor(225, 170, 30), t2.nom, 1};
    t2.photo = L;
    t2.dossier = lignes(R"(
TOUR T2 - Tour CN à banc incliné, directeur FANUC
Mise en service : 2016
Mandrin Ø 250, passage de barre 65 mm
Tourelle 10 postes, outils VDI 30
Vitesse maxi broche (tr/min)
3500
Dérive thermique mesurée en Z après 2 h (mm)
0.015
Liaison série : câble null-modem sur le port COM3 du PC atelier
Entretien
Pression hydraulique du mandrin (bar)
25.5
Vérifier le niveau d'huile hydraulique chaque semaine
)");
    m << t2;

    MachineDemo f4;
    f4.nom = QStringLiteral("FRAISEUSE F4");
    f4.port = QStringLiteral("COM4");
    f4.vitesse = QStringLiteral("2400");
    f4.parite = QStringLiteral("N(one)");
    f4.bits = QStringLiteral("8");
    f4.stop = QStringLiteral("1");
    f4.genre = 2;
    f4.directeur = 3;
    f4.aspect = {ModeleMachine::CentreUsinage, QColor(238, 238, 236), QColor(200, 70, 30), f4.nom, 1};
    f4.photo = C;
    f4.dossier = lignes(R"(
FRAISEUSE F4 - Centre d'usinage vertical 4 axes, directeur FANUC
Courses X 760, Y 420, Z 510 (mm)
Plateau diviseur 4e axe : démonté, rangé dans l'armoire 3
Cône de broche : BT 40
Vitesse maxi broche (tr/min)
10000
Lubrification : huile de glissière ISO VG 68
Écart de répétabilité mesuré (mm)
0.004
Dernière intervention : remplacement du codeur de l'axe Y, 14/10/2025
)");
    m << f4;

    MachineDemo t3;
    t3.nom = QStringLiteral("TOUR 3");
    t3.port = QStringLiteral("COM1");
    t3.vitesse = QStringLiteral("1200");
    t3.parite = QStringLiteral("O(dd)");
    t3.bits = QStringLiteral("7");
    t3.stop = QStringLiteral("1");
    t3.genre = 1;
    t3.directeur = 2;
    t3.aspect = {ModeleMachine::TourOuvert, QColor(92, 128, 104), QColor(92, 128, 104), t3.nom};
    t3.photo = QSize(320, 240);
    t3.dossier = lignes(R"(
TOUR 3 - Tour CN, directeur FAGOR
Année : 1998, commande remplacée en 2012
Entre-pointes 1000 mm, hauteur de pointes 180 mm
Porte-outil 4 positions
Vitesse maxi broche (tr/min)
2500
Gammes de vitesses : 2 (M41 et M42)
Jeu de la vis d'avance X (mm)
0.05
À surveiller : bruit du moteur de broche en gamme haute
)");
    m << t3;

    MachineDemo f2;
    f2.nom = QStringLiteral("FRAISEUSE 2");
    f2.port = QStringLiteral("COM5");
    f2.vitesse = QStringLiteral("600");
    f2.parite = QStringLiteral("N(one)");
    f2.bits = QStringLiteral("8");
    f2.stop = QStringLiteral("2");
    f2.genre = 2;
    f2.directeur = 2;
    f2.aspect = {ModeleMachine::FraiseuseConsole, QColor(120, 138, 160), QColor(235, 235, 230), f2.nom};
    f2.photo = P;
    f2.sorteDossier = MachineDemo::Remplacant;  // picker confirmed without a file
    m << f2;

    MachineDemo pc;
    pc.nom = QStringLiteral("PERCEUSE CN");
    pc.port = QStringLiteral("COM2");
    pc.vitesse = QStringLiteral("300");
    pc.parite = QStringLiteral("O(dd)");
    pc.bits = QStringLiteral("6");
    pc.stop = QStringLiteral("1");
    pc.genre = 2;
    pc.directeur = 10;
    pc.aspect = {ModeleMachine::Perceuse, QColor(214, 206, 180), QColor(40, 60, 90), pc.nom};
    pc.photo = QSize(360, 480);
    pc.dossier = lignes(R"(
PERCEUSE CN - Perceuse à colonne équipée d'une commande 2 axes
Capacité de perçage dans l'acier (mm)
25
Cône morse n° 3
Table croisée motorisée : courses X 300, Y 200
Transfert des programmes par la liaison série uniquement
Vitesse de transmission limitée à 300 bauds
Dernier graissage de la colonne : 02/2025
)");
    m << pc;

    // Created without a photograph and without a machine file; no sheet uses
    // it, so it can be deleted.
    MachineDemo dec;
    dec.nom = QStringLiteral("DÉCOLLETEUSE");
    dec.port = QStringLiteral("COM5");
    dec.vitesse = QStringLiteral("9600");
    dec.parite = QStringLiteral("N(one)");
    dec.bits = QStringLiteral("8");
    dec.stop = QStringLiteral("1");
    dec.genre = 1;
    dec.directeur = 10;
    dec.sorteDossier = MachineDemo::Aucun;
    m << dec;

    return m;
}

QVector<FicheDemo> fichesDemo()
{
    QVector<FicheDemo> f;

    // --- TOUR 1 (NUM, turning) ------------------------------------------------
    {
        FicheDemo s;
        s.piece = QStringLiteral("PIVOT");
        s.phase = QStringLiteral("20");
        s.machine = QStringLiteral("TOUR 1");
        s.ensemble = QStringLiteral("BRAS");
        s.matiere = QStringLiteral("ACIER");
        s.drapeaux = QStringLiteral("OONONNNNNOO");
        s.valeurs = {QStringLiteral("12.5"), QStringLiteral("-3"), QStringLiteral("150.255"), QStringLiteral("-0.75")};
        s.jauges = {QStringLiteral("D1 X-12.5 Z40 R0.8 C3"), QStringLiteral("D2 X-8.02 Z52.4 R0.4 C3"),
                    QStringLiteral("D3 X10 Z61.35 R0.2 C2")};
        s.programme = lignes(R"(
%120
(PIVOT PH20 - ACIER)
$ CONTROLER LA COTE 25
N10 G40 G80 G90 G94 M5 M9
N20 G0 G52 X0 Z0
N30 T1 D1 M6 (EBAUCHE)
N40 G92 S2500
N50 G96 S180 M3 M41 M8
N60 G0 X54 Z2
N70 G1 X-1.6 F0.2
N80 G0 X52 Z3
N90 G64 N100 N150 I0.5 K0.1 P2 F0.25
N100 G0 X20 Z2
N110 G1 Z-30
N120 X25
N130 Z-55
N140 X40 Z-56
N150 X52
N160 G0 G52 X0 Z0 M9
$ MESURER LE DIAMETRE 25 AVANT FINITION
N170 T2 D2 M6 (FINITION)
N180 G96 S220 M3 M8
N190 G42 G0 X18 Z2
N200 G1 Z0 F0.1
N210 X20 Z-1
N220 Z-30
N230 X25
N240 Z-55
N250 X40
N260 G40 G0 X54
N270 G0 G52 X0 Z0 M9
(GORGE DE DEGAGEMENT)
N280 T3 D3 M6
N290 G97 S800 M3 M8
N300 G0 X27 Z-30
N310 G1 X18.5 F0.05
N320 G4 F0.5
N330 G0 X27
N340 G0 G52 X0 Z0 M5 M9
$ EBAVURER ET CONTROLER LA COTE 25
N350 M2
)");
        s.forme = pivot();
        s.tailles = tailles({QSize(200, 100), L, L, P, L, L, L, L, L});
        s.numeroPlan = QStringLiteral("BR-2041-A");
        s.cotes = {QStringLiteral("Portée Ø25 g6 : Ra 0.8")};
        f << s;
    }
    {
        FicheDemo s;
        s.piece = QStringLiteral("AXE");
        s.phase = QStringLiteral("010");
        s.machine = QStringLiteral("TOUR 1");
        s.ensemble = QStringLiteral("Bâti");
        s.matiere = QStringLiteral("Acier traité");
        s.drapeaux = QStringLiteral("OONNNNNNONO");
        s.valeurs = {QStringLiteral("0"), QStringLiteral("-2.35"), QStringLiteral("148.6"), QStringLiteral("-0.2")};
        s.jauges = {QStringLiteral("D1 X-15.2 Z38.75 R0.8 C3"), QStringLiteral("D4 X-9.5 Z44.1 R0.4 C3"),
                    QStringLiteral("D6 X-11.08 Z50.02 R0.1 C3")};
        s.programme = lignes(R"(
%110
(AXE PH010 - ACIER TRAITE 30 HRC)
$ REPRISE DANS MORS DOUX SUR D24
N10 G40 G80 G90 M5 M9
N20 G0 G52 X0 Z0
N30 T1 D1 M6 (EBAUCHE)
N40 G92 S2200
N50 G96 S150 M3 M41 M8
N60 G0 X28 Z2
N70 G1 X-1.6 F0.18
N80 G0 X26 Z2
N90 G64 N100 N140 I0.4 K0.1 P1.5 F0.2
N100 G0 X16 Z2
N110 G1 Z-25
N120 X20
N130 Z-85
N140 X26
N150 G0 G52 X0 Z0 M9
N160 T4 D4 M6 (FINITION)
N170 G96 S200 M3 M8
N180 G42 G0 X13 Z2
N190 G1 X16 Z-1.5 F0.08
N200 Z-25
N210 X20
N220 Z-85
N230 G40 G0 X28
N240 G0 G52 X0 Z0 M9
$ FILETAGE M16 X 2 : CONTROLER A LA BAGUE
N250 T6 D6 M6 (FILETAGE)
N260 G97 S900 M3 M8
N270 G0 X18 Z5
N280 G33 X13.6 Z-22 K2 P1.2 Q0.2 R0
N290 G0 G52 X0 Z0 M5 M9
N300 M2
)");
        s.forme = tournee(s.matiere, {{35, 24}, {60, 20, false, true}, {8, 26}, {25, 16, true}});
        s.tailles = tailles({L, C, L, L, L, L, L, L, QSize(80, 60)});
        f << s;
    }
    // --- CU 3 AXES (NUM, milling) ----------------------------------------------
    {
        FicheDemo s;
        s.piece = QStringLiteral("FLASQUE");
        s.phase = QStringLiteral("10");
        s.machine = QStringLiteral("CU 3 AXES");
        s.ensemble = QStringLiteral("CARTER");
        s.matiere = QStringLiteral("AU4G");
        s.drapeaux = QStringLiteral("OOOOOOOOOOO");
        s.valeurs = {QStringLiteral("-250.5"), QStringLiteral("-180.125"), QStringLiteral("-310.4"),
                     QStringLiteral("0"),      QStringLiteral("0"),        QStringLiteral("0.5")};
        s.jauges = {QStringLiteral("D1 L120.5 R31.5"), QStringLiteral("D2 L98.32 R0"), QStringLiteral("D3 L135 R4.5"),
                    QStringLiteral("D4 L110.75 R8")};
        s.programme = lignes(R"(
%1234
(FLASQUE PH10 - CU 3 AXES)
(SURFACAGE, PASSE DE 0.5)
$ SERRER LA PIECE EN BUTEE CONTRE LE TAQUET
N10 G40 G80 G90 M5 M9
N20 G0 G52 Z0
N30 T1 D1 M6 (FRAISE A SURFACER D63)
N40 S2400 M3 M8
N50 G0 X-100 Y0
N60 Z5
N70 G1 Z-0.5 F300
N80 X100 F800
N90 G0 Z5
N100 G0 G52 Z0 M9
N110 T2 D2 M6 (FORET A CENTRER)
N120 S3000 M3 M8
N130 G0 X45 Y0 Z5
N140 G81 X45 Y0 Z-3 ER2 F150
N150 X22.5 Y38.971
N160 X-22.5
N170 X-45 Y0
N180 X-22.5 Y-38.971
N190 X22.5
N200 G80 G0 G52 Z0 M9
N210 T3 D3 M6 (FORET D9)
N220 S1800 M3 M8
N230 G83 X45 Y0 Z-18 ER2 P3 F200
N240 X22.5 Y38.971
N250 X-22.5
N260 X-45 Y0
N270 X-22.5 Y-38.971
N280 X22.5
N290 G80 G0 G52 Z0 M9
$ CONTROLER L ENTRAXE DES TROUS 90
N300 T4 D4 M6 (FRAISE D16 - ALESAGE D40)
N310 S2200 M3 M8
N320 G0 X0 Y0 Z5
N330 G1 Z-15.5 F120
N340 G1 X12 F250
N350 G2 X12 Y0 I0 J0
N360 G1 X0
N370 G0 Z5
N380 G0 G52 Z0 M5 M9
$ EBAVURER LES TROUS
N390 M2
)");
        const QVector<QPainterPath> trous = {cercle(45, 0, 9),      cercle(22.5, 38.971, 9),  cercle(-22.5, 38.971, 9),
                                             cercle(-45, 0, 9),     cercle(-22.5, -38.971, 9), cercle(22.5, -38.971, 9),
                                             cercle(0, 0, 40)};
        s.forme = plate(s.matiere, cercle(0, 0, 120), 15, trous);
        s.tailles = tailles({C, L, P, L, P, L, QSize(267, 200), QSize(160, 240), QSize(400, 600)});
        s.numeroPlan = QStringLiteral("CT-1107-B");
        s.cotes = {QStringLiteral("Alésage Ø40 H7 : Ra 1.6"), QStringLiteral("6 trous Ø9 répartis sur Ø90 ±0.05")};
        s.gamme = {QStringLiteral("10|Surfaçage, perçage 6 x Ø9, alésage Ø40 H7|CU 3 AXES|Entraxe 90, Ø40 H7"),
                   QStringLiteral("20|Retournement : surfaçage face arrière à 15|CU 3 AXES|Épaisseur 15 ±0.05"),
                   QStringLiteral("30|Ébavurage, marquage|Établi|Visuel")};
        f << s;
    }
    {
        FicheDemo s;
        s.piece = QStringLiteral("SUPPORT");
        s.phase = QStringLiteral("30");
        s.machine = QStringLiteral("CU 3 AXES");
        s.ensemble = QStringLiteral("Bâti");
        s.matiere = QStringLiteral("Fonte GS");
        s.drapeaux = QStringLiteral("OONOOOOOOON");
        s.valeurs = {QStringLiteral("-312.08"), QStringLiteral("-140"), QStringLiteral("-402.66"),
                     QStringLiteral("0.1"),     QStringLiteral("-0.05"), QStringLiteral("0")};
        s.jauges = {QStringLiteral("D1 L120.5 R31.5"), QStringLiteral("D5 L102.4 R10"), QStringLiteral("D6 L88 R5")};
        s.forme = plate(s.matiere, rectangle(0, 0, 140, 80, 6), 25,
                        {cercle(70, 18, 12), cercle(70, 62, 12), rectangle(12, 34.5, 30, 11, 5.5),
                         rectangle(98, 34.5, 30, 11, 5.5)});
        s.tailles = tailles({L, L, L, P, L, C, L, L, P});
        s.numeroPlan = QStringLiteral("BT-0330");
        s.cotes = {QStringLiteral("Lumières 11 x 30 : entraxe 86 ±0.1")};
        f << s;
    }
    // --- TOUR T2 (FANUC, turning) ---------------------------------------------
    {
        FicheDemo s;
        s.piece = QStringLiteral("BAGUE");
        s.phase = QStringLiteral("20");
        s.machine = QStringLiteral("TOUR T2");
        s.ensemble = QStringLiteral("BRAS");
        s.matiere = QStringLiteral("Bronze CuSn12");
        s.drapeaux = QStringLiteral("OONONNNNOOO");
        s.valeurs = {QStringLiteral("G54"), QStringLiteral("0"), QStringLiteral("287.415")};
        s.jauges = {QStringLiteral("D1 X-14.3 Z35.5 R0.8 C3"), QStringLiteral("D2 X-10.12 Z41 R0.4 C3"),
                    QStringLiteral("D3 X12.6 Z58.25 R0.4 C2")};
        s.programme = lignes(R"(
%
O1020 (BAGUE PH20)
(BRONZE - TOUR T2)
N10 G21 G40 G99
N20 G28 U0 W0
N30 T0101 (EBAUCHE)
N40 G50 S2500
N50 G96 S200 M03
N60 G00 X62. Z2. M08
N70 G71 U2. R0.5
N80 G71 P90 Q130 U0.4 W0.1 F0.25
N90 G00 X48.
N100 G01 Z0. F0.15
N110 X50. Z-1.
N120 Z-30.
N130 X62.
N140 G28 U0 W0 M09
(FINITION)
N150 T0202
N160 G96 S250 M03
N170 G00 X62. Z2. M08
N180 G70 P90 Q130
N190 G28 U0 W0 M09
(ALESAGE D32 H7)
N200 T0303
N210 G96 S180 M03
N220 G00 X30. Z2. M08
N230 G71 U1. R0.5
N240 G71 P250 Q280 U-0.3 W0.05 F0.15
N250 G00 X33.
N260 G01 Z0. F0.1
N270 X32. Z-0.5
N280 Z-41.
N290 G70 P250 Q280
N300 G28 U0 W0 M09
N310 M30
%
)");
        s.forme = tournee(s.matiere, {{10, 60}, {30, 50, false, true}}, 32);
        s.tailles = tailles({C, L, L, L, L, L, L, L, L});
        s.numeroPlan = QStringLiteral("BR-2044");
        s.cotes = {QStringLiteral("Alésage Ø32 H7 : Ra 0.8")};
        f << s;
    }
    // --- FRAISEUSE F4 (FANUC, milling) ----------------------------------------
    {
        FicheDemo s;
        s.piece = QStringLiteral("PLATINE");
        s.phase = QStringLiteral("40");
        s.machine = QStringLiteral("FRAISEUSE F4");
        s.ensemble = QStringLiteral("CARTER");
        s.matiere = QStringLiteral("Acier S235");
        s.drapeaux = QStringLiteral("OOONOOOOOOO");
        s.valeurs = {QStringLiteral("G55"), QStringLiteral("-412.305"), QStringLiteral("-198.7"),
                     QStringLiteral("-356.02")};
        s.jauges = {QStringLiteral("D1 L125.6 R25"), QStringLiteral("D2 L96.4 R8"), QStringLiteral("D3 L140.2 R5.25"),
                    QStringLiteral("D4 L110 R0")};
        s.programme = lignes(R"(
%
O2040 (PLATINE PH40)
(ACIER S235 - FRAISEUSE F4)
N10 G21 G17 G40 G49 G80 G90
N20 G91 G28 Z0.
(POCHE 80 X 50 PROFONDEUR 8)
N30 T2 M06
N40 G90 G55 G00 X80. Y50.
N50 G43 H02 Z50. S2500 M03
N60 Z5. M08
N70 G01 Z-4. F150.
N80 G41 D02 X100. F400.
N90 Y65.
N100 X60.
N110 Y35.
N120 X100.
N130 Y50.
N140 G40 X80.
N150 Z-8. F150.
N160 G41 D02 X120. F400.
N170 Y75.
N180 X40.
N190 Y25.
N200 X120.
N210 Y50.
N220 G40 X80.
N230 G00 Z50. M09
N240 G91 G28 Z0.
(PERCAGE 4 TROUS D10.5)
N250 T3 M06
N260 G90 G55 G00 X15. Y15.
N270 G43 H03 Z50. S1400 M03
N280 Z5. M08
N290 G83 X15. Y15. Z-24. R2. Q4. F120.
N300 X145.
N310 Y85.
N320 X15.
N330 G80 G00 Z50. M09
N340 G91 G28 Z0. M05
N350 M30
%
)");
        s.forme = plate(s.matiere, rectangle(0, 0, 160, 100), 20,
                        {cercle(15, 15, 10.5), cercle(145, 15, 10.5), cercle(145, 85, 10.5), cercle(15, 85, 10.5)},
                        rectangle(40, 25, 80, 50, 8), 8);
        s.tailles = tailles({L, L, L, L, L, L, P, P, L});
        s.numeroPlan = QStringLiteral("CT-1120");
        s.cotes = {QStringLiteral("Poche 80 x 50 profondeur 8 +0.1/0")};
        s.gamme = {QStringLiteral("10|Débit 165 x 105|Scie|Longueur"),
                   QStringLiteral("20|Surfaçage deux faces à 20|FRAISEUSE F4|Épaisseur 20 ±0.1"),
                   QStringLiteral("30|Contour 160 x 100|FRAISEUSE F4|Dimensions"),
                   QStringLiteral("40|Poche 80 x 50, perçage 4 x Ø10.5|FRAISEUSE F4|Profondeur 8, entraxes")};
        f << s;
    }
    // --- TOUR 3 (FAGOR, turning) ----------------------------------------------
    {
        FicheDemo s;
        s.piece = QStringLiteral("ENTRETOISE");
        s.phase = QStringLiteral("10");
        s.machine = QStringLiteral("TOUR 3");
        s.ensemble = QStringLiteral("Bâti");
        s.matiere = QStringLiteral("Inox 304L");
        s.drapeaux = QStringLiteral("OONONNNNNNO");
        s.valeurs = {QStringLiteral("Serrage en mors doux Ø 30, dépassement 45 mm"),
                     QStringLiteral("Origine pièce : face avant + 0.5 (surépaisseur du brut)"),
                     QStringLiteral("Foret Ø 16 puis alésoir Ø 16.5 H7, arrosage abondant"),
                     QStringLiteral("Contrôle 1 pièce sur 10 : longueur 40 ±0.05")};
        s.jauges = {QStringLiteral("D1 X-13 Z36.2 R0.4 C3"), QStringLiteral("D2 X0 Z95.5 R0 C7"),
                    QStringLiteral("D3 X-9.5 Z40.8 R0.2 C2")};
        s.programme = lignes(R"(
%01010
(ENTRETOISE PH10 - INOX 304L)
N10 G71 G90 G95
N20 G92 S2000
N30 T1.1 (EBAUCHE FINITION)
N40 G96 S120 M3 M41 M8
N50 G0 X34 Z2
N60 G1 X-1 F0.15
N70 G0 X31 Z2
N80 G1 Z-42 F0.2
N90 G0 X34 Z2
N100 G0 X200 Z200
N110 T2.2 (FORET D16)
N120 G97 S600 M3
N130 G0 X0 Z5
N140 G1 Z-45 F0.08
N150 G0 Z5
N160 G0 X200 Z200
N170 T3.3 (ALESOIR D16.5 H7)
N180 G97 S250 M3
N190 G0 X0 Z5
N200 G1 Z-44 F0.1
N210 G0 Z5
N220 G0 X200 Z200 M5 M9
(TRONCONNAGE A LA MAIN)
N230 M30
)");
        s.forme = tournee(s.matiere, {{40, 30}}, 16.5);
        s.tailles = tailles({QSize(320, 240), L, L, L, L, L, L, L, L});
        f << s;
    }
    // --- PERCEUSE CN (other) ----------------------------------------------------
    {
        FicheDemo s;
        s.piece = QStringLiteral("GOUPILLE");
        s.phase = QStringLiteral("50");
        s.machine = QStringLiteral("PERCEUSE CN");
        s.ensemble = QStringLiteral("BRAS");
        s.matiere = QStringLiteral("Acier traité");
        s.drapeaux = QStringLiteral("OONNNONNNNO");
        s.jauges = {QStringLiteral("A compléter")};
        s.programme = lignes(R"(
%150
(GOUPILLE PH50 - PERCAGE TRANSVERSAL D3)
$ PIECE EN VE - BUTEE A 12 MM
N10 G90 G40 G80
N20 T1 M6 (FORET A CENTRER)
N30 S3500 M3
N40 G0 X0 Y0 Z10
N50 G81 Z-1.5 R2 F80
N60 G80 G0 Z50
N70 T2 M6 (FORET D3)
N80 S4000 M3 M8
N90 G0 X0 Y0 Z10
N100 G83 Z-10 R2 Q1.5 F60
N110 G80 G0 Z50 M9
N120 M30
)");
        s.forme = tournee(s.matiere, {{30, 8}, {10, 6}});
        s.tailles = tailles({QSize(60, 45), L, L, L, L, L, L, L, L});
        f << s;
    }
    // --- CU 3 AXES again: the same part in its next phase ----------------------
    {
        FicheDemo s;
        s.piece = QStringLiteral("PIVOT");
        s.phase = QStringLiteral("30");
        s.machine = QStringLiteral("CU 3 AXES");
        s.ensemble = QStringLiteral("BRAS");
        s.matiere = QStringLiteral("ACIER");
        s.drapeaux = QStringLiteral("OONNNNOOONO");
        s.valeurs = {QStringLiteral("-205.4"), QStringLiteral("-96.25"), QStringLiteral("-388.1"),
                     QStringLiteral("0"),      QStringLiteral("0"),      QStringLiteral("-0.2")};
        s.jauges = {QStringLiteral("D5 L102.4 R10"), QStringLiteral("D7 L93.6 R1.5"), QStringLiteral("D8 L115.08 R0")};
        s.programme = lignes(R"(
%130
(PIVOT PH30 - MEPLATS ET PERCAGE D6)
$ PIECE DANS L ETAU SUR LE D30 - COLLERETTE CONTRE LES MORS
N10 G40 G80 G90 M5 M9
N20 G0 G52 Z0
N30 T5 D5 M6 (FRAISE 2T D20)
N40 S2800 M3 M8
N50 G0 X-15 Y-20 Z5
N60 G1 Z-2.5 F200
N70 Y20 F350
N80 G0 Z5
N90 G0 G52 Z0 M9
$ RETOURNER LA PIECE POUR LE 2EME MEPLAT
N100 M0
N110 T7 D7 M6 (FORET A POINTER)
N120 S3000 M3 M8
N130 G0 X-15 Y0 Z5
N140 G81 X-15 Y0 Z-2 ER2 F120
N150 G80 G0 G52 Z0 M9
N160 T8 D8 M6 (FORET D6)
N170 S2200 M3 M8
N180 G83 X-15 Y0 Z-28 ER2 P2 F140
N190 G80 G0 G52 Z0 M5 M9
N200 M2
)");
        s.forme = pivot();
        s.tailles = tailles({L, L, L, L, L, L, L, L, L});
        f << s;
    }
    // --- FRAISEUSE F4 again -----------------------------------------------------
    {
        FicheDemo s;
        s.piece = QStringLiteral("Levier");
        s.phase = QStringLiteral("20");
        s.machine = QStringLiteral("FRAISEUSE F4");
        s.ensemble = QStringLiteral("Tringlerie");
        s.matiere = QStringLiteral("Acier traité");
        s.drapeaux = QStringLiteral("OOONNNNNNNO");
        s.valeurs = {QStringLiteral("G56"), QStringLiteral("-385.125"), QStringLiteral("-202.4"),
                     QStringLiteral("-344.9")};
        s.jauges = {QStringLiteral("D1 L118.3 R8"), QStringLiteral("D2 L92.15 R5"), QStringLiteral("D3 L104 R10")};
        s.programme = lignes(R"(
%
O2020 (LEVIER PH20)
(ACIER TRAITE - CONTOUR ET ALESAGES)
N10 G21 G17 G40 G49 G80 G90
N20 G91 G28 Z0.
N30 T1 M06
N40 G90 G56 G00 X-35. Y0.
N50 G43 H01 Z50. S1800 M03
N60 Z5. M08
N70 G01 Z-16.5 F120.
N80 G41 D01 X-20. F300.
N90 G02 X-20. Y0. I20. J0.
N100 G01 X102. Y-13.
N110 G03 X102. Y13. I8. J13.
N120 G01 X-20. Y0.
N130 G40 X-35.
N140 G00 Z50. M09
N150 G91 G28 Z0.
(ALESAGES D20 ET D10)
N160 T3 M06
N170 G90 G56 G00 X0. Y0.
N180 G43 H03 Z50. S1500 M03
N190 Z5. M08
N200 G01 Z-16.5 F100.
N210 G00 Z5.
N220 X110. Y0.
N230 G01 Z-16.5
N240 G00 Z50. M09
N250 G91 G28 Z0. M05
N260 M30
%
)");
        QPainterPath contour = cercle(0, 0, 40).united(cercle(110, 0, 26));
        QPainterPath bras;
        bras.moveTo(0, -15);
        bras.lineTo(110, -10);
        bras.lineTo(110, 10);
        bras.lineTo(0, 15);
        bras.closeSubpath();
        contour = contour.united(bras).simplified();
        s.forme = plate(s.matiere, contour, 16, {cercle(0, 0, 20), cercle(110, 0, 10)});
        s.tailles = tailles({L, L, P, L, L, L, L, L, L});
        f << s;
    }
    // --- TOUR T2 again: no program, no technical file ---------------------------
    {
        FicheDemo s;
        s.piece = QStringLiteral("MANCHON");
        s.phase = QStringLiteral("20");
        s.machine = QStringLiteral("TOUR T2");
        s.ensemble = QStringLiteral("Tringlerie");
        s.matiere = QStringLiteral("Acier 42CrMo4");
        s.drapeaux = QStringLiteral("OONONNNNONN");
        s.valeurs = {QStringLiteral("G54"), QStringLiteral("0"), QStringLiteral("301.2")};
        s.jauges = {QStringLiteral("D1 X-14.3 Z35.5 R0.8 C3"), QStringLiteral("D5 X11.2 Z62.7 R0.4 C2")};
        s.forme = tournee(s.matiere, {{45, 45}, {15, 40}}, 30);
        s.tailles = tailles({L, L, L, L, L, L, L, L, L});
        f << s;
    }
    // --- CU 3 AXES: an accented part name ---------------------------------------
    {
        FicheDemo s;
        s.piece = QStringLiteral("Boîtier");
        s.phase = QStringLiteral("60");
        s.machine = QStringLiteral("CU 3 AXES");
        s.ensemble = QStringLiteral("Bâti");
        s.matiere = QStringLiteral("AU4G");
        s.drapeaux = QStringLiteral("OOOOOONNOOO");
        s.valeurs = {QStringLiteral("-150.75"), QStringLiteral("-120.4"), QStringLiteral("-298.6"),
                     QStringLiteral("0"),       QStringLiteral("0"),      QStringLiteral("0")};
        s.jauges = {QStringLiteral("D1 L120.5 R31.5"), QStringLiteral("D2 L98.32 R0"), QStringLiteral("D9 L131.4 R6"),
                    QStringLiteral("D10 L86.05 R3")};
        s.programme = lignes(R"(
%160
(BOITIER PH60 - POCHE 100 X 60 PROF 28)
$ BRUT SCIE 135 X 95 X 40 - BUTEE A GAUCHE
N10 G40 G80 G90 M5 M9
N20 G0 G52 Z0
N30 T1 D1 M6 (FRAISE A SURFACER D63)
N40 S3500 M3 M8
N50 G0 X-40 Y45
N60 Z5
N70 G1 Z0 F400
N80 X170 F1200
N90 G0 Z5
N100 G0 G52 Z0 M9
N110 T9 D9 M6 (FRAISE 3T D12 R6)
N120 S6000 M3 M8
N130 G0 X65 Y45 Z5
N140 G1 Z-7 F300
N150 G41 X65 Y75 F900
N160 X21
N170 Y15
N180 X109
N190 Y75
N200 X65
N210 G40 Y45
N220 G0 Z5
$ REPETER PAR PASSES DE 7 JUSQU A Z-28
N230 G0 G52 Z0 M9
N240 T10 D10 M6 (FORET D6.6)
N250 S4500 M3 M8
N260 G83 X7.5 Y7.5 Z-40 ER2 P4 F250
N270 X122.5
N280 Y82.5
N290 X7.5
N300 G80 G0 G52 Z0 M5 M9
$ CONTROLER LE FOND DE POCHE A 7 DU DESSOUS
N310 M2
)");
        s.forme = plate(s.matiere, rectangle(0, 0, 130, 90, 4), 35,
                        {cercle(7.5, 7.5, 6.6), cercle(122.5, 7.5, 6.6), cercle(122.5, 82.5, 6.6), cercle(7.5, 82.5, 6.6)},
                        rectangle(15, 15, 100, 60, 6), 28);
        s.tailles = tailles({L, P, L, L, C, L, L, L, L});
        s.numeroPlan = QStringLiteral("BT-0361-C");
        s.cotes = {QStringLiteral("Fond de poche : épaisseur 7 ±0.05")};
        f << s;
    }
    // --- FRAISEUSE 2 (FAGOR, milling) -------------------------------------------
    {
        FicheDemo s;
        s.piece = QStringLiteral("CALE");
        s.phase = QStringLiteral("10");
        s.machine = QStringLiteral("FRAISEUSE 2");
        s.ensemble = QStringLiteral("CARTER");
        s.matiere = QStringLiteral("Laiton");
        s.drapeaux = QStringLiteral("OONNONNNNON");
        s.valeurs = {QStringLiteral("Bridage direct sur la table, deux brides"),
                     QStringLiteral("Laiton : pas d'arrosage, soufflette seulement"),
                     QStringLiteral("Origine X Y : coin avant gauche ; Z : dessus de la cale")};
        s.jauges = {QStringLiteral("D1 L95.4 R4"), QStringLiteral("D2 L82.3 R2.25")};
        s.forme = plate(s.matiere, rectangle(0, 0, 80, 40), 10, {cercle(20, 20, 8.5), cercle(60, 20, 8.5)});
        s.tailles = tailles({QSize(400, 300), L, L, L, L, L, L, L, L});
        s.numeroPlan = QStringLiteral("CT-1131");
        f << s;
    }
    return f;
}

}  // namespace demo
