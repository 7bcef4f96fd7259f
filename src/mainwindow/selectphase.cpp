#include "mainwindow/selectphase.h"

#include "mainwindow/cadrerimage.h"
#include "mainwindow/demarrage.h"
#include "mainwindow/liste.h"
#include "mainwindow/recherche.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/lecteur.h"

#include <QCloseEvent>
#include <QDir>
#include <QStandardItemModel>

namespace tarvex {

using namespace plateforme;

namespace {

// Sizes of the boxes pictures are fitted into, in twips.
constexpr int kApercu = 1695;
constexpr int kPrevisualisation = 2415;
constexpr int kLimitePrevisualisation = 2000;

template <class W>
W* creer(QWidget* parent, const char* nom, int x, int y, int l, int h)
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromUtf8(nom));
    placer(w, x, y, l, h);
    return w;
}

Cadre* cadre(QWidget* parent, const char* nom, const QString& titre, int x, int y, int l, int h)
{
    auto* c = creer<Cadre>(parent, nom, x, y, l, h);
    c->setTitle(titre);
    c->tailleTwips(l, h);
    return c;
}

QLabel* etiquette(QWidget* parent, const char* nom, const QString& texte, int x, int y, int l, int h = 255)
{
    auto* e = creer<QLabel>(parent, nom, x, y, l, h);
    e->setText(texte);
    return e;
}

QLineEdit* boite(QWidget* parent, const char* nom, int x, int y, int l, int h = 315)
{
    return creer<QLineEdit>(parent, nom, x, y, l, h);
}

QLineEdit* boiteValeur(QWidget* parent, const char* nom, int x, int y, int l)
{
    auto* b = boite(parent, nom, x, y, l);
    fondTexte(b, kJauneClair);
    debutVisible(b);
    return b;
}

QPushButton* bouton(QWidget* parent, const char* nom, const QString& texte, int x, int y, int l = 1215, int h = 375)
{
    auto* b = creer<QPushButton>(parent, nom, x, y, l, h);
    b->setText(texte);
    b->setAutoDefault(false);
    return b;
}

QComboBox* liste(QWidget* parent, const char* nom, const QStringList& entrees, int x, int y, int l)
{
    auto* c = creer<QComboBox>(parent, nom, x, y, l, 315);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(entrees);
    debutVisible(c->lineEdit());
    return c;
}

QString u(const char* s) { return QString::fromUtf8(s); }

}  // namespace

Selectphase::Selectphase(Services& services, QWidget* parent) : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("selectphase"));
    setWindowTitle(QStringLiteral("Tarvex"));
    setFixedSize(px(16440), px(10260));
    construire();
}

Selectphase::~Selectphase() = default;

