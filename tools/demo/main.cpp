// tarvex-demo-gen: writes the demonstration data folder demo/data and the
// splash picture src/resources/demarrage.jpg of the source tree given as
// argument (default: the current folder). Everything is drawn here; the
// output is the same at every run.
//   tarvex-demo-gen [--apercu <folder>] [<source tree>]
// --apercu also writes each page of the technical files as a PNG picture.
#include "donnees.h"
#include "images.h"
#include "plan.h"
#include "sortie.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHashFunctions>

#include <cstdio>

using namespace demo;

namespace {

// FNV-1a of the UTF-8 bytes: a seed per picture that does not depend on the run.
quint32 graine(const QString& texte)
{
    quint32 h = 2166136261u;
    for (char c : texte.toUtf8()) {
        h ^= static_cast<quint8>(c);
        h *= 16777619u;
    }
    return h;
}

QString joindre(const QString& a, const QString& b) { return a + QLatin1Char('/') + b; }

void ecrireMachine(const QString& data, const MachineDemo& m)
{
    const QString dossier = joindre(joindre(data, QStringLiteral("machine")), m.nom);
    creerDossier(dossier);
    ecrireLignes(joindre(dossier, QStringLiteral("com.txt")),
                 {m.port, m.vitesse, m.parite, m.bits, m.stop, QString::number(m.genre), QString::number(m.directeur)});
    if (m.photo.isEmpty()) {
        // A machine created without a photograph holds a copy of the placeholder.
        QFile::copy(joindre(data, QStringLiteral("pasdimage.jpg")), joindre(dossier, QStringLiteral("image.jpg")));
    } else {
        ecrireJpeg(joindre(dossier, QStringLiteral("image.jpg")),
                   photoMachine(m.aspect, m.photo.width(), m.photo.height(), graine(m.nom)));
    }
    switch (m.sorteDossier) {
    case MachineDemo::Texte: ecrireLignes(joindre(dossier, QStringLiteral("dossier.txt")), m.dossier); break;
    case MachineDemo::Aucun:
        ecrireLignes(joindre(dossier, QStringLiteral("dossier.txt")), {QStringLiteral("Pas de dossier machine")});
        break;
    case MachineDemo::Remplacant:
        QFile::copy(joindre(data, QStringLiteral("pasdeprogramme.txt")), joindre(dossier, QStringLiteral("dossier.txt")));
        break;
    }
}

QString apercus;  // --apercu <folder>: PNG pictures of the technical files

void ecrireFiche(const QString& data, const FicheDemo& f, const MachineDemo& m)
{
    const QString nom = f.piece + QStringLiteral("_Phase ") + f.phase + QLatin1Char('_') + f.ensemble +
                        QLatin1Char('_') + f.machine;
    const QString dossier = joindre(data, nom);
    creerDossier(dossier);
    const bool tournage = m.genre == 1;
    for (int d = Vue; d <= PrefZ; ++d) {
        const auto drapeau = static_cast<Drapeau>(d);
        if (!f.drapeau(drapeau))
            continue;
        if (tournage && (drapeau == Mont2 || drapeau == Bride || drapeau == Butee || drapeau == PrefX || drapeau == PrefY))
            echec(QStringLiteral("%1 : photo de fraisage sur un tour").arg(nom));
        const QSize t = d < f.tailles.size() ? f.tailles[d] : QSize(640, 480);
        const quint32 g = graine(nom + fichierImage(drapeau));
        const QImage image = drapeau == Vue ? photoPiece(f.forme, t.width(), t.height(), g)
                                            : photoReglage(prisePour(drapeau), f.forme, tournage, t.width(), t.height(), g);
        ecrireJpeg(joindre(dossier, fichierImage(drapeau)), image);
    }
    if (f.drapeau(DossierPdf)) {
        DossierTechnique dt;
        dt.piece = f.piece;
        dt.phase = f.phase;
        dt.ensemble = f.ensemble;
        dt.matiere = f.matiere;
        dt.machine = f.machine;
        dt.numeroPlan = f.numeroPlan;
        dt.forme = f.forme;
        dt.cotesParticulieres = f.cotes;
        dt.gamme = f.gamme;
        ecrirePlan(joindre(dossier, QStringLiteral("dossier.pdf")), dt);
        if (!apercus.isEmpty())
            for (int page = 1; page <= (dt.gamme.isEmpty() ? 1 : 2); ++page)
                apercuPlan(dt, page).save(joindre(apercus, QStringLiteral("%1-%2.png").arg(nom).arg(page)));
    }
    if (f.drapeau(Programme))
        ecrireLignes(joindre(dossier, QStringLiteral("prog.txt")), f.programme);
    switch (m.directeur) {
    case 1: ecrireLignes(joindre(dossier, QStringLiteral("pref.txt")), f.valeurs); break;
    case 2: ecrireLignes(joindre(dossier, QStringLiteral("info.txt")), f.valeurs); break;
    case 3: ecrireLignes(joindre(dossier, QStringLiteral("origine.txt")), f.valeurs); break;
    default: break;
    }
    ecrireLignes(joindre(dossier, QStringLiteral("jauge.txt")), f.jauges);
}

QString ligneIndex(const FicheDemo& f)
{
    QStringList champs{f.piece, f.phase, f.machine, f.ensemble, f.matiere};
    for (QChar c : f.drapeaux)
        champs << QString(c);
    return champs.join(QLatin1Char(','));
}

}  // namespace

