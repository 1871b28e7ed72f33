// A data file's bytes, whatever they are, as the program meets them: opened
// and counted, every record read as the record window reads it, listed as
// Print All lists it, searched, totalled for every kind and type, summed up
// for its years, exported as CSV, sorted both ways and a record deleted. Nothing may crash, leak or hang, and the
// results must be the ones a plain reading of the file gives: the sorts
// and the delete keep every record, in the order the file's own fields
// call for.

#include "fuzzing.h"

#include "platform/fileservices.h"
#include "platform/localeservices.h"
#include "records/categories.h"
#include "records/cp1252.h"
#include "records/datafile.h"
#include "records/maintenance.h"
#include "records/search.h"
#include "reports/csv.h"
#include "reports/exports.h"
#include "reports/summary.h"
#include "reports/totals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <numeric>
#include <unistd.h>

using namespace quillary;
using quillary::fuzz::localeFor;

namespace {

// Every input is written, synced and renamed over: on a RAM disk where
// there is one, so that the disk does not set the pace.
struct WorkFile {
    QString path;
    WorkFile()
    {
        const QFileInfo shm(QStringLiteral("/dev/shm"));
        const QString folder = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
        path = QStringLiteral("%1/quillary-fuzz-%2.dat").arg(folder).arg(::getpid());
    }
    ~WorkFile() { QFile::remove(path); }
};

const QString& workFile()
{
    static const WorkFile file;
    return file.path;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

std::vector<QByteArray> recordsOf(const QByteArray& contents)
{
    std::vector<QByteArray> out;
    for (qsizetype at = 0; at + kRecordLength <= contents.size(); at += kRecordLength)
        out.push_back(contents.mid(at, kRecordLength));
    return out;
}

QByteArray joined(const std::vector<QByteArray>& records)
{
    QByteArray out;
    for (const QByteArray& r : records)
        out += r;
    return out;
}

// The orders as their definitions state them: each record's key read on
// its own, then a stable sort by the keys.
template <typename KeyOf>
std::vector<QByteArray> sortedBy(const std::vector<QByteArray>& records, KeyOf keyOf)
{
    using Key = decltype(keyOf(records.front()));
    std::vector<std::pair<Key, QByteArray>> keyed;
    for (const QByteArray& r : records)
        keyed.emplace_back(keyOf(r), r);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<QByteArray> out;
    for (auto& [key, r] : keyed)
        out.push_back(r);
    return out;
}

std::vector<QByteArray> sortedByDate(const std::vector<QByteArray>& records, const QLocale& locale)
{
    if (records.empty())
        return records;
    return sortedBy(records, [&](const QByteArray& r) {
        const auto date = parseDate(TaxRecord::fromBytes(r).field(Field::Date), locale);
        return date ? date->toJulianDay() : std::numeric_limits<qint64>::max();
    });
}

std::vector<QByteArray> sortedByType(const std::vector<QByteArray>& records)
{
    if (records.empty())
        return records;
    return sortedBy(records, [](const QByteArray& r) {
        const TaxRecord t = TaxRecord::fromBytes(r);
        return t.field(Field::Kind) + t.field(Field::Type) + t.field(Field::Date)
            + t.field(Field::Invoice);
    });
}

void checkSearch(const std::vector<TaxRecord>& records, const std::uint8_t* data, size_t size)
{
    for (const QString& text : {QStringLiteral("a"), QStringLiteral("Rent"), QStringLiteral(" "),
                                QStringLiteral("\u00df"), QStringLiteral("\u20ac"),
                                QStringLiteral("/20")}) {
        for (const TaxRecord& r : records)
            recordMatches(r, text);
    }
    if (records.empty() || size < 2)
        return;
    // A piece of a field is found in its record, in any case of its
    // letters where the case has a single letter for each.
    const TaxRecord& first = records.front();
    const Field fields[] = {Field::Date,      Field::Amount, Field::Invoice, Field::PayMethod,
                            Field::Type,      Field::Party,  Field::Description};
    const Field f = fields[data[0] % std::size(fields)];
    const QString field = first.field(f);
    const qsizetype start = data[1] % field.size();
    const qsizetype length = 1 + data[size - 1] % (field.size() - start);
    const QString piece = field.mid(start, length);
    FUZZ_CHECK(recordMatches(first, piece), piece);
    bool ascii = true;
    for (QChar c : piece)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
        FUZZ_CHECK(recordMatches(first, piece.toUpper()), piece);
        FUZZ_CHECK(recordMatches(first, piece.toLower()), piece);
    }
}

void checkTotals(const std::vector<TaxRecord>& records, const QLocale& locale)
{
    for (char code : {'0', '1', '2', '3'}) {
        // All types, each listed type the records hold, and one they do not.
        const QStringList& listed = typeList(*kindFromCode(code));
        QStringList types{kAllTypes, listed.first()};
        for (const TaxRecord& r : records)
            if (r.kindCode() == code && listed.contains(trimBlanks(r.field(Field::Type))))
                types << trimBlanks(r.field(Field::Type));
        types.removeDuplicates();
        for (const QString& type : types) {
            const Totals totals = computeTotals(records, {code, type}, locale);
            std::size_t rows = 0;
            std::optional<Currency> sum = Currency{};
            for (const TaxRecord& r : records) {
                if (r.kindCode() != code
                    || (type != kAllTypes && trimBlanks(r.field(Field::Type)) != type))
                    continue;
                ++rows;
                const CurrencyResult amount = textToCurrency(r.field(Field::Amount), locale);
                if (sum && amount.ok())
                    sum = addCurrency(*sum, amount.value);
            }
            FUZZ_CHECK(totals.rows.size() == rows, type);
            FUZZ_CHECK(totals.total == sum, type);
            if (!totals.rows.empty())
                FUZZ_CHECK(totals.rows.back()[ColTotal]
                               == (sum ? currencyToText(*sum, locale) : kOutOfRange),
                           totals.rows.back()[ColTotal]);
        }
    }
    // A kind code the program never writes matches nothing.
    FUZZ_CHECK(computeTotals(records, {std::nullopt, kAllTypes}, locale).rows.empty(), QString());
}

// The years of the records and the year summary: for all years, each
// kind's figure is the totals window's total of the kind.
void checkSummary(const std::vector<TaxRecord>& records, const QLocale& locale)
{
    const DatedRecords dated(records, locale);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto date = parseDate(records[i].field(Field::Date), locale);
        FUZZ_CHECK(dated.yearOf(i) == (date ? std::optional<int>(date->year()) : std::nullopt),
                   records[i].field(Field::Date));
    }
    const Summary all = computeSummary(dated, std::nullopt, locale);
    for (const SummarySection& section : all.sections) {
        const Totals totals = computeTotals(records, {kindCode(section.kind), kAllTypes}, locale);
        FUZZ_CHECK(section.total == totals.total, sectionTitle(section.kind));
    }
    int shown = 0;
    for (int year : dated.years()) {
        if (++shown > 3)
            break;
        computeSummary(dated, year, locale);
    }
}

