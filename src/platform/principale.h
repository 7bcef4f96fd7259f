#pragma once
// What a window opened from the main window may ask of it. The main window
// implements it and hands it to the windows it opens: they read what it shows
// as values (the settings and values as shown, typed ones included) and tell
// it back through calls ("show this sheet", "the sheet changed"), never
// through its controls, which are its own.

#include "platform/fenetre.h"
#include "platform/services.h"
#include "store/empreinte.h"
#include "store/ficheaffichee.h"

#include <QSize>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>
#include <string>

namespace tarvex {

// The serial settings as shown: Port2, Vitesse2, Parité2, Nbrebits2, Bitsstop2.
struct ReglagesPort {
    QString port, vitesse, parite, bits, arret;
};

// The value boxes as shown, a value typed there included.
struct ValeursMontrees {
    QString prefx, prefy, prefz, decx, decy, decz;
    QString decalage, originex, originey, originez;
    QString infovrac, jauge;
};

// One of the value boxes.
enum class Valeur { Prefx, Prefy, Prefz, Decx, Decy, Decz, Decalage, OrigineX, OrigineY, OrigineZ, Infovrac, Jauge };

// The part's picture as shown: none when no picture shows, else its file
// and its size in twips.
struct ImageMontree {
    QString chemin;
    QSize twips;
};

class Principale {
public:
    virtual ~Principale() = default;

    // The window the others stand above; it also holds the file pickers.
    virtual QWidget& fenetre() = 0;
    // Not virtual: the windows it owns reach it while it is being destroyed.
    plateforme::Services& services() { return services_; }

    // The sheet shown, as read when it was chosen (FicheAffichee).
    virtual const FicheAffichee& ficheAffichee() const = 0;
    // Its folder, "data\" + nomdossier + "\".
    virtual QString dossierFiche() const = 0;
    // The entry of the list shown for it ("PIVOT Phase 20").
    virtual QString entreeMontree() const = 0;
    virtual ReglagesPort reglagesPort() const = 0;
    virtual ValeursMontrees valeursMontrees() const = 0;
    virtual std::optional<ImageMontree> imageMontree() const = 0;
    // Whether the shown sheet may be modified ("Modifier" enabled).
    virtual bool modifiable() const = 0;
    // The progress bar of the transfers.
    virtual plateforme::Vumetre& vumetre() = 0;

    // Before a command sends, prints or stores the shown sheet: false, the
    // operator told and the sheet shown as it now is, when another computer
    // changed or deleted it since it was shown.
    virtual bool ficheAJour(QWidget* fenetre) = 0;
    // The sheet chosen shown again, read anew: its files changed.
    virtual void reselectionner() = 0;
    // The list refilled and the sheet of key `cle` shown as if chosen.
    virtual void montrerFiche(const std::string& cle) = 0;
    // Back to the state without a selected sheet, the list refilled.
    virtual void reinitialiser() = 0;
    virtual bool remplirliste() = 0;

    // This program stored over the shown sheet (`maintenant`, taken under the lock).
    virtual void ficheStockee(std::optional<EmpreintesFiche> maintenant) = 0;
    // Another computer stored over the shown sheet: told, shown anew. False when unchanged.
    virtual bool ficheChangeeAilleurs(QWidget* fenetre, EtatFiche etat) = 0;
    // A modification stored the sheet: `avec` says which of its files it has
    // now, `listing` the program shown until it is read again.
    virtual void ficheModifiee(const std::array<bool, kFichiersFiche>& avec, const std::optional<QString>& listing) = 0;
    // ... and one of its values as stored.
    virtual void montrerValeur(Valeur boite, const QString& texte) = 0;
    // ... and its program: the listing, its annotations and Charger follow it.
    virtual void programmeModifie() = 0;
    // ... and its part view: the new one shown, no photograph selected.
    virtual void vueModifiee() = 0;
    // The DNC service started or stopped: shown beside its button.
    virtual void montrerService(bool actif) = 0;

protected:
    explicit Principale(plateforme::Services& services) : services_(services) {}
    Principale(const Principale&) = delete;
    Principale& operator=(const Principale&) = delete;

private:
    plateforme::Services& services_;
};

}  // namespace tarvex
