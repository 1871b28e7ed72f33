// The tax year summary window: its years, its rows, the records not counted,
// the keyboard, and the printed page read back from the PDF.
#include "forms/summary/summarymodel.h"
#include "forms/summary/taxsum.h"
#include "forms/totals/totalsfixture.h"
#include "records/categories.h"
#include "reports/summarylayout.h"
#include "support/pythoncsv.h"
#include "support/accessibility.h"
#include "support/smalldisk.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>

using namespace quillary;
using namespace quillary::test;

namespace {

QStringList comboEntries(QComboBox* combo)
{
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    return entries;
}

// Records of three years, the middle one holding two records that add to
// nothing.
std::vector<TaxRecord> threeYears()
{
    return {
        totalsRecord('0', "Medical and Dental Fees", "120", "dentist", "3/1/1995"),
        totalsRecord('2', "Supplies", "45.5", "paper", "12/31/1995"),
        totalsRecord('1', "Wages, Salaries, Tips, etc.", "30000", "salary", "1/1/1996"),
        totalsRecord('2', "Travel", "410.25", "train", "6/1/1996"),
        totalsRecord('2', "Supplies", "12.5", "pens", "6/2/1996"),
        totalsRecord('3', "Receipts or Sales", "2500", "sales", "7/1/1996"),
        totalsRecord('0', "Other", "", "no amount", "8/1/1996"),
        totalsRecord('5', "Other", "10", "bad kind", "8/2/1996"),
        totalsRecord('0', "Gifts to Charity", "50", "charity", "1/15/1997"),
    };
}

QString notCountedReason(const Taxsum& s, std::size_t i)
{
    return s.summary().notCounted.at(i).reasonText();
}

} // namespace

class TestTaxsum : public QObject {
    Q_OBJECT

    std::unique_ptr<PinnedDay> day_;
    std::unique_ptr<TotalsEnv> env_;

private slots:
    void init()
    {
        day_ = std::make_unique<PinnedDay>(QDate(1997, 3, 1));
        env_ = std::make_unique<TotalsEnv>();
    }
    void cleanup()
    {
        QUILLARY_VERIFY_DIALOGS(env_->dialogs);
        env_.reset();
        day_.reset();
    }

    void opensOnTheYearBeforeToday()
    {
        const QString path = env_->useFile(threeYears());
        Taxsum s(env_->state);
        QVERIFY(s.load());
        QVERIFY(s.isLoaded());
        QCOMPARE(s.windowTitle(), QStringLiteral("Tax Year Summary: ") + path);
        QVERIFY(s.isModal());
        QVERIFY(s.fileNumber() > 0);
        QCOMPARE(env_->files.path(s.fileNumber()), path);
        QCOMPARE(s.recordCount(), 9);

        QComboBox* year = child<QComboBox>(s, "Year");
        QCOMPARE(comboEntries(year), (QStringList{"1997", "1996", "1995", "All years"}));
        QCOMPARE(year->currentText(), QStringLiteral("1996"));
        QCOMPARE(s.year(), YearChoice(1996));
        QCOMPARE(child<QLabel>(s, "Counts")->text(),
                 QStringLiteral("1996: 4 records counted, 2 not counted, of 9 records in the file."));
        QCOMPARE(s.summary().sections[2].total, std::optional<Currency>(Currency{4227500}));
        QCOMPARE(s.summaryModel()->rowCount(), 4 + 45 + 4 + 3);
        QCOMPARE(child<QLabel>(s, "NotCountedLabel")->text(),
                 QStringLiteral("&Not counted: 2 records"));
        QCOMPARE(s.notCountedModel()->rowCount(), 2);
        QCOMPARE(s.notCountedModel()->index(1, NcReason).data().toString(),
                 QStringLiteral("Kind code is not 0 to 3"));

        // The window reads and never writes.
        s.close();
        QCOMPARE(s.fileNumber(), 0);
        QCOMPARE(fileContents(path), encodeRecords(threeYears()));
    }

