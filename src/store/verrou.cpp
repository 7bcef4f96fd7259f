#include "store/verrou.h"

#include "store/cp1252.h"
#include "store/empreinte.h"
#include "store/fichiers.h"
#include "store/poste.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace tarvex::verrou {
namespace {

// A lock removed (ours left over, or a stopped process's) or gone between two
// looks is tried again at once, but not forever: a removal the server does
// not carry out must end in the wait like any lock in use.
constexpr int kReprisesImmediates = 5;

std::string heure(const archives::Instant& t)
{
    char b[16];
    std::snprintf(b, sizeof b, "%02d:%02d:%02d", t.heure % 100, t.minute % 100, t.seconde % 100);
    return b;
}

std::string dateHeure(const archives::Instant& t)
{
    char b[32];
    std::snprintf(b, sizeof b, "%02d/%02d/%04d ", t.jour % 100, t.mois % 100, t.annee % 10000);
    return b + heure(t);
}

// A line of the file: a line end inside a name would shift the lines after it.
std::string ligne(std::string_view utf8)
{
    std::string s = cp1252::depuisUtf8(utf8);
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s + "\r\n";
}

bool chiffres(std::string_view s, std::size_t debut, std::size_t n, int& valeur)
{
    valeur = 0;
    for (std::size_t i = debut; i < debut + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        valeur = valeur * 10 + (s[i] - '0');
    }
    return true;
}

std::optional<archives::Instant> lireDate(std::string_view s)
{
    // JJ/MM/AAAA HH:MM:SS
    if (s.size() != 19 || s[2] != '/' || s[5] != '/' || s[10] != ' ' || s[13] != ':' || s[16] != ':')
        return std::nullopt;
    archives::Instant t;
    if (!chiffres(s, 0, 2, t.jour) || !chiffres(s, 3, 2, t.mois) || !chiffres(s, 6, 4, t.annee) ||
        !chiffres(s, 11, 2, t.heure) || !chiffres(s, 14, 2, t.minute) || !chiffres(s, 17, 2, t.seconde))
        return std::nullopt;
    if (t.jour < 1 || t.jour > 31 || t.mois < 1 || t.mois > 12 || t.heure > 23 || t.minute > 59 || t.seconde > 59)
        return std::nullopt;
    return t;
}

// Computer names are not told apart by letter case on Windows.
bool memePoste(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto bas = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (bas(a[i]) != bas(b[i])) return false;
    }
    return true;
}

// The lock as it is now, no more of it than a lock can hold and one byte
// more, which tells a damaged one.
std::optional<std::string> lireVerrou() { return fichiers::lireDebut(kVerrou, kTailleMax + 1); }

Veille& veilleDuProcessus()
{
    static Veille v;
    return v;
}

// The lock found again: the watch goes on while it is the same one, and
// starts anew at any other.
void guetter(Veille& v, const std::string& octets, long long maintenant)
{
    const std::int64_t temps = empreinte(kVerrou).temps;
    if (v.vue && v.octets == octets && v.temps == temps) return;
    v = {true, octets, temps, maintenant};
}

}  // namespace

Identite ici() { return {poste::nom(), poste::utilisateur(), poste::processus()}; }

std::string octets(const Contenu& c)
{
    return ligne(c.qui.poste) + ligne(c.qui.utilisateur) + ligne(std::to_string(c.qui.processus)) +
           ligne(dateHeure(c.depuis)) + ligne(c.operation);
}

std::optional<Contenu> lire(std::string_view octets)
{
    if (octets.size() > kTailleMax) return std::nullopt;
    std::string lignes[5];
    std::size_t debut = 0;
    for (std::string& l : lignes) {
        const std::size_t fin = octets.find("\r\n", debut);
        if (fin == std::string_view::npos) return std::nullopt;
        l = cp1252::versUtf8(octets.substr(debut, fin - debut));
        debut = fin + 2;
    }
    if (debut != octets.size()) return std::nullopt;
    Contenu c;
    c.qui.poste = lignes[0];
    c.qui.utilisateur = lignes[1];
    const std::string& numero = lignes[2];
    if (numero.empty() || numero.size() > 18) return std::nullopt;
    for (char ch : numero) {
        if (ch < '0' || ch > '9') return std::nullopt;
        c.qui.processus = c.qui.processus * 10 + (ch - '0');
    }
    if (c.qui.processus <= 0) return std::nullopt;
    const std::optional<archives::Instant> depuis = lireDate(lignes[3]);
    if (!depuis) return std::nullopt;
    c.depuis = *depuis;
    c.operation = lignes[4];
    return c;
}

