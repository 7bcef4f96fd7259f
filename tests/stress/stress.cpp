// Four processes store on one data folder at once through the core's storing
// functions under the data lock, each on its own sheets P<n>N<k> and on shared
// ones S<k>; process 0 is killed (SIGKILL) at random moments and started again,
// first finishing what its log shows begun, as the operator would press the
// button again. Log lines: "+ G PIECE VALUE" lock held, then "=" done, "*"
// finished after a kill, "-" refused by the checks under the lock (an own
// creation too, when a kill left a file beside its target in the folder).
// TARVEX_STRESS_SECONDES: how long, 20 s by default.

#include "creation/ecriture.h"
#include "modification/stockage.h"
#include "store/archives.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/verrou.h"
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>

using namespace tarvex;

namespace {

constexpr int kOuvriers = 4, kPropres = 4, kCommunes = 3;

[[noreturn]] void echec(const std::string& quoi)
{
    std::fprintf(stderr, "ÉCHEC %d : %s\n", static_cast<int>(getpid()), quoi.c_str());
    std::exit(2);
}

stockage::Designation designation(const std::string& piece) { return {piece, "10", "TOUR", "E"}; }
std::string dossier(const std::string& piece) { return stockage::dossier(designation(piece)); }
std::string journal(int n) { return "journal-" + std::to_string(n) + ".txt"; }

archives::Instant maintenant()
{
    const std::time_t t = std::time(nullptr);
    std::tm l;
    localtime_r(&t, &l);
    return {l.tm_year + 1900, l.tm_mon + 1, l.tm_mday, l.tm_hour, l.tm_min, l.tm_sec};
}

bool presente(const std::string& piece)
{
    for (const auto& e : lireIndex().valeur.enregistrements)
        if (cleEnregistrement(e) == stockage::cle(designation(piece))) return true;
    return false;
}

struct Op {
    char marque = 0, genre = 0;  // genre: C creation, M modification, S deletion, R restoring
    std::string piece, valeur;
};

// What an own sheet is after the operations its log says done, in order.
struct Etat {
    bool existe = false, restaurable = false;
    std::string valeur, valeurSupprimee;
};

void appliquer(std::map<std::string, Etat>& etats, const Op& op)
{
    if (op.piece[0] != 'P' || (op.marque != '=' && op.marque != '*')) return;
    Etat& e = etats[op.piece];
    // A deletion run twice archives what the first left, not the whole sheet:
    // it is not restored.
    if (op.genre == 'S') e = {false, op.marque == '=', "", e.valeur};
    else if (op.genre == 'R') e = {true, false, e.valeurSupprimee, ""};
    else e.existe = true, e.valeur = op.valeur;
}

// Under the lock, its checks made there; false: refused. `reprise`: finishing
// it after a kill, from whatever it left: a creation stopped after its record
// is completed by a modification, as the README says; a deletion found done
// is done.
bool executer(const Op& op, bool reprise)
{
    const auto fait = [&](const Resultat& r) {
        if (!r.ok()) echec(op.genre + (" " + op.piece) + " : " + joindreProblemes(r.problemes));
        return true;
    };
    if (op.genre == 'C' && !reprise) {
        creation::SaisieFiche s;
        s.piece = op.piece, s.phase = "10", s.ensemble = "E", s.matiere = "M", s.machine = s.machineChoisie = "TOUR";
        s.typmachin = s.typdirect = "1", s.prefx = "1", s.prefy = "2", s.prefz = "3", s.decx = "4", s.decy = "5";
        s.decz = "6", s.jauge = op.valeur;
        return creation::verifierAvantEcriture(s).empty() && fait(creation::ecrireFiche(s, maintenant(), {}).resultat);
    }
    if (op.genre == 'R') {
        using enum archives::Restauration::Genre;
        const std::string d = dossier(op.piece), nom = d.substr(5, d.size() - 6);
        for (const auto& v : archives::lister().valeur) {
            if (v.nomdossier != nom || v.motif != archives::texteMotif(archives::Motif::Suppression)) continue;
            const archives::Restauration r = archives::restaurer(v, maintenant(), {});
            if (r.genre == Echec) echec("R " + op.piece + " : " + joindreProblemes(r.problemes));
            return r.genre != Refusee;
        }
        echec("R " + op.piece + " : aucune version de suppression");
    }
    if (!presente(op.piece)) return op.genre == 'S' && reprise;
    if (op.genre == 'S') {
        stockage::Suppression s{designation(op.piece), {}, "1", maintenant()};
        s.drapeaux.fill("N");
        return fait(stockage::supprimer(s).resultat);
    }
    stockage::Modification m;
    m.stockee = designation(op.piece), m.genre = m.directeur = "1", m.piece = op.piece, m.phase = "10";
    m.machine = "TOUR", m.ensemble = "E", m.matiere = "M", m.pref = {"1", "2", "3", "4", "5", "6"};
    m.jauges = op.valeur, m.maintenant = maintenant();
    return fait(stockage::enregistrer(m).resultat);
}

// The operations of a log, and what they made of its own sheets.
std::vector<Op> lireJournal(int n, std::map<std::string, Etat>& etats)
{
    std::vector<Op> ops;
    std::istringstream f(fichiers::lire(journal(n)).value_or(""));
    for (std::string l; std::getline(f, l) && !f.eof();)  // a last line without its end was cut by a kill
        std::istringstream(l) >> ops.emplace_back().marque >> ops.back().genre >> ops.back().piece >> ops.back().valeur;
    for (const Op& op : ops) appliquer(etats, op);
    return ops;
}

// `derniere`: only what was begun and one operation more.
void ouvrier(int n, bool derniere)
{
    std::map<std::string, Etat> etats;
    const std::vector<Op> ops = lireJournal(n, etats);
    // One storing as a window makes it: the lock taken (one left behind is
    // removed, as the operator answers Yes), the operation, the lock released.
    const auto sousVerrou = [&](Op op, bool reprise) {
        const std::string ligne = std::string{' ', op.genre, ' '} + op.piece + ' ' + op.valeur + '\n';
        using enum verrou::Prise::Etat;
        verrou::Prise p;
        while ((p = verrou::prendre(verrou::ici(), maintenant(), op.genre + (" " + op.piece))).etat != Pris) {
            if (p.etat == AOffrir) verrou::retirer(p.trouve);
            if (p.etat == Echec) echec(p.message);
        }
        if (!reprise) fichiers::ajouter(journal(n), '+' + ligne);
        op.marque = executer(op, reprise) ? (reprise ? '*' : '=') : '-';
        fichiers::ajouter(journal(n), op.marque + ligne);
        appliquer(etats, op);
    };
    if (!ops.empty() && ops.back().marque == '+') sousVerrou(ops.back(), true);
    std::mt19937 hasard(static_cast<unsigned>(n * 7919 + ops.size()));
    auto tirage = [&](int m) { return static_cast<int>(hasard() % static_cast<unsigned>(m)); };
    for (std::size_t compte = ops.size(); derniere ? compte == ops.size() : !fichiers::existe("fin"); ++compte) {
        // A moment between two storings, as between an operator's clicks: a
        // lock taken back at once would leave the others only its gaps.
        usleep(1000 * (1 + tirage(20)));
        const bool propre = tirage(10) < 7;
        const std::string piece = propre ? "P" + std::to_string(n) + "N" + std::to_string(tirage(kPropres))
                                         : "S" + std::to_string(tirage(kCommunes));
        const Etat& e = etats[piece];
        char genre = "CMS"[tirage(3)];
        if (propre) genre = e.existe ? "MMMSS"[tirage(5)] : e.restaurable && tirage(2) ? 'R' : 'C';
        sousVerrou({0, genre, piece, "J" + std::to_string(n) + "-" + std::to_string(compte)}, false);
    }
}

pid_t lancer(int n, bool derniere)
{
    const pid_t chef = getpid(), p = fork();
    if (p != 0) return p;
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // a conductor that stops on a failure takes its processes with it
    if (getppid() != chef) _exit(3);
    ouvrier(n, derniere);
    _exit(0);
}

void attendre(pid_t p, bool tue)
{
    int etat = 0;
    if (waitpid(p, &etat, 0) != p) echec("waitpid");
    if (!(WIFEXITED(etat) && WEXITSTATUS(etat) == 0) && !(tue && WIFSIGNALED(etat) && WTERMSIG(etat) == SIGKILL))
        echec("un ouvrier s'est arrêté en erreur");
}

}  // namespace

