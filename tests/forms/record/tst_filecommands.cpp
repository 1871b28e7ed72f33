#include "filecommands_fixture.h"

#include <sys/stat.h>

using namespace quillary;
using namespace quillary::test;

namespace {

ino_t inodeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

TaxRecord recordOf(const QString& path, int n)
{
    const std::vector<TaxRecord> records = decodeRecords(fileContents(path));
    return n >= 1 && n <= int(records.size()) ? records[n - 1] : TaxRecord();
}

QString descriptionOf(const QString& path, int n)
{
    return trimBlanks(recordOf(path, n).field(Field::Description));
}

QList<QAction*> menuActions(const QList<QMenu*>& menus)
{
    QList<QAction*> out;
    for (QMenu* m : menus)
        out << m->menuAction();
    return out;
}

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<PinnedDay> pinned_;

private slots:
    void initTestCase() { pinned_ = std::make_unique<PinnedDay>(QDate(2024, 6, 15)); }

    void cleanupTestCase() { pinned_.reset(); }

    // A record window's recent entry loads its second window on the entry's
    // file the first time, and afterwards only brings that window forward.
    void recentEntryOfRecordWindow()
    {
        Program p;
        const QString a = p.path("a.dat"), b = p.path("b.dat"), c = p.path("c.dat");
        writeRecords(a, 3);
        writeRecords(b, 2);
        writeRecords(c, 1);
        p.storeRecent({a, b, c});
        p.start();
        QCOMPARE(p.windows().size(), 1);
        Quillary* A = p.windows().first();
        QCOMPARE(Program::recentCaptions(fileMenuOf(A)), (QStringList{a, b, c}));

        box(A, "Text2")->setText("not saved by the entry");
        action(A, "mnuFileArray2")->trigger();
        QCOMPARE(p.windows().size(), 2);
        QPointer<Quillary> B = A->newtax;
        QVERIFY(B);
        QCOMPARE(B->presfile, b);
        QCOMPARE(p.active(), B.data());
        QCOMPARE(descriptionOf(a, 3), QStringLiteral("Item 3"));
        // B put its file first; A's own UpdateMenu then put A's file back on
        // top of the stored list and of the frame's copy.
        QCOMPARE(Program::recentCaptions(fileMenuOf(B)), (QStringList{b, a, c}));
        QCOMPARE(p.stored(), (QStringList{a, b, c, ""}));
        QCOMPARE(p.frameList(), (QStringList{a, b, c, ""}));

        p.activate(A);
        action(A, "mnuFileArray3")->trigger();
        QCOMPARE(p.windows().size(), 2);
        QCOMPARE(p.active(), B.data());
        QCOMPARE(B->presfile, b);
        QCOMPARE(p.state.filename, c);
        QCOMPARE(p.stored(), (QStringList{a, b, c, ""}));
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    void recentListKeepsEveryOpenedFile_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("files");
        QTest::addColumn<QStringList>("expected"); // a to d stored, f the new file
        QTest::newRow("New File, two files") << "nefil" << 2 << QStringList{"a", "f", "", ""};
        QTest::newRow("Open File, two files") << "opfil" << 2 << QStringList{"f", "a", "", ""};
        QTest::newRow("recent entry, two files") << "entry" << 2 << QStringList{"a", "f", "", ""};
        QTest::newRow("New File, five files") << "nefil" << 5 << QStringList{"a", "f", "b", "c"};
        QTest::newRow("Open File, five files") << "opfil" << 5 << QStringList{"f", "a", "b", "c"};
        QTest::newRow("recent entry, five files") << "entry" << 5 << QStringList{"a", "f", "b", "c"};
    }

