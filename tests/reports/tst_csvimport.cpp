// Reading bank and card statements and what their rows become: detection,
// parsing, the table and its header, dates, amounts, columns, kinds,
// duplicates, and the statements of tests/fixtures/csv end to end.

#include "reports/csvimport.h"
#include "records/categories.h"
#include "support/records.h"
#include "support/testenv.h"

#include <QFile>

using namespace quillary;

Q_DECLARE_METATYPE(DateOrder)
Q_DECLARE_METATYPE(DateStatus)
Q_DECLARE_METATYPE(AmountStatus)
Q_DECLARE_METATYPE(KindRule)
Q_DECLARE_METATYPE(TextEncoding)

namespace {

QByteArray fixture(const QString& name)
{
    QFile file(QStringLiteral(QUILLARY_FIXTURES "/csv/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("fixture %s is missing", qPrintable(name));
    return file.readAll();
}

QStringList fieldsOf(const CsvText& t)
{
    QStringList out;
    for (const CsvInputRow& row : t.rows)
        out << QStringLiteral("%1:%2").arg(row.line).arg(row.fields.join(u'|'));
    return out;
}

// A table of one header and rows, as the window would have it.
ImportTable makeImportTable(const QStringList& header, std::initializer_list<QStringList> rows)
{
    ImportTable t;
    t.header = !header.isEmpty();
    t.columns = header;
    int line = 2;
    for (const QStringList& row : rows)
        t.rows.push_back({line++, row});
    if (header.isEmpty() && !t.rows.empty()) {
        for (qsizetype i = 0; i < t.rows.front().fields.size(); ++i)
            t.columns << QStringLiteral("Column %1").arg(i + 1);
    }
    return t;
}

// A record as the import writes it, for comparisons.
QString describe(const TaxRecord& r)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
        .arg(QChar::fromLatin1(r.kindCode()), trimBlanks(r.field(Field::Date)),
             trimBlanks(r.field(Field::Amount)), trimBlanks(r.field(Field::Invoice)),
             trimBlanks(r.field(Field::PayMethod)), trimBlanks(r.field(Field::Type)),
             trimBlanks(r.field(Field::Party)), trimBlanks(r.field(Field::Description)));
}

QString describe(const ImportRow& row)
{
    switch (row.status) {
    case ImportRow::Status::Ready: return describe(row.record);
    case ImportRow::Status::Duplicate: return QStringLiteral("duplicate: ") + row.reason;
    case ImportRow::Status::Unreadable: return QStringLiteral("skipped: ") + row.reason;
    }
    return {};
}

QStringList describe(const std::vector<ImportRow>& rows)
{
    QStringList out;
    for (const ImportRow& row : rows)
        out << describe(row);
    return out;
}

ImportSettings amountColumns(int date, int amount, int description = kNoColumn)
{
    ImportSettings s;
    s.columns.date = date;
    s.columns.amount = amount;
    s.columns.description = description;
    return s;
}

} // namespace

class TestCsvImport : public QObject {
    Q_OBJECT

private slots:
    void init() { locale_ = std::make_unique<test::LocaleGuard>(QStringLiteral("en_US")); }
    void cleanup() { locale_.reset(); }

