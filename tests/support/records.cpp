#include "support/records.h"

#include "platform/localeservices.h"

#include <QDate>

namespace quillary::test {

TaxRecord makeRecord(char kind, const QString& date, const QString& amount,
                     const QString& invoice, const QString& pay, const QString& type,
                     const QString& party, const QString& description)
{
    QByteArray bytes = TaxRecord().bytes();
    bytes[0] = kind;
    TaxRecord r = TaxRecord::fromBytes(bytes);
    r.setField(Field::Date, date);
    r.setField(Field::Amount, amount);
    r.setField(Field::Invoice, invoice);
    r.setField(Field::PayMethod, pay);
    r.setField(Field::Type, type);
    r.setField(Field::Party, party);
    r.setField(Field::Description, description);
    return r;
}

TaxRecord totalsRecord(char kind, const QString& type, const QString& amount,
                       const QString& description, const QString& date, const QString& party,
                       const QString& invoice, const QString& payMethod)
{
    return makeRecord(kind, date, amount, invoice, payMethod, type, party, description);
}

std::vector<TaxRecord> sampleRecords()
{
    return {
        makeRecord('0', QStringLiteral("3/14/2024"), QStringLiteral("125.4"),
                   QStringLiteral("A-1041"), QStringLiteral("Check No: 1041"),
                   QStringLiteral("Medical and Dental Fees"), QStringLiteral("Dr. Meyer"),
                   QStringLiteral("Check-up")),
        makeRecord('2', QStringLiteral("4/2/2024"), QStringLiteral("89.99"),
                   QStringLiteral("7731"), QStringLiteral("Visa/Mastercard"),
                   QStringLiteral("Supplies"), QStringLiteral("Office Depot"),
                   QStringLiteral("Printer paper")),
        makeRecord('1', QStringLiteral("4/30/2024"), QStringLiteral("2500"), QString(),
                   QStringLiteral("Account"), QStringLiteral("Wages, Salaries, Tips, etc."),
                   QStringLiteral("Acme Tools Inc."), QStringLiteral("April salary")),
    };
}

TaxRecord numberedRecord(int n)
{
    return makeRecord('0', shortDate(QDate(2024, 1, 1).addDays(n)), QString::number(10 * n),
                      QStringLiteral("INV%1").arg(n), QStringLiteral("Cash"),
                      QStringLiteral("Other"), QStringLiteral("Shop %1").arg(n),
                      QStringLiteral("Item %1").arg(n));
}

std::vector<TaxRecord> numberedRecords(int count, int first)
{
    std::vector<TaxRecord> records;
    for (int i = 0; i < count; ++i)
        records.push_back(numberedRecord(first + i));
    return records;
}

QByteArray bytesOf(const std::vector<TaxRecord>& records)
{
    QByteArray out;
    for (const TaxRecord& r : records)
        out += r.bytes();
    return out;
}

} // namespace quillary::test
