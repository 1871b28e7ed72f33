#include "platform/fileservices.h"
#include "platform/localeservices.h"
#include "records/datafile.h"
#include "records/maintenance.h"
#include "records/sorting.h"
#include "support/records.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillary;

namespace {

TaxRecord numbered(int n, const QString& date = QStringLiteral("1/1/1996"))
{
    TaxRecord r;
    r.setKind(Kind{n % 2 == 0, n % 3 == 0});
    r.setField(Field::Date, date);
    r.setField(Field::Amount, QString::number(n));
    r.setField(Field::Type, n % 2 ? QStringLiteral("Rent") : QStringLiteral("Other"));
    r.setField(Field::Description, QStringLiteral("record %1").arg(n));
    return r;
}

QByteArray recordsBytes(const QList<int>& numbers)
{
    QByteArray out;
    for (int n : numbers)
        out += numbered(n).bytes();
    return out;
}

} // namespace

class TestMaintenance : public QObject {
    Q_OBJECT
    std::unique_ptr<test::LocaleGuard> locale_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;

private slots:
    void init()
    {
        locale_ = std::make_unique<test::LocaleGuard>(QStringLiteral("en_US"));
        dir_ = std::make_unique<QTemporaryDir>();
        path_ = dir_->filePath(QStringLiteral("tax.dat"));
    }
    void cleanup()
    {
        dir_.reset();
        locale_.reset();
    }

