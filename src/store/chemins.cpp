#include "store/chemins.h"

#include "store/cp1252.h"

#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace tarvex::chemins {
namespace {

[[maybe_unused]] std::vector<std::string_view> composants(std::string_view chemin)
{
    std::vector<std::string_view> parts;
    std::size_t debut = 0;
    for (std::size_t i = 0; i <= chemin.size(); ++i) {
        if (i == chemin.size() || chemin[i] == '\\' || chemin[i] == '/') {
            if (i > debut) parts.push_back(chemin.substr(debut, i - debut));
            debut = i + 1;
        }
    }
    return parts;
}

fs::path depuisUtf8(std::string_view s)
{
#ifdef _WIN32
    return fs::path(std::u8string(s.begin(), s.end()));
#else
    return fs::path(std::string(s));
#endif
}

}  // namespace

std::string texte(const fs::path& p)
{
#ifdef _WIN32
    const auto u = p.u8string();
    return std::string(u.begin(), u.end());
#else
    return p.string();
#endif
}

fs::path resoudre(std::string_view chemin)
{
#ifdef _WIN32
    return depuisUtf8(chemin);
#else
    const bool absolu = !chemin.empty() && (chemin.front() == '/' || chemin.front() == '\\');
    fs::path courant = absolu ? fs::path("/") : fs::path();
    bool surDisque = true;  // false once a component is missing
    std::error_code ec;
    for (std::string_view part : composants(chemin)) {
        if (part == ".") continue;
        if (!surDisque || part == "..") {
            courant /= depuisUtf8(part);
            continue;
        }
        fs::path exact = courant / depuisUtf8(part);
        if (fs::symlink_status(exact, ec).type() != fs::file_type::not_found && !ec) {
            courant = std::move(exact);
            continue;
        }
        ec.clear();
        const std::string cherche = cp1252::replier(part);
        const fs::path dossier = courant.empty() ? fs::path(".") : courant;
        bool trouve = false;
        for (fs::directory_iterator it(dossier, ec), fin; !ec && it != fin; it.increment(ec)) {
            const std::string nom = it->path().filename().string();
            if (cp1252::replier(nom) == cherche) {
                courant /= it->path().filename();
                trouve = true;
                break;
            }
        }
        ec.clear();
        if (!trouve) {
            surDisque = false;
            courant /= depuisUtf8(part);
        }
    }
    if (courant.empty()) courant = ".";
    return courant;
#endif
}

std::string joindre(std::string_view dossier, std::string_view nom)
{
    std::string r(dossier);
    if (!r.empty() && r.back() != '\\' && r.back() != '/') r.push_back('\\');
    r.append(nom);
    return r;
}

bool nomSur(std::string_view nom)
{
    if (nom.empty() || nom == "." || nom == "..") return false;
    for (char c : nom) {
        const auto o = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || c == ':' || o < 0x20 || o == 0x7F) return false;
    }
    // A name made only of blanks and dots is "." or ".." to Windows.
    bool queBlancsEtPoints = true;
    for (char c : nom)
        if (c != ' ' && c != '.' && c != '\t') queBlancsEtPoints = false;
    return !queBlancsEtPoints;
}

}  // namespace tarvex::chemins
