#include "recus/recus.h"

#include "cnclink/transmission.h"
#include "journal/journal.h"
#include "store/chemins.h"
#include "store/cp1252.h"
#include "store/fichiers.h"

#include <algorithm>
#include <tuple>

namespace tarvex::recus {

namespace {

constexpr const char* kIncomplet = "-incomplet";
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

std::string premiereLigne(std::string_view texte)
{
    while (!texte.empty()) {
        const std::size_t fin = texte.find_first_of("\r\n");
        const std::string_view l = texte.substr(0, fin);
        texte = fin == std::string_view::npos ? std::string_view() : texte.substr(fin + 1);
        const std::size_t d = l.find_first_not_of(" \t");
        if (d == std::string_view::npos) continue;
        const std::string_view coeur = l.substr(d, l.find_last_not_of(" \t") - d + 1);
        if (coeur != "%") return cp1252::versUtf8(l);
    }
    return {};
}

std::string texteErreur(const fichiers::ErreurFichier& e) { return e.detail(); }

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
        for (int rang = 1; rang <= kRangsMaximum; ++rang) {
            const std::string chemin = dossier + stamp + (rang > 1 ? "-" + std::to_string(rang) : "") + fin;
            if (fichiers::creerNouveau(chemin, texte)) {
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
    std::vector<std::tuple<Nom, Recu>> trouves;
    for (const std::string& port : fichiers::lister("data\\recus")) {
        if (!portValide(port)) continue;
        const std::string dossier = std::string(kDossierRecus) + port + "\\";
        if (!fichiers::estDossier(dossier)) continue;
        for (const std::string& nom : fichiers::lister(dossier)) {
            const auto n = lireNom(nom);
            if (!n || fichiers::estDossier(dossier + nom)) continue;
            Recu recu;
            recu.chemin = dossier + nom;
            recu.port = port;
            recu.quand = n->quand;
            recu.complet = n->complet;
            if (const auto octets = fichiers::lire(recu.chemin)) {
                recu.premiereLigne = premiereLigne(*octets);
                recu.lignes = journal::compterLignes(*octets);
            } else {
                r.signaler(recu.chemin, "fichier illisible");
            }
            trouves.emplace_back(*n, std::move(recu));
        }
    }
    const auto cle = [](const std::tuple<Nom, Recu>& t) {
        const auto& [n, recu] = t;
        const auto& q = n.quand;
        return std::make_tuple(q.annee, q.mois, q.jour, q.heure, q.minute, q.seconde, n.rang);
    };
    std::stable_sort(trouves.begin(), trouves.end(), [&](const auto& a, const auto& b) { return cle(a) > cle(b); });
    for (auto& t : trouves) r.valeur.push_back(std::move(std::get<1>(t)));
    return r;
}

Resultat archiver(const std::string& chemin)
{
    // data\recus\COMn\name: the port's folder keeps its name in the archives.
    const std::string_view racine(kDossierRecus);
    const std::string_view reste = std::string_view(chemin).substr(std::min(chemin.size(), racine.size()));
    const std::size_t barre = reste.find('\\');
    const std::string port(reste.substr(0, barre));
    const std::string nom(barre == std::string_view::npos ? std::string_view() : reste.substr(barre + 1));
    if (cp1252::replier(chemin.substr(0, racine.size())) != cp1252::replier(racine) || !portValide(port) ||
        !chemins::nomSur(nom))
        return Resultat::echec(chemin, "pas un programme reçu");
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
            return {};
        }
        return Resultat::echec(dossier + nom, "aucun nom libre dans les archives");
    } catch (const fichiers::ErreurFichier& e) {
        return Resultat::echec(e.chemin(), e.detail());
    }
}

}  // namespace tarvex::recus
