// The frame: startup, its commands and texts, and the menu bar that follows
// the active record window. Also the help window.

#include "app/taxmain.h"
#include "forms/record/quillary.h"
#include "platform/helpbrowser.h"
#include "platform/localeservices.h"
#include "records/taxrecord.h"
#include "support/records.h"
#include "support/testplatform.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>

using namespace quillary;
using namespace quillary::test;

namespace {

const QString kNoRecords = QStringLiteral("No records, one will now be added.");

struct FrameEnv : TestPlatform {
    std::unique_ptr<Taxmain> frame;
    int ended = 0;

    FrameEnv()
    {
        frame = std::make_unique<Taxmain>(state);
        QObject::connect(frame.get(), &Taxmain::endProgram, [this] { ++ended; });
    }
    ~FrameEnv() { frame.reset(); }
};

QByteArray threeRecords()
{
    std::vector<TaxRecord> records;
    for (int i = 1; i <= 3; ++i)
        records.push_back(makeRecord('0', QStringLiteral("1/%1/2024").arg(i), QString::number(i * 10),
                                     QString(), QString(), QStringLiteral("Other"), QString(),
                                     QStringLiteral("Item %1").arg(i)));
    return bytesOf(records);
}

QStringList barMenus(QMainWindow* frame)
{
    QStringList names;
    for (QAction* a : frame->menuBar()->actions())
        names << (a->menu() ? a->menu()->objectName() : QStringLiteral("?"));
    return names;
}

} // namespace

class TestTaxmain : public QObject {
    Q_OBJECT

    std::unique_ptr<PinnedDay> pinned_;
    std::unique_ptr<FrameEnv> env_;

    // Starts the frame on a data file holding three records.
    void startOnThreeRecords()
    {
        writeBytes(QStringLiteral("Taxrecs.dat"), threeRecords());
        env_->frame->startup();
    }

private slots:
    void initTestCase() { pinned_ = std::make_unique<PinnedDay>(QDate(2024, 3, 14)); }
    void cleanupTestCase() { pinned_.reset(); }
    void init()
    {
        QFile::remove(QStringLiteral("Taxrecs.dat"));
        env_ = std::make_unique<FrameEnv>();
    }
    void cleanup()
    {
        auto env = std::move(env_);
        QUILLARY_VERIFY_DIALOGS(env->dialogs);
        env.reset();
        QFile::remove(QStringLiteral("Taxrecs.dat"));
    }

    void firstStartWithEmptyStore()
    {
        env_->dialogs.answerMessage(Answer::Ok);
        env_->frame->startup();
        QCOMPARE(env_->dialogs.last().text, kNoRecords);
        QVERIFY(QFile::exists(QStringLiteral("Taxrecs.dat")));
        QCOMPARE(env_->state.t1, QStringLiteral("Taxrecs.dat"));
        QCOMPARE(env_->state.filename, QStringLiteral("Taxrecs.dat"));
        Quillary* w = env_->frame->firstWindow();
        QVERIFY(w);
        QCOMPARE(w->presfile, QStringLiteral("Taxrecs.dat"));
        QVERIFY(w->isAdding());
        QCOMPARE(env_->frame->mdiArea()->subWindowList().size(), 1);
        QVERIFY(env_->frame->isVisible());
        // The window lies wholly inside the workspace.
        const QRect space = env_->frame->mdiArea()->viewport()->rect();
        QVERIFY2(space.contains(w->subWindow()->geometry()),
                 qPrintable(QStringLiteral("%1x%2 window in %3x%4")
                                .arg(w->subWindow()->width())
                                .arg(w->subWindow()->height())
                                .arg(space.width())
                                .arg(space.height())));
    }

    // The first window's load shows a message box; the event loop of that
    // box activates the window before it is shown. The bar must still end
    // up with the window's menus.
    void firstWindowGetsTheMenuBarAfterAMessage()
    {
        env_->dialogs.setRunEventsWhileShown(true);
        env_->dialogs.answerMessage(Answer::Ok);
        env_->frame->startup();
        QCOMPARE(env_->dialogs.last().text, kNoRecords);
        QCOMPARE(barMenus(env_->frame.get()), (QStringList{"fil", "windo", "rec", "hp"}));
    }

