#include "platform/localeservices.h"
#include "support/testenv.h"

#include <QRandomGenerator>
#include <QRegularExpression>

#include <limits>

using namespace quillary;
using quillary::test::LocaleGuard;

namespace {

// What a numeric short date format accepts, written as the plain regular
// expression it amounts to: day and month of one or two digits, the year of
// two (1950 to 2049) or four, the separators as they stand, nothing else.
std::optional<QDate> referenceNumericDate(const QString& text, const QString& format)
{
    QString pattern = QStringLiteral("^");
    QStringList order;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        if (c == u'd' || c == u'M') {
            pattern += QStringLiteral("([0-9]{1,2})");
            order << QString(c);
        } else if (c == u'y') {
            pattern += QStringLiteral("([0-9]{4}|[0-9]{2})");
            order << QStringLiteral("y");
        } else {
            pattern += QRegularExpression::escape(format.mid(i, run));
        }
        i += run;
    }
    const QRegularExpressionMatch m = QRegularExpression(pattern + u'$').match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    int day = 0, month = 0, year = 0;
    for (int g = 0; g < order.size(); ++g) {
        const QString digits = m.captured(g + 1);
        if (order[g] == QLatin1String("d"))
            day = digits.toInt();
        else if (order[g] == QLatin1String("M"))
            month = digits.toInt();
        else
            year = digits.size() == 2 ? (digits.toInt() < 50 ? 2000 : 1900) + digits.toInt()
                                      : digits.toInt();
    }
    const QDate date(year, month, day);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

// A date written in the locale's long format, then changed a little, or not
// at all: a character dropped, doubled, replaced or changed in case, blanks
// added or taken away. Most such texts are no longer dates; some still are.
QString nearLongDate(QRandomGenerator& rng, const QLocale& locale)
{
    QString text = locale.toString(QDate(1900, 1, 1).addDays(rng.bounded(80000)),
                                   QLocale::LongFormat);
    static const QString noise = QStringLiteral(" ,.-/'x1A\u00e9");
    const int changes = int(rng.bounded(4));
    for (int k = 0; k < changes && !text.isEmpty(); ++k) {
        const auto at = qsizetype(rng.bounded(int(text.size())));
        switch (rng.bounded(5)) {
        case 0: text.remove(at, 1); break;
        case 1: text.insert(at, text.at(at)); break;
        case 2: text[at] = noise.at(rng.bounded(int(noise.size()))); break;
        case 3: text[at] = text.at(at).isUpper() ? text.at(at).toLower() : text.at(at).toUpper(); break;
        default: text.insert(at, u' '); break;
        }
    }
    return text;
}

} // namespace

Q_DECLARE_METATYPE(quillary::CurrencyStatus)

namespace {

constexpr qint64 kMin = std::numeric_limits<qint64>::min();
constexpr qint64 kMax = std::numeric_limits<qint64>::max();

const char* statusName(CurrencyStatus s)
{
    switch (s) {
    case CurrencyStatus::Ok: return "Ok";
    case CurrencyStatus::NotANumber: return "NotANumber";
    case CurrencyStatus::OutOfRange: return "OutOfRange";
    }
    return "?";
}

} // namespace

