// Showing the selected sheet: the handlers of the list, the picture options,
// the preview, the machine file and the technical file.
//
// A sheet whose files are damaged or missing is still shown with everything
// that could be read: the operator at the machine needs the gauges even when
// a photograph is gone. What could not be read is told once, at the end of
// the handler, one line per file.
#include "mainwindow/selectphase.h"

#include "machines/selectinfomachine.h"
#include "mainwindow/cadrerimage.h"
#include "mainwindow/zoom.h"
#include "platform/textes.h"
#include "store/chemins.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/lecteur.h"
#include "store/machines.h"

#include <utility>

namespace tarvex {

using namespace plateforme;

namespace {

// Codes of the machine's com.txt, compared as numbers.
constexpr int kInconnu = -1;

bool drapeau(const QLabel* l) { return sansBlancs(s(l->text())) == "O"; }

QString texteBoite(const std::string& utf8) { return lignesBoite(q(utf8)); }

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
    const int numero = Phase->itemData(index, Qt::UserRole).toInt();
    const QString entree = Phase->itemText(index);
    // The box names the sheet shown, whoever asked for it (a sheet shown
    // again after an archive was put back, while a search was typed).
    if (Phase->currentText() != entree) Phase->setEditText(entree);

    // 1. Nothing of the sheet shown before may stay.
    for (int i = 1; i <= 18; ++i) Label[i]->clear();
    Programme->clear();
    Annotation->clear();
    for (QLineEdit* b : {Prefx, Prefy, Prefz, Decx, Decy, Decz, OrigineX, OrigineY, OrigineZ, Décalage}) b->clear();
    Infovrac->setPlainText(QStringLiteral("Infos à compléter"));
    Jauge->setPlainText(QStringLiteral("A compléter"));
    for (const auto& o : optionsPhotos()) {
        deselectionner(o.bouton);
        o.bouton->setEnabled(false);
    }
    Charger->setEnabled(false);
    Trajectoire->setEnabled(false);
    Dossiertechnique->setEnabled(false);
    for (QPushButton* b : {Infomachine, Modifier, imprimer}) b->setEnabled(true);
    previsu(QString());

    // 2. The record, read again: the index may have changed since the list was filled.
    const auto enregistrement = lireEnregistrement(numero);
    if (!enregistrement.valeur) {
        // No sheet to show: back to the state before any choice, so that no
        // window works on what the previous sheet left in the controls.
        etatDeDepart();
        for (QLineEdit* b : {Text2, Text3, Text4}) b->clear();
        for (Image* i : {Image1, Image4, Image5}) i->effacer();
        reglagesParDefaut();
        Phase->setCurrentIndex(-1);
        Phase->setEditText(QStringLiteral("Sélection de la phase"));
        avertir(*this, QStringLiteral("La fiche %1 n'a pas pu être lue :\n%2\nAucune fiche n'est sélectionnée.")
                           .arg(entree, q(joindreProblemes(enregistrement.problemes))));
        emit selectionAffichee();
        return;
    }
    const Enregistrement& champs = *enregistrement.valeur;
    for (int i = 0; i < kChampsParEnregistrement; ++i) Label[i + 1]->setText(q(champs[i]));
    Problemes problemes = enregistrement.problemes;

    // 3. Without its folder a sheet has none of its files: one line says so,
    // rather than one per file.
    const QString dossier = dossierFiche();
    const std::string dossierS = s(dossier);
    const bool dossierPresent = fichiers::estDossier(dossierS);
    if (!dossierPresent) problemes.push_back({dossierS, "dossier de la fiche introuvable"});
    auto noter = [&](const Problemes& p) {
        for (const auto& x : p)
            if (dossierPresent || x.fichier.compare(0, dossierS.size(), dossierS) != 0) problemes.push_back(x);
    };

    // 4. Part picture.
    const QString vue = dossier + QStringLiteral("Vue.jpg");
    if (!cadrerimage(*services_.images, vue, Image3, Image1, Frame4, kLimiteApercu)) noter({problemeImage(vue)});

    // 5. Designation.
    Text2->setText(Label[4]->text());
    Text3->setText(Label[3]->text());
    Text4->setText(Label[5]->text());

    // 6. Program and its annotations.
    const ProgrammeAffiche programme = afficherProgramme(dossierS);
    const bool avecProgramme = programme.present;
    const bool programmeLu = programme.lu;
    noter(programme.problemes);

    // 7. The machine's serial settings, kind and CNC type.
    const std::string machine = sansBlancs(s(Label[3]->text()));
    const auto com = lirecom(machine);
    const ParamCom& c = com.valeur;
    Port2->setEditText(q(c.port));
    Vitesse2->setEditText(q(c.vitesse));
    Parité2->setEditText(q(c.parite));
    Nbrebits2->setEditText(q(c.bits));
    Bitsstop2->setEditText(q(c.arret));
    Label[17]->setText(q(c.type));
    Label[18]->setText(q(c.directeur));
    noter(com.problemes);
    // A com.txt that could not be read whole says nothing sure about the CNC:
    // no value frame and no transfer rather than the wrong ones.
    const bool comLu = com.ok();
    const int K = codeMachine(c.type);
    const int D = comLu ? codeMachine(c.directeur) : kInconnu;

    // 8. Machine picture; a missing machine folder was told with com.txt.
    const std::string dossierM = dossierMachine(machine);
    const QString photoMachine = q(dossierM + "image.jpg");
    if (chemins::nomSur(machine) && fichiers::estDossier(dossierM)) {
        if (!cadrerimage(*services_.images, photoMachine, Image8, Image5, Frame3, kLimiteApercu))
            noter({problemeImage(photoMachine)});
    } else {
        cadrerimage(*services_.images, QString(), Image8, Image5, Frame3, kLimiteApercu);
    }

