// A CSV file to import, as any bytes: the first byte chooses the locale and
// how the user then changes the import window's choices, the rest is the
// file. It is read as found, then under the other separators and encodings,
// with and without a header, under every date order, both decimal
// separators, debit and credit columns and each kind rule. Nothing may
// crash, leak or hang; every record it would write is one the program reads
// back: a kind code of the four, a date of its locale, a positive amount;
// the counts agree with the records; duplicates point back.

#include "fuzzing.h"

#include "platform/localeservices.h"
#include "reports/csvimport.h"

using namespace quillary;
using quillary::fuzz::localeFor;

namespace {

void check(const CsvImport& import, const QLocale& locale)
{
    const DateReader readDate(locale);
    const std::vector<ImportRow>& rows = import.rows();
    FUZZ_CHECK(rows.size() == import.table().rows.size(), QString::number(rows.size()));
    int lastLine = 0;
    for (const CsvInputRow& skipped : import.table().skipped) {
        FUZZ_CHECK(skipped.line > lastLine, QString::number(skipped.line));
        lastLine = skipped.line;
    }
    for (const ImportRow& row : rows) {
        FUZZ_CHECK(row.line > lastLine,
                   QStringLiteral("line %1 after %2").arg(row.line).arg(lastLine));
        lastLine = row.line;
        if (row.status == ImportRow::Status::Unreadable) {
            FUZZ_CHECK(!row.reason.isEmpty(), QStringLiteral("no reason"));
            continue;
        }
        const TaxRecord& r = row.record;
        FUZZ_CHECK(kindFromCode(r.kindCode()).has_value(), QString(QChar::fromLatin1(r.kindCode())));
        const QString date = r.field(Field::Date);
        FUZZ_CHECK(readDate(date).has_value(), date);
        const QString amount = trimBlanks(r.field(Field::Amount));
        const CurrencyResult value = textToCurrency(amount, locale);
        FUZZ_CHECK(value.ok() && value.value.units > 0, amount);
        if (row.status == ImportRow::Status::Duplicate)
            FUZZ_CHECK(row.reason.startsWith(QStringLiteral("same as ")), row.reason);
    }
    const ImportCounts counts = import.counts();
    FUZZ_CHECK(counts.ready + counts.duplicates + counts.unreadable == int(rows.size()),
               QString::number(rows.size()));
    FUZZ_CHECK(int(import.records().size()) == counts.toImport(),
               QString::number(counts.toImport()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t choice = data[0];
    const QLocale& locale = localeFor(choice);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    // Records of the file the rows join, written in the locale's formats.
    std::vector<TaxRecord> existing(2);
    existing[0].setKind(Kind{false, false});
    existing[0].setField(Field::Date, shortDate(QDate(2026, 3, 4), locale));
    existing[0].setField(Field::Amount, QStringLiteral("5"));
    existing[0].setField(Field::Description, QStringLiteral("x"));

    CsvImport import(bytes, existing, locale);
    check(import, locale);

    // The user's changes, chosen by the upper bits.
    for (int step = 0; step < 4; ++step) {
        const int bits = (choice >> 2) + step;
        ImportSettings s = import.settings();
        s.dateOrder = DateOrder(bits % 3);
        s.number = bits & 4 ? NumberFormat{u',', u'.'} : NumberFormat{u'.', u','};
        if (bits & 8)
            s.number.group = bits & 16 ? QChar(u' ') : QChar();
        s.kindRule = KindRule(bits % 4);
        s.business = bits & 1;
        const int columns = int(import.table().columns.size());
        if (columns > 0 && (bits & 2)) {
            s.columns.debitCredit = !s.columns.debitCredit;
            s.columns.debit = bits % columns;
            s.columns.credit = (bits + 1) % columns;
            s.columns.amount = (bits + 2) % columns;
            s.columns.description = (bits + 3) % columns;
        }
        import.setSettings(s);
        import.setKeep(std::size_t(bits) % (import.rows().size() + 1), true);
        check(import, locale);
    }
    const CsvFormat found = import.format();
    for (const char separator : kCsvSeparators) {
        const TextEncoding encoding = (choice & 2) ? TextEncoding::Windows1252 : TextEncoding::Utf8;
        if (CsvFormat{encoding, separator} == found)
            continue;
        import.setFormat({encoding, separator});
        check(import, locale);
    }
    import.setHeader(!import.header());
    check(import, locale);
    return 0;
}
