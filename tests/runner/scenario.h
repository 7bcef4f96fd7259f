#pragma once
// Runs one scenario with the recording services, line by line, going on
// inside each modal window (its forms beyond the language: docs/architecture.md).

#include "script.h"

#include "platform/doubles.h"

#include <QDialog>
#include <QDir>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace tarvex {
class Programme;
}

namespace tarvex::scenario {

struct Issue {
    bool reussi = true;
    int ligne = 0;
    QString message;
};

class Scenario {
public:
    // `fichier`: the scenario file; fixtures are relative to its folder.
    // `depart`: the folder a relative `workdir` is taken from.
    Scenario(const QString& fichier, const QString& contenu, const QString& depart = QDir::currentPath());
    ~Scenario();
    // Runs it in the current folder, which the caller has made fresh.
    Issue executer();

private:
    // Carries out lines until the condition holds, the file ends or a line fails.
    void executerJusqua(const std::function<bool()>& condition);
    void pas(const Ligne& l);
    // Fails the line (none: the scenario as a whole) with the message unless `ok`; returns `ok`.
    bool exiger(const Ligne* l, bool ok, const QString& message);
    bool exiger(const Ligne& l, bool ok, const QString& message) { return exiger(&l, ok, message); }
    bool besoin(const Ligne& l, std::size_t mots);
    bool arrete() const { return !issue_.reussi || fini_; }
    // What only the recording port or printer can do fails with the real one.
    bool seulementDouble(const Ligne& l, bool imprimante, const QString& quoi);
    // The bytes of a fixture; false, with the scenario failed, when it cannot be read.
    bool lireFixture(const Ligne& l, const QString& chemin, QByteArray& octets);

    // The hooks of the services. A box or a save dialog takes the next line,
    // which must be its `message` or `saveas`.
    const Ligne* prochaine(const QString& commande, const QString& inattendue);
    plateforme::Reponse repondreMessage(const plateforme::MessageDemande& d);
    std::optional<QString> repondreEnregistrement(const QString& nomPropose);
    // A window shown while the program works (a transfer): the lines that
    // follow run from the program's own waits, up to a message box it has
    // to show first, until the window goes.
    void suivreTravail();

    void commandeScene(const Ligne& l);
    void demarrer(const Ligne& l);
    void agir(const Ligne& l);
    void agirSur(const Ligne& l, QWidget* fenetre, QObject* controle, const QString& nom);
    void ligneMessage(const Ligne& l);
    void patienter(const Ligne& l);
    void serie(const Ligne& l);
    void attendreSerie(const Ligne& l);
    std::pair<Ligne, plateforme::LigneSerie*> ligneNommee(const Ligne& l, std::size_t position);
    void attendreSortie(const Ligne& l);
    void attendreFenetre(const Ligne& l);
    void attendreControle(const Ligne& l, QObject* controle, const QString& nom);
    void attendreFichier(const Ligne& l);

    QWidget* fenetre(const QString& nom, bool visibleSeulement) const;
    // The window, shown and not covered by a modal one.
    QWidget* fenetrePourAgir(const Ligne& l, const QString& nom);
    // Each control of `W.A,B,C` (word 1), with the line as it takes it; `avant`:
    // the words before the values (2 for an action, 3 for an expectation).
    using Faire = std::function<void(const Ligne&, QWidget*, QObject*, const QString& nom)>;
    void pourChaqueControle(const Ligne& l, std::size_t avant, const Faire& faire);

    QString depart_;
    std::vector<Ligne> lignes_;
    std::vector<ErreurSyntaxe> erreursSyntaxe_;
    std::size_t curseur_ = 0;
    const Ligne* courante_ = nullptr;
    Issue issue_;
    bool fini_ = false;
    bool portReel_ = false;
    int delaiSansProgresMs_ = 60000;  // port limit MS: the ordinary sending's minute, shortened
    bool imprimanteReelle_ = false;

    plateforme::DoublesDeServices doubles_;
    std::unique_ptr<plateforme::Ports> portsReels_;
    std::unique_ptr<plateforme::Imprimante> imprimanteSysteme_;
    std::unique_ptr<Programme> programme_;
    QPointer<QDialog> travail_;
    QTimer suiviTravail_;
    bool dansTravail_ = false;
};

}  // namespace tarvex::scenario
