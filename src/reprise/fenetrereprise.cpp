#include "reprise/fenetrereprise.h"

#include "journal/consigner.h"
#include "platform/textes.h"
#include "cnclink/continu.h"
#include "store/cp1252.h"
#include "store/statut.h"
#include "store/texte.h"

#include <QAbstractListModel>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>

namespace tarvex {

using namespace plateforme;

namespace {

// The restart program's lines, the approach's in its colour: a restart near
// the end of a long program costs no item per line.
class ModeleReprise : public QAbstractListModel {
public:
    ModeleReprise(const RepriseAMontrer& r, QObject* parent) : QAbstractListModel(parent), reprise_(r) {}
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(reprise_.lignes.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const int i = index.row();
        if (!index.isValid() || i >= rowCount()) return {};
        const bool approche = i >= reprise_.debutApproche && i < reprise_.finApproche;
        switch (role) {
        case Qt::DisplayRole: return q(cp1252::versUtf8(reprise_.lignes[static_cast<std::size_t>(i)]));
        case Qt::ForegroundRole: return approche ? QVariant(couleurApproche().darker(120)) : QVariant();
        case Qt::ToolTipRole: return approche ? QStringLiteral("Approche écrite par Tarvex") : QVariant();
        default: return {};
        }
    }

private:
    const RepriseAMontrer& reprise_;
};

QPushButton* bouton(const char* nom, const char* texte, const char* bulle)
{
    auto* b = new QPushButton(QString::fromUtf8(texte));
    b->setObjectName(QString::fromUtf8(nom));
    b->setToolTip(QString::fromUtf8(bulle));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

QColor couleurApproche() { return QColor(230, 110, 0); }

FenetreReprise::FenetreReprise(QWidget* parent, Principale& principale, RepriseAMontrer reprise)
    : Fenetre(parent, QStringLiteral("Reprise"), reprise.titre, 9600, 7200),
      principale_(principale),
      reprise_(std::move(reprise))
{
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setSizeGripEnabled(true);

    Explication = new QLabel(q(reprise_.explication));
    Explication->setObjectName(QStringLiteral("Explication"));
    Explication->setWordWrap(true);
    Explication->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Listing = new QListView;
    Listing->setObjectName(QStringLiteral("Listing"));
    Listing->setToolTip(QStringLiteral("Le programme envoyé à la commande, l'approche en couleur"));
    Listing->setUniformItemSizes(true);
    Listing->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Listing->setModel(new ModeleReprise(reprise_, this));
    Continu = new QCheckBox(QStringLiteral("En continu"));
    Continu->setObjectName(QStringLiteral("Continu"));
    Continu->setToolTip(QStringLiteral("La commande exécute le programme à mesure qu'il arrive"));
    Envoyer = bouton("Envoyer", "Envoyer", "Envoyer ce programme à la commande de la machine");
    Imprimer = bouton("Imprimer", "Imprimer", "Imprimer ce programme et son explication");
    Fermer = bouton("Fermer", "Fermer", "Fermer sans rien envoyer");

    MSComm1 = principale_.services().ports->creer(this);
    MSComm1->setObjectName(QStringLiteral("MSComm1"));

    auto* boutons = new QHBoxLayout;
    boutons->addWidget(Continu);
    boutons->addStretch();
    for (QPushButton* b : {Envoyer, Imprimer, Fermer}) boutons->addWidget(b);
    auto* tout = new QVBoxLayout(this);
    tout->addWidget(Explication);
    tout->addWidget(Listing, 1);
    tout->addLayout(boutons);
    placer(parent);

    connect(Envoyer, &QPushButton::clicked, this, &FenetreReprise::envoyer);
    connect(Imprimer, &QPushButton::clicked, this, &FenetreReprise::imprimer);
    connect(Fermer, &QPushButton::clicked, this, &QWidget::close);
}

void FenetreReprise::closeEvent(QCloseEvent* e)
{
    emit fermee();
    Fenetre::closeEvent(e);
}

void FenetreReprise::placer(QWidget* parent)
{
    QScreen* ecran = parent ? parent->screen() : screen();
    if (!ecran) return;
    const QRect libre = ecran->availableGeometry();
    // Room for the frame the window manager adds; the listing scrolls.
    const QSize place = libre.size() - QSize(16, 48);
    const QSize taille = size().boundedTo(place);
    setMinimumSize(minimumSizeHint().boundedTo(place));
    resize(taille);
    QRect r(QPoint(), taille);
    r.moveCenter(parent && parent->isVisible() ? parent->geometry().center() : libre.center());
    // At the screen's right, over the toolpath's lists: its drawing, and the approach on it, stay in sight.
    r.moveRight(libre.right());
    if (r.bottom() > libre.bottom()) r.moveBottom(libre.bottom());
    r.moveTop(std::max(r.top(), libre.top() + 32));
    r.moveLeft(std::max(r.left(), libre.left()));
    move(r.topLeft());
}

liaison::Envoi FenetreReprise::transmettre(journal::Transfert& note)
{
    Services& services = principale_.services();
    const std::string port = s(reprise_.reglages.port);
    const QString reglage = liaison::reglage(reprise_.reglages);
    if (Continu->isChecked()) {
        // The control runs the restart as it arrives, held by XOFF as long as it needs.
        liaison::EnvoiContinu envoi = liaison::envoyerContinu(continu::Source{{}, texteLignes(reprise_.lignes), {}},
                                                              *MSComm1, principale_.vumetre(), reglage, services, this);
        note.resultat = liaison::resultat(envoi);
        journal::consignerManuel(services, port, this, note, envoi.mesure);
        return envoi;
    }
    const Transfert transfert = transfertLignes(reprise_.lignes);
    liaison::Envoi envoi = liaison::envoyer(transfert, *MSComm1, principale_.vumetre(), reglage, services, this);
    note.resultat = liaison::resultat(envoi);
    journal::consignerManuel(services, port, this, note, transfert.texte());
    return envoi;
}

void FenetreReprise::envoyer()
{
    Services& services = principale_.services();
    Messages& messages = *services.messages;
    const std::string port = s(reprise_.reglages.port);
    journal::Transfert note{{}, {reprise_.machine}, "Reprise", reprise_.objet, "OK", services.horloge->instant()};
    // The sheet's status as Charger honours it, read now: another computer
    // may have blocked the program since the toolpath was opened.
    const statut::AvantEnvoi avant = statut::avantEnvoi(reprise_.champs);
    if (avant.envoi == statut::Envoi::Refuse) {
        messages.afficher(this, q(avant.message), QStringLiteral("Infos"), Icone::Exclamation);
        note.resultat = statut::kResultatBloquee;
        journal::consignerManuel(services, port, this, note, std::string_view());
        return;
    }
    // The restart holds the program and Charger's values as the toolpath
    // read them: new offsets entered since (after the broken tool), or a
    // program replaced, would reach the control as they were before.
    if (!inchangeeHorsStatut(reprise_.champs, reprise_.vue)) {
        messages.afficher(this,
                          QStringLiteral("La fiche a été modifiée ou supprimée depuis l'ouverture de la trajectoire : "
                                         "rien n'a été envoyé. Ouvrir de nouveau la trajectoire pour reprendre avec "
                                         "le programme et les valeurs enregistrés."),
                          QStringLiteral("Infos"), Icone::Exclamation);
        return;
    }
    if (avant.envoi == statut::Envoi::Demander &&
        messages.afficher(this, q(avant.message), QStringLiteral("Confirmation"), Icone::Question, Boutons::OuiNon) !=
            Reponse::Oui)
        return;
    if (!liaison::confirmer(messages, this)) return;
    // The DNC service listening on this port lets it go for the transfer.
    const Cession cession(services.occupation, numeroPort(port));
    MSComm1->regleControleFlux(PortSerie::ControleFlux::XonXoff);
    std::optional<liaison::Echec> echec = liaison::ouvrirPort(*MSComm1, reprise_.reglages);
    if (!echec) {
        const liaison::Envoi envoi = transmettre(note);
        // Stopped, the window stays for another try.
        if (envoi.fin == liaison::FinEnvoi::Arrete) return;
        echec = envoi.echec;
        if (!echec) {
            liaison::signalerReussite(messages, this);
            close();
            return;
        }
    } else {
        note.resultat = journal::erreur(echec->numero);
        journal::consignerManuel(services, port, this, note, std::string_view());
    }
    liaison::abandonner(*MSComm1);
    liaison::signaler(messages, this, *echec);
}

void FenetreReprise::imprimer()
{
    Services& services = principale_.services();
    Imprimante& imprimante = *services.imprimante;
    auto echec = [&](const QString& texte) {
        services.messages->afficher(this, texte, QStringLiteral("Impression"), Icone::Critique);
    };
    if (!imprimante.installee()) return echec(QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur."));
    if (!imprimante.commencer())
        return echec(QStringLiteral("L'imprimante n'a pas accepté le travail d'impression ; est-elle allumée et "
                                    "reliée à l'ordinateur ?"));
    imprimante.texte(20, 14, true, windowTitle());
    // One part of the explanation a line: a printed line does not wrap.
    for (const QString& partie : q(reprise_.explication).split(QStringLiteral(" ; ")))
        imprimante.texte(20, 10, false, partie);
    imprimante.ligneVide();
    for (const std::string& l : reprise_.lignes) imprimante.texte(20, 10, false, q(cp1252::versUtf8(l)));
    if (!imprimante.terminer()) return echec(QStringLiteral("L'imprimante a refusé le document."));
    services.messages->afficher(this, QStringLiteral("Transfert imprimante effectué"), QStringLiteral("Impression"),
                                Icone::Information);
}

FenetreReprise* ouvrirReprise(QWidget* parent, Principale& principale, RepriseAMontrer reprise)
{
    auto* fenetre = new FenetreReprise(parent, principale, std::move(reprise));
    fenetre->setAttribute(Qt::WA_DeleteOnClose);
    fenetre->show();
    return fenetre;
}

}  // namespace tarvex
