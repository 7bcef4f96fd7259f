#pragma once
// The toolpath window's long lists, read from the program as they are shown:
// a program of a million lines, or a million lines not drawn, costs no item
// per line.

#include "trajectoire/trajectoire.h"

#include <QAbstractListModel>
#include <QListView>

namespace tarvex::trajectoire {

// Why a line is left out, as the operator reads it.
QString raison(Raison r);

// What the two lists share: rows read from the program, as wide as the
// longest, that the list scrolls across to it.
class ModeleLignes : public QAbstractListModel {
public:
    void setTaille(QSize taille) { taille_ = taille; }
    int colonnes() const { return colonnes_; }

protected:
    ModeleLignes(const Programme& p, QObject* parent) : QAbstractListModel(parent), programme_(p) {}
    QVariant taille() const { return taille_.isValid() ? QVariant(taille_) : QVariant(); }

    const Programme& programme_;
    int colonnes_ = 0;

private:
    QSize taille_;
};

// The program's lines; those not drawn in red, their reason in the tooltip.
class ModeleListing : public ModeleLignes {
    Q_OBJECT
public:
    ModeleListing(const Programme& p, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<int> nonTracee_;  // per line: its index in nonTracees, or -1
};

// "Ligne 10 : G81 X5 Y5 Z-3 R1 F50", the line's number (from 1) as its data.
class ModeleNonTracees : public ModeleLignes {
    Q_OBJECT
public:
    ModeleNonTracees(const Programme& p, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
};

// A list of rows of one height, one row current. Its rows' texts and the
// current one can be read, and a row chosen by its text, as the operator
// would click it.
class ListeLignes : public QListView {
    Q_OBJECT
    Q_PROPERTY(QStringList entrees READ entrees)
    Q_PROPERTY(QString texte READ texte)
public:
    explicit ListeLignes(QWidget* parent = nullptr);
    QStringList entrees() const;
    QString texte() const;
    // The first row showing `texte`, or "#n" the row n (from 0), made current.
    Q_INVOKABLE bool choisir(const QString& texte);
    // The row made current and brought to the middle of the list.
    void montrerRang(int rang);
    // The list's rows as wide as `colonnes` characters of its font.
    QSize tailleLigne(int colonnes) const;

signals:
    void rangChoisi(int rang);  // -1: none

protected:
    void currentChanged(const QModelIndex& courant, const QModelIndex& avant) override;
};

}  // namespace tarvex::trajectoire
