#include "trajectoire/trajectoire.h"

#include "store/cp1252.h"
#include "store/machines.h"
#include "store/texte.h"
#include "trajectoire/geometrie.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tarvex::trajectoire {
namespace {

constexpr double kInconnu = std::numeric_limits<double>::quiet_NaN();
// How far the end of an arc given by its centre may lie off the circle
// through its start before the control refuses it; rounded centres stay
// well within.
constexpr double kEcartRayon = 0.02;
// An arc ending where it starts (within this) is a full circle.
constexpr double kMemePoint = 1e-6;

enum class Dialecte { Num, Fanuc, Fagor, Iso };

// What a G code does to the reading.
enum class Sorte : unsigned char {
    Inconnu,
    Neutre,           // no effect on the path (compensation, feed and speed modes...)
    Mouvement,        // G0 G1 G2 G3
    NonTrace,         // a modal motion not drawn: threading, FANUC lathe G90 G92 G94
    Tempo,            // dwell: its axis words are a time
    Plan,
    Pouces,
    Mm,
    Absolu,
    Relatif,
    Cycle,            // modal canned cycle, repeated by the lines that follow
    CycleSimple,      // one-line lathe cycle
    FinCycle,
    Machine,          // reference return, machine coordinates, local origin
    Origine,          // origin set (or speed limit when without axes)
    Repere,           // work offset: the same point has other coordinates
    Transfo,          // rotation, scaling, mirror, polar coordinates
    FinTransfo,
    SousProgramme,
    CentresAbsolus,
    CentresRelatifs,
    CentreAbsoluLigne,  // FAGOR G06: the centre of its line's arc is given itself
    XAuRayon,
    XAuDiametre,
};

// G codes are compared as ten times their value: G54.1 is 541. `repere`:
// G54 to G59, the work offsets the controls share.
Sorte sorteNum(int g)
{
    switch (g) {
    case 330: return Sorte::NonTrace;
    case 520: return Sorte::Machine;
    case 700: return Sorte::Pouces;
    case 710: return Sorte::Mm;
    case 770: case 790: return Sorte::SousProgramme;
    case 900: return Sorte::Absolu;
    case 910: return Sorte::Relatif;
    case 920: return Sorte::Origine;
    case 930: case 940: case 950: return Sorte::Neutre;
    default: return Sorte::Inconnu;
    }
}

Sorte sorteFanuc(int g, bool repere, bool tour)
{
    if (repere || g == 541) return Sorte::Repere;
    switch (g) {
    case 200: return Sorte::Pouces;
    case 210: return Sorte::Mm;
    case 270: case 280: case 290: case 300: case 310: case 520: case 530: return Sorte::Machine;
    case 650: case 660: return Sorte::SousProgramme;
    case 670: return Sorte::Neutre;
    default: break;
    }
    if (tour) {
        if (g >= 700 && g <= 760 && g % 10 == 0) return Sorte::CycleSimple;
        switch (g) {
        case 320: case 340: case 900: case 920: case 940: return Sorte::NonTrace;
        case 500: return Sorte::Origine;
        case 980: case 990: return Sorte::Neutre;
        default: return Sorte::Inconnu;
        }
    }
    switch (g) {
    case 330: return Sorte::NonTrace;
    case 160: case 510: case 511: case 680: return Sorte::Transfo;
    case 150: case 500: case 501: case 690: return Sorte::FinTransfo;
    case 430: case 440: case 490: case 610: case 620: case 630: case 640: return Sorte::Neutre;
    case 730: case 740: case 760: return Sorte::Cycle;
    case 900: return Sorte::Absolu;
    case 910: return Sorte::Relatif;
    case 920: return Sorte::Origine;
    case 940: case 950: case 980: case 990: return Sorte::Neutre;
    default: return Sorte::Inconnu;
    }
}

Sorte sorteFagor(int g, bool repere, bool tour)
{
    if (repere) return Sorte::Repere;
    if (tour && (g == 660 || g == 680 || g == 690)) return Sorte::CycleSimple;
    switch (g) {
    case 60: return Sorte::CentreAbsoluLigne;
    case 330: return Sorte::NonTrace;
    case 530: case 740: return Sorte::Machine;
    case 700: return Sorte::Pouces;
    case 710: return Sorte::Mm;
    case 900: return Sorte::Absolu;
    case 910: return Sorte::Relatif;
    case 920: return Sorte::Origine;
    case 940: case 950: case 980: case 990: return Sorte::Neutre;
    default: return Sorte::Inconnu;
    }
}

Sorte sorteIso(int g, bool repere, bool tour)
{
    if (repere || g == 591 || g == 592 || g == 593) return Sorte::Repere;
    if (tour && g >= 700 && g <= 760 && g % 10 == 0) return Sorte::CycleSimple;
    switch (g) {
    case 70: return Sorte::XAuDiametre;
    case 80: return Sorte::XAuRayon;
    case 200: return Sorte::Pouces;
    case 210: return Sorte::Mm;
    case 280: case 300: case 382: case 383: case 384: case 385: case 530: return Sorte::Machine;
    case 330: case 331: return Sorte::NonTrace;
    case 730: return Sorte::Cycle;
    case 760: return Sorte::CycleSimple;
    case 900: return Sorte::Absolu;
    case 910: return Sorte::Relatif;
    case 901: return Sorte::CentresAbsolus;
    case 911: return Sorte::CentresRelatifs;
    case 920: return Sorte::Origine;
    case 921: case 922: case 923: return Sorte::Repere;
    case 281: case 301: case 411: case 421: case 430: case 431: case 490: case 610: case 611: case 640:
    case 930: case 940: case 950: case 980: case 990:
        return Sorte::Neutre;
    default: return Sorte::Inconnu;
    }
}

Sorte sorte(int g, Dialecte d, bool tour)
{
    switch (g) {
    case 0: case 10: case 20: case 30: return Sorte::Mouvement;
    case 40: return Sorte::Tempo;
    case 90: return Sorte::Neutre;
    case 170: case 180: case 190: return Sorte::Plan;
    // The programmed path is drawn, not the compensated one.
    case 400: case 410: case 420: return Sorte::Neutre;
    case 800: return Sorte::FinCycle;
    case 960: case 970: return Sorte::Neutre;
    default: break;
    }
    if (g >= 810 && g <= 890 && g % 10 == 0) return Sorte::Cycle;
    const bool repere = (g >= 540 && g <= 590 && g % 10 == 0);
    switch (d) {
    case Dialecte::Num: return sorteNum(g);
    case Dialecte::Fanuc: return sorteFanuc(g, repere, tour);
    case Dialecte::Fagor: return sorteFagor(g, repere, tour);
    case Dialecte::Iso: return sorteIso(g, repere, tour);
    }
    return Sorte::Inconnu;
}

constexpr std::uint32_t bit(char c) { return 1u << (c - 'A'); }
constexpr std::uint32_t kXYZ = bit('X') | bit('Y') | bit('Z');
constexpr std::uint32_t kUVW = bit('U') | bit('V') | bit('W');
constexpr std::uint32_t kCentre = bit('I') | bit('J') | bit('K') | bit('R');
// Words a move may carry besides its axes and centre.
constexpr std::uint32_t kAutour = bit('N') | bit('G') | bit('M') | bit('S') | bit('F') | bit('T') | bit('D') |
                                  bit('H') | bit('O');

// The RS274NGC "o" words that open and close a subroutine's body.
enum class MotO : unsigned char { Aucun, Sub, EndSub };

// The words of one block.
struct Mots {
    static constexpr int kMaxCodes = 16;
    std::uint32_t lettres = 0;  // letters read with their value
    std::uint32_t nommes = 0;   // letters written, read or not
    std::uint32_t sansPoint = 0;  // letters whose number has no decimal point
    double valeur[26] = {};
    int g[kMaxCodes] = {};
    int ng = 0;
    int m[kMaxCodes] = {};
    int nm = 0;
    bool vide = true, illisible = false, variables = false, ligneO = false;
    MotO motO = MotO::Aucun;
    double operator()(char c) const { return valeur[c - 'A']; }
    bool a(char c) const { return lettres & bit(c); }
};

// A number as the controls write it: sign, digits, an optional point
// ("62." and ".5" included). Locale-free; exact for the short values of
// programs. A number too long for 18 digits keeps its size (digits past them
// below the point are dropped), so that one past any control's reach is seen
// as such; `point` tells whether it had its decimal point.
bool lireNombre(const std::string& s, std::size_t& i, double& v, bool& point)
{
    static constexpr double kPuissances[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9,
                                             1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
    constexpr int kChiffres = 18;
    bool negatif = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negatif = s[i++] == '-';
    std::uint64_t mantisse = 0;
    int chiffres = 0, decimales = 0, exposant = 0;
    bool unChiffre = false;
    point = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            unChiffre = true;
            if (mantisse == 0 && c == '0' && !point) continue;  // leading zeros
            if (chiffres == kChiffres || (point && decimales == kChiffres)) {
                if (!point && exposant < 400) ++exposant;
                continue;
            }
            ++chiffres;
            mantisse = mantisse * 10 + static_cast<unsigned>(c - '0');
            if (point) ++decimales;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!unChiffre) return false;
    v = static_cast<double>(mantisse) / kPuissances[decimales];
    if (exposant > 0) v *= std::pow(10.0, exposant);
    if (negatif) v = -v;
    return true;
}

// The keyword after an "o" word's number or <name>: "o100 sub", "o<x> endsub".
MotO motO(const std::string& s)
{
    std::size_t i = 1;
    if (i < s.size() && s[i] == '<') {
        i = s.find('>', i);
        if (i == std::string::npos) return MotO::Aucun;
        ++i;
    } else {
        while (i < s.size() && ((s[i] >= '0' && s[i] <= '9') || s[i] == '.')) ++i;
    }
    const std::string_view reste = std::string_view(s).substr(i);
    if (reste.starts_with("ENDSUB")) return MotO::EndSub;
    if (reste.starts_with("SUB")) return MotO::Sub;
    return MotO::Aucun;
}

// Reads the words of one block of a line from `debut`, blanks anywhere,
// lower case as upper case; comments in parentheses, a NUM "$" message and
// what follows ";" aside, except on FANUC, where ";" ends the block and the
// next one follows (returned: where it starts, npos when none). A line
// starting with "%" (program number, start or end) has no words.
std::size_t analyser(std::string_view ligne, std::size_t debut, Dialecte d, Mots& m, std::string& s)
{
    m = Mots{};
    s.clear();
    std::size_t suite = std::string_view::npos;
    for (std::size_t i = debut; i < ligne.size(); ++i) {
        char c = ligne[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        if (c == '(') {
            i = ligne.find(')', i);
            if (i == std::string_view::npos) break;
            continue;
        }
        if (c == ';' && d == Dialecte::Fanuc) {
            suite = i + 1;
            break;
        }
        if (c == ';' || c == '$') break;
        if (s.empty()) {
            if (c == '%') return suite;
            if (c == '/') continue;   // optional block: read as run
            if (c == ':') c = 'O';    // program number
        }
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        s += c;
    }
    if (s.empty()) return suite;
    m.vide = false;
    m.ligneO = s[0] == 'O';
    if (m.ligneO && d == Dialecte::Iso) m.motO = motO(s);
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i++];
        if (c < 'A' || c > 'Z') {
            if (c == '#' || c == '=' || c == '[') m.variables = true;
            else m.illisible = true;
            continue;
        }
        // NUM's two-letter words (ER, the retract plane of a cycle) are no
        // external parameter E.
        if (c == 'E' && d == Dialecte::Num && i < s.size() && s[i] >= 'A' && s[i] <= 'Z') continue;
        m.nommes |= bit(c);
        if (c == 'E' || c == 'L') m.variables = true;
        double v;
        bool point;
        if (!lireNombre(s, i, v, point)) {
            m.illisible = true;
            continue;
        }
        m.lettres |= bit(c);
        if (!point) m.sansPoint |= bit(c);
        m.valeur[c - 'A'] = v;
        if (c == 'G' || c == 'M') {
            int& n = c == 'G' ? m.ng : m.nm;
            // A code past any control's is unknown (-1), and kept off the int's range.
            const int code = std::fabs(v) < 1e6 ? static_cast<int>(std::lround(c == 'G' ? v * 10 : v)) : -1;
            if (n == Mots::kMaxCodes) m.illisible = true;
            else (c == 'G' ? m.g : m.m)[n++] = code;
        }
    }
    return suite;
}

