#include "platform/localeservices.h"

#include <QRegularExpression>
#include <limits>

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

} // namespace

QDate Clock::today()
{
    return fixedToday() ? *fixedToday() : QDate::currentDate();
}

void Clock::setFixedToday(std::optional<QDate> day)
{
    fixedToday() = day;
}

QString shortDateFormat(const QLocale& locale)
{
    return withYearDigits(locale.dateFormat(QLocale::ShortFormat), true);
}

QString shortDate(QDate date, const QLocale& locale)
{
    return locale.toString(date, shortDateFormat(locale));
}

std::optional<QDate> parseDate(const QString& input, const QLocale& locale)
{
    const QString text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);

    QDate date = locale.toDate(text, lenient(withYearDigits(shortFormat, true)));
    if (date.isValid())
        return date;

    date = locale.toDate(text, lenient(withYearDigits(shortFormat, false)));
    if (date.isValid()) {
        // Two digits name a year from 1950 to 2049.
        const int yy = date.year() % 100;
        return QDate(yy < 50 ? 2000 + yy : 1900 + yy, date.month(), date.day());
    }

    date = locale.toDate(text, QLocale::LongFormat);
    if (date.isValid())
        return date;

    date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid() && text.size() == 10)
        return date;
    return std::nullopt;
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
    auto stripSign = [&] {
        for (const QString& s : {minus, QStringLiteral("-")}) {
            if (text.startsWith(s)) {
                if (negative)
                    return false;
                negative = true;
                text = text.mid(s.size()).trimmed();
                return true;
            }
            if (text.endsWith(s)) {
                if (negative)
                    return false;
                negative = true;
                text.chop(s.size());
                text = text.trimmed();
                return true;
            }
        }
        for (const QString& s : {plus, QStringLiteral("+")}) {
            if (text.startsWith(s)) {
                text = text.mid(s.size()).trimmed();
                return true;
            }
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
