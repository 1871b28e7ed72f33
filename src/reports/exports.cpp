#include "reports/exports.h"

#include "platform/localeservices.h"

namespace quillary {

CsvCell dateCell(const QString& stored, const QLocale& locale)
{
    if (const std::optional<QDate> date = parseDate(stored, locale))
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
        row.push_back(dateCell(record.field(Field::Date), locale));
        row.push_back(amountCell(record.field(Field::Amount), readAmount));
        for (Field field : {Field::Invoice, Field::PayMethod, Field::Type, Field::Party,
                            Field::Description})
            row.push_back({trimBlanks(record.field(field))});
        table.rows.push_back(std::move(row));
    }
    return table;
}

} // namespace quillary
