#include "store/statut.h"

#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/lecteur.h"
#include "store/liste.h"
#include "store/textechoisi.h"
#include "store/texte.h"

#include <cstdio>

namespace tarvex::statut {

namespace {

constexpr std::size_t kChamps = 6;
constexpr std::size_t kIllisiblesCites = 10;  // bad lines quoted one by one

std::string deuxChiffres(int v)
{
    char t[16];
    std::snprintf(t, sizeof t, "%02d", v);
    return t;
}

bool chiffres(std::string_view t, std::string_view forme)
{
    if (t.size() != forme.size()) return false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (forme[i] == '9' ? (t[i] < '0' || t[i] > '9') : t[i] != forme[i]) return false;
    }
    return true;
}

bool blanc(const std::string& t) { return sansBlancs(t).empty(); }

// A line as the file holds it: Windows-1252 as the program writes it, or
// UTF-8 as many editors save a file edited by hand (its byte order mark
// aside). Read as Windows-1252, "Bloquée" typed there would be no status,
// and the one before it would let the sheet go.
std::string texteLigne(std::string_view octets)
{
    if (octets.substr(0, 3) == "\xEF\xBB\xBF") octets.remove_prefix(3);
    return textechoisi::analyser(octets).utf8 ? std::string(octets) : cp1252::versUtf8(octets);
}

// A text of the file quoted in a message: its start is enough to find it,
// and a line of megabytes would hold the window that shows it.
std::string extrait(std::string_view utf8, std::size_t largeur = 80)
{
    if (utf8.size() <= largeur) return std::string(utf8);
    std::size_t n = largeur;
    while (n > 0 && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) --n;
    return std::string(utf8.substr(0, n)) + "…";
}

}  // namespace

const char* nom(Statut s)
{
    switch (s) {
    case Statut::Validee: return "Validée";
    case Statut::Bloquee: return "Bloquée";
    case Statut::EnEssai: break;
    }
    return "En essai";
}

std::optional<Statut> deNom(std::string_view utf8)
{
    for (Statut s : kStatuts)
        if (utf8 == nom(s)) return s;
    return std::nullopt;
}

Ligne ligneDe(Statut s, const std::string& commentaire, const Auteur& auteur, const archives::Instant& quand)
{
    Ligne l;
    l.date = deuxChiffres(quand.jour) + "/" + deuxChiffres(quand.mois) + "/" + std::to_string(quand.annee);
    l.heure = deuxChiffres(quand.heure) + ":" + deuxChiffres(quand.minute) + ":" + deuxChiffres(quand.seconde);
    l.statut = s;
    l.poste = auteur.poste;
    l.utilisateur = auteur.utilisateur;
    l.commentaire = commentaire;
    return l;
}

std::string texte(const Ligne& l)
{
    return ligneDeChamps({l.date, l.heure, nom(l.statut), l.poste, l.utilisateur, l.commentaire});
}

std::optional<Ligne> analyser(std::string_view utf8)
{
    if (!utf8.empty() && utf8.back() == '\r') utf8.remove_suffix(1);
    std::vector<std::string_view> champs;
    for (std::size_t debut = 0;;) {
        const std::size_t fin = utf8.find(';', debut);
        // A comment that a hand edit gave a ";" keeps it: the line is still
        // one change.
        if (fin == std::string_view::npos || champs.size() == kChamps - 1) {
            champs.push_back(utf8.substr(debut));
            break;
        }
        champs.push_back(utf8.substr(debut, fin - debut));
        debut = fin + 1;
    }
    if (champs.size() != kChamps) return std::nullopt;
    const auto statut = deNom(sansBlancs(champs[2]));
    if (!statut || !chiffres(champs[0], "99/99/9999") || !chiffres(champs[1], "99:99:99")) return std::nullopt;
    return Ligne{std::string(champs[0]), std::string(champs[1]), *statut, std::string(champs[3]),
                 std::string(champs[4]), std::string(champs[5])};
}

