#include "store/chemins.h"

#include "store/cp1252.h"

#include <cwctype>
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

#ifdef _WIN32
// A name Windows keeps for a device whatever folder it stands in (CON, PRN,
// AUX, NUL, COM1 to COM9, LPT1 to LPT9; an extension or blanks after it
// change nothing): "data\recus\COM2" would be the serial port itself.
bool nomDePeripherique(std::wstring_view nom)
{
    nom = nom.substr(0, nom.find(L'.'));
    while (!nom.empty() && nom.back() == L' ') nom.remove_suffix(1);
    std::wstring m(nom);
    for (auto& c : m) c = static_cast<wchar_t>(std::towupper(c));
    if (m == L"CON" || m == L"PRN" || m == L"AUX" || m == L"NUL") return true;
    return m.size() == 4 && (m.starts_with(L"COM") || m.starts_with(L"LPT")) && m[3] >= L'1' && m[3] <= L'9';
}

// The same path in the form the system takes without reading names as
// devices: absolute, with its "." and ".." resolved, behind "\\?\".
fs::path sansPeripherique(std::wstring s)
{
    for (auto& c : s)
        if (c == L'/') c = L'\\';
    const bool unc = s.starts_with(L"\\\\");
    const bool lecteur = s.size() >= 3 && s[1] == L':' && s[2] == L'\\';
    if (!unc && !lecteur) {
        const std::wstring courant = fs::current_path().wstring();
        s = !s.empty() && s[0] == L'\\' ? courant.substr(0, courant.starts_with(L"\\\\?\\") ? 6 : 2) + s
                                         : courant + L"\\" + s;
    }
    std::wstring prefixe = L"\\\\?\\";
    if (s.starts_with(L"\\\\?\\")) {
        s.erase(0, 4);
    } else if (s.starts_with(L"\\\\")) {
        prefixe += L"UNC\\";
        s.erase(0, 2);
    }
    std::vector<std::wstring> parts;
    std::size_t debut = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i < s.size() && s[i] != L'\\') continue;
        const std::wstring part = s.substr(debut, i - debut);
        debut = i + 1;
        if (part.empty() || part == L".") continue;
        if (part == L"..") {
            if (parts.size() > 1) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::wstring r = prefixe;
    for (std::size_t i = 0; i < parts.size(); ++i) r += (i ? L"\\" : L"") + parts[i];
    if (s.ends_with(L"\\")) r += L'\\';
    return fs::path(r);
}
#endif

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
    // Every other path goes as it is: Windows' own reading of it (trailing
    // dots and blanks dropped) is what the folders already on disk were made with.
    fs::path p = depuisUtf8(chemin);
    for (const auto& part : p)
        if (nomDePeripherique(part.wstring())) return sansPeripherique(p.wstring());
    return p;
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
