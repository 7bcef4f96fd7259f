// Four processes store on one data folder at once, as four computers sharing
// it would, through the core's storing functions under the data lock, the way
// the windows call them: creations, modifications, deletions and restorings.
// Process 0 is killed (SIGKILL) at random moments and started again; on each
// start it first finishes the operation its log shows begun, as the operator
// would press the button again. Each process owns some sheets, which only it
// touches, and shares a few with the others.
//
// Each process logs, fsync'd, "+ G PIECE VALUE" once it holds the lock and
// "= …" once the operation is done ("- …": refused by the checks under the
// lock, "* …": a begun operation finished after a kill). Afterwards, what can be proved is checked: data.txt reads whole, each
// record once and with its folder; each own sheet exists exactly when its log
// says so, with the gauges it last stored; a shared sheet holds gauges some
// process began to store for it; no lock is left but the killed process's
// last, which the next operation removes.
//
//   tarvex-stress                      runs it (TARVEX_STRESS_SECONDES, 20 by default)
//   tarvex-stress ouvrier N FOLDER [reprise]   one process (reprise: finish and stop)

#include "creation/ecriture.h"
#include "modification/stockage.h"
#include "store/archives.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/verrou.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
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

archives::Instant maintenant()
{
    const std::time_t t = std::time(nullptr);
    std::tm l{};
    localtime_r(&t, &l);
    return {l.tm_year + 1900, l.tm_mon + 1, l.tm_mday, l.tm_hour, l.tm_min, l.tm_sec};
}

bool presente(const std::string& piece)
{
    const std::string cle = stockage::cle(designation(piece));
    for (const auto& e : lireIndex().valeur.enregistrements)
        if (cleEnregistrement(e) == cle) return true;
    return false;
}

struct Op {
    char genre;  // C creation, M modification, S deletion, R restoring
    std::string piece, valeur;
};

// What each own sheet is, from a log read in order.
struct Etat {
    bool existe = false, restaurable = false;
    std::string valeur, valeurSupprimee;
};

void appliquer(Etat& e, const Op& op, bool reprise)
{
    if (op.genre == 'S') {
        // A deletion run twice archives what the first left: its version is
        // not the whole sheet, so it is not restored.
        e = {false, !reprise, "", e.valeur};
    } else if (op.genre == 'R') {
        e = {true, false, e.valeurSupprimee, ""};
    } else {
        e.existe = true;
        e.valeur = op.valeur;
    }
}

bool creer(const Op& op)
{
    creation::SaisieFiche s;
    s.piece = op.piece, s.phase = "10", s.ensemble = "E", s.matiere = "M", s.machine = s.machineChoisie = "TOUR";
    s.typmachin = "1", s.typdirect = "1";
    s.prefx = "1", s.prefy = "2", s.prefz = "3", s.decx = "4", s.decy = "5", s.decz = "6";
    s.jauge = op.valeur;
    if (!creation::verifierAvantEcriture(s).empty()) return false;
    const creation::Ecriture e = creation::ecrireFiche(s);
    if (!e.resultat.ok()) echec("création " + op.piece + " : " + joindreProblemes(e.resultat.problemes));
    return true;
}

bool modifier(const Op& op)
{
    if (!presente(op.piece)) return false;
    stockage::Modification m;
    m.stockee = designation(op.piece);
    m.genre = "1", m.directeur = "1";
    m.piece = op.piece, m.phase = "10", m.machine = "TOUR", m.ensemble = "E", m.matiere = "M";
    m.pref = {"1", "2", "3", "4", "5", "6"};
    m.jauges = op.valeur;
    m.maintenant = maintenant();
    const stockage::FinModification f = stockage::enregistrer(m);
    if (!f.resultat.ok()) echec("modification " + op.piece + " : " + joindreProblemes(f.resultat.problemes));
    return true;
}

