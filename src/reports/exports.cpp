#include "reports/exports.h"

#include "platform/localeservices.h"
#include "reports/summarylayout.h"

namespace quillary {

CsvCell dateCell(const QString& stored, const DateReader& read)
{
    if (const std::optional<QDate> date = read(stored))
        return {date->toString(Qt::ISODate)};
    return {trimBlanks(stored)};
}

CsvCell amountCell(const QString& stored, const AmountReader& read)
{
    const CurrencyResult amount = read(stored);
    if (amount.ok())
        return CsvCell::number(currencyToText(amount.value, QLocale::c()));
    return {trimBlanks(stored)};
}

CsvTable recordsTable(const std::vector<TaxRecord>& records, const QLocale& locale)
{
    CsvTable table;
    table.header = {QStringLiteral("Record No."),  QStringLiteral("Personal/Business"),
                    QStringLiteral("Expense/Income"), QStringLiteral("Date"),
                    QStringLiteral("Amount"),      QStringLiteral("Invoice No."),
                    QStringLiteral("Pay Method"),  QStringLiteral("Type"),
                    QStringLiteral("Paid to/by"),  QStringLiteral("Description")};
    table.rows.reserve(records.size());
    const AmountReader readAmount(locale);
    const DateReader readDate(locale);
    int number = 0;
    for (const TaxRecord& record : records) {
        const std::optional<Kind> kind = kindFromCode(record.kindCode());
        CsvRow row;
        row.reserve(10);
        row.push_back(CsvCell::number(QString::number(++number)));
        row.push_back({kind ? (kind->business ? QStringLiteral("Business")
                                              : QStringLiteral("Personal"))
                            : QString()});
        row.push_back({kind ? (kind->income ? QStringLiteral("Income")
                                            : QStringLiteral("Expense"))
                            : QString()});
        row.push_back(dateCell(record.field(Field::Date), readDate));
        row.push_back(amountCell(record.field(Field::Amount), readAmount));
        for (Field field : {Field::Invoice, Field::PayMethod, Field::Type, Field::Party,
                            Field::Description})
            row.push_back({trimBlanks(record.field(field))});
        table.rows.push_back(std::move(row));
    }
    return table;
}

CsvTable totalsTable(const QStringList& header, const std::vector<TotalsRow>& rows,
                     const QLocale& locale)
{
    CsvTable table;
    table.header = header;
    table.rows.reserve(rows.size() + 1);
    const AmountReader readAmount(locale);
    const DateReader readDate(locale);
    for (const TotalsRow& shown : rows) {
        CsvRow row(kTotalsColumns);
        for (int column : {ColDescription, ColInvoice, ColPayMethod, ColParty})
            row[std::size_t(column)] = {trimBlanks(shown[std::size_t(column)])};
        row[ColDate] = dateCell(shown[ColDate], readDate);
        row[ColAmount] = amountCell(shown[ColAmount], readAmount);
        row[ColTotal] = amountCell(shown[ColTotal], readAmount);
        table.rows.push_back(std::move(row));
    }
    CsvRow total(kTotalsColumns);
    total[ColDescription] = {QStringLiteral("Total")};
    total[ColTotal] = rows.empty() ? CsvCell::number(QStringLiteral("0"))
                                   : table.rows.back()[ColTotal];
    table.rows.push_back(std::move(total));
    return table;
}

CsvTable summaryTable(const Summary& summary, bool hideEmpty)
{
    using Style = SummaryRow::Style;
    CsvTable table;
    table.header = {QStringLiteral("Section"), QStringLiteral("Category"),
                    QStringLiteral("Records"), QStringLiteral("Total")};
    // The C locale writes the counts and figures as plain numbers, which is
    // what a spreadsheet reads.
    const QLocale plain = QLocale::c();
    auto figure = [](const QString& text) {
        return text == kOutOfRange ? CsvCell{text} : CsvCell::number(text);
    };
    QString section;
    for (const SummaryRow& row : summaryRows(summary, hideEmpty, plain)) {
        if (row.style == Style::SectionHeading) {
            section = row.label;
            continue;
        }
        const QString label = row.style == Style::Unlisted
            ? QStringLiteral("%1 (%2)").arg(row.label, row.note)
            : row.label;
        table.rows.push_back({{row.style == Style::Total ? QString() : section}, {label},
                              row.records.isEmpty() ? CsvCell{} : CsvCell::number(row.records),
                              figure(row.figure)});
    }
    table.rows.push_back({});
    CsvRow heading{{QStringLiteral("Not counted")}};
    for (const QString& name : notCountedHeaders())
        heading.push_back({name});
    table.rows.push_back(std::move(heading));
    for (const NotCountedRecord& record : summary.notCounted) {
        const QStringList cells = notCountedCells(record);
        CsvRow row{{QStringLiteral("Not counted")}, CsvCell::number(cells[NcNumber])};
        for (int column = NcDate; column < kNotCountedColumns; ++column)
            row.push_back({cells[column]});
        table.rows.push_back(std::move(row));
    }
    return table;
}

} // namespace quillary
