#pragma once

#include "reports/summarylayout.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <vector>

namespace quillary {

// The summary's lines as a table: category, records, total and the bar.
class SummaryModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColCategory, ColRecords, ColTotal, ColBar, kColumns };
    // The bar's length, 0 to 1 (negative: none), under this role.
    static constexpr int ShareRole = Qt::UserRole + 1;
    // The row's SummaryRow::Style, as an int.
    static constexpr int StyleRole = Qt::UserRole + 2;

    explicit SummaryModel(QObject* parent = nullptr);

    void setRows(std::vector<SummaryRow> rows);
    const std::vector<SummaryRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<SummaryRow> rows_;
};

// The records that add to no figure.
class NotCountedModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // The record number, as an int, under this role.
    static constexpr int RecordRole = Qt::UserRole + 1;

    explicit NotCountedModel(QObject* parent = nullptr);

    void setRecords(std::vector<NotCountedRecord> records);
    const std::vector<NotCountedRecord>& records() const { return records_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<NotCountedRecord> records_;
};

// Draws the totals lined up on their decimal separators and the bars.
class SummaryDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace quillary
