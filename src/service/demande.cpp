#include "service/demande.h"

#include "store/cp1252.h"
#include "store/lecteur.h"
#include "store/liste.h"
#include "store/machines.h"
#include "store/statut.h"

#include <algorithm>

namespace tarvex::dnc {

namespace {

constexpr const char* kInconnue = "(TARVEX - FICHE INCONNUE)";
constexpr const char* kPlusieurs = "(TARVEX - PLUSIEURS FICHES - PRECISER L ENSEMBLE)";
constexpr const char* kSansProgramme = "(TARVEX - FICHE SANS PROGRAMME)";
constexpr const char* kBloquee = "(TARVEX - FICHE BLOQUEE)";

bool blanc(char c) { return c == ' ' || c == '\t' || c == '\0'; }

std::string_view rogner(std::string_view t)
{
    while (!t.empty() && blanc(t.front())) t.remove_prefix(1);
    while (!t.empty() && blanc(t.back())) t.remove_suffix(1);
    return t;
}

// The words of a Windows-1252 text, folded as the sheet search folds them:
// letter case and accents aside, however many blanks between them.
std::vector<std::string> mots(std::string_view cp) { return motsRecherche(cp1252::versUtf8(cp)); }

std::vector<std::string> motsChamp(const Enregistrement& e, Champ c) { return mots(cp1252::depuisUtf8(e[c])); }

// `demande` begins with `tete` from word `i`: `i` moved past it.
bool suivi(const std::vector<std::string>& demande, std::size_t& i, const std::vector<std::string>& tete)
{
    if (tete.empty() || demande.size() - i < tete.size()) return false;
    if (!std::equal(tete.begin(), tete.end(), demande.begin() + static_cast<std::ptrdiff_t>(i))) return false;
    i += tete.size();
    return true;
}

// The last word of `t`, taken off it with the blanks before it.
std::string_view oterDernierMot(std::string_view& t)
{
    t = rogner(t);
    std::size_t k = t.size();
    while (k > 0 && !blanc(t[k - 1])) --k;
    const std::string_view mot = t.substr(k);
    t = rogner(t.substr(0, k));
    return mot;
}

enum class Accord { Aucun, PiecePhase, Ensemble };

// How far the request's words name the record: its part then its phase
// ("PIVOT 20" or "PIVOT PHASE 20"), then, when words remain, its assembly
// and nothing more.
Accord accord(const std::vector<std::string>& demande, const Enregistrement& e)
{
    std::size_t i = 0;
    if (!suivi(demande, i, motsChamp(e, CPiece))) return Accord::Aucun;
    if (i < demande.size() && demande[i] == "phase") {
        std::size_t j = i + 1;
        // A phase that is itself named "PHASE ..." is read as written.
        if (suivi(demande, j, motsChamp(e, CPhase))) {
            i = j;
        } else if (!suivi(demande, i, motsChamp(e, CPhase))) {
            return Accord::Aucun;
        }
    } else if (!suivi(demande, i, motsChamp(e, CPhase))) {
        return Accord::Aucun;
    }
    if (i == demande.size()) return Accord::PiecePhase;
    const std::vector<std::string> ensemble = motsChamp(e, CEnsemble);
    return std::equal(demande.begin() + static_cast<std::ptrdiff_t>(i), demande.end(), ensemble.begin(), ensemble.end())
               ? Accord::Ensemble
               : Accord::Aucun;
}

}  // namespace

std::optional<Demande> lireDemande(std::string_view programme)
{
    std::string_view reste = programme;
    while (!reste.empty()) {
        const std::size_t fin = reste.find_first_of("\r\n");
        const std::string_view l = reste.substr(0, fin);
        const std::string_view coeur = rogner(l);
        if (coeur.empty() || coeur == "%") {
            reste = fin == std::string_view::npos ? std::string_view() : reste.substr(fin + 1);
            continue;
        }
        // %9999 but not %99990: the number is 9999 and nothing more.
        const bool numero = coeur.size() >= 5 && (coeur[0] == '%' || coeur[0] == 'O' || coeur[0] == 'o') &&
                            coeur.substr(1, 4) == "9999" && (coeur.size() == 5 || coeur[5] < '0' || coeur[5] > '9');
        if (!numero || l.size() > 5 + kDemandeLargeur) return std::nullopt;
        Demande d;
        d.premiereLigne = std::string(l);
        // The first text in parentheses, on this line or a later one, up to
        // its ")" or the end of its line.
        // Looked for on this line and the next only, named in at most a
        // line's width: a sheet name is short.
        std::size_t suivante = fin == std::string_view::npos ? fin : fin + 1;
        if (suivante != std::string_view::npos && reste[fin] == '\r' && suivante < reste.size() && reste[suivante] == '\n')
            ++suivante;
        const std::size_t finSuivante =
            suivante == std::string_view::npos ? suivante : reste.find_first_of("\r\n", suivante);
        const std::size_t ouvre = reste.substr(0, finSuivante).find('(');
        if (ouvre != std::string_view::npos) {
            const std::string_view apres = reste.substr(ouvre + 1);
            std::string_view nom = apres.substr(0, std::min(apres.find_first_of(")\r\n"), kDemandeLargeur));
            // The word's own bytes go; the rest stays as typed.
            auto dernier = [&nom](const char* mot) {
                const std::vector<std::string> m = mots(nom);
                if (m.empty() || m.back() != mot) return false;
                nom = rogner(nom);
                std::size_t k = nom.size();
                while (k > 0 && !blanc(nom[k - 1])) --k;
                nom = nom.substr(0, k);
                return true;
            };
            d.continu = dernier("continu");
            d.jauges = dernier("jauges");
            // A sheet, then REPRISE and a block: the restart of its program there.
            const std::vector<std::string> m = mots(nom);
            if (!d.jauges && m.size() >= 4 && m[m.size() - 2] == "reprise") {
                d.reprise = std::string(oterDernierMot(nom));
                oterDernierMot(nom);
            }
            d.nom = std::string(rogner(nom));
        }
        return d;
    }
    return std::nullopt;
}

Trouvaille chercherFiche(const Demande& d, const Index& index, const std::vector<std::string>& machines)
{
    Trouvaille t;
    const std::vector<std::string> demande = mots(d.nom);
    if (demande.empty()) return t;
    std::vector<std::string> cles;
    for (const auto& m : machines) cles.push_back(cp1252::replier(sansBlancs(m)));

    std::vector<int> piecePhase, ensemble;
    for (std::size_t n = 0; n < index.enregistrements.size(); ++n) {
        const Enregistrement& e = index.enregistrements[n];
        const std::string machine = cp1252::replier(sansBlancs(e[CMachine]));
        if (std::find(cles.begin(), cles.end(), machine) == cles.end()) continue;
        switch (accord(demande, e)) {
        case Accord::PiecePhase: piecePhase.push_back(static_cast<int>(n)); break;
        case Accord::Ensemble: ensemble.push_back(static_cast<int>(n)); break;
        case Accord::Aucun: break;
        }
    }
    const std::vector<int>& trouves = ensemble.empty() ? piecePhase : ensemble;
    if (trouves.empty()) return t;
    if (trouves.size() > 1) {
        t.issue = Issue::Plusieurs;
        return t;
    }
    t.numero = trouves.front();
    t.issue = Issue::Trouvee;
    const Enregistrement& e = index.enregistrements[static_cast<std::size_t>(t.numero)];
    if (sansBlancs(e[CProgramme]) != "O") {
        // The gauge table of a NUM control needs no program; everything else does.
        const bool jaugesNum = d.jauges && codeMachine(lirecom(sansBlancs(e[CMachine])).valeur.directeur) == kNum;
        if (!jaugesNum) t.issue = Issue::SansProgramme;
    }
    return t;
}

std::string reponse(const Demande& d, Issue issue, int numero)
{
    const std::string texte = issue == Issue::Plusieurs       ? kPlusieurs
                              : issue == Issue::SansProgramme ? kSansProgramme
                              : issue == Issue::Erreur        ? "(TARVEX - ERREUR " + std::to_string(numero) + ")"
                              : issue == Issue::Bloquee       ? kBloquee
                                                              : kInconnue;
    return d.premiereLigne + "\n" + texte + "\n" + kDC3 + "\n";
}

std::string resultatReponse(Issue issue, int numero)
{
    switch (issue) {
    case Issue::Plusieurs: return "Plusieurs fiches";
    case Issue::SansProgramme: return "Sans programme";
    case Issue::Erreur: return "Erreur " + std::to_string(numero);
    case Issue::Bloquee: return statut::kResultatBloquee;
    case Issue::Inconnue: return "Fiche inconnue";
    case Issue::Trouvee: break;
    }
    return "OK";
}

}  // namespace tarvex::dnc
