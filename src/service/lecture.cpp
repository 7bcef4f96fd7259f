#include "service/lecture.h"

#include "store/texte.h"

namespace tarvex::dnc {

namespace {

// What a control punches before a program and between two: not program text.
bool amorce(char c)
{
    return c == '\0' || c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\x11' || c == '\x7f';
}

bool blanc(char c) { return c == '\0' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

Lecture::Lecture(bool fanuc, std::size_t limite) : fanuc_(fanuc), limite_(limite > 0 ? limite : 1) {}

std::vector<ProgrammeRecu> Lecture::ajouter(std::string_view octets)
{
    std::vector<ProgrammeRecu> finis;
    for (char c : octets) octet(c, finis);
    return finis;
}

void Lecture::octet(char c, std::vector<ProgrammeRecu>& finis)
{
    if (c == kDC3) {
        terminer(true, finis, true);
        return;
    }
    if (enCours_.empty() && amorce(c)) return;
    if (enCours_.size() >= limite_) {
        terminer(false, finis);
        suite_ = true;
        if (amorce(c)) return;
    }
    if (c == '%' && fanuc_ && apresPremiereLigne_) {
        bool debut = true;
        for (std::size_t i = debutLigne_; i < enCours_.size() && debut; ++i) debut = blanc(enCours_[i]);
        if (debut) {
            enCours_ += c;
            terminer(true, finis);
            return;
        }
    }
    enCours_ += c;
    if (c == '\n' || c == '\r') {
        debutLigne_ = enCours_.size();
        apresPremiereLigne_ = true;
    }
}

void Lecture::terminer(bool complet, std::vector<ProgrammeRecu>& finis, bool dc3)
{
    if (!enCours_.empty()) finis.push_back({std::move(enCours_), complet && !suite_, dc3, suite_});
    enCours_ = std::string();
    debutLigne_ = 0;
    apresPremiereLigne_ = false;
    suite_ = false;
}

std::optional<ProgrammeRecu> Lecture::couper()
{
    std::vector<ProgrammeRecu> finis;
    terminer(false, finis);
    if (finis.empty()) return std::nullopt;
    return std::move(finis.front());
}

bool estProgramme(std::string_view octets)
{
    if (octets.empty()) return false;
    if (octets[0] == '%') return true;
    return octets[0] == 'O' && octets.size() > 1 && octets[1] >= '0' && octets[1] <= '9';
}

bool Lecture::enCours() const { return !enCours_.empty(); }

}  // namespace tarvex::dnc
