#pragma once
// "Archives des fiches": every archived version, newest first, the files it
// holds, its program compared with the sheet's, and the version brought
// back with the code.

#include "platform/fenetre.h"
#include "store/archives.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <vector>

namespace tarvex {

class Principale;

class Archives : public plateforme::Fenetre {
    Q_OBJECT
public:
    explicit Archives(Principale& principale);

    // The load handler: the versions read from data\archives.
    void charger();

    QLabel* Label2;  // "Versions archivées"
    QListWidget* List1;
    QLabel* Label3;  // "Fichiers de la version"
    QListWidget* List2;
    QPushButton* Comparer;
    QLabel* Label1;  // "Code autorisation"
    QLineEdit* Text3;
    QPushButton* Restaurer;
    QPushButton* quitter;

private:
    void versionChoisie();
    const archives::Version* versionCourante() const;
    void comparer();
    void restaurer();

    Principale& principale_;
    std::vector<archives::Version> versions_;
};

// A version as List1 shows it: "07/12/2026 18:30:00 - Suppression -
// PIVOT Phase 20 - TOUR 1".
QString ligneVersion(const archives::Version& v);

// The main window's "Archives".
void ouvrirArchives(Principale& principale);

}  // namespace tarvex
