// Start-up time: from process start to the first record window showing the
// last record of a data file of 32,767 records (the largest the program
// opens).
//
// The benchmark writes such a file as "Taxrecs.dat" into an empty folder,
// then starts the real program there (with an empty settings folder, so it
// opens that default file) with the option --startup-time: the program
// prints the milliseconds from the entry of main() until the record window
// has shown its record and the pending paint events have run, and ends.
// The benchmark also measures the wall time from launching the process to
// the moment that line arrives, which adds loading the program and its
// libraries.
//
// Usage: bench_startup [path to the quillary program] [runs]
// The program is looked for next to the build's src folder by default. The
// platform is offscreen unless QT_QPA_PLATFORM says otherwise.

#include "records/taxrecord.h"
#include "benchstats.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace quillary;

using quillary::bench::median;

namespace {

QByteArray recordBytes(int n)
{
    TaxRecord r;
    QByteArray kind = r.bytes();
    kind[0] = char('0' + n % 4);
    r = TaxRecord::fromBytes(kind);
    r.setField(Field::Date, QStringLiteral("%1/%2/2024").arg(n % 12 + 1).arg(n % 28 + 1));
    r.setField(Field::Amount, QStringLiteral("%1.25").arg(n));
    r.setField(Field::Invoice, QStringLiteral("INV%1").arg(n));
    r.setField(Field::PayMethod, QStringLiteral("Cash"));
    r.setField(Field::Type, QStringLiteral("Other"));
    r.setField(Field::Party, QStringLiteral("Party %1").arg(n));
    r.setField(Field::Description, QStringLiteral("Record %1").arg(n));
    return r.bytes();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString program = argc > 1
        ? QString::fromLocal8Bit(argv[1])
        : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../src/quillary"));
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    if (!QFileInfo(program).isExecutable()) {
        std::fprintf(stderr, "program not found: %s\n", qPrintable(program));
        return 2;
    }

    QTemporaryDir dir;
    const QString dataFile = dir.filePath(QStringLiteral("Taxrecs.dat"));
    {
        QFile f(dataFile);
        if (!f.open(QIODevice::WriteOnly))
            return 2;
        QByteArray all;
        all.reserve(kMaxRecords * kRecordLength);
        for (int n = 1; n <= kMaxRecords; ++n)
            all += recordBytes(n);
        f.write(all);
    }
    const QByteArray before = [&] {
        QFile f(dataFile);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));

    std::vector<double> inProgram, wall;
    for (int i = 0; i < runs; ++i) {
        // Each run starts with no stored settings, so the default file opens.
        QDir(dir.filePath(QStringLiteral("config"))).removeRecursively();
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        QElapsedTimer timer;
        timer.start();
        process.start(program, {QStringLiteral("--startup-time")});
        // The line is printed once the record is on screen.
        QByteArray line;
        while (!line.contains('\n') && process.waitForReadyRead(60000))
            line += process.readAllStandardOutput();
        const double elapsed = timer.nsecsElapsed() / 1e6;
        if (!process.waitForFinished(60000)) {
            std::fprintf(stderr, "the program did not end\n");
            return 1;
        }
        line += process.readAllStandardOutput();
        const QString out = QString::fromLocal8Bit(line).trimmed();
        // "startup-ms <ms> record <n> of <count>"
        const QStringList parts = out.split(QLatin1Char(' '));
        if (parts.size() != 6 || parts[0] != QLatin1String("startup-ms")
            || parts[3].toInt() != kMaxRecords || parts[5].toInt() != kMaxRecords) {
            std::fprintf(stderr, "unexpected output: %s\n%s\n", qPrintable(out),
                         process.readAllStandardError().constData());
            return 1;
        }
        inProgram.push_back(parts[1].toDouble());
        wall.push_back(elapsed);
    }

    QFile f(dataFile);
    f.open(QIODevice::ReadOnly);
    if (f.readAll() != before) {
        std::fprintf(stderr, "the data file was changed\n");
        return 1;
    }

    std::printf("startup, %d records, last record shown (median of %d runs, platform %s):\n",
                kMaxRecords, runs, qPrintable(env.value(QStringLiteral("QT_QPA_PLATFORM"))));
    std::printf("  from main() entry:     %7.1f ms\n", median(inProgram));
    std::printf("  from process launch:   %7.1f ms\n", median(wall));
    std::printf("  target: under 500 ms -> %s\n", median(wall) < 500 ? "met" : "NOT met");
    return 0;
}
