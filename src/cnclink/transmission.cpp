#include "cnclink/transmission.h"

#include "cnclink/continu.h"

#include "store/chemins.h"
#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/lecteur.h"
#include "store/machines.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tarvex {
namespace {

// The general number format of the workshop's CNC dialogue: the value rounded
// once to its significant digits, then written out in full. The CNC reads
// "1E-05" as a syntax error, so the exponent is spelled out as zeros whatever
// the magnitude; to_chars keeps "." and ignores the locale Qt sets.
template <class T>
std::string enTexte(T valeur, int chiffres)
{
    if (!std::isfinite(valeur)) return {};
    if (valeur == 0) return "0";  // -0 included: the CNC has no negative zero

    char tampon[64];
    const auto res = std::to_chars(tampon, tampon + sizeof tampon, valeur, std::chars_format::scientific,
                                   chiffres - 1);
    std::string_view s(tampon, static_cast<std::size_t>(res.ptr - tampon));

    std::string texte;
    if (s.front() == '-') {
        texte.push_back('-');
        s.remove_prefix(1);
    }
    const std::size_t e = s.find('e');
    std::string mantisse;
    for (char c : s.substr(0, e))
        if (c != '.') mantisse.push_back(c);
    while (mantisse.size() > 1 && mantisse.back() == '0') mantisse.pop_back();

    std::string_view exp = s.substr(e + 1);
    const bool expNegatif = exp.front() == '-';
    if (exp.front() == '-' || exp.front() == '+') exp.remove_prefix(1);
    int exposant = 0;
    std::from_chars(exp.data(), exp.data() + exp.size(), exposant);
    if (expNegatif) exposant = -exposant;

    const int n = static_cast<int>(mantisse.size());
    if (exposant >= n - 1) {
        texte += mantisse;
        texte.append(static_cast<std::size_t>(exposant - n + 1), '0');
    } else if (exposant >= 0) {
        const auto entiers = static_cast<std::size_t>(exposant + 1);
        texte.append(mantisse, 0, entiers);
        texte.push_back('.');
        texte.append(mantisse, entiers);
    } else {
        texte += "0.";
        texte.append(static_cast<std::size_t>(-exposant - 1), '0');
        texte += mantisse;
    }
    return texte;
}

// Mid(s, debut, longueur) as the gauge format was first written with: a
// negative length is the caller's error, a start past the end gives nothing
// and a length past the end is cut. Without a length: to the end.
bool milieu(std::string_view s, int debut, int longueur, std::string_view& sortie)
{
    if (debut < 1 || longueur < 0) return false;
    const auto d = static_cast<std::size_t>(debut - 1);
    sortie = d >= s.size() ? std::string_view{} : s.substr(d, static_cast<std::size_t>(longueur));
    return true;
}

bool milieu(std::string_view s, int debut, std::string_view& sortie)
{
    if (debut < 1) return false;
    const auto d = static_cast<std::size_t>(debut - 1);
    sortie = d >= s.size() ? std::string_view{} : s.substr(d);
    return true;
}

// A gauge value in single precision, as the tables of the CNC hold them; a
// number beyond the float range would reach the CNC as garbage.
bool valeurSimple(std::string_view texte, float echelle, float& sortie)
{
    const double lu = lirenombre(sansBlancs(texte));
    if (!(std::fabs(lu) <= static_cast<double>(std::numeric_limits<float>::max()))) return false;
    sortie = static_cast<float>(lu) * echelle;
    return std::isfinite(sortie);
}

std::string affectation(float parametre, float valeur)
{
    return "E" + enTexte(parametre, 7) + "=" + enTexte(valeur, 7);
}

// Writes the steps of one transfer and stops at its first failure.
class Emission {
public:
    Transfert resultat;