bool supprimer(const Op& op)
{
    if (!presente(op.piece)) return false;
    stockage::Suppression s;
    s.fiche = designation(op.piece);
    s.drapeaux.fill("N");
    s.directeur = "1";
    s.maintenant = maintenant();
    const stockage::FinSuppression f = stockage::supprimer(s);
    if (!f.resultat.ok()) echec("suppression " + op.piece + " : " + joindreProblemes(f.resultat.problemes));
    return true;
}

bool restaurer(const Op& op)
{
    const std::string nom = dossier(op.piece).substr(5, dossier(op.piece).size() - 6);
    for (const auto& v : archives::lister().valeur) {
        if (v.nomdossier != nom || v.motif != "Suppression") continue;
        const archives::Restauration r = archives::restaurer(v, maintenant());
        if (r.genre == archives::Restauration::Genre::Echec)
            echec("restauration " + op.piece + " : " + joindreProblemes(r.problemes));
        return r.genre != archives::Restauration::Genre::Refusee;
    }
    echec("restauration " + op.piece + " : aucune version de suppression");
}

// The operation under the lock, its checks made there. `reprise`: finishing
// it after a kill, from whatever it left.
bool executer(const Op& op, bool reprise)
{
    if (reprise) {
        // A creation stopped after its record is completed as the README
        // says, by a modification; the others are run again.
        if (op.genre == 'C' || op.genre == 'M') return presente(op.piece) && modifier(op);
        if (op.genre == 'S') return presente(op.piece) ? supprimer(op) : true;
        return restaurer(op);
    }
    switch (op.genre) {
    case 'C': return creer(op);
    case 'M': return modifier(op);
    case 'S': return supprimer(op);
    default: return restaurer(op);
    }
}

std::vector<std::pair<char, Op>> lireJournal(const std::string& chemin)
{
    std::vector<std::pair<char, Op>> lignes;
    std::ifstream f(chemin);
    std::string l;
    while (std::getline(f, l)) {
        if (f.eof()) break;  // a last line without its end was cut by the kill
        std::istringstream is(l);
        char marque = 0;
        Op op{};
        is >> marque >> op.genre >> op.piece >> op.valeur;
        lignes.push_back({marque, op});
    }
    return lignes;
}

class Journal {
public:
    explicit Journal(const std::string& chemin) : fd_(::open(chemin.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644))
    {
        if (fd_ < 0) echec("journal " + chemin);
    }
    void ecrire(char marque, const Op& op)
    {
        const std::string l = std::string(1, marque) + ' ' + op.genre + ' ' + op.piece + ' ' + op.valeur + '\n';
        if (::write(fd_, l.data(), l.size()) != static_cast<ssize_t>(l.size()) || ::fsync(fd_) != 0) echec("journal");
    }

private:
    int fd_;
};

// One storing, as a window makes it: the lock taken (a lock left behind is
// removed, as the operator answers Yes), the operation, the lock released.
bool sousVerrou(Journal& j, const Op& op, bool reprise)
{
    const verrou::Identite moi{"STRESS", "ouvrier", static_cast<long long>(getpid())};
    for (;;) {
        verrou::Prise p = verrou::prendre(moi, maintenant(), std::string("Opération ") + op.genre + " " + op.piece);
        if (p.etat == verrou::Prise::Etat::AOffrir) verrou::retirer(p.trouve);
        if (p.etat == verrou::Prise::Etat::Echec) echec(p.message);
        if (p.etat != verrou::Prise::Etat::Pris) continue;
        if (!reprise) j.ecrire('+', op);
        const bool fait = executer(op, reprise);
        j.ecrire(fait ? (reprise ? '*' : '=') : '-', op);
        return fait;
    }
}

