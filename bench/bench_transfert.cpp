// A 10,000-item program sent through a pseudo-terminal by the serial port as
// a transfer drives it (open, the lines queued as they leave, close), against cat writing
// the same bytes into the same kind of pseudo-terminal. In both runs a thread
// drains the master side as the CNC would. The port's own cost (the event
// loop, the buffer limit, the drain before closing) must stay within 1.5
// times what the kernel alone needs; on real hardware both vanish behind the
// wire time, printed as the floor.

#include "cnclink/transmission.h"
#include "platform/portqt.h"
#include "pty.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using horloge = std::chrono::steady_clock;

namespace {

using tarvex::bench::Pty;

// The CNC's side: reads until `attendus` bytes have come, or gives up.
class Lecteur {
public:
    Lecteur(int maitre, std::size_t attendus)
        : fil_([this, maitre, attendus] {
              std::vector<char> tampon(1 << 16);
              const auto limite = horloge::now() + std::chrono::seconds(60);
              while (recus_ < attendus && horloge::now() < limite) {
                  pollfd p{maitre, POLLIN, 0};
                  if (::poll(&p, 1, 100) <= 0) continue;
                  const ssize_t n = ::read(maitre, tampon.data(), tampon.size());
                  if (n > 0) recus_ += std::size_t(n);
              }
          })
    {
    }
    std::size_t attendre()
    {
        fil_.join();
        return recus_;
    }

private:
    std::atomic<std::size_t> recus_{0};
    std::thread fil_;
};

double mesurerCat(const std::string& fichier, std::size_t octets, bool& complet)
{
    Pty pty;
    const auto t0 = horloge::now();
    Lecteur lecteur(pty.maitre, octets);
    tarvex::bench::catVers(fichier, pty.nom);
    complet = lecteur.attendre() == octets;
    return std::chrono::duration<double, std::milli>(horloge::now() - t0).count();
}

double mesurerPort(const std::vector<QByteArray>& lignes, std::size_t octets, bool& complet)
{
    using namespace tarvex::plateforme;
    Pty pty;
    qputenv("TARVEX_COM1", QByteArray::fromStdString(pty.nom));
    const auto t0 = horloge::now();
    Lecteur lecteur(pty.maitre, octets);
    PortQt port;
    int echec = port.choisirPort(1);
    if (!echec) echec = port.regler(QStringLiteral("9600,e,7,2"));
    if (!echec) echec = port.ouvrir();
    // As a transfer feeds it: the next lines whenever less than a kilobyte
    // waits, the close once everything has left.
    std::size_t i = 0;
    QEventLoop boucle;
    const auto avancer = [&] {
        while (!echec && i < lignes.size() && port.enAttente() <= 1024) echec = port.emettre(lignes[i++]);
        if (echec) boucle.quit();
    };
    QObject::connect(&port, &PortSerie::partis, avancer);
    QObject::connect(&port, &PortSerie::tousPartis, [&] {
        avancer();
        if (i == lignes.size()) boucle.quit();
    });
    QObject::connect(&port, &PortSerie::echecEmission, [&](int n) { echec = n, boucle.quit(); });
    if (!echec) avancer();
    if (!echec) boucle.exec();
    if (!echec) echec = port.fermer();
    complet = lecteur.attendre() == octets && echec == 0;
    if (echec) std::printf("transfert: échec %d du port\n", echec);
    return std::chrono::duration<double, std::milli>(horloge::now() - t0).count();
}

double mediane(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);

    // The text a window sends for a program file of 10,000 items, built by
    // the transfer itself: each item one LF-ended line, then DC3 LF.
    std::random_device rd;
    const fs::path fichierProgramme = fs::temp_directory_path() / ("tarvex-bench-prog-" + std::to_string(rd()) + ".txt");
    {
        std::ofstream out(fichierProgramme, std::ios::binary);
        out << "%1234\r\n";
        for (int i = 2; i <= tarvex::kItemsMaximum; ++i)
            out << "N" << i * 10 << " G1 X" << i % 400 << ".5 Z-" << i % 90 << "\r\n";
    }
    const tarvex::Transfert transfert = tarvex::transfertFichier(fichierProgramme.string());
    fs::remove(fichierProgramme);
    if (transfert.echec) {
        std::printf("transfert: le texte n'a pas pu être construit (%d)\n", transfert.echec->numero);
        return 1;
    }
    std::vector<QByteArray> lignes;
    std::string texte;
    for (const auto& e : transfert.etapes) {
        if (e.octets.empty()) continue;
        lignes.push_back(QByteArray::fromStdString(e.octets));
        texte += e.octets;
    }
    const fs::path fichierTexte = fs::temp_directory_path() / ("tarvex-bench-texte-" + std::to_string(rd()));
    {
        std::ofstream out(fichierTexte, std::ios::binary);
        out.write(texte.data(), std::streamsize(texte.size()));
    }

    constexpr int kEssais = 7;
    std::vector<double> port, cat;
    bool toutArrive = true;
    for (int essai = 0; essai < kEssais; ++essai) {
        bool complet = false;
        cat.push_back(mesurerCat(fichierTexte.string(), texte.size(), complet));
        toutArrive = toutArrive && complet;
        port.push_back(mesurerPort(lignes, texte.size(), complet));
        toutArrive = toutArrive && complet;
    }
    fs::remove(fichierTexte);

    const double tPort = mediane(port), tCat = mediane(cat);
    // 9600 baud, 1 start + 7 data + parity + 2 stop bits = 11 bits a character.
    const double fil = double(texte.size()) * 11.0 / 9600.0;
    std::printf("transfert: %zu lignes, %zu octets par pseudo-terminal (médianes de %d essais)\n", lignes.size(),
                texte.size(), kEssais);
    std::printf("transfert: port série %.1f ms, cat %.1f ms, rapport %.2f (objectif <= 1.5)\n", tPort, tCat,
                tPort / tCat);
    std::printf("transfert: sur le câble à 9600,e,7,2 : %.1f s\n", fil);
    if (!toutArrive) std::printf("transfert: des octets manquent à l'arrivée\n");
    return toutArrive ? 0 : 1;
}
