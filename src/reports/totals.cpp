#include "reports/totals.h"

#include "records/cp1252.h"

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

namespace {

// The amount in the fields' own format: an optional minus, 1 to 14 digits
// and, after the separator, 1 to 4 digits, with blanks around. code(i) is
// the character at i; none when the text is in another format.
template <typename Code>
std::optional<CurrencyResult> plainAmount(qsizetype size, Code code, char16_t decimal)
{
    auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    qsizetype p = 0;
    qsizetype end = size;
    while (p < end && code(p) == u' ')
        ++p;
    while (end > p && code(end - 1) == u' ')
        --end;
    const bool negative = p < end && code(p) == u'-';
    if (negative)
        ++p;
    qint64 whole = 0;
    int digits = 0;
    while (p < end && isDigit(code(p)) && digits < 15) {
        whole = whole * 10 + (code(p) - u'0');
        ++p;
        ++digits;
    }
    qint64 fraction = 0;
    int decimals = 0;
    if (digits > 0 && digits < 15 && p < end && decimal != 0 && code(p) == decimal) {
        ++p;
        while (p < end && isDigit(code(p)) && decimals < 5) {
            fraction = fraction * 10 + (code(p) - u'0');
            ++p;
            ++decimals;
        }
        if (decimals == 0 || decimals > 4)
            return std::nullopt;
    }
    if (digits == 0 || digits >= 15 || p != end)
        return std::nullopt;
    for (int i = decimals; i < 4; ++i)
        fraction *= 10;
    CurrencyResult result;
    result.status = CurrencyStatus::Ok;
    const qint64 units = whole * Currency::kScale + fraction;
    result.value.units = negative ? -units : units;
    return result;
}

// The text without the blanks around it.
std::string_view withoutBlanks(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(' ') + 1 - begin);
}

} // namespace

CurrencyResult AmountReader::operator()(const QString& field) const
{
    const QChar* text = field.constData();
    if (auto plain = plainAmount(
            field.size(), [text](qsizetype i) { return text[i].unicode(); }, decimal_.unicode()))
        return *plain;
    return textToCurrency(field, locale_);
}

CurrencyResult AmountReader::operator()(std::string_view field) const
{
    // Below 0x80 the code page is ASCII; any other byte takes the long way.
    const char* bytes = field.data();
    auto code = [bytes](qsizetype i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        return b < 0x80 ? char16_t(b) : char16_t(0xFFFF);
    };
    if (auto plain = plainAmount(qsizetype(field.size()), code, decimal_.unicode()))
        return *plain;
    return (*this)(fromCp1252(field.data(), qsizetype(field.size())));
}

QString totalText(const std::optional<Currency>& total, const QLocale& locale)
{
    return total ? u'$' + currencyToText(*total, locale) : kOutOfRange;
}

QString Totals::labelText(const QLocale& locale) const
{
    return totalText(total, locale);
}

TotalsListing listTotals(const std::vector<TaxRecord>& records, const TotalsSelection& selection,
                         const QLocale& locale)
{
    TotalsListing result;
    if (!selection.kindCode)
        return result;
    const bool all = selection.type == kAllTypes;
    // The type is compared with the fields as stored, without their blanks;
    // one the code page cannot hold is in no field.
    const QByteArray type = toCp1252(selection.type);
    const bool storable = fromCp1252(type) == selection.type;
    const std::string_view wanted(type.constData(), std::size_t(type.size()));
    const AmountReader readAmount(locale);
    const YearReader readYear(locale);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const TaxRecord& record = records[i];
        if (record.kindCode() != *selection.kindCode)
            continue;
        if (!all && (!storable || withoutBlanks(record.fieldBytes(Field::Type)) != wanted))
            continue;
        if (selection.year && readYear(record) != selection.year)
            continue;
        if (result.total) {
            const CurrencyResult value = readAmount(record.fieldBytes(Field::Amount));
            if (value.ok())
                result.total = addCurrency(*result.total, value.value);
        }
        result.entries.push_back({i, result.total});
    }
    return result;
}

QString totalsCell(const TaxRecord& record, const TotalsEntry& entry, TotalsColumn column,
                   const QLocale& locale)
{
    switch (column) {
    case ColDescription: return record.field(Field::Description);
    case ColDate: return record.field(Field::Date);
    case ColInvoice: return record.field(Field::Invoice);
    case ColAmount: return record.field(Field::Amount);
    case ColPayMethod: return record.field(Field::PayMethod);
    case ColParty: return record.field(Field::Party);
    case ColTotal:
        return entry.runningTotal ? currencyToText(*entry.runningTotal, locale) : kOutOfRange;
    case kTotalsColumns: break;
    }
    return {};
}

TotalsRow totalsRow(const TaxRecord& record, const TotalsEntry& entry, const QLocale& locale)
{
    TotalsRow row;
    for (int c = 0; c < kTotalsColumns; ++c)
        row[std::size_t(c)] = totalsCell(record, entry, TotalsColumn(c), locale);
    return row;
}

Totals computeTotals(const std::vector<TaxRecord>& records, const TotalsSelection& selection,
                     const QLocale& locale)
{
    const TotalsListing listing = listTotals(records, selection, locale);
    Totals result;
    result.total = listing.total;
    result.rows.reserve(listing.entries.size());
    for (const TotalsEntry& entry : listing.entries)
        result.rows.push_back(totalsRow(records[entry.record], entry, locale));
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
