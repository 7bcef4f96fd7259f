#include "mainwindow/selectphase.h"

#include "mainwindow/demarrage.h"
#include "mainwindow/recherche.h"
#include "platform/cadrerimage.h"
#include "platform/construction.h"
#include "platform/textes.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/lecteur.h"
#include "store/liste.h"
#include "store/photos.h"

#include <QCloseEvent>
#include <QDir>
#include <QStandardItemModel>

namespace tarvex {

using namespace plateforme;

namespace {

// Sizes of the boxes pictures are fitted into, in twips.
constexpr int kApercu = 1695;
constexpr int kPrevisualisation = 2415;

// A box of the selected sheet's designation, shown from its first character.
QLineEdit* boite(QWidget* parent, const char* nom, int x, int y, int l, const char* bulle)
{
    auto* b = avecBulle(creer<QLineEdit>(parent, nom, x, y, l, 315), bulle);
    debutVisible(b);
    return b;
}

// The main window offers the eight set-up pictures of a sheet's slots (the
// part view has a frame of its own), under the creation's names, in its order.
const PhotoModele& modelePhoto(int option) { return kModelesPhotos[option + 1]; }

}  // namespace

// The window's construction, step by step; its controls are the window's own.
struct ConstructionSelectphase {
    static void construireChoix(Selectphase& f)
    {
        // Logo
        f.Image2 = image(&f, "Image2");
        f.Image2->placerTwips(120, 180, 2400, 1560);

        f.Frame1 = cadre(&f, "Frame1", "Choix Pièce/Phase", 2640, 120, 6000, 1620);
        f.Phase = creer<QComboBox>(f.Frame1, "Phase", 120, 300, 3600, 315);
        f.Phase->setEditable(true);
        f.Phase->setInsertPolicy(QComboBox::NoInsert);
        f.Phase->setMaxVisibleItems(25);
        f.Phase->setToolTip(u("Choisir une phase d'usinage dans le menu déroulant"));
        f.Time = creer<QLineEdit>(f.Frame1, "Time", 3840, 300, 2040, 315);
        f.Time->setReadOnly(true);
        f.Label22 = etiquette(f.Frame1, "Label22", "Matière", 120, 840, 840);
        f.Text4 = boite(f.Frame1, "Text4", 960, 810, 1920, "Matière de la pièce");
        f.Label21 = etiquette(f.Frame1, "Label21", "Ensemble", 3000, 840, 840);
        f.Text2 = boite(f.Frame1, "Text2", 3840, 810, 2040, "Nom de l'ensemble");
        f.Avis = etiquette(f.Frame1, "Avis", "", 120, 1170, 5760, 420);
        f.Avis->setWordWrap(true);
        f.Avis->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        f.Avis->setStyleSheet(QStringLiteral("color: #b00000; font-size: 8pt;"));
        f.Statut = avecBulle(bouton(&f, "Statut", "Statut", 2640, 1830, 1140),
                             "Historique du statut de la fiche : en essai, validée, bloquée");
        f.StatutFiche = etiquette(&f, "StatutFiche", "", 3900, 1860, 1800, 315);
        f.StatutFiche->setAlignment(Qt::AlignCenter);
    }

    static void construireMachine(Selectphase& f)
    {
        f.Frame2 = cadre(&f, "Frame2", "Machine", 8760, 120, 5640, 2160);
        f.Label23 = etiquette(f.Frame2, "Label23", "Machine", 120, 330, 1200);
        f.Text3 = boite(f.Frame2, "Text3", 120, 600, 3480, "Nom de la Machine-Outil");
        f.Infomachine = avecBulle(bouton(f.Frame2, "Infomachine", "Infos", 120, 1140), "Dossier Machine");
        f.Frame3 = cadre(f.Frame2, "Frame3", "Aperçu", 3780, 300, kApercu, kApercu);
        f.Image5 = avecBulle(image(f.Frame3, "Image5"), "Aperçu Machine");
        f.Image8 = imageNaturelle(&f, "Image8");

        // part "Aperçu"
        f.Frame4 = cadre(&f, "Frame4", "Aperçu", 14520, 120, kApercu, kApercu);
        f.Image1 = avecBulle(image(f.Frame4, "Image1"), "Aperçu pièce");
        f.Image3 = imageNaturelle(&f, "Image3");
    }

