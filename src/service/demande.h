#pragma once
// A sheet asked for from the control: the operator punches a short program
// whose first line begins "%9999" (NUM) or "O9999" (FANUC) and whose first
// text in parentheses names the sheet, "(PIVOT 20 BRAS)", "(ECLISSE 5
// JAUGES)". The answer is what Charger would send for that sheet, or a
// three-line program the operator reads on the control's screen.

#include "cnclink/transmission.h"
#include "store/ficheaffichee.h"
#include "store/index.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::dnc {

struct Demande {
    std::string premiereLigne;  // as it came (bytes), without its line end
    std::string nom;            // the text in parentheses (bytes), JAUGES removed
    bool jauges = false;        // the name ended by the word JAUGES
    std::string reprise{};      // "(PIVOT 20 REPRISE N31200)": the block to restart at (bytes), REPRISE and it removed
    bool continu = false;       // ... or CONTINU: the program drip-fed
};

// A request's first line holds its number and at most this many more
// characters: it is echoed in the three-line answers, and a control that
// punches a long line is sending a program, not asking.
inline constexpr std::size_t kDemandeLargeur = 80;

// "%9999"/"O9999" first line other than "%"; none for any other program.
std::optional<Demande> lireDemande(std::string_view programme);

// Erreur: the sheet was found but what Charger would send cannot be built.
// Bloquee: the sheet's status forbids any sending.
enum class Issue { Trouvee, Inconnue, Plusieurs, SansProgramme, Erreur, Bloquee };
struct Trouvaille {
    Issue issue = Issue::Inconnue;
    int numero = -1;  // position in data.txt
};

// Among the records of the machines `machines` (names as machine.txt holds
// them), the one the request names: part and phase ("PIVOT 20" or "PIVOT
// PHASE 20"), then the assembly when needed; letter case, accents and the
// blanks between words aside.
Trouvaille chercherFiche(const Demande& d, const Index& index, const std::vector<std::string>& machines);

// The three lines, each ended by LF, the last the DC3; `numero` names the
// failure of Issue::Erreur, as Charger shows it.
std::string reponse(const Demande& d, Issue issue, int numero = 0);
// How the journal and the row say the control was answered: "Fiche
// inconnue", "Plusieurs fiches", "Sans programme", "Erreur 53".
std::string resultatReponse(Issue issue, int numero = 0);

}  // namespace tarvex::dnc
