// CSV as the program writes it, read back by a real CSV parser (Python's csv
// module) and compared field by field.

#include "reports/exports.h"
#include "reports/summary.h"
#include "support/pythoncsv.h"
#include "support/records.h"
#include "support/testenv.h"


using namespace quillary;
using quillary::test::readCsvWithPython;
using quillary::test::makeRecord;

namespace {

// A record whose fields hold bytes the form never writes, as a damaged or
// hostile file may: line breaks and quotes.
TaxRecord withRawDescription(TaxRecord r, const QByteArray& raw)
{
    QByteArray bytes = r.bytes();
    bytes.replace(110, raw.size(), raw);
    return TaxRecord::fromBytes(bytes);
}

const QStringList kHeader{"Record No.", "Personal/Business", "Expense/Income", "Date", "Amount",
                          "Invoice No.", "Pay Method", "Type", "Paid to/by", "Description"};

} // namespace

Q_DECLARE_METATYPE(TaxRecord)

class TestCsv : public QObject {
    Q_OBJECT

private slots:
    void fields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("safe");  // csvSafeText
        QTest::addColumn<QString>("field"); // csvField of the safe text
        QTest::newRow("plain") << "Office Depot" << "Office Depot" << "Office Depot";
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("comma") << "Smith, John" << "Smith, John" << "\"Smith, John\"";
        QTest::newRow("quotes") << "the \"best\"" << "the \"best\"" << "\"the \"\"best\"\"\"";
        QTest::newRow("line feed") << "a\nb" << "a\nb" << "\"a\nb\"";
        QTest::newRow("carriage return inside") << "a\rb" << "a\rb" << "\"a\rb\"";
        QTest::newRow("formula") << "=SUM(A1:A9)" << "'=SUM(A1:A9)" << "'=SUM(A1:A9)";
        QTest::newRow("plus") << "+1 555" << "'+1 555" << "'+1 555";
        QTest::newRow("minus") << "-2" << "'-2" << "'-2";
        QTest::newRow("at") << "@cmd" << "'@cmd" << "'@cmd";
        QTest::newRow("tab") << "\tx" << "'\tx" << "'\tx";
        QTest::newRow("leading carriage return") << "\rx" << "'\rx" << "\"'\rx\"";
        QTest::newRow("formula with comma") << "=A1,B1" << "'=A1,B1" << "\"'=A1,B1\"";
        QTest::newRow("equals inside") << "a=b" << "a=b" << "a=b";
        QTest::newRow("apostrophe first") << "'quoted" << "'quoted" << "'quoted";
    }
    void fields()
    {
        QFETCH(QString, text);
        QFETCH(QString, safe);
        QFETCH(QString, field);
        QCOMPARE(csvSafeText(text), safe);
        QCOMPARE(csvField(csvSafeText(text)), field);
    }

    void fileFormat()
    {
        CsvTable table;
        table.header = {QStringLiteral("a"), QStringLiteral("b")};
        table.rows = {{{QStringLiteral("x")}, CsvCell::number(QStringLiteral("-1.5"))}};
        QCOMPARE(encodeCsv(table), QByteArray("\xEF\xBB\xBF" "a,b\r\nx,-1.5\r\n"));
        CsvTable empty;
        empty.header = {QStringLiteral("only")};
        QCOMPARE(encodeCsv(empty), QByteArray("\xEF\xBB\xBF" "only\r\n"));
    }

    // Each record's row as a spreadsheet reads it.
    void recordsReadBack_data()
    {
        QTest::addColumn<TaxRecord>("record");
        QTest::addColumn<QStringList>("row"); // after the record number
        QTest::newRow("personal expense")
            << makeRecord('0', "3/14/2024", "125.4", "A-1041", "Check No: 1041",
                      "Medical and Dental Fees", "Dr. Meyer", "Check-up")
            << QStringList{"Personal", "Expense", "2024-03-14", "125.4", "A-1041",
                           "Check No: 1041", "Medical and Dental Fees", "Dr. Meyer", "Check-up"};
        QTest::newRow("business income, two-digit year, four decimals")
            << makeRecord('3', "12/31/99", "1234.5678", "", "Account", "Receipts or Sales",
                      "Acme, Inc.", "Q4 \"final\"")
            << QStringList{"Business", "Income", "1999-12-31", "1234.5678", "", "Account",
                           "Receipts or Sales", "Acme, Inc.", "Q4 \"final\""};
        QTest::newRow("negative amount, formula texts")
            << makeRecord('2', "1/2/2025", "-89.99", "=1+2", "+1 555", "Supplies", "@home",
                      "=SUM(A1:A9)")
            << QStringList{"Business", "Expense", "2025-01-02", "-89.99", "'=1+2", "'+1 555",
                           "Supplies", "'@home", "'=SUM(A1:A9)"};
        QTest::newRow("accented text from Windows-1252")
            << makeRecord('1', "7/4/2024", "50", "", "Cash", "Other", QString::fromUtf8("Müller & Söhne"),
                      QString::fromUtf8("Café – 5 €"))
            << QStringList{"Personal", "Income", "2024-07-04", "50", "", "Cash", "Other",
                           QString::fromUtf8("Müller & Söhne"), QString::fromUtf8("Café – 5 €")};
        QTest::newRow("unreadable date and amount, unknown kind")
            << makeRecord('7', "31/31/2024", "12,34,5", "", "", "Travel", "", "broken")
            << QStringList{"", "", "31/31/2024", "12,34,5", "", "", "Travel", "", "broken"};
        QTest::newRow("amount of a minus sign only is text")
            << makeRecord('0', "1/1/2024", "-", "", "", "Other", "", "")
            << QStringList{"Personal", "Expense", "2024-01-01", "'-", "", "", "Other", "", ""};
        QTest::newRow("line breaks in a damaged field")
            << withRawDescription(makeRecord('0', "1/1/2024", "1", "", "", "Other", "", ""),
                                  "two\r\nlines \"q\"")
            << QStringList{"Personal", "Expense", "2024-01-01", "1", "", "", "Other", "",
                           "two\r\nlines \"q\""};
    }
    void recordsReadBack()
    {
        QFETCH(TaxRecord, record);
        QFETCH(QStringList, row);
        test::LocaleGuard us(QStringLiteral("en_US"));
        const QList<QStringList> rows = readCsvWithPython(encodeCsv(recordsTable({record, record})));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0], kHeader);
        QCOMPARE(rows[1], QStringList{"1"} + row);
        QCOMPARE(rows[2], QStringList{"2"} + row);
    }

    void emptyFileGivesTheHeaderOnly()
    {
        QCOMPARE(readCsvWithPython(encodeCsv(recordsTable({}))), QList<QStringList>{kHeader});
    }

    // The totals listing: the running total as a number and a last row
    // with the total.
    void totalsReadBack()
    {
        test::LocaleGuard us(QStringLiteral("en_US"));
        const QStringList header{"Description", "Date", "Invoice No.", "Amount", "Pay Method",
                                 "Payment To/By", "Total"};
        const std::vector<TaxRecord> records{
            makeRecord('0', "3/1/2024", "10", "A1", "Cash", "Other", "Shop, Ltd", "=first"),
            makeRecord('0', "3/2/2024", "2.5", "", "Cash", "Other", "", "second"),
            makeRecord('1', "3/3/2024", "99", "", "", "Other", "", "other kind"),
            makeRecord('0', "bad", "not a number", "", "", "Other", "", "third"),
            makeRecord('0', "3/4/2024", "-0.0001", "", "", "Other", "", "fourth")};
        const Totals totals = computeTotals(records, {'0', QStringLiteral("Other")});
        const QList<QStringList> rows =
            readCsvWithPython(encodeCsv(totalsTable(header, totals.rows)));
        const QList<QStringList> expected{
            header,
            {"'=first", "2024-03-01", "A1", "10", "Cash", "Shop, Ltd", "10"},
            {"second", "2024-03-02", "", "2.5", "Cash", "", "12.5"},
            {"third", "bad", "", "not a number", "", "", "12.5"},
            {"fourth", "2024-03-04", "", "-0.0001", "", "", "12.4999"},
            {"Total", "", "", "", "", "", "12.4999"}};
        QCOMPARE(rows, expected);

        const QList<QStringList> none = readCsvWithPython(encodeCsv(totalsTable(header, {})));
        QCOMPARE(none, (QList<QStringList>{header, {"Total", "", "", "", "", "", "0"}}));
    }

    // Types outside the lists, figures out of range and hostile texts of
    // records not counted, in the summary's CSV.
    void summaryReadBack()
    {
        test::LocaleGuard us(QStringLiteral("en_US"));
        // Ten of the largest amounts a field holds leave the currency range.
        std::vector<TaxRecord> records(
            10, makeRecord('3', "1/1/2024", "99999999999999", "", "", "Garden, front", "", ""));
        records.push_back(makeRecord('1', "1/3/2024", "=1+1", "", "", "Other", "", "=cmd|' /C calc'!A0"));
        const Summary summary = computeSummary(DatedRecords(records), 2024);
        const QList<QStringList> rows =
            readCsvWithPython(encodeCsv(summaryTable(summary, /*hideEmpty=*/true)));
        const auto rowOf = [&rows](const QString& category) {
            for (const QStringList& row : rows)
                if (row.size() > 1 && row[1] == category)
                    return row;
            return QStringList{};
        };
        QCOMPARE(rowOf("Garden, front (not a category of the list)"),
                 (QStringList{"Business income", "Garden, front (not a category of the list)", "10",
                              "Out of range"}));
        QCOMPARE(rowOf("Total business income").last(), QStringLiteral("Out of range"));
        QCOMPARE(rows.last().mid(0, 5),
                 (QStringList{"Not counted", "11", "1/3/2024", "'=1+1", "'=cmd|' /C calc'!A0"}));
    }

    // Amounts and dates written under another locale come out the same.
    void recordsOfAGermanFile()
    {
        test::LocaleGuard de(QStringLiteral("de_DE"));
        const QList<QStringList> rows = readCsvWithPython(encodeCsv(recordsTable(
            {makeRecord('0', "14.03.2024", "-1234,5", "", "", "Other", "", "")})));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1].mid(3, 2), (QStringList{"2024-03-14", "-1234.5"}));
    }
};

QUILLARY_CORE_TEST_MAIN(TestCsv)
#include "tst_csv.moc"
