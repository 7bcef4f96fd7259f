#pragma once
// The base of every window shown above the main window. A window is loaded
// (built, then its load handler run by its opener), shown modally, and then
// hidden or unloaded; closing it with the title bar's button unloads it.

#include <QDialog>
#include <QProgressBar>

namespace tarvex::plateforme {

class Fenetre : public QDialog {
    Q_OBJECT
public:
    // Sizes in twips, as the windows' designs give them.
    Fenetre(QWidget* parent, const QString& nom, const QString& titre, int largeurTwips, int hauteurTwips);

protected:
    void closeEvent(QCloseEvent* e) override;
    // Escape does what the window's own close or cancel button does
    // ("quitter", "CmdQuitter": Quitter, Fermer, Annuler, Retour Tarvex),
    // so that a window's leaving is always its handler's, never Qt's own
    // hiding; without one, Escape is the title bar's close button.
    void reject() override;
};

// The progress bar keeps the values it took, so that a test can check that
// it moved (and how) while a transfer ran.
class Vumetre : public QProgressBar {
    Q_OBJECT
public:
    explicit Vumetre(QWidget* parent = nullptr);
    QList<int> historique;  // each new value, in order; setting the same value again is not counted
};

}  // namespace tarvex::plateforme
