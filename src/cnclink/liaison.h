#pragma once
// What every transfer window does with its serial port: the question to the
// operator, the port set from the main window's settings, the steps of a
// transfer written in order, and the one message a failure ends with.

#include "cnclink/continu.h"
#include "cnclink/transmission.h"
#include "journal/consigner.h"
#include "platform/fenetre.h"
#include "platform/services.h"

#include <QString>

#include <functional>
#include <optional>

namespace tarvex {

class Principale;
struct ReglagesPort;

namespace liaison {

// A transfer that stopped: the serial component's failure number or the
// transfer's own, and what the program knows about it (which file, which
// line), for the operator's help only.
struct Echec {
    int numero = 0;
    QString detail;
};

// "Placer la machine en mode chargement"; false when the operator cancels.
bool confirmer(plateforme::Messages& messages, QWidget* parent);

// Port number and settings text from the main window's five combo boxes,
// set on the port, then the port opened.
std::optional<Echec> ouvrirPort(plateforme::PortSerie& port, const Principale& principale);
// The same with given settings: a sheet's machine's, whatever the main window shows now.
std::optional<Echec> ouvrirPort(plateforme::PortSerie& port, const ReglagesPort& reglages);

// Queues the steps one after the other and moves the progress bar where a
// step says so, without waiting for the line. Stops at the first refusal of
// the port, or after the last step when the transfer itself failed there.
// `apres`: told the bytes of each step queued.
std::optional<Echec> executer(const Transfert& transfert, plateforme::PortSerie& port, plateforme::Vumetre& vumetre,
                              const std::function<void(long long)>& apres = {});

// The settings text of the main window's combo boxes, "9600,e,7,2".
QString reglage(const Principale& principale);
QString reglage(const ReglagesPort& reglages);

enum class FinEnvoi { Reussi, Echoue, Arrete };
struct Envoi {
    FinEnvoi fin = FinEnvoi::Reussi;
    std::optional<Echec> echec;  // when Echoue
};

// A transfer on an open port, under the Transfert window: the steps, then the
// close once the last byte has left (XOFF from the CNC holds it meanwhile).
// Stopped with Arrêter: what was queued is dropped, no DC3 goes, the port is
// closed, the progress bar is back to 0 and "Transfert interrompu" is told.
// On a failure the caller reports it; the port may still be open.
// A manual sending's outcome as the journal notes it: "OK", "Erreur N" or
// "Interrompu".
std::string resultat(const Envoi& envoi);

Envoi envoyer(const Transfert& transfert, plateforme::PortSerie& port, plateforme::Vumetre& vumetre,
              const QString& reglage, plateforme::Services& services, QWidget* parent);

// Drip-feed on an open port, under the Transfert window: the source's
// sending read a chunk at a time as the line takes it, the line held by
// the CNC (XOFF) without limit until it lets it go or Arrêter. Ends as
// envoyer does; the source is opened and measured first (a missing file
// fails with kErreurFichierIntrouvable before anything is sent).
struct EnvoiContinu : Envoi {
    journal::Mesure mesure;  // every byte written to the port
    int ligne = 0;           // the last line that left, and its block number
    std::string bloc;
};
EnvoiContinu envoyerContinu(continu::Source source, plateforme::PortSerie& port, plateforme::Vumetre& vumetre,
                            const QString& reglage, plateforme::Services& services, QWidget* parent);
// The journal's result of a drip-feed: a stopped or failed one names the
// last line that left, "Interrompu après la ligne 31200 N31200".
std::string resultat(const EnvoiContinu& envoi);

// A program sent to the CNC of the main window's port and settings (those
// of the sheet's machine), ordinarily or en continu, from a file or from
// bytes already built: the question, the port, the Transfert window, the
// journal line (`note`: its kind and object; "Envoi en continu" for a
// drip-feed) and the final message. The caller holds the port's Cession.
// Returns how it ended; none when the operator cancelled the question.
std::optional<FinEnvoi> envoyerProgramme(Principale& principale, plateforme::PortSerie& port, QWidget* fenetre,
                                         const continu::Source& source, bool enContinu, journal::Transfert note);

// Closes the port after a failure, so that the next transfer is not refused
// because this one left it open. A transfer that failed on its own after its
// last step has already let every byte go: the CNC has seen those lines anyway.
void abandonner(plateforme::PortSerie& port);

// The text of the failure message: the port already open, a port that does
// not exist, or the number itself.
QString texteEchec(int numero);

// The failure message: title "Téléchargement", critical icon.
void signaler(plateforme::Messages& messages, QWidget* parent, const Echec& echec);

// The message of a transfer that went through: "Transfert effectué".
void signalerReussite(plateforme::Messages& messages, QWidget* parent);

// Windows-1252 bytes of a program as a text box shows them: CR LF, a lone CR
// and a lone LF each make one line break.
QString texteBoite(const QByteArray& octets);

}  // namespace liaison
}  // namespace tarvex
