// The file operations on Windows, through the system's own calls.
#ifdef _WIN32

#include "store/fichiers_systeme.h"

#include <algorithm>
#include <filesystem>

#include <windows.h>

namespace fs = std::filesystem;

namespace tarvex::fichiers::systeme {
namespace {

std::string messageWindows(DWORD err)
{
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return "fichier ou dossier introuvable";
    case ERROR_ACCESS_DENIED: return "accès refusé";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return "fichier ouvert par un autre programme ou sur un autre poste";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return "disque plein";
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return "existe déjà";
    case ERROR_DIR_NOT_EMPTY: return "le dossier n'est pas vide";
    case ERROR_WRITE_PROTECT: return "support en lecture seule";
    default: return "erreur système " + std::to_string(err);
    }
}

// Another computer reading a file through the network share, or an
// antivirus scanning one just written, holds it for a moment: Windows then
// refuses to open, replace or remove it (sharing or lock violation, or access
// denied). Such an operation is tried again for up to 2 s before it fails.
constexpr ULONGLONG kAttenteMaxMs = 2000;

// Runs `essai` (a Windows call that returns true on success and leaves its
// error in GetLastError) until it succeeds, fails for another reason, or the
// 2 s are over. Returns 0, or the last error. An access denied on a folder or
// on a read-only file would not end by waiting: it fails at once. `aussi` is
// one more error that a moment's wait may end.
template <class Essai>
DWORD reessayer(const fs::path& p, Essai essai, DWORD aussi = ERROR_SHARING_VIOLATION)
{
    const ULONGLONG debut = GetTickCount64();
    DWORD pause = 10;
    for (;;) {
        if (essai()) return 0;
        const DWORD err = GetLastError();
        if (err != ERROR_SHARING_VIOLATION && err != ERROR_LOCK_VIOLATION && err != ERROR_ACCESS_DENIED && err != aussi)
            return err;
        if (err == ERROR_ACCESS_DENIED) {
            const DWORD attributs = GetFileAttributesW(p.c_str());
            if (attributs != INVALID_FILE_ATTRIBUTES &&
                (attributs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0)
                return err;
        }
        const ULONGLONG ecoule = GetTickCount64() - debut;
        if (ecoule >= kAttenteMaxMs) return err;
        Sleep(static_cast<DWORD>(std::min<ULONGLONG>(pause, kAttenteMaxMs - ecoule)));
        pause = std::min<DWORD>(pause * 2, 200);
    }
}

DWORD attributs(const fs::path& p) { return GetFileAttributesW(p.c_str()); }
bool estUnDossier(DWORD a) { return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// Opens a file to read it, letting others read, write, replace and remove it
// meanwhile: a computer reading data.txt must never stop another storing.
HANDLE ouvrirEnLecture(const fs::path& p, DWORD& err)
{
    HANDLE h = INVALID_HANDLE_VALUE;
    err = reessayer(p, [&] {
        h = CreateFileW(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return h != INVALID_HANDLE_VALUE;
    });
    return h;
}

// The whole content, or its first `limite` bytes; nullopt with the error
// when it cannot be read.
std::optional<std::string> lireTout(const fs::path& p, DWORD& err, std::size_t limite = std::string::npos)
{
    if (estUnDossier(attributs(p))) {
        err = ERROR_ACCESS_DENIED;
        return std::nullopt;
    }
    HANDLE h = ouvrirEnLecture(p, err);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string contenu;
    LARGE_INTEGER taille{};
    if (GetFileSizeEx(h, &taille)) contenu.reserve(std::min(static_cast<std::size_t>(taille.QuadPart), limite));
    char tampon[1 << 16];
    while (contenu.size() < limite) {
        DWORD lus = 0;
        const DWORD voulus = static_cast<DWORD>(std::min<std::size_t>(sizeof tampon, limite - contenu.size()));
        if (!ReadFile(h, tampon, voulus, &lus, nullptr)) {
            err = GetLastError();
            CloseHandle(h);
            return std::nullopt;
        }
        if (lus == 0) break;
        contenu.append(tampon, lus);
    }
    CloseHandle(h);
    return contenu;
}

// Writes the bytes to a file made new (CREATE_ALWAYS) or at the end of it
// (OPEN_ALWAYS, appending), flushed to the disk.
void ecrireFichier(const fs::path& p, std::string_view octets, std::string_view chemin, DWORD creation)
{
    const bool ajout = creation == OPEN_ALWAYS;
    HANDLE h = INVALID_HANDLE_VALUE;
    DWORD err = reessayer(p, [&] {
        h = CreateFileW(p.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
        return h != INVALID_HANDLE_VALUE;
    });
    if (err != 0)
        throw ErreurFichier(std::string(chemin),
                            std::string(ajout ? "ouverture" : "création") + " impossible (" + messageWindows(err) + ")");
    const char* q = octets.data();
    std::size_t reste = octets.size();
    while (reste > 0) {
        DWORD ecrits = 0;
        const DWORD morceau = static_cast<DWORD>(std::min<std::size_t>(reste, 1u << 30));
        // Both offsets at 0xFFFFFFFF: this write goes to the end of the file
        // as it is then, whatever was appended since it was opened.
        OVERLAPPED fin{};
        fin.Offset = fin.OffsetHigh = 0xFFFFFFFF;
        if (!WriteFile(h, q, morceau, &ecrits, ajout ? &fin : nullptr)) {
            err = GetLastError();
            break;
        }
        if (ecrits == 0) {
            err = ERROR_WRITE_FAULT;
            break;
        }
        q += ecrits;
        reste -= ecrits;
    }
    if (err == 0 && !FlushFileBuffers(h)) err = GetLastError();
    CloseHandle(h);
    if (err != 0) throw ErreurFichier(std::string(chemin), "écriture impossible (" + messageWindows(err) + ")");
}

}  // namespace

std::optional<std::string> lire(const fs::path& p)
{
    DWORD err = 0;
    return lireTout(p, err);
}

std::optional<Morceau> lireDepuis(const fs::path& p, std::int64_t debut)
{
    Morceau m;
    DWORD err = 0;
    if (estUnDossier(attributs(p))) return std::nullopt;
    HANDLE h = ouvrirEnLecture(p, err);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    LARGE_INTEGER taille{}, position{};
    bool ok = GetFileSizeEx(h, &taille) != 0;
    m.taille = static_cast<std::uint64_t>(taille.QuadPart);
    position.QuadPart = depart(m.taille, debut);
    ok = ok && SetFilePointerEx(h, position, nullptr, FILE_BEGIN) != 0;
    char tampon[1 << 16];
    while (ok) {
        DWORD lus = 0;
        ok = ReadFile(h, tampon, sizeof tampon, &lus, nullptr) != 0;
        if (!ok || lus == 0) break;
        m.octets.append(tampon, lus);
    }
    CloseHandle(h);
    if (!ok) return std::nullopt;
    return m;
}

std::optional<std::string> lireDebut(const fs::path& p, std::size_t maximum)
{
    DWORD err = 0;
    return lireTout(p, err, maximum);
}

// The system is asked directly: the C runtime's stat, under std::filesystem,
// does not take a drive alone ("C:") for the folder it is.
bool existe(const fs::path& p) { return attributs(p) != INVALID_FILE_ATTRIBUTES; }

bool estDossier(const fs::path& p) { return estUnDossier(attributs(p)); }

void ecrireRemplacer(const fs::path& cible, const fs::path& temp, std::string_view chemin, std::string_view octets)
{
    try {
        ecrireFichier(temp, octets, chemin, CREATE_ALWAYS);
    } catch (...) {
        DeleteFileW(temp.c_str());
        throw;
    }
    const DWORD err = reessayer(cible, [&] {
        return MoveFileExW(temp.c_str(), cible.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
    if (err != 0) {
        DeleteFileW(temp.c_str());
        throw ErreurFichier(std::string(chemin), "remplacement impossible (" + messageWindows(err) + ")");
    }
}

void ecrireBrouillon(const fs::path& cible, std::string_view chemin, std::string_view octets)
{
    try {
        ecrireFichier(cible, octets, chemin, CREATE_ALWAYS);
    } catch (...) {
        DeleteFileW(cible.c_str());
        throw;
    }
}

void ajouter(const fs::path& cible, std::string_view chemin, std::string_view octets)
{
    ecrireFichier(cible, octets, chemin, OPEN_ALWAYS);
}

bool creerNouveau(const fs::path& cible, std::string_view chemin, std::string_view octets)
{
    HANDLE h = INVALID_HANDLE_VALUE;
    // A file of that name being removed while another computer still reads
    // it refuses access for a moment: that wait is the retry's.
    DWORD err = reessayer(cible, [&] {
        h = CreateFileW(cible.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        return h != INVALID_HANDLE_VALUE;
    });
    if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) return false;
    if (err != 0) throw ErreurFichier(std::string(chemin), "création impossible (" + messageWindows(err) + ")");
    DWORD ecrits = 0;
    if (!WriteFile(h, octets.data(), static_cast<DWORD>(octets.size()), &ecrits, nullptr))
        err = GetLastError();
    else if (ecrits != octets.size())
        err = ERROR_WRITE_FAULT;
    if (err == 0 && !FlushFileBuffers(h)) err = GetLastError();
    CloseHandle(h);
    if (err != 0) {
        DeleteFileW(cible.c_str());
        throw ErreurFichier(std::string(chemin), "écriture impossible (" + messageWindows(err) + ")");
    }
    return true;
}

void remplacer(const fs::path& s, const fs::path& c, std::string_view cible)
{
    // A folder is only ever renamed to a free name: Windows refuses to
    // replace with one.
    const DWORD drapeaux = estUnDossier(attributs(s)) ? MOVEFILE_WRITE_THROUGH
                                                      : MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    const DWORD err = reessayer(c, [&] { return MoveFileExW(s.c_str(), c.c_str(), drapeaux) != 0; });
    if (err != 0) throw ErreurFichier(std::string(cible), "remplacement impossible (" + messageWindows(err) + ")");
}

std::string lireSource(const fs::path& s, std::string_view source)
{
    const DWORD a = attributs(s);
    if (a == INVALID_FILE_ATTRIBUTES || estUnDossier(a)) throw ErreurFichier(std::string(source), "fichier introuvable");
    DWORD err = 0;
    const std::optional<std::string> contenu = lireTout(s, err);
    if (!contenu) throw ErreurFichier(std::string(source), "lecture impossible (" + messageWindows(err) + ")");
    return *contenu;
}

void retirer(const fs::path& p, std::string_view chemin, bool dossier, const std::string& impossible, const char* autre)
{
    const DWORD a = attributs(p);
    if (a == INVALID_FILE_ATTRIBUTES) return;
    if (estUnDossier(a) != dossier) throw ErreurFichier(std::string(chemin), autre);
    // A file just removed that another computer still holds open stays in
    // the folder until it lets go: the folder is not empty yet.
    const DWORD err =
        dossier ? reessayer(p, [&] { return RemoveDirectoryW(p.c_str()) != 0; }, ERROR_DIR_NOT_EMPTY)
                : reessayer(p, [&] { return DeleteFileW(p.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND; });
    if (err != 0) throw ErreurFichier(std::string(chemin), impossible + messageWindows(err) + ")");
}

void creerDossier(const fs::path& p, std::string_view chemin)
{
    if (attributs(p) != INVALID_FILE_ATTRIBUTES) throw ErreurFichier(std::string(chemin), "le dossier existe déjà");
    if (!CreateDirectoryW(p.c_str(), nullptr))
        throw ErreurFichier(std::string(chemin), "création du dossier impossible (" + messageWindows(GetLastError()) + ")");
}

}  // namespace tarvex::fichiers::systeme

#endif
