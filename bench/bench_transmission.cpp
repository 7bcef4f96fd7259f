// Building the text of a full NUM milling transfer: a program at the buffer's
// limit with the PREF, DEC1 and gauge blocks. The operator waits for it before
// the first character leaves, so it must stay far below what the serial line
// itself takes; the wire time is printed beside it as the floor.

#include "cnclink/transmission.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace {

void ecrire(const fs::path& p, const std::string& octets)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(octets.data(), static_cast<std::streamsize>(octets.size()));
}

}  // namespace

int main()
{
    std::random_device rd;
    const fs::path racine = fs::temp_directory_path() / ("tarvex-bench-" + std::to_string(rd()));
    const fs::path dossier = racine / "data" / "BRIDE_Phase 10_SUPPORT_FRAISEUSE 2";
    fs::create_directories(dossier);
    const fs::path precedent = fs::current_path();
    fs::current_path(racine);

    std::string prog = "%1234\r\n";
    for (int i = 2; i <= tarvex::kItemsMaximum; ++i)
        prog += "N" + std::to_string(i * 10) + " G1 X" + std::to_string(i % 400) + ".125 Y-" +
                std::to_string(i % 250) + ".5 Z-2.75 F800\r\n";
    ecrire(dossier / "prog.txt", prog);

    std::string jauges;
    for (int d = 1; d <= 12; ++d)
        jauges += "D" + std::to_string(d) + " L" + std::to_string(80 + d) + ".345 R" + std::to_string(d % 6) + ".5\r\n";
    ecrire(dossier / "jauge.txt", jauges);

    tarvex::DemandeChargement demande;
    demande.directeur = 1;
    demande.type = 2;
    demande.dossier = "data\\BRIDE_Phase 10_SUPPORT_FRAISEUSE 2\\";
    demande.pref = demande.dec = demande.jauges = true;
    demande.prefX = "-152.375";
    demande.prefY = "88.1";
    demande.prefZ = "-310.0625";
    demande.decX = "0.25";
    demande.decY = "-1.005";
    demande.decZ = "12.3456";

    using horloge = std::chrono::steady_clock;
    double meilleur = 1e300;
    std::size_t octets = 0;
    bool echec = false;
    for (int essai = 0; essai < 15; ++essai) {
        const auto t0 = horloge::now();
        const tarvex::Transfert t = tarvex::transfertFiche(demande);
        const std::string texte = t.texte();
        const auto t1 = horloge::now();
        meilleur = std::min(meilleur, std::chrono::duration<double, std::milli>(t1 - t0).count());
        octets = texte.size();
        echec = echec || t.echec.has_value();
    }

    fs::current_path(precedent);
    std::error_code ec;
    fs::remove_all(racine, ec);

    if (echec) {
        std::printf("transmission: le transfert a échoué\n");
        return 1;
    }
    // 9600 baud, 1 start + 7 data + parity + 2 stop bits = 11 bits a character.
    const double ligne = static_cast<double>(octets) * 11.0 / 9600.0;
    std::printf("transmission: %zu octets construits en %.2f ms (meilleur de 15, objectif < 20 ms)\n", octets,
                meilleur);
    std::printf("transmission: durée sur la ligne à 9600,e,7,2 : %.1f s (%.0f fois plus)\n", ligne,
                ligne * 1000.0 / meilleur);
    return 0;
}