    void startingYear_data()
    {
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QString>("expected");
        QTest::newRow("last year has records") << QStringList{"5/5/1996", "2/2/1997"} << "1996";
        QTest::newRow("only this year") << QStringList{"2/2/1997"} << "1997";
        QTest::newRow("no date readable") << QStringList{"soon", ""} << "All years";
        QTest::newRow("empty file") << QStringList{} << "All years";
    }
    void startingYear()
    {
        QFETCH(QStringList, dates);
        QFETCH(QString, expected);
        std::vector<TaxRecord> records;
        for (const QString& date : dates)
            records.push_back(totalsRecord('0', "Other", "1", "x", date));
        env_->useFile(records);
        Taxsum s(env_->state);
        s.load();
        QCOMPARE(child<QComboBox>(s, "Year")->currentText(), expected);
    }

    void changingTheYearCountsAgain()
    {
        env_->useFile(threeYears());
        Taxsum s(env_->state);
        s.load();
        QComboBox* year = child<QComboBox>(s, "Year");
        // By the keyboard, as a user or a screen reader changes it.
        year->setFocus();
        QTest::keyClick(year, Qt::Key_Down);
        QCOMPARE(s.year(), YearChoice(1995));
        QCOMPARE(s.summary().counted, 2);
        QCOMPARE(s.notCountedModel()->rowCount(), 0);
        QVERIFY(!child<QTableView>(s, "NotCounted")->isEnabled());
        QCOMPARE(child<QLabel>(s, "NotCountedLabel")->text(), QStringLiteral("&Not counted: none"));

        year->setCurrentIndex(year->findText(kAllYears));
        QCOMPARE(s.year(), std::nullopt);
        QCOMPARE(s.summary().counted + int(s.summary().notCounted.size()), 9);
        QVERIFY(child<QTableView>(s, "NotCounted")->isEnabled());
        const auto& rows = s.summaryModel()->rows();
        const auto supplies = std::find_if(rows.begin(), rows.end(), [](const SummaryRow& r) {
            return r.label == QStringLiteral("Supplies");
        });
        QCOMPARE(supplies->records, QStringLiteral("2"));
        QCOMPARE(supplies->figure, QStringLiteral("58"));
    }

    void hidingEmptyCategories()
    {
        env_->useFile(threeYears());
        Taxsum s(env_->state);
        s.load();
        QCheckBox* hide = child<QCheckBox>(s, "HideEmpty");
        QVERIFY(!hide->isChecked());
        QVERIFY(toggleOption(hide)); // as a screen reader does, without a click
        QStringList shown;
        for (const SummaryRow& row : s.summaryModel()->rows())
            if (row.style != SummaryRow::Style::SectionHeading
                && row.style != SummaryRow::Style::SectionTotal
                && row.style != SummaryRow::Style::Total)
                shown << row.label;
        QCOMPARE(shown, (QStringList{"Wages, Salaries, Tips, etc.", "Supplies", "Travel",
                                     "Receipts or Sales"}));
        // The choice stays when the year changes.
        child<QComboBox>(s, "Year")->setCurrentIndex(0);
        QCOMPARE(s.summaryModel()->rowCount(), 4 + 1 + 4 + 3);
        hide->setChecked(false);
        QCOMPARE(s.summaryModel()->rowCount(), 4 + 45 + 4 + 3);
    }

    void emptyCategoriesAreQuieter()
    {
        env_->useFile(threeYears());
        Taxsum s(env_->state);
        s.load();
        SummaryModel* model = s.summaryModel();
        const QModelIndex empty = model->index(1, SummaryModel::ColCategory); // Medical, 1996
        const QModelIndex full = model->index(11, SummaryModel::ColCategory); // Wages
        QCOMPARE(full.data().toString(), QStringLiteral("Wages, Salaries, Tips, etc."));
        QVERIFY(empty.data(Qt::ForegroundRole).isValid());
        QVERIFY(!full.data(Qt::ForegroundRole).isValid());
        QCOMPARE(empty.data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("Medical and Dental Fees, no records"));
        QCOMPARE(model->index(11, SummaryModel::ColBar).data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("100% of the section's largest total"));
        QVERIFY(model->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
    }

    void choosingANotCountedRecord_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("Enter") << false;
        QTest::newRow("double click") << true;
    }
    void choosingANotCountedRecord()
    {
        QFETCH(bool, doubleClick);
        env_->useFile(threeYears());
        Taxsum s(env_->state);
        s.load();
        s.show();
        QTableView* view = child<QTableView>(s, "NotCounted");
        const QModelIndex second = view->model()->index(1, NcDescription);
        QCOMPARE(second.data().toString(), QStringLiteral("bad kind"));
        if (doubleClick) {
            const QPoint at = view->visualRect(second).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        } else {
            view->setFocus();
            view->setCurrentIndex(second);
            QTest::keyClick(view, Qt::Key_Return);
        }
        QCOMPARE(s.chosenRecord(), 8);
        QCOMPARE(s.result(), int(QDialog::Accepted));
        QVERIFY(!s.isVisible());
    }

