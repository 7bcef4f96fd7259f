#pragma once
// What the fuzz targets check on one input, shared with the replay of the
// kept crash inputs in the ordinary test run. Each check returns an empty
// text when the input went through, or what went wrong.

#include "service/demande.h"
#include "service/lecture.h"
#include "service/recus.h"
#include "store/cp1252.h"
#include "store/index.h"
#include "store/lecteur.h"
#include "store/liste.h"
#include "store/machines.h"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::fuzz {

struct Lecture {
    std::vector<LecteurItems::Item> items;
    std::string erreur;
};

// Every item of a text, checking on the way that each call moves forward and
// stays inside the text.
inline Lecture toutLire(std::string_view texte)
{
    Lecture r;
    const auto faute = [&r](const char* m) { r.erreur = m; return r; };
    LecteurItems l(texte);
    std::size_t avant = l.position();
    while (!l.fin()) {
        const auto item = l.suivantBrut();
        if (l.position() <= avant) return faute("le lecteur n'avance pas");
        if (l.position() > texte.size()) return faute("le lecteur dépasse la fin");
        if (!item.brut.empty() &&
            (item.brut.data() < texte.data() || item.brut.data() + item.brut.size() > texte.data() + texte.size()))
            return faute("item hors du texte");
        avant = l.position();
        r.items.push_back(item);
    }
    if (l.depasse()) r.erreur = "fin signalée avant d'avoir lu au-delà";
    const auto apres = l.suivantBrut();
    if (!apres.brut.empty() || !l.depasse()) r.erreur = "lecture au-delà de la fin non signalée";
    return r;
}

inline std::string lireitem(std::string_view texte)
{
    const Lecture lu = toutLire(texte);
    if (!lu.erreur.empty()) return lu.erreur;
    std::string ligne;
    for (std::size_t i = 0; i < lu.items.size(); ++i) {
        const auto& item = lu.items[i];
        if (!item.entreGuillemets) {
            const auto b = item.brut;
            if (b.find_first_of(",\r\n") != std::string_view::npos) return "séparateur dans un item";
            if (!b.empty() && (b.front() == ' ' || b.front() == '\t' || b.back() == ' ' || b.back() == '\t'))
                return "blanc autour d'un item";
        }
        if (i) ligne += ',';
        ajouterItem(ligne, item.brut);
    }
    if (!lu.items.empty()) ligne += "\r\n";
    // Written back as a line, the items read back the same: what the
    // rewrites of the index and of the machine list rely on.
    const Lecture relu = toutLire(ligne);
    if (relu.items.size() != lu.items.size()) return "relecture : nombre d'items différent";
    for (std::size_t i = 0; i < relu.items.size(); ++i)
        if (relu.items[i].brut != lu.items[i].brut) return "relecture : item " + std::to_string(i) + " différent";
    if (cp1252::depuisUtf8(cp1252::versUtf8(texte)) != texte) return "aller-retour Windows-1252 infidèle";
    return {};
}

inline std::string lirenombre(std::string_view texte)
{
    const double v = tarvex::lirenombre(texte);
    if (std::isnan(v)) return "NaN";
    // A comma always ends the number.
    std::string suivi(texte);
    suivi += ",9";
    const double w = tarvex::lirenombre(suivi);
    if (!(v == w)) return "la virgule ne termine pas le nombre";
    // Blanks count for nothing wherever they stand.
    std::string sans;
    for (char c : texte)
        if (c != ' ' && c != '\t' && c != '\n') sans.push_back(c);
    if (!(tarvex::lirenombre(sans) == v)) return "les blancs changent le nombre";
    if (estNombre(texte) && texte.find(',') != std::string_view::npos) return "un texte à virgule pris pour un nombre";
    return {};
}

