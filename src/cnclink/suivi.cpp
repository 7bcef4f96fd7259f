#include "cnclink/suivi.h"

#include "cnclink/continu.h"
#include "cnclink/transmission.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarvex {

namespace {

std::string_view sansBlancsAutour(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::optional<double> nombre(std::string_view s)
{
    s = sansBlancsAutour(s);
    if (s.empty() || s.size() > 9) return std::nullopt;
    double v = 0;
    bool point = false;
    double echelle = 1;
    for (char c : s) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (point) {
                echelle /= 10;
                v += (c - '0') * echelle;
            } else {
                v = v * 10 + (c - '0');
            }
        } else {
            return std::nullopt;
        }
    }
    return v;
}

}  // namespace

std::optional<double> caracteresParSeconde(std::string_view reglage)
{
    std::vector<std::string_view> champs;
    for (std::size_t debut = 0;;) {
        const std::size_t virgule = reglage.find(',', debut);
        champs.push_back(reglage.substr(debut, virgule == std::string_view::npos ? virgule : virgule - debut));
        if (virgule == std::string_view::npos) break;
        debut = virgule + 1;
    }
    if (champs.size() != 4) return std::nullopt;
    const auto vitesse = nombre(champs[0]);
    const auto bits = nombre(champs[2]);
    const auto arret = nombre(champs[3]);
    const std::string_view parite = sansBlancsAutour(champs[1]);
    if (!vitesse || !bits || !arret || *vitesse <= 0 || parite.size() != 1) return std::nullopt;
    const bool sansParite = parite == "n" || parite == "N";
    const double bitsParCaractere = 1 + *bits + (sansParite ? 0 : 1) + *arret;
    return *vitesse / bitsParCaractere;
}

SuiviTransfert::SuiviTransfert(std::string_view octets, double cadence, std::int64_t debutMs)
    : total_(static_cast<std::int64_t>(octets.size())), cadence_(cadence > 0 ? cadence : 1),
      dernierReleve_(debutMs), dernierProgres_(debutMs)
{
    for (std::size_t i = 0; i < octets.size(); ++i)
        if (octets[i] == '\n') finsDeLigne_.push_back(static_cast<std::int64_t>(i) + 1);
    // The end of transmission is not a line of the program.
    const std::size_t n = octets.size();
    if (n >= 2 && octets[n - 2] == kDC3 && octets[n - 1] == '\n') finsDeLigne_.pop_back();
}

SuiviTransfert::SuiviTransfert(std::int64_t lignes, std::int64_t octets, double cadence, std::int64_t debutMs)
    : total_(octets), cadence_(cadence > 0 ? cadence : 1), dernierReleve_(debutMs), dernierProgres_(debutMs),
      continu_(true), lignesTotal_(lignes)
{
}

void SuiviTransfert::ecrits(std::string_view octets) { enRoute_ += octets; }

void SuiviTransfert::relever(std::int64_t partis, std::int64_t instant)
{
    partis = std::clamp<std::int64_t>(partis, 0, total_);
    const std::int64_t duree = std::max<std::int64_t>(0, instant - dernierReleve_);
    if (partis > partis_) {
        enMouvementMs_ += duree;
        octetsEnMouvement_ += partis - partis_;
        if (continu_) {
            const auto n = std::min<std::size_t>(enRoute_.size(), static_cast<std::size_t>(partis - partis_));
            for (std::size_t i = 0; i < n; ++i) {
                const char c = enRoute_[i];
                if (c != '\n') {
                    // A block number is at the start of its line.
                    if (ligneEnCours_.size() < 24) ligneEnCours_.push_back(c);
                    continue;
                }
                if (lignesParties_ < lignesTotal_) {
                    ++lignesParties_;
                    bloc_ = continu::bloc(ligneEnCours_);
                }
                ligneEnCours_.clear();
            }
            enRoute_.erase(0, n);
        } else {
            lignesParties_ = static_cast<int>(
                std::upper_bound(finsDeLigne_.begin(), finsDeLigne_.end(), partis) - finsDeLigne_.begin());
        }
        partis_ = partis;
        dernierProgres_ = instant;
    }
    dernierReleve_ = std::max(dernierReleve_, instant);
}

std::int64_t SuiviTransfert::secondesRestantes() const
{
    double cadence = cadence_;
    if (enMouvementMs_ >= kMesureMs && octetsEnMouvement_ > 0)
        cadence = static_cast<double>(octetsEnMouvement_) * 1000.0 / static_cast<double>(enMouvementMs_);
    return static_cast<std::int64_t>(std::ceil(static_cast<double>(total_ - partis_) / cadence));
}

bool SuiviTransfert::enAttente() const { return partis_ < total_ && dernierReleve_ - dernierProgres_ >= kAttenteMs; }

std::string texteLignes(int parties, int total)
{
    return "Lignes envoyées : " + std::to_string(parties) + " sur " + std::to_string(total);
}

std::string texteLigne(int partie, const std::string& bloc, int reste)
{
    std::string t = "Ligne " + std::to_string(partie);
    if (!bloc.empty()) t += " : " + bloc;
    return t + " - reste " + std::to_string(std::max(0, reste)) + " lignes";
}

std::string texteRestant(std::int64_t secondes)
{
    char t[64];
    secondes = std::max<std::int64_t>(0, secondes);
    if (secondes < 60)
        std::snprintf(t, sizeof t, "%lld s", static_cast<long long>(secondes));
    else if (secondes < 3600)
        std::snprintf(t, sizeof t, "%lld min %02lld s", static_cast<long long>(secondes / 60),
                      static_cast<long long>(secondes % 60));
    else
        std::snprintf(t, sizeof t, "%lld h %02lld min", static_cast<long long>(secondes / 3600),
                      static_cast<long long>(secondes / 60 % 60));
    return std::string("Temps restant : ") + t;
}

std::string detailInterruption(int parties, int total)
{
    return std::to_string(parties) + " lignes sur " + std::to_string(total) +
           " sont parties vers la commande numérique.\n"
           "La commande numérique garde un programme incomplet : ne pas l'exécuter, le recharger en entier.";
}

}  // namespace tarvex
