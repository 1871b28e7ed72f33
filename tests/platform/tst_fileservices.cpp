#include "platform/fileservices.h"
#include "platform/localeservices.h"
#include "support/smalldisk.h"
#include "support/testenv.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <QScopeGuard>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace quillary;

namespace {

constexpr int kLen = 130;

QByteArray record(char fill)
{
    return QByteArray(kLen, fill);
}

} // namespace

class TestFileServices : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString& name) const { return dir_->filePath(name); }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }
    void cleanup()
    {
        QDir::setCurrent(dir_->path()); // never leave the test inside a removed folder
        dir_.reset();
    }

    void openCreatesMissingFileEmpty()
    {
        FileServices files;
        const QString p = path(QStringLiteral("new.dat"));
        QVERIFY(files.open(p, 1, kLen));
        QVERIFY(QFileInfo::exists(p));
        QCOMPARE(files.length(1), 0);
        QCOMPARE(files.path(1), p);
        QCOMPARE(files.recordLength(1), kLen);
        QByteArray buffer;
        QVERIFY(!files.readRecord(1, 1, buffer));
        QCOMPARE(buffer, record(' '));
    }

    void openFails_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("reason"); // when it is the program's own
        QTest::newRow("missing folder") << QStringLiteral("TMP/no such folder/x.dat") << QString();
        QTest::newRow("under /proc") << QStringLiteral("/proc/quillary-test.dat") << QString();
        QTest::newRow("empty path") << QString() << QString();
        QTest::newRow("a folder") << QStringLiteral("TMP") << QStringLiteral("'TMP' is a folder, not a data file");
        QTest::newRow("a device") << QStringLiteral("/dev/full")
                                  << QStringLiteral("'/dev/full' is a device, not a data file");
        QTest::newRow("a named pipe")
            << QStringLiteral("TMP/pipe.dat")
            << QStringLiteral("'TMP/pipe.dat' is a named pipe (FIFO), not a data file");
        QTest::newRow("a circle of links")
            << QStringLiteral("TMP/loop.dat")
            << QStringLiteral("'TMP/loop.dat' is a symbolic link that leads round in a circle "
                              "(Too many levels of symbolic links), not a data file");
    }
    void openFails()
    {
        QFETCH(QString, where);
        QFETCH(QString, reason);
        where.replace(QStringLiteral("TMP"), dir_->path());
        reason.replace(QStringLiteral("TMP"), dir_->path());
        QVERIFY(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.dat"))).constData(), 0644) == 0);
        QVERIFY(QFile::link(path(QStringLiteral("loop.dat")), path(QStringLiteral("loop.dat"))));
        FileServices files;
        QString error;
        // A named pipe would block an open for reading until a writer came.
        QVERIFY(!files.open(where, 1, kLen, &error));
        QVERIFY(!error.isEmpty());
        if (!reason.isEmpty())
            QCOMPARE(error, reason);
        QVERIFY(!files.isOpen(1));
        QCOMPARE(files.freeFile(), 1);
        QCOMPARE(files.length(1), -1);
    }

    void fileNumbers()
    {
        FileServices files;
        QCOMPARE(files.freeFile(), 1);
        for (int no = 1; no <= 3; ++no)
            QVERIFY(files.open(path(QStringLiteral("f%1.dat").arg(no)), no, kLen));
        QCOMPARE(files.freeFile(), 4);
        QString error;
        QVERIFY(!files.open(path(QStringLiteral("other.dat")), 2, kLen, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(files.path(2), path(QStringLiteral("f2.dat"))); // the old handle is kept
        QVERIFY(!files.open(path(QStringLiteral("other.dat")), 0, kLen));
        files.close(2);
        QVERIFY(!files.isOpen(2));
        QCOMPARE(files.freeFile(), 2);
        files.close(1);
        QCOMPARE(files.freeFile(), 1);
        files.close(7); // not open: nothing happens
        files.closeAll();
        QVERIFY(!files.isOpen(3));
        QCOMPARE(files.freeFile(), 1);
    }

    void writeAppendsAndOverwrites()
    {
        FileServices files;
        const QString p = path(QStringLiteral("a.dat"));
        QVERIFY(files.open(p, 1, kLen));
        for (int n = 1; n <= 3; ++n) {
            QVERIFY(files.writeRecord(1, n, record(char('a' + n - 1))));
            QCOMPARE(files.length(1), qint64(n) * kLen);
        }
        QVERIFY(files.writeRecord(1, 2, record('X')));
        QCOMPARE(files.length(1), 3 * kLen);
        QCOMPARE(test::fileContents(p), record('a') + record('X') + record('c'));
        QByteArray buffer;
        QVERIFY(files.readRecord(1, 3, buffer));
        QCOMPARE(buffer, record('c'));
        QVERIFY(files.readAll(1, buffer));
        QCOMPARE(buffer, record('a') + record('X') + record('c'));
    }

    void runsOfRecordsInOneWrite()
    {
        FileServices files;
        const QString p = path(QStringLiteral("run.dat"));
        QVERIFY(files.open(p, 1, kLen));
        QVERIFY(files.writeRecords(1, 1, record('a') + record('b') + record('c')));
        QVERIFY(files.writeRecords(1, 3, record('C') + record('d'))); // overwrites 3, appends 4
        QCOMPARE(test::fileContents(p), record('a') + record('b') + record('C') + record('d'));
        QString error;
        QVERIFY(!files.writeRecords(1, 1, QByteArray()));
        QVERIFY(!files.writeRecords(1, 1, record('x') + "y", &error));
        QVERIFY(!error.isEmpty());
        files.setFaultInjector([](const QString&) { return true; });
        QVERIFY(!files.writeRecords(1, 5, record('e')));
        QCOMPARE(files.length(1), 4 * kLen);
    }

    void badWritesChangeNothing_data()
    {
        QTest::addColumn<int>("fileNo");
        QTest::addColumn<qint64>("n");
        QTest::addColumn<int>("size");
        QTest::newRow("record 0") << 1 << qint64(0) << kLen;
        QTest::newRow("record -1") << 1 << qint64(-1) << kLen;
        QTest::newRow("offset overflows") << 1 << std::numeric_limits<qint64>::max() << kLen;
        QTest::newRow("short buffer") << 1 << qint64(1) << kLen - 1;
        QTest::newRow("long buffer") << 1 << qint64(1) << kLen + 1;
        QTest::newRow("file not open") << 2 << qint64(1) << kLen;
    }
    void badWritesChangeNothing()
    {
        QFETCH(int, fileNo);
        QFETCH(qint64, n);
        QFETCH(int, size);
        FileServices files;
        const QString p = path(QStringLiteral("b.dat"));
        test::writeBytes(p, record('a'));
        QVERIFY(files.open(p, 1, kLen));
        QString error;
        QVERIFY(!files.writeRecord(fileNo, n, QByteArray(size, 'Z'), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(test::fileContents(p), record('a'));
    }

    void readsPastTheEnd_data()
    {
        QTest::addColumn<int>("fileLength");
        QTest::addColumn<qint64>("n");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty file") << 0 << qint64(1) << record(' ');
        QTest::newRow("one past the last") << 2 * kLen << qint64(3) << record(' ');
        QTest::newRow("far past the last") << 2 * kLen << qint64(1000000) << record(' ');
        QTest::newRow("offset overflows") << kLen << std::numeric_limits<qint64>::max()
                                          << record(' ');
        QTest::newRow("record 0") << kLen << qint64(0) << record(' ');
        QTest::newRow("record -5") << kLen << qint64(-5) << record(' ');
        // 200 bytes: record 2 is a fragment of 70 bytes
        QTest::newRow("trailing fragment") << 200 << qint64(2)
                                           << QByteArray(70, 'f') + QByteArray(60, ' ');
    }
    void readsPastTheEnd()
    {
        QFETCH(int, fileLength);
        QFETCH(qint64, n);
        QFETCH(QByteArray, expected);
        const QString p = path(QStringLiteral("r.dat"));
        test::writeBytes(p, QByteArray(fileLength, 'f'));
        FileServices files;
        QVERIFY(files.open(p, 1, kLen));
        QByteArray buffer = record('?');
        QVERIFY(!files.readRecord(1, n, buffer));
        QCOMPARE(buffer, expected);
        QCOMPARE(files.length(1), fileLength); // reading never changes the file
    }

    void readOfUnopenedNumberFails()
    {
        FileServices files;
        QByteArray buffer;
        QVERIFY(!files.readRecord(3, 1, buffer));
        QVERIFY(!files.readAll(3, buffer));
    }

    void twoHandlesOnOnePath()
    {
        FileServices files;
        const QString p = path(QStringLiteral("shared.dat"));
        QVERIFY(files.open(p, 1, kLen));
        QVERIFY(files.open(p, 2, kLen));
        QVERIFY(files.writeRecord(1, 1, record('1')));
        QByteArray buffer;
        QVERIFY(files.readRecord(2, 1, buffer));
        QCOMPARE(buffer, record('1'));
        QCOMPARE(files.length(2), kLen);
        QVERIFY(files.writeRecord(2, 2, record('2')));
        QVERIFY(files.readRecord(1, 2, buffer));
        QCOMPARE(buffer, record('2'));
        files.close(2);
        QVERIFY(files.readRecord(1, 1, buffer)); // closing one leaves the other usable
        QCOMPARE(buffer, record('1'));
    }

    // Every write reaches the operating system before the call returns:
    // a reader that does not go through this object sees it at once.
    void writesAreNotBuffered()
    {
        FileServices files;
        const QString p = path(QStringLiteral("direct.dat"));
        QVERIFY(files.open(p, 1, kLen));
        QVERIFY(files.writeRecord(1, 1, record('d')));
        QCOMPARE(test::fileContents(p), record('d'));
    }

    void writeFailures_data()
    {
        QTest::addColumn<bool>("sizeLimit");
        QTest::newRow("fault injector") << false;
        QTest::newRow("file size limit") << true;
    }
    void writeFailures()
    {
        QFETCH(bool, sizeLimit);
        FileServices files;
        QString p = path(QStringLiteral("full.dat"));
        // A real failure of the system: a file may grow to 64 bytes only, so
        // a record's write stops half-way (EFBIG).
        struct rlimit saved {};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        const auto restore = qScopeGuard([&] {
            ::setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, SIG_DFL);
        });
        if (sizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit = saved;
            limit.rlim_cur = 64;
            QVERIFY(::setrlimit(RLIMIT_FSIZE, &limit) == 0);
        } else {
            test::writeBytes(p, record('a'));
            files.setFaultInjector([](const QString& s) { return s.endsWith("full.dat"); });
        }
        QVERIFY(files.open(p, 1, kLen));
        QString error;
        QVERIFY(!files.writeRecord(1, 1, record('Z'), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!files.writeRecord(1, 2, record('Z')));
        if (sizeLimit) {
            // What got in before the write stopped is taken out again.
            QCOMPARE(files.length(1), 0);
            QCOMPARE(test::fileContents(p), QByteArray());
        } else {
            QCOMPARE(test::fileContents(p), record('a'));
            QVERIFY(!files.replaceContents(1, record('Z'), &error));
            QCOMPARE(test::fileContents(p), record('a'));
            QVERIFY(!files.writeFileAtomically(p, record('Z')));
            QVERIFY(!files.copyFile(p, path(QStringLiteral("other full.dat"))));
            QVERIFY(!QFileInfo::exists(path(QStringLiteral("other full.dat"))));
            // Other file services are not affected.
            FileServices others;
            QVERIFY(others.copyFile(p, path(QStringLiteral("other full.dat"))));
            QVERIFY(QFile::remove(path(QStringLiteral("other full.dat"))));
            // Nor are other paths.
            QVERIFY(files.open(path(QStringLiteral("fine.dat")), 2, kLen));
            QVERIFY(files.writeRecord(2, 1, record('f')));
            files.setFaultInjector({});
            QVERIFY(files.writeRecord(1, 1, record('Z')));
            QCOMPARE(test::fileContents(p), record('Z'));
        }
    }

    void replaceContentsReopensEveryHandle_data()
    {
        QTest::addColumn<QString>("second"); // how the second handle names the file
        QTest::newRow("same path") << QStringLiteral("ABS/data.dat");
        QTest::newRow("relative") << QStringLiteral("data.dat");
        QTest::newRow("with dot segments") << QStringLiteral("ABS/./sub/../data.dat");
        QTest::newRow("through a symbolic link") << QStringLiteral("ABS/link.dat");
    }
    void replaceContentsReopensEveryHandle()
    {
        QFETCH(QString, second);
        second.replace(QStringLiteral("ABS"), dir_->path());
        QDir(dir_->path()).mkdir(QStringLiteral("sub"));
        QDir::setCurrent(dir_->path());
        const QString p = path(QStringLiteral("data.dat"));
        test::writeBytes(p, record('a') + record('b') + record('c'));
        QVERIFY(QFile::link(p, path(QStringLiteral("link.dat"))));
        const QString unrelated = path(QStringLiteral("unrelated.dat"));
        test::writeBytes(unrelated, record('u'));

        FileServices files;
        QVERIFY(files.open(p, 1, kLen));
        QVERIFY(files.open(second, 2, kLen));
        QVERIFY(files.open(unrelated, 3, kLen));
        const QByteArray fresh = record('x') + record('y');
        QVERIFY(files.replaceContents(2, fresh));

        QCOMPARE(test::fileContents(p), fresh);
        QVERIFY(QFileInfo(path(QStringLiteral("link.dat"))).isSymLink());
        for (int no : {1, 2}) {
            QCOMPARE(files.length(no), 2 * kLen);
            QByteArray buffer;
            QVERIFY(files.readRecord(no, 2, buffer));
            QCOMPARE(buffer, record('y'));
            QVERIFY(!files.readRecord(no, 3, buffer));
        }
        // Writes through either handle land in the new file.
        QVERIFY(files.writeRecord(1, 3, record('z')));
        QByteArray buffer;
        QVERIFY(files.readRecord(2, 3, buffer));
        QCOMPARE(buffer, record('z'));
        QCOMPARE(test::fileContents(p), fresh + record('z'));
        QCOMPARE(files.path(2), second); // the path stays as given
        QCOMPARE(test::fileContents(unrelated), record('u'));
        // No temporary file is left behind.
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::System).size(), 3);
    }

    // A handle opened by a relative name keeps naming the file it opened,
    // also after the working folder changed.
    void relativePathSurvivesChangeOfFolder()
    {
        QDir root(dir_->path());
        QVERIFY(root.mkdir(QStringLiteral("one")));
        QVERIFY(root.mkdir(QStringLiteral("two")));
        QDir::setCurrent(root.filePath(QStringLiteral("one")));
        FileServices files;
        QVERIFY(files.open(QStringLiteral("rel.dat"), 1, kLen));
        QVERIFY(files.writeRecord(1, 1, record('a')));
        QDir::setCurrent(root.filePath(QStringLiteral("two")));
        QVERIFY(files.replaceContents(1, record('b') + record('c')));
        QVERIFY(files.writeRecord(1, 3, record('d')));
        QCOMPARE(test::fileContents(root.filePath(QStringLiteral("one/rel.dat"))),
                 record('b') + record('c') + record('d'));
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("two/rel.dat"))));
    }

    void replaceContentsWithNothing()
    {
        FileServices files;
        const QString p = path(QStringLiteral("e.dat"));
        test::writeBytes(p, record('a'));
        QVERIFY(files.open(p, 1, kLen));
        QVERIFY(files.replaceContents(1, QByteArray()));
        QCOMPARE(files.length(1), 0);
        QCOMPARE(test::fileContents(p), QByteArray());
        QVERIFY(!files.replaceContents(9, record('a')));
    }

    void copyFile_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("oldTarget");
        QTest::newRow("no target yet") << record('s') << QByteArray();
        QTest::newRow("longer target") << record('s') << record('t') + record('t') + QByteArray(5, 't');
        QTest::newRow("empty source") << QByteArray() << record('t');
    }
    void copyFile()
    {
        FileServices files;
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, oldTarget);
        const QString from = path(QStringLiteral("from.dat"));
        const QString to = path(QStringLiteral("to.dat"));
        test::writeBytes(from, source);
        if (!oldTarget.isEmpty())
            test::writeBytes(to, oldTarget);
        QVERIFY(files.copyFile(from, to));
        QCOMPARE(test::fileContents(to), source);
        QCOMPARE(test::fileContents(from), source);
    }

    void copyFileFailures()
    {
        FileServices files;
        const QString from = path(QStringLiteral("from.dat"));
        test::writeBytes(from, record('s'));
        const QString to = path(QStringLiteral("to.dat"));
        test::writeBytes(to, record('t'));
        QString error;
        QVERIFY(!files.copyFile(path(QStringLiteral("missing.dat")), to, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(test::fileContents(to), record('t'));
        error.clear();
        QVERIFY(!files.copyFile(from, path(QStringLiteral("no folder/to.dat")), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!files.copyFile(from, QStringLiteral("/proc/quillary-copy.dat")));
        QVERIFY(files.copyFile(from, from)); // onto itself: unchanged
        QCOMPARE(test::fileContents(from), record('s'));
    }

    void deleteFile()
    {
        const QString p = path(QStringLiteral("gone.dat"));
        test::writeBytes(p, record('g'));
        QVERIFY(FileServices::deleteFile(p));
        QVERIFY(!QFileInfo::exists(p));
        QString error;
        QVERIFY(!FileServices::deleteFile(p, &error));
        QVERIFY(!error.isEmpty());
    }

    // On a real full disk every whole-file write either puts all of the new
    // content in place or leaves the old file as it was, says why, and
    // leaves no temporary file behind. Sizes around a page boundary matter:
    // a small write can fit in the last page the file already has.
    void fullDiskWholeFileWrites_data()
    {
        QTest::addColumn<int>("records");
        QTest::newRow("1 record") << 1;
        QTest::newRow("63 records") << 63;
        QTest::newRow("130 records") << 130;
    }
    void fullDiskWholeFileWrites()
    {
        QFETCH(int, records);
        test::SmallDisk disk;
        QUILLARY_REQUIRE_SMALL_DISK(disk);
        const QString p = disk.filePath(QStringLiteral("data.dat"));
        QByteArray old;
        for (int i = 0; i < records; ++i)
            old += record(char('a' + i % 26));
        test::writeBytes(p, old);
        QVERIFY(disk.fill());
        const QStringList before = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden);

        FileServices files;
        QVERIFY(files.open(p, 1, kLen));
        QByteArray fresh = old;
        std::reverse(fresh.begin(), fresh.end());
        QString error;
        QVERIFY(!files.replaceContents(1, fresh, &error));
        QCOMPARE(error, QStringLiteral("No space left on device"));
        QCOMPARE(test::fileContents(p), old);
        QCOMPARE(files.length(1), old.size());

        error.clear();
        QVERIFY(!files.writeFileAtomically(p, fresh, &error));
        QCOMPARE(error, QStringLiteral("No space left on device"));
        QCOMPARE(test::fileContents(p), old);

        error.clear();
        const QString copy = disk.filePath(QStringLiteral("copy.dat"));
        QVERIFY(!files.copyFile(p, copy, &error));
        QCOMPARE(error, QStringLiteral("No space left on device"));
        QVERIFY(!QFileInfo::exists(copy));
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), before);

        // With room again the same writes go through.
        disk.release();
        QVERIFY(files.replaceContents(1, fresh, &error));
        QCOMPARE(test::fileContents(p), fresh);
    }

    // A record write that runs out of space part-way leaves the file at its
    // old length: no torn fragment that a later append would sit behind.
    void fullDiskAppendLeavesNoFragment()
    {
        test::SmallDisk disk;
        QUILLARY_REQUIRE_SMALL_DISK(disk);
        const QString p = disk.filePath(QStringLiteral("data.dat"));
        QByteArray old;
        for (int i = 0; i < 63; ++i) // 8,190 bytes: two bytes short of two pages
            old += record('r');
        test::writeBytes(p, old);
        QVERIFY(disk.fill());
        FileServices files;
        QVERIFY(files.open(p, 1, kLen));
        QString error;
        QVERIFY(!files.writeRecord(1, 64, record('n'), &error));
        QCOMPARE(error, QStringLiteral("No space left on device"));
        QCOMPARE(files.length(1), old.size());
        QCOMPARE(test::fileContents(p), old);
        QVERIFY(!files.writeRecords(1, 64, record('n') + record('m'), &error));
        QCOMPARE(test::fileContents(p), old);
    }

    // Whether a handle's file is still the one its path names.
    void pathState()
    {
        const QString p = path(QStringLiteral("watched.dat"));
        test::writeBytes(p, record('a'));
        FileServices files;
        QVERIFY(files.open(p, 1, kLen));
        QCOMPARE(files.pathState(1), PathState::Same);

        // Replaced: another file moved onto the name.
        const QString other = path(QStringLiteral("other.dat"));
        test::writeBytes(other, record('o'));
        QVERIFY(::rename(QFile::encodeName(other).constData(), QFile::encodeName(p).constData()) == 0);
        QCOMPARE(files.pathState(1), PathState::Replaced);
        QString error;
        QVERIFY(!files.replaceContents(1, record('x'), &error));
        QVERIFY2(error.contains(QStringLiteral("replaced")), qPrintable(error));
        QCOMPARE(test::fileContents(p), record('o'));

        // Removed.
        QVERIFY(files.open(p, 2, kLen));
        QCOMPARE(files.pathState(2), PathState::Same);
        QVERIFY(QFile::remove(p));
        QCOMPARE(files.pathState(2), PathState::Removed);
        QVERIFY(!files.replaceContents(2, record('x'), &error));
        QVERIFY2(error.contains(QStringLiteral("removed")), qPrintable(error));
        QVERIFY(!QFileInfo::exists(p));

        // The records of a handle whose file is gone can still be copied.
        QVERIFY(files.copyOpenFile(1, path(QStringLiteral("rescued.dat")), &error));
        QCOMPARE(test::fileContents(path(QStringLiteral("rescued.dat"))), record('a'));
    }

    void writeFileAtomicallyReplaces()
    {
        FileServices files;
        const QString p = path(QStringLiteral("w.dat"));
        test::writeBytes(p, record('o') + record('o'));
        QVERIFY(files.writeFileAtomically(p, record('n')));
        QCOMPARE(test::fileContents(p), record('n'));
        QVERIFY(!files.writeFileAtomically(path(QStringLiteral("none/w.dat")), record('n')));
    }

    // Only an ordinary file is replaced or read: a named pipe, a device, a
    // folder or a circle of links keeps its place, and nothing waits for
    // another program.
    void otherThanFilesAreLeftAlone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("what");
        QTest::newRow("named pipe") << "pipe.dat" << "a named pipe (FIFO)";
        QTest::newRow("device") << "/dev/null" << "a device";
        QTest::newRow("folder") << "folder.dat" << "a folder";
    }
    void otherThanFilesAreLeftAlone()
    {
        QFETCH(QString, name);
        QFETCH(QString, what);
        const QString p = name.startsWith(u'/') ? name : path(name);
        QVERIFY(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.dat"))).constData(), 0644) == 0);
        QVERIFY(QDir().mkdir(path(QStringLiteral("folder.dat"))));
        const QString reason = QStringLiteral("'%1' is %2, not a data file").arg(p, what);
        QCOMPARE(FileServices::whyNotAFile(p), reason);

        FileServices files;
        QString error;
        QVERIFY(!files.writeFileAtomically(p, record('n'), &error));
        QCOMPARE(error, reason);
        QByteArray contents("untouched");
        QVERIFY(!FileServices::readFile(p, contents, &error));
        QCOMPARE(error, reason);
        QCOMPARE(contents, QByteArray("untouched"));
        const QString from = path(QStringLiteral("from.dat"));
        test::writeBytes(from, record('f'));
        QVERIFY(!files.copyFile(from, p, &error));
        QVERIFY(!files.copyFile(p, from, &error));
        QCOMPARE(test::fileContents(from), record('f'));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(p).constData(), &st) == 0);
        QVERIFY(!S_ISREG(st.st_mode));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"from.dat"});
    }

    // What a killed program leaves of an atomic write goes; nothing else.
    void leftoversOfAtomicWritesGo()
    {
        const QString p = path(QStringLiteral("books.dat"));
        const QStringList kept{"books.dat", "books.dat.bak", ".books.dat.lock", ".books.dat.abc",
                               ".other.dat.Ab12Cd", "books.dat.Ab12Cd", ".books.dat.Ab12Cd.x",
                               "books.dat.before-import-20260314-153012.bak",
                               ".books.dat.before-import-x.bak.Ab12Cd"};
        const QStringList gone{".books.dat.Ab12Cd", ".books.dat.000000", ".books.dat.bak.zZ9zZ9",
                               ".books.dat.before-import-20260314-153012.bak.Ab12Cd",
                               ".books.dat.before-import-20260314-153012-2.bak.q1W2e3"};
        for (const QString& name : kept + gone)
            test::writeBytes(path(name), record('x'));
        QCOMPARE(FileServices::removeLeftovers(p), int(gone.size()));
        QStringList expected = kept;
        expected.sort();
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    }

    // Through a link: the file's own beside it, the backup's beside the link.
    void leftoversThroughALink()
    {
        QVERIFY(QDir().mkdir(path(QStringLiteral("real"))));
        const QString real = path(QStringLiteral("real/books.dat"));
        const QString link = path(QStringLiteral("link.dat"));
        test::writeBytes(real, record('r'));
        QVERIFY(QFile::link(real, link));
        test::writeBytes(path(QStringLiteral("real/.books.dat.Ab12Cd")), record('x'));
        test::writeBytes(path(QStringLiteral(".link.dat.bak.Ab12Cd")), record('x'));
        QCOMPARE(FileServices::removeLeftovers(link), 2);
        QCOMPARE(QDir(path(QStringLiteral("real"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"books.dat"});
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{"link.dat"});
    }

    // --- Backups ---------------------------------------------------------------

    // Before the first write of a run to a file last changed on an earlier
    // day, the file as it was goes to "<name>.bak"; then never again.
    void backupBeforeTheFirstWriteOfTheDay_data()
    {
        QTest::addColumn<QString>("write");
        QTest::addColumn<int>("daysOld");
        QTest::addColumn<bool>("kept");
        for (const char* write : {"record", "append", "replace"}) {
            QTest::newRow(QByteArray(write) + ", yesterday") << write << 1 << true;
            QTest::newRow(QByteArray(write) + ", a year ago") << write << 365 << true;
            QTest::newRow(QByteArray(write) + ", today") << write << 0 << false;
        }
    }
    void backupBeforeTheFirstWriteOfTheDay()
    {
        QFETCH(QString, write);
        QFETCH(int, daysOld);
        QFETCH(bool, kept);
        const QDate today(2030, 6, 15);
        Clock::setFixedToday(today);
        const auto unpin = qScopeGuard([] { Clock::setFixedToday(std::nullopt); });
        const QString p = path(QStringLiteral("Taxrecs.dat"));
        const QString bak = path(QStringLiteral("Taxrecs.dat.bak"));
        QCOMPARE(FileServices::backupPath(p), bak);
        const QByteArray old = record('a') + record('b');
        test::writeBytes(p, old);
        test::writeBytes(bak, QByteArray("an older copy"));
        setChanged(p, QDateTime(today.addDays(-daysOld), QTime(23, 59)));

        FileServices files;
        int told = 0;
        files.setBackupFailureHandler([&](const QString&, const QString&, const QString&) { ++told; });
        QVERIFY(files.open(p, 1, kLen));
        auto writeOnce = [&](char fill) {
            if (write == QLatin1String("record"))
                return files.writeRecord(1, 1, record(fill));
            if (write == QLatin1String("append"))
                return files.writeRecord(1, files.length(1) / kLen + 1, record(fill));
            return files.replaceContents(1, record(fill));
        };
        QVERIFY(writeOnce('n'));
        QCOMPARE(test::fileContents(bak), kept ? old : QByteArray("an older copy"));
        QCOMPARE(told, 0);
        const QByteArray afterFirst = test::fileContents(p);
        // Later writes of the run leave the copy of the day as it is, even
        // when the file looks old again and through another handle.
        setChanged(p, QDateTime(today.addDays(-3), QTime(12, 0)));
        QVERIFY(files.open(p, 2, kLen));
        QVERIFY(files.writeRecord(2, 1, record('m')));
        QVERIFY(writeOnce('o'));
        QCOMPARE(test::fileContents(bak), kept ? old : QByteArray("an older copy"));
        QVERIFY(test::fileContents(p) != afterFirst);
        // No temporary file stays.
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{"Taxrecs.dat", "Taxrecs.dat.bak"}));
    }

    // Through a symbolic link the copy lies beside the name the file was
    // opened by, with the file's permissions; an empty file has nothing to
    // keep.
    void backupNamesAndEmptyFiles()
    {
        const QDate today(2030, 6, 15);
        Clock::setFixedToday(today);
        const auto unpin = qScopeGuard([] { Clock::setFixedToday(std::nullopt); });
        QVERIFY(QDir().mkdir(path(QStringLiteral("real"))));
        const QString real = path(QStringLiteral("real/books.dat"));
        const QString link = path(QStringLiteral("link.dat"));
        test::writeBytes(real, record('r'));
        QVERIFY(::chmod(QFile::encodeName(real).constData(), 0600) == 0);
        QVERIFY(QFile::link(real, link));
        setChanged(real, QDateTime(today.addDays(-1), QTime(8, 0)));
        const QString empty = path(QStringLiteral("empty.dat"));
        test::writeBytes(empty, QByteArray());
        setChanged(empty, QDateTime(today.addDays(-1), QTime(8, 0)));

        FileServices files;
        QVERIFY(files.open(link, 1, kLen));
        QVERIFY(files.writeRecord(1, 2, record('s')));
        QCOMPARE(test::fileContents(path(QStringLiteral("link.dat.bak"))), record('r'));
        // As private as the file itself.
        QCOMPARE(QFileInfo(path(QStringLiteral("link.dat.bak"))).permissions(),
                 QFileInfo(real).permissions());
        QVERIFY(!QFileInfo::exists(real + QStringLiteral(".bak")));
        QVERIFY(files.open(empty, 2, kLen));
        QVERIFY(files.writeRecord(2, 1, record('e')));
        QVERIFY(!QFileInfo::exists(empty + QStringLiteral(".bak")));
    }

    // A copy that cannot be made does not stop the write; the handler hears
    // of it once, and the copy is tried again until the file has changed.
    void backupThatCannotBeMade()
    {
        const QDate today(2030, 6, 15);
        Clock::setFixedToday(today);
        const auto unpin = qScopeGuard([] { Clock::setFixedToday(std::nullopt); });
        const QString p = path(QStringLiteral("Taxrecs.dat"));
        const QString bak = FileServices::backupPath(p);
        test::writeBytes(p, record('a'));
        setChanged(p, QDateTime(today.addDays(-2), QTime(8, 0)));

        FileServices files;
        bool full = true;
        files.setFaultInjector([&](const QString& s) { return full && s.endsWith(".bak"); });
        QStringList told;
        files.setBackupFailureHandler([&](const QString& file, const QString& backup, const QString& why) {
            told << file + u'|' + backup + u'|' + why;
        });
        QVERIFY(files.open(p, 1, kLen));
        QVERIFY(files.writeRecord(1, 2, record('b')));
        QCOMPARE(test::fileContents(p), record('a') + record('b'));
        QCOMPARE(told, QStringList{p + u'|' + bak + QStringLiteral("|No space left on device")});
        QVERIFY(!QFileInfo::exists(bak));

        // Still old (the write went nowhere, say): tried again, not told again.
        setChanged(p, QDateTime(today.addDays(-2), QTime(8, 0)));
        QVERIFY(files.writeRecord(1, 3, record('c')));
        QCOMPARE(told.size(), 1);
        full = false;
        setChanged(p, QDateTime(today.addDays(-2), QTime(8, 0)));
        const QByteArray before = test::fileContents(p);
        QVERIFY(files.writeRecord(1, 1, record('z')));
        QCOMPARE(test::fileContents(bak), before);
        QCOMPARE(told.size(), 1);
    }

private:
    static void setChanged(const QString& file, const QDateTime& when)
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
};

QUILLARY_CORE_TEST_MAIN(TestFileServices)
#include "tst_fileservices.moc"