class TestLocaleServices : public QObject {
    Q_OBJECT

private slots:
    // The date recognition of numeric short formats, which reads every date
    // of a file when it is sorted or summed, accepts exactly what the
    // format's regular expression does, on random texts of digits and
    // separators.
    void numericDatesAsTheirPattern_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char* name : {"en_US", "de_DE", "en_GB", "ja_JP", "nl_NL"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void numericDatesAsTheirPattern()
    {
        QFETCH(QString, locale);
        const QLocale l(locale);
        const QString format = l.dateFormat(QLocale::ShortFormat);
        const DateReader read(l);
        QRandomGenerator rng(42);
        const QString alphabet = QStringLiteral("0123456789/.- 0123456789");
        int dates = 0;
        for (int i = 0; i < 20000; ++i) {
            QString text;
            const int length = int(rng.bounded(13));
            for (int k = 0; k < length; ++k)
                text += alphabet.at(rng.bounded(int(alphabet.size())));
            // Half the texts are dates of the format with noise around them.
            if (i % 2 == 0)
                text = l.toString(QDate(1900, 1, 1).addDays(rng.bounded(60000)), format)
                    + (i % 8 == 0 ? text.left(1) : QString());
            const std::optional<QDate> reference = referenceNumericDate(text, format);
            const std::optional<QDate> got = read(text);
            // A text the pattern refuses may still be a long-format or ISO
            // date; what the pattern accepts must come out the same.
            if (reference)
                QCOMPARE(got, reference);
            else if (got)
                QVERIFY2(!l.toDate(text.trimmed(), QLocale::LongFormat).isNull()
                             || QDate::fromString(text.trimmed(), Qt::ISODate).isValid(),
                         qPrintable(text));
            dates += reference.has_value();
            QCOMPARE(quillary::parseDate(text, l), got);
        }
        QVERIFY(dates > 5000);
    }

    // Text in Latin-1 is read as the same text made a QString: digits,
    // separators, blanks of every kind, letters and the upper half.
    void latin1TextAsItsString_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char* name : {"en_US", "de_DE", "en_GB", "ja_JP", "fr_FR", "ar_EG", "C"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void latin1TextAsItsString()
    {
        QFETCH(QString, locale);
        const QLocale l(locale);
        const DateReader read(l);
        QRandomGenerator rng(7);
        const QByteArray alphabet = QByteArray("0123456789/.-, \t\n") + "\xa0\xe9\xff" + "Mar"
            + "0123456789";
        int dates = 0;
        for (int i = 0; i < 20000; ++i) {
            QByteArray text;
            const int length = int(rng.bounded(16));
            for (int k = 0; k < length; ++k)
                text += alphabet.at(rng.bounded(int(alphabet.size())));
            if (i % 2 == 0) {
                // A date of the short format, blank padded as a stored field.
                const QString date =
                    l.toString(QDate(1900, 1, 1).addDays(rng.bounded(60000)),
                               l.dateFormat(QLocale::ShortFormat));
                text = date.toLatin1().leftJustified(15, ' ') + text.left(i % 6 == 0 ? 1 : 0);
            }
            const std::optional<QDate> got = read(QLatin1StringView(text));
            QCOMPARE(got, read(QString::fromLatin1(text)));
            dates += got.has_value();
        }
        if (locale != QLatin1String("ar_EG")) // its dates are not Latin-1
            QVERIFY(dates > 5000);
    }

    // The outline that turns texts away before QLocale reads them never
    // turns away one that QLocale reads as a date of the format.
    void outlineAdmitsEveryDate_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char* name : {"en_US", "de_DE", "en_GB", "fr_FR", "es_ES", "ru_RU", "ja_JP",
                                 "hu_HU", "th_TH", "he_IL", "ar_EG", "fi_FI"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void outlineAdmitsEveryDate()
    {
        QFETCH(QString, locale);
        const QLocale l(locale);
        const QString format = l.dateFormat(QLocale::LongFormat);
        QRandomGenerator rng(11);
        int dates = 0;
        for (int i = 0; i < 4000; ++i) {
            const QString text = nearLongDate(rng, l);
            if (l.toDate(text, format).isValid()) {
                QVERIFY2(mayBeDateOfFormat(text, format, l), qPrintable(text));
                ++dates;
            }
        }
        QVERIFY(dates > 1000);
    }

    void outline_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("admitted");
        QTest::newRow("US long date") << "en_US" << "Thursday, March 14, 1996" << true;
        QTest::newRow("US other case") << "en_US" << "THURSDAY, MARCH 14, 1996" << true;
        QTest::newRow("US commas, letters") << "en_US" << "x,y,z" << true;
        QTest::newRow("US one comma") << "en_US" << "March 14, 1996" << false;
        QTest::newRow("US no commas") << "en_US" << "n/a 1234" << false;
        QTest::newRow("US no letter") << "en_US" << "1, 2, 3" << false;
        QTest::newRow("US short date") << "en_US" << "3/14/1996" << false;
        QTest::newRow("ES quoted words") << "es_ES" << "jueves, 14 de marzo de 1996" << true;
        QTest::newRow("ES one word missing") << "es_ES" << "jueves, 14 de marzo 1996" << false;
        QTest::newRow("RU trailing literal") << "ru_RU" << QString::fromUtf8("четверг, 14 марта 1996 г.") << true;
        QTest::newRow("RU trailing literal missing") << "ru_RU" << QString::fromUtf8("четверг, 14 марта 1996") << false;
        QTest::newRow("FR letters only needed") << "fr_FR" << "n/a" << true;
        QTest::newRow("FR digits") << "fr_FR" << "14 03 1996" << false;
    }
    void outline()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, admitted);
        const QLocale l(locale);
        QCOMPARE(mayBeDateOfFormat(text, l.dateFormat(QLocale::LongFormat), l), admitted);
    }