class Lecteur {
public:
    Lecteur(Programme& p, Dialecte d)
        : p_(p), d_(d), tour_(p.tournage), uvw_(d == Dialecte::Fanuc && p.tournage),
          plan_(p.tournage ? Plan::ZX : Plan::XY)
    {
        etat_.hauts = etat_.changement = pos_;
    }

    void traiter(int ligne, const Mots& m);
    void terminer();
    Etat etat() const;

private:
    // What the codes of a line do besides setting the modes they set.
    struct Effets {
        bool tempo = false, cycleLigne = false, cycleSimple = false, machine = false, retourSansAxe = false,
             origine = false, transfoLigne = false, sousProgramme = false, inconnu = false, fin = false,
             centreAbsolu = false;
        int codeOrigine = 0;
    };
    // The modes the reading does not need but a restart writes again.
    void noterMode(int g);
    Effets codesG(const Mots& m);
    // The M codes and T: the tool in the spindle, a subprogram called, the
    // end of the program.
    void codesMT(const Mots& m, Effets& e);
    // The tool of a T word, now among the program's tools; -1 for none.
    int nommerOutil(const Mots& m);
    // The line drawn, or set apart with its reason.
    void classer(int ligne, const Mots& m, const Effets& e);
    void nonTracee(int ligne, Raison r, std::uint32_t axes);
    // A length word in millimetres.
    double longueur(const Mots& m, char c) const;
    // Where the axis words of a line take the tool from pos_; false when a
    // coordinate would pass kLimite.
    bool cible(const Mots& m, Point& fin) const;
    // A line of a canned cycle: listed for its depth; on a mill, its hole.
    void percer(int ligne, const Mots& m, const Effets& e, std::uint32_t nommes);
    // The move, or why it cannot be drawn.
    bool deplacer(int ligne, const Mots& m, const Effets& e, Raison& pourquoi);
    bool calculerArc(Mouvement& mv, const Mots& m, bool centreAbsolu) const;

