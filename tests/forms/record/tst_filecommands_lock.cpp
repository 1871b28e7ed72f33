#include "filecommands_fixture.h"

#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/file.h>
#include <unistd.h>

using namespace quillary;
using namespace quillary::test;

namespace {

const char* statusName(DataFileLock::Status status)
{
    switch (status) {
    case DataFileLock::Status::Locked:
        return "locked";
    case DataFileLock::Status::HeldElsewhere:
        return "held";
    case DataFileLock::Status::Unavailable:
        return "unavailable";
    }
    return "?";
}

// The test program run a second time as another copy of Quillary would:
//   --hold-lock FILE    takes the lock, reports, holds it until stdin closes
//   --crash-with-lock FILE  takes the lock, reports, ends without releasing
//   --try-lock FILE     reports whether it could take the lock, and ends
int childMain(const QString& mode, const QString& file)
{
    DataFileLock lock(file);
    const DataFileLock::Status status = lock.lock();
    std::printf("%s\n", statusName(status));
    std::fflush(stdout);
    if (mode == QLatin1String("--crash-with-lock"))
        _exit(0); // no destructor runs: the lock file stays behind
    if (mode == QLatin1String("--hold-lock")) {
        char c;
        while (::read(STDIN_FILENO, &c, 1) > 0) {
        }
    }
    return 0;
}

// Another copy of the program, holding or probing a lock.
class OtherCopy {
public:
    ~OtherCopy() { stop(); }

    // Starts the copy and returns its first report.
    QByteArray start(const QString& mode, const QString& file)
    {
        process_.start(QCoreApplication::applicationFilePath(), {mode, file});
        if (!process_.waitForStarted(30000))
            return "not started";
        while (!process_.canReadLine()) {
            if (!process_.waitForReadyRead(30000))
                return "no answer: " + process_.readAllStandardError();
        }
        return process_.readLine().trimmed();
    }

    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.closeWriteChannel();
        if (!process_.waitForFinished(30000))
            process_.kill();
        process_.waitForFinished(30000);
    }

    qint64 pid() const { return process_.processId(); }

private:
    QProcess process_;
};

QByteArray probe(const QString& file)
{
    OtherCopy other;
    return other.start(QStringLiteral("--try-lock"), file);
}

qint64 pidThatDoesNotExist()
{
    QFile max(QStringLiteral("/proc/sys/kernel/pid_max"));
    qint64 limit = 4194304;
    if (max.open(QIODevice::ReadOnly))
        limit = max.readAll().trimmed().toLongLong();
    return limit + 1;
}

} // namespace

class TestFileLock : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }
    std::unique_ptr<PinnedDay> pinned_;