// The records as a CSV file: one row for each.
void checkExport(const std::vector<TaxRecord>& records, const QLocale& locale)
{
    const CsvTable table = recordsTable(records, locale);
    FUZZ_CHECK(table.rows.size() == records.size(), QString());
    FUZZ_CHECK(encodeCsv(table).startsWith("\xEF\xBB\xBF"), QString());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString& path = workFile();
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            return 0;
    }
    // The locale the dates are read in, chosen by the bytes too.
    const QLocale& locale =
        localeFor(std::uint8_t(std::accumulate(data, data + size, 0u) & 0xff));

    FileServices files;
    DataFile file(files);
    QString error;
    FUZZ_CHECK(file.open(path, &error) == OpenStatus::Ok, error);
    const int count = file.recordCount();
    FUZZ_CHECK(count == int(size / kRecordLength), QString::number(count));

    // Record by record, as the record window shows them.
    std::vector<TaxRecord> records;
    const AmountReader readAmount(locale);
    for (int n = 1; n <= count; ++n) {
        TaxRecord r;
        FUZZ_CHECK(file.read(n, r), QString::number(n));
        FUZZ_CHECK(r.bytes() == bytes.mid(qsizetype(n - 1) * kRecordLength, kRecordLength),
                   QString::number(n));
        kindFromCode(r.kindCode());
        parseDate(r.field(Field::Date), locale);
        readAmount(r.field(Field::Amount));
        records.push_back(r);
    }
    TaxRecord beyond;
    FUZZ_CHECK(!file.read(count + 1, beyond), QString());
    FUZZ_CHECK(beyond == TaxRecord(), QString());

    std::vector<TaxRecord> all;
    FUZZ_CHECK(file.readAll(all) && all == records, QString());
    FUZZ_CHECK(printAllListing(path, records).size() == 3 + 9 * qsizetype(count), QString());
    checkSearch(records, data, size);
    checkTotals(records, locale);
    checkSummary(records, locale);
    checkExport(records, locale);

    // The sorts keep every record and the fragment after them.
    const std::vector<QByteArray> original = recordsOf(bytes);
    const QByteArray fragment = bytes.mid(qsizetype(count) * kRecordLength);
    FUZZ_CHECK(sortFile(file, SortOrder::Date, &error, locale), error);
    FUZZ_CHECK(fileBytes(path) == joined(sortedByDate(original, locale)) + fragment, QString());
    FUZZ_CHECK(sortFile(file, SortOrder::Type, &error, locale), error);
    FUZZ_CHECK(fileBytes(path) == joined(sortedByType(sortedByDate(original, locale))) + fragment,
               QString());
    FUZZ_CHECK(file.recordCount() == count, QString());

    // Deleting one record takes exactly that one; the fragment goes too.
    if (count > 0) {
        std::vector<QByteArray> rest = recordsOf(fileBytes(path));
        const int n = 1 + int(data[0]) % count;
        FUZZ_CHECK(deleteRecord(file, n, &error), error);
        rest.erase(rest.begin() + (n - 1));
        FUZZ_CHECK(fileBytes(path) == joined(rest), QString());
        FUZZ_CHECK(file.recordCount() == count - 1, QString());
    }
    FUZZ_CHECK(!deleteRecord(file, 0) && !deleteRecord(file, file.recordCount() + 1), QString());
    file.close();
    return 0;
}
