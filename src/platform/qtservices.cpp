#include "platform/qtservices.h"

#include "store/chemins.h"
#include "store/poste.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTreeView>
#include <QImageReader>
#include <QMessageBox>
#include <QSettings>
#include <QThread>
#include <QFileInfo>
#include <QUrl>

namespace tarvex::plateforme {

QString fichierLocal(const QString& cheminData)
{
    return QString::fromStdString(chemins::texte(chemins::resoudre(cheminData.toStdString())));
}

QString formatGeneral(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

Reponse QtMessages::afficher(QWidget* parent, const QString& texte, const QString& titre, Icone icone,
                             Boutons boutons, const QString& detail)
{
    QMessageBox boite(parent);
    boite.setText(texte);
    if (!detail.isEmpty()) boite.setInformativeText(detail);
    boite.setWindowTitle(titre);
    switch (icone) {
    case Icone::Information: boite.setIcon(QMessageBox::Information); break;
    case Icone::Question: boite.setIcon(QMessageBox::Question); break;
    case Icone::Exclamation: boite.setIcon(QMessageBox::Warning); break;
    case Icone::Critique: boite.setIcon(QMessageBox::Critical); break;
    case Icone::Aucune: break;
    }
    switch (boutons) {
    case Boutons::Ok: boite.setStandardButtons(QMessageBox::Ok); break;
    case Boutons::OkAnnuler: boite.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Boutons::OuiNon: boite.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    if (auto* b = boite.button(QMessageBox::Cancel)) b->setText(QStringLiteral("Annuler"));
    if (auto* b = boite.button(QMessageBox::Yes)) b->setText(QStringLiteral("Oui"));
    if (auto* b = boite.button(QMessageBox::No)) b->setText(QStringLiteral("Non"));
    switch (boite.exec()) {
    case QMessageBox::Cancel: return Reponse::Annuler;
    case QMessageBox::Yes: return Reponse::Oui;
    case QMessageBox::No: return Reponse::Non;
    default: return boutons == Boutons::OkAnnuler && boite.clickedButton() == nullptr ? Reponse::Annuler : Reponse::Ok;
    }
}

void QtFenetres::afficherModal(QDialog* fenetre)
{
    fenetre->setWindowModality(Qt::ApplicationModal);
    fenetre->exec();
}

void QtFenetres::montrer(QDialog* fenetre)
{
    fenetre->setWindowModality(Qt::ApplicationModal);
    fenetre->show();
    fenetre->raise();
}

void QtFenetres::retirer(QDialog* fenetre) { fenetre->hide(); }

QImage QtImages::charger(const QString& cheminData)
{
    QImageReader lecteur(fichierLocal(cheminData));
    lecteur.setAutoTransform(false);
    return lecteur.read();
}

QString QtHorloge::maintenant() { return formatGeneral(QDateTime::currentDateTime()); }

void QtHorloge::patienter(int microsecondes)
{
    QThread::usleep(static_cast<unsigned long>(microsecondes));
}

long long QtHorloge::instant()
{
    static const QElapsedTimer depart = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return depart.elapsed();
}

bool QtVisionneuse::ouvrir(const QString& cheminData)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(fichierLocal(cheminData)).absoluteFilePath()));
}

std::optional<QString> QtDialogueEnregistrement::demander(QWidget* parent, const QString& titre,
                                                          const QString& nomPropose, const QString& filtre)
{
    QFileDialog dialogue(parent, titre, nomPropose, filtre);
    dialogue.setAcceptMode(QFileDialog::AcceptSave);
    // Qt's own dialog (where the system offers none) sizes its columns for
    // English headers: "Dernière modification" was cut. Each column but the
    // name is widened to its header and its dates once the folder is read.
    for (auto* modele : dialogue.findChildren<QFileSystemModel*>())
        QObject::connect(modele, &QFileSystemModel::directoryLoaded, &dialogue, [&dialogue] {
            for (auto* vue : dialogue.findChildren<QTreeView*>())
                for (int c = 1; c < vue->header()->count(); ++c) vue->resizeColumnToContents(c);
        });
    if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty()) return std::nullopt;
    const QString choix = dialogue.selectedFiles().constFirst();
    if (choix.isEmpty()) return std::nullopt;
    return choix;
}

// The system is asked by the core, which the data lock's own tests use too.
QString QtPoste::nom() { return QString::fromStdString(poste::nom()); }
QString QtPoste::utilisateur() { return QString::fromStdString(poste::utilisateur()); }

void QtApplication::quitter()
{
    QApplication::closeAllWindows();
    QApplication::quit();
}

bool QtMemoire::serviceActif()
{
    return QSettings(QStringLiteral("Tarvex"), QStringLiteral("Tarvex")).value(QStringLiteral("service/actif"), false).toBool();
}

void QtMemoire::retenirService(bool actif)
{
    QSettings(QStringLiteral("Tarvex"), QStringLiteral("Tarvex")).setValue(QStringLiteral("service/actif"), actif);
}

int QtMemoire::delaiService()
{
    bool ok = false;
    const int s = QSettings(QStringLiteral("Tarvex"), QStringLiteral("Tarvex")).value(QStringLiteral("service/delai"), 5).toInt(&ok);
    return ok && s >= 0 && s <= 3600 ? s : 5;
}

void QtMemoire::retenirDelai(int secondes)
{
    QSettings(QStringLiteral("Tarvex"), QStringLiteral("Tarvex")).setValue(QStringLiteral("service/delai"), secondes);
}

}  // namespace tarvex::plateforme
