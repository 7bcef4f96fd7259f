// The journal window over a journal of 100,000 transfers: opening it (read,
// fold, first rows painted), each keystroke of Filtre as an operator types a
// filter and takes it back letter by letter, and one line appended while it
// is open. Against a floor measured on the same file in the same run: one
// read of the journal with fichiers::lire. Offscreen; prints its figures,
// never fails on time.

#include "journal/fenetrejournal.h"
#include "journal/journal.h"
#include "platform/doubles.h"
#include "store/fichiers.h"
#include "dossier.h"
#include "mesure.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kLignes = 100000;
constexpr int kRepetitions = 7;

volatile std::size_t gPuits;

// Windows-1252, as the program writes it: a few months of four lines.
std::string journalEcrit()
{
    const char* ports[] = {"COM1", "COM2", "COM3", "COM4"};
    const char* machines[] = {"TOUR 1", "CU 3 AXES/PERCEUSE CN", "TOUR T2", "FRAISEUSE F4"};
    const char* genres[] = {"Envoi fiche", "Demande", "R\xE9ponse", "Programme re\xE7u", "R\xE9" "ception", "Envoi fichier"};
    const char* pieces[] = {"PIVOT", "CHAPE", "AXE", "BAGUE", "FLASQUE", "\xC9" "CLISSE", "SUPPORT MOTEUR"};
    const char* resultats[] = {"OK", "OK", "OK", "OK", "Interrompu", "Erreur 8019", "Annul\xE9", "Fiche inconnue"};
    std::string s;
    s.reserve(static_cast<std::size_t>(kLignes) * 110);
    for (int i = 0; i < kLignes; ++i) {
        const int jour = 1 + i / 800 % 28, mois = 1 + i / 22400 % 12;
        char date[32];
        std::snprintf(date, sizeof date, "%02d/%02d/2026;%02d:%02d:%02d", jour, mois, 6 + i % 12, i % 60, (i * 7) % 60);
        s += date;
        s += ";POSTE";
        s += std::to_string(1 + i % 3);
        s += ';';
        s += ports[i % 4];
        s += ';';
        s += machines[i % 4];
        s += ';';
        s += genres[i % 6];
        s += ';';
        s += pieces[i % 7];
        s += " Phase " + std::to_string(10 * (1 + i % 9)) + " ENSEMBLE " + std::to_string(i % 500);
        s += ';' + std::to_string(200 + i % 40000) + ';' + std::to_string(5 + i % 900) + ';' + resultats[i % 8] + ';' +
             std::to_string(i % 200) + ';';
        char crc[16];
        std::snprintf(crc, sizeof crc, "%08X", static_cast<unsigned>(i) * 2654435761u);
        s += crc;
        s += "\r\n";
    }
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const tarvex::bench::DossierDeTravail dossier;
    const std::string octets = journalEcrit();
    tarvex::fichiers::ecrire(tarvex::journal::kJournal, octets);
    tarvex::plateforme::DoublesDeServices doubles;

    std::vector<double> lectures, ouvertures;
    for (int i = 0; i < kRepetitions; ++i) {
        lectures.push_back(mesurer([] { gPuits = tarvex::fichiers::lire(tarvex::journal::kJournal)->size(); }));
        ouvertures.push_back(mesurer([&] {
            tarvex::FenetreJournal f(nullptr, doubles.services);
            f.charger();
            f.show();
            QCoreApplication::processEvents();
            gPuits = static_cast<std::size_t>(f.List1->model()->rowCount());
        }));
    }
    const double lecture = mediane(lectures);
    const double ouverture = mediane(ouvertures);

    tarvex::FenetreJournal f(nullptr, doubles.services);
    f.charger();
    f.show();
    QCoreApplication::processEvents();
    auto taper = [&](const QString& t) {
        return mesurer([&] {
            f.Filtre->setText(t);
            QCoreApplication::processEvents();
        });
    };
    // Typed, then taken back: the one-letter filters take nearly every line,
    // the whole one a handful.
    const QString frappe = QStringLiteral("com3 réponse pivot 20");
    std::vector<double> touches;
    for (int r = 0; r < kRepetitions; ++r) {
        for (int k = 1; k <= frappe.size(); ++k) touches.push_back(taper(frappe.left(k)));
        for (int k = static_cast<int>(frappe.size()) - 1; k >= 0; --k) touches.push_back(taper(frappe.left(k)));
    }
    const double touche = mediane(touches);
    const double pire = *std::max_element(touches.begin(), touches.end());
    f.Filtre->setText(frappe);
    const int retenues = f.List1->model()->rowCount();

    // One transfer appended while the window is open, then its look.
    std::vector<double> suivis;
    for (int r = 0; r < kRepetitions; ++r) {
        tarvex::fichiers::ajouter(tarvex::journal::kJournal,
                                  "07/12/2026;10:00:00;POSTE1;COM2;CU 3 AXES;R\xE9" "ception;PIVOT Phase 20 X;"
                                  "10;2;OK;0;00000000\r\n");
        suivis.push_back(mesurer([&] {
            f.Suivi->declencher();
            QCoreApplication::processEvents();
        }));
    }
    const double suivi = mediane(suivis);

    std::printf("journal de %d lignes (%zu octets)\n", kLignes, octets.size());
    std::printf("une lecture du journal (fichiers::lire)   : %8.2f ms\n", lecture);
    std::printf("ouverture de la fenêtre, médiane de %d     : %8.2f ms  (rapport %.1f, cible < 1000 ms)\n", kRepetitions,
                ouverture, ouverture / lecture);
    std::printf("une touche de Filtre, médiane de %zu      : %8.2f ms  (rapport %.2f, cible < 100 ms)\n",
                touches.size(), touche, touche / lecture);
    std::printf("une touche de Filtre, la plus lente       : %8.2f ms  (rapport %.2f)\n", pire, pire / lecture);
    std::printf("une ligne ajoutée, suivie                 : %8.2f ms  (rapport %.3f)\n", suivi, suivi / lecture);
    std::printf("lignes retenues par \"%s\" : %d\n", qPrintable(frappe), retenues);
    return 0;
}
