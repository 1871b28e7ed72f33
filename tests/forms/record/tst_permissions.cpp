// Faults an ordinary user meets through permissions: a data file that may
// not be written, a folder where no new file may be made, a recent-files
// entry whose folder is missing or closed. Root passes every permission, so
// the tests run as the user nobody (see ordinaryuser.h) and skip, saying
// why, where that cannot be had. Every box the user sees is checked by its
// text; the data files are checked byte for byte afterwards.

#include "filecommands_fixture.h"

#include "support/ordinaryuser.h"

#include <QDir>
#include <QPushButton>
#include <QScrollBar>

#include <sys/stat.h>

using namespace quillary;
using namespace quillary::test;

namespace {

const QString kNoFile =
    QStringLiteral("No file chosen, I will open the default file 'Taxrecs.dat' for you");
const QString kNoRecords = QStringLiteral("No records, one will now be added.");

void setMode(const QString& path, mode_t mode)
{
    QVERIFY2(::chmod(QFile::encodeName(path).constData(), mode) == 0, qPrintable(path));
}

// Records the date sort puts in another order: newest first.
std::vector<TaxRecord> newestFirst(int count)
{
    std::vector<TaxRecord> records = numberedRecords(count);
    std::reverse(records.begin(), records.end());
    return records;
}

// Gives a folder its permissions back when the test ends, however it ends,
// so that its temporary folder can go.
struct ReadOnlyFolder {
    explicit ReadOnlyFolder(const QString& path)
        : path(path)
    {
        setMode(path, 0555);
    }
    ~ReadOnlyFolder() { ::chmod(QFile::encodeName(path).constData(), 0755); }
    QString path;
};

} // namespace

class TestPermissions : public QObject {
    Q_OBJECT

    std::unique_ptr<PinnedDay> pinned_;

private slots:
    void initTestCase() { pinned_ = std::make_unique<PinnedDay>(QDate(2024, 6, 15)); }
    void cleanupTestCase() { pinned_.reset(); }
    void init() { QUILLARY_REQUIRE_ORDINARY_USER(); }

