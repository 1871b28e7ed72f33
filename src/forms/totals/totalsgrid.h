#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

namespace quillary {

// The cells of the totals grid. Fields are stored blank padded; a cell shows
// its text without the padding, so right-aligned amounts line up and text
// is cut only where the text itself does not fit. Cut text ends in an
// ellipsis and shows whole as a tooltip.
class TotalsCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // What the cell shows in the given option (its rect, font and style).
    QString shownText(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // The whole text when the cell shows it cut, otherwise empty.
    QString toolTipText(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    int textRoom(const QStyleOptionViewItem& option) const;
};

// The totals grid: Tab leaves it, the arrow keys move inside it.
class TotalsGrid final : public QTableView {
    Q_OBJECT
public:
    explicit TotalsGrid(QWidget* parent = nullptr);

    // What the cell at row, column shows, and its tooltip (empty when the
    // cell shows its whole text).
    QString shownText(int row, int column) const;
    QString toolTipText(int row, int column) const;

private:
    QStyleOptionViewItem cellOption(const QModelIndex& index) const;
    TotalsCellDelegate* delegate_;
};

} // namespace quillary
