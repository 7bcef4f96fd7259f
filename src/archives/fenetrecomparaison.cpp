#include "archives/fenetrecomparaison.h"

#include "archives/instant.h"
#include "archives/remplacement.h"
#include "creation/formulaire.h"
#include "mainwindow/autorisation.h"
#include "mainwindow/selectphase.h"
#include "platform/construction.h"
#include "platform/controles.h"
#include "platform/textes.h"
#include "platform/verrouillage.h"
#include "store/cp1252.h"
#include "store/fiche.h"
#include "store/fichiers.h"

#include <QFontDatabase>
#include <QScrollBar>

namespace tarvex {

using namespace plateforme;

namespace {

// "PIVOT Phase 20" from the folder "PIVOT_Phase 20_BRAS_TOUR 1": the sheet
// compared may be an archived one, not the one the main window shows.
QString nomFiche(const std::string& nomdossier)
{
    const std::string::size_type phase = nomdossier.find("_Phase ");
    if (phase == std::string::npos) return q(nomdossier);
    const std::string::size_type fin = nomdossier.find('_', phase + 7);
    return q(nomdossier.substr(0, phase) + " Phase " + nomdossier.substr(phase + 7, fin - (phase + 7)));
}

QString texte(const std::string& octets) { return QString::fromStdString(cp1252::versUtf8(octets)); }

QListWidget* cote(QWidget* parent, const char* nom, int x)
{
    auto* l = creer<QListWidget>(parent, nom, x, 480, 6840, 6480);
    l->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    l->setSelectionMode(QAbstractItemView::NoSelection);
    l->setUniformItemSizes(true);
    return l;
}

const char* infobulle(comparaison::Genre g)
{
    switch (g) {
    case comparaison::Genre::Modifiee: return "Ligne modifiée";
    case comparaison::Genre::Retiree: return "Ligne absente du programme reçu";
    case comparaison::Genre::Ajoutee: return "Ligne ajoutée dans le programme reçu";
    case comparaison::Genre::Egale: break;
    }
    return "";
}


}  // namespace

QColor couleurRangee(comparaison::Genre genre)
{
    switch (genre) {
    case comparaison::Genre::Modifiee: return QColor(255, 230, 150);
    case comparaison::Genre::Retiree: return QColor(255, 190, 190);
    case comparaison::Genre::Ajoutee: return QColor(190, 240, 190);
    case comparaison::Genre::Egale: break;
    }
    return QColor();
}

Comparaison::Comparaison(QWidget* parent, Selectphase& principale, std::string nomdossier, const QByteArray& autre,
                         Mode mode, const QString& titreAutre)
    : Fenetre(parent, QStringLiteral("Comparaison"), QStringLiteral("Comparaison des programmes"), 14400, 8400),
      principale_(principale), autre_(autre), nomdossier_(std::move(nomdossier)), mode_(mode)
{
    const QString titreFiche =
        mode == Mode::Recu ? QStringLiteral("Programme de la fiche") : QStringLiteral("Programme actuel de la fiche");
    Label2 = etiquette(this, "Label2", "", 240, 180, 6840, 285);
    Label2->setText(mode == Mode::Recu ? titreFiche : titreAutre);
    Label3 = etiquette(this, "Label3", "", 7320, 180, 6840, 285);
    Label3->setText(mode == Mode::Recu ? titreAutre : titreFiche);
    Avant = cote(this, "Avant", 240);
    Apres = cote(this, "Apres", 7320);
    Resume = etiquette(this, "Resume", "", 240, 7080, 13920, 285);
    Label1 = etiquette(this, "Label1", "Code autorisation", 240, 7605, 1920, 285);
    Text3 = formulaire::boiteCode(this, "Text3", 2220, 7590, 1800);
    Remplacer = bouton(this, "Remplacer", "Remplacer le programme de la fiche", 4260, 7560, 3600);
    quitter = bouton(this, "quitter", "Fermer", 12945, 7560);

    // The two sides move together: a row faces its counterpart.
    connect(Avant->verticalScrollBar(), &QScrollBar::valueChanged, Apres->verticalScrollBar(), &QScrollBar::setValue);
    connect(Apres->verticalScrollBar(), &QScrollBar::valueChanged, Avant->verticalScrollBar(), &QScrollBar::setValue);
    connect(Remplacer, &QPushButton::clicked, this, &Comparaison::remplacer);
    // An archived program comes back through Restaurer, with the whole version.
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Text3), static_cast<QWidget*>(Remplacer)})
        w->setVisible(mode == Mode::Recu);
    connect(quitter, &QPushButton::clicked, this, &QDialog::accept);
    comparer();
}

void Comparaison::comparer()
{
    const std::string fiche = fichiers::lire(dossierFicheLu(nomdossier_) + "prog.txt").value_or(std::string());
    auto gauche = comparaison::lignes(fiche), droite = comparaison::lignes(autre_.toStdString());
    if (mode_ == Mode::Archive) std::swap(gauche, droite);
    const comparaison::Resultat r = comparaison::comparer(gauche, droite);
    Avant->clear();
    Apres->clear();
    auto rangee = [](QListWidget* l, const std::optional<std::string>& t, comparaison::Genre g) {
        auto* item = new QListWidgetItem(t ? texte(*t) : QString(), l);
        item->setData(Qt::UserRole, static_cast<int>(g));
        if (g != comparaison::Genre::Egale) {
            item->setBackground(couleurRangee(g));
            item->setToolTip(QString::fromUtf8(infobulle(g)));
        }
    };
    for (const comparaison::Rangee& x : r.rangees) {
        rangee(Avant, x.avant, x.genre);
        rangee(Apres, x.apres, x.genre);
    }
    Resume->setText(QString::fromStdString(comparaison::resume(r)));
}

void Comparaison::remplacer()
{
    Messages& messages = *principale_.services().messages;
    if (!codeAccepte(this, messages, Text3->text())) return;
    Services& services = principale_.services();
    Resultat r;
    const QString operation = QStringLiteral("Remplacement du programme de la fiche %1").arg(nomFiche(nomdossier_));
    if (!sousVerrou(services, this, operation, r.problemes, [&] {
            r = remplacement::remplacerProgramme(nomdossier_, autre_.toStdString(),
                                                 archives::instantDe(services.horloge->dateHeure()));
        }))
        return;
    if (!r.ok()) {
        messages.afficher(this, QStringLiteral("Le programme de la fiche n'a pas été remplacé."),
                          QStringLiteral("Infos"), Icone::Exclamation, Boutons::Ok,
                          QString::fromStdString(joindreProblemes(r.problemes)));
        return;
    }
    principale_.reselectionner();
    comparer();
    messages.afficher(this, QStringLiteral("Programme de la fiche remplacé"), QStringLiteral("Infos"),
                      Icone::Information);
}

}  // namespace tarvex
