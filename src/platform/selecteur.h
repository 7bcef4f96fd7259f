#pragma once
// The family of file pickers: a drive list, a folder list and a file list
// restricted to one pattern, a preview (picture, text or none), "OK" and
// "Annuler". A picker only hands a path over; its caller writes it into its
// own hidden path box and copies the file when the sheet or machine is
// stored.
//
// A picker is made the first time it is shown and then lives, hidden between
// uses, as long as the main window: a picker shown again is where the
// operator left it, even from a new creation window.

#include "platform/controles.h"
#include "platform/fenetre.h"
#include "platform/listes.h"
#include "platform/services.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <optional>

namespace tarvex {

enum class Apercu { Image, Texte, Aucun };

struct ModeleSelecteur {
    const char* nom;    // the window's name
    const char* titre;  // its caption
    const char* motif;  // the file list's pattern
    Apercu apercu;
    // Handed over by "OK" when no file is selected (the machine pickers);
    // nullptr: nothing is handed over then.
    const char* parDefaut = nullptr;
};

namespace selecteurs {
extern const ModeleSelecteur Selectionimage;
extern const ModeleSelecteur Selectionprogramme;
extern const ModeleSelecteur Selectiondossiertechnique;
extern const ModeleSelecteur Modificationimage;
extern const ModeleSelecteur Modificationprogramme;
extern const ModeleSelecteur ModificationSelectiondossiertechnique;
extern const ModeleSelecteur MachineSelectionimage;
extern const ModeleSelecteur MachineDossier;
}  // namespace selecteurs

// The controls of a file picker, as every picker of the program lays them
// out in its window of 9000 x 6540 twips: the drive, folder and file lists
// on the left, the preview on the right (a picture, a listing, or none),
// "OK" and "Annuler" below it.
struct CadresSelecteur {
    plateforme::Cadre* FrameSelection;
    plateforme::ListeLecteurs* Drive1;
    plateforme::ListeDossiers* Dir1;
    plateforme::ListeFichiers* File1;
    // Picture pickers.
    plateforme::Cadre* FrameVisualisation = nullptr;
    plateforme::Image* Image1 = nullptr;
    plateforme::Image* Image2 = nullptr;
    // Program and document pickers.
    plateforme::Cadre* Frame2 = nullptr;
    QPlainTextEdit* Programme = nullptr;
    QPushButton* Command1;
    QPushButton* CmdQuitter;

    // The file list shows the files of `motif`; the lists follow each
    // other, a folder that cannot be read told through `messages`.
    void construireSelecteur(QWidget* fenetre, const QString& motif, Apercu apercu, plateforme::Messages& messages);
};

class Selecteur : public plateforme::Fenetre, public CadresSelecteur {
    Q_OBJECT
public:
    // The picker of this model, made on its first use as a child of
    // `proprietaire` (the main window, so that it lives as long). It is shown
    // above whichever window opens it.
    static Selecteur& de(QWidget& proprietaire, plateforme::Services& services, const ModeleSelecteur& modele);

    // Shows the picker modally above `appelant`. The path that "OK" hands
    // over (the folder of File1, "\" and the selected name), or the model's
    // default when no file is selected; nothing after "Annuler", the title
    // bar's close button, or "OK" without a file in a picker with no default.
    std::optional<QString> choisir(QWidget* appelant);

    const ModeleSelecteur& modele() const { return modele_; }

private:
    Selecteur(QWidget& proprietaire, plateforme::Services& services, const ModeleSelecteur& modele);

    void montrer();
    void valider();

    plateforme::Services& services_;
    const ModeleSelecteur& modele_;
    std::optional<QString> choix_;
};

// The text of a file as a preview shows it: every character but the last
// (the line end the editors put there), line ends as line breaks. A missing,
// unreadable or empty file shows nothing. A file chosen to be stored (a
// sheet's program, a machine file) shows as it will be stored, a UTF-8 one
// converted to Windows-1252 (textechoisi.h); `brut`: as its bytes stand.
QString apercuTexte(const QString& chemin, bool brut = false);

// The limit of a picture picker's preview, in twips.
inline constexpr int kLimiteApercuSelecteur = 3800;

}  // namespace tarvex
