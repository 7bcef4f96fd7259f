#pragma once
// Recording test doubles of the services. Each records what the program asked
// of it; where the program waits for an answer (a message box, a modal
// window, a save dialog), a hook set by the test gives it.

#include "platform/services.h"

#include <QList>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <map>
#include <vector>

namespace tarvex::plateforme {

struct MessageDemande {
    QString texte;
    QString titre;
    Icone icone = Icone::Aucune;
    Boutons boutons = Boutons::Ok;
    QString detail;
};

class MessagesEnregistres : public Messages {
public:
    Reponse afficher(QWidget* parent, const QString& texte, const QString& titre, Icone icone,
                     Boutons boutons, const QString& detail) override;
    std::vector<MessageDemande> demandes;
    // Without a hook every box gets its first button (OK or Yes).
    std::function<Reponse(const MessageDemande&)> repondre;
};

class FenetresEnregistrees : public Fenetres {
public:
    void afficherModal(QDialog* fenetre) override;
    // Runs while the window is shown; must return once the window is hidden.
    // Without a hook the window is shown and hidden at once.
    std::function<void(QDialog*)> pendant;
    void montrer(QDialog* fenetre) override;
    void retirer(QDialog* fenetre) override;
    // Told when a window comes up while the program goes on working; the
    // program's own waits then run the events that follow.
    std::function<void(QDialog*)> pendantTravail;
    QList<QDialog*> pile;  // the modal windows open now, innermost last
};

// Loads pictures for real (the scenarios write real JPEG files) and records
// which files were asked for.
class ImagesEnregistrees : public Images {
public:
    QImage charger(const QString& cheminData) override;
    QStringList demandes;
};

class HorlogeFixe : public Horloge {
public:
    QString maintenant() override { return heure; }
    QDateTime dateHeure() override { return moment; }
    void patienter(int microsecondes) override { attente += microsecondes; }
    // The real time, moved on by `avance` (a test's way of letting time pass).
    long long instant() override;
    long long attente = 0;
    long long avance = 0;
    QString heure = QStringLiteral("06/12/2026 09:30:00");
    QDateTime moment = QDateTime(QDate(2026, 12, 6), QTime(9, 30, 0));
};

class VisionneuseEnregistree : public Visionneuse {
public:
    bool ouvrir(const QString& cheminData) override;
    QStringList ouverts;
};

class DialogueEnregistrementEnregistre : public DialogueEnregistrement {
public:
    std::optional<QString> demander(QWidget* parent, const QString& titre, const QString& nomPropose,
                                    const QString& filtre) override;
    std::function<std::optional<QString>(const QString& nomPropose)> repondre;
    QStringList propositions;
};

class PosteFixe : public Poste {
public:
    QString nom() override { return nomPoste; }
    QString utilisateur() override { return nomUtilisateur; }
    // Set by a scenario's `computer` and `user`.
    QString nomPoste = QStringLiteral("POSTE1");
    QString nomUtilisateur = QStringLiteral("atelier");
};

class ApplicationEnregistree : public Application {
public:
    void quitter() override;
    bool terminee = false;
};

// What the recording printer was asked to draw, one line per element in the
// scenarios' notation.
// The height moves and an abandoned job leave no line: what the lines show
// is what was asked to go on paper, in order.
class ImprimanteEnregistree : public Imprimante {
public:
    bool installee() override { return installe; }
    void versPdf(const QString& fichier) override { pdf = fichier; }
    bool commencer() override;
    void image(double x, double y, double largeur, double hauteur, const QString& cheminData) override;
    // "drawing X WIDTH HEIGHT": placed at the current height, which the
    // recording does not follow.
    void dessin(double x, double largeur, double hauteur, const Peintre& peindre) override;
    void hauteur(double y) override { hauteurs.append(y); }
    void texte(double x, double taille, bool gras, const QString& texte) override;
    void ligneVide() override;
    bool terminer() override;
    void abandonner() override { ++abandons; }
    QStringList lignes;
    QList<double> hauteurs;
    bool echouerAuProchain = false;
    bool installe = true;
    QString pdf;  // where versPdf sent the next job
    int abandons = 0;
};

// One serial line as the scenarios see it, one per COM number: the cable at
// the back of one machine (or of its switch box). Every port the program
// opens on that number shares it.
struct LigneSerie {
    int numero = 0;             // COMn
    QByteArray envoye;          // bytes that left since the last check
    int panneOuverture = 0;     // the next open fails with this number
    // The CNC has sent XOFF: what the program writes waits in the port
    // until XON (reprendre). Bytes taken count as sent only then.
    bool xoff = false;
    QList<class PortEnregistre*> ports;  // the ports last opened on this number
    bool ouvert() const;
    void reprendre();  // XON: every waiting byte is taken at once
};

class PortsEnregistres;

class PortEnregistre : public PortSerie {
    Q_OBJECT
public:
    PortEnregistre(PortsEnregistres& banc, QObject* parent);
    ~PortEnregistre() override;

