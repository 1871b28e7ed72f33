#pragma once

#include "records/datafile.h"

#include <QLocale>
#include <QString>

namespace quillary {

// Whole-file changes to an open data file: deleting one record and sorting.
//
// Both rewrite the file atomically (a new file in the same folder, flushed to
// disk and renamed over the old one), so a crash or a full disk at any moment
// leaves the file with all of its old records or all of its new ones, never a
// mixture. No fixed temporary name is used, so a file left behind by an
// earlier run can never find its way into the data file.
//
// On failure they answer false with a reason in *error; the data file then
// still holds its old records and stays open. The one exception: the new
// file is in place but cannot be opened again; the DataFile is then closed.

// Removes record n (1-based); the records after it move up one place. A
// trailing fragment shorter than a record is dropped with the rewrite.
bool deleteRecord(DataFile& file, int n, QString* error = nullptr);

enum class SortOrder { Date, Type };

// Reorders all records (see sorting.h for the orders). A file of fewer than
// two records, or one already in order, is not written at all. A trailing
// fragment stays where it is, after the last record.
bool sortFile(DataFile& file, SortOrder order, QString* error = nullptr,
              const QLocale& locale = QLocale());

// The record count is a 16-bit signed number: a file of 32,767 records can
// take no further record.
constexpr bool canAddRecord(int recordCount)
{
    return recordCount < kMaxRecords;
}

} // namespace quillary
