#pragma once

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QString>
#include <memory>
#include <optional>

namespace quillary {

// Today's date, behind a clock that tests can stop at a fixed day.
class Clock {
public:
    static QDate today();
    static void setFixedToday(std::optional<QDate> day);
};

// The locale the program works in: the user's, or, on a system without a
// locale setting (the C locale, e.g. LANG=C), the United States conventions
// the data files were first written in, rather than the C locale's
// "30 Apr 2024".
QLocale programLocale(const QLocale& system = QLocale::system());

// Dates are written in the user's short date format, with the year always in
// four digits (a two-digit year would read back in the wrong century and sort
// wrongly).
QString shortDateFormat(const QLocale& locale = QLocale());
QString shortDate(QDate date, const QLocale& locale = QLocale());

// Recognises the locale's short format with two- or four-digit years, its
// long format and ISO yyyy-MM-dd, with surrounding blanks. A two-digit year
// means a year from 1950 to 2049. Impossible dates are not dates.
std::optional<QDate> parseDate(const QString& text, const QLocale& locale = QLocale());
// The century rule of two-digit years: 0 to 49 are 2000 to 2049, 50 to 99
// are 1950 to 1999.
int windowedYear(int twoDigits);

// Whether QLocale::toDate(text, format) may read text as a date. It cannot
// when text lacks one of the format's literal parts (blanks and the case of
// letters aside) in their order, or lacks any letter where the format spells
// out day or month names that all hold letters. Far cheaper than toDate, so
// that a text which is no date at all is turned away at once.
bool mayBeDateOfFormat(QStringView text, const QString& format,
                       const QLocale& locale = QLocale());

struct NumericDateFormat;
struct DateFormatOutline;

// parseDate for many texts of one locale: what depends on the locale alone
// is worked out once, not for every date of a file, and a text that needs
// QLocale's own recognition is recognised once. Not for two threads at once.
class DateReader {
public:
    explicit DateReader(const QLocale& locale = QLocale());
    std::optional<QDate> operator()(QStringView text) const;
    // The same for text in Latin-1: a date of a numeric short format is read
    // in place, without a QString made of it.
    std::optional<QDate> operator()(QLatin1StringView text) const;

private:
    // The formats after the numeric short format, for trimmed text.
    std::optional<QDate> otherFormats(QStringView text) const;
    std::optional<QDate> recognise(const QString& text) const;
    const DateFormatOutline& longFormat() const;

    QLocale locale_;
    QString shortFormat_;
    std::shared_ptr<const NumericDateFormat> numeric_;
    mutable std::shared_ptr<const DateFormatOutline> long_;
    // What QLocale made of the texts it was asked about.
    mutable QHash<QString, std::optional<QDate>> recognised_;
};

// Signed number of calendar days from `from` to `to`.
qint64 daysBetween(QDate from, QDate to);

// A currency amount: a signed 64-bit count of ten-thousandths.
struct Currency {
    static constexpr qint64 kScale = 10000;
    qint64 units = 0;
    friend bool operator==(Currency, Currency) = default;
};

enum class CurrencyStatus { Ok, NotANumber, OutOfRange };

struct CurrencyResult {
    CurrencyStatus status = CurrencyStatus::NotANumber;
    Currency value;
    bool ok() const { return status == CurrencyStatus::Ok; }
};

// Accepts the locale's conventions: a leading or trailing minus sign or
// parentheses, the currency symbol, group separators in their places, the
// decimal separator and surrounding blanks. Rounds to four decimals, half to
// even. Empty text is not a number.
CurrencyResult textToCurrency(const QString& text, const QLocale& locale = QLocale());

// Plain decimal text: an optional minus, the digits and, only for a
// fractional part, the decimal separator and the fraction without trailing
// zeros (12.5, 10, 0, -0.0001).
QString currencyToText(Currency value, const QLocale& locale = QLocale());

// Sum that reports leaving the currency range instead of wrapping.
std::optional<Currency> addCurrency(Currency a, Currency b);

// Decimal text with one leading blank for a number that is not negative.
QString numberText(qint64 value);

// Removes leading and trailing blanks (spaces) only.
QString trimBlanks(const QString& text);

// Whether text contains search, ignoring the case of letters.
bool containsText(const QString& text, const QString& search);

} // namespace quillary