    void ligne(std::string_view octets, int progression = -1)
    {
        Etape e;
        e.octets.reserve(octets.size() + 1);
        e.octets.append(octets);
        e.octets.push_back('\n');
        e.progression = progression;
        resultat.etapes.push_back(std::move(e));
    }
    void progression(int valeur) { resultat.etapes.push_back(Etape{{}, valeur}); }
    void fin() { resultat.etapes.push_back(Etape{std::string{kDC3, '\n'}, -1}); }

    Transfert echec(int numero, std::string detail)
    {
        echouer(numero, std::move(detail));
        return std::move(resultat);
    }
    void echouer(int numero, std::string detail) { resultat.echec = EchecTransfert{numero, std::move(detail)}; }
};

// The program buffer: the items of the file as lireitem gives them, views
// into the file's bytes. The buffer has room for kItemsMaximum items and the
// one after overflows it while the file is read, before anything goes out.
struct Programme {
    std::string octets;
    std::vector<std::string_view> items;
};

// The file's items into the buffer; none past kItemsMaximum.
std::optional<EchecTransfert> decouper(Programme& p, const std::string& nom)
{
    LecteurItems lecteur(p.octets);
    p.items.reserve(256);
    while (!lecteur.fin()) {
        if (p.items.size() == static_cast<std::size_t>(kItemsMaximum))
            return EchecTransfert{kErreurTropDItems, "Programme de plus de " + std::to_string(kItemsMaximum) +
                                                         " lignes : " + nom};
        p.items.push_back(lecteur.suivantBrut().brut);
    }
    return std::nullopt;
}

std::optional<EchecTransfert> lireProgramme(const std::string& chemin, Programme& p)
{
    auto lu = fichiers::lire(chemin);
    if (!lu) return EchecTransfert{kErreurFichierIntrouvable, "Fichier introuvable : " + chemin};
    p.octets = std::move(*lu);
    return decouper(p, chemin);
}

// Items 2 to N, the progress bar following k * 100 / N. An empty file still
// sends an empty first line: the buffer's first slot is sent whatever it holds.
void envoyerCorps(Emission& em, const Programme& p)
{
    const auto n = p.items.size();
    for (std::size_t k = 2; k <= n; ++k)
        em.ligne(p.items[k - 1], static_cast<int>(k * 100 / n));
}

std::string_view premier(const Programme& p) { return p.items.empty() ? std::string_view{} : p.items.front(); }

// v(box): millimetres typed in a box, micrometres for the CNC, in double.
bool micrometres(const std::string& texte, std::string& sortie)
{
    const double v = lirenombre(texte) * 1000.0;
    if (!std::isfinite(v)) return false;
    sortie = texteparametre(v);
    return true;
}

struct Affectation {
    const char* parametre;
    const std::string* valeur;
};

// One PREF or DEC1 block; false after the header and the lines sent when a
// value overflows, as the first code would have stopped on that line.
bool bloc(Emission& em, const char* entete, std::initializer_list<Affectation> lignes, std::string& fautive)
{
    em.ligne(entete);
    std::string v;
    for (const auto& a : lignes) {
        if (!micrometres(*a.valeur, v)) {
            fautive = *a.valeur;
            return false;
        }
        em.ligne(std::string(a.parametre) + "=" + v);
    }
    return true;
}

// The PREF, DEC1 and gauge blocks Charger puts after the program's first
// item, for the ticked boxes; stops at the first value that cannot be sent.
void blocsNum(Emission& em, const DemandeChargement& d)
{
    std::string fautive;
    auto depassement = [&](const char* bloc) {
        em.echouer(kErreurDepassement, std::string("Valeur ") + bloc + " hors limites : " + fautive);
    };
    if (d.pref) {
        bool ok = true;
        if (d.type == kTournage)
            ok = bloc(em, "$ PREF XZ", {{"E60000", &d.prefX}, {"E61000", &d.prefZ}}, fautive);
        else if (d.type == kFraisage)
            ok = bloc(em, "$ PREF XYZ", {{"E60000", &d.prefX}, {"E61000", &d.prefY}, {"E62000", &d.prefZ}},
                      fautive);
        if (!ok) return depassement("PREF");
    }
    if (d.dec) {
        bool ok = true;
        if (d.type == kTournage)
            ok = bloc(em, "$ DEC XZ", {{"E60001", &d.decX}, {"E61001", &d.decZ}}, fautive);
        else if (d.type == kFraisage)
            ok = bloc(em, "$ DEC XYZ", {{"E60001", &d.decX}, {"E61001", &d.decY}, {"E62001", &d.decZ}},
                      fautive);
        if (!ok) return depassement("DEC1");
    }
    if (d.jauges) {
        em.ligne("$ JAUGES");
        // Only the two known kinds have a gauge table; the file is not even
        // opened for another, so its absence is no failure there.
        if (d.type == kTournage || d.type == kFraisage) {
            const std::string cheminJauges = chemins::joindre(d.dossier, "jauge.txt");
            const auto octets = fichiers::lire(cheminJauges);
            if (!octets) return em.echouer(kErreurFichierIntrouvable, "Fichier introuvable : " + cheminJauges);
            PositionsJauge positions;
            LecteurItems lecteur(*octets);
            for (int rang = 1; !lecteur.fin(); ++rang) {
                const std::string_view item = lecteur.suivantBrut().brut;
                LignesJauge l = lignesjauge(item, d.type, positions);
                if (l.echec) {
                    const std::string quoi = l.numero == kErreurDepassement ? "hors limites" : "mal formée";
                    return em.echouer(l.numero, "Jauge " + std::to_string(rang) + " " + quoi + " (« " +
                                                  cp1252::versUtf8(item) + " ») : " + cheminJauges);
                }
                for (const auto& s : l.lignes) em.ligne(s);
            }
        }
    }
}

Transfert programmeNum(const DemandeChargement& d)
{
    Emission em;
    em.progression(0);
    const std::string cheminProg = chemins::joindre(d.dossier, "prog.txt");
    Programme prog;
    if (auto e = lireProgramme(cheminProg, prog)) return em.echec(e->numero, std::move(e->detail));
    em.ligne(premier(prog));
    blocsNum(em, d);
    if (em.resultat.echec) return std::move(em.resultat);
    envoyerCorps(em, prog);
    em.progression(0);
    em.fin();
    return std::move(em.resultat);
}

Transfert tableJauges(const DemandeChargement& d)
{
    Emission em;
    em.ligne("%");
    const std::string chemin = chemins::joindre(d.dossier, "jauge.txt");
    const auto octets = fichiers::lire(chemin);
    if (!octets) return em.echec(kErreurFichierIntrouvable, "Fichier introuvable : " + chemin);
    LecteurItems lecteur(*octets);
    while (!lecteur.fin()) em.ligne(lecteur.suivantBrut().brut);
    em.fin();
    em.resultat.balayage = true;
    return std::move(em.resultat);
}

// A program sent as it stands: FANUC sheets, files picked on disk, restart
// programs; `insertion` after the first item.
Transfert programmeSeul(Programme& prog, std::optional<EchecTransfert> lu, std::string_view insertion)
{
    Emission em;
    em.progression(0);
    if (lu) return em.echec(lu->numero, std::move(lu->detail));
    em.ligne(premier(prog));
    if (!insertion.empty()) em.resultat.etapes.push_back(Etape{std::string(insertion), -1});
    envoyerCorps(em, prog);
    em.progression(0);
    em.fin();
    return std::move(em.resultat);
}

Transfert programmeSeul(const std::string& chemin)
{
    Programme prog;
    auto lu = lireProgramme(chemin, prog);
    return programmeSeul(prog, std::move(lu), {});
}

}  // namespace

