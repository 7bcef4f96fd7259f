#pragma once
// What the windows need from the outside world. Each service is an interface
// with a Qt implementation (qtservices.h) and a recording test double
// (platform/doubles.h, a library of its own) that the scenarios drive. Windows never call QMessageBox,
// QDialog::exec, QSerialPort or QDesktopServices themselves.

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QWidget;
class QDialog;
class QPainter;

namespace tarvex::plateforme {

enum class Icone { Aucune, Information, Question, Exclamation, Critique };
enum class Boutons { Ok, OkAnnuler, OuiNon };
enum class Reponse { Ok, Annuler, Oui, Non };

class Messages {
public:
    virtual ~Messages() = default;
    // `detail`: what the program knows beyond the message itself (which file,
    // which line), shown under it in smaller print.
    virtual Reponse afficher(QWidget* parent, const QString& texte, const QString& titre, Icone icone,
                             Boutons boutons = Boutons::Ok, const QString& detail = QString()) = 0;
};

// Showing a window modally: returns once the window is hidden or closed.
class Fenetres {
public:
    virtual ~Fenetres() = default;
    virtual void afficherModal(QDialog* fenetre) = 0;
    // Shows a window modally while the caller goes on working (a transfer
    // that the window follows), and takes it away again: meanwhile only that
    // window takes the operator's input.
    virtual void montrer(QDialog* fenetre) = 0;
    virtual void retirer(QDialog* fenetre) = 0;
};

// Pictures from files (JPEG, and the icon). A picture's natural size is its
// pixel size at 15 twips per pixel. A file that is missing or cannot be
// decoded gives a null image.
class Images {
public:
    virtual ~Images() = default;
    virtual QImage charger(const QString& cheminData) = 0;
};

// The current date and time in the system's general format.
class Horloge {
public:
    virtual ~Horloge() = default;
    virtual QString maintenant() = 0;
    // The local date and time, for the names of the archived versions.
    virtual QDateTime dateHeure() = 0;
    // A short pause of the progress sweep, so that each value can be seen.
    virtual void patienter(int microsecondes) = 0;
    // Milliseconds on a clock that only moves forward, to measure how long
    // something takes (the rate of a transfer).
    virtual long long instant() = 0;
};

// The serial port component's failure numbers, as the windows show them
// ("Erreur 8019"); see README.
inline constexpr int kPortInexistant = 8002;  // port number 0, or no device behind COMn
inline constexpr int kPortDejaOuvert = 8005;  // open here, or held by another program
inline constexpr int kPortFerme = 8012;       // not open, or the device has gone
inline constexpr int kReglageRefuse = 8015;   // settings text malformed or refused by the device
inline constexpr int kLigneBloquee = 8019;    // nothing left for the CNC for 60 seconds

// The serial port component, one per window that talks to a CNC. Failures
// are returned as the failure numbers above.
// Sending, the driver pauses the output at XOFF and resumes at XON
// (ControleFlux::XonXoff); the received bytes are never taken by it.
class PortSerie : public QObject {
    Q_OBJECT
public:
    enum class ControleFlux { Aucun, Rts, XonXoff, RtsXonXoff };

    // Event codes of the component (evenement).
    static constexpr int kRecu = 2;
    static constexpr int kFinTampon = 1;
    // What emettre or fermer returns once interrompre has been called.
    static constexpr int kArrete = 8020;

    using QObject::QObject;
    ~PortSerie() override = default;

    virtual int choisirPort(int numero) = 0;             // refused while open
    virtual int regler(const QString& parametres) = 0;   // "9600,e,7,2"
    virtual int ouvrir() = 0;
    virtual QByteArray lire() = 0;                       // everything received so far
    // Closes at once, never waiting: a sender closes once tousPartis said
    // everything left. Whatever is still queued then is dropped (kArrete),
    // or the system's own close would wait for it.
    virtual int fermer() = 0;
    virtual bool estOuvert() const = 0;
    virtual void regleSeuils(int reception, int emission) = 0;
    // XonXoff: the output pauses at the CNC's XOFF and resumes at its XON,
    // at the driver. Rts, RtsXonXoff: RTS/CTS only, so that the DC3 ending a
    // received program reaches the window.
    virtual void regleControleFlux(ControleFlux mode) = 0;
    // Bytes written that have not left for the line yet (0 when closed).
    virtual long long enAttente() const = 0;
    // Drops every byte not yet on the line, in the program and in the
    // driver; nothing more is told of them, and every later emettre or
    // fermer returns kArrete. Cleared by ouvrir.
    virtual void interrompre() = 0;
    // Drip-feed: the control runs the program as it arrives and holds the
    // line for as long as a cut, a feed hold or a tool check lasts; the
    // sending then waits without limit (no kLigneBloquee), until the
    // operator stops it. Cleared by ouvrir.
    virtual void regleAttenteSansLimite(bool sansLimite) = 0;

