// What the record window does when a write cannot be done: a full disk, a
// write that fails, and a data file that another program removed or
// replaced while the window had it open. Nothing the user has is lost, and
// the user is told why.

#include "recordfixture.h"

#include "platform/localeservices.h"
#include "records/categories.h"
#include "support/ordinaryuser.h"
#include "support/smalldisk.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>

#include <cstdio>

using namespace quillary;
using namespace quillary::test;

namespace {

const QString kNoSpace = QStringLiteral("No space left on device");
const QString kAddFailed = QStringLiteral("The most recent 'Add' record failed");
const QString kChangeFailed = QStringLiteral("The most recent change record failed");

// Records as the form writes them, newest first and in falling kind order,
// so that both sorts move them.
std::vector<TaxRecord> formRecords(int n)
{
    std::vector<TaxRecord> out;
    for (int i = 1; i <= n; ++i) {
        const char kind = char('3' - i % 4);
        const QStringList& types = typeList(*kindFromCode(kind));
        out.push_back(makeRecord(kind, shortDate(QDate(2024, 12, 31).addDays(-i)),
                                 QStringLiteral("%1.5").arg(i), QStringLiteral("N%1").arg(i),
                                 QStringLiteral("Cash"), types[i % types.size()],
                                 QStringLiteral("Party %1").arg(i),
                                 QStringLiteral("record %1").arg(i)));
    }
    return out;
}

struct View {
    explicit View(Quillary* w)
        : w(w)
    {
    }
    Quillary* w;
    QLineEdit* text(const char* name) const { return find<QLineEdit>(w, name); }
    QPushButton* button(const char* name) const { return find<QPushButton>(w, name); }
    QString caption() const { return find<QLabel>(w, "Label9")->text(); }
    QString description() const { return trimBlanks(text("Text2")->text()); }
    void trigger(const char* name) const
    {
        QAction* a = w->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(a, name);
        a->trigger();
    }
};

// Puts another file in the place of path, the way a program that saves
// through a new file and a rename does.
void replaceBehindTheWindow(const QString& path, const QByteArray& contents)
{
    const QString fresh = path + QStringLiteral(".new");
    writeBytes(fresh, contents);
    QVERIFY(std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData())
            == 0);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class TestDataSafety : public QObject {
    Q_OBJECT

    std::unique_ptr<PinnedDay> pinned_;
    std::unique_ptr<RecordEnv> env_;

    Quillary* openOn(const QString& path, const std::vector<TaxRecord>& records)
    {
        writeBytes(path, bytesOf(records));
        Quillary* w = env_->open(path);
        env_->dialogs.clearShown();
        return w;
    }

private slots:
    void initTestCase() { pinned_ = std::make_unique<PinnedDay>(QDate(2024, 3, 14)); }
    void cleanupTestCase() { pinned_.reset(); }
    void init() { env_ = std::make_unique<RecordEnv>(); }
    void cleanup()
    {
        auto env = std::move(env_);
        QUILLARY_VERIFY_DIALOGS(env->dialogs);
    }

    // --- A real full disk ---------------------------------------------------

    // Delete, both sorts and Save As on a disk without one free byte: each
    // either does all of its work or none of it, and says why.
    void fullDiskWholeFileCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("title"); // of the box shown; empty when it went through
        for (int n : {1, 63, 130}) {
            const QByteArray size = QByteArray::number(n);
            // Deleting the only record leaves an empty file, which needs no
            // space: that delete goes through.
            QTest::newRow("delete, " + size)
                << "Command4" << n << (n == 1 ? QString() : QStringLiteral("Delete failed"));
            // One record is never sorted, so nothing is written.
            QTest::newRow("sort by date, " + size)
                << "sortdate" << n << (n == 1 ? QString() : QStringLiteral("Sort failed"));
            QTest::newRow("sort by type, " + size)
                << "sorttype" << n << (n == 1 ? QString() : QStringLiteral("Sort failed"));
            QTest::newRow("save as, " + size) << "safil" << n << QStringLiteral("Save File as");
        }
    }
    void fullDiskWholeFileCommands()
    {
        QFETCH(QString, command);
        QFETCH(int, records);
        QFETCH(QString, title);
        SmallDisk disk;
        QUILLARY_REQUIRE_SMALL_DISK(disk);
        const QString file = disk.filePath(QStringLiteral("tax.dat"));
        const std::vector<TaxRecord> old = formRecords(records);
        Quillary* w = openOn(file, old);
        View v(w);
        QVERIFY(disk.fill());
        const QStringList before = filesIn(disk.path());

        const QString copy = disk.filePath(QStringLiteral("copy.dat"));
        if (command == QLatin1String("safil"))
            env_->dialogs.answerSaveFile(copy).answerMessage(Answer::Ok).answerMessage(Answer::Ok);
        else if (!title.isEmpty())
            env_->dialogs.answerMessage(Answer::Ok);
        if (command == QLatin1String("Command4") && records == 1)
            env_->dialogs.answerMessage(Answer::Ok); // "No records, one will now be added."
        if (command == QLatin1String("Command4"))
            v.button("Command4")->click();
        else
            v.trigger(command.toLatin1().constData());

        if (title.isEmpty()) {
            if (command == QLatin1String("Command4")) {
                QCOMPARE(fileContents(file), QByteArray());
                QCOMPARE(w->Lastrecord, 0);
            } else {
                QCOMPARE(fileContents(file), bytesOf(old));
            }
            return;
        }
        const QList<ShownBox>& shown = env_->dialogs.shown();
        const auto failure = std::find_if(shown.begin(), shown.end(), [&](const ShownBox& box) {
            return box.kind == ShownBox::Kind::Message && box.title == title;
        });
        QVERIFY2(failure != shown.end(), qPrintable(env_->dialogs.last().text));
        QVERIFY2(failure->text.contains(kNoSpace), qPrintable(failure->text));
        QCOMPARE(failure->icon, Icon::Exclamation);
        if (command == QLatin1String("safil"))
            QCOMPARE(env_->dialogs.last().text, QStringLiteral("Save File Cancelled"));
        QCOMPARE(fileContents(file), bytesOf(old));
        QCOMPARE(w->Lastrecord, records);
        QCOMPARE(w->presfile, file);
        QVERIFY(w->dataFile().isOpen());
        QCOMPARE(filesIn(disk.path()), before); // no temporary file, no copy

        // With room again, the window goes on with all of its records.
        disk.release();
        v.button("Command7")->click();
        QCOMPARE(w->Presrecord, 1);
        QCOMPARE(v.description(), QStringLiteral("record 1"));
    }

