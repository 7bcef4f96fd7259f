#pragma once
// Frame7 "PREF/DEC1/Jauges/Origine": the offsets and the gauges of a sheet,
// laid out the same in the main window, the creation window and the
// modification window. Each box holds an offset as a workshop writes it,
// sign, four digits and three decimals (-1250.125), beside a caption shown
// whole. Which frames show follows the machine kind and the CNC type.

#include "platform/controles.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <array>
#include <functional>

namespace tarvex {

// The width of Frame7, which the windows lay their other frames out around.
inline constexpr int kLargeurValeurs = 5640;

// The controls of Frame7, under the names of the windows' designs. The
// windows hold them as their own members (they derive from this).
struct CadresValeurs {
    plateforme::Cadre* Frame7;
    plateforme::Cadre* Frame9;  // "PREF"
    QLineEdit *Prefx, *Prefy, *Prefz;
    QLabel *Prefxtext, *Prefytext, *Prefztext;
    plateforme::Cadre* Frame10;  // "DEC1"
    QLineEdit *Decx, *Decy, *Decz;
    QLabel *Decxtext, *Decytext, *Decztext;
    plateforme::Cadre* Frame17;  // "Origine": its box is the window's own
    plateforme::Cadre* Frame19;  // "Décalage d'origine"
    QLineEdit *OrigineX, *OrigineY, *OrigineZ;
    QLabel *OrigineXtext, *OrigineYtext, *OrigineZtext;
    plateforme::Cadre* Frame21;  // "Données"
    QPlainTextEdit* Infovrac;
    plateforme::Cadre* Frame8;  // "Jauge Outil"
    QPlainTextEdit* Jauge;

    // Builds Frame7, kLargeurValeurs x 5880 twips, at (x, y) in `parent`.
    // `origine` puts the window's box of the origin used into Frame17 (the
    // main window shows it, the others offer a list); the gauge box is
    // `largeurJauge` twips wide.
    void construireValeurs(QWidget* parent, int x, int y, const std::function<void(plateforme::Cadre*)>& origine,
                           int largeurJauge);

    // Shows the frames that the machine kind and the CNC type call for and
    // locks or opens the Y boxes. False, and nothing changed, for a pair in
    // no row of the layout.
    bool appliquer(int type, int directeur);
    // Every offset frame hidden.
    void masquer();
    // The boxes of an offset, X Y Z.
    std::array<QLineEdit*, 9> boitesDecalages() const;
};

// A value box: light yellow, its value shown from its first character.
QLineEdit* boiteValeur(QWidget* parent, const char* nom, int x, int y, int l);

// A Y box that does not apply (locked: read-only, disabled, grey; its label
// disabled) or that does (editable, enabled, light yellow).
void verrouillerAxe(QLineEdit* boite, QLabel* etiquette, bool verrouille);

}  // namespace tarvex
