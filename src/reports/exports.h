#pragma once

#include "reports/csv.h"
#include "reports/summary.h"
#include "reports/totals.h"
#include "records/taxrecord.h"

#include <QLocale>
#include <vector>

namespace quillary {

// What the program exports as CSV: tables of cells, ready for encodeCsv.

// Every record in file order: its number, Personal or Business and Expense
// or Income from the kind code (empty for a code that is none of the four),
// the date as yyyy-mm-dd, the amount as a plain number with a point for the
// decimals, and the text fields without their padding. A date or amount
// that cannot be read is given as stored. locale is the one the records'
// dates and amounts were written in.
CsvTable recordsTable(const std::vector<TaxRecord>& records, const QLocale& locale = QLocale());

// The totals listing as the totals window shows it: header gives the
// columns' captions. The text fields without their padding, date and amount
// as recordsTable gives them, the running total as a number, and a last row
// "Total" with the total of the listing.
CsvTable totalsTable(const QStringList& header, const std::vector<TotalsRow>& rows,
                     const QLocale& locale = QLocale());

// The year summary as the summary window shows it (hideEmpty: without the
// categories that have no records): a row for each category of each
// section, with its number of records and its total as numbers, the
// section totals, total income, total expenses and the business result;
// then, after an empty row, the records not counted, under a heading row of
// their own.
CsvTable summaryTable(const Summary& summary, bool hideEmpty);

// The cells for a stored date and a stored amount, as recordsTable gives
// them.
CsvCell dateCell(const QString& stored, const DateReader& read);
CsvCell amountCell(const QString& stored, const AmountReader& read);

} // namespace quillary