Lu<Historique> lire(const std::string& dossier)
{
    Lu<Historique> r;
    const std::string chemin = dossier + kFichier;
    const auto octets = fichiers::lire(chemin);
    if (!octets) {
        if (fichiers::existe(chemin)) r.signaler(chemin, "fichier illisible");
        return r;
    }
    const std::string_view t = *octets;
    std::size_t numero = 0;
    for (std::size_t debut = 0; debut < t.size();) {
        std::size_t fin = t.find('\n', debut);
        if (fin == std::string::npos) fin = t.size();
        std::string_view brute = t.substr(debut, fin - debut);
        debut = fin + 1;
        ++numero;
        if (!brute.empty() && brute.back() == '\r') brute.remove_suffix(1);
        const std::string l = texteLigne(brute);
        if (sansBlancs(l).empty()) continue;
        if (auto lu = analyser(l)) {
            r.valeur.lignes.push_back(std::move(*lu));
        } else {
            r.valeur.illisibles.emplace_back(l);
            // Another file saved under this name by mistake: its first
            // lines say so, the rest are counted, and the message stays short.
            if (r.valeur.illisibles.size() <= kIllisiblesCites)
                r.signaler(chemin, "ligne " + std::to_string(numero) + " illisible, ignorée : " + extrait(l));
        }
    }
    if (const std::size_t n = r.valeur.illisibles.size(); n > kIllisiblesCites)
        r.signaler(chemin, std::to_string(n - kIllisiblesCites) + " autres lignes illisibles, ignorées");
    return r;
}

std::optional<Ligne> derniere(const std::string& dossier)
{
    constexpr std::int64_t kFin = 4096;  // many times a line's length
    const std::string chemin = dossier + kFichier;
    const auto fin = fichiers::lireDepuis(chemin, -kFin);
    if (!fin) return std::nullopt;
    std::string_view t(fin->octets);
    // The first piece of a tail cut inside the file may be the end of a line.
    const bool coupe = fin->taille > fin->octets.size();
    while (!t.empty()) {
        const std::size_t n = t.find_last_of('\n', t.size() - 1);
        const std::string_view l = n == std::string_view::npos ? t : t.substr(n + 1);
        if (n == std::string_view::npos && coupe) break;
        if (auto lu = analyser(texteLigne(l))) return lu;
        if (n == std::string_view::npos) return std::nullopt;
        t = t.substr(0, n);
    }
    // Nothing that reads at the end of a long file: the whole history says.
    const Lu<Historique> h = lire(dossier);
    return h.valeur.actuel() ? std::optional(*h.valeur.actuel()) : std::nullopt;
}

std::optional<Statut> actuel(const std::string& dossier)
{
    const auto l = derniere(dossier);
    return l ? std::optional(l->statut) : std::nullopt;
}

std::vector<std::string> statutsDesFiches(std::string_view octetsIndex)
{
    std::vector<std::string> r;
    parcourirIndex(octetsIndex, [&](int numero, const EnregistrementBrut& b) {
        r.resize(static_cast<std::size_t>(numero) + 1);
        const auto s = actuel(dossierFicheLu(nomdossierEnregistrement(decoder(b))));
        if (s) r.back() = nom(*s);
        return true;
    });
    return r;
}

std::string resume(const Historique& h)
{
    const Ligne* l = h.actuel();
    if (!l) return "Statut : —";
    return std::string("Statut : ") + nom(l->statut) + " depuis le " + l->date + " (" + l->poste + ", " +
           l->utilisateur + ")";
}

AvantEnvoi avantEnvoi(const Enregistrement& champs)
{
    AvantEnvoi a;
    const std::string dossier = dossierFicheLu(nomdossierEnregistrement(champs));
    const auto l = derniere(dossier);
    // A history that is there but cannot be read (a share that fails, a
    // file another program holds) may say "Bloquée": nothing goes.
    if (!l && fichiers::existe(dossier + kFichier) && !fichiers::lireDebut(dossier + kFichier, 1)) {
        a.envoi = Envoi::Refuse;
        a.message = "Le statut de la fiche " + nomComplet(champs) + " ne peut pas être lu (" + dossier + kFichier +
                    "). Rien n'a été envoyé.";
        return a;
    }
    if (!l || l->statut == Statut::Validee) return a;
    if (l->statut == Statut::EnEssai) {
        a.envoi = Envoi::Demander;
        a.message = "Programme en essai depuis le " + l->date + " : le charger ?";
        return a;
    }
    a.envoi = Envoi::Refuse;
    // A line written by hand may lack its reason, or hold a page of it:
    // the sentence stays whole.
    const std::string pourquoi = extrait(sansBlancs(l->commentaire), 500);
    a.message = "La fiche " + nomComplet(champs) + " est bloquée" + (pourquoi.empty() ? "" : " : " + pourquoi) +
                ". Rien n'a été envoyé.";
    return a;
}

