// Printing from the totals window, checked through the text of the PDF
// files the test printer writes.
#include "forms/totals/taxtot.h"
#include "forms/totals/totalsfixture.h"
#include "reports/totals.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QPrinter>
#include <QFileInfo>
#include <QMap>
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

using namespace quillary;
using namespace quillary::test;

namespace {

QAction* action(QWidget& w, const char* name)
{
    QAction* a = w.findChild<QAction*>(QString::fromLatin1(name));
    if (!a)
        qFatal("no action %s", name);
    return a;
}

std::vector<TaxRecord> listedRecords(int count)
{
    std::vector<TaxRecord> records;
    for (int i = 1; i <= count; ++i)
        records.push_back(totalsRecord('0', QStringLiteral("Other"), QString::number(i),
                                     QStringLiteral("entry-%1").arg(i, 2, 10, QLatin1Char('0'))));
    return records;
}

// The listing as it was always printed: each line laid out and drawn by
// QPainter, page after page.
void printLineByLine(const QStringList& lines, const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QPainter painter(&printer);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!QFontInfo(font).fixedPitch()) {
        font.setFamily(QStringLiteral("monospace"));
        font.setStyleHint(QFont::TypeWriter);
    }
    font.setPointSize(Printer::kListingPointSize);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = std::max(1, metrics.lineSpacing());
    const QRect page(QPoint(0, 0),
                     printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const qsizetype perLine =
        std::max(1, page.width() / std::max(1, metrics.horizontalAdvance(QLatin1Char('M'))));
    int y = 0;
    for (const QString& line : lines) {
        for (qsizetype from = 0; from == 0 || from < line.size(); from += perLine) {
            if (y > 0 && y + lineHeight > page.height()) {
                printer.newPage();
                y = 0;
            }
            const QString text = line.mid(from, perLine);
            if (!text.isEmpty())
                painter.drawText(0, y + metrics.ascent(), text);
            y += lineHeight;
        }
    }
}

} // namespace

class TestTotalsPrinting : public QObject {
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

    void printAllListsEveryRecord()
    {
        // Descriptions of different lengths and letter widths: in a
        // proportional font, or with the padding lost, the labels after them
        // would not line up.
        const std::vector<TaxRecord> records = {
            totalsRecord('0', "Other", "10", "WWWWWWWW", "1/2/1996", "Aunt May", "I-1", "Cash"),
            totalsRecord('3', "Receipts or Sales", "1234.5", "iii", "12/31/1996",
                       "Big Customer Inc.", "0000012345", "Credit Card"),
            totalsRecord('2', "Supplies", "7", "Ink and paper", "2/2/1996", "Shop", "", "Check"),
        };
        const QString path = env_->useFile(records);
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        action(t, "pall")->trigger();

        QCOMPARE(env_->printer.documents.size(), 1);
        const QString pdf = env_->printer.documents.first();
        QCOMPARE(pdfPages(pdf), 1);
        const QStringList lines = textLines(pdfText(pdf));
        QCOMPARE(lines, textLines(printAllListing(path, records).join(u'\n')));
        QCOMPARE(lines.first(),
                 QStringLiteral("All tax expense and income records for the file '%1'").arg(path));
        QStringList numbers;
        for (const QString& line : lines)
            if (line.startsWith(QStringLiteral("Record No: ")))
                numbers << line;
        QCOMPARE(numbers, (QStringList{"Record No: 1", "Record No: 2", "Record No: 3"}));

        // "Paid to:", "Invoice No:" and "Payment by:" all start in the same
        // column on every record, right below one another.
        QMap<QString, QList<double>> columns;
        for (const PdfWord& w : pdfWords(pdf))
            if (w.text == "Paid" || w.text == "Invoice" || w.text == "Payment")
                columns[w.text] << w.x;
        QCOMPARE(columns.value("Paid").size(), 3);
        QCOMPARE(columns.value("Invoice").size(), 3);
        QCOMPARE(columns.value("Payment").size(), 3);
        const double x = columns.value("Paid").first();
        for (const QList<double>& xs : columns)
            for (double other : xs)
                QVERIFY2(qAbs(other - x) < 0.01, qPrintable(QString::number(other - x)));
        QCOMPARE(t.gridRowCount(), 1);
    }