    // A new record that does not fit stays on the form, pending, and the
    // file keeps its length: no fragment of it is left at the end.
    void fullDiskAddKeepsTheTyping()
    {
        SmallDisk disk;
        QUILLARY_REQUIRE_SMALL_DISK(disk);
        const QString file = disk.filePath(QStringLiteral("tax.dat"));
        const std::vector<TaxRecord> old = formRecords(63); // 8,190 bytes
        Quillary* w = openOn(file, old);
        View v(w);
        QVERIFY(disk.fill());

        v.button("Command3")->click();
        v.text("Text2")->setText(QStringLiteral("new printer"));
        v.text("Text6")->setText(QStringLiteral("249.99"));
        env_->dialogs.answerMessage(Answer::Ok);
        v.button("Command3")->click(); // Add again: saves the pending record first

        const ShownBox box = env_->dialogs.last();
        QVERIFY2(box.text.startsWith(kAddFailed + QStringLiteral("\n\n")), qPrintable(box.text));
        QVERIFY2(box.text.contains(kNoSpace), qPrintable(box.text));
        QCOMPARE(fileContents(file), bytesOf(old));
        QVERIFY(w->isAdding());
        QCOMPARE(w->Lastrecord, 63);
        QCOMPARE(w->Presrecord, 64);
        QCOMPARE(v.caption(), QStringLiteral("Adding Record Number  64"));
        QCOMPARE(v.text("Text2")->text(), QStringLiteral("new printer"));
        QCOMPARE(v.text("Text6")->text(), QStringLiteral("249.99"));

        // A move is refused the same way.
        env_->dialogs.answerMessage(Answer::Ok);
        v.button("Command7")->click();
        QCOMPARE(w->Presrecord, 64);
        QCOMPARE(fileContents(file).size(), 63 * kRecordLength);

        // Room again: the same move writes the record and goes on.
        disk.release();
        v.button("Command7")->click();
        QCOMPARE(w->Lastrecord, 64);
        QCOMPARE(w->Presrecord, 1);
        QCOMPARE(fileContents(file).size(), 64 * kRecordLength);
        TaxRecord added;
        QVERIFY(w->dataFile().read(64, added));
        QCOMPARE(trimBlanks(added.field(Field::Description)), QStringLiteral("new printer"));
        QCOMPARE(trimBlanks(added.field(Field::Amount)), QStringLiteral("249.99"));
    }

