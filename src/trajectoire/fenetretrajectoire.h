#pragma once
// "Trajectoire": the toolpath of the selected sheet's program beside its
// listing, the travel of the program and of each tool, and the lines the
// view could not draw. Not modal: two sheets' paths can be seen side by
// side, the main window kept at hand; Escape closes it.

#include "cnclink/transmission.h"
#include "platform/controles.h"
#include "platform/fenetre.h"
#include "platform/principale.h"
#include "trajectoire/listes.h"
#include "trajectoire/reprise.h"
#include "trajectoire/vue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include <optional>

namespace tarvex {

class FenetreReprise;

// What starting the program again needs beside its toolpath: the program
// as stored, and the sheet and its machine as they were when it opened.
struct SourceReprise {
    Principale* principale = nullptr;
    std::string octets;
    int directeur = 0, type = 0;
    QString entree;        // "Boîtier Phase 60"
    std::string nom;       // the journal's: "Boîtier Phase 60 Bâti"
    std::string machine;
    ReglagesPort reglages;  // the machine's port and settings
    Enregistrement champs;  // the sheet's record, for its status
    Insertion insertion;    // what Charger puts after the first line (NUM blocks)
    EmpreintesFiche vue;    // the sheet as the main window read those blocks' values
};

class FenetreTrajectoire : public plateforme::Fenetre {
    Q_OBJECT
public:
    // Without a source (a program not from a sheet), no restart is offered.
    FenetreTrajectoire(QWidget* parent, const QString& titre, trajectoire::Programme programme,
                       std::optional<SourceReprise> source = std::nullopt);

    trajectoire::VueTrajectoire* Vue;
    QComboBox* Plan;       // milling: the plane seen
    QCheckBox* Diametre;   // turning: X read as a diameter, drawn as a radius
    QPushButton* Ajuster;
    trajectoire::ListeLignes* Listing;
    QListWidget* Etendue;
    QListWidget* Outils;   // a click shows that tool alone, another every tool
    trajectoire::ListeLignes* NonTraces;
    QPushButton* Reprendre;  // the program started again at the listing's line

protected:
    void reject() override { close(); }

private:
    // The listing (lines not drawn in red, with their reason), the travel
    // of the program and of each tool, the lines not drawn.
    void remplirListes();
    // The view on the left under its settings (the plane for milling, the
    // diameter for turning), the texts on the right.
    void disposer(QWidget* etiquettePlan);
    void revoir();
    // Within the screen it opens on, whatever its scaling.
    void placer(QWidget* parent);
    // The lists' least heights, fewer rows on a screen too small for the usual ones.
    void hauteursMinimales(bool serrees);
    void choisirOutil(QListWidgetItem* item);
    void reprendre();

    const trajectoire::Programme programme_;
    const std::optional<SourceReprise> source_;
    std::optional<trajectoire::LectureReprise> lecture_;  // read at the first restart, kept for the next
    QPointer<FenetreReprise> reprise_;
};

// The main window's "Trajectoire": the shown sheet's program read as its
// machine's control reads it, in a window of its own beside the main window.
void ouvrirTrajectoire(Principale& principale);

}  // namespace tarvex
