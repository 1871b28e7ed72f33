#pragma once

#include "records/taxrecord.h"

#include <QLocale>
#include <QString>

namespace quillary {

// A record from what the user typed into the record window: its boxes and
// option buttons as text, checked and composed into the 130-byte record the
// window writes.
struct RecordEntry {
    QString date;
    QString amount;
    QString invoice;
    QString payMethod;
    QString type;
    QString party;
    QString description;
    Kind kind;
};

// The new record the window starts with, which is not worth saving: today's
// date and every other box empty (the type and the kind do not count).
bool isBlankEntry(const RecordEntry& entry, const QString& today);

enum class EntryStatus {
    Ok,
    BadDate,        // the date is no date
    BadAmount,      // the amount is no number
    AmountTooLarge, // a number, but longer than the 14 characters a record holds
};

struct ComposedRecord {
    EntryStatus status = EntryStatus::Ok;
    TaxRecord record; // the record to write when the status is Ok
};

// Checks the date first, then the amount, and composes the record: the date
// in the short date format (four-digit year), the amount as plain decimal
// text, the other text fields without surrounding blanks, the type as it
// was chosen, and the kind code.
ComposedRecord composeRecord(const RecordEntry& entry, const QLocale& locale = QLocale());

} // namespace quillary