    // Save File As is the way out of a full disk: the records and the
    // record that could not be written go into the new file.
    void saveAsElsewhereTakesThePendingRecord()
    {
        SmallDisk disk;
        QUILLARY_REQUIRE_SMALL_DISK(disk);
        const QString file = disk.filePath(QStringLiteral("tax.dat"));
        const std::vector<TaxRecord> old = formRecords(63);
        Quillary* w = openOn(file, old);
        View v(w);
        QVERIFY(disk.fill());
        v.button("Command3")->click();
        v.text("Text2")->setText(QStringLiteral("kept"));
        v.text("Text6")->setText(QStringLiteral("12"));

        const QString elsewhere = env_->path(QStringLiteral("elsewhere.dat"));
        env_->dialogs.answerMessage(Answer::Ok).answerSaveFile(elsewhere);
        v.trigger("safil");
        QVERIFY(env_->dialogs.shown().first().text.startsWith(kAddFailed));
        QCOMPARE(env_->dialogs.shown().size(), 2);
        QCOMPARE(w->presfile, elsewhere);
        QVERIFY(!w->isAdding());
        QCOMPARE(w->Lastrecord, 64);
        QCOMPARE(fileContents(elsewhere).left(63 * kRecordLength), bytesOf(old));
        QCOMPARE(fileContents(elsewhere).size(), 64 * kRecordLength);
        QCOMPARE(fileContents(file), bytesOf(old));
    }

    // --- Failed writes elsewhere ---------------------------------------------

    // An edited record that cannot be written: the move that asked for the
    // save does not happen, whichever way the user moves.
    void failedSaveStopsTheMove_data()
    {
        QTest::addColumn<QString>("move");
        QTest::newRow("First") << "Command7";
        QTest::newRow("Previous") << "Command6";
        QTest::newRow("scroll bar") << "HScroll1";
        QTest::newRow("Show Totals") << "Command1";
        QTest::newRow("Add") << "Command3";
        QTest::newRow("Search") << "srch";
        QTest::newRow("New File") << "nefil";
        QTest::newRow("Open File") << "opfil";
    }
    void failedSaveStopsTheMove()
    {
        QFETCH(QString, move);
        const QString file = env_->path(QStringLiteral("tax.dat"));
        const std::vector<TaxRecord> old = formRecords(5);
        Quillary* w = openOn(file, old);
        View v(w);
        v.text("Text2")->setText(QStringLiteral("edited"));
        env_->files.setFaultInjector([](const QString&) { return true; });
        env_->dialogs.answerMessage(Answer::Ok);
        if (move == QLatin1String("HScroll1"))
            find<QScrollBar>(w, "HScroll1")->setValue(2);
        else if (move.startsWith(QLatin1String("Command")))
            v.button(move.toLatin1().constData())->click();
        else
            v.trigger(move.toLatin1().constData());
        QCOMPARE(env_->dialogs.shown().size(), 1);
        QVERIFY(env_->dialogs.last().text.startsWith(kChangeFailed + QStringLiteral("\n\n")));
        QCOMPARE(w->Presrecord, 5);
        QVERIFY(!w->isAdding());
        QCOMPARE(v.caption(), QStringLiteral("Record No.   5  0f   5"));
        QCOMPARE(find<QScrollBar>(w, "HScroll1")->value(), 5);
        QCOMPARE(v.description(), QStringLiteral("edited"));
        QCOMPARE(fileContents(file), bytesOf(old));
    }