    void deleteRecord_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("first") << recordsBytes({1, 2, 3, 4}) << 1 << recordsBytes({2, 3, 4});
        QTest::newRow("middle") << recordsBytes({1, 2, 3, 4}) << 3 << recordsBytes({1, 2, 4});
        QTest::newRow("last") << recordsBytes({1, 2, 3, 4}) << 4 << recordsBytes({1, 2, 3});
        QTest::newRow("only") << recordsBytes({1}) << 1 << QByteArray();
        QTest::newRow("fragment dropped")
            << recordsBytes({1, 2, 3}) + "partial" << 2 << recordsBytes({1, 3});
        QTest::newRow("odd bytes kept")
            << QByteArray(kRecordLength, '\xff') + QByteArray(kRecordLength, '\0')
                   + QByteArray(kRecordLength, '\x81')
            << 2 << QByteArray(kRecordLength, '\xff') + QByteArray(kRecordLength, '\x81');
    }
    void deleteRecord()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, n);
        QFETCH(QByteArray, after);
        test::writeBytes(path_, before);
        FileServices files;
        DataFile file(files);
        QCOMPARE(file.open(path_), OpenStatus::Ok);
        // A second handle on the same file, as the totals window keeps.
        DataFile other(files);
        QCOMPARE(other.open(path_), OpenStatus::Ok);

        QString error;
        QVERIFY2(quillary::deleteRecord(file, n, &error), qPrintable(error));
        QCOMPARE(test::fileContents(path_), after);
        QVERIFY(file.isOpen());
        QCOMPARE(file.recordCount(), int(after.size() / kRecordLength));
        QCOMPARE(other.recordCount(), file.recordCount());
        std::vector<TaxRecord> seen;
        QVERIFY(other.readAll(seen));
        QCOMPARE(encodeRecords(seen), after);

        // The handle writes into the new file, not into the replaced one.
        QVERIFY(file.write(file.recordCount() + 1, numbered(9)));
        QCOMPARE(test::fileContents(path_), after + numbered(9).bytes());
        // Only the data file is left in its folder.
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("tax.dat")});
    }

    void deleteNoSuchRecord()
    {
        const QByteArray before = recordsBytes({1, 2});
        test::writeBytes(path_, before);
        FileServices files;
        DataFile file(files);
        QCOMPARE(file.open(path_), OpenStatus::Ok);
        for (int n : {0, 3, -1}) {
            QString error;
            QVERIFY(!quillary::deleteRecord(file, n, &error));
            QVERIFY(!error.isEmpty());
            QCOMPARE(test::fileContents(path_), before);
        }
        DataFile closed(files);
        QVERIFY(!quillary::deleteRecord(closed, 1));
    }

    // A "tax.tem" left by an earlier run stays out of the data file.
    void staleTemporaryFileIgnored()
    {
        const QByteArray stale = recordsBytes({7, 8, 9, 10, 11});
        test::writeBytes(QStringLiteral("tax.tem"), stale);
        test::writeBytes(QStringLiteral("Taxrecs.dat"), recordsBytes({1, 2, 3}));
        FileServices files;
        DataFile file(files);
        QCOMPARE(file.open(QStringLiteral("Taxrecs.dat")), OpenStatus::Ok);
        QVERIFY(quillary::deleteRecord(file, 2));
        QCOMPARE(test::fileContents(QStringLiteral("Taxrecs.dat")), recordsBytes({1, 3}));
        QVERIFY(quillary::sortFile(file, SortOrder::Type));
        std::vector<TaxRecord> expected{numbered(1), numbered(3)};
        sortByType(expected);
        QCOMPARE(test::fileContents(QStringLiteral("Taxrecs.dat")), encodeRecords(expected));
        QCOMPARE(test::fileContents(QStringLiteral("tax.tem")), stale);
        QStringList left = QDir::current().entryList(QDir::Files | QDir::Hidden);
        left.sort();
        QCOMPARE(left, (QStringList{QStringLiteral("Taxrecs.dat"), QStringLiteral("tax.tem")}));
        QVERIFY(QFile::remove(QStringLiteral("Taxrecs.dat")));
        QVERIFY(QFile::remove(QStringLiteral("tax.tem")));
    }

    // A failed rewrite leaves every byte, and a usable handle on them.
    void rewriteFailureChangesNothing_data()
    {
        QTest::addColumn<int>("operation"); // 0 delete, 1 date sort, 2 type sort
        QTest::addColumn<bool>("folderGone");
        QTest::newRow("delete, disk full") << 0 << false;
        QTest::newRow("date sort, disk full") << 1 << false;
        QTest::newRow("type sort, disk full") << 2 << false;
        QTest::newRow("delete, folder gone") << 0 << true;
        QTest::newRow("type sort, folder gone") << 2 << true;
    }
    void rewriteFailureChangesNothing()
    {
        QFETCH(int, operation);
        QFETCH(bool, folderGone);
        QDir(dir_->path()).mkdir(QStringLiteral("sub"));
        const QString path = dir_->filePath(QStringLiteral("sub/tax.dat"));
        // Out of order by date and by type.
        std::vector<TaxRecord> records{numbered(2, "3/1/1996"), numbered(5, "1/1/1996"),
                                       numbered(4, "2/1/1996")};
        const QByteArray before = encodeRecords(records) + "tail";
        test::writeBytes(path, before);
        FileServices files;
        DataFile file(files);
        QCOMPARE(file.open(path), OpenStatus::Ok);

        // Either every write in the folder fails, or the folder is moved
        // away under the open file so no new file can be made at its path.
        QString stillThere = path;
        if (folderGone) {
            QVERIFY(QDir(dir_->path()).rename(QStringLiteral("sub"), QStringLiteral("moved")));
            stillThere = dir_->filePath(QStringLiteral("moved/tax.dat"));
        } else {
            files.setFaultInjector(test::failWritesUnder(dir_->path()));
        }

        QString error;
        const bool ok = operation == 0 ? quillary::deleteRecord(file, 2, &error)
                                       : quillary::sortFile(file, operation == 1 ? SortOrder::Date
                                                                                 : SortOrder::Type,
                                                            &error);
        QVERIFY(!ok);
        QVERIFY(!error.isEmpty());
        QCOMPARE(test::fileContents(stillThere), before);
        QVERIFY(file.isOpen());
        QCOMPARE(file.recordCount(), 3);
        std::vector<TaxRecord> seen;
        QVERIFY(file.readAll(seen));
        QCOMPARE(seen, records);
        const QStringList left = QDir(QFileInfo(stillThere).path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left, QStringList{QStringLiteral("tax.dat")});
    }

    void sortFile_data()
    {
        QTest::addColumn<int>("order");
        QTest::newRow("date") << int(SortOrder::Date);
        QTest::newRow("type") << int(SortOrder::Type);
    }
    void sortFile()
    {
        QFETCH(int, order);
        std::vector<TaxRecord> records;
        for (int i = 0; i < 40; ++i)
            records.push_back(numbered(i, QStringLiteral("%1/%2/1996").arg(1 + i * 7 % 12).arg(1 + i % 3)));
        const QByteArray tail("short");
        test::writeBytes(path_, encodeRecords(records) + tail);
        FileServices files;
        DataFile file(files);
        QCOMPARE(file.open(path_), OpenStatus::Ok);
        DataFile other(files);
        QCOMPARE(other.open(path_), OpenStatus::Ok);

        QString error;
        QVERIFY2(quillary::sortFile(file, SortOrder(order), &error), qPrintable(error));
        std::vector<TaxRecord> expected = records;
        if (SortOrder(order) == SortOrder::Date)
            sortByDate(expected);
        else
            sortByType(expected);
        QVERIFY(expected != records);
        // The trailing fragment stays behind the records, as an in-place
        // rewrite leaves it.
        QCOMPARE(test::fileContents(path_), encodeRecords(expected) + tail);
        std::vector<TaxRecord> seen;
        QVERIFY(other.readAll(seen));
        QCOMPARE(seen, expected);

        // Sorting again finds the file in order and writes nothing, so it
        // succeeds even where no write could.
        files.setFaultInjector(test::failWritesUnder(dir_->path()));
        QVERIFY(quillary::sortFile(file, SortOrder(order), &error));
        QCOMPARE(test::fileContents(path_), encodeRecords(expected) + tail);
    }

    // Fewer than two records: nothing is written.
    void sortFewRecords_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("one") << numbered(1, "garbage").bytes();
        QTest::newRow("one and a fragment") << numbered(1).bytes() + QByteArray(129, '\x9f');
        QTest::newRow("fragment only") << QByteArray(129, 'x');
    }
    void sortFewRecords()
    {
        QFETCH(QByteArray, contents);
        test::writeBytes(path_, contents);
        FileServices files;
        DataFile file(files);
        QCOMPARE(file.open(path_), OpenStatus::Ok);
        files.setFaultInjector(test::failWritesUnder(dir_->path()));
        for (SortOrder order : {SortOrder::Date, SortOrder::Type})
            QVERIFY(quillary::sortFile(file, order));
        QCOMPARE(test::fileContents(path_), contents);
    }

    // An import: the records after the file's own, in one rewrite, the
    // file as it was kept beside it.
    void appendRecords_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QList<int>>("added");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("to an empty file") << QByteArray() << QList<int>{7, 8}
                                          << recordsBytes({7, 8});
        QTest::newRow("after records") << recordsBytes({1, 2}) << QList<int>{7}
                                       << recordsBytes({1, 2, 7});
        QTest::newRow("fragment dropped") << recordsBytes({1}) + "part" << QList<int>{7, 8, 9}
                                          << recordsBytes({1, 7, 8, 9});
    }
    void appendRecords()
    {
        QFETCH(QByteArray, before);
        QFETCH(QList<int>, added);
        QFETCH(QByteArray, after);
        test::writeBytes(path_, before);
        FileServices files;
        DataFile file(files);
        QCOMPARE(file.open(path_), OpenStatus::Ok);
        DataFile other(files);
        QCOMPARE(other.open(path_), OpenStatus::Ok);
        std::vector<TaxRecord> records;
        for (int n : added)
            records.push_back(numbered(n));
        const QString backup = importBackupPath(path_, QDateTime(QDate(2026, 3, 14), QTime(15, 30, 12)));
        QCOMPARE(QFileInfo(backup).fileName(), QStringLiteral("tax.dat.before-import-20260314-153012.bak"));

        QString error;
        bool kept = true;
        QVERIFY2(quillary::appendRecords(file, records, backup, &error, &kept), qPrintable(error));
        QVERIFY(!kept); // only said of a failure
        QCOMPARE(test::fileContents(path_), after);
        QCOMPARE(test::fileContents(backup), before);
        QCOMPARE(file.recordCount(), int(after.size() / kRecordLength));
        QCOMPARE(other.recordCount(), file.recordCount());
        QVERIFY(file.write(file.recordCount() + 1, numbered(3)));
        QCOMPARE(test::fileContents(path_), after + numbered(3).bytes());
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("tax.dat"), QFileInfo(backup).fileName()}));
        // The next import at the same second gets a name of its own.
        QCOMPARE(QFileInfo(importBackupPath(path_, QDateTime(QDate(2026, 3, 14), QTime(15, 30, 12))))
                     .fileName(),
                 QStringLiteral("tax.dat.before-import-20260314-153012-2.bak"));
    }

    // An import the file cannot hold, or whose backup or rewrite cannot be
    // written, leaves the file as it was and no backup that would say
    // otherwise.
    void appendRefused_data()
    {
        QTest::addColumn<int>("existing");
        QTest::addColumn<int>("added");
        QTest::addColumn<QString>("failing"); // which file's writes fail
        QTest::newRow("one past the limit") << kMaxRecords - 5 << 6 << "";
        QTest::newRow("rewrite fails") << 3 << 2 << "tax.dat";
        QTest::newRow("backup fails") << 3 << 2 << "bak";
    }
    void appendRefused()
    {
        QFETCH(int, existing);
        QFETCH(int, added);
        QFETCH(QString, failing);
        const QByteArray before = encodeRecords(test::numberedRecords(existing)) + "frag";
        test::writeBytes(path_, before);
        FileServices files;
        DataFile file(files);
        QCOMPARE(file.open(path_), OpenStatus::Ok);
        if (!failing.isEmpty()) {
            files.setFaultInjector([failing](const QString& path) {
                return QFileInfo(path).fileName().endsWith(failing);
            });
        }
        const QString backup = importBackupPath(path_, QDateTime::currentDateTime());
        QString error;
        bool kept = true;
        QVERIFY(!quillary::appendRecords(file, test::numberedRecords(added), backup, &error, &kept));
        QVERIFY(!kept);
        QVERIFY(!error.isEmpty());
        QVERIFY(file.isOpen());
        QCOMPARE(test::fileContents(path_), before);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("tax.dat")});
        if (failing.isEmpty()) {
            QVERIFY2(error.contains(QStringLiteral("32767")), qPrintable(error));
            // The last one that fits is taken.
            QVERIFY(quillary::appendRecords(file, test::numberedRecords(added - 1), backup));
            QCOMPARE(file.recordCount(), kMaxRecords);
        }
    }

    // The name of the backup is never that of a file already there.
    void appendBackupNameTaken()
    {
        test::writeBytes(path_, recordsBytes({1}));
        const QString taken = dir_->filePath(QStringLiteral("taken.bak"));
        test::writeBytes(taken, "mine");
        FileServices files;
        DataFile file(files);
        QCOMPARE(file.open(path_), OpenStatus::Ok);
        QVERIFY(!quillary::appendRecords(file, {numbered(2)}, taken));
        QCOMPARE(test::fileContents(taken), QByteArray("mine"));
        QCOMPARE(test::fileContents(path_), recordsBytes({1}));
    }

    // Another program put a named pipe in the file's place: the rewrite
    // refuses, and looking at what is there now does not wait for a writer
    // of the pipe that never comes.
    void rewriteOfAFileReplacedByANamedPipe()
    {
        test::writeBytes(path_, recordsBytes({3, 1, 2}));
        FileServices files;
        DataFile file(files);
        QCOMPARE(file.open(path_), OpenStatus::Ok);
        const QString pipe = dir_->filePath(QStringLiteral("pipe"));
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0644) == 0);
        QVERIFY(std::rename(QFile::encodeName(pipe).constData(), QFile::encodeName(path_).constData())
                == 0);
        std::signal(SIGALRM, [](int) { ::_exit(3); });
        ::alarm(30);
        QString error;
        QVERIFY(!quillary::sortFile(file, SortOrder::Type, &error));
        QCOMPARE(error, pathStateError(PathState::Replaced));
        QVERIFY(!quillary::deleteRecord(file, 1, &error));
        QCOMPARE(error, pathStateError(PathState::Replaced));
        ::alarm(0);
        QVERIFY(file.isOpen());
        QCOMPARE(file.recordCount(), 3);
    }
};

QUILLARY_CORE_TEST_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
