// Times the record maintenance operations on a data file of 32,767 records
// (the most a data file can hold) and prints the figures.
//
//   sorts by date and by type, end to end: read the file, sort, write it back
//   atomically and flush it to disk; the date sort on dates that repeat, on a
//   different day for every record, on two-digit years and on dates that
//   cannot be read;
//   the exchange sort the program used to run, for comparison (timed on
//   smaller files and scaled by n squared, as its cost grows);
//   deleting one record, flush included;
//   one full text search scan.
//
// Usage: bench_maintenance [--no-exchange] [folder]
//   folder: where the test files go (default: the system's temporary folder)
//   --no-exchange: leave out the exchange sort, which takes about a minute

#include "platform/fileservices.h"
#include "platform/localeservices.h"
#include "records/datafile.h"
#include "records/maintenance.h"
#include "records/search.h"
#include "records/sorting.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>

using namespace quillary;

namespace {

constexpr int kFull = kMaxRecords;
constexpr int kRuns = 7;

const QStringList kTypes = {
    "Advertising", "Car and truck expenses", "Commissions and fees", "Insurance",
    "Interest", "Legal and professional services", "Office expense", "Rent or lease",
    "Repairs and maintenance", "Supplies", "Taxes and licenses", "Travel", "Utilities",
    "Wages", "Other", "Receipts or Sales", "Wages, Salaries, Tips, etc.", "Medical and Dental",
};

// How the dates of a test file are written.
enum class Dates {
    Repeated,     // within a few years, so many records share a day
    Distinct,     // every record a different day
    TwoDigitYears, // every record a different day, written with two-digit years
    Unreadable,   // every other record a different text that is no date, the
                  // rest each a different day
};

// A date field that no date recognition reads, different for each i: an
// impossible day, another locale's order, a word, a cut-off date.
QString unreadableDate(int i)
{
    switch (i % 4) {
    case 0: return QStringLiteral("2/%1/%2").arg(30 + i % 2).arg(1000 + i / 4);
    case 1: return QStringLiteral("%1.%2.%3").arg(1 + i % 28).arg(1 + i % 12).arg(1000 + i / 4);
    case 2: return QStringLiteral("n/a %1").arg(i);
    default: return QStringLiteral("%1/%2/").arg(1 + i % 12).arg(1 + i / 4 % 9999);
    }
}

// Records as a household or business enters them: a few dozen types, short
// texts, dates as `dates` says (within `years` years where they repeat).
std::vector<TaxRecord> makeRecords(int n, quint32 seed, int years, Dates dates = Dates::Repeated)
{
    QRandomGenerator rng(seed);
    const QDate first(1994, 1, 1);
    std::vector<TaxRecord> out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        TaxRecord r;
        r.setKind(Kind{rng.bounded(2) == 1, rng.bounded(4) == 0});
        switch (dates) {
        case Dates::Repeated:
            r.setField(Field::Date, shortDate(first.addDays(rng.bounded(365 * years))));
            break;
        case Dates::Distinct:
            r.setField(Field::Date, shortDate(first.addDays(i)));
            break;
        case Dates::TwoDigitYears:
            // From 1950 on: the years go round into the next century.
            r.setField(Field::Date, QLocale().toString(QDate(1950, 1, 1).addDays(i),
                                                       QStringLiteral("M/d/yy")));
            break;
        case Dates::Unreadable:
            r.setField(Field::Date, i % 2 == 0 ? unreadableDate(i) : shortDate(first.addDays(i)));
            break;
        }
        r.setField(Field::Amount, QString::number(rng.bounded(100000) / 100.0, 'f', 2));
        r.setField(Field::Invoice, QString::number(rng.bounded(5000)));
        r.setField(Field::PayMethod, rng.bounded(2) ? "Visa/Mastercard" : "Cash");
        r.setField(Field::Type, kTypes[rng.bounded(kTypes.size())]);
        r.setField(Field::Party, QStringLiteral("Vendor %1").arg(rng.bounded(300)));
        r.setField(Field::Description, QStringLiteral("Item %1").arg(i));
        out.push_back(r);
    }
    return out;
}

// Writes a test file and puts it on disk before anything is timed, so its
// own flush is not charged to the operation that follows.
bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size()
        && f.flush() && ::fsync(f.handle()) == 0;
}

struct Figures {
    double median = 0;
    double best = 0;
};

