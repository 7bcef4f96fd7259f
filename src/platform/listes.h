#pragma once
// The three lists every file picker is built from: the drives, the folders
// of the current one, and the files of a folder that match a pattern. They
// start on the program's current folder. Each one raises its event (change
// or click) as the operator's action would, whether the operator or the
// program moved it, so that the windows wire them once.

#include "platform/services.h"

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStringList>

namespace tarvex::plateforme {

// The drives of the system ("C:", "D:" …) on Windows; elsewhere the one
// root, "/".
class ListeLecteurs : public QComboBox {
    Q_OBJECT
public:
    explicit ListeLecteurs(QWidget* parent = nullptr);

    QString lecteur() const { return currentText(); }

    // Shows the drive that holds this folder, without raising change.
    void montrer(const QString& dossier);

    // Moves to a drive as the operator would and raises change when it is
    // another one. A drive that the system does not list is taken as it is,
    // as a drive whose medium is missing: the folder list will refuse it.
    Q_INVOKABLE bool choisir(const QString& lecteur);

    // The folder the folder list goes to for a drive: the program's current
    // folder when it lies on that drive, otherwise the drive's root.
    static QString dossierDuLecteur(const QString& lecteur);
    // The drive of an absolute folder ("C:" or "/").
    static QString lecteurDe(const QString& dossier);

signals:
    void change();

private:
    QString precedent_;
};

// The current folder, the folders above it and its sub-folders; a double
// click on one of them goes there. A link is listed only when it leads to a
// folder: one to a device (/dev/stdin) is no folder to go into.
class ListeDossiers : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(QString chemin READ chemin)
public:
    explicit ListeDossiers(QWidget* parent = nullptr);

    // Absolute, with the system's separators.
    QString chemin() const { return chemin_; }

    // Goes to a folder (absolute, or relative to the program's current
    // folder) and raises change when it is another one. False, and nothing
    // moves, when the folder cannot be read.
    bool aller(const QString& dossier);

    // The scenarios' way in: "choose W.Dir1 PATH".
    Q_INVOKABLE bool choisir(const QString& dossier) { return aller(dossier); }

    // The folder read again, as a picker shown again does: folders made or
    // removed meanwhile. A folder that is gone leaves the list on the
    // nearest one above it that is still there (change raised).
    void relire();

signals:
    void change();

private:
    void remplir();

    QString chemin_;
};

// The files of one folder whose names match a pattern ("*.txt", letter case
// ignored), sorted by name. The selected name is the one last clicked; it is
// forgotten when the folder changes. Only files are listed: a link to a
// device or a folder is not one.
class ListeFichiers : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(QString nom READ nom)
public:
    explicit ListeFichiers(const QString& motif, QWidget* parent = nullptr);

    QString dossier() const { return dossier_; }
    void allerDans(const QString& dossier);
    void rafraichir();
    // Read again, the selected name kept while its file is still there.
    void relire();

    QString motif() const { return motif_; }
    QString nom() const;  // "" when no file is selected

    // The chosen file: the folder, "\" and the name, as the pickers hand it
    // over; "" when no file is selected.
    QString chemin() const;

    // The scenarios' way in: "choose W.File1 NAME" clicks that file.
    Q_INVOKABLE bool choisir(const QString& nom);

signals:
    void clique();

protected:
    // The arrow keys move the selection and show the file, as a click does.
    void keyPressEvent(QKeyEvent* e) override;

private:
    QString motif_;
    QString dossier_;
};

// The wiring that every picker shares: a new drive moves the folder list
// there, or says "Lecteur non prêt" and leaves the folder and file lists
// where they were; a new folder moves the file list.
void relierListes(ListeLecteurs* lecteurs, ListeDossiers* dossiers, ListeFichiers* fichiers, Messages& messages,
                  QWidget* fenetre);

}  // namespace tarvex::plateforme
