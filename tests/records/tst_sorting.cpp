#include "platform/localeservices.h"
#include "records/cp1252.h"
#include "records/sorting.h"
#include "records/taxrecord.h"
#include "support/testenv.h"

#include <QHash>
#include <QRandomGenerator>
#include <algorithm>
#include <limits>

using namespace quillary;

namespace {

struct RecordSketch {
    char kind;
    QString date;
    QString type;
    QString invoice;
};

} // namespace

Q_DECLARE_METATYPE(RecordSketch)

namespace {

// Each record carries its place in the input as its description, so an
// order can be read back as a list of input positions.
TaxRecord makeRecord(const RecordSketch& s, int index)
{
    TaxRecord r;
    r.setField(Field::Kind, QString(QChar::fromLatin1(s.kind)));
    r.setField(Field::Date, s.date);
    r.setField(Field::Type, s.type);
    r.setField(Field::Invoice, s.invoice);
    r.setField(Field::Amount, QString::number(index % 97));
    r.setField(Field::Description, QString::number(index));
    return r;
}

std::vector<TaxRecord> makeRecords(const QList<RecordSketch>& sketches)
{
    std::vector<TaxRecord> out;
    for (int i = 0; i < sketches.size(); ++i)
        out.push_back(makeRecord(sketches[i], i));
    return out;
}

QList<int> positions(const std::vector<TaxRecord>& records)
{
    QList<int> out;
    for (const TaxRecord& r : records)
        out << trimBlanks(r.field(Field::Description)).toInt();
    return out;
}

// The exchange sort the program has always used: passes from the last
// element down to the second, exchanging element j with element j - 1 when
// j must come first, until a pass exchanges nothing.
template <typename Before>
std::vector<TaxRecord> exchangeSort(std::vector<TaxRecord> list, Before mustComeBefore)
{
    const int n = int(list.size());
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (int j = n; j >= 2; --j) {
            TaxRecord& element = list[j - 1];
            TaxRecord& previous = list[j - 2];
            if (mustComeBefore(element, previous)) {
                const TaxRecord third = element;
                element = previous;
                previous = third;
                exchanged = true;
            }
        }
    }
    return list;
}

// By date: the days from the previous element's date to this one's are
// negative. A date field that holds no date comes after every date.
std::vector<TaxRecord> exchangeSortByDate(std::vector<TaxRecord> list)
{
    QHash<QString, std::optional<QDate>> memo;
    auto dateOf = [&](const TaxRecord& r) {
        const QString text = r.field(Field::Date);
        if (!memo.contains(text))
            memo.insert(text, parseDate(text));
        return memo.value(text);
    };
    return exchangeSort(std::move(list), [&](const TaxRecord& element, const TaxRecord& previous) {
        const auto mine = dateOf(element);
        const auto theirs = dateOf(previous);
        if (!mine)
            return false;
        if (!theirs)
            return true;
        return daysBetween(*theirs, *mine) < 0;
    });
}

QString typeKey(const TaxRecord& r)
{
    return r.field(Field::Kind) + r.field(Field::Type) + r.field(Field::Date)
        + r.field(Field::Invoice);
}

std::vector<TaxRecord> exchangeSortByType(std::vector<TaxRecord> list)
{
    return exchangeSort(std::move(list), [](const TaxRecord& element, const TaxRecord& previous) {
        return QString::compare(typeKey(element), typeKey(previous), Qt::CaseSensitive) < 0;
    });
}

// Few distinct values, so most keys are shared and stability shows.
QList<RecordSketch> randomSketches(quint32 seed, int n)
{
    static const QStringList dates = {
        "1/5/1996", "1/5/96", "10/2/96", "9/1/96", "12/31/1995", "2/29/1996",
        " 3/4/1996", "3/4/1996", "1996-03-04", "2/29/1995", "13/45/96", "", "garbage",
        "1/1/2049", "12/31/49", "1/1/50", "7/4/1776",
    };
    static const QStringList types = {
        "Rent", "rent", "RENT", "Supplies", "Other", "Wages, Salaries, Tips, etc.",
        QString::fromUtf8("\xc3\xa9t\xc3\xa9"), QString::fromUtf8("\xe2\x82\xac uro"), "",
    };
    static const QStringList invoices = {"", "1", "10", "2", "A-7"};
    static const char kinds[] = {'0', '1', '2', '3', '3', '0', ' ', '9'};
    QRandomGenerator rng(seed);
    QList<RecordSketch> out;
    for (int i = 0; i < n; ++i)
        out << RecordSketch{kinds[rng.bounded(int(sizeof kinds))], dates[rng.bounded(dates.size())],
                    types[rng.bounded(types.size())], invoices[rng.bounded(invoices.size())]};
    return out;
}