    // Queues the bytes and returns at once, never waiting: what follows is
    // told by the signals below, from the event loop, so that several lines
    // can be served at once without one waiting inside another. 0, or
    // kPortFerme when not open (kArrete once interrompre has been called).
    virtual int emettre(const QByteArray& octets) = 0;

signals:
    void evenement(int code);
    // Bytes that left for the line since the last signal.
    void partis(qint64 octets);
    // Nothing queued is left, in the program or in the driver.
    void tousPartis();
    // kLigneBloquee once delaiSansProgres passed without a byte leaving,
    // kPortFerme when the device went away. What was queued is dropped.
    void echecEmission(int numero);
};

class Ports {
public:
    virtual ~Ports() = default;
    // A port owned by `parent`, which deletes it with itself.
    virtual PortSerie* creer(QObject* parent) = 0;
};

// The printer: the page as a list of drawing operations, in millimetres from
// the printable area's left and top edges. Each text line is printed at the
// current height, which then moves down one line of its font; a line that
// would pass the bottom of the page goes on top of the next one.
class Imprimante {
public:
    virtual ~Imprimante() = default;
    // False when the system has no printer at all.
    virtual bool installee() = 0;
    // The next job goes into this PDF file (a path on disk), page for page
    // as the printer would have had it.
    virtual void versPdf(const QString& fichier) = 0;
    virtual bool commencer() = 0;  // false: the job could not start
    virtual void image(double x, double y, double largeur, double hauteur, const QString& cheminData) = 0;
    // A drawing made by the program, largeur x hauteur at x and the current
    // height, which then moves down past it; on top of the next page when it
    // would pass the bottom of this one. `peindre` draws in tenths of a
    // millimetre from the drawing's top left corner, as vectors: the paper
    // gets the printer's own resolution.
    using Peintre = std::function<void(QPainter&)>;
    virtual void dessin(double x, double largeur, double hauteur, const Peintre& peindre) = 0;
    virtual void hauteur(double y) = 0;  // the print position moves to height y
    virtual void texte(double x, double taille, bool gras, const QString& texte) = 0;
    virtual void ligneVide() = 0;  // one line of the last font used
    virtual bool terminer() = 0;   // false: the printer refused the job
    // A job stopped half-way: nothing of it comes out of the printer.
    virtual void abandonner() = 0;
};

// Opens a document in the application the system registers for its type, in
// a window of its own.
class Visionneuse {
public:
    virtual ~Visionneuse() = default;
    virtual bool ouvrir(const QString& cheminData) = 0;
};

// The system's "save as" dialog. No value: the operator cancelled.
class DialogueEnregistrement {
public:
    virtual ~DialogueEnregistrement() = default;
    virtual std::optional<QString> demander(QWidget* parent, const QString& titre, const QString& nomPropose,
                                            const QString& filtre) = 0;
};

// This computer and the person logged on, as the data lock names them to
// the other computers sharing the data folder.
class Poste {
public:
    virtual ~Poste() = default;
    virtual QString nom() = 0;
    virtual QString utilisateur() = 0;
};

// The end of the program.
class Application {
public:
    virtual ~Application() = default;
    virtual void quitter() = 0;
};

// What this computer remembers from one run of the program to the next,
// outside the data folder (the data may be shared by several computers, and
// which of them serves the CNC lines is each one's own affair).
class Memoire {
public:
    virtual ~Memoire() = default;
    // Whether the DNC service ran when the program last said so.
    virtual bool serviceActif() = 0;
    virtual void retenirService(bool actif) = 0;
    // The service's Delai, in seconds.
    virtual int delaiService() = 0;
    virtual void retenirDelai(int secondes) = 0;
};

// Who holds the serial ports: the DNC service listens on the machines' lines,
// and a transfer the operator starts (Charger, a file sent or received) asks
// it for its port first, then gives it back. Without a service listening,
// both do nothing.
class Occupation {
public:
    struct Detenteur {
        virtual ~Detenteur() = default;
        virtual void ceder(int numero) = 0;      // closes COMn, shows "Transfert manuel"
        virtual void reprendre(int numero) = 0;  // listens on COMn again
    };
    void inscrire(Detenteur* d) { detenteur_ = d; }
    void retirer(Detenteur* d)
    {
        if (detenteur_ == d) detenteur_ = nullptr;
    }
    void ceder(int numero)
    {
        if (detenteur_) detenteur_->ceder(numero);
    }
    void reprendre(int numero)
    {
        if (detenteur_) detenteur_->reprendre(numero);
    }

private:
    Detenteur* detenteur_ = nullptr;
};

// The port COMn given up for the lifetime of this value.
class Cession {
public:
    Cession(Occupation* occupation, int numero) : occupation_(occupation), numero_(numero)
    {
        if (occupation_) occupation_->ceder(numero_);
    }
    ~Cession()
    {
        if (occupation_) occupation_->reprendre(numero_);
    }
    Cession(const Cession&) = delete;
    Cession& operator=(const Cession&) = delete;

private:
    Occupation* occupation_;
    int numero_;
};

struct Services {
    Messages* messages = nullptr;
    Fenetres* fenetres = nullptr;
    Images* images = nullptr;
    Horloge* horloge = nullptr;
    Ports* ports = nullptr;
    Imprimante* imprimante = nullptr;
    Visionneuse* visionneuse = nullptr;
    DialogueEnregistrement* enregistrement = nullptr;
    Application* application = nullptr;
    Poste* poste = nullptr;
    Memoire* memoire = nullptr;
    Occupation* occupation = nullptr;
};

}  // namespace tarvex::plateforme
