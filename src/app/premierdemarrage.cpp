#include "app/premierdemarrage.h"

#include "platform/construction.h"
#include "platform/textes.h"
#include "store/nouvellesdonnees.h"

#include <QDir>
#include <QIcon>
#include <QPixmap>

namespace tarvex {

using namespace plateforme;

namespace {

QLineEdit* boiteCode(QWidget* parent, const char* nom, int x, int y)
{
    auto* b = creer<QLineEdit>(parent, nom, x, y, 2400, 315);
    b->setEchoMode(QLineEdit::Password);
    fondTexte(b, kJauneClair);
    return b;
}

}  // namespace

PremierDemarrage::PremierDemarrage(Services& services, const QString& travail, const QString& livraison,
                                   const QString& demo)
    : Fenetre(nullptr, u("PremierDémarrage"), u("Tarvex - Premier démarrage"), 7200, 4560),
      services_(services), travail_(travail), livraison_(livraison), demo_(demo),
      completer_(nouvellesdonnees::sansIndex(s(travail))), codeGarde_(nouvellesdonnees::gardeSonCode(s(travail)))
{
    const QImage icone = services_.images->charger(QDir(livraison).filePath(QStringLiteral("icon.ico")));
    if (!icone.isNull()) setWindowIcon(QIcon(QPixmap::fromImage(icone)));

    Label1 = plateforme::creer<QLabel>(this, "Label1", 240, 180, 6720, 600);
    Label1->setWordWrap(true);
    if (completer_)
        Label1->setText(u("Le dossier de données %1 n'a pas d'index des fiches (data.txt). Tarvex peut le "
                          "compléter sans toucher à ses fichiers%2. Avec quelles données ?")
                            .arg(QDir::toNativeSeparators(QDir(travail).filePath(QStringLiteral("data"))),
                                 codeGarde_ ? u(" ni à son code") : QString()));
    else
        Label1->setText(u("Le dossier de travail %1 ne contient pas encore de dossier de données. "
                          "Avec quelles données Tarvex doit-il commencer ?")
                            .arg(QDir::toNativeSeparators(travail)));

    Frame1 = cadre(this, "Frame1", "Dossier de données", 240, 900, 6720, 2760);

    Option1 = plateforme::creer<QRadioButton>(Frame1, "Option1", 240, 300, 6240, 300);
    Option1->setText(completer_ ? u("Compléter avec un index vide") : u("Nouveau dossier de données vide"));
    Label2 = etiquette(Frame1, "Label2", "Code autorisation", 600, 720, 2400, 285);
    Text1 = boiteCode(Frame1, "Text1", 3120, 690);
    Label3 = etiquette(Frame1, "Label3", "Confirmer le code", 600, 1140, 2400, 285);
    Text2 = boiteCode(Frame1, "Text2", 3120, 1110);
    Text1->setToolTip(u("Code demandé avant chaque création, modification ou suppression"));
    Text2->setToolTip(u("Le même code, tapé une seconde fois"));

    Option2 = plateforme::creer<QRadioButton>(Frame1, "Option2", 240, 1740, 6240, 300);
    Option2->setText(completer_ ? u("Compléter avec les données de démonstration (code TVX2026)")
                                : u("Copie des données de démonstration (code TVX2026)"));
    auto* note = plateforme::creer<QLabel>(Frame1, "Label4", 600, 2100, 5880, 520);
    note->setWordWrap(true);
    note->setText(u("Des machines et des fiches d'exemple, pour essayer Tarvex avant de créer les siennes."));

    Creer = bouton(this, "Créer", "Créer", 4320, 3900);
    Creer->setDefault(true);  // Enter in a code box confirms
    Quitter = bouton(this, "Quitter", "Quitter", 5745, 3900);

    Option1->setChecked(true);
    choisir();
    connect(Option1, &QRadioButton::toggled, this, &PremierDemarrage::choisir);
    connect(Creer, &QPushButton::clicked, this, &PremierDemarrage::creer);
    // Quitting, by the button or the title bar, writes nothing.
    connect(Quitter, &QPushButton::clicked, this, &QWidget::hide);
}

void PremierDemarrage::choisir()
{
    // The code belongs to the new folder only: the demo data bring theirs.
    for (QWidget* w : {static_cast<QWidget*>(Label2), static_cast<QWidget*>(Text1), static_cast<QWidget*>(Label3),
                       static_cast<QWidget*>(Text2)})
        w->setEnabled(Option1->isChecked() && !codeGarde_);
}

void PremierDemarrage::creer()
{
    Resultat r;
    if (Option1->isChecked()) {
        const auto refus = nouvellesdonnees::refusCode(s(Text1->text()), s(Text2->text()));
        if (refus && !codeGarde_) {
            services_.messages->afficher(this, QString::fromStdString(*refus), u("Infos"), Icone::Information);
            return;
        }
        r = nouvellesdonnees::creerVides(s(travail_), s(livraison_), s(Text1->text()));
    } else {
        r = nouvellesdonnees::copierDemo(s(travail_), s(demo_));
    }
    if (!r.ok()) {
        services_.messages->afficher(this,
                                     completer_ ? u("Le dossier de données n'a pas pu être complété")
                                                : u("Le dossier de données n'a pas pu être créé"),
                                     u("Infos"),
                                     Icone::Critique, Boutons::Ok, QString::fromStdString(joindreProblemes(r.problemes)));
        return;
    }
    cree_ = true;
    hide();
}

}  // namespace tarvex