    void keyboardReachesEveryControl()
    {
        env_->useFile(threeYears());
        Taxsum s(env_->state);
        s.load();
        s.show();
        QVERIFY(QTest::qWaitForWindowActive(&s));
        QStringList names;
        QWidget* w = child<QComboBox>(s, "Year");
        w->setFocus();
        for (int i = 0; i < 5; ++i) {
            names << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(names, (QStringList{"Year", "HideEmpty", "Grid1", "NotCounted", "Command1"}));
        for (const char* name : {"Year", "HideEmpty", "Grid1", "NotCounted", "Command1", "Counts"})
            QVERIFY2(!child<QWidget>(s, name)->accessibleName().isEmpty(), name);
        QVERIFY(!child<QPushButton>(s, "Command1")->autoDefault());

        // No two access keys alike, menus included.
        QStringList captions;
        for (const QLabel* label : s.findChildren<QLabel*>())
            captions << label->text();
        for (const QAbstractButton* button : s.findChildren<QAbstractButton*>())
            captions << button->text();
        for (const QMenu* menu : s.findChildren<QMenu*>())
            captions << menu->title();
        QStringList keys;
        for (const QString& caption : captions) {
            const qsizetype at = caption.indexOf(u'&');
            if (at >= 0 && at + 1 < caption.size())
                keys << caption.at(at + 1).toLower();
        }
        QCOMPARE(keys.size(), 6);
        QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!s.isVisible());
        QCOMPARE(s.chosenRecord(), 0);
    }

    void menusAndHelp()
    {
        env_->useFile(threeYears());
        Taxsum s(env_->state);
        s.load();
        QStringList items;
        for (QAction* a : child<QMenu>(s, "fl")->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + '=' + a->text());
        QCOMPARE(items, (QStringList{"prn=&Print", "exportcsv=E&xport to CSV...", "-",
                                     "exitf=E&xit"}));
        QAction* help = child<QAction>(s, "h");
        QCOMPARE(help->shortcut(), QKeySequence(Qt::Key_F1));
        help->trigger();
        QCOMPARE(env_->help.opened, 1);
        s.show();
        child<QAction>(s, "exitf")->trigger();
        QVERIFY(!s.isVisible());
    }

    // The summary goes out as shown: the year chosen, empty categories left
    // out when they are hidden, the records not counted at the end.
    void exportsTheSummaryAsShown()
    {
        env_->useFile(threeYears());
        Taxsum s(env_->state);
        s.load();
        QComboBox* years = child<QComboBox>(s, "Year");
        years->setCurrentIndex(years->findText(QStringLiteral("1996")));
        QVERIFY(toggleOption(child<QCheckBox>(s, "HideEmpty")));
        const QString out = env_->path(QStringLiteral("1996.csv"));
        env_->dialogs.answerSaveFile(out).answerMessage(Answer::Ok);
        child<QAction>(s, "exportcsv")->trigger();
        QCOMPARE(env_->dialogs.last().text,
                 QStringLiteral("The summary of 1996 exported to '%1'.").arg(out));
        const QList<QStringList> expected{
            {"Section", "Category", "Records", "Total"},
            {"Personal expense", "Total personal expense", "0", "0"},
            {"Personal income", "Wages, Salaries, Tips, etc.", "1", "30000"},
            {"Personal income", "Total personal income", "1", "30000"},
            {"Business expense", "Supplies", "1", "12.5"},
            {"Business expense", "Travel", "1", "410.25"},
            {"Business expense", "Total business expense", "2", "422.75"},
            {"Business income", "Receipts or Sales", "1", "2500"},
            {"Business income", "Total business income", "1", "2500"},
            {"", "Total income", "2", "32500"},
            {"", "Total expenses", "2", "422.75"},
            {"", "Business result", "", "2077.25"},
            {},
            {"Not counted", "Record", "Date", "Amount", "Description", "Why not counted"},
            {"Not counted", "7", "8/1/1996", "", "no amount", notCountedReason(s, 0)},
            {"Not counted", "8", "8/2/1996", "10", "bad kind", notCountedReason(s, 1)}};
        QCOMPARE(readCsvWithPython(out), expected);
    }