int ouvrier(int n, const std::string& racine, bool reprise)
{
    fs::current_path(racine);
    const std::string chemin = "journal-" + std::to_string(n) + ".txt";
    const auto lignes = lireJournal(chemin);
    std::map<std::string, Etat> etats;
    for (const auto& [marque, op] : lignes)
        if ((marque == '=' || marque == '*') && op.piece[0] == 'P') appliquer(etats[op.piece], op, marque == '*');
    Journal j(chemin);
    if (!lignes.empty() && lignes.back().first == '+') {
        const Op op = lignes.back().second;
        if (sousVerrou(j, op, true) && op.piece[0] == 'P') appliquer(etats[op.piece], op, true);
    }
    if (reprise) return 0;
    std::mt19937 hasard(static_cast<unsigned>(n * 7919 + lignes.size()));
    auto tirage = [&](int m) { return static_cast<int>(hasard() % static_cast<unsigned>(m)); };
    for (std::size_t compte = lignes.size(); !fs::exists("fin"); ++compte) {
        // A moment between two storings, as between an operator's clicks:
        // a lock taken back at once would leave the others only its gaps.
        std::this_thread::sleep_for(std::chrono::milliseconds(1 + tirage(20)));
        Op op{};
        op.valeur = "J" + std::to_string(n) + "-" + std::to_string(compte);
        if (tirage(10) < 7) {
            op.piece = "P" + std::to_string(n) + "N" + std::to_string(tirage(kPropres));
            const Etat& e = etats[op.piece];
            op.genre = e.existe ? (tirage(5) < 3 ? 'M' : 'S') : (e.restaurable && tirage(2) ? 'R' : 'C');
            // Refused: a folder left with files of no sheet's (a kill while
            // one was being written beside its target) keeps the name taken.
            if (sousVerrou(j, op, false)) appliquer(etats[op.piece], op, false);
        } else {
            op.piece = "S" + std::to_string(tirage(kCommunes));
            op.genre = "CMS"[tirage(3)];
            sousVerrou(j, op, false);
        }
    }
    return 0;
}

// ---- the conductor ----

pid_t lancer(int n, const std::string& racine, bool reprise)
{
    const pid_t chef = getpid();
    const pid_t p = fork();
    if (p == 0) {
        // A conductor that stops on a failure takes its processes with it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != chef) _exit(3);
        const std::string num = std::to_string(n);
        execl("/proc/self/exe", "tarvex-stress", "ouvrier", num.c_str(), racine.c_str(), reprise ? "reprise" : nullptr,
              nullptr);
        _exit(3);
    }
    return p;
}

void attendreFin(pid_t p, bool tue)
{
    int etat = 0;
    if (waitpid(p, &etat, 0) != p) echec("waitpid");
    const bool ok = tue ? (WIFSIGNALED(etat) || (WIFEXITED(etat) && WEXITSTATUS(etat) == 0))
                        : (WIFEXITED(etat) && WEXITSTATUS(etat) == 0);
    if (!ok) echec("un ouvrier s'est arrêté en erreur");
}

void poser(const std::string& chemin, const std::string& octets)
{
    fs::create_directories(fs::path(chemin).parent_path());
    std::ofstream(chemin, std::ios::binary) << octets;
}