    void printAllGoesOnOnNewPages()
    {
        const std::vector<TaxRecord> records = listedRecords(40);
        const QString path = env_->useFile(records);
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        action(t, "pall")->trigger();

        const QString pdf = env_->printer.documents.value(0);
        QVERIFY(pdfPages(pdf) > 3);
        QCOMPARE(textLines(pdfText(pdf)), textLines(printAllListing(path, records).join(u'\n')));
    }

    // The pages and their text are what printing each line with QPainter
    // gives: the same number of pages, the same text, every word where it
    // stood.
    void printAllAsPrintedLineByLine()
    {
        std::vector<TaxRecord> records = listedRecords(15);
        records.push_back(totalsRecord('1', QStringLiteral("Wages, Salaries, Tips, etc."),
                                       QStringLiteral("-12345678901234"),
                                       QStringLiteral("ABCDEFGHIJKLMNOPQRST"),
                                       QStringLiteral("12/31/2049"),
                                       QStringLiteral("~`!@#$%^&*()_+-={}|["),
                                       QStringLiteral("]\\:\";'<>?,"), QStringLiteral("  lead")));
        records.push_back(totalsRecord('3', QString::fromUtf8("Caf\u00e9 \u20ac"),
                                       QStringLiteral("1.5"), QString::fromUtf8("na\u00efve"),
                                       QStringLiteral("1/1/1996")));
        const QString path = env_->useFile(
            records, QStringLiteral("a-file-name-long-enough-to-go-on-in-the-next-line-").repeated(2)
                         + QString::fromUtf8("\u00e9t\u00e9.dat"));
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        action(t, "pall")->trigger();
        const QString pdf = env_->printer.documents.value(0);
        const QString reference = env_->path(QStringLiteral("reference.pdf"));
        printLineByLine(printAllListing(path, records), reference);

        QVERIFY(pdfPages(pdf) > 1);
        QCOMPARE(pdfPages(pdf), pdfPages(reference));
        QCOMPARE(pdfText(pdf), pdfText(reference));
        QCOMPARE(pdfText(pdf, false), pdfText(reference, false));
        const QList<PdfWord> words = pdfWords(pdf);
        const QList<PdfWord> expected = pdfWords(reference);
        QCOMPARE(words.size(), expected.size());
        for (qsizetype i = 0; i < words.size(); ++i) {
            QCOMPARE(words[i].text, expected[i].text);
            QCOMPARE(words[i].page, expected[i].page);
            QVERIFY2(qAbs(words[i].x - expected[i].x) < 0.01 && qAbs(words[i].y - expected[i].y) < 0.01,
                     qPrintable(words[i].text));
        }
    }

    void printAllOfAnEmptyFileIsOnePage()
    {
        // A name too long for one line goes on in the next, not off the page.
        const QString name = QStringLiteral("records-of-the-household-").repeated(6) + "1996.dat";
        const QString path = env_->useFile({}, name);
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        action(t, "pall")->trigger();
        const QString pdf = env_->printer.documents.value(0);
        QCOMPARE(pdfPages(pdf), 1);
        const QStringList lines = textLines(pdfText(pdf));
        QVERIFY2(lines.size() >= 2, qPrintable(lines.join(u'\n')));
        QCOMPARE(lines.join(QString()),
                 QStringLiteral("All tax expense and income records for the file '%1'").arg(path));
    }

