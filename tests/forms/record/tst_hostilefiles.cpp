// Files no one would choose to keep records in, met at the start and by
// Open File: a folder, a named pipe, a circle of symbolic links, a sparse
// file of gigabytes, a length that is no multiple of 130, random bytes, a
// file another copy of the program holds. The program never blocks, never
// crashes, reads nothing it does not need, and says what it did; every box
// is checked by its text, every file afterwards. Run as an ordinary user
// where one can be had (ordinaryuser.h).

#include "filecommands_fixture.h"

#include "support/ordinaryuser.h"

#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillary;
using namespace quillary::test;

namespace {

const QString kNoFile =
    QStringLiteral("No file: No file chosen, I will open the default file 'Taxrecs.dat' for you");

// Ends the test program when a step waits for longer than any step may:
// a hang is a failure, not a stuck test run.
class Watchdog {
public:
    explicit Watchdog(unsigned seconds)
    {
        std::signal(SIGALRM, [](int) {
            static const char text[] = "FAIL: the program blocked on a file\n";
            [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, text, sizeof text - 1);
            ::_exit(3);
        });
        ::alarm(seconds);
    }
    ~Watchdog()
    {
        ::alarm(0);
        std::signal(SIGALRM, SIG_DFL);
    }
};

qint64 peakKilobytes()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// What a name stands for now, and the content of an ordinary file.
QString stateOf(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("missing");
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("link to ") + QFile::symLinkTarget(path);
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("folder");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("named pipe");
    if (st.st_size > 100 * 1024 * 1024)
        return QStringLiteral("file of %1 bytes in %2 blocks").arg(st.st_size).arg(st.st_blocks);
    return QStringLiteral("file: ") + QString::fromLatin1(fileContents(path).toHex());
}

// Another copy of Quillary holding the lock on a file: this program run
// again with --hold-lock, until its input closes.
class OtherCopy {
public:
    ~OtherCopy()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(30000))
            process_.kill();
        process_.waitForFinished(30000);
    }
    bool hold(const QString& file)
    {
        process_.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold-lock"), file});
        if (!process_.waitForStarted(30000))
            return false;
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(30000))
                return false;
        return process_.readLine().trimmed() == "locked";
    }

private:
    QProcess process_;
};

int holdLock(const QString& file)
{
    DataFileLock lock(file);
    const bool locked = lock.lock() == DataFileLock::Status::Locked;
    std::printf("%s\n", locked ? "locked" : "not locked");
    std::fflush(stdout);
    char c;
    while (::read(STDIN_FILENO, &c, 1) > 0) {
    }
    return locked ? 0 : 1;
}

} // namespace

class TestHostileFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<PinnedDay> pinned_;

