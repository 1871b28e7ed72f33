#include "forms/totals/totalsmodel.h"

#include "forms/totals/totalstexts.h"

namespace quillary {

TotalsModel::TotalsModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void TotalsModel::setRows(std::vector<TotalsRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int TotalsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size()) + 1;
}

int TotalsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kTotalsColumns;
}

QVariant TotalsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() >= kTotalsColumns)
        return {};
    if (role == Qt::TextAlignmentRole) {
        const bool amount = index.column() == ColAmount || index.column() == ColTotal;
        return int(Qt::AlignVCenter | (amount ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole)
        return {};
    const auto row = std::size_t(index.row());
    if (row >= rows_.size())
        return QString(); // the empty row below the data
    return rows_[row][std::size_t(index.column())];
}

QVariant TotalsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0
        || section >= kTotalsColumns)
        return {};
    return totalsColumns()[std::size_t(section)].header;
}

Qt::ItemFlags TotalsModel::flags(const QModelIndex& index) const
{
    // Read only: the window never changes a record.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace quillary
