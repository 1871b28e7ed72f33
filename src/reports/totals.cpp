#include "reports/totals.h"

namespace quillary {

std::optional<char> selectionCode(bool personal, bool expense, bool income)
{
    if (!expense && !income)
        return std::nullopt;
    return kindCode(Kind{!personal, !expense});
}

AmountReader::AmountReader(const QLocale& locale)
    : locale_(locale)
{
    const QString decimal = locale.decimalPoint();
    if (decimal.size() == 1)
        decimal_ = decimal.at(0);
}

CurrencyResult AmountReader::operator()(const QString& field) const
{
    // An optional minus, 1 to 14 digits and, after the separator, 1 to 4
    // digits, with blanks around: the fields' own format.
    const QChar* p = field.constData();
    const QChar* end = p + field.size();
    while (p < end && *p == u' ')
        ++p;
    while (end > p && end[-1] == u' ')
        --end;
    const bool negative = p < end && *p == u'-';
    if (negative)
        ++p;
    qint64 whole = 0;
    int digits = 0;
    while (p < end && p->unicode() >= u'0' && p->unicode() <= u'9' && digits < 15) {
        whole = whole * 10 + (p->unicode() - u'0');
        ++p;
        ++digits;
    }
    qint64 fraction = 0;
    int decimals = 0;
    if (digits > 0 && digits < 15 && p < end && !decimal_.isNull() && *p == decimal_) {
        ++p;
        while (p < end && p->unicode() >= u'0' && p->unicode() <= u'9' && decimals < 5) {
            fraction = fraction * 10 + (p->unicode() - u'0');
            ++p;
            ++decimals;
        }
        if (decimals == 0 || decimals > 4)
            digits = 0; // not the plain format: let the full conversion decide
    }
    if (digits == 0 || digits >= 15 || p != end)
        return textToCurrency(field, locale_);
    for (int i = decimals; i < 4; ++i)
        fraction *= 10;
    CurrencyResult result;
    result.status = CurrencyStatus::Ok;
    const qint64 units = whole * Currency::kScale + fraction;
    result.value.units = negative ? -units : units;
    return result;
}

QString Totals::labelText(const QLocale& locale) const
{
    return total ? u'$' + currencyToText(*total, locale) : kOutOfRange;
}

Totals computeTotals(const std::vector<TaxRecord>& records, const TotalsSelection& selection,
                     const QLocale& locale)
{
    Totals result;
    if (!selection.kindCode)
        return result;
    const bool all = selection.type == kAllTypes;
    const AmountReader readAmount(locale);
    YearReader readYear(locale);
    QString runningText = currencyToText(Currency{}, locale);
    for (const TaxRecord& record : records) {
        if (record.kindCode() != *selection.kindCode)
            continue;
        if (!all && trimBlanks(record.field(Field::Type)) != selection.type)
            continue;
        if (selection.year && readYear(record) != selection.year)
            continue;
        const QString amount = record.field(Field::Amount);
        if (result.total) {
            const CurrencyResult value = readAmount(amount);
            if (value.ok()) {
                result.total = addCurrency(*result.total, value.value);
                runningText = result.total ? currencyToText(*result.total, locale) : kOutOfRange;
            }
        }
        result.rows.push_back({record.field(Field::Description), record.field(Field::Date),
                               record.field(Field::Invoice), amount,
                               record.field(Field::PayMethod), record.field(Field::Party),
                               runningText});
    }
    return result;
}

QStringList printAllListing(const QString& filename, const std::vector<TaxRecord>& records)
{
    QStringList lines;
    lines.reserve(3 + qsizetype(records.size()) * 9);
    lines << QStringLiteral("All tax expense and income records for the file '") + filename + u'\''
          << QString() << QString();
    int n = 0;
    for (const TaxRecord& r : records) {
        ++n;
        lines << QStringLiteral("Record No: ") + QString::number(n) << QString()
              << QStringLiteral("Description: ") + r.field(Field::Description)
                     + QStringLiteral("Paid to: ") + r.field(Field::Party)
              << QStringLiteral("Date: ") + r.field(Field::Date)
                     + QStringLiteral("            Invoice No: ") + r.field(Field::Invoice)
              << QStringLiteral("Amount: ") + r.field(Field::Amount)
                     + QStringLiteral("           Payment by: ") + r.field(Field::PayMethod)
              << QStringLiteral("Expense/Income Type: ") + r.field(Field::Type) << QString()
              << QString() << QString();
    }
    return lines;
}

} // namespace quillary