    // What the program asks of the line, recorded.
    bool estOuvert() const override { return ouvert_; }
    long long enAttente() const override { return attente_.size(); }
    void regleControleFlux(ControleFlux mode) override { flux = mode; }
    int choisirPort(int numero) override;
    int regler(const QString& parametres) override;
    void regleSeuils(int reception, int emission) override;
    int ouvrir() override;
    int emettre(const QByteArray& octets) override;
    QByteArray lire() override;
    void interrompre() override;
    int fermer() override;
    void regleAttenteSansLimite(bool sansLimite) override { sansLimite_ = sansLimite; }

    // The CNC's side.
    void recevoir(const QByteArray& octets);
    void signaler(int code);
    void reprendre();  // XON
    // The cable pulled out (an adapter unplugged): as the real port, closed,
    // a sending in progress failed with kPortFerme, then evenement(1011).
    void debrancher();

    int seuilReception = 0, seuilEmission = 0;
    ControleFlux flux = ControleFlux::Aucun;

private:
    void prendre(const QByteArray& octets);
    void dire();

    PortsEnregistres& banc_;
    LigneSerie* ligne_ = nullptr;  // the line of the number chosen, once opened
    int numero_ = 0;
    bool ouvert_ = false;
    QByteArray recu_;
    QByteArray attente_;  // written during XOFF, not taken yet
    bool interrompu_ = false;
    bool sansLimite_ = false;
    // Taken by the line and not told yet: told from the event loop, never
    // from inside emettre, as the real port does.
    qint64 aDire_ = 0;
    bool direPrevu_ = false;
    QTimer sansProgres_;
};

class PortsEnregistres : public Ports {
public:
    PortSerie* creer(QObject* parent) override;
    // The line of COMn, made the first time it is named.
    LigneSerie& ligne(int numero);
    // The line a scenario means without naming one: the one of the port
    // opened last. An XOFF or an open failure asked for while no port is
    // open waits in `prochaine` for the next port opened, whatever its
    // number, as on a single cable.
    LigneSerie& courante();
    LigneSerie* derniere = nullptr;
    LigneSerie prochaine;
    // What left on `ligne` since it was last looked at, taken off; on every
    // line, in the order it left, when `ligne` is null.
    QByteArray prendreEnvoye(LigneSerie* ligne);
    void noterEnvoi(LigneSerie& ligne, const QByteArray& octets);
    int numero = 0;    // last port number set, on any port
    QString reglage;   // last settings text set, on any port
    int delaiSansProgresMs = 60000;

private:
    std::map<int, LigneSerie> lignes_;
    QList<std::pair<int, QByteArray>> envois_;  // COM number, bytes; in the order they left
};

// What this computer remembers between runs; a scenario's stage sets it.
class MemoireEnregistree : public Memoire {
public:
    bool serviceActif() override { return service; }
    void retenirService(bool actif) override { service = actif; }
    int delaiService() override { return delai; }
    void retenirDelai(int secondes) override { delai = secondes; }
    bool service = false;
    int delai = 5;
};

// Every double, wired together as the services of a run: for the tests, the
// scenarios and the benchmarks.
struct DoublesDeServices {
    DoublesDeServices();
    DoublesDeServices(const DoublesDeServices&) = delete;
    DoublesDeServices& operator=(const DoublesDeServices&) = delete;

    MessagesEnregistres messages;
    FenetresEnregistrees fenetres;
    ImagesEnregistrees images;
    HorlogeFixe horloge;
    PortsEnregistres ports;
    ImprimanteEnregistree imprimante;
    VisionneuseEnregistree visionneuse;
    DialogueEnregistrementEnregistre enregistrement;
    ApplicationEnregistree application;
    PosteFixe poste;
    MemoireEnregistree memoire;
    Occupation occupation;
    Services services;
};

}  // namespace tarvex::plateforme