    void storedFileIsOpened_data()
    {
        QTest::addColumn<bool>("store");
        QTest::addColumn<QString>("menu1");
        QTest::addColumn<QString>("opened");
        QTest::newRow("stored path") << true << "stored.dat" << "stored.dat";
        QTest::newRow("stored empty entry") << true << "" << "Taxrecs.dat";
        QTest::newRow("no entry") << false << "" << "Taxrecs.dat";
    }
    void storedFileIsOpened()
    {
        QFETCH(bool, store);
        QFETCH(QString, menu1);
        QFETCH(QString, opened);
        const QString path = menu1.isEmpty() ? menu1 : env_->dir.filePath(menu1);
        if (store)
            env_->settings.save(QStringLiteral("menu1"), path);
        writeBytes(opened == QLatin1String("Taxrecs.dat") ? opened : path, threeRecords());
        env_->frame->startup();
        const QString expected = opened == QLatin1String("Taxrecs.dat") ? opened : path;
        QCOMPARE(env_->state.t1, expected);
        QCOMPARE(env_->state.filename, expected);
        Quillary* w = env_->frame->firstWindow();
        QVERIFY(w);
        QCOMPARE(w->presfile, expected);
        QCOMPARE(w->Presrecord, 3);
        QCOMPARE(w->findChild<QLineEdit*>("Text2")->text().trimmed(), QStringLiteral("Item 3"));
    }

    // A file named on the command line opens instead of the most recent
    // one and goes to the top of the list; one that cannot be opened gets
    // the usual handling.
    void fileFromTheCommandLine_data()
    {
        QTest::addColumn<QString>("given");   // FOLDER: the test's folder
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("opened");  // the window's file afterwards
        QTest::addColumn<QStringList>("boxes");
        const QString noRecords = kNoRecords;
        const QString noFile =
            QStringLiteral("No file chosen, I will open the default file 'Taxrecs.dat' for you");
        QTest::newRow("existing file") << "FOLDER/given.dat" << true << "FOLDER/given.dat"
                                       << QStringList{};
        QTest::newRow("missing file") << "FOLDER/new.dat" << false << "FOLDER/new.dat"
                                      << QStringList{noRecords};
        QTest::newRow("folder that does not exist")
            << "FOLDER/no such folder/x.dat" << false << "Taxrecs.dat"
            << QStringList{noFile, noRecords};
    }
    void fileFromTheCommandLine()
    {
        QFETCH(QString, given);
        QFETCH(bool, exists);
        QFETCH(QString, opened);
        QFETCH(QStringList, boxes);
        given.replace(QStringLiteral("FOLDER"), env_->dir.path());
        opened.replace(QStringLiteral("FOLDER"), env_->dir.path());
        env_->settings.save(QStringLiteral("menu1"), env_->dir.filePath(QStringLiteral("recent.dat")));
        writeBytes(env_->dir.filePath(QStringLiteral("recent.dat")), threeRecords());
        if (exists)
            writeBytes(given, threeRecords());
        for (int i = 0; i < boxes.size(); ++i)
            env_->dialogs.answerMessage(Answer::Ok);
        env_->frame->startup(given);

        QStringList shown;
        for (const ShownBox& box : env_->dialogs.shown())
            shown << box.text;
        QCOMPARE(shown, boxes);
        Quillary* w = env_->frame->firstWindow();
        QVERIFY(w);
        QCOMPARE(w->presfile, opened);
        QCOMPARE(env_->settings.get(QStringLiteral("menu1")), opened);
        QCOMPARE(env_->settings.get(QStringLiteral("menu2")),
                 env_->dir.filePath(QStringLiteral("recent.dat")));
        QCOMPARE(w->Lastrecord, exists ? 3 : 0);
    }