std::string lireTout(const std::string& chemin)
{
    std::ifstream f(chemin, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

int chef()
{
    const char* env = std::getenv("TARVEX_STRESS_SECONDES");
    const int secondes = env ? std::atoi(env) : 20;
    const std::string racine = fs::absolute("stress").string();
    fs::remove_all(racine);
    poser(racine + "/data/data.txt", "");
    poser(racine + "/data/machine.txt", "TOUR\r\n");
    poser(racine + "/data/machine/TOUR/com.txt", "COM1\r\n9600\r\nE(ven)\r\n7\r\n2\r\n1\r\n1\r\n");
    poser(racine + "/data/machine/TOUR/dossier.txt", "Pas de dossier machine\r\n");

    std::vector<pid_t> pids;
    for (int n = 0; n < kOuvriers; ++n) pids.push_back(lancer(n, racine, false));
    std::mt19937 hasard(2026);
    int arrets = 0;
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(secondes);
    std::set<long long> tues;
    while (std::chrono::steady_clock::now() < fin) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50 + hasard() % 450));
        for (int n = 1; n < kOuvriers; ++n)
            if (waitpid(pids[n], nullptr, WNOHANG) != 0) echec("l'ouvrier " + std::to_string(n) + " s'est arrêté");
        kill(pids[0], SIGKILL);
        attendreFin(pids[0], true);
        tues.insert(pids[0]);
        ++arrets;
        pids[0] = std::chrono::steady_clock::now() < fin ? lancer(0, racine, false) : 0;
    }
    poser(racine + "/fin", "");
    for (int n = 1; n < kOuvriers; ++n) attendreFin(pids[n], false);

    fs::current_path(racine);
    // The only lock left is the last one of the killed process, if any; the
    // next operation (its restart, finishing what it began) removes it.
    const bool verrouReste = fs::exists("data/verrou.txt");
    if (verrouReste) {
        const auto c = verrou::lire(lireTout("data/verrou.txt"));
        if (c && !tues.count(c->qui.processus)) echec("verrou d'un processus qui n'a pas été tué");
    }
    attendreFin(lancer(0, racine, true), false);
    if (fs::exists("data/verrou.txt")) echec("verrou resté après l'opération suivante");

    // What can be proved.
    int verifications = 0;
    const Lu<Index> index = lireIndex();
    if (!index.ok()) echec("data.txt : " + joindreProblemes(index.problemes));
    std::set<std::string> cles;
    for (const auto& e : index.valeur.enregistrements) {
        if (!cles.insert(cleEnregistrement(e)).second) echec("fiche en double : " + e[CPiece]);
        const std::string d = stockage::dossier(designation(e[CPiece]));
        if (!fichiers::existe(d + "pref.txt") || !fichiers::existe(d + "jauge.txt")) echec("dossier incomplet : " + d);
        ++verifications;
    }
    std::map<std::string, int> faites;
    std::set<std::string> commencees;
    int propres = 0, communes = 0;
    for (int n = 0; n < kOuvriers; ++n) {
        const auto lignes = lireJournal("journal-" + std::to_string(n) + ".txt");
        std::map<std::string, Etat> etats;
        for (const auto& [marque, op] : lignes) {
            if (marque == '+') commencees.insert(op.piece + " " + op.valeur);
            if (marque == '-') ++faites["refusées"];
            if (marque != '=' && marque != '*') continue;
            const bool reprise = marque == '*';
            ++faites[std::string(1, op.genre) + (reprise ? " (reprises)" : "")];
            if (op.piece[0] == 'P') appliquer(etats[op.piece], op, reprise);
        }
        for (const auto& [piece, e] : etats) {
            if (presente(piece) != e.existe) echec(piece + (e.existe ? " perdue" : " revenue"));
            if (e.existe && fichiers::lire(dossier(piece) + "jauge.txt") != e.valeur + "\r\n") echec(piece + " : jauges");
            ++propres;
        }
    }
    for (int k = 0; k < kCommunes; ++k) {
        const std::string piece = "S" + std::to_string(k);
        if (!presente(piece)) continue;
        const std::string j = fichiers::lire(dossier(piece) + "jauge.txt").value_or("");
        if (j.size() < 2 || !commencees.count(piece + " " + j.substr(0, j.size() - 2))) echec(piece + " : jauges");
        ++communes;
    }
    std::printf("tarvex-stress : %d s, %d processus, %d arrêts forcés (SIGKILL), verrou laissé au dernier : %s\n",
                secondes, kOuvriers, arrets, verrouReste ? "oui, retiré" : "non");
    std::printf("opérations :");
    for (const auto& [quoi, n] : faites) std::printf(" %s %d,", quoi.c_str(), n);
    std::printf("\nvérifications : %d fiches lues entières avec leur dossier, %d fiches propres exactes, "
                "%d fiches communes plausibles\n",
                verifications, propres, communes);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::string(argv[1]) == "ouvrier")
        return ouvrier(std::atoi(argv[2]), argv[3], argc >= 5 && std::string(argv[4]) == "reprise");
    return chef();
}
