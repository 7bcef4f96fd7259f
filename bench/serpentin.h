#pragma once
// The 10,000-line milling program of the toolpath benchmarks: a serpentine of
// lines and half circles (by I J and by R), with block numbers, comments,
// tool changes and drilling cycles among them.

#include <string>

namespace banc {

// `outils`: tools taken in turn from a magazine that holds that many (0: a new one each time).
inline std::string serpentin(int lignes, int outils = 0)
{
    std::string s = "%1234\r\n(SERPENTIN D ESSAI)\r\n";
    int n = 2, y = 0, outil = 1;
    const auto ligne = [&](const std::string& texte) {
        s += "N" + std::to_string(n * 10) + " " + texte + "\r\n";
        ++n;
    };
    while (n < lignes) {
        if (n % 500 == 2) {
            ligne("G0 G52 Z0 M9");
            ligne("T" + std::to_string(outil) + " D" + std::to_string(outil) + " M6 (OUTIL " + std::to_string(outil) + ")");
            outil = outils > 0 ? outil % outils + 1 : outil + 1;
            ligne("G81 X10 Y" + std::to_string(y) + " Z-5 ER2 F100");
            ligne("G80 G0 X0 Y" + std::to_string(y) + " Z2");
            ligne("G1 Z-1 F200");
        }
        ligne("G1 X100 Y" + std::to_string(y) + " F500");
        // NUM under G90: I J are the centre itself.
        ligne("G3 X100 Y" + std::to_string(y + 2) + " I100 J" + std::to_string(y + 1));
        ligne("G1 X0.5");
        ligne("X0");
        ligne("G2 X0 Y" + std::to_string(y + 4) + " R1");
        y += 4;
    }
    return s;
}

}  // namespace banc
