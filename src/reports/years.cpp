#include "reports/years.h"

#include "platform/localeservices.h"
#include "records/taxrecord.h"

#include <algorithm>
#include <functional>

namespace quillary {

QString yearText(YearChoice year)
{
    return year ? QString::number(*year) : kAllYears;
}

std::vector<YearChoice> yearChoices(const std::vector<int>& yearsNewestFirst)
{
    std::vector<YearChoice> choices(yearsNewestFirst.begin(), yearsNewestFirst.end());
    choices.push_back(std::nullopt);
    return choices;
}

std::vector<int> recordYears(const std::vector<TaxRecord>& records, const QLocale& locale)
{
    YearReader readYear(locale);
    std::vector<int> years;
    for (const TaxRecord& record : records)
        if (const std::optional<int> year = readYear(record))
            years.push_back(*year);
    std::sort(years.begin(), years.end(), std::greater<int>());
    years.erase(std::unique(years.begin(), years.end()), years.end());
    return years;
}

YearReader::YearReader(const QLocale& locale)
    : readDate_(locale)
{
}

std::optional<int> YearReader::operator()(const TaxRecord& record) const
{
    const std::optional<QDate> date = readDateField(readDate_, record.fieldBytes(Field::Date));
    return date ? std::optional<int>(date->year()) : std::nullopt;
}

} // namespace quillary
