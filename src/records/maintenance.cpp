#include "records/maintenance.h"

#include "platform/errors.h"
#include "platform/fileservices.h"
#include "records/sorting.h"

#include <QFileInfo>

namespace quillary {

namespace {

// Replaces the file's content with `contents`. When the replacement reports
// a failure it may still have reached the disk (the rename succeeded but
// reopening a handle failed); the file itself then decides: if it holds the
// new content, the window's handle is opened afresh on it and the change
// counts as done. Otherwise the old file was never touched and the handle
// on it is still good.
bool replaceContents(DataFile& file, const QByteArray& contents, QString* error)
{
    QString why;
    if (file.files().replaceContents(file.fileNumber(), contents, &why))
        return true;
    const QString path = file.path();
    // Read without waiting: by now the name may stand for anything.
    QByteArray there;
    if (FileServices::readFile(path, there) && there == contents) {
        QString reopenError;
        if (file.open(path, &reopenError) == OpenStatus::Ok)
            return true;
        setError(error, reopenError);
        return false;
    }
    setError(error, why);
    return false;
}

// The whole file as it stands, trailing fragment included.
bool readContents(const DataFile& file, QByteArray& contents, QString* error)
{
    if (!file.isOpen()) {
        setError(error, QStringLiteral("No data file is open."));
        return false;
    }
    if (!file.files().readAll(file.fileNumber(), contents)) {
        setError(error, QStringLiteral("The data file could not be read."));
        return false;
    }
    return true;
}

} // namespace

bool deleteRecord(DataFile& file, int n, QString* error)
{
    QByteArray contents;
    if (!readContents(file, contents, error))
        return false;
    const qsizetype count = contents.size() / kRecordLength;
    if (n < 1 || n > count) {
        setError(error, QStringLiteral("There is no record %1 in the data file.").arg(n));
        return false;
    }
    contents.truncate(count * kRecordLength);
    contents.remove(qsizetype(n - 1) * kRecordLength, kRecordLength);
    return replaceContents(file, contents, error);
}

bool sortFile(DataFile& file, SortOrder order, QString* error, const QLocale& locale)
{
    QByteArray contents;
    if (!readContents(file, contents, error))
        return false;
    const bool moved = order == SortOrder::Date ? sortByDate(contents, locale)
                                                : sortByType(contents);
    // Already in order (or fewer than two records): nothing to write.
    if (!moved)
        return true;
    return replaceContents(file, contents, error);
}

bool appendRecords(DataFile& file, const std::vector<TaxRecord>& records,
                   const QString& backupPath, QString* error, bool* backupKept)
{
    if (backupKept)
        *backupKept = false;
    QByteArray contents;
    if (!readContents(file, contents, error))
        return false;
    const qsizetype count = contents.size() / kRecordLength;
    if (count + qsizetype(records.size()) > kMaxRecords) {
        setError(error, QStringLiteral("The file would hold %1 records, more than the %2 a data "
                                       "file can hold.")
                            .arg(count + qsizetype(records.size()))
                            .arg(kMaxRecords));
        return false;
    }
    if (QFileInfo::exists(backupPath)) {
        setError(error, QStringLiteral("There is a file '%1' already.").arg(backupPath));
        return false;
    }
    QString why;
    if (!file.files().writeFileAtomically(backupPath, contents, &why)) {
        setError(error, QStringLiteral("The copy of the file as it is could not be written to "
                                       "'%1': %2")
                            .arg(backupPath, why));
        return false;
    }
    QByteArray appended = contents.left(count * kRecordLength);
    appended.reserve(appended.size() + qsizetype(records.size()) * kRecordLength);
    for (const TaxRecord& record : records)
        appended.append(record.data(), kRecordLength);
    if (replaceContents(file, appended, error))
        return true;
    if (!file.isOpen()) {
        // The new content is in place; the copy tells what it was before.
        if (backupKept)
            *backupKept = true;
        return false;
    }
    FileServices::deleteFile(backupPath);
    return false;
}

QString importBackupPath(const QString& dataPath, const QDateTime& when)
{
    const QString base = dataPath + QStringLiteral(".before-import-")
        + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = base + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = base + QStringLiteral("-%1.bak").arg(n);
    return path;
}

} // namespace quillary
