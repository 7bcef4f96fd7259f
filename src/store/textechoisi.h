#pragma once
// A text file the operator chose for a sheet or a machine (a program, a
// machine file), as the data folder stores it. Data files are Windows-1252;
// a file saved in UTF-8 (what editors write by default on Linux) would
// otherwise be stored, shown, printed and sent to the CNC as its UTF-8 bytes
// read as Windows-1252: "(ÉBAUCHE)" would become "(Ã‰BAUCHE)". Standard C++
// only; paths are data-folder paths (chemins.h).

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvex::textechoisi {

struct Texte {
    // Valid UTF-8 holding characters beyond ASCII (or opened by the byte
    // order mark some editors put first): it is stored converted.
    bool utf8 = false;
    // The first character of a UTF-8 file that Windows-1252 cannot hold
    // (UTF-8), its code point and its line counted from 1; empty when there
    // is none.
    std::string absent;
    char32_t point = 0;
    std::size_t ligne = 0;
    // What is stored: the text in Windows-1252, the byte order mark left
    // out, or the bytes as read when the file is not UTF-8 or cannot be
    // converted (a Windows-1252 file stays as it is, byte for byte).
    std::string octets;

    bool convertible() const { return absent.empty(); }
    // Why a file that is not convertible is refused, for a message that
    // names the file: "ligne 3 : le caractère « ł » (U+0142) n'existe pas
    // en Windows-1252, le codage des fichiers de données".
    std::string raison() const;
};

Texte analyser(std::string_view octets);

// Copies `source` to `cible` as it is stored (analyser().octets); throws
// fichiers::ErreurFichier about the target when the source cannot be read or
// the target written, leaving the target as it was.
void copier(std::string_view source, std::string_view cible);

}  // namespace tarvex::textechoisi