    static void construireProgramme(Selectphase& f)
    {
        f.Frame5 = cadre(&f, "Frame5", "Listing Programme", 120, 2400, 4680, 4200);
        f.Programme = avecBulle(listingDeCadre(f.Frame5, "Programme", 4680, 4200), "Listing du programme");
        f.Frame6 = cadre(&f, "Frame6", "Annotations Programme", 120, 6720, 4680, 1560);
        f.Annotation = avecBulle(creer<QListWidget>(f.Frame6, "Annotation", 120, 300, 4440, 1140),
                                 "Annotations contenues dans le programme");
    }

    // "PREF/DEC1/Jauges/Origine": the origin used is shown in a box, the gauges
    // beside the picture of the machine kind.
    static void construirePanneauValeurs(Selectphase& f)
    {
        f.construireValeurs(
            &f, 4920, 2400,
            [&f](Cadre* frame17) {
                f.Decalage = avecBulle(boiteValeur(frame17, "Décalage", 120, 600, 2400), "Décalage d'origine");
            },
            3120);
        f.Frame9->setToolTip(u("Valeurs des PREF"));
        f.Frame10->setToolTip(u("Valeurs des DEC1"));
        f.Infovrac->setToolTip(u("Infos diverses"));
        f.Jauge->setToolTip(u("Valeurs des jauges"));
        f.Jauge->setPlainText(u("Valeur des jauges"));
        f.Image4 = image(f.Frame8, "Image4");
        f.Image4->placerTwips(3360, 300, 1920, 2400);
    }

    static void construireVisualisation(Selectphase& f)
    {
        f.Frame11 = cadre(&f, "Frame11", "Visualisation", 10680, 2400, 5640, 5880);
        f.Frame12 = cadre(f.Frame11, "Frame12", "Dossier Technique", 120, 300, 5400, 780);
        f.Dossiertechnique = bouton(f.Frame12, "Dossiertechnique", "Afficher", 120, 300);
        f.OLE1 = etiquette(f.Frame12, "OLE1", "", 1440, 300, 3000, 375);
        f.Frame14 = cadre(f.Frame11, "Frame14", "Prévisualisation", 120, 1200, kPrevisualisation, kPrevisualisation);
        f.Image6 = avecBulle(image(f.Frame14, "Image6"), "Cliquer sur l'image pour Zoomer");
        f.Image7 = imageNaturelle(&f, "Image7");
        f.Frame13 = cadre(f.Frame11, "Frame13", "Options", 2640, 1200, 2880, 2940, "Options de visualisation");
        QRadioButton** options[8] = {&f.Option10, &f.Option3, &f.Option4, &f.Option5,
                                     &f.Option6,  &f.Option7, &f.Option8, &f.Option9};
        for (int i = 0; i < 8; ++i)
            *options[i] = choix<QRadioButton>(f.Frame13, modelePhoto(i).option, modelePhoto(i).legende, 120, 300 + i * 315,
                                              2640);
    }

