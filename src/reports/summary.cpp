#include "reports/summary.h"

#include "reports/totals.h"
#include "records/categories.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace quillary {

namespace {

std::optional<Currency> plus(const std::optional<Currency>& a, const std::optional<Currency>& b)
{
    return a && b ? addCurrency(*a, *b) : std::nullopt;
}

std::optional<Currency> minus(const std::optional<Currency>& a, const std::optional<Currency>& b)
{
    qint64 difference = 0;
    if (!a || !b || __builtin_sub_overflow(a->units, b->units, &difference))
        return std::nullopt;
    return Currency{difference};
}

// The bar of each line: its total's size next to the largest in the
// section. A total beyond the currency range is the largest there is.
void setShares(SummarySection& section)
{
    double largest = 0;
    for (const SummaryLine& line : section.lines)
        if (line.total)
            largest = std::max(largest, std::abs(double(line.total->units)));
    for (SummaryLine& line : section.lines) {
        if (!line.total)
            line.share = 1;
        else
            line.share = largest > 0 ? std::abs(double(line.total->units)) / largest : 0;
    }
}

} // namespace

DatedRecords::DatedRecords(std::vector<TaxRecord> records, const QLocale& locale)
    : records_(std::move(records))
{
    YearReader readYear(locale);
    yearOf_.reserve(records_.size());
    for (const TaxRecord& record : records_) {
        const std::optional<int> year = readYear(record);
        yearOf_.push_back(year.value_or(0));
        if (year)
            years_.push_back(*year);
    }
    std::sort(years_.begin(), years_.end(), std::greater<int>());
    years_.erase(std::unique(years_.begin(), years_.end()), years_.end());
}

std::optional<int> DatedRecords::yearOf(std::size_t i) const
{
    const int year = yearOf_.at(i);
    return year != 0 ? std::optional<int>(year) : std::nullopt;
}

YearChoice defaultYearChoice(const std::vector<int>& yearsNewestFirst, QDate today)
{
    for (int year : yearsNewestFirst)
        if (year < today.year())
            return year;
    if (!yearsNewestFirst.empty())
        return yearsNewestFirst.front();
    return std::nullopt;
}

QString NotCountedRecord::reasonText() const
{
    QStringList parts;
    if (reasons & UnknownKind)
        parts << QStringLiteral("kind code is not 0 to 3");
    if (reasons & UnreadableDate)
        parts << QStringLiteral("date cannot be read");
    if (reasons & EmptyAmount)
        parts << QStringLiteral("no amount");
    if (reasons & AmountNotANumber)
        parts << QStringLiteral("amount is not a number");
    if (reasons & AmountOutOfRange)
        parts << QStringLiteral("amount is too large for a currency value");
    QString text = parts.join(QStringLiteral("; "));
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

QString sectionTitle(Kind kind)
{
    if (kind.business)
        return kind.income ? QStringLiteral("Business income") : QStringLiteral("Business expense");
    return kind.income ? QStringLiteral("Personal income") : QStringLiteral("Personal expense");
}

Summary computeSummary(const DatedRecords& dated, YearChoice year, const QLocale& locale)
{
    Summary summary;
    summary.year = year;
    std::array<QHash<QString, int>, 4> lineOf;
    for (int k = 0; k < 4; ++k) {
        SummarySection& section = summary.sections[std::size_t(k)];
        section.kind = *kindFromCode(char('0' + k));
        for (const QString& type : typeList(section.kind)) {
            lineOf[std::size_t(k)].insert(type, int(section.lines.size()));
            section.lines.push_back(SummaryLine{type});
        }
    }
    const std::size_t listed[4] = {summary.sections[0].lines.size(), summary.sections[1].lines.size(),
                                   summary.sections[2].lines.size(), summary.sections[3].lines.size()};

    const AmountReader readAmount(locale);
    const std::vector<TaxRecord>& records = dated.records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const TaxRecord& record = records[i];
        const std::optional<int> recordYear = dated.yearOf(i);
        if (year && recordYear && *recordYear != *year)
            continue;

        unsigned reasons = 0;
        const char code = record.kindCode();
        if (code < '0' || code > '3')
            reasons |= UnknownKind;
        if (year && !recordYear)
            reasons |= UnreadableDate;
        const QString amount = record.field(Field::Amount);
        const CurrencyResult value = readAmount(amount);
        if (!value.ok()) {
            if (trimBlanks(amount).isEmpty())
                reasons |= EmptyAmount;
            else if (value.status == CurrencyStatus::OutOfRange)
                reasons |= AmountOutOfRange;
            else
                reasons |= AmountNotANumber;
        }
        if (reasons != 0) {
            summary.notCounted.push_back({int(i) + 1, trimBlanks(record.field(Field::Date)),
                                          trimBlanks(amount),
                                          trimBlanks(record.field(Field::Description)), reasons});
            continue;
        }

        const std::size_t k = std::size_t(code - '0');
        SummarySection& section = summary.sections[k];
        const QString type = trimBlanks(record.field(Field::Type));
        auto found = lineOf[k].constFind(type);
        if (found == lineOf[k].constEnd()) {
            found = lineOf[k].insert(type, int(section.lines.size()));
            section.lines.push_back(SummaryLine{type, false});
        }
        SummaryLine& line = section.lines[std::size_t(*found)];
        ++line.records;
        line.total = plus(line.total, value.value);
        ++section.records;
        section.total = plus(section.total, value.value);
        ++summary.counted;
    }

    for (std::size_t k = 0; k < 4; ++k) {
        std::vector<SummaryLine>& lines = summary.sections[k].lines;
        std::sort(lines.begin() + qsizetype(listed[k]), lines.end(),
                  [](const SummaryLine& a, const SummaryLine& b) { return a.type < b.type; });
        setShares(summary.sections[k]);
    }
    const auto& s = summary.sections;
    summary.expenses = plus(s[0].total, s[2].total);
    summary.income = plus(s[1].total, s[3].total);
    summary.businessResult = minus(s[3].total, s[2].total);
    return summary;
}

QString figureText(const std::optional<Currency>& value, const QLocale& locale)
{
    return value ? currencyToText(*value, locale) : kOutOfRange;
}

} // namespace quillary
