#pragma once
// The archives data\archives\<sheet folder>\<AAAAMMJJ-HHMMSS>\: before a
// storing step removes or replaces a file of a sheet folder, the file is
// copied into its folder fichiers\, beside fiche.txt (the sheet's index record
// as it stood) and motif.txt (why). The files kept have a folder of their own:
// a sheet folder may hold a fiche.txt or a motif.txt of the workshop's, and
// it is kept like any other file. Nothing here is ever removed: an archive is
// how a deleted sheet or a replaced program comes back.

#include "store/index.h"
#include "store/probleme.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvex::statut {
struct Auteur;
}

namespace tarvex::archives {

inline constexpr const char* kArchives = "data\\archives";
inline constexpr const char* kFiche = "fiche.txt";
inline constexpr const char* kMotif = "motif.txt";
// A file of the sheet that bears one of the version's own names (fiche.txt,
// motif.txt, or this folder's) is kept in this folder of the version, so that
// the bookkeeping never takes the place of a file it keeps; every other file
// lies beside fiche.txt and motif.txt under its own name.
inline constexpr const char* kHomonymes = "homonymes";

enum class Motif { Suppression, Modification, ProgrammeRecu, Restauration };

// "Suppression", "Modification", "Programme reçu de la CN", "Restauration".
std::string texteMotif(Motif motif);

struct Instant {
    int annee = 2000, mois = 1, jour = 1, heure = 0, minute = 0, seconde = 0;
};

// "AAAAMMJJ-HHMMSS".
std::string horodatage(const Instant& t);

// "data\archives\" + folder name + "\".
std::string dossierArchives(const std::string& nomdossier);

// Copies into a new version folder the files of data\<nomdossier>\ named in
// `fichiers`, whatever their names (a name missing from the folder is
// skipped), and always the status history statut.txt (so that every version
// tells which status its program had), then fiche.txt with
// `ligneFiche` (UTF-8, without its line end) and, last, motif.txt: a version
// without motif.txt was cut short before anything was removed, and is never
// offered. A version folder of that second already there (two storing steps
// within one second) gives "-2", "-3"... Returns the version folder, with its
// final "\". A name that would reach outside data\ (dossierFicheSur) is
// refused, nothing written.
Lu<std::string> archiver(const std::string& nomdossier, const std::string& ligneFiche, Motif motif,
                         const std::vector<std::string>& fichiers, const Instant& maintenant);

// The files of a sheet folder, as a deletion archives them: all of them.
std::vector<std::string> fichiersDuDossier(const std::string& nomdossier);

struct Version {
    std::string nomdossier;           // the sheet folder's name
    std::string nom;                  // the version folder's name: AAAAMMJJ-HHMMSS[-n]
    std::string chemin;               // the version folder, with its final "\"
    std::string date;                 // "JJ/MM/AAAA HH:MM:SS"
    std::string motif;                // as motif.txt holds it
    std::optional<Enregistrement> fiche;  // fiche.txt read back, when it reads as a record
    std::vector<std::string> fichiers;    // the sheet's files it holds, by name
};

// Where version `v` keeps the sheet's file `nom`.
std::string cheminGarde(const Version& v, const std::string& nom);

// Every complete version, newest first. Folders that are not versions are
// ignored; a fiche.txt that does not read is reported and its version kept.
Lu<std::vector<Version>> lister();

struct Restauration {
    enum class Genre { Recreee, Remplacee, Refusee, Echec };
    Genre genre = Genre::Echec;
    std::string raison;    // why it was refused, for the operator
    Problemes problemes;   // the files that failed
    std::string cle;       // the restored sheet's key
};

// Brings a version back. A sheet that is neither in the index nor on disk
// gets its folder, its files and its record (appended) again. For a sheet in
// the index, the version's files replace the current ones, which are archived
// first ("Restauration"), so that the restoring can itself be undone. In both
// cases the record's presence flags follow the files the folder then holds.
// Names are compared as the folders are found, letter case aside.
// Refused, with nothing written: a version without a readable record, or
// whose record names another folder; a name that would reach outside data\;
// a folder that is another record's; for a deleted sheet, a version other
// than a deletion's (it keeps only the files its step replaced, not the whole
// sheet: the reason names the deletion's version, to be restored first), a
// machine that has left the machine list, a folder of that name that the
// index does not know (unless it is what an interrupted restoring of this
// same version left).
// A restored sheet is "En essai" again, said by a line of statut.txt by
// `auteur`. A deleted sheet gets its history back from the version first; a
// sheet in the index keeps its own: a history only grows, and the lines
// since the version stay in the restoring's own archive anyway.
Restauration restaurer(const Version& version, const Instant& maintenant, const statut::Auteur& auteur);

}  // namespace tarvex::archives
