#pragma once
// The journal's lines as the window's table shows them: one row per
// transfer kept by the filter, newest first, one column per field; the CRC
// in a hidden column and in every cell's tooltip.

#include "journal/journal.h"

#include <QAbstractTableModel>

#include <vector>

namespace tarvex {

class ModeleJournal : public QAbstractTableModel {
    Q_OBJECT
public:
    ModeleJournal(const journal::Lignes& lignes, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The rows shown: these lines of the journal, in this order.
    void montrer(std::vector<std::size_t> numeros);
    // Lines appended to the journal, newest first, put above the others.
    void ajouterEnTete(const std::vector<std::size_t>& numeros);

private:
    const journal::Lignes& lignes_;
    std::vector<std::size_t> numeros_;  // newest first
};

}  // namespace tarvex
