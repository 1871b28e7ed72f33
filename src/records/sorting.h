#pragma once

#include "records/taxrecord.h"

#include <QByteArray>
#include <QLocale>
#include <vector>

namespace quillary {

// Oldest first. Records whose date field is not a date come after all dated
// records. Stable: equal keys keep their order.
void sortByDate(std::vector<TaxRecord>& records, const QLocale& locale = QLocale());

// By the kind code, the type (30 characters), the date text (15) and the
// invoice number (10), stored widths included, compared by character code.
// Stable.
void sortByType(std::vector<TaxRecord>& records);

// The same orders on the contents of a data file: records of 130 bytes back
// to back, sorted where they are; a trailing fragment stays at the end.
// Answer whether any record moved.
bool sortByDate(QByteArray& contents, const QLocale& locale = QLocale());
bool sortByType(QByteArray& contents);

} // namespace quillary
