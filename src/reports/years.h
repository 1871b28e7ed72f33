#pragma once

#include "platform/localeservices.h"

#include <QLocale>
#include <QString>
#include <optional>
#include <vector>

namespace quillary {

class TaxRecord;

// A choice of year: one calendar year, or none for every record.
using YearChoice = std::optional<int>;

inline const QString kAllYears = QStringLiteral("All years");

// "1996", or "All years".
QString yearText(YearChoice year);

// What a year choice offers: the years, newest first, then all years.
std::vector<YearChoice> yearChoices(const std::vector<int>& yearsNewestFirst);

// Every year that occurs among the records' dates, newest first.
std::vector<int> recordYears(const std::vector<TaxRecord>& records,
                             const QLocale& locale = QLocale());

// Reads the calendar year of records' dates by the same recognition as the
// date sort, two-digit years included.
class YearReader {
public:
    explicit YearReader(const QLocale& locale = QLocale());
    // None when the date field is not a date.
    std::optional<int> operator()(const TaxRecord& record) const;

private:
    DateReader readDate_;
};

} // namespace quillary