    Programme& p_;
    const Dialecte d_;
    const bool tour_, uvw_;  // uvw_: U V W are increments of X Y Z (FANUC lathes)
    Point pos_{kInconnu, kInconnu, kInconnu};
    int mode_ = 0;     // the motion (G code x 10); above G3, a motion not drawn
    int cycle_ = 0;    // the canned cycle in force, 0 when none
    double zCycle_ = kInconnu;  // Z where it started: the level its holes start from
    Plan plan_;
    bool pouces_ = false, relatif_ = false, centresAbsolus_ = false, xAuRayon_ = false, transforme_ = false;
    bool corps_ = false;  // within an RS274NGC subroutine's body
    int repere_ = 540;
    int outilT_ = -1;  // the last T read
    int outil_ = -1;   // the tool in the spindle: changed by M6 when the program uses it
    bool vuM6_ = false;
    std::vector<int> outilsT_, outilsTPercages_;  // the last T read at each move, at each hole
    Etat etat_;  // what a restart needs besides the modes above, kept as they change
    int ligne_ = 0;
};

void Lecteur::nonTracee(int ligne, Raison r, std::uint32_t axes)
{
    // The blocks of one line (FANUC's ";") make one entry, the first reason.
    if (p_.nonTracees.empty() || p_.nonTracees.back().ligne != ligne)
        p_.nonTracees.push_back({ligne, p_.lignes[static_cast<std::size_t>(ligne)], r});
    const std::uint32_t lettres[3] = {bit('X') | bit('U'), bit('Y') | bit('V'), bit('Z') | bit('W')};
    for (int a = 0; a < 3; ++a)
        if (axes & lettres[a]) pos_[a] = kInconnu;
}

