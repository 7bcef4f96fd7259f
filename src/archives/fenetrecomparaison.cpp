#include "archives/fenetrecomparaison.h"

#include "archives/remplacement.h"
#include "platform/autorisation.h"
#include "platform/construction.h"
#include "platform/controles.h"
#include "platform/instant.h"
#include "platform/principale.h"
#include "platform/textes.h"
#include "platform/verrouillage.h"
#include "store/cp1252.h"
#include "store/fiche.h"
#include "store/fichiers.h"
#include "store/index.h"
#include "store/lecteur.h"
#include "store/liste.h"
#include "store/texte.h"

#include <QFontDatabase>
#include <QScrollBar>

namespace tarvex {

using namespace plateforme;

namespace {

// The record of the sheet compared, as the index holds it now: none for an
// archived sheet since deleted.
std::optional<Enregistrement> enregistrement(const std::string& nomdossier)
{
    for (const Enregistrement& e : lireIndex().valeur.enregistrements)
        if (nomdossierEnregistrement(e) == nomdossier) return e;
    return std::nullopt;
}

// "PIVOT Phase 20 BRAS", as the lists of sheets name it; from the folder
// name ("PIVOT_Phase 20_BRAS_TOUR 1") when the index no longer has it.
QString nomFiche(const std::string& nomdossier, const std::optional<Enregistrement>& e)
{
    if (e) {
        std::string nom = texteEntree((*e)[CPiece], (*e)[CPhase]);
        const std::string ensemble = sansBlancs((*e)[CEnsemble]);
        if (!ensemble.empty()) nom += ' ' + ensemble;
        return QString::fromStdString(nom);
    }
    const std::string::size_type phase = nomdossier.find("_Phase ");
    if (phase == std::string::npos) return q(nomdossier);
    const std::string::size_type fin = nomdossier.find('_', phase + 7);
    return q(nomdossier.substr(0, phase) + " Phase " + nomdossier.substr(phase + 7, fin - (phase + 7)));
}

QString nombreLignes(std::size_t n)
{
    return n == 1 ? QStringLiteral("1 ligne") : QStringLiteral("%1 lignes").arg(n);
}

// The sheet's program, none when its record says it has none or the file is missing.
std::optional<std::string> programmeFiche(const std::string& nomdossier, const std::optional<Enregistrement>& e)
{
    if (e && sansBlancs((*e)[CProgramme]) != "O") return std::nullopt;
    return fichiers::lire(dossierFicheLu(nomdossier) + "prog.txt");
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

Comparaison::Comparaison(QWidget* parent, Principale& principale, std::string nomdossier, const QByteArray& autre,
                         Mode mode, const QString& titreAutre, std::optional<Provenance> provenance)
    : Fenetre(parent, QStringLiteral("Comparaison"), QStringLiteral("Comparaison des programmes"), 14400, 8400),
      principale_(principale), autre_(autre), nomdossier_(std::move(nomdossier)), mode_(mode),
      provenance_(std::move(provenance)), ancrage_(this)
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
    Text3 = boiteCode(this, "Text3", 2220, 7590, 1800);
    Remplacer = bouton(this, "Remplacer", "Remplacer le programme de la fiche", 4260, 7560, 3600);
    quitter = bouton(this, "quitter", "Fermer", 12945, 7560);
    // Each side takes half of the room the window gains.
    ancrage_.ancrer(Avant, 0, 0, 0.5, 1).ancrer(Apres, 0.5, 0, 0.5, 1).ancrer(Label3, 0.5, 0, 0.5, 0);
    ancrage_.ancrer(Resume, 0, 1, 1, 0).ancrer(Label1, 0, 1, 0, 0).ancrer(Text3, 0, 1, 0, 0);
    ancrage_.ancrer(Remplacer, 0, 1, 0, 0).ancrer(quitter, 1, 1, 0, 0);

    // The two sides move together: a row faces its counterpart.
    connect(Avant->verticalScrollBar(), &QScrollBar::valueChanged, Apres->verticalScrollBar(), &QScrollBar::setValue);
    connect(Apres->verticalScrollBar(), &QScrollBar::valueChanged, Avant->verticalScrollBar(), &QScrollBar::setValue);
    connect(Remplacer, &QPushButton::clicked, this, &Comparaison::remplacer);
    // Enter replaces once a code is typed, never before: an Enter in the
    // lists must not start a replacement.
    connect(Text3, &QLineEdit::textChanged, Remplacer, [this](const QString& t) { Remplacer->setDefault(!t.isEmpty()); });
    // An archived program comes back through Restaurer, with the whole version.
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Text3), static_cast<QWidget*>(Remplacer)})
        w->setVisible(mode == Mode::Recu);
    connect(quitter, &QPushButton::clicked, this, &QDialog::accept);
    comparer();
}