// Runs `prepare` (untimed) and `run` (timed) kRuns times; milliseconds.
Figures timeRuns(const std::function<void()>& prepare, const std::function<bool()>& run,
                 int runs = kRuns)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer t;
        t.start();
        if (!run()) {
            std::fprintf(stderr, "operation failed\n");
            std::exit(1);
        }
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front()};
}

void report(const char* what, Figures f, double target = 0)
{
    if (target > 0)
        std::printf("  %-58s %8.1f ms  (best %7.1f)  target < %.0f ms: %s\n", what, f.median,
                    f.best, target, f.median < target ? "met" : "MISSED");
    else
        std::printf("  %-58s %8.1f ms  (best %7.1f)\n", what, f.median, f.best);
}

// The exchange sort exactly as the program used to run it: passes from the
// last record to the second, each record compared with the one before it
// (converting the dates, or building the type keys, at every comparison),
// until a pass exchanges nothing.
void exchangeSort(std::vector<TaxRecord>& list, SortOrder order)
{
    auto mustComeBefore = [order](const TaxRecord& element, const TaxRecord& previous) {
        if (order == SortOrder::Date) {
            const auto mine = parseDate(element.field(Field::Date));
            const auto theirs = parseDate(previous.field(Field::Date));
            return mine && theirs && daysBetween(*theirs, *mine) < 0;
        }
        const QString a = element.field(Field::Kind) + element.field(Field::Type)
            + element.field(Field::Date) + element.field(Field::Invoice);
        const QString b = previous.field(Field::Kind) + previous.field(Field::Type)
            + previous.field(Field::Date) + previous.field(Field::Invoice);
        return a < b;
    };
    const int n = int(list.size());
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (int j = n; j >= 2; --j) {
            if (mustComeBefore(list[j - 1], list[j - 2])) {
                std::swap(list[j - 1], list[j - 2]);
                exchanged = true;
            }
        }
    }
}

