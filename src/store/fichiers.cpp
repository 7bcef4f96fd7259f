#include "store/fichiers.h"

#include "store/chemins.h"
#include "store/fichiers_systeme.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace tarvex::fichiers {
namespace {

Observateur* gObservateur = nullptr;

void annoncer(std::string_view chemin)
{
    if (gObservateur) gObservateur->avant(chemin);
}

fs::path temporaireVoisin(const fs::path& cible)
{
    fs::path t = cible;
    t += ".~tvx";
    return t;
}

}  // namespace

ErreurFichier::ErreurFichier(std::string chemin, std::string detail)
    : std::runtime_error(chemin + " : " + detail), chemin_(std::move(chemin)), detail_(std::move(detail))
{
}

void observer(Observateur* o) { gObservateur = o; }

std::optional<std::string> lire(std::string_view chemin)
{
    try {
        annoncer(chemin);
    } catch (const ErreurFichier&) {
        return std::nullopt;
    }
    return systeme::lire(chemins::resoudre(chemin));
}

std::int64_t systeme::depart(std::uint64_t taille, std::int64_t debut)
{
    const auto t = static_cast<std::int64_t>(taille);
    return debut >= 0 ? std::min(debut, t) : std::max<std::int64_t>(0, t + debut);
}

std::optional<Morceau> lireDepuis(std::string_view chemin, std::int64_t debut)
{
    try {
        annoncer(chemin);
    } catch (const ErreurFichier&) {
        return std::nullopt;
    }
    return systeme::lireDepuis(chemins::resoudre(chemin), debut);
}

std::optional<std::string> lireDebut(std::string_view chemin, std::size_t maximum)
{
    try {
        annoncer(chemin);
    } catch (const ErreurFichier&) {
        return std::nullopt;
    }
    return systeme::lireDebut(chemins::resoudre(chemin), maximum);
}

bool existe(std::string_view chemin) { return systeme::existe(chemins::resoudre(chemin)); }

bool estDossier(std::string_view chemin) { return systeme::estDossier(chemins::resoudre(chemin)); }

std::vector<std::string> lister(std::string_view dossier)
{
    std::vector<std::string> noms;
    std::error_code ec;
    for (fs::directory_iterator it(chemins::resoudre(dossier), ec), fin; !ec && it != fin; it.increment(ec))
        noms.push_back(chemins::texte(it->path().filename()));
    return noms;
}

namespace {

// Writes beside the target and renames over it: an interrupted write never
// leaves half a file under the target's name.
void ecrireRemplacer(std::string_view chemin, std::string_view octets)
{
    const fs::path cible = chemins::resoudre(chemin);
    systeme::ecrireRemplacer(cible, temporaireVoisin(cible), chemin, octets);
}

}  // namespace

void ecrire(std::string_view chemin, std::string_view octets)
{
    annoncer(chemin);
    ecrireRemplacer(chemin, octets);
}

void ecrireBrouillon(std::string_view chemin, std::string_view octets)
{
    annoncer(chemin);
    systeme::ecrireBrouillon(chemins::resoudre(chemin), chemin, octets);
}

void ajouter(std::string_view chemin, std::string_view octets)
{
    annoncer(chemin);
    systeme::ajouter(chemins::resoudre(chemin), chemin, octets);
}

void ajouterLigne(std::string_view chemin, std::string ligne)
{
    const auto fin = lireDepuis(chemin, -1);
    if (fin && !fin->octets.empty() && fin->octets.back() != '\n')
        ligne.insert(0, fin->octets.back() == '\r' ? "\n" : "\r\n");
    ajouter(chemin, ligne);
}

bool creerNouveau(std::string_view chemin, std::string_view octets)
{
    annoncer(chemin);
    return systeme::creerNouveau(chemins::resoudre(chemin), chemin, octets);
}

void remplacer(std::string_view source, std::string_view cible)
{
    annoncer(cible);
    const fs::path s = chemins::resoudre(source);
    const fs::path c = chemins::resoudre(cible);
    systeme::remplacer(s, c, cible);
}

void copier(std::string_view source, std::string_view cible)
{
    annoncer(cible);
    ecrireRemplacer(cible, systeme::lireSource(chemins::resoudre(source), source));
}

namespace {

// Removes a file, or an empty folder when `dossier`, each only as what it
// must be; what is already gone is not an error.
void retirer(std::string_view chemin, bool dossier)
{
    annoncer(chemin);
    const fs::path p = chemins::resoudre(chemin);
    const std::string impossible = dossier ? "suppression du dossier impossible (" : "suppression impossible (";
    const char* autre = dossier ? "ce n'est pas un dossier" : "c'est un dossier";
    systeme::retirer(p, chemin, dossier, impossible, autre);
}

}  // namespace

void supprimer(std::string_view chemin) { retirer(chemin, false); }

void creerDossier(std::string_view chemin)
{
    annoncer(chemin);
    systeme::creerDossier(chemins::resoudre(chemin), chemin);
}

void supprimerDossier(std::string_view chemin) { retirer(chemin, true); }

}  // namespace tarvex::fichiers
