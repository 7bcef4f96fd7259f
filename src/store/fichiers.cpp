#include "store/fichiers.h"

#include "store/chemins.h"

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

int gPanne = 0;
int gCompte = 0;

// Counts one operation and fails it when the tests asked for it.
void compter(std::string_view chemin)
{
    ++gCompte;
    if (gPanne > 0 && gCompte == gPanne)
        throw ErreurFichier(std::string(chemin), "panne simulée");
}

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

#ifndef _WIN32
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

void panneA(int n)
{
    gPanne = n;
    gCompte = 0;
}

int operationsDepuisPanne() { return gCompte; }

std::optional<std::string> lire(std::string_view chemin)
{
    try {
        compter(chemin);
    } catch (const ErreurFichier&) {
        return std::nullopt;
    }
    const fs::path p = chemins::resoudre(chemin);
#ifdef _WIN32
    std::error_code ec;
    if (!fs::is_regular_file(p, ec)) return std::nullopt;
    std::ifstream in(p, std::ios::binary);
    if (!in) return std::nullopt;
    std::string contenu;
    const auto taille = fs::file_size(p, ec);
    if (!ec) contenu.reserve(static_cast<std::size_t>(taille));
    char tampon[1 << 16];
    while (in) {
        in.read(tampon, sizeof tampon);
        contenu.append(tampon, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) return std::nullopt;
    return contenu;
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

bool existe(std::string_view chemin)
{
    std::error_code ec;
    return fs::exists(chemins::resoudre(chemin), ec);
}

bool estDossier(std::string_view chemin)
{
    std::error_code ec;
    return fs::is_directory(chemins::resoudre(chemin), ec);
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
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(octets.data(), static_cast<std::streamsize>(octets.size()));
        out.close();
        if (!out) throw ErreurFichier(std::string(chemin), "écriture impossible");
    }
    if (!MoveFileExW(temp.c_str(), cible.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        throw ErreurFichier(std::string(chemin), "remplacement impossible");
    }
#else
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw ErreurFichier(std::string(chemin), "création impossible (" + messageSysteme(errno) + ")");
    try {
        ecrireTout(fd, octets, chemin);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    ::close(fd);
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
    compter(chemin);
    ecrireRemplacer(chemin, octets);
}

void ecrireBrouillon(std::string_view chemin, std::string_view octets)
{
    compter(chemin);
    const fs::path cible = chemins::resoudre(chemin);
#ifdef _WIN32
    std::ofstream out(cible, std::ios::binary | std::ios::trunc);
    out.write(octets.data(), static_cast<std::streamsize>(octets.size()));
    out.close();
    if (!out) {
        std::error_code ec;
        fs::remove(cible, ec);
        throw ErreurFichier(std::string(chemin), "écriture impossible");
    }
#else
    const int fd = ::open(cible.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw ErreurFichier(std::string(chemin), "création impossible (" + messageSysteme(errno) + ")");
    try {
        ecrireTout(fd, octets, chemin);
    } catch (...) {
        ::unlink(cible.c_str());
        throw;
    }
    ::close(fd);
#endif
}

void ajouter(std::string_view chemin, std::string_view octets)
{
    compter(chemin);
    const fs::path cible = chemins::resoudre(chemin);
#ifdef _WIN32
    std::ofstream out(cible, std::ios::binary | std::ios::app);
    out.write(octets.data(), static_cast<std::streamsize>(octets.size()));
    out.close();
    if (!out) throw ErreurFichier(std::string(chemin), "écriture impossible");
#else
    const int fd = ::open(cible.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) throw ErreurFichier(std::string(chemin), "ouverture impossible (" + messageSysteme(errno) + ")");
    ecrireTout(fd, octets, chemin);
    ::close(fd);
    synchroniserDossier(cible);
#endif
}

void remplacer(std::string_view source, std::string_view cible)
{
    compter(cible);
    const fs::path s = chemins::resoudre(source);
    const fs::path c = chemins::resoudre(cible);
#ifdef _WIN32
    if (!MoveFileExW(s.c_str(), c.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw ErreurFichier(std::string(cible), "remplacement impossible");
#else
    if (::rename(s.c_str(), c.c_str()) != 0)
        throw ErreurFichier(std::string(cible), "remplacement impossible (" + messageSysteme(errno) + ")");
    synchroniserDossier(c);
#endif
}

void copier(std::string_view source, std::string_view cible)
{
    compter(cible);
    const fs::path s = chemins::resoudre(source);
    std::error_code ec;
    if (!fs::is_regular_file(s, ec))
        throw ErreurFichier(std::string(source), "fichier introuvable");
    std::ifstream in(s, std::ios::binary);
    if (!in) throw ErreurFichier(std::string(source), "lecture impossible");
    std::string contenu((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw ErreurFichier(std::string(source), "lecture impossible");
    ecrireRemplacer(cible, contenu);
}

void supprimer(std::string_view chemin)
{
    compter(chemin);
    const fs::path p = chemins::resoudre(chemin);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(p, ec))) return;
    if (fs::is_directory(p, ec)) throw ErreurFichier(std::string(chemin), "c'est un dossier");
    if (!fs::remove(p, ec) && ec)
        throw ErreurFichier(std::string(chemin), "suppression impossible (" + messageSysteme(ec.value()) + ")");
}

void creerDossier(std::string_view chemin)
{
    compter(chemin);
    const fs::path p = chemins::resoudre(chemin);
    std::error_code ec;
    if (fs::exists(p, ec)) throw ErreurFichier(std::string(chemin), "le dossier existe déjà");
    if (!fs::create_directory(p, ec))
        throw ErreurFichier(std::string(chemin), "création du dossier impossible (" + messageSysteme(ec.value()) + ")");
#ifndef _WIN32
    synchroniserDossier(p);
#endif
}

void supprimerDossier(std::string_view chemin)
{
    compter(chemin);
    const fs::path p = chemins::resoudre(chemin);
    std::error_code ec;
    if (!fs::exists(p, ec)) return;
    // fs::remove would take a file as readily as an empty folder.
    if (!fs::is_directory(p, ec)) throw ErreurFichier(std::string(chemin), "ce n'est pas un dossier");
    if (!fs::remove(p, ec) && ec)
        throw ErreurFichier(std::string(chemin), "suppression du dossier impossible (" + messageSysteme(ec.value()) + ")");
}

}  // namespace tarvex::fichiers
