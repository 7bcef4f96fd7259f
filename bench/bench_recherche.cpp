// One keystroke in the main window's list Phase on a 100,000-record index:
// the search for every typed word and the proposals put under the list, as
// the operator's typing triggers them. Against a floor measured on the same
// bytes in the same run: one read of the index with parcourirIndex. The
// first keystroke also reads the index and folds it for the ones that
// follow; it is given apart. Offscreen; prints its figures, never fails on
// time.

#include "store/liste.h"
#include "mainwindow/recherche.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "dossier.h"
#include "mesure.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kEnregistrements = 100000;
constexpr int kRepetitions = 15;

volatile std::size_t gPuits;

std::string index()
{
    std::string s;
    s.reserve(kEnregistrements * 90);
    const char* pieces[] = {"PIVOT", "CHAPE", "AXE", "BAGUE", "CAME", "SUPPORT MOTEUR", "FLASQUE", "\xC9" "CLISSE"};
    const char* machines[] = {"TOUR NUM", "TOUR 1", "FRAISEUSE FANUC", "CU FAGOR", "PERCEUSE"};
    const char* matieres[] = {"ACIER 42CD4", "ALU", "LAITON", "INOX 316L", "BRONZE"};
    for (int i = 0; i < kEnregistrements; ++i) {
        s += pieces[i % 8];
        s += '-' + std::to_string(100000 + i) + ',' + std::to_string(10 * (1 + i % 9)) + ',' + machines[i % 5] +
             ",ENSEMBLE " + std::to_string(i % 1000) + ',' + matieres[(i / 5) % 5];
        for (int f = 0; f < 11; ++f) s += (i >> f) & 1 ? ",O" : ",N";
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
    const std::string octets = index();
    tarvex::fichiers::ecrire(tarvex::kIndex, octets);

    // The main window's list as remplirliste fills it.
    QWidget fenetre;
    fenetre.resize(1100, 700);
    auto* phase = new QComboBox(&fenetre);
    phase->setEditable(true);
    phase->setCompleter(nullptr);
    phase->setGeometry(10, 10, 240, 24);
    const auto entrees = tarvex::entreesListe(octets);
    auto* modele = new QStandardItemModel(phase);
    QList<QStandardItem*> items;
    for (const auto& e : entrees.valeur) {
        auto* item = new QStandardItem(QString::fromStdString(e.texte));
        item->setData(e.numero, Qt::UserRole);
        items.append(item);
    }
    modele->invisibleRootItem()->appendRows(items);
    phase->setModel(modele);
    tarvex::Recherche recherche(phase, &fenetre, [](int) {}, {});
    std::vector<int> ordre;
    for (const auto& e : entrees.valeur) ordre.push_back(e.numero);
    recherche.invalider(ordre);
    fenetre.show();
    QCoreApplication::processEvents();

    std::vector<double> plancher;
    for (int i = 0; i < kRepetitions; ++i)
        plancher.push_back(mesurer([&] {
            std::size_t n = 0;
            tarvex::parcourirIndex(octets, [&](int, const tarvex::EnregistrementBrut& b) {
                n += b[tarvex::CPiece].size();
                return true;
            });
            gPuits = n;
        }));
    const double lecture = mediane(plancher);

    auto taper = [&](const QString& t) {
        phase->setEditText(t);
        emit phase->lineEdit()->textEdited(t);
    };
    const double premiere = mesurer([&] { taper(QStringLiteral("t")); });
    const double pliage = mesurer([&] { gPuits = tarvex::RechercheFiches(octets, ordre).taille(); });

    // What an operator types, keystroke by keystroke: the one-letter texts
    // match nearly everything, the last ones a handful.
    const QString frappe = QStringLiteral("tour pivot 1002");
    std::vector<double> touches;
    double pire = 0;
    for (int r = 0; r < kRepetitions; ++r) {
        for (int k = 1; k <= frappe.size(); ++k) {
            const double ms = mesurer([&] { taper(frappe.left(k)); });
            touches.push_back(ms);
            pire = std::max(pire, ms);
        }
    }
    const double touche = mediane(touches);
    const int proposees = recherche.Propositions->count();

    std::printf("index de %d enregistrements (%zu octets)\n", kEnregistrements, octets.size());
    std::printf("une lecture de l'index (parcourirIndex)  : %8.2f ms\n", lecture);
    std::printf("première touche (lit et plie l'index)    : %8.2f ms\n", premiere);
    std::printf("  dont le pliage de l'index              : %8.2f ms\n", pliage);
    std::printf("une touche, médiane de %zu               : %8.2f ms  (rapport %.2f, cible <= 2)\n", touches.size(),
                touche, touche / lecture);
    std::printf("une touche, la plus lente                : %8.2f ms  (rapport %.2f)\n", pire, pire / lecture);
    std::printf("propositions pour \"%s\" : %d\n", qPrintable(frappe), proposees);
    return 0;
}
