#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <set>

class QFile;

namespace quillary {

// Whether the file a handle has open is still the one its path names, or
// another program has removed it or put another file in its place since.
enum class PathState { Same, Removed, Replaced };
// Why a write to a file in that state was refused.
QString pathStateError(PathState state);

// Files opened for random access by record number, under small integer file
// numbers. Every write goes straight to the operating system (no buffering
// in the process), so a crash of the program loses nothing that was written,
// and a write through one handle is seen by a read through another handle on
// the same path. A handle keeps naming the file it opened: a relative path
// is made absolute when the file is opened.
class FileServices {
public:
    FileServices();
    ~FileServices();
    FileServices(const FileServices&) = delete;
    FileServices& operator=(const FileServices&) = delete;

    // The lowest file number (from 1) not in use.
    int freeFile() const;

    // Opens path for reading and writing, creating it empty when missing.
    // Only an ordinary file is opened (see whyNotAFile), and never in a way
    // that could wait for another program.
    bool open(const QString& path, int fileNo, int recordLength, QString* error = nullptr);
    bool isOpen(int fileNo) const;
    QString path(int fileNo) const;
    int recordLength(int fileNo) const;

    // Length in bytes, -1 when fileNo is not open.
    qint64 length(int fileNo) const;

    // Compares the open file with the file its path names now (device and
    // inode). A handle that is not open counts as removed.
    PathState pathState(int fileNo) const;

    // Record n is 1-based. A read past the end fills what it could, pads the
    // rest with blanks and answers false. Writing record count + 1 appends.
    // A write that fails part-way is undone as far as it can be: the file
    // goes back to its old length and the bytes it overwrote are put back.
    bool readRecord(int fileNo, qint64 n, QByteArray& buffer) const;
    bool writeRecord(int fileNo, qint64 n, const QByteArray& buffer, QString* error = nullptr);
    // Writes a run of whole records, from record `first` on, in one request.
    bool writeRecords(int fileNo, qint64 first, const QByteArray& records,
                      QString* error = nullptr);
    // Waits until what was written through fileNo is on the disk; false
    // (with the reason) when the disk reports that it could not be stored.
    bool flush(int fileNo, QString* error = nullptr);

    // Reads the whole file in one request.
    bool readAll(int fileNo, QByteArray& contents) const;
    // Reads up to size bytes from byte offset on into data; answers how many
    // were read (fewer at the end of the file), -1 on failure.
    qint64 readBytes(int fileNo, qint64 offset, char* data, qint64 size) const;

    void close(int fileNo);
    void closeAll();

    // Replaces the whole content of the file open as fileNo atomically: the
    // new content goes to a temporary file in the same folder, is flushed to
    // disk and renamed over the file (over the file a symbolic link names,
    // not the link), so at every moment the file holds all of the old or all
    // of the new content. Every handle open on the same file, whatever path
    // it was opened by, is reopened on the new content. When the new content
    // cannot be written nothing changes; false after that means the content
    // was replaced but a handle could not be reopened (error says why).
    // Nothing is written when the path no longer names the open file: the
    // replacement would land on a file another program put there.
    bool replaceContents(int fileNo, const QByteArray& contents, QString* error = nullptr);

    // Why path cannot be a data file: it names a folder, a named pipe, a
    // device or a socket, or symbolic links that lead round in a circle.
    // Empty for an ordinary file and for a name where nothing is yet.
    static QString whyNotAFile(const QString& path);
    // Reads the whole of an ordinary file; refuses anything else, and never
    // waits for another program (a named pipe put in a file's place).
    static bool readFile(const QString& path, QByteArray& contents, QString* error = nullptr);

    // Whole-file copy that replaces the target atomically.
    bool copyFile(const QString& from, const QString& to, QString* error = nullptr) const;
    // The same from the file open as fileNo, also when its path has been
    // removed or names another file by now.
    bool copyOpenFile(int fileNo, const QString& to, QString* error = nullptr) const;
    static bool deleteFile(const QString& path, QString* error = nullptr);
    // Writes contents to path atomically, replacing any file there. The new
    // file takes the old one's place only once every byte of it is known to
    // be on the disk; on any failure the temporary file is removed and the
    // old file stays as it was. Only an ordinary file is replaced: a folder,
    // a device or a named pipe of that name is left alone.
    bool writeFileAtomically(const QString& path, const QByteArray& contents,
                             QString* error = nullptr) const;
    // The temporary files of path that a program stopped in the middle of
    // an atomic write (a crash, a power cut) left in its folder; removes them
    // and answers how many went. Only for the holder of the data file's
    // lock: nobody else writes them.
    static int removeLeftovers(const QString& path);

    // Backups. Before the first write of this run to a file open for random
    // access (a record written, the content replaced) that was last changed
    // on an earlier day than today, the file as it is is copied beside it,
    // under its name followed by ".bak" ("Taxrecs.dat.bak"), atomically and
    // replacing an older copy; an empty file has nothing to keep. A copy
    // that cannot be made does not stop the write: the handler hears of it,
    // once for each file, and the copy is tried again before the next write
    // for as long as the file has not been changed today.
    static QString backupPath(const QString& path);
    using BackupFailureHandler =
        std::function<void(const QString& path, const QString& backup, const QString& error)>;
    void setBackupFailureHandler(BackupFailureHandler handler)
    {
        backupFailureHandler_ = std::move(handler);
    }

    // For tests: when set and it answers true for a path, writes and
    // replacements of that path through these services fail as on a full
    // disk. Other instances are not affected.
    using FaultInjector = std::function<bool(const QString& path)>;
    void setFaultInjector(FaultInjector injector) { faultInjector_ = std::move(injector); }

private:
    struct Handle;
    bool reopen(Handle& handle, QString* error);
    Handle* handle(int fileNo) const;
    // Whether the fault injector fails a write of path (error says why).
    bool injectedFault(const QString& path, QString* error) const;
    // The backup due before a write through handle, if one is.
    void keepBackup(const Handle& handle);
    // writeFileAtomically; a new file takes the permissions of the file open
    // as permissionsFrom, or with -1 those of the file it replaces.
    bool writeAtomically(const QString& path, const QByteArray& contents, QString* error,
                         int permissionsFrom) const;

    std::map<int, std::unique_ptr<Handle>> handles_;
    FaultInjector faultInjector_;
    BackupFailureHandler backupFailureHandler_;
    // The files (their real paths) whose backup is made or not wanted this
    // run, and those whose failed backup was reported.
    std::set<QString> backupsDone_;
    std::set<QString> backupsReported_;
};

} // namespace quillary
