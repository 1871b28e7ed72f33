// The year summary as plain functions: the years, the default year, every
// figure, the records not counted, the rows shown and printed, and the
// agreement with the totals window's computation.
#include "reports/totals.h"
#include "records/categories.h"
#include "reports/summary.h"
#include "reports/summarylayout.h"
#include "support/testenv.h"

#include <QRandomGenerator>

using namespace quillary;
using namespace quillary::test;

namespace {

const char* const kSectionCodes[] = {"PE", "PI", "BE", "BI"};

// "kind|type|amount|date" to records described "r1", "r2", ... in order.
std::vector<TaxRecord> parseRecords(const QStringList& lines)
{
    std::vector<TaxRecord> records;
    int n = 0;
    for (const QString& line : lines) {
        const QStringList f = line.split(u'|');
        TaxRecord r;
        r.setField(Field::Kind, f.value(0));
        r.setField(Field::Type, f.value(1));
        r.setField(Field::Amount, f.value(2));
        r.setField(Field::Date, f.value(3, QStringLiteral("6/15/1996")));
        r.setField(Field::Description, QStringLiteral("r%1").arg(++n));
        records.push_back(r);
    }
    return records;
}

// Every figure of a summary that is not empty, one line each: "PE Other: 2 =
// 17.25" for a category, "PE *Garden: ..." for a type outside the list,
// "PE total: ..." per section with records, then the three totals and the
// records not counted.
QStringList describe(const Summary& s)
{
    QStringList out;
    for (std::size_t k = 0; k < 4; ++k) {
        const SummarySection& section = s.sections[k];
        for (const SummaryLine& line : section.lines)
            if (line.records > 0 || !line.listed)
                out << QStringLiteral("%1 %2%3: %4 = %5")
                           .arg(QLatin1String(kSectionCodes[k]), line.listed ? "" : "*", line.type)
                           .arg(line.records)
                           .arg(figureText(line.total));
        if (section.records > 0)
            out << QStringLiteral("%1 total: %2 = %3")
                       .arg(QLatin1String(kSectionCodes[k]))
                       .arg(section.records)
                       .arg(figureText(section.total));
    }
    out << QStringLiteral("income = ") + figureText(s.income)
        << QStringLiteral("expenses = ") + figureText(s.expenses)
        << QStringLiteral("result = ") + figureText(s.businessResult);
    for (const NotCountedRecord& r : s.notCounted)
        out << QStringLiteral("not counted %1 [%2|%3|%4]: %5")
                   .arg(r.number)
                   .arg(r.date, r.amount, r.description, r.reasonText());
    return out;
}

// A file such as a user, an older program or a damaged disk may leave: all
// kinds and types, types outside the lists, blanks, bad kind codes, amounts
// that are no numbers or too large, dates of several years in two- and
// four-digit forms, and dates that are no dates.
std::vector<TaxRecord> generatedRecords(quint32 seed, int count)
{
    QRandomGenerator random(seed);
    const QStringList strangeTypes = {"Garden", "other", " Other ", "", "Supplies  x",
                                      "Receipts or Sales"};
    const QStringList amounts = {"10", "2.5", "7.25", "-3", "0.0001", "", "abc", "12,5",
                                 "99999999999999", "-99999999999999", "1,234.5", "(5)"};
    const QStringList dates = {"1/1/1995", "12/31/1995", "1/1/96", "12/31/96", "2/29/1996",
                               "2/30/1996", "", "someday", "7/4/2024", "1996-03-01"};
    std::vector<TaxRecord> records;
    for (int i = 0; i < count; ++i) {
        TaxRecord r;
        const int pick = int(random.bounded(20));
        const char code = pick < 18 ? char('0' + pick % 4) : (pick == 18 ? '7' : ' ');
        r.setField(Field::Kind, QString(QLatin1Char(code)));
        QString type;
        if (const auto kind = kindFromCode(code); kind && random.bounded(5) != 0) {
            const QStringList& list = typeList(*kind);
            type = list.at(int(random.bounded(quint32(list.size()))));
        } else {
            type = strangeTypes.at(int(random.bounded(quint32(strangeTypes.size()))));
        }
        r.setField(Field::Type, type);
        r.setField(Field::Amount,
                   random.bounded(3) == 0
                       ? amounts.at(int(random.bounded(quint32(amounts.size()))))
                       : QString::number(random.bounded(100000)) + u'.'
                             + QString::number(random.bounded(100)));
        r.setField(Field::Date, dates.at(int(random.bounded(quint32(dates.size())))));
        r.setField(Field::Description, QStringLiteral("g%1").arg(i));
        records.push_back(r);
    }
    return records;
}

} // namespace

