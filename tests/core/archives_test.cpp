// The archives: what a storing step copies aside before it removes or
// replaces, how the versions are offered back, and the restoring, stopped at
// each of its file operations in turn.

#include "archives/remplacement.h"
#include "store/archives.h"
#include "store/index.h"

#include "support.h"

namespace tarvex {
namespace {

using archives::Instant;
using archives::Motif;
using archives::Restauration;

const std::string kPivot = "PIVOT,20,TOUR 1,BRAS,XC48,O,N,N,N,N,N,N,N,N,N,O";
const std::string kAxe = "AXE,10,TOUR 1,BRAS,ACIER,O,N,N,N,N,N,N,N,N,N,O\r\n";
const std::string kNom = "PIVOT_Phase 20_BRAS_TOUR 1";
const std::string kDossier = "data/" + kNom + "/";
const Instant kMidi{2026, 12, 7, 12, 0, 5};
const Instant kSoir{2026, 12, 7, 18, 30, 0};

class Archives : public test::DossierDeTravail {
protected:
    void SetUp() override { test::DossierDeTravail::SetUp(), preparer(); }

    static void preparer()
    {
        std::filesystem::remove_all("data");
        poserFiche(kAxe, {{"Vue.jpg", "JPEG axe"}, {"prog.txt", "%1\r\nN10 G0 X0\r\n"}});
        poserFiche(kPivot, {{"Vue.jpg", "JPEG pivot"}, {"prog.txt", "%2\r\nN10 G1 X5\r\n"}, {"jauge.txt", "T1\r\n"}});
        poserMachine("TOUR 1");
    }

    static std::vector<archives::Version> versions()
    {
        const auto lu = archives::lister();
        EXPECT_TRUE(lu.ok()) << joindreProblemes(lu.problemes);
        return lu.valeur;
    }

    static Resultat archiver(Motif motif, const std::vector<std::string>& fichiers, const Instant& quand = kMidi)
    {
        return {archives::archiver(kNom, kPivot, motif, fichiers, quand).problemes};
    }

