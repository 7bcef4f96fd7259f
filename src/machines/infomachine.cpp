#include "machines/infomachine.h"

#include "store/chemins.h"
#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/lecteur.h"
#include "store/machines.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace tarvex {
namespace {

constexpr int kChiffresSignificatifs = 15;

bool contientChiffre(std::string_view t)
{
    for (char c : t)
        if (c >= '0' && c <= '9') return true;
    return false;
}

Lu<std::vector<std::string>> lire(const std::string& nomMachine,
                                  const std::function<std::string(const LecteurItems::Item&)>& texte)
{
    Lu<std::vector<std::string>> r;
    const std::string nom = sansBlancs(nomMachine);
    const std::string dossier = dossierMachine(nom);
    const std::string chemin = dossier + "dossier.txt";
    if (!chemins::nomSur(nom)) {
        r.signaler(chemin, "nom de machine invalide");
        return r;
    }
    const auto octets = fichiers::lire(chemin);
    if (!octets) {
        r.signaler(chemin, fichiers::estDossier(dossier) ? "fichier introuvable ou illisible"
                                                         : "le dossier de la machine est introuvable");
        return r;
    }
    LecteurItems lecteur(*octets);
    while (!lecteur.fin()) r.valeur.push_back(texte(lecteur.suivantBrut()));
    return r;
}

}  // namespace

std::string texteNombre(double valeur, std::string_view separateurDecimal)
{
    if (!std::isfinite(valeur)) return {};
    if (valeur == 0) return "0";
    // The digits once rounded to 15 significant ones, and the power of ten of
    // the first: rounding may carry into a new digit (9.999…9 becomes 10), so
    // the exponent is taken after it, not from the value.
    char tampon[64];
    std::snprintf(tampon, sizeof tampon, "%.*e", kChiffresSignificatifs - 1, std::fabs(valeur));
    std::string chiffres;
    const char* p = tampon;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') chiffres.push_back(*p);
    const int exposant = *p == 'e' ? std::atoi(p + 1) : 0;
    while (chiffres.size() > 1 && chiffres.back() == '0') chiffres.pop_back();

    std::string r = valeur < 0 ? "-" : "";
    if (exposant >= kChiffresSignificatifs || exposant < -4) {
        r += chiffres[0];
        if (chiffres.size() > 1) {
            r += separateurDecimal;
            r.append(chiffres, 1);
        }
        char e[16];
        std::snprintf(e, sizeof e, "E%c%02d", exposant < 0 ? '-' : '+', std::abs(exposant));
        return r + e;
    }
    if (exposant < 0) {
        r += '0';
        r += separateurDecimal;
        r.append(static_cast<std::size_t>(-exposant - 1), '0');
        return r + chiffres;
    }
    const std::size_t entiers = static_cast<std::size_t>(exposant) + 1;
    if (chiffres.size() <= entiers) {
        r += chiffres;
        r.append(entiers - chiffres.size(), '0');
        return r;
    }
    r.append(chiffres, 0, entiers);
    r += separateurDecimal;
    r.append(chiffres, entiers);
    return r;
}

std::string texteValeur(std::string_view brut, bool entreGuillemets, std::string_view separateurDecimal)
{
    // "." alone, or a sign and a point, passes estNombre but holds no digit:
    // it is a text. A number beyond the range of a value (1E400) too.
    if (!entreGuillemets && estNombre(brut) && contientChiffre(brut)) {
        const double v = lirenombre(brut);
        if (std::isfinite(v)) return texteNombre(v, separateurDecimal);
    }
    return cp1252::versUtf8(brut);
}

Lu<std::vector<std::string>> lireDossierMachine(const std::string& nomMachine)
{
    return lire(nomMachine, [](const LecteurItems::Item& i) { return cp1252::versUtf8(i.brut); });
}

Lu<std::vector<std::string>> lireDossierMachineValeurs(const std::string& nomMachine,
                                                       std::string_view separateurDecimal)
{
    const std::string separateur(separateurDecimal);
    return lire(nomMachine, [&separateur](const LecteurItems::Item& i) {
        return texteValeur(i.brut, i.entreGuillemets, separateur);
    });
}

}  // namespace tarvex