    static void construireTelechargement(Selectphase& f)
    {
        f.Frame15 = cadre(&f, "Frame15", "Téléchargement", 120, 8400, 10440, 1740);
        f.Visu = cadre(f.Frame15, "Visu", "Vu-mètre", 120, 300, 2280, 780);
        f.ProgressBar1 = creer<Vumetre>(f.Visu, "ProgressBar1", 120, 330, 2040, 300);
        f.Frame16 = cadre(f.Frame15, "Frame16", "Options", 2520, 300, 2640, 1320, "Options de Chargement");
        // The option captions whole beside the boxes' column.
        f.Option1 = choix<QRadioButton>(f.Frame16, "Option1", "Programme ", 120, 300, 1560);
        f.Option2 = choix<QRadioButton>(f.Frame16, "Option2", "Jauges seules", 120, 630, 1560);
        f.Check1 = choix<QCheckBox>(f.Frame16, "Check1", "PREF ", 1710, 300, 900);
        f.Check2 = choix<QCheckBox>(f.Frame16, "Check2", "DEC1", 1710, 630, 900);
        f.Check3 = choix<QCheckBox>(f.Frame16, "Check3", "Jauges", 1710, 960, 900);
        // Each column as wide as the longer of its caption and its box.
        f.Frame18 = cadre(f.Frame15, "Frame18", "Communication", 5280, 300, 5040, 1320, "Paramètres de communication");
        f.Label24 = etiquette(f.Frame18, "Label24", "Port", 120, 330, 960);
        f.Label25 = etiquette(f.Frame18, "Label25", "Vitesse", 1170, 330, 900);
        f.Label26 = etiquette(f.Frame18, "Label26", "Parité", 2160, 330, 1020);
        f.Label27 = etiquette(f.Frame18, "Label27", "Nbre Bits", 3270, 330, 780);
        f.Label28 = etiquette(f.Frame18, "Label28", "Bits stop", 4140, 330, 780);
        f.Port2 = liste(f.Frame18, "Port2", {"COM1", "COM2", "COM3", "COM4", "COM5"}, 120, 660, 960);
        f.Vitesse2 = liste(f.Frame18, "Vitesse2", {"9600", "4800", "2400", "1200", "600", "300"}, 1170, 660, 900);
        f.Parite2 = liste(f.Frame18, "Parité2", {"E(ven)", "N(one)", "O(dd)"}, 2160, 660, 1020);
        f.Nbrebits2 = liste(f.Frame18, "Nbrebits2", {"5", "6", "7", "8"}, 3270, 660, 780);
        f.Bitsstop2 = liste(f.Frame18, "Bitsstop2", {"1", "2"}, 4140, 660, 780);
    }

