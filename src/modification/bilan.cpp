#include "modification/bilan.h"

#include "creation/analyse.h"
#include "store/lecteur.h"
#include "store/machines.h"

namespace tarvex::bilan {

using namespace stockage;

const std::array<OptionImage, 9> kOptionsImages = {{
    {"Option11", "Vue de la pièce", EVue, true},
    {"Option10", "Montage d'usinage 1", EMont1, true},
    {"Option3", "Montage d'usinage 2", EMont2, false},
    {"Option4", "Installation / machine", EInst, true},
    {"Option5", "Mise en butée", EButee, false},
    {"Option6", "Bridage", EBride, false},
    {"Option7", "Palpage X", EPrefx, false},
    {"Option8", "Palpage Y", EPrefy, false},
    {"Option9", "Palpage Z", EPrefz, true},
}};

namespace {

constexpr int kTournage = 1, kFraisage = 2;
constexpr int kNum = 1, kFanuc = 3;

void anciensNouveaux(std::vector<std::string>& l, const Chemins& c)
{
    l.push_back("     Ancien : " + c.ancien);
    l.push_back("     Nouveau : " + c.nouveau);
}

}  // namespace

Bilan bilanModification(const Saisie& s)
{
    Bilan b;
    const int genre = codeMachine(sansBlancs(s.genre));
    const int directeur = codeMachine(sansBlancs(s.directeur));
    const bool y = genre == kFraisage;

    b.designation = {"Pièce : " + s.piece,       "Phase : " + s.phase, " ", "Matière : " + s.matiere,
                     "Ensemble : " + s.ensemble, " ",                  "Machine : " + s.machine};

    b.chemins.push_back("Chemin - Listing Programme : ");
    anciensNouveaux(b.chemins, s.fichiers[EProgramme]);
    if (genre == kTournage || genre == kFraisage) {
        for (std::size_t i = 0; i < kOptionsImages.size(); ++i) {
            const OptionImage& o = kOptionsImages[i];
            if (genre == kTournage && !o.tournage) continue;
            b.chemins.push_back("Chemin - " + s.legendes[i] + " :");
            anciensNouveaux(b.chemins, s.fichiers[o.emplacement]);
        }
    }
    b.chemins.push_back("Chemin - Dossier Technique :");
    anciensNouveaux(b.chemins, s.fichiers[EDossier]);

    auto suivant = [&](const char* axe, const std::string& v) { b.valeurs.push_back(std::string("   Suivant ") + axe + " : " + v); };
    if (directeur == kNum) {
        b.valeurs.push_back("Valeurs des PREF : ");
        suivant("X", s.pref.prefX);
        if (y) suivant("Y", s.pref.prefY);
        suivant("Z", s.pref.prefZ);
        b.valeurs.push_back(" ");
        b.valeurs.push_back("Valeurs des DEC : ");
        suivant("X", s.pref.decX);
        if (y) suivant("Y", s.pref.decY);
        suivant("Z", s.pref.decZ);
        b.valeurs.push_back(" ");
    } else if (directeur == kFanuc) {
        b.valeurs.push_back("Origine utilisée : " + s.origine.origine);
        b.valeurs.push_back(" ");
        b.valeurs.push_back("Valeurs des Décalages d'origine : ");
        suivant("X", s.origine.x);
        if (y) suivant("Y", s.origine.y);
        suivant("Z", s.origine.z);
        b.valeurs.push_back(" ");
    }
    b.valeurs.push_back("Valeurs des Jauges Outils : ");
    b.valeurs.push_back(s.jauges);

    auto verdict = [&](const char* titre, const analyse::Verdict& v) {
        b.analyse.push_back(titre);
        b.analyse.push_back(std::string(v.ligne));
        b.analyse.push_back(" ");
        if (v.refuse) b.refuse = true;
    };
    verdict("Analyse nom de pièce ... ", analyse::analysenom(s.piece));
    verdict("Analyse numéro de phase ... ", analyse::analysephase(s.phase));
    verdict("Analyse nom de la matière ... ", analyse::analysenom(s.matiere));
    verdict("Analyse nom de l'ensemble ... ", analyse::analysenom(s.ensemble));
    verdict("Analyse nom de la machine ... ", analyse::analysemachine(s.machine));
    verdict("Analyse image pièce ... ", s.fichiers[EVue].nouveau.empty() ? analyse::Verdict{analyse::kAbsenceImage, true}
                                                                          : analyse::Verdict{analyse::kCoherent, false});
    if (directeur == kNum) {
        verdict("Analyse du PREF X ... ", analyse::analysevaleur(s.pref.prefX));
        if (y) verdict("Analyse du PREF Y ... ", analyse::analysevaleur(s.pref.prefY));
        verdict("Analyse du PREF Z ... ", analyse::analysevaleur(s.pref.prefZ));
        verdict("Analyse du DEC X ... ", analyse::analysevaleur(s.pref.decX));
        if (y) verdict("Analyse du DEC Y ... ", analyse::analysevaleur(s.pref.decY));
        verdict("Analyse du DEC Z ... ", analyse::analysevaleur(s.pref.decZ));
    } else if (directeur == kFanuc) {
        verdict("Analyse de l'origine X ... ", analyse::analysevaleur(s.origine.x));
        if (y) verdict("Analyse de l'origine Y ... ", analyse::analysevaleur(s.origine.y));
        verdict("Analyse de l'origine Z ... ", analyse::analysevaleur(s.origine.z));
    }
    return b;
}

}  // namespace tarvex::bilan