private slots:
    void initTestCase() { pinned_ = std::make_unique<PinnedDay>(QDate(2024, 6, 15)); }

    void cleanupTestCase() { pinned_.reset(); }

    void lockFileSitsBesideTheDataFile()
    {
        const QString data = path(QStringLiteral("books.dat"));
        QCOMPARE(DataFileLock::lockFileNameFor(data), path(QStringLiteral(".books.dat.lock")));

        // A relative name and a link name the same lock, before and after
        // the file exists.
        const QString saved = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        const QString before = DataFileLock::lockFileNameFor(QStringLiteral("books.dat"));
        QFile(data).open(QIODevice::WriteOnly);
        QFile::link(data, path(QStringLiteral("link.dat")));
        const QString after = DataFileLock::lockFileNameFor(QStringLiteral("books.dat"));
        const QString viaLink = DataFileLock::lockFileNameFor(path(QStringLiteral("link.dat")));
        QDir::setCurrent(saved);
        QCOMPARE(before, after);
        QCOMPARE(viaLink, after);
    }

    // While this process holds a data file, another copy cannot take it;
    // once released, it can.
    void secondProcessIsKeptOut()
    {
        const QString data = path(QStringLiteral("shared.dat"));
        DataFileLock lock(data);
        QCOMPARE(lock.lock(), DataFileLock::Status::Locked);
        QVERIFY(QFile::exists(lock.lockFileName()));
        QCOMPARE(probe(data), QByteArray("held"));

        lock.unlock();
        QVERIFY(!QFile::exists(lock.lockFileName()));
        QCOMPARE(probe(data), QByteArray("locked"));
    }

    // The other way round: a running copy holds the file, this one is told so.
    void runningHolderKeepsItsLock()
    {
        const QString data = path(QStringLiteral("theirs.dat"));
        OtherCopy other;
        QCOMPARE(other.start(QStringLiteral("--hold-lock"), data), QByteArray("locked"));

        DataFileLock lock(data);
        QCOMPARE(lock.lock(), DataFileLock::Status::HeldElsewhere);
        QCOMPARE(lock.holderPid(), other.pid());
        QVERIFY(!lock.isLocked());

        other.stop();
        QCOMPARE(lock.lock(), DataFileLock::Status::Locked);
    }

    void staleLockIsTakenOver_data()
    {
        QTest::addColumn<bool>("crashedCopy");
        QTest::addColumn<QByteArray>("contents"); // of a lock file written here
        QTest::newRow("left by a copy that crashed") << true << QByteArray();
        QTest::newRow("written for a process that does not exist")
            << false
            << QByteArray::number(pidThatDoesNotExist()) + "\nquillary\n"
                   + QSysInfo::machineHostName().toUtf8() + "\n";
        // A copy killed after it made the lock file, before it wrote its
        // owner into it.
        QTest::newRow("empty") << false << QByteArray();
        QTest::newRow("damaged") << false << QByteArray("\x01\xff no owner\n");
    }

    void staleLockIsTakenOver()
    {
        QFETCH(bool, crashedCopy);
        QFETCH(QByteArray, contents);
        const QString data = path(QStringLiteral("stale%1.dat").arg(QTest::currentDataTag()));
        const QString lockName = DataFileLock::lockFileNameFor(data);
        if (crashedCopy) {
            OtherCopy other;
            QCOMPARE(other.start(QStringLiteral("--crash-with-lock"), data), QByteArray("locked"));
            other.stop();
        } else {
            QFile file(lockName);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(contents), contents.size());
        }
        QVERIFY(QFile::exists(lockName));

        DataFileLock lock(data);
        QCOMPARE(lock.lock(), DataFileLock::Status::Locked);
        QCOMPARE(lock.holderPid(), QCoreApplication::applicationPid());
        QCOMPARE(probe(data), QByteArray("held"));
    }

    // A lock file that names no owner yet, of a copy that is making it
    // this moment (it holds the file's flock), is not taken from it.
    void lockBeingMadeIsKept()
    {
        const QString data = path(QStringLiteral("making.dat"));
        const QString lockName = DataFileLock::lockFileNameFor(data);
        QFile making(lockName);
        QVERIFY(making.open(QIODevice::WriteOnly));
        QCOMPARE(::flock(making.handle(), LOCK_EX | LOCK_NB), 0);

        DataFileLock lock(data);
        QCOMPARE(lock.lock(), DataFileLock::Status::HeldElsewhere);
        QVERIFY(!lock.isLocked());
        QVERIFY(QFile::exists(lockName));

        // Given up without an owner written: then it is nobody's.
        making.close();
        QCOMPARE(lock.lock(), DataFileLock::Status::Locked);
    }

    void noLockWhereNoFileCanBeMade_data()
    {
        QTest::addColumn<QString>("data");
        QTest::newRow("folder under /proc") << QStringLiteral("/proc/quillary/books.dat");
        QTest::newRow("missing folder") << QStringLiteral("/nonexistent-quillary/books.dat");
    }

    void noLockWhereNoFileCanBeMade()
    {
        QFETCH(QString, data);
        DataFileLock lock(data);
        QCOMPARE(lock.lock(), DataFileLock::Status::Unavailable);
        QVERIFY(!lock.isLocked());
    }

    // A file another running copy has open is not opened here: not by a
    // record window's command, not at the frame's start.
    void fileOfAnotherCopyIsNotOpened()
    {
        Program p;
        const QString a = p.path("a.dat"), theirs = p.path("theirs.dat");
        writeRecords(a, 2);
        writeRecords(theirs, 2);
        const QByteArray theirsBefore = fileContents(theirs);
        OtherCopy other;
        QCOMPARE(other.start(QStringLiteral("--hold-lock"), theirs), QByteArray("locked"));
        p.storeRecent({a});
        p.start();
        Quillary* A = p.windows().first();

        p.dialogs.answerOpenFile(theirs).answerMessage(Answer::Ok);
        action(A, "nefil")->trigger();
        const ShownBox told = p.dialogs.last();
        QCOMPARE(told.title, QStringLiteral("File in use"));
        QCOMPARE(told.icon, Icon::Exclamation);
        QVERIFY(told.text.contains(theirs));
        QCOMPARE(p.windows().size(), 1);
        QVERIFY(!A->newtax);

        // Save File As onto it would replace their file under them.
        p.dialogs.answerSaveFile(theirs).answerMessage(Answer::Ok).answerMessage(Answer::Ok);
        action(A, "safil")->trigger();
        QCOMPARE(p.dialogs.shown().at(p.dialogs.shown().size() - 2).title,
                 QStringLiteral("File in use"));
        QCOMPARE(p.dialogs.last().text, QStringLiteral("Save File Cancelled"));
        QCOMPARE(A->presfile, a);
        QCOMPARE(fileContents(theirs), theirsBefore);
        QUILLARY_VERIFY_DIALOGS(p.dialogs);

        // A second program started on their file opens no window.
        Program second;
        second.storeRecent({theirs});
        second.dialogs.answerMessage(Answer::Ok);
        second.start();
        QVERIFY(second.windows().isEmpty());
        QCOMPARE(second.dialogs.last().title, QStringLiteral("File in use"));
        QCOMPARE(second.frame->menuBar()->actions().size(), second.frame->ownMenus().size());
        QUILLARY_VERIFY_DIALOGS(second.dialogs);
    }

    // A record window holds its file against other copies until it closes
    // the file.
    void windowKeepsOtherCopiesOut()
    {
        Program p;
        const QString a = p.path("a.dat");
        writeRecords(a, 2);
        p.storeRecent({a});
        p.start();
        QCOMPARE(probe(a), QByteArray("held"));

        action(p.windows().first(), "clfil")->trigger();
        Program::settle();
        QCOMPARE(probe(a), QByteArray("locked"));
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // The window's lock is a hidden file beside the data file, gone as soon
    // as the window closes, however it is closed.
    void lockGoesWithTheWindow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close box") << "close";
        QTest::newRow("Close and Save File") << "clfil";
        QTest::newRow("frame closed") << "frame";
    }
    void lockGoesWithTheWindow()
    {
        QFETCH(QString, how);
        Program p;
        const QString a = p.path("a.dat");
        writeRecords(a, 2);
        p.storeRecent({a});
        p.start();
        Quillary* A = p.windows().first();
        const QString lock = p.path(".a.dat.lock");
        QVERIFY(QFile::exists(lock));
        QCOMPARE(QDir(p.dir.path()).entryList(QDir::Files), (QStringList{"a.dat", "settings.ini"}));

        if (how == "close")
            A->subWindow()->close();
        else if (how == "clfil")
            action(A, "clfil")->trigger();
        else
            p.frame->close();
        QVERIFY(!QFile::exists(lock));
        QCOMPARE(probe(a), QByteArray("locked"));
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // The lock of a copy that crashed does not keep the file shut.
    void staleLockIsTakenOverByWindow()
    {
        Program p;
        const QString a = p.path("a.dat"), left = p.path("left.dat");
        writeRecords(a, 2);
        writeRecords(left, 3);
        {
            OtherCopy crashed;
            QCOMPARE(crashed.start(QStringLiteral("--crash-with-lock"), left), QByteArray("locked"));
        }
        QVERIFY(QFile::exists(DataFileLock::lockFileNameFor(left)));
        p.storeRecent({a});
        p.start();

        p.dialogs.answerOpenFile(left);
        action(p.windows().first(), "opfil")->trigger();
        QCOMPARE(p.windows().size(), 2);
        Quillary* L = p.windows().first()->newtax;
        QVERIFY(L);
        QCOMPARE(L->presfile, left);
        QVERIFY(p.heldLock(L) && p.heldLock(L)->isLocked());
        QCOMPARE(probe(left), QByteArray("held"));
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }
};

int main(int argc, char* argv[])
{
    if (argc == 3
        && (qstrcmp(argv[1], "--hold-lock") == 0 || qstrcmp(argv[1], "--crash-with-lock") == 0
            || qstrcmp(argv[1], "--try-lock") == 0)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Quillary"));
        return childMain(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    }
    quillary::test::isolateTestProcess();
    QApplication app(argc, argv);
    // Named as the program names itself, which is not its file name.
    QCoreApplication::setApplicationName(QStringLiteral("Quillary"));
    TestFileLock tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_filecommands_lock.moc"
