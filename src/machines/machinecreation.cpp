#include "machines/machinecreation.h"

#include "machines/machinebilancreation.h"
#include "platform/autorisation.h"
#include "platform/cadrerimage.h"
#include "platform/construction.h"
#include "platform/selecteur.h"
#include "platform/textes.h"
#include "store/fichiers.h"
#include "store/machines.h"

namespace tarvex {

using namespace plateforme;

namespace {

constexpr int kLimitePrevisu = 2400;

QRadioButton* option(QWidget* parent, const char* nom, const char* texte, int x, int y, const char* bulle)
{
    return avecBulle(choix<QRadioButton>(parent, nom, texte, x, y, 4440, 315), bulle);
}

}  // namespace

MachineCreation::MachineCreation(QWidget* parent, QWidget* proprietaire, Services& services,
                                 std::function<void(const QString&)> ajouter)
    : Fenetre(parent, u("MachineCréation"), u("Création Machine"), 10440, 7320),
      proprietaire_(proprietaire),
      services_(services),
      ajouter_(std::move(ajouter))
{
    // "Machine"
    Frame14 = cadre(this, "Frame14", "Machine", 120, 120, 4920, 2520);
    Frame13 = cadre(Frame14, "Frame13", "Nom", 120, 300, 3000, 720, "Nom de la machine");
    Text1 = avecBulle(creer<QLineEdit>(Frame13, "Text1", 120, 300, 2760, 315), "Nom de la machine");
    Option1 = option(Frame14, "Option1", "Tour CN", 120, 1140, "Famille Machine");
    Option2 = option(Frame14, "Option2", "Fraiseuse CN", 120, 1560, "Famille Machine");
    Option1->resize(px(1800), Option1->height());
    Option2->resize(px(1800), Option2->height());
    Image4 = avecBulle(image(Frame14, "Image4"), "Famille Machine");
    Image4->placerTwips(3240, 1080, 1440, 1200);

    // "Directeur de commande"
    const char* bulleDirecteur = "Type de Directeur de commande";
    Frame2 = cadre(this, "Frame2", "Directeur de commande", 120, 2760, 4920, 1860, bulleDirecteur);
    Option3 = option(Frame2, "Option3", "Type NUM (PREF/DEC1/Jauges)", 120, 300, bulleDirecteur);
    Option4 = option(Frame2, "Option4", "Type FAGOR (Jauges)", 120, 660, bulleDirecteur);
    Option5 = option(Frame2, "Option5", "Type FANUC (Origine/Jauges)", 120, 1020, bulleDirecteur);
    Option10 = option(Frame2, "Option10", "Autre", 120, 1380, bulleDirecteur);

    // "Communication"
    Frame6 = cadre(this, "Frame6", "Communication", 120, 4740, 4920, 1140, "Paramètres de communication");
    // Each column as wide as the longer of its caption and its box.
    Port1 = etiquette(Frame6, "Port1", "Port", 120, 300, 960);
    Port2 = liste(Frame6, "Port2", {"COM1", "COM2", "COM3", "COM4", "COM5"}, 120, 600, 960);
    Vitesse1 = etiquette(Frame6, "Vitesse1", "Vitesse", 1140, 300, 900);
    Vitesse2 = liste(Frame6, "Vitesse2", {"9600", "4800", "2400", "1200", "600", "300"}, 1140, 600, 900);
    Parite1 = etiquette(Frame6, "Parité1", "Parité", 2100, 300, 1020);
    Parite2 = liste(Frame6, "Parité2", {"E(ven)", "N(one)", "O(dd)"}, 2100, 600, 1020);
    Nbrebits1 = etiquette(Frame6, "Nbrebits1", "Nbre Bits", 3180, 300, 780);
    Nbrebits2 = liste(Frame6, "Nbrebits2", {"5", "6", "7", "8"}, 3180, 600, 780);
    Bitsstop1 = etiquette(Frame6, "Bitsstop1", "Bits stop", 4020, 300, 780);
    Bitsstop2 = liste(Frame6, "Bitsstop2", {"1", "2"}, 4020, 600, 780);

    // "Prévisualisation"
    Frame3 = cadre(this, "Frame3", "Prévisualisation", 5160, 120, 5160, 3240, "Photo Machine");
    sectionprevisu = avecBulle(bouton(Frame3, "sectionprévisu", "Image", 120, 300), "Photo Machine");
    Frame12 = cadre(Frame3, "Frame12", "", 2400, 300, 2640, 2880);
    Image1 = image(Frame12, "Image1");
    Image2 = imageNaturelle(this, "Image2");
    Machineimage = boiteCachee(Frame3, "Machineimage");

    // "Dossier Machine"
    Frame20 = cadre(this, "Frame20", "Dossier Machine", 5160, 3480, 5160, 2400);
    Command1 = avecBulle(bouton(Frame20, "Command1", "Importer", 120, 300), "Importer le Dossier Machine ZORVA");
    Programme = creer<QPlainTextEdit>(Frame20, "Programme", 120, 780, 4920, 1500);
    Programme->setToolTip(u("Dossier Machine"));
    Programme->setReadOnly(true);
    Programme->setLineWrapMode(QPlainTextEdit::NoWrap);
    chargedossier = boiteCachee(Frame20, "chargedossier");

    // "Code"
    Frame16 = cadre(this, "Frame16", "Code", 120, 6000, 4920, 780, "Code Autorisation");
    Label1 = etiquette(Frame16, "Label1", "Code autorisation", 120, 330, 1800);
    Text3 = creer<QLineEdit>(Frame16, "Text3", 2040, 300, 2760, 315);
    Text3->setEchoMode(QLineEdit::Password);

    Frame1 = cadre(this, "Frame1", "", 5160, 6000, 1455, 780);
    Command2 = bouton(Frame1, "Command2", "RAZ", 120, 270);
    Creer = bouton(this, "Créer", "Créer", 6960, 6300);
    quitter = bouton(this, "quitter", "Quitter", 8520, 6300);

    connect(Option1, &QRadioButton::clicked, this, &MachineCreation::tour);
    connect(Option2, &QRadioButton::clicked, this, &MachineCreation::fraiseuse);
    connect(sectionprevisu, &QPushButton::clicked, this, &MachineCreation::choisirImage);
    connect(Command1, &QPushButton::clicked, this, &MachineCreation::importer);
    connect(Command2, &QPushButton::clicked, this, &MachineCreation::raz);
    connect(Creer, &QPushButton::clicked, this, &MachineCreation::demanderBilan);
    connect(quitter, &QPushButton::clicked, this, &QWidget::hide);
}

void MachineCreation::charger()
{
    chargedossier->clear();
    Text1->setText(u(machines::kNomACompleter));
    Machineimage->setText(u(kPasDImage));
    previsu(Machineimage->text());
    deselectionnerOptions();
    reglagesParDefaut();
}

void MachineCreation::previsu(const QString& cheminData)
{
    cadrerimage(*services_.images, cheminData, Image2, Image1, Frame12, kLimitePrevisu);
}

// The first entry of each list: this window does not take the main window's
// defaults (7 data bits, 2 stop bits).
void MachineCreation::reglagesParDefaut()
{
    Port2->setEditText(QStringLiteral("COM1"));
    Vitesse2->setEditText(QStringLiteral("9600"));
    Parite2->setEditText(QStringLiteral("E(ven)"));
    Nbrebits2->setEditText(QStringLiteral("5"));
    Bitsstop2->setEditText(QStringLiteral("1"));
}

void MachineCreation::deselectionnerOptions()
{
    for (QRadioButton* o : {Option1, Option2, Option3, Option4, Option5, Option10}) deselectionner(o);
}

void MachineCreation::tour()
{
    deselectionner(Option2);
    Option1->setChecked(true);
    Image4->charger(*services_.images, u(imageDuGenre(kTournage)));
}

void MachineCreation::fraiseuse()
{
    deselectionner(Option1);
    Option2->setChecked(true);
    Image4->charger(*services_.images, u(imageDuGenre(kFraisage)));
}

void MachineCreation::choisirImage()
{
    if (proprietaire_) {
        if (const auto chemin = Selecteur::de(*proprietaire_, services_, selecteurs::MachineSelectionimage).choisir(this))
            Machineimage->setText(*chemin);
    }
    previsu(Machineimage->text());
}

void MachineCreation::importer()
{
    if (proprietaire_) {
        if (const auto chemin = Selecteur::de(*proprietaire_, services_, selecteurs::MachineDossier).choisir(this))
            chargedossier->setText(*chemin);
    }
    if (chargedossier->text().isEmpty()) return;
    // A file that cannot be read would only fail the writing of the machine
    // later, after the report: the choice is dropped at once, and said so.
    // An empty file is a machine file like another, shown empty.
    const QString chemin = chargedossier->text();
    if (!fichiers::lire(s(chemin))) {
        chargedossier->clear();
        Programme->clear();
        services_.messages->afficher(this, u("Le dossier machine ne peut pas être lu :\n%1").arg(chemin), u("Infos"),
                                     Icone::Exclamation);
        return;
    }
    Programme->setPlainText(apercuTexte(chemin));
}

void MachineCreation::raz()
{
    chargedossier->clear();
    Text1->setText(u(machines::kNomACompleter));
    Programme->clear();
    Machineimage->setText(u(kPasDImage));
    previsu(Machineimage->text());
    Image4->effacer();
    deselectionnerOptions();
    reglagesParDefaut();
}

void MachineCreation::demanderBilan()
{
    if (!codeAccepte(this, *services_.messages, Text3->text())) return;
    MachineBilancreation bilan(*this, services_, ajouter_);
    bilan.charger();
    services_.fenetres->afficherModal(&bilan);
}

machines::SaisieMachine MachineCreation::saisie() const
{
    machines::SaisieMachine m;
    m.nom = s(Text1->text());
    if (Option1->isChecked()) {
        m.type = 1;
        m.libelleType = s(Option1->text());
    } else if (Option2->isChecked()) {
        m.type = 2;
        m.libelleType = s(Option2->text());
    }
    const std::pair<QRadioButton*, int> directeurs[] = {{Option3, 1}, {Option4, 2}, {Option5, 3}, {Option10, 10}};
    for (const auto& [o, code] : directeurs) {
        if (!o->isChecked()) continue;
        m.directeur = code;
        m.libelleDirecteur = s(o->text());
        break;
    }
    m.port = s(Port2->currentText());
    m.vitesse = s(Vitesse2->currentText());
    m.parite = s(Parite2->currentText());
    m.bits = s(Nbrebits2->currentText());
    m.arret = s(Bitsstop2->currentText());
    m.image = s(Machineimage->text());
    m.dossier = s(chargedossier->text());
    return m;
}

}  // namespace tarvex
