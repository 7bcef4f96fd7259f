#pragma once
// "Comparaison des programmes": the selected sheet's program beside a
// program received from the CNC, line facing line, and the received one put
// into the sheet at the operator's word (and code).

#include "archives/comparaison.h"
#include "platform/ancrage.h"
#include "platform/fenetre.h"
#include "store/archives.h"

#include <QByteArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <optional>
#include <string>

namespace tarvex {

class Principale;

class Comparaison : public plateforme::Fenetre {
    Q_OBJECT
public:
    // Recu: the sheet's program (left) against a program received from the
    // CNC (right), which Remplacer puts into the sheet. Archive: an archived
    // program (left) against the sheet's current one (right), to look at only.
    enum class Mode { Recu, Archive };

    // Where a program the service kept came from, for the question asked
    // before it replaces the sheet's; one kept incomplete replaces nothing.
    struct Provenance {
        archives::Instant quand;
        QString port;  // "COM2"
        bool complet = true;
    };

    // `nomdossier`: the sheet's folder name; `autre`: the received or archived
    // program, Windows-1252; `titreAutre`: what its side is called.
    Comparaison(QWidget* parent, Principale& principale, std::string nomdossier, const QByteArray& autre, Mode mode,
                const QString& titreAutre = QStringLiteral("Programme reçu"),
                std::optional<Provenance> provenance = std::nullopt);

    // The received program became the sheet's while the window was open.
    bool aRemplace() const { return remplace_; }

    QLabel* Label2;  // what the left side is
    QLabel* Label3;  // what the right side is
    QListWidget* Avant;
    QListWidget* Apres;
    QLabel* Resume;
    QLabel* Label1;  // "Code autorisation"
    QLineEdit* Text3;
    QPushButton* Remplacer;
    QPushButton* quitter;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void comparer();
    void remplacer();

    Principale& principale_;
    QByteArray autre_;
    std::string nomdossier_;
    Mode mode_;
    std::optional<Provenance> provenance_;
    bool remplace_ = false;
    plateforme::Ancrage ancrage_;
};

// The colour a row of a kind is marked with; the number stored with each
// row of Avant and Apres is its kind (comparaison::Genre).
QColor couleurRangee(comparaison::Genre genre);

}  // namespace tarvex
