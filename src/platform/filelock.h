#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace quillary {

// Keeps a second running copy of the program away from a data file that a
// record window has open: a hidden lock file named after the data file
// (".books.dat.lock" for "books.dat"), in the same folder, held for as long
// as the window has the file open. A lock left behind by a program that
// crashed (its process is gone), or left empty by one killed while it made
// the lock, is taken over.
class DataFileLock {
public:
    enum class Status {
        Locked,        // this object holds the lock
        HeldElsewhere, // another running process holds it
        Unavailable,   // no lock file can be made there (missing or read-only folder)
    };

    explicit DataFileLock(const QString& dataFile);
    ~DataFileLock();
    DataFileLock(const DataFileLock&) = delete;
    DataFileLock& operator=(const DataFileLock&) = delete;

    // Tries once, without waiting.
    Status lock();
    void unlock();
    bool isLocked() const;

    QString dataFile() const { return dataFile_; }
    QString lockFileName() const;
    // The process holding the lock after lock() answered HeldElsewhere, 0
    // when unknown.
    qint64 holderPid() const;

    // Names of one file (a relative name, a symbolic link) give one lock.
    static QString lockFileNameFor(const QString& dataFile);
    // The one name of a data file however it is named: the full path with
    // links resolved, also for a file that does not exist yet.
    static QString identity(const QString& dataFile);

private:
    QString dataFile_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace quillary
