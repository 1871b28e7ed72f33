#pragma once

#include <QLocale>
#include <QString>
#include <optional>
#include <string_view>
#include <unordered_map>
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
// date sort, two-digit years included. A file holds the same days over and
// over, and recognising a date is slow next to everything else: each
// distinct date text is read once.
class YearReader {
public:
    explicit YearReader(const QLocale& locale = QLocale());
    // None when the date field is not a date. The record must outlive the
    // reader: its date text is remembered in place.
    std::optional<int> operator()(const TaxRecord& record);

private:
    QLocale locale_;
    std::unordered_map<std::string_view, int> yearOfText_; // 0: no date
};

} // namespace quillary
