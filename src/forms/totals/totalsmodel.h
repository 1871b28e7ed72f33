#pragma once

#include "reports/totals.h"

#include <QAbstractTableModel>
#include <QLocale>
#include <vector>

namespace quillary {

// The totals grid's content: a header row, the rows of the last fill and,
// below them, one empty row that is always there. A cell's text is made
// when it is asked for: a fill of every record of a file then costs no more
// than the rows on screen.
class TotalsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TotalsModel(QObject* parent = nullptr);

    // Replaces every data row at once: the listed entries of records.
    void setListing(std::vector<TaxRecord> records, std::vector<TotalsEntry> entries,
                    const QLocale& locale = QLocale());
    void clear();
    // The data rows with their texts.
    std::vector<TotalsRow> rows() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<TaxRecord> records_;
    std::vector<TotalsEntry> entries_;
    QLocale locale_;
};

} // namespace quillary