// Date fields as a file may hold them: dates of the locale's short format
// with two- or four-digit years from 1000 to 9999, of its long format, ISO
// dates, and random bytes among digits, separators, blanks, letters and
// bytes that Windows-1252 and Latin-1 read differently.
QByteArray randomDateField(QRandomGenerator& rng, const QLocale& locale)
{
    const QDate day = QDate(1000, 1, 1).addDays(rng.bounded(3000000));
    QString text;
    switch (rng.bounded(6)) {
    case 0: text = locale.toString(day, shortDateFormat(locale)); break;
    case 1: text = locale.toString(day, locale.dateFormat(QLocale::ShortFormat)); break;
    case 2: text = locale.toString(day, QLocale::LongFormat); break;
    case 3: text = day.toString(Qt::ISODate); break;
    default: {
        static const QByteArray bytes = QByteArray("0123456789/.-, \t") + "\x80\x85\x9f\xa0\xe9"
            + "aZ0123456789/";
        QByteArray field;
        for (int k = int(rng.bounded(16)); k > 0; --k)
            field += bytes.at(rng.bounded(int(bytes.size())));
        return field;
    }
    }
    // Now and then a character too many or too few.
    if (rng.bounded(8) == 0 && !text.isEmpty())
        text.remove(rng.bounded(int(text.size())), 1);
    if (rng.bounded(8) == 0)
        text.insert(rng.bounded(int(text.size()) + 1), QLatin1Char(rng.bounded(2) ? '1' : ' '));
    // Bytes around it that may or may not be blanks: 0x85 is one in
    // Latin-1 but an ellipsis in Windows-1252.
    static const QByteArray around[] = {" ", "\t", "\xa0", "\x85", "\x9f"};
    if (rng.bounded(3) != 0)
        return toCp1252(text);
    return around[rng.bounded(5)] + toCp1252(text) + around[rng.bounded(5)];
}

} // namespace

class TestSorting : public QObject {
    Q_OBJECT
    std::unique_ptr<test::LocaleGuard> locale_;

private slots:
    void init() { locale_ = std::make_unique<test::LocaleGuard>(QStringLiteral("en_US")); }
    void cleanup() { locale_.reset(); }

