#pragma once
// Small rules of text that several subsystems share: the end of a
// transmission, the port a name designates, and the lines of a program.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

// DC3 (XOFF) ends a program sent to or received from a CNC.
inline constexpr char kDC3 = '\x13';

// The port number: the last character of "COM1" read as a number.
int numeroPort(std::string_view port);

// The lines of a text: CR LF, LF or a lone CR end a line; a last line
// without an end counts; DC3 (the end of a transmission) is not text.
std::vector<std::string> lignesDe(std::string_view texte);

// A line of fields joined by ";", as the journal and a sheet's status
// history hold them: a ";" inside a field is written "," (it would split it
// in two), and a line end or any other control character, DEL included,
// "?" (it would make two lines of one, or reach the file raw).
std::string ligneDeChamps(std::initializer_list<std::string_view> champs);

}  // namespace tarvex
