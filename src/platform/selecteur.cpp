#include "platform/selecteur.h"

#include "platform/cadrerimage.h"
#include "platform/construction.h"
#include "store/cp1252.h"
#include "store/fichiers.h"
#include "store/textechoisi.h"

namespace tarvex {

using namespace plateforme;

namespace selecteurs {
const ModeleSelecteur Selectionimage{"Selectionimage", "Sélection image", "*.jpg", Apercu::Image};
const ModeleSelecteur Selectionprogramme{"Selectionprogramme", "Sélection programme", "*.txt", Apercu::Texte};
const ModeleSelecteur Selectiondossiertechnique{"Selectiondossiertechnique", "Sélection Dossier Technique (PDF)",
                                                "*.pdf", Apercu::Aucun};
const ModeleSelecteur Modificationimage{"Modificationimage", "Sélection image", "*.jpg", Apercu::Image};
const ModeleSelecteur Modificationprogramme{"Modificationprogramme", "Sélection programme", "*.txt", Apercu::Texte};
const ModeleSelecteur ModificationSelectiondossiertechnique{"ModificationSélectiondossiertechnique",
                                                            "Sélection Dossier Technique (PDF)", "*.pdf",
                                                            Apercu::Aucun};
const ModeleSelecteur MachineSelectionimage{"MachineSelectionimage", "Sélection image", "*.jpg", Apercu::Image,
                                            "data\\pasdimage.jpg"};
const ModeleSelecteur MachineDossier{"MachineDossier", "Sélection programme", "*.dmo", Apercu::Texte,
                                     "data\\pasdeprogramme.txt"};
}  // namespace selecteurs

void CadresSelecteur::construireSelecteur(QWidget* fenetre, const QString& motif, Apercu apercu, Messages& messages)
{
    FrameSelection = cadre(fenetre, "FrameSelection", "Sélection", 120, 120, 3240, 5640);
    Drive1 = creer<ListeLecteurs>(FrameSelection, "Drive1", 120, 300, 3000, 315);
    Dir1 = creer<ListeDossiers>(FrameSelection, "Dir1", 120, 720, 3000, 2340);
    File1 = nommer(new ListeFichiers(motif, FrameSelection), "File1");
    placer(File1, 120, 3180, 3000, 2340);

    if (apercu == Apercu::Image) {
        FrameVisualisation = cadre(fenetre, "FrameVisualisation", "Visualisation", 3480, 120, 5400, 5640);
        Image1 = image(FrameVisualisation, "Image1");
        Image2 = imageNaturelle(FrameVisualisation, "Image2");
    } else if (apercu == Apercu::Texte) {
        Frame2 = cadre(fenetre, "Frame2", "Listing Programme", 3480, 120, 5400, 5640);
        Programme = listingDeCadre(Frame2, "Programme", 5400, 5640);
    }

    Command1 = bouton(fenetre, "Command1", "OK", 5640, 5940);
    CmdQuitter = bouton(fenetre, "CmdQuitter", "Annuler", 7080, 5940);
    relierListes(Drive1, Dir1, File1, messages, fenetre);
}

QString apercuTexte(const QString& chemin, bool brut)
{
    auto octets = fichiers::lire(chemin.toStdString());
    if (octets && !brut) octets = textechoisi::analyser(*octets).octets;
    if (!octets || octets->empty()) return QString();
    return lignesBoite(QString::fromStdString(cp1252::versUtf8(std::string_view(octets->data(), octets->size() - 1))));
}

Selecteur& Selecteur::de(QWidget& proprietaire, Services& services, const ModeleSelecteur& modele)
{
    const QString nom = QString::fromUtf8(modele.nom);
    for (auto* s : proprietaire.findChildren<Selecteur*>(nom, Qt::FindDirectChildrenOnly))
        return *s;
    return *new Selecteur(proprietaire, services, modele);
}

Selecteur::Selecteur(QWidget& proprietaire, Services& services, const ModeleSelecteur& modele)
    : Fenetre(&proprietaire, QString::fromUtf8(modele.nom), QString::fromUtf8(modele.titre), 9000, 6540),
      services_(services),
      modele_(modele)
{
    construireSelecteur(this, QString::fromUtf8(modele.motif), modele.apercu, *services.messages);
    connect(File1, &ListeFichiers::clique, this, &Selecteur::montrer);
    // No file chosen, no preview: the folder changed, or the choice was undone.
    connect(Dir1, &ListeDossiers::change, this, &Selecteur::montrer);
    connect(File1, &QListWidget::itemSelectionChanged, this, [this] {
        if (File1->nom().isEmpty()) montrer();
    });
    connect(Command1, &QPushButton::clicked, this, &Selecteur::valider);
    connect(CmdQuitter, &QPushButton::clicked, this, &QWidget::hide);
}

std::optional<QString> Selecteur::choisir(QWidget* appelant)
{
    choix_.reset();
    if (appelant && !isVisible()) {
        const QRect cadre = appelant->frameGeometry();
        move(cadre.center() - rect().center());
    }
    // Where it was left, as the disk is now: files written meanwhile are
    // listed, the chosen one previewed again, or no preview if it is gone.
    Dir1->relire();
    File1->relire();
    montrer();
    services_.fenetres->afficherModal(this);
    return choix_;
}

void Selecteur::montrer()
{
    const QString chemin = File1->chemin();  // "" without a chosen file: an empty preview
    if (modele_.apercu == Apercu::Image)
        cadrerimage(*services_.images, chemin, Image2, Image1, FrameVisualisation,
                    kLimiteApercuSelecteur);
    else if (modele_.apercu == Apercu::Texte)
        Programme->setPlainText(chemin.isEmpty() ? QString() : apercuTexte(chemin));
}

void Selecteur::valider()
{
    if (!File1->nom().isEmpty())
        choix_ = File1->chemin();
    else if (modele_.parDefaut)
        choix_ = QString::fromUtf8(modele_.parDefaut);
    hide();
}

}  // namespace tarvex
