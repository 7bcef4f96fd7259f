#include "cnclink/continu.h"

#include "store/chemins.h"
#include "store/texte.h"

#include <algorithm>

namespace tarvex::continu {

namespace {

bool blanc(char c) { return c == ' ' || c == '\t'; }

}  // namespace

// The item reader's rules on pieces cut anywhere: blanks before an item are
// skipped, a double quote opens an item that runs to the next one whatever
// it holds and whatever follows it up to the separator is skipped, CR LF is
// one separator. An item's bytes go out as they come, a run at a time, so
// that even a line of many megabytes is never held.
void Decoupe::prendre(std::string_view octets, std::string& sortie)
{
    const std::size_t n = octets.size();
    auto separateur = [](char c) { return c == ',' || c == '\r' || c == '\n'; };
    std::size_t i = 0;
    while (i < n) {
        const char c = octets[i];
        switch (etat_) {
        case Etat::ApresCR:
            etat_ = Etat::Debut;
            if (c == '\n') ++i;
            break;
        case Etat::Debut:
        case Etat::Blancs:
            if (blanc(c)) {
                etat_ = Etat::Blancs;
                ++i;
            } else if (c == '"') {
                etat_ = Etat::Guillemets;
                ++i;
            } else {
                etat_ = Etat::Corps;
            }
            break;
        case Etat::Corps: {
            std::size_t j = i;
            while (j < n && !separateur(octets[j])) ++j;
            // Blanks at the end of the run are the item's only if something
            // else follows them before the separator.
            std::size_t k = j;
            while (k > i && blanc(octets[k - 1])) --k;
            if (k > i) {
                sortie += blancs_;
                blancs_.clear();
                sortie.append(octets.substr(i, k - i));
            }
            blancs_.append(octets.substr(k, j - k));
            if (j < n) {
                blancs_.clear();
                finItem(sortie);
                etat_ = octets[j] == '\r' ? Etat::ApresCR : Etat::Debut;
                ++j;
            }
            i = j;
            break;
        }
        case Etat::Guillemets: {
            const std::size_t j = std::min(octets.find('"', i), n);
            sortie.append(octets.substr(i, j - i));
            if (j < n) etat_ = Etat::ApresGuillemets;
            i = j < n ? j + 1 : n;
            break;
        }
        case Etat::ApresGuillemets:
            if (separateur(c)) {
                finItem(sortie);
                etat_ = c == '\r' ? Etat::ApresCR : Etat::Debut;
            }
            ++i;
            break;
        }
    }
}

void Decoupe::finItem(std::string& sortie)
{
    sortie.push_back('\n');
    if (++items_ == 1) sortie += insertion_;
}

void Decoupe::finir(std::string& sortie)
{
    // An item begun and not ended by a separator is the file's last; an
    // empty file still sends an empty first line, as the ordinary sending.
    if (etat_ != Etat::Debut && etat_ != Etat::ApresCR) {
        blancs_.clear();
        finItem(sortie);
    }
    if (items_ == 0) finItem(sortie);
    etat_ = Etat::Debut;
    sortie.push_back(kDC3);
    sortie.push_back('\n');
}

Lecture::Lecture(Source source) : source_(std::move(source)) {}

Lecture::~Lecture() = default;

std::optional<EchecTransfert> Lecture::ouvrir()
{
    decoupe_ = std::make_unique<Decoupe>(source_.insertion);
    fini_ = false;
    echec_.reset();
    lus_ = 0;
    position_ = 0;
    if (source_.chemin.empty()) {
        taille_ = static_cast<long long>(source_.texte.size());
        return std::nullopt;
    }
    fichier_.close();
    fichier_.clear();
    const auto chemin = chemins::resoudre(source_.chemin);
    std::error_code ec;
    const auto taille = std::filesystem::file_size(chemin, ec);
    fichier_.open(chemin, std::ios::binary);
    if (ec || !fichier_) {
        echec_ = EchecTransfert{kErreurFichierIntrouvable, "Fichier introuvable : " + source_.chemin};
        return echec_;
    }
    taille_ = static_cast<long long>(taille);
    return std::nullopt;
}

bool Lecture::suite(std::string& sortie)
{
    if (fini_ || echec_ || !decoupe_) return false;
    std::string_view morceau;
    if (source_.chemin.empty()) {
        const std::size_t n = std::min(kMorceau, source_.texte.size() - position_);
        morceau = std::string_view(source_.texte).substr(position_, n);
        position_ += n;
    } else {
        tampon_.resize(kMorceau);
        fichier_.read(tampon_.data(), static_cast<std::streamsize>(tampon_.size()));
        morceau = std::string_view(tampon_.data(), static_cast<std::size_t>(std::max<std::streamsize>(0, fichier_.gcount())));
    }
    lus_ += static_cast<long long>(morceau.size());
    // A short read is the end of the file; where the file's size said it
    // was not, or more came than it said (a file still being written), the
    // file changed under the sending (or could no longer be read): what
    // this read gave is not the program that was measured.
    if (lus_ > taille_ || (morceau.size() < kMorceau && lus_ != taille_)) {
        echec_ = EchecTransfert{kErreurFichierIntrouvable,
                                "Fichier modifié pendant l'envoi : " + source_.chemin +
                                    ". La commande numérique garde un programme incomplet : ne pas l'exécuter."};
        return false;
    }
    decoupe_->prendre(morceau, sortie);
    if (morceau.size() < kMorceau) {
        decoupe_->finir(sortie);
        fini_ = true;
    }
    return true;
}

Lecture::Mesure Lecture::mesurer()
{
    Mesure m;
    if (ouvrir()) return m;
    std::string sortie;
    sortie.reserve(2 * kMorceau);
    while (suite(sortie)) {
        m.octets += static_cast<long long>(sortie.size());
        m.lignes += std::count(sortie.begin(), sortie.end(), '\n');
        sortie.clear();
    }
    m.lignes -= 1;  // DC3 + LF is no line of the program
    ouvrir();
    return m;
}

double Lecture::avancement() const
{
    return taille_ > 0 ? std::min(1.0, static_cast<double>(lus_) / static_cast<double>(taille_)) : 1.0;
}

std::string bloc(std::string_view ligne)
{
    std::size_t i = 0;
    while (i < ligne.size() && blanc(ligne[i])) ++i;
    if (i < ligne.size() && ligne[i] == '/') ++i;
    if (i >= ligne.size() || (ligne[i] != 'N' && ligne[i] != 'n')) return {};
    std::size_t j = i + 1;
    while (j < ligne.size() && ligne[j] >= '0' && ligne[j] <= '9') ++j;
    if (j == i + 1) return {};
    return "N" + std::string(ligne.substr(i + 1, j - i - 1));
}

}  // namespace tarvex::continu