// Read, exchange sort, write back in place and flush, on a file of n records.
double exchangeSortFile(const QString& path, int n, SortOrder order)
{
    const std::vector<TaxRecord> records = makeRecords(n, 7, 5);
    writeFile(path, encodeRecords(records));
    FileServices files;
    DataFile file(files);
    file.open(path);
    QElapsedTimer t;
    t.start();
    std::vector<TaxRecord> list;
    file.readAll(list);
    exchangeSort(list, order);
    for (int i = 0; i < int(list.size()); ++i)
        file.write(i + 1, list[i]);
    QFile sync(path);
    sync.open(QIODevice::ReadWrite);
    ::fsync(sync.handle());
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    QStringList args = app.arguments().mid(1);
    const bool exchange = !args.removeAll(QStringLiteral("--no-exchange"));
    QTemporaryDir tmp(!args.isEmpty() ? QDir(args.first()).filePath("bench-XXXXXX")
                                      : QDir::tempPath() + "/bench-XXXXXX");
    const QString path = tmp.filePath(QStringLiteral("tax.dat"));
    std::printf("Quillary maintenance benchmark: %d records (%lld bytes), %d runs each, "
                "median; folder %s\n",
                kFull, qint64(kFull) * kRecordLength, kRuns, qPrintable(tmp.path()));

    FileServices files;
    DataFile file(files);
    auto openFresh = [&](const QByteArray& bytes) {
        file.close();
        writeFile(path, bytes);
        file.open(path);
    };

    const QByteArray typical = encodeRecords(makeRecords(kFull, 1, 5));
    // In no order: the records as they would stand after years of entering.
    auto shuffled = [](Dates dates) {
        std::vector<TaxRecord> r = makeRecords(kFull, 2, 5, dates);
        std::shuffle(r.begin(), r.end(), *QRandomGenerator::global());
        return encodeRecords(r);
    };
    const QByteArray distinct = shuffled(Dates::Distinct);
    const QByteArray twoDigitYears = shuffled(Dates::TwoDigitYears);
    const QByteArray unreadable = shuffled(Dates::Unreadable);

    std::printf("\nSorts, end to end (read, sort, atomic write, flush to disk):\n");
    auto sortTimes = [&](const QByteArray& bytes, SortOrder order) {
        return timeRuns([&] { openFresh(bytes); }, [&] { return sortFile(file, order); });
    };
    constexpr double kDateSortTarget = 15;
    report("sort by date (dates within 5 years)", sortTimes(typical, SortOrder::Date),
           kDateSortTarget);
    report("sort by date, every record a different day", sortTimes(distinct, SortOrder::Date),
           kDateSortTarget);
    report("sort by date, two-digit years, every record a different day",
           sortTimes(twoDigitYears, SortOrder::Date), kDateSortTarget);
    report("sort by date, every other date unreadable, all different",
           sortTimes(unreadable, SortOrder::Date), kDateSortTarget);
    report("sort by type (dates within 5 years)", sortTimes(typical, SortOrder::Type), 50);
    report("sort by type, every record a different day", sortTimes(distinct, SortOrder::Type),
           50);

    std::printf("\nParts of a sort (dates within 5 years unless named):\n");
    {
        std::vector<TaxRecord> records;
        openFresh(typical);
        report("read all records", timeRuns([] {}, [&] { return file.readAll(records); }));
        report("sort by date in memory",
               timeRuns([&] { records = decodeRecords(typical); },
                        [&] { sortByDate(records); return true; }));
        // The sort of a file's contents, as sortFile runs it, on every kind
        // of dates: its cost must not depend on them.
        const std::pair<const char*, const QByteArray*> kinds[] = {
            {"dates within 5 years", &typical},
            {"every record a different day", &distinct},
            {"two-digit years", &twoDigitYears},
            {"every other date unreadable", &unreadable},
        };
        for (const auto& [what, bytes] : kinds) {
            QByteArray contents;
            const QByteArray name = QStringLiteral("sort of the contents by date (%1)")
                                        .arg(QLatin1String(what))
                                        .toUtf8();
            report(name.constData(), timeRuns([&] { contents = *bytes; },
                                              [&] { sortByDate(contents); return true; }));
        }
        report("sort by type in memory",
               timeRuns([&] { records = decodeRecords(typical); },
                        [&] { sortByType(records); return true; }));
        report("atomic write and flush of the whole file",
               timeRuns([] {}, [&] { return file.replaceAll(records); }));
    }

    if (exchange)
        std::printf("\nThe exchange sort (read, exchange sort, write in place, flush):\n");
    for (SortOrder order : {SortOrder::Date, SortOrder::Type}) {
        if (!exchange)
            break;
        const char* name = order == SortOrder::Date ? "date" : "type";
        const QString small = tmp.filePath(QStringLiteral("small.dat"));
        const double t1 = exchangeSortFile(small, 1000, order);
        const double t2 = exchangeSortFile(small, 2000, order);
        const double scaled = t2 * (double(kFull) / 2000) * (double(kFull) / 2000);
        std::printf("  by %s: n=1000 %.0f ms, n=2000 %.0f ms (x%.1f); scaled by n^2 to n=%d: "
                    "%.0f s\n",
                    name, t1, t2, t2 / t1, kFull, scaled / 1000);
        openFresh(typical);
        const Figures fast = timeRuns([&] { openFresh(typical); },
                                      [&] { return sortFile(file, order); });
        std::printf("  by %s: the exchange sort would take %.0f times as long as the sort "
                    "above (%.0f s against %.1f ms)\n",
                    name, scaled / fast.median, scaled / 1000, fast.median);
    }

    std::printf("\nDelete one record (read, atomic write of the rest, flush to disk):\n");
    report("delete the middle record of 32,767",
           timeRuns([&] { openFresh(typical); }, [&] { return deleteRecord(file, kFull / 2); }),
           100);
    report("delete the first record of 32,767",
           timeRuns([&] { openFresh(typical); }, [&] { return deleteRecord(file, 1); }), 100);

    std::printf("\nText search, one full scan (read all records, test each):\n");
    openFresh(typical);
    for (const QString& text : {QStringLiteral("no such text"), QStringLiteral("vendor 12"),
                                QStringLiteral(" ")}) {
        int found = 0;
        const Figures f = timeRuns([&] { found = 0; }, [&] {
            std::vector<TaxRecord> records;
            if (!file.readAll(records))
                return false;
            for (const TaxRecord& r : records)
                found += recordMatches(r, text);
            return true;
        });
        const QByteArray what = QStringLiteral("search '%1' (%2 matches)").arg(text).arg(found).toUtf8();
        report(what.constData(), f, 20);
    }
    return 0;
}