    void aFileThatCannotBeOpened()
    {
        env_->state.filename = env_->dir.path(); // a folder
        env_->dialogs.answerMessage(Answer::Ok);
        Taxsum s(env_->state);
        QVERIFY(!s.load());
        QVERIFY(!s.isLoaded());
        QCOMPARE(env_->dialogs.shown().size(), 1);
        QCOMPARE(env_->dialogs.last().title, QStringLiteral("Tax Year Summary"));
        QCOMPARE(env_->dialogs.last().icon, Icon::Exclamation);
        QVERIFY(env_->dialogs.last().text.contains(env_->dir.path()));
    }

    void aDamagedFileStillHasItsSummary()
    {
        // Bytes no program wrote as records, and a fragment at the end.
        QByteArray bytes;
        for (int i = 0; i < 4 * kRecordLength + 50; ++i)
            bytes += char((i * 37) % 256);
        env_->useBytes(bytes);
        Taxsum s(env_->state);
        QVERIFY(s.load());
        QVERIFY(s.isLoaded());
        QComboBox* year = child<QComboBox>(s, "Year");
        year->setCurrentIndex(year->findText(kAllYears));
        QCOMPARE(s.summary().counted + int(s.summary().notCounted.size()), 4);
    }

    // Every category and figure of a year, on one page, with the heading.
    void printsAYearOnOnePage()
    {
        const QString path = env_->useFile(threeYears());
        Taxsum s(env_->state);
        s.load();
        child<QAction>(s, "prn")->trigger();
        QCOMPARE(env_->printer.documents.size(), 1);
        const QString pdf = env_->printer.documents.first();
        QCOMPARE(pdfPages(pdf), 1);
        const QStringList lines = textLines(pdfText(pdf));
        QVERIFY2(lines.size() > 60, qPrintable(lines.join(u'\n')));
        QCOMPARE(lines[0], QStringLiteral("Tax Year Summary: 1996"));
        QVERIFY(lines.contains(QStringLiteral("File: ") + path));
        QVERIFY(lines.contains(QStringLiteral("Year: 1996 Printed: 3/1/1997")));

        // Each row's line, from the left: its label, its count, its figure.
        int at = 0;
        for (const SummaryRow& row : s.summaryModel()->rows()) {
            QString expected = row.label;
            if (!row.note.isEmpty())
                expected += QStringLiteral(" (") + row.note + u')';
            if (!row.records.isEmpty())
                expected += u' ' + row.records;
            expected += u' ' + row.figure;
            if (row.style == SummaryRow::Style::SectionHeading)
                expected = row.label;
            const qsizetype found = lines.indexOf(expected, at);
            QVERIFY2(found >= 0, qPrintable(expected + "\n---\n" + lines.join(u'\n')));
            at = int(found) + 1;
        }
        QVERIFY(lines.contains(QStringLiteral("Not counted: 2 records")));
        QVERIFY(lines.contains(QStringLiteral("7 8/1/1996 no amount No amount")));
        QVERIFY(lines.contains(QStringLiteral("8 8/2/1996 10 bad kind Kind code is not 0 to 3")));

        // Readable: the rows are at least 8 points apart, every category
        // on the first page.
        QList<double> tops;
        for (const PdfWord& w : pdfWords(pdf))
            if (w.text == QStringLiteral("Advertising") || w.text == QStringLiteral("Bad"))
                tops << w.y;
        QCOMPARE(tops.size(), 2);
        QVERIFY2(tops[1] - tops[0] >= 8.0, qPrintable(QString::number(tops[1] - tops[0])));
        QCOMPARE(s.fileNumber() > 0, true);
    }