    // Deletes PIVOT as a deletion does once it has archived it.
    static void supprimerPivot()
    {
        ASSERT_TRUE(archiver(Motif::Suppression, archives::fichiersDuDossier(kNom)).ok());
        std::filesystem::remove_all(kDossier);
        poser("data/data.txt", kAxe);
    }
};

TEST_F(Archives, UneVersionGardeLesFichiersLaFicheEtLeMotif)
{
    // (A version's files, record and motive, a second one beside it in the same
    // second: archives/programme-recu.) A file gone is left out; run again on the
    // same files (a step taken up after a stop), no second copy; changed, a new one.
    const auto a = archives::archiver(kNom, kPivot, Motif::ProgrammeRecu, {"prog.txt", "absent.jpg"}, kMidi);
    ASSERT_EQ(a.valeur, "data\\archives\\" + kNom + "\\20261207-120005\\");
    EXPECT_EQ(instantane("data/archives/" + kNom + "/20261207-120005").size(), 3u);  // prog.txt, fiche.txt, motif.txt
    EXPECT_EQ(archives::archiver(kNom, kPivot, Motif::ProgrammeRecu, {"prog.txt"}, kMidi).valeur, a.valeur);
    EXPECT_EQ(contenu(kDossier + "prog.txt"), "%2\r\nN10 G1 X5\r\n");
    poser(kDossier + "prog.txt", "%3\r\n");
    EXPECT_EQ(archives::archiver(kNom, kPivot, Motif::ProgrammeRecu, {"prog.txt"}, kMidi).valeur,
              "data\\archives\\" + kNom + "\\20261207-120005-2\\");
}

TEST_F(Archives, LesVersionsSontOffertesLesPlusRecentesDAbord)
{
    const std::string axe = kAxe.substr(0, kAxe.size() - 2);
    archives::archiver("AXE_Phase 10_BRAS_TOUR 1", axe, Motif::Modification, {"prog.txt"}, kMidi);
    archiver(Motif::Suppression, archives::fichiersDuDossier(kNom), kSoir);
    archives::archiver("AXE_Phase 10_BRAS_TOUR 1", axe, Motif::Restauration, {"Vue.jpg"}, kMidi);
    // Left by a step stopped before its motif: never offered. A stray folder neither.
    poser("data/archives/AXE_Phase 10_BRAS_TOUR 1/20261208-000000/prog.txt", "x");
    poser("data/archives/AXE_Phase 10_BRAS_TOUR 1/notes/motif.txt", "x");

    // (Newest first, each with its date, motive and files: archives/demo-supprimee-modifiee.)
    const auto v = versions();
    ASSERT_EQ(v.size(), 3u);
    ASSERT_TRUE(v[0].fiche);
    EXPECT_EQ((*v[0].fiche)[CMatiere], "XC48");  // the deletion, last of all
}

TEST_F(Archives, UneFicheSupprimeeRevientEntiere)
{
    // Notes of the workshop's named as a version's own files.
    poser(kDossier + "Fiche.TXT", "note");
    poser(kDossier + "motif.txt", "autre note");
    const std::string historique = "01/12/2026;08:00:00;Valid\xe9" "e;POSTE2;marc;bonnes pi\xe8" "ces\r\n";
    const std::string restauree = "07/12/2026;18:30:00;En essai;POSTE1;atelier;Version du 07/12/2026 12:00:05 "
                                  "restaur\xe9" "e\r\n";
    poser(kDossier + "statut.txt", historique);
    const Instantane avant = instantane();
    supprimerPivot();
    const auto v = versions();
    ASSERT_EQ(v.size(), 1u);
    const Restauration r = archives::restaurer(v[0], kSoir, {"POSTE1", "atelier"});
    ASSERT_EQ(r.genre, Restauration::Genre::Recreee) << r.raison << joindreProblemes(r.problemes);
    Instantane apres = instantane();
    EXPECT_EQ(apres[kDossier + "statut.txt"], historique + restauree);
    apres[kDossier + "statut.txt"] = historique;
    EXPECT_EQ(horsArchives(apres, true), horsArchives(avant, true));
    // (Restored again over itself, the history growing: archives/demo-supprimee-modifiee.)
}

// (A machine gone: the demo-supprimee-modifiee scenario.)
TEST_F(Archives, CeQuiEmpecheUneRestaurationNEcritRien)
{
    supprimerPivot();
    archives::Version version = versions().at(0);
    poser(kDossier + "prog.txt", "%9\r\n");  // a folder of the name holding another file
    const Instantane avant = instantane();
    const Restauration r = archives::restaurer(version, kSoir, {});
    EXPECT_EQ(r.genre, Restauration::Genre::Refusee);
    EXPECT_EQ(r.raison, "Le dossier data\\" + kNom + "\\ existe déjà sans fiche dans l'index : rien n'a été restauré.");
    EXPECT_EQ(instantane(), avant);
    version.fiche.reset();  // a fiche.txt that did not read
    std::filesystem::remove_all(kDossier);
    EXPECT_EQ(archives::restaurer(version, kSoir, {}).genre, Restauration::Genre::Refusee);
}

TEST_F(Archives, UneVersionPartielleOuDUneAutreFicheEstRefusee)
{
    // PIVOT modified, deleted, made again as "pivot" (whose versions go to PIVOT's folder) and modified.
    archiver(Motif::Modification, {"prog.txt"});
    supprimerPivot();
    const auto v = versions();
    EXPECT_NE(archives::restaurer(v.at(1), kSoir, {}).raison.find("version de la suppression du 07/12/2026 12:00:05"), std::string::npos);
    const std::string pivot = "pivot,20,TOUR 1,bras,XC48,O,N,N,N,N,N,N,N,N,N,O";
    poser("data/data.txt", kAxe + pivot + "\r\n");
    poser("data/pivot_Phase 20_bras_TOUR 1/prog.txt", "%3\r\n");
    archives::archiver("pivot_Phase 20_bras_TOUR 1", pivot, Motif::Modification, {"prog.txt"}, kSoir);
    EXPECT_EQ(archives::restaurer(versions().at(0), kSoir, {}).genre, Restauration::Genre::Remplacee);
    const Instantane avant = instantane();
    EXPECT_NE(archives::restaurer(v.at(0), kSoir, {}).raison.find("est celui de la fiche pivot Phase 20"), std::string::npos);
    EXPECT_EQ(instantane(), avant);
}

TEST_F(Archives, LesDrapeauxSuiventLesFichiersRestaures)
{
    // The sheet lost its program since: the record said "N" for it; its quoted material is kept.
    archiver(Motif::Modification, {"prog.txt"});
    std::filesystem::remove(kDossier + "prog.txt");
    poser("data/data.txt", "PIVOT,20,TOUR 1,BRAS,\"XC48, TREMPE\",O,N,N,N,N,N,N,N,N,N,N\r\n" + kAxe);
    ASSERT_EQ(archives::restaurer(versions().at(0), kSoir, {}).genre, Restauration::Genre::Remplacee);
    EXPECT_EQ(contenu("data/data.txt"), "PIVOT,20,TOUR 1,BRAS,\"XC48, TREMPE\",O,N,N,N,N,N,N,N,N,N,O\r\n" + kAxe);
}

TEST_F(Archives, UnProgrammeRecuNeVaQueDansUneFicheDeLIndex)
{
    // (The program put into its sheet, the old one archived, the flag set
    // and the quoted material kept: the archives/programme-recu scenario.)
    // A sheet deleted meanwhile is not recreated by it; a record whose name
    // leaves data\ gets nothing, under its name or the one it is read under.
    poser("data/data.txt", kAxe + "..\\evil,20,TOUR 1,BRAS,XC48,O,N,N,N,N,N,N,N,N,N,O\r\n");
    poser("evil_Phase 20_BRAS_TOUR 1/prog.txt", "%6\r\n");
    const Instantane avant = instantane(".");
    for (const char* nom : {"CAME_Phase 30_BRAS_TOUR 1", "..\\evil_Phase 20_BRAS_TOUR 1", "..?evil_Phase 20_BRAS_TOUR 1"})
        EXPECT_FALSE(remplacement::remplacerProgramme(nom, "%3\n", kMidi, "", {}).ok()) << nom;
    EXPECT_EQ(instantane("."), avant);
}

// Stopped at each file operation, an archiving leaves the sheet as it was and
// offers no version; a restoring leaves every file old or new, and running it
// again finishes it.
TEST_F(Archives, ArretAChaqueOperation)
{
    // The version is chosen before the stop, as the operator chooses it in the list.
    static archives::Version cible;
    auto choisir = [] { cible = versions().back(); };
    auto restaurer = [] {
        const auto r = archives::restaurer(cible, kSoir, {});
        // A refusal (a machine list that did not read) names the version.
        return r.genre == Restauration::Genre::Refusee ? Resultat::echec(cible.nom, r.raison) : Resultat{r.problemes};
    };
    const std::tuple<const char*, std::function<void()>, std::function<Resultat()>> cas[] = {
        {"archivage", [] {}, [] { return archiver(Motif::Suppression, archives::fichiersDuDossier(kNom)); }},
        {"restauration d'une fiche supprimée", [&] { supprimerPivot(), choisir(); }, restaurer},
        {"restauration sur une fiche existante", [&] {
             archiver(Motif::Modification, {"prog.txt", "Vue.jpg"});
             poser(kDossier + "prog.txt", "%3\r\n"), poser(kDossier + "Vue.jpg", "JPEG neuve"), choisir();
         }, restaurer},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(std::get<0>(c));
        const auto& plus = std::get<1>(c);
        const bool archivage = std::string(std::get<0>(c)) == "archivage";
        aChaqueOperation({.preparer = [&] { preparer(), plus(); }, .operation = std::get<2>(c),
                          .etat = [] { return horsArchives(instantane(), true); },
                          .aussi = [&](const Instantane&, const Instantane&, const Instantane&) { EXPECT_TRUE(!archivage || versions().empty()); },
                          .reprendre = !archivage});
    }
}

}  // namespace
}  // namespace tarvex