    static void construireBoutons(Selectphase& f)
    {
        const struct {
            QPushButton** bouton;
            const char *nom, *texte;
            int x, y;
            const char* bulle;
        } boutons[] = {
            {&f.Charger, "Charger", "Charger", 10680, 8460, "Téléchargement Pièce en cours vers la Machine-Outil"},
            {&f.Command2, "Command2", "PC - CN", 11880, 8460, "Emission/Réception Fichier/Machine-Outil"},
            {&f.imprimer, "imprimer", "Imprimer", 13080, 8460, "Imprimer la fiche technique de phase"},
            {&f.Modifier, "Modifier", "Modifier", 14280, 8460, "Modifier ou supprimer des données pièce"},
            {&f.Command1, "Command1", "Créer", 10680, 9000, "Créer une nouvelle fiche pièce"},
            {&f.Command3, "Command3", "A propos", 11880, 9000, "A propos de Tarvex"},
            {&f.Archives, "Archives", "Archives", 13080, 9000, "Fiches supprimées et anciennes versions"},
            {&f.quitter, "quitter", "Quitter", 15120, 9000, "Sortir de Tarvex"},
            {&f.Trajectoire, "Trajectoire", "Trajectoire", 10680, 9540, "Voir la trajectoire du programme"},
            {&f.Service, "Service", "Service DNC", 11880, 9540, "Servir les commandes numériques depuis leur pupitre"},
            {&f.Journal, "Journal", "Journal", 13080, 9540, "Journal des transferts"},
        };
        for (const auto& b : boutons) *b.bouton = avecBulle(bouton(&f, b.nom, b.texte, b.x, b.y, 1140), b.bulle);
        f.ServiceEnMarche = etiquette(&f, "ServiceEnMarche", "● DNC en marche", 14340, 9600, 1900);
        f.ServiceEnMarche->setStyleSheet(QStringLiteral("color: #007a00; font-weight: bold"));
        f.ServiceEnMarche->hide();
    }
};

Selectphase::Selectphase(Services& services, QWidget* parent)
    : QWidget(parent), Principale(services), services_(services)
{
    setObjectName(QStringLiteral("selectphase"));
    setWindowTitle(QStringLiteral("Tarvex"));
    setFixedSize(px(16440), px(10260));
    construire();
}

Selectphase::~Selectphase() = default;

void Selectphase::construire()
{
    ConstructionSelectphase::construireChoix(*this);
    ConstructionSelectphase::construireMachine(*this);
    ConstructionSelectphase::construireProgramme(*this);
    ConstructionSelectphase::construirePanneauValeurs(*this);
    ConstructionSelectphase::construireVisualisation(*this);
    ConstructionSelectphase::construireTelechargement(*this);
    MSComm1 = services_.ports->creer(this);
    MSComm1->setObjectName(QStringLiteral("MSComm1"));
    ConstructionSelectphase::construireBoutons(*this);

    // The selected sheet, out of sight.
    for (int i = 1; i <= 18; ++i) {
        Label[i] = new QLabel(this);
        Label[i]->setObjectName(QStringLiteral("Label%1").arg(i));
        Label[i]->hide();
    }
    Timer1 = new Minuterie(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Surveillance = new Minuterie(this);
    Surveillance->setObjectName(QStringLiteral("Surveillance"));

    connect(Phase, qOverload<int>(&QComboBox::activated), this, &Selectphase::phaseChoisie);
    // The proposals under Phase replace the combo box's own completion,
    // which would complete only from the first letters of the entries.
    Phase->setCompleter(nullptr);
    recherche_ = new Recherche(Phase, this, [this](int i) { phaseChoisie(i); }, {Charger, imprimer, Modifier, Trajectoire, Statut});
    for (const auto& o : optionsPhotos())
        connect(o.bouton, &QRadioButton::clicked, this, [this, b = o.bouton] { optionPhotoCliquee(b); });
    connect(Image6, &Image::clique, this, &Selectphase::ouvrirZoom);
    connect(Infomachine, &QPushButton::clicked, this, &Selectphase::ouvrirInfoMachine);
    connect(Dossiertechnique, &QPushButton::clicked, this, &Selectphase::ouvrirDossierTechnique);
    connect(Charger, &QPushButton::clicked, this, &Selectphase::chargerVersCn);
    connect(Command2, &QPushButton::clicked, this, &Selectphase::ouvrirTransfert);
    connect(imprimer, &QPushButton::clicked, this, &Selectphase::ouvrirImpression);
    connect(Command1, &QPushButton::clicked, this, &Selectphase::ouvrirCreation);
    connect(Modifier, &QPushButton::clicked, this, &Selectphase::ouvrirModification);
    connect(Archives, &QPushButton::clicked, this, &Selectphase::ouvrirArchives);
    connect(Trajectoire, &QPushButton::clicked, this, &Selectphase::ouvrirTrajectoire);
    connect(Service, &QPushButton::clicked, this, &Selectphase::ouvrirService);
    connect(Journal, &QPushButton::clicked, this, &Selectphase::ouvrirJournal);
    connect(Statut, &QPushButton::clicked, this, &Selectphase::ouvrirStatut);
    connect(Command3, &QPushButton::clicked, this, &Selectphase::aPropos);
    connect(quitter, &QPushButton::clicked, this, &Selectphase::quitterDemande);
    connect(Timer1, &Minuterie::tic, this, &Selectphase::tic);
    connect(Surveillance, &Minuterie::tic, this, &Selectphase::suivreIndex);
}

QString Selectphase::entreeMontree() const { return Phase->currentText(); }

ReglagesPort Selectphase::reglagesPort() const
{
    return {Port2->currentText(), Vitesse2->currentText(), Parite2->currentText(), Nbrebits2->currentText(),
            Bitsstop2->currentText()};
}

ValeursMontrees Selectphase::valeursMontrees() const
{
    return {Prefx->text(),    Prefy->text(),    Prefz->text(),    Decx->text(),          Decy->text(),
            Decz->text(),     Decalage->text(), OrigineX->text(), OrigineY->text(),      OrigineZ->text(),
            Infovrac->toPlainText(), Jauge->toPlainText()};
}

std::optional<ImageMontree> Selectphase::imageMontree() const
{
    if (Image1->image().isNull()) return std::nullopt;
    return ImageMontree{Image1->chemin(), Image1->twips().size()};
}

bool Selectphase::modifiable() const { return Modifier->isEnabled(); }

Vumetre& Selectphase::vumetre() { return *ProgressBar1; }

void Selectphase::montrerValeur(Valeur boite, const QString& texte)
{
    switch (boite) {
    case Valeur::Prefx: Prefx->setText(texte); break;
    case Valeur::Prefy: Prefy->setText(texte); break;
    case Valeur::Prefz: Prefz->setText(texte); break;
    case Valeur::Decx: Decx->setText(texte); break;
    case Valeur::Decy: Decy->setText(texte); break;
    case Valeur::Decz: Decz->setText(texte); break;
    case Valeur::Decalage: Decalage->setText(texte); break;
    case Valeur::OrigineX: OrigineX->setText(texte); break;
    case Valeur::OrigineY: OrigineY->setText(texte); break;
    case Valeur::OrigineZ: OrigineZ->setText(texte); break;
    case Valeur::Infovrac: Infovrac->setPlainText(texte); break;
    case Valeur::Jauge: Jauge->setPlainText(texte); break;
    }
}

void Selectphase::vueModifiee()
{
    cadrerimage(*services_.images, dossierFiche() + QStringLiteral("Vue.jpg"), Image3, Image1, Frame4, kLimiteApercu);
    for (const auto& o : optionsPhotos()) deselectionner(o.bouton);
    Image6->effacer();
}

std::array<Selectphase::OptionPhoto, 8> Selectphase::optionsPhotos() const
{
    const std::array<QRadioButton*, 8> boutons = {Option10, Option3, Option4, Option5,
                                                  Option6,  Option7, Option8, Option9};
    std::array<OptionPhoto, 8> o;
    for (int i = 0; i < 8; ++i) o[i] = {boutons[i], modelePhoto(i).fichier};
    return o;
}

void Selectphase::charger()
{
    {
        Demarrage demarrage(this);
        services_.fenetres->afficherModal(&demarrage);
    }
    etatDeDepart();

    Image2->charger(*services_.images, QStringLiteral("data\\tarvex.jpg"));
    const QImage icone = services_.images->charger(QStringLiteral("data\\icon.ico"));
    if (!icone.isNull()) setWindowIcon(QIcon(QPixmap::fromImage(icone)));

    previsu(QString());
    reglagesParDefaut();
    Phase->setEditText(u("Sélection de la phase"));
    remplirliste();
    Timer1->demarrer(100);
    Surveillance->demarrer(5000);
    reprendreService();
}

void Selectphase::etatDeDepart()
{
    Frame9->show();
    Frame10->show();
    Frame19->hide();
    Frame17->hide();
    Frame21->hide();
    for (const auto& o : optionsPhotos()) {
        deselectionner(o.bouton);
        o.bouton->setEnabled(false);
    }
    for (QPushButton* b : {Charger, Modifier, imprimer, Dossiertechnique, Infomachine, Trajectoire, Statut})
        b->setEnabled(false);
    // No sheet, no status: not even "—".
    StatutFiche->clear();
    StatutFiche->setToolTip(QString());
    StatutFiche->setStyleSheet(QString());
}

void Selectphase::reglagesParDefaut()
{
    Port2->setEditText(QStringLiteral("COM1"));
    Vitesse2->setEditText(QStringLiteral("9600"));
    Parite2->setEditText(QStringLiteral("E(ven)"));
    Nbrebits2->setEditText(QStringLiteral("7"));
    Bitsstop2->setEditText(QStringLiteral("2"));
}

bool Selectphase::remplirliste()
{
    // Taken before reading: a change made meanwhile is seen at the next look.
    indexLu_ = empreinte(kIndex);
    const auto entrees = tarvex::remplirliste();
    std::vector<int> ordre;
    ordre.reserve(entrees.valeur.size());
    for (const auto& e : entrees.valeur) ordre.push_back(e.numero);
    recherche_->invalider(std::move(ordre));
    // Built in one go: adding entries one by one to a combo box that is
    // already shown costs a layout pass each.
    auto* modele = new QStandardItemModel(Phase);
    QList<QStandardItem*> items;
    items.reserve(static_cast<qsizetype>(entrees.valeur.size()));
    for (const auto& e : entrees.valeur) {
        auto* item = new QStandardItem(QString::fromStdString(e.texte));
        item->setData(e.numero, Qt::UserRole);
        items.append(item);
    }
    modele->invisibleRootItem()->appendRows(items);
    const QString texte = Phase->currentText();
    Phase->setModel(modele);  // the previous model belonged to the combo box, which deletes it
    Phase->setCurrentIndex(-1);
    Phase->setEditText(texte);

    if (!entrees.ok()) {
        QString message;
        if (!fichiers::estDossier("data"))
            message = u("Le dossier des données data\\ est introuvable dans le dossier de travail %1.\n"
                        "Tarvex doit être démarré dans le dossier qui contient data\\. La liste des fiches reste vide.")
                          .arg(QDir::toNativeSeparators(QDir::currentPath()));
        else if (!fichiers::existe(kIndex))
            message = u("Le fichier des fiches data\\data.txt est introuvable.\nLa liste des fiches reste vide.");
        else
            message = u("Le fichier des fiches data\\data.txt est abîmé :\n") +
                      QString::fromStdString(joindreProblemes(entrees.problemes));
        services_.messages->afficher(this, message, u("Infos"), Icone::Exclamation);
    }
    listeLue_ = entrees.ok();
    return listeLue_;
}

void Selectphase::reinitialiser()
{
    etatDeDepart();
    Infovrac->setPlainText(u("Infos à compléter"));
    Jauge->setPlainText(u("A compléter"));
    for (Image* i : {Image1, Image4, Image5, Image6}) i->effacer();
    reglagesParDefaut();
    fiche_ = {};
    saisieMontree_.clear();
    aviser(QString());
    for (int i = 1; i <= 18; ++i) Label[i]->clear();
    Programme->clear();
    Annotation->clear();
    for (QLineEdit* b : {Prefx, Prefy, Prefz, Decx, Decy, Decz, OrigineX, OrigineY, OrigineZ, Decalage, Text2, Text3, Text4})
        b->clear();
    Phase->setEditText(u("Sélection de la phase"));
    remplirliste();
}

QString Selectphase::dossierFiche() const { return QString::fromStdString(fiche_.dossier()); }

void Selectphase::previsu(const QString& cheminData)
{
    // The largest picture shown whole, in twips.
    constexpr int kLimitePrevisualisation = 2000;
    cadrerimage(*services_.images, cheminData, Image7, Image6, Frame14, kLimitePrevisualisation);
}

void Selectphase::animervumetre()
{
    ProgressBar1->setValue(0);
    for (int v = 0; v <= 100; ++v) {
        services_.horloge->patienter(2000);
        ProgressBar1->setValue(v);
        ProgressBar1->repaint();
    }
    ProgressBar1->setValue(0);
    ProgressBar1->repaint();
}

void Selectphase::tic() { Time->setText(services_.horloge->maintenant()); }

void Selectphase::aPropos()
{
    Demarrage aPropos(this);
    services_.fenetres->afficherModal(&aPropos);
}

void Selectphase::quitterDemande()
{
    QString question = u("Voulez vous vraiment quitter ?");
    if (serviceEnMarche())
        question += u("\nLe service DNC est en marche : les commandes numériques ne seront plus servies.");
    if (services_.messages->afficher(this, question, u("Confirmation"), Icone::Question, Boutons::OuiNon) ==
        Reponse::Oui) {
        Timer1->arreter();
        Surveillance->arreter();
        // What the controls were sending is kept, what was going to them journaled.
        terminerService();
        fin_ = true;
        services_.application->quitter();
    }
}

void Selectphase::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    // Back from another program, or from a window of its own: what another
    // computer stored meanwhile shows at once.
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) suivreIndex();
}

void Selectphase::closeEvent(QCloseEvent* e)
{
    // The title bar's close button asks the same question as "Quitter".
    if (fin_) {
        e->accept();
        return;
    }
    e->ignore();
    quitterDemande();
}

}  // namespace tarvex
