#include "creation/creation.h"

#include "creation/bilancreation.h"
#include "machines/gestion.h"
#include "machines/infomachine.h"
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

namespace {

// A value of com.txt read as a number, shown again as text.
QString nombre(const std::string& texte) { return q(texteNombre(lirenombre(texte), ".")); }

}  // namespace

Creation::Creation(Principale& principale)
    : Fenetre(&principale.fenetre(), u("Création"), u("Création Base de données"), 15720, 9300), principale_(principale)
{
    construireDesignation(this, true);
    Machine = creer<QComboBox>(Frame13, "Machine", 120, 300, 2640, 315);
    Machine->setEditable(true);
    Machine->setInsertPolicy(QComboBox::NoInsert);
    Machine->setCompleter(nullptr);
    Nouvellemachine = bouton(Frame14, "Nouvellemachine", "Nouvelle", 120, 1080);
    Supprimermachine = bouton(Frame14, "Supprimermachine", "Supprimer", 120, 1500);
    Infomachine = bouton(Frame14, "Infomachine", "Infos", 120, 1920);
    construireApercus(this);
    com = boiteCachee(Frame14, "com");
    vitesse = boiteCachee(Frame14, "vitesse");
    parit = boiteCachee(Frame14, "parit");
    nbre = boiteCachee(Frame14, "nbre");
    sto = boiteCachee(Frame14, "sto");
    typmachin = boiteCachee(Frame14, "typmachin");
    typdirect = boiteCachee(Frame14, "typdirect");
    construirePanneaux(this);
    construireDonnees(this, *principale.services().images);

    Creer = bouton(this, "Créer", "Créer", 10200, 8700);
    Command2 = bouton(this, "Command2", "RAZ", 11760, 8700);
    quitter = bouton(this, "quitter", "Retour Tarvex", 14160, 8700, 1440);

    connect(Machine, qOverload<int>(&QComboBox::activated), this, &Creation::machineChoisie);
    relierSelecteurs(this, principale_.fenetre(), principale_.services(), selecteurs::Selectionimage,
                     selecteurs::Selectionprogramme, selecteurs::Selectiondossiertechnique);
    connect(Infomachine, &QPushButton::clicked, this, &Creation::infoMachine);
    connect(Nouvellemachine, &QPushButton::clicked, this, &Creation::nouvelleMachine);
    connect(Supprimermachine, &QPushButton::clicked, this, &Creation::supprimerMachine);
    connect(Command2, &QPushButton::clicked, this, &Creation::raz);
    connect(Creer, &QPushButton::clicked, this, &Creation::creerClique);
    connect(quitter, &QPushButton::clicked, this, &QWidget::hide);
}

Creation::~Creation() = default;

void Creation::remplirMachines()
{
    // A missing or empty list is an empty list: the operator can still type
    // the sheet, and the report says that no machine is chosen.
    const auto lu = lireListeMachines();
    QStringList noms;
    for (const auto& n : lu.valeur) noms << q(n);
    Machine->clear();
    Machine->addItems(noms);
    Machine->setCurrentIndex(-1);
}

void Creation::boutonsMachine(bool actifs)
{
    for (QPushButton* b : {Supprimermachine, Infomachine, Nouvellemachine, Dossiertechnique, sectionprevisu,
                           programme->Command1, Creer})
        b->setEnabled(actifs);
}

void Creation::charger()
{
    remplirMachines();
    Machine->setEditText(u("Machine"));
    Image3->effacer();
    Image3->bordure(true);
    // Not placed yet: its empty border would lie over the frame's caption.
    Image3->placerTwips(0, 0, 0, 0);
    valeurs->masquer();
    photos->desactiver();
    boutonsMachine(false);
    valeurs->rendreEditables();
    photos->previsu(QString());
    valeurs->Jauge->setPlainText(u("A compléter"));
    photos->viderChemins();
    Textdossiertechnique->clear();
    programme->chargeprogramme->clear();
    Image11->charger(*principale_.services().images, QStringLiteral("data\\tarvex.jpg"));
}