private slots:
    void initTestCase() { pinned_ = std::make_unique<PinnedDay>(QDate(2024, 6, 15)); }
    void cleanupTestCase() { pinned_.reset(); }

    void hostileFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("atStart");
        QTest::addColumn<QStringList>("expected"); // the boxes; FILE stands for the path
        QTest::addColumn<int>("records");          // of the window on it; -1: none
        const struct {
            const char* kind;
            QStringList boxes;
            int records;
        } cases[] = {
            {"folder",
             {QStringLiteral("Not a data file: 'FILE' is a folder, not a data file. It is not "
                             "opened."),
              kNoFile},
             -1},
            {"named pipe",
             {QStringLiteral("Not a data file: 'FILE' is a named pipe (FIFO), not a data file. "
                             "It is not opened."),
              kNoFile},
             -1},
            {"circle of links",
             {QStringLiteral("Not a data file: 'FILE' is a symbolic link that leads round in a "
                             "circle (Too many levels of symbolic links), not a data file. It is "
                             "not opened."),
              kNoFile},
             -1},
            {"sparse 6 GB",
             {QStringLiteral("Too many records: The file 'FILE' holds more than 32,767 records, "
                             "more than this program can handle. It is not opened and stays as "
                             "it is."),
              kNoFile},
             -1},
            {"no multiple of 130", {}, 3},
            {"random bytes", {}, 5},
            {"held by another copy",
             {QStringLiteral("File in use: The file 'FILE' is open in another copy of Quillary. "
                             "Close it there to work on it here.")},
             -1},
        };
        for (const auto& c : cases) {
            QTest::newRow(QByteArray(c.kind) + ", at the start") << c.kind << true << c.boxes << c.records;
            QTest::newRow(QByteArray(c.kind) + ", by Open File") << c.kind << false << c.boxes << c.records;
        }
    }
    void hostileFile()
    {
        QFETCH(QString, kind);
        QFETCH(bool, atStart);
        QFETCH(QStringList, expected);
        QFETCH(int, records);
        const Watchdog watchdog(60);
        Program p;
        // The default file the program falls back on.
        writeRecords(p.path("Taxrecs.dat"), 3);
        const QByteArray defaultBefore = fileContents(p.path("Taxrecs.dat"));

        const QString file = p.path("hostile.dat");
        OtherCopy other;
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(file));
        } else if (kind == QLatin1String("named pipe")) {
            QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0644) == 0);
        } else if (kind == QLatin1String("circle of links")) {
            QVERIFY(QFile::link(p.path("other.dat"), file));
            QVERIFY(QFile::link(file, p.path("other.dat")));
        } else if (kind == QLatin1String("sparse 6 GB")) {
            writeBytes(file, QByteArray());
            QVERIFY(::truncate(QFile::encodeName(file).constData(), qint64(6) << 30) == 0);
        } else if (kind == QLatin1String("no multiple of 130")) {
            writeBytes(file, encodeRecords(numberedRecords(3)) + QByteArray(70, 'x'));
        } else if (kind == QLatin1String("random bytes")) {
            QRandomGenerator rng(1130);
            QByteArray bytes(5 * kRecordLength + 37, Qt::Uninitialized);
            for (char& c : bytes)
                c = char(rng.bounded(256));
            writeBytes(file, bytes);
        } else if (kind == QLatin1String("held by another copy")) {
            writeRecords(file, 2);
            QVERIFY(other.hold(file));
        }
        const QString before = stateOf(file);
        const qint64 peakBefore = peakKilobytes();

        auto answerTheBoxes = [&] {
            for (int i = 0; i < expected.size(); ++i)
                p.dialogs.answerMessage(Answer::Ok);
        };
        if (atStart) {
            p.storeRecent({file});
            answerTheBoxes();
            p.start();
        } else {
            p.storeRecent({QStringLiteral("Taxrecs.dat")});
            p.start();
            p.dialogs.answerOpenFile(file);
            answerTheBoxes();
            action(p.windows().first(), "opfil")->trigger();
        }

        expected.replaceInStrings(QStringLiteral("FILE"), file);
        QCOMPARE(boxTexts(p.dialogs), expected);
        QVERIFY2(peakKilobytes() - peakBefore < 64 * 1024,
                 qPrintable(QStringLiteral("%1 kB more at the peak").arg(peakKilobytes() - peakBefore)));
        // The window on the file, if it opened, and the default file's.
        Quillary* onFile = nullptr;
        for (Quillary* w : p.windows())
            if (w->presfile == file)
                onFile = w;
        if (records < 0) {
            QVERIFY(!onFile);
            const bool fellBack = expected.contains(kNoFile) || !atStart;
            QCOMPARE(p.windows().size(), fellBack ? 1 : 0);
            if (fellBack)
                QCOMPARE(p.windows().first()->presfile, QStringLiteral("Taxrecs.dat"));
        } else {
            QVERIFY(onFile);
            QCOMPARE(onFile->Lastrecord, records);
            QCOMPARE(onFile->Presrecord, records);
            QCOMPARE(onFile->findChild<QLabel*>("Label9")->text(),
                     QStringLiteral("Record No.  %1  0f  %1").arg(numberText(records)));
        }
        QCOMPARE(stateOf(file), before);
        QCOMPARE(fileContents(p.path("Taxrecs.dat")), defaultBefore);
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // A record of random bytes holds no date: moving on asks for one, and
    // giving none leaves the file as it was. The sorts keep every record.
    void randomBytesAreNeverWrittenBack()
    {
        Program p;
        const QString file = p.path("random.dat");
        QRandomGenerator rng(1130);
        QByteArray bytes(5 * kRecordLength, Qt::Uninitialized);
        for (char& c : bytes)
            c = char(rng.bounded(256));
        writeBytes(file, bytes);
        p.storeRecent({file});
        p.start();
        Quillary* w = p.windows().first();

        p.dialogs.answerInput(QString());
        button(w, "Command7")->click();
        QCOMPARE(w->Presrecord, 1);
        QCOMPARE(boxTexts(p.dialogs).size(), 1);
        QCOMPARE(p.dialogs.last().title, QStringLiteral("Invalid Date on current record"));
        QCOMPARE(fileContents(file), bytes);

        p.dialogs.answerInput(QString()).answerInput(QString());
        action(w, "sortdate")->trigger();
        action(w, "sorttype")->trigger();
        std::vector<TaxRecord> sorted = decodeRecords(fileContents(file));
        std::vector<TaxRecord> original = decodeRecords(bytes);
        QCOMPARE(sorted.size(), original.size());
        QVERIFY(std::is_permutation(sorted.begin(), sorted.end(), original.begin()));
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // A named pipe put in the place of the open file by another program: the
    // first save tells the user and writes nothing, and "Reopen" refuses
    // the pipe. Nothing waits for a writer that never comes.
    void namedPipeInThePlaceOfTheOpenFile()
    {
        const Watchdog watchdog(60);
        Program p;
        const QString file = p.path("books.dat");
        writeRecords(file, 3);
        p.storeRecent({file});
        p.start();
        Quillary* w = p.windows().first();
        const QString pipe = p.path("pipe");
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0644) == 0);
        QVERIFY(std::rename(QFile::encodeName(pipe).constData(), QFile::encodeName(file).constData())
                == 0);

        box(w, "Text2")->setText(QStringLiteral("typed"));
        p.dialogs.answerChoice(1).answerMessage(Answer::Ok); // Reopen
        button(w, "Command7")->click();
        Program::settle();
        QCOMPARE(boxTexts(p.dialogs),
                 (QStringList{
                     QStringLiteral("File replaced: The file '%1' has been replaced by another "
                                    "program since this window opened it. Nothing has been "
                                    "written to it.\n\nChoose 'Save As...' to keep this window's "
                                    "records in a file of your choice, or 'Reopen' to show the "
                                    "file as it is now (what is on the form and not saved is "
                                    "then lost).")
                         .arg(file),
                     QStringLiteral("File replaced: The file '%1' could not be opened again ('%1' "
                                    "is a named pipe (FIFO), not a data file). The window is "
                                    "closed.")
                         .arg(file)}));
        QVERIFY(p.windows().isEmpty());
        QCOMPARE(stateOf(file), QStringLiteral("named pipe"));
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }
};

int main(int argc, char* argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--hold-lock") == 0) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Quillary"));
        return holdLock(QString::fromLocal8Bit(argv[2]));
    }
    if (const int code = runAsOrdinaryUser(); code >= 0)
        return code;
    isolateTestProcess();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quillary"));
    TestHostileFiles tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_hostilefiles.moc"
