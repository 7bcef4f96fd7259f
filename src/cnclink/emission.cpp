#include "cnclink/emission.h"

#include "cnclink/liaison.h"
#include "mainwindow/selectphase.h"
#include "store/fichiers.h"
#include "store/textechoisi.h"

namespace tarvex {

using namespace plateforme;

Selecttelechargementprogramme::Selecttelechargementprogramme(Selectphase& principale)
    : Fenetre(&principale, QStringLiteral("Sélecttéléchargementprogramme"),
              QStringLiteral("Emission - Sélection programme"), 9000, 6540),
      principale_(principale)
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
    File1 = new ListeFichiers(QStringLiteral("*.txt"), FrameSelection);
    File1->setObjectName(QStringLiteral("File1"));
    placer(File1, 120, 3180, 3000, 2340);

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

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    placer(Command1, 5640, 5940, 1215, 375);
    Command1->setAutoDefault(false);
    CmdQuitter = new QPushButton(QStringLiteral("Annuler"), this);
    CmdQuitter->setObjectName(QStringLiteral("CmdQuitter"));
    placer(CmdQuitter, 7080, 5940, 1215, 375);
    CmdQuitter->setAutoDefault(false);

    MSComm1 = principale.services().ports->creer(this);
    MSComm1->setObjectName(QStringLiteral("MSComm1"));

    relierListes(Drive1, Dir1, File1, *principale.services().messages, this);
    connect(File1, &ListeFichiers::clique, this, &Selecttelechargementprogramme::montrerFichier);
    connect(Command1, &QPushButton::clicked, this, &Selecttelechargementprogramme::envoyer);
    connect(CmdQuitter, &QPushButton::clicked, this, &QWidget::hide);
}

Selecttelechargementprogramme::~Selecttelechargementprogramme() = default;

QString apercuTexte(const QString& chemin, bool brut)
{
    auto octets = fichiers::lire(chemin.toStdString());
    if (octets && !brut) octets = textechoisi::analyser(*octets).octets;
    if (!octets || octets->empty()) return QString();
    return liaison::texteBoite(QByteArray(octets->data(), static_cast<qsizetype>(octets->size() - 1)));
}

// The file goes to the CNC byte for byte: it is shown so.
void Selecttelechargementprogramme::montrerFichier() { Programme->setPlainText(apercuTexte(File1->chemin(), true)); }

void Selecttelechargementprogramme::envoyer()
{
    if (File1->nom().isEmpty()) {
        hide();
        return;
    }
    Messages& messages = *principale_.services().messages;
    if (!liaison::confirmer(messages, this)) return;

    MSComm1->regleControleFlux(PortSerie::ControleFlux::XonXoff);
    std::optional<liaison::Echec> echec = liaison::ouvrirPort(*MSComm1, principale_);
    if (!echec) {
        const Transfert transfert = transfertFichier(File1->chemin().toStdString());
        const liaison::Envoi envoi = liaison::envoyer(transfert, *MSComm1, *principale_.ProgressBar1,
                                                      liaison::reglage(principale_), principale_.services(), this);
        // Stopped, the window stays for another try.
        if (envoi.fin == liaison::FinEnvoi::Arrete) return;
        echec = envoi.echec;
        if (!echec) {
            liaison::signalerReussite(messages, this);
            hide();
            return;
        }
    }
    liaison::abandonner(*MSComm1);
    liaison::signaler(messages, this, *echec);
}

}  // namespace tarvex
