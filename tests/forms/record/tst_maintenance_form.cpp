// The record window's Add, Delete and Undo commands, its two sorts and the
// text search.

#include "recordfixture.h"

#include "platform/localeservices.h"
#include "records/categories.h"
#include "records/sorting.h"
#include "support/accessibility.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using namespace quillary;
using namespace quillary::test;

namespace {

const QString kToday = QStringLiteral("3/14/2024");
const QString kNoRecords = QStringLiteral("No records, one will now be added.");
const QString kBlank = QStringLiteral("No information in the present record, it will not be saved");

QString foundText(int n, const QString& search)
{
    return QStringLiteral("Displayed is record number  %1 containing the Text '%2'\n\r"
                          "Would you like to find the next record containing this Text?")
        .arg(n)
        .arg(search);
}

// A record as the form itself writes it, so that the save step before a
// command writes it back byte for byte unchanged.
TaxRecord formRecord(int i, char kind = '0', QDate date = QDate(2024, 1, 1))
{
    const Kind k = *kindFromCode(kind);
    const QStringList& types = typeList(k);
    return makeRecord(kind, shortDate(date), QStringLiteral("%1.25").arg(i),
                      QStringLiteral("INV-%1").arg(i), QStringLiteral("Cash"),
                      types[i % types.size()], QStringLiteral("Party %1").arg(i),
                      QStringLiteral("record %1").arg(i));
}

std::vector<TaxRecord> formRecords(int n)
{
    std::vector<TaxRecord> out;
    for (int i = 1; i <= n; ++i)
        out.push_back(formRecord(i, char('0' + i % 4), QDate(2024, 1, 1).addDays(i)));
    return out;
}

std::vector<TaxRecord> without(std::vector<TaxRecord> records, int n)
{
    records.erase(records.begin() + (n - 1));
    return records;
}

struct View {
    explicit View(Quillary* w)
        : w(w)
    {
    }
    Quillary* w;
    QLineEdit* text(const char* name) const { return find<QLineEdit>(w, name); }
    QComboBox* combo(const char* name) const { return find<QComboBox>(w, name); }
    QRadioButton* option(const char* name) const { return find<QRadioButton>(w, name); }
    QPushButton* button(const char* name) const { return find<QPushButton>(w, name); }
    QString caption() const { return find<QLabel>(w, "Label9")->text(); }
    QString description() const { return trimBlanks(text("Text2")->text()); }
    void moveTo(int n) const { find<QScrollBar>(w, "HScroll1")->setValue(n); }
    void trigger(const char* action) const
    {
        QAction* a = w->findChild<QAction*>(QString::fromLatin1(action));
        QVERIFY2(a, action);
        a->trigger();
    }
};

} // namespace

class TestMaintenanceForm : public QObject {
    Q_OBJECT

    std::unique_ptr<PinnedDay> pinned_;
    std::unique_ptr<RecordEnv> env_;
    QString file_;

    Quillary* openWith(const std::vector<TaxRecord>& records, const QByteArray& extra = {})
    {
        writeBytes(file_, bytesOf(records) + extra);
        if (records.empty())
            env_->dialogs.answerMessage(Answer::Ok);
        Quillary* w = env_->open(file_);
        env_->dialogs.clearShown();
        return w;
    }
    QByteArray fileBytes() const { return fileContents(file_); }

private slots:
    void initTestCase() { pinned_ = std::make_unique<PinnedDay>(QDate(2024, 3, 14)); }
    void cleanupTestCase() { pinned_.reset(); }
    void init()
    {
        env_ = std::make_unique<RecordEnv>();
        file_ = env_->path(QStringLiteral("tax.dat"));
    }
    void cleanup()
    {
        auto env = std::move(env_);
        QUILLARY_VERIFY_DIALOGS(env->dialogs);
    }

    // --- Delete -----------------------------------------------------------

