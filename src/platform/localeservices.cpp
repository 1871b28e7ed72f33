#include "platform/localeservices.h"

#include <QRegularExpression>
#include <limits>
#include <vector>

namespace quillary {

namespace {

std::optional<QDate>& fixedToday()
{
    static std::optional<QDate> day;
    return day;
}

// Replaces a lone "yy" (not part of "yyyy") in a date format.
QString withYearDigits(QString format, bool fourDigits)
{
    static const QRegularExpression years(QStringLiteral("y+"));
    return format.replace(years, fourDigits ? QStringLiteral("yyyy") : QStringLiteral("yy"));
}

// Single-letter day and month fields accept one or two digits when parsing.
QString lenient(QString format)
{
    static const QRegularExpression twoDigits(QStringLiteral("(?<![dM])(dd|MM)(?![dM])"));
    QRegularExpressionMatchIterator it = twoDigits.globalMatch(format);
    QString result;
    qsizetype last = 0;
    while (it.hasNext()) {
        const auto m = it.next();
        result += format.mid(last, m.capturedStart() - last) + m.captured().left(1);
        last = m.capturedEnd();
    }
    return result + format.mid(last);
}

constexpr qint64 kMax = std::numeric_limits<qint64>::max();

// Two digits name a year from 1950 to 2049.
int windowedYear(int twoDigits)
{
    return twoDigits < 50 ? 2000 + twoDigits : 1900 + twoDigits;
}

} // namespace

// A short date format made only of day, month and year numbers and the
// separators between them (M/d/yy, dd.MM.yy, yyyy/MM/dd, ...). Such a format
// is matched here rather than by QLocale: day and month take one or two
// digits, the year two or four, and the date is checked only once the
// century is known (QLocale would put 2/29/00 in 1900 and refuse it).
//
// The text must be the fields and separators and nothing else. Every date of
// a file goes through here when it is sorted or summed, so the text is
// scanned directly rather than by a regular expression.
struct NumericDateFormat {
    enum class Part { Day, Month, Year, Separator };
    struct Piece {
        Part part;
        QString separator;
    };
    bool usable = false;
    std::vector<Piece> pieces;

    std::optional<QDate> parse(QStringView text) const
    {
        int day = 0, month = 0, year = 0;
        qsizetype at = 0;
        for (const Piece& piece : pieces) {
            if (piece.part == Part::Separator) {
                if (!text.mid(at).startsWith(piece.separator))
                    return std::nullopt;
                at += piece.separator.size();
                continue;
            }
            int value = 0;
            qsizetype digits = 0;
            while (at + digits < text.size() && digits < 5) {
                const char16_t c = text[at + digits].unicode();
                if (c < u'0' || c > u'9')
                    break;
                value = value * 10 + (c - u'0');
                ++digits;
            }
            at += digits;
            if (piece.part == Part::Year) {
                if (digits != 2 && digits != 4)
                    return std::nullopt;
                year = digits == 2 ? windowedYear(value) : value;
            } else {
                if (digits < 1 || digits > 2)
                    return std::nullopt;
                (piece.part == Part::Day ? day : month) = value;
            }
        }
        if (at != text.size())
            return std::nullopt;
        const QDate date(year, month, day);
        if (!date.isValid())
            return std::nullopt;
        return date;
    }
};

namespace {

NumericDateFormat buildNumericDateFormat(const QString& format)
{
    using Part = NumericDateFormat::Part;
    NumericDateFormat result;
    bool day = false, month = false, year = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        if (c == u'd' || c == u'M') {
            if (run > 2)
                return {}; // day or month names
            bool& seen = c == u'd' ? day : month;
            if (seen)
                return {};
            seen = true;
        } else if (c == u'y') {
            if (year || (run != 2 && run != 4))
                return {};
            year = true;
        } else if (c.isLetter() || c == u'\'') {
            return {}; // names, eras, quoted text: left to QLocale
        }
        const bool number = c == u'd' || c == u'M' || c == u'y';
        if (number) {
            // Two numbers back to back could only be told apart by trying
            // every split; no short date format has them.
            if (!result.pieces.empty() && result.pieces.back().part != Part::Separator)
                return {};
            result.pieces.push_back({c == u'd' ? Part::Day : c == u'M' ? Part::Month : Part::Year,
                                     {}});
        } else {
            const QString separator = format.mid(i, run);
            if (!result.pieces.empty() && result.pieces.back().part == Part::Separator)
                result.pieces.back().separator += separator;
            else
                result.pieces.push_back({Part::Separator, separator});
            if (separator.front().isDigit())
                return {};
        }
        i += run;
    }
    result.usable = day && month && year;
    return result;
}


} // namespace

