// Drip-feed of a 200 MB program through a pseudo-terminal read at full
// speed, by the sending the windows use (liaison::envoyerContinu: the file
// measured once, then read a chunk at a time as the line takes it, under the
// Transfert window), against cat writing the same file into the same kind of
// pair. Targets: the program's resident memory grows by less than 10 MB
// whatever the file's size, and at least 1 MB/s goes out (90 times a
// 115,200-baud line: the PC never holds a line back).

#include "cnclink/liaison.h"
#include "platform/doubles.h"
#include "platform/portqt.h"
#include "pty.h"

#include <QApplication>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using horloge = std::chrono::steady_clock;

namespace {

using tarvex::bench::Pty;

long residentKo()
{
    std::ifstream f("/proc/self/status");
    std::string mot;
    while (f >> mot)
        if (mot == "VmRSS:") {
            long ko = 0;
            f >> ko;
            return ko;
        }
    return 0;
}

// The CNC's side: reads until `attendus` bytes have come (or nothing came
// for 10 s), noting the program's largest resident size meanwhile.
class Lecteur {
public:
    Lecteur(int maitre, long long attendus)
        : fil_([this, maitre, attendus] {
              std::vector<char> tampon(1 << 16);
              auto dernier = horloge::now();
              while (recus_ < attendus && horloge::now() - dernier < std::chrono::seconds(10)) {
                  pollfd p{maitre, POLLIN, 0};
                  if (::poll(&p, 1, 50) > 0) {
                      const ssize_t n = ::read(maitre, tampon.data(), tampon.size());
                      if (n > 0) {
                          recus_ += n;
                          dernier = horloge::now();
                      }
                  }
                  residentMax_ = std::max(residentMax_.load(), residentKo());
              }
          })
    {
    }
    long long attendre()
    {
        fil_.join();
        return recus_;
    }
    long residentMax() const { return residentMax_; }

private:
    std::atomic<long long> recus_{0};
    std::atomic<long> residentMax_{0};
    std::thread fil_;
};

double mesurerCat(const std::string& fichier, long long octets, bool& complet)
{
    Pty pty;
    const auto t0 = horloge::now();
    Lecteur lecteur(pty.maitre, octets);
    tarvex::bench::catVers(fichier, pty.nom);
    complet = lecteur.attendre() == octets;
    return std::chrono::duration<double>(horloge::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace tarvex;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double megaoctets = argc > 1 ? std::atof(argv[1]) : 200.0;

    // A 3D finishing program as CAM writes it: numbered blocks, CR LF.
    std::random_device rd;
    const fs::path fichier = fs::temp_directory_path() / ("tarvex-bench-continu-" + std::to_string(rd()) + ".txt");
    long long lignes = 0;
    {
        std::ofstream out(fichier, std::ios::binary);
        out << "%1234\r\n";
        const auto cible = static_cast<long long>(megaoctets * 1024 * 1024);
        char l[96];
        for (long long taille = 7; taille < cible; ++lignes) {
            const int n = std::snprintf(l, sizeof l, "N%lld G1 X%lld.%03lld Y-%lld.%03lld Z-%lld.%02lld F1200\r\n",
                                        lignes * 10 + 10, lignes % 400, lignes % 997, lignes % 300, lignes % 991,
                                        lignes % 40, lignes % 97);
            out.write(l, n);
            taille += n;
        }
    }
    const auto tailleFichier = static_cast<long long>(fs::file_size(fichier));
    // What goes on the line: each line ended by LF alone, then DC3 LF.
    const long long attendus = tailleFichier - (lignes + 1) + 2;

    // The count of lines made once before a drip-feed starts (the window's
    // "reste N lignes"): the DNC service does it on its event loop.
    const auto m0 = horloge::now();
    continu::Lecture compte({fichier.string(), {}, {}});
    const continu::Lecture::Mesure mesure = compte.mesurer();
    const double tMesure = std::chrono::duration<double>(horloge::now() - m0).count();

    bool catComplet = false;
    const double tCat = mesurerCat(fichier.string(), tailleFichier, catComplet);

    plateforme::DoublesDeServices doubles;
    plateforme::Vumetre vumetre;
    Pty pty;
    qputenv("TARVEX_COM1", QByteArray::fromStdString(pty.nom));
    plateforme::PortQt port;
    port.regleControleFlux(plateforme::PortSerie::ControleFlux::XonXoff);
    int echec = port.choisirPort(1);
    if (!echec) echec = port.regler(QStringLiteral("115200,n,8,1"));
    if (!echec) echec = port.ouvrir();
    if (echec) {
        std::printf("continu: le port ne s'ouvre pas (%d)\n", echec);
        return 1;
    }
    const long avant = residentKo();
    const auto t0 = horloge::now();
    Lecteur lecteur(pty.maitre, attendus);
    const liaison::EnvoiContinu envoi = liaison::envoyerContinu({fichier.string(), {}, {}}, port, vumetre,
                                                                QStringLiteral("115200,n,8,1"), doubles.services, nullptr);
    const long long recus = lecteur.attendre();
    const double tPort = std::chrono::duration<double>(horloge::now() - t0).count();
    fs::remove(fichier);

    const double mo = double(recus) / (1024.0 * 1024.0);
    const double croissance = double(lecteur.residentMax() - avant) / 1024.0;
    std::printf("continu: %.0f Mo de programme, %lld lignes, %lld octets sur la ligne\n",
                double(tailleFichier) / (1024.0 * 1024.0), lignes + 1, recus);
    std::printf("continu: envoi en continu %.2f s, %.1f Mo/s (objectif >= 1 Mo/s, %.0f fois une ligne à 115 200 bauds)\n",
                tPort, mo / tPort, mo * 1024 * 1024 / tPort / 11520.0);
    std::printf("continu: compte préalable des lignes %.2f s (%lld lignes)\n", tMesure, mesure.lignes);
    std::printf("continu: cat par la même sorte de paire %.2f s, rapport %.2f\n", tCat, tPort / tCat);
    std::printf("continu: mémoire résidente %.1f Mo avant, %.1f Mo de plus au plus haut (objectif < 10 Mo)\n",
                double(avant) / 1024.0, croissance);
    const bool ok = envoi.fin == liaison::FinEnvoi::Reussi && recus == attendus && catComplet;
    if (!ok) std::printf("continu: envoi incomplet (%lld octets sur %lld)\n", recus, attendus);
    return ok ? 0 : 1;
}
