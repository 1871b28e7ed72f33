#pragma once

#include "reports/csv.h"
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

// The cells for a stored date and a stored amount, as recordsTable gives
// them.
CsvCell dateCell(const QString& stored, const QLocale& locale = QLocale());
CsvCell amountCell(const QString& stored, const AmountReader& read);

} // namespace quillary
