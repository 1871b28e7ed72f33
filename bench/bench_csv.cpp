// Times the CSV export of a data file of 32,767 records (the most a data
// file can hold), end to end as the record window does it: the table of the
// records, its encoding, and the atomic write of the file with its flush.
//
// Usage: bench_csv [folder]   (default: the system's temporary folder)

#include "platform/fileservices.h"
#include "platform/localeservices.h"
#include "records/datafile.h"
#include "reports/exports.h"
#include "benchstats.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace quillary;

using quillary::bench::median;

namespace {

constexpr int kRuns = 7;

std::vector<TaxRecord> makeRecords(int n)
{
    QRandomGenerator rng(7);
    const QStringList parties = {"Office Depot", "Smith, John", "Caf\u00e9 \u00c9toile",
                                 "=HYPERLINK(\"x\")", "Dr. Meyer", "First Bank"};
    std::vector<TaxRecord> out;
    out.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        TaxRecord r;
        r.setKind(Kind{rng.bounded(2) == 1, rng.bounded(4) == 0});
        r.setField(Field::Date, shortDate(QDate(2020, 1, 1).addDays(rng.bounded(1800))));
        r.setField(Field::Amount, QStringLiteral("%1.%2").arg(rng.bounded(5000)).arg(rng.bounded(100)));
        r.setField(Field::Invoice, QStringLiteral("INV-%1").arg(i));
        r.setField(Field::PayMethod, QStringLiteral("Visa/Mastercard"));
        r.setField(Field::Type, QStringLiteral("Supplies"));
        r.setField(Field::Party, parties[rng.bounded(int(parties.size()))]);
        r.setField(Field::Description, QStringLiteral("item \"%1\", boxed").arg(i));
        out.push_back(r);
    }
    return out;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    QTemporaryDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/csvXXXXXX")
                               : QString());
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    FileServices files;
    const QString data = dir.filePath(QStringLiteral("full.dat"));
    if (!files.writeFileAtomically(data, encodeRecords(makeRecords(kMaxRecords)))) {
        std::fprintf(stderr, "could not write the data file\n");
        return 1;
    }
    DataFile file(files);
    if (file.open(data) != OpenStatus::Ok)
        return 1;

    std::vector<double> table, encoding, whole;
    qint64 bytes = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        std::vector<TaxRecord> records;
        if (!file.readAll(records))
            return 1;
        const CsvTable csv = recordsTable(records);
        table.push_back(t.nsecsElapsed() / 1e6);
        const QByteArray encoded = encodeCsv(csv);
        encoding.push_back(t.nsecsElapsed() / 1e6);
        QString error;
        if (!files.writeFileAtomically(dir.filePath(QStringLiteral("out.csv")), encoded, &error)) {
            std::fprintf(stderr, "export failed: %s\n", qPrintable(error));
            return 1;
        }
        whole.push_back(t.nsecsElapsed() / 1e6);
        bytes = encoded.size();
    }
    std::printf("CSV export, %d records, %lld bytes (median of %d runs):\n", kMaxRecords,
                static_cast<long long>(bytes), kRuns);
    std::printf("  read and build the table:   %6.1f ms\n", median(table));
    std::printf("  and encode it:              %6.1f ms\n", median(encoding));
    std::printf("  end to end, file flushed:   %6.1f ms   target: under 100 ms -> %s\n",
                median(whole), median(whole) < 100 ? "met" : "MISSED");
    return 0;
}