void Selectphase::construire()
{
    // Logo
    Image2 = new Image(this, true);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->placerTwips(120, 180, 2400, 1560);

    // "Choix Pièce/Phase"
    Frame1 = cadre(this, "Frame1", u("Choix Pièce/Phase"), 2640, 120, 6000, 1620);
    Phase = creer<QComboBox>(Frame1, "Phase", 120, 300, 3600, 315);
    Phase->setEditable(true);
    Phase->setInsertPolicy(QComboBox::NoInsert);
    Phase->setMaxVisibleItems(25);
    Phase->setToolTip(u("Choisir une phase d'usinage dans le menu déroulant"));
    Time = boite(Frame1, "Time", 3840, 300, 2040);
    Time->setReadOnly(true);
    Label22 = etiquette(Frame1, "Label22", u("Matière"), 120, 840, 840);
    Text4 = boite(Frame1, "Text4", 960, 810, 1920);
    debutVisible(Text4);
    Text4->setToolTip(u("Matière de la pièce"));
    Label21 = etiquette(Frame1, "Label21", u("Ensemble"), 3000, 840, 840);
    Text2 = boite(Frame1, "Text2", 3840, 810, 2040);
    debutVisible(Text2);
    Text2->setToolTip(u("Nom de l'ensemble"));

    // "Machine"
    Frame2 = cadre(this, "Frame2", u("Machine"), 8760, 120, 5640, 2160);
    Label23 = etiquette(Frame2, "Label23", u("Machine"), 120, 330, 1200);
    Text3 = boite(Frame2, "Text3", 120, 600, 3480);
    debutVisible(Text3);
    Text3->setToolTip(u("Nom de la Machine-Outil"));
    Infomachine = bouton(Frame2, "Infomachine", u("Infos"), 120, 1140);
    Infomachine->setToolTip(u("Dossier Machine"));
    Frame3 = cadre(Frame2, "Frame3", u("Aperçu"), 3780, 300, kApercu, kApercu);
    Image5 = new Image(Frame3, true);
    Image5->setObjectName(QStringLiteral("Image5"));
    Image5->setToolTip(u("Aperçu Machine"));
    Image8 = new Image(this, false);
    Image8->setObjectName(QStringLiteral("Image8"));
    Image8->hide();

    // part "Aperçu"
    Frame4 = cadre(this, "Frame4", u("Aperçu"), 14520, 120, kApercu, kApercu);
    Image1 = new Image(Frame4, true);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setToolTip(u("Aperçu pièce"));
    Image3 = new Image(this, false);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->hide();

    // "Listing Programme", "Annotations Programme"
    Frame5 = cadre(this, "Frame5", u("Listing Programme"), 120, 2400, 4680, 4200);
    Programme = creer<QPlainTextEdit>(Frame5, "Programme", 120, 300, 4440, 3780);
    Programme->setReadOnly(true);
    Programme->setLineWrapMode(QPlainTextEdit::NoWrap);
    Programme->setToolTip(u("Listing du programme"));
    Frame6 = cadre(this, "Frame6", u("Annotations Programme"), 120, 6720, 4680, 1560);
    Annotation = creer<QListWidget>(Frame6, "Annotation", 120, 300, 4440, 1140);
    Annotation->setToolTip(u("Annotations contenues dans le programme"));

    // "PREF/DEC1/Jauges/Origine": each value box holds an offset as a
    // workshop writes it, sign, four digits and three decimals (-1250.125),
    // beside a caption shown whole.
    Frame7 = cadre(this, "Frame7", u("PREF/DEC1/Jauges/Origine"), 4920, 2400, 5640, 5880);
    Frame9 = cadre(Frame7, "Frame9", u("PREF"), 120, 300, 2640, 1440);
    Frame9->setToolTip(u("Valeurs des PREF"));
    Prefxtext = etiquette(Frame9, "Prefxtext", u("PREF suivant X"), 120, 360, 1320);
    Prefx = boiteValeur(Frame9, "Prefx", 1440, 330, 1080);
    Prefytext = etiquette(Frame9, "Prefytext", u("PREF suivant Y"), 120, 750, 1320);
    Prefy = boiteValeur(Frame9, "Prefy", 1440, 720, 1080);
    Prefztext = etiquette(Frame9, "Prefztext", u("PREF suivant Z"), 120, 1140, 1320);
    Prefz = boiteValeur(Frame9, "Prefz", 1440, 1110, 1080);
    Frame10 = cadre(Frame7, "Frame10", u("DEC1"), 2880, 300, 2640, 1440);
    Frame10->setToolTip(u("Valeurs des DEC1"));
    Decxtext = etiquette(Frame10, "Decxtext", u("DEC1 suivant X"), 120, 360, 1320);
    Decx = boiteValeur(Frame10, "Decx", 1440, 330, 1080);
    Decytext = etiquette(Frame10, "Decytext", u("DEC 1suivant Y"), 120, 750, 1320);
    Decy = boiteValeur(Frame10, "Decy", 1440, 720, 1080);
    Decztext = etiquette(Frame10, "Decztext", u("DEC1 suivant Z"), 120, 1140, 1320);
    Decz = boiteValeur(Frame10, "Decz", 1440, 1110, 1080);
    Frame17 = cadre(Frame7, "Frame17", u("Origine"), 120, 300, 2640, 1440);
    Décalage = boiteValeur(Frame17, "Décalage", 120, 600, 2400);
    Décalage->setToolTip(u("Décalage d'origine"));
    Frame19 = cadre(Frame7, "Frame19", u("Décalage d'origine"), 2880, 300, 2640, 1440);
    OrigineXtext = etiquette(Frame19, "OrigineXtext", u("Suivant X"), 120, 360, 1200);
    OrigineX = boiteValeur(Frame19, "OrigineX", 1440, 330, 1080);
    OrigineYtext = etiquette(Frame19, "OrigineYtext", u("Suivant Y"), 120, 750, 1200);
    OrigineY = boiteValeur(Frame19, "OrigineY", 1440, 720, 1080);
    OrigineZtext = etiquette(Frame19, "OrigineZtext", u("Suivant Z"), 120, 1140, 1200);
    OrigineZ = boiteValeur(Frame19, "OrigineZ", 1440, 1110, 1080);
    Frame21 = cadre(Frame7, "Frame21", u("Données"), 120, 300, 5400, 1440);
    Infovrac = creer<QPlainTextEdit>(Frame21, "Infovrac", 120, 300, 5160, 1020);
    Infovrac->setToolTip(u("Infos diverses"));
    Infovrac->setPlainText(u("Infos à compléter"));
    fondTexte(Infovrac, kJauneClair);
    Frame8 = cadre(Frame7, "Frame8", u("Jauge Outil"), 120, 1860, 5400, 3900);
    Jauge = creer<QPlainTextEdit>(Frame8, "Jauge", 120, 300, 3120, 3480);
    Jauge->setToolTip(u("Valeurs des jauges"));
    Jauge->setPlainText(u("Valeur des jauges"));
    Jauge->setLineWrapMode(QPlainTextEdit::NoWrap);
    fondTexte(Jauge, kJauneClair);
    Image4 = new Image(Frame8, true);
    Image4->setObjectName(QStringLiteral("Image4"));
    Image4->placerTwips(3360, 300, 1920, 2400);

    // "Visualisation"
    Frame11 = cadre(this, "Frame11", u("Visualisation"), 10680, 2400, 5640, 5880);
    Frame12 = cadre(Frame11, "Frame12", u("Dossier Technique"), 120, 300, 5400, 780);
    Dossiertechnique = bouton(Frame12, "Dossiertechnique", u("Afficher"), 120, 300);
    OLE1 = etiquette(Frame12, "OLE1", QString(), 1440, 300, 3000, 375);
    Frame14 = cadre(Frame11, "Frame14", u("Prévisualisation"), 120, 1200, kPrevisualisation, kPrevisualisation);
    Image6 = new Image(Frame14, true);
    Image6->setObjectName(QStringLiteral("Image6"));
    Image6->setToolTip(u("Cliquer sur l'image pour Zoomer"));
    Image7 = new Image(this, false);
    Image7->setObjectName(QStringLiteral("Image7"));
    Image7->hide();
    Frame13 = cadre(Frame11, "Frame13", u("Options"), 2640, 1200, 2880, 2940);
    Frame13->setToolTip(u("Options de visualisation"));
    const char* noms[8] = {"Option10", "Option3", "Option4", "Option5", "Option6", "Option7", "Option8", "Option9"};
    const char* textes[8] = {"Montage d'usinage 1", "Montage d'usinage 2", "Installation / machine", "Mise en butée",
                             "Bridage", "Palpage X", "Palpage Y", "Palpage Z"};
    QRadioButton** boutons[8] = {&Option10, &Option3, &Option4, &Option5, &Option6, &Option7, &Option8, &Option9};
    for (int i = 0; i < 8; ++i) {
        *boutons[i] = creer<QRadioButton>(Frame13, noms[i], 120, 300 + i * 315, 2640, 285);
        (*boutons[i])->setText(u(textes[i]));
        QRadioButton* b = *boutons[i];
        connect(b, &QRadioButton::clicked, this, [this, b] { optionPhotoCliquee(b); });
    }

    // "Téléchargement"
    Frame15 = cadre(this, "Frame15", u("Téléchargement"), 120, 8400, 10440, 1740);
    Visu = cadre(Frame15, "Visu", u("Vu-mètre"), 120, 300, 2280, 780);
    ProgressBar1 = new Vumetre(Visu);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    placer(ProgressBar1, 120, 330, 2040, 300);
    Frame16 = cadre(Frame15, "Frame16", u("Options"), 2520, 300, 2640, 1320);
    Frame16->setToolTip(u("Options de Chargement"));
    Option1 = creer<QRadioButton>(Frame16, "Option1", 120, 300, 1440, 285);
    Option1->setText(u("Programme "));
    Option2 = creer<QRadioButton>(Frame16, "Option2", 120, 630, 1440, 285);
    Option2->setText(u("Jauges seules"));
    Check1 = creer<QCheckBox>(Frame16, "Check1", 1560, 300, 960, 285);
    Check1->setText(u("PREF "));
    Check2 = creer<QCheckBox>(Frame16, "Check2", 1560, 630, 960, 285);
    Check2->setText(u("DEC1"));
    Check3 = creer<QCheckBox>(Frame16, "Check3", 1560, 960, 960, 285);
    Check3->setText(u("Jauges"));
    // Each column as wide as the longer of its caption and its box.
    Frame18 = cadre(Frame15, "Frame18", u("Communication"), 5280, 300, 5040, 1320);
    Frame18->setToolTip(u("Paramètres de communication"));
    Label24 = etiquette(Frame18, "Label24", u("Port"), 120, 330, 960);
    Label25 = etiquette(Frame18, "Label25", u("Vitesse"), 1170, 330, 900);
    Label26 = etiquette(Frame18, "Label26", u("Parité"), 2160, 330, 1020);
    Label27 = etiquette(Frame18, "Label27", u("Nbre Bits"), 3270, 330, 780);
    Label28 = etiquette(Frame18, "Label28", u("Bits stop"), 4140, 330, 780);
    Port2 = liste(Frame18, "Port2", {"COM1", "COM2", "COM3", "COM4", "COM5"}, 120, 660, 960);
    Vitesse2 = liste(Frame18, "Vitesse2", {"9600", "4800", "2400", "1200", "600", "300"}, 1170, 660, 900);
    Parité2 = liste(Frame18, "Parité2", {"E(ven)", "N(one)", "O(dd)"}, 2160, 660, 1020);
    Nbrebits2 = liste(Frame18, "Nbrebits2", {"5", "6", "7", "8"}, 3270, 660, 780);
    Bitsstop2 = liste(Frame18, "Bitsstop2", {"1", "2"}, 4140, 660, 780);
    MSComm1 = services_.ports->creer(this);
    MSComm1->setObjectName(QStringLiteral("MSComm1"));

    // buttons
    Charger = bouton(this, "Charger", u("Charger"), 10680, 8460, 1140);
    Charger->setToolTip(u("Téléchargement Pièce en cours vers la Machine-Outil"));
    Command2 = bouton(this, "Command2", u("PC - CN"), 11880, 8460, 1140);
    Command2->setToolTip(u("Emission/Réception Fichier/Machine-Outil"));
    imprimer = bouton(this, "imprimer", u("Imprimer"), 13080, 8460, 1140);
    imprimer->setToolTip(u("Imprimer la fiche technique de phase"));
    Modifier = bouton(this, "Modifier", u("Modifier"), 14280, 8460, 1140);
    Modifier->setToolTip(u("Modifier ou supprimer des données pièce"));
    Command1 = bouton(this, "Command1", u("Créer"), 10680, 9000, 1140);
    Command1->setToolTip(u("Créer une nouvelle fiche pièce"));
    Command3 = bouton(this, "Command3", u("A propos"), 11880, 9000, 1140);
    Command3->setToolTip(u("A propos de Tarvex"));
    Archives = bouton(this, "Archives", u("Archives"), 13080, 9000, 1140);
    Archives->setToolTip(u("Fiches supprimées et anciennes versions"));
    quitter = bouton(this, "quitter", u("Quitter"), 15120, 9000, 1140);
    quitter->setToolTip(u("Sortir de Tarvex"));
    Trajectoire = bouton(this, "Trajectoire", u("Trajectoire"), 10680, 9540, 1140);
    Trajectoire->setToolTip(u("Voir la trajectoire du programme"));

    // The selected sheet, out of sight.
    for (int i = 1; i <= 18; ++i) {
        Label[i] = new QLabel(this);
        Label[i]->setObjectName(QStringLiteral("Label%1").arg(i));
        Label[i]->hide();
    }
    Timer1 = new Minuterie(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));

    connect(Phase, qOverload<int>(&QComboBox::activated), this, &Selectphase::phaseChoisie);
    // The proposals under Phase replace the combo box's own completion,
    // which would complete only from the first letters of the entries.
    Phase->setCompleter(nullptr);
    recherche_ = new Recherche(Phase, this, [this](int i) { phaseChoisie(i); }, {Charger, imprimer, Modifier, Trajectoire});
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
    connect(Command3, &QPushButton::clicked, this, &Selectphase::aPropos);
    connect(quitter, &QPushButton::clicked, this, &Selectphase::quitterDemande);
    connect(Timer1, &Minuterie::tic, this, &Selectphase::tic);
}