void Lecteur::traiter(int ligne, const Mots& m)
{
    if (m.vide) return;
    ligne_ = ligne;
    // A subroutine's body runs where it is called, in the modes of the call:
    // what it says changes nothing here. The tools it names are named still.
    if (m.motO == MotO::Sub) corps_ = true;
    if (corps_) {
        nonTracee(ligne, Raison::CorpsSousProgramme, 0);
        nommerOutil(m);
        if (m.motO == MotO::EndSub) corps_ = false;
        return;
    }
    const int repereAvant = repere_;
    Effets e = codesG(m);
    codesMT(m, e);
    if (e.origine && m.a('S') && !(m.lettres & kXYZ)) {
        etat_.ligneLimite = ligne;
        etat_.codeLimite = e.codeOrigine;
    } else if (m.a('S')) {
        etat_.ligneS = ligne;
    }
    if (m.a('F') && !e.tempo) etat_.ligneF = ligne;
    if (repere_ != repereAvant) etat_.hauts = {kInconnu, kInconnu, kInconnu};
    classer(ligne, m, e);
    for (int a = 0; a < 3; ++a)
        if (connu(pos_[a]) && !(etat_.hauts[a] >= pos_[a])) etat_.hauts[a] = pos_[a];
    if (tour_ && m.a('T')) etat_.changement = pos_;
    // After the end of the program, what follows (subprograms) starts from elsewhere.
    if (e.fin) {
        pos_ = {kInconnu, kInconnu, kInconnu};
        etat_.fin = true;
    }
}

