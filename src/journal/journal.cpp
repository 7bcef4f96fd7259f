#include "journal/journal.h"

#include "cnclink/transmission.h"
#include "mainwindow/liste.h"
#include "store/cp1252.h"
#include "store/fichiers.h"

#include <algorithm>
#include <array>

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

// A field as the line holds it: a ";" would split it into two fields and a
// line end would make two lines of one transfer.
void ajouterChamp(std::string& l, std::string_view champ)
{
    if (!l.empty()) l += ';';
    for (char c : champ) {
        if (c == ';')
            l += ',';
        else if (c == '\r' || c == '\n')
            l += ' ';
        else
            l += c;
    }
}

std::string hexadecimal(std::uint32_t v)
{
    static constexpr char kChiffres[] = "0123456789ABCDEF";
    std::string h(8, '0');
    for (int i = 7; i >= 0; --i, v >>= 4) h[static_cast<std::size_t>(i)] = kChiffres[v & 0xF];
    return h;
}

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
    std::string l;
    for (std::string_view champ : {std::string_view(e.date), std::string_view(e.heure), std::string_view(e.poste),
                                   std::string_view(e.port), std::string_view(machines), std::string_view(e.genre),
                                   std::string_view(e.objet)})
        ajouterChamp(l, champ);
    ajouterChamp(l, std::to_string(e.octets));
    ajouterChamp(l, std::to_string(e.lignes));
    ajouterChamp(l, e.resultat);
    ajouterChamp(l, std::to_string(e.secondes));
    ajouterChamp(l, hexadecimal(e.crc));
    return l;
}

Resultat ajouter(const Entree& e)
{
    try {
        fichiers::ajouter(kJournal, cp1252::depuisUtf8(ligne(e)) + "\r\n");
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

bool correspond(std::string_view ligneUtf8, std::string_view filtreUtf8)
{
    const std::string l = plierRecherche(cp1252::depuisUtf8(ligneUtf8));
    const std::vector<std::string> mots = motsRecherche(filtreUtf8);
    // A filter with a letter Windows-1252 lacks finds no line the journal holds.
    if (mots.empty()) return cp1252::versUtf8(cp1252::depuisUtf8(filtreUtf8)) == filtreUtf8;
    for (const auto& m : mots)
        if (l.find(m) == std::string::npos) return false;
    return true;
}

}  // namespace tarvex::journal
