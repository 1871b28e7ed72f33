// Deletes and sorts killed at random moments leave the data file with all of
// its old records or all of its new ones.
//
// The test runs its own executable again as a child that rewrites a copy of
// a data file over and over (deleting its first record, or sorting it by date
// and by type in turn), and kills it with SIGKILL after a different delay
// each time. The file must then equal one of the states the operations pass
// through, byte for byte.

#include "platform/fileservices.h"
#include "records/datafile.h"
#include "records/maintenance.h"
#include "records/sorting.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <cstdio>

using namespace quillary;

namespace {

const char* const kChildMode = "QUILLARY_CRASH_CHILD";
const char* const kChildFile = "QUILLARY_CRASH_FILE";
constexpr int kRecords = 1500;
constexpr int kKillsPerOperation = 20;

std::vector<TaxRecord> sampleRecords()
{
    QRandomGenerator rng(4711);
    static const QStringList types = {"Rent", "rent", "Supplies", "Other", "Utilities"};
    std::vector<TaxRecord> out;
    for (int i = 0; i < kRecords; ++i) {
        TaxRecord r;
        r.setKind(Kind{rng.bounded(2) == 1, rng.bounded(2) == 1});
        r.setField(Field::Date, QStringLiteral("%1/%2/%3")
                                    .arg(1 + rng.bounded(12))
                                    .arg(1 + rng.bounded(28))
                                    .arg(1994 + rng.bounded(4)));
        r.setField(Field::Type, types[rng.bounded(types.size())]);
        r.setField(Field::Amount, QString::number(rng.bounded(100000)));
        r.setField(Field::Description, QStringLiteral("item %1").arg(i));
        out.push_back(r);
    }
    return out;
}

// The child: rewrites the file until it is killed, telling the parent after
// each rewrite.
int runChild(const QByteArray& mode, const QString& path)
{
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    FileServices files;
    DataFile file(files);
    if (file.open(path) != OpenStatus::Ok)
        return 2;
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (int round = 0;; ++round) {
        const bool ok = mode == "delete"
            ? file.recordCount() > 1 && deleteRecord(file, 1)
            : sortFile(file, round % 2 == 0 ? SortOrder::Date : SortOrder::Type);
        if (!ok)
            return 3;
        std::fputs("done\n", stdout);
        std::fflush(stdout);
    }
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestCrash : public QObject {
    Q_OBJECT
    std::unique_ptr<test::LocaleGuard> locale_;

    // Starts a child on a fresh copy of `original`, lets it finish `rounds`
    // rewrites and kills it `delayUs` microseconds later; answers the file's
    // content then.
    QByteArray killedRewrite(const QByteArray& mode, const QByteArray& original, int rounds,
                             qint64 delayUs)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tax.dat"));
        {
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly) || f.write(original) != original.size())
                return "<not written>";
        }
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildMode), QString::fromLatin1(mode));
        env.insert(QString::fromLatin1(kChildFile), path);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        if (!child.waitForStarted(10000))
            return "<no child>";
        // "ready" and one "done" per finished rewrite.
        QByteArray said;
        while (said.count("\n") < rounds + 1) {
            if (!child.waitForReadyRead(10000))
                return "<child stopped: " + said + ">";
            said += child.readAllStandardOutput();
        }
        QElapsedTimer waited;
        waited.start();
        while (waited.nsecsElapsed() / 1000 < delayUs && child.state() == QProcess::Running) {
        }
        if (child.state() != QProcess::Running)
            return "<child ended on its own>";
        child.kill();
        child.waitForFinished(10000);
        return readFile(path);
    }

    // Microseconds one rewrite takes in the child.
    qint64 rewriteTime(const QByteArray& mode, const QByteArray& original)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tax.dat"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(original) != original.size())
            return 0;
        f.close();
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildMode), QString::fromLatin1(mode));
        env.insert(QString::fromLatin1(kChildFile), path);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QByteArray said;
        QElapsedTimer timer;
        constexpr int kRounds = 4;
        // Timed from the first line read; a busy machine may hand over
        // "ready" together with the first rewrites, which then do not count.
        qsizetype linesAtStart = 0;
        while (child.waitForReadyRead(10000)) {
            said += child.readAllStandardOutput();
            if (!timer.isValid() && said.count("\n") >= 1) {
                timer.start();
                linesAtStart = said.count("\n");
            }
            if (timer.isValid() && said.count("\n") - linesAtStart >= kRounds)
                break;
        }
        const qsizetype rounds = said.count("\n") - linesAtStart;
        const qint64 us = timer.isValid() && rounds > 0 ? timer.nsecsElapsed() / 1000 / rounds : 0;
        child.kill();
        child.waitForFinished(10000);
        return us;
    }

private slots:
    void init() { locale_ = std::make_unique<test::LocaleGuard>(QStringLiteral("en_US")); }
    void cleanup() { locale_.reset(); }

    void killedDuringRewrite_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::newRow("delete") << QByteArray("delete");
        QTest::newRow("sort") << QByteArray("sort");
    }
    void killedDuringRewrite()
    {
        QFETCH(QByteArray, mode);
        const std::vector<TaxRecord> records = sampleRecords();
        const QByteArray original = encodeRecords(records);

        // Every state the child's file passes through.
        QList<QByteArray> states{original};
        if (mode == "sort") {
            std::vector<TaxRecord> state = records;
            for (int round = 0; round < 8; ++round) {
                if (round % 2 == 0)
                    sortByDate(state);
                else
                    sortByType(state);
                states << encodeRecords(state);
            }
        }
        auto stateOf = [&](const QByteArray& contents) -> int {
            if (mode == "delete") {
                // Record 1 deleted k times: the last records of the original.
                if (contents.isEmpty() || contents.size() % kRecordLength != 0
                    || !original.endsWith(contents))
                    return -1;
                return int((original.size() - contents.size()) / kRecordLength);
            }
            return int(states.indexOf(contents));
        };

        const qint64 rewriteUs = rewriteTime(mode, original);
        QVERIFY(rewriteUs > 0);
        QRandomGenerator rng(uint(mode.size()));
        QList<int> seen;
        for (int i = 0; i < kKillsPerOperation; ++i) {
            // After 0 to 2 finished rewrites, somewhere in the next one: the
            // delays cover the whole length of a rewrite and a little more.
            const int rounds = i % 3;
            const qint64 delayUs = rewriteUs * (i * 6 + rng.bounded(6)) / (kKillsPerOperation * 5);
            const QByteArray after = killedRewrite(mode, original, rounds, delayUs);
            const int state = stateOf(after);
            QVERIFY2(state >= 0, qPrintable(QStringLiteral("kill %1 after %2 us left a file of %3 "
                                                           "bytes that is no state of the file: %4")
                                                .arg(i)
                                                .arg(delayUs)
                                                .arg(after.size())
                                                .arg(QString::fromLatin1(after.left(60)))));
            // A finished rewrite is never undone by a later kill.
            QVERIFY(state >= rounds);
            seen << state - rounds;
        }
        qInfo("%s: one rewrite %lld us; rewrites finished after the last one reported: %s",
              mode.constData(), rewriteUs, qPrintable([&] {
                  QStringList s;
                  for (int v : seen)
                      s << QString::number(v);
                  return s.join(u' ');
              }()));
    }
};

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsSet(kChildMode))
        return runChild(qgetenv(kChildMode), qEnvironmentVariable(kChildFile));
    quillary::test::isolateTestProcess();
    QCoreApplication app(argc, argv);
    TestCrash tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_maintenance_crash.moc"
