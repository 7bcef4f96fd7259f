// Showing the selected sheet: the handlers of the list, the picture options,
// the preview, the machine file and the technical file.
//
// The sheet is read in one call (store/ficheaffichee.h) and the controls are
// filled from that value. A sheet whose files are damaged or missing is still
// shown with everything that could be read; what could not be read is told
// once, at the end of the handler, one line per file.
#include "mainwindow/selectphase.h"

#include "machines/selectinfomachine.h"
#include "mainwindow/zoom.h"
#include "platform/cadrerimage.h"
#include "platform/textes.h"
#include "store/fichiers.h"
#include "store/statut.h"

#include <utility>

namespace tarvex {

using namespace plateforme;

namespace {

QString texteBoite(const std::string& utf8) { return lignesBoite(q(utf8)); }

void ajouter(Problemes& a, const Problemes& b) { a.insert(a.end(), b.begin(), b.end()); }

// Why the picture loader gave nothing for a file.
Probleme problemeImage(const QString& chemin)
{
    const std::string c = s(chemin);
    if (!fichiers::existe(c)) return {c, "image introuvable"};
    return {c, "image illisible (fichier abîmé ou format non reconnu)"};
}

void avertir(Selectphase& fenetre, const QString& texte)
{
    fenetre.services().messages->afficher(&fenetre, texte, QStringLiteral("Infos"), Icone::Exclamation);
}

}  // namespace

void Selectphase::phaseChoisie(int index)
{
    if (index < 0) return;
    const QString entree = Phase->itemText(index);
    // The box names the sheet shown, whoever asked for it (a sheet shown
    // again after an archive was put back, while a search was typed).
    if (Phase->currentText() != entree) Phase->setEditText(entree);

    // Nothing of the sheet shown before may stay. The record is read again:
    // the index may have changed since the list was filled.
    viderFiche();
    aviser(QString());
    dossierAvise_.reset();
    Lu<std::optional<FicheAffichee>> lu = lireFicheAffichee(Phase->itemData(index, Qt::UserRole).toInt());
    if (!lu.valeur) {
        // No sheet to show: back to the state before any choice, so that no
        // window works on what the previous sheet left in the controls.
        etatDeDepart();
        for (QLineEdit* b : {Text2, Text3, Text4}) b->clear();
        for (Image* i : {Image1, Image4, Image5}) i->effacer();
        reglagesParDefaut();
        Phase->setCurrentIndex(-1);
        Phase->setEditText(QStringLiteral("Sélection de la phase"));
        avertir(*this, QStringLiteral("La fiche %1 n'a pas pu être lue :\n%2\nAucune fiche n'est sélectionnée.")
                           .arg(entree, q(joindreProblemes(lu.problemes))));
        emit selectionAffichee();
        return;
    }
    fiche_ = std::move(*lu.valeur);

    // What could not be read is told in the order the controls are filled.
    Problemes problemes = std::move(lu.problemes);
    montrerEnregistrement(problemes);
    montrerStatut();
    afficherProgramme();
    ajouter(problemes, fiche_.programme.problemes);
    montrerMachine(problemes);
    montrerValeurs(problemes);
    ouvrirCommandes();
    // What the operator types over it from here on is told from the values
    // read when another computer changes the sheet.
    saisieMontree();
    // The sweep, before any message, as after every selection.
    animervumetre();
    signalerProblemes(entree, problemes);
    emit selectionAffichee();
}

void Selectphase::viderFiche()
{
    fiche_ = {};
    for (int i = 1; i <= 18; ++i) Label[i]->clear();
    Programme->clear();
    Annotation->clear();
    for (QLineEdit* b : {Prefx, Prefy, Prefz, Decx, Decy, Decz, OrigineX, OrigineY, OrigineZ, Decalage}) b->clear();
    Infovrac->setPlainText(QStringLiteral("Infos à compléter"));
    Jauge->setPlainText(QStringLiteral("A compléter"));
    for (const auto& o : optionsPhotos()) {
        deselectionner(o.bouton);
        o.bouton->setEnabled(false);
    }
    Charger->setEnabled(false);
    Trajectoire->setEnabled(false);
    Dossiertechnique->setEnabled(false);
    for (QPushButton* b : {Infomachine, Modifier, imprimer, Statut}) b->setEnabled(true);
    previsu(QString());
}

// The hidden labels of the record, the part picture and the designation.
void Selectphase::montrerEnregistrement(Problemes& problemes)
{
    const Enregistrement& champs = fiche_.champs;
    for (int i = 0; i < kChampsParEnregistrement; ++i) Label[i + 1]->setText(q(champs[i]));
    // A missing folder was told once for all of its files.
    const QString vue = dossierFiche() + QStringLiteral("Vue.jpg");
    if (!cadrerimage(*services_.images, vue, Image3, Image1, Frame4, kLimiteApercu) && fiche_.dossierPresent)
        problemes.push_back(problemeImage(vue));
    Text2->setText(q(champs[CEnsemble]));
    Text3->setText(q(champs[CMachine]));
    Text4->setText(q(champs[CMatiere]));
}

// The machine's serial settings, kind and CNC type, its picture and the
// gauge picture of its kind.
void Selectphase::montrerMachine(Problemes& problemes)
{
    const ParamCom& c = fiche_.com.valeur;
    Port2->setEditText(q(c.port));
    Vitesse2->setEditText(q(c.vitesse));
    Parite2->setEditText(q(c.parite));
    Nbrebits2->setEditText(q(c.bits));
    Bitsstop2->setEditText(q(c.arret));
    Label[17]->setText(q(c.type));
    Label[18]->setText(q(c.directeur));
    ajouter(problemes, fiche_.com.problemes);

    // A missing machine folder was told with com.txt.
    const QString photoMachine = q(dossierMachine(fiche_.machine()) + "image.jpg");
    if (fiche_.dossierMachinePresent) {
        if (!cadrerimage(*services_.images, photoMachine, Image8, Image5, Frame3, kLimiteApercu))
            problemes.push_back(problemeImage(photoMachine));
    } else {
        cadrerimage(*services_.images, QString(), Image8, Image5, Frame3, kLimiteApercu);
    }

    const int K = fiche_.genre();
    if (const char* genre = imageDuGenre(K)) {
        if (!Image4->charger(*services_.images, u(genre))) problemes.push_back(problemeImage(u(genre)));
    } else if (!fiche_.comLu()) {
        Image4->effacer();
    }
}

// The value frames and Y boxes by kind and CNC type, the values of the CNC
// type and the gauges of every type. A com.txt that could not be read whole
// says nothing sure about the CNC: no value frame rather than the wrong one.
void Selectphase::montrerValeurs(Problemes& problemes)
{
    const int K = fiche_.genre();
    const int D = fiche_.directeur();
    // An unknown pair of codes leaves the frames as they are.
    if (!fiche_.comLu())
        masquer();
    else
        appliquer(K, D);

    if (D == kNum) {
        const ValeursPref& v = fiche_.pref.valeur;
        const std::pair<QLineEdit*, const std::string*> boites[] = {{Prefx, &v.prefX}, {Prefy, &v.prefY}, {Prefz, &v.prefZ},
                                                                    {Decx, &v.decX},   {Decy, &v.decY},   {Decz, &v.decZ}};
        for (const auto& [boite, valeur] : boites) boite->setText(q(*valeur));
        ajouter(problemes, fiche_.pref.problemes);
    } else if (D == kFanuc) {
        const ValeursOrigine& v = fiche_.origine.valeur;
        const std::pair<QLineEdit*, const std::string*> boites[] = {
            {Decalage, &v.origine}, {OrigineX, &v.x}, {OrigineY, &v.y}, {OrigineZ, &v.z}};
        for (const auto& [boite, valeur] : boites) boite->setText(q(*valeur));
        ajouter(problemes, fiche_.origine.problemes);
    } else if (D == kFagor) {
        Infovrac->setPlainText(texteBoite(fiche_.infos.valeur));
        ajouter(problemes, fiche_.infos.problemes);
    }
    Jauge->setPlainText(texteBoite(fiche_.jauges.valeur));
    ajouter(problemes, fiche_.jauges.problemes);
}

// The transfer options by CNC type (a program that could not be read cannot
// be sent), then the picture options and the technical file by their flags.
void Selectphase::ouvrirCommandes()
{
    const int D = fiche_.directeur();
    const bool chargeable = fiche_.programme.present && fiche_.programme.lu;
    if (!fiche_.comLu() || D == kFagor || D == kAutre) {
        for (QRadioButton* o : {Option1, Option2}) {
            o->setEnabled(false);
            deselectionner(o);
        }
        for (QCheckBox* b : {Check1, Check2, Check3}) b->setEnabled(false);
    } else if (D == kNum || D == kFanuc) {
        Option1->setEnabled(true);
        Option1->setChecked(true);
        Option2->setEnabled(D == kNum);
        deselectionner(Option2);
        for (QCheckBox* b : {Check1, Check2, Check3}) b->setEnabled(D == kNum);
        Charger->setEnabled(chargeable);
    }
    montrerDrapeaux();
}

// The stop (butée, field 11) and the clamping (bride, field 10) are stored
// in the other order than their buttons.
void Selectphase::montrerDrapeaux()
{
    const std::pair<Champ, QRadioButton*> photos[] = {{CMont1, Option10}, {CMont2, Option3}, {CInst, Option4},
                                                      {CButee, Option5},  {CBride, Option6}, {CPrefx, Option7},
                                                      {CPrefy, Option8},  {CPrefz, Option9}};
    for (const auto& [champ, bouton] : photos) bouton->setEnabled(fiche_.drapeau(champ));
    Dossiertechnique->setEnabled(fiche_.drapeau(CDossier));
}

void Selectphase::montrerStatut()
{
    // The workshop's colours: amber to try, green proven, red stop.
    static const char* const kCouleurs[] = {"#ffc24a; color: black", "#2e7d32; color: white", "#c62828; color: white"};
    const std::optional<statut::Ligne> l = statut::derniere(fiche_.dossier());
    if (!l) {
        StatutFiche->setText(QStringLiteral("—"));
        StatutFiche->setToolTip(QStringLiteral("Aucun statut enregistré pour cette fiche"));
        StatutFiche->setStyleSheet(QStringLiteral("color: #606060"));
        return;
    }
    StatutFiche->setText(u(statut::nom(l->statut)));
    QString bulle = QStringLiteral("Depuis le %1 à %2, par %3 sur %4").arg(q(l->date), q(l->heure), q(l->utilisateur), q(l->poste));
    if (!l->commentaire.empty()) bulle += QStringLiteral(" : ") + q(l->commentaire);
    StatutFiche->setToolTip(bulle);
    StatutFiche->setStyleSheet(QStringLiteral("background: %1; font-weight: bold; border-radius: 3px")
                                   .arg(QLatin1String(kCouleurs[static_cast<int>(l->statut)])));
}

void Selectphase::signalerProblemes(const QString& entree, const Problemes& problemes)
{
    if (problemes.empty()) return;
    QString texte = QStringLiteral("La fiche %1 est affichée incomplète, ces fichiers n'ont pas pu être lus :\n%2")
                        .arg(entree, q(joindreProblemes(problemes)));
    const ProgrammeFiche& p = fiche_.programme;
    const int D = fiche_.directeur();
    if (p.present && (!fiche_.comLu() || (!p.lu && (D == kNum || D == kFanuc))))
        texte += QStringLiteral("\nLe chargement vers la machine-outil reste impossible tant que ces fichiers "
                                "ne sont pas réparés.");
    avertir(*this, texte);
}

void Selectphase::afficherProgramme()
{
    const ProgrammeFiche& p = fiche_.programme;
    Programme->clear();
    Annotation->clear();
    Trajectoire->setEnabled(false);
    if (!p.present) return;
    Programme->setPlainText(texteBoite(p.texte));
    QStringList lignes;
    for (const auto& n : p.annotations) lignes << q(n);
    Annotation->addItems(lignes);
    Trajectoire->setEnabled(p.lu);
}

void Selectphase::programmeModifie()
{
    fiche_.programme = lireProgrammeFiche(fiche_.dossier(), fiche_.drapeau(CProgramme));
    afficherProgramme();
    // The transfer options were opened by the choice of the sheet exactly
    // when its CNC takes a program (NUM, FANUC, com.txt read whole).
    Charger->setEnabled(Option1->isEnabled() && fiche_.programme.present && fiche_.programme.lu);
    // The values stored are those shown now, none typed over them.
    saisieMontree();
}

void Selectphase::ficheModifiee(const std::array<bool, kFichiersFiche>& avec, const std::optional<QString>& listing)
{
    for (int i = 0; i < kFichiersFiche; ++i) {
        fiche_.champs[CVue + i] = std::string(1, avec[i] ? 'O' : 'N');
        Label[CVue + i + 1]->setText(q(fiche_.champs[CVue + i]));
    }
    montrerDrapeaux();
    if (!listing) return;
    Programme->setPlainText(*listing);
    fiche_.programme.texte = s(*listing);
}

void Selectphase::optionPhotoCliquee(QRadioButton* bouton)
{
    for (const auto& o : optionsPhotos()) {
        if (o.bouton != bouton) continue;
        const QString chemin = dossierFiche() + QString::fromUtf8(o.fichier);
        previsu(chemin);
        animervumetre();
        if (Image6->chemin().isEmpty())
            avertir(*this, QStringLiteral("La photo « %1 » de la fiche %2 ne peut pas être affichée :\n%3")
                               .arg(bouton->text(), Phase->currentText(), q(problemeImage(chemin).texte())));
        break;
    }
    emit selectionAffichee();
}

void Selectphase::ouvrirZoom()
{
    Zoom zoom(*this);
    if (!zoom.charger())
        avertir(*this, QStringLiteral("La photo « %1 » de la fiche %2 ne peut pas être agrandie :\n%3")
                           .arg(zoom.option(), Phase->currentText(), q(problemeImage(zoom.chemin()).texte())));
    services_.fenetres->afficherModal(&zoom);
}

void Selectphase::ouvrirInfoMachine()
{
    SelectInfoMachine info(this);
    const QString machine = q(fiche_.champs[CMachine]);
    const Problemes problemes = info.charger(machine);
    if (!problemes.empty()) {
        avertir(*this, QStringLiteral("Le dossier de la machine %1 ne peut pas être affiché :\n%2")
                           .arg(machine.trimmed(), q(joindreProblemes(problemes))));
        return;
    }
    services_.fenetres->afficherModal(&info);
}

void Selectphase::ouvrirDossierTechnique()
{
    const QString chemin = dossierFiche() + QStringLiteral("dossier.pdf");
    QString probleme;
    if (!fichiers::existe(s(chemin)))
        probleme = QStringLiteral("fichier introuvable");
    else if (!services_.visionneuse->ouvrir(chemin))
        probleme = QStringLiteral("aucune application n'a pu l'ouvrir ; un lecteur de documents PDF est-il installé ?");
    if (!probleme.isEmpty())
        avertir(*this, QStringLiteral("Le dossier technique de la fiche %1 ne peut pas être ouvert :\n%2 : %3")
                           .arg(Phase->currentText(), chemin, probleme));
}

}  // namespace tarvex
