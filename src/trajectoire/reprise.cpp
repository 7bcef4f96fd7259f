#include "trajectoire/reprise.h"

#include "store/machines.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <cmath>

namespace tarvex::trajectoire {
namespace {

// A length in the program's units, as every control reads it: with its
// decimal point (FANUC reads "50" as 0.05 mm), to 0.0001 mm or 0.00001 inch
// so that a position reached in the other unit comes back within 0.001 mm.
std::string longueur(double mm, bool pouces)
{
    const double v = pouces ? mm / 25.4 : mm;
    std::array<char, 64> tampon{};
    const auto r = std::to_chars(tampon.data(), tampon.data() + tampon.size(), v, std::chars_format::fixed,
                                 pouces ? 5 : 4);
    std::string s(tampon.data(), r.ptr);
    while (s.back() == '0') s.pop_back();
    if (s == "-.") s = ".";
    if (s.starts_with("-") && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

// The same for the explanation: "50", "2.5".
std::string valeur(double mm, bool pouces)
{
    std::string s = longueur(mm, pouces);
    if (s.back() == '.') s.pop_back();
    return s.empty() ? "0" : s;
}

// A G code kept as ten times its value: 541 is "G54.1".
std::string codeG(int g)
{
    return "G" + std::to_string(g / 10) + (g % 10 ? "." + std::to_string(g % 10) : "");
}

// "31 199": thousands apart, as the operator reads a line number.
std::string milliers(int n)
{
    const std::string chiffres = std::to_string(n);
    std::string s;
    for (std::size_t i = 0; i < chiffres.size(); ++i) {
        if (i > 0 && (chiffres.size() - i) % 3 == 0) s += ' ';
        s += chiffres[i];
    }
    return s;
}

void ajouterMot(std::string& ligne, const std::string& mot)
{
    if (mot.empty()) return;
    if (!ligne.empty()) ligne += ' ';
    ligne += mot;
}

// The program's own start: "%..." and "O..." lines before any block (an
// RS274NGC "o<n> sub" opens a subroutine: no start of the program).
int entete(const LectureReprise& lu)
{
    int n = 0;
    for (const std::string& l : lu.brutes) {
        const std::size_t i = l.find_first_not_of(" \t");
        if (i == std::string::npos || !(l[i] == '%' || l[i] == 'O' || l[i] == 'o' || l[i] == ':')) break;
        if (static_cast<std::size_t>(n + 1) < lu.etats.size() && lu.etats[static_cast<std::size_t>(n + 1)].corps) break;
        ++n;
    }
    return n;
}

// Whether `ligne` is within the profile a lathe cycle names by its P and Q
// block numbers (FANUC's G70 to G73): the control runs those blocks inside
// the cycle, not as the plain moves a restart there would make them.
bool dansUnProfil(const LectureReprise& lu, int ligne, int directeur)
{
    if (!lu.programme.tournage || directeur == kNum || directeur == kFagor) return false;
    for (const LigneNonTracee& n : lu.programme.nonTracees) {
        if (n.raison != Raison::Cycle || n.ligne >= ligne) continue;
        const std::string& brute = lu.brutes[static_cast<std::size_t>(n.ligne)];
        const std::string p = motBrut(brute, 'P', directeur), q = motBrut(brute, 'Q', directeur);
        if (p.empty() || q.empty()) continue;
        const int debut = std::atoi(p.c_str() + 1), fin = std::atoi(q.c_str() + 1);
        bool dedans = false;
        for (int i = n.ligne + 1; i <= ligne; ++i) {
            const int numero = lu.etats[static_cast<std::size_t>(i)].numero;
            if (numero == debut) dedans = true;
            if (i == ligne && dedans) return true;
            if (numero == fin) dedans = false;
        }
    }
    return false;
}

// Why a restart at `ligne` cannot be made, "" when it can.
std::string refus(const LectureReprise& lu, int ligne, int directeur)
{
    const Programme& p = lu.programme;
    const Etat& e = lu.etats[static_cast<std::size_t>(ligne)];
    const auto nt = std::lower_bound(p.nonTracees.begin(), p.nonTracees.end(), ligne,
                                     [](const LigneNonTracee& n, int l) { return n.ligne < l; });
    const bool nonTracee = nt != p.nonTracees.end() && nt->ligne == ligne;
    if (e.ligneT < 0 && (e.corps || motBrut(lu.brutes[static_cast<std::size_t>(ligne)], 'T', directeur).empty()))
        return "AVANT LE PREMIER OUTIL";
    if (e.corps || e.fin ||
        (nonTracee && (nt->raison == Raison::SousProgramme || nt->raison == Raison::CorpsSousProgramme)))
        return "SOUS-PROGRAMME";
    if (e.cycle != 0 || e.mouvement > 30 || dansUnProfil(lu, ligne, directeur)) return "CYCLE";
    const Point& d = e.position;
    if (e.transforme || !connu(d.x) || !connu(d.z) || (!p.tournage && !connu(d.y))) return "POSITION INCONNUE";
    // The compensated path starts from where the lead-in put it: an
    // approach made without it would cut the profile's first move wrong.
    if (e.correction == 410 || e.correction == 420) return "CORRECTION DE RAYON";
    return "";
}

int ligneDuBloc(const std::vector<Etat>& etats, const std::string& bloc, std::string& pourquoi)
{
    std::string_view b = bloc;
    if (!b.empty() && (b[0] == 'N' || b[0] == 'n')) b.remove_prefix(1);
    int n = -1;
    const auto r = std::from_chars(b.data(), b.data() + b.size(), n);
    if (b.empty() || r.ec != std::errc{} || r.ptr != b.data() + b.size() || n < 0) {
        pourquoi = "BLOC INCONNU";
        return -1;
    }
    int trouve = -1;
    for (std::size_t i = 0; i < etats.size(); ++i) {
        if (etats[i].numero != n) continue;
        if (trouve >= 0) {
            pourquoi = "BLOC EN DOUBLE";
            return -1;
        }
        trouve = static_cast<int>(i);
    }
    if (trouve < 0) pourquoi = "BLOC INCONNU";
    return trouve;
}

}  // namespace

LectureReprise lirePourReprise(std::string_view octets, int directeur, int type)
{
    LectureReprise lu;
    lu.brutes = lignesBrutes(octets);
    lu.programme = lire(octets, directeur, type, lu.etats);
    return lu;
}

Reprise reprendre(const DemandeReprise& demande)
{
    return reprendre(lirePourReprise(demande.octets, demande.directeur, demande.type), demande);
}

Reprise reprendre(const LectureReprise& lu, const DemandeReprise& demande)
{
    Reprise r;
    const int dir = demande.directeur;
    const std::vector<std::string>& brutes = lu.brutes;
    const std::vector<Etat>& etats = lu.etats;
    const Programme& p = lu.programme;
    const int n = static_cast<int>(brutes.size());
    int ligne = demande.ligne;
    if (!demande.bloc.empty()) ligne = ligneDuBloc(etats, demande.bloc, r.refus);
    else if (ligne < 0 || ligne >= n) r.refus = "BLOC INCONNU";
    if (!r.refus.empty()) return r;
    r.ligne = ligne;
    r.refus = refus(lu, ligne, dir);
    if (!r.refus.empty()) return r;

    const Etat& e = etats[static_cast<std::size_t>(ligne)];
    const auto brute = [&](int i) -> const std::string& { return brutes[static_cast<std::size_t>(i)]; };
    const auto mot = [&](int i, char c) { return i < 0 ? std::string() : motBrut(brute(i), c, dir); };
    const bool iso = dir != kNum && dir != kFanuc && dir != kFagor;
    const bool pouces = e.pouces;

    const int h = std::min(entete(lu), ligne);
    for (int i = 0; i < h; ++i) r.lignes.push_back(brute(i));
    r.lignes.insert(r.lignes.end(), demande.insertion.begin(), demande.insertion.end());

    // The state, in the order a program's first blocks set it. The approach
    // is in absolute coordinates: a program in G91 gets it back after.
    std::vector<std::string> etat;
    std::string modes = "G90";
    ajouterMot(modes, e.plan == Plan::XY ? "G17" : e.plan == Plan::ZX ? "G18" : "G19");
    ajouterMot(modes, dir == kNum || dir == kFagor ? (pouces ? "G70" : "G71") : (pouces ? "G20" : "G21"));
    if (e.correction == 400) ajouterMot(modes, "G40");
    if (e.repere) ajouterMot(modes, codeG(e.repere));
    if (e.avance) ajouterMot(modes, codeG(e.avance));
    if (iso && e.centresAbsolus) ajouterMot(modes, "G90.1");
    if (iso && p.tournage) ajouterMot(modes, e.xAuRayon ? "G8" : "G7");
    etat.push_back(modes);

    std::string outil;
    // A mill's spindle holds the tool of the last M6; a turret indexes at
    // the T word, with the M6 some programs write beside it.
    const bool m6 = p.tournage ? e.ligneM6 >= e.ligneT && e.ligneT >= 0 : e.ligneM6 >= 0;
    ajouterMot(outil, mot(m6 && !p.tournage ? e.ligneTChange : e.ligneT, 'T'));
    ajouterMot(outil, mot(e.ligneD, 'D'));
    if (e.longueur == 0) ajouterMot(outil, mot(e.ligneH, 'H'));
    if (m6) ajouterMot(outil, "M6");
    if (!outil.empty()) etat.push_back(outil);
    // The next tool, called before its change as the program did.
    if (m6 && !p.tournage && e.ligneT > e.ligneM6) etat.push_back(mot(e.ligneT, 'T'));
    if (e.longueur) {
        std::string l = codeG(e.longueur);
        if (e.longueur != 490) ajouterMot(l, mot(e.ligneH, 'H'));
        etat.push_back(l);
    }
    if (e.ligneLimite >= 0) etat.push_back(codeG(e.codeLimite) + " " + mot(e.ligneLimite, 'S'));
    std::string broche;
    if (e.vitesse) ajouterMot(broche, codeG(e.vitesse));
    ajouterMot(broche, mot(e.ligneS, 'S'));
    if (e.broche) ajouterMot(broche, "M" + std::to_string(e.broche));
    if (!broche.empty()) etat.push_back(broche);
    std::string avance = mot(e.ligneF, 'F');
    if (e.arrosage) ajouterMot(avance, "M" + std::to_string(e.arrosage));
    if (!avance.empty()) etat.push_back(avance);
    r.lignes.insert(r.lignes.end(), etat.begin(), etat.end());

    // The approach: to the start of the chosen line, from above on a mill
    // (Z is the spindle's axis whatever the plane of the arcs), from where
    // the tool was changed on a lathe.
    const Point& d = e.position;
    std::string approche;
    r.debutApproche = static_cast<int>(r.lignes.size());
    const auto x = [&](double v) { return longueur(p.tournage && e.xAuRayon ? v / 2 : v, pouces); };
    const auto xv = [&](double v) { return valeur(p.tournage && e.xAuRayon ? v / 2 : v, pouces); };
    if (p.tournage) {
        Point c = e.changement;
        for (int a : {0, 2})
            if (!connu(c[a])) c[a] = connu(e.hauts[a]) ? e.hauts[a] : d[a];
        r.lignes.push_back("G0 X" + x(c.x) + " Z" + longueur(c.z, pouces));
        r.lignes.push_back("G1 X" + x(d.x) + " Z" + longueur(d.z, pouces));
        r.approche = {c, d};
        approche = "X " + xv(c.x) + " Z " + valeur(c.z, pouces) + " puis X " + xv(d.x) + " Z " + valeur(d.z, pouces);
    } else {
        const double haut = std::max(connu(e.hauts.z) ? e.hauts.z : d.z, d.z);
        r.lignes.push_back("G0 Z" + longueur(haut, pouces));
        r.lignes.push_back("X" + longueur(d.x, pouces) + " Y" + longueur(d.y, pouces));
        r.lignes.push_back("G1 Z" + longueur(d.z, pouces));
        const double inconnu = std::nan("");
        r.approche = {{inconnu, inconnu, haut}, {d.x, d.y, haut}, d};
        approche = "Z " + valeur(haut, pouces) + " puis X Y puis Z " + valeur(d.z, pouces);
    }
    r.finApproche = static_cast<int>(r.lignes.size());
    std::string apres;
    if (e.relatif) ajouterMot(apres, "G91");
    if (e.mouvement != 10) ajouterMot(apres, codeG(e.mouvement));
    if (!apres.empty()) r.lignes.push_back(apres);

    r.debutProgramme = static_cast<int>(r.lignes.size());
    for (int i = ligne; i < n; ++i) r.lignes.push_back(brute(i));

    std::string mots;
    for (const std::string& l : etat) ajouterMot(mots, l);
    r.explication = ligne > h ? "Lignes " + milliers(h + 1) + " à " + milliers(ligne) + " sautées" : "Aucune ligne sautée";
    r.explication += " ; état rétabli : " + mots + " ; approche : " + approche;
    if (!apres.empty()) r.explication += " ; puis " + apres;
    return r;
}

std::string texte(const Reprise& r)
{
    std::string s;
    for (const std::string& l : r.lignes) s += l + "\r\n";
    return s;
}

std::string repere(const LectureReprise& lu, int ligne)
{
    const int numero = ligne >= 0 && static_cast<std::size_t>(ligne) < lu.etats.size()
                           ? lu.etats[static_cast<std::size_t>(ligne)].numero
                           : -1;
    return numero >= 0 ? "N" + std::to_string(numero) : "ligne " + std::to_string(ligne + 1);
}

}  // namespace tarvex::trajectoire
