#include "forms/totals/totalsmodel.h"

#include "forms/totals/totalstexts.h"

namespace quillary {

TotalsModel::TotalsModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void TotalsModel::setListing(std::vector<TaxRecord> records, std::vector<TotalsEntry> entries,
                             const QLocale& locale)
{
    beginResetModel();
    records_ = std::move(records);
    entries_ = std::move(entries);
    locale_ = locale;
    endResetModel();
}

void TotalsModel::clear()
{
    setListing({}, {});
}

std::vector<TotalsRow> TotalsModel::rows() const
{
    std::vector<TotalsRow> rows;
    rows.reserve(entries_.size());
    for (const TotalsEntry& entry : entries_)
        rows.push_back(totalsRow(records_[entry.record], entry, locale_));
    return rows;
}

int TotalsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(entries_.size()) + 1;
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
    if (row >= entries_.size())
        return QString(); // the empty row below the data
    const TotalsEntry& entry = entries_[row];
    return totalsCell(records_[entry.record], entry, TotalsColumn(index.column()), locale_);
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