    void deleteRecord_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("shownAfter");     // Presrecord afterwards
        QTest::addColumn<QString>("description"); // of the record shown then
        QTest::addColumn<QString>("caption");
        QTest::newRow("first of five") << 5 << 1 << 1 << "record 2" << "Record No.   1  0f   4";
        QTest::newRow("middle of five") << 5 << 3 << 2 << "record 2" << "Record No.   2  0f   4";
        QTest::newRow("last of five") << 5 << 5 << 4 << "record 4" << "Record No.   4  0f   4";
        QTest::newRow("second of two") << 2 << 2 << 1 << "record 1" << "Record No.   1  0f   1";
    }
    void deleteRecord()
    {
        QFETCH(int, count);
        QFETCH(int, at);
        QFETCH(int, shownAfter);
        QFETCH(QString, description);
        QFETCH(QString, caption);
        const std::vector<TaxRecord> records = formRecords(count);
        Quillary* w = openWith(records);
        View v(w);
        v.moveTo(at);
        QCOMPARE(w->Presrecord, at);
        QCOMPARE(fileBytes(), bytesOf(records));

        // Edits on the form are not saved by a delete.
        v.text("Text2")->setText(QStringLiteral("edited"));
        v.button("Command4")->click();

        QCOMPARE(fileBytes(), bytesOf(without(records, at)));
        QCOMPARE(w->Lastrecord, count - 1);
        QCOMPARE(w->Presrecord, shownAfter);
        QVERIFY(!w->isAdding());
        QCOMPARE(v.description(), description);
        QCOMPARE(v.caption(), caption);
        QVERIFY(env_->dialogs.shown().isEmpty());
        QCOMPARE(env_->files.length(w->dataFile().fileNumber()), qint64(count - 1) * kRecordLength);
    }

    // The menu item runs the same command; deleting the only record empties
    // the file and starts an add.
    void deleteOnlyRecord()
    {
        Quillary* w = openWith(formRecords(1), QByteArray("fragment"));
        View v(w);
        env_->dialogs.answerMessage(Answer::Ok);
        v.trigger("remrec");
        QCOMPARE(fileBytes(), QByteArray());
        QCOMPARE(env_->dialogs.last().text, kNoRecords);
        QCOMPARE(w->Lastrecord, 0);
        QCOMPARE(w->Presrecord, 1);
        QVERIFY(w->isAdding());
        QCOMPARE(v.caption(), QStringLiteral("Adding Record Number  1"));
        QCOMPARE(v.text("Text1")->text(), kToday);
    }

    // Delete while adding drops the new record without a question.
    void deleteDuringAdd()
    {
        const std::vector<TaxRecord> records = formRecords(3);
        Quillary* w = openWith(records);
        View v(w);
        v.moveTo(2);
        v.button("Command3")->click();
        v.text("Text2")->setText(QStringLiteral("never kept"));
        v.text("Text6")->setText(QStringLiteral("12"));
        QVERIFY(w->isAdding());
        v.button("Command4")->click();
        QVERIFY(env_->dialogs.shown().isEmpty());
        QVERIFY(!w->isAdding());
        QCOMPARE(fileBytes(), bytesOf(records));
        QCOMPARE(w->Presrecord, 3);
        QCOMPARE(v.description(), QStringLiteral("record 3"));
        QCOMPARE(v.caption(), QStringLiteral("Record No.   3  0f   3"));
    }

    void deleteDuringAddOnEmptyFile()
    {
        Quillary* w = openWith({});
        View v(w);
        v.text("Text2")->setText(QStringLiteral("never kept"));
        env_->dialogs.answerMessage(Answer::Ok);
        v.button("Command4")->click();
        QCOMPARE(env_->dialogs.shown().size(), 1);
        QCOMPARE(env_->dialogs.last().text, kNoRecords);
        QVERIFY(w->isAdding());
        QCOMPARE(w->Presrecord, 1);
        QCOMPARE(v.text("Text2")->text(), QString());
        QCOMPARE(fileBytes(), QByteArray());
    }

    // No records and no add pending: a date the user would not correct gave
    // the add up.
    void deleteWithoutRecords()
    {
        Quillary* w = openWith({});
        View v(w);
        v.text("Text1")->setText(QStringLiteral("13/45/96"));
        v.text("Text2")->setText(QStringLiteral("something"));
        env_->dialogs.answerInput(QString());
        v.trigger("sortdate");
        QVERIFY(!w->isAdding());
        QCOMPARE(w->Lastrecord, 0);
        env_->dialogs.clearShown();

        env_->dialogs.answerMessage(Answer::Ok);
        v.button("Command4")->click();
        const ShownBox box = env_->dialogs.last();
        QCOMPARE(box.text, QStringLiteral("No records yet, so no Delete!"));
        QCOMPARE(box.title, QStringLiteral("No Records"));
        QCOMPARE(box.buttons, Buttons::Ok);
        QCOMPARE(box.icon, Icon::None);
        QCOMPARE(env_->dialogs.shown().size(), 1);
        QCOMPARE(fileBytes(), QByteArray());
    }

    // A "tax.tem" left in the current folder by an earlier run changes
    // nothing.
    void deleteWithStaleTemporaryFile()
    {
        const QString dataFile = QStringLiteral("Taxrecs.dat");
        const QByteArray stale = bytesOf(formRecords(6));
        writeBytes(QStringLiteral("tax.tem"), stale);
        const std::vector<TaxRecord> records = {formRecord(21), formRecord(22), formRecord(23)};
        writeBytes(dataFile, bytesOf(records));
        Quillary* w = env_->open(dataFile);
        QVERIFY(w);
        View v(w);
        v.moveTo(2);
        v.button("Command4")->click();
        QCOMPARE(fileContents(dataFile), bytesOf(without(records, 2)));
        QCOMPARE(fileContents(QStringLiteral("tax.tem")), stale);
        QCOMPARE(w->Lastrecord, 2);
        QCOMPARE(v.description(), QStringLiteral("record 21"));
        for (QMdiSubWindow* sub : env_->area.subWindowList())
            delete sub;
        QVERIFY(QFile::remove(dataFile));
        QVERIFY(QFile::remove(QStringLiteral("tax.tem")));
    }

    // The file cannot be rewritten: the user is told, every record stays,
    // and the window goes on working on the file.
    void deleteWhenRewriteFails_data()
    {
        QTest::addColumn<bool>("folderGone");
        QTest::newRow("disk full") << false;
        QTest::newRow("folder renamed under the file") << true;
    }
    void deleteWhenRewriteFails()
    {
        QFETCH(bool, folderGone);
        QDir(env_->dir.path()).mkdir(QStringLiteral("sub"));
        file_ = env_->path(QStringLiteral("sub/tax.dat"));
        const std::vector<TaxRecord> records = formRecords(4);
        Quillary* w = openWith(records);
        View v(w);
        v.moveTo(2);

        if (folderGone) {
            // The folder is renamed under the open file: its name leads
            // nowhere, and nothing may be written in its place.
            QVERIFY(QDir(env_->dir.path()).rename(QStringLiteral("sub"), QStringLiteral("moved")));
            file_ = env_->path(QStringLiteral("moved/tax.dat"));
            env_->dialogs.answerChoice(1); // Cancel
        } else {
            env_->files.setFaultInjector(failWritesUnder(env_->dir.path()));
            env_->dialogs.answerMessage(Answer::Ok);
        }
        v.button("Command4")->click();
        const ShownBox box = env_->dialogs.last();
        if (folderGone) {
            QCOMPARE(box.title, QStringLiteral("File removed"));
            QCOMPARE(box.choices, (QStringList{QStringLiteral("Save As..."), QStringLiteral("Cancel")}));
            QVERIFY(!QFileInfo::exists(env_->path(QStringLiteral("sub/tax.dat"))));
        } else {
            QCOMPARE(box.title, QStringLiteral("Delete failed"));
            QCOMPARE(box.icon, Icon::Exclamation);
            QCOMPARE(box.text, QStringLiteral("The record could not be deleted: No space left on "
                                              "device\n\nThe data file has not been changed."));
        }
        QCOMPARE(fileBytes(), bytesOf(records));
        QCOMPARE(w->Lastrecord, 4);
        QCOMPARE(w->Presrecord, 2);
        QCOMPARE(v.caption(), QStringLiteral("Record No.   2  0f   4"));
        QVERIFY(w->dataFile().isOpen());
        if (folderGone)
            return;

        // Still usable: browsing reads and writes the same file.
        env_->files.setFaultInjector({});
        v.button("Command5")->click();
        QCOMPARE(v.description(), QStringLiteral("record 3"));
        QCOMPARE(fileBytes(), bytesOf(records));
        v.button("Command4")->click();
        QCOMPARE(fileBytes(), bytesOf(without(records, 3)));
        QCOMPARE(w->Lastrecord, 3);
    }

    // --- Undo -------------------------------------------------------------

    void undoAdd_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void undoAdd()
    {
        QFETCH(bool, yes);
        const std::vector<TaxRecord> records = formRecords(3);
        Quillary* w = openWith(records);
        View v(w);
        v.trigger("addre");
        v.text("Text2")->setText(QStringLiteral("typed"));
        env_->dialogs.answerMessage(yes ? Answer::Yes : Answer::No);
        v.trigger("undolast");
        const ShownBox box = env_->dialogs.last();
        QCOMPARE(box.text, QStringLiteral("Do you want to cancel the 'Add'"));
        QCOMPARE(box.title, QStringLiteral("Undo Add?"));
        QCOMPARE(box.buttons, Buttons::YesNo);
        QCOMPARE(box.icon, Icon::None);
        QCOMPARE(fileBytes(), bytesOf(records));
        if (yes) {
            QVERIFY(!w->isAdding());
            QCOMPARE(w->Presrecord, 3);
            QCOMPARE(v.description(), QStringLiteral("record 3"));
            QCOMPARE(v.caption(), QStringLiteral("Record No.   3  0f   3"));
        } else {
            QVERIFY(w->isAdding());
            QCOMPARE(w->Presrecord, 4);
            QCOMPARE(v.text("Text2")->text(), QStringLiteral("typed"));
            QCOMPARE(v.caption(), QStringLiteral("Adding Record Number  4"));
        }
    }

    void undoAddOnEmptyFile()
    {
        Quillary* w = openWith({});
        View v(w);
        v.text("Text2")->setText(QStringLiteral("typed"));
        env_->dialogs.answerMessage(Answer::Yes).answerMessage(Answer::Ok);
        v.trigger("undolast");
        QCOMPARE(env_->dialogs.last().text, kNoRecords);
        QVERIFY(w->isAdding());
        QCOMPARE(w->Presrecord, 1);
        QCOMPARE(v.text("Text2")->text(), QString());
        QCOMPARE(v.caption(), QStringLiteral("Adding Record Number  1"));
    }

    // Without an add, Undo shows the stored record again.
    void undoEdits()
    {
        const std::vector<TaxRecord> records = formRecords(3);
        Quillary* w = openWith(records);
        View v(w);
        v.moveTo(2);
        const QString amount = v.text("Text6")->text();
        v.text("Text2")->setText(QStringLiteral("changed"));
        v.text("Text6")->setText(QStringLiteral("999"));
        QVERIFY(toggleOption(v.option("Option1"))); // record 2 is Business
        v.trigger("undolast");
        QVERIFY(env_->dialogs.shown().isEmpty());
        QCOMPARE(v.description(), QStringLiteral("record 2"));
        QCOMPARE(v.text("Text6")->text(), amount);
        QVERIFY(v.option("Option2")->isChecked());
        QCOMPARE(w->Presrecord, 2);
        QCOMPARE(fileBytes(), bytesOf(records));
    }

    // --- Add --------------------------------------------------------------

    // The second Add writes the first new record before it starts the next.
    void addTwice()
    {
        const std::vector<TaxRecord> records = formRecords(3); // record 3 is kind "3"
        Quillary* w = openWith(records);
        View v(w);
        v.moveTo(2); // kind "2": Business, Expense
        v.button("Command3")->click();
        QVERIFY(w->isAdding());
        QCOMPARE(w->Presrecord, 4);
        QCOMPARE(v.caption(), QStringLiteral("Adding Record Number  4"));
        QCOMPARE(v.text("Text1")->text(), kToday);
        for (const char* name : {"Text6", "Text3", "Text5", "Text2"})
            QCOMPARE(v.text(name)->text(), QString());
        QCOMPARE(v.combo("Paymethod")->currentText(), QString());
        // The kind stays as it was; the type list is that kind's.
        QVERIFY(v.option("Option2")->isChecked());
        QVERIFY(v.option("Option3")->isChecked());
        QCOMPARE(v.combo("Expense")->currentText(), QStringLiteral("Supplies"));
        QCOMPARE(v.button("Command5")->isEnabled(), false);

        v.text("Text2")->setText(QStringLiteral("first new"));
        v.text("Text6")->setText(QStringLiteral("10.50"));
        v.button("Command3")->click();
        QVERIFY(w->isAdding());
        QCOMPARE(w->Lastrecord, 4);
        QCOMPARE(w->Presrecord, 5);
        QCOMPARE(v.caption(), QStringLiteral("Adding Record Number  5"));
        QCOMPARE(v.text("Text2")->text(), QString());
        const TaxRecord written = makeRecord('2', kToday, QStringLiteral("10.5"), QString(),
                                             QString(), QStringLiteral("Supplies"), QString(),
                                             QStringLiteral("first new"));
        std::vector<TaxRecord> expected = records;
        expected.push_back(written);
        QCOMPARE(fileBytes(), bytesOf(expected));
        QVERIFY(env_->dialogs.shown().isEmpty());
    }

    // A file holding 32,767 records takes no further record; nothing is
    // written beyond it, also when an add is pending at the limit.
    void addRefusedWhenFull_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("full") << kMaxRecords;
        QTest::newRow("one place left, two adds") << kMaxRecords - 1;
    }
    void addRefusedWhenFull()
    {
        QFETCH(int, count);
        QByteArray bytes;
        bytes.reserve(qsizetype(kMaxRecords) * kRecordLength);
        const TaxRecord one = formRecord(7);
        for (int i = 0; i < count; ++i)
            bytes += one.bytes();
        writeBytes(file_, bytes);
        Quillary* w = env_->open(file_);
        View v(w);
        QCOMPARE(w->Lastrecord, count);
        if (count < kMaxRecords) {
            v.button("Command3")->click();
            QCOMPARE(w->Presrecord, kMaxRecords);
            v.text("Text2")->setText(QStringLiteral("the last one"));
            v.text("Text6")->setText(QStringLiteral("1"));
            bytes += makeRecord('0', kToday, QStringLiteral("1"), QString(), QString(),
                                QStringLiteral("Other"), QString(),
                                QStringLiteral("the last one"))
                         .bytes();
        }
        env_->dialogs.answerMessage(Answer::Ok);
        v.button("Command3")->click();
        const ShownBox box = env_->dialogs.last();
        QCOMPARE(box.title, QStringLiteral("Too many records"));
        QCOMPARE(box.icon, Icon::Exclamation);
        QCOMPARE(box.text, QStringLiteral("This file already holds 32,767 records, the most a "
                                          "data file can hold. No record can be added; start a "
                                          "new file for further records."));
        QVERIFY(!w->isAdding());
        QCOMPARE(w->Lastrecord, kMaxRecords);
        QCOMPARE(w->Presrecord, kMaxRecords);
        QCOMPARE(v.caption(), QStringLiteral("Record No.   32767  0f   32767"));
        QCOMPARE(QFileInfo(file_).size(), qint64(kMaxRecords) * kRecordLength);
        QVERIFY(fileBytes() == bytes);
    }

    // --- Sorts ------------------------------------------------------------

    // A pending add is written first and sorted with the others; the form
    // then shows whatever record stands at its position.
    void sortWithPendingAdd_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("by date") << QStringLiteral("sortdate");
        QTest::newRow("by type") << QStringLiteral("sorttype");
    }
    void sortWithPendingAdd()
    {
        QFETCH(QString, action);
        const std::vector<TaxRecord> records = {
            formRecord(1, '3', QDate(2024, 5, 1)), formRecord(2, '0', QDate(2024, 2, 1)),
            formRecord(3, '2', QDate(2024, 4, 1)), formRecord(4, '0', QDate(2023, 12, 24)),
            formRecord(5, '1', QDate(2024, 2, 1))};
        Quillary* w = openWith(records);
        View v(w);
        v.moveTo(2);
        v.button("Command3")->click();
        QVERIFY(toggleOption(v.option("Option2"))); // Business
        v.text("Text1")->setText(QStringLiteral("1/2/2020"));
        v.text("Text6")->setText(QStringLiteral("7"));
        v.text("Text2")->setText(QStringLiteral("added"));
        v.trigger(qPrintable(action));

        std::vector<TaxRecord> expected = records;
        expected.push_back(makeRecord('2', QStringLiteral("1/2/2020"), QStringLiteral("7"),
                                      QString(), QString(), QStringLiteral("Supplies"), QString(),
                                      QStringLiteral("added")));
        if (action == QLatin1String("sortdate"))
            sortByDate(expected);
        else
            sortByType(expected);
        QCOMPARE(fileBytes(), bytesOf(expected));
        QVERIFY(!w->isAdding());
        QCOMPARE(w->Lastrecord, 6);
        QCOMPARE(w->Presrecord, 6);
        QCOMPARE(v.caption(), QStringLiteral("Record No.   6  0f   6"));
        QCOMPARE(v.text("Text2")->text(), expected[5].field(Field::Description));
        QCOMPARE(v.text("Text1")->text(), expected[5].field(Field::Date));
        QVERIFY(env_->dialogs.shown().isEmpty());

        // The number on the form stays; the record shown is the one now
        // standing there.
        v.moveTo(3);
        v.trigger(action == QLatin1String("sortdate") ? "sorttype" : "sortdate");
        std::vector<TaxRecord> again = expected;
        if (action == QLatin1String("sortdate"))
            sortByType(again);
        else
            sortByDate(again);
        QCOMPARE(fileBytes(), bytesOf(again));
        QCOMPARE(w->Presrecord, 3);
        QCOMPARE(v.text("Text2")->text(), again[2].field(Field::Description));
    }

    // One record: it is saved, nothing is reordered.
    void sortSingleRecord()
    {
        Quillary* w = openWith({});
        View v(w);
        v.text("Text2")->setText(QStringLiteral("only"));
        v.text("Text6")->setText(QStringLiteral("3"));
        v.trigger("sorttype");
        QCOMPARE(w->Lastrecord, 1);
        QVERIFY(!w->isAdding());
        QCOMPARE(fileBytes(), makeRecord('0', kToday, QStringLiteral("3"), QString(), QString(),
                                         QStringLiteral("Other"), QString(),
                                         QStringLiteral("only"))
                                  .bytes());
        QCOMPARE(v.caption(), QStringLiteral("Record No.   1  0f   1"));
    }

    void sortWhenRewriteFails_data()
    {
        QTest::addColumn<int>("writesBeforeFull"); // the save step's write goes through
        QTest::newRow("rewrite fails") << 1;
        QTest::newRow("save step fails first") << 0;
    }
    void sortWhenRewriteFails()
    {
        QFETCH(int, writesBeforeFull);
        const std::vector<TaxRecord> records = {formRecord(1, '0', QDate(2024, 5, 1)),
                                                formRecord(2, '0', QDate(2024, 1, 1))};
        Quillary* w = openWith(records);
        View v(w);
        int writes = 0;
        env_->files.setFaultInjector(
            [&writes, writesBeforeFull](const QString&) { return ++writes > writesBeforeFull; });
        env_->dialogs.answerMessage(Answer::Ok);
        v.trigger("sortdate");
        QCOMPARE(env_->dialogs.shown().size(), 1);
        const ShownBox box = env_->dialogs.last();
        if (writesBeforeFull == 0) {
            // The record on display could not be saved: no sort.
            QVERIFY(box.text.startsWith(QStringLiteral("The most recent change record failed")));
        } else {
            QCOMPARE(box.title, QStringLiteral("Sort failed"));
            QCOMPARE(box.text, QStringLiteral("The records could not be sorted: No space left "
                                              "on device\n\nThe data file has not been "
                                              "changed."));
        }
        QCOMPARE(fileBytes(), bytesOf(records));
        QCOMPARE(w->Lastrecord, 2);
        QCOMPARE(v.description(), QStringLiteral("record 2"));
    }

    // --- Search -----------------------------------------------------------

    void search_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QList<int>>("matches"); // records shown, in order
        QTest::addColumn<int>("stopAt");         // the match answered No, -1 for none
        QTest::addColumn<QString>("endTitle");   // empty when stopped
        QTest::addColumn<QString>("endText");
        const QString further = QStringLiteral("No Further Records Found.");
        const QString none = QStringLiteral("No Records Found.");
        QTest::newRow("stop on No") << "rent" << QList<int>{7, 9} << 0 << QString() << QString();
        QTest::newRow("to the end, trailing blank")
            << "Rent " << QList<int>{7, 9} << -1 << further
            << "No further records found containing the Text 'Rent'";
        QTest::newRow("capitals") << "PAID THE" << QList<int>{7} << -1 << further
                                  << "No further records found containing the Text 'PAID THE'";
        QTest::newRow("stop on the second") << "INV-1" << QList<int>{1, 10} << 1 << QString()
                                            << QString();
        QTest::newRow("no match") << "  zebra " << QList<int>{} << -1 << none
                                  << "No records found containing the Text 'zebra'";
        QTest::newRow("blanks only") << "   " << QList<int>{1} << 0 << QString() << QString();
        QTest::newRow("31 characters")
            << "Paid the RENT on the 1st of May" << QList<int>{} << -1 << none
            << "No records found containing the Text 'Paid the RENT on the 1st of May'";
    }
    void search()
    {
        QFETCH(QString, search);
        QFETCH(QList<int>, matches);
        QFETCH(int, stopAt);
        QFETCH(QString, endTitle);
        QFETCH(QString, endText);
        std::vector<TaxRecord> records = formRecords(10);
        records[6].setField(Field::Description, QStringLiteral("Paid the RENT"));
        records[8].setField(Field::Party, QStringLiteral("rent office"));
        Quillary* w = openWith(records);
        View v(w);
        v.moveTo(4);

        env_->dialogs.answerInput(search);
        for (int i = 0; i < matches.size() && (stopAt < 0 || i <= stopAt); ++i)
            env_->dialogs.answerMessage(i == stopAt ? Answer::No : Answer::Yes);
        if (!endTitle.isEmpty())
            env_->dialogs.answerMessage(Answer::Ok);
        v.trigger("srch");

        const QList<ShownBox> shown = env_->dialogs.shown();
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown[0].kind, ShownBox::Kind::Input);
        QCOMPARE(shown[0].text, QStringLiteral("Enter a Text for which to search."));
        QCOMPARE(shown[0].title, QStringLiteral("Enter Text for search"));
        const int asked = stopAt < 0 ? int(matches.size()) : stopAt + 1;
        QCOMPARE(shown.size(), 1 + asked + (endTitle.isEmpty() ? 0 : 1));
        for (int i = 0; i < asked; ++i) {
            const ShownBox& box = shown[1 + i];
            QCOMPARE(box.text, foundText(matches[i], search));
            QCOMPARE(box.title, QStringLiteral("Record found,  search next?"));
            QCOMPARE(box.buttons, Buttons::YesNo);
            QCOMPARE(box.icon, Icon::None);
        }
        if (!endTitle.isEmpty()) {
            QCOMPARE(shown.last().title, endTitle);
            QCOMPARE(shown.last().text, endText);
            QCOMPARE(shown.last().buttons, Buttons::Ok);
            QCOMPARE(shown.last().icon, Icon::None);
        }
        // The last record found stays on display; without one, the record
        // the search started from.
        const int shownAfter = asked > 0 ? matches[asked - 1] : 4;
        QCOMPARE(w->Presrecord, shownAfter);
        QCOMPARE(v.text("Text2")->text(), records[shownAfter - 1].field(Field::Description));
        QCOMPARE(fileBytes(), bytesOf(records));
    }

    // The search saves first; an empty answer ends it there.
    void searchCancelled()
    {
        const std::vector<TaxRecord> records = formRecords(2);
        Quillary* w = openWith(records);
        View v(w);
        v.button("Command3")->click();
        v.text("Text2")->setText(QStringLiteral("saved first"));
        v.text("Text6")->setText(QStringLiteral("1"));
        env_->dialogs.answerInput(QString());
        v.trigger("srch");
        QCOMPARE(env_->dialogs.shown().size(), 1);
        QVERIFY(!w->isAdding());
        QCOMPARE(w->Lastrecord, 3);
        QCOMPARE(w->Presrecord, 3);
        QCOMPARE(fileBytes().size(), 3 * kRecordLength);
    }

    // An empty file: the blank new record is not saved, and a new add starts
    // (its own save step meets the blank record again).
    void searchEmptyFile()
    {
        Quillary* w = openWith({});
        View v(w);
        env_->dialogs.answerMessage(Answer::Ok).answerMessage(Answer::Ok).answerMessage(Answer::Ok);
        v.trigger("srch");
        const QList<ShownBox> shown = env_->dialogs.shown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[0].text, kBlank);
        QCOMPARE(shown[1].text, kNoRecords);
        QCOMPARE(shown[1].title, QStringLiteral("Quillary2"));
        QCOMPARE(shown[1].buttons, Buttons::Ok);
        QCOMPARE(shown[1].icon, Icon::None);
        QCOMPARE(shown[2].text, kBlank);
        QVERIFY(w->isAdding());
        QCOMPARE(w->Presrecord, 1);
        QCOMPARE(v.caption(), QStringLiteral("Adding Record Number  1"));
        QCOMPARE(fileBytes(), QByteArray());
    }

    // An empty file with a new record filled in: it is written, then found.
    void searchEmptyFileWithAdd()
    {
        Quillary* w = openWith({});
        View v(w);
        v.text("Text2")->setText(QStringLiteral("Roof repair"));
        v.text("Text6")->setText(QStringLiteral("800"));
        env_->dialogs.answerInput(QStringLiteral("roof")).answerMessage(Answer::Yes).answerMessage(Answer::Ok);
        v.trigger("srch");
        const QList<ShownBox> shown = env_->dialogs.shown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[1].text, foundText(1, QStringLiteral("roof")));
        QCOMPARE(shown[2].title, QStringLiteral("No Further Records Found."));
        QCOMPARE(shown[2].text, QStringLiteral("No further records found containing the Text 'roof'"));
        QCOMPARE(w->Lastrecord, 1);
        QCOMPARE(w->Presrecord, 1);
        QCOMPARE(v.caption(), QStringLiteral("Record No.   1  0f   1"));
    }
};

QUILLARY_TEST_MAIN(TestMaintenanceForm)
#include "tst_maintenance_form.moc"
