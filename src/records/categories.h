#pragma once

#include "records/taxrecord.h"

#include <QString>
#include <QStringList>

namespace quillary {

// The type names of one kind, in the order they are offered.
const QStringList& typeList(Kind kind);
// The entry selected after a list is filled.
QString defaultType(Kind kind);

// Captions of the record window's type and party labels for a kind.
QString typeLabelCaption(Kind kind);   // " Expense Type:" / " Income Type:"
QString partyLabelCaption(Kind kind);  // "Paid to:" / "Paid by:"

} // namespace quillary