    // 9. Gauge picture by kind.
    if (const char* genre = imageDuGenre(K)) {
        if (!Image4->charger(*services_.images, u(genre))) noter({problemeImage(u(genre))});
    } else if (!comLu) {
        Image4->effacer();
    }

    // 10. Value frames and Y boxes by kind and CNC type; an unknown pair
    // leaves them as they are.
    if (!comLu)
        masquer();
    else
        appliquer(K, D);

    // 11. Values by CNC type.
    if (D == kNum) {
        const auto v = lirepref(dossierS, K);
        Prefx->setText(q(v.valeur.prefX));
        Prefy->setText(q(v.valeur.prefY));
        Prefz->setText(q(v.valeur.prefZ));
        Decx->setText(q(v.valeur.decX));
        Decy->setText(q(v.valeur.decY));
        Decz->setText(q(v.valeur.decZ));
        noter(v.problemes);
    } else if (D == kFanuc) {
        const auto v = lireorigine(dossierS, K);
        Décalage->setText(q(v.valeur.origine));
        OrigineX->setText(q(v.valeur.x));
        OrigineY->setText(q(v.valeur.y));
        OrigineZ->setText(q(v.valeur.z));
        noter(v.problemes);
    } else if (D == kFagor) {
        const auto v = lireinfos(dossierS);
        Infovrac->setPlainText(texteBoite(v.valeur));
        noter(v.problemes);
    }

    // 12. Gauges, for every CNC type.
    const auto jauges = lirejauges(dossierS);
    Jauge->setPlainText(texteBoite(jauges.valeur));
    noter(jauges.problemes);

    // 13. Transfer options. A program that could not be read cannot be sent.
    const bool chargeable = avecProgramme && programmeLu;
    if (!comLu || D == kFagor || D == kAutre) {
        for (QRadioButton* o : {Option1, Option2}) {
            o->setEnabled(false);
            deselectionner(o);
        }
        for (QCheckBox* b : {Check1, Check2, Check3}) b->setEnabled(false);
    } else if (D == kNum) {
        Option1->setEnabled(true);
        Option1->setChecked(true);
        Option2->setEnabled(true);
        deselectionner(Option2);
        for (QCheckBox* b : {Check1, Check2, Check3}) b->setEnabled(true);
        Charger->setEnabled(chargeable);
    } else if (D == kFanuc) {
        Option1->setEnabled(true);
        Option1->setChecked(true);
        Option2->setEnabled(false);
        deselectionner(Option2);
        for (QCheckBox* b : {Check1, Check2, Check3}) b->setEnabled(false);
        Charger->setEnabled(chargeable);
    }

    // 14. Picture options and the technical file, by their flags. The stop
    // (butée, field 11) and the clamping (bride, field 10) are stored in the
    // other order than their buttons.
    const std::pair<int, QRadioButton*> photos[] = {{7, Option10},  {8, Option3},  {9, Option4},  {11, Option5},
                                                    {10, Option6}, {12, Option7}, {13, Option8}, {14, Option9}};
    for (const auto& [champ, bouton] : photos)
        if (drapeau(Label[champ])) bouton->setEnabled(true);
    if (drapeau(Label[15])) Dossiertechnique->setEnabled(true);

    // 15. The sweep, before any message, as after every selection.
    animervumetre();

    if (!problemes.empty()) {
        QString texte = QStringLiteral("La fiche %1 est affichée incomplète, ces fichiers n'ont pas pu être lus :\n%2")
                            .arg(entree, q(joindreProblemes(problemes)));
        const bool chargementBloque = avecProgramme && (!comLu || (!programmeLu && (D == kNum || D == kFanuc)));
        if (chargementBloque)
            texte += QStringLiteral("\nLe chargement vers la machine-outil reste impossible tant que ces fichiers "
                                    "ne sont pas réparés.");
        avertir(*this, texte);
    }
    emit selectionAffichee();
}

Selectphase::ProgrammeAffiche Selectphase::afficherProgramme(const std::string& dossier)
{
    ProgrammeAffiche r;
    Programme->clear();
    Annotation->clear();
    Trajectoire->setEnabled(false);
    r.present = drapeau(Label[16]);
    if (!r.present) return r;
    const auto listing = lireprogramme(dossier);
    Programme->setPlainText(texteBoite(listing.valeur));
    r.lu = listing.ok();
    r.problemes = listing.problemes;
    const auto notes = annotations(dossier);
    QStringList lignes;
    for (const auto& n : notes.valeur) lignes << q(n);
    Annotation->addItems(lignes);
    if (listing.ok()) r.problemes.insert(r.problemes.end(), notes.problemes.begin(), notes.problemes.end());  // the same file: told once
    Trajectoire->setEnabled(r.lu);
    return r;
}

void Selectphase::programmeModifie()
{
    const ProgrammeAffiche programme = afficherProgramme(s(dossierFiche()));
    // The transfer options were opened by the choice of the sheet exactly
    // when its CNC takes a program (NUM, FANUC, com.txt read whole).
    Charger->setEnabled(Option1->isEnabled() && programme.present && programme.lu);
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
    const Problemes problemes = info.charger(Label[3]->text());
    if (!problemes.empty()) {
        avertir(*this, QStringLiteral("Le dossier de la machine %1 ne peut pas être affiché :\n%2")
                           .arg(Label[3]->text().trimmed(), q(joindreProblemes(problemes))));
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
