#pragma once

// reports/: reports over the records of a data file, as plain functions
// without widgets: the totals of one category with a running total, the
// listing of every record that "Print All" prints, the year summary and the
// years of records; CSV export is to come here. It uses the records and the
// platform's Core services only.

#include "platform/localeservices.h"
#include "records/taxrecord.h"
#include "reports/years.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace quillary {

// The list entry that stands for every type of the chosen kind.
inline const QString kAllTypes = QStringLiteral("All");

// What the totals window lists: records of one kind code and one type (or
// "All" types), of one year or of all years.
struct TotalsSelection {
    TotalsSelection(std::optional<char> kindCode = std::nullopt, QString type = QString(),
                    YearChoice year = std::nullopt)
        : kindCode(kindCode)
        , type(std::move(type))
        , year(year)
    {
    }

    std::optional<char> kindCode; // none: nothing matches
    QString type;
    // A record of another year, or whose date cannot be read, does not
    // match a year.
    YearChoice year;
};

// The kind code for the option buttons. When neither Expense nor Income is
// chosen there is no code.
std::optional<char> selectionCode(bool personal, bool expense, bool income);

// The columns of a totals row, in order.
enum TotalsColumn {
    ColDescription,
    ColDate,
    ColInvoice,
    ColAmount,
    ColPayMethod,
    ColParty,
    ColTotal,
    kTotalsColumns
};

// One line of the totals: the six record fields as stored (full width, blank
// padded) and the running total as text.
using TotalsRow = std::array<QString, kTotalsColumns>;

// Shown instead of a running total, and in the total label, once the sum has
// left the range of a currency value.
inline const QString kOutOfRange = QStringLiteral("Out of range");

struct Totals {
    std::vector<TotalsRow> rows;
    // The sum of the listed amounts; none when it left the currency range.
    std::optional<Currency> total = Currency{};

    // "$" followed by the total, or the out-of-range notice.
    QString labelText(const QLocale& locale = QLocale()) const;
};

// Reads amount fields as currency values. The plain decimal text the record
// window stores is read directly, which is many times faster than the full
// conversion; any other text goes through textToCurrency, so the result is
// always the same as textToCurrency's.
class AmountReader {
public:
    explicit AmountReader(const QLocale& locale = QLocale());
    CurrencyResult operator()(const QString& field) const;
    // The same for a field's stored bytes (Windows-1252).
    CurrencyResult operator()(std::string_view field) const;

private:
    QLocale locale_;
    QChar decimal_; // null when the separator is not one character
};

// One listed record: its place among the records, and the running total
// after it (none once the sum has left the currency range).
struct TotalsEntry {
    std::size_t record = 0;
    std::optional<Currency> runningTotal;
};

// The totals without their texts: what a grid of every record of a file
// needs, whose cells are made only when they are shown.
struct TotalsListing {
    std::vector<TotalsEntry> entries;
    std::optional<Currency> total = Currency{};
};

// The records that match the selection, in file order, with a running total
// after each. An amount field that is empty or not a number adds nothing:
// its row shows the stored text and the running total so far.
TotalsListing listTotals(const std::vector<TaxRecord>& records, const TotalsSelection& selection,
                         const QLocale& locale = QLocale());
// The text of one column of an entry's row.
QString totalsCell(const TaxRecord& record, const TotalsEntry& entry, TotalsColumn column,
                   const QLocale& locale = QLocale());
// An entry's row.
TotalsRow totalsRow(const TaxRecord& record, const TotalsEntry& entry,
                    const QLocale& locale = QLocale());
// "$" followed by the total, or the out-of-range notice.
QString totalText(const std::optional<Currency>& total, const QLocale& locale = QLocale());

// listTotals with every row's texts.
Totals computeTotals(const std::vector<TaxRecord>& records, const TotalsSelection& selection,
                     const QLocale& locale = QLocale());

// The text listing of every record of a file, one line per entry; empty
// entries are blank lines.
QStringList printAllListing(const QString& filename, const std::vector<TaxRecord>& records);

} // namespace quillary
