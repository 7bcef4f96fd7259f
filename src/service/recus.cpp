#include "service/recus.h"

#include "journal/journal.h"
#include "service/demande.h"
#include "store/chemins.h"
#include "store/cp1252.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/lecteur.h"
#include "store/texte.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <tuple>

namespace tarvex::recus {

namespace {

constexpr const char* kIncomplet = "-incomplet";
constexpr const char* kRemplacements = "remplacements.txt";
constexpr const char* kExtension = ".txt";
// Far more than one second can hold; past it the folder is not as this
// program writes it, and trying on would never end.
constexpr int kRangsMaximum = 10000;

// "COM1".."COM9": the ports a machine can be given.
bool portValide(std::string_view port)
{
    return port.size() == 4 && port.substr(0, 3) == "COM" && port[3] >= '1' && port[3] <= '9';
}

// Makes every missing folder of the chain, each level in turn.
void assurerDossiers(std::initializer_list<std::string> dossiers)
{
    for (const auto& d : dossiers)
        if (!fichiers::estDossier(d)) fichiers::creerDossier(d);
}

bool chiffres(std::string_view t)
{
    return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int nombre(std::string_view t)
{
    int n = 0;
    for (char c : t) n = n * 10 + (c - '0');
    return n;
}

struct Nom {
    archives::Instant quand;
    int rang = 1;
    bool complet = true;
};

// "AAAAMMJJ-HHMMSS[-n][-incomplet].txt", as stocker names a file.
std::optional<Nom> lireNom(std::string_view nom)
{
    if (nom.size() < 15 + 4 || nom.substr(nom.size() - 4) != kExtension) return std::nullopt;
    nom.remove_suffix(4);
    Nom n;
    const std::string_view inc(kIncomplet);
    if (nom.size() > inc.size() && nom.substr(nom.size() - inc.size()) == inc) {
        n.complet = false;
        nom.remove_suffix(inc.size());
    }
    if (nom.size() < 15 || !chiffres(nom.substr(0, 8)) || nom[8] != '-' || !chiffres(nom.substr(9, 6))) return std::nullopt;
    if (nom.size() > 15) {
        const std::string_view rang = nom.substr(16);
        if (nom[15] != '-' || !chiffres(rang) || rang.size() > 5) return std::nullopt;
        n.rang = nombre(rang);
    }
    n.quand = {nombre(nom.substr(0, 4)), nombre(nom.substr(4, 2)), nombre(nom.substr(6, 2)),
               nombre(nom.substr(9, 2)), nombre(nom.substr(11, 2)), nombre(nom.substr(13, 2))};
    return n;
}

std::string texteErreur(const fichiers::ErreurFichier& e) { return e.detail(); }

// The first line other than blank or "%", without its line end.
std::string_view ligneDeTete(std::string_view texte, std::string_view* suite = nullptr)
{
    while (!texte.empty()) {
        const std::size_t fin = texte.find_first_of("\r\n");
        const std::string_view l = texte.substr(0, fin);
        const std::size_t d = l.find_first_not_of(" \t");
        if (d != std::string_view::npos && l.substr(d, l.find_last_not_of(" \t") - d + 1) != "%") {
            if (suite) *suite = texte;
            return l;
        }
        texte = fin == std::string_view::npos ? std::string_view() : texte.substr(fin + 1);
    }
    return {};
}

// "%130", "% 130" or "O2020" (O0130 is O130: leading zeros do not count),
// from the head line; none for a program without one.
std::optional<std::pair<char, long long>> numeroProgramme(std::string_view texte)
{
    std::string_view l = ligneDeTete(texte);
    l.remove_prefix(std::min(l.size(), l.find_first_not_of(" \t")));
    if (l.empty() || (l[0] != '%' && l[0] != 'O' && l[0] != 'o')) return std::nullopt;
    const char genre = l[0] == '%' ? '%' : 'O';
    l.remove_prefix(1);
    l.remove_prefix(std::min(l.size(), l.find_first_not_of(" \t")));
    if (l.empty() || l[0] < '0' || l[0] > '9') return std::nullopt;
    long long n = 0;
    for (std::size_t i = 0; i < l.size() && l[i] >= '0' && l[i] <= '9'; ++i)
        if (n < 1'000'000'000'000LL) n = n * 10 + (l[i] - '0');
    return std::make_pair(genre, n);
}

// The first text in parentheses from the head line on, up to its ")" or the
// end of its line: where a request names its sheet.
std::string premierCommentaire(std::string_view texte)
{
    std::string_view suite;
    if (ligneDeTete(texte, &suite).empty()) return {};
    const std::size_t ouvre = suite.find('(');
    if (ouvre == std::string_view::npos) return {};
    const std::string_view apres = suite.substr(ouvre + 1);
    return std::string(apres.substr(0, apres.find_first_of(")\r\n")));
}

// "data\recus\COM2\20240102-030405.txt" -> {"COM2", "20240102-030405.txt"}.
std::optional<std::pair<std::string, std::string>> portEtNom(const std::string& chemin)
{
    const std::string_view racine(kDossierRecus);
    const std::string_view reste = std::string_view(chemin).substr(std::min(chemin.size(), racine.size()));
    const std::size_t barre = reste.find('\\');
    std::string port(reste.substr(0, barre));
    std::string nom(barre == std::string_view::npos ? std::string_view() : reste.substr(barre + 1));
    if (cp1252::replier(chemin.substr(0, racine.size())) != cp1252::replier(racine) || !portValide(port) ||
        !chemins::nomSur(nom))
        return std::nullopt;
    return std::make_pair(std::move(port), std::move(nom));
}

std::string fichierRemplacements(const std::string& port)
{
    return std::string(kDossierRecus) + port + "\\" + kRemplacements;
}

// The lines of remplacements.txt by program name, the sheets' names UTF-8.
std::map<std::string, std::vector<std::string>> remplacements(const std::string& port)
{
    std::map<std::string, std::vector<std::string>> r;
    const std::optional<std::string> octets = fichiers::lire(fichierRemplacements(port));
    std::string_view reste = octets ? std::string_view(*octets) : std::string_view();
    while (!reste.empty()) {
        const std::size_t fin = reste.find_first_of("\r\n");
        const std::string_view l = reste.substr(0, fin);
        reste = fin == std::string_view::npos ? std::string_view() : reste.substr(fin + 1);
        const std::size_t point = l.find(';');
        if (point != std::string_view::npos && point + 1 < l.size())
            r[std::string(l.substr(0, point))].push_back(cp1252::versUtf8(l.substr(point + 1)));
    }
    return r;
}

struct Trouve {
    std::string chemin, port;
    Nom nom;
};

// The programs of every port folder, newest first.
std::vector<Trouve> trouver()
{
    std::vector<Trouve> trouves;
    for (const std::string& port : fichiers::lister("data\\recus")) {
        if (!portValide(port)) continue;
        const std::string dossier = std::string(kDossierRecus) + port + "\\";
        if (!fichiers::estDossier(dossier)) continue;
        for (const std::string& nom : fichiers::lister(dossier)) {
            const auto n = lireNom(nom);
            if (n && !fichiers::estDossier(dossier + nom)) trouves.push_back({dossier + nom, port, *n});
        }
    }
    const auto cle = [](const Trouve& t) {
        const auto& q = t.nom.quand;
        return std::make_tuple(q.annee, q.mois, q.jour, q.heure, q.minute, q.seconde, t.nom.rang);
    };
    // Within one second, by path: the folders' order is the file system's own.
    std::sort(trouves.begin(), trouves.end(), [&](const auto& a, const auto& b) {
        return cle(a) != cle(b) ? cle(a) > cle(b) : a.chemin < b.chemin;
    });
    return trouves;
}

// A later program may take the name of one archived (stocker only looks in
// data\recus\): the sheets this one replaced must not show in its row. What
// fails here loses a note, never a program, so it is not reported.
void oublierRemplacements(const std::string& port, const std::string& nom)
{
    const std::string fichier = fichierRemplacements(port);
    const std::optional<std::string> octets = fichiers::lire(fichier);
    if (!octets) return;
    std::string garde;
    std::string_view reste = *octets;
    while (!reste.empty()) {
        const std::size_t fin = reste.find('\n');
        const std::string_view l = reste.substr(0, fin == std::string_view::npos ? reste.size() : fin + 1);
        reste.remove_prefix(l.size());
        if (!l.starts_with(nom + ";")) garde += l;
    }
    if (garde.size() == octets->size()) return;
    try {
        garde.empty() ? fichiers::supprimer(fichier) : fichiers::ecrire(fichier, garde);
    } catch (const fichiers::ErreurFichier&) {
    }
}

}  // namespace

std::string texteStocke(std::string_view recu)
{
    std::string t;
    t.reserve(recu.size() + recu.size() / 16 + 2);
    for (std::size_t i = 0; i < recu.size(); ++i) {
        const char c = recu[i];
        if (c == kDC3) continue;
        if (c == '\r' || c == '\n') {
            t += "\r\n";
            // A CR LF is one line end, whatever DC3s lie between its halves.
            if (c == '\r') {
                std::size_t j = i + 1;
                while (j < recu.size() && recu[j] == kDC3) ++j;
                if (j < recu.size() && recu[j] == '\n') i = j;
            }
            continue;
        }
        t += c;
    }
    if (!t.empty() && t.back() != '\n') t += "\r\n";
    return t;
}

namespace {

// A control punching hundreds of pieces in one second: each tries the plain
// name, then the rank after the last one this program gave in that second
// and folder, instead of every name from the first again (quadratic, and on
// a file server a round trip each). The names stay unique: each is still
// created only where none is.
std::mutex gardeRangs;
std::map<std::string, std::pair<std::string, int>> rangs;  // folder and ending -> second, next rank

int premierRang(const std::string& lieu, const std::string& stamp)
{
    const std::lock_guard verrou(gardeRangs);
    const auto it = rangs.find(lieu);
    return it != rangs.end() && it->second.first == stamp ? it->second.second : 1;
}

void retenirRang(const std::string& lieu, const std::string& stamp, int suivant)
{
    const std::lock_guard verrou(gardeRangs);
    rangs[lieu] = {stamp, suivant};
}

}  // namespace

Lu<std::string> stocker(const std::string& port, const archives::Instant& quand, std::string_view recu, bool complet)
{
    Lu<std::string> r;
    const std::string dossier = std::string(kDossierRecus) + port + "\\";
    if (!portValide(port)) {
        r.signaler(dossier, "port inconnu, programme reçu non enregistré");
        return r;
    }
    const std::string texte = texteStocke(recu);
    const std::string stamp = archives::horodatage(quand);
    const std::string fin = std::string(complet ? "" : kIncomplet) + kExtension;
    try {
        assurerDossiers({"data\\recus", dossier});
        // The plain name first (it may have been archived since), then on
        // from the rank after the last one given.
        for (int rang = 1; rang <= kRangsMaximum; rang = rang == 1 ? std::max(2, premierRang(dossier + fin, stamp)) : rang + 1) {
            const std::string chemin = dossier + stamp + (rang > 1 ? "-" + std::to_string(rang) : "") + fin;
            if (fichiers::creerNouveau(chemin, texte)) {
                retenirRang(dossier + fin, stamp, rang + 1);
                r.valeur = chemin;
                return r;
            }
        }
        r.signaler(dossier + stamp + fin, "aucun nom libre, programme reçu non enregistré");
    } catch (const fichiers::ErreurFichier& e) {
        r.signaler(e.chemin(), texteErreur(e) + ", programme reçu non enregistré");
    }
    return r;
}

Lu<std::vector<Recu>> lister()
{
    Lu<std::vector<Recu>> r;
    std::map<std::string, std::map<std::string, std::vector<std::string>>> notes;
    for (Trouve& t : trouver()) {
        Recu recu;
        recu.chemin = std::move(t.chemin);
        recu.port = t.port;
        recu.quand = t.nom.quand;
        recu.complet = t.nom.complet;
        if (const auto octets = fichiers::lire(recu.chemin)) {
            recu.premiereLigne = cp1252::versUtf8(ligneDeTete(*octets));
            recu.lignes = journal::compterLignes(*octets);
        } else {
            r.signaler(recu.chemin, "fichier illisible");
        }
        if (!notes.contains(t.port)) notes[t.port] = remplacements(t.port);
        const std::string nom = recu.chemin.substr(recu.chemin.rfind('\\') + 1);
        if (const auto f = notes[t.port].find(nom); f != notes[t.port].end()) recu.fiches = f->second;
        r.valeur.push_back(std::move(recu));
    }
    return r;
}

std::vector<std::string> chemins()
{
    std::vector<std::string> r;
    for (Trouve& t : trouver()) r.push_back(std::move(t.chemin));
    return r;
}

Resultat archiver(const std::string& chemin)
{
    // data\recus\COMn\name: the port's folder keeps its name in the archives.
    const auto pn = portEtNom(chemin);
    if (!pn) return Resultat::echec(chemin, "pas un programme reçu");
    const auto& [port, nom] = *pn;
    const auto octets = fichiers::lire(chemin);
    if (!octets) return Resultat::echec(chemin, fichiers::existe(chemin) ? "fichier illisible" : "fichier introuvable");

    const std::string dossier = std::string(kArchivesRecus) + port + "\\";
    const std::size_t point = nom.rfind('.');
    const std::string tronc = nom.substr(0, point), ext = point == std::string::npos ? "" : nom.substr(point);
    try {
        assurerDossiers({archives::kArchives, "data\\archives\\recus", dossier});
        // Copied under a free name first, removed after: a failure between
        // the two leaves the program in both places, never in none.
        for (int rang = 1; rang <= kRangsMaximum; ++rang) {
            const std::string cible = dossier + tronc + (rang > 1 ? "-" + std::to_string(rang) : "") + ext;
            if (!fichiers::creerNouveau(cible, *octets)) continue;
            fichiers::supprimer(chemin);
            oublierRemplacements(port, nom);
            return {};
        }
        return Resultat::echec(dossier + nom, "aucun nom libre dans les archives");
    } catch (const fichiers::ErreurFichier& e) {
        return Resultat::echec(e.chemin(), e.detail());
    }
}

Resultat noterRemplacement(const std::string& chemin, const std::string& fiche)
{
    const auto pn = portEtNom(chemin);
    if (!pn) return Resultat::echec(chemin, "pas un programme reçu");
    try {
        fichiers::ajouter(fichierRemplacements(pn->first), pn->second + ";" + cp1252::depuisUtf8(fiche) + "\r\n");
    } catch (const fichiers::ErreurFichier& e) {
        return Resultat::echec(e.chemin(), e.detail());
    }
    return {};
}

std::optional<std::size_t> ficheProposee(std::string_view programme, const Index& index,
                                         const std::vector<std::string>& machines)
{
    std::vector<std::string> cles;
    for (const std::string& m : machines) cles.push_back(cp1252::replier(sansBlancs(m)));
    if (const auto numero = numeroProgramme(programme)) {
        std::vector<std::size_t> memes;
        for (std::size_t n = 0; n < index.enregistrements.size(); ++n) {
            const Enregistrement& e = index.enregistrements[n];
            if (std::find(cles.begin(), cles.end(), cp1252::replier(sansBlancs(e[CMachine]))) == cles.end() ||
                sansBlancs(e[CProgramme]) != "O")
                continue;
            const auto prog = fichiers::lire(dossierFicheLu(nomdossierEnregistrement(e)) + "prog.txt");
            if (prog && numeroProgramme(*prog) == numero) memes.push_back(n);
        }
        if (memes.size() == 1) return memes.front();
    }
    dnc::Demande d;
    d.nom = premierCommentaire(programme);
    const dnc::Trouvaille t = dnc::chercherFiche(d, index, machines);
    if (t.numero >= 0) return static_cast<std::size_t>(t.numero);
    return std::nullopt;
}

}  // namespace tarvex::recus
