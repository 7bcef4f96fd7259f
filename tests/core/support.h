#pragma once
// A fresh working folder per test, made the current folder as the program's
// working folder is, and small helpers to put files in it and read them back.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace tarvex::test {

class DossierDeTravail : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes bytes (no conversion) to a path relative to the working folder,
    // making the folders it needs.
    static void poser(const std::string& chemin, const std::string& octets);
    // The bytes of a file, or "<absent>" when it does not exist.
    static std::string contenu(const std::string& chemin);
    static bool present(const std::string& chemin);
    // Every file under a folder (relative path with "/" -> bytes), folders
    // as "<dossier>", for comparing the whole data folder before and after.
    static std::map<std::string, std::string> instantane(const std::string& dossier = "data");

    std::filesystem::path dossier_;
    std::filesystem::path precedent_;
};

}  // namespace tarvex::test
