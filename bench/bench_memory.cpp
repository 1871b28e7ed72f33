// Peak memory of the program opening a data file: for any file within the
// record limit it must stay under 64 MB plus the file's size.
//
// For each file the benchmark starts the real program on it (as
// `quillary --startup-time FILE`, with empty settings: it opens the file,
// shows its last record and ends) and reads the program's peak resident
// memory from the system when it has ended.
//
// Usage: bench_memory [path to the quillary program]
// The program is looked for next to the build's src folder by default. The
// platform is offscreen unless QT_QPA_PLATFORM says otherwise.

#include "records/taxrecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillary;

namespace {

QByteArray records(int count)
{
    QByteArray out;
    out.reserve(qsizetype(count) * kRecordLength);
    for (int n = 1; n <= count; ++n) {
        TaxRecord r;
        r.setKind(Kind{n % 2 == 0, n % 3 == 0});
        r.setField(Field::Date, QStringLiteral("%1/%2/2024").arg(n % 12 + 1).arg(n % 28 + 1));
        r.setField(Field::Amount, QStringLiteral("%1.25").arg(n));
        r.setField(Field::Type, QStringLiteral("Other"));
        r.setField(Field::Description, QStringLiteral("Record %1").arg(n));
        out += r.bytes();
    }
    return out;
}

QByteArray randomBytes(qsizetype size)
{
    QRandomGenerator rng(130);
    QByteArray out(size, Qt::Uninitialized);
    for (char& c : out)
        c = char(rng.bounded(256));
    return out;
}

struct Result {
    bool ok = false;
    QString output;
    QString report; // the line --startup-time prints
    long peakKb = 0;
};

// Runs the program on file in folder; its output and its peak memory.
Result runOn(const QString& program, const QString& folder, const QString& file)
{
    Result result;
    int out[2];
    if (::pipe(out) != 0)
        return result;
    const QByteArray exe = QFile::encodeName(program);
    const QByteArray arg = QFile::encodeName(file);
    const QByteArray where = QFile::encodeName(folder);
    const QByteArray config = QFile::encodeName(folder + QStringLiteral("/config"));
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(out[1], STDERR_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        if (::chdir(where.constData()) != 0)
            ::_exit(126);
        ::setenv("XDG_CONFIG_HOME", config.constData(), 1);
        ::setenv("XDG_RUNTIME_DIR", where.constData(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ::execl(exe.constData(), exe.constData(), "--startup-time", arg.constData(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    QByteArray said;
    char buffer[256];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    ::close(out[0]);
    int status = 0;
    struct rusage usage {};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid)
        return result;
    // The program's report among whatever else it said.
    result.output = QString::fromLocal8Bit(said).trimmed();
    for (const QString& line : result.output.split(u'\n'))
        if (line.startsWith(QLatin1String("startup-ms ")))
            result.report = line.trimmed();
    result.peakKb = usage.ru_maxrss;
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString program = argc > 1
        ? QString::fromLocal8Bit(argv[1])
        : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../src/quillary"));
    if (!QFileInfo(program).isExecutable()) {
        std::fprintf(stderr, "program not found: %s\n", qPrintable(program));
        return 2;
    }

    const struct {
        const char* name;
        QByteArray contents;
        int records;
    } files[] = {
        {"1 record", records(1), 1},
        {"1,000 records", records(1000), 1000},
        {"32,767 records", records(kMaxRecords), kMaxRecords},
        {"32,767 records and a fragment", records(kMaxRecords) + QByteArray(129, 'x'), kMaxRecords},
        {"32,767 records of random bytes", randomBytes(qsizetype(kMaxRecords) * kRecordLength),
         kMaxRecords},
    };

    std::printf("peak memory opening a file (target: under 64 MB plus the file's size)\n");
    bool allMet = true;
    for (const auto& f : files) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.dat"));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(f.contents) != f.contents.size())
            return 2;
        out.close();
        const Result r = runOn(program, dir.path(), path);
        const QString expected = QStringLiteral(" record %1 of %1").arg(f.records);
        if (!r.ok || !r.report.endsWith(expected)) {
            std::fprintf(stderr, "%s: the program did not open the file: %s\n", f.name,
                         qPrintable(r.output));
            return 1;
        }
        const double fileMb = f.contents.size() / (1024.0 * 1024.0);
        const double peakMb = r.peakKb / 1024.0;
        const double targetMb = 64 + fileMb;
        const bool met = peakMb < targetMb;
        allMet = allMet && met;
        std::printf("  %-32s file %6.2f MB  peak %6.1f MB  target < %6.1f MB -> %s\n", f.name,
                    fileMb, peakMb, targetMb, met ? "met" : "NOT met");
    }
    return allMet ? 0 : 1;
}