int main(int argc, char** argv)
{
    // The PDF writer emits its fonts in hash order: a fixed seed keeps the
    // technical files byte-identical from one run to the next.
    QHashSeed::setDeterministicGlobalSeed();
    QGuiApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const int option = static_cast<int>(arguments.indexOf(QStringLiteral("--apercu")));
    if (option >= 0) {
        if (option + 1 >= arguments.size())
            echec(QStringLiteral("--apercu demande un dossier"));
        apercus = arguments.at(option + 1);
        creerDossier(apercus);
        arguments.remove(option, 2);
    }
    // --icones DIR: only the program's icon at the sizes of a desktop menu,
    // DIR/<n>x<n>/apps/tarvex.png (packaging/icones).
    const int icones = static_cast<int>(arguments.indexOf(QStringLiteral("--icones")));
    if (icones >= 0) {
        if (icones + 1 >= arguments.size())
            echec(QStringLiteral("--icones demande un dossier"));
        const QString dossier = arguments.at(icones + 1);
        for (int taille : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString d = joindre(dossier, QStringLiteral("%1x%1/apps").arg(taille));
            creerDossier(d);
            if (!icone(taille).save(joindre(d, QStringLiteral("tarvex.png")), "PNG"))
                echec(QStringLiteral("impossible d'écrire l'icône %1").arg(taille));
        }
        return 0;
    }
    const QString racine = QDir(arguments.isEmpty() ? QStringLiteral(".") : arguments.first()).absolutePath();
    if (!QFileInfo::exists(joindre(racine, QStringLiteral("tools/demo/CMakeLists.txt"))))
        echec(QStringLiteral("%1 n'est pas la racine des sources").arg(racine));
    const QString data = joindre(racine, QStringLiteral("demo/data"));
    QDir(data).removeRecursively();
    creerDossier(joindre(data, QStringLiteral("machine")));

    // Delivered with the program.
    ecrireJpeg(joindre(data, QStringLiteral("tarvex.jpg")), logo(400, 120), 85);
    ecrireIcone(joindre(data, QStringLiteral("icon.ico")), {icone(16), icone(32), icone(48)});
    ecrireJpeg(joindre(data, QStringLiteral("tournage.jpg")), schemaTournage(480, 360), 85);
    ecrireJpeg(joindre(data, QStringLiteral("fraisage.jpg")), schemaFraisage(480, 360), 85);
    ecrireJpeg(joindre(data, QStringLiteral("pasdimage.jpg")), pasDImage(320, 240));
    ecrireLignes(joindre(data, QStringLiteral("pasdeprogramme.txt")), texteSansDossier());
    ecrireLignes(joindre(data, QStringLiteral("code.tvx")), {codeDemo()});

    // Machines.
    const QVector<MachineDemo> machines = machinesDemo();
    QStringList noms;
    for (const MachineDemo& m : machines) {
        noms << m.nom;
        ecrireMachine(data, m);
    }
    ecrireLignes(joindre(data, QStringLiteral("machine.txt")), noms);

    // Sheets.
    QStringList index;
    for (const FicheDemo& f : fichesDemo()) {
        const MachineDemo* m = nullptr;
        for (const MachineDemo& c : machines)
            if (c.nom == f.machine)
                m = &c;
        if (!m)
            echec(QStringLiteral("machine inconnue %1").arg(f.machine));
        if (f.drapeaux.size() != NbDrapeaux)
            echec(QStringLiteral("%1 : %2 drapeaux").arg(f.piece).arg(f.drapeaux.size()));
        index << ligneIndex(f);
        ecrireFiche(data, f, *m);
    }
    ecrireLignes(joindre(data, QStringLiteral("data.txt")), index);

    // The splash picture compiled into the program.
    creerDossier(joindre(racine, QStringLiteral("src/resources")));
    ecrireJpeg(joindre(racine, QStringLiteral("src/resources/demarrage.jpg")), ecranDemarrage(480, 300), 85);

    std::printf("demo/data : %d machines, %d fiches\n", static_cast<int>(machines.size()),
                static_cast<int>(index.size()));
    return 0;
}