Etat Lecteur::etat() const
{
    Etat e = etat_;
    e.position = pos_;
    e.mouvement = mode_;
    e.cycle = cycle_;
    e.plan = plan_;
    e.pouces = pouces_;
    e.relatif = relatif_;
    e.centresAbsolus = centresAbsolus_;
    e.xAuRayon = xAuRayon_;
    e.transforme = transforme_;
    e.corps = corps_;
    e.outil = outil_;
    e.outilT = outilT_;
    return e;
}

void Lecteur::noterMode(int g)
{
    if (g == 400 || g == 410 || g == 420) etat_.correction = g;
    else if (g == 960 || g == 970) etat_.vitesse = g;
    else if (uvw_ ? (g == 980 || g == 990) : (g == 930 || g == 940 || g == 950)) etat_.avance = g;
    else if (!tour_ && (d_ == Dialecte::Fanuc || d_ == Dialecte::Iso) && (g == 430 || g == 431 || g == 440 || g == 490))
        etat_.longueur = g;
}

Lecteur::Effets Lecteur::codesG(const Mots& m)
{
    Effets e;
    for (int k = 0; k < m.ng; ++k) {
        const int g = m.g[k];
        noterMode(g);
        switch (sorte(g, d_, tour_)) {
        case Sorte::Inconnu: e.inconnu = true; break;
        case Sorte::Neutre: break;
        case Sorte::Mouvement:
        case Sorte::NonTrace: mode_ = g; cycle_ = 0; break;
        case Sorte::Tempo: e.tempo = true; break;
        case Sorte::Plan: plan_ = g == 170 ? Plan::XY : g == 180 ? Plan::ZX : Plan::YZ; break;
        case Sorte::Pouces: pouces_ = true; break;
        case Sorte::Mm: pouces_ = false; break;
        case Sorte::Absolu: relatif_ = false; break;
        case Sorte::Relatif: relatif_ = true; break;
        case Sorte::Cycle:
            // A cycle written again on each hole's line keeps its start.
            if (cycle_ == 0) zCycle_ = pos_.z;
            cycle_ = g;
            e.cycleLigne = true;
            break;
        case Sorte::CycleSimple: e.cycleLigne = e.cycleSimple = true; break;
        case Sorte::FinCycle: cycle_ = 0; break;
        case Sorte::Machine:
            e.machine = true;
            e.retourSansAxe = e.retourSansAxe || g == 280 || g == 300;
            break;
        case Sorte::Origine: e.origine = true; e.codeOrigine = g; break;
        case Sorte::Repere:
            if (g != repere_) pos_ = {kInconnu, kInconnu, kInconnu};
            repere_ = etat_.repere = g;
            break;
        case Sorte::Transfo: transforme_ = true; e.transfoLigne = true; break;
        case Sorte::FinTransfo: transforme_ = false; break;
        case Sorte::SousProgramme: e.sousProgramme = true; break;
        case Sorte::CentresAbsolus: centresAbsolus_ = true; break;
        case Sorte::CentresRelatifs: centresAbsolus_ = false; break;
        case Sorte::CentreAbsoluLigne: e.centreAbsolu = true; break;
        case Sorte::XAuRayon: xAuRayon_ = true; break;
        case Sorte::XAuDiametre: xAuRayon_ = false; break;
        }
    }
    return e;
}

int Lecteur::nommerOutil(const Mots& m)
{
    if (!m.a('T')) return -1;
    // FANUC lathes: T0101 is tool 1 with offset 1; "T1.1" elsewhere, tool 1.
    const double v = m('T');
    int t = v >= 0 && v < 1e9 ? static_cast<int>(v) : -1;
    if (d_ == Dialecte::Fanuc && tour_ && t >= 100) t /= 100;
    if (t >= 0 && std::find(p_.outils.begin(), p_.outils.end(), t) == p_.outils.end()) p_.outils.push_back(t);
    return t;
}

