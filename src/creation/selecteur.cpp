#include "creation/selecteur.h"

#include "cnclink/emission.h"
#include "mainwindow/cadrerimage.h"
#include "mainwindow/selectphase.h"

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

Selecteur& Selecteur::de(Selectphase& principale, const ModeleSelecteur& modele)
{
    const QString nom = QString::fromUtf8(modele.nom);
    for (auto* s : principale.findChildren<Selecteur*>(nom, Qt::FindDirectChildrenOnly))
        return *s;
    return *new Selecteur(principale, modele);
}

Selecteur::Selecteur(Selectphase& principale, const ModeleSelecteur& modele)
    : Fenetre(&principale, QString::fromUtf8(modele.nom), QString::fromUtf8(modele.titre), 9000, 6540),
      principale_(principale),
      modele_(modele)
{
    FrameSelection = new Cadre(this);
    FrameSelection->setObjectName(QStringLiteral("FrameSelection"));
    FrameSelection->setTitle(QStringLiteral("Sélection"));
    placer(FrameSelection, 120, 120, 3240, 5640);
    FrameSelection->tailleTwips(3240, 5640);
    Drive1 = new ListeLecteurs(FrameSelection);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    placer(Drive1, 120, 300, 3000, 315);
    Dir1 = new ListeDossiers(FrameSelection);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    placer(Dir1, 120, 720, 3000, 2340);
    File1 = new ListeFichiers(QString::fromUtf8(modele.motif), FrameSelection);
    File1->setObjectName(QStringLiteral("File1"));
    placer(File1, 120, 3180, 3000, 2340);

    if (modele.apercu == Apercu::Image) {
        FrameVisualisation = new Cadre(this);
        FrameVisualisation->setObjectName(QStringLiteral("FrameVisualisation"));
        FrameVisualisation->setTitle(QStringLiteral("Visualisation"));
        placer(FrameVisualisation, 3480, 120, 5400, 5640);
        FrameVisualisation->tailleTwips(5400, 5640);
        Image1 = new Image(FrameVisualisation, true);
        Image1->setObjectName(QStringLiteral("Image1"));
        Image2 = new Image(FrameVisualisation, false);
        Image2->setObjectName(QStringLiteral("Image2"));
        Image2->hide();
    } else if (modele.apercu == Apercu::Texte) {
        Frame2 = new Cadre(this);
        Frame2->setObjectName(QStringLiteral("Frame2"));
        Frame2->setTitle(QStringLiteral("Listing Programme"));
        placer(Frame2, 3480, 120, 5400, 5640);
        Frame2->tailleTwips(5400, 5640);
        Programme = new QPlainTextEdit(Frame2);
        Programme->setObjectName(QStringLiteral("Programme"));
        placer(Programme, 120, 300, 5160, 5220);
        Programme->setReadOnly(true);
        Programme->setLineWrapMode(QPlainTextEdit::NoWrap);
    }

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    placer(Command1, 5640, 5940, 1215, 375);
    Command1->setAutoDefault(false);
    CmdQuitter = new QPushButton(QStringLiteral("Annuler"), this);
    CmdQuitter->setObjectName(QStringLiteral("CmdQuitter"));
    placer(CmdQuitter, 7080, 5940, 1215, 375);
    CmdQuitter->setAutoDefault(false);

    relierListes(Drive1, Dir1, File1, *principale.services().messages, this);
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
    principale_.services().fenetres->afficherModal(this);
    return choix_;
}

void Selecteur::montrer()
{
    const QString chemin = File1->chemin();  // "" without a chosen file: an empty preview
    if (modele_.apercu == Apercu::Image)
        cadrerimage(*principale_.services().images, chemin, Image2, Image1, FrameVisualisation,
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
