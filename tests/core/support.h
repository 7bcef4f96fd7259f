#pragma once
// A fresh working folder per test, made the current folder as the program's
// working folder is, small helpers to put files in it and read them back, and
// the stops of the store's file operations.

#include "store/fichiers.h"
#include "store/probleme.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace tarvex::test {

using Instantane = std::map<std::string, std::string>;

const std::string kComTourNum = "COM1\r\n9600\r\nE(ven)\r\n7\r\n2\r\n1\r\n1\r\n";

// While it lives, the store's n-th file operation from its making fails as
// a full disk would (1 = the next, 0 = none); the operations are counted.
class Panne : public fichiers::Observateur {
public:
    explicit Panne(int n = 0) : n_(n) { fichiers::observer(this); }
    ~Panne() { fichiers::observer(nullptr); }
    Panne(const Panne&) = delete;
    Panne& operator=(const Panne&) = delete;
    int operations() const { return compte_; }
    void avant(std::string_view chemin) override;

private:
    int n_;
    int compte_ = 0;
};

// A storing operation stopped at each of its file operations in turn.
struct Arrets {
    std::function<void()> preparer{};    // puts the working folder back before each run
    std::function<Resultat()> operation{};
    std::function<Instantane()> etat{};  // what is compared; the data folder when empty
    // More checks of what a stop left, beside "every file as before or as after".
    std::function<void(const Instantane& avant, const Instantane& apres, const Instantane& milieu)> aussi{};
    bool reprendre = true;  // run again after a stop: it must finish the job
};

class DossierDeTravail : public ::testing::Test {
protected:
    using Instantane = test::Instantane;

    void SetUp() override;
    void TearDown() override;

    // Writes bytes (no conversion) to a path relative to the working folder,
    // making the folders it needs.
    static void poser(const std::string& chemin, const std::string& octets);
    // A sheet as the store keeps it: its record added to data\data.txt (CR
    // LF ended), and these files in its folder.
    static void poserFiche(const std::string& enregistrement, const Instantane& fichiers = {});
    // A machine listed in data\machine.txt with its com.txt and these files.
    static void poserMachine(const std::string& nom, const Instantane& fichiers = {});
    // The bytes of a file, or "<absent>" when it does not exist.
    static std::string contenu(const std::string& chemin);
    static bool present(const std::string& chemin);
    // Every file under a folder (relative path with "/" -> bytes), folders
    // as "<dossier>", for comparing the whole data folder before and after;
    // `relatif`: the paths taken from the folder, for comparing two folders.
    static Instantane instantane(const std::string& dossier = "data", bool relatif = false);
    // Without the archives, and with `restes` the scratch files a stopped run leaves.
    static Instantane horsArchives(Instantane i, bool restes = false);

    // Runs the operation without a stop, then stopped at its first, second,
    // … file operation until a run no longer meets the stop. A stopped run
    // that fails names its files and leaves every file (scratch files aside)
    // as before or as after; run again, it ends as the run without a stop.
    // A run that meets the stop yet goes through (a read of a missing file
    // failing unnoticed) ends as that run too. Returns the stopped runs.
    static int aChaqueOperation(const Arrets& a);

    std::filesystem::path dossier_;
    std::filesystem::path precedent_;
};

}  // namespace tarvex::test