std::string texteparametre(double valeur) { return enTexte(valeur, 15); }
std::string texteparametre(float valeur) { return enTexte(valeur, 7); }

std::string reglageliaison(std::string_view vitesse, std::string_view parite, std::string_view bits,
                           std::string_view arret)
{
    std::string r(vitesse);
    r.push_back(',');
    if (!parite.empty()) {
        // The first character, whole even when it is not ASCII (UTF-8 text
        // of a combo box); only ASCII letters have a lower case here.
        std::size_t n = 1;
        const auto o = static_cast<unsigned char>(parite[0]);
        if (o >= 0xC0) n = o >= 0xF0 ? 4 : o >= 0xE0 ? 3 : 2;
        std::string premier(parite.substr(0, n));
        if (premier.size() == 1 && premier[0] >= 'A' && premier[0] <= 'Z')
            premier[0] = static_cast<char>(premier[0] + 32);
        r += premier;
    }
    r.push_back(',');
    r.append(bits);
    r.push_back(',');
    r.append(arret);
    return r;
}

LignesJauge lignesjauge(std::string_view item, int type, PositionsJauge& p)
{
    LignesJauge r;
    if (type != kTournage && type != kFraisage) return r;

    for (std::size_t i = 0; i < item.size(); ++i) {
        const int pos = static_cast<int>(i + 1);
        switch (item[i]) {
        case 'D': p.d = pos; break;
        case 'X': if (type == kTournage) p.x = pos; break;
        case 'Z': if (type == kTournage) p.z = pos; break;
        case 'C': if (type == kTournage) p.c = pos; break;
        case 'L': if (type == kFraisage) p.l = pos; break;
        case 'R': p.r = pos; break;
        default: break;
        }
    }

    auto echec = [&r](int numero) {
        r.echec = true;
        r.numero = numero;
        r.lignes.clear();
        return r;
    };

    if (type == kTournage) {
        std::string_view tn, tx, tz, tr, tc;
        if (!milieu(item, p.d + 1, p.x - p.d - 1, tn) || !milieu(item, p.x + 1, p.z - p.x - 1, tx) ||
            !milieu(item, p.z + 1, p.r - p.z - 1, tz) || !milieu(item, p.r + 1, p.c - p.r - 1, tr) ||
            !milieu(item, p.c + 1, 2, tc))
            return echec(kErreurJauge);
        float n, x, z, rayon, c;
        if (!valeurSimple(tn, 1.0f, n) || !valeurSimple(tx, 1000.0f, x) || !valeurSimple(tz, 1000.0f, z) ||
            !valeurSimple(tr, 1000.0f, rayon) || !valeurSimple(tc, 1.0f, c))
            return echec(kErreurDepassement);
        r.lignes = {affectation(50000.0f + n, x), affectation(51000.0f + n, z), affectation(52000.0f + n, rayon),
                    affectation(55000.0f + n, c)};
    } else {
        std::string_view tn, tl, tr;
        if (!milieu(item, p.d + 1, p.l - p.d - 1, tn) || !milieu(item, p.l + 1, p.r - p.l - 1, tl) ||
            !milieu(item, p.r + 1, tr))
            return echec(kErreurJauge);
        float n, l, rayon;
        if (!valeurSimple(tn, 1.0f, n) || !valeurSimple(tl, 1000.0f, l) || !valeurSimple(tr, 1000.0f, rayon))
            return echec(kErreurDepassement);
        r.lignes = {affectation(50000.0f + n, l), affectation(52000.0f + n, rayon)};
    }
    // The parameter numbers cannot overflow: n within the float range plus
    // 55000 rounds back to at most the largest float.
    return r;
}

