#include "printing/impression.h"

#include "platform/construction.h"
#include "platform/principale.h"
#include "platform/textes.h"
#include "trajectoire/dessin.h"

#include <QDir>
#include <QRegularExpression>

namespace tarvex {

using namespace plateforme;

namespace {

void appliquer(QCheckBox* c, const impression::EtatCase& e)
{
    c->setEnabled(e.offerte);
    c->setChecked(e.cochee);
}

void rejouer(Imprimante& imprimante, const impression::Operation& o)
{
    using G = impression::Operation::Genre;
    switch (o.genre) {
    case G::Image: imprimante.image(o.x, o.y, o.largeur, o.hauteur, q(o.texte)); break;
    case G::Dessin:
        imprimante.dessin(o.x, o.largeur, o.hauteur, [&o](QPainter& peintre) {
            trajectoire::dessinerImprime(peintre, *o.trajet, o.largeur, o.hauteur);
        });
        break;
    case G::Hauteur: imprimante.hauteur(o.y); break;
    case G::Texte: imprimante.texte(o.x, o.taille, o.gras, q(o.texte)); break;
    case G::LigneVide: imprimante.ligneVide(); break;
    case G::Fin: break;  // the job is ended by its caller, who checks it
    }
}

}  // namespace

Impression::Impression(Principale& principale, const FicheAffichee& fiche)
    : Fenetre(&principale.fenetre(), QStringLiteral("Impression"), QStringLiteral("Impression Fiche Technique"), 4200, 5310),
      principale_(principale),
      fiche_(fiche)
{
    Frame13 = cadre(this, "Frame13", "Options d'impression", 120, 120, 3960, 4470, "Options d'impression");

    // The designation is always printed: its box stays ticked and locked.
    Check7 = choix<QCheckBox>(Frame13, "Check7", "", 240, 345, 285);
    Check7->setChecked(true);
    Check7->setEnabled(false);
    Text1 = creer<QLineEdit>(Frame13, "Text1", 600, 330, 2400, 315);
    Text1->setText(QStringLiteral("Désignation"));
    Text1->setReadOnly(true);

    // In the order the sections are printed.
    int y = 780;
    auto suivante = [&](const char* nom, const char* texte) {
        QCheckBox* c = choix<QCheckBox>(Frame13, nom, texte, 240, y, 3000);
        y += 390;
        return c;
    };
    Check1 = suivante("Check1", "Valeurs des PREF ");
    Check2 = suivante("Check2", "Valeurs des DEC1");
    Check8 = suivante("Check8", "Valeurs des Origines");
    Check3 = suivante("Check3", "Valeurs des Jauges");
    Check5 = suivante("Check5", "Annotations Programme");
    Check6 = suivante("Check6", "Listing Programme");
    Check11 = suivante("Check11", "Trajectoire");
    Check9 = suivante("Check9", "Données");
    Check10 = suivante("Check10", "Dossier Machine");

    Command1 = bouton(this, "Command1", "OK", 1500, 4770);
    Command1->setDefault(true);  // Enter prints, as the operator expects of "OK"
    connect(Command1, &QPushButton::clicked, this, &Impression::imprimer);
}

void Impression::charger()
{
    const impression::Offre o = impression::sectionsOffertes(fiche_.com.valeur.directeur, fiche_.champs[CProgramme]);
    appliquer(Check1, o.pref);
    appliquer(Check2, o.dec);
    appliquer(Check8, o.origines);
    appliquer(Check3, o.jauges);
    appliquer(Check5, o.annotations);
    appliquer(Check6, o.listing);
    appliquer(Check11, o.trajectoire);
    appliquer(Check9, o.donnees);
    appliquer(Check10, o.dossierMachine);
}

// The sheet as read, its picture and values as the main window shows them, a
// value typed there included.
impression::Fiche Impression::fiche() const
{
    const Principale& p = principale_;
    const Enregistrement& champs = fiche_.champs;
    impression::Fiche f;
    if (const std::optional<ImageMontree> image = p.imageMontree()) {
        f.image = s(image->chemin);
        f.largeurImage = image->twips.width();
        f.hauteurImage = image->twips.height();
    }
    const ValeursMontrees v = p.valeursMontrees();
    f.phase = s(p.entreeMontree());
    f.piece = champs[CPiece];
    f.numeroPhase = champs[CPhase];
    f.matiere = champs[CMatiere];
    f.ensemble = champs[CEnsemble];
    f.machine = champs[CMachine];
    f.typeMachine = fiche_.com.valeur.type;
    f.directeur = fiche_.com.valeur.directeur;
    f.prefX = s(v.prefx);
    f.prefY = s(v.prefy);
    f.prefZ = s(v.prefz);
    f.decX = s(v.decx);
    f.decY = s(v.decy);
    f.decZ = s(v.decz);
    f.origine = s(v.decalage);
    f.origineX = s(v.originex);
    f.origineY = s(v.originey);
    f.origineZ = s(v.originez);
    f.dossier = fiche_.dossier();
    return f;
}

impression::Sections Impression::sections() const
{
    impression::Sections r;
    r.pref = Check1->isChecked();
    r.dec = Check2->isChecked();
    r.origines = Check8->isChecked();
    r.jauges = Check3->isChecked();
    r.annotations = Check5->isChecked();
    r.listing = Check6->isChecked();
    r.trajectoire = Check11->isChecked();
    r.donnees = Check9->isChecked();
    r.dossierMachine = Check10->isChecked();
    return r;
}

std::optional<QString> Impression::fichierPdf()
{
    Services& services = principale_.services();
    if (services.messages->afficher(this,
                                    QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur.\n"
                                                   "Enregistrer la fiche dans un fichier PDF ?"),
                                    QStringLiteral("Impression"), Icone::Question, Boutons::OuiNon) != Reponse::Oui)
        return std::nullopt;
    // The sheet's title as the file's name, without the characters a file
    // name cannot hold on Windows.
    QString nom = principale_.entreeMontree().trimmed();
    nom.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]")), QStringLiteral("_"));
    if (nom.isEmpty()) nom = QStringLiteral("Fiche");
    auto chemin = services.enregistrement->demander(this, QStringLiteral("Enregistrer la fiche au format PDF"),
                                                    nom + QStringLiteral(".pdf"),
                                                    QStringLiteral("Documents PDF (*.pdf)"));
    if (!chemin || chemin->isEmpty()) return std::nullopt;
    if (!chemin->endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) *chemin += QStringLiteral(".pdf");
    return chemin;
}