    // The fast sorts give exactly the exchange sort's order, ties included.
    void sameOrderAsExchangeSort_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("locale");
        const QList<int> counts = {2, 3, 7, 60, 250};
        quint32 seed = 1;
        for (int n : counts)
            for (int k = 0; k < 3; ++k, ++seed)
                QTest::addRow("n=%d seed=%u", n, seed) << seed << n << QStringLiteral("en_US");
        QTest::newRow("German dates") << 99u << 120 << QStringLiteral("de_DE");
        QTest::newRow("British dates") << 98u << 120 << QStringLiteral("en_GB");
    }
    void sameOrderAsExchangeSort()
    {
        QFETCH(quint32, seed);
        QFETCH(int, count);
        QFETCH(QString, locale);
        test::LocaleGuard guard(locale);
        const std::vector<TaxRecord> input = makeRecords(randomSketches(seed, count));

        std::vector<TaxRecord> byDate = input;
        sortByDate(byDate);
        QCOMPARE(positions(byDate), positions(exchangeSortByDate(input)));

        std::vector<TaxRecord> byType = input;
        sortByType(byType);
        QCOMPARE(positions(byType), positions(exchangeSortByType(input)));
    }

    // Every date field, read in place or decoded first, and wherever its
    // day lies, sorts as the plain recognition of its text orders it.
    void byDateAsTheRecognitionOfEachField_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("count");
        for (const char* name : {"en_US", "de_DE", "en_GB", "ja_JP", "fr_FR", "ru_RU"})
            QTest::newRow(name) << QString::fromLatin1(name) << 3000;
    }
    void byDateAsTheRecognitionOfEachField()
    {
        QFETCH(QString, locale);
        QFETCH(int, count);
        test::LocaleGuard guard(locale);
        QRandomGenerator rng(count);
        std::vector<TaxRecord> records;
        std::vector<qint64> days;
        int dated = 0;
        for (int i = 0; i < count; ++i) {
            TaxRecord r = makeRecord({'0', QString(), "Other", ""}, i);
            QByteArray bytes = r.bytes();
            const QByteArray field = randomDateField(rng, QLocale()).left(15).leftJustified(15, ' ');
            bytes.replace(layoutOf(Field::Date).offset, 15, field);
            records.push_back(TaxRecord::fromBytes(bytes));
            const std::optional<QDate> date = parseDate(fromCp1252(field));
            days.push_back(date ? date->toJulianDay() : std::numeric_limits<qint64>::max());
            dated += date.has_value();
        }
        QVERIFY(dated > count / 4 && dated < count);
        QList<int> expected;
        for (int i = 0; i < count; ++i)
            expected << i;
        std::stable_sort(expected.begin(), expected.end(),
                         [&](int a, int b) { return days[std::size_t(a)] < days[std::size_t(b)]; });
        std::vector<TaxRecord> sorted = records;
        sortByDate(sorted);
        QCOMPARE(positions(sorted), expected);
    }

    // The same day everywhere, or no date anywhere: nothing moves.
    void byDateAllEqual()
    {
        for (const QString& date : {QStringLiteral("3/14/1996"), QStringLiteral("no date")}) {
            QList<RecordSketch> sketches;
            for (int i = 0; i < 50; ++i)
                sketches << RecordSketch{'0', i % 2 ? date : QStringLiteral("  ") + date, "Other", ""};
            std::vector<TaxRecord> records = makeRecords(sketches);
            QByteArray contents;
            for (const TaxRecord& r : records)
                contents += r.bytes();
            QVERIFY(!sortByDate(contents));
            sortByDate(records);
            QCOMPARE(positions(records), positions(makeRecords(sketches)));
        }
    }

    // Sorting a file's contents in place gives the same order, leaves a
    // trailing fragment where it is and tells whether anything moved.
    void contentsSortedInPlace_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("count");
        for (quint32 seed : {21u, 22u, 23u})
            QTest::addRow("seed=%u", seed) << seed << 300;
        QTest::newRow("two") << 24u << 2;
    }
    void contentsSortedInPlace()
    {
        QFETCH(quint32, seed);
        QFETCH(int, count);
        const std::vector<TaxRecord> input = makeRecords(randomSketches(seed, count));
        QByteArray bytes;
        for (const TaxRecord& r : input)
            bytes += r.bytes();
        const QByteArray fragment("\x80partial");
        for (int order = 0; order < 2; ++order) {
            std::vector<TaxRecord> expected = input;
            QByteArray contents = bytes + fragment;
            bool moved = false;
            if (order == 0) {
                sortByDate(expected);
                moved = sortByDate(contents);
            } else {
                sortByType(expected);
                moved = sortByType(contents);
            }
            QByteArray expectedBytes;
            for (const TaxRecord& r : expected)
                expectedBytes += r.bytes();
            QCOMPARE(contents, expectedBytes + fragment);
            QCOMPARE(moved, expectedBytes != bytes);
            // Sorted already: nothing moves.
            QVERIFY(!(order == 0 ? sortByDate(contents) : sortByType(contents)));
            QCOMPARE(contents, expectedBytes + fragment);
        }
    }

    void byDate_data()
    {
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("oldest first") << QStringList{"3/1/1996", "1/15/1996", "2/1/1996"}
                                      << QList<int>{1, 2, 0};
        QTest::newRow("same day keeps order")
            << QStringList{"5/5/1996", "1/1/1996", "5/5/1996", "5/5/96", "1/1/1996"}
            << QList<int>{1, 4, 0, 2, 3};
        QTest::newRow("two-digit years by calendar")
            << QStringList{"10/2/96", "9/1/96", "1/1/2001", "12/31/1999"}
            << QList<int>{1, 0, 3, 2};
        QTest::newRow("no date after every date, in their order")
            << QStringList{"garbage", "3/1/1996", "", "13/45/96", "1/1/1996", "2/30/1996"}
            << QList<int>{4, 1, 0, 2, 3, 5};
        QTest::newRow("blanks around the date") << QStringList{"  2/1/1996", "1/1/1996  "}
                                                << QList<int>{1, 0};
        QTest::newRow("already in order") << QStringList{"1/1/1996", "1/2/1996", "1/3/1996"}
                                          << QList<int>{0, 1, 2};
    }
    void byDate()
    {
        QFETCH(QStringList, dates);
        QFETCH(QList<int>, order);
        QList<RecordSketch> sketches;
        for (const QString& d : dates)
            sketches << RecordSketch{'0', d, "Other", ""};
        std::vector<TaxRecord> records = makeRecords(sketches);
        sortByDate(records);
        QCOMPARE(positions(records), order);
    }

    void byType_data()
    {
        QTest::addColumn<QList<RecordSketch>>("sketches");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("kind first") << QList<RecordSketch>{{'3', "1/1/1996", "A", ""},
                                                   {'1', "1/1/1996", "Z", ""},
                                                   {'2', "1/1/1996", "A", ""},
                                                   {'0', "1/1/1996", "Z", ""}}
                                    << QList<int>{3, 1, 2, 0};
        QTest::newRow("date compared as text") << QList<RecordSketch>{{'0', "9/1/96", "Rent", ""},
                                                              {'0', "10/2/96", "Rent", ""}}
                                               << QList<int>{1, 0};
        QTest::newRow("upper case first") << QList<RecordSketch>{{'0', "1/1/1996", "rent", ""},
                                                         {'0', "1/1/1996", "apple", ""},
                                                         {'0', "1/1/1996", "Rent", ""},
                                                         {'0', "1/1/1996", "Zoo", ""}}
                                          << QList<int>{2, 3, 1, 0};
        // The type is compared at its full stored width, so "Rent" (padded
        // with blanks) comes before "Rent A" and before "Rental".
        // By the characters' codes, not by the bytes that store them: the
        // euro sign is stored as byte 0x80 but is character 0x20AC.
        QTest::newRow("character codes, not bytes")
            << QList<RecordSketch>{{'0', "1/1/1996", QString::fromUtf8("\xe2\x82\xac"), ""},
                           {'0', "1/1/1996", QString::fromUtf8("\xc3\xa9"), ""},
                           {'0', "1/1/1996", QString::fromUtf8("\xc3\xbf"), ""},
                           {'0', "1/1/1996", "z", ""}}
            << QList<int>{3, 1, 2, 0};
        QTest::newRow("padding counts") << QList<RecordSketch>{{'0', "1/1/1996", "Rental", ""},
                                                       {'0', "1/1/1996", "Rent A", ""},
                                                       {'0', "1/1/1996", "Rent", ""}}
                                        << QList<int>{2, 1, 0};
        QTest::newRow("invoice last, as text") << QList<RecordSketch>{{'0', "1/1/1996", "Rent", "2"},
                                                              {'0', "1/1/1996", "Rent", "10"},
                                                              {'0', "1/1/1996", "Rent", ""}}
                                               << QList<int>{2, 1, 0};
        QTest::newRow("equal keys keep order") << QList<RecordSketch>{{'2', "1/1/1996", "Rent", "7"},
                                                              {'0', "1/1/1996", "Rent", "7"},
                                                              {'2', "1/1/1996", "Rent", "7"},
                                                              {'0', "1/1/1996", "Rent", "7"}}
                                               << QList<int>{1, 3, 0, 2};
    }
    void byType()
    {
        QFETCH(QList<RecordSketch>, sketches);
        QFETCH(QList<int>, order);
        std::vector<TaxRecord> records = makeRecords(sketches);
        sortByType(records);
        QCOMPARE(positions(records), order);
    }

    // Nothing to order: the records come back byte for byte.
    void fewRecordsUntouched()
    {
        for (int n : {0, 1}) {
            TaxRecord odd = TaxRecord::fromBytes(QByteArray(kRecordLength, '\x9f'));
            std::vector<TaxRecord> records(n, odd);
            sortByDate(records);
            sortByType(records);
            QCOMPARE(records, std::vector<TaxRecord>(n, odd));
            const QByteArray contents = QByteArray(n * kRecordLength, '\x9f') + "frag";
            QByteArray copy = contents;
            QVERIFY(!sortByDate(copy));
            QVERIFY(!sortByType(copy));
            QCOMPARE(copy, contents);
        }
    }
};


QUILLARY_CORE_TEST_MAIN(TestSorting)
#include "tst_sorting.moc"