    void aLongNotCountedListGoesOnNextPages()
    {
        std::vector<TaxRecord> records;
        for (int i = 0; i < 300; ++i)
            records.push_back(totalsRecord('0', "Other", "oops", QStringLiteral("bad %1").arg(i),
                                         "5/5/1996"));
        records.push_back(totalsRecord('2', "Garden", "5", "outside", "5/5/1996"));
        env_->useFile(records);
        Taxsum s(env_->state);
        s.load();
        child<QAction>(s, "prn")->trigger();
        const QString pdf = env_->printer.documents.value(0);
        const int pages = pdfPages(pdf);
        QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
        QSet<QString> onFirst;
        for (const PdfWord& w : pdfWords(pdf))
            if (w.page == 1)
                onFirst << w.text;
        for (const char* word : {"Supplies", "Utilities", "Wages", "Garden", "Pensions",
                                    "Receipts", "Business", "result"})
            QVERIFY2(onFirst.contains(QString::fromLatin1(word)), word);
        const QStringList lines = textLines(pdfText(pdf));
        QVERIFY(lines.contains(QStringLiteral("Page 1 of %1").arg(pages)));
        QVERIFY(lines.contains(QStringLiteral("Page %1 of %1").arg(pages)));
        // The list's title is not left alone at the foot of a page.
        const qsizetype title = lines.indexOf(QStringLiteral("Not counted: 300 records"));
        QCOMPARE(lines.value(title + 1), QStringLiteral("Record Date Amount Description Why not counted"));
        QVERIFY(lines.contains(QStringLiteral("300 5/5/1996 oops bad 299 Amount is not a number")));
    }

    void withoutAPrinterOffersAPdf()
    {
        env_->useFile(threeYears());
        Taxsum s(env_->state);
        s.load();
        env_->printer.available = false;
        const QString pdf = env_->path("summary.pdf");
        env_->dialogs.answerMessage(Answer::Yes).answerSaveFile(pdf);
        child<QAction>(s, "prn")->trigger();
        QCOMPARE(env_->dialogs.shown().first().text,
                 QStringLiteral("No printer is set up on this computer, so the summary was not "
                                "printed. Do you want to save it as a PDF file instead?"));
        QCOMPARE(env_->printer.written, QStringList{pdf});
        QCOMPARE(pdfPages(pdf), 1);
        QVERIFY(pdfText(pdf).contains(QStringLiteral("Tax Year Summary: 1996")));
    }

    void aPdfOnAFullDiskIsReported()
    {
        SmallDisk disk;
        QUILLARY_REQUIRE_SMALL_DISK(disk);
        QVERIFY(disk.fill());
        env_->useFile(threeYears());
        Taxsum s(env_->state);
        s.load();
        env_->printer.available = false;
        env_->dialogs.answerMessage(Answer::Yes)
            .answerSaveFile(disk.filePath(QStringLiteral("summary.pdf")))
            .answerMessage(Answer::Ok);
        child<QAction>(s, "prn")->trigger();
        QVERIFY2(env_->dialogs.last().text.startsWith(
                     QStringLiteral("The PDF file could not be saved: ")),
                 qPrintable(env_->dialogs.last().text));
        QCOMPARE(env_->dialogs.last().icon, Icon::Exclamation);
    }

    void printsWhatIsShown()
    {
        env_->useFile(threeYears());
        Taxsum s(env_->state);
        s.load();
        child<QCheckBox>(s, "HideEmpty")->setChecked(true);
        child<QComboBox>(s, "Year")->setCurrentIndex(2); // 1995
        child<QAction>(s, "prn")->trigger();
        const QString text = pdfText(env_->printer.documents.value(0));
        QVERIFY(text.contains(QStringLiteral("Tax Year Summary: 1995")));
        QVERIFY(text.contains(QStringLiteral("Medical and Dental Fees")));
        QVERIFY(!text.contains(QStringLiteral("Advertising")));
        QVERIFY(text.contains(QStringLiteral("Not counted: none")));
    }
};

QUILLARY_TEST_MAIN(TestTaxsum)
#include "tst_taxsum.moc"
