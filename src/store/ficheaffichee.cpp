#include "store/ficheaffichee.h"

#include "store/chemins.h"
#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/lecteur.h"

#include <algorithm>
#include <utility>

namespace tarvex {

ProgrammeFiche lireProgrammeFiche(const std::string& dossier, bool present)
{
    ProgrammeFiche r;
    r.present = present;
    if (!present) return r;
    Lu<std::string> listing = lireprogramme(dossier);
    Lu<std::vector<std::string>> notes = annotations(dossier);
    r.texte = std::move(listing.valeur);
    r.annotations = std::move(notes.valeur);
    r.lu = listing.ok();
    r.problemes = std::move(listing.problemes);
    if (r.lu) r.problemes = std::move(notes.problemes);  // the same file: told once
    return r;
}

std::string FicheAffichee::dossier() const { return dossierFicheLu(nomdossierEnregistrement(champs)); }

std::string FicheAffichee::machine() const { return sansBlancs(champs[CMachine]); }

bool FicheAffichee::drapeau(Champ champ) const { return sansBlancs(champs[champ]) == "O"; }

int FicheAffichee::genre() const { return codeMachine(com.valeur.type); }

int FicheAffichee::directeur() const { return comLu() ? codeMachine(com.valeur.directeur) : -1; }

namespace {

EmpreintesFiche empreintes(const Enregistrement& champs)
{
    EmpreintesFiche e;
    e.ligne = ligneEnregistrement(champs);
    const std::string dossier = dossierFicheLu(nomdossierEnregistrement(champs));
    std::vector<std::string> noms = fichiers::lister(dossier);
    std::sort(noms.begin(), noms.end());
    for (auto& nom : noms) {
        // Files only: a folder in there (a storing's scratch place left by a
        // failure) is none of the sheet's.
        const Empreinte t = empreinte(dossier + nom);
        if (t.presente) e.fichiers.emplace_back(std::move(nom), t);
    }
    return e;
}

}  // namespace

std::optional<EmpreintesFiche> empreintesFiche(const Enregistrement& champs)
{
    const std::string cle = cleEnregistrement(champs);
    const Lu<Index> index = lireIndex();
    for (const auto& e : index.valeur.enregistrements)
        if (cleEnregistrement(e) == cle) return empreintes(e);
    return std::nullopt;
}

namespace {

EmpreintesFiche valeurs(EmpreintesFiche e)
{
    std::erase_if(e.fichiers, [](const std::pair<std::string, Empreinte>& f) {
        std::string nom = f.first;
        for (char& c : nom)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return nom != "pref.txt" && nom != "origine.txt";
    });
    return e;
}

}  // namespace

EtatFiche comparerFiche(const FicheAffichee& fiche, bool valeursSeules)
{
    const std::string cle = cleEnregistrement(fiche.champs);
    const Lu<Index> index = lireIndex();
    if (!index.ok() && index.valeur.enregistrements.empty()) return EtatFiche::Inchangee;
    for (const auto& e : index.valeur.enregistrements) {
        if (cleEnregistrement(e) != cle) continue;
        const bool pareille = valeursSeules ? valeurs(empreintes(e)) == valeurs(fiche.vue) : empreintes(e) == fiche.vue;
        return pareille ? EtatFiche::Inchangee : EtatFiche::Modifiee;
    }
    return EtatFiche::Supprimee;
}

bool inchangeeHorsStatut(const Enregistrement& champs, const EmpreintesFiche& vue)
{
    auto horsStatut = [](EmpreintesFiche e) {
        std::erase_if(e.fichiers, [](const std::pair<std::string, Empreinte>& f) {
            return cp1252::replier(f.first) == "statut.txt";
        });
        return e;
    };
    const std::optional<EmpreintesFiche> maintenant = empreintesFiche(champs);
    return maintenant && horsStatut(*maintenant) == horsStatut(vue);
}

std::vector<std::pair<std::string, Empreinte>> empreintesDossier(const Enregistrement& champs)
{
    return empreintes(champs).fichiers;
}

Lu<std::optional<FicheAffichee>> lireFicheAffichee(int numero)
{
    Lu<std::optional<FicheAffichee>> r;
    Lu<std::optional<Enregistrement>> enregistrement = lireEnregistrement(numero);
    r.problemes = std::move(enregistrement.problemes);
    if (!enregistrement.valeur) return r;

    FicheAffichee& f = r.valeur.emplace();
    f.champs = std::move(*enregistrement.valeur);
    // The stamps before the files: a change that lands while they are read
    // (a slow share) then shows as a change, never as old values under new
    // stamps that a storing here would put back without a word.
    f.vue = empreintes(f.champs);
    const std::string dossier = f.dossier();
    f.dossierPresent = fichiers::estDossier(dossier);
    if (!f.dossierPresent) r.signaler(dossier, "dossier de la fiche introuvable");
    // Without its folder a sheet has none of its files: one line says so,
    // rather than one per file.
    auto oter = [&](Problemes& p) {
        if (!f.dossierPresent)
            std::erase_if(p, [&](const Probleme& x) { return x.fichier.compare(0, dossier.size(), dossier) == 0; });
    };
    auto garder = [&](auto lu) {
        oter(lu.problemes);
        return lu;
    };

    f.programme = lireProgrammeFiche(dossier, f.drapeau(CProgramme));
    oter(f.programme.problemes);

    const std::string machine = f.machine();
    f.com = lirecom(machine);
    f.dossierMachinePresent = chemins::nomSur(machine) && fichiers::estDossier(dossierMachine(machine));

    switch (f.directeur()) {
    case kNum: f.pref = garder(lirepref(dossier, f.genre())); break;
    case kFanuc: f.origine = garder(lireorigine(dossier, f.genre())); break;
    case kFagor: f.infos = garder(lireinfos(dossier)); break;
    default: break;
    }
    f.jauges = garder(lirejauges(dossier));
    return r;
}

}  // namespace tarvex
