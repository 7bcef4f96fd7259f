#include "modification/bilan.h"

namespace tarvex::bilan {

using namespace stockage;

const std::array<Emplacement, kPhotos> kEmplacementOption = {
    EVue, EMont1, EMont2, EInst, EButee, EBride, EPrefx, EPrefy, EPrefz,
};

creation::SaisieFiche saisie(const Modification& m)
{
    creation::SaisieFiche s;
    s.piece = m.piece;
    s.phase = m.phase;
    s.ensemble = m.ensemble;
    s.matiere = m.matiere;
    s.machine = m.machine;
    s.typmachin = m.genre;
    s.typdirect = m.directeur;
    for (int i = 0; i < kPhotos; ++i) s.photos[i] = m.fichiers[kEmplacementOption[i]].nouveau;
    s.dossierTechnique = m.fichiers[EDossier].nouveau;
    s.programme = m.fichiers[EProgramme].nouveau;
    s.prefx = m.pref.prefX;
    s.prefy = m.pref.prefY;
    s.prefz = m.pref.prefZ;
    s.decx = m.pref.decX;
    s.decy = m.pref.decY;
    s.decz = m.pref.decZ;
    s.decalage = m.origine.origine;
    s.originex = m.origine.x;
    s.originey = m.origine.y;
    s.originez = m.origine.z;
    s.infovrac = m.infos;
    s.jauge = m.jauges;
    return s;
}

creation::Bilan bilanModification(const Modification& m, const std::function<bool(const std::string&)>& imageLisible)
{
    auto nouvelle = [&](const std::string& chemin) {
        for (const auto& f : m.fichiers)
            if (f.nouveau == chemin && !f.change()) return true;
        return imageLisible(chemin);
    };
    // Only a program newly chosen is read: the one the sheet holds is not
    // stored again.
    creation::SaisieFiche s = saisie(m);
    if (!m.fichiers[EProgramme].change()) s.programme.clear();
    creation::Bilan b = creation::construireBilan(s, nouvelle);

    auto& c = b.chemins;
    c.clear();
    auto anciensNouveaux = [&](const Chemins& f) {
        c.push_back("     Ancien : " + f.ancien);
        c.push_back("     Nouveau : " + f.nouveau);
    };
    c.push_back("Chemin - Listing Programme : ");
    anciensNouveaux(m.fichiers[EProgramme]);
    // By the machine kind exactly as the creation report lists its slots.
    const bool tour = m.genre == "1", fraiseuse = m.genre == "2";
    for (int i = 0; i < kPhotos; ++i) {
        const auto& modele = kModelesPhotos[i];
        if (!fraiseuse && !(tour && modele.tournage)) continue;
        c.push_back(std::string("Chemin - ") + modele.legende + " :");
        anciensNouveaux(m.fichiers[kEmplacementOption[i]]);
    }
    c.push_back("Chemin - Dossier Technique :");
    anciensNouveaux(m.fichiers[EDossier]);
    return b;
}

}  // namespace tarvex::bilan