void Impression::echec(const QString& detail)
{
    principale_.services().messages->afficher(this, QStringLiteral("Problème de communication"),
                                              QStringLiteral("Impression"), Icone::Critique, Boutons::Ok, detail);
}

void Impression::imprimer()
{
    Services& services = principale_.services();
    Imprimante& imprimante = *services.imprimante;
    // Changed by another computer while this window was open: its sections
    // were offered for the sheet as it was.
    if (!principale_.ficheAJour(this)) {
        hide();
        return;
    }
    if (services.messages->afficher(this, QStringLiteral("Connecter l'imprimante"), QStringLiteral("Impression"),
                                    Icone::Information, Boutons::OkAnnuler) != Reponse::Ok)
        return;

    std::optional<QString> pdf;
    if (!imprimante.installee()) {
        pdf = fichierPdf();
        if (!pdf) return;
        imprimante.versPdf(*pdf);
    }
    const QString fichier = pdf ? QDir::toNativeSeparators(*pdf) : QString();

    // Every file is read before the job starts; a file that cannot be read
    // still stops the printout where it stands, but the job begun is dropped
    // rather than left half printed.
    const auto lu = impression::feuille(fiche(), sections());
    if (!imprimante.commencer()) {
        echec(pdf ? QStringLiteral("Le fichier PDF %1 n'a pas pu être créé.").arg(fichier)
                  : QStringLiteral("L'imprimante n'a pas accepté le travail d'impression ; est-elle allumée et "
                                   "reliée à l'ordinateur ?"));
        return;
    }
    for (const auto& o : lu.valeur) rejouer(imprimante, o);
    if (!lu.ok()) {
        imprimante.abandonner();
        echec(QStringLiteral("L'impression est abandonnée, ce fichier n'a pas pu être lu :\n") +
              q(joindreProblemes(lu.problemes)));
        return;
    }
    if (!imprimante.terminer()) {
        echec(pdf ? QStringLiteral("Le fichier PDF %1 n'a pas pu être écrit.").arg(fichier)
                  : QStringLiteral("L'imprimante a refusé le document."));
        return;
    }
    services.messages->afficher(this, QStringLiteral("Transfert imprimante effectué"), QStringLiteral("Impression"),
                                Icone::Information, Boutons::Ok,
                                pdf ? QStringLiteral("La fiche est enregistrée dans %1.").arg(fichier) : QString());
    hide();
}

void ouvrirImpression(Principale& principale)
{
    if (!principale.ficheAJour(&principale.fenetre())) return;
    Impression impression(principale, principale.ficheAffichee());
    impression.charger();
    principale.services().fenetres->afficherModal(&impression);
}

}  // namespace tarvex