QDate Clock::today()
{
    return fixedToday() ? *fixedToday() : QDate::currentDate();
}

void Clock::setFixedToday(std::optional<QDate> day)
{
    fixedToday() = day;
}

QLocale programLocale(const QLocale& system)
{
    return system.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates)
                                           : system;
}

QString shortDateFormat(const QLocale& locale)
{
    return withYearDigits(locale.dateFormat(QLocale::ShortFormat), true);
}

QString shortDate(QDate date, const QLocale& locale)
{
    return locale.toString(date, shortDateFormat(locale));
}

DateReader::DateReader(const QLocale& locale)
    : locale_(locale)
    , shortFormat_(locale.dateFormat(QLocale::ShortFormat))
    , numeric_(std::make_shared<NumericDateFormat>(buildNumericDateFormat(shortFormat_)))
{
}

std::optional<QDate> DateReader::operator()(QStringView input) const
{
    const QStringView text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;

    if (numeric_->usable) {
        if (const auto date = numeric_->parse(text))
            return date;
    } else {
        const QString whole = text.toString();
        QDate date = locale_.toDate(whole, lenient(withYearDigits(shortFormat_, true)));
        if (date.isValid())
            return date;
        date = locale_.toDate(whole, lenient(withYearDigits(shortFormat_, false)));
        if (date.isValid())
            return QDate(windowedYear(date.year() % 100), date.month(), date.day());
    }

    const QString whole = text.toString();
    const QDate date = locale_.toDate(whole, QLocale::LongFormat);
    if (date.isValid())
        return date;

    static const QRegularExpression iso(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}$"));
    if (iso.match(whole).hasMatch()) {
        const QDate isoDate = QDate::fromString(whole, Qt::ISODate);
        if (isoDate.isValid())
            return isoDate;
    }
    return std::nullopt;
}

std::optional<QDate> parseDate(const QString& input, const QLocale& locale)
{
    return DateReader(locale)(input);
}

qint64 daysBetween(QDate from, QDate to)
{
    return from.daysTo(to);
}