void Lecteur::codesMT(const Mots& m, Effets& e)
{
    bool changement = false;
    for (int k = 0; k < m.nm; ++k) {
        const int c = m.m[k];
        if (c == 98 || c == 99 || c == 198) e.sousProgramme = true;
        if (c == 6) changement = true;
        if (c == 2 || c == 30) e.fin = true;
        if (c == 3 || c == 4 || c == 5) etat_.broche = c;
        if (c == 7 || c == 8 || c == 9) etat_.arrosage = c;
    }
    if (m.a('D')) etat_.ligneD = ligne_;
    if (m.a('H')) etat_.ligneH = ligne_;
    if (m.a('T')) {
        outilT_ = nommerOutil(m);
        etat_.ligneT = ligne_;
        if (tour_) outil_ = outilT_;  // a turret indexes at once
    }
    if (changement) {
        vuM6_ = true;
        outil_ = outilT_;
        etat_.ligneM6 = ligne_;
        etat_.ligneTChange = etat_.ligneT;
    }
}

void Lecteur::classer(int ligne, const Mots& m, const Effets& e)
{
    const std::uint32_t lettresAxes = kXYZ | (uvw_ ? kUVW : 0);
    const bool axes = m.lettres & lettresAxes;
    const std::uint32_t nommes = m.nommes & lettresAxes;
    const std::uint32_t tout = kXYZ;
    // NUM and FANUC give a dwell's time in X (U) or F: its line moves
    // nothing. RS274NGC's G4 takes P, FAGOR's K: the axes of its line move.
    const bool tempoAuxAxes = e.tempo && (d_ == Dialecte::Num || d_ == Dialecte::Fanuc);
    if (e.sousProgramme || (m.ligneO && m.illisible)) nonTracee(ligne, Raison::SousProgramme, tout);
    else if (e.cycleLigne) percer(ligne, m, e, nommes);
    else if (m.variables) nonTracee(ligne, Raison::Variables, nommes);
    else if (e.inconnu) nonTracee(ligne, Raison::CodeInconnu, nommes);
    else if (m.illisible) nonTracee(ligne, Raison::MotInconnu, nommes);
    else if (tempoAuxAxes) {
        // The time only.
    } else if (e.machine) {
        if (axes) nonTracee(ligne, Raison::HorsRepere, nommes);
        else if (e.retourSansAxe) nonTracee(ligne, Raison::HorsRepere, tout);
    } else if (e.origine) {
        if (axes) nonTracee(ligne, Raison::HorsRepere, nommes);
    } else if (e.transfoLigne) {
        nonTracee(ligne, Raison::HorsRepere, nommes);
    } else if (const std::uint32_t tempo = e.tempo ? bit('P') | bit('K') : 0; axes || (m.lettres & kCentre & ~tempo)) {
        // The words belong to the motion in force.
        const bool arc = mode_ == 20 || mode_ == 30;
        Raison pourquoi = Raison::ArcImpossible;
        if (cycle_ != 0) percer(ligne, m, e, nommes);
        else if (mode_ > 30) nonTracee(ligne, Raison::Cycle, nommes);
        else if (transforme_) nonTracee(ligne, Raison::HorsRepere, nommes);
        else if (m.lettres & ~(kAutour | tempo | lettresAxes | (arc ? kCentre : 0)))
            nonTracee(ligne, Raison::MotInconnu, nommes);
        else if (!deplacer(ligne, m, e, pourquoi)) nonTracee(ligne, pourquoi, nommes);
    }
}

double Lecteur::longueur(const Mots& m, char c) const
{
    double v = m(c);
    // FANUC reads a number without its decimal point in the least input
    // increment: 0.001 mm, or 0.0001 inch under G20.
    if (d_ == Dialecte::Fanuc && (m.sansPoint & bit(c))) v /= pouces_ ? 10000 : 1000;
    return pouces_ ? v * 25.4 : v;
}

bool Lecteur::cible(const Mots& m, Point& fin) const
{
    fin = pos_;
    static constexpr char kAbsolus[3] = {'X', 'Y', 'Z'}, kIncrements[3] = {'U', 'V', 'W'};
    for (int a = 0; a < 3; ++a) {
        double v;
        bool increment;
        if (m.a(kAbsolus[a])) {
            v = longueur(m, kAbsolus[a]);
            increment = relatif_;
        } else if (uvw_ && m.a(kIncrements[a])) {
            v = longueur(m, kIncrements[a]);
            increment = true;
        } else {
            continue;
        }
        if (a == 0 && tour_ && xAuRayon_) v *= 2;
        fin[a] = increment ? pos_[a] + v : v;
        if (std::fabs(v) > kLimite || std::fabs(fin[a]) > kLimite) return false;
    }
    return true;
}

