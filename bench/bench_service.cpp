// The DNC service's lines served at once, each over its own pseudo-terminal
// driven by the program's real serial port, a thread at each master end
// playing the control:
//   (a) 8 controls asking for a long sheet at the same moment, against one
//       alone: the lines must not queue behind each other (aim: <= 1.5 times);
//   (b) the process's CPU time while 8 lines listen and nothing comes for
//       10 s: everything waits on the ports' signals, nothing polls (aim: < 0.1 s);
//   (c) 4 programs of 1 MB sent by 4 controls at once, each kept byte for
//       byte, the controls' writes never held up for long;
//   (d) a request on COM2 while COM1 receives 40 KB of noise ("X" DC3
//       pairs, 20,480 pieces), against the same request on quiet lines: what
//       the noise stores must not hold the other line (aim: the answer less
//       than a second later, the ratio near 1);
//   (e) 500 one-line programs ("%" DC3 pairs, 1 KB: 1.04 s of a 9600-baud
//       line) against as many pieces of noise ("X" DC3): the time until
//       everything they leave to store is written, against the line's time.
//       Above 1, a control punching them gets the storing thread further
//       behind every second: the other lines' journal lines, a Démarrer and
//       the quit wait for all of it.
// Figures are printed, never judged: the machine may be busy.
//
//   bench_service [DEMO_DATA]      the demo data folder, by default the source tree's

#include "cnclink/transmission.h"
#include "platform/doubles.h"
#include "platform/portqt.h"
#include "pty.h"
#include "service/demande.h"
#include "service/ligneservice.h"
#include "service/lignes.h"
#include "store/ficheaffichee.h"
#include "store/index.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/resource.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using horloge = std::chrono::steady_clock;
using namespace tarvex;

namespace {

double ms(horloge::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double cpuSecondes()
{
    rusage r{};
    ::getrusage(RUSAGE_SELF, &r);
    return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) + double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

using tarvex::bench::Pty;

// Writes everything, and returns the longest time one write() was held up.
horloge::duration ecrireTout(int fd, const std::string& octets)
{
    horloge::duration pire{};
    for (std::size_t fait = 0; fait < octets.size();) {
        pollfd p{fd, POLLOUT, 0};
        const auto t0 = horloge::now();
        ::poll(&p, 1, 1000);
        const ssize_t n = ::write(fd, octets.data() + fait, std::min<std::size_t>(octets.size() - fait, 4096));
        pire = std::max(pire, horloge::now() - t0);
        if (n > 0) fait += std::size_t(n);
        else if (n < 0 && errno != EAGAIN && errno != EINTR) break;
    }
    return pire;
}

// Reads until `attendus` bytes have come or 20 s have gone; returns the
// count. With a rate (bytes a second), no faster than a cable would bring them.
std::size_t lireJusqua(int fd, std::size_t attendus, double debit)
{
    std::vector<char> tampon(debit > 0 ? 1024 : 1 << 16);
    std::size_t recus = 0;
    const auto t0 = horloge::now(), limite = t0 + std::chrono::seconds(20);
    while (recus < attendus && horloge::now() < limite) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        const ssize_t n = ::read(fd, tampon.data(), tampon.size());
        if (n > 0) recus += std::size_t(n);
        if (debit > 0) std::this_thread::sleep_until(t0 + std::chrono::duration<double>(double(recus) / debit));
    }
    return recus;
}

// The service's lines on n pseudo-terminals, as ServiceDNC makes them, with
// the program's own serial ports and every other service a double.
struct Banc {
    plateforme::DoublesDeServices doubles;
    plateforme::QtPorts ports;
    dnc::Rangement rangement;
    std::vector<std::unique_ptr<Pty>> ptys;
    std::vector<std::unique_ptr<dnc::LigneService>> lignes;

