// The totals computation and the print listing, as plain functions.
#include "records/cp1252.h"
#include "reports/totals.h"
#include "support/records.h"
#include "support/testenv.h"

using namespace quillary;
using namespace quillary::test;

namespace {

// "kind|type|amount|description" to a record.
std::vector<TaxRecord> parseRecords(const QStringList& descriptions)
{
    std::vector<TaxRecord> records;
    for (const QString& description : descriptions) {
        const QStringList f = description.split(u'|');
        records.push_back(totalsRecord(f.at(0).at(0).toLatin1(), f.at(1), f.at(2), f.at(3)));
    }
    return records;
}

// One column of the rows, trimmed of blanks.
QStringList listed(const Totals& totals, TotalsColumn column)
{
    QStringList out;
    for (const TotalsRow& row : totals.rows)
        out << trimBlanks(row[std::size_t(column)]);
    return out;
}

QString padded(const QString& text, int width)
{
    return text.leftJustified(width, u' ', true);
}

} // namespace

class TestTotals : public QObject {
    Q_OBJECT

    LocaleGuard locale_{QStringLiteral("en_US")};

private slots:
    void selectionCodeFollowsTheOptions_data()
    {
        QTest::addColumn<bool>("personal");
        QTest::addColumn<bool>("expense");
        QTest::addColumn<bool>("income");
        QTest::addColumn<QString>("code");
        QTest::newRow("personal expense") << true << true << false << "0";
        QTest::newRow("personal income") << true << false << true << "1";
        QTest::newRow("business expense") << false << true << false << "2";
        QTest::newRow("business income") << false << false << true << "3";
        QTest::newRow("neither expense nor income") << true << false << false << "";
    }
    void selectionCodeFollowsTheOptions()
    {
        QFETCH(bool, personal);
        QFETCH(bool, expense);
        QFETCH(bool, income);
        QFETCH(QString, code);
        const std::optional<char> got = selectionCode(personal, expense, income);
        QCOMPARE(got ? QString(QLatin1Char(*got)) : QString(), code);
    }

    void computeTotals_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("descriptions");
        QTest::addColumn<QStringList>("totals");
        QTest::addColumn<QString>("label");

        const QStringList mixed = {
            "0|Other|10|groceries",     "1|Other|500|refund",
            "0|Medical and Dental Fees|2.5|dentist", "2|Other|99|shop",
            "0| Other|7.25|lead blank", "0|other|1|lower case",
        };
        QTest::newRow("one type") << mixed << "0" << "Other"
                                  << QStringList{"groceries", "lead blank"}
                                  << QStringList{"10", "17.25"} << "$17.25";
        QTest::newRow("All lists every type of the kind")
            << mixed << "0" << "All"
            << QStringList{"groceries", "dentist", "lead blank", "lower case"}
            << QStringList{"10", "12.5", "19.75", "20.75"} << "$20.75";
        QTest::newRow("Other of personal income is not Other of personal expense")
            << mixed << "1" << "Other" << QStringList{"refund"} << QStringList{"500"} << "$500";
        QTest::newRow("running totals")
            << QStringList{"2|Supplies|10|a", "2|Supplies|2.5|b", "2|Supplies|7.25|c"} << "2"
            << "Supplies" << QStringList{"a", "b", "c"} << QStringList{"10", "12.5", "19.75"}
            << "$19.75";
        QTest::newRow("type beyond ASCII")
            << QStringList{QString::fromUtf8("0|Caf\u00e9 \u20ac|3|euro"), "0|Caf? ?|4|question"}
            << "0" << QString::fromUtf8("Caf\u00e9 \u20ac") << QStringList{"euro"}
            << QStringList{"3"} << "$3";
        // Stored, the type would read "Caf? ?": no field holds it.
        QTest::newRow("type the code page cannot hold")
            << QStringList{"0|Caf? ?|4|question"} << "0" << QString::fromUtf8("Caf\u4e00 \u4e01")
            << QStringList{} << QStringList{} << "$0";
        QTest::newRow("no match") << mixed << "3" << "Receipts or Sales" << QStringList{}
                                  << QStringList{} << "$0";
        QTest::newRow("no kind chosen") << mixed << "" << "All" << QStringList{} << QStringList{}
                                        << "$0";
        QTest::newRow("empty and garbage amounts add nothing")
            << QStringList{"0|Other|5|a", "0|Other||empty", "0|Other|12abc|garbage",
                           "0|Other|1.5|b"}
            << "0" << "Other" << QStringList{"a", "empty", "garbage", "b"}
            << QStringList{"5", "5", "5", "6.5"} << "$6.5";
        QTest::newRow("negative amounts and four decimals")
            << QStringList{"3|Other Income|12.3456|a", "3|Other Income|-20|b",
                           "3|Other Income|0.0001|c"}
            << "3" << "Other Income" << QStringList{"a", "b", "c"}
            << QStringList{"12.3456", "-7.6544", "-7.6543"} << "$-7.6543";

