#pragma once
// Drip-feed ("en continu"): a program far larger than the control's memory,
// which the control runs as it arrives. The bytes are exactly those of the
// ordinary sending, but made from the file as they go, a chunk at a time, so
// that the program's memory stays the same whatever the file's size and no
// number of lines is too many.

#include "cnclink/transmission.h"

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tarvex::continu {

// How much of the file is read at once.
inline constexpr std::size_t kMorceau = 64 * 1024;

// The program's bytes made into the ordinary sending's: each item as the
// item reader gives it, ended by LF; `insertion` (lines ended by LF, the NUM
// blocks of Charger) after the first; DC3 + LF at the end. Fed in pieces cut
// anywhere, a line end split between two included, it gives the same bytes
// as the whole file at once.
class Decoupe {
public:
    explicit Decoupe(std::string insertion = {}) : insertion_(std::move(insertion)) {}

    // Appends to `sortie` what these bytes make; an item's trailing blanks
    // wait until a later byte says whether they are inside it.
    void prendre(std::string_view octets, std::string& sortie);
    // The end of the program: its last item, the insertion of a program
    // without any, and DC3 + LF.
    void finir(std::string& sortie);

private:
    enum class Etat { Debut, Blancs, Corps, Guillemets, ApresGuillemets, ApresCR };
    void finItem(std::string& sortie);

    std::string insertion_;
    Etat etat_ = Etat::Debut;
    std::string blancs_;  // blanks inside an item not yet followed by anything else
    long long items_ = 0;
};

// Where the program comes from: a file read as it goes, or bytes already
// built (a restart program), sent the same way.
struct Source {
    std::string chemin;     // the file; when empty, `texte`
    std::string texte;
    std::string insertion;  // lines after the first, each ended by LF
};

// A source's sending, chunk by chunk.
class Lecture {
public:
    explicit Lecture(Source source);
    ~Lecture();

    // The file opened; kErreurFichierIntrouvable when it cannot be.
    std::optional<EchecTransfert> ouvrir();
    // Up to about kMorceau more bytes of the sending appended to `sortie`;
    // false once everything, DC3 + LF included, has been given, or once the
    // file is found changed (echec).
    bool suite(std::string& sortie);
    // The file could not be opened, or it no longer holds what it held when
    // it was opened (cut short, replaced, grown): its end read now would
    // send the control a block cut anywhere, followed by the DC3 that has it
    // run the program. Nothing more is given, not even the DC3.
    const std::optional<EchecTransfert>& echec() const { return echec_; }
    // The whole sending measured once beforehand: its lines and bytes, for
    // what is left to tell. Reads the source through and starts it again.
    struct Mesure {
        long long lignes = 0, octets = 0;
    };
    Mesure mesurer();
    double avancement() const;  // share of the source read, 0 to 1

private:
    Source source_;
    std::ifstream fichier_;
    std::unique_ptr<Decoupe> decoupe_;
    std::string tampon_;
    std::size_t position_ = 0;  // in `texte`
    long long lus_ = 0, taille_ = 0;
    bool fini_ = false;
    std::optional<EchecTransfert> echec_;
};

// The block number a line of the program begins with ("N31200"), blanks
// and a "/" skip mark before it allowed; empty when it has none.
std::string bloc(std::string_view ligne);

}  // namespace tarvex::continu