    void detection_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextEncoding>("encoding");
        QTest::addColumn<bool>("bom");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<bool>("sepLine");
        const auto utf8 = TextEncoding::Utf8;
        const auto cp1252 = TextEncoding::Windows1252;
        QTest::newRow("comma ascii") << QByteArray("a,b,c\n1,2,3\n4,5,6\n") << utf8 << false
                                     << "," << false;
        QTest::newRow("semicolon") << QByteArray("a;b;c\n1;2;3\n4;5;6\n") << utf8 << false << ";"
                                   << false;
        QTest::newRow("tab") << QByteArray("a\tb\tc\n1\t2\t3\n") << utf8 << false << "\t" << false;
        QTest::newRow("semicolon with decimal commas")
            << QByteArray("Datum;Text;Betrag\n01.03.26;Miete;-1.189,50\n02.03.26;Lohn;2.000,00\n")
            << utf8 << false << ";" << false;
        QTest::newRow("commas inside quotes")
            << QByteArray("\"a;1,5\",\"b;2\"\n\"c;3,5\",\"d;4\"\n") << utf8 << false << ","
            << false;
        QTest::newRow("sep line") << QByteArray("sep=;\na,b;c\n1,2;3\n") << utf8 << false << ";"
                                  << true;
        QTest::newRow("quoted sep line with bom")
            << QByteArray("\xEF\xBB\xBF\"sep=\t\"\r\na,b\tc\r\n") << utf8 << true << "\t" << true;
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBFName,Betrag\nM\xC3\xBCller,1\n")
                                   << utf8 << true << "," << false;
        QTest::newRow("utf-8 without bom") << QByteArray("Name,Betrag\nM\xC3\xBCller,1\n") << utf8
                                           << false << "," << false;
        QTest::newRow("latin-1") << QByteArray("Name;Betrag\nM\xFCller;1\n") << cp1252 << false
                                 << ";" << false;
        QTest::newRow("windows-1252 euro") << QByteArray("Name,Amount\n\x80 5,1\n") << cp1252
                                           << false << "," << false;
        QTest::newRow("empty") << QByteArray() << utf8 << false << "," << false;
    }
    void detection()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TextEncoding, encoding);
        QFETCH(bool, bom);
        QFETCH(QString, separator);
        QFETCH(bool, sepLine);
        const CsvDetection d = detectCsvFormat(bytes);
        QCOMPARE(d.format.encoding, encoding);
        QCOMPARE(d.byteOrderMark, bom);
        QCOMPARE(QString(QLatin1Char(d.format.separator)), separator);
        QCOMPARE(d.separatorLine, sepLine);
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<TextEncoding>("encoding");
        QTest::addColumn<QStringList>("rows"); // line:field|field
        const auto utf8 = TextEncoding::Utf8;
        QTest::newRow("plain") << QByteArray("a,b\n1,2\n") << "," << utf8
                               << QStringList{"1:a|b", "2:1|2"};
        QTest::newRow("crlf and no last line end")
            << QByteArray("a,b\r\n1,2") << "," << utf8 << QStringList{"1:a|b", "2:1|2"};
        QTest::newRow("separator in quotes")
            << QByteArray("\"Smith, John\",5\n") << "," << utf8 << QStringList{"1:Smith, John|5"};
        QTest::newRow("doubled quotes")
            << QByteArray("\"say \"\"hi\"\"\",x\n") << "," << utf8
            << QStringList{"1:say \"hi\"|x"};
        QTest::newRow("line break in quotes")
            << QByteArray("a,\"two\nlines\"\nb,c\n") << "," << utf8
            << QStringList{"1:a|two\nlines", "3:b|c"};
        QTest::newRow("crlf in quotes")
            << QByteArray("a,\"two\r\nlines\"\r\nb,c\r\n") << "," << utf8
            << QStringList{"1:a|two\r\nlines", "3:b|c"};
        QTest::newRow("blank lines left out")
            << QByteArray("a,b\n\n\r\n,,\n  \n1,2\n") << "," << utf8
            << QStringList{"1:a|b", "6:1|2"};
        QTest::newRow("blanks around fields trimmed")
            << QByteArray(" a , \" b \" \n") << "," << utf8 << QStringList{"1:a| b "};
        QTest::newRow("tab keeps empty fields")
            << QByteArray("a\t\tc\n") << "\t" << utf8 << QStringList{"1:a||c"};
        QTest::newRow("sep line is no row")
            << QByteArray("sep=;\nx;y\n") << ";" << utf8 << QStringList{"2:x|y"};
        QTest::newRow("bom is no text")
            << QByteArray("\xEF\xBB\xBFx,y\n") << "," << utf8 << QStringList{"1:x|y"};
        QTest::newRow("windows-1252")
            << QByteArray("Caf\xE9,\x80\n") << "," << TextEncoding::Windows1252
            << QStringList{QStringLiteral("1:Caf\u00E9|\u20AC")};
        QTest::newRow("quote never closed")
            << QByteArray("a,\"open\nrest") << "," << utf8 << QStringList{"1:a|open\nrest"};
        QTest::newRow("stray quote in field")
            << QByteArray("5\" disk,2\n") << "," << utf8 << QStringList{"1:5\" disk|2"};
    }
    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, separator);
        QFETCH(TextEncoding, encoding);
        QFETCH(QStringList, rows);
        const CsvText t = readCsv(bytes, {encoding, char(separator.at(0).unicode())});
        QCOMPARE(fieldsOf(t), rows);
    }

    void manyFieldsAreCapped()
    {
        const CsvText t = readCsv(QByteArray(100000, ','), {TextEncoding::Utf8, ','});
        QVERIFY(t.rows.empty()); // nothing but separators: a blank line
        const CsvText u = readCsv("x" + QByteArray(100000, ','), {TextEncoding::Utf8, ','});
        QCOMPARE(u.rows.size(), std::size_t(1));
        QCOMPARE(u.rows.front().fields.size(), kMaxCsvFields);
    }

    void table_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<bool>("header");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<int>("rows");
        QTest::newRow("header first")
            << QByteArray("Date,Text,Amount\n1/2/2026,x,5\n1/3/2026,y,6\n") << 0 << true
            << QStringList{"Date", "Text", "Amount"} << 2;
        QTest::newRow("account lines above")
            << QByteArray("Konto;123;\n\nSaldo;4.093,32 EUR;\nDatum;Text;Betrag\n"
                          "01.03.26;a;-1,00\n02.03.26;b;2,00\n")
            << 2 << true << QStringList{"Datum", "Text", "Betrag"} << 2;
        QTest::newRow("account lines of fewer fields")
            << QByteArray("Konto;DE44 5001;\nZeitraum;01.03.26 - 31.03.26;\n"
                          "Datum;Text;Notiz;Betrag\n01.03.26;a;;-1,00\n02.03.26;b;;2,00\n")
            << 2 << true << QStringList{"Datum", "Text", "Notiz", "Betrag"} << 2;
        QTest::newRow("a later row of names is data")
            << QByteArray("1.2.26;a;1\nTotal;b;c\n") << 0 << false
            << QStringList{"Column 1", "Column 2", "Column 3"} << 2;
        QTest::newRow("no header")
            << QByteArray("2026-01-15,Hardware,-23.45\n2026-01-18,Client,450.00\n") << 0 << false
            << QStringList{"Column 1", "Column 2", "Column 3"} << 2;
        QTest::newRow("no header under account lines")
            << QByteArray("Account,Checking\n2026-01-15,Hardware,-23.45\n2026-01-18,Client,4\n")
            << 1 << false << QStringList{"Column 1", "Column 2", "Column 3"} << 2;
        QTest::newRow("rows closed by a separator")
            << QByteArray("Date;Text;Amount\n1.2.26;x;5;\n2.2.26;y;6;\n3.2.26;z;7;\n") << 0 << true
            << QStringList{"Date", "Text", "Amount"} << 3;
        QTest::newRow("empty header cells named")
            << QByteArray("Date,,Amount\n1/2/2026,x,5\n") << 0 << true
            << QStringList{"Date", "Column 2", "Amount"} << 1;
        QTest::newRow("single column") << QByteArray("one\ntwo\n") << 0 << true
                                       << QStringList{"one"} << 1;
        QTest::newRow("nothing") << QByteArray("\n\n") << 0 << false << QStringList{} << 0;
    }
    void table()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, skipped);
        QFETCH(bool, header);
        QFETCH(QStringList, columns);
        QFETCH(int, rows);
        const CsvText t = readCsv(bytes, detectCsvFormat(bytes).format);
        const TableStart start = findTable(t);
        QCOMPARE(start.header, header);
        const ImportTable table = makeTable(t, start, start.header);
        QCOMPARE(int(table.skipped.size()), skipped);
        QCOMPARE(table.columns, columns);
        QCOMPARE(int(table.rows.size()), rows);
        // Without a header its row is data and the columns are numbered.
        if (header) {
            const ImportTable plain = makeTable(t, start, false);
            QCOMPARE(int(plain.rows.size()), rows + 1);
            QCOMPARE(plain.columns.constFirst(), QStringLiteral("Column 1"));
        }
    }

    void dates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<DateOrder>("order");
        QTest::addColumn<DateStatus>("status");
        QTest::addColumn<QDate>("date");
        const auto dmy = DateOrder::DayMonthYear, mdy = DateOrder::MonthDayYear,
                   ymd = DateOrder::YearMonthDay;
        const auto ok = DateStatus::Ok, bad = DateStatus::NotADate,
                   impossible = DateStatus::Impossible;
        QTest::newRow("3/4/2026 as m/d") << "3/4/2026" << mdy << ok << QDate(2026, 3, 4);
        QTest::newRow("3/4/2026 as d/m") << "3/4/2026" << dmy << ok << QDate(2026, 4, 3);
        QTest::newRow("dd.mm.yy") << "14.03.26" << dmy << ok << QDate(2026, 3, 14);
        QTest::newRow("dd.mm.yy as m/d") << "14.03.26" << mdy << impossible << QDate();
        QTest::newRow("iso") << "2026-03-14" << ymd << ok << QDate(2026, 3, 14);
        QTest::newRow("iso as d/m") << "2026-03-14" << dmy << bad << QDate();
        QTest::newRow("yyyy/mm/dd") << "2026/3/4" << ymd << ok << QDate(2026, 3, 4);
        QTest::newRow("two-digit 49") << "1/1/49" << mdy << ok << QDate(2049, 1, 1);
        QTest::newRow("two-digit 50") << "1/1/50" << mdy << ok << QDate(1950, 1, 1);
        QTest::newRow("two-digit 00 leap") << "29.02.00" << dmy << ok << QDate(2000, 2, 29);
        QTest::newRow("impossible 2/30") << "2/30/2026" << mdy << impossible << QDate();
        QTest::newRow("impossible 31.02.") << "31.02.26" << dmy << impossible << QDate();
        QTest::newRow("month 13") << "13/1/2026" << mdy << impossible << QDate();
        QTest::newRow("three-digit year") << "1/1/202" << mdy << bad << QDate();
        QTest::newRow("no year") << "14.03." << dmy << bad << QDate();
        QTest::newRow("with time") << "14.03.2026 10:22" << dmy << ok << QDate(2026, 3, 14);
        QTest::newRow("iso with time") << "2026-03-14T10:22:00Z" << ymd << ok
                                       << QDate(2026, 3, 14);
        QTest::newRow("time with pm") << "3/14/2026 9:05 PM" << mdy << ok << QDate(2026, 3, 14);
        QTest::newRow("time alone") << "10:22:33" << mdy << bad << QDate();
        QTest::newRow("month name d m y") << "14 Mar 2026" << mdy << ok << QDate(2026, 3, 14);
        QTest::newRow("month name m d, y") << "Mar 14, 2026" << dmy << ok << QDate(2026, 3, 14);
        QTest::newRow("month name german") << "14. März 2026" << dmy << ok << QDate(2026, 3, 14);
        QTest::newRow("month name two-digit") << "14-Mar-26" << dmy << ok << QDate(2026, 3, 14);
        QTest::newRow("not a month") << "14 Foo 2026" << dmy << bad << QDate();
        QTest::newRow("eight digits") << "20260314" << ymd << ok << QDate(2026, 3, 14);
        QTest::newRow("eight digits not ymd") << "20260314" << dmy << bad << QDate();
        QTest::newRow("surrounding blanks") << "  1/2/2026 " << mdy << ok << QDate(2026, 1, 2);
        QTest::newRow("empty") << "  " << mdy << DateStatus::Empty << QDate();
        QTest::newRow("text") << "Kontostand" << dmy << bad << QDate();
        QTest::newRow("four numbers") << "1.2.3.2026" << dmy << bad << QDate();
    }
    void dates()
    {
        QFETCH(QString, text);
        QFETCH(DateOrder, order);
        QFETCH(DateStatus, status);
        QFETCH(QDate, date);
        const DateRead read = readStatementDate(text, order);
        QCOMPARE(read.status, status);
        QCOMPARE(read.date, date);
    }

    void amounts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QString>("group");
        QTest::addColumn<AmountStatus>("status");
        QTest::addColumn<qint64>("cents");
        const auto ok = AmountStatus::Ok, bad = AmountStatus::NotANumber;
        QTest::newRow("german grouped") << "4.093,32" << "," << "." << ok << qint64(409332);
        QTest::newRow("us grouped") << "1,234.50" << "." << "," << ok << qint64(123450);
        QTest::newRow("trailing minus") << "9,90-" << "," << "." << ok << qint64(-990);
        QTest::newRow("leading minus") << "-45,90" << "," << "." << ok << qint64(-4590);
        QTest::newRow("unicode minus") << "\u22123.50" << "." << "," << ok << qint64(-350);
        QTest::newRow("plus") << "+2.500,00" << "," << "." << ok << qint64(250000);
        QTest::newRow("parentheses") << "(12.50)" << "." << "," << ok << qint64(-1250);
        QTest::newRow("dollar") << "$1,234.56" << "." << "," << ok << qint64(123456);
        QTest::newRow("minus dollar") << "-$5.00" << "." << "," << ok << qint64(-500);
        QTest::newRow("dollar minus") << "$-5.00" << "." << "," << ok << qint64(-500);
        QTest::newRow("euro behind") << "12,50 \u20AC" << "," << "." << ok << qint64(1250);
        QTest::newRow("code in front") << "EUR -12,50" << "," << "." << ok << qint64(-1250);
        QTest::newRow("code behind minus") << "12,50- EUR" << "," << "." << ok << qint64(-1250);
        QTest::newRow("card credit") << "12.50 CR" << "." << "," << ok << qint64(1250);
        QTest::newRow("card debit") << "12.50DR" << "." << "," << ok << qint64(-1250);
        QTest::newRow("blank groups") << "2\u00A0150,00" << "," << " " << ok << qint64(215000);
        QTest::newRow("apostrophe groups") << "1'234.50" << "." << "'" << ok << qint64(123450);
        QTest::newRow("no decimals") << "1200" << "." << "," << ok << qint64(120000);
        QTest::newRow("point only") << ".5" << "." << "," << ok << qint64(50);
        QTest::newRow("point decimal read as group fails") << "1,5" << "." << "," << bad
                                                            << qint64(0);
        QTest::newRow("bad grouping") << "12,34,567" << "." << "," << bad << qint64(0);
        QTest::newRow("two decimal marks") << "1,2,3" << "," << "." << bad << qint64(0);
        QTest::newRow("two signs") << "-5-" << "." << "," << bad << qint64(0);
        QTest::newRow("letters") << "n/a" << "." << "," << bad << qint64(0);
        QTest::newRow("sign alone") << "-" << "." << "," << bad << qint64(0);
        QTest::newRow("code alone") << "EUR" << "." << "," << bad << qint64(0);
        QTest::newRow("empty") << " " << "." << "," << AmountStatus::Empty << qint64(0);
        QTest::newRow("too large") << "99999999999999999999" << "." << "," << AmountStatus::OutOfRange
                                   << qint64(0);
    }
    void amounts()
    {
        QFETCH(QString, text);
        QFETCH(QString, decimal);
        QFETCH(QString, group);
        QFETCH(AmountStatus, status);
        QFETCH(qint64, cents);
        const AmountRead read = readStatementAmount(text, {decimal.at(0), group.at(0)});
        QCOMPARE(read.status, status);
        if (status == AmountStatus::Ok)
            QCOMPARE(read.value.units, cents * 100);
    }

    // The guesses from the data; a tie of the date order goes to dates
    // with points as day/month, else to the locale.
    void guesses_data()
    {
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QStringList>("amounts");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<DateOrder>("order");
        QTest::addColumn<QString>("decimal");
        const auto dmy = DateOrder::DayMonthYear, mdy = DateOrder::MonthDayYear,
                   ymd = DateOrder::YearMonthDay;
        QTest::newRow("us") << QStringList{"1/5/2026", "1/13/2026"}
                            << QStringList{"-89.40", "2,500.00"} << "en_US" << mdy << ".";
        QTest::newRow("uk by a day past 12")
            << QStringList{"05/01/2026", "13/01/2026"} << QStringList{"-89.40", "1,200.00"}
            << "en_US" << dmy << ".";
        QTest::newRow("german")
            << QStringList{"02.03.26", "03.03.26"} << QStringList{"-84,00", "1.250,00"} << "en_US"
            << dmy << ",";
        QTest::newRow("ambiguous under en_US")
            << QStringList{"3/4/2026", "5/6/2026"} << QStringList{"1.50", "2.25"} << "en_US" << mdy
            << ".";
        QTest::newRow("ambiguous under en_GB")
            << QStringList{"3/4/2026", "5/6/2026"} << QStringList{"1.50", "2.25"} << "en_GB" << dmy
            << ".";
        QTest::newRow("iso") << QStringList{"2026-02-01", "2026-02-03"}
                             << QStringList{"19.99", "1,234.56"} << "de_DE" << ymd << ".";
        QTest::newRow("comma by a tie under de_DE")
            << QStringList{"1.2.2026", "2.2.2026"} << QStringList{"1.234", "5"} << "de_DE" << dmy
            << ",";
        QTest::newRow("groups tell the decimal")
            << QStringList{"1/2/2026"} << QStringList{"1.234.567"} << "en_US" << mdy << ",";
    }
    void guesses()
    {
        QFETCH(QStringList, dates);
        QFETCH(QStringList, amounts);
        QFETCH(QString, locale);
        QFETCH(DateOrder, order);
        QFETCH(QString, decimal);
        ImportTable t = makeImportTable({"Date", "Text", "Amount"}, {});
        for (int i = 0; i < dates.size(); ++i)
            t.rows.push_back({i + 2, {dates[i], "x", amounts[i]}});
        const ImportSettings s = guessSettings(t, {}, QLocale(locale));
        QCOMPARE(s.dateOrder, order);
        QCOMPARE(QString(s.number.decimal), decimal);
        QCOMPARE(s.columns.date, 0);
        QCOMPARE(s.columns.amount, 2);
    }

    void columns_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("map"); // date, debitCredit, amount, debit, credit,
                                             // description, party, invoice, pay method
        const int no = kNoColumn;
        QTest::newRow("us bank") << "us-bank.csv" << QList<int>{0, 0, 2, no, no, 1, no, no, no};
        QTest::newRow("german bank")
            << "german-bank.csv" << QList<int>{0, 0, 7, no, no, 4, 3, no, no};
        QTest::newRow("latin-1 debit and credit")
            << "latin1-bank.csv" << QList<int>{0, 1, no, 2, 3, 1, no, no, no};
        QTest::newRow("no header") << "no-header.csv" << QList<int>{0, 0, 2, no, no, 1, no, no, no};
        QTest::newRow("card statement")
            << "card-statement.csv" << QList<int>{0, 1, no, 5, 6, 3, no, no, no};
        QTest::newRow("payment service")
            << "payment-service.csv" << QList<int>{0, 0, 7, no, no, 13, 3, no, no};
    }
    void columns()
    {
        QFETCH(QString, file);
        QFETCH(QList<int>, map);
        const CsvImport import(fixture(file), {});
        const ColumnMap& c = import.settings().columns;
        const QList<int> got{c.date,        int(c.debitCredit), c.amount,  c.debit,    c.credit,
                             c.description, c.party,            c.invoice, c.payMethod};
        QCOMPARE(got, map);
    }

    // Each statement end to end: what its rows become.
    void statements_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("skippedLines");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("us bank") << "us-bank.csv" << "en_US" << 0
            << QStringList{
                   "skipped: no amount",
                   "0|1/5/2026|89.4|||Other||ACME UTILITIES BILL",
                   "1|1/9/2026|2500|||Wages, Salaries, Tips, etc.||PAYROLL DEPOSIT - EM",
                   "0|1/13/2026|45.99|||Other||OFFICE DEPOT #1234,",
                   "0|2/3/2026|1200|||Other||CHECK 1043",
                   "0|2/14/2026|32.1|||Other||CITY WATER \"AUTOPAY\"",
                   "0|3/4/2026|150|||Other||DR. SMITH DENTAL"};
        QTest::newRow("german bank") << "german-bank.csv" << "de_DE" << 4
            << QStringList{
                   "0|02.03.2026|84|||Other|Stadtwerke München|Strom März Kd-Nr. 47",
                   "1|03.03.2026|1250|||Wages, Salaries, Tips, etc.|Müller & Söhne GmbH|"
                   "Rechnung 2026-017",
                   "0|05.03.2026|1189,5|||Other|Hausverwaltung Weber|Miete März",
                   "0|12.03.2026|45,9|||Other|REWE Markt|Einkauf",
                   "duplicate: same as line 11",
                   "0|20.03.2026|612|||Other|Finanzamt Köln|ESt-Vorauszahlung Q1",
                   "0|31.03.2026|4,95|||Other||Kontoführung"};
        QTest::newRow("latin-1") << "latin1-bank.csv" << "fr_FR" << 0
            << QStringList{"0|14/01/2026|4,5|||Other||CB CAFÉ DE LA GARE",
                           "0|15/01/2026|62,3|||Other||PRLV ÉLECTRICITÉ DE",
                           "1|20/01/2026|2150|||Wages, Salaries, Tips, etc.||VIR SALAIRE JANVIER",
                           "0|03/02/2026|18,75|||Other||CB PHARMACIE DU MARC"};
        QTest::newRow("no header") << "no-header.csv" << "en_US" << 0
            << QStringList{"0|1/15/2026|23.45|||Other||Hardware store",
                           "1|1/18/2026|450|||Wages, Salaries, Tips, etc.||Client payment INV-0",
                           "0|1/31/2026|2.5|||Other||Bank fee"};
        QTest::newRow("card statement") << "card-statement.csv" << "en_US" << 0
            << QStringList{"0|2/1/2026|19.99|||Other||AMAZON MKTPLACE PMTS",
                           "0|2/3/2026|42.18|||Other||SHELL OIL 57442",
                           "1|2/10/2026|500|||Wages, Salaries, Tips, etc.||AUTOPAY PAYMENT - TH",
                           "1|2/11/2026|19.99|||Wages, Salaries, Tips, etc.||AMAZON MKTPLACE PMTS",
                           "0|2/15/2026|1234.56|||Other||HOTEL ZUM LOWEN MUNC"};
        QTest::newRow("payment service") << "payment-service.csv" << "en_US" << 0
            << QStringList{"1|3/14/2026|120|||Wages, Salaries, Tips, etc.|Jane Doe|"
                           "Handmade bowl (blue",
                           "0|3/15/2026|14.99|||Other|Web Hosting Co|Hosting March",
                           "0|3/20/2026|100|||Other|Bank Account|"};
    }
    void statements()
    {
        QFETCH(QString, file);
        QFETCH(QString, locale);
        QFETCH(int, skippedLines);
        QFETCH(QStringList, rows);
        const test::LocaleGuard guard(locale);
        const CsvImport import(fixture(file), {});
        QCOMPARE(int(import.table().skipped.size()), skippedLines);
        QCOMPARE(describe(import.rows()), rows);
    }

    // Lines of the file, as the user finds them in an editor.
    void lineNumbers()
    {
        const CsvImport import(fixture(QStringLiteral("payment-service.csv")), {});
        QList<int> lines;
        for (const ImportRow& row : import.rows())
            lines << row.line;
        QCOMPARE(lines, (QList<int>{2, 4, 5}));
        const CsvImport german(fixture(QStringLiteral("german-bank.csv")), {});
        QCOMPARE(german.table().skipped.front().line, 1);
        QCOMPARE(german.table().skipped.back().line, 5);
        QCOMPARE(german.rows().front().line, 8);
    }

    void kinds_data()
    {
        QTest::addColumn<KindRule>("rule");
        QTest::addColumn<bool>("business");
        QTest::addColumn<QString>("expenseType");
        QTest::addColumn<QString>("incomeType");
        QTest::addColumn<QStringList>("rows"); // -5 then +7, as kind code and type
        QTest::newRow("minus is an expense") << KindRule::MinusIsExpense << false << "" << ""
            << QStringList{"0 Other", "1 Wages, Salaries, Tips, etc."};
        QTest::newRow("plus is an expense") << KindRule::PlusIsExpense << false << "" << ""
            << QStringList{"1 Wages, Salaries, Tips, etc.", "0 Other"};
        QTest::newRow("all expenses") << KindRule::AllExpenses << false << "" << ""
                                      << QStringList{"0 Other", "0 Other"};
        QTest::newRow("all income") << KindRule::AllIncome << true << "" << ""
                                    << QStringList{"3 Receipts or Sales", "3 Receipts or Sales"};
        QTest::newRow("business") << KindRule::MinusIsExpense << true << "" << ""
                                  << QStringList{"2 Supplies", "3 Receipts or Sales"};
        QTest::newRow("types chosen") << KindRule::MinusIsExpense << true << "Utilities"
                                      << "Other Income"
                                      << QStringList{"2 Utilities", "3 Other Income"};
        QTest::newRow("type of another kind") << KindRule::MinusIsExpense << false << "Utilities"
                                              << "Other Income"
                                              << QStringList{"0 Other", "1 Wages, Salaries, Tips, etc."};
    }
    void kinds()
    {
        QFETCH(KindRule, rule);
        QFETCH(bool, business);
        QFETCH(QString, expenseType);
        QFETCH(QString, incomeType);
        QFETCH(QStringList, rows);
        const ImportTable t = makeImportTable({"Date", "Amount"}, {{"1/2/2026", "-5"}, {"1/3/2026", "7"}});
        ImportSettings s = amountColumns(0, 1);
        s.kindRule = rule;
        s.business = business;
        s.expenseType = expenseType;
        s.incomeType = incomeType;
        QStringList got;
        for (const ImportRow& row : convertRows(t, s, {})) {
            QCOMPARE(row.status, ImportRow::Status::Ready);
            QCOMPARE(trimBlanks(row.record.field(Field::Amount)), row.line == 2 ? "5" : "7");
            got << QChar::fromLatin1(row.record.kindCode()) + u' '
                    + trimBlanks(row.record.field(Field::Type));
        }
        QCOMPARE(got, rows);
    }

    void debitCredit_data()
    {
        QTest::addColumn<QString>("debit");
        QTest::addColumn<QString>("credit");
        QTest::addColumn<QString>("result");
        QTest::newRow("debit") << "12.50" << "" << "0|12.5";
        QTest::newRow("debit written negative") << "-12.50" << "" << "0|12.5";
        QTest::newRow("credit") << "" << "500.00" << "1|500";
        QTest::newRow("zero debit, credit") << "0.00" << "3.00" << "1|3";
        QTest::newRow("both") << "1.00" << "2.00" << "skipped: both a debit and a credit";
        QTest::newRow("neither") << "" << "" << "skipped: no amount";
        QTest::newRow("zeros") << "0.00" << "0.00" << "skipped: the amount is 0";
        QTest::newRow("not a number") << "abc" << "" << "skipped: not an amount: \u201Cabc\u201D";
    }
    void debitCredit()
    {
        QFETCH(QString, debit);
        QFETCH(QString, credit);
        QFETCH(QString, result);
        const ImportTable t = makeImportTable({"Date", "Debit", "Credit"}, {{"1/2/2026", debit, credit}});
        ImportSettings s;
        s.columns.date = 0;
        s.columns.debitCredit = true;
        s.columns.debit = 1;
        s.columns.credit = 2;
        const ImportRow row = convertRows(t, s, {}).front();
        const QString got = row.status == ImportRow::Status::Ready
            ? QChar::fromLatin1(row.record.kindCode()) + u'|'
                + trimBlanks(row.record.field(Field::Amount))
            : describe(row);
        QCOMPARE(got, result);
    }

    void unreadable_data()
    {
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("result");
        QTest::newRow("no date") << QStringList{"", "5", "x"} << "skipped: no date";
        QTest::newRow("not a date") << QStringList{"soon", "5", "x"}
                                    << "skipped: not a date: \u201Csoon\u201D";
        QTest::newRow("impossible date") << QStringList{"2/30/2026", "5", "x"}
                                         << "skipped: impossible date \u201C2/30/2026\u201D";
        QTest::newRow("ambiguous read by the order") << QStringList{"3/4/2026", "5", "x"}
                                                     << "1|3/4/2026|5|||Wages, Salaries, Tips, etc.||x";
        QTest::newRow("no amount") << QStringList{"1/2/2026", "", "x"} << "skipped: no amount";
        QTest::newRow("not an amount") << QStringList{"1/2/2026", "5 apples", "x"}
                                       << "skipped: not an amount: \u201C5 apples\u201D";
        QTest::newRow("zero") << QStringList{"1/2/2026", "0.00", "x"}
                              << "skipped: the amount is 0";
        QTest::newRow("too long for the field")
            << QStringList{"1/2/2026", "123456789012345.5", "x"}
            << "skipped: amount too large for a record: \u201C123456789012345.5\u201D";
        QTest::newRow("more fields than the table") << QStringList{"1/2/2026", "5", "x", "y"}
                                                    << "skipped: 4 fields where the table has 3";
        QTest::newRow("empty fields more are fine") << QStringList{"1/2/2026", "5", "x", " "}
                                                    << "1|1/2/2026|5|||Wages, Salaries, Tips, etc.||x";
        QTest::newRow("fewer fields") << QStringList{"1/2/2026", "-5"}
                                      << "0|1/2/2026|5|||Other||";
    }
    void unreadable()
    {
        QFETCH(QStringList, row);
        QFETCH(QString, result);
        const ImportTable t = makeImportTable({"Date", "Amount", "Text"}, {row});
        QCOMPARE(describe(convertRows(t, amountColumns(0, 1, 2), {}).front()), result);
    }

    // Texts as the record window stores them: cut to the field, in
    // Windows-1252, without line breaks.
    void texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("cut to 20") << "ABCDEFGHIJKLMNOPQRSTUVWXY" << QByteArray("ABCDEFGHIJKLMNOPQRST");
        QTest::newRow("padded") << "rent" << QByteArray("rent                ");
        QTest::newRow("blanks around and inside") << "  two   words  "
                                                  << QByteArray("two words           ");
        QTest::newRow("line break") << "Handmade bowl\r\n(blue)"
                                    << QByteArray("Handmade bowl (blue)");
        QTest::newRow("windows-1252") << QStringLiteral("Caf\u00E9 \u20AC5")
                                      << QByteArray("Caf\xE9 \x80" "5             ");
        QTest::newRow("not in the code page") << QStringLiteral("\u4E2D\u6587 x")
                                              << QByteArray("?? x                ");
    }
    void texts()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, stored);
        const ImportTable t = makeImportTable({"Date", "Amount", "Text", "Payee", "Inv"},
                                    {{"1/2/2026", "-5", text, text, text}});
        ImportSettings s = amountColumns(0, 1, 2);
        s.columns.party = 3;
        s.columns.invoice = 4;
        const ImportRow row = convertRows(t, s, {}).front();
        QCOMPARE(row.status, ImportRow::Status::Ready);
        QCOMPARE(row.record.rawField(Field::Description), stored);
        QCOMPARE(row.record.rawField(Field::Party), stored);
        QCOMPARE(row.record.rawField(Field::Invoice), stored.left(10));
    }

    void duplicates_data()
    {
        QTest::addColumn<QList<QStringList>>("rows"); // date, amount, text
        QTest::addColumn<QStringList>("result");
        const QString one = "0|1/2/2026|5|||Other||rent";
        QTest::newRow("same as a record") << QList<QStringList>{{"1/2/2026", "-5", "Lunch"}}
                                          << QStringList{"duplicate: same as record 2"};
        QTest::newRow("same as an earlier row")
            << QList<QStringList>{{"1/2/2026", "-5", "rent"}, {"1/2/2026", "-5.00", "rent"}}
            << QStringList{one, "duplicate: same as line 2"};
        QTest::newRow("other kind") << QList<QStringList>{{"1/2/2026", "5", "Lunch"}}
                                    << QStringList{"1|1/2/2026|5|||Wages, Salaries, Tips, etc.||Lunch"};
        QTest::newRow("other date") << QList<QStringList>{{"1/3/2026", "-5", "Lunch"}}
                                    << QStringList{"0|1/3/2026|5|||Other||Lunch"};
        QTest::newRow("other amount") << QList<QStringList>{{"1/2/2026", "-5.01", "Lunch"}}
                                      << QStringList{"0|1/2/2026|5.01|||Other||Lunch"};
        QTest::newRow("other description") << QList<QStringList>{{"1/2/2026", "-5", "Dinner"}}
                                           << QStringList{"0|1/2/2026|5|||Other||Dinner"};
        QTest::newRow("same once cut to the field")
            << QList<QStringList>{{"1/3/2026", "-9", "ABCDEFGHIJKLMNOPQRSTUVW"}}
            << QStringList{"duplicate: same as record 3"};
        QTest::newRow("unreadable rows repeat nothing")
            << QList<QStringList>{{"", "-5", "rent"}, {"", "-5", "rent"}}
            << QStringList{"skipped: no date", "skipped: no date"};
    }
    void duplicates()
    {
        QFETCH(QList<QStringList>, rows);
        QFETCH(QStringList, result);
        const std::vector<TaxRecord> existing{
            test::makeRecord('3', "1/2/2026", "5", "", "", "Other", "", "Lunch"),
            test::makeRecord('0', "01/02/2026", "5.00", "A1", "Cash", "Other", "Cafe", "Lunch"),
            test::makeRecord('0', "1/3/2026", "9", "", "", "Other", "", "ABCDEFGHIJKLMNOPQRSTXYZ"),
        };
        ImportTable t = makeImportTable({"Date", "Amount", "Text"}, {});
        int line = 2;
        for (const QStringList& row : rows)
            t.rows.push_back({line++, row});
        const std::vector<ImportRow> converted =
            convertRows(t, amountColumns(0, 1, 2), DuplicateIndex(existing));
        QCOMPARE(describe(converted), result);
    }

    // A likely duplicate is skipped unless kept; the counts say so.
    void keepingDuplicates()
    {
        CsvImport import("Date,Amount,Text\n1/2/2026,-5,rent\n1/2/2026,-5,rent\n1/3/2026,x,y\n",
                         {});
        QCOMPARE(import.counts().ready, 1);
        QCOMPARE(import.counts().duplicates, 1);
        QCOMPARE(import.counts().unreadable, 1);
        QCOMPARE(import.counts().toImport(), 1);
        QCOMPARE(import.counts().skipped(), 2);
        QCOMPARE(import.records().size(), std::size_t(1));
        import.setKeep(1, true);
        QCOMPARE(import.counts().toImport(), 2);
        QCOMPARE(import.counts().skipped(), 1);
        QCOMPARE(import.records().size(), std::size_t(2));
        // Keeping an unreadable row keeps nothing.
        import.setKeep(2, true);
        QCOMPARE(import.records().size(), std::size_t(2));
    }

    // Changing how the file is read guesses again; the kind choices stay.
    void changes()
    {
        CsvImport import(fixture(QStringLiteral("german-bank.csv")), {});
        QCOMPARE(import.format().separator, ';');
        QCOMPARE(import.settings().dateOrder, DateOrder::DayMonthYear);
        ImportSettings s = import.settings();
        s.business = true;
        s.dateOrder = DateOrder::MonthDayYear;
        import.setSettings(s);
        // 02.03.26 read as February 3rd; 20.03.26 is no date then.
        QCOMPARE(trimBlanks(import.rows().front().record.field(Field::Date)), "2/3/2026");
        QCOMPARE(import.rows()[5].status, ImportRow::Status::Unreadable);
        import.setHeader(false);
        QCOMPARE(import.table().columns.constFirst(), "Column 1");
        QCOMPARE(import.rows().front().status, ImportRow::Status::Unreadable); // the header
        QVERIFY(import.settings().business);
        import.setHeader(true);
        import.setFormat({TextEncoding::Windows1252, ';'});
        QCOMPARE(import.table().columns[3], QStringLiteral("Auftraggeber / Beg\u00C3\u00BCnstigter"));
        import.setFormat({TextEncoding::Utf8, ','});
        QCOMPARE(isComplete(import.settings().columns), false);
        QCOMPARE(import.counts().toImport(), 0);
        QVERIFY(import.settings().business);
    }

private:
    std::unique_ptr<test::LocaleGuard> locale_;
};

QUILLARY_CORE_TEST_MAIN(TestCsvImport)
#include "tst_csvimport.moc"
