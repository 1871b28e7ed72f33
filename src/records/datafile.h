#pragma once

#include "platform/fileservices.h"
#include "records/taxrecord.h"

#include <QString>
#include <vector>

namespace quillary {

enum class OpenStatus {
    Ok,
    CannotOpen,
    TooManyRecords,
    NotAFile, // a folder, a named pipe, a device, a socket, a circle of links
};

// One open data file: a handle of the file services on a sequence of
// 130-byte tax records. Closes its handle when destroyed.
class DataFile {
public:
    explicit DataFile(FileServices& files);
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // Opens path under the lowest free file number, creating it empty when
    // missing. A file of more than 32,767 records is not opened: its count
    // cannot be held, and treating it as shorter would lose records. Nor is
    // anything that is not an ordinary file; error then says what it is.
    OpenStatus open(const QString& path, QString* error = nullptr);
    void close();
    bool isOpen() const { return fileNo_ != 0; }
    int fileNumber() const { return fileNo_; }
    QString path() const { return path_; }

    // File length divided by 130; a trailing fragment is not counted.
    int recordCount() const;

    // Whether the file is still at its path: another program may have
    // removed it or moved another file onto its name.
    PathState pathState() const;

    // Record n is 1-based. A read beyond the end answers false and leaves a
    // blank record. Writing beyond record 32,767 fails. A write is done when
    // it is on the disk; it fails, and changes nothing, when the file is no
    // longer at its path, since the record would go to a file no one sees.
    bool read(int n, TaxRecord& record) const;
    bool write(int n, const TaxRecord& record, QString* error = nullptr);

    // All whole records in file order (a trailing fragment is dropped).
    bool readAll(std::vector<TaxRecord>& records) const;
    // Replaces the whole file with these records atomically; every handle on
    // the same file sees the new content afterwards. More than 32,767
    // records are refused.
    bool replaceAll(const std::vector<TaxRecord>& records, QString* error = nullptr);

    FileServices& files() const { return files_; }

private:
    FileServices& files_;
    int fileNo_ = 0;
    QString path_;
};

QByteArray encodeRecords(const std::vector<TaxRecord>& records);
std::vector<TaxRecord> decodeRecords(const QByteArray& contents);

} // namespace quillary
