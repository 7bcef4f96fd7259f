#include "creation/bilan.h"

#include "store/analyse.h"
#include "store/fichiers.h"

namespace tarvex::creation {

namespace {

const std::string kVide = " ";
const std::string kCinq = "     ";

using Lignes = std::vector<std::string>;
using ImageLisible = std::function<bool(const std::string&)>;

bool fraiseuse(const SaisieFiche& s) { return s.typmachin == "2"; }

// List1
Lignes donnees(const SaisieFiche& s)
{
    return {"Pièce : " + s.piece, "Phase : " + s.phase, kVide,          "Matière : " + s.matiere,
            "Ensemble : " + s.ensemble, kVide,        "Machine : " + s.machine};
}

// List2: the chosen files, the pictures those of the machine's kind.
Lignes chemins(const SaisieFiche& s)
{
    Lignes c;
    c.push_back("Chemin - Listing Programme : ");
    c.push_back(kCinq + s.programme);
    std::vector<Photo> offertes;
    if (s.typmachin == "1") offertes = {PVue, PMont1, PInst, PPrefz};
    if (fraiseuse(s)) offertes = {PVue, PMont1, PMont2, PInst, PButee, PBride, PPrefx, PPrefy, PPrefz};
    for (Photo p : offertes) {
        c.push_back(std::string("Chemin - ") + kModelesPhotos[p].legende + " :");
        c.push_back(kCinq + s.photos[p]);
    }
    c.push_back(kVide);
    c.push_back("Chemin - Dossier Technique :");
    c.push_back(kCinq + s.dossierTechnique);
    return c;
}

// List3: the values of the CNC type, each offset along the machine's axes.
Lignes valeurs(const SaisieFiche& s)
{
    Lignes v;
    auto axes = [&](const char* titre, const std::string& x, const std::string& y, const std::string& z) {
        v.push_back(titre);
        v.push_back("   Suivant X : " + x);
        if (fraiseuse(s)) v.push_back("   Suivant Y : " + y);
        v.push_back("   Suivant Z : " + z);
        v.push_back(kVide);
    };
    if (s.typdirect == "1") {
        axes("Valeurs des PREF : ", s.prefx, s.prefy, s.prefz);
        axes("Valeurs des DEC : ", s.decx, s.decy, s.decz);
    }
    if (s.typdirect == "3") {
        v.push_back("Origine utilisée : " + s.decalage);
        v.push_back(kVide);
        axes("Valeurs des Décalages d'origine : ", s.originex, s.originey, s.originez);
    }
    v.push_back("Valeurs des Jauges Outils : ");
    v.push_back(s.jauge);
    return v;
}

// List4: every check runs, whatever the earlier ones found.
class Analyse {
public:
    explicit Analyse(Bilan& b) : b_(b) {}

    void noter(const std::string& titre, const analyse::Verdict& verdict)
    {
        b_.analyse.push_back(titre);
        b_.analyse.emplace_back(verdict.ligne);
        b_.analyse.push_back(kVide);
        if (verdict.refuse) b_.refuse = true;
    }
    // "Analyse du PREF X ... " and so on, Y for milling only.
    void axes(const std::string& quoi, const SaisieFiche& s, const std::string& x, const std::string& y,
              const std::string& z)
    {
        noter(quoi + " X ... ", analyse::analysevaleur(x));
        if (fraiseuse(s)) noter(quoi + " Y ... ", analyse::analysevaleur(y));
        noter(quoi + " Z ... ", analyse::analysevaleur(z));
    }

private:
    Bilan& b_;
};

// The part picture is required; a chosen picture that cannot be shown
// would be stored as a photograph nobody can see.
void analyserImages(Analyse& a, const SaisieFiche& s, const ImageLisible& imageLisible)
{
    analyse::Verdict vue{analyse::kCoherent, false};
    if (s.photos[PVue].empty())
        vue = {analyse::kAbsenceImage, true};
    else if (!imageLisible(s.photos[PVue]))
        vue = {kImageIllisible, true};
    a.noter("Analyse image pièce ... ", vue);
    std::vector<Photo> copiees = {PMont1, PInst, PPrefz};
    if (fraiseuse(s)) copiees = {PMont1, PMont2, PInst, PButee, PBride, PPrefx, PPrefy, PPrefz};
    for (Photo p : copiees)
        if (!s.photos[p].empty() && !imageLisible(s.photos[p]))
            a.noter(std::string("Analyse image ") + kModelesPhotos[p].legende + " ... ", {kImageIllisible, true});
}

void analyserValeurs(Analyse& a, const SaisieFiche& s)
{
    if (s.typdirect == "1") {
        a.axes("Analyse du PREF", s, s.prefx, s.prefy, s.prefz);
        a.axes("Analyse du DEC", s, s.decx, s.decy, s.decz);
    }
    if (s.typdirect == "3") {
        // Said only when refused: the origin is usually picked from its list.
        if (const auto v = analyse::analysedecalage(s.decalage); v.refuse)
            a.noter("Analyse de l'origine utilisée ... ", v);
        a.axes("Analyse de l'origine", s, s.originex, s.originey, s.originez);
    }
}

}  // namespace

Bilan construireBilan(const SaisieFiche& s, const ImageLisible& imageLisible)
{
    Bilan b;
    b.donnees = donnees(s);
    b.chemins = chemins(s);
    b.valeurs = valeurs(s);

    Analyse a(b);
    a.noter("Analyse nom de pièce ... ", analyse::analysenom(s.piece));
    a.noter("Analyse numéro de phase ... ", analyse::analysephase(s.phase));
    a.noter("Analyse nom de la matière ... ", analyse::analysenom(s.matiere));
    a.noter("Analyse nom de l'ensemble ... ", analyse::analysenom(s.ensemble));
    a.noter("Analyse nom de la machine ... ", analyse::analysemachine(s.machine));
    analyserImages(a, s, imageLisible);
    analyserValeurs(a, s);

    // A program saved in UTF-8 is stored in Windows-1252, as every data
    // file; one the code page cannot hold is refused. A file that cannot be
    // read is the writing's check, which names it.
    if (!s.programme.empty())
        if (const auto octets = fichiers::lire(s.programme))
            if (const auto c = analyse::analysetexte(textechoisi::analyser(*octets)))
                a.noter("Analyse du programme ... ", {c->ligne, c->refuse});

    // Reported, not refused: the first hundred are stored.
    if (jaugesRetenues(s.jauge).tronquees()) a.noter("Analyse des jauges ... ", {kJaugesTronquees, false});
    return b;
}

}  // namespace tarvex::creation