    void exitAsksFirst_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("ends");
        QTest::newRow("OK") << Answer::Ok << true;
        QTest::newRow("Cancel") << Answer::Cancel << false;
    }
    void exitAsksFirst()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, ends);
        startOnThreeRecords();
        Quillary* w = env_->frame->firstWindow();
        const int fileNo = w->dataFile().fileNumber();
        // The record on display is changed but must not be saved by Exit.
        w->findChild<QLineEdit*>("Text2")->setText(QStringLiteral("Not saved"));

        env_->dialogs.answerMessage(answer);
        env_->frame->findChild<QAction*>("ex")->trigger();
        const ShownBox box = env_->dialogs.last();
        QCOMPARE(box.text, QStringLiteral("Quitting Quillary!  Are you sure?"));
        QCOMPARE(box.title, QStringLiteral("Quit"));
        QCOMPARE(box.buttons, Buttons::OkCancel);
        QCOMPARE(box.icon, Icon::None);
        QCOMPARE(env_->ended, ends ? 1 : 0);
        QCOMPARE(env_->files.isOpen(fileNo), !ends);
        QCOMPARE(fileContents(QStringLiteral("Taxrecs.dat")), threeRecords());
    }

    void newAndOpen_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("dialogTitle");
        QTest::addColumn<QString>("cancelText");
        QTest::addColumn<QString>("cancelTitle");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("New, cancelled") << "ne" << "New File" << "New File Cancelled"
                                        << "Quillary2" << true;
        QTest::newRow("Open, cancelled") << "op" << "Open File" << "File open cancelled"
                                         << "No new file opened" << true;
        QTest::newRow("New, chosen") << "ne" << "New File" << "" << "" << false;
        QTest::newRow("Open, chosen") << "op" << "Open File" << "" << "" << false;
    }
    void newAndOpen()
    {
        QFETCH(QString, action);
        QFETCH(QString, dialogTitle);
        QFETCH(QString, cancelText);
        QFETCH(QString, cancelTitle);
        QFETCH(bool, cancel);
        startOnThreeRecords();
        const QString chosen = env_->dir.filePath(QStringLiteral("chosen.dat"));
        if (cancel) {
            env_->dialogs.answerOpenFile(std::nullopt).answerMessage(Answer::Ok);
        } else {
            writeBytes(chosen, threeRecords().left(2 * kRecordLength));
            env_->dialogs.answerOpenFile(chosen);
        }
        env_->frame->findChild<QAction*>(action)->trigger();

        const QList<ShownBox> shown = env_->dialogs.shown();
        QCOMPARE(shown.first().kind, ShownBox::Kind::OpenFile);
        QCOMPARE(shown.first().title, dialogTitle);
        QMdiArea* area = env_->frame->mdiArea();
        if (cancel) {
            QCOMPARE(shown.size(), 2);
            QCOMPARE(shown[1].text, cancelText);
            QCOMPARE(shown[1].title, cancelTitle);
            QCOMPARE(shown[1].buttons, Buttons::Ok);
            QCOMPARE(shown[1].icon, Icon::None);
            QCOMPARE(area->subWindowList().size(), 1);
            QCOMPARE(env_->state.filename, QStringLiteral("Taxrecs.dat"));
        } else {
            QCOMPARE(shown.size(), 1);
            QCOMPARE(area->subWindowList().size(), 2);
            QCOMPARE(env_->state.filename, chosen);
            auto* w = qobject_cast<Quillary*>(area->currentSubWindow()->widget());
            QCOMPARE(w->presfile, chosen);
            QCOMPARE(w->Lastrecord, 2);
        }
    }

    void aboutAndHelp()
    {
        env_->dialogs.answerMessage(Answer::Ok).answerMessage(Answer::Ok);
        env_->frame->findChild<QAction*>("abm")->trigger();
        env_->frame->findChild<QAction*>("bhem")->trigger();
        const QList<ShownBox> shown = env_->dialogs.shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].title, QStringLiteral("About the Quillary Program"));
        QCOMPARE(shown[0].icon, Icon::Information);
        QCOMPARE(shown[0].buttons, Buttons::Ok);
        QCOMPARE(shown[0].text,
                 QStringLiteral("This program is an easy to use Tax record compiler. It enables the "
                                "user to input records for both incomes and expenses.  It also "
                                "enables the user to view/print totals for all types of "
                                "these.\r\n\r\n"));
        QCOMPARE(shown[1].title, QStringLiteral("Quillary Main Form Help"));
        QCOMPARE(shown[1].icon, Icon::Information);
        QCOMPARE(shown[1].buttons, Buttons::Ok);
        QCOMPARE(shown[1].text,
                 QStringLiteral("'File' menu: Standard file operations.\r\n"
                                "New: Open a new file to enter record in.\r\n"
                                "Open: Open an existing file.\r\n"
                                "Exit: Quit.\r\n"
                                "\r\n"
                                "Help Menu:\r\n"
                                "About: Program Information.\r\n"
                                "\r\n"
                                "Basic Help: This is it.\r\n"
                                "More help is available through the main help (Win95) or 'Help' "
                                "on each form."));
        QAction* mhelp = env_->frame->findChild<QAction*>("mhelp");
        QCOMPARE(mhelp->shortcut(), QKeySequence(Qt::Key_F1));
        mhelp->trigger();
        QCOMPARE(env_->help.opened, 1);
    }

    void frameAndItsMenus()
    {
        Taxmain* f = env_->frame.get();
        QCOMPARE(f->windowTitle(), QStringLiteral("Quillary v2"));
        QCOMPARE(f->size(), QSize(twipsToPixels(6315), twipsToPixels(5205)));
        QCOMPARE(f->pos(), QPoint(twipsToPixels(2310), twipsToPixels(1455)));
        QVERIFY(!f->windowIcon().isNull());
        QCOMPARE(f->windowIcon().availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
        // The program's icon, in every size it is drawn in: every window and
        // box has it.
        QCOMPARE(QApplication::windowIcon().availableSizes(),
                 (QList<QSize>{QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64),
                               QSize(128, 128), QSize(256, 256)}));
        QWidget box(nullptr, Qt::Dialog);
        QCOMPARE(box.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());

        auto items = [](QMenu* m) {
            QStringList out;
            for (QAction* a : m->actions())
                out << (a->isSeparator() ? a->objectName() + (a->isVisible() ? "|-" : "|hidden")
                                         : a->objectName() + "=" + a->text());
            return out;
        };
        QCOMPARE(barMenus(f), (QStringList{"fl", "helpm"}));
        QMenu* fl = f->findChild<QMenu*>("fl");
        QMenu* helpm = f->findChild<QMenu*>("helpm");
        QCOMPARE(fl->title(), QStringLiteral("&File"));
        QCOMPARE(helpm->title(), QStringLiteral("&Help"));
        QCOMPARE(items(fl),
                 (QStringList{"ne=&New", "op=&Open", "hy|-", "ex=E&xit", "mnuFileArray|hidden"}));
        QCOMPARE(items(helpm),
                 (QStringList{"abm=&About", "hyhm|-", "bhem=&Basic Help", "mhelp=Help"}));
    }

    // While a record window is active its menus are the frame's; the
    // frame's own come back when the last one closes.
    void menuBarFollowsTheActiveWindow()
    {
        startOnThreeRecords();
        Taxmain* f = env_->frame.get();
        QMdiArea* area = f->mdiArea();
        const QStringList recordMenus{"fil", "windo", "rec", "hp"};
        Quillary* first = f->firstWindow();
        QCOMPARE(barMenus(f), recordMenus);
        QCOMPARE(f->menuBar()->actions().first(), first->menus().first()->menuAction());

        writeBytes(env_->dir.filePath("second.dat"), threeRecords());
        env_->state.filename = env_->dir.filePath("second.dat");
        QPointer<Quillary> second = qobject_cast<Quillary*>(f->windows().load());
        QVERIFY(second);
        QCOMPARE(f->menuBar()->actions().first(), second->menus().first()->menuAction());

        area->setActiveSubWindow(first->subWindow());
        QCOMPARE(f->menuBar()->actions().first(), first->menus().first()->menuAction());

        // Taking menus out of the bar deletes none of them.
        QPointer<QMenu> secondFile = second->menus().first();
        QPointer<QMenu> frameFile = f->findChild<QMenu*>("fl");
        QVERIFY(secondFile);
        QVERIFY(frameFile);

        QVERIFY(first->subWindow()->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(second);
        QCOMPARE(f->menuBar()->actions().first(), second->menus().first()->menuAction());
        QCOMPARE(barMenus(f), recordMenus);

        QVERIFY(second->subWindow()->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!second);
        QCOMPARE(barMenus(f), (QStringList{"fl", "helpm"}));
        QVERIFY(frameFile);
        QCOMPARE(f->menuBar()->actions().first(), frameFile->menuAction());
    }

    void closingTheFrameSavesEveryWindow()
    {
        startOnThreeRecords();
        Quillary* w = env_->frame->firstWindow();
        w->findChild<QLineEdit*>("Text2")->setText(QStringLiteral("Saved at close"));
        QVERIFY(env_->frame->close());
        QCOMPARE(env_->ended, 0);
        const QByteArray bytes = fileContents(QStringLiteral("Taxrecs.dat"));
        QCOMPARE(bytes.size(), 3 * kRecordLength);
        QCOMPARE(TaxRecord::fromBytes(bytes.mid(2 * kRecordLength)).field(Field::Description).trimmed(),
                 QStringLiteral("Saved at close"));
        QCOMPARE(bytes.left(2 * kRecordLength), threeRecords().left(2 * kRecordLength));
    }

    // The help window shows the guide built into the program at its top.
    void helpWindowShowsTheGuide()
    {
        HelpBrowser help;
        QVERIFY(!help.window());
        help.showContents();
        QVERIFY(help.window());
        QVERIFY(help.window()->isVisible());
        QTextBrowser* browser = help.browser();
        QCOMPARE(browser->source(), QUrl(HelpBrowser::guideUrl()));
        const QString text = browser->toPlainText();
        QVERIFY(text.startsWith(QStringLiteral("Quillary user guide")));
        for (const char* topic : {"Entering a record", "Kinds and categories",
                                  "Totals and printing", "recent-files list", "130 bytes",
                                  "Rent/Lease (Veh.,Mach.,Equip.)"})
            QVERIFY2(text.contains(QString::fromLatin1(topic)), topic);

        // After reading further down, Help opens it at the top again.
        browser->verticalScrollBar()->setValue(browser->verticalScrollBar()->maximum());
        help.showContents();
        QCOMPARE(browser->verticalScrollBar()->value(), 0);
        QVERIFY(!help.window()->testAttribute(Qt::WA_QuitOnClose));
        // Only the guide's own resources are ever loaded.
        QVERIFY(!browser->loadResource(QTextDocument::ImageResource,
                                       QUrl(QStringLiteral("file:///etc/hostname")))
                     .isValid());
        QVERIFY(!browser->openExternalLinks());
        QVERIFY(!help.window()->windowIcon().isNull());
    }

    // Escape and Ctrl+W close the guide's window.
    void helpWindowClosesFromTheKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
        QTest::newRow("Ctrl+W") << int(Qt::Key_W) << int(Qt::ControlModifier);
    }
    void helpWindowClosesFromTheKeyboard()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        HelpBrowser help;
        help.showContents();
        QVERIFY(QTest::qWaitForWindowActive(help.window()));
        QTest::keyClick(help.browser(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY(!help.window()->isVisible());
        // And it opens again.
        help.showContents();
        QVERIFY(help.window()->isVisible());
    }
};

QUILLARY_TEST_MAIN(TestTaxmain)
#include "tst_taxmain.moc"
