// The totals window: loading, the type list, the grid, the sorts, the help
// texts and the recovery from a file that cannot be opened.
#include "forms/totals/taxtot.h"
#include "forms/totals/totalsfixture.h"
#include "forms/totals/totalsgrid.h"
#include "forms/totals/totalsmodel.h"
#include "forms/totals/totalstexts.h"
#include "platform/fonts.h"
#include "records/categories.h"
#include "support/accessibility.h"
#include "support/pythoncsv.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

using namespace quillary;
using namespace quillary::test;

namespace {

QAction* action(QWidget& w, const char* name)
{
    return child<QAction>(w, name);
}

QStringList comboEntries(QComboBox* combo)
{
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    return entries;
}

// The grid's descriptions, trimmed, in row order (the empty row excluded).
QStringList descriptions(const Taxtot& t)
{
    QStringList out;
    for (const TotalsRow& row : t.gridModel()->rows())
        out << trimBlanks(row[ColDescription]);
    return out;
}

QString label2(Taxtot& t)
{
    return child<QLabel>(t, "Label2")->text();
}

// Chooses an entry of the type list as the mouse does: the entry becomes
// current, then the list reports it activated, also when it was current.
void pickType(Taxtot& t, const QString& type)
{
    QComboBox* combo = child<QComboBox>(t, "Expense");
    const int index = combo->findText(type);
    QVERIFY2(index >= 0, qPrintable(type));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

std::vector<TaxRecord> totalsSamples()
{
    return {
        totalsRecord('0', QStringLiteral("Other"), QStringLiteral("10"), QStringLiteral("books"),
                   QStringLiteral("3/5/1996")),
        totalsRecord('1', QStringLiteral("Other"), QStringLiteral("40"), QStringLiteral("refund"),
                   QStringLiteral("1/9/1996")),
        totalsRecord('0', QStringLiteral("Medical and Dental Fees"), QStringLiteral("2.5"),
                   QStringLiteral("dentist"), QStringLiteral("2/1/1996")),
        totalsRecord('0', QStringLiteral("Other"), QStringLiteral("7.25"), QStringLiteral("pens"),
                   QStringLiteral("1/20/1996")),
        totalsRecord('2', QStringLiteral("Supplies"), QStringLiteral("99"), QStringLiteral("paper"),
                   QStringLiteral("1/1/1996")),
    };
}

} // namespace

class TestTaxtot : public QObject {
    Q_OBJECT

    LocaleGuard locale_{QStringLiteral("en_US")};
    std::unique_ptr<TotalsEnv> env_;

private slots:
    void init() { env_ = std::make_unique<TotalsEnv>(); }
    void cleanup()
    {
        QUILLARY_VERIFY_DIALOGS(env_->dialogs);
        env_.reset();
    }

    void loadShowsPersonalExpensesOfTypeOther()
    {
        const QString path = env_->useFile(totalsSamples());
        Taxtot t(env_->state, &env_->presfile);
        t.load();

        QCOMPARE(t.windowTitle(), QStringLiteral("Tax Form Totals: ") + path);
        QCOMPARE(t.recordCount(), 5);
        QVERIFY(t.fileNumber() > 0);
        QCOMPARE(env_->files.path(t.fileNumber()), path);
        QVERIFY(child<QRadioButton>(t, "Option1")->isChecked());
        QVERIFY(child<QRadioButton>(t, "Option3")->isChecked());
        QCOMPARE(child<QComboBox>(t, "Expense")->currentText(), QStringLiteral("Other"));

        QCOMPARE(t.gridRowCount(), 2);
        QCOMPARE(descriptions(t), (QStringList{"books", "pens"}));
        QCOMPARE(t.gridModel()->rowCount(), 3); // and the empty row
        QCOMPARE(label2(t), QStringLiteral("$17.25"));
        QCOMPARE(env_->presfile, QStringLiteral("caller.dat"));
    }