void Lecteur::percer(int ligne, const Mots& m, const Effets& e, std::uint32_t nommes)
{
    const Point avant = pos_;
    nonTracee(ligne, Raison::Cycle, nommes);
    // A drilling cycle on a mill in G17 drills at the X Y of its line (at the
    // current ones for a line without them); where it leaves Z is not known.
    if (tour_ || e.cycleSimple || cycle_ == 0 || plan_ != Plan::XY || m.variables || m.illisible || e.inconnu ||
        e.sousProgramme || transforme_)
        return;
    const Point apres = pos_;
    pos_ = avant;
    Point trou;
    if (!cible(m, trou)) {
        pos_ = apres;
        p_.nonTracees.back().raison = Raison::HorsLimites;
        return;
    }
    pos_.x = trou.x;
    pos_.y = trou.y;
    if (nommes & bit('Z')) pos_.z = kInconnu;
    if (!connu(trou.x) || !connu(trou.y)) return;
    p_.percages.push_back({ligne, outil_, {trou.x, trou.y, zCycle_}});
    outilsTPercages_.push_back(outilT_);
}

bool Lecteur::deplacer(int ligne, const Mots& m, const Effets& e, Raison& pourquoi)
{
    Mouvement mv;
    mv.ligne = ligne;
    mv.rapide = mode_ == 0;
    mv.arc = mode_ == 20 || mode_ == 30;
    mv.horaire = mode_ == 20;
    mv.plan = plan_;
    mv.outil = outil_;
    mv.debut = pos_;
    pourquoi = Raison::HorsLimites;
    if (!cible(m, mv.fin)) return false;
    if (mv.arc) {
        for (const char c : {'I', 'J', 'K', 'R'})
            if (m.a(c) && std::fabs(longueur(m, c)) > kLimite) return false;
        pourquoi = Raison::ArcImpossible;
        if (!calculerArc(mv, m, e.centreAbsolu)) return false;
    }
    p_.mouvements.push_back(mv);
    outilsT_.push_back(outilT_);
    pos_ = mv.fin;
    return true;
}

bool Lecteur::calculerArc(Mouvement& mv, const Mots& m, bool centreAbsolu) const
{
    const AxesPlan ax = axesDuPlan(mv.plan);
    const double ka = echelle(ax.a, tour_), kb = echelle(ax.b, tour_);
    const double sa = mv.debut[ax.a] * ka, sb = mv.debut[ax.b] * kb;
    // From an unknown start only the end is known; it still counts.
    if (!connu(sa) || !connu(sb)) return true;
    const double ea = mv.fin[ax.a] * ka, eb = mv.fin[ax.b] * kb;
    const double da = ea - sa, db = eb - sb, corde = std::hypot(da, db);
    double ca, cb;
    if (m.a('R')) {
        // Positive R: the arc of at most half a circle; negative: the longer one.
        const double r = longueur(m, 'R');
        if (corde < kMemePoint || r == 0) return false;
        double h2 = r * r - corde * corde / 4;
        if (h2 < 0) {
            if (corde / 2 - std::fabs(r) > kEcartRayon) return false;
            h2 = 0;
        }
        const double h = std::sqrt(h2) * (mv.horaire ? -1 : 1) * (r > 0 ? 1 : -1);
        ca = (sa + ea) / 2 - h * db / corde;
        cb = (sb + eb) / 2 + h * da / corde;
    } else {
        // NUM gives the centre itself under G90, and from the start under
        // G91; FANUC and FAGOR from the start (FAGOR's G06: itself, on its
        // line), RS274NGC from the start unless G90.1. Centres are true
        // distances: on a lathe, I is a radius.
        static constexpr char kLettres[3] = {'I', 'J', 'K'};
        const bool absolus = d_ == Dialecte::Num ? !relatif_ : d_ == Dialecte::Iso ? centresAbsolus_ : centreAbsolu;
        const auto centre = [&](int axe, double depart) {
            const char l = kLettres[axe];
            if (!m.a(l)) return depart;
            return absolus ? longueur(m, l) : depart + longueur(m, l);
        };
        ca = centre(ax.a, sa);
        cb = centre(ax.b, sb);
    }
    const double r0 = std::hypot(sa - ca, sb - cb);
    if (r0 < kMemePoint || std::fabs(std::hypot(ea - ca, eb - cb) - r0) > kEcartRayon) return false;
    const double t0 = std::atan2(sb - cb, sa - ca), t1 = std::atan2(eb - cb, ea - ca);
    double balayage = normaliser(mv.horaire ? t0 - t1 : t1 - t0);
    if (corde < kMemePoint || balayage == 0) balayage = 2 * kPi;
    mv.centre = mv.debut;
    mv.centre[ax.a] = ca / ka;
    mv.centre[ax.b] = cb / kb;
    mv.rayon = r0;
    mv.depart = t0;
    mv.balayage = mv.horaire ? -balayage : balayage;
    return true;
}

