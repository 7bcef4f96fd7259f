#pragma once
// Writing a transfer into the journal from the windows: the date, the time
// and this computer's name from the services, the seconds from the clock's
// instant the transfer started at.

#include "journal/journal.h"
#include "platform/services.h"

#include <QString>

#include <map>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace tarvex::journal {

struct Transfert {
    std::string port;                   // "COM2"
    std::vector<std::string> machines;
    std::string genre;                  // "Envoi fiche", "Réception" …
    std::string objet;                  // the sheet or the file name
    std::string resultat = "OK";        // "OK", "Erreur N", "Interrompu"
    long long debut = 0;                // Horloge::instant() as it started
};

// The journal's line of a transfer that ends now, `octets` being what went
// on the line.
Entree entree(plateforme::Services& services, const Transfert& t, std::string_view octets);
Entree entree(plateforme::Services& services, const Transfert& t, const Mesure& mesure);

// Appends it. Empty when written, else what went wrong, naming the file.
QString consigner(plateforme::Services& services, const Transfert& t, std::string_view octets);

// The last line of each port ("COM2") in the journal, as the service's rows
// show an event: "09:30:00 Envoi fiche PIVOT Phase 20 BRAS", the date before
// when it is not today's, " : Erreur 53" after when it did not end well.
std::map<std::string, std::string> derniersParPort(plateforme::Services& services);
// The same, today's date given (JJ/MM/AAAA): it reads only the journal, so
// that the service's storing thread can run it.
std::map<std::string, std::string> derniersParPort(const std::string& aujourdhui);

// "Erreur 8019".
std::string erreur(int numero);

// The machines of machine.txt whose com.txt names this port, in list order.
std::vector<std::string> machinesDuPort(const std::string& port);

// A transfer the operator started from the main window, on `port`, the one
// its settings name (the machines: those of that port, unless given). A journal
// that cannot be written is told over `fenetre` the first time only: the
// transfer itself went through, and the next one should not be held up by
// the same message again.
void consignerManuel(plateforme::Services& services, const std::string& port, QWidget* fenetre, Transfert t,
                     std::string_view octets);
void consignerManuel(plateforme::Services& services, const std::string& port, QWidget* fenetre, Transfert t,
                     const Mesure& mesure);

}  // namespace tarvex::journal