    // Closing or quitting would lose the record the save step could not
    // write: the user is asked first.
    void closingWithAnUnsavedRecord_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("loseIt");
        QTest::newRow("close box, keep") << "close" << false;
        QTest::newRow("close box, lose") << "close" << true;
        QTest::newRow("Close and Save File, keep") << "clfil" << false;
        QTest::newRow("Close and Save File, lose") << "clfil" << true;
        QTest::newRow("Quit, keep") << "Command9" << false;
        QTest::newRow("Quit, lose") << "Command9" << true;
    }
    void closingWithAnUnsavedRecord()
    {
        QFETCH(QString, how);
        QFETCH(bool, loseIt);
        const QString file = env_->path(QStringLiteral("tax.dat"));
        Quillary* w = openOn(file, formRecords(2));
        QPointer<QMdiSubWindow> sub = w->subWindow();
        View v(w);
        bool ended = false;
        QObject::connect(&env_->windows, &RecordWindows::endProgramRequested,
                         [&ended] { ended = true; });
        v.text("Text2")->setText(QStringLiteral("edited"));
        env_->files.setFaultInjector([](const QString&) { return true; });
        env_->dialogs.answerMessage(Answer::Ok).answerMessage(loseIt ? Answer::Ok : Answer::Cancel);
        if (how == QLatin1String("close"))
            sub->close();
        else if (how == QLatin1String("clfil"))
            v.trigger("clfil");
        else
            v.button("Command9")->click();
        QCoreApplication::processEvents();
        const ShownBox question = env_->dialogs.last();
        QCOMPARE(question.buttons, Buttons::OkCancel);
        QVERIFY2(question.text.startsWith(QStringLiteral("The record on display has not been saved. ")),
                 qPrintable(question.text));
        if (how == QLatin1String("Command9")) {
            QCOMPARE(ended, loseIt);
            return;
        }
        QCOMPARE(sub.isNull() || !sub->isVisible(), loseIt);
        if (!loseIt) {
            QCOMPARE(v.description(), QStringLiteral("edited"));
            env_->files.setFaultInjector({});
            sub->close(); // now it is saved on the way out
            QCoreApplication::processEvents();
            QVERIFY(fileContents(file).contains("edited"));
        }
    }

    // --- The file removed or replaced behind the window ------------------------

    // Nothing is written to the name: not the record on display, not a
    // rewrite. The user is told and may cancel; the window stays as it was.
    void fileGoneRefusesEveryWrite_data()
    {
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<QString>("command");
        for (bool replaced : {false, true}) {
            const QByteArray how = replaced ? "replaced, " : "removed, ";
            QTest::newRow(how + "delete") << replaced << "Command4";
            QTest::newRow(how + "sort by date") << replaced << "sortdate";
            QTest::newRow(how + "sort by type") << replaced << "sorttype";
            QTest::newRow(how + "edit and move") << replaced << "Command7";
            QTest::newRow(how + "add") << replaced << "Command3";
        }
    }
    void fileGoneRefusesEveryWrite()
    {
        QFETCH(bool, replaced);
        QFETCH(QString, command);
        const QString file = env_->path(QStringLiteral("tax.dat"));
        Quillary* w = openOn(file, formRecords(4));
        View v(w);
        v.text("Text2")->setText(QStringLiteral("edited"));
        const QByteArray theirs = bytesOf(formRecords(7));
        if (replaced)
            replaceBehindTheWindow(file, theirs);
        else
            QVERIFY(QFile::remove(file));

        env_->dialogs.answerChoice(replaced ? 2 : 1); // Cancel
        if (command.startsWith(QLatin1String("Command")))
            v.button(command.toLatin1().constData())->click();
        else
            v.trigger(command.toLatin1().constData());

        QCOMPARE(env_->dialogs.shown().size(), 1);
        const ShownBox box = env_->dialogs.last();
        QCOMPARE(box.kind, ShownBox::Kind::Choice);
        QCOMPARE(box.icon, Icon::Exclamation);
        QVERIFY(box.text.contains(file));
        if (replaced) {
            QCOMPARE(box.title, QStringLiteral("File replaced"));
            QVERIFY(box.text.contains(QStringLiteral("replaced by another program")));
            QCOMPARE(box.choices, (QStringList{QStringLiteral("Save As..."),
                                               QStringLiteral("Reopen"), QStringLiteral("Cancel")}));
            QCOMPARE(fileContents(file), theirs);
        } else {
            QCOMPARE(box.title, QStringLiteral("File removed"));
            QVERIFY(box.text.contains(QStringLiteral("removed by another program")));
            QVERIFY(!QFileInfo::exists(file));
        }
        QCOMPARE(w->Lastrecord, 4);
        QCOMPARE(w->Presrecord, 4);
        QVERIFY(!w->isAdding());
        QCOMPARE(v.description(), QStringLiteral("edited"));
    }

    // "Reopen" shows the file as it is now.
    void reopenTheReplacement()
    {
        const QString file = env_->path(QStringLiteral("tax.dat"));
        Quillary* w = openOn(file, formRecords(4));
        View v(w);
        v.text("Text2")->setText(QStringLiteral("edited"));
        const QByteArray theirs = bytesOf(formRecords(2));
        replaceBehindTheWindow(file, theirs);
        env_->dialogs.answerChoice(1); // Reopen
        v.button("Command6")->click();
        QCOMPARE(w->Lastrecord, 2);
        QCOMPARE(w->Presrecord, 2);
        QCOMPARE(v.description(), QStringLiteral("record 2"));
        QCOMPARE(v.caption(), QStringLiteral("Record No.   2  0f   2"));
        // Writes go to the new file from now on.
        v.text("Text2")->setText(QStringLiteral("theirs, edited"));
        v.button("Command7")->click();
        QVERIFY(fileContents(file).contains("theirs, edited"));
    }

    // "Save As..." keeps the window's records, with the record on the form,
    // under the name the user gives; the old name does, for a removed file.
    void saveTheRecordsOfAGoneFile_data()
    {
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<bool>("sameName");
        QTest::newRow("replaced, another name") << true << false;
        QTest::newRow("removed, another name") << false << false;
        QTest::newRow("removed, its old name") << false << true;
    }
    void saveTheRecordsOfAGoneFile()
    {
        QFETCH(bool, replaced);
        QFETCH(bool, sameName);
        const QString file = env_->path(QStringLiteral("tax.dat"));
        const std::vector<TaxRecord> ours = formRecords(4);
        Quillary* w = openOn(file, ours);
        View v(w);
        v.text("Text2")->setText(QStringLiteral("edited"));
        const QByteArray theirs = bytesOf(formRecords(7));
        if (replaced)
            replaceBehindTheWindow(file, theirs);
        else
            QVERIFY(QFile::remove(file));

        const QString target = sameName ? file : env_->path(QStringLiteral("rescued.dat"));
        env_->dialogs.answerChoice(0).answerSaveFile(target);
        v.button("Command7")->click();
        QCOMPARE(w->presfile, target);
        QCOMPARE(w->windowTitle(), target);
        std::vector<TaxRecord> expected = ours;
        expected[3].setField(Field::Description, QStringLiteral("edited"));
        QCOMPARE(fileContents(target), bytesOf(expected));
        if (replaced)
            QCOMPARE(fileContents(file), theirs);
        // The window works on the saved file now; the move was not made.
        QCOMPARE(w->Presrecord, 4);
        v.button("Command7")->click();
        QCOMPARE(w->Presrecord, 1);
        v.trigger("sortdate");
        QCOMPARE(fileContents(target).size(), 4 * kRecordLength);
        QCOMPARE(env_->dialogs.shown().size(), 2);
    }

    // Coming back to the window tells the user at once, and only once.
    void activationTellsOnce()
    {
        const QString a = env_->path(QStringLiteral("a.dat"));
        const QString b = env_->path(QStringLiteral("b.dat"));
        Quillary* A = openOn(a, formRecords(3));
        Quillary* B = openOn(b, formRecords(2));
        QVERIFY(QFile::remove(a));
        env_->dialogs.answerChoice(1);
        env_->area.setActiveSubWindow(A->subWindow());
        QCoreApplication::processEvents();
        QCOMPARE(env_->dialogs.shown().size(), 1);
        QCOMPARE(env_->dialogs.last().title, QStringLiteral("File removed"));
        env_->area.setActiveSubWindow(B->subWindow());
        env_->area.setActiveSubWindow(A->subWindow());
        QCoreApplication::processEvents();
        QCOMPARE(env_->dialogs.shown().size(), 1);

        // A change of the file that the window still has no word for.
        replaceBehindTheWindow(a, bytesOf(formRecords(1)));
        env_->dialogs.answerChoice(2);
        env_->area.setActiveSubWindow(B->subWindow());
        env_->area.setActiveSubWindow(A->subWindow());
        QCoreApplication::processEvents();
        QCOMPARE(env_->dialogs.shown().size(), 2);
        QCOMPARE(env_->dialogs.last().title, QStringLiteral("File replaced"));
    }
};

QUILLARY_ORDINARY_USER_TEST_MAIN(TestDataSafety)
#include "tst_datasafety.moc"
