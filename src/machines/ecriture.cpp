#include "machines/ecriture.h"

#include "store/analyse.h"
#include "store/chemins.h"
#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/lecteur.h"
#include "store/textechoisi.h"

#include <algorithm>

namespace tarvex::machines {
namespace {

// A name that would not come back as typed from the list or from its folder:
// a double quote groups items for the reader, a control character has no
// place in a folder name, and a character outside Windows-1252 is stored as
// "?".
bool nomIllisible(const std::string& nom)
{
    for (unsigned char c : nom)
        if (c == '"' || c < 0x20 || c == 0x7F) return true;
    return cp1252::versUtf8(cp1252::depuisUtf8(nom)) != nom;
}

bool seulementDesPoints(std::string_view nom)
{
    return !nom.empty() && nom.find_first_not_of('.') == std::string_view::npos;
}

std::string cle(std::string_view nom) { return cp1252::replier(sansBlancs(nom)); }

// The serial values the link can be set to (the combo boxes are editable:
// a speed beyond the list may be typed). A value it refuses would give a
// machine that can neither send nor receive, and a comma or a quote would
// moreover split its line of com.txt into other items.
bool portUtilisable(std::string_view v)
{
    // The port number is the last character of "COMn".
    return v.size() == 4 && cp1252::replier(v.substr(0, 3)) == "com" && v[3] >= '1' && v[3] <= '9';
}

bool vitesseUtilisable(std::string_view v)
{
    return !v.empty() && v.size() <= 7 && v.find_first_not_of("0123456789") == std::string_view::npos &&
           v.find_first_not_of('0') != std::string_view::npos;
}

// The link takes the first letter: "E(ven)", "N(one)", "O(dd)".
bool pariteUtilisable(std::string_view v)
{
    if (v.empty() || std::string_view("ENOeno").find(v.front()) == std::string_view::npos) return false;
    for (unsigned char c : v)
        if (c == ',' || c == '"' || c < 0x20 || c == 0x7F) return false;
    return true;
}

// The report's lines as they are added; any refusal keeps "Continuer"
// disabled.
struct Rapport {
    BilanMachine& b;
    void ajouter(std::string ligne) { b.lignes.push_back(std::move(ligne)); }
    void refuser() { b.accepte = false; }
    void alerter(const char* texte, const char* titre) { b.alertes.push_back({texte, titre}); }
};

void analyserNom(Rapport& r, const SaisieMachine& s)
{
    r.ajouter("Analyse Nom de Machine ... ");
    const std::string_view nom = sansBlancs(std::string_view(s.nom));
    if (s.nom.empty() || s.nom == kNomACompleter || nom.empty()) {
        r.refuser();
        r.ajouter("  Nom de la machine non saisi ou vide !");
    } else {
        bool interdit = seulementDesPoints(nom) || nomIllisible(std::string(nom));
        for (char c : nom) interdit = interdit || analyse::interditDansNom(c);
        if (interdit) {
            r.refuser();
            r.ajouter(std::string(analyse::kInterdits));
        } else {
            r.ajouter("  " + s.nom + " ... Saisie effectuée");
        }
    }
    r.ajouter(" ");

    if (fichiers::existe(kListeMachines) && !fichiers::lire(kListeMachines)) {
        r.refuser();
        r.ajouter(std::string("  ") + kListeMachines + " : fichier illisible, le nom ne peut être vérifié !");
        r.ajouter("  ");
        return;
    }
    // A list that holds the name twice says so twice.
    const std::string tape = cle(s.nom);
    for (const auto& item : lireListeMachines().valeur) {
        if (tape.empty() || cle(item) != tape) continue;
        r.refuser();
        r.alerter("Nom de machine déjà utilisé !", "Nom de Machine");
        r.ajouter("  Le nom de la machine est déjà utilisé !");
        r.ajouter("  Modifier le nom de la machine SVP ...");
        r.ajouter("  ");
    }
}

// One of the option groups: the machine kind, the CNC type.
struct Choix {
    const char* titre;
    const char* alerte;
    const char* titreAlerte;
    const char* absence;
};

void analyserChoix(Rapport& r, const Choix& c, int code, const std::string& libelle)
{
    r.ajouter(c.titre);
    if (code == 0) {
        r.refuser();
        r.alerter(c.alerte, c.titreAlerte);
        r.ajouter(c.absence);
    } else {
        r.ajouter("  " + libelle + " ... Cohérent");
    }
    r.ajouter(" ");
}

void analyserCommunication(Rapport& r, const SaisieMachine& s)
{
    r.ajouter("Analyse Paramètres de communication ... ");
    auto valeur = [&](const std::string& ligne, bool utilisable, const char* refus) {
        r.ajouter(ligne);
        if (utilisable) return;
        r.refuser();
        r.ajouter(refus);
    };
    const std::string_view bits = sansBlancs(std::string_view(s.bits)), arret = sansBlancs(std::string_view(s.arret));
    valeur("  Port : " + s.port, portUtilisable(sansBlancs(std::string_view(s.port))),
           "  Port non reconnu : COM1 à COM9 !");
    valeur("  Vitesse : " + s.vitesse, vitesseUtilisable(sansBlancs(std::string_view(s.vitesse))),
           "  Vitesse non reconnue : un nombre entier de bauds !");
    valeur("  Parité : " + s.parite, pariteUtilisable(sansBlancs(std::string_view(s.parite))),
           "  Parité non reconnue : E(ven), N(one) ou O(dd) !");
    valeur("  Nombre de bits : " + s.bits, bits.size() == 1 && bits[0] >= '5' && bits[0] <= '8',
           "  Nombre de bits non reconnu : 5, 6, 7 ou 8 !");
    valeur("  Bits d'arrêt : " + s.arret, arret == "1" || arret == "2", "  Bits d'arrêt non reconnus : 1 ou 2 !");
    // A UART takes 2 stop bits only with 6 to 8 data bits (the link
    // refuses the pair, as Windows does).
    if (bits == "5" && arret == "2") {
        r.refuser();
        r.ajouter("  2 bits d'arrêt impossibles avec 5 bits de données !");
    }
}

}  // namespace

BilanMachine analyserMachine(const SaisieMachine& s)
{
    BilanMachine b;
    Rapport r{b};
    analyserNom(r, s);
    analyserChoix(r,
                  {"Analyse Type de Machine ... ", "Absence Choix du Type de machine !", "Type Machine",
                   "  Type de machine non coché !"},
                  s.type, s.libelleType);
    analyserChoix(r,
                  {"Analyse Type de Directeur de Commande ... ", "Absence Choix du Directeur de Commande !",
                   "Type Directeur de Commande", "  Directeur de Commande non coché !"},
                  s.directeur, s.libelleDirecteur);
    analyserCommunication(r, s);

    // The machine file is text: a UTF-8 one is stored in Windows-1252, and
    // refused when the code page cannot hold it. One that cannot be read
    // is dropped when chosen.
    if (!s.dossier.empty())
        if (const auto octets = fichiers::lire(s.dossier))
            if (const auto c = analyse::analysetexte(textechoisi::analyser(*octets))) {
                r.ajouter(" ");
                r.ajouter("Analyse Dossier machine ... ");
                r.ajouter(c->ligne);
                if (c->refuse) r.refuser();
            }
    return b;
}

NouvelleMachine nouvelleMachine(const SaisieMachine& s)
{
    NouvelleMachine m;
    m.nom = sansBlancs(s.nom);
    m.image = s.image;
    if (!s.dossier.empty()) m.dossier = s.dossier;
    m.com = {s.port, s.vitesse, s.parite, s.bits, s.arret, std::to_string(s.type), std::to_string(s.directeur)};
    return m;
}

Lu<bool> machineUtilisee(const std::string& nom)
{
    Lu<bool> r;
    const auto octets = fichiers::lire(kIndex);
    if (!octets) {
        if (fichiers::existe(kIndex)) {
            r.valeur = true;
            r.signaler(kIndex, "fichier illisible");
        }
        return r;
    }
    // Sixteen items to a record, the machine third; a record cut short at
    // the end of the file still counts when it reaches its machine. The
    // item is compared as the main window finds a sheet's machine folder:
    // without the blanks around it, even inside quotes, and letter case
    // aside.
    const std::string cherche = cle(nom);
    LecteurItems lecteur(*octets);
    for (std::size_t i = 0; !lecteur.fin(); ++i) {
        const auto item = lecteur.suivantBrut();
        if (i % kChampsParEnregistrement == CMachine && cle(cp1252::versUtf8(item.brut)) == cherche) {
            r.valeur = true;
            return r;
        }
    }
    return r;
}

bool machineListee(const std::string& nom)
{
    for (const auto& item : lireListeMachines().valeur)
        if (item == nom) return true;
    return false;
}

bool nomPris(const std::string& nom)
{
    const std::string tape = cle(nom);
    if (tape.empty()) return false;
    for (const auto& item : lireListeMachines().valeur)
        if (cle(item) == tape) return true;
    return false;
}

EmpreintesMachine empreintesMachine(const std::string& nom)
{
    EmpreintesMachine e;
    e.nom = sansBlancs(nom);
    e.listee = machineListee(e.nom);
    if (!chemins::nomSur(e.nom)) return e;
    const std::string dossier = dossierMachine(e.nom);
    std::vector<std::string> noms = fichiers::lister(dossier);
    std::sort(noms.begin(), noms.end());
    for (auto& n : noms)
        if (const Empreinte t = empreinte(dossier + n); t.presente) e.fichiers.emplace_back(std::move(n), t);
    return e;
}

EtatMachine comparerMachine(const EmpreintesMachine& vue)
{
    const EmpreintesMachine maintenant = empreintesMachine(vue.nom);
    if (vue.listee && !maintenant.listee) return EtatMachine::Supprimee;
    return maintenant == vue ? EtatMachine::Inchangee : EtatMachine::Modifiee;
}

Resultat effacerMachine(const std::string& nom, const std::function<void()>& apresListe)
{
    Resultat r = retirerMachineDeListe(nom);
    if (!r.ok()) return r;
    if (apresListe) apresListe();
    if (!fichiers::estDossier(dossierMachine(nom))) return r;
    return supprimerDossierMachine(nom);
}

}  // namespace tarvex::machines