class TestSummary : public QObject {
    Q_OBJECT

    LocaleGuard locale_{QStringLiteral("en_US")};

private slots:
    void figures_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<int>("year"); // 0: all years
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("each kind in its own section")
            << QStringList{"0|Medical and Dental Fees|10", "1|Dividend Income|20",
                           "2|Advertising|30", "3|Receipts or Sales|40.5"}
            << 0
            << QStringList{"PE Medical and Dental Fees: 1 = 10", "PE total: 1 = 10",
                           "PI Dividend Income: 1 = 20",         "PI total: 1 = 20",
                           "BE Advertising: 1 = 30",             "BE total: 1 = 30",
                           "BI Receipts or Sales: 1 = 40.5",     "BI total: 1 = 40.5",
                           "income = 60.5", "expenses = 40", "result = 10.5"};
        QTest::newRow("Other of three lists told apart by kind")
            << QStringList{"0|Other|1", "1|Other|20", "2|Other|300", "0|Other|0.5",
                           "3|Other|4000"}
            << 0
            << QStringList{"PE Other: 2 = 1.5", "PE total: 2 = 1.5", "PI Other: 1 = 20",
                           "PI total: 1 = 20", "BE Other: 1 = 300", "BE total: 1 = 300",
                           "BI *Other: 1 = 4000", "BI total: 1 = 4000", "income = 4020",
                           "expenses = 301.5", "result = 3700"};
        QTest::newRow("types outside the list, sorted, blanks trimmed")
            << QStringList{"2|Travel|5", "2|Gardening|7", "2|  Travel  |1", "2|Bribes|3",
                           "2|travel|2", "2||4", "2|Gardening|1.25"}
            << 0
            << QStringList{"BE Travel: 2 = 6", "BE *: 1 = 4", "BE *Bribes: 1 = 3",
                           "BE *Gardening: 2 = 8.25", "BE *travel: 1 = 2", "BE total: 7 = 23.25",
                           "income = 0", "expenses = 23.25", "result = -23.25"};
        QTest::newRow("a business loss is negative")
            << QStringList{"3|Receipts or Sales|100", "2|Supplies|250.75",
                           "3|Returns & Allowances|-20"}
            << 0
            << QStringList{"BE Supplies: 1 = 250.75", "BE total: 1 = 250.75",
                           "BI Receipts or Sales: 1 = 100", "BI Returns & Allowances: 1 = -20",
                           "BI total: 2 = 80", "income = 80", "expenses = 250.75",
                           "result = -170.75"};
        QTest::newRow("two-digit years as the date sort reads them")
            << QStringList{"0|Other|1|1/5/96", "0|Other|2|1/5/1996", "0|Other|4|1/5/49",
                           "0|Other|8|1/5/50", "0|Other|16|1/5/2049"}
            << 1996
            << QStringList{"PE Other: 2 = 3", "PE total: 2 = 3", "income = 0",
                           "expenses = 3", "result = 0"};
        QTest::newRow("2049 from two digits")
            << QStringList{"0|Other|1|1/5/96", "0|Other|4|1/5/49", "0|Other|16|1/5/2049"}
            << 2049
            << QStringList{"PE Other: 2 = 20", "PE total: 2 = 20", "income = 0",
                           "expenses = 20", "result = 0"};
        const QStringList turn = {"1|Taxable Interest Income|1|12/31/1995",
                                  "1|Taxable Interest Income|2|1/1/1996",
                                  "1|Taxable Interest Income|4|12/31/1996",
                                  "1|Taxable Interest Income|8|1/1/1997"};
        QTest::newRow("31 December and 1 January: 1996")
            << turn << 1996
            << QStringList{"PI Taxable Interest Income: 2 = 6", "PI total: 2 = 6",
                           "income = 6", "expenses = 0", "result = 0"};
        QTest::newRow("31 December and 1 January: 1995")
            << turn << 1995
            << QStringList{"PI Taxable Interest Income: 1 = 1", "PI total: 1 = 1",
                           "income = 1", "expenses = 0", "result = 0"};
        QTest::newRow("faulty records are listed, not counted")
            << QStringList{"0|Other|5|1/2/1996", "0|Other||1/3/1996", "0|Other|12abc|1/4/1996",
                           "7|Other|5|1/5/1996", " |Other|5|1/6/1996",
                           "9|Other|x|1/8/1996",
                           "0|Other|3|not a date", "0|Other|1|2/30/1996"}
            << 0
            << QStringList{"PE Other: 3 = 9", "PE total: 3 = 9", "income = 0",
                           "expenses = 9", "result = 0",
                           "not counted 2 [1/3/1996||r2]: No amount",
                           "not counted 3 [1/4/1996|12abc|r3]: Amount is not a number",
                           "not counted 4 [1/5/1996|5|r4]: Kind code is not 0 to 3",
                           "not counted 5 [1/6/1996|5|r5]: Kind code is not 0 to 3",
                           "not counted 6 [1/8/1996|x|r6]: Kind code is not 0 to 3; amount is "
                           "not a number"};
        QTest::newRow("with a year, unreadable dates are not counted")
            << QStringList{"0|Other|5|1/2/1996", "0|Other|3|not a date", "0|Other|1|2/30/1996",
                           "0|Other|7|1/2/1997", "7|Other|1|1/2/1997", "7|Other|||"}
            << 1996
            << QStringList{"PE Other: 1 = 5", "PE total: 1 = 5", "income = 0",
                           "expenses = 5", "result = 0",
                           "not counted 2 [not a date|3|r2]: Date cannot be read",
                           "not counted 3 [2/30/1996|1|r3]: Date cannot be read",
                           "not counted 6 [||r6]: Kind code is not 0 to 3; date cannot be read; "
                           "no amount"};

