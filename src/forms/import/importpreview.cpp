#include "forms/import/importpreview.h"

#include "platform/localeservices.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

namespace quillary {

QString importStatusText(const ImportRow& row, bool kept)
{
    switch (row.status) {
    case ImportRow::Status::Ready:
        return QStringLiteral("Import");
    case ImportRow::Status::Duplicate:
        return (kept ? QStringLiteral("Import, likely duplicate: ")
                     : QStringLiteral("Skip, likely duplicate: "))
            + row.reason;
    case ImportRow::Status::Unreadable:
        return QStringLiteral("Skip: ") + row.reason;
    }
    return {};
}

ImportPreview::ImportPreview(CsvImport& import, QObject* parent)
    : QAbstractTableModel(parent)
    , import_(import)
{
}

void ImportPreview::refresh()
{
    beginResetModel();
    endResetModel();
}

int ImportPreview::importRow(int row) const
{
    const int skipped = int(import_.table().skipped.size());
    return row < skipped ? -1 : row - skipped;
}

int ImportPreview::previewRow(std::size_t importRow) const
{
    return int(import_.table().skipped.size() + importRow);
}

const CsvInputRow& ImportPreview::sourceRow(int row) const
{
    const int i = importRow(row);
    return i < 0 ? import_.table().skipped[std::size_t(row)] : import_.table().rows[std::size_t(i)];
}

int ImportPreview::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return int(import_.table().skipped.size() + import_.rows().size());
}

int ImportPreview::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kResultColumns + int(import_.table().columns.size());
}

QVariant ImportPreview::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int column = index.column();
    const int i = importRow(index.row());
    const ImportRow* row = i < 0 ? nullptr : &import_.rows()[std::size_t(i)];

    if (role == Qt::ForegroundRole) {
        const bool skipped = !row || row->status == ImportRow::Status::Unreadable
            || (row->status == ImportRow::Status::Duplicate && !import_.kept(std::size_t(i)));
        if (skipped)
            return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    }
    if (role == Qt::CheckStateRole && column == ColStatus && row
        && row->status == ImportRow::Status::Duplicate)
        return import_.kept(std::size_t(i)) ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::TextAlignmentRole && column == ColAmount)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};

    if (column >= kResultColumns) {
        const QStringList& fields = sourceRow(index.row()).fields;
        const int field = column - kResultColumns;
        QString text = field < fields.size() ? fields[field] : QString();
        // A line break inside a field would make the row as tall as it.
        if (role == Qt::DisplayRole)
            text = fieldText(text);
        return text;
    }
    switch (column) {
    case ColLine:
        return sourceRow(index.row()).line;
    case ColStatus:
        return row ? importStatusText(*row, import_.kept(std::size_t(i)))
                   : QStringLiteral("Skip: above the table");
    default:
        break;
    }
    if (!row || row->status == ImportRow::Status::Unreadable)
        return {};
    const TaxRecord& record = row->record;
    switch (column) {
    case ColKind: {
        const std::optional<Kind> kind = kindFromCode(record.kindCode());
        if (!kind)
            return {};
        return QString((kind->business ? QStringLiteral("Business ") : QStringLiteral("Personal "))
                       + (kind->income ? QStringLiteral("income") : QStringLiteral("expense")));
    }
    case ColDate: return trimBlanks(record.field(Field::Date));
    case ColAmount: return trimBlanks(record.field(Field::Amount));
    case ColDescription: return trimBlanks(record.field(Field::Description));
    case ColParty: return trimBlanks(record.field(Field::Party));
    default: return {};
    }
}

bool ImportPreview::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != ColStatus)
        return false;
    const int i = importRow(index.row());
    if (i < 0 || import_.rows()[std::size_t(i)].status != ImportRow::Status::Duplicate)
        return false;
    import_.setKeep(std::size_t(i), value.toInt() == Qt::Checked);
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    emit keptChanged();
    return true;
}

QVariant ImportPreview::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QStringList results{QStringLiteral("Line"),   QStringLiteral("Becomes"),
                                     QStringLiteral("Kind"),   QStringLiteral("Date"),
                                     QStringLiteral("Amount"), QStringLiteral("Description"),
                                     QStringLiteral("Paid to/by")};
    if (section < kResultColumns)
        return results[section];
    const QStringList& columns = import_.table().columns;
    const int field = section - kResultColumns;
    return field < columns.size() ? QStringLiteral("File: %1").arg(columns[field]) : QVariant();
}

Qt::ItemFlags ImportPreview::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == ColStatus) {
        const int i = importRow(index.row());
        if (i >= 0 && import_.rows()[std::size_t(i)].status == ImportRow::Status::Duplicate)
            flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}

} // namespace quillary