std::string Transfert::texte() const
{
    std::size_t taille = 0;
    for (const auto& e : etapes) taille += e.octets.size();
    std::string t;
    t.reserve(taille);
    for (const auto& e : etapes) t += e.octets;
    return t;
}

Transfert transfertFiche(const DemandeChargement& d)
{
    if (d.directeur == kNum) {
        if (d.mode == ModeChargement::JaugesSeules) return tableJauges(d);
        if (d.mode == ModeChargement::Programme) return programmeNum(d);
        return Emission{}.echec(kErreurAucunTransfert, "Aucune option de transfert choisie");
    }
    if (d.directeur == kFanuc) return programmeSeul(chemins::joindre(d.dossier, "prog.txt"));
    return Emission{}.echec(kErreurAucunTransfert, "Aucun transfert défini pour la commande numérique de type " +
                                                       std::to_string(d.directeur));
}

Transfert transfertFichier(const std::string& chemin, std::string_view insertion)
{
    Programme prog;
    auto lu = lireProgramme(chemin, prog);
    return programmeSeul(prog, std::move(lu), insertion);
}

Transfert transfertTexte(std::string octets, std::string_view insertion)
{
    Programme prog;
    prog.octets = std::move(octets);
    auto lu = decouper(prog, "programme");
    return programmeSeul(prog, std::move(lu), insertion);
}

