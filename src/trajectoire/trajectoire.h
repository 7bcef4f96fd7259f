#pragma once
// What a sheet's program makes the tool do, read as its control reads it:
// the moves (lines and arcs) with their line, tool and plane, the lines whose
// motion cannot be known, and the travel of the tool along each axis.
//
// Positions are in millimetres, in the program's own coordinates; on a
// turning machine X stays as programmed, a diameter. An axis is unknown
// (NaN) until the program gives it a value: at the start, and again after a
// line whose motion is not known. Such a line leaves unknown every axis it
// names (a subprogram call or a return to the reference without axes: all
// three), so that nothing is drawn from a position the view would invent.
// A change of work offset (G54...) and the end of the program (M2, M30)
// leave all three unknown too. A move from an unknown position is kept (its
// end counts in the travel) but cannot be drawn. No position goes past
// kLimite: a line that would take one there is set apart.

#include <string>
#include <string_view>
#include <vector>

namespace tarvex::trajectoire {

// The plane of the arcs: G17, G18, G19. Its two axes (a, b) are X Y, Z X and
// Y Z; G2 turns clockwise seen from the third axis, as the drawing shows it
// with a across and b up.
enum class Plan : unsigned char { XY, ZX, YZ };

// Why a line is left out of the drawing.
enum class Raison : unsigned char {
    Cycle,          // canned cycle, lathe cycle or threading
    SousProgramme,  // subprogram or macro call, return, jump
    Variables,      // parameters or variables: E, L or # words, expressions
    CodeInconnu,    // a G code this reading does not know
    HorsRepere,     // reference return, machine coordinates, origin set, rotation or scaling
    MotInconnu,     // a word whose effect on the move is not known (chamfer, rotary axis...)
    ArcImpossible,  // no circle joins the start and the end with that centre or radius
    CorpsSousProgramme,  // RS274NGC "o<n> sub" to "endsub": runs where it is called
    HorsLimites,    // a coordinate, a centre or a radius past kLimite
};

// Past this (in millimetres) no control holds a coordinate.
inline constexpr double kLimite = 1e9;

struct Point {
    double x, y, z;  // NaN where unknown
    double operator[](int axe) const { return axe == 0 ? x : axe == 1 ? y : z; }
    double& operator[](int axe) { return axe == 0 ? x : axe == 1 ? y : z; }
};

inline bool connu(double v) { return v == v; }

struct Mouvement {
    int ligne = 0;           // index of the line in Programme::lignes
    bool rapide = false;     // G0
    bool arc = false;        // G2, G3
    bool horaire = false;    // G2
    Plan plan = Plan::XY;
    int outil = -1;          // tool number (T); -1 before the first one
    Point debut{}, fin{};    // debut unknown on some axis: the move starts from nowhere known
    // Arcs whose start is known. The centre is in the same coordinates as the
    // points (turning: X as a diameter); its coordinate on the plane's third
    // axis is the start's. The radius and the angles are those of the true
    // circle (turning: X read as a radius): angles from axis a towards axis b,
    // the sweep negative for G2, +-2 pi for a full circle. A helix climbs
    // evenly along the third axis from debut to fin.
    Point centre{};
    double rayon = 0, depart = 0, balayage = 0;
    bool arcConnu() const { return arc && rayon > 0; }
};

struct LigneNonTracee {
    int ligne = 0;       // index in Programme::lignes
    std::string texte;   // UTF-8
    Raison raison = Raison::MotInconnu;
};

// A drilling cycle's block on a mill in G17 (G81-G89; G73 G74 G76 of FANUC,
// G73 of RS274NGC): where the hole is, in the plane, its depth motion being
// unknown. Drawn as a cross of its tool's colour.
struct Percage {
    int ligne = 0;   // index in Programme::lignes
    int outil = -1;
    Point position{};  // X Y known; Z as before the cycle (NaN when unknown)
};

struct Programme {
    bool tournage = false;            // X is a diameter
    std::vector<std::string> lignes;  // the program's lines, UTF-8, as the listing shows them
    std::vector<Mouvement> mouvements;
    std::vector<LigneNonTracee> nonTracees;
    std::vector<Percage> percages;
    std::vector<int> outils;          // every tool the program names, in the order first named
};

// Reads a program as stored in prog.txt (Windows-1252, CR LF). `directeur`
// and `type` are the CNC type and machine kind codes of com.txt (kNum,
// kFanuc..., kTournage, kFraisage). NUM reads NUM words; FANUC, FANUC words
// (lathes: U W increments, G90 G92 G94 cycles; ";" ends a block, a length
// without a decimal point is in 0.001 mm or 0.0001 inch); FAGOR, the ISO
// words with G70/G71 for inch and millimetre; any other control, RS274NGC
// words. Arc centres: NUM's I J K are the centre itself under G90, from the
// start under G91; FANUC's and FAGOR's from the start (FAGOR's G06: the
// centre itself, on its line); RS274NGC's from the start unless G90.1.
Programme lire(std::string_view octets, int directeur, int type);

// The modes in force where a line starts, for starting the program again
// there. Codes are G x 10 (G54.1: 541) or M, 0 while the program has not
// written one; lines are indexes in Programme::lignes, -1 for none.
struct Etat {
    Point position{};      // where the tool is
    Point hauts{};         // the highest value reached on each axis in this work offset (NaN: none)
    Point changement{};    // where the tool was left by the last tool change's line
    int numero = -1;       // the line's own block number (N), -1 without one
    int mouvement = 0;     // the motion in force: 0, 10, 20, 30; above, a motion not drawn
    int cycle = 0;         // the canned cycle in force
    int repere = 0;        // the work offset as written
    int avance = 0;        // feed mode: G93 G94 G95 (turning FANUC: G98 G99)
    int vitesse = 0;       // G96 G97
    int longueur = 0;      // tool length: G43 G43.1 G44 G49
    int correction = 0;    // cutter radius: G40 G41 G42
    int broche = 0;        // M3 M4 M5
    int arrosage = 0;      // M7 M8 M9
    int codeLimite = 0;    // the code of the speed limit's line (G92, G50)
    int ligneT = -1, ligneTChange = -1, ligneM6 = -1, ligneD = -1, ligneH = -1, ligneS = -1, ligneF = -1,
        ligneLimite = -1;  // where the last of these words was read; ligneTChange: the T in force at the last M6
    int outil = -1, outilT = -1;  // the tool in the spindle, the last T read
    Plan plan = Plan::XY;
    bool pouces = false, relatif = false, centresAbsolus = false, xAuRayon = false, transforme = false,
         corps = false, fin = false;
};
// The same reading, with the state where each line starts (one per line).
Programme lire(std::string_view octets, int directeur, int type, std::vector<Etat>& etats);

// The lines of a program as stored, each without its line end, its bytes unchanged.
std::vector<std::string> lignesBrutes(std::string_view octets);
// The last word of letter `lettre` on a line as stored, as the control reads
// it: upper case, without blanks ("T0202", "S1200"); empty when none.
std::string motBrut(std::string_view ligne, char lettre, int directeur);

// The travel along one axis; empty until a position counts.
struct Intervalle {
    double min = 1e300, max = -1e300;
    bool vide() const { return min > max; }
    void ajouter(double v);
};

struct Etendue {
    Intervalle x, y, z;
    void ajouter(const Point& p);  // its known coordinates
    bool vide() const { return x.vide() && y.vide() && z.vide(); }
};

// Every position a move reaches: its end, and for an arc known whole its
// extreme points along the plane's axes. A start is the end of the move
// before, or unknown. A hole counts by its X and Y.
void ajouter(Etendue& e, const Mouvement& m, bool tournage);
Etendue etendue(const Programme& p);

struct EtendueOutil {
    int outil = -1;
    Etendue etendue;
};
// One per tool the program names, in the order first named; "T?" first when
// something moves before the first tool. A tool with nothing known has an
// empty travel.
std::vector<EtendueOutil> etenduesParOutil(const Programme& p);

// A value rounded to 0.001, without trailing zeros, "." as separator: "13.5",
// "-1", "0"; "?" for an unknown one.
std::string nombre(double v);
// "T1"; the moves before the first tool: "T?".
std::string nomOutil(int outil);
// One line per axis that counts, in the order X, Y, Z: "X de -1 à 13.5".
std::vector<std::string> lignesEtendue(const Etendue& e);
// One tool's line: "T1 : X de -1 à 13.5 ; Z de -85 à 2"; for a tool whose
// travel is empty, "T8 : aucun déplacement tracé".
std::string ligneOutil(const EtendueOutil& o);
// One line per tool of etenduesParOutil.
std::vector<std::string> lignesOutils(const Programme& p);

}  // namespace tarvex::trajectoire
