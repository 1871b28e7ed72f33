#pragma once

#include "platform/localeservices.h"
#include "records/taxrecord.h"
#include "reports/years.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace quillary {

// The records of a file, each with the calendar year of its date. Dates are
// read once, by the same recognition as the date sort (two-digit years
// included), so that a change of year only counts again.
class DatedRecords {
public:
    DatedRecords() = default;
    explicit DatedRecords(std::vector<TaxRecord> records, const QLocale& locale = QLocale());

    const std::vector<TaxRecord>& records() const { return records_; }
    std::size_t size() const { return records_.size(); }
    // The year of the record at index i (record number i + 1); none when its
    // date field is not a date.
    std::optional<int> yearOf(std::size_t i) const;
    // Every year that occurs among the dates, newest first.
    const std::vector<int>& years() const { return years_; }

private:
    std::vector<TaxRecord> records_;
    std::vector<int> yearOf_; // 0: no date
    std::vector<int> years_;
};

// The year a summary starts with: the latest year before today's that has
// records (the tax year being filed); else the latest year that has records;
// else all years.
YearChoice defaultYearChoice(const std::vector<int>& yearsNewestFirst, QDate today);

// One category of a section, or one type found in records of the section's
// kind that is not in its list.
struct SummaryLine {
    QString type;        // trimmed of blanks
    bool listed = true;  // false: not a category of the kind's list
    int records = 0;
    std::optional<Currency> total = Currency{}; // none: left the currency range
    // The size of the total next to the section's largest total, from 0 to 1.
    double share = 0;
};

// The records of one kind.
struct SummarySection {
    Kind kind;
    std::vector<SummaryLine> lines; // the list's categories in order, then the others
    int records = 0;
    std::optional<Currency> total = Currency{};
};

// Why a record adds to no figure; a record may have several reasons.
enum NotCountedReason : unsigned {
    UnknownKind = 1,       // kind code not 0 to 3
    UnreadableDate = 2,    // only when a year is chosen
    EmptyAmount = 4,
    AmountNotANumber = 8,
    AmountOutOfRange = 16, // a number no currency value can hold
};

struct NotCountedRecord {
    int number = 0; // record number in the file, from 1
    QString date;   // the fields as stored, trimmed of blanks
    QString amount;
    QString description;
    unsigned reasons = 0;

    QString reasonText() const;
};

struct Summary {
    YearChoice year;
    // Personal expense, personal income, business expense, business income.
    std::array<SummarySection, 4> sections;
    std::optional<Currency> income = Currency{};
    std::optional<Currency> expenses = Currency{};
    // Business income less business expense.
    std::optional<Currency> businessResult = Currency{};
    std::vector<NotCountedRecord> notCounted; // in file order
    // Records that add to a figure.
    int counted = 0;
};

// The section title of a kind: "Personal expense", ...
QString sectionTitle(Kind kind);

// Every figure of the year's records. Amounts are read and added exactly as
// the totals window reads and adds them, in file order, so for all years each
// kind's and each type's figure is the totals window's total for it.
// A record that adds to nothing is listed as not counted; records of other
// years are left out.
Summary computeSummary(const DatedRecords& records, YearChoice year,
                       const QLocale& locale = QLocale());

// A figure as the totals window shows it: the plain decimal text, or
// "Out of range".
QString figureText(const std::optional<Currency>& value, const QLocale& locale = QLocale());

} // namespace quillary
