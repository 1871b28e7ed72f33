#include "platform/localeservices.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>
#include <utility>
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

} // namespace

int windowedYear(int twoDigits)
{
    return twoDigits < 50 ? 2000 + twoDigits : 1900 + twoDigits;
}

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

    // View: QStringView, or QLatin1StringView for text in Latin-1.
    template <typename View>
    std::optional<QDate> parse(View text) const
    {
        int day = 0, month = 0, year = 0;
        qsizetype at = 0;
        for (const Piece& piece : pieces) {
            if (piece.part == Part::Separator) {
                const qsizetype length = piece.separator.size();
                if (text.size() - at < length)
                    return std::nullopt;
                for (qsizetype k = 0; k < length; ++k)
                    if (QChar(text[at + k]) != piece.separator[k])
                        return std::nullopt;
                at += length;
                continue;
            }
            int value = 0;
            qsizetype digits = 0;
            while (at + digits < text.size() && digits < 5) {
                const char16_t c = QChar(text[at + digits]).unicode();
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

// What every text that QLocale::toDate reads as a date of one format holds.
// QLocale matches the literal parts of a format exactly and the day and
// month names in full; this asks for less, so it never turns away a text
// that QLocale would read: the literal parts without their blanks, in
// order, in any case of letters, and some letter for the names.
struct DateFormatOutline {
    std::vector<QString> literals;
    bool needsLetter = false;

    bool admits(QStringView text) const
    {
        qsizetype from = 0;
        for (const QString& literal : literals) {
            const qsizetype at = text.indexOf(literal, from, Qt::CaseInsensitive);
            if (at < 0)
                return false;
            from = at + literal.size();
        }
        if (needsLetter) {
            for (QChar c : text)
                if (c.isLetter())
                    return true;
            return false;
        }
        return true;
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

// Whether every name of a day or a month the locale may write holds a
// letter.
bool namesHoldLetters(const QLocale& locale)
{
    auto holdsLetter = [](const QString& name) {
        return std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetter(); });
    };
    for (QLocale::FormatType type :
         {QLocale::LongFormat, QLocale::ShortFormat, QLocale::NarrowFormat}) {
        for (int month = 1; month <= 12; ++month)
            if (!holdsLetter(locale.monthName(month, type))
                || !holdsLetter(locale.standaloneMonthName(month, type)))
                return false;
        for (int day = 1; day <= 7; ++day)
            if (!holdsLetter(locale.dayName(day, type))
                || !holdsLetter(locale.standaloneDayName(day, type)))
                return false;
    }
    return true;
}

DateFormatOutline buildOutline(const QString& format, const QLocale& locale)
{
    DateFormatOutline outline;
    // Quoted text is literal; an escaped or doubled quote is left out, as is
    // everything else that is in doubt: asking for less is always safe.
    bool quoted = false;
    bool names = false;
    QString literal;
    auto endLiteral = [&] {
        QString piece;
        for (QChar c : std::as_const(literal)) {
            if (!c.isSpace())
                piece += c;
            else if (!piece.isEmpty())
                outline.literals.push_back(std::exchange(piece, QString()));
        }
        if (!piece.isEmpty())
            outline.literals.push_back(piece);
        literal.clear();
    };
    bool doubtful = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == u'\\' || (c == u'\'' && i + 1 < format.size() && format.at(i + 1) == u'\'')) {
            doubtful = true;
            break;
        }
        if (c == u'\'') {
            quoted = !quoted;
            ++i;
            continue;
        }
        if (!quoted && (c == u'd' || c == u'M' || c == u'y')) {
            qsizetype run = 1;
            while (i + run < format.size() && format.at(i + run) == c)
                ++run;
            names = names || (c != u'y' && run >= 3);
            endLiteral();
            i += run;
            continue;
        }
        literal += c;
        ++i;
    }
    if (doubtful)
        outline.literals.clear();
    else
        endLiteral();
    outline.needsLetter = names && namesHoldLetters(locale);
    return outline;
}

// The ISO form yyyy-MM-dd, digits 0 to 9 only.
bool isIsoShaped(QStringView text)
{
    if (text.size() != 10)
        return false;
    for (qsizetype i = 0; i < 10; ++i) {
        const char16_t c = text[i].unicode();
        if (i == 4 || i == 7 ? c != u'-' : (c < u'0' || c > u'9'))
            return false;
    }
    return true;
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

bool mayBeDateOfFormat(QStringView text, const QString& format, const QLocale& locale)
{
    return buildOutline(format, locale).admits(text);
}

DateReader::DateReader(const QLocale& locale)
    : locale_(locale)
    , shortFormat_(locale.dateFormat(QLocale::ShortFormat))
    , numeric_(std::make_shared<NumericDateFormat>(buildNumericDateFormat(shortFormat_)))
{
}

const DateFormatOutline& DateReader::longFormat() const
{
    // Worked out when first needed: most texts are dates of the short format.
    if (!long_)
        long_ = std::make_shared<DateFormatOutline>(
            buildOutline(locale_.dateFormat(QLocale::LongFormat), locale_));
    return *long_;
}

std::optional<QDate> DateReader::operator()(QStringView input) const
{
    const QStringView text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (numeric_->usable) {
        if (const auto date = numeric_->parse(text))
            return date;
    }
    return otherFormats(text);
}

std::optional<QDate> DateReader::operator()(QLatin1StringView input) const
{
    if (!numeric_->usable)
        return (*this)(QStringView(QString(input)));
    qsizetype begin = 0;
    qsizetype end = input.size();
    while (begin < end && QChar(input[begin]).isSpace())
        ++begin;
    while (end > begin && QChar(input[end - 1]).isSpace())
        --end;
    if (begin == end)
        return std::nullopt;
    const QLatin1StringView text = input.sliced(begin, end - begin);
    if (const auto date = numeric_->parse(text))
        return date;
    return otherFormats(QString(text));
}

std::optional<QDate> DateReader::otherFormats(QStringView text) const
{
    // QLocale's recognition is slow next to the rest: each text it is asked
    // about is asked once.
    const bool shortByLocale = !numeric_->usable;
    if (shortByLocale || longFormat().admits(text)) {
        const QString whole = text.toString();
        auto it = recognised_.constFind(whole);
        if (it == recognised_.cend())
            it = recognised_.insert(whole, recognise(whole));
        if (*it)
            return *it;
    }
    if (isIsoShaped(text)) {
        const QDate isoDate = QDate::fromString(text.toString(), Qt::ISODate);
        if (isoDate.isValid())
            return isoDate;
    }
    return std::nullopt;
}

// The short format, where it is not numeric, and the long format, by QLocale.
std::optional<QDate> DateReader::recognise(const QString& whole) const
{
    if (!numeric_->usable) {
        QDate date = locale_.toDate(whole, lenient(withYearDigits(shortFormat_, true)));
        if (date.isValid())
            return date;
        date = locale_.toDate(whole, lenient(withYearDigits(shortFormat_, false)));
        if (date.isValid())
            return QDate(windowedYear(date.year() % 100), date.month(), date.day());
    }
    if (longFormat().admits(whole)) {
        const QDate date = locale_.toDate(whole, QLocale::LongFormat);
        if (date.isValid())
            return date;
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
