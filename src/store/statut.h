#pragma once
// Which program of a sheet is proven: statut.txt in the sheet's folder keeps
// every change of its status, one line each, newest last, so that the
// workshop can tell who said a program cut good parts, when and why, and
// which one must not go to a machine. A sheet without the file (every sheet
// made before it existed) has no status.
//
// The program itself only ever sets "En essai" (a new or changed program is
// unproven); "Validée" comes from an operator alone, with the authorisation
// code.

#include "store/archives.h"
#include "store/code.h"
#include "store/ficheaffichee.h"
#include "store/probleme.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::statut {

inline constexpr const char* kFichier = "statut.txt";

enum class Statut { EnEssai, Validee, Bloquee };
inline constexpr Statut kStatuts[] = {Statut::EnEssai, Statut::Validee, Statut::Bloquee};

// "En essai", "Validée", "Bloquée" (UTF-8).
const char* nom(Statut s);
// The status of that exact name; nothing for any other text.
std::optional<Statut> deNom(std::string_view utf8);

// Who makes a change: the computer and the user as the platform names them.
struct Auteur {
    std::string poste, utilisateur;
};

struct Ligne {
    std::string date, heure;  // "JJ/MM/AAAA", "HH:MM:SS"
    Statut statut = Statut::EnEssai;
    std::string poste, utilisateur, commentaire;  // UTF-8
};

Ligne ligneDe(Statut s, const std::string& commentaire, const Auteur& auteur, const archives::Instant& quand);

// "JJ/MM/AAAA;HH:MM:SS;STATUT;POSTE;UTILISATEUR;COMMENTAIRE" (UTF-8, no line
// end). A ";" inside a field is written ",", a control character or DEL "?":
// one line is one change, and it always reads back in six fields.
std::string texte(const Ligne& l);
// A line of that form (a CR left at its end aside); nothing otherwise.
std::optional<Ligne> analyser(std::string_view utf8);

struct Historique {
    std::vector<Ligne> lignes;  // oldest first, as the file holds them
    // The lines that do not read (the file edited by hand), as they are:
    // kept aside and reported, never taken for a status.
    std::vector<std::string> illisibles;
    // The status now: the last line's; none without a line.
    const Ligne* actuel() const { return lignes.empty() ? nullptr : &lignes.back(); }
};

// statut.txt of the sheet folder `dossier` (with its final "\"). A missing
// file is an empty history, no problem; each line that does not read is a
// problem naming the file.
Lu<Historique> lire(const std::string& dossier);

// The status now of the sheet folder `dossier`: its history's last line that
// reads, found from the end of the file (a long history is not read whole).
std::optional<Ligne> derniere(const std::string& dossier);
std::optional<Statut> actuel(const std::string& dossier);

// By record number of the index bytes, each sheet's status name now ("" for
// none), for the sheet search.
std::vector<std::string> statutsDesFiches(std::string_view octetsIndex);

// "Statut : En essai depuis le JJ/MM/AAAA (POSTE1, atelier)", the date being
// that of the file's last line; "Statut : —" without one.
std::string resume(const Historique& h);

// What a sending of a sheet must do first, by its status now. Every sending
// asks it before anything else (Charger, the DNC service, a restart), so
// that a blocked program never reaches a machine by any road.
enum class Envoi {
    Libre,     // no status, "Validée": sent as before
    Demander,  // "En essai": the operator says whether to send it; the service sends it and says so
    Refuse,    // "Bloquée": nothing is sent
};
struct AvantEnvoi {
    Envoi envoi = Envoi::Libre;
    // Refuse: "La fiche PIVOT Phase 20 BRAS est bloquée : <comment>. Rien
    // n'a été envoyé."; Demander: "Programme en essai depuis le JJ/MM/AAAA :
    // le charger ?". Empty when Libre.
    std::string message;
};
// The sheet of record `champs`, its status read now from the end of its
// statut.txt.
AvantEnvoi avantEnvoi(const Enregistrement& champs);
// The result the journal gives a sending refused, and a sending of an
// unproven program nobody was asked about (the DNC service's).
inline constexpr const char* kResultatBloquee = "Bloquée";
inline constexpr const char* kResultatEnEssai = "OK (en essai)";

// What an operator asks in the status window.
struct Demande {
    Statut nouveau = Statut::EnEssai;
    std::string commentaire;  // UTF-8
    std::string code;         // the authorisation code as typed
};

// Whether the change from `actuel` (none: no status yet) needs a comment and
// the authorisation code: a comment to block and to leave "Validée", the
// code to validate and to leave "Bloquée".
struct Exigences {
    bool commentaire = false;
    bool code = false;
};
Exigences exigences(std::optional<Statut> actuel, Statut nouveau);

// Why the operator's change is refused, in French as the window shows it;
// empty when it is allowed. The code is checked only when needed, by
// `verifier` (data\code.tvx's check).
std::string refus(std::optional<Statut> actuel, const Demande& d,
                  const std::function<VerificationCode(const std::string&)>& verifier = verifcode);

// Appends the line to the folder's statut.txt (created if missing, on a line
// of its own after a file edited by hand that ends without a line end).
Resultat ajouter(const std::string& dossier, const Ligne& l);

// The program's own change: "En essai" with why (Création, a program
// replaced, a version restored). Never anything else.
Resultat enEssai(const std::string& dossier, const std::string& commentaire, const Auteur& auteur,
                 const archives::Instant& quand);

// The comments of the program's own changes.
inline constexpr const char* kCreation = "Création";
inline constexpr const char* kModification = "Programme modifié";
// "Programme remplacé par celui reçu le JJ/MM/AAAA à HH:MM:SS sur COM2";
// without where it came from, "Programme remplacé par un programme reçu".
std::string commentaireRecu(const std::optional<archives::Instant>& quand, const std::string& port);
// "Version du JJ/MM/AAAA HH:MM:SS restaurée" (the version's date as listed).
std::string commentaireRestauration(const std::string& dateVersion);

// The operator's change, run under the data lock, in one call: the shown
// sheet is compared with the stored one first (a change stored by another
// computer since it was shown refuses it: `etat` says how, nothing written),
// then the rules are checked against the status stored now, then the line is
// appended.
struct Fin {
    EtatFiche etat = EtatFiche::Inchangee;
    std::string refus;           // the rules' reason, nothing written
    Resultat resultat;           // a file that failed
    Lu<Historique> historique;   // as stored afterwards
    std::optional<EmpreintesFiche> vue;  // the sheet's stamps afterwards, for the next storing
    bool enregistre() const { return etat == EtatFiche::Inchangee && refus.empty() && resultat.ok(); }
};
Fin changer(const FicheAffichee& fiche, const Demande& d, const Auteur& auteur, const archives::Instant& quand,
            const std::function<VerificationCode(const std::string&)>& verifier = verifcode);

}  // namespace tarvex::statut
