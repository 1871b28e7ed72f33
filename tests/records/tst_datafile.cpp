#include "platform/fileservices.h"
#include "records/datafile.h"
#include "support/records.h"
#include "support/testenv.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace quillary;

namespace {

TaxRecord numbered(int n)
{
    TaxRecord r;
    r.setKind(Kind{n % 2 == 1, n % 3 == 0});
    r.setField(Field::Date, QStringLiteral("1/%1/1996").arg(n % 28 + 1));
    r.setField(Field::Amount, QString::number(n));
    r.setField(Field::Description, QStringLiteral("record %1").arg(n));
    return r;
}

// A file of the given length without writing every byte.
void makeFileOfLength(const QString& path, qint64 length)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(f.resize(length));
}

} // namespace

class TestDataFile : public QObject {
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
        dir_.reset();
    }

    void openMissingFileCreatesItEmpty()
    {
        FileServices files;
        DataFile data(files);
        QVERIFY(!data.isOpen());
        const QString p = path(QStringLiteral("Taxrecs.dat"));
        QCOMPARE(data.open(p), OpenStatus::Ok);
        QVERIFY(data.isOpen());
        QCOMPARE(data.fileNumber(), 1);
        QCOMPARE(data.path(), p);
        QCOMPARE(data.recordCount(), 0);
        QCOMPARE(QFileInfo(p).size(), 0);
    }

    void openInMissingFolderFails()
    {
        FileServices files;
        DataFile data(files);
        QString error;
        QCOMPARE(data.open(path(QStringLiteral("nowhere/Taxrecs.dat")), &error),
                 OpenStatus::CannotOpen);
        QVERIFY(!error.isEmpty());
        QVERIFY(!data.isOpen());
        QCOMPARE(files.freeFile(), 1);
        TaxRecord r;
        QVERIFY(!data.read(1, r));
        QVERIFY(!data.write(1, r, &error));
        std::vector<TaxRecord> all;
        QVERIFY(!data.readAll(all));
        QVERIFY(!data.replaceAll({r}));
    }

    void recordCountIgnoresTrailingFragment_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("count");
        QTest::newRow("0 bytes") << 0 << 0;
        QTest::newRow("1 byte") << 1 << 0;
        QTest::newRow("129 bytes") << 129 << 0;
        QTest::newRow("130 bytes") << 130 << 1;
        QTest::newRow("259 bytes") << 259 << 1;
        QTest::newRow("260 bytes") << 260 << 2;
        QTest::newRow("261 bytes") << 261 << 2;
    }
    void recordCountIgnoresTrailingFragment()
    {
        QFETCH(int, length);
        QFETCH(int, count);
        QByteArray bytes;
        for (int n = 1; bytes.size() < length; ++n)
            bytes += numbered(n).bytes();
        bytes.truncate(length);
        const QString p = path(QStringLiteral("frag.dat"));
        test::writeBytes(p, bytes);

        FileServices files;
        DataFile data(files);
        QCOMPARE(data.open(p), OpenStatus::Ok);
        QCOMPARE(data.recordCount(), count);
        TaxRecord r;
        for (int n = 1; n <= count; ++n) {
            QVERIFY(data.read(n, r));
            QCOMPARE(r, numbered(n));
        }
        QVERIFY(!data.read(count + 1, r)); // the fragment is never read as a record
        QCOMPARE(r, TaxRecord());
        std::vector<TaxRecord> all;
        QVERIFY(data.readAll(all));
        QCOMPARE(int(all.size()), count);
        QCOMPARE(QFileInfo(p).size(), length); // nothing was cut off the file
    }

    void writeAppendsExactlyOneRecord()
    {
        FileServices files;
        DataFile data(files);
        const QString p = path(QStringLiteral("append.dat"));
        QCOMPARE(data.open(p), OpenStatus::Ok);
        for (int n = 1; n <= 5; ++n) {
            QVERIFY(data.write(data.recordCount() + 1, numbered(n)));
            QCOMPARE(data.recordCount(), n);
            QCOMPARE(QFileInfo(p).size(), qint64(n) * kRecordLength);
        }
        QVERIFY(data.write(3, numbered(33)));
        QCOMPARE(data.recordCount(), 5);
        QByteArray expected;
        for (int n : {1, 2, 33, 4, 5})
            expected += numbered(n).bytes();
        QCOMPARE(test::fileContents(p), expected);
    }

    void readPastTheEndGivesBlankRecord_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("count + 1") << 3;
        QTest::newRow("far beyond") << 32767;
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -1;
        QTest::newRow("most negative") << std::numeric_limits<int>::min();
    }
    void readPastTheEndGivesBlankRecord()
    {
        QFETCH(int, n);
        FileServices files;
        DataFile data(files);
        QCOMPARE(data.open(path(QStringLiteral("two.dat"))), OpenStatus::Ok);
        QVERIFY(data.write(1, numbered(1)));
        QVERIFY(data.write(2, numbered(2)));
        TaxRecord r = numbered(9);
        QVERIFY(!data.read(n, r));
        QCOMPARE(r, TaxRecord());
        QCOMPARE(data.recordCount(), 2);
    }

    void twoDataFilesOnOnePath()
    {
        FileServices files;
        DataFile first(files);
        DataFile second(files);
        const QString p = path(QStringLiteral("both.dat"));
        QCOMPARE(first.open(p), OpenStatus::Ok);
        QCOMPARE(second.open(p), OpenStatus::Ok);
        QVERIFY(first.fileNumber() != second.fileNumber());
        QVERIFY(first.write(1, numbered(1)));
        QCOMPARE(second.recordCount(), 1);
        TaxRecord r;
        QVERIFY(second.read(1, r));
        QCOMPARE(r, numbered(1));
        second.close();
        QVERIFY(first.write(2, numbered(2)));
        QCOMPARE(first.recordCount(), 2);
    }

    void closeAndDestructorFreeTheNumber()
    {
        FileServices files;
        {
            DataFile data(files);
            QCOMPARE(data.open(path(QStringLiteral("x.dat"))), OpenStatus::Ok);
            QCOMPARE(files.freeFile(), 2);
            DataFile other(files);
            QCOMPARE(other.open(path(QStringLiteral("y.dat"))), OpenStatus::Ok);
            QCOMPARE(other.fileNumber(), 2);
            data.close();
            QVERIFY(!data.isOpen());
            QCOMPARE(data.recordCount(), 0);
            QCOMPARE(files.freeFile(), 1);
            QVERIFY(other.write(1, numbered(1))); // the other file is still usable
        }
        QCOMPARE(files.freeFile(), 1);
    }

    void reopenMovesToTheNewFile()
    {
        FileServices files;
        DataFile data(files);
        const QString a = path(QStringLiteral("a.dat"));
        const QString b = path(QStringLiteral("b.dat"));
        test::writeBytes(b, numbered(7).bytes());
        QCOMPARE(data.open(a), OpenStatus::Ok);
        QCOMPARE(data.open(b), OpenStatus::Ok);
        QCOMPARE(data.path(), b);
        QCOMPARE(data.fileNumber(), 1); // the first file's number was released
        QCOMPARE(data.recordCount(), 1);
    }

    void recordLimit_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("extraBytes");
        QTest::addColumn<OpenStatus>("status");
        QTest::newRow("32,767 records") << 32767 << 0 << OpenStatus::Ok;
        QTest::newRow("32,767 records and a fragment") << 32767 << 129 << OpenStatus::Ok;
        QTest::newRow("32,768 records") << 32768 << 0 << OpenStatus::TooManyRecords;
        QTest::newRow("100,000 records") << 100000 << 0 << OpenStatus::TooManyRecords;
    }
    void recordLimit()
    {
        QFETCH(int, records);
        QFETCH(int, extraBytes);
        QFETCH(OpenStatus, status);
        const QString p = path(QStringLiteral("big.dat"));
        const qint64 length = qint64(records) * kRecordLength + extraBytes;
        makeFileOfLength(p, length);
        FileServices files;
        DataFile data(files);
        QString error;
        QCOMPARE(data.open(p, &error), status);
        QCOMPARE(QFileInfo(p).size(), length); // never cut down
        if (status == OpenStatus::Ok) {
            QCOMPARE(data.recordCount(), records);
            // A full file takes no further record.
            TaxRecord r;
            QVERIFY(!data.write(records + 1, numbered(1), &error));
            QVERIFY(!error.isEmpty());
            QCOMPARE(QFileInfo(p).size(), length);
            QVERIFY(data.write(records, numbered(1)));
            QVERIFY(data.read(records, r));
            QCOMPARE(r, numbered(1));
        } else {
            QVERIFY(!data.isOpen());
            QVERIFY(error.contains(QStringLiteral("32,767")) || error.contains(QStringLiteral("32767")));
            QCOMPARE(files.freeFile(), 1); // the handle was not kept
        }
    }

    void replaceAllTooManyRecordsIsRefused()
    {
        FileServices files;
        DataFile data(files);
        const QString p = path(QStringLiteral("r.dat"));
        test::writeBytes(p, numbered(1).bytes());
        QCOMPARE(data.open(p), OpenStatus::Ok);
        std::vector<TaxRecord> many(kMaxRecords + 1);
        QString error;
        QVERIFY(!data.replaceAll(many, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(test::fileContents(p), numbered(1).bytes());
        many.pop_back();
        QVERIFY(data.replaceAll(many));
        QCOMPARE(data.recordCount(), kMaxRecords);
    }

    void replaceAllReachesEveryHandle_data()
    {
        QTest::addColumn<bool>("relativeSecond");
        QTest::newRow("same path") << false;
        QTest::newRow("relative and absolute") << true;
    }
    void replaceAllReachesEveryHandle()
    {
        QFETCH(bool, relativeSecond);
        QDir::setCurrent(dir_->path());
        const QString p = path(QStringLiteral("sorted.dat"));
        QByteArray old;
        for (int n = 1; n <= 4; ++n)
            old += numbered(n).bytes();
        test::writeBytes(p, old + "tail"); // a fragment that the rewrite drops

        FileServices files;
        DataFile window(files);
        DataFile totals(files);
        QCOMPARE(window.open(p), OpenStatus::Ok);
        QCOMPARE(totals.open(relativeSecond ? QStringLiteral("sorted.dat") : p), OpenStatus::Ok);
        std::vector<TaxRecord> all;
        QVERIFY(totals.readAll(all));
        QCOMPARE(int(all.size()), 4);
        std::reverse(all.begin(), all.end());
        QVERIFY(totals.replaceAll(all));

        for (DataFile* d : {&window, &totals}) {
            QCOMPARE(d->recordCount(), 4);
            TaxRecord r;
            QVERIFY(d->read(1, r));
            QCOMPARE(r, numbered(4));
        }
        QVERIFY(window.write(5, numbered(5)));
        TaxRecord r;
        QVERIFY(totals.read(5, r));
        QCOMPARE(r, numbered(5));
        QCOMPARE(QFileInfo(p).size(), 5 * kRecordLength);
    }

    void failedWritesKeepTheFile()
    {
        FileServices files;
        DataFile data(files);
        const QString p = path(QStringLiteral("keep.dat"));
        test::writeBytes(p, numbered(1).bytes() + numbered(2).bytes());
        QCOMPARE(data.open(p), OpenStatus::Ok);
        files.setFaultInjector([](const QString&) { return true; });
        QString error;
        QVERIFY(!data.write(3, numbered(3), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!data.write(1, numbered(3)));
        QVERIFY(!data.replaceAll({numbered(9)}));
        files.setFaultInjector({});
        QCOMPARE(test::fileContents(p), numbered(1).bytes() + numbered(2).bytes());
        QCOMPARE(data.recordCount(), 2);
    }

    void encodeAndDecode()
    {
        std::vector<TaxRecord> records{numbered(1), numbered(2), numbered(3)};
        const QByteArray bytes = encodeRecords(records);
        QCOMPARE(bytes.size(), 3 * kRecordLength);
        QCOMPARE(bytes.mid(kRecordLength, kRecordLength), numbered(2).bytes());
        QVERIFY(decodeRecords(bytes) == records);
        QVERIFY(decodeRecords(bytes + "partial") == records);
        QVERIFY(decodeRecords(bytes.left(129)).empty());
        QVERIFY(encodeRecords({}).isEmpty());
    }
};

QUILLARY_CORE_TEST_MAIN(TestDataFile)
#include "tst_datafile.moc"
