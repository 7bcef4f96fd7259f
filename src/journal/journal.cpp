#include "journal/journal.h"

#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/liste.h"
#include "store/texte.h"

#include <algorithm>
#include <array>
#include <optional>

namespace tarvex::journal {

namespace {

// The table of the reflected polynomial 0xEDB88320, one entry per byte value.
// Hand-written rather than zlib's: the Windows build of the core has no zlib.
constexpr std::array<std::uint32_t, 256> tableCrc()
{
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[n] = c;
    }
    return t;
}

constexpr std::array<std::uint32_t, 256> kTableCrc = tableCrc();

std::string hexadecimal(std::uint32_t v)
{
    static constexpr char kChiffres[] = "0123456789ABCDEF";
    std::string h(8, '0');
    for (int i = 7; i >= 0; --i, v >>= 4) h[static_cast<std::size_t>(i)] = kChiffres[v & 0xF];
    return h;
}

// The filter's words, longest first (it rules most lines out at once); none
// when every line is taken, nothing when none is (a letter no journal holds).
std::optional<std::vector<std::string>> motsDuFiltre(std::string_view filtreUtf8)
{
    std::vector<std::string> mots = motsRecherche(filtreUtf8);
    if (mots.empty() && cp1252::versUtf8(cp1252::depuisUtf8(filtreUtf8)) != filtreUtf8) return std::nullopt;
    std::stable_sort(mots.begin(), mots.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
    return mots;
}

bool tousLesMots(std::string_view texte, const std::vector<std::string>& mots)
{
    for (const auto& m : mots)
        if (texte.find(m) == std::string_view::npos) return false;
    return true;
}

// What is kept of the bytes read last, to tell the same file grown from one
// replaced or cut since.
constexpr std::size_t kQueue = 64;

}  // namespace

std::uint32_t crc32(std::string_view octets)
{
    std::uint32_t c = 0xFFFFFFFFu;
    for (char o : octets) c = kTableCrc[(c ^ static_cast<unsigned char>(o)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

long long compterLignes(std::string_view octets)
{
    const auto n = static_cast<long long>(std::count(octets.begin(), octets.end(), '\n'));
    // The DC3 ending a received program, alone after its last line, is not a line.
    const std::string_view reste = octets.substr(octets.find_last_of('\n') + 1);
    return n + (reste.find_first_not_of(kDC3) != std::string_view::npos ? 1 : 0);
}

void Mesure::ajouter(std::string_view octets)
{
    octets_ += static_cast<long long>(octets.size());
    for (char o : octets) {
        crc_ = kTableCrc[(crc_ ^ static_cast<unsigned char>(o)) & 0xFF] ^ (crc_ >> 8);
        if (o == '\n') {
            ++lignes_;
            finSansLF_ = false;
        } else if (o != kDC3) {
            finSansLF_ = true;
        }
    }
}

void mesurer(Entree& e, const Mesure& m)
{
    e.octets = m.octets();
    e.lignes = m.lignes();
    e.crc = m.crc();
}

void mesurer(Entree& e, std::string_view octetsSurLaLigne)
{
    e.octets = static_cast<long long>(octetsSurLaLigne.size());
    e.lignes = compterLignes(octetsSurLaLigne);
    e.crc = crc32(octetsSurLaLigne);
}

std::string ligne(const Entree& e)
{
    std::string machines;
    for (const auto& m : e.machines) {
        if (!machines.empty()) machines += '/';
        machines += m;
    }
    return ligneDeChamps({e.date, e.heure, e.poste, e.port, machines, e.genre, e.objet, std::to_string(e.octets),
                          std::to_string(e.lignes), e.resultat, std::to_string(e.secondes), hexadecimal(e.crc)});
}

Resultat ajouter(const Entree& e)
{
    try {
        fichiers::ajouterLigne(kJournal, cp1252::depuisUtf8(ligne(e)) + "\r\n");
    } catch (const fichiers::ErreurFichier& err) {
        return Resultat::echec(err.chemin(), err.detail());
    }
    return {};
}

Lu<std::vector<std::string>> lire()
{
    Lu<std::vector<std::string>> r;
    const auto octets = fichiers::lire(kJournal);
    if (!octets) {
        if (fichiers::existe(kJournal)) r.signaler(kJournal, "fichier illisible");
        return r;
    }
    std::string_view reste(*octets);
    while (!reste.empty()) {
        const std::size_t fin = reste.find('\n');
        std::string_view l = reste.substr(0, fin);
        reste = fin == std::string_view::npos ? std::string_view() : reste.substr(fin + 1);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        if (!l.empty()) r.valeur.push_back(cp1252::versUtf8(l));
    }
    std::reverse(r.valeur.begin(), r.valeur.end());
    return r;
}

std::array<std::string_view, kColonnes> champs(std::string_view ligne)
{
    std::array<std::string_view, kColonnes> r{};
    std::size_t n = 0;
    for (std::string_view reste = ligne;; ++n) {
        const std::size_t fin = reste.find(';');
        if (n < kColonnes) r[n] = reste.substr(0, fin);
        if (fin == std::string_view::npos) break;
        reste.remove_prefix(fin + 1);
    }
    if (n + 1 == kColonnes) return r;
    r = {};
    r[kObjet] = ligne;
    return r;
}

std::string duree(std::string_view secondes)
{
    if (secondes.empty() || secondes.size() > 12 || secondes.find_first_not_of("0123456789") != std::string_view::npos)
        return std::string(secondes);
    const long long s = std::stoll(std::string(secondes));
    auto deux = [](long long v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    if (s < 60) return std::to_string(s) + " s";
    if (s < 3600) return std::to_string(s / 60) + " min " + deux(s % 60) + " s";
    return std::to_string(s / 3600) + " h " + deux(s / 60 % 60) + " min " + deux(s % 60) + " s";
}

std::string_view Lignes::ligne(std::size_t i) const
{
    const std::size_t debut = i == 0 ? 0 : finsTexte_[i - 1];
    return std::string_view(texte_).substr(debut, finsTexte_[i] - debut);
}

std::vector<std::size_t> Lignes::filtrer(std::string_view filtreUtf8, std::size_t depuis) const
{
    std::vector<std::size_t> r;
    const auto mots = motsDuFiltre(filtreUtf8);
    if (!mots || depuis >= taille()) return r;
    r.reserve(mots->empty() ? taille() - depuis : 64);
    const std::string_view plie(plie_);
    for (std::size_t i = taille(); i-- > depuis;) {
        const std::size_t debut = i == 0 ? 0 : finsPlie_[i - 1];
        if (tousLesMots(plie.substr(debut, finsPlie_[i] - debut), *mots)) r.push_back(i);
    }
    return r;
}

std::size_t Lignes::prendre(std::string_view octets, bool finDuFichier)
{
    std::size_t pris = 0;
    while (pris < octets.size()) {
        std::size_t fin = octets.find('\n', pris);
        if (fin == std::string_view::npos && !finDuFichier) break;
        if (fin == std::string_view::npos) fin = octets.size();
        std::string_view l = octets.substr(pris, fin - pris);
        pris = std::min(fin + 1, octets.size());
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        if (l.empty()) continue;
        texte_ += cp1252::versUtf8(l);
        finsTexte_.push_back(texte_.size());
        plie_ += plierRecherche(l);
        finsPlie_.push_back(plie_.size());
    }
    return pris;
}

void Lignes::vider()
{
    texte_.clear();
    plie_.clear();
    finsTexte_.clear();
    finsPlie_.clear();
    lu_ = 0;
    queue_.clear();
}

Lignes::Suite Lignes::suivre()
{
    if (lu_ > 0) {
        const auto suite = fichiers::lireDepuis(kJournal, static_cast<std::int64_t>(lu_ - queue_.size()));
        if (suite && suite->taille >= lu_ && suite->octets.compare(0, queue_.size(), queue_) == 0) {
            const std::string_view neuf = std::string_view(suite->octets).substr(queue_.size());
            const std::size_t avant = taille();
            const std::size_t pris = prendre(neuf, false);
            lu_ += pris;
            queue_ = (queue_ + std::string(neuf.substr(0, pris)));
            if (queue_.size() > kQueue) queue_.erase(0, queue_.size() - kQueue);
            return taille() > avant ? Suite::Ajout : Suite::Rien;
        }
        if (!suite && fichiers::existe(kJournal)) return Suite::Illisible;
    }
    const auto octets = fichiers::lire(kJournal);
    if (!octets && fichiers::existe(kJournal)) return Suite::Illisible;
    const bool vide = taille() == 0;
    vider();
    if (!octets) return vide ? Suite::Rien : Suite::Relu;
    prendre(*octets, true);
    lu_ = octets->size();
    queue_ = octets->substr(octets->size() - std::min(octets->size(), kQueue));
    return Suite::Relu;
}

}  // namespace tarvex::journal
