#pragma once
// Starting a program again at one of its lines, after a broken tool: the
// program the control is sent instead, or why it cannot be done there.
//
// The restart keeps the program's own start line(s) ("%..." and the "O..."
// number), then writes the state the skipped lines left (distance mode,
// plane, units, work offset, feed mode, the tool change as last written,
// length offset, spindle, feed, coolant), a safe approach to where the tool
// was at the chosen line, the motion in force again, and the program from
// that line to its end. Kept lines are the stored bytes unchanged; the
// written ones are the control's words, without block numbers.

#include "trajectoire/trajectoire.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvex::trajectoire {

struct DemandeReprise {
    std::string_view octets;  // the program as stored (Windows-1252, CR LF)
    int directeur = 0, type = 0;  // CNC type and machine kind codes of com.txt
    int ligne = -1;            // the chosen line (index), when no block number is given
    std::string bloc;          // or its block number: "N31200" or "31200"
    // Lines the sending puts after the program's start (NUM parameter
    // blocks of Charger), Windows-1252, without line ends; kept as given.
    std::vector<std::string> insertion;
};

struct Reprise {
    std::string refus;              // "" when done; else "CYCLE", "SOUS-PROGRAMME"...
    int ligne = -1;                 // the chosen line, index in the original
    std::vector<std::string> lignes;  // the restart program, Windows-1252, without line ends
    int debutProgramme = 0;         // index in `lignes` of the chosen line
    int debutApproche = 0, finApproche = 0;  // the approach's lines: [debut, fin)
    std::string explication;        // UTF-8: "Lignes 2 à 31 199 sautées ; état rétabli : ... ; approche : ..."
    std::vector<Point> approche;    // where each approach line takes the tool, in millimetres
};

Reprise reprendre(const DemandeReprise& demande);

// A program read once for several restarts (the listing's lines chosen one
// after the other); `demande.octets` is then not read again.
struct LectureReprise {
    std::vector<std::string> brutes;
    std::vector<Etat> etats;
    Programme programme;
};
LectureReprise lirePourReprise(std::string_view octets, int directeur, int type);
Reprise reprendre(const LectureReprise& lu, const DemandeReprise& demande);

// The restart program's bytes: each line ended by CR LF.
std::string texte(const Reprise& r);

// How the operator and the journal name a line: its block number "N160", or
// "ligne 18" (from 1) when it has none.
std::string repere(const LectureReprise& lu, int ligne);

}  // namespace tarvex::trajectoire
