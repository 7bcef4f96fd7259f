#include "modification/modification2.h"

#include "modification/bilan.h"
#include "modification/bilanmodification.h"
#include "modification/suppression.h"
#include "platform/autorisation.h"
#include "platform/cadrerimage.h"
#include "platform/principale.h"
#include "platform/selecteur.h"
#include "platform/textes.h"
#include "store/lecteur.h"
#include "store/machines.h"

namespace tarvex {

using namespace plateforme;
using namespace formulaire;

Modification2::Modification2(Principale& principale, const FicheAffichee& fiche)
    : Fenetre(&principale.fenetre(), u("modification2"), u("Modification Base de données"), 15720, 9300),
      principale_(principale),
      fiche_(fiche)
{
    // The designation is shown, never changed.
    construireDesignation(this, false);
    Text1 = creer<QLineEdit>(Frame13, "Text1", 120, 300, 2640, 315);
    lectureSeule(Text1);
    construireApercus(this);
    construirePanneaux(this);
    chargeprogrammetemp = boiteCachee(programme->Frame20, "chargeprogrammetemp");
    construireDonnees(this, *principale.services().images);
    Textdossiertechniquetemp = boiteCachee(Frame22, "Textdossiertechniquetemp");
    for (int i = 0; i < kPhotos; ++i) {
        const QString nom = photos->emplacements[i].chemin->objectName() + QStringLiteral("temp");
        anciensPhotos[i] = boiteCachee(photos->Frame4, s(nom).c_str());
    }

    Command4 = bouton(this, "Command4", "Enregistrer", 10200, 8700);
    Command3 = bouton(this, "Command3", "Supprimer", 11760, 8700);
    quitter = bouton(this, "quitter", "Retour Tarvex", 14160, 8700, 1440);

    relierSelecteurs(this, principale_.fenetre(), principale_.services(), selecteurs::Modificationimage,
                     selecteurs::Modificationprogramme, selecteurs::ModificationSelectiondossiertechnique);
    connect(Command4, &QPushButton::clicked, this, &Modification2::enregistrer);
    connect(Command3, &QPushButton::clicked, this, &Modification2::supprimer);
    // Every edit is dropped: nothing was written.
    connect(quitter, &QPushButton::clicked, this, &QWidget::hide);
}

Modification2::~Modification2() = default;

std::array<Modification2::Emplacement, stockage::kEmplacements> Modification2::emplacements() const
{
    std::array<Emplacement, stockage::kEmplacements> e{};
    for (int i = 0; i < kPhotos; ++i) e[bilan::kEmplacementOption[i]] = {photos->emplacements[i].chemin, anciensPhotos[i]};
    e[stockage::EDossier] = {Textdossiertechnique, Textdossiertechniquetemp};
    e[stockage::EProgramme] = {programme->chargeprogramme, chargeprogrammetemp};
    return e;
}

void Modification2::charger()
{
    Principale& p = principale_;
    const Enregistrement& champs = fiche_.champs;
    Images& images = *p.services().images;

    // 1 to 4: every button usable, the values editable, no picture option yet,
    // no path.
    for (QPushButton* b : {Dossiertechnique, sectionprevisu, programme->Command1, quitter, Command3, Command4})
        b->setEnabled(true);
    valeurs->rendreEditables();
    photos->desactiver();
    for (const auto& e : emplacements()) {
        e.chemin->clear();
        e.ancien->clear();
    }

    // 5. The designation, as stored.
    Text5->setText(q(champs[CPiece]));
    Text6->setText(q(champs[CPhase]));
    Text1->setText(q(champs[CMachine]));
    Text2->setText(q(champs[CEnsemble]));
    Text7->setText(q(champs[CMatiere]));
    const QString P = q(fiche_.dossier());
    const QString M = q(dossierMachine(fiche_.machine())) + QStringLiteral("image.jpg");

    // 6 to 8: the logo, the machine, the part view, the kind's picture.
    Image11->charger(images, QStringLiteral("data\\tarvex.jpg"));
    cadrerimage(images, M, Image5, Image3, Frame18, kLimiteApercu);
    photos->previsu(P + QStringLiteral("vue.jpg"));
    // The codes are compared as numbers, as the main window compares them
    // to show the sheet.
    const int type = codeMachine(sansBlancs(fiche_.com.valeur.type));
    if (const char* genre = imageDuGenre(type)) Image4->charger(images, u(genre));

    // 9. The layout of the sheet's machine, once.
    const int directeur = codeMachine(sansBlancs(fiche_.com.valeur.directeur));
    valeurs->masquer();
    if (valeurs->appliquer(type, directeur)) {
        if (type == kTournage)
            photos->menuphototournage();
        else
            photos->menuphotofraisage();
    }

    // 10. A slot whose flag is "O" starts with the folder's file, both as its
    // path and as its old path.
    const auto e = emplacements();
    for (int i = 0; i < stockage::kEmplacements; ++i) {
        if (champs[CVue + i] != "O") continue;
        const QString chemin = P + QString::fromUtf8(stockage::fichierEmplacement(i));
        e[i].chemin->setText(chemin);
        e[i].ancien->setText(chemin);
    }

    // 11. The part view selected, and shown as its click shows it.
    photos->emplacements[0].option->setChecked(true);
    photos->previsu(photos->emplacements[0].chemin->text());

    // 12. The values as the main window shows them, a value typed there
    // included; the files are not read again. The listing the main window holds.
    const Valeurs& v = *valeurs;
    const ValeursMontrees montrees = p.valeursMontrees();
    const std::pair<QLineEdit*, const QString&> copies[] = {
        {v.Prefx, montrees.prefx}, {v.Prefy, montrees.prefy}, {v.Prefz, montrees.prefz},
        {v.Decx, montrees.decx},   {v.Decy, montrees.decy},   {v.Decz, montrees.decz},
        {v.OrigineX, montrees.originex}, {v.OrigineY, montrees.originey}, {v.OrigineZ, montrees.originez},
    };
    for (const auto& [ici, texte] : copies) ici->setText(texte);
    v.Decalage->setEditText(montrees.decalage);
    v.Infovrac->setPlainText(montrees.infovrac);
    v.Jauge->setPlainText(montrees.jauge);
    programme->Listing->setPlainText(lignesBoite(q(fiche_.programme.texte)));
}

stockage::Modification Modification2::modification() const
{
    const Enregistrement& champs = fiche_.champs;
    stockage::Modification m;
    m.stockee = {champs[CPiece], champs[CPhase], champs[CMachine], champs[CEnsemble]};
    m.genre = fiche_.com.valeur.type;
    m.directeur = fiche_.com.valeur.directeur;
    m.piece = s(Text5->text());
    m.phase = s(Text6->text());
    m.machine = s(Text1->text());
    m.ensemble = s(Text2->text());
    m.matiere = s(Text7->text());
    const auto e = emplacements();
    for (int i = 0; i < stockage::kEmplacements; ++i) m.fichiers[i] = {s(e[i].chemin->text()), s(e[i].ancien->text())};
    const Valeurs& v = *valeurs;
    m.pref = {s(v.Prefx->text()), s(v.Prefy->text()), s(v.Prefz->text()),
              s(v.Decx->text()),  s(v.Decy->text()),  s(v.Decz->text())};
    m.origine = {s(v.Decalage->currentText()), s(v.OrigineX->text()), s(v.OrigineY->text()), s(v.OrigineZ->text())};
    m.infos = s(texteCrLf(v.Infovrac));
    m.jauges = s(texteCrLf(v.Jauge));
    return m;
}

void Modification2::enregistrer()
{
    if (!codeAccepte(this, *principale_.services().messages, Text3->text())) return;
    bool enregistre = false;
    {
        Bilanmodification bilan(*this);
        bilan.charger();
        principale_.services().fenetres->afficherModal(&bilan);
        enregistre = bilan.enregistre();
    }
    if (enregistre) hide();
}

void Modification2::supprimer()
{
    if (supprimerFiche(this, principale_, fiche_, Text3->text())) hide();
}

void ouvrirModification(Principale& principale)
{
    Modification2 modification(principale, principale.ficheAffichee());
    modification.charger();
    principale.services().fenetres->afficherModal(&modification);
}

}  // namespace tarvex
