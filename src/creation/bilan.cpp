#include "creation/bilan.h"

#include "creation/analyse.h"
#include "store/fichiers.h"

namespace tarvex::creation {

namespace {

const std::string kVide = " ";
const std::string kCinq = "     ";

}  // namespace

Bilan construireBilan(const SaisieFiche& s, const std::function<bool(const std::string&)>& imageLisible)
{
    Bilan b;
    const bool fraiseuse = s.typmachin == "2";
    const bool tour = s.typmachin == "1";

    // List1
    b.donnees = {"Pièce : " + s.piece, "Phase : " + s.phase, kVide,          "Matière : " + s.matiere,
                 "Ensemble : " + s.ensemble, kVide,        "Machine : " + s.machine};

    // List2
    auto& c = b.chemins;
    c.push_back("Chemin - Listing Programme : ");
    c.push_back(kCinq + s.programme);
    std::vector<Photo> offertes;
    if (tour) offertes = {PVue, PMont1, PInst, PPrefz};
    if (fraiseuse) offertes = {PVue, PMont1, PMont2, PInst, PButee, PBride, PPrefx, PPrefy, PPrefz};
    for (Photo p : offertes) {
        c.push_back(std::string("Chemin - ") + kModelesPhotos[p].legende + " :");
        c.push_back(kCinq + s.photos[p]);
    }
    c.push_back(kVide);
    c.push_back("Chemin - Dossier Technique :");
    c.push_back(kCinq + s.dossierTechnique);

    // List3
    auto& v = b.valeurs;
    if (s.typdirect == "1") {
        v.push_back("Valeurs des PREF : ");
        v.push_back("   Suivant X : " + s.prefx);
        if (fraiseuse) v.push_back("   Suivant Y : " + s.prefy);
        v.push_back("   Suivant Z : " + s.prefz);
        v.push_back(kVide);
        v.push_back("Valeurs des DEC : ");
        v.push_back("   Suivant X : " + s.decx);
        if (fraiseuse) v.push_back("   Suivant Y : " + s.decy);
        v.push_back("   Suivant Z : " + s.decz);
        v.push_back(kVide);
    }
    if (s.typdirect == "3") {
        v.push_back("Origine utilisée : " + s.decalage);
        v.push_back(kVide);
        v.push_back("Valeurs des Décalages d'origine : ");
        v.push_back("   Suivant X : " + s.originex);
        if (fraiseuse) v.push_back("   Suivant Y : " + s.originey);
        v.push_back("   Suivant Z : " + s.originez);
        v.push_back(kVide);
    }
    v.push_back("Valeurs des Jauges Outils : ");
    v.push_back(s.jauge);

    // List4: every check runs, whatever the earlier ones found.
    auto& a = b.analyse;
    auto noter = [&](const std::string& titre, analyse::Verdict verdict) {
        a.push_back(titre);
        a.emplace_back(verdict.ligne);
        a.push_back(kVide);
        if (verdict.refuse) b.refuse = true;
    };
    noter("Analyse nom de pièce ... ", analyse::analysenom(s.piece));
    noter("Analyse numéro de phase ... ", analyse::analysephase(s.phase));
    noter("Analyse nom de la matière ... ", analyse::analysenom(s.matiere));
    noter("Analyse nom de l'ensemble ... ", analyse::analysenom(s.ensemble));
    noter("Analyse nom de la machine ... ", analyse::analysemachine(s.machine));

    // The part picture is required; a chosen picture that cannot be shown
    // would be stored as a photograph nobody can see.
    analyse::Verdict vue{analyse::kCoherent, false};
    if (s.photos[PVue].empty())
        vue = {analyse::kAbsenceImage, true};
    else if (!imageLisible(s.photos[PVue]))
        vue = {kImageIllisible, true};
    noter("Analyse image pièce ... ", vue);
    std::vector<Photo> copiees = {PMont1, PInst, PPrefz};
    if (fraiseuse) copiees = {PMont1, PMont2, PInst, PButee, PBride, PPrefx, PPrefy, PPrefz};
    for (Photo p : copiees)
        if (!s.photos[p].empty() && !imageLisible(s.photos[p]))
            noter(std::string("Analyse image ") + kModelesPhotos[p].legende + " ... ", {kImageIllisible, true});

    if (s.typdirect == "1") {
        noter("Analyse du PREF X ... ", analyse::analysevaleur(s.prefx));
        if (fraiseuse) noter("Analyse du PREF Y ... ", analyse::analysevaleur(s.prefy));
        noter("Analyse du PREF Z ... ", analyse::analysevaleur(s.prefz));
        noter("Analyse du DEC X ... ", analyse::analysevaleur(s.decx));
        if (fraiseuse) noter("Analyse du DEC Y ... ", analyse::analysevaleur(s.decy));
        noter("Analyse du DEC Z ... ", analyse::analysevaleur(s.decz));
    }
    if (s.typdirect == "3") {
        // Said only when refused: the origin is usually picked from its list.
        if (const auto v = analyse::analysedecalage(s.decalage); v.refuse)
            noter("Analyse de l'origine utilisée ... ", v);
        noter("Analyse de l'origine X ... ", analyse::analysevaleur(s.originex));
        if (fraiseuse) noter("Analyse de l'origine Y ... ", analyse::analysevaleur(s.originey));
        noter("Analyse de l'origine Z ... ", analyse::analysevaleur(s.originez));
    }

    // A program saved in UTF-8 is stored in Windows-1252, as every data
    // file; one the code page cannot hold is refused. A file that cannot be
    // read is the writing's check, which names it.
    if (!s.programme.empty())
        if (const auto octets = fichiers::lire(s.programme))
            if (const auto c = analyse::analysetexte(textechoisi::analyser(*octets))) {
                a.push_back("Analyse du programme ... ");
                a.push_back(c->ligne);
                a.push_back(kVide);
                if (c->refuse) b.refuse = true;
            }

    // Reported, not refused: the first hundred are stored.
    if (jaugesRetenues(s.jauge).tronquees()) {
        a.push_back("Analyse des jauges ... ");
        a.push_back(kJaugesTronquees);
        a.push_back(kVide);
    }
    return b;
}

}  // namespace tarvex::creation