std::array<Selectphase::OptionPhoto, 8> Selectphase::optionsPhotos() const
{
    return {{{Option10, "mont1.jpg"},
             {Option3, "mont2.jpg"},
             {Option4, "inst.jpg"},
             {Option5, "butée.jpg"},
             {Option6, "bride.jpg"},
             {Option7, "prefx.jpg"},
             {Option8, "prefy.jpg"},
             {Option9, "prefz.jpg"}}};
}

void Selectphase::charger()
{
    {
        Demarrage demarrage(this);
        services_.fenetres->afficherModal(&demarrage);
    }
    etatDeDepart();

    const QImage logo = services_.images->charger(QStringLiteral("data\\tarvex.jpg"));
    Image2->afficher(QStringLiteral("data\\tarvex.jpg"), logo);
    const QImage icone = services_.images->charger(QStringLiteral("data\\icon.ico"));
    if (!icone.isNull()) setWindowIcon(QIcon(QPixmap::fromImage(icone)));

    previsu(QString());
    reglagesParDefaut();
    Phase->setEditText(u("Sélection de la phase"));
    remplirliste();
    Timer1->demarrer(100);
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
    for (QPushButton* b : {Charger, Modifier, imprimer, Dossiertechnique, Infomachine, Trajectoire}) b->setEnabled(false);
}

