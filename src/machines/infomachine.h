#pragma once
// A machine's file (data\machine\<name>\dossier.txt) as the "Info Machine"
// windows list it: one line per item of the file.

#include "store/probleme.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

// The general number text of a value: at most 15 significant digits, no
// trailing zero, no thousands separator; written out in full from 1E-4 up to
// below 1E15, otherwise as a mantissa and a signed exponent of at least two
// digits ("1.5E-05", "1E+15"). Zero is "0", whatever its sign; an infinite
// value has no text (empty). The decimal separator is given, as the regional
// settings choose it.
std::string texteNombre(double valeur, std::string_view separateurDecimal);

// How the main window's "Info Machine" lists one item: an unquoted item that
// is a number as a whole (see estNombre) in the general number text, so that
// 1.50 shows as 1.5 and 007 as 7; any other item as it stands. `brut` is the
// item's Windows-1252 bytes; the result is UTF-8.
std::string texteValeur(std::string_view brut, bool entreGuillemets, std::string_view separateurDecimal);

// The items of the machine file, in file order, empty items included. The
// machine name is taken without its surrounding blanks. A missing file or
// machine folder is reported and gives no line.
Lu<std::vector<std::string>> lireDossierMachine(const std::string& nomMachine);

// The same, each item as texteValeur shows it.
Lu<std::vector<std::string>> lireDossierMachineValeurs(const std::string& nomMachine,
                                                       std::string_view separateurDecimal);

}  // namespace tarvex