    // A data file that may be read but not written is not opened: the
    // "No file" message, then the default file, at the start and by Open.
    void readOnlyDataFile_data()
    {
        QTest::addColumn<bool>("atStart");
        QTest::newRow("at the start") << true;
        QTest::newRow("by Open File") << false;
    }
    void readOnlyDataFile()
    {
        QFETCH(bool, atStart);
        Program p;
        const QString locked = p.path("locked.dat");
        writeRecords(locked, 3);
        setMode(locked, 0444);
        const QByteArray before = fileContents(locked);
        if (atStart) {
            p.storeRecent({locked});
            p.dialogs.answerMessage(Answer::Ok).answerMessage(Answer::Ok);
            p.start();
            QCOMPARE(boxTexts(p.dialogs),
                     (QStringList{QStringLiteral("No file: ") + kNoFile,
                                  QStringLiteral("Quillary2: ") + kNoRecords}));
        } else {
            writeRecords(p.path("Taxrecs.dat"), 2);
            p.storeRecent({QStringLiteral("Taxrecs.dat")});
            p.start();
            // Falls back on the default file, which the first window has.
            p.dialogs.answerOpenFile(locked).answerMessage(Answer::Ok);
            action(p.windows().first(), "opfil")->trigger();
            QCOMPARE(boxTexts(p.dialogs), QStringList{QStringLiteral("No file: ") + kNoFile});
        }
        QCOMPARE(p.windows().size(), 1);
        QCOMPARE(p.windows().first()->presfile, QStringLiteral("Taxrecs.dat"));
        QCOMPARE(fileContents(locked), before);
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // In a folder where no new file may be made, the file itself may still
    // be written: edits and adds are saved in place, without a lock file.
    void readOnlyFolderSavesInPlace()
    {
        Program p;
        const QString folder = p.path("shelf");
        QVERIFY(QDir().mkdir(folder));
        const QString file = folder + QStringLiteral("/books.dat");
        writeRecords(file, 3);
        const ReadOnlyFolder readOnly(folder);
        p.storeRecent({file});
        p.start();
        Quillary* w = p.windows().first();
        QCOMPARE(w->presfile, file);
        QVERIFY(!p.heldLock(w)->isLocked());

        box(w, "Text2")->setText(QStringLiteral("edited in place"));
        button(w, "Command7")->click(); // First: saves record 3
        button(w, "Command3")->click(); // Add
        box(w, "Text2")->setText(QStringLiteral("added in place"));
        box(w, "Text6")->setText(QStringLiteral("12.5"));
        button(w, "Command7")->click();

        std::vector<TaxRecord> expected = numberedRecords(3);
        expected[2].setField(Field::Description, QStringLiteral("edited in place"));
        const std::vector<TaxRecord> now = decodeRecords(fileContents(file));
        QCOMPARE(int(now.size()), 4);
        QCOMPARE(now[2], expected[2]);
        QCOMPARE(trimBlanks(now[3].field(Field::Description)), QStringLiteral("added in place"));
        QCOMPARE(w->Lastrecord, 4);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"books.dat"});
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // Delete, both sorts and Save File As write a new file beside the old:
    // in that folder they say why they cannot and leave the file as it was.
    void readOnlyFolderRefusesNewFiles_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("expected"); // the boxes; FOLDER and FILE stand in
        const QString why = QStringLiteral("No new file can be made in the folder FOLDER: "
                                           "Permission denied");
        QTest::newRow("delete") << "Command4"
                                << QStringList{QStringLiteral("Delete failed: The record could not "
                                                              "be deleted: ")
                                               + why
                                               + QStringLiteral("\n\nThe data file has not been "
                                                                "changed.")};
        for (const char* sort : {"sortdate", "sorttype"})
            QTest::newRow(sort) << sort
                                << QStringList{QStringLiteral("Sort failed: The records could not "
                                                              "be sorted: ")
                                               + why
                                               + QStringLiteral("\n\nThe data file has not been "
                                                                "changed.")};
        QTest::newRow("save as") << "safil"
                                 << QStringList{QStringLiteral("Save File as: The file could not be "
                                                               "saved as 'FOLDER/copy.dat' (")
                                                    + why
                                                    + QStringLiteral("). Your records stay in "
                                                                     "'FILE'."),
                                                QStringLiteral("Quillary2: Save File Cancelled")};
    }
    void readOnlyFolderRefusesNewFiles()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, expected);
        Program p;
        const QString folder = p.path("shelf");
        QVERIFY(QDir().mkdir(folder));
        const QString file = folder + QStringLiteral("/books.dat");
        writeBytes(file, encodeRecords(newestFirst(4)));
        const QByteArray before = fileContents(file);
        const ReadOnlyFolder readOnly(folder);
        p.storeRecent({file});
        p.start();
        Quillary* w = p.windows().first();

        if (command == QLatin1String("safil"))
            p.dialogs.answerSaveFile(folder + QStringLiteral("/copy.dat"));
        for (int i = 0; i < expected.size(); ++i)
            p.dialogs.answerMessage(Answer::Ok);
        if (command.startsWith(QLatin1String("Command")))
            button(w, command.toLatin1().constData())->click();
        else
            action(w, command.toLatin1().constData())->trigger();

        const QStringList shown = boxTexts(p.dialogs);
        expected.replaceInStrings(QStringLiteral("FOLDER"), folder);
        expected.replaceInStrings(QStringLiteral("FILE"), file);
        QCOMPARE(shown, expected);
        QCOMPARE(fileContents(file), before);
        QCOMPARE(w->Lastrecord, 4);
        QCOMPARE(w->presfile, file);
        QVERIFY(w->dataFile().isOpen());
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"books.dat"});
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // An import first keeps the file as it was beside it: in that folder the
    // copy cannot be made, so nothing is imported and nothing is left.
    void readOnlyFolderRefusesAnImport()
    {
        Program p;
        const QString folder = p.path("shelf");
        QVERIFY(QDir().mkdir(folder));
        const QString file = folder + QStringLiteral("/books.dat");
        writeRecords(file, 4);
        const QByteArray before = fileContents(file);
        const QString statement = p.path("statement.csv");
        writeBytes(statement, "Date,Description,Amount\r\n3/4/2024,Coffee,-3.50\r\n");
        const ReadOnlyFolder readOnly(folder);
        p.storeRecent({file});
        p.start();
        Quillary* w = p.windows().first();

        p.dialogs.answerOpenFile(statement);
        p.dialogs.answerModal([](QDialog& window) {
            window.findChild<QPushButton*>(QStringLiteral("ImportButton"))->click();
        });
        p.dialogs.answerMessage(Answer::Ok);
        action(w, "importcsv")->trigger();

        const QStringList shown = boxTexts(p.dialogs);
        QCOMPARE(shown.size(), 1);
        const QString start = QStringLiteral("Import from CSV: Nothing was imported: The copy of "
                                             "the file as it is could not be written to '%1/"
                                             "books.dat.before-import-")
                                  .arg(folder);
        const QString end = QStringLiteral(".bak': No new file can be made in the folder %1: "
                                           "Permission denied\n\nThe file '%2' is as it was.")
                                .arg(folder, file);
        QVERIFY2(shown.front().startsWith(start) && shown.front().endsWith(end),
                 qPrintable(shown.front()));
        QCOMPARE(fileContents(file), before);
        QCOMPARE(w->Lastrecord, 4);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"books.dat"});
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // A recent-files entry no window can open: the "No file" message, then
    // the default file, at the start and from the File menu.
    void recentEntryInAFolderNotThere_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("atStart");
        for (bool atStart : {true, false}) {
            const QByteArray when = atStart ? ", at the start" : ", from the menu";
            QTest::newRow("missing folder" + when) << "gone" << atStart;
            QTest::newRow("folder closed to the user" + when) << "closed" << atStart;
        }
    }
    void recentEntryInAFolderNotThere()
    {
        QFETCH(QString, folder);
        QFETCH(bool, atStart);
        Program p;
        const QString entry = p.path(folder) + QStringLiteral("/books.dat");
        if (folder == QLatin1String("closed")) {
            QVERIFY(QDir().mkdir(p.path(folder)));
            writeRecords(entry, 2);
            setMode(p.path(folder), 0);
        }
        writeRecords(p.path("Taxrecs.dat"), 3);
        if (atStart) {
            p.storeRecent({entry, QStringLiteral("Taxrecs.dat")});
            p.dialogs.answerMessage(Answer::Ok);
            p.start();
        } else {
            p.storeRecent({QStringLiteral("Taxrecs.dat"), entry});
            p.start();
            p.dialogs.answerMessage(Answer::Ok);
            action(p.windows().first(), "mnuFileArray2")->trigger();
        }
        QCOMPARE(boxTexts(p.dialogs), QStringList{QStringLiteral("No file: ") + kNoFile});
        QCOMPARE(p.windows().size(), 1);
        QCOMPARE(p.windows().first()->presfile, QStringLiteral("Taxrecs.dat"));
        QCOMPARE(p.windows().first()->Lastrecord, 3);
        QVERIFY(!QFileInfo::exists(p.path("gone")));
        if (folder == QLatin1String("closed")) {
            setMode(p.path(folder), 0755);
            QCOMPARE(fileContents(entry), encodeRecords(numberedRecords(2)));
        }
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }
};

QUILLARY_ORDINARY_USER_TEST_MAIN(TestPermissions)
#include "tst_permissions.moc"
