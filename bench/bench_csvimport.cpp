// Times an import from CSV as the record window does it: a bank statement
// of 10,000 rows into a data file of 20,000 records. The statement is read
// from its file, found out (encoding, separator, table, columns, formats),
// its rows converted and checked for duplicates against every record of the
// data file, and the records appended in one atomic write, with the file as
// it was kept beside it first.
//
// Usage: bench_csvimport [folder]   (default: the system's temporary folder)

#include "platform/fileservices.h"
#include "platform/localeservices.h"
#include "records/datafile.h"
#include "records/maintenance.h"
#include "reports/csvimport.h"
#include "benchstats.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace quillary;

using quillary::bench::median;

namespace {

constexpr int kRuns = 7;
constexpr int kRecords = 20000;
constexpr int kRows = 10000;

const QStringList kParties = {"Office Depot", "Smith, John", "Caf\u00e9 \u00c9toile",
                              "Dr. Meyer", "First Bank", "ACME UTILITIES"};

std::vector<TaxRecord> makeRecords(int n)
{
    QRandomGenerator rng(7);
    std::vector<TaxRecord> out;
    out.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        TaxRecord r;
        r.setKind(Kind{false, rng.bounded(4) == 0});
        r.setField(Field::Date, shortDate(QDate(2020, 1, 1).addDays(rng.bounded(1800))));
        r.setField(Field::Amount, QStringLiteral("%1.%2").arg(rng.bounded(5000)).arg(rng.bounded(100)));
        r.setField(Field::Type, QStringLiteral("Other"));
        r.setField(Field::Party, kParties[rng.bounded(int(kParties.size()))]);
        r.setField(Field::Description, QStringLiteral("item %1").arg(i));
        out.push_back(r);
    }
    return out;
}

// A US bank's statement: a header, m/d/yyyy dates, quoted descriptions,
// negative amounts for money out, grouped thousands, a running balance.
QByteArray makeStatement(int rows)
{
    QRandomGenerator rng(11);
    QByteArray out("Date,Description,Amount,Running Bal.\r\n");
    for (int i = 0; i < rows; ++i) {
        const QDate day = QDate(2025, 1, 1).addDays(i / 30);
        const int cents = int(rng.bounded(500000)) - 100000;
        out += QStringLiteral("%1/%2/%3,\"%4 #%5, PAYMENT\",\"%6\",\"12,345.67\"\r\n")
                   .arg(day.month())
                   .arg(day.day())
                   .arg(day.year())
                   .arg(kParties[rng.bounded(int(kParties.size()))])
                   .arg(i)
                   .arg(QLocale(QStringLiteral("en_US")).toString(cents / 100.0, 'f', 2))
                   .toUtf8();
    }
    return out;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    QTemporaryDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/importXXXXXX")
                               : QString());
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    FileServices files;
    const QByteArray records = encodeRecords(makeRecords(kRecords));
    const QString statement = dir.filePath(QStringLiteral("statement.csv"));
    if (!files.writeFileAtomically(statement, makeStatement(kRows))) {
        std::fprintf(stderr, "could not write the statement\n");
        return 1;
    }
    const QString data = dir.filePath(QStringLiteral("tax.dat"));

    std::vector<double> read, converted, whole;
    int imported = 0;
    for (int run = 0; run < kRuns; ++run) {
        // Each run starts from the same data file, without a backup beside it.
        for (const QString& name : QDir(dir.path()).entryList({QStringLiteral("*.bak")}))
            QFile::remove(dir.filePath(name));
        if (!files.writeFileAtomically(data, records))
            return 1;
        DataFile file(files);
        if (file.open(data) != OpenStatus::Ok)
            return 1;

        QElapsedTimer t;
        t.start();
        QFile in(statement);
        if (!in.open(QIODevice::ReadOnly))
            return 1;
        QByteArray bytes = in.readAll();
        std::vector<TaxRecord> existing;
        if (!file.readAll(existing))
            return 1;
        read.push_back(t.nsecsElapsed() / 1e6);
        const CsvImport import(std::move(bytes), existing);
        const std::vector<TaxRecord> added = import.records();
        converted.push_back(t.nsecsElapsed() / 1e6);
        QString error;
        if (!appendRecords(file, added,
                           importBackupPath(data, QDateTime::currentDateTime()), &error)) {
            std::fprintf(stderr, "import failed: %s\n", qPrintable(error));
            return 1;
        }
        whole.push_back(t.nsecsElapsed() / 1e6);
        imported = int(added.size());
        if (file.recordCount() != kRecords + imported) {
            std::fprintf(stderr, "the file holds %d records\n", file.recordCount());
            return 1;
        }
    }
    std::printf("CSV import, %d rows into %d records, %d imported (median of %d runs):\n", kRows,
                kRecords, imported, kRuns);
    std::printf("  read the statement and the records:     %6.1f ms\n", median(read));
    std::printf("  and convert, check for duplicates:      %6.1f ms\n", median(converted));
    std::printf("  end to end, backup and file flushed:    %6.1f ms   target: under 200 ms -> %s\n",
                median(whole), median(whole) < 200 ? "met" : "MISSED");
    return imported == kRows ? 0 : 1;
}