        // Ten of the largest amounts a field holds leave the currency range:
        // the rows from there on, and the label, say so instead of a number.
        QStringList huge;
        for (int i = 1; i <= 11; ++i)
            huge << QStringLiteral("0|Other|%1|r%2")
                        .arg(i == 11 ? QStringLiteral("-99999999999999")
                                     : QStringLiteral("99999999999999"))
                        .arg(i);
        QStringList hugeRows, hugeTotals;
        for (int i = 1; i <= 11; ++i) {
            hugeRows << QStringLiteral("r%1").arg(i);
            hugeTotals << (i <= 9 ? QString::number(99999999999999LL * i) : kOutOfRange);
        }
        QTest::newRow("sum leaves the currency range")
            << huge << "0" << "All" << hugeRows << hugeTotals << kOutOfRange;
    }
    void computeTotals()
    {
        QFETCH(QStringList, records);
        QFETCH(QString, code);
        QFETCH(QString, type);
        QFETCH(QStringList, descriptions);
        QFETCH(QStringList, totals);
        QFETCH(QString, label);

        const TotalsSelection selection{
            code.isEmpty() ? std::nullopt : std::optional<char>(code.at(0).toLatin1()), type};
        const Totals result = quillary::computeTotals(parseRecords(records), selection);
        QCOMPARE(listed(result, ColDescription), descriptions);
        QCOMPARE(listed(result, ColTotal), totals);
        QCOMPARE(result.labelText(), label);
    }

    void computeTotalsOfAYear_data()
    {
        QTest::addColumn<int>("year"); // 0: all years
        QTest::addColumn<QStringList>("descriptions");
        QTest::addColumn<QStringList>("totals");
        QTest::newRow("all years") << 0 << QStringList{"a", "b", "c", "d", "e", "f"}
                                   << QStringList{"1", "3", "7", "15", "31", "63"};
        QTest::newRow("1996, from 1 January to 31 December")
            << 1996 << QStringList{"b", "c", "e"} << QStringList{"2", "6", "22"};
        QTest::newRow("1995") << 1995 << QStringList{"a"} << QStringList{"1"};
        QTest::newRow("2049, from two digits") << 2049 << QStringList{"f"} << QStringList{"32"};
        QTest::newRow("a year without records") << 2001 << QStringList{} << QStringList{};
    }
    void computeTotalsOfAYear()
    {
        QFETCH(int, year);
        QFETCH(QStringList, descriptions);
        QFETCH(QStringList, totals);
        const std::vector<TaxRecord> records = {
            totalsRecord('0', "Other", "1", "a", "12/31/1995"),
            totalsRecord('0', "Other", "2", "b", "1/1/1996"),
            totalsRecord('0', "Other", "4", "c", "12/31/96"),
            totalsRecord('0', "Other", "8", "d", "no date"),
            totalsRecord('0', "Other", "16", "e", "6/6/1996"),
            totalsRecord('0', "Other", "32", "f", "1/1/49"),
            totalsRecord('1', "Other", "64", "other kind", "6/6/1996"),
        };
        const Totals result = quillary::computeTotals(
            records, {'0', QStringLiteral("Other"), year ? YearChoice(year) : std::nullopt});
        QCOMPARE(listed(result, ColDescription), descriptions);
        QCOMPARE(listed(result, ColTotal), totals);
        QCOMPARE(result.labelText(), u'$' + (totals.isEmpty() ? QStringLiteral("0") : totals.last()));
    }

    void amountsReadAsTheFullConversionDoes_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("field");
        const QStringList common = {
            "0", "-0", "10", "12.5", "7.25", "-20", "0.0001", "00012.5000", "99999999999999",
            "-99999999999999", "123456789012345", "1.23456", "1.23455", "  7  ", "5.", ".5",
            "-", "", "  ", "12abc", "1,234.5", "1.234,5", "1 234", "$5", "(5)", "5-", "+5",
            "--5", "1e5", "\u0661\u0662", "12.5 x", "1.2.3", "12,5",
            "-0,0001", "1,23456", "7,", "\u20ac5", "5\u00a0", "\u00a05", "1\u00b75", "12\u00e9",
        };
        for (const char* locale : {"en_US", "de_DE"})
            for (const QString& field : common)
                QTest::addRow("%s \"%s\"", locale, qPrintable(field))
                    << QString::fromLatin1(locale) << field.leftJustified(14);
    }
    void amountsReadAsTheFullConversionDoes()
    {
        QFETCH(QString, locale);
        QFETCH(QString, field);
        const QLocale l(locale);
        const CurrencyResult fast = AmountReader(l)(field);
        const CurrencyResult full = textToCurrency(field, l);
        QCOMPARE(int(fast.status), int(full.status));
        if (full.ok())
            QCOMPARE(fast.value.units, full.value.units);
        // Read from the field's stored bytes, as the totals read a file.
        const QByteArray stored = toCp1252(field);
        const CurrencyResult fromBytes =
            AmountReader(l)(std::string_view(stored.constData(), std::size_t(stored.size())));
        const CurrencyResult ofStored = textToCurrency(fromCp1252(stored), l);
        QCOMPARE(int(fromBytes.status), int(ofStored.status));
        if (ofStored.ok())
            QCOMPARE(fromBytes.value.units, ofStored.value.units);
    }

    void rowsShowTheFieldsAsStored()
    {
        const TaxRecord r = totalsRecord('2', QStringLiteral("Supplies"), QStringLiteral("12abc"),
                                       QStringLiteral("Paper"), QStringLiteral("3/14/1996"),
                                       QStringLiteral("Office Shop"), QStringLiteral("INV-7"),
                                       QStringLiteral("Check"));
        const Totals result = quillary::computeTotals({r}, {'2', QStringLiteral("Supplies")});
        QCOMPARE(result.rows.size(), std::size_t(1));
        const TotalsRow& row = result.rows.front();
        QCOMPARE(row[ColDescription], padded("Paper", 20));
        QCOMPARE(row[ColDate], padded("3/14/1996", 15));
        QCOMPARE(row[ColInvoice], padded("INV-7", 10));
        QCOMPARE(row[ColAmount], padded("12abc", 14));
        QCOMPARE(row[ColPayMethod], padded("Check", 20));
        QCOMPARE(row[ColParty], padded("Office Shop", 20));
        QCOMPARE(row[ColTotal], QStringLiteral("0"));
    }

    void printAllListsEveryRecordInBlocks()
    {
        std::vector<TaxRecord> records = {
            totalsRecord('0', QStringLiteral("Other"), QStringLiteral("10"), QStringLiteral("Gift"),
                       QStringLiteral("1/2/1996"), QStringLiteral("Aunt May"),
                       QStringLiteral("I-1"), QStringLiteral("Cash")),
            totalsRecord('3', QStringLiteral("Receipts or Sales"), QStringLiteral("1234.5"),
                       QStringLiteral("A much longer descri"), QStringLiteral("12/31/1996"),
                       QStringLiteral("Big Customer Inc."), QStringLiteral("0000012345"),
                       QStringLiteral("Credit Card")),
        };
        const QStringList expected = {
            "All tax expense and income records for the file '/data/tax.dat'",
            "",
            "",
            "Record No: 1",
            "",
            "Description: Gift                Paid to: Aunt May            ",
            "Date: 1/2/1996                   Invoice No: I-1       ",
            "Amount: 10                       Payment by: Cash                ",
            "Expense/Income Type: Other                         ",
            "",
            "",
            "",
            "Record No: 2",
            "",
            "Description: A much longer descriPaid to: Big Customer Inc.   ",
            "Date: 12/31/1996                 Invoice No: 0000012345",
            "Amount: 1234.5                   Payment by: Credit Card         ",
            "Expense/Income Type: Receipts or Sales             ",
            "",
            "",
            "",
        };
        QCOMPARE(printAllListing(QStringLiteral("/data/tax.dat"), records), expected);
    }

    void printAllOfAnEmptyFileIsTheHeading()
    {
        QCOMPARE(printAllListing(QStringLiteral("Taxrecs.dat"), {}),
                 (QStringList{"All tax expense and income records for the file 'Taxrecs.dat'", "",
                              ""}));
    }
};

QUILLARY_CORE_TEST_MAIN(TestTotals)
#include "tst_totals.moc"
