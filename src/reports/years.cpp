#include "reports/years.h"

#include "platform/localeservices.h"
#include "records/cp1252.h"
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
    : locale_(locale)
{
}

std::optional<int> YearReader::operator()(const TaxRecord& record)
{
    const FieldLayout layout = layoutOf(Field::Date);
    const std::string_view text(record.data() + layout.offset, std::size_t(layout.width));
    auto it = yearOfText_.find(text);
    if (it == yearOfText_.end()) {
        const std::optional<QDate> date =
            parseDate(fromCp1252(text.data(), qsizetype(text.size())), locale_);
        it = yearOfText_.emplace(text, date ? date->year() : 0).first;
    }
    return it->second != 0 ? std::optional<int>(it->second) : std::nullopt;
}

} // namespace quillary