void Creation::machineChoisie(int index)
{
    if (index < 0) return;
    const QString nom = Machine->itemText(index);
    // Taken before the reading: a change made in between is then seen as one.
    machineVue_ = machines::empreintesMachine(s(nom));
    const auto lu = lirecom(s(nom));
    const ParamCom& c = lu.valeur;

    boutonsMachine(true);
    machineChoisie_ = lu.ok() ? nom : QString();
    com->setText(q(c.port));
    vitesse->setText(nombre(c.vitesse));
    parit->setText(q(c.parite));
    nbre->setText(nombre(c.bits));
    sto->setText(nombre(c.arret));
    typmachin->setText(nombre(c.type));
    typdirect->setText(nombre(c.directeur));

    Images& images = *principale_.services().images;
    cadrerimage(images, QStringLiteral("data\\machine\\") + nom + QStringLiteral("\\image.jpg"), Image5, Image3,
                Frame18, kLimiteApercu);
    const int type = codeMachine(c.type);
    const int directeur = codeMachine(c.directeur);
    if (const char* genre = imageDuGenre(type)) Image4->charger(images, u(genre));
    if (valeurs->appliquer(type, directeur)) {
        if (type == kTournage)
            photos->menuphototournage();
        else
            photos->menuphotofraisage();
    }

    if (!lu.ok()) {
        // Without its com.txt the machine's kind and CNC type are unknown: no
        // sheet can be made for it, but it can be shown, deleted, or
        // another one created.
        valeurs->masquer();
        photos->desactiver();
        for (QPushButton* b : {Dossiertechnique, sectionprevisu, programme->Command1, Creer}) b->setEnabled(false);
        for (QLineEdit* b : {com, vitesse, parit, nbre, sto, typmachin, typdirect}) b->clear();
        principale_.services().messages->afficher(
            this, u("La machine %1 ne peut pas être utilisée pour une fiche :\n%2").arg(nom, q(joindreProblemes(lu.problemes))),
            u("Infos"), Icone::Exclamation);
    }
}

void Creation::sansMachine()
{
    // The state in which only the choice of a machine is possible; the next
    // pick sets the frames, the picture slots and the other buttons again.
    Machine->setCurrentIndex(-1);
    Machine->setEditText(u("Sélectionner une machine"));
    Image3->effacer();
    for (QPushButton* b : {Creer, Supprimermachine, Infomachine, Nouvellemachine}) b->setEnabled(false);
    machineChoisie_.clear();
}

void Creation::infoMachine() { machines::montrerInfoMachine(this, principale_.services(), Machine->currentText()); }

void Creation::nouvelleMachine()
{
    if (const auto nom = machines::creerMachine(this, principale_.services())) Machine->addItem(*nom);
}

void Creation::supprimerMachine()
{
    machines::supprimerMachine(this, principale_.services(), Machine->currentText(), &machineVue_, [this] {
        remplirMachines();
        sansMachine();
    });
}

void Creation::raz()
{
    if (principale_.services().messages->afficher(this, u("Remise à Zéro des valeurs ?"), u("Confirmation"),
                                                  Icone::Question, Boutons::OuiNon) != Reponse::Oui)
        return;
    Text5->setText(u("Nom à compléter"));
    Text6->setText(u("N° à compléter"));
    Text2->setText(u("Nom à compléter"));
    Text7->setText(u("Nom à compléter"));
    Machine->setCurrentIndex(-1);
    Machine->setEditText(u("Sélectionner une machine"));
    Image3->effacer();
    valeurs->masquer();
    photos->desactiver();
    boutonsMachine(false);
    valeurs->rendreEditables();
    photos->previsu(QString());
    Image11->charger(*principale_.services().images, QStringLiteral("data\\tarvex.jpg"));
    photos->viderChemins();
    Textdossiertechnique->clear();
    programme->chargeprogramme->clear();
    Image4->effacer();
    programme->Listing->clear();
    valeurs->vider();
}

void Creation::creerClique()
{
    if (!codeAccepte(this, *principale_.services().messages, Text3->text())) return;
    {
        Bilancreation bilan(*this);
        bilan.charger();
        principale_.services().fenetres->afficherModal(&bilan);
    }
    if (creee_) hide();
}

void Creation::creee() { creee_ = true; }

creation::SaisieFiche Creation::saisie() const
{
    creation::SaisieFiche f;
    f.piece = s(Text5->text());
    f.phase = s(Text6->text());
    f.ensemble = s(Text2->text());
    f.matiere = s(Text7->text());
    f.machine = s(Machine->currentText());
    f.machineChoisie = s(machineChoisie_);
    f.typmachin = s(typmachin->text());
    f.typdirect = s(typdirect->text());
    for (int i = 0; i < kPhotos; ++i) f.photos[i] = s(photos->emplacements[i].chemin->text());
    f.dossierTechnique = s(Textdossiertechnique->text());
    f.programme = s(programme->chargeprogramme->text());
    const Valeurs& v = *valeurs;
    f.prefx = s(v.Prefx->text());
    f.prefy = s(v.Prefy->text());
    f.prefz = s(v.Prefz->text());
    f.decx = s(v.Decx->text());
    f.decy = s(v.Decy->text());
    f.decz = s(v.Decz->text());
    f.decalage = s(v.Decalage->currentText());
    f.originex = s(v.OrigineX->text());
    f.originey = s(v.OrigineY->text());
    f.originez = s(v.OrigineZ->text());
    f.infovrac = s(texteCrLf(v.Infovrac));
    f.jauge = s(texteCrLf(v.Jauge));
    return f;
}

void ouvrirCreation(Principale& principale)
{
    Creation creation(principale);
    creation.charger();
    principale.services().fenetres->afficherModal(&creation);
}

}  // namespace tarvex