    // The listing goes out as shown: the selection's rows, with the running
    // totals as numbers and the total last.
    void exportsTheListingAsShown()
    {
        env_->useFile({totalsRecord('2', "Supplies", "10", "a, first", "1/2/1996", "Shop", "N1", "Check"),
                       totalsRecord('0', "Other", "99", "not listed"),
                       totalsRecord('2', "Supplies", "2.5", "b")});
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        QVERIFY(toggleOption(child<QRadioButton>(t, "Option2")));
        const QString out = env_->path(QStringLiteral("supplies.csv"));
        env_->dialogs.answerSaveFile(out).answerMessage(Answer::Ok);
        t.findChild<QAction*>(QStringLiteral("exportcsv"))->trigger();
        QCOMPARE(env_->dialogs.shown().at(0).title, QStringLiteral("Export to CSV"));
        QCOMPARE(env_->dialogs.last().text, QStringLiteral("2 records exported to '%1'.").arg(out));
        const QList<QStringList> expected{
            {"Description", "Date", "Invoice No.", "Amount", "Pay Method", "Payment To/By", "Total"},
            {"a, first", "1996-01-02", "N1", "10", "Check", "Shop", "10"},
            {"b", "1996-01-02", "A1", "2.5", "Cash", "Someone", "12.5"},
            {"Total", "", "", "", "", "", "12.5"}};
        QCOMPARE(readCsvWithPython(out), expected);
    }

    void gridShowsFieldsAndRunningTotals()
    {
        env_->useFile({totalsRecord('2', "Supplies", "10", "a", "1/2/1996", "Shop", "N1", "Check"),
                       totalsRecord('2', "Supplies", "2.5", "b"),
                       totalsRecord('2', "Supplies", "7.25", "c")});
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        QVERIFY(toggleOption(child<QRadioButton>(t, "Option2")));

        const QTableView* grid = child<QTableView>(t, "Grid1");
        const QAbstractItemModel* m = grid->model();
        QCOMPARE(m, t.gridModel());
        QCOMPARE(m->columnCount(), 7);
        QStringList headers;
        for (int c = 0; c < 7; ++c)
            headers << m->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers, (QStringList{"Description", "Date", "Invoice No.", "Amount",
                                       "Pay Method", "Payment To/By", "Total"}));
        // The designed widths, widened only where a header or a date with a
        // four-digit year would be cut off.
        const QList<int> twips = {1900, 900, 800, 1000, 1400, 1900, 1100};
        const int dateWidth = grid->fontMetrics().horizontalAdvance(QStringLiteral("12/28/2000"));
        for (int c = 0; c < 7; ++c) {
            const int header = grid->horizontalHeader()->sectionSizeHint(c);
            QVERIFY(grid->columnWidth(c) >= t.px(twips[c]));
            QVERIFY(grid->columnWidth(c) >= header);
            if (c != ColDate && header <= t.px(twips[c]))
                QCOMPARE(grid->columnWidth(c), t.px(twips[c]));
        }
        QVERIFY(grid->columnWidth(ColDate) > dateWidth);

        QStringList first;
        for (int c = 0; c < 7; ++c)
            first << m->index(0, c).data().toString();
        QCOMPARE(first, (QStringList{QStringLiteral("a").leftJustified(20),
                                     QStringLiteral("1/2/1996").leftJustified(15),
                                     QStringLiteral("N1").leftJustified(10),
                                     QStringLiteral("10").leftJustified(14),
                                     QStringLiteral("Check").leftJustified(20),
                                     QStringLiteral("Shop").leftJustified(20), "10"}));
        QStringList totals;
        for (int r = 0; r < m->rowCount(); ++r)
            totals << m->index(r, ColTotal).data().toString();
        QCOMPARE(totals, (QStringList{"10", "12.5", "19.75", ""}));
        QCOMPARE(label2(t), QStringLiteral("$19.75"));
    }

    // A cell too narrow for its text cuts it with an ellipsis and has the
    // whole text as its tooltip; the padding of the fields is never shown,
    // and amounts and totals stand at the right.
    void cellsCutWithAnEllipsis()
    {
        env_->useFile({totalsRecord('0', "Other", "10", "Insurance premiums", "1/2/1996",
                                  "American Express Co")});
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        auto* grid = child<TotalsGrid>(t, "Grid1");
        QCOMPARE(descriptions(t), QStringList{"Insurance premiums"});

        grid->setColumnWidth(ColDescription, 60);
        const QString cut = grid->shownText(0, ColDescription);
        QVERIFY2(cut.endsWith(QChar(0x2026)), qPrintable(cut));
        QVERIFY(cut.size() > 1);
        QCOMPARE(grid->toolTipText(0, ColDescription), QStringLiteral("Insurance premiums"));

        grid->setColumnWidth(ColDescription, 400);
        QCOMPARE(grid->shownText(0, ColDescription), QStringLiteral("Insurance premiums"));
        QCOMPARE(grid->toolTipText(0, ColDescription), QString());
        // Blanks pad the stored field; a cell wide enough for the text is
        // not cut for them.
        grid->setColumnWidth(ColDescription,
                             grid->fontMetrics().horizontalAdvance("Insurance premiums") + 12);
        QCOMPARE(grid->toolTipText(0, ColDescription), QString());

        QCOMPARE(grid->shownText(0, ColAmount), QStringLiteral("10"));
        QCOMPARE(grid->shownText(0, ColTotal), QStringLiteral("10"));
        for (int c = 0; c < kTotalsColumns; ++c) {
            const auto align = Qt::Alignment(
                t.gridModel()->index(0, c).data(Qt::TextAlignmentRole).toInt());
            const bool right = c == ColAmount || c == ColTotal;
            QCOMPARE(bool(align & Qt::AlignRight), right);
        }
    }