Exigences exigences(std::optional<Statut> actuel, Statut nouveau)
{
    Exigences e;
    e.commentaire = nouveau == Statut::Bloquee || (actuel == Statut::Validee && nouveau != Statut::Validee);
    e.code = nouveau == Statut::Validee || (actuel == Statut::Bloquee && nouveau != Statut::Bloquee);
    return e;
}

std::string refus(std::optional<Statut> actuel, const Demande& d,
                  const std::function<VerificationCode(const std::string&)>& verifier)
{
    const Exigences e = exigences(actuel, d.nouveau);
    if (e.commentaire && blanc(d.commentaire))
        return d.nouveau == Statut::Bloquee
                   ? "Dire dans « Commentaire » pourquoi la fiche est bloquée : rien n'a été enregistré."
                   : "Dire dans « Commentaire » pourquoi la fiche n'est plus validée : rien n'a été enregistré.";
    if (!e.code) return {};
    const char* pour = d.nouveau == Statut::Validee ? "valider la fiche" : "débloquer la fiche";
    if (d.code.empty())
        return std::string("Le code d'autorisation est nécessaire pour ") + pour + " : rien n'a été enregistré.";
    const VerificationCode v = verifier(d.code);
    if (v.accepte) return {};
    std::string r = "Code autorisation erroné";
    if (v.probleme) r += "\n" + v.probleme->texte();
    return r;
}

Resultat ajouter(const std::string& dossier, const Ligne& l)
{
    try {
        fichiers::ajouterLigne(dossier + kFichier, cp1252::depuisUtf8(texte(l)) + "\r\n");
    } catch (const fichiers::ErreurFichier& e) {
        return Resultat::echec(e.chemin(), e.detail());
    }
    return {};
}

Resultat enEssai(const std::string& dossier, const std::string& commentaire, const Auteur& auteur,
                 const archives::Instant& quand)
{
    return ajouter(dossier, ligneDe(Statut::EnEssai, commentaire, auteur, quand));
}

std::string commentaireRecu(const std::optional<archives::Instant>& quand, const std::string& port)
{
    if (!quand) return "Programme remplacé par un programme reçu";
    const Ligne l = ligneDe(Statut::EnEssai, {}, {}, *quand);
    return "Programme remplacé par celui reçu le " + l.date + " à " + l.heure + " sur " + port;
}

std::string commentaireRestauration(const std::string& dateVersion)
{
    return "Version du " + dateVersion + " restaurée";
}

Fin changer(const FicheAffichee& fiche, const Demande& d, const Auteur& auteur, const archives::Instant& quand,
            const std::function<VerificationCode(const std::string&)>& verifier)
{
    Fin f;
    // Under the lock, so that nothing stores between this look and ours.
    f.etat = comparerFiche(fiche);
    if (f.etat != EtatFiche::Inchangee) return f;
    const std::string nomdossier = nomdossierEnregistrement(fiche.champs);
    const auto dossier = dossierFicheSur(nomdossier);
    if (!dossier) {
        f.resultat = Resultat::echec(dossierFiche(nomdossier), std::string(kNomDouteux) + " ; rien n'a été enregistré");
        return f;
    }
    if (!fichiers::estDossier(*dossier)) {
        f.resultat = Resultat::echec(*dossier, "dossier de la fiche introuvable ; rien n'a été enregistré");
        return f;
    }
    // The rules hold against the status stored now, which is the one shown:
    // the stamps above say nobody changed it since.
    f.historique = lire(*dossier);
    const Ligne* actuel = f.historique.valeur.actuel();
    f.refus = refus(actuel ? std::optional<Statut>(actuel->statut) : std::nullopt, d, verifier);
    if (!f.refus.empty()) return f;
    f.resultat = ajouter(*dossier, ligneDe(d.nouveau, sansBlancs(d.commentaire), auteur, quand));
    f.historique = lire(*dossier);
    f.vue = empreintesFiche(fiche.champs);
    return f;
}

}  // namespace tarvex::statut
