#pragma once
// The one item reader of every data text file (lireitem) and the number
// reading of a text (lirenombre).

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvex {

// Reads items from the bytes of a whole file. An item ends at a comma or at a
// line end (CR LF, CR alone or LF alone); blanks around an unquoted item are
// dropped; a double quote groups an item, commas and line ends included, and
// whatever follows the closing quote up to the next separator is skipped.
// Items are returned as Windows-1252 bytes (brut) or as UTF-8 (suivant).
class LecteurItems {
public:
    struct Item {
        std::string_view brut;   // the item's bytes, into the buffer read
        bool entreGuillemets = false;
    };

    explicit LecteurItems(std::string_view octets) : texte_(octets) {}

    // True when only the end of the file remains.
    bool fin() const { return pos_ >= texte_.size(); }

    // The next item. Asking at the end gives an empty item and records that
    // the file was shorter than its reader expected (depasse()).
    Item suivantBrut();
    std::string suivant();

    // Up to `nombre` items at once, as that many calls of suivantBrut() would
    // give them while fin() is false; returns how many.
    std::size_t suivantsBruts(std::string_view* items, bool* entreGuillemets, std::size_t nombre);

    // Skips `nombre` items as that many suivantBrut() calls would while fin()
    // is false; returns how many were skipped.
    std::size_t passer(std::size_t nombre);

    bool depasse() const { return depasse_; }
    std::size_t position() const { return pos_; }

private:
    void passerSeparateur();

    std::string_view texte_;
    std::size_t pos_ = 0;
    bool depasse_ = false;
};

// The number a text starts with. Spaces, tabs and line feeds are ignored
// wherever they stand; then an optional sign, digits with at most one decimal
// point "." and an optional exponent (E or D); reading stops at the first
// other character. No leading number reads 0, so "12,5" is 12 and "1 2" is 12.
// The decimal point is "." whatever the system's regional settings.
double lirenombre(std::string_view texte);

// True when the whole text, blanks around it aside, is one number in the
// sense above ("1.50", "-3", "1E3"), as a value read from a file is taken
// for a number rather than for a text.
bool estNombre(std::string_view texte);

// The bytes to write for an item so that LecteurItems gives it back as it
// is: the item itself, or the item between double quotes when it holds a
// comma or a line end or has blanks at either end (a hand-edited file can
// hold such items; written bare, one field would become two and shift every
// later record). An item that holds a double quote as well cannot be written
// so as to come back whole and is written bare.
std::string protegerItem(std::string_view brut);
void ajouterItem(std::string& sortie, std::string_view brut);  // appends protegerItem(brut)

// Blanks (spaces and tabs) removed at both ends.
std::string_view sansBlancs(std::string_view texte);
std::string sansBlancs(const std::string& texte);

}  // namespace tarvex
