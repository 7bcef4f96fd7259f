#include "journal/consigner.h"

#include "store/machines.h"

namespace tarvex::journal {

using namespace plateforme;

Entree entree(Services& services, const Transfert& t, std::string_view octets)
{
    Mesure m;
    m.ajouter(octets);
    return entree(services, t, m);
}

Entree entree(Services& services, const Transfert& t, const Mesure& mesure)
{
    Entree e;
    const QDateTime maintenant = services.horloge->dateHeure();
    e.date = maintenant.toString(QStringLiteral("dd/MM/yyyy")).toStdString();
    e.heure = maintenant.toString(QStringLiteral("HH:mm:ss")).toStdString();
    e.poste = services.poste ? services.poste->nom().toStdString() : std::string();
    e.port = t.port;
    e.machines = t.machines;
    e.genre = t.genre;
    e.objet = t.objet;
    e.resultat = t.resultat;
    e.secondes = std::max(0LL, (services.horloge->instant() - t.debut) / 1000);
    mesurer(e, mesure);
    return e;
}

QString consigner(Services& services, const Transfert& t, std::string_view octets)
{
    const Resultat r = ajouter(entree(services, t, octets));
    return r.ok() ? QString() : QString::fromStdString(joindreProblemes(r.problemes));
}

std::map<std::string, std::string> derniersParPort(Services& services)
{
    return derniersParPort(services.horloge->dateHeure().toString(QStringLiteral("dd/MM/yyyy")).toStdString());
}

std::map<std::string, std::string> derniersParPort(const std::string& aujourdhui)
{
    std::map<std::string, std::string> r;
    for (const std::string& l : lire().valeur) {  // newest first
        std::vector<std::string> champs;
        for (std::size_t debut = 0;;) {
            const std::size_t fin = l.find(';', debut);
            champs.push_back(l.substr(debut, fin == std::string::npos ? fin : fin - debut));
            if (fin == std::string::npos) break;
            debut = fin + 1;
        }
        if (champs.size() < 10 || r.count(champs[3])) continue;
        std::string texte = (champs[0] == aujourdhui ? "" : champs[0] + " ") + champs[1] + " " + champs[5] + " " + champs[6];
        if (champs[9] != "OK") texte += " : " + champs[9];
        r.emplace(champs[3], std::move(texte));
    }
    return r;
}

std::string erreur(int numero) { return "Erreur " + std::to_string(numero); }

std::vector<std::string> machinesDuPort(const std::string& port)
{
    std::vector<std::string> r;
    for (const std::string& nom : lireListeMachines().valeur) {
        const Lu<ParamCom> com = lirecom(nom);
        if (com.valeur.port == port) r.push_back(nom);
    }
    return r;
}

void consignerManuel(Services& services, const std::string& port, QWidget* fenetre, Transfert t,
                     std::string_view octets)
{
    Mesure m;
    m.ajouter(octets);
    consignerManuel(services, port, fenetre, std::move(t), m);
}

void consignerManuel(Services& services, const std::string& port, QWidget* fenetre, Transfert t,
                     const Mesure& mesure)
{
    static bool dejaDit = false;
    if (t.port.empty()) t.port = port;
    if (t.machines.empty()) t.machines = machinesDuPort(t.port);
    const Resultat r = ajouter(entree(services, t, mesure));
    const QString echec = r.ok() ? QString() : QString::fromStdString(joindreProblemes(r.problemes));
    if (echec.isEmpty() || dejaDit) return;
    dejaDit = true;
    services.messages->afficher(
        fenetre,
        QStringLiteral("Le transfert n'a pas pu être noté dans le journal des transferts (%1).\n"
                       "Le transfert lui-même n'en est pas affecté.")
            .arg(QString::fromUtf8(kJournal)),
        QStringLiteral("Journal"), Icone::Exclamation, Boutons::Ok, echec);
}

}  // namespace tarvex::journal
