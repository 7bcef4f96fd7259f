#include "app/application.h"

#include "app/premierdemarrage.h"
#include "machines/gestion.h"
#include "mainwindow/selectphase.h"
#include "platform/ecran.h"
#include "store/fichiers.h"
#include "store/machines.h"
#include "store/nouvellesdonnees.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

// The pictures built into the program live in a static library: they must be
// registered by hand.
static void initialiserRessources() { Q_INIT_RESOURCE(tarvex); }

namespace tarvex {

Programme::Programme(plateforme::Services& services) : services_(services) {}

Programme::~Programme() = default;

bool Programme::preparerDonnees(const QString& travail, const QString& partage)
{
    if (nouvellesdonnees::presentes(travail.toStdString())) return true;
    const QDir d(partage);
    PremierDemarrage premier(services_, travail, d.filePath(QStringLiteral("vide/data")),
                             d.filePath(QStringLiteral("demo/data")));
    services_.fenetres->afficherModal(&premier);
    premiereMachine_ = premier.cree() && premier.Option1->isChecked();
    return premier.cree();
}

void Programme::demarrer()
{
    principale_ = std::make_unique<Selectphase>(services_);
    // However the program ends (Quitter, a signal, the system's shutdown),
    // the DNC service stops as Arreter does first: nothing a control was
    // sending is lost. The shutdown may end the program without a return
    // from the event loop: it is done at its request already.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, principale_.get(), &Selectphase::terminerService);
    if (auto* gui = qobject_cast<QGuiApplication*>(qApp))
        QObject::connect(gui, &QGuiApplication::commitDataRequest, principale_.get(), &Selectphase::terminerService);
    principale_->charger();
    principale_->show();
    // The creation window offers a new machine only beside a chosen one: on
    // a new folder without any (a completed one may have its machines), the
    // first machine is asked for here, once.
    if (premiereMachine_ && lireListeMachines().valeur.empty()) {
        premiereMachine_ = false;
        services_.messages->afficher(principale_.get(),
                                     QStringLiteral("Le nouveau dossier de données ne contient encore aucune machine.\n"
                                                    "Créer d'abord la machine-outil sur laquelle les fiches seront "
                                                    "faites."),
                                     QStringLiteral("Première machine"), plateforme::Icone::Information);
        machines::creerMachine(principale_.get(), services_, [](const QString&) {});
    }
}

QString dossierTravail()
{
    const QString courant = QDir::currentPath();
    // Letter case does not count, as everywhere in the data folder: a folder
    // copied from a workshop's Windows computer may say Data\DATA.TXT.
    if (fichiers::existe(nouvellesdonnees::sous(courant.toStdString(), "data\\data.txt"))) return courant;
    const QString choisi = qEnvironmentVariable("TARVEX_HOME");
    if (!choisi.isEmpty()) return QDir(choisi).absolutePath();
    return QDir(QDir::homePath()).filePath(QStringLiteral("tarvex"));
}

QString dossierPartage() { return dossierPartage(QCoreApplication::applicationDirPath()); }

QString dossierPartage(const QString& dossierProgramme)
{
    const QString choisi = qEnvironmentVariable("TARVEX_PARTAGE");
    if (!choisi.isEmpty()) return QDir(choisi).absolutePath();
    const QDir programme(dossierProgramme);
    const QStringList candidats = {programme.absoluteFilePath(QStringLiteral("../share/tarvex")),
                                   programme.absoluteFilePath(QStringLiteral("share/tarvex"))};
    for (const QString& c : candidats)
        if (QFileInfo(QDir(c).filePath(QStringLiteral("vide/data"))).isDir()) return QDir::cleanPath(c);
    return QDir::cleanPath(candidats.front());
}

namespace {

// Qt's own dialogs (the file dialog of the PDF, the print dialog) in French,
// as every other text of the program. Debian installs the catalogues with
// qt6-translations-l10n under Qt's translations folder; on Windows windeployqt
// copies them into the folder translations beside the program. Without them
// those dialogs stay in English: nothing else depends on it.
// Qt 6 moved the file type names of the file dialog ("Folder", "Drive"...)
// to a context of their own, QAbstractFileIconProvider, that the French
// catalogue of Qt 6.4 (Debian 12's qtbase_fr) does not hold yet: its type
// column said "Folder" in a French dialog. The program answers those few
// texts itself; whatever a catalogue holds is left to it.
class ComplementQtFrancais : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* contexte, const char* source, const char* = nullptr, int = -1) const override
    {
        if (qstrcmp(contexte, "QAbstractFileIconProvider") != 0) return {};
        static const QHash<QByteArray, QString> textes = {
            {"Folder", QStringLiteral("Dossier")},     {"File", QStringLiteral("Fichier")},
            {"%1 File", QStringLiteral("Fichier %1")}, {"Drive", QStringLiteral("Lecteur")},
            {"Shortcut", QStringLiteral("Raccourci")}, {"Alias", QStringLiteral("Alias")},
        };
        return textes.value(QByteArray(source));
    }
};

void traduireQt()
{
    QCoreApplication::installTranslator(new ComplementQtFrancais(qApp));
    auto* traduction = new QTranslator(qApp);
    const QStringList dossiers = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))};
    for (const QString& d : dossiers) {
        // qt_fr gathers the catalogues of every module; qtbase_fr is the one
        // that holds the dialogs, where the other is not delivered.
        if (traduction->load(QStringLiteral("qt_fr"), d) || traduction->load(QStringLiteral("qtbase_fr"), d)) {
            QCoreApplication::installTranslator(traduction);
            return;
        }
    }
    delete traduction;
}

}  // namespace

void preparerApplication()
{
    initialiserRessources();
    traduireQt();
    qApp->installEventFilter(new plateforme::TenueEcran(qApp));
    QApplication::setApplicationName(QStringLiteral("Tarvex"));
    QApplication::setApplicationVersion(QStringLiteral(TARVEX_VERSION));
    // Ties the windows to the desktop entry (its name and icon in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral("tarvex"));
    // One look on every system, with the button-face grey the windows were designed with.
    if (auto* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
    QApplication::setPalette(QApplication::style()->standardPalette());
    // The windows are laid out in twips for an 8-point dialog font.
    QFont police = QApplication::font();
    police.setPointSize(8);
    QApplication::setFont(police);
}

}  // namespace tarvex