        QStringList huge;
        for (int i = 0; i < 10; ++i)
            huge << QStringLiteral("2|Travel|99999999999999");
        huge << "2|Supplies|1" << "3|Other Income|5";
        QTest::newRow("a sum beyond the currency range")
            << huge << 0
            << QStringList{"BE Supplies: 1 = 1", "BE Travel: 10 = Out of range",
                           "BE total: 11 = Out of range", "BI Other Income: 1 = 5",
                           "BI total: 1 = 5", "income = 5", "expenses = Out of range",
                           "result = Out of range"};
        QTest::newRow("no records")
            << QStringList{} << 0 << QStringList{"income = 0", "expenses = 0", "result = 0"};
    }
    void figures()
    {
        QFETCH(QStringList, records);
        QFETCH(int, year);
        QFETCH(QStringList, expected);
        const DatedRecords dated(parseRecords(records));
        const Summary s = computeSummary(dated, year ? YearChoice(year) : std::nullopt);
        QCOMPARE(describe(s), expected);
        QCOMPARE(s.year, year ? YearChoice(year) : std::nullopt);
    }

    void everyCategoryOfEveryListIsThere()
    {
        const Summary s = computeSummary(DatedRecords(parseRecords({"3|Garden|1"})), std::nullopt);
        for (std::size_t k = 0; k < 4; ++k) {
            const SummarySection& section = s.sections[k];
            QCOMPARE(section.kind, *kindFromCode(char('0' + k)));
            QStringList listed;
            for (const SummaryLine& line : section.lines)
                if (line.listed)
                    listed << line.type;
            QCOMPARE(listed, typeList(section.kind));
        }
        QCOMPARE(s.sections[3].lines.back().type, QStringLiteral("Garden"));
        QVERIFY(!s.sections[3].lines.back().listed);
    }

    void yearsNewestFirst()
    {
        const DatedRecords dated(parseRecords(
            {"0|Other|1|3/3/1995", "0|Other|1|1/1/97", "7|Other|x|12/31/1996", "0|Other|1|soon",
             "0|Other|1|2/2/1995", "0|Other|1|", "0|Other|1|1997-05-05"}));
        QCOMPARE(dated.years(), (std::vector<int>{1997, 1996, 1995}));
        QCOMPARE(dated.yearOf(1), std::optional<int>(1997));
        QCOMPARE(dated.yearOf(3), std::nullopt);
        QCOMPARE(yearChoices(dated.years()),
                 (std::vector<YearChoice>{1997, 1996, 1995, std::nullopt}));
        QCOMPARE(yearChoices({}), (std::vector<YearChoice>{std::nullopt}));
        QCOMPARE(yearText(1996), QStringLiteral("1996"));
        QCOMPARE(yearText(std::nullopt), QStringLiteral("All years"));
    }

    void datesReadInTheUsersFormat()
    {
        const LocaleGuard german(QStringLiteral("de_DE"));
        const DatedRecords dated(parseRecords({"0|Other|1|31.12.1996", "0|Other|1|1.2.97",
                                               "0|Other|1|12/31/1996"}));
        QCOMPARE(dated.years(), (std::vector<int>{1997, 1996}));
        QCOMPARE(dated.yearOf(2), std::nullopt);
    }

    void defaultYear_data()
    {
        QTest::addColumn<QList<int>>("years");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("expected"); // 0: all years
        QTest::newRow("the year before today's") << QList<int>{1997, 1996, 1995} << QDate(1997, 3, 1) << 1996;
        QTest::newRow("last year missing: the latest before") << QList<int>{2024, 2021} << QDate(2024, 1, 1) << 2021;
        QTest::newRow("today's year is past") << QList<int>{1996, 1995} << QDate(2024, 6, 30) << 1996;
        QTest::newRow("only this year") << QList<int>{2024} << QDate(2024, 12, 31) << 2024;
        QTest::newRow("only future years: the latest") << QList<int>{2031, 2030} << QDate(2024, 1, 1) << 2031;
        QTest::newRow("no dated records") << QList<int>{} << QDate(2024, 1, 1) << 0;
    }
    void defaultYear()
    {
        QFETCH(QList<int>, years);
        QFETCH(QDate, today);
        QFETCH(int, expected);
        QCOMPARE(defaultYearChoice(std::vector<int>(years.begin(), years.end()), today),
                 expected ? YearChoice(expected) : std::nullopt);
    }

    void countsAddUp_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u, 4u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void countsAddUp()
    {
        QFETCH(quint32, seed);
        const DatedRecords dated(generatedRecords(seed, 600));
        const Summary all = computeSummary(dated, std::nullopt);
        QCOMPARE(all.counted + int(all.notCounted.size()), 600);
        int inSections = 0;
        for (const SummarySection& section : all.sections) {
            int inLines = 0;
            for (const SummaryLine& line : section.lines)
                inLines += line.records;
            QCOMPARE(inLines, section.records);
            inSections += section.records;
        }
        QCOMPARE(inSections, all.counted);

        // Each record of a year's summary is counted or listed; the years
        // and the undated together are the whole file.
        int byYear = 0;
        for (const YearChoice& year : yearChoices(dated.years())) {
            if (!year)
                continue;
            const Summary s = computeSummary(dated, year);
            int ofYear = 0;
            for (std::size_t i = 0; i < dated.size(); ++i)
                ofYear += dated.yearOf(i) == year;
            int undated = 0;
            for (const NotCountedRecord& r : s.notCounted)
                undated += !dated.yearOf(std::size_t(r.number - 1));
            QCOMPARE(s.counted + int(s.notCounted.size()) - undated, ofYear);
            byYear += s.counted;
        }
        int datedCounted = 0;
        for (const SummarySection& section : all.sections)
            datedCounted += section.records;
        QVERIFY(byYear <= datedCounted);
    }

    void allYearsAgreesWithTheTotalsWindow_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<QString>("locale");
        for (quint32 seed : {11u, 12u, 13u})
            QTest::addRow("seed %u", seed) << seed << "en_US";
        QTest::addRow("seed 14, de_DE") << 14u << "de_DE";
    }
    void allYearsAgreesWithTheTotalsWindow()
    {
        QFETCH(quint32, seed);
        QFETCH(QString, locale);
        const LocaleGuard guard(locale);
        const std::vector<TaxRecord> records = generatedRecords(seed, 800);
        const Summary s = computeSummary(DatedRecords(records), std::nullopt);
        for (const SummarySection& section : s.sections) {
            const char code = kindCode(section.kind);
            const Totals all = computeTotals(records, {code, kAllTypes});
            QCOMPARE(figureText(section.total), figureText(all.total));
            // The totals window lists the not-counted ones too, adding
            // nothing for them.
            int listedNotCounted = 0;
            for (const NotCountedRecord& r : s.notCounted)
                listedNotCounted += records[std::size_t(r.number - 1)].kindCode() == code;
            QCOMPARE(int(all.rows.size()), section.records + listedNotCounted);
            for (const SummaryLine& line : section.lines) {
                if (!line.listed)
                    continue; // the totals window offers only the list
                const Totals one = computeTotals(records, {code, line.type});
                QVERIFY2(figureText(line.total) == figureText(one.total),
                         qPrintable(line.type + u' ' + figureText(line.total) + u' '
                                    + figureText(one.total)));
            }
        }
    }

    // With a year chosen in both, the summary and the totals window agree
    // as well.
    void aYearAgreesWithTheTotalsWindow()
    {
        const std::vector<TaxRecord> records = generatedRecords(21, 800);
        const DatedRecords dated(records);
        QVERIFY(dated.years().size() >= 3);
        for (int year : dated.years()) {
            const Summary s = computeSummary(dated, year);
            for (const SummarySection& section : s.sections) {
                const char code = kindCode(section.kind);
                QCOMPARE(figureText(section.total),
                         figureText(computeTotals(records, {code, kAllTypes, year}).total));
                for (const SummaryLine& line : section.lines)
                    if (line.listed)
                        QCOMPARE(figureText(line.total),
                                 figureText(computeTotals(records, {code, line.type, year}).total));
            }
        }
    }

    void rowsInOrder()
    {
        const Summary s = computeSummary(
            DatedRecords(parseRecords({"0|Other|10", "0|Gifts to Charity|40", "0|Cards|5",
                                       "3|Receipts or Sales|-80"})),
            std::nullopt);
        using Style = SummaryRow::Style;
        const std::vector<SummaryRow> all = summaryRows(s, false);
        // 4 headings, 45 categories, one type outside its list, 4 section
        // totals and 3 totals.
        QCOMPARE(all.size(), std::size_t(4 + 45 + 1 + 4 + 3));
        QCOMPARE(all[0].style, Style::SectionHeading);
        QCOMPARE(all[0].label, QStringLiteral("Personal expense"));
        QCOMPARE(all[1].label, QStringLiteral("Medical and Dental Fees"));
        QCOMPARE(all[1].style, Style::EmptyCategory);
        QCOMPARE(all[1].records, QStringLiteral("0"));
        QCOMPARE(all[1].figure, QStringLiteral("0"));
        QCOMPARE(all[1].share, 0.0);
        QCOMPARE(all[5].label, QStringLiteral("Gifts to Charity"));
        QCOMPARE(all[5].style, Style::Category);
        QCOMPARE(all[5].share, 1.0);
        QCOMPARE(all[8].label, QStringLiteral("Other"));
        QCOMPARE(all[8].share, 0.25);
        QCOMPARE(all[9].style, Style::Unlisted);
        QCOMPARE(all[9].label, QStringLiteral("Cards"));
        QCOMPARE(all[9].note, kUnlistedNote);
        QCOMPARE(all[10].style, Style::SectionTotal);
        QCOMPARE(all[10].label, QStringLiteral("Total personal expense"));
        QCOMPARE(all[10].records, QStringLiteral("3"));
        QCOMPARE(all[10].figure, QStringLiteral("55"));
        QCOMPARE(all[11].label, QStringLiteral("Personal income"));
        // A negative total has a bar of its size.
        const auto receipts = std::find_if(all.begin(), all.end(), [](const SummaryRow& r) {
            return r.label == QStringLiteral("Receipts or Sales");
        });
        QCOMPARE(receipts->share, 1.0);
        QCOMPARE(receipts->figure, QStringLiteral("-80"));

        const std::vector<SummaryRow> tail(all.end() - 3, all.end());
        QCOMPARE(tail[0].label, QStringLiteral("Total income"));
        QCOMPARE(tail[0].figure, QStringLiteral("-80"));
        QCOMPARE(tail[1].label, QStringLiteral("Total expenses"));
        QCOMPARE(tail[1].figure, QStringLiteral("55"));
        QCOMPARE(tail[1].records, QStringLiteral("3"));
        QCOMPARE(tail[2].label, QStringLiteral("Business result"));
        QCOMPARE(tail[2].figure, QStringLiteral("-80"));

        QStringList shown;
        for (const SummaryRow& row : summaryRows(s, true))
            if (row.style == Style::Category || row.style == Style::Unlisted
                || row.style == Style::EmptyCategory)
                shown << row.label;
        QCOMPARE(shown, (QStringList{"Gifts to Charity", "Other", "Cards", "Receipts or Sales"}));
    }

    void printoutHeadingAndNotCounted()
    {
        const Summary s = computeSummary(
            DatedRecords(parseRecords({"0|Other|10|1/2/1996", "0|Other|ten|1/3/1996"})), 1996);
        const SummaryPrintout p =
            summaryPrintout(s, false, QStringLiteral("/home/me/tax.dat"), QDate(1997, 2, 3));
        QCOMPARE(p.title, QStringLiteral("Tax Year Summary: 1996"));
        QCOMPARE(p.heading,
                 (QStringList{"File: /home/me/tax.dat", "Year: 1996        Printed: 2/3/1997"}));
        QCOMPARE(p.rows.size(), std::size_t(4 + 45 + 4 + 3));
        QCOMPARE(p.notCountedTitle, QStringLiteral("Not counted: 1 record"));
        QCOMPARE(p.notCounted,
                 (std::vector<QStringList>{{"2", "1/3/1996", "ten", "r2", "Amount is not a number"}}));
        QCOMPARE(notCountedHeaders().size(), int(kNotCountedColumns));
        QCOMPARE(countsText(s, 2),
                 QStringLiteral("1996: 1 record counted, 1 not counted, of 2 records in the file."));
        QCOMPARE(notCountedTitle(computeSummary(DatedRecords(), std::nullopt)),
                 QStringLiteral("Not counted: none"));
    }

    void splitFigure_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("figure");
        QTest::addColumn<QString>("whole");
        QTest::addColumn<QString>("fraction");
        QTest::newRow("decimals") << "en_US" << "-12.5" << "-12" << ".5";
        QTest::newRow("whole") << "en_US" << "10" << "10" << "";
        QTest::newRow("comma") << "de_DE" << "0,0001" << "0" << ",0001";
        QTest::newRow("out of range") << "en_US" << "Out of range" << "Out of range" << "";
    }
    void splitFigure()
    {
        QFETCH(QString, locale);
        QFETCH(QString, figure);
        QFETCH(QString, whole);
        QFETCH(QString, fraction);
        const FigureParts parts = quillary::splitFigure(figure, QLocale(locale));
        QCOMPARE(parts.whole, whole);
        QCOMPARE(parts.fraction, fraction);
    }

    void pageStarts_data()
    {
        QTest::addColumn<QList<double>>("heights");
        QTest::addColumn<QList<bool>>("keep");
        QTest::addColumn<QList<int>>("starts");
        QTest::newRow("all on one page") << QList<double>{3, 3, 4} << QList<bool>{} << QList<int>{0};
        QTest::newRow("exactly full") << QList<double>{5, 5, 5} << QList<bool>{} << QList<int>{0, 2};
        QTest::newRow("overflow") << QList<double>{4, 4, 4, 4, 4} << QList<bool>{} << QList<int>{0, 2, 4};
        QTest::newRow("a heading goes with its first line")
            << QList<double>{4, 4, 1, 2} << QList<bool>{false, false, true, false} << QList<int>{0, 2};
        QTest::newRow("a heading at the top stays")
            << QList<double>{1, 9, 1} << QList<bool>{true, false, false} << QList<int>{0, 2};
        QTest::newRow("a block higher than a page")
            << QList<double>{2, 25, 2} << QList<bool>{} << QList<int>{0, 1, 2};
        QTest::newRow("nothing") << QList<double>{} << QList<bool>{} << QList<int>{0};
    }
    void pageStarts()
    {
        QFETCH(QList<double>, heights);
        QFETCH(QList<bool>, keep);
        QFETCH(QList<int>, starts);
        const std::vector<std::size_t> got = quillary::pageStarts(
            std::vector<double>(heights.begin(), heights.end()),
            std::vector<bool>(keep.begin(), keep.end()), 10);
        QCOMPARE(QList<int>(got.begin(), got.end()), starts);
    }
};

QUILLARY_CORE_TEST_MAIN(TestSummary)
#include "tst_summary.moc"
