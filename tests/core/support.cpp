#include "support.h"

#include "store/fichiers.h"

#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace tarvex::test {
namespace {

// Test paths are UTF-8, as the store's are; on Windows a narrow path would be
// taken in the system code page instead.
fs::path cheminUtf8(const std::string& chemin) { return fs::path(std::u8string(chemin.begin(), chemin.end())); }

}  // namespace

void DossierDeTravail::SetUp()
{
    precedent_ = fs::current_path();
    std::random_device rd;
    dossier_ = fs::temp_directory_path() / ("tarvex-test-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(dossier_);
    fs::current_path(dossier_);
    fichiers::panneA(0);
}

void DossierDeTravail::TearDown()
{
    fichiers::panneA(0);
    fs::current_path(precedent_);
    std::error_code ec;
    fs::remove_all(dossier_, ec);
}

void DossierDeTravail::poser(const std::string& chemin, const std::string& octets)
{
    const fs::path p = cheminUtf8(chemin);
    if (p.has_parent_path()) fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(octets.data(), static_cast<std::streamsize>(octets.size()));
}

std::string DossierDeTravail::contenu(const std::string& chemin)
{
    std::ifstream in(cheminUtf8(chemin), std::ios::binary);
    if (!in) return "<absent>";
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool DossierDeTravail::present(const std::string& chemin)
{
    fs::path p = cheminUtf8(chemin);
    if (!p.has_filename()) p = p.parent_path();  // "dossier/"
    std::error_code ec;
    if (!fs::exists(p, ec)) return false;
    // Windows finds a file under any letter case: the name must be on disk as spelt.
    for (const auto& e : fs::directory_iterator(p.has_parent_path() ? p.parent_path() : ".", ec))
        if (e.path().filename() == p.filename()) return true;
    return false;
}

}  // namespace tarvex::test

namespace tarvex::test {

std::map<std::string, std::string> DossierDeTravail::instantane(const std::string& dossier)
{
    std::map<std::string, std::string> r;
    if (!fs::exists(cheminUtf8(dossier))) return r;
    for (const auto& e : fs::recursive_directory_iterator(cheminUtf8(dossier))) {
        const std::u8string u = e.path().generic_u8string();
        const std::string nom(u.begin(), u.end());
        r[nom] = e.is_directory() ? "<dossier>" : contenu(nom);
    }
    return r;
}

}  // namespace tarvex::test
