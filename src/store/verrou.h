#pragma once
// The data lock data\verrou.txt. When the data folder lives on a file server
// several computers may store at the same moment; every storing operation
// first creates this file, in one step of the server that fails when it
// exists, stores, and removes it. The file says who holds it (computer, user,
// process), since when and for what, so that another computer can tell the
// operator, and so that a lock left by a program that stopped can be told
// from one in use.
//
// A lock is waited on for 10 s. A lock of this computer whose process no
// longer runs is removed by itself, at once. After the wait, a lock that does
// not read (a program stopped between creating and writing it: a lock being
// written reads within milliseconds, not 10 s; or longer than any lock, a
// damaged file) is offered to the operator for removal; so is a lock this
// computer has seen stay in place, the same bytes under the same time stamp
// of the file server, for 10 minutes of its own clock. Anything else is in
// use. The date a lock holds is only shown: it is the other computer's clock,
// which may be far from this one's (time zone, summer time set on one
// computer only, a flat battery), and a lock written a second ago must never
// look old.

#include "store/archives.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarvex::verrou {

inline constexpr const char* kVerrou = "data\\verrou.txt";
inline constexpr int kAttenteMs = 10000;         // how long a lock in use is waited on
inline constexpr int kPasMs = 250;               // between two tries
inline constexpr int kAbandonSecondes = 10 * 60; // a lock seen in place this long is offered for removal
// A lock is five short lines: what is longer is a damaged file, of which no
// more than this is read.
inline constexpr std::size_t kTailleMax = 4096;

struct Identite {
    std::string poste;        // the computer's name, UTF-8
    std::string utilisateur;  // the user's name, UTF-8
    long long processus = 0;  // the process's number on its computer
};

// This process, as the system names it.
Identite ici();

// What a lock file says.
struct Contenu {
    Identite qui;
    archives::Instant depuis;
    std::string operation;  // in words: "Création d'une fiche", "Modification de la fiche PIVOT Phase 20"
};

// The five lines, Windows-1252, each ending with CR LF: computer, user,
// process, "JJ/MM/AAAA HH:MM:SS", operation.
std::string octets(const Contenu& c);
// nullopt when the bytes are not five such lines (empty, cut short, damaged).
std::optional<Contenu> lire(std::string_view octets);

// "Les données sont en cours de modification sur le poste P (U, depuis HH:MM:SS) : OPÉRATION."
std::string messageOccupe(const Contenu& c);
// "Le poste P a laissé un verrou à HH:MM:SS (OPÉRATION). Le retirer ?"
std::string questionAbandon(const Contenu& c);
// The same question for a lock that does not read, naming the file.
std::string questionIllisible();

// Removes the lock only if it still holds these bytes: a lock taken since by
// someone else is never removed. True when it was removed.
bool retirer(std::string_view trouve);

// What this computer has seen of the lock in place: the same lock (its bytes
// and the file's time stamp, both only compared) found again and again since
// `depuis`, on this computer's own clock. Kept from one try to the next.
struct Veille {
    bool vue = false;
    std::string octets;
    std::int64_t temps = 0;
    long long depuis = 0;  // ms
};

// What the waiting is made of, given by the caller so that the tests neither
// sleep nor depend on which processes run or on the time.
struct Attente {
    std::function<void(int ms)> patienter;          // empty: the thread sleeps
    std::function<bool(long long)> processusActif;  // of this computer; empty: the system is asked
    // Milliseconds on a clock of this computer that only moves forward;
    // empty: the system's.
    std::function<long long()> instant;
    Veille* veille = nullptr;  // empty: the process's own
};

// Takes the lock for `operation` (in words, UTF-8), dated `maintenant`
// (see Prise below).
struct Prise;
Prise prendre(const Identite& moi, const archives::Instant& maintenant, std::string_view operation,
              const Attente& attente = {});

// The lock while this process holds it; released when it goes, on every path.
class Verrou {
public:
    Verrou() = default;
    Verrou(const Verrou&) = delete;
    Verrou& operator=(const Verrou&) = delete;
    Verrou(Verrou&& autre) noexcept;
    Verrou& operator=(Verrou&& autre) noexcept;
    ~Verrou() { liberer(); }

    explicit operator bool() const { return tenu_; }
    const std::string& octets() const { return octets_; }
    // Removes the lock if it is still this one. A lock that could not be
    // removed is left: it names this computer and this process, which the
    // next operation takes for its own leftover and removes.
    void liberer() noexcept;

private:
    friend Prise prendre(const Identite&, const archives::Instant&, std::string_view, const Attente&);
    explicit Verrou(std::string octets) : octets_(std::move(octets)), tenu_(true) {}

    std::string octets_;
    bool tenu_ = false;
};

struct Prise {
    enum class Etat {
        Pris,     // `verrou` holds it
        Occupe,   // in use after the wait: show `message` ("Infos", exclamation)
        AOffrir,  // left behind: ask `message` ("Confirmation", question, Yes/No);
                  // on Yes, retirer(trouve) and try again
        Echec     // the file could not be created: `message` names it and says why
    };
    Etat etat = Etat::Echec;
    Verrou verrou;
    std::optional<Contenu> autre;  // the lock found, when it reads
    std::string trouve;            // its bytes (no more than kTailleMax + 1), for retirer()
    std::string message;
};

}  // namespace tarvex::verrou