    void cleanup() { Clock::setFixedToday(std::nullopt); }

    // ---- dates -------------------------------------------------------

    void programLocaleReplacesOnlyTheCLocale_data()
    {
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("used");
        QTest::newRow("C") << "C" << "en_US";
        QTest::newRow("POSIX") << "POSIX" << "en_US";
        QTest::newRow("de_DE") << "de_DE" << "de_DE";
        QTest::newRow("en_GB") << "en_GB" << "en_GB";
    }
    void programLocaleReplacesOnlyTheCLocale()
    {
        QFETCH(QString, system);
        QFETCH(QString, used);
        QCOMPARE(programLocale(QLocale(system)).name(), used);
    }

    void shortDateHasFourDigitYears_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("en_US") << "en_US" << QDate(1996, 3, 14) << "3/14/1996";
        QTest::newRow("en_US two-digit month") << "en_US" << QDate(2025, 12, 1) << "12/1/2025";
        QTest::newRow("en_US 2049") << "en_US" << QDate(2049, 1, 2) << "1/2/2049";
        QTest::newRow("en_US 1950") << "en_US" << QDate(1950, 1, 2) << "1/2/1950";
        QTest::newRow("de_DE") << "de_DE" << QDate(1996, 3, 14) << "14.03.1996";
        QTest::newRow("en_GB") << "en_GB" << QDate(1996, 3, 4) << "04/03/1996";
        QTest::newRow("en_GB 2100") << "en_GB" << QDate(2100, 12, 31) << "31/12/2100";
    }
    void shortDateHasFourDigitYears()
    {
        QFETCH(QString, locale);
        QFETCH(QDate, date);
        QFETCH(QString, text);
        LocaleGuard guard(locale);
        QCOMPARE(shortDate(date), text);
        QVERIFY(text.size() <= 15); // fits the date field
    }

    void shortDateFormats_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("format");
        QTest::newRow("en_US") << "en_US" << "M/d/yyyy";
        QTest::newRow("de_DE") << "de_DE" << "dd.MM.yyyy";
        QTest::newRow("en_GB") << "en_GB" << "dd/MM/yyyy";
    }
    void shortDateFormats()
    {
        QFETCH(QString, locale);
        QFETCH(QString, format);
        LocaleGuard guard(locale);
        QCOMPARE(shortDateFormat(), format);
    }

    void parseDate_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date"); // invalid: not a date

        const QDate none;
        // en_US
        QTest::newRow("US four-digit year") << "en_US" << "3/14/1996" << QDate(1996, 3, 14);
        QTest::newRow("US leading zeros") << "en_US" << "03/04/1996" << QDate(1996, 3, 4);
        QTest::newRow("US 96 is 1996") << "en_US" << "3/14/96" << QDate(1996, 3, 14);
        QTest::newRow("US 26 is 2026") << "en_US" << "1/2/26" << QDate(2026, 1, 2);
        QTest::newRow("US 49 is 2049") << "en_US" << "12/31/49" << QDate(2049, 12, 31);
        QTest::newRow("US 50 is 1950") << "en_US" << "1/1/50" << QDate(1950, 1, 1);
        QTest::newRow("US 00 is 2000") << "en_US" << "2/29/00" << QDate(2000, 2, 29);
        QTest::newRow("US 99 is 1999") << "en_US" << "12/31/99" << QDate(1999, 12, 31);
        QTest::newRow("US four-digit 2049") << "en_US" << "1/1/2049" << QDate(2049, 1, 1);
        QTest::newRow("US four-digit 1949 stays") << "en_US" << "1/1/1949" << QDate(1949, 1, 1);
        QTest::newRow("US four-digit 2050 stays") << "en_US" << "1/1/2050" << QDate(2050, 1, 1);
        QTest::newRow("US blanks around") << "en_US" << "  3/14/1996   " << QDate(1996, 3, 14);
        QTest::newRow("US blanks of a stored field") << "en_US" << "3/14/96        "
                                                     << QDate(1996, 3, 14);
        QTest::newRow("US long format") << "en_US" << "Thursday, March 14, 1996"
                                        << QDate(1996, 3, 14);
        QTest::newRow("US ISO") << "en_US" << "1996-03-14" << QDate(1996, 3, 14);
        QTest::newRow("US ISO blanks around") << "en_US" << " 2024-02-29 " << QDate(2024, 2, 29);
        QTest::newRow("US leap day") << "en_US" << "2/29/2024" << QDate(2024, 2, 29);
        QTest::newRow("US 13/45/96") << "en_US" << "13/45/96" << none;
        QTest::newRow("US 2/30/2025") << "en_US" << "2/30/2025" << none;
        QTest::newRow("US 2/29/2025") << "en_US" << "2/29/2025" << none;
        QTest::newRow("US 2/29/1900") << "en_US" << "2/29/1900" << none;
        QTest::newRow("US 4/31/96") << "en_US" << "4/31/96" << none;
        QTest::newRow("US month 0") << "en_US" << "0/10/96" << none;
        QTest::newRow("US day 0") << "en_US" << "1/0/96" << none;
        QTest::newRow("US ISO impossible") << "en_US" << "2025-02-30" << none;
        QTest::newRow("US ISO one-digit month") << "en_US" << "1996-3-14" << none;
        QTest::newRow("US ISO other digits") << "en_US"
                                             << QString::fromUtf8("\xd9\xa1\xd9\xa9\xd9\xa9\xd9\xa6-03-14")
                                             << none;
        QTest::newRow("US long format, other case") << "en_US" << "thursday, MARCH 14, 1996"
                                                    << QDate(1996, 3, 14);
        QTest::newRow("US long format, weekday wrong") << "en_US" << "Friday, March 14, 1996"
                                                       << none;
        QTest::newRow("US ISO month 13") << "en_US" << "1996-13-01" << none;
        QTest::newRow("US three-digit year") << "en_US" << "3/14/996" << none;
        QTest::newRow("US one-digit year") << "en_US" << "3/14/6" << none;
        QTest::newRow("US five-digit year") << "en_US" << "3/14/19966" << none;
        QTest::newRow("US no year") << "en_US" << "3/14" << none;
        QTest::newRow("US trailing garbage") << "en_US" << "3/14/1996x" << none;
        QTest::newRow("US leading garbage") << "en_US" << "x3/14/1996" << none;
        QTest::newRow("US day first") << "en_US" << "14/3/1996" << none;
        QTest::newRow("US German style") << "en_US" << "14.03.1996" << none;
        QTest::newRow("US sign in year") << "en_US" << "3/14/-96" << none;
        QTest::newRow("US empty") << "en_US" << "" << none;
        QTest::newRow("US blanks") << "en_US" << "               " << none;
        QTest::newRow("US word") << "en_US" << "yesterday" << none;
        QTest::newRow("US number") << "en_US" << "1234.5" << none;
        QTest::newRow("US separators only") << "en_US" << "//" << none;
        // de_DE
        QTest::newRow("DE four-digit year") << "de_DE" << "14.03.1996" << QDate(1996, 3, 14);
        QTest::newRow("DE short parts") << "de_DE" << "4.3.96" << QDate(1996, 3, 4);
        QTest::newRow("DE 26 is 2026") << "de_DE" << "01.02.26" << QDate(2026, 2, 1);
        QTest::newRow("DE 50 is 1950") << "de_DE" << "01.02.50" << QDate(1950, 2, 1);
        QTest::newRow("DE long format") << "de_DE" << "Donnerstag, 14. März 1996"
                                        << QDate(1996, 3, 14);
        QTest::newRow("DE ISO") << "de_DE" << "1996-03-14" << QDate(1996, 3, 14);
        QTest::newRow("DE blanks around") << "de_DE" << " 14.03.1996 " << QDate(1996, 3, 14);
        QTest::newRow("DE 30.02.2025") << "de_DE" << "30.02.2025" << none;
        QTest::newRow("DE 45.13.96") << "de_DE" << "45.13.96" << none;
        QTest::newRow("DE US style") << "de_DE" << "3/14/1996" << none;
        QTest::newRow("DE garbage") << "de_DE" << "kein Datum" << none;
        // en_GB
        QTest::newRow("GB four-digit year") << "en_GB" << "14/03/1996" << QDate(1996, 3, 14);
        QTest::newRow("GB short parts") << "en_GB" << "4/3/96" << QDate(1996, 3, 4);
        QTest::newRow("GB 49 is 2049") << "en_GB" << "31/12/49" << QDate(2049, 12, 31);
        QTest::newRow("GB long format") << "en_GB" << "Thursday, 14 March 1996"
                                        << QDate(1996, 3, 14);
        QTest::newRow("GB ISO") << "en_GB" << "1996-03-14" << QDate(1996, 3, 14);
        QTest::newRow("GB US style") << "en_GB" << "3/14/1996" << none;
        QTest::newRow("GB 30/02/2025") << "en_GB" << "30/02/2025" << none;
    }
    void parseDate()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QDate, date);
        LocaleGuard guard(locale);
        const std::optional<QDate> parsed = quillary::parseDate(text);
        if (date.isValid()) {
            QVERIFY2(parsed.has_value(), qPrintable(text));
            QCOMPARE(*parsed, date);
        } else {
            QVERIFY2(!parsed.has_value(), qPrintable(parsed->toString(Qt::ISODate)));
        }
    }

    // Whatever date the program writes, it reads back as the same date.
    void shortDateReadsBack_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char* name : {"en_US", "de_DE", "en_GB", "fr_FR", "ja_JP", "C"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void shortDateReadsBack()
    {
        QFETCH(QString, locale);
        LocaleGuard guard(locale);
        for (QDate d(1900, 1, 1); d.year() < 2101; d = d.addDays(13)) {
            const auto back = quillary::parseDate(shortDate(d));
            QVERIFY2(back.has_value(), qPrintable(shortDate(d)));
            QCOMPARE(*back, d);
        }
    }

    void clockCanBeStopped()
    {
        Clock::setFixedToday(QDate(1996, 3, 14));
        QCOMPARE(Clock::today(), QDate(1996, 3, 14));
        Clock::setFixedToday(std::nullopt);
        QVERIFY(qAbs(Clock::today().daysTo(QDate::currentDate())) <= 1);
    }

    void daysBetween_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<qint64>("days");
        QTest::newRow("same day") << QDate(1996, 3, 14) << QDate(1996, 3, 14) << qint64(0);
        QTest::newRow("over a leap day") << QDate(1996, 2, 28) << QDate(1996, 3, 1) << qint64(2);
        QTest::newRow("backwards") << QDate(1996, 3, 14) << QDate(1995, 3, 14) << qint64(-366);
    }
    void daysBetween()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(qint64, days);
        QCOMPARE(quillary::daysBetween(from, to), days);
    }

    // ---- currency ----------------------------------------------------

    void textToCurrency_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<CurrencyStatus>("status");
        QTest::addColumn<qint64>("units");

        const auto ok = CurrencyStatus::Ok;
        const auto nan = CurrencyStatus::NotANumber;
        const auto out = CurrencyStatus::OutOfRange;
        // plain numbers
        QTest::newRow("12.5") << "en_US" << "12.5" << ok << qint64(125000);
        QTest::newRow("10") << "en_US" << "10" << ok << qint64(100000);
        QTest::newRow("0") << "en_US" << "0" << ok << qint64(0);
        QTest::newRow("-0") << "en_US" << "-0" << ok << qint64(0);
        QTest::newRow("-0.0001") << "en_US" << "-0.0001" << ok << qint64(-1);
        QTest::newRow("1234.5") << "en_US" << "1234.5" << ok << qint64(12345000);
        QTest::newRow(".5") << "en_US" << ".5" << ok << qint64(5000);
        QTest::newRow("5.") << "en_US" << "5." << ok << qint64(50000);
        QTest::newRow("leading zeros") << "en_US" << "000000000000000000000012.50" << ok
                                       << qint64(125000);
        QTest::newRow("stored field with blanks") << "en_US" << "1234.5        " << ok
                                                  << qint64(12345000);
        QTest::newRow("blanks around") << "en_US" << "  7  " << ok << qint64(70000);
        // rounding half to even at the fifth decimal
        QTest::newRow("0.00005 to even 0") << "en_US" << "0.00005" << ok << qint64(0);
        QTest::newRow("0.00015 to even 2") << "en_US" << "0.00015" << ok << qint64(2);
        QTest::newRow("0.00025 to even 2") << "en_US" << "0.00025" << ok << qint64(2);
        QTest::newRow("0.00035 to even 4") << "en_US" << "0.00035" << ok << qint64(4);
        QTest::newRow("0.000250001 up") << "en_US" << "0.000250001" << ok << qint64(3);
        QTest::newRow("0.0002500 half") << "en_US" << "0.0002500" << ok << qint64(2);
        QTest::newRow("0.00014999 down") << "en_US" << "0.00014999" << ok << qint64(1);
        QTest::newRow("0.00016 up") << "en_US" << "0.00016" << ok << qint64(2);
        QTest::newRow("-0.00015 to even -2") << "en_US" << "-0.00015" << ok << qint64(-2);
        QTest::newRow("-0.00025 to even -2") << "en_US" << "-0.00025" << ok << qint64(-2);
        QTest::newRow("0.99995 carries") << "en_US" << "0.99995" << ok << qint64(10000);
        QTest::newRow("9.99999 carries") << "en_US" << "9.99999" << ok << qint64(100000);
        QTest::newRow("long fraction") << "en_US" << "1.123456789012345678901234567890" << ok
                                       << qint64(11235);
        // range ends
        QTest::newRow("max") << "en_US" << "922337203685477.5807" << ok << kMax;
        QTest::newRow("max + 1 unit") << "en_US" << "922337203685477.5808" << out << qint64(0);
        QTest::newRow("max rounds down") << "en_US" << "922337203685477.58074" << ok << kMax;
        QTest::newRow("max rounds beyond") << "en_US" << "922337203685477.58075" << out << qint64(0);
        QTest::newRow("min") << "en_US" << "-922337203685477.5808" << ok << kMin;
        QTest::newRow("min - 1 unit") << "en_US" << "-922337203685477.5809" << out << qint64(0);
        QTest::newRow("min half to even") << "en_US" << "-922337203685477.58085" << ok << kMin;
        QTest::newRow("min rounds beyond") << "en_US" << "-922337203685477.58086" << out
                                           << qint64(0);
        QTest::newRow("min in parentheses") << "en_US" << "(922337203685477.5808)" << ok << kMin;
        QTest::newRow("min trailing minus") << "en_US" << "922337203685477.5808-" << ok << kMin;
        QTest::newRow("whole max") << "en_US" << "922337203685477" << ok
                                   << qint64(9223372036854770000);
        QTest::newRow("whole max + 1") << "en_US" << "922337203685478" << out << qint64(0);
        QTest::newRow("-922337203685478") << "en_US" << "-922337203685478" << out << qint64(0);
        QTest::newRow("20 digits") << "en_US" << "99999999999999999999" << out << qint64(0);
        QTest::newRow("20 digits and a letter") << "en_US" << "99999999999999999999x" << nan
                                                << qint64(0);
        QTest::newRow("40 digits") << "en_US" << QString(40, u'9') << out << qint64(0);
        QTest::newRow("grouped max") << "en_US" << "$922,337,203,685,477.5807" << ok << kMax;
        // signs
        QTest::newRow("leading minus") << "en_US" << "-5" << ok << qint64(-50000);
        QTest::newRow("trailing minus") << "en_US" << "5-" << ok << qint64(-50000);
        QTest::newRow("parentheses") << "en_US" << "(5)" << ok << qint64(-50000);
        QTest::newRow("parentheses with blanks") << "en_US" << "( 5.25 )" << ok
                                                 << qint64(-52500);
        QTest::newRow("plus") << "en_US" << "+5" << ok << qint64(50000);
        QTest::newRow("two minus signs") << "en_US" << "--5" << nan << qint64(0);
        QTest::newRow("minus both sides") << "en_US" << "-5-" << nan << qint64(0);
        QTest::newRow("minus in parentheses") << "en_US" << "(-5)" << nan << qint64(0);
        QTest::newRow("plus and minus") << "en_US" << "+-5" << nan << qint64(0);
        QTest::newRow("minus and plus") << "en_US" << "-+5" << nan << qint64(0);
        QTest::newRow("two plus signs") << "en_US" << "++5" << nan << qint64(0);
        QTest::newRow("open parenthesis only") << "en_US" << "(5" << nan << qint64(0);
        QTest::newRow("empty parentheses") << "en_US" << "()" << nan << qint64(0);
        QTest::newRow("minus alone") << "en_US" << "-" << nan << qint64(0);
        QTest::newRow("minus inside") << "en_US" << "5-5" << nan << qint64(0);
        // currency symbol
        QTest::newRow("dollar") << "en_US" << "$12.50" << ok << qint64(125000);
        QTest::newRow("minus dollar") << "en_US" << "-$12.50" << ok << qint64(-125000);
        QTest::newRow("dollar minus") << "en_US" << "$-12.50" << ok << qint64(-125000);
        QTest::newRow("dollar in parentheses") << "en_US" << "($1,234.56)" << ok
                                               << qint64(-12345600);
        QTest::newRow("symbol alone") << "en_US" << "$" << nan << qint64(0);
        QTest::newRow("two symbols") << "en_US" << "$$5" << nan << qint64(0);
        QTest::newRow("symbol inside") << "en_US" << "5$5" << nan << qint64(0);
        // group separators
        QTest::newRow("1,234.5") << "en_US" << "1,234.5" << ok << qint64(12345000);
        QTest::newRow("1,234,567.89") << "en_US" << "1,234,567.89" << ok << qint64(12345678900);
        QTest::newRow("1,5 in en_US") << "en_US" << "1,5" << nan << qint64(0);
        QTest::newRow("1,2345") << "en_US" << "1,2345" << nan << qint64(0);
        QTest::newRow("1234,567") << "en_US" << "1234,567" << nan << qint64(0);
        QTest::newRow("leading separator") << "en_US" << ",234" << nan << qint64(0);
        QTest::newRow("trailing separator") << "en_US" << "1," << nan << qint64(0);
        QTest::newRow("double separator") << "en_US" << "1,,234" << nan << qint64(0);
        QTest::newRow("separator in the fraction") << "en_US" << "1.234,5" << nan << qint64(0);
        QTest::newRow("separator before point") << "en_US" << "1,.5" << nan << qint64(0);
        // not numbers
        QTest::newRow("empty") << "en_US" << "" << nan << qint64(0);
        QTest::newRow("blanks") << "en_US" << "              " << nan << qint64(0);
        QTest::newRow("point alone") << "en_US" << "." << nan << qint64(0);
        QTest::newRow("two points") << "en_US" << "1.2.3" << nan << qint64(0);
        QTest::newRow("letters") << "en_US" << "abc" << nan << qint64(0);
        QTest::newRow("14 letters") << "en_US" << "ABCDEFGHIJKLMN" << nan << qint64(0);
        QTest::newRow("exponent") << "en_US" << "1e5" << nan << qint64(0);
        QTest::newRow("inner blank") << "en_US" << "1 234" << nan << qint64(0);
        QTest::newRow("hex") << "en_US" << "0x10" << nan << qint64(0);
        QTest::newRow("infinity") << "en_US" << "inf" << nan << qint64(0);
        QTest::newRow("Arabic-Indic digits") << "en_US" << QString::fromUtf8("\u0661\u0662")
                                             << nan << qint64(0);
        QTest::newRow("fullwidth digits") << "en_US" << QString::fromUtf8("\uFF11\uFF12") << nan
                                          << qint64(0);
        QTest::newRow("percent") << "en_US" << "5%" << nan << qint64(0);
        QTest::newRow("a date") << "en_US" << "3/14/1996" << nan << qint64(0);
        // de_DE
        QTest::newRow("DE 12,5") << "de_DE" << "12,5" << ok << qint64(125000);
        QTest::newRow("DE 1.234,5") << "de_DE" << "1.234,5" << ok << qint64(12345000);
        QTest::newRow("DE -0,0001") << "de_DE" << "-0,0001" << ok << qint64(-1);
        QTest::newRow("DE euro after") << "de_DE" << "1.234,56 €" << ok << qint64(12345600);
        QTest::newRow("DE minus and euro") << "de_DE" << "-5 €" << ok << qint64(-50000);
        QTest::newRow("DE 1,234.5") << "de_DE" << "1,234.5" << nan << qint64(0);
        QTest::newRow("DE 1.5") << "de_DE" << "1.5" << nan << qint64(0);
        QTest::newRow("DE max") << "de_DE" << "922337203685477,5807" << ok << kMax;
        QTest::newRow("DE min") << "de_DE" << "-922.337.203.685.477,5808" << ok << kMin;
        // en_GB
        QTest::newRow("GB pound") << "en_GB" << "£1,234.50" << ok << qint64(12345000);
    }
    void textToCurrency()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(CurrencyStatus, status);
        QFETCH(qint64, units);
        LocaleGuard guard(locale);
        const CurrencyResult r = quillary::textToCurrency(text);
        QCOMPARE(statusName(r.status), statusName(status));
        QCOMPARE(r.ok(), status == CurrencyStatus::Ok);
        if (status == CurrencyStatus::Ok)
            QCOMPARE(r.value.units, units);
    }

    void currencyToText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("text");
        QTest::newRow("12.5") << "en_US" << qint64(125000) << "12.5";
        QTest::newRow("10") << "en_US" << qint64(100000) << "10";
        QTest::newRow("0") << "en_US" << qint64(0) << "0";
        QTest::newRow("-0.0001") << "en_US" << qint64(-1) << "-0.0001";
        QTest::newRow("0.001") << "en_US" << qint64(10) << "0.001";
        QTest::newRow("-10") << "en_US" << qint64(-100000) << "-10";
        QTest::newRow("no group separators") << "en_US" << qint64(12345000) << "1234.5";
        QTest::newRow("max") << "en_US" << kMax << "922337203685477.5807";
        QTest::newRow("min") << "en_US" << kMin << "-922337203685477.5808";
        QTest::newRow("DE 12,5") << "de_DE" << qint64(125000) << "12,5";
        QTest::newRow("DE 1234,5") << "de_DE" << qint64(12345000) << "1234,5";
        QTest::newRow("DE -0,0001") << "de_DE" << qint64(-1) << "-0,0001";
        QTest::newRow("DE 10") << "de_DE" << qint64(100000) << "10";
    }
    void currencyToText()
    {
        QFETCH(QString, locale);
        QFETCH(qint64, units);
        QFETCH(QString, text);
        LocaleGuard guard(locale);
        QCOMPARE(quillary::currencyToText(Currency{units}), text);
        // What is written reads back as the same value.
        const CurrencyResult back = quillary::textToCurrency(text);
        QVERIFY(back.ok());
        QCOMPARE(back.value.units, units);
    }

    void addCurrency_data()
    {
        QTest::addColumn<qint64>("a");
        QTest::addColumn<qint64>("b");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<qint64>("sum");
        QTest::newRow("small") << qint64(125000) << qint64(-5000) << true << qint64(120000);
        QTest::newRow("max + min") << kMax << kMin << true << qint64(-1);
        QTest::newRow("max + 0") << kMax << qint64(0) << true << kMax;
        QTest::newRow("max + 1") << kMax << qint64(1) << false << qint64(0);
        QTest::newRow("min - 1") << kMin << qint64(-1) << false << qint64(0);
        QTest::newRow("min + min") << kMin << kMin << false << qint64(0);
    }
    void addCurrency()
    {
        QFETCH(qint64, a);
        QFETCH(qint64, b);
        QFETCH(bool, fits);
        QFETCH(qint64, sum);
        const auto result = quillary::addCurrency(Currency{a}, Currency{b});
        QCOMPARE(result.has_value(), fits);
        if (fits)
            QCOMPARE(result->units, sum);
    }

    // ---- small text helpers ----------------------------------------------

    void numberText_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("positive") << qint64(12) << " 12";
        QTest::newRow("zero") << qint64(0) << " 0";
        QTest::newRow("negative") << qint64(-12) << "-12";
        QTest::newRow("max") << kMax << " 9223372036854775807";
        QTest::newRow("min") << kMin << "-9223372036854775808";
    }
    void numberText()
    {
        QFETCH(qint64, value);
        QFETCH(QString, text);
        LocaleGuard guard(QStringLiteral("de_DE")); // no group separators in any locale
        QCOMPARE(quillary::numberText(value), text);
    }

    void trimBlanks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("both sides") << "  Other   " << "Other";
        QTest::newRow("inner blanks kept") << " a  b " << "a  b";
        QTest::newRow("only blanks") << "     " << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("tabs are not blanks") << "\tx\t" << "\tx\t";
        QTest::newRow("no-break space is not a blank") << QString(QChar(0xA0)) + u'x'
                                                        << QString(QChar(0xA0)) + u'x';
        QTest::newRow("30-character field") << "Other                         " << "Other";
    }
    void trimBlanks()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(quillary::trimBlanks(text), trimmed);
    }

    void containsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("found");
        QTest::newRow("other case") << "Office Expense" << "EXPENSE" << true;
        QTest::newRow("accented other case") << "Café" << "CAFÉ" << true;
        QTest::newRow("absent") << "Office Expense" << "rent" << false;
        QTest::newRow("longer search") << "ab" << "abc" << false;
    }
    void containsText()
    {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(bool, found);
        QCOMPARE(quillary::containsText(text, search), found);
    }
};

QUILLARY_CORE_TEST_MAIN(TestLocaleServices)
#include "tst_localeservices.moc"
