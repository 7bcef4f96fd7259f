#pragma once
// The system's part of each file operation of fichiers.cpp: the POSIX calls
// in fichiers_posix.cpp, the Windows ones in fichiers_windows.cpp (each file
// is empty on the other system). fichiers.cpp tells the observer and resolves
// the data-folder path first; `chemin` is that path, as the errors name it.

#include "store/fichiers.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvex::fichiers::systeme {

std::optional<std::string> lire(const std::filesystem::path& p);
std::optional<Morceau> lireDepuis(const std::filesystem::path& p, std::int64_t debut);
std::optional<std::string> lireDebut(const std::filesystem::path& p, std::size_t maximum);
bool existe(const std::filesystem::path& p);
bool estDossier(const std::filesystem::path& p);
void ecrireRemplacer(const std::filesystem::path& cible, const std::filesystem::path& temp, std::string_view chemin,
                     std::string_view octets);
void ecrireBrouillon(const std::filesystem::path& cible, std::string_view chemin, std::string_view octets);
void ajouter(const std::filesystem::path& cible, std::string_view chemin, std::string_view octets);
bool creerNouveau(const std::filesystem::path& cible, std::string_view chemin, std::string_view octets);
void remplacer(const std::filesystem::path& s, const std::filesystem::path& c, std::string_view cible);
// The source's bytes for copier, which writes them as ecrire does.
std::string lireSource(const std::filesystem::path& s, std::string_view source);
void retirer(const std::filesystem::path& p, std::string_view chemin, bool dossier, const std::string& impossible,
             const char* autre);
void creerDossier(const std::filesystem::path& p, std::string_view chemin);

// Where lireDepuis starts reading a file of `taille` bytes (fichiers.cpp).
std::int64_t depart(std::uint64_t taille, std::int64_t debut);

}  // namespace tarvex::fichiers::systeme