CurrencyResult textToCurrency(const QString& input, const QLocale& locale)
{
    CurrencyResult fail; // NotANumber
    QString text = input.trimmed();
    bool negative = false;

    if (text.startsWith(u'(') && text.endsWith(u')')) {
        negative = true;
        text = text.mid(1, text.size() - 2).trimmed();
    }
    const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
    const QString minus = locale.negativeSign();
    const QString plus = locale.positiveSign();
    auto stripSymbol = [&] {
        for (const QString& s : {symbol, QStringLiteral("$")}) {
            if (s.isEmpty())
                continue;
            if (text.startsWith(s)) {
                text = text.mid(s.size()).trimmed();
                return;
            }
            if (text.endsWith(s)) {
                text.chop(s.size());
                text = text.trimmed();
                return;
            }
        }
    };
    // One sign at most: a minus before or after the number or the symbol,
    // a plus before it, or the parentheses.
    bool signSeen = negative;
    auto stripSign = [&] {
        for (const QString& s : {minus, QStringLiteral("-"), plus, QStringLiteral("+")}) {
            if (s.isEmpty())
                continue;
            const bool isMinus = s != plus && s != QStringLiteral("+");
            const bool leading = text.startsWith(s);
            const bool trailing = isMinus && !leading && text.endsWith(s);
            if (!leading && !trailing)
                continue;
            if (signSeen)
                return false;
            signSeen = true;
            negative = isMinus;
            if (leading)
                text = text.mid(s.size()).trimmed();
            else
                text = text.left(text.size() - s.size()).trimmed();
            return true;
        }
        return true;
    };
    // The sign may stand on either side of the symbol: -$5, $-5, 5 $-, ...
    if (!stripSign())
        return fail;
    stripSymbol();
    if (!stripSign())
        return fail;

    const QString decimal = locale.decimalPoint();
    QString group = locale.groupSeparator();
    QString integerPart = text;
    QString fraction;
    const qsizetype point = text.indexOf(decimal);
    if (point >= 0) {
        integerPart = text.left(point);
        fraction = text.mid(point + decimal.size());
    }
    if (integerPart.isEmpty() && fraction.isEmpty())
        return fail;

    // Group separators only between groups of three digits: "1,234" but not
    // "1,5", which is more likely a mistyped decimal than fifteen.
    QString digits;
    const bool spaceGroups = group.size() == 1 && group.at(0).isSpace();
    QStringList groups;
    if (!group.isEmpty()) {
        QString normalised = integerPart;
        if (spaceGroups) {
            for (QChar& c : normalised)
                if (c.isSpace())
                    c = group.at(0);
        }
        groups = normalised.split(group);
    } else {
        groups = {integerPart};
    }
    for (int i = 0; i < groups.size(); ++i) {
        const QString& g = groups.at(i);
        if (groups.size() > 1 && ((i == 0 && (g.isEmpty() || g.size() > 3)) || (i > 0 && g.size() != 3)))
            return fail;
        digits += g;
    }
    for (const QString& part : {digits, fraction})
        for (QChar c : part)
            if (c < u'0' || c > u'9')
                return fail;

    // Integer part as a count of ten-thousandths, with overflow checking.
    qint64 units = 0;
    bool overflow = false;
    for (QChar c : digits) {
        const int d = c.unicode() - u'0';
        if (units > (kMax - d) / 10) {
            overflow = true;
            break;
        }
        units = units * 10 + d;
    }
    if (!overflow && units > kMax / Currency::kScale)
        overflow = true;
    if (!overflow)
        units *= Currency::kScale;

    // Fraction: the first four digits, then round half to even on the rest.
    qint64 frac = 0;
    for (int i = 0; i < 4; ++i)
        frac = frac * 10 + (i < fraction.size() ? fraction.at(i).unicode() - u'0' : 0);
    if (fraction.size() > 4) {
        const int next = fraction.at(4).unicode() - u'0';
        bool beyond = false;
        for (qsizetype i = 5; i < fraction.size(); ++i)
            beyond = beyond || fraction.at(i) != u'0';
        const bool roundUp = next > 5 || (next == 5 && (beyond || (frac % 2) == 1));
        if (roundUp)
            ++frac;
    }

    // The range is asymmetric: its negative end is one unit further out.
    const qint64 limit = kMax; // magnitude allowed for positive values
    if (!overflow) {
        if (units > limit - frac) {
            overflow = !(negative && units - 1 <= limit - frac);
            if (!overflow) {
                CurrencyResult r;
                r.status = CurrencyStatus::Ok;
                r.value.units = std::numeric_limits<qint64>::min();
                return r;
            }
        }
    }
    if (overflow) {
        CurrencyResult r;
        r.status = CurrencyStatus::OutOfRange;
        return r;
    }
    CurrencyResult r;
    r.status = CurrencyStatus::Ok;
    r.value.units = negative ? -(units + frac) : units + frac;
    return r;
}

QString currencyToText(Currency value, const QLocale& locale)
{
    const bool negative = value.units < 0;
    // Work on the magnitude as unsigned so the most negative value is fine.
    const quint64 magnitude = negative ? quint64(0) - quint64(value.units) : quint64(value.units);
    const quint64 whole = magnitude / Currency::kScale;
    quint64 frac = magnitude % Currency::kScale;
    QString text = negative ? QStringLiteral("-") : QString();
    text += QString::number(whole);
    if (frac != 0) {
        QString digits = QStringLiteral("%1").arg(frac, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += locale.decimalPoint() + digits;
    }
    return text;
}

std::optional<Currency> addCurrency(Currency a, Currency b)
{
    qint64 sum = 0;
    if (__builtin_add_overflow(a.units, b.units, &sum))
        return std::nullopt;
    return Currency{sum};
}

QString numberText(qint64 value)
{
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

bool containsText(const QString& text, const QString& search)
{
    return text.contains(search, Qt::CaseInsensitive);
}

} // namespace quillary
