#include "journal/modelejournal.h"

namespace tarvex {

namespace {

const char* const kTitres[journal::kColonnes] = {"Date",     "Heure",  "Poste",    "Port",     "Machine", "Opération",
                                                 "Fiche ou fichier", "Octets", "Lignes", "Résultat", "Durée", "CRC"};

bool nombre(int colonne)
{
    return colonne == journal::kOctets || colonne == journal::kLignes || colonne == journal::kDuree;
}

}  // namespace

ModeleJournal::ModeleJournal(const journal::Lignes& lignes, QObject* parent)
    : QAbstractTableModel(parent), lignes_(lignes)
{
}

int ModeleJournal::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(numeros_.size());
}

int ModeleJournal::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(journal::kColonnes);
}

QVariant ModeleJournal::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const auto champs = journal::champs(lignes_.ligne(numeros_[static_cast<std::size_t>(index.row())]));
    const auto champ = [&](std::size_t c) { return QString::fromUtf8(champs[c].data(), champs[c].size()); };
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == journal::kDuree) return QString::fromStdString(journal::duree(champs[journal::kDuree]));
        return champ(static_cast<std::size_t>(index.column()));
    case Qt::ToolTipRole:
        // The whole sheet or file name, which a narrow column cuts, and the
        // CRC that tells two transfers of the same bytes.
        if (champs[journal::kCrc].empty()) return champ(journal::kObjet);
        return QStringLiteral("%1\nCRC-32 des octets transmis : %2").arg(champ(journal::kObjet), champ(journal::kCrc));
    case Qt::TextAlignmentRole:
        return nombre(index.column()) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

QVariant ModeleJournal::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(kTitres[section]);
    if (role == Qt::TextAlignmentRole && nombre(section)) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

void ModeleJournal::montrer(std::vector<std::size_t> numeros)
{
    beginResetModel();
    numeros_ = std::move(numeros);
    endResetModel();
}

void ModeleJournal::ajouterEnTete(const std::vector<std::size_t>& numeros)
{
    if (numeros.empty()) return;
    beginInsertRows({}, 0, static_cast<int>(numeros.size()) - 1);
    numeros_.insert(numeros_.begin(), numeros.begin(), numeros.end());
    endInsertRows();
}

}  // namespace tarvex
