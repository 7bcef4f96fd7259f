#pragma once
// One line the DNC service serves: its port, what it is receiving, and the
// answer it sends back. Everything happens on the port's signals and on
// timers, never waiting: the other lines and the windows go on meanwhile.

#include "cnclink/continu.h"
#include "cnclink/suivi.h"
#include "cnclink/transmission.h"
#include "journal/journal.h"
#include "platform/controles.h"
#include "platform/services.h"
#include "service/demande.h"
#include "service/lecture.h"
#include "service/lignes.h"
#include "service/rangement.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <memory>
#include <optional>
#include <string>

namespace tarvex::dnc {

class LigneService : public QObject {
    Q_OBJECT
public:
    // The timers' names end with the port number ("Silence2"), so that a
    // scenario can make their time pass. What the line stores is written by
    // `rangement`, off the event loop.
    LigneService(plateforme::Services& services, LigneDNC ligne, Rangement& rangement, QObject* parent);
    ~LigneService() override;

    void demarrer();   // opens the port and listens; a port refused is tried again every 30 s
    // Closes it, whatever is under way ("Arrêté"): what was coming is kept
    // as incomplete, an answer on its way is journaled "Interrompu", one
    // not yet begun "Annulé".
    void arreter();
    // A manual transfer takes the port ("Transfert manuel"); the answers not
    // yet begun are dropped ("Annulé"): the operator's transfer came after
    // the request, and the control now holds something else.
    void ceder();
    void reprendre();  // and gives it back: listening again if the service runs

    void regleDelai(int secondes) { delai_ = secondes; }

    const LigneDNC& ligne() const { return ligne_; }
    const QString& etat() const { return etat_; }
    const QString& dernier() const { return dernier_; }  // "09:30:00 Programme reçu 20261206-093000.txt"
    // The last event as the journal kept it (another run, a manual transfer).
    void regleDernier(const QString& texte);

signals:
    void change();

private:
    // A reply waiting for its delay, then on its way.
    struct Envoi {
        std::string genre;   // "Envoi fiche" or "Réponse"
        std::string objet;   // as the journal names it
        std::string resultat = "OK";  // journaled once every byte left: "Fiche inconnue", "Erreur 53"…
        QString affiche;     // as the row names it while it goes ("PIVOT Phase 20")
        Transfert transfert;  // built as the request came
        // Drip-feed (CONTINU): the program read as the line takes it, the
        // lines followed as they leave, every byte written measured.
        std::unique_ptr<continu::Lecture> lecture;
        std::unique_ptr<SuiviTransfert> suivi;
        journal::Mesure mesure;  // what has left; what is written waits in enRoute
        std::string enRoute;
        bool lu = false;
        std::size_t etape = 0;
        long long total = 0, partis = 0;
        long long debut = 0;
        // A sheet's: its record and the request, for its status read again
        // as the answer begins.
        std::optional<Enregistrement> fiche;
        Demande demande;
    };

    bool ouvrir();
    void fermer();
    void evenement(int code);
    void recu(const ProgrammeRecu& p);
    void range(const Lu<std::string>& chemin, const std::string& surLaLigne, bool complet, long long debut);
    // What came that is not a program: appended to the day's noise file,
    // journaled at most once a minute.
    void bruit(const ProgrammeRecu& p, const std::string& surLaLigne);
    // `toutDeSuite`: even while another write is on its way (the file changes).
    void ecrireBruit(bool toutDeSuite = false);
    void noterBruit();
    void annulerEnAttente();
    void couper();
    void demande(const Demande& d, const std::string& octets);
    void suivante();
    void etapeSuivante();
    void partis(qint64 octets);
    void tousPartis();
    void echec(int numero);
    // `toutParti`: every byte of the answer left; otherwise the journal
    // counts those that had when it stopped.
    void termine(std::string resultat, bool toutParti);
    void montrerEnvoi();

    void etat(const QString& texte);
    // The last event, with its time, and the journal's line for it; a
    // journal that cannot be written is said once in the row.
    void noter(const QString& texte, const std::string& genre, const std::string& objet, std::string_view octets,
               const std::string& resultat, long long debut);
    void noter(const QString& texte, const std::string& genre, const std::string& objet, const journal::Mesure& mesure,
               const std::string& resultat, long long debut);

    plateforme::Services& services_;
    LigneDNC ligne_;
    plateforme::PortSerie* port_;
    Lecture lecture_;
    plateforme::Minuterie* silence_;
    plateforme::Minuterie* reessai_;
    plateforme::Minuterie* bruitMinute_;
    QTimer attente_;
    int delai_ = 5;
    bool actif_ = false;   // the service runs on this line
    bool cede_ = false;    // a manual transfer holds the port
    long long debutRecu_ = 0;
    std::deque<Envoi> envois_;  // the first one waits or goes
    bool enRoute_ = false;      // the first one is on the line
    QString etat_, dernier_;
    bool journalSignale_ = false;
    Rangement& rangement_;
    // Noise: the bytes not yet in the file (one write on its way at a
    // time), those not yet journaled, since when, and when it was last.
    std::string bruitAEcrire_, bruitANoter_;
    int bruitEnEcriture_ = 0;  // writes on their way
    bool bruitPrevu_ = false;
    std::string fichierBruit_;
    long long debutBruit_ = 0;
    long long dernierBruit_ = -1;
};

}  // namespace tarvex::dnc