    Banc(int n, const dnc::LigneDNC& modele)
    {
        doubles.services.ports = &ports;
        for (int i = 1; i <= n; ++i) {
            ptys.push_back(std::make_unique<Pty>());
            qputenv(QByteArray("TARVEX_COM") + QByteArray::number(i), QByteArray::fromStdString(ptys.back()->nom));
            dnc::LigneDNC l = modele;
            l.numero = i;
            l.port = "COM" + std::to_string(i);
            lignes.push_back(std::make_unique<dnc::LigneService>(doubles.services, l, rangement, nullptr));
            lignes.back()->regleDelai(0);
            lignes.back()->demarrer();
        }
    }
    ~Banc()
    {
        for (auto& l : lignes) l->arreter();
        rangement.finir();
    }
    bool ecoutent() const
    {
        return std::all_of(lignes.begin(), lignes.end(), [](const auto& l) { return l->etat() == u"En écoute"; });
    }
};

// Runs the program's events until `fini` holds or `limite` has gone; without
// `fini`, nothing of the bench's own wakes the loop meanwhile.
void tourner(const std::function<bool()>& fini, std::chrono::milliseconds limite)
{
    QEventLoop boucle;
    QTimer regard;  // the controls' threads say nothing to the loop
    QObject::connect(&regard, &QTimer::timeout, [&] {
        if (fini()) boucle.quit();
    });
    QTimer::singleShot(limite, &boucle, &QEventLoop::quit);
    if (fini) regard.start(5);
    if (!fini || !fini()) boucle.exec();
}

// (a) n controls ask for the sheet at once; the time until the last has all of it.
double demandes(int n, const dnc::LigneDNC& modele, std::size_t attendus, double debit, bool& complet)
{
    Banc banc(n, modele);
    if (!banc.ecoutent()) return complet = false, 0.0;
    const std::string demande = "%9999 (PIVOT 20)\n\x13";
    std::atomic<int> finies{0};
    std::vector<std::size_t> recus(std::size_t(n), 0);
    std::vector<std::thread> controles;
    const auto t0 = horloge::now();
    for (int i = 0; i < n; ++i)
        controles.emplace_back([&, i] {
            const int fd = banc.ptys[std::size_t(i)]->maitre;
            ecrireTout(fd, demande);
            recus[std::size_t(i)] = lireJusqua(fd, attendus, debit);
            ++finies;
        });
    tourner([&] { return finies == n; }, std::chrono::seconds(70));
    const double t = ms(horloge::now() - t0);
    for (auto& c : controles) c.join();
    for (int i = 0; i < n; ++i)
        if (recus[std::size_t(i)] != attendus)
            complet = false, std::printf("service: COM%d a reçu %zu octets sur %zu (%s / %s)\n", i + 1, recus[std::size_t(i)],
                                         attendus, qPrintable(banc.lignes[std::size_t(i)]->etat()),
                                         qPrintable(banc.lignes[std::size_t(i)]->dernier()));
    return t;
}

// (d) the time until COM2 has its whole answer, COM1 flooded with noise meanwhile or not.
double pendantBruit(const dnc::LigneDNC& modele, std::size_t attendus, bool bruit, bool& complet)
{
    Banc banc(2, modele);
    if (!banc.ecoutent()) return complet = false, 0.0;
    std::string parasites;
    for (int i = 0; i < 20480; ++i) parasites += "X\x13";
    std::atomic<bool> fini{false};
    std::size_t recus = 0;
    const auto t0 = horloge::now();
    std::thread bruiteur;
    if (bruit) bruiteur = std::thread([&] { ecrireTout(banc.ptys[0]->maitre, parasites); });
    std::thread controle([&] {
        const int fd = banc.ptys[1]->maitre;
        ecrireTout(fd, "%9999 (PIVOT 20)\n\x13");
        recus = lireJusqua(fd, attendus, 0);
        fini = true;
    });
    tourner([&] { return fini.load(); }, std::chrono::seconds(70));
    const double t = ms(horloge::now() - t0);
    controle.join();
    if (bruiteur.joinable()) bruiteur.join();
    if (recus != attendus) complet = false, std::printf("service: COM2 a reçu %zu octets sur %zu pendant le bruit\n", recus, attendus);
    return t;
}

// (e) the names of the programs kept follow the real clock, as at the shop.
struct HorlogeReelle : plateforme::HorlogeFixe {
    QDateTime dateHeure() override { return QDateTime::currentDateTime(); }
};

double stockage(const dnc::LigneDNC& modele, const char* piece, int n)
{
    HorlogeReelle reelle;
    Banc banc(1, modele);
    banc.doubles.services.horloge = &reelle;
    if (!banc.ecoutent()) return 0.0;
    std::string octets;
    for (int i = 0; i < n; ++i) octets += piece;
    const auto t0 = horloge::now();
    ecrireTout(banc.ptys[0]->maitre, octets);
    // The 1 KB come in one read: every piece is given to the storing at once.
    const dnc::LigneService& ligne = *banc.lignes[0];
    tourner([&] { return !ligne.dernier().isEmpty() && dnc::Rangement::auRepos(); }, std::chrono::seconds(300));
    return ms(horloge::now() - t0);
}

std::string lireFichier(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const fs::path demo = argc > 1 ? fs::path(argv[1]) : fs::path(__FILE__).parent_path() / ".." / "demo" / "data";
    QTemporaryDir tmp;
    std::error_code ec;
    fs::copy(demo, fs::path(tmp.path().toStdString()) / "data", fs::copy_options::recursive, ec);
    if (ec || !QDir::setCurrent(tmp.path())) return std::printf("service: données de démonstration introuvables : %s\n", demo.c_str()), 1;

    // PIVOT Phase 20 with a long program: the answers take a while on the line.
    {
        std::ofstream prog("data/PIVOT_Phase 20_BRAS_TOUR 1/prog.txt", std::ios::binary | std::ios::trunc);
        prog << "%120\r\n";
        for (int i = 1; i < 8000; ++i) prog << "N" << i * 10 << " G1 X" << i % 400 << ".5 Z-" << i % 90 << " F0.2\r\n";
    }
    const auto lignes = dnc::lignesDNC();
    const auto index = lireIndex();
    const dnc::Demande d{"%9999", "PIVOT 20", false};
    const dnc::Trouvaille t = dnc::chercherFiche(d, index.valeur, {"TOUR 1"});
    const auto fiche = lireFicheAffichee(t.numero);
    if (!lignes.ok() || lignes.valeur.empty() || t.issue != dnc::Issue::Trouvee || !fiche.valeur)
        return std::printf("service: la fiche PIVOT Phase 20 de TOUR 1 est introuvable\n"), 1;
    dnc::LigneDNC modele = lignes.valeur.front();  // COM1, TOUR 1's settings
    modele.machines = {"TOUR 1"};
    modele.fanuc = false;
    // What Charger would send for it: what each control must read back.
    const std::size_t attendus = transfertFiche(demandeDeFiche(*fiche.valeur, false)).texte().size();

    // (a) as fast as the pseudo-terminals take them (the program's own cost,
    // 8 times the work for 8 lines), then at the pace of a 1 Mbit/s cable.
    const int kEssais = qEnvironmentVariableIntValue("ESSAIS") > 0 ? qEnvironmentVariableIntValue("ESSAIS") : 3;
    bool complet = true;
    for (const double debit : {0.0, 100000.0}) {
        std::vector<double> seule, huit;
        for (int e = 0; e < kEssais; ++e) {
            seule.push_back(demandes(1, modele, attendus, debit, complet));
            huit.push_back(demandes(8, modele, attendus, debit, complet));
        }
        std::sort(seule.begin(), seule.end());
        std::sort(huit.begin(), huit.end());
        const double t1 = seule[std::size_t(kEssais / 2)], t8 = huit[std::size_t(kEssais / 2)];
        std::printf("service: réponse de %zu octets %s, une demande seule %.1f ms, 8 à la fois %.1f ms (médianes de %d), "
                    "rapport %.2f (objectif <= 1.5)\n",
                    attendus, debit > 0 ? "lue à 100 ko/s" : "lue sans attendre", t1, t8, kEssais, t8 / t1);
    }

    // (b)
    {
        Banc banc(8, modele);
        const bool ecoute = banc.ecoutent();
        const double avant = cpuSecondes();
        tourner(nullptr, std::chrono::seconds(10));
        const double cpu = cpuSecondes() - avant;
        std::printf("service: 8 lignes à l'écoute pendant 10 s : %.3f s de processeur (objectif < 0.1 s)%s\n", cpu,
                    ecoute ? "" : " — LIGNES PAS À L'ÉCOUTE");
    }

    // (c)
    {
        constexpr int kLignes = 4;
        std::string programme = "%\r\n";
        for (int i = 1; programme.size() < 1024 * 1024; ++i)
            programme += "N" + std::to_string(i) + " G1 X" + std::to_string(i % 977) + ".25 Y-" + std::to_string(i % 31) + "\r\n";
        Banc banc(kLignes, modele);
        std::atomic<int> ecrits{0};
        std::vector<double> bloque(kLignes, 0.0);
        std::vector<std::thread> controles;
        const auto t0 = horloge::now();
        for (int i = 0; i < kLignes; ++i)
            controles.emplace_back([&, i] {
                bloque[std::size_t(i)] = ms(ecrireTout(banc.ptys[std::size_t(i)]->maitre, programme + "\x13"));
                ++ecrits;
            });
        const auto gardes = [&] {
            return std::all_of(banc.lignes.begin(), banc.lignes.end(),
                               [](const auto& l) { return l->dernier().contains(u"Programme reçu"); });
        };
        tourner([&] { return ecrits == kLignes && gardes(); }, std::chrono::seconds(60));
        const double t = ms(horloge::now() - t0);
        for (auto& c : controles) c.join();
        int identiques = 0;
        for (int i = 1; i <= kLignes; ++i)
            identiques += lireFichier(QStringLiteral("data/recus/COM%1/20261206-093000.txt").arg(i)) == programme;
        const double mo = double(programme.size()) * kLignes / (1024.0 * 1024.0);
        std::printf("service: %d programmes de %zu octets reçus à la fois en %.1f ms (%.1f Mo/s), %d gardés à "
                    "l'identique, plus longue attente d'une écriture %.1f ms\n",
                    kLignes, programme.size(), t, mo / (t / 1000.0), identiques,
                    *std::max_element(bloque.begin(), bloque.end()));
        complet = complet && identiques == kLignes;
    }

    // (d)
    {
        std::vector<double> calme, bruit;
        for (int e = 0; e < kEssais; ++e) {
            calme.push_back(pendantBruit(modele, attendus, false, complet));
            bruit.push_back(pendantBruit(modele, attendus, true, complet));
        }
        std::sort(calme.begin(), calme.end());
        std::sort(bruit.begin(), bruit.end());
        const double tc = calme[std::size_t(kEssais / 2)], tb = bruit[std::size_t(kEssais / 2)];
        std::printf("service: réponse sur COM2 en %.1f ms sur des lignes calmes, en %.1f ms pendant 40 Ko de bruit sur "
                    "COM1 (médianes de %d), rapport %.2f, retard %.1f ms (objectif < 1000 ms)\n",
                    tc, tb, kEssais, tb / tc, tb - tc);
    }

    // (e)
    {
        constexpr int kPieces = 500;
        const double ligne = kPieces * 2 * 10 * 1000.0 / 9600;
        const double bruit = stockage(modele, "X\x13", kPieces), programmes = stockage(modele, "%\x13", kPieces);
        std::printf("service: %d pièces (%.0f ms à 9600 bauds) stockées en %.1f ms pour du bruit, en %.1f ms pour des "
                    "programmes \"%%\" (rapport à la ligne %.2f et %.2f, objectif < 1)\n",
                    kPieces, ligne, bruit, programmes, bruit / ligne, programmes / ligne);
    }
    return complet ? 0 : 1;
}