    // A file opened from a record window stays on the list when the window's
    // own UpdateMenu runs after the new window's: every path once, and the
    // asking window's file first where it updates last.
    void recentListKeepsEveryOpenedFile()
    {
        QFETCH(QString, command);
        QFETCH(int, files);
        QFETCH(QStringList, expected);
        Program p;
        QMap<QString, QString> paths;
        for (const char* n : {"a", "b", "c", "d", "f"}) {
            paths[n] = p.path(QStringLiteral("%1.dat").arg(n));
            writeRecords(paths[n], 1);
        }
        p.storeRecent(files == 2 ? QStringList{paths["a"]}
                                 : QStringList{paths["a"], paths["b"], paths["c"], paths["d"]});
        p.start();
        Quillary* A = p.windows().first();

        p.dialogs.answerOpenFile(paths["f"]);
        action(A, command == "opfil" ? "opfil" : "nefil")->trigger();
        QVERIFY(A->newtax);
        QCOMPARE(A->newtax->presfile, paths["f"]);
        if (command == "entry") {
            // The new file now shows in the asking window's own menu; its
            // entry opens the file again once that window is closed.
            action(A->newtax, "clfil")->trigger();
            Program::settle();
            QVERIFY(!A->newtax);
            p.activate(A);
            const QStringList captions = Program::recentCaptions(fileMenuOf(A));
            const int k = int(captions.indexOf(paths["f"])) + 1;
            QVERIFY2(k >= 1, qPrintable(captions.join(", ")));
            action(A, qPrintable(QStringLiteral("mnuFileArray%1").arg(k)))->trigger();
            QVERIFY(A->newtax);
            QCOMPARE(A->newtax->presfile, paths["f"]);
        }

        QStringList want;
        for (const QString& n : expected)
            want << (n.isEmpty() ? QString() : paths[n]);
        QCOMPARE(p.stored(), want);
        QCOMPARE(p.frameList(), want);
        if (command != "opfil")
            QCOMPARE(Program::recentCaptions(fileMenuOf(A)), want.filter(QRegularExpression(".")));
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // With no record window left, the frame's entries open a window and move
    // the file to the top of the frame's list.
    void recentEntryOfFrame()
    {
        Program p;
        const QString a = p.path("a.dat"), b = p.path("b.dat");
        writeRecords(a, 3);
        writeRecords(b, 2);
        p.storeRecent({a, b});
        p.start();
        action(p.windows().first(), "clfil")->trigger();
        Program::settle();
        QVERIFY(p.windows().isEmpty());
        QCOMPARE(Program::recentCaptions(fileMenuOf(p.frame.get())), (QStringList{a, b}));

        action(p.frame.get(), "mnuFileArray2")->trigger();
        QCOMPARE(p.windows().size(), 1);
        QCOMPARE(p.windows().first()->presfile, b);
        QCOMPARE(Program::recentCaptions(fileMenuOf(p.frame.get())), (QStringList{b, a}));
        QCOMPARE(p.stored(), (QStringList{b, a, "", ""}));
        QCOMPARE(p.frameList(), (QStringList{b, a, "", ""}));
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // An entry no window can open, not even with the default file, gives
    // the frame's error box.
    void recentEntryOfFrameThatCannotBeOpened()
    {
        Program p;
        const QString a = p.path("a.dat");
        const QString gone = QStringLiteral("/proc/quillary/gone.dat");
        writeRecords(a, 1);
        p.storeRecent({a, gone});
        p.start();
        action(p.windows().first(), "clfil")->trigger();
        Program::settle();

        // Not even the default file can be made in this working folder.
        QDir::setCurrent(QStringLiteral("/proc"));
        p.dialogs.answerMessage(Answer::Ok).answerMessage(Answer::Ok).answerMessage(Answer::Ok);
        action(p.frame.get(), "mnuFileArray2")->trigger();
        QDir::setCurrent(p.dir.path());

        QVERIFY(p.windows().isEmpty());
        const ShownBox last = p.dialogs.last();
        QCOMPARE(last.text, QStringLiteral("Error encountered while trying to open file, please retry."));
        QCOMPARE(last.title, QStringLiteral("Text Editor"));
        QCOMPARE(last.icon, Icon::Exclamation);
        QCOMPARE(last.buttons, Buttons::Ok);
        QCOMPARE(p.dialogs.shown().first().title, QStringLiteral("No file"));
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // New File with the name of a missing file: a new window on a new,
    // empty file that starts an add.
    void newFileOnMissingFile()
    {
        Program p;
        const QString a = p.path("a.dat"), fresh = p.path("fresh.dat");
        writeRecords(a, 3);
        p.storeRecent({a});
        p.start();
        Quillary* A = p.windows().first();
        box(A, "Text2")->setText("saved first");

        p.dialogs.answerOpenFile(fresh).answerMessage(Answer::Ok);
        action(A, "nefil")->trigger();

        QCOMPARE(p.dialogs.shown().at(0).kind, ShownBox::Kind::OpenFile);
        QCOMPARE(p.dialogs.shown().at(0).title, QStringLiteral("New File"));
        QCOMPARE(p.dialogs.shown().at(1).text, QStringLiteral("No records, one will now be added."));
        QCOMPARE(descriptionOf(a, 3), QStringLiteral("saved first"));
        QCOMPARE(p.windows().size(), 2);
        Quillary* N = A->newtax;
        QVERIFY(N);
        QCOMPARE(p.active(), N);
        QCOMPARE(N->presfile, fresh);
        QCOMPARE(N->windowTitle(), fresh);
        QVERIFY(N->isAdding());
        QCOMPARE(N->findChild<QLabel*>("Label9")->text(), QStringLiteral("Adding Record Number  1"));
        QVERIFY(QFile::exists(fresh));
        QCOMPARE(QFileInfo(fresh).size(), 0);
        QCOMPARE(Program::recentCaptions(fileMenuOf(N)), (QStringList{fresh, a}));
        QCOMPARE(p.stored().first(), a);
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // The window New File opens sits cascaded from the first, and the frame
    // grows so both show whole.
    void newWindowIsCascadedInsideTheFrame()
    {
        Program p;
        const QString a = p.path("a.dat"), b = p.path("b.dat");
        writeRecords(a, 2);
        writeRecords(b, 2);
        p.storeRecent({a});
        p.start();
        Quillary* A = p.windows().first();
        p.dialogs.answerOpenFile(b);
        action(A, "nefil")->trigger();
        Quillary* B = A->newtax;
        QVERIFY(B);
        QCoreApplication::processEvents();
        const QPoint offset = B->subWindow()->pos() - A->subWindow()->pos();
        QVERIFY(offset.x() > 0 && offset.y() > 0);
        const QRect space(QPoint(), p.frame->mdiArea()->viewport()->size());
        QVERIFY(space.contains(A->subWindow()->geometry()));
        QVERIFY(space.contains(B->subWindow()->geometry()));
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    void secondNewOrOpen_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("title");
        QTest::newRow("New File") << "nefil" << "New File";
        QTest::newRow("Open File") << "opfil" << "Open File";
    }

    // While the window opened the first time is open, a second New or Open
    // only brings it forward; once it is closed, it is loaded again.
    void secondNewOrOpen()
    {
        QFETCH(QString, command);
        QFETCH(QString, title);
        const QByteArray name = command.toLatin1();
        Program p;
        const QString a = p.path("a.dat"), b = p.path("b.dat"), c = p.path("c.dat");
        writeRecords(a, 3);
        writeRecords(b, 2);
        writeRecords(c, 1);
        p.storeRecent({a});
        p.start();
        Quillary* A = p.windows().first();

        p.dialogs.answerOpenFile(b);
        action(A, name)->trigger();
        QCOMPARE(p.dialogs.last().title, title);
        QPointer<Quillary> B = A->newtax;
        QVERIFY(B);
        QCOMPARE(B->presfile, b);

        p.activate(A);
        p.dialogs.answerOpenFile(c);
        action(A, name)->trigger();
        QCOMPARE(p.windows().size(), 2);
        QCOMPARE(p.active(), B.data());
        QCOMPARE(B->presfile, b);
        QCOMPARE(p.state.filename, c);

        action(B, "clfil")->trigger();
        Program::settle();
        QVERIFY(!B);
        QCOMPARE(p.windows().size(), 1);
        p.dialogs.answerOpenFile(c);
        action(A, name)->trigger();
        QCOMPARE(p.windows().size(), 2);
        QVERIFY(A->newtax);
        QCOMPARE(A->newtax->presfile, c);
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    void cancelledDialog_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("saveDialog");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("New File") << "nefil" << false << "New File Cancelled" << "Quillary2";
        QTest::newRow("Open File") << "opfil" << false << "File open cancelled"
                                   << "No new file opened";
        QTest::newRow("Save File As") << "safil" << true << "Save File Cancelled" << "Quillary2";
    }

    void cancelledDialog()
    {
        QFETCH(QString, command);
        QFETCH(bool, saveDialog);
        QFETCH(QString, text);
        QFETCH(QString, title);
        Program p;
        const QString a = p.path("a.dat");
        writeRecords(a, 2);
        p.storeRecent({a});
        p.start();
        Quillary* A = p.windows().first();
        const QString filenameBefore = p.state.filename;

        if (saveDialog)
            p.dialogs.answerSaveFile(std::nullopt);
        else
            p.dialogs.answerOpenFile(std::nullopt);
        p.dialogs.answerMessage(Answer::Ok);
        action(A, command.toLatin1())->trigger();

        const ShownBox last = p.dialogs.last();
        QCOMPARE(last.text, text);
        QCOMPARE(last.title, title);
        QCOMPARE(last.icon, Icon::None);
        QCOMPARE(last.buttons, Buttons::Ok);
        QCOMPARE(p.windows().size(), 1);
        QCOMPARE(A->presfile, a);
        QCOMPARE(p.state.filename, filenameBefore);
        QVERIFY(A->dataFile().isOpen());
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    void saveAsSameFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("same path") << QString();
        QTest::newRow("relative name of the same file") << "a.dat";
    }

    // The same file: nothing is copied or reopened, the caption is set.
    void saveAsSameFile()
    {
        QFETCH(QString, name);
        Program p;
        const QString a = p.path("a.dat");
        writeRecords(a, 2);
        p.storeRecent({a});
        p.start();
        Quillary* A = p.windows().first();
        const ino_t before = inodeOf(a);
        const int fileNo = A->dataFile().fileNumber();

        p.dialogs.answerSaveFile(name.isEmpty() ? a : name);
        action(A, "safil")->trigger();

        QCOMPARE(p.dialogs.last().title, QStringLiteral("Save File as"));
        QCOMPARE(inodeOf(a), before);
        QCOMPARE(A->dataFile().fileNumber(), fileNo);
        QCOMPARE(A->presfile, a);
        QCOMPARE(A->windowTitle(), a);
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // Save File As to another path: both files hold the same records, the
    // window goes on with the copy, the old file is left as it was.
    void saveAsAnotherPath()
    {
        Program p;
        const QString a = p.path("a.dat"), copy = p.path("copy.dat");
        writeRecords(a, 3);
        p.storeRecent({a});
        p.start();
        Quillary* A = p.windows().first();
        box(A, "Text2")->setText("before the copy");

        p.dialogs.answerSaveFile(copy);
        action(A, "safil")->trigger();

        QCOMPARE(descriptionOf(a, 3), QStringLiteral("before the copy"));
        QCOMPARE(fileContents(copy), fileContents(a));
        QCOMPARE(A->presfile, copy);
        QCOMPARE(A->windowTitle(), copy);
        QCOMPARE(A->Lastrecord, 3);
        QCOMPARE(A->Presrecord, 3);
        QCOMPARE(p.state.filename, copy);
        QCOMPARE(p.frameList().first(), copy);
        QCOMPARE(p.stored().first(), copy);
        QCOMPARE(Program::recentCaptions(fileMenuOf(p.frame.get())).first(), copy);
        QVERIFY(p.heldLock(A) && p.heldLock(A)->isLocked());
        QCOMPARE(p.heldLock(A)->dataFile(), copy);
        QVERIFY(!QFile::exists(DataFileLock::lockFileNameFor(a)));

        const QByteArray old = fileContents(a);
        box(A, "Text2")->setText("after the copy");
        button(A, "Command7")->click(); // First: saves record 3
        QCOMPARE(descriptionOf(copy, 3), QStringLiteral("after the copy"));
        QCOMPARE(fileContents(a), old);
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    void saveAsFails_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("existing");
        QTest::newRow("folder where nothing can be made") << "/proc/quillary/copy.dat" << false;
        QTest::newRow("good file, disk full") << "good.dat" << true;
    }

    // A failed copy leaves whatever stood at the new name as it was, and
    // the window goes on with its own file.
    void saveAsFails()
    {
        QFETCH(QString, target);
        QFETCH(bool, existing);
        Program p;
        const QString a = p.path("a.dat");
        if (existing) {
            target = p.path(target);
            writeRecords(target, 1, 50);
            p.files.setFaultInjector([target](const QString& path) {
                return DataFileLock::identity(path) == DataFileLock::identity(target);
            });
        }
        const QByteArray targetBefore = fileContents(target);
        writeRecords(a, 3);
        p.storeRecent({a});
        p.start();
        Quillary* A = p.windows().first();
        const QStringList storedBefore = p.stored();

        p.dialogs.answerSaveFile(target).answerMessage(Answer::Ok).answerMessage(Answer::Ok);
        action(A, "safil")->trigger();

        const QList<ShownBox>& shown = p.dialogs.shown();
        QCOMPARE(shown.size(), 3);
        QVERIFY(shown.at(1).text.contains(target));
        QVERIFY(shown.at(1).text.contains(a));
        QCOMPARE(shown.at(1).icon, Icon::Exclamation);
        QCOMPARE(shown.at(2).text, QStringLiteral("Save File Cancelled"));
        QCOMPARE(fileContents(target), targetBefore);
        QCOMPARE(A->presfile, a);
        QCOMPARE(A->windowTitle(), a);
        QVERIFY(A->dataFile().isOpen());
        QCOMPARE(p.stored(), storedBefore);
        QVERIFY(p.heldLock(A) && p.heldLock(A)->isLocked());
        QCOMPARE(p.heldLock(A)->dataFile(), a);

        box(A, "Text2")->setText("still here");
        button(A, "Command7")->click();
        QCOMPARE(descriptionOf(a, 3), QStringLiteral("still here"));
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // Replacing a file another window has open would take it away from
    // under that window.
    void saveAsOntoFileOfAnotherWindow()
    {
        Program p;
        const QString a = p.path("a.dat"), b = p.path("b.dat");
        writeRecords(a, 3);
        writeRecords(b, 2);
        p.storeRecent({a});
        p.start();
        Quillary* A = p.windows().first();
        p.dialogs.answerOpenFile(b);
        action(A, "opfil")->trigger();
        const QByteArray bBefore = fileContents(b);

        p.activate(A);
        p.dialogs.answerSaveFile(b).answerMessage(Answer::Ok).answerMessage(Answer::Ok);
        action(A, "safil")->trigger();

        QVERIFY(p.dialogs.shown().at(2).text.contains(b));
        QCOMPARE(p.dialogs.last().text, QStringLiteral("Save File Cancelled"));
        QCOMPARE(fileContents(b), bBefore);
        QCOMPARE(A->presfile, a);
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // Close and Save File of the last window: the record is saved once, the
    // file closed, and the frame's own menus are back.
    void closeAndSaveLastWindow()
    {
        Program p;
        const QString a = p.path("a.dat");
        writeRecords(a, 3);
        p.storeRecent({a});
        p.start();
        Quillary* A = p.windows().first();
        const int fileNo = A->dataFile().fileNumber();
        QCOMPARE(p.frame->menuBar()->actions(), menuActions(A->menus()));
        box(A, "Text2")->setText("closing");

        action(A, "clfil")->trigger();
        Program::settle();

        QVERIFY(p.windows().isEmpty());
        QVERIFY(p.frame->mdiArea()->subWindowList().isEmpty());
        QCOMPARE(descriptionOf(a, 3), QStringLiteral("closing"));
        QVERIFY(!p.files.isOpen(fileNo));
        QVERIFY(!QFile::exists(DataFileLock::lockFileNameFor(a)));
        QCOMPARE(p.frame->menuBar()->actions(), menuActions(p.frame->ownMenus()));
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    void quit_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("Quit button, Cancel") << false << false;
        QTest::newRow("Quit button, OK") << false << true;
        QTest::newRow("Exit menu, Cancel") << true << false;
        QTest::newRow("Exit menu, OK") << true << true;
    }

    // Quit saves the record, then asks; OK closes every file and ends the
    // program at once.
    void quit()
    {
        QFETCH(bool, fromMenu);
        QFETCH(bool, confirm);
        Program p;
        const QString a = p.path("a.dat"), b = p.path("b.dat");
        writeRecords(a, 3);
        writeRecords(b, 2);
        p.storeRecent({a});
        p.start();
        Quillary* A = p.windows().first();
        p.dialogs.answerOpenFile(b);
        action(A, "opfil")->trigger();
        Quillary* B = A->newtax;
        p.activate(A);
        box(A, "Text2")->setText("before quitting");

        p.dialogs.answerMessage(confirm ? Answer::Ok : Answer::Cancel);
        if (fromMenu)
            action(A, "exit")->trigger();
        else
            button(A, "Command9")->click();

        const ShownBox last = p.dialogs.last();
        QCOMPARE(last.text, QStringLiteral("Quitting Quillary!  Do you want to quit?"));
        QCOMPARE(last.title, QStringLiteral("Quit"));
        QCOMPARE(last.buttons, Buttons::OkCancel);
        QCOMPARE(last.icon, Icon::None);
        QCOMPARE(descriptionOf(a, 3), QStringLiteral("before quitting"));
        QCOMPARE(p.ended, confirm ? 1 : 0);
        QCOMPARE(p.files.isOpen(A->dataFile().fileNumber()), !confirm);
        QCOMPARE(p.files.isOpen(B->dataFile().fileNumber()), !confirm);
        QCOMPARE(p.windows().size(), 2);
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }

    // Whichever command names a file that a window has open, by whatever
    // name, that window comes forward and no second one opens.
    void oneWindowPerDataFile()
    {
        Program p;
        const QString a = p.path("a.dat"), b = p.path("b.dat");
        writeRecords(a, 3);
        writeRecords(b, 2);
        p.storeRecent({a, b});
        p.start();
        Quillary* A = p.windows().first();

        p.dialogs.answerOpenFile(a);
        action(A, "nefil")->trigger();
        p.dialogs.answerOpenFile(QStringLiteral("a.dat"));
        action(A, "opfil")->trigger();
        action(A, "mnuFileArray1")->trigger();
        QCOMPARE(p.windows().size(), 1);
        QVERIFY(!A->newtax);

        p.dialogs.answerOpenFile(b);
        action(A, "opfil")->trigger();
        Quillary* B = A->newtax;
        QVERIFY(B);
        QCOMPARE(p.active(), B);
        p.dialogs.answerOpenFile(QStringLiteral("./a.dat"));
        action(B, "nefil")->trigger();
        QCOMPARE(p.windows().size(), 2);
        QCOMPARE(p.active(), A);
        QVERIFY(!B->newtax);

        // The frame's commands, once a record window is closed and the
        // frame's entries are reached.
        action(B, "clfil")->trigger();
        Program::settle();
        p.dialogs.answerOpenFile(a);
        p.frame->ne_Click();
        QCOMPARE(p.windows().size(), 1);
        QCOMPARE(p.active(), A);
        QUILLARY_VERIFY_DIALOGS(p.dialogs);
    }
};

QUILLARY_TEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
