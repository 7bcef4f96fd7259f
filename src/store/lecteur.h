#pragma once
// The one item reader of every data text file (lireitem) and the number
// reading of a text (lirenombre).

#include <bit>
#include <cstdint>
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
    // give them while fin() is false; returns how many. Reading a record of
    // the index this way takes the items that end in one 64-byte stretch one
    // after the other from its separator bits, where calls one at a time
    // wait for each item's end before looking for the next one.
    std::size_t suivantsBruts(std::string_view* items, bool* entreGuillemets, std::size_t nombre);

    // Skips `nombre` items as that many suivantBrut() calls would while fin()
    // is false; returns how many were skipped. In a stretch without a quote
    // every separator ends one item, so the items are counted, not read.
    std::size_t passer(std::size_t nombre);

    bool depasse() const { return depasse_; }
    std::size_t position() const { return pos_; }

private:
    // Leaves its item in lent*_ rather than returning it: an Item returned
    // through memory would make the inline path spill its own to the stack.
    void suivantBrutLent();
    void passerSeparateur();
    std::size_t prochainSeparateur(std::size_t depuis)
    {
        const std::size_t bloc = depuis & ~static_cast<std::size_t>(63);
        if (bloc == blocDebut_) {
            const std::uint64_t m = blocMasque_ & (~std::uint64_t(0) << (depuis - bloc));
            if (m) return bloc + static_cast<std::size_t>(std::countr_zero(m));
        }
        return prochainSeparateurLent(depuis);
    }
    std::size_t prochainSeparateurLent(std::size_t depuis);
    void chargerBloc(std::size_t bloc);

    std::string_view texte_;
    std::size_t pos_ = 0;
    bool depasse_ = false;
    // One 64-byte stretch of the text seen as bits, one per byte: an index
    // of a hundred thousand records is 1.6 million items, and looking at
    // their bytes one at a time is most of the reading time.
    //   blocMasque_   separators: comma, CR, LF (but not the LF of a CR LF,
    //                 which goes with its CR: no item can start between them)
    //   blocCrLf_     the CRs followed by a LF
    //   blocDouteux_  separators after which the next item starts with a
    //                 blank or a quote, or before which the item ends with
    //                 a blank: those items take the careful way
    //   blocGuillemets_ the double quotes
    std::size_t blocDebut_ = static_cast<std::size_t>(-1);
    std::uint64_t blocMasque_ = 0, blocCrLf_ = 0, blocDouteux_ = 0, blocGuillemets_ = 0;
    std::size_t lentDebut_ = 0, lentLongueur_ = 0;
    bool lentCite_ = false;
};

// The item reader runs over every byte of every data file, the index
// included: the common item (unquoted, no blank at its ends) is read inline,
// the rest by suivantBrutLent().
inline LecteurItems::Item LecteurItems::suivantBrut()
{
    const std::size_t n = texte_.size();
    if (pos_ < n) {
        const char* const t = texte_.data();
        const std::size_t debut = pos_;
        const char c = t[debut];
        if (c != ' ' && c != '\t' && c != '"') {
            const std::size_t fin = prochainSeparateur(debut);
            if (fin == debut || (t[fin - 1] != ' ' && t[fin - 1] != '\t')) {
                pos_ = fin + 1;
                if (fin < n && t[fin] == '\r' && pos_ < n && t[pos_] == '\n') ++pos_;
                if (pos_ > n) pos_ = n;
                return {std::string_view(t + debut, fin - debut), false};
            }
        }
    }
    suivantBrutLent();
    return {std::string_view(texte_.data() + lentDebut_, lentLongueur_), lentCite_};
}

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