std::string messageOccupe(const Contenu& c)
{
    return "Les données sont en cours de modification sur le poste " + c.qui.poste + " (" + c.qui.utilisateur +
           ", depuis " + heure(c.depuis) + ") : " + c.operation + ".";
}

std::string questionAbandon(const Contenu& c)
{
    return "Le poste " + c.qui.poste + " a laissé un verrou à " + heure(c.depuis) + " (" + c.operation +
           "). Le retirer ?";
}

std::string questionIllisible()
{
    return std::string("Le verrou ") + kVerrou +
           " ne se lit pas : le poste qui l'a posé s'est sans doute arrêté en l'écrivant. Le retirer ?";
}

bool retirer(std::string_view trouve)
{
    const std::optional<std::string> lu = lireVerrou();
    if (!lu || *lu != trouve) return false;
    try {
        fichiers::supprimer(kVerrou);
    } catch (const fichiers::ErreurFichier&) {
        return false;
    }
    return true;
}

Verrou::Verrou(Verrou&& autre) noexcept : octets_(std::move(autre.octets_)), tenu_(autre.tenu_)
{
    autre.tenu_ = false;
}

Verrou& Verrou::operator=(Verrou&& autre) noexcept
{
    if (this != &autre) {
        liberer();
        octets_ = std::move(autre.octets_);
        tenu_ = autre.tenu_;
        autre.tenu_ = false;
    }
    return *this;
}

void Verrou::liberer() noexcept
{
    if (!tenu_) return;
    tenu_ = false;
    try {
        retirer(octets_);
    } catch (...) {
        // Out of memory while releasing: the lock stays, and names this process.
    }
}

Prise prendre(const Identite& moi, const archives::Instant& maintenant, std::string_view operation,
              const Attente& attente)
{
    const std::string mien = octets({moi, maintenant, std::string(operation)});
    Veille& veille = attente.veille ? *attente.veille : veilleDuProcessus();
    const auto instant = [&attente]() -> long long {
        if (attente.instant) return attente.instant();
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    };
    Prise p;
    int attendu = 0;
    int reprises = 0;
    bool lisible = true;
    for (;;) {
        try {
            if (fichiers::creerNouveau(kVerrou, mien)) {
                p.etat = Prise::Etat::Pris;
                p.verrou = Verrou(mien);
                return p;
            }
        } catch (const fichiers::ErreurFichier& e) {
            p.etat = Prise::Etat::Echec;
            p.message = e.what();
            return p;
        }
        const std::optional<std::string> lu = lireVerrou();
        if (!lu && !fichiers::existe(kVerrou) && reprises < kReprisesImmediates) {
            ++reprises;  // released between the two looks
            continue;
        }
        lisible = lu.has_value();
        p.trouve = lu.value_or(std::string());
        p.autre = lu ? lire(*lu) : std::nullopt;
        if (lu) guetter(veille, *lu, instant());
        if (p.autre && memePoste(p.autre->qui.poste, moi.poste) && reprises < kReprisesImmediates) {
            // Our own number is a lock this process could not release, or a
            // number the system gave again after the computer restarted.
            const long long numero = p.autre->qui.processus;
            const bool actif = numero != moi.processus && (attente.processusActif ? attente.processusActif(numero)
                                                                                  : poste::processusActif(numero));
            if (!actif) {
                ++reprises;
                retirer(*lu);
                continue;
            }
        }
        if (attendu >= kAttenteMs) break;
        const int pas = std::min(kPasMs, kAttenteMs - attendu);
        if (attente.patienter)
            attente.patienter(pas);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(pas));
        attendu += pas;
    }
    if (!lisible) {
        p.etat = Prise::Etat::Echec;
        p.message = std::string(kVerrou) + " : lecture impossible";
    } else if (!p.autre) {
        p.etat = Prise::Etat::AOffrir;
        p.message = questionIllisible();
    } else if (instant() - veille.depuis >= kAbandonSecondes * 1000LL) {
        // Seen in place that long on this computer's own clock, whatever
        // the date it holds: a process of this computer that runs has the
        // same say, since after a restart its number may belong to another
        // program.
        p.etat = Prise::Etat::AOffrir;
        p.message = questionAbandon(*p.autre);
    } else {
        p.etat = Prise::Etat::Occupe;
        p.message = messageOccupe(*p.autre);
    }
    return p;
}

}  // namespace tarvex::verrou