    void typeListForEachKind_data()
    {
        QTest::addColumn<bool>("business");
        QTest::addColumn<bool>("income");
        QTest::addColumn<QString>("selected");
        QTest::newRow("personal expense") << false << false << "Other";
        QTest::newRow("personal income") << false << true << "Wages, Salaries, Tips, etc.";
        QTest::newRow("business expense") << true << false << "Supplies";
        QTest::newRow("business income") << true << true << "Receipts or Sales";
    }
    void typeListForEachKind()
    {
        QFETCH(bool, business);
        QFETCH(bool, income);
        QFETCH(QString, selected);
        env_->useFile(totalsSamples());
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        // Start from the other end so every change really changes the kind.
        QVERIFY(toggleOption(child<QRadioButton>(t, business ? "Option2" : "Option1")));
        QVERIFY(toggleOption(child<QRadioButton>(t, income ? "Option4" : "Option3")));

        QComboBox* combo = child<QComboBox>(t, "Expense");
        QCOMPARE(comboEntries(combo), QStringList{kAllTypes} + typeList(Kind{business, income}));
        QCOMPARE(combo->currentText(), selected);
        QCOMPARE(child<QLabel>(t, "Label7")->text(), QStringLiteral(" Expense Type:"));
    }

    // A screen reader's toggle and the arrow keys change the kind as a click
    // does: the list is refilled for the kind and the grid for the type.
    void kindChangesRefillListAndGrid_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("toggle") << "toggle";
        QTest::newRow("keyboard") << "keyboard";
    }
    void kindChangesRefillListAndGrid()
    {
        QFETCH(QString, way);
        env_->useFile(totalsSamples());
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        auto* income = child<QRadioButton>(t, "Option4");
        if (way == "toggle") {
            QVERIFY(toggleOption(income));
        } else {
            t.show();
            t.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&t));
            auto* expense = child<QRadioButton>(t, "Option3");
            expense->setFocus(Qt::TabFocusReason);
            QTest::keyClick(expense, Qt::Key_Down);
            QVERIFY(income->isChecked());
        }
        QComboBox* combo = child<QComboBox>(t, "Expense");
        QCOMPARE(comboEntries(combo), QStringList{kAllTypes} + typeList(Kind{false, true}));
        QCOMPARE(combo->currentText(), QStringLiteral("Wages, Salaries, Tips, etc."));
        QCOMPARE(descriptions(t), QStringList{});

        // Kind 3 from here: Business, and the list follows.
        QVERIFY(toggleOption(child<QRadioButton>(t, "Option2")));
        QCOMPARE(comboEntries(combo), QStringList{kAllTypes} + typeList(Kind{true, true}));
        QCOMPARE(combo->currentText(), QStringLiteral("Receipts or Sales"));
    }

    // The type list refills the grid on any change of its entry: the arrow
    // keys, or the program setting it.
    void typeChangesRefillTheGrid()
    {
        env_->useFile(totalsSamples());
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        QComboBox* combo = child<QComboBox>(t, "Expense");
        QCOMPARE(descriptions(t), (QStringList{"books", "pens"}));
        t.show();
        t.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&t));
        combo->setFocus(Qt::TabFocusReason);
        QTest::keyClick(combo, Qt::Key_Home);
        QCOMPARE(combo->currentText(), kAllTypes);
        QCOMPARE(descriptions(t), (QStringList{"books", "dentist", "pens"}));
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentText(), QStringLiteral("Medical and Dental Fees"));
        QCOMPARE(descriptions(t), QStringList{"dentist"});
        combo->setCurrentIndex(combo->findText(QStringLiteral("Other")));
        QCOMPARE(descriptions(t), (QStringList{"books", "pens"}));
        QCOMPARE(label2(t), QStringLiteral("$17.25"));

        // A pick by mouse fills once; picking the shown entry again refills.
        int fills = 0;
        connect(t.gridModel(), &QAbstractItemModel::modelReset, this, [&] { ++fills; });
        pickType(t, kAllTypes);
        QCOMPARE(fills, 1);
        QCoreApplication::processEvents();
        pickType(t, kAllTypes);
        QCOMPARE(fills, 2);
    }

    void incomeOfAPersonalKindListsItsOwnOther()
    {
        env_->useFile(totalsSamples());
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        QVERIFY(toggleOption(child<QRadioButton>(t, "Option4")));
        QCOMPARE(comboEntries(child<QComboBox>(t, "Expense")).size(), 12);
        QCOMPARE(descriptions(t), QStringList{});
        pickType(t, QStringLiteral("Other"));
        QCOMPARE(descriptions(t), QStringList{"refund"});
        QCOMPARE(label2(t), QStringLiteral("$40"));
    }

    void refillReplacesTheRows()
    {
        env_->useFile(totalsSamples());
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        pickType(t, kAllTypes);
        QCOMPARE(descriptions(t), (QStringList{"books", "dentist", "pens"}));
        QCOMPARE(label2(t), QStringLiteral("$19.75"));

        pickType(t, QStringLiteral("Medical and Dental Fees"));
        QCOMPARE(descriptions(t), QStringList{"dentist"});
        QCOMPARE(t.gridRowCount(), 1);
        QCOMPARE(t.gridModel()->rowCount(), 2);
        QCOMPARE(t.gridModel()->index(1, ColDescription).data().toString(), QString());

        pickType(t, QStringLiteral("Gifts to Charity"));
        QCOMPARE(t.gridRowCount(), 0);
        QCOMPARE(t.gridModel()->rowCount(), 1);
        QCOMPARE(label2(t), QStringLiteral("$0"));
    }

    void emptyFileShowsNothing()
    {
        env_->useFile({});
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        QCOMPARE(t.recordCount(), 0);
        QVERIFY(t.fileNumber() > 0);
        QCOMPARE(t.gridRowCount(), 0);
        QCOMPARE(t.gridModel()->rowCount(), 1);
        QCOMPARE(label2(t), QString());
        QVERIFY(toggleOption(child<QRadioButton>(t, "Option2")));
        pickType(t, kAllTypes);
        QCOMPARE(label2(t), QString());
    }

    void corruptFileStillFills()
    {
        // Bytes no version of the program wrote, and a trailing fragment.
        QByteArray bytes;
        for (int i = 0; i < 130 * 4 + 77; ++i)
            bytes.append(char((i * 37 + 11) % 256));
        QByteArray garbage(130, '\xff');
        garbage[0] = '0';
        bytes.prepend(garbage);
        env_->useBytes(bytes);
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        QCOMPARE(t.recordCount(), 5);
        pickType(t, kAllTypes);
        QCOMPARE(t.gridRowCount(), 1);
        QCOMPARE(label2(t), QStringLiteral("$0"));
        QCOMPARE(t.gridModel()->index(0, ColAmount).data().toString().size(), 14);
    }

    void failedOpenRecovers_data()
    {
        QTest::addColumn<QString>("filename");
        QTest::newRow("no file name") << QString();
        QTest::newRow("missing folder") << QStringLiteral("/no/such/folder/tax.dat");
        QTest::newRow("under /proc") << QStringLiteral("/proc/tax.dat");
    }
    void failedOpenRecovers()
    {
        QFETCH(QString, filename);
        env_->state.filename = filename;
        Taxtot t(env_->state, &env_->presfile);
        // Building the window neither opens the file nor shows a box.
        QVERIFY(env_->dialogs.shown().isEmpty());
        QCOMPARE(t.fileNumber(), 0);
        QCOMPARE(env_->presfile, QStringLiteral("caller.dat"));
        env_->dialogs.answerMessage(Answer::Ok);
        t.load();

        QCOMPARE(env_->dialogs.shown().size(), 1);
        const ShownBox box = env_->dialogs.last();
        QCOMPARE(box.text,
                 QStringLiteral("No file open, I will open the default file 'Taxrecs.dat' for you"));
        QCOMPARE(box.title, QStringLiteral("No file"));
        QCOMPARE(box.buttons, Buttons::Ok);
        QCOMPARE(box.icon, Icon::None);
        QCOMPARE(env_->presfile, QStringLiteral("Taxrecs.dat"));
        QCOMPARE(t.recordCount(), 0);
        QCOMPARE(t.fileNumber(), 0);
        QCOMPARE(t.gridRowCount(), 0);
        QCOMPARE(label2(t), QString());
        QCOMPARE(t.windowTitle(), QStringLiteral("Tax Form Totals: ") + filename);

        // The window goes on working without a file.
        QVERIFY(toggleOption(child<QRadioButton>(t, "Option4")));
        t.srtdte_Click();
        QCOMPARE(t.gridRowCount(), 0);
    }

    void sortsReorderTheFileForEveryHandle_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("by date") << "srtdte"
                                 << QStringList{"paper", "refund", "pens", "dentist", "books"};
        QTest::newRow("by type") << "srttyp"
                                 << QStringList{"dentist", "pens", "books", "refund", "paper"};
    }
    void sortsReorderTheFileForEveryHandle()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, order);
        const QString path = env_->useFile(totalsSamples());
        // The record window's own handle on the same file.
        DataFile recordWindow(env_->files);
        QCOMPARE(recordWindow.open(path), OpenStatus::Ok);

        Taxtot t(env_->state, &env_->presfile);
        t.load();
        pickType(t, kAllTypes);
        QCOMPARE(descriptions(t), (QStringList{"books", "dentist", "pens"}));
        action(t, qPrintable(command))->trigger();

        // The grid keeps the old order until it is filled again.
        QCOMPARE(descriptions(t), (QStringList{"books", "dentist", "pens"}));
        QStringList all;
        std::vector<TaxRecord> records;
        QVERIFY(recordWindow.readAll(records));
        for (const TaxRecord& r : records)
            all << trimBlanks(r.field(Field::Description));
        QCOMPARE(all, order);
        TaxRecord third;
        QVERIFY(recordWindow.read(3, third));
        QCOMPARE(trimBlanks(third.field(Field::Description)), order.at(2));

        pickType(t, kAllTypes);
        QStringList personalExpenses;
        for (const QString& d : order)
            if (d == "books" || d == "dentist" || d == "pens")
                personalExpenses << d;
        QCOMPARE(descriptions(t), personalExpenses);
        QCOMPARE(t.recordCount(), 5);
    }

    void sortOfOneRecordWritesNothing()
    {
        const QString path = env_->useFile({totalsRecord('0', "Other", "1", "only")});
        int writes = 0;
        env_->files.setFaultInjector([&](const QString&) {
            ++writes;
            return true;
        });
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        action(t, "srtdte")->trigger();
        action(t, "srttyp")->trigger();
        QCOMPARE(writes, 0);
        QCOMPARE(fileContents(path), encodeRecords({totalsRecord('0', "Other", "1", "only")}));
    }

    void failedSortLeavesTheFileIntact()
    {
        const QString path = env_->useFile(totalsSamples());
        const QByteArray before = fileContents(path);
        env_->files.setFaultInjector([](const QString&) { return true; });
        env_->dialogs.answerMessage(Answer::Ok);
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        action(t, "srtdte")->trigger();

        const ShownBox box = env_->dialogs.last();
        QVERIFY2(box.text.contains(QStringLiteral("could not be sorted")), qPrintable(box.text));
        QVERIFY2(box.text.contains(QStringLiteral("No space left on device")), qPrintable(box.text));
        QCOMPARE(box.icon, Icon::Exclamation);
        QCOMPARE(fileContents(path), before);
        pickType(t, kAllTypes);
        QCOMPARE(descriptions(t), (QStringList{"books", "dentist", "pens"}));
    }

    void helpTexts_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("basic help") << "helpb" << kTotalsHelpTitle << totalsHelpText();
        QTest::newRow("about") << "abt" << kTotalsAboutTitle << totalsAboutText();
    }
    void helpTexts()
    {
        QFETCH(QString, command);
        QFETCH(QString, title);
        QFETCH(QString, text);
        env_->useFile({});
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        env_->dialogs.answerMessage(Answer::Ok);
        action(t, qPrintable(command))->trigger();
        const ShownBox box = env_->dialogs.last();
        QCOMPARE(box.title, title);
        QCOMPARE(box.text, text);
        QCOMPARE(box.buttons, Buttons::Ok);
        QCOMPARE(box.icon, Icon::Information);
    }

    void helpEntryDoesNothing()
    {
        env_->useFile({});
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        QAction* h = action(t, "h");
        QCOMPARE(h->shortcut(), QKeySequence(Qt::Key_F1));
        h->trigger();
        QCOMPARE(env_->dialogs.shown().size(), 0);
        QCOMPARE(env_->help.opened, 0);
    }

    // The Year menu: the years of the records, all years at first, and the
    // grid, running totals, total, caption and total label of one year.
    void yearChoice()
    {
        const QString path = env_->useFile({
            totalsRecord('0', "Other", "10", "old", "12/31/1995"),
            totalsRecord('0', "Other", "2.5", "new", "1/1/1996"),
            totalsRecord('1', "Other", "100", "income", "7/7/1997"),
            totalsRecord('0', "Other", "4", "undated", "sometime"),
            totalsRecord('0', "Other", "1.25", "newer", "3/3/96"),
        });
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        QStringList entries;
        for (QAction* a : child<QMenu>(t, "yrmnu")->actions())
            entries << a->objectName() + u'=' + a->text() + (a->isChecked() ? "*" : "");
        QCOMPARE(entries, (QStringList{"year1997=1997", "year1996=1996", "year1995=1995",
                                       "yearAll=All years*"}));
        // All years: as the window has always been.
        QCOMPARE(t.year(), std::nullopt);
        QCOMPARE(t.windowTitle(), QStringLiteral("Tax Form Totals: ") + path);
        QCOMPARE(child<QLabel>(t, "Label3")->text(), QStringLiteral("Total:"));
        QCOMPARE(descriptions(t), (QStringList{"old", "new", "undated", "newer"}));
        QCOMPARE(label2(t), QStringLiteral("$17.75"));

        action(t, "year1996")->trigger();
        QCOMPARE(t.year(), YearChoice(1996));
        QCOMPARE(descriptions(t), (QStringList{"new", "newer"}));
        QCOMPARE(t.gridRowCount(), 2);
        QCOMPARE(t.gridModel()->rows().back()[ColTotal], QStringLiteral("3.75"));
        QCOMPARE(label2(t), QStringLiteral("$3.75"));
        QCOMPARE(t.windowTitle(), QStringLiteral("Tax Form Totals: ") + path + " (1996)");
        QLabel* label3 = child<QLabel>(t, "Label3");
        QCOMPARE(label3->text(), QStringLiteral("Total 1996:"));
        QVERIFY(label3->fontMetrics().horizontalAdvance(label3->text()) <= label3->width());

        // The year stays when the kind and type change.
        QVERIFY(toggleOption(child<QRadioButton>(t, "Option4")));
        pickType(t, QStringLiteral("All"));
        QCOMPARE(descriptions(t), QStringList{});
        QCOMPARE(label2(t), QStringLiteral("$0"));

        // Chosen the way a screen reader or the keyboard does: the entry's
        // state changes.
        action(t, "year1997")->setChecked(true);
        QCOMPARE(descriptions(t), QStringList{"income"});
        QVERIFY(!action(t, "year1996")->isChecked());

        action(t, "yearAll")->trigger();
        QCOMPARE(t.year(), std::nullopt);
        QCOMPARE(t.windowTitle(), QStringLiteral("Tax Form Totals: ") + path);
        QCOMPARE(child<QLabel>(t, "Label3")->text(), QStringLiteral("Total:"));
        QCOMPARE(descriptions(t), QStringList{"income"});
    }

    void menus()
    {
        env_->useFile({});
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        QMenuBar* bar = t.findChild<QMenuBar*>();
        QVERIFY(bar);
        QStringList layout;
        for (QAction* top : bar->actions()) {
            layout << top->menu()->objectName() + u'=' + top->text();
            for (QAction* a : top->menu()->actions())
                layout << u' ' + a->objectName() + u'=' + a->text();
        }
        QCOMPARE(layout, (QStringList{"fl=&File", " prn=&Print", " pall=Print &All", " exportcsv=E&xport to CSV...", " hyph=",
                                      " exitf=E&xit", "recmnu=&Records",
                                      " srtdte=Sort by &Date", " srttyp=Sort by &Type",
                                      " yrsep=", " yrmnuAction=&Year",
                                      "hl=&Help", " abt=&About", " helpb=&Basic Help",
                                      " h=&Help"}));
        QVERIFY(action(t, "hyph")->isSeparator());
    }

    void controlsAsDesigned()
    {
        env_->useFile({});
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        struct Expect {
            const char* name;
            QString text;
            QRect twips; // height 0: as the control needs
            qreal points;
        };
        const QList<Expect> expected = {
            {"Frame1", {}, {0, 0, 1695, 855}, 8},
            {"Option1", "Personal", {120, 240, 1095, 195}, 8},
            {"Option2", "Business", {120, 480, 1095, 195}, 8},
            {"Frame2", {}, {1800, 0, 1695, 855}, 8},
            {"Option3", "Expense", {120, 240, 975, 195}, 8},
            {"Option4", "Income", {120, 480, 975, 195}, 8},
            {"Label7", " Expense Type:", {3720, 0, 1575, 375}, 9.75},
            {"Expense", {}, {5280, 0, 4095, 0}, 9.75},
            {"Label3", "Total:", {3720, 480, 1575, 375}, 12},
            {"Label2", {}, {5280, 480, 1695, 375}, 9.75},
            {"Command1", "Return to &Main Form", {7560, 480, 1815, 375}, 8},
            {"Grid1", {}, {0, 960, 9375, 4335}, 8},
        };
        // The grid and the form are wider by what the columns were widened.
        const QTableView* table = child<QTableView>(t, "Grid1");
        int extra = 0;
        const QList<int> columnTwips = {1900, 900, 800, 1000, 1400, 1900, 1100};
        for (int c = 0; c < 7; ++c)
            extra += table->columnWidth(c) - t.px(columnTwips[c]);
        QVERIFY(extra >= 0);
        for (const Expect& e : expected) {
            QWidget* w = child<QWidget>(t, e.name);
            const QRect g = w->geometry();
            QCOMPARE(g.topLeft(), QPoint(t.px(e.twips.left()), t.px(e.twips.top())));
            if (auto* option = qobject_cast<QRadioButton*>(w)) {
                // Grown inside its frame where the caption needs it.
                QVERIFY(g.width() >= t.px(e.twips.width()));
                QVERIFY(option->sizeHint().width() <= g.width());
                QVERIFY(g.right() < w->parentWidget()->width() - 1);
            } else {
                QCOMPARE(g.width(),
                         t.px(e.twips.width()) + (w->objectName() == "Grid1" ? extra : 0));
            }
            if (e.twips.height() > 0)
                QCOMPARE(g.height(), t.px(e.twips.height()));
            QCOMPARE(w->font().pointSizeF(), e.points);
            QCOMPARE(w->font().family(), kDesignFamily);
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                QCOMPARE(b->text(), e.text);
            if (auto* l = qobject_cast<QLabel*>(w))
                QCOMPARE(l->text(), e.text);
        }
        QVERIFY(child<QGroupBox>(t, "Frame1")->title().isEmpty());
        QVERIFY(!child<QComboBox>(t, "Expense")->isEditable());
        QCOMPARE(child<QRadioButton>(t, "Option1")->parentWidget()->objectName(), "Frame1");
        QCOMPARE(child<QRadioButton>(t, "Option4")->parentWidget()->objectName(), "Frame2");
        // The client area is the designed size; the menu bar sits above it.
        QCOMPARE(t.width(), t.px(Taxtot::kClientWidth) + extra);
        QCOMPARE(t.height(), t.findChild<QMenuBar*>()->height() + t.px(Taxtot::kClientHeight));
        // 17 data rows and the empty row fit the designed grid.
        const QTableView* grid = child<QTableView>(t, "Grid1");
        QVERIFY(grid->horizontalHeader()->height() + 18 * grid->verticalHeader()->defaultSectionSize()
                <= grid->height() - 2 * grid->frameWidth());
    }

    void tabOrder()
    {
        env_->useFile({});
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        const QStringList focusable = {"Expense", "Option3", "Option2", "Option4",
                                       "Option1", "Grid1",   "Command1"};
        QStringList order;
        QWidget* w = child<QWidget>(t, "Expense");
        do {
            if (focusable.contains(w->objectName()) && !order.contains(w->objectName()))
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w != child<QWidget>(t, "Expense"));
        QCOMPARE(order, focusable);
    }

    // Tab follows the designed order, stopping at the checked option of
    // each pair and leaving the grid at once.
    void tabWalksTheDesignedOrder_data()
    {
        QTest::addColumn<bool>("business");
        QTest::addColumn<bool>("income");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("personal expense") << false << false
            << QStringList{"Option3", "Option1", "Grid1", "Command1", "Expense"};
        QTest::newRow("business income") << true << true
            << QStringList{"Option2", "Option4", "Grid1", "Command1", "Expense"};
    }
    void tabWalksTheDesignedOrder()
    {
        QFETCH(bool, business);
        QFETCH(bool, income);
        QFETCH(QStringList, order);
        env_->useFile(totalsSamples());
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        if (business)
            QVERIFY(toggleOption(child<QRadioButton>(t, "Option2")));
        if (income)
            QVERIFY(toggleOption(child<QRadioButton>(t, "Option4")));
        t.show();
        t.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&t));
        child<QWidget>(t, "Expense")->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, order);
    }

    // No button is the default: Enter after choosing a type keeps the window
    // open, Escape closes it.
    void enterKeepsTheWindowEscapeCloses()
    {
        env_->useFile(totalsSamples());
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        env_->dialogs.answerModal([&](QDialog&) {
            t.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&t));
            QComboBox* combo = child<QComboBox>(t, "Expense");
            combo->setFocus(Qt::TabFocusReason);
            QTest::keyClick(combo, Qt::Key_Down);
            QTest::keyClick(combo, Qt::Key_Return);
            QTest::keyClick(combo, Qt::Key_Enter);
            QVERIFY(t.isVisible());
            for (const char* name : {"Option1", "Command1"}) {
                child<QWidget>(t, name)->setFocus(Qt::TabFocusReason);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                QVERIFY2(t.isVisible(), name);
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(!t.isVisible());
        });
        env_->dialogs.runModal(t);
        for (QPushButton* b : t.findChildren<QPushButton*>())
            QVERIFY(!b->isDefault() && !b->autoDefault());
    }

    void closingReleasesTheHandle_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Return to Main Form") << "Command1";
        QTest::newRow("Exit") << "exitf";
        QTest::newRow("destroyed") << "";
    }
    void closingReleasesTheHandle()
    {
        QFETCH(QString, how);
        env_->useFile(totalsSamples());
        int fileNo = 0;
        {
            Taxtot t(env_->state, &env_->presfile);
            t.load();
            fileNo = t.fileNumber();
            QVERIFY(env_->files.isOpen(fileNo));
            if (!how.isEmpty()) {
                // Shown the way the record window shows it.
                env_->dialogs.answerModal([&](QDialog&) {
                    if (how == "Command1")
                        child<QPushButton>(t, "Command1")->click();
                    else
                        action(t, "exitf")->trigger();
                    QVERIFY(!t.isVisible());
                    QVERIFY(!env_->files.isOpen(fileNo));
                });
                env_->dialogs.runModal(t);
                QCOMPARE(t.fileNumber(), 0);
            }
        }
        QVERIFY(!env_->files.isOpen(fileNo));
    }

    // The texts and column captions the window shows.
    void gridColumns()
    {
        QStringList headers;
        QList<int> widths;
        for (const TotalsColumnLayout& c : totalsColumns()) {
            headers << c.header;
            widths << c.widthTwips;
        }
        QCOMPARE(headers, (QStringList{"Description", "Date", "Invoice No.", "Amount",
                                       "Pay Method", "Payment To/By", "Total"}));
        QCOMPARE(widths, (QList<int>{1900, 900, 800, 1000, 1400, 1900, 1100}));
    }

    void helpAndAboutTexts()
    {
        QCOMPARE(totalsHelpText(),
                 QStringLiteral(
                     "To display a Expense total make sure that the Expense button is chosen "
                     "(Push 'Expense' to do this) and then select the appropriate expense to "
                     "display from the drop down list.\r\n"
                     "To display an Income total make sure that the Income button is chosen "
                     "(Push 'Income' to do this) and then select the appropriate expense to "
                     "display from the drop down list.\r\n"
                     "Choose whether the Income/Expense is Personal or Business by pushing the "
                     "appropriate button.\r\n\r\n"
                     "The lists will automatically fill with the appropriate info, sorted by "
                     "their input times, and a total will be shown.  Also, there is a running "
                     "total displayed following each item.\r\n"
                     "The information is displayed in table form with column headers on top."
                     "\r\n\r\n"
                     "'File' menu: 'Print' prints the displayed form while 'Print All' merely "
                     "prints all records. 'Exit' exits the form.\r\n\r\n"
                     "Records: Sort all records by date or type.\r\n"
                     "All information here is given read only.  Make changes on main form."));
        QCOMPARE(totalsAboutText(),
                 QStringLiteral("Quillary v2\r\n\r\n"
                                "This program is an easy to use Tax record compiler. It enables "
                                "the user to input records for both incomes and expenses.  It "
                                "also enables the user to view/print totals for all types of "
                                "these.\r\n\r\n"));
    }
};

QUILLARY_TEST_MAIN(TestTaxtot)
#include "tst_taxtot.moc"
