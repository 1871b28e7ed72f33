#pragma once

#include "platform/localeservices.h"
#include "records/taxrecord.h"
#include "reports/csvreader.h"
#include "reports/statementvalues.h"
#include "reports/totals.h"

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace quillary {

// Turning the rows of a bank or card statement into tax records: where the
// table starts and whether it has a header, which column holds what, how
// dates and amounts are written, what each row becomes, which rows are
// likely duplicates. Everything is guessed from the data and can be changed;
// a row that cannot be read is skipped with its reason, never guessed.

// The table in the rows of a file: the lines above it (account name, IBAN,
// balance, period) are skipped; its first row may be a header.
struct ImportTable {
    std::vector<CsvInputRow> skipped; // the lines above the table
    QStringList columns;              // a name for every column
    bool header = false;              // whether the first row of the table gave the names
    std::vector<CsvInputRow> rows;    // the rows to import
};

struct TableStart {
    std::size_t first = 0; // index of the table's first row
    int fields = 0;        // the table's field count
    bool header = false;   // whether that row reads as names
};

// The table's field count is the most common one among the rows of two
// fields or more (the larger on a tie); the table starts at the first row
// that has it, and that row is a header when it reads as names: text, no
// cell a date or a number.
TableStart findTable(const CsvText& text);
// The table from that start, with or without a header: without one the
// columns are "Column 1", "Column 2", ...
ImportTable makeTable(const CsvText& text, const TableStart& start, bool header);

// A column number, or none.
inline constexpr int kNoColumn = -1;

struct ColumnMap {
    int date = kNoColumn;
    bool debitCredit = false; // a debit and a credit column instead of one amount
    int amount = kNoColumn;
    int debit = kNoColumn;
    int credit = kNoColumn;
    int description = kNoColumn;
    int party = kNoColumn;
    int invoice = kNoColumn;
    int payMethod = kNoColumn;
    friend bool operator==(const ColumnMap&, const ColumnMap&) = default;
};

// Whether the map names what every row needs: a date, and an amount or a
// debit and a credit column.
bool isComplete(const ColumnMap& map);

// How the sign of an amount tells expense from income.
enum class KindRule {
    MinusIsExpense, // a bank account: money out is negative
    PlusIsExpense,  // a card statement: charges are positive
    AllExpenses,
    AllIncome,
};

struct ImportSettings {
    ColumnMap columns;
    DateOrder dateOrder = DateOrder::MonthDayYear;
    NumberFormat number;
    bool business = false;
    KindRule kindRule = KindRule::MinusIsExpense;
    // The types of the imported expenses and incomes; empty, or a name not
    // of the kind's list: the kind's default.
    QString expenseType;
    QString incomeType;
};

// The columns, the date order and the number format as the table suggests
// them; the rest of the settings as given. locale breaks ties of the date
// order and the decimal separator.
ImportSettings guessSettings(const ImportTable& table, ImportSettings base = {},
                             const QLocale& locale = QLocale());

struct ImportRow {
    enum class Status { Ready, Unreadable, Duplicate };
    int line = 0;
    Status status = Status::Unreadable;
    QString reason;    // why it is unreadable, or what it repeats
    TaxRecord record;  // what it becomes, unless unreadable
};

// The records already in the file, by what makes two of them the same:
// kind, date, amount and description.
class DuplicateIndex {
public:
    DuplicateIndex() = default;
    DuplicateIndex(const std::vector<TaxRecord>& records, const QLocale& locale = QLocale());
    // What a record is compared by; empty when its date or its amount
    // cannot be read (such a record is the same as no other).
    QString keyOf(const TaxRecord& record) const;
    // The number (from 1) of the first record of that key, or 0.
    int find(const QString& key) const;

private:
    DateReader readDate_;
    AmountReader readAmount_;
    QHash<QString, int> records_;
};

// What each row becomes under settings: a record in the locale's short date
// format (four-digit years) with the amount as a positive number, or the
// reason it cannot be read. A row that repeats a record of the file or an
// earlier row is marked Duplicate.
std::vector<ImportRow> convertRows(const ImportTable& table, const ImportSettings& settings,
                                   const DuplicateIndex& existing,
                                   const QLocale& locale = QLocale());

struct ImportCounts {
    int ready = 0;
    int duplicates = 0;
    int duplicatesKept = 0;
    int unreadable = 0;
    int toImport() const { return ready + duplicatesKept; }
    int skipped() const { return duplicates - duplicatesKept + unreadable; }
};

// keep[i] set keeps row i when it is a likely duplicate (a shorter keep
// keeps none of the rest).
ImportCounts countRows(const std::vector<ImportRow>& rows, const std::vector<bool>& keep);
std::vector<TaxRecord> recordsToImport(const std::vector<ImportRow>& rows,
                                       const std::vector<bool>& keep);

// A text of a statement as a record field holds it: line breaks, tabs and
// runs of blanks become one blank, none at either end (setField cuts it to
// the field's width).
QString fieldText(const QString& text);

// One file being imported: its bytes read under a format, the table in
// them, the settings and what each row becomes. Each change works out again
// what depends on it: a new format or header guesses the columns, the date
// order and the number format anew and keeps the choices of kind and type.
class CsvImport {
public:
    CsvImport(QByteArray bytes, const std::vector<TaxRecord>& existing,
              const QLocale& locale = QLocale());

    const CsvDetection& detection() const { return detection_; }
    const CsvFormat& format() const { return format_; }
    void setFormat(const CsvFormat& format);

    // Whether the first row of the table is taken as its header, and
    // whether it looked like one.
    bool header() const { return table_.header; }
    bool headerGuess() const { return start_.header; }
    void setHeader(bool header);

    const CsvText& text() const { return text_; }
    const ImportTable& table() const { return table_; }
    const ImportSettings& settings() const { return settings_; }
    void setSettings(const ImportSettings& settings);

    const std::vector<ImportRow>& rows() const { return rows_; }
    // Keeps (or skips again) row i when it is a likely duplicate.
    void setKeep(std::size_t i, bool keep);
    bool kept(std::size_t i) const { return i < keep_.size() && keep_[i]; }
    ImportCounts counts() const { return countRows(rows_, keep_); }
    std::vector<TaxRecord> records() const { return recordsToImport(rows_, keep_); }

private:
    void read();
    void tabulate(bool header);

    QByteArray bytes_;
    QLocale locale_;
    DuplicateIndex existing_;
    CsvDetection detection_;
    CsvFormat format_;
    CsvText text_;
    TableStart start_;
    ImportTable table_;
    ImportSettings settings_;
    std::vector<ImportRow> rows_;
    std::vector<bool> keep_;
};

} // namespace quillary
