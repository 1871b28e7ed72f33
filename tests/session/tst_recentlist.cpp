#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "session/recentlist.h"
#include "support/testplatform.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>

using namespace quillary;

namespace {

RecentList listOf(const QStringList& entries)
{
    RecentList list;
    for (int i = 0; i < 4 && i < entries.size(); ++i)
        list[i] = entries[i];
    return list;
}

QStringList entriesOf(const RecentList& list)
{
    return QStringList(list.begin(), list.end());
}

std::array<bool, 4> flagsOf(const QString& pattern)
{
    return {pattern[0] == QLatin1Char('x'), pattern[1] == QLatin1Char('x'),
            pattern[2] == QLatin1Char('x'), pattern[3] == QLatin1Char('x')};
}

QString describe(const RecentRefreshStep& step)
{
    return QStringLiteral("%1=%2%3%4")
        .arg(step.element)
        .arg(step.text, step.showSeparator ? QStringLiteral(" +separator") : QString(),
             step.showElement ? QString() : QStringLiteral(" (not shown)"));
}

// A File menu with the separator a form makes, and a view on it.
struct FileMenu {
    FileMenu()
    {
        menu.addAction(QStringLiteral("E&xit"));
        elements[0] = menu.addSeparator();
        elements[0]->setVisible(false);
    }

    // The recent elements in menu order: "k:caption", hidden ones marked.
    QStringList shown() const
    {
        QStringList out;
        for (QAction* a : menu.actions()) {
            if (!a->objectName().startsWith(QLatin1String("mnuFileArray"))
                || a == elements[0])
                continue;
            out << QStringLiteral("%1:%2%3")
                       .arg(a->objectName().mid(12), RecentMenu::caption(a),
                            a->isVisible() ? QString() : QStringLiteral(" (hidden)"));
        }
        return out;
    }

    QMenu menu;
    std::array<QAction*, 5> elements{};
    QList<int> clicked;
    RecentMenu view{&menu, elements, [this](int k) { clicked << k; }};
};

} // namespace

class TestRecentList : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<SettingsStore> settings_;

    QStringList stored() const { return stored(*settings_); }
    static QStringList stored(const SettingsStore& settings)
    {
        QStringList out;
        for (int k = 1; k <= 4; ++k) {
            const QString key = recentKey(k);
            out << (settings.contains(key) ? settings.get(key) : QStringLiteral("<none>"));
        }
        return out;
    }

