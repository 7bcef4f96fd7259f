#pragma once
// The entries of the main window's list of sheets: "PIVOT Phase 20" with the
// record's position in the index, in the order the list shows them.

#include "store/index.h"
#include "store/probleme.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

struct EntreeListe {
    std::string texte;  // UTF-8
    int numero = 0;     // record position in data\data.txt, from 0
    bool operator==(const EntreeListe&) const = default;
};

// Part name and phase without surrounding blanks, joined by " Phase ".
std::string texteEntree(std::string_view piece, std::string_view phase);

// "PIVOT Phase 20 BRAS" as the journal names it: the entry and the assembly.
std::string nomComplet(const Enregistrement& e);

// A sort key for French alphabetical order without regard to letter case:
// accented letters sort beside their base letter (e, é, è together), an
// unaccented word before the same word with accents; equal keys mean the
// texts differ only in letter case.
std::string cleTri(std::string_view utf8);

// Every record of the index bytes, sorted as the list shows them; entries
// with the same text keep the index order.
Lu<std::vector<EntreeListe>> entreesListe(std::string_view octetsIndex);

// The same, read from data\data.txt (remplirliste).
Lu<std::vector<EntreeListe>> remplirliste();

// Windows-1252 text folded for a search: lower case, accents dropped
// ("Éclisse" and "eclisse" fold the same, "œ" to "oe").
std::string plierRecherche(std::string_view cp1252);

// The typed words (UTF-8, separated by blanks), each folded as plierRecherche
// does; none when the text holds a letter Windows-1252 lacks, which no data
// file can hold. The sheet search and the journal's filter both find a text
// when it holds every word.
std::vector<std::string> motsRecherche(std::string_view saisie);

// Finding a sheet by typing: the entries whose text (part and phase),
// assembly, material or machine hold every typed word, in the list's order.
class RechercheFiches {
public:
    // `ordre`: the record numbers of the list's entries, in the order shown.
    // `statuts`: by record number, each sheet's status (UTF-8, "" for none),
    // found as one more word of its sheet ("validée", "bloquée", "en essai").
    RechercheFiches(std::string_view octetsIndex, const std::vector<int>& ordre,
                    const std::vector<std::string>& statuts = {});

    struct Proposition {
        std::string texte;  // UTF-8: "PIVOT Phase 20 (ENS, XC48, TOUR 1)"
        int numero = 0;     // record position in the index
        bool operator==(const Proposition&) const = default;
    };
    struct Resultat {
        std::vector<Proposition> propositions;  // the first `maximum` found
        std::size_t trouvees = 0;                // all of them
    };
    // `saisie`: UTF-8, words separated by blanks. No word: nothing found.
    Resultat chercher(std::string_view saisie, std::size_t maximum) const;
    std::size_t taille() const { return numeros_.size(); }

private:
    struct Champs {
        std::uint32_t debut[5], longueur[5];  // part, phase, assembly, material, machine in index_
    };
    Proposition proposition(std::size_t i) const;

    std::string index_;             // the index bytes, Windows-1252
    std::string plie_;              // folded fields of every entry, in list order
    std::vector<std::uint32_t> debuts_;  // where each entry starts in plie_, and the end
    std::vector<int> numeros_;
    std::vector<Champs> champs_;
};

}  // namespace tarvex