inline std::string index(std::string_view octets)
{
    std::vector<EnregistrementBrut> recs;
    int attendu = 0;
    std::string erreur;
    parcourirIndex(octets, [&](int n, const EnregistrementBrut& b) {
        if (n != attendu++) erreur = "numérotation des enregistrements";
        recs.push_back(b);
        return true;
    });
    if (!erreur.empty()) return erreur;
    // Records are the items sixteen at a time.
    const auto items = toutLire(octets).items;
    if (recs.size() != items.size() / kChampsParEnregistrement) return "nombre d'enregistrements";
    for (std::size_t r = 0; r < recs.size(); ++r)
        for (int c = 0; c < kChampsParEnregistrement; ++c)
            if (recs[r][c] != items[r * kChampsParEnregistrement + c].brut)
                return "champ " + std::to_string(c + 1) + " de l'enregistrement " + std::to_string(r + 1);

    const auto liste = entreesListe(octets);
    if (liste.valeur.size() != recs.size()) return "liste et index de tailles différentes";
    for (std::size_t i = 1; i < liste.valeur.size(); ++i)
        if (cleTri(liste.valeur[i].texte) < cleTri(liste.valeur[i - 1].texte)) return "liste mal triée";
    if (recs.empty()) return {};

    // A rewrite drops exactly the records of the key and copies the others
    // so that they read back the same; with the target's own rebuilt line
    // as replacement, nothing changes.
    const Enregistrement cible = decoder(recs[recs.size() / 2]);
    const std::string cle = cleEnregistrement(cible);
    for (const bool suppression : {true, false}) {
        const std::string nouveau = reconstruireIndex(
            octets, cle, suppression ? std::nullopt : std::optional<std::string>(ligneReconstruite(cible)));
        std::vector<Enregistrement> relus;
        parcourirIndex(nouveau, [&](int, const EnregistrementBrut& b) {
            relus.push_back(decoder(b));
            return true;
        });
        std::size_t j = 0;
        for (const auto& b : recs) {
            const Enregistrement e = decoder(b);
            if (suppression && cleEnregistrement(e) == cle) continue;
            if (j >= relus.size()) return "enregistrement perdu par la réécriture";
            const Enregistrement& r = relus[j++];
            const Enregistrement& modele = cleEnregistrement(e) == cle ? cible : e;
            for (int k = 0; k < kChampsParEnregistrement; ++k) {
                const bool rogne = k == CPhase || k == CMatiere;
                if ((rogne ? sansBlancs(modele[k]) : modele[k]) != (rogne ? sansBlancs(r[k]) : r[k]))
                    return "champ " + std::to_string(k + 1) + " changé par la réécriture";
            }
        }
        if (j != relus.size()) return "enregistrement ajouté par la réécriture";
    }
    return {};
}

inline std::string com(std::string_view octets)
{
    const auto r = analyserCom(octets, "com.txt");
    if (!r.ok()) return {};
    const Lecture lu = toutLire(octets);
    const std::size_t n = lu.items.size();
    // Whole groups of seven, possibly followed by empty lines; the last
    // group is the one kept.
    const std::size_t groupes = n / 7;
    if (groupes == 0) return "accepté sans sept valeurs";
    for (std::size_t i = groupes * 7; i < n; ++i)
        if (!lu.items[i].brut.empty()) return "valeurs en trop acceptées";
    const auto& v = r.valeur;
    const std::string* valeurs[7] = {&v.port, &v.vitesse, &v.parite, &v.bits, &v.arret, &v.type, &v.directeur};
    for (int i = 0; i < 7; ++i)
        if (*valeurs[i] != cp1252::versUtf8(lu.items[(groupes - 1) * 7 + static_cast<std::size_t>(i)].brut))
            return "la dernière série ne l'emporte pas";
    return {};
}

// Whatever a line delivers, in whatever pieces: the same programs as the
// bytes given whole, none holding a DC3 or passing the bound, each stored
// with CR LF line ends only, and a request read from any of them.
inline std::string recu(std::string_view octets)
{
    constexpr std::size_t kLimite = 64;
    const bool fanuc = !octets.empty() && (octets.front() & 1);
    auto lire = [&](std::size_t pas) {
        dnc::Lecture l(fanuc, kLimite);
        std::vector<dnc::ProgrammeRecu> r;
        for (std::size_t i = 0; i < octets.size(); i += pas)
            for (auto& p : l.ajouter(octets.substr(i, pas))) r.push_back(std::move(p));
        if (auto reste = l.couper()) r.push_back(std::move(*reste));
        return r;
    };
    const auto entier = lire(octets.size() + 1);
    for (std::size_t pas : {std::size_t{1}, std::size_t{7}}) {
        const auto morceaux = lire(pas);
        if (morceaux.size() != entier.size()) return "découpage : nombre de programmes différent";
        for (std::size_t i = 0; i < entier.size(); ++i)
            if (morceaux[i].octets != entier[i].octets || morceaux[i].complet != entier[i].complet)
                return "découpage : programme " + std::to_string(i) + " différent";
    }
    for (const auto& p : entier) {
        if (p.octets.find(kDC3) != std::string::npos) return "DC3 dans un programme";
        if (p.octets.size() > kLimite) return "programme au-delà de la limite";
        const std::string stocke = recus::texteStocke(p.octets);
        for (std::size_t i = 0; i < stocke.size(); ++i)
            if (stocke[i] == '\r' ? i + 1 == stocke.size() || stocke[i + 1] != '\n'
                                   : stocke[i] == '\n' && (i == 0 || stocke[i - 1] != '\r'))
                return "fin de ligne autre que CR LF";
        (void)dnc::lireDemande(p.octets);
    }
    return {};
}

}  // namespace tarvex::fuzz