void Lecteur::terminer()
{
    // A milling program without M6 changes tools with T alone.
    if (!tour_ && !vuM6_) {
        for (std::size_t i = 0; i < p_.mouvements.size(); ++i) p_.mouvements[i].outil = outilsT_[i];
        for (std::size_t i = 0; i < p_.percages.size(); ++i) p_.percages[i].outil = outilsTPercages_[i];
    }
}

Dialecte dialecte(int directeur)
{
    return directeur == kNum ? Dialecte::Num : directeur == kFanuc ? Dialecte::Fanuc : directeur == kFagor ? Dialecte::Fagor : Dialecte::Iso;
}

// The block number a line starts with (after blanks and a "/" block skip),
// -1 without one. Not the last N word read: a NUM subprogram call names
// blocks too ("N90 G77 N200 N210"), and a restart at N210 must find the one.
int numeroDeBloc(std::string_view l)
{
    std::size_t i = l.find_first_not_of(" \t/");
    if (i == std::string_view::npos || (l[i] != 'N' && l[i] != 'n')) return -1;
    i = l.find_first_not_of(" \t", i + 1);
    long long n = -1;
    for (; i < l.size() && l[i] >= '0' && l[i] <= '9' && n < 1000000000; ++i) n = std::max(n, 0LL) * 10 + (l[i] - '0');
    return n >= 1000000000 ? -1 : static_cast<int>(n);
}

// With `etats`, the state where each line starts is kept: only a restart
// asks for it, the drawing of a long program does not pay for it.
Programme lireAvecEtats(std::string_view octets, int directeur, int type, std::vector<Etat>* etats)
{
    Programme p;
    p.tournage = type == kTournage;
    const Dialecte d = dialecte(directeur);
    const std::vector<std::string> brutes = lignesDe(octets);
    if (etats) etats->reserve(brutes.size());
    p.lignes.reserve(brutes.size());
    Lecteur lecteur(p, d);
    Mots m;
    std::string tampon;
    for (std::size_t i = 0; i < brutes.size(); ++i) {
        p.lignes.push_back(cp1252::versUtf8(brutes[i]));
        if (etats) {
            etats->push_back(lecteur.etat());
            etats->back().numero = numeroDeBloc(brutes[i]);
        }
        std::size_t debut = 0;
        do {
            debut = analyser(brutes[i], debut, d, m, tampon);
            lecteur.traiter(static_cast<int>(i), m);
        } while (debut != std::string_view::npos);
    }
    lecteur.terminer();
    return p;
}

}  // namespace

Programme lire(std::string_view octets, int directeur, int type)
{
    return lireAvecEtats(octets, directeur, type, nullptr);
}

Programme lire(std::string_view octets, int directeur, int type, std::vector<Etat>& etats)
{
    etats.clear();
    return lireAvecEtats(octets, directeur, type, &etats);
}

std::vector<std::string> lignesBrutes(std::string_view octets)
{
    return lignesDe(octets);
}

std::string motBrut(std::string_view ligne, char lettre, int directeur)
{
    const Dialecte d = dialecte(directeur);
    std::string resultat, s;
    Mots m;
    std::size_t debut = 0;
    do {
        debut = analyser(ligne, debut, d, m, s);
        for (std::size_t i = 0; i < s.size(); ++i) {
            // A letter following another is part of a two-letter word (NUM's ER).
            if (s[i] != lettre || (i > 0 && s[i - 1] >= 'A' && s[i - 1] <= 'Z')) continue;
            std::size_t j = i + 1;
            while (j < s.size() && (s[j] == '+' || s[j] == '-' || s[j] == '.' || (s[j] >= '0' && s[j] <= '9'))) ++j;
            if (j > i + 1) resultat = s.substr(i, j - i);
        }
    } while (debut != std::string_view::npos);
    return resultat;
}

}  // namespace tarvex::trajectoire
