#include "store/nouvellesdonnees.h"

#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/lecteur.h"

#include <filesystem>
#include <functional>
#include <vector>

namespace tarvex::nouvellesdonnees {
namespace {

bool separateur(char c) { return c == '/' || c == '\\'; }

// What a creation wrote, in order, so that a failure can take it away again.
class Trace {
public:
    void dossier(const std::string& chemin)
    {
        fichiers::creerDossier(chemin);
        faits_.push_back({chemin, true});
    }
    void copie(const std::string& source, const std::string& cible)
    {
        fichiers::copier(source, cible);
        faits_.push_back({cible, false});
    }
    void fichier(const std::string& chemin, std::string_view octets)
    {
        fichiers::ecrire(chemin, octets);
        faits_.push_back({chemin, false});
    }
    // Last made, first removed; a failure here leaves the rest in place
    // rather than stop half-way through the clean-up.
    void defaire()
    {
        for (auto it = faits_.rbegin(); it != faits_.rend(); ++it) {
            try {
                if (it->dossier)
                    fichiers::supprimerDossier(it->chemin);
                else
                    fichiers::supprimer(it->chemin);
            } catch (const fichiers::ErreurFichier&) {
            }
        }
        faits_.clear();
    }

private:
    struct Fait {
        std::string chemin;
        bool dossier;
    };
    std::vector<Fait> faits_;
};

// The working folder and those of its parents that do not exist yet, outer first.
std::vector<std::string> dossiersAFaire(std::string_view travail)
{
    std::vector<std::string> manquants;
    for (std::size_t i = 1; i <= travail.size(); ++i) {
        if (i < travail.size() && !separateur(travail[i])) continue;
        if (separateur(travail[i - 1])) continue;  // a root or a doubled separator
        const std::string prefixe(travail.substr(0, i));
        if (!fichiers::estDossier(prefixe)) manquants.push_back(prefixe);
    }
    return manquants;
}

// The common frame of both creations: checks, scratch folder, renaming, and
// the clean-up when a step fails. A data folder without index is filled in
// place instead: `remplir` adds only what it lacks, data.txt last, so that an
// interruption leaves it without index, offered again at the next start.
Resultat assembler(std::string_view travail, const std::function<void(Trace&, const std::string&)>& remplir)
{
    const std::string data = sous(travail, "data");
    if (sansIndex(travail)) {
        Trace trace;
        try {
            remplir(trace, data);
        } catch (const fichiers::ErreurFichier& e) {
            trace.defaire();
            return Resultat::echec(e.chemin(), e.detail());
        }
        return {};
    }
    const std::string brouillon = sous(travail, kBrouillon);
    if (fichiers::existe(data)) return Resultat::echec(data, "existe déjà : il n'est pas remplacé");
    if (fichiers::existe(brouillon))
        return Resultat::echec(brouillon, "reste d'une création interrompue : le supprimer, puis recommencer");
    const auto manquants = dossiersAFaire(travail);
    for (const auto& d : manquants)
        if (fichiers::existe(d)) return Resultat::echec(d, "ce n'est pas un dossier");

    Trace trace;
    try {
        for (const auto& d : manquants) trace.dossier(d);
        trace.dossier(brouillon);
        remplir(trace, brouillon);
        fichiers::remplacer(brouillon, data);
    } catch (const fichiers::ErreurFichier& e) {
        trace.defaire();
        return Resultat::echec(e.chemin(), e.detail());
    }
    return {};
}

// Every file and folder of `source` into `cible`, which exists, but the
// index of the top folder, left to the caller to copy last. Folders already
// there are shared; a file already there stops the copy, which the caller
// takes away again.
void copierArbre(Trace& trace, const std::string& source, const std::string& cible, int profondeur)
{
    // A folder that holds a link to one of its parents would never end.
    if (profondeur > 32) throw fichiers::ErreurFichier(source, "trop de dossiers imbriqués");
    for (const std::string& nom : fichiers::lister(source)) {
        const std::string s = sous(source, nom);
        const std::string c = sous(cible, nom);
        if (fichiers::estDossier(s)) {
            if (!fichiers::estDossier(c)) trace.dossier(c);
            copierArbre(trace, s, c, profondeur + 1);
        } else if (profondeur > 0 || cp1252::replier(nom) != "data.txt") {
            if (fichiers::existe(c))
                throw fichiers::ErreurFichier(c, "existe déjà : les données de démonstration ne sont copiées "
                                                 "que dans un dossier qui n'a aucun de leurs fichiers");
            trace.copie(s, c);
        }
    }
}

}  // namespace

std::string sous(std::string_view dossier, std::string_view nom)
{
    std::string r(dossier);
    if (!r.empty() && !separateur(r.back())) r.push_back(static_cast<char>(std::filesystem::path::preferred_separator));
    r.append(nom);
    return r;
}

bool presentes(std::string_view travail) { return fichiers::existe(sous(travail, "data\\data.txt")); }

bool sansIndex(std::string_view travail) { return fichiers::estDossier(sous(travail, "data")) && !presentes(travail); }

bool gardeSonCode(std::string_view travail)
{
    return sansIndex(travail) && fichiers::existe(sous(travail, "data\\code.tvx"));
}

std::optional<std::string> refusCode(std::string_view code, std::string_view confirmation)
{
    if (code.empty()) return "Le code autorisation ne peut pas être vide";
    if (code != confirmation) return "Les deux codes tapés sont différents";
    const auto blanc = [](char c) { return c == ' ' || c == '\t'; };
    if (blanc(code.front()) || blanc(code.back())) return "Le code autorisation ne peut ni commencer ni finir par un blanc";
    for (char c : code)
        if (c == ',' || c == '"') return "Le code autorisation ne peut contenir ni virgule ni guillemet";
    const std::string octets = cp1252::depuisUtf8(code);
    for (char c : octets) {
        const auto o = static_cast<unsigned char>(c);
        if (o < 0x20 || o == 0x7F) return "Le code autorisation ne peut pas contenir de caractère de commande";
    }
    // Whatever the rules above missed: the code must come back from the
    // file as the check will read it.
    const std::string ligne = octets + "\r\n";  // the reader keeps a view of it
    LecteurItems lecteur(ligne);
    if (cp1252::versUtf8(octets) != code || sansBlancs(lecteur.suivant()) != code)
        return "Le code autorisation contient un caractère qui ne peut pas être enregistré";
    return std::nullopt;
}

Resultat creerVides(std::string_view travail, std::string_view livraison, std::string_view code)
{
    if (const auto refus = refusCode(code, code); refus && !gardeSonCode(travail))
        return Resultat::echec(sous(travail, "data\\code.tvx"), *refus);
    for (const char* nom : kLivres) {
        const std::string source = sous(livraison, nom);
        if (!fichiers::existe(source) || fichiers::estDossier(source))
            return Resultat::echec(source, "fichier livré avec le programme introuvable");
    }
    return assembler(travail, [&](Trace& trace, const std::string& dossier) {
        const auto manque = [&](const char* nom) { return !fichiers::existe(sous(dossier, nom)); };
        for (const char* nom : kLivres)
            if (manque(nom)) trace.copie(sous(livraison, nom), sous(dossier, nom));
        if (manque("machine.txt")) trace.fichier(sous(dossier, "machine.txt"), "");
        if (manque("machine")) trace.dossier(sous(dossier, "machine"));
        if (manque("code.tvx")) trace.fichier(sous(dossier, "code.tvx"), cp1252::depuisUtf8(code) + "\r\n");
        trace.fichier(sous(dossier, "data.txt"), "");
    });
}

Resultat copierDemo(std::string_view travail, std::string_view demo)
{
    const std::string index = sous(demo, "data.txt");
    if (!fichiers::estDossier(demo)) return Resultat::echec(std::string(demo), "données de démonstration introuvables");
    if (!fichiers::existe(index)) return Resultat::echec(index, "index des données de démonstration introuvable");
    return assembler(travail, [&](Trace& trace, const std::string& dossier) {
        copierArbre(trace, std::string(demo), dossier, 0);
        trace.copie(index, sous(dossier, "data.txt"));
    });
}

}  // namespace tarvex::nouvellesdonnees
