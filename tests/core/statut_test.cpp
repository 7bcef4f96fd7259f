// A sheet's status: its history's line written and read back (hand edits too),
// the rules of a change, and the change stored over the sheet as it was shown.

#include "store/statut.h"

#include "support.h"

namespace tarvex {
namespace {

using statut::Statut;

const archives::Instant kMatin{2026, 12, 7, 8, 5, 9};
const statut::Auteur kPoste1{"POSTE1", "atelier"};
const std::string kDossier = "data\\PIVOT_Phase 20_BRAS_TOUR 1\\";
const std::string kFichier = "data/PIVOT_Phase 20_BRAS_TOUR 1/statut.txt";

TEST(Statut, LigneEcriteEtRelue)
{
    struct Cas {
        Statut statut;
        std::string commentaire, ecrit;
    };
    const Cas cas[] = {
        {Statut::EnEssai, "Création", "07/12/2026;08:05:09;En essai;POSTE1;atelier;Création"},
        {Statut::Bloquee, "bavure; reprendre", "07/12/2026;08:05:09;Bloquée;POSTE1;atelier;bavure, reprendre"},
        {Statut::Validee, "ligne\r\nsuite\ttab\x7F", "07/12/2026;08:05:09;Validée;POSTE1;atelier;ligne??suite?tab?"},
    };
    for (const auto& c : cas) {
        const std::string t = statut::texte(statut::ligneDe(c.statut, c.commentaire, kPoste1, kMatin));
        EXPECT_EQ(t, c.ecrit);
        const auto lu = statut::analyser(t + "\r");
        ASSERT_TRUE(lu) << t;
        EXPECT_EQ(statut::texte(*lu), t);  // every field read back as written
    }
    for (const char* faux : {"", "07/12/2026;08:05:09;En essai;POSTE1;atelier", "7/12/2026;08:05:09;En essai;P;u;c",
                             "07/12/2026;8h05;En essai;P;u;c", "07/12/2026;08:05:09;validée;P;u;c"})
        EXPECT_FALSE(statut::analyser(faux)) << faux;
    // A ";" a hand edit put in the comment stays in it.
    EXPECT_EQ(statut::analyser("07/12/2026;08:05:09;Bloquée;P;u;a;b")->commentaire, "a;b");
}

class Historique : public test::DossierDeTravail {};

TEST_F(Historique, FichierEditeALaMain)
{
    EXPECT_EQ(statut::resume(statut::lire(kDossier).valeur), "Statut : —");
    // Windows-1252, a bad line, an empty line, no line end at the end.
    poser(kFichier, "01/12/2026;10:00:00;En essai;POSTE2;marc;Cr\xe9" "ation\r\nn'importe quoi\r\n\r\n"
                    "02/12/2026;11:00:00;Valid\xe9" "e;POSTE2;marc;bonnes pi\xe8" "ces");
    ASSERT_TRUE(statut::ajouter(kDossier, statut::ligneDe(Statut::Bloquee, "arrêt", kPoste1, kMatin)).ok());
    EXPECT_EQ(contenu(kFichier).substr(contenu(kFichier).find("pi\xe8" "ces")),
              "pi\xe8" "ces\r\n07/12/2026;08:05:09;Bloqu\xe9" "e;POSTE1;atelier;arr\xea" "t\r\n");
    const auto lu = statut::lire(kDossier);
    ASSERT_EQ(lu.valeur.lignes.size(), 3u);
    EXPECT_EQ(lu.valeur.lignes[1].commentaire, "bonnes pièces");
    EXPECT_EQ(lu.valeur.illisibles, std::vector<std::string>{"n'importe quoi"});
    ASSERT_EQ(lu.problemes.size(), 1u);
    EXPECT_EQ(lu.problemes[0].texte(), kDossier + "statut.txt : ligne 2 illisible, ignorée : n'importe quoi");
    EXPECT_EQ(statut::resume(lu.valeur), "Statut : Bloquée depuis le 07/12/2026 (POSTE1, atelier)");
    // The status now, found from the end of a long file, or from its whole.
    EXPECT_EQ(statut::actuel(kDossier), Statut::Bloquee);
    const std::string bloquee = "07/12/2026;08:05:09;Bloqu\xe9" "e;P;u;c\r\n", long_(5000, 'x');
    for (const std::string& t : {long_ + "\r\n" + bloquee + "\r\n", bloquee + long_ + "\r\n"}) {
        poser(kFichier, t);
        EXPECT_EQ(statut::actuel(kDossier), Statut::Bloquee);
    }
    // Saved again in UTF-8 by an editor, or a line added in it; a long bad line quoted short.
    for (const std::string& t : {std::string("\xEF\xBB\xBF" "01/12/2026;10:00:00;Validée;P;u;c\r\n07/12/2026;08:05:09;Bloquée;P;u;c"),
                                 bloquee.substr(0, 20) + "Valid\xe9" "e;P;u;c\r\n07/12/2026;08:05:09;Bloquée;P;u;c\r\n" + long_}) {
        poser(kFichier, t);
        EXPECT_EQ(statut::actuel(kDossier), Statut::Bloquee);
        EXPECT_EQ(statut::lire(kDossier).valeur.lignes.size(), 2u);
    }
    EXPECT_LT(statut::lire(kDossier).problemes.at(0).texte().size(), 200u);
    poser(kFichier, [] { std::string t; for (int i = 0; i < 30; ++i) t += "x\r\n"; return t; }());  // a program saved here
    EXPECT_EQ(statut::lire(kDossier).problemes.back().texte(), kDossier + "statut.txt : 20 autres lignes illisibles, ignorées");
}

TEST(Statut, ReglesDuneDemande)
{
    const auto verifier = [](const std::string& code) { return VerificationCode{code == "TVX2026", std::nullopt}; };
    const std::optional<Statut> aucun;
    struct Cas {
        std::optional<Statut> actuel;
        Statut nouveau;
        std::string commentaire, code, refus;  // the start of the reason; empty: allowed
    };
    // (Blocking, a wrong code, unblocking without it, leaving "Validée" without a reason: statut/fenetre.)
    const Cas cas[] = {
        {aucun, Statut::EnEssai, "", "", ""},
        {Statut::EnEssai, Statut::Bloquee, " ", "", "Dire dans « Commentaire » pourquoi la fiche est bloquée"},
        {Statut::EnEssai, Statut::Validee, "", "", "Le code d'autorisation est nécessaire pour valider"},
        {aucun, Statut::Validee, "", "TVX2026", ""},
        {Statut::Validee, Statut::EnEssai, "retouche", "", ""},
        {Statut::Validee, Statut::Bloquee, "", "", "Dire dans « Commentaire » pourquoi la fiche est bloquée"},
        {Statut::Bloquee, Statut::EnEssai, "", "TVX2026", ""},
        {Statut::Bloquee, Statut::Bloquee, "autre raison", "", ""},
    };
    for (const auto& c : cas) {
        const std::string r = statut::refus(c.actuel, {c.nouveau, c.commentaire, c.code}, verifier);
        EXPECT_TRUE(r.starts_with(c.refus) && r.empty() == c.refus.empty()) << statut::nom(c.nouveau) << " " << r;
    }
}

TEST_F(Historique, ChangementSurLaFicheMontree)
{
    poserFiche("PIVOT,20,TOUR 1,BRAS,XC48,O,N,N,N,N,N,N,N,N,N,N\r\n", {{"Vue.jpg", "JPEG"}});
    poser("data/code.tvx", "TVX2026\r\n");
    FicheAffichee fiche = *lireFicheAffichee(0).valeur;

    // Blocked, then (the stamps it gives back standing for the sheet shown
    // anew) unblocked with the code of data\code.tvx.
    statut::Fin f = statut::changer(fiche, {Statut::Bloquee, " bavure ", ""}, kPoste1, kMatin);
    ASSERT_TRUE(f.enregistre()) << f.refus << joindreProblemes(f.resultat.problemes);
    fiche.vue = *f.vue;
    f = statut::changer(fiche, {Statut::EnEssai, "", "TVX2026"}, kPoste1, kMatin);
    ASSERT_TRUE(f.enregistre()) << f.refus;
    fiche.vue = *f.vue;
    EXPECT_EQ(contenu(kFichier), "07/12/2026;08:05:09;Bloqu\xe9" "e;POSTE1;atelier;bavure\r\n"
                                 "07/12/2026;08:05:09;En essai;POSTE1;atelier;\r\n");

    // Another computer validated it meanwhile: refused, nothing written.
    const std::string ailleurs = contenu(kFichier) + "07/12/2026;08:06:00;Valid\xe9" "e;POSTE2;marc;ok\r\n";
    poser(kFichier, ailleurs);
    EXPECT_EQ(statut::changer(fiche, {Statut::Bloquee, "bavure", ""}, kPoste1, kMatin).etat, EtatFiche::Modifiee);
    EXPECT_EQ(contenu(kFichier), ailleurs);
    // Shown anew, the rules hold against that stored "Validée".
    fiche = *lireFicheAffichee(0).valeur;
    EXPECT_NE(statut::changer(fiche, {Statut::EnEssai, "", ""}, kPoste1, kMatin).refus, "");
}

}  // namespace
}  // namespace tarvex