void Selectphase::reglagesParDefaut()
{
    Port2->setEditText(QStringLiteral("COM1"));
    Vitesse2->setEditText(QStringLiteral("9600"));
    Parité2->setEditText(QStringLiteral("E(ven)"));
    Nbrebits2->setEditText(QStringLiteral("7"));
    Bitsstop2->setEditText(QStringLiteral("2"));
}

void Selectphase::remplirliste()
{
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
}

void Selectphase::reinitialiser()
{
    etatDeDepart();
    Infovrac->setPlainText(u("Infos à compléter"));
    Jauge->setPlainText(u("A compléter"));
    for (Image* i : {Image1, Image4, Image5, Image6}) i->effacer();
    reglagesParDefaut();
    fiche_ = {};
    for (int i = 1; i <= 18; ++i) Label[i]->clear();
    Programme->clear();
    Annotation->clear();
    for (QLineEdit* b : {Prefx, Prefy, Prefz, Decx, Decy, Decz, OrigineX, OrigineY, OrigineZ, Décalage, Text2, Text3, Text4})
        b->clear();
    Phase->setEditText(u("Sélection de la phase"));
    remplirliste();
}

QString Selectphase::dossierFiche() const { return QString::fromStdString(fiche_.dossier()); }

void Selectphase::previsu(const QString& cheminData)
{
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
    if (services_.messages->afficher(this, u("Voulez vous vraiment quitter ?"), u("Confirmation"), Icone::Question,
                                     Boutons::OuiNon) == Reponse::Oui) {
        Timer1->arreter();
        fin_ = true;
        services_.application->quitter();
    }
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
