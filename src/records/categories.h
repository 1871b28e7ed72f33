#pragma once

#include "records/taxrecord.h"

#include <QString>
#include <QStringList>

namespace quillary {

// The type names of one kind, in the order they are offered.
const QStringList& typeList(Kind kind);
// The entry selected after a list is filled.
QString defaultType(Kind kind);

} // namespace quillary