private slots:
    void init()
    {
        QFile::remove(dir_.filePath(QStringLiteral("settings.ini")));
        settings_ = std::make_unique<SettingsStore>(dir_.filePath(QStringLiteral("settings.ini")));
    }

    void insertRecent_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("created");

        const QString A = "/d/A.dat", B = "/d/B.dat", C = "/d/C.dat", D = "/d/D.dat",
                      E = "/d/E.dat";
        QTest::newRow("empty list") << QStringList{"", "", "", ""} << A
                                    << QStringList{A, "", "", ""} << 1;
        QTest::newRow("the first entry again") << QStringList{A, B, C, D} << A
                                               << QStringList{A, B, C, D} << 0;
        QTest::newRow("second moves up") << QStringList{A, B, C, D} << B
                                         << QStringList{B, A, C, D} << 0;
        QTest::newRow("third moves up") << QStringList{A, B, C, D} << C
                                        << QStringList{C, A, B, D} << 0;
        QTest::newRow("oldest moves up") << QStringList{A, B, C, D} << D
                                         << QStringList{D, A, B, C} << 0;
        QTest::newRow("new file drops the oldest") << QStringList{A, B, C, D} << E
                                                   << QStringList{E, A, B, C} << 0;
        QTest::newRow("one entry, new file") << QStringList{A, "", "", ""} << B
                                             << QStringList{B, A, "", ""} << 2;
        QTest::newRow("two entries, new file") << QStringList{A, B, "", ""} << E
                                               << QStringList{E, A, B, ""} << 3;
        QTest::newRow("three entries, new file") << QStringList{A, B, C, ""} << E
                                                 << QStringList{E, A, B, C} << 4;
        QTest::newRow("three entries, third moves up") << QStringList{A, B, C, ""} << C
                                                       << QStringList{C, A, B, ""} << 0;
        QTest::newRow("empty first entry is filled") << QStringList{"", B, C, D} << E
                                                     << QStringList{E, B, C, D} << 1;
        QTest::newRow("a gap comes before a later match")
            << QStringList{A, "", C, D} << C << QStringList{C, A, C, D} << 2;
        QTest::newRow("comparison is exact text") << QStringList{A, B, C, D} << "/d/b.dat"
                                                  << QStringList{"/d/b.dat", A, B, C} << 0;
    }

    void insertRecent()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, file);
        QFETCH(QStringList, after);
        QFETCH(int, created);

        const RecentInsertion result = quillary::insertRecent(listOf(before), file);
        QCOMPARE(entriesOf(result.list), after);
        QCOMPARE(result.createElement, created);
    }

    void refreshRecent_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("created");
        QTest::addColumn<QStringList>("steps");

        QTest::newRow("full list") << QStringList{"A", "B", "C", "D"} << "xxxx"
                                   << QStringList{"1=A +separator", "2=B", "3=C", "4=D"};
        QTest::newRow("two entries, three elements")
            << QStringList{"E", "A", "B", ""} << "xxx-"
            << QStringList{"1=E +separator", "2=A", "3=B"};
        QTest::newRow("element 2 never created is still saved")
            << QStringList{"A", "B", "C", ""} << "x-x-"
            << QStringList{"1=A +separator", "2=B (not shown)", "3=C"};
        QTest::newRow("empty first entry: no separator")
            << QStringList{"", "B", "", ""} << "xx--" << QStringList{"2=B"};
        QTest::newRow("empty list") << QStringList{"", "", "", ""} << "x---" << QStringList{};
    }

    void refreshRecent()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, created);
        QFETCH(QStringList, steps);

        QStringList got;
        for (const RecentRefreshStep& step : quillary::refreshRecent(listOf(list), flagsOf(created)))
            got << describe(step);
        QCOMPARE(got, steps);
    }

    void restore_data()
    {
        QTest::addColumn<QStringList>("store"); // "<none>" for a missing key
        QTest::addColumn<QString>("firstCaption");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QStringList>("menu");

        const QString none = "<none>";
        QTest::newRow("empty store, frame")
            << QStringList{none, none, none, none} << QString()
            << QStringList{"Taxrecs.dat", "", "", ""} << QStringList{"1:Taxrecs.dat"};
        QTest::newRow("empty store, record window")
            << QStringList{none, none, none, none} << "/d/own.dat"
            << QStringList{"Taxrecs.dat", "", "", ""} << QStringList{"1:/d/own.dat"};
        QTest::newRow("empty menu1, frame")
            << QStringList{"", "/d/B.dat", none, none} << QString()
            << QStringList{"", "/d/B.dat", "", ""} << QStringList{"1:", "2:/d/B.dat"};
        QTest::newRow("gap in the middle")
            << QStringList{"/d/A.dat", "", "/d/C.dat", "/d/D.dat"} << QString()
            << QStringList{"/d/A.dat", "", "/d/C.dat", "/d/D.dat"}
            << QStringList{"1:/d/A.dat", "3:/d/C.dat", "4:/d/D.dat"};
        QTest::newRow("full list, record window")
            << QStringList{"/d/A.dat", "/d/B.dat", "/d/C.dat", "/d/D.dat"} << "/d/C.dat"
            << QStringList{"/d/A.dat", "/d/B.dat", "/d/C.dat", "/d/D.dat"}
            << QStringList{"1:/d/C.dat", "2:/d/B.dat", "3:/d/C.dat", "4:/d/D.dat"};
    }

    // Restoring reads the store with its defaults, creates the elements with
    // their gaps and writes nothing.
    void restore()
    {
        QFETCH(QStringList, store);
        QFETCH(QString, firstCaption);
        QFETCH(QStringList, list);
        QFETCH(QStringList, menu);

        for (int k = 1; k <= 4; ++k) {
            if (store[k - 1] != QLatin1String("<none>"))
                settings_->save(recentKey(k), store[k - 1]);
        }
        const RecentList read = readRecentList(*settings_);
        QCOMPARE(entriesOf(read), list);

        FileMenu file;
        restoreRecentMenu(file.view, read, firstCaption.isNull() ? read[0] : firstCaption);
        QCOMPARE(file.shown(), menu);
        QVERIFY(file.elements[0]->isVisible());
        QCOMPARE(stored(), store);
    }

    void update_data()
    {
        QTest::addColumn<QStringList>("store");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("afterStore");
        QTest::addColumn<QStringList>("afterMenu");

        const QString none = "<none>";
        QTest::newRow("first update on an empty store")
            << QStringList{none, none, none, none} << "/d/A.dat"
            << QStringList{"/d/A.dat", "Taxrecs.dat", "", ""}
            << QStringList{"1:/d/A.dat", "2:Taxrecs.dat"};
        QTest::newRow("A B C D, open B")
            << QStringList{"/d/A.dat", "/d/B.dat", "/d/C.dat", "/d/D.dat"} << "/d/B.dat"
            << QStringList{"/d/B.dat", "/d/A.dat", "/d/C.dat", "/d/D.dat"}
            << QStringList{"1:/d/B.dat", "2:/d/A.dat", "3:/d/C.dat", "4:/d/D.dat"};
        QTest::newRow("A B, open E: element 3 created, menu4 written empty")
            << QStringList{"/d/A.dat", "/d/B.dat", none, none} << "/d/E.dat"
            << QStringList{"/d/E.dat", "/d/A.dat", "/d/B.dat", ""}
            << QStringList{"1:/d/E.dat", "2:/d/A.dat", "3:/d/B.dat"};
        QTest::newRow("gap filled: element 2 goes between 1 and 3")
            << QStringList{"/d/A.dat", "", "/d/C.dat", none} << "/d/E.dat"
            << QStringList{"/d/E.dat", "/d/A.dat", "/d/C.dat", ""}
            << QStringList{"1:/d/E.dat", "2:/d/A.dat", "3:/d/C.dat"};
        QTest::newRow("an ampersand is no access key")
            << QStringList{"/d/A.dat", none, none, none} << "/d/R&D.dat"
            << QStringList{"/d/R&D.dat", "/d/A.dat", "", ""}
            << QStringList{"1:/d/R&D.dat", "2:/d/A.dat"};
    }

    // UpdateMenu on a form whose menu was restored from the store.
    void update()
    {
        QFETCH(QStringList, store);
        QFETCH(QString, file);
        QFETCH(QStringList, afterStore);
        QFETCH(QStringList, afterMenu);

        for (int k = 1; k <= 4; ++k) {
            if (store[k - 1] != QLatin1String("<none>"))
                settings_->save(recentKey(k), store[k - 1]);
        }
        FileMenu menu;
        RecentList list = readRecentList(*settings_);
        restoreRecentMenu(menu.view, list, list[0]);
        list = updateRecentMenu(menu.view, list, file, *settings_);

        QCOMPARE(stored(), afterStore);
        QCOMPARE(menu.shown(), afterMenu);
        QCOMPARE(list[0], file);
        // The element keeps the path as given, whatever the caption makes of it.
        QCOMPARE(RecentMenu::caption(menu.elements[1]), file);
    }

    // Opening the first entry writes the whole list again, in order, over
    // whatever another copy of the program stored meanwhile.
    void updateWithFirstEntryRewritesTheList()
    {
        FileMenu menu;
        const RecentList list = listOf({"/d/A.dat", "/d/B.dat", "/d/C.dat", ""});
        restoreRecentMenu(menu.view, list, list[0]);
        settings_->save("menu1", "/other/X.dat");
        settings_->save("menu3", "/other/Y.dat");

        QStringList order;
        const RecentList after = updateRecentMenu(
            menu.view, list, "/d/A.dat", *settings_,
            [&](int k, const QString& text) { order << QStringLiteral("%1=%2").arg(k).arg(text); });

        QCOMPARE(entriesOf(after), entriesOf(list));
        QCOMPARE(stored(), (QStringList{"/d/A.dat", "/d/B.dat", "/d/C.dat", ""}));
        QCOMPARE(order, (QStringList{"1=/d/A.dat", "2=/d/B.dat", "3=/d/C.dat"}));
        QCOMPARE(menu.shown(), (QStringList{"1:/d/A.dat", "2:/d/B.dat", "3:/d/C.dat"}));
    }

    // The frame restored A with an empty second entry (no element 2); a
    // record window later filled its list. The frame's next update cannot
    // show entry 2 but still saves it.
    void frameElementNeverCreatedStillSaves()
    {
        FileMenu frame;
        RecentList t = listOf({"/d/A.dat", "", "", ""});
        restoreRecentMenu(frame.view, t, t[0]);
        t = listOf({"/d/W.dat", "/d/A.dat", "", ""}); // copied in by a record window

        t = updateRecentMenu(frame.view, t, "/d/W.dat", *settings_);

        QCOMPARE(stored(), (QStringList{"/d/W.dat", "/d/A.dat", "", ""}));
        QCOMPARE(frame.shown(), (QStringList{"1:/d/W.dat"}));
        QVERIFY(!frame.elements[2]);
    }

    // The frame's and a record window's versions on one state: the window's
    // list starts from the frame's latest one, shows every entry of it and
    // hands its entries back to t1 to t4.
    void frameAndWindowShareTheFrameList()
    {
        test::TestPlatform platform;
        AppState& state = platform.state;
        platform.settings.save(recentKey(1), "/d/A.dat");
        platform.settings.save(recentKey(2), "/d/B.dat");
        FileMenu frame;
        restoreFrameRecent(state, frame.view);
        QCOMPARE(QStringList({state.t1, state.t2, state.t3, state.t4}),
                 (QStringList{"/d/A.dat", "/d/B.dat", "", ""}));
        QCOMPARE(frame.shown(), (QStringList{"1:/d/A.dat", "2:/d/B.dat"}));

        FileMenu window;
        RecentList own;
        restoreWindowRecent(state, window.view, own, "/d/W.dat");
        QCOMPARE(entriesOf(own), (QStringList{"/d/W.dat", "/d/A.dat", "/d/B.dat", ""}));
        QCOMPARE(QStringList({state.t1, state.t2, state.t3, state.t4}), entriesOf(own));
        QCOMPARE(window.shown(), (QStringList{"1:/d/W.dat", "2:/d/A.dat", "3:/d/B.dat"}));

        // Another window put X on the frame's list meanwhile.
        state.t1 = "/d/X.dat";
        state.t2 = "/d/W.dat";
        state.t3 = "/d/A.dat";
        state.t4 = "/d/B.dat";
        updateWindowRecent(state, window.view, own, "/d/W.dat");
        QCOMPARE(entriesOf(own), (QStringList{"/d/W.dat", "/d/X.dat", "/d/A.dat", "/d/B.dat"}));
        QCOMPARE(QStringList({state.t1, state.t2, state.t3, state.t4}), entriesOf(own));
        QCOMPARE(stored(platform.settings), entriesOf(own));

        state.filename = "/d/Z.dat";
        updateFrameRecent(state, frame.view);
        QCOMPARE(QStringList({state.t1, state.t2, state.t3, state.t4}),
                 (QStringList{"/d/Z.dat", "/d/W.dat", "/d/X.dat", "/d/A.dat"}));
        QCOMPARE(stored(platform.settings), (QStringList{"/d/Z.dat", "/d/W.dat", "/d/X.dat", "/d/A.dat"}));
    }

    // Elements are created once, hidden until captioned, and report their
    // index when clicked.
    void elementsAreCreatedOnceAndReportTheirIndex()
    {
        FileMenu menu;
        menu.view.create(2);
        QAction* two = menu.elements[2];
        QVERIFY(two);
        QVERIFY(!two->isVisible());
        menu.view.create(2);
        QCOMPARE(menu.elements[2], two);
        menu.view.show(3, "/d/never.dat"); // never created: skipped
        QVERIFY(!menu.elements[3]);
        menu.view.show(2, "/d/B.dat");
        QVERIFY(two->isVisible());

        two->trigger();
        QCOMPARE(menu.clicked, QList<int>{2});
    }
};

QUILLARY_TEST_MAIN(TestRecentList)
#include "tst_recentlist.moc"
