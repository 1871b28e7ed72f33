#pragma once

#include "records/taxrecord.h"

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

} // namespace quillary
