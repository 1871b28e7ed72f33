#pragma once

#include <QDate>
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

struct NumericDateFormat;

// parseDate for many texts of one locale: what depends on the locale alone
// is worked out once, not for every date of a file.
class DateReader {
public:
    explicit DateReader(const QLocale& locale = QLocale());
    std::optional<QDate> operator()(QStringView text) const;

private:
    QLocale locale_;
    QString shortFormat_;
    std::shared_ptr<const NumericDateFormat> numeric_;
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
