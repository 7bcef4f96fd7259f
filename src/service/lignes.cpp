#include "service/lignes.h"

#include "store/cp1252.h"
#include "store/lecteur.h"
#include "store/texte.h"

#include <map>

namespace tarvex::dnc {

Lu<std::vector<LigneDNC>> lignesDNC(std::vector<NonServie>* nonServies)
{
    const auto laisser = [nonServies](const std::string& nom, std::string raison) {
        if (nonServies) nonServies->push_back({nom, std::move(raison)});
    };
    Lu<std::vector<LigneDNC>> r;
    const Lu<std::vector<std::string>> liste = lireListeMachines();
    r.ajouter(liste.problemes);
    std::map<int, LigneDNC> parPort;
    std::vector<std::string> vues;  // a name listed twice is one machine
    for (const std::string& nomListe : liste.valeur) {
        const std::string nom = sansBlancs(nomListe);
        const std::string cle = cp1252::replier(nom);
        bool dejaVue = false;
        for (const auto& v : vues) dejaVue = dejaVue || v == cle;
        if (dejaVue) continue;
        vues.push_back(cle);

        const Lu<ParamCom> com = lirecom(nom);
        if (!com.ok()) {
            r.ajouter(com.problemes);
            laisser(nom, "réglages illisibles");
            continue;
        }
        const int directeur = codeMachine(com.valeur.directeur);
        if (directeur != kNum && directeur != kFanuc) {
            laisser(nom, directeur == kFagor ? "commande FAGOR" : "type de commande sans transfert");
            continue;
        }
        // The port a manual transfer opens for this machine.
        const int numero = numeroPort(com.valeur.port);
        // "COM12" would be read as COM2, as Charger reads it: not served.
        std::string port = com.valeur.port;
        for (char& c : port) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        if (numero < 1 || numero > 9 || port != "COM" + std::to_string(numero)) {
            laisser(nom, "port " + com.valeur.port + " : seuls COM1 à COM9 sont servis");
            continue;
        }
        auto [it, nouvelle] = parPort.try_emplace(numero);
        LigneDNC& l = it->second;
        if (nouvelle) {
            l.numero = numero;
            l.port = "COM" + std::to_string(numero);
            l.com = com.valeur;
        } else {
            const ParamCom& a = l.com;
            const ParamCom& b = com.valeur;
            if (a.vitesse != b.vitesse || a.parite != b.parite || a.bits != b.bits || a.arret != b.arret)
                l.reglagesDifferents = true;
        }
        l.machines.push_back(nom);
        l.fanuc = l.fanuc || directeur == kFanuc;
    }
    for (auto& [numero, l] : parPort) r.valeur.push_back(std::move(l));
    return r;
}

}  // namespace tarvex::dnc
