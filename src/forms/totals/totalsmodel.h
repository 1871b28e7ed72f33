#pragma once

#include "reports/totals.h"

#include <QAbstractTableModel>
#include <vector>

namespace quillary {

// The totals grid's content: a header row, the rows of the last fill and,
// below them, one empty row that is always there.
class TotalsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TotalsModel(QObject* parent = nullptr);

    // Replaces every data row at once.
    void setRows(std::vector<TotalsRow> rows);
    const std::vector<TotalsRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<TotalsRow> rows_;
};

} // namespace quillary
