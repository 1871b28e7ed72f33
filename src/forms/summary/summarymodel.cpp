#include "forms/summary/summarymodel.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPalette>
#include <QStyle>

namespace quillary {

namespace {

using Style = SummaryRow::Style;

bool isCategory(Style style)
{
    return style == Style::Category || style == Style::EmptyCategory || style == Style::Unlisted;
}

QString percentText(double share)
{
    return QStringLiteral("%1% of the section's largest total").arg(qRound(share * 100));
}

} // namespace

SummaryModel::SummaryModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void SummaryModel::setRows(std::vector<SummaryRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int SummaryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int SummaryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant SummaryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(rows_.size()))
        return {};
    const SummaryRow& row = rows_[std::size_t(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case ColCategory:
            return row.note.isEmpty() ? row.label
                                      : row.label + QStringLiteral("  (") + row.note + u')';
        case ColRecords: return row.records;
        case ColTotal: return row.figure;
        default: return QString();
        }
    case Qt::AccessibleTextRole:
        if (column == ColBar)
            return row.share >= 0 ? percentText(row.share) : QString();
        if (column == ColCategory && row.style == Style::EmptyCategory)
            return row.label + QStringLiteral(", no records");
        return data(index, Qt::DisplayRole);
    case Qt::ToolTipRole:
        if (column == ColBar && row.share >= 0)
            return percentText(row.share);
        if (column == ColCategory && row.style == Style::Unlisted)
            return QStringLiteral("Records of this kind whose type is not in the list of its "
                                  "categories. Correct their type in the record window.");
        return {};
    case Qt::FontRole: {
        QFont font = QApplication::font();
        if (row.style == Style::SectionHeading || row.style == Style::SectionTotal
            || row.style == Style::Total)
            font.setBold(true);
        if (row.style == Style::Unlisted)
            font.setItalic(true);
        return font;
    }
    case Qt::ForegroundRole:
        if (row.style == Style::EmptyCategory)
            return QApplication::palette().brush(QPalette::PlaceholderText);
        return {};
    case Qt::BackgroundRole:
        if (row.style == Style::SectionHeading)
            return QApplication::palette().brush(QPalette::AlternateBase);
        return {};
    case Qt::TextAlignmentRole:
        if (column == ColRecords || column == ColTotal)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case ShareRole:
        return row.share;
    case StyleRole:
        return int(row.style);
    default:
        return {};
    }
}

QVariant SummaryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case ColCategory: return QStringLiteral("Category");
    case ColRecords: return QStringLiteral("Records");
    case ColTotal: return QStringLiteral("Total");
    case ColBar: return QStringLiteral("Share");
    default: return {};
    }
}

Qt::ItemFlags SummaryModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

NotCountedModel::NotCountedModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void NotCountedModel::setRecords(std::vector<NotCountedRecord> records)
{
    beginResetModel();
    records_ = std::move(records);
    endResetModel();
}

int NotCountedModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(records_.size());
}

int NotCountedModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kNotCountedColumns;
}

QVariant NotCountedModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(records_.size()))
        return {};
    const NotCountedRecord& record = records_[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
        switch (index.column()) {
        case NcNumber: return QString::number(record.number);
        case NcDate: return record.date;
        case NcAmount: return record.amount;
        case NcDescription: return record.description;
        case NcReason: return record.reasonText();
        default: return {};
        }
    case Qt::TextAlignmentRole:
        if (index.column() == NcNumber)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case RecordRole:
        return record.number;
    default:
        return {};
    }
}

QVariant NotCountedModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return notCountedHeaders().value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void SummaryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    const int column = index.column();
    const auto style = Style(index.data(SummaryModel::StyleRole).toInt());
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (column == SummaryModel::ColCategory && isCategory(style))
        opt.rect.adjust(opt.fontMetrics.horizontalAdvance(QStringLiteral("MM")), 0, 0, 0);
    if (column != SummaryModel::ColTotal && column != SummaryModel::ColBar) {
        QStyledItemDelegate::paint(painter, opt, index);
        return;
    }

    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* s = widget ? widget->style() : QApplication::style();
    s->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const int margin = s->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 3;
    const QRect area = opt.rect.adjusted(margin, 0, -margin, 0);
    painter->save();
    if (column == SummaryModel::ColTotal) {
        const bool selected = opt.state & QStyle::State_Selected;
        // initStyleOption has put a foreground of the row's own into Text.
        painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(opt.font);
        const QFontMetrics m(opt.font);
        const FigureParts parts = splitFigure(text);
        const int point = area.right() - m.horizontalAdvance(QLocale().decimalPoint() + "0000");
        painter->drawText(QRect(area.left(), area.top(), point - area.left(), area.height()),
                          Qt::AlignRight | Qt::AlignVCenter, parts.whole);
        painter->drawText(QRect(point, area.top(), area.right() - point + 1, area.height()),
                          Qt::AlignLeft | Qt::AlignVCenter, parts.fraction);
    } else {
        const double share = index.data(SummaryModel::ShareRole).toDouble();
        if (share > 0) {
            const int height = std::max(4, area.height() * 5 / 10);
            const int width = std::max(1, int(area.width() * share + 0.5));
            const QRect bar(area.left(), area.top() + (area.height() - height) / 2, width, height);
            const bool selected = opt.state & QStyle::State_Selected;
            painter->fillRect(bar, opt.palette.color(selected ? QPalette::HighlightedText
                                                              : QPalette::Highlight));
        }
    }
    painter->restore();
}

QSize SummaryDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.column() == SummaryModel::ColCategory)
        size.rwidth() += option.fontMetrics.horizontalAdvance(QStringLiteral("MM"));
    return size;
}

} // namespace quillary
