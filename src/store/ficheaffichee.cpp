#include "store/ficheaffichee.h"

#include "store/chemins.h"
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

Lu<std::optional<FicheAffichee>> lireFicheAffichee(int numero)
{
    Lu<std::optional<FicheAffichee>> r;
    Lu<std::optional<Enregistrement>> enregistrement = lireEnregistrement(numero);
    r.problemes = std::move(enregistrement.problemes);
    if (!enregistrement.valeur) return r;

    FicheAffichee& f = r.valeur.emplace();
    f.champs = std::move(*enregistrement.valeur);
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