int main()
{
    const char* env = std::getenv("TARVEX_STRESS_SECONDES");
    const int secondes = env ? std::atoi(env) : 20;
    std::filesystem::remove_all("stress");
    std::filesystem::create_directories("stress/data/machine/TOUR");
    std::filesystem::current_path("stress");  // the processes forked work there too
    for (const auto& [chemin, octets] : std::map<std::string, std::string>{
             {kIndex, ""}, {"data\\machine.txt", "TOUR\r\n"},
             {"data\\machine\\TOUR\\dossier.txt", "Pas de dossier machine\r\n"},
             {"data\\machine\\TOUR\\com.txt", "COM1\r\n9600\r\nE(ven)\r\n7\r\n2\r\n1\r\n1\r\n"}})
        fichiers::ecrire(chemin, octets);

    std::vector<pid_t> pids;
    for (int n = 0; n < kOuvriers; ++n) pids.push_back(lancer(n, false));
    std::mt19937 hasard(2026);
    std::set<long long> tues;
    int arrets = 0;
    for (const std::time_t fin = std::time(nullptr) + secondes; std::time(nullptr) < fin; ++arrets) {
        usleep(1000 * (50 + hasard() % 450));
        for (int n = 1; n < kOuvriers; ++n)
            if (waitpid(pids[n], nullptr, WNOHANG) != 0) echec("l'ouvrier " + std::to_string(n) + " s'est arrêté");
        kill(pids[0], SIGKILL);
        attendre(pids[0], true);
        tues.insert(pids[0]);
        pids[0] = std::time(nullptr) < fin ? lancer(0, false) : 0;
    }
    fichiers::ecrire("fin", "");
    for (int n = 1; n < kOuvriers; ++n) attendre(pids[n], false);

    // The only lock left is the killed process's last; its next operation,
    // after finishing what it began, removes it.
    const auto laisse = verrou::lire(fichiers::lire(verrou::kVerrou).value_or(""));
    if (laisse && !tues.count(laisse->qui.processus)) echec("verrou d'un processus qui n'a pas été tué");
    const bool verrouReste = fichiers::existe(verrou::kVerrou);
    attendre(lancer(0, true), false);
    if (fichiers::existe(verrou::kVerrou)) echec("verrou resté après l'opération suivante");

    std::map<std::string, int> faites;
    std::set<std::string> commencees, cles;
    int propres = 0, communes = 0;
    for (int n = 0; n < kOuvriers; ++n) {
        std::map<std::string, Etat> etats;
        for (const Op& op : lireJournal(n, etats)) {
            if (op.marque == '+') commencees.insert(op.piece + " " + op.valeur);
            else ++faites[op.marque == '-' ? "refusées" : op.genre + std::string(op.marque == '*' ? " (reprises)" : "")];
        }
        for (const auto& [piece, e] : etats) {
            if (presente(piece) != e.existe) echec(piece + (e.existe ? " perdue" : " revenue"));
            if (e.existe && fichiers::lire(dossier(piece) + "jauge.txt") != e.valeur + "\r\n") echec(piece + " : jauges");
            ++propres;
        }
    }
    const Lu<Index> index = lireIndex();
    if (!index.ok()) echec("data.txt : " + joindreProblemes(index.problemes));
    for (const auto& e : index.valeur.enregistrements) {
        const std::string piece = e[CPiece], d = dossier(piece);
        const auto jauges = fichiers::lire(d + "jauge.txt");
        if (!cles.insert(cleEnregistrement(e)).second) echec("fiche en double : " + piece);
        if (!fichiers::existe(d + "pref.txt") || !jauges) echec("dossier incomplet : " + d);
        if (piece[0] == 'S' && !commencees.count(piece + " " + jauges->substr(0, jauges->size() - 2)))
            echec(piece + " : jauges");
        communes += piece[0] == 'S';
    }
    std::printf("tarvex-stress : %d s, %d processus, %d arrêts forcés (SIGKILL), verrou laissé au dernier : %s\n",
                secondes, kOuvriers, arrets, verrouReste ? "oui, retiré" : "non");
    std::printf("opérations :");
    for (const auto& [quoi, nombre] : faites) std::printf(" %s %d,", quoi.c_str(), nombre);
    std::printf("\nvérifications : %d fiches lues entières avec leur dossier, %d fiches propres exactes, "
                "%d fiches communes plausibles\n",
                static_cast<int>(index.valeur.enregistrements.size()), propres, communes);
}
