#include "cnclink/reception.h"

#include "archives/fenetrecomparaison.h"
#include "cnclink/liaison.h"
#include "cnclink/transmission.h"
#include "journal/consigner.h"
#include "platform/construction.h"
#include "platform/principale.h"
#include "store/cp1252.h"
#include "store/fichiers.h"

#include <QDir>
#include <QSaveFile>
#include <QHideEvent>
#include <QTextCursor>

namespace tarvex {

using namespace plateforme;

namespace {

QByteArray versOctets(const QString& texte)
{
    return QByteArray::fromStdString(cp1252::depuisUtf8(texte.toStdString()));
}

}  // namespace

QString messageEvenement(int code)
{
    switch (code) {
    case 1001: return QStringLiteral("Erreur 1 - Un signal d'arrêt a été reçu.");
    case 1007: return QStringLiteral("Erreur 2 - Erreur de délai d'attente Détection de porteuse.");
    case 1002: return QStringLiteral("Erreur 3 - Erreur de délai d'attente Prêt à émettre.");
    case 1003: return QStringLiteral("Erreur 4 - Erreur de délai d'attente Modem prêt.");
    case 1004: return QStringLiteral("Erreur 5 - Erreur de trame");
    case 1006: return QStringLiteral("Erreur 6 - Données perdues.");
    case 1008: return QStringLiteral("Erreur 7 - Dépassement de la capacité du tampon de réception.");
    case 1009: return QStringLiteral("Erreur 8 - Erreur de parité.");
    case 1010: return QStringLiteral("Erreur 9 - Tampon de transmission plein.");
    case 1011:
        return QStringLiteral("Erreur 10 - Erreur inattendue lors de l'extraction du bloc de contrôle de périphérique");
    case 5: return QStringLiteral("Erreur 11 - Changement dans la broche CD (porteuse)");
    case 3: return QStringLiteral("Erreur 12 - Changement dans broche CTS");
    case 4: return QStringLiteral("Erreur 13 - Changement dans broche DSR (réception)");
    case 6: return QStringLiteral("Erreur 14 - Changement dans broche RING (sonnerie)");
    case 1: return QStringLiteral("Erreur 15");
    case 7: return QStringLiteral("Erreur 16");
    default: return QString();
    }
}

QString nomPropose(const QByteArray& programme)
{
    const qsizetype n = programme.size();
    qsizetype i = 0;
    auto blancs = [&](bool finsDeLigne) {
        while (i < n && (programme[i] == ' ' || programme[i] == '\t' ||
                         (finsDeLigne && (programme[i] == '\r' || programme[i] == '\n'))))
            ++i;
    };
    // A number long enough for any CNC, short enough for any file system.
    auto numero = [&] {
        const qsizetype debut = i;
        while (i < n && i - debut < 16 && programme[i] >= '0' && programme[i] <= '9') ++i;
        return QString::fromLatin1(programme.mid(debut, i - debut));
    };

    blancs(true);
    if (i < n && programme[i] == '%') {
        // NUM: "%1234"; FANUC: "%" alone on its line, the number on the next.
        ++i;
        blancs(false);
        const QString num = numero();
        if (!num.isEmpty()) return num + QStringLiteral(".txt");
        blancs(true);
    }
    if (i < n && (programme[i] == 'O' || programme[i] == 'o')) {
        ++i;
        const QString num = numero();
        if (!num.isEmpty()) return QStringLiteral("O") + num + QStringLiteral(".txt");
    }
    return QStringLiteral("programme.txt");
}

Selecttelechargementsauve::Selecttelechargementsauve(Principale& principale)
    : Fenetre(&principale.fenetre(), QStringLiteral("Sélecttéléchargementsauve"),
              QStringLiteral("Réception - Sélection programme"), 6840, 7080),
      principale_(principale)
{
    Frame2 = cadre(this, "Frame2", "Listing Programme", 120, 120, 6600, 5640);
    // What is saved is what arrived, not what the box holds: the box only shows.
    Programme = listingDeCadre(Frame2, "Programme", 6600, 5640);

    Enregistrer = bouton(this, "Enregistrer", "Enregistrer", 840, 5940);
    Annuler = bouton(this, "Annuler", "Annuler", 2820, 5940);
    quitter = bouton(this, "quitter", "Quitter", 4800, 5940);
    Comparer = avecBulle(bouton(this, "Comparer", "Comparer à la fiche", 840, 6420, 5175),
                         "Comparer le programme reçu à celui de la fiche choisie, et l'y mettre");

    MSComm1 = principale.services().ports->creer(this);
    MSComm1->setObjectName(QStringLiteral("MSComm1"));

    connect(MSComm1, &PortSerie::evenement, this, &Selecttelechargementsauve::evenement);
    connect(Enregistrer, &QPushButton::clicked, this, &Selecttelechargementsauve::enregistrer);
    connect(Comparer, &QPushButton::clicked, this, &Selecttelechargementsauve::comparer);
    // The port is closed, and the reception journaled as cancelled, as the
    // window goes (hideEvent).
    connect(Annuler, &QPushButton::clicked, this, &QWidget::hide);
    connect(quitter, &QPushButton::clicked, this, &QWidget::hide);
}

Selecttelechargementsauve::~Selecttelechargementsauve() = default;

void Selecttelechargementsauve::charger()
{
    Enregistrer->setEnabled(false);
    Comparer->setEnabled(false);
    quitter->setEnabled(false);
    Annuler->setEnabled(true);
    incident_ = false;
    surLaLigne_.clear();
    debut_ = principale_.services().horloge->instant();

    if (const auto echec = liaison::ouvrirPort(*MSComm1, principale_)) {
        liaison::abandonner(*MSComm1);
        noter(journal::erreur(echec->numero), {});
        liaison::signaler(*principale_.services().messages, this, *echec);
        Programme->setPlainText(
            QStringLiteral("Le port %1 n'a pas pu être ouvert : aucun programme ne peut être reçu.\n"
                           "Vérifier les paramètres de communication de la fenêtre principale et qu'aucun "
                           "autre programme n'utilise ce port, puis recommencer.")
                .arg(principale_.reglagesPort().port));
        return;
    }
    MSComm1->regleSeuils(1, 1);
    MSComm1->regleControleFlux(PortSerie::ControleFlux::RtsXonXoff);
}

void Selecttelechargementsauve::noter(const std::string& resultat, const QString& objet)
{
    journal::consignerManuel(principale_.services(), principale_.reglagesPort().port.toStdString(), this,
                             {{}, {}, "Réception", objet.toStdString(), resultat, debut_}, surLaLigne_.toStdString());
}

void Selecttelechargementsauve::evenement(int code)
{
    if (code == PortSerie::kRecu) {
        recevoir();
        return;
    }
    const QString message = messageEvenement(code);
    if (message.isNull()) return;
    incident_ = true;
    // The number the operator reads in the text ("Erreur 16" for code 7).
    evenement_ = message.section(QLatin1Char(' '), 1, 1).toInt();
    remplacer(versOctets(message));
}

void Selecttelechargementsauve::remplacer(const QByteArray& octets)
{
    recu_ = octets;
    Programme->setPlainText(liaison::texteBoite(recu_));
}

void Selecttelechargementsauve::recevoir()
{
    const qsizetype avant = recu_.size();
    const QByteArray piece = MSComm1->lire();
    surLaLigne_ += piece;
    recu_ += piece;

    // One character on its own is not a program: a CNC may send a stray one
    // as its output starts.
    if (recu_.size() == 1) {
        remplacer(QByteArray());
        return;
    }
    if (!recu_.isEmpty() && recu_.back() == kDC3) {
        recu_.removeIf([](char c) { return c == kDC3; });
        Programme->setPlainText(liaison::texteBoite(recu_));
        MSComm1->fermer();
        noter(incident_ ? journal::erreur(evenement_) : "OK", nomPropose(recu_));
        liaison::signalerReussite(*principale_.services().messages, this);
        Enregistrer->setEnabled(true);
        // A program can be compared with the sheet the main window shows,
        // and then put into it: not a text an error event cut into.
        Comparer->setEnabled(!incident_ && principale_.modifiable());
        quitter->setEnabled(true);
        Annuler->setEnabled(false);
        return;
    }

    // Only the new piece is added to the box, which may already show a long
    // program: a CR LF split between two pieces is one line break.
    qsizetype debut = avant;
    if (debut == 0) {
        Programme->setPlainText(liaison::texteBoite(recu_));
        return;
    }
    if (recu_[debut - 1] == '\r' && debut < recu_.size() && recu_[debut] == '\n') ++debut;
    if (debut >= recu_.size()) return;
    QTextCursor fin(Programme->document());
    fin.movePosition(QTextCursor::End);
    fin.insertText(liaison::texteBoite(recu_.mid(debut)));
}

void Selecttelechargementsauve::enregistrer()
{
    Services& services = principale_.services();
    const std::optional<QString> chemin = services.enregistrement->demander(
        this, QStringLiteral("Enregistrer le programme reçu"), nomPropose(recu_), QStringLiteral("Programmes (*.txt)"));
    if (!chemin) return;
    // The file the operator named, exactly: the dialog asked before replacing
    // it, and a name matched without letter case could replace another one.
    QSaveFile fichier(*chemin);
    QString raison;
    if (!fichier.open(QIODevice::WriteOnly))
        raison = QStringLiteral("le fichier ne peut pas être créé");
    else if (fichier.write(recu_) != recu_.size() || !fichier.commit())
        raison = QStringLiteral("l'écriture n'a pas abouti (disque plein ou protégé ?)");
    if (raison.isEmpty()) return;
    services.messages->afficher(this,
                                QStringLiteral("Le programme reçu n'a pas pu être enregistré dans le fichier\n"
                                               "%1 :\n%2.\nIl reste affiché : l'enregistrer sous un autre "
                                               "nom ou dans un autre dossier.")
                                    .arg(QDir::toNativeSeparators(*chemin), raison),
                                QStringLiteral("Enregistrement"), Icone::Critique, Boutons::Ok, fichier.errorString());
}

void Selecttelechargementsauve::comparer()
{
    std::string nom = principale_.dossierFiche().toStdString();
    // "data\NAME\" -> "NAME"
    if (nom.rfind("data\\", 0) == 0) nom.erase(0, 5);
    if (!nom.empty() && nom.back() == '\\') nom.pop_back();
    Comparaison c(this, principale_, nom, recu_, Comparaison::Mode::Recu);
    principale_.services().fenetres->afficherModal(&c);
}

void Selecttelechargementsauve::hideEvent(QHideEvent* e)
{
    // However the window goes (Annuler, Quitter, its close button), the port
    // is not left open behind it for the next program that needs it; a
    // reception still open is journaled as cancelled, with what had come.
    if (!e->spontaneous() && MSComm1->estOuvert()) {
        MSComm1->fermer();
        noter("Annulé", {});
    }
    Fenetre::hideEvent(e);
}

}  // namespace tarvex
