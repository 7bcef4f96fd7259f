#include "store/fichiers.h"

#include "store/chemins.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace tarvex::fichiers {
namespace {

Observateur* gObservateur = nullptr;

void annoncer(std::string_view chemin)
{
    if (gObservateur) gObservateur->avant(chemin);
}

#ifndef _WIN32
std::string messageSysteme(int err)
{
    switch (err) {
    case ENOENT: return "fichier ou dossier introuvable";
    case EACCES:
    case EPERM: return "accès refusé";
    case ENOSPC: return "disque plein";
    case EEXIST: return "existe déjà";
    case ENOTEMPTY: return "le dossier n'est pas vide";
    case EROFS: return "support en lecture seule";
    case EISDIR: return "c'est un dossier";
    case ENOTDIR: return "un élément du chemin n'est pas un dossier";
    default: return std::string("erreur système ") + std::to_string(err);
    }
}

// Makes the directory entry of a just renamed or created file durable.
void synchroniserDossier(const fs::path& fichier)
{
    fs::path dossier = fichier.parent_path();
    if (dossier.empty()) dossier = ".";
    const int fd = ::open(dossier.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void ecrireTout(int fd, std::string_view octets, std::string_view chemin)
{
    const char* p = octets.data();
    std::size_t reste = octets.size();
    while (reste > 0) {
        const ssize_t n = ::write(fd, p, reste);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            throw ErreurFichier(std::string(chemin), "écriture impossible (" + messageSysteme(err) + ")");
        }
        p += n;
        reste -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 && errno != EINVAL) {
        const int err = errno;
        ::close(fd);
        throw ErreurFichier(std::string(chemin), "écriture impossible (" + messageSysteme(err) + ")");
    }
}

// Creates or empties the file and writes it whole, flushed to disk; a failure
// removes what was written.
void ecrireEntier(const fs::path& fichier, std::string_view octets, std::string_view chemin)
{
    const int fd = ::open(fichier.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw ErreurFichier(std::string(chemin), "création impossible (" + messageSysteme(errno) + ")");
    try {
        ecrireTout(fd, octets, chemin);
    } catch (...) {
        ::unlink(fichier.c_str());
        throw;
    }
    ::close(fd);
}
#else
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
#endif

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
    const fs::path p = chemins::resoudre(chemin);
#ifdef _WIN32
    DWORD err = 0;
    return lireTout(p, err);
#else
    // Read straight into a buffer of the file's size: the index is read
    // whole at every selection in the list.
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string contenu;
    contenu.resize(static_cast<std::size_t>(st.st_size));
    std::size_t lus = 0;
    char suite[4096];
    for (;;) {
        // Once the expected size is read, whatever else comes (a file that
        // grew meanwhile) goes through a small buffer.
        const bool plein = lus == contenu.size();
        const ssize_t n = plein ? ::read(fd, suite, sizeof suite) : ::read(fd, contenu.data() + lus, contenu.size() - lus);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        if (plein) {
            contenu.append(suite, static_cast<std::size_t>(n));
            lus = contenu.size();
        } else {
            lus += static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
    contenu.resize(lus);
    return contenu;
#endif
}

std::optional<Morceau> lireDepuis(std::string_view chemin, std::int64_t debut)
{
    try {
        annoncer(chemin);
    } catch (const ErreurFichier&) {
        return std::nullopt;
    }
    const fs::path p = chemins::resoudre(chemin);
    Morceau m;
    auto depart = [&] {
        const auto t = static_cast<std::int64_t>(m.taille);
        return debut >= 0 ? std::min(debut, t) : std::max<std::int64_t>(0, t + debut);
    };
#ifdef _WIN32
    DWORD err = 0;
    if (estUnDossier(attributs(p))) return std::nullopt;
    HANDLE h = ouvrirEnLecture(p, err);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    LARGE_INTEGER taille{}, position{};
    bool ok = GetFileSizeEx(h, &taille) != 0;
    m.taille = static_cast<std::uint64_t>(taille.QuadPart);
    position.QuadPart = depart();
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
#else
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    m.taille = ok ? static_cast<std::uint64_t>(st.st_size) : 0;
    ok = ok && ::lseek(fd, static_cast<off_t>(depart()), SEEK_SET) >= 0;
    char tampon[1 << 16];
    while (ok) {
        const ssize_t n = ::read(fd, tampon, sizeof tampon);
        if (n < 0 && errno == EINTR) continue;
        ok = n >= 0;
        if (n <= 0) break;
        m.octets.append(tampon, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!ok) return std::nullopt;
#endif
    return m;
}

std::optional<std::string> lireDebut(std::string_view chemin, std::size_t maximum)
{
    try {
        annoncer(chemin);
    } catch (const ErreurFichier&) {
        return std::nullopt;
    }
    const fs::path p = chemins::resoudre(chemin);
#ifdef _WIN32
    DWORD err = 0;
    return lireTout(p, err, maximum);
#else
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string contenu(maximum, '\0');
    std::size_t lus = 0;
    while (lus < maximum) {
        const ssize_t n = ::read(fd, contenu.data() + lus, maximum - lus);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        lus += static_cast<std::size_t>(n);
    }
    ::close(fd);
    contenu.resize(lus);
    return contenu;
#endif
}

// On Windows the system is asked directly: the C runtime's stat, under
// std::filesystem, does not take a drive alone ("C:") for the folder it is.
bool existe(std::string_view chemin)
{
#ifdef _WIN32
    return attributs(chemins::resoudre(chemin)) != INVALID_FILE_ATTRIBUTES;
#else
    std::error_code ec;
    return fs::exists(chemins::resoudre(chemin), ec);
#endif
}

bool estDossier(std::string_view chemin)
{
#ifdef _WIN32
    return estUnDossier(attributs(chemins::resoudre(chemin)));
#else
    std::error_code ec;
    return fs::is_directory(chemins::resoudre(chemin), ec);
#endif
}

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
    const fs::path temp = temporaireVoisin(cible);
#ifdef _WIN32
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
#else
    ecrireEntier(temp, octets, chemin);
    if (::rename(temp.c_str(), cible.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        throw ErreurFichier(std::string(chemin), "remplacement impossible (" + messageSysteme(err) + ")");
    }
    synchroniserDossier(cible);
#endif
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
    const fs::path cible = chemins::resoudre(chemin);
#ifdef _WIN32
    try {
        ecrireFichier(cible, octets, chemin, CREATE_ALWAYS);
    } catch (...) {
        DeleteFileW(cible.c_str());
        throw;
    }
#else
    ecrireEntier(cible, octets, chemin);
#endif
}

void ajouter(std::string_view chemin, std::string_view octets)
{
    annoncer(chemin);
    const fs::path cible = chemins::resoudre(chemin);
#ifdef _WIN32
    ecrireFichier(cible, octets, chemin, OPEN_ALWAYS);
#else
    const int fd = ::open(cible.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) throw ErreurFichier(std::string(chemin), "ouverture impossible (" + messageSysteme(errno) + ")");
    ecrireTout(fd, octets, chemin);
    ::close(fd);
    synchroniserDossier(cible);
#endif
}

bool creerNouveau(std::string_view chemin, std::string_view octets)
{
    annoncer(chemin);
    const fs::path cible = chemins::resoudre(chemin);
#ifdef _WIN32
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
#else
    const int fd = ::open(cible.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (errno == EEXIST) return false;
        throw ErreurFichier(std::string(chemin), "création impossible (" + messageSysteme(errno) + ")");
    }
    try {
        ecrireTout(fd, octets, chemin);
    } catch (...) {
        ::unlink(cible.c_str());
        throw;
    }
    ::close(fd);
    synchroniserDossier(cible);
#endif
    return true;
}

void remplacer(std::string_view source, std::string_view cible)
{
    annoncer(cible);
    const fs::path s = chemins::resoudre(source);
    const fs::path c = chemins::resoudre(cible);
#ifdef _WIN32
    // A folder is only ever renamed to a free name: Windows refuses to
    // replace with one.
    const DWORD drapeaux = estUnDossier(attributs(s)) ? MOVEFILE_WRITE_THROUGH
                                                      : MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    const DWORD err = reessayer(c, [&] { return MoveFileExW(s.c_str(), c.c_str(), drapeaux) != 0; });
    if (err != 0) throw ErreurFichier(std::string(cible), "remplacement impossible (" + messageWindows(err) + ")");
#else
    if (::rename(s.c_str(), c.c_str()) != 0)
        throw ErreurFichier(std::string(cible), "remplacement impossible (" + messageSysteme(errno) + ")");
    synchroniserDossier(c);
#endif
}

void copier(std::string_view source, std::string_view cible)
{
    annoncer(cible);
    const fs::path s = chemins::resoudre(source);
#ifdef _WIN32
    const DWORD a = attributs(s);
    if (a == INVALID_FILE_ATTRIBUTES || estUnDossier(a)) throw ErreurFichier(std::string(source), "fichier introuvable");
    DWORD err = 0;
    const std::optional<std::string> contenu = lireTout(s, err);
    if (!contenu) throw ErreurFichier(std::string(source), "lecture impossible (" + messageWindows(err) + ")");
    ecrireRemplacer(cible, *contenu);
#else
    std::error_code ec;
    if (!fs::is_regular_file(s, ec))
        throw ErreurFichier(std::string(source), "fichier introuvable");
    std::ifstream in(s, std::ios::binary);
    if (!in) throw ErreurFichier(std::string(source), "lecture impossible");
    std::string contenu((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw ErreurFichier(std::string(source), "lecture impossible");
    ecrireRemplacer(cible, contenu);
#endif
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
#ifdef _WIN32
    const DWORD a = attributs(p);
    if (a == INVALID_FILE_ATTRIBUTES) return;
    if (estUnDossier(a) != dossier) throw ErreurFichier(std::string(chemin), autre);
    // A file just removed that another computer still holds open stays in
    // the folder until it lets go: the folder is not empty yet.
    const DWORD err =
        dossier ? reessayer(p, [&] { return RemoveDirectoryW(p.c_str()) != 0; }, ERROR_DIR_NOT_EMPTY)
                : reessayer(p, [&] { return DeleteFileW(p.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND; });
    if (err != 0) throw ErreurFichier(std::string(chemin), impossible + messageWindows(err) + ")");
#else
    std::error_code ec;
    // A link that leads nowhere is a file to remove; a folder must be one.
    if (!fs::exists(dossier ? fs::status(p, ec) : fs::symlink_status(p, ec))) return;
    // fs::remove would take a file as readily as an empty folder.
    if (fs::is_directory(p, ec) != dossier) throw ErreurFichier(std::string(chemin), autre);
    if (!fs::remove(p, ec) && ec) throw ErreurFichier(std::string(chemin), impossible + messageSysteme(ec.value()) + ")");
#endif
}

}  // namespace

void supprimer(std::string_view chemin) { retirer(chemin, false); }

void creerDossier(std::string_view chemin)
{
    annoncer(chemin);
    const fs::path p = chemins::resoudre(chemin);
#ifdef _WIN32
    if (attributs(p) != INVALID_FILE_ATTRIBUTES) throw ErreurFichier(std::string(chemin), "le dossier existe déjà");
    if (!CreateDirectoryW(p.c_str(), nullptr))
        throw ErreurFichier(std::string(chemin), "création du dossier impossible (" + messageWindows(GetLastError()) + ")");
#else
    std::error_code ec;
    if (fs::exists(p, ec)) throw ErreurFichier(std::string(chemin), "le dossier existe déjà");
    if (!fs::create_directory(p, ec))
        throw ErreurFichier(std::string(chemin), "création du dossier impossible (" + messageSysteme(ec.value()) + ")");
    synchroniserDossier(p);
#endif
}

void supprimerDossier(std::string_view chemin) { retirer(chemin, true); }

}  // namespace tarvex::fichiers
