#pragma once

#include "records/datafile.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <vector>

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

// Appends records after the file's own in one atomic rewrite, so the file
// holds all of them or none. Before it the file as it is, trailing fragment
// included, is written to backupPath (atomically, replacing nothing: the
// name must be free); the rewrite drops the fragment. More records than a
// file can hold are refused before anything is written. On failure the
// backup is removed again unless the rewrite reached the file (the one
// exception of the functions above: the file is then closed, the backup
// stays, and *backupKept says so).
bool appendRecords(DataFile& file, const std::vector<TaxRecord>& records,
                   const QString& backupPath, QString* error = nullptr,
                   bool* backupKept = nullptr);

// A free name beside the data file for the copy kept before an import:
// "Taxrecs.dat.before-import-20260314-153012.bak", with "-2", "-3", ...
// after the time when that name is taken.
QString importBackupPath(const QString& dataPath, const QDateTime& when);

// The record count is a 16-bit signed number: a file of 32,767 records can
// take no further record.
constexpr bool canAddRecord(int recordCount)
{
    return recordCount < kMaxRecords;
}

} // namespace quillary