    void printFormGrowsForEveryRow_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("extraTwips");
        QTest::newRow("17 rows: designed size") << 17 << 0;
        QTest::newRow("20 rows: three rows more") << 20 << 726;
        QTest::newRow("3 rows") << 3 << 0;
    }
    void printFormGrowsForEveryRow()
    {
        QFETCH(int, rows);
        QFETCH(int, extraTwips);
        env_->useFile(listedRecords(rows));
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        t.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t));
        auto* grid = t.findChild<QTableView*>(QStringLiteral("Grid1"));
        auto* button = t.findChild<QPushButton*>(QStringLiteral("Command1"));
        const int menuHeight = t.findChild<QMenuBar*>()->height();
        const int formHeight = t.height();
        const int gridHeight = grid->height();
        QCOMPARE(formHeight, menuHeight + t.px(Taxtot::kClientHeight));
        QCOMPARE(gridHeight, t.px(Taxtot::kGridHeight));

        int printedForm = 0, printedGrid = 0;
        bool buttonHidden = false;
        int lastRowBottom = 0;
        int viewportHeight = 0;
        env_->printer.whilePrinting = [&](QWidget&) {
            printedForm = t.height();
            printedGrid = grid->height();
            buttonHidden = button->isHidden();
            lastRowBottom = grid->rowViewportPosition(rows - 1) + grid->rowHeight(rows - 1);
            viewportHeight = grid->viewport()->height();
        };
        action(t, "prn")->trigger();

        QCOMPARE(printedForm, menuHeight + t.px(Taxtot::kClientHeight + extraTwips));
        QCOMPARE(printedGrid, t.px(Taxtot::kGridHeight + extraTwips));
        QVERIFY(buttonHidden);
        // Every listed row is inside the grid on the printed form.
        QVERIFY(lastRowBottom > 0);
        QVERIFY(lastRowBottom <= viewportHeight);
        QCOMPARE(t.height(), formHeight);
        QCOMPARE(grid->height(), gridHeight);
        QVERIFY(!button->isHidden());

        QCOMPARE(env_->printer.documents.size(), 1);
        const QString pdf = env_->printer.documents.first();
        QCOMPARE(pdfPages(pdf), 1);
        const QString text = pdfText(pdf, false);
        for (int i = 1; i <= rows; ++i)
            QVERIFY2(text.contains(QStringLiteral("entry-%1").arg(i, 2, 10, QLatin1Char('0'))),
                     qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Personal")));
        QVERIFY(text.contains(QStringLiteral("Total:")));
        QVERIFY(text.contains(QStringLiteral("Payment To/By")));
        const int sum = rows * (rows + 1) / 2;
        QVERIFY2(text.contains(QStringLiteral("$%1").arg(sum)), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Return")));
        QVERIFY(!text.contains(QStringLiteral("Main Form")));
    }

    void printFormOfAYearNamesIt()
    {
        env_->useFile({
            totalsRecord('0', "Other", "10", "last-year", "12/30/1995"),
            totalsRecord('0', "Other", "2.5", "this-year", "5/5/1996"),
        });
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        action(t, "year1996")->trigger();
        action(t, "prn")->trigger();
        const QString text = pdfText(env_->printer.documents.value(0), false);
        QVERIFY2(text.contains(QStringLiteral("Total 1996:")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("this-year")));
        QVERIFY(!text.contains(QStringLiteral("last-year")));
        QVERIFY(text.contains(QStringLiteral("$2.5")));
    }

    void printFormOfHundredsOfRowsKeepsEveryRow()
    {
        // One page, whatever the number of rows: rows come out tiny, but
        // every one of them is there.
        constexpr int kRows = 700;
        std::vector<TaxRecord> records;
        for (int i = 1; i <= kRows; ++i)
            records.push_back(totalsRecord('0', QStringLiteral("Other"), QStringLiteral("1"),
                                         QStringLiteral("row%1x").arg(i)));
        env_->useFile(records);
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        t.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t));
        action(t, "prn")->trigger();

        const QString pdf = env_->printer.documents.value(0);
        QCOMPARE(pdfPages(pdf), 1);
        const QString text = pdfTextInStrips(pdf, 12);
        QStringList missing;
        for (int i = 1; i <= kRows; ++i)
            if (!text.contains(QStringLiteral("row%1x").arg(i)))
                missing << QString::number(i);
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("rows missing: ") + missing.join(u' ')));
        QVERIFY(text.contains(QStringLiteral("$%1").arg(kRows)));
    }

    void withoutPrinterOffersPdf_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("printed");
        QTest::newRow("Print, no printer") << "prn" << "" << "No printer is set up"
                                           << "entry-01";
        QTest::newRow("Print All, no printer") << "pall" << "" << "No printer is set up"
                                               << "Record No: 2";
        QTest::newRow("Print, printer fails") << "prn" << "The printer is out of paper."
                                              << "The printer is out of paper." << "entry-02";
        QTest::newRow("Print All, printer fails") << "pall" << "The printer is out of paper."
                                                  << "The printer is out of paper."
                                                  << "Record No: 1";
    }
    void withoutPrinterOffersPdf()
    {
        QFETCH(QString, command);
        QFETCH(QString, failure);
        QFETCH(QString, told);
        QFETCH(QString, printed);
        env_->useFile(listedRecords(2));
        env_->printer.available = failure.isEmpty() ? false : true;
        env_->printer.failure = failure;
        const QString pdf = env_->path(QStringLiteral("saved.pdf"));
        env_->dialogs.answerMessage(Answer::Yes).answerSaveFile(pdf);
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        action(t, qPrintable(command))->trigger();

        const QList<ShownBox> shown = env_->dialogs.shown();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[0].text.contains(told), qPrintable(shown[0].text));
        QVERIFY2(shown[0].text.contains(QStringLiteral("PDF")), qPrintable(shown[0].text));
        QCOMPARE(shown[0].buttons, Buttons::YesNo);
        QCOMPARE(shown[0].icon, Icon::Exclamation);
        QCOMPARE(shown[1].kind, ShownBox::Kind::SaveFile);
        QCOMPARE(env_->printer.documents, QStringList{});
        QVERIFY(pdfText(pdf).contains(printed));
        QVERIFY(!t.findChild<QPushButton*>(QStringLiteral("Command1"))->isHidden());
    }

    void declinedOrCancelledPdfWritesNothing_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("no PDF wanted") << false;
        QTest::newRow("save dialog cancelled") << true;
    }
    void declinedOrCancelledPdfWritesNothing()
    {
        QFETCH(bool, accept);
        env_->useFile(listedRecords(2));
        env_->printer.available = false;
        env_->dialogs.answerMessage(accept ? Answer::Yes : Answer::No);
        if (accept)
            env_->dialogs.answerSaveFile(std::nullopt);
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        action(t, "pall")->trigger();
        QCOMPARE(env_->printer.written, QStringList{});
    }

    void unwritablePdfIsReported()
    {
        env_->useFile(listedRecords(2));
        env_->printer.available = false;
        env_->dialogs.answerMessage(Answer::Yes)
            .answerSaveFile(QStringLiteral("/proc/totals.pdf"))
            .answerMessage(Answer::Ok);
        Taxtot t(env_->state, &env_->presfile);
        t.load();
        action(t, "prn")->trigger();
        const ShownBox box = env_->dialogs.last();
        QVERIFY2(box.text.contains(QStringLiteral("could not be saved")), qPrintable(box.text));
        QVERIFY2(box.text.contains(QStringLiteral("/proc/totals.pdf")), qPrintable(box.text));
        QCOMPARE(box.icon, Icon::Exclamation);
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/totals.pdf")));
        QCOMPARE(t.height(), t.findChild<QMenuBar*>()->height() + t.px(Taxtot::kClientHeight));
    }
};

QUILLARY_TEST_MAIN(TestTotalsPrinting)
#include "tst_totals_printing.moc"
