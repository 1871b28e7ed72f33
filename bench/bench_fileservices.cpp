// Writes and then reads a full data file (32,767 records, the most a data
// file may hold) through FileServices, record by record and then as one run,
// and prints how long each pass took. Target: each pass under 50 ms. One
// request per record is bound by the cost of a system call (shown against
// bare pwrite/pread at the end).
//
//   bench_fileservices [folder]   (default: a temporary folder)

#include "platform/fileservices.h"
#include "records/taxrecord.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace quillary;

namespace {

constexpr double kTargetMs = 50.0;

void report(const char* what, qint64 records, qint64 nanoseconds)
{
    const double ms = double(nanoseconds) / 1e6;
    const double perSecond = nanoseconds > 0 ? double(records) * 1e9 / double(nanoseconds) : 0.0;
    std::printf("%-6s %6lld records  %8.2f ms  %12.0f records/s  %s\n", what,
                static_cast<long long>(records), ms, perSecond,
                ms < kTargetMs ? "within target" : "OVER TARGET");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : tmp.path();
    const QString path = folder + QStringLiteral("/bench.dat");
    QFile::remove(path);

    FileServices files;
    const int no = files.freeFile();
    QString error;
    if (!files.open(path, no, kRecordLength, &error)) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(path), qPrintable(error));
        return 1;
    }

    // Records that differ from each other, built before the clock starts.
    std::vector<QByteArray> records;
    records.reserve(kMaxRecords);
    for (int n = 1; n <= kMaxRecords; ++n) {
        TaxRecord r;
        r.setKind(Kind{n % 2 == 0, n % 3 == 0});
        r.setField(Field::Date, QStringLiteral("3/14/1996"));
        r.setField(Field::Amount, QString::number(n) + QStringLiteral(".25"));
        r.setField(Field::Description, QStringLiteral("record %1").arg(n));
        records.push_back(r.bytes());
    }

    QElapsedTimer timer;
    timer.start();
    for (int n = 1; n <= kMaxRecords; ++n) {
        if (!files.writeRecord(no, n, records[std::size_t(n - 1)], &error)) {
            std::fprintf(stderr, "write of record %d failed: %s\n", n, qPrintable(error));
            return 1;
        }
    }
    const qint64 writeNs = timer.nsecsElapsed();

    QByteArray buffer(kRecordLength, ' ');
    qint64 mismatches = 0;
    timer.restart();
    for (int n = 1; n <= kMaxRecords; ++n) {
        if (!files.readRecord(no, n, buffer)) {
            std::fprintf(stderr, "read of record %d failed\n", n);
            return 1;
        }
        mismatches += buffer != records[std::size_t(n - 1)];
    }
    const qint64 readNs = timer.nsecsElapsed();

    std::printf("FileServices, %d records of %d bytes, record by record\n", kMaxRecords,
                kRecordLength);
    report("write", kMaxRecords, writeNs);
    report("read", kMaxRecords, readNs);
    if (mismatches != 0 || files.length(no) != qint64(kMaxRecords) * kRecordLength) {
        std::fprintf(stderr, "%lld records read back wrong\n", static_cast<long long>(mismatches));
        return 1;
    }

    // The same file written and read as one run of records: what the
    // program's whole-file paths (totals, search, sorts) cost.
    QByteArray all;
    all.reserve(qsizetype(kMaxRecords) * kRecordLength);
    for (const QByteArray& r : records)
        all += r;
    timer.restart();
    if (!files.writeRecords(no, 1, all, &error)) {
        std::fprintf(stderr, "write of the run failed: %s\n", qPrintable(error));
        return 1;
    }
    const qint64 runWriteNs = timer.nsecsElapsed();
    QByteArray readBack;
    timer.restart();
    if (!files.readAll(no, readBack) || readBack != all) {
        std::fprintf(stderr, "read of the run failed\n");
        return 1;
    }
    const qint64 runReadNs = timer.nsecsElapsed();
    std::printf("FileServices, the same records as one run (writeRecords / readAll)\n");
    report("write", kMaxRecords, runWriteNs);
    report("read", kMaxRecords, runReadNs);

    // The floor: the same passes as bare system calls, one per record, so
    // the figures above can be told apart from the machine's own cost.
    const QByteArray rawPath = QFile::encodeName(folder + QStringLiteral("/floor.dat"));
    const int fd = ::open(rawPath.constData(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return 1;
    timer.restart();
    for (int n = 1; n <= kMaxRecords; ++n)
        if (::pwrite(fd, records[std::size_t(n - 1)].constData(), kRecordLength,
                     off_t(n - 1) * kRecordLength) != kRecordLength)
            return 1;
    const qint64 floorWriteNs = timer.nsecsElapsed();
    timer.restart();
    for (int n = 1; n <= kMaxRecords; ++n)
        if (::pread(fd, buffer.data(), kRecordLength, off_t(n - 1) * kRecordLength) != kRecordLength)
            return 1;
    const qint64 floorReadNs = timer.nsecsElapsed();
    ::close(fd);
    ::unlink(rawPath.constData());
    std::printf("Bare pwrite/pread on this machine, for comparison\n");
    report("write", kMaxRecords, floorWriteNs);
    report("read", kMaxRecords, floorReadNs);
    return 0;
}
