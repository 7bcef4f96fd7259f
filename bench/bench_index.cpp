// The sheet index at a hundred thousand records (about 8 MB): what it costs
// to fill the list of sheets, to reach the last record and to rewrite the
// index, each against a floor measured in the same run on the same bytes.
// Prints its figures; never fails on time.

#include "store/liste.h"
#include "store/fichiers.h"
#include "store/index.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace tarvex;

namespace {

constexpr int kEnregistrements = 100000;
constexpr int kTours = 15;

// Every measure is taken once per round, the rounds repeated, and the best
// of each kept: the slower runs measure the other programs of the machine,
// not this code. Floors and measures share the rounds, so that a busy
// moment weighs on both.
struct Mesure {
    double meilleur = 1e300;
    void prendre(const std::function<void()>& f)
    {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        const auto t1 = std::chrono::steady_clock::now();
        meilleur = std::min(meilleur, std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
};

std::string genererIndex()
{
    static const char* machines[] = {"TOUR 1", "TOUR 2", "FRAISEUSE 3", "CENTRE USINAGE 4"};
    static const char* matieres[] = {"ACIER 42CD4", "INOX 316L", "ALU 2017", "BRONZE", "LAITON"};
    static const char* pieces[] = {"PIVOT", "CHAPE", "\xC9QUERRE", "AXE", "BAGUE", "CAME", "SUPPORT MOTEUR"};
    std::mt19937 alea(42);
    std::string o;
    o.reserve(kEnregistrements * 84);
    for (int i = 0; i < kEnregistrements; ++i) {
        o += pieces[alea() % 7];
        o += '-';
        o += std::to_string(100000 + i);
        o += ',';
        o += std::to_string(10 * (1 + alea() % 9));
        o += ',';
        o += machines[alea() % 4];
        o += ",ENSEMBLE CH\xC2SSIS-";
        o += std::to_string(alea() % 1000);
        o += ',';
        o += matieres[alea() % 5];
        for (int f = 0; f < 11; ++f) o += (alea() % 2) ? ",O" : ",N";
        o += "\r\n";
    }
    return o;
}

std::string lireTout(const char* chemin)
{
    std::string s;
    FILE* f = std::fopen(chemin, "rb");
    if (!f) return s;
    std::fseek(f, 0, SEEK_END);
    s.resize(static_cast<std::size_t>(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    const std::size_t lus = std::fread(s.data(), 1, s.size(), f);
    s.resize(lus);
    std::fclose(f);
    return s;
}

void copier(const char* source, const char* cible, bool synchroniser)
{
    const std::string s = lireTout(source);
    const int fd = ::open(cible, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    std::size_t fait = 0;
    while (fait < s.size()) {
        const ssize_t n = ::write(fd, s.data() + fait, s.size() - fait);
        if (n <= 0) break;
        fait += static_cast<std::size_t>(n);
    }
    if (synchroniser) ::fsync(fd);
    ::close(fd);
}

volatile std::size_t gPuits;  // keeps the compiler from dropping the work

// `cible` 0: a figure without a target of its own. The index is read by
// the plain item reader, a byte at a time: what the operator waits for is the
// start-up and the choice of a sheet, which bench_demarrage and
// bench_selection hold to their targets.
void ligneResultat(const char* quoi, double ms, double plancher, double cible = 0)
{
    const double ratio = ms / plancher;
    if (cible <= 0) {
        std::printf("  %-44s %8.2f ms   %5.2f x\n", quoi, ms, ratio);
        return;
    }
    std::printf("  %-44s %8.2f ms   %5.2f x   (cible <= %.0f x%s)\n", quoi, ms, ratio, cible,
                ratio <= cible ? "" : ", MANQUEE");
}

}  // namespace

int main()
{
    const fs::path dossier = fs::temp_directory_path() / ("tarvex-bench-" + std::to_string(::getpid()));
    fs::create_directories(dossier / "data");
    const fs::path precedent = fs::current_path();
    fs::current_path(dossier);

    const std::string octets = genererIndex();
    {
        std::ofstream out("data/data.txt", std::ios::binary);
        out.write(octets.data(), static_cast<std::streamsize>(octets.size()));
    }
    std::printf("Index : %d enregistrements, %.2f Mo, dans %s\n", kEnregistrements, octets.size() / 1e6,
                dossier.string().c_str());

    const auto cible = lireEnregistrement(kEnregistrements / 2);
    Enregistrement modifie = *cible.valeur;
    int tour = 0;

    Mesure plancherLecture, plancherCopie, plancherCopieSync, parcours, liste, dernier, reecriture;
    for (int t = 0; t < kTours; ++t) {
        // Floors.
        plancherLecture.prendre([] {
            const std::string s = lireTout("data/data.txt");
            std::size_t lignes = 0;
            const char* p = s.data();
            const char* const fin = p + s.size();
            while (p < fin) {
                const void* q = std::memchr(p, '\n', static_cast<std::size_t>(fin - p));
                if (!q) break;
                ++lignes;
                p = static_cast<const char*>(q) + 1;
            }
            gPuits = lignes;
        });
        plancherCopie.prendre([] { copier("data/data.txt", "copie.txt", false); });
        plancherCopieSync.prendre([] { copier("data/data.txt", "copie.txt", true); });

        // The store.
        parcours.prendre([] {
            std::size_t n = 0;
            const auto o = fichiers::lire(kIndex);
            parcourirIndex(*o, [&](int, const EnregistrementBrut& b) {
                n += b[CPiece].size();
                return true;
            });
            gPuits = n;
        });
        liste.prendre([] {
            const auto r = remplirliste();
            gPuits = r.valeur.size();
            if (r.valeur.size() != kEnregistrements) std::printf("remplirliste : %zu entrées !\n", r.valeur.size());
        });
        dernier.prendre([] {
            const auto r = lireEnregistrement(kEnregistrements - 1);
            if (!r.valeur) std::printf("lireEnregistrement : dernier enregistrement introuvable !\n");
            gPuits = r.valeur ? (*r.valeur)[CPiece].size() : 0;
        });
        reecriture.prendre([&] {
            modifie[CMatiere] = (tour++ % 2) ? "LAITON" : "BRONZE";
            const auto r = reecrireindex(cleEnregistrement(modifie), ligneEnregistrement(modifie));
            if (!r.ok()) std::printf("reecrireindex : %s\n", joindreProblemes(r.problemes).c_str());
        });
    }

    std::printf("Planchers (meilleur de %d) :\n", kTours);
    std::printf("  %-44s %8.2f ms\n", "lecture + découpage aux fins de ligne (memchr)", plancherLecture.meilleur);
    std::printf("  %-44s %8.2f ms\n", "copie du fichier", plancherCopie.meilleur);
    std::printf("  %-44s %8.2f ms\n", "copie du fichier mise sur disque (fsync)", plancherCopieSync.meilleur);
    std::printf("Magasin (meilleur de %d) :\n", kTours);
    ligneResultat("parcourirIndex (tous les enregistrements)", parcours.meilleur, plancherLecture.meilleur);
    ligneResultat("remplirliste (entrées triées)", liste.meilleur, plancherLecture.meilleur);
    ligneResultat("lireEnregistrement(99999)", dernier.meilleur, plancherLecture.meilleur);
    ligneResultat("reecrireindex (une modification) / copie", reecriture.meilleur, plancherCopie.meilleur, 5);
    ligneResultat("reecrireindex / copie mise sur disque", reecriture.meilleur, plancherCopieSync.meilleur, 5);

    fs::current_path(precedent);
    std::error_code ec;
    fs::remove_all(dossier, ec);
    return 0;
}
