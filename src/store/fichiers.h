#pragma once
// The file operations of the data store. Every storing operation is built from
// these, so that each step can be made to fail in the tests (a full disk, a
// file locked by another program, a stop of the machine) and the data folder
// checked afterwards. Paths are data-folder paths (see chemins.h).

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::fichiers {

class ErreurFichier : public std::runtime_error {
public:
    ErreurFichier(std::string chemin, std::string detail);
    const std::string& chemin() const { return chemin_; }
    const std::string& detail() const { return detail_; }

private:
    std::string chemin_;
    std::string detail_;
};

// The whole content, or nothing when the file is missing or unreadable.
std::optional<std::string> lire(std::string_view chemin);
// A file's size and its bytes from `debut` on (none when it is shorter;
// `debut` below 0 counts back from its end), or nothing as for lire: what
// was added to a long file since it was read, without reading it again.
struct Morceau {
    std::uint64_t taille = 0;
    std::string octets;
};
std::optional<Morceau> lireDepuis(std::string_view chemin, std::int64_t debut);
// No more than the first `maximum` bytes: a small file of which a damaged,
// huge copy must not be read whole.
std::optional<std::string> lireDebut(std::string_view chemin, std::size_t maximum);

bool existe(std::string_view chemin);
bool estDossier(std::string_view chemin);
std::vector<std::string> lister(std::string_view dossier);  // entry names, UTF-8

// Each of these is one operation; on failure it throws ErreurFichier and
// leaves the target as it was (a partially written file is never left under
// the target's name by ecrire or copier).
void ecrire(std::string_view chemin, std::string_view octets);   // create or replace, flushed to disk
void ajouter(std::string_view chemin, std::string_view octets);  // append, flushed to disk
// Appends `ligne` (its CR LF included) on a line of its own: a file saved by
// a text editor without its last line end gets one first, or the new line
// would be glued to the last and lost in it.
void ajouterLigne(std::string_view chemin, std::string ligne);
// Create or replace in place, flushed to disk, for a scratch file that is
// renamed over its target afterwards (data.tmp): ecrire's own rename would be
// one more step for nothing. A failure removes what was written.
void ecrireBrouillon(std::string_view chemin, std::string_view octets);
// Creates the file only if no file of that name exists, in one step of the
// file server (a lock): false when it exists. The bytes are written and
// flushed after; a failure removes what was created.
bool creerNouveau(std::string_view chemin, std::string_view octets);
void remplacer(std::string_view source, std::string_view cible); // rename over the target in one step
void copier(std::string_view source, std::string_view cible);    // byte copy, flushed to disk
void supprimer(std::string_view chemin);                         // a missing file is not an error
void creerDossier(std::string_view chemin);
void supprimerDossier(std::string_view chemin);                  // must be empty

// Told before each operation above (and before each lire) with the path it
// acts on. The tests install one to make a step fail as a full disk or a
// locked file would: it throws ErreurFichier, and the operation fails with it
// (lire then finds nothing). The program never installs one.
class Observateur {
public:
    virtual void avant(std::string_view chemin) = 0;

protected:
    ~Observateur() = default;
};
void observer(Observateur* o);  // nullptr: none

}  // namespace tarvex::fichiers
