#pragma once

#include "records/taxrecord.h"

#include <QString>

namespace quillary {

// Texts of the record window that depend on what it shows.

// Captions of the type and party labels for a kind.
QString typeLabelCaption(Kind kind);   // " Expense Type:" / " Income Type:"
QString partyLabelCaption(Kind kind);  // "Paid to:" / "Paid by:"

// The text search's boxes.
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
