#pragma once

#include "platform/localeservices.h"

#include <QChar>
#include <QDate>
#include <QStringView>

namespace quillary {

// The dates and amounts of bank and card statements, read as they are
// written there rather than as the user's locale writes them.

enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// Reads a statement's date under order: numbers separated by '.', '/' or
// '-', the year in four or two digits (two by the century rule), or a month
// name in English or German; a time after the date is ignored. Under
// year-month-day eight digits in a row are read as yyyymmdd as well.
enum class DateStatus { Ok, Empty, NotADate, Impossible };
struct DateRead {
    DateStatus status = DateStatus::Empty;
    QDate date;
};
DateRead readStatementDate(QStringView text, DateOrder order);

// How the amounts are written: the decimal separator ('.' or ','), the
// group separator (',', '.', ' ', '\'' or none).
struct NumberFormat {
    QChar decimal = u'.';
    QChar group = u',';
    friend bool operator==(const NumberFormat&, const NumberFormat&) = default;
};

// Reads an amount: a sign in front or behind ("9,90-"), or parentheses, or
// CR/DR behind; a currency sign or a three-letter code in front or behind;
// group separators only between groups of three digits.
enum class AmountStatus { Ok, Empty, NotANumber, OutOfRange };
struct AmountRead {
    AmountStatus status = AmountStatus::Empty;
    Currency value;
};
AmountRead readStatementAmount(QStringView text, const NumberFormat& format);

} // namespace quillary
