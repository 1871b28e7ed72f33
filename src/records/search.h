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

inline const QString kSearchPrompt = QStringLiteral("Enter a Text for which to search.");
inline const QString kSearchPromptTitle = QStringLiteral("Enter Text for search");
inline const QString kSearchFoundTitle = QStringLiteral("Record found,  search next?");
inline const QString kSearchNoneTitle = QStringLiteral("No Records Found.");
inline const QString kSearchNoFurtherTitle = QStringLiteral("No Further Records Found.");

// "Record found" question for record n, quoting the search text as typed.
QString searchFoundText(int recordNumber, const QString& search);
// End of a search without any match / after at least one, quoting the
// search text without its surrounding blanks.
QString searchNoneText(const QString& search);
QString searchNoFurtherText(const QString& search);

} // namespace quillary
