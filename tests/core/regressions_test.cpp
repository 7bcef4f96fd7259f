// The inputs kept beside the fuzz targets (their seeds, and every input that
// once made one of them fail) go through the same checks in every build, so
// that a mended fault stays mended without the fuzzer.

#include "../fuzz/cibles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace tarvex {
namespace {

namespace fs = std::filesystem;

void rejouer(const std::string& cible, const std::function<std::string(std::string_view)>& verifier)
{
    int fichiers = 0;
    for (const char* sorte : {"corpus", "regressions"}) {
        const fs::path dossier = fs::path(TARVEX_SOURCE_DIR) / "tests" / "fuzz" / sorte / cible;
        if (!fs::is_directory(dossier)) continue;
        for (const auto& e : fs::directory_iterator(dossier)) {
            if (!e.is_regular_file() || e.path().filename().string().front() == '.') continue;
            std::ifstream in(e.path(), std::ios::binary);
            const std::string octets((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            EXPECT_EQ(verifier(octets), "") << e.path();
            ++fichiers;
        }
    }
    EXPECT_GT(fichiers, 0) << cible;
}

TEST(EntreesDuFuzz, Lireitem) { rejouer("lireitem", fuzz::lireitem); }
TEST(EntreesDuFuzz, Lirenombre) { rejouer("lirenombre", fuzz::lirenombre); }
TEST(EntreesDuFuzz, Index) { rejouer("index", fuzz::index); }
TEST(EntreesDuFuzz, Com) { rejouer("com", fuzz::com); }
TEST(EntreesDuFuzz, Recu) { rejouer("recu", fuzz::recu); }

}  // namespace
}  // namespace tarvex
