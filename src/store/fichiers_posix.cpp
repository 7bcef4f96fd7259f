// The file operations on Linux and the other POSIX systems.
#ifndef _WIN32

#include "store/fichiers_systeme.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tarvex::fichiers::systeme {
namespace {

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

// A file just created, written whole and closed; a failure removes it, so
// that no half-written file is ever taken for a whole one.
void remplir(int fd, const fs::path& fichier, std::string_view octets, std::string_view chemin)
{
    try {
        ecrireTout(fd, octets, chemin);
    } catch (...) {
        ::unlink(fichier.c_str());
        throw;
    }
    ::close(fd);
}

// Creates or empties the file and writes it whole, flushed to disk; a failure
// removes what was written.
void ecrireEntier(const fs::path& fichier, std::string_view octets, std::string_view chemin)
{
    const int fd = ::open(fichier.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw ErreurFichier(std::string(chemin), "création impossible (" + messageSysteme(errno) + ")");
    remplir(fd, fichier, octets, chemin);
}

// A regular file opened for reading, its size in `st`; -1 for anything else
// (missing, a folder, a device).
int ouvrirRegulier(const fs::path& p, struct stat& st)
{
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::optional<std::string> lire(const fs::path& p)
{
    // Read straight into a buffer of the file's size: the index is read
    // whole at every selection in the list.
    struct stat st {};
    const int fd = ouvrirRegulier(p, st);
    if (fd < 0) return std::nullopt;
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
}

std::optional<Morceau> lireDepuis(const fs::path& p, std::int64_t debut)
{
    Morceau m;
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    m.taille = ok ? static_cast<std::uint64_t>(st.st_size) : 0;
    ok = ok && ::lseek(fd, static_cast<off_t>(depart(m.taille, debut)), SEEK_SET) >= 0;
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
    return m;
}

std::optional<std::string> lireDebut(const fs::path& p, std::size_t maximum)
{
    struct stat st {};
    const int fd = ouvrirRegulier(p, st);
    if (fd < 0) return std::nullopt;
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
}

bool existe(const fs::path& p)
{
    std::error_code ec;
    return fs::exists(p, ec);
}

bool estDossier(const fs::path& p)
{
    std::error_code ec;
    return fs::is_directory(p, ec);
}

void ecrireRemplacer(const fs::path& cible, const fs::path& temp, std::string_view chemin, std::string_view octets)
{
    ecrireEntier(temp, octets, chemin);
    if (::rename(temp.c_str(), cible.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        throw ErreurFichier(std::string(chemin), "remplacement impossible (" + messageSysteme(err) + ")");
    }
    synchroniserDossier(cible);
}

void ecrireBrouillon(const fs::path& cible, std::string_view chemin, std::string_view octets)
{
    ecrireEntier(cible, octets, chemin);
}

void ajouter(const fs::path& cible, std::string_view chemin, std::string_view octets)
{
    const int fd = ::open(cible.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) throw ErreurFichier(std::string(chemin), "ouverture impossible (" + messageSysteme(errno) + ")");
    ecrireTout(fd, octets, chemin);
    ::close(fd);
    synchroniserDossier(cible);
}

bool creerNouveau(const fs::path& cible, std::string_view chemin, std::string_view octets)
{
    const int fd = ::open(cible.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (errno == EEXIST) return false;
        throw ErreurFichier(std::string(chemin), "création impossible (" + messageSysteme(errno) + ")");
    }
    remplir(fd, cible, octets, chemin);
    synchroniserDossier(cible);
    return true;
}

void remplacer(const fs::path& s, const fs::path& c, std::string_view cible)
{
    if (::rename(s.c_str(), c.c_str()) != 0)
        throw ErreurFichier(std::string(cible), "remplacement impossible (" + messageSysteme(errno) + ")");
    synchroniserDossier(c);
}

std::string lireSource(const fs::path& s, std::string_view source)
{
    std::error_code ec;
    if (!fs::is_regular_file(s, ec))
        throw ErreurFichier(std::string(source), "fichier introuvable");
    std::ifstream in(s, std::ios::binary);
    if (!in) throw ErreurFichier(std::string(source), "lecture impossible");
    std::string contenu((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw ErreurFichier(std::string(source), "lecture impossible");
    return contenu;
}

void retirer(const fs::path& p, std::string_view chemin, bool dossier, const std::string& impossible, const char* autre)
{
    std::error_code ec;
    // A link that leads nowhere is a file to remove; a folder must be one.
    if (!fs::exists(dossier ? fs::status(p, ec) : fs::symlink_status(p, ec))) return;
    // fs::remove would take a file as readily as an empty folder.
    if (fs::is_directory(p, ec) != dossier) throw ErreurFichier(std::string(chemin), autre);
    if (!fs::remove(p, ec) && ec) throw ErreurFichier(std::string(chemin), impossible + messageSysteme(ec.value()) + ")");
}

void creerDossier(const fs::path& p, std::string_view chemin)
{
    std::error_code ec;
    if (fs::exists(p, ec)) throw ErreurFichier(std::string(chemin), "le dossier existe déjà");
    if (!fs::create_directory(p, ec))
        throw ErreurFichier(std::string(chemin), "création du dossier impossible (" + messageSysteme(ec.value()) + ")");
    synchroniserDossier(p);
}

}  // namespace tarvex::fichiers::systeme

#endif