std::optional<std::string> programmeFiche(const DemandeChargement& d, Transfert& blocs)
{
    blocs = {};
    if (d.directeur == kFanuc) return chemins::joindre(d.dossier, "prog.txt");
    if (d.directeur != kNum || d.mode != ModeChargement::Programme) return std::nullopt;
    Emission em;
    blocsNum(em, d);
    blocs = std::move(em.resultat);
    return chemins::joindre(d.dossier, "prog.txt");
}

std::string texteLignes(const std::vector<std::string>& lignes)
{
    std::string t;
    for (const std::string& l : lignes) t += l + "\r\n";
    return t;
}

Transfert transfertLignes(const std::vector<std::string>& lignes)
{
    // The drip-feed's cutting into items gives the file sending's bytes
    // without its limit; the progress bar then follows those items.
    std::string octets;
    continu::Decoupe decoupe;
    decoupe.prendre(texteLignes(lignes), octets);
    decoupe.finir(octets);
    std::vector<std::string_view> items;
    for (std::string_view reste = octets; !reste.empty();) {
        const std::size_t fin = reste.find('\n');
        items.push_back(reste.substr(0, fin));
        reste.remove_prefix(fin + 1);
    }
    items.pop_back();  // DC3, which em.fin() writes again
    Emission em;
    em.progression(0);
    const auto n = items.size();
    for (std::size_t k = 1; k <= n; ++k)
        em.ligne(std::string(items[k - 1]), k == 1 ? -1 : static_cast<int>(k * 100 / n));
    em.progression(0);
    em.fin();
    return std::move(em.resultat);
}

DemandeChargement demandeDeFiche(const FicheAffichee& fiche, bool jaugesSeules)
{
    DemandeChargement d;
    d.directeur = codeMachine(fiche.com.valeur.directeur);
    d.type = codeMachine(fiche.com.valeur.type);
    d.dossier = fiche.dossier();
    d.mode = jaugesSeules ? ModeChargement::JaugesSeules : ModeChargement::Programme;
    d.pref = d.dec = d.jauges = true;
    // The main window fills the value boxes for a NUM control only; for the
    // others they stay empty, and the transfer does not read them.
    if (d.directeur == kNum) static_cast<ValeursPref&>(d) = fiche.pref.valeur;
    return d;
}

Insertion insertionFiche(const FicheAffichee& fiche)
{
    Insertion r;
    Transfert blocs;
    if (!programmeFiche(demandeDeFiche(fiche), blocs)) return r;
    r.echec = std::move(blocs.echec);
    const std::string t = blocs.texte();
    for (std::string_view reste = t; !reste.empty();) {
        const std::size_t fin = reste.find('\n');
        r.lignes.emplace_back(reste.substr(0, fin));
        if (fin == std::string_view::npos) break;
        reste.remove_prefix(fin + 1);
    }
    return r;
}

}  // namespace tarvex
