#pragma once

#include "records/taxrecord.h"

#include <QString>

namespace quillary {

// Text search over the records of a data file.

// Whether one of the seven text fields (date, amount, invoice number, pay
// method, type, paid to / paid by, description) contains `search`, ignoring
// case. Each field is taken at its full width with its trailing blanks, so a
// search text ending in a blank finds a word at the end of a field's used
// part. The kind code is not searched.
bool recordMatches(const TaxRecord& record, const QString& search);

} // namespace quillary