void Comparaison::resizeEvent(QResizeEvent* e)
{
    Fenetre::resizeEvent(e);
    ancrage_.suivre();
}

void Comparaison::comparer()
{
    const std::optional<std::string> fiche = programmeFiche(nomdossier_, enregistrement(nomdossier_));
    auto gauche = lignesDe(fiche.value_or(std::string())), droite = lignesDe(autre_.toStdString());
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
    if (!fiche) {
        // Said in the sheet's pane, on its first row: the rows still face each other.
        QListWidget* cote = mode_ == Mode::Recu ? Avant : Apres;
        if (cote->count() == 0) {
            rangee(Avant, std::nullopt, comparaison::Genre::Egale);
            rangee(Apres, std::nullopt, comparaison::Genre::Egale);
        }
        QListWidgetItem* item = cote->item(0);
        item->setText(QStringLiteral("La fiche n'a pas de programme."));
        item->setBackground(QBrush());
        item->setToolTip(QString());
        QFont italique = item->font();
        italique.setItalic(true);
        item->setFont(italique);
    }
    Resume->setText(QString::fromStdString(comparaison::resume(r)));
}

void Comparaison::remplacer()
{
    Messages& messages = *principale_.services().messages;
    // What a line error or a silence cut short would send the machine a
    // program without its end.
    if (provenance_ && !provenance_->complet) {
        messages.afficher(this,
                          QStringLiteral("Ce programme a été reçu incomplet : il ne peut pas remplacer celui d'une fiche."),
                          QStringLiteral("Infos"), Icone::Exclamation);
        return;
    }
    if (!codeAccepte(this, messages, Text3->text())) return;
    const std::optional<Enregistrement> e = enregistrement(nomdossier_);
    const QString fiche = nomFiche(nomdossier_, e);
    const std::optional<std::string> actuel = programmeFiche(nomdossier_, e);
    QString recu = QStringLiteral("le programme reçu");
    if (provenance_)
        recu += QStringLiteral(" le %1 à %2 sur %3")
                    .arg(archives::dateDe(provenance_->quand), archives::heureDe(provenance_->quand), provenance_->port);
    recu += QStringLiteral(" (%1)").arg(nombreLignes(lignesDe(autre_.toStdString()).size()));
    const QString question =
        actuel ? QStringLiteral("Remplacer le programme de la fiche %1 (%2) par %3 ?")
                     .arg(fiche, nombreLignes(lignesDe(*actuel).size()), recu)
               : QStringLiteral("Mettre dans la fiche %1, qui n'a pas de programme, %2 ?").arg(fiche, recu);
    if (messages.afficher(this, question, QStringLiteral("Confirmation"), Icone::Question, Boutons::OuiNon) !=
        Reponse::Oui)
        return;
    Services& services = principale_.services();
    Resultat r;
    const QString operation = QStringLiteral("Remplacement du programme de la fiche %1").arg(fiche);
    if (!sousVerrou(services, this, operation, r.problemes, [&] {
            r = remplacement::remplacerProgramme(
                nomdossier_, autre_.toStdString(), archives::instantDe(services.horloge->dateHeure()),
                statut::commentaireRecu(provenance_ ? std::optional(provenance_->quand) : std::nullopt,
                                        provenance_ ? provenance_->port.toStdString() : std::string()),
                auteur(services));
        }))
        return;
    if (!r.ok()) {
        messages.afficher(this, QStringLiteral("Le programme de la fiche n'a pas été remplacé."),
                          QStringLiteral("Infos"), Icone::Exclamation, Boutons::Ok,
                          QString::fromStdString(joindreProblemes(r.problemes)));
        return;
    }
    remplace_ = true;
    principale_.reselectionner();
    comparer();
    messages.afficher(this, QStringLiteral("Programme de la fiche remplacé"), QStringLiteral("Infos"),
                      Icone::Information);
}

}  // namespace tarvex
