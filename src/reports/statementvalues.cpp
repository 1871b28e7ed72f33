#include "reports/statementvalues.h"

#include "platform/localeservices.h"

#include <algorithm>
#include <array>

namespace quillary {

namespace {

bool hasLetter(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

bool isDigits(QStringView text)
{
    return !text.isEmpty()
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

int number(QStringView digits)
{
    int value = 0;
    for (const QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

// January is 1; 0 for a word that names no month. English and German
// names, whole or cut to three letters or more ("Sept", "Mrz").
int monthOf(QStringView word)
{
    static const std::array<std::array<const char16_t*, 3>, 12> names{{
        {u"january", u"januar", u"jän"},
        {u"february", u"februar", u"feb"},
        {u"march", u"märz", u"mrz"},
        {u"april", u"april", u"apr"},
        {u"may", u"mai", u"mai"},
        {u"june", u"juni", u"jun"},
        {u"july", u"juli", u"jul"},
        {u"august", u"august", u"aug"},
        {u"september", u"september", u"sep"},
        {u"october", u"oktober", u"okt"},
        {u"november", u"november", u"nov"},
        {u"december", u"dezember", u"dez"},
    }};
    if (word.size() < 3)
        return 0;
    const QString folded = word.toString().toCaseFolded();
    for (std::size_t m = 0; m < names.size(); ++m) {
        for (const char16_t* name : names[m]) {
            const QStringView full(name);
            if (full.startsWith(folded) || folded == full)
                return int(m) + 1;
        }
    }
    return 0;
}

bool isDateSeparator(QChar c)
{
    return c == u'.' || c == u'/' || c == u'-' || c == u',' || c.isSpace();
}

// The date part of a text that may go on with a time: "14.03.2026 10:22",
// "2026-03-14T10:22:00Z", "3/14/2026 9:05 PM".
QStringView withoutTime(QStringView text)
{
    qsizetype colon = text.indexOf(u':');
    if (colon < 0)
        return text;
    qsizetype cut = colon;
    while (cut > 0 && !text[cut - 1].isSpace() && text[cut - 1] != u'T')
        --cut;
    if (cut == 0)
        return {}; // a time alone, or a colon inside the date
    return text.first(cut - 1).trimmed();
}

} // namespace

DateRead readStatementDate(QStringView input, DateOrder order)
{
    const QStringView trimmed = input.trimmed();
    if (trimmed.isEmpty())
        return {DateStatus::Empty, {}};
    const QStringView text = withoutTime(trimmed);
    DateRead notADate{DateStatus::NotADate, {}};

    std::array<QStringView, 3> parts;
    int count = 0;
    for (qsizetype i = 0; i < text.size();) {
        if (isDateSeparator(text[i])) {
            ++i;
            continue;
        }
        qsizetype end = i;
        const bool digit = text[i].isDigit();
        while (end < text.size() && !isDateSeparator(text[end]) && text[end].isDigit() == digit)
            ++end;
        if (count == 3)
            return notADate;
        parts[count++] = text.sliced(i, end - i);
        i = end;
    }

    int day = 0, month = 0, year = 0;
    auto yearOf = [](QStringView digits) {
        return digits.size() == 2 ? windowedYear(number(digits)) : number(digits);
    };
    auto isYear = [](QStringView p) { return isDigits(p) && (p.size() == 2 || p.size() == 4); };
    auto isDayOrMonth = [](QStringView p) { return isDigits(p) && p.size() <= 2; };

    if (count == 1 && order == DateOrder::YearMonthDay && isDigits(parts[0])
        && parts[0].size() == 8) {
        year = number(parts[0].first(4));
        month = number(parts[0].sliced(4, 2));
        day = number(parts[0].sliced(6, 2));
    } else if (count != 3) {
        return notADate;
    } else if (const auto named = std::find_if(parts.begin(), parts.end(),
                                               [](QStringView p) { return hasLetter(p); });
               named != parts.end()) {
        // A month name: "14 Mar 2026", "Mar 14, 2026", "2026-Mar-14".
        month = monthOf(*named);
        if (month == 0)
            return notADate;
        std::array<QStringView, 2> numbers;
        int n = 0;
        for (const QStringView p : parts) {
            if (p.data() != named->data())
                numbers[n++] = p;
        }
        const bool yearFirst = numbers[0].size() == 4
            || (numbers[1].size() != 4 && order == DateOrder::YearMonthDay);
        const QStringView y = yearFirst ? numbers[0] : numbers[1];
        const QStringView d = yearFirst ? numbers[1] : numbers[0];
        if (!isYear(y) || !isDayOrMonth(d))
            return notADate;
        year = yearOf(y);
        day = number(d);
    } else {
        QStringView d, m, y;
        switch (order) {
        case DateOrder::DayMonthYear: d = parts[0], m = parts[1], y = parts[2]; break;
        case DateOrder::MonthDayYear: m = parts[0], d = parts[1], y = parts[2]; break;
        case DateOrder::YearMonthDay: y = parts[0], m = parts[1], d = parts[2]; break;
        }
        if (!isYear(y) || !isDayOrMonth(d) || !isDayOrMonth(m))
            return notADate;
        year = yearOf(y);
        month = number(m);
        day = number(d);
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return {DateStatus::Impossible, {}};
    return {DateStatus::Ok, date};
}

namespace {

bool isMinus(QChar c)
{
    return c == u'-' || c == u'\u2212' || c == u'\u2013';
}

bool isGroupBlank(QChar c)
{
    return c == u' ' || c == u'\u00A0' || c == u'\u202F';
}

// Takes a currency sign or a three-letter code off the front or the back.
bool stripCurrency(QStringView& text)
{
    if (text.isEmpty())
        return false;
    if (text.front().category() == QChar::Symbol_Currency) {
        text = text.sliced(1).trimmed();
        return true;
    }
    if (text.back().category() == QChar::Symbol_Currency) {
        text.chop(1);
        text = text.trimmed();
        return true;
    }
    auto isCode = [](QStringView code) {
        return std::all_of(code.begin(), code.end(),
                           [](QChar c) { return c >= u'A' && c <= u'Z'; });
    };
    if (text.size() > 3 && isCode(text.first(3)) && !text[3].isLetter()) {
        text = text.sliced(3).trimmed();
        return true;
    }
    if (text.size() > 3 && isCode(text.last(3)) && !text[text.size() - 4].isLetter()) {
        text.chop(3);
        text = text.trimmed();
        return true;
    }
    return false;
}

} // namespace

AmountRead readStatementAmount(QStringView input, const NumberFormat& format)
{
    QStringView text = input.trimmed();
    if (text.isEmpty())
        return {AmountStatus::Empty, {}};
    const AmountRead notANumber{AmountStatus::NotANumber, {}};

    bool negative = false;
    int signs = 0;
    for (bool changed = true; changed && !text.isEmpty();) {
        changed = false;
        if (text.size() >= 2 && text.front() == u'(' && text.back() == u')') {
            negative = true;
            ++signs;
            text = text.sliced(1, text.size() - 2).trimmed();
            changed = true;
        } else if (isMinus(text.front()) || text.front() == u'+') {
            negative = isMinus(text.front());
            ++signs;
            text = text.sliced(1).trimmed();
            changed = true;
        } else if (isMinus(text.back())) {
            negative = true;
            ++signs;
            text.chop(1);
            text = text.trimmed();
            changed = true;
        } else if (text.size() > 2
                   && (text.endsWith(u"CR", Qt::CaseInsensitive)
                       || text.endsWith(u"DR", Qt::CaseInsensitive))
                   && !text[text.size() - 3].isLetter()) {
            // Card statements: a credit (money in) or a debit.
            negative = text[text.size() - 2].toUpper() == u'D';
            ++signs;
            text.chop(2);
            text = text.trimmed();
            changed = true;
        } else if (stripCurrency(text)) {
            changed = true;
        }
    }
    if (signs > 1 || text.isEmpty())
        return notANumber;

    const qsizetype point = text.indexOf(format.decimal);
    if (point >= 0 && text.indexOf(format.decimal, point + 1) >= 0)
        return notANumber;
    const QStringView integer = point >= 0 ? text.first(point) : text;
    const QStringView fraction = point >= 0 ? text.sliced(point + 1) : QStringView();

    // Group separators only between groups of three digits: "1,234" but not
    // "1,5", which is more likely a decimal written another way.
    QString digits;
    digits.reserve(integer.size() + fraction.size() + 2);
    if (negative)
        digits += u'-';
    int group = 0;       // digits since the last separator
    bool grouped = false;
    for (const QChar c : integer) {
        const bool separator = !format.group.isNull()
            && (c == format.group || (isGroupBlank(format.group) && isGroupBlank(c)));
        if (separator) {
            if (group == 0 || group > 3 || (grouped && group != 3))
                return notANumber;
            grouped = true;
            group = 0;
            continue;
        }
        if (c < u'0' || c > u'9')
            return notANumber;
        digits += c;
        ++group;
    }
    if (grouped && group != 3)
        return notANumber;
    if (!isDigits(fraction) && !fraction.isEmpty())
        return notANumber;
    if (integer.isEmpty() && fraction.isEmpty())
        return notANumber;
    if (!fraction.isEmpty()) {
        digits += u'.';
        digits += fraction;
    }
    const CurrencyResult value = textToCurrency(digits, QLocale::c());
    switch (value.status) {
    case CurrencyStatus::Ok: return {AmountStatus::Ok, value.value};
    case CurrencyStatus::OutOfRange: return {AmountStatus::OutOfRange, {}};
    case CurrencyStatus::NotANumber: break;
    }
    return notANumber;
}

} // namespace quillary
