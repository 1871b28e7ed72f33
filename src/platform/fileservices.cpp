#include "platform/fileservices.h"

#include "platform/errors.h"
#include "platform/localeservices.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace quillary {

QString pathStateError(PathState state)
{
    return state == PathState::Removed
        ? QStringLiteral("The file was removed by another program after it was opened")
        : QStringLiteral("The file was replaced by another program after it was opened");
}

struct FileServices::Handle {
    QString path;         // as given by the caller
    QString absolutePath; // fixed at open, so a later change of folder does not matter
    int recordLength = 0;
    std::unique_ptr<QFile> file;
    int fd() const { return file->handle(); }
};

namespace {

struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    bool valid = false;
    friend bool operator==(const FileId&, const FileId&) = default;
};

// Which file a descriptor is open on, however its path was spelled.
FileId fileId(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return {};
    return {st.st_dev, st.st_ino, true};
}

// pread/pwrite: one system call per record, no shared file position, and
// nothing kept in the process between calls.
qint64 readAt(int fd, char* data, qint64 size, qint64 offset)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, data + done, size_t(size - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return done > 0 ? done : -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

bool writeAt(int fd, const char* data, qint64 size, qint64 offset)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t put = ::pwrite(fd, data + done, size_t(size - done), off_t(offset + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = EIO;
            return false;
        }
        done += put;
    }
    return true;
}

// Byte offset of record n, or -1 when it lies beyond what a file can hold.
qint64 recordOffset(qint64 n, int recordLength)
{
    if (n < 1 || n - 1 > (std::numeric_limits<qint64>::max() - recordLength) / recordLength)
        return -1;
    return (n - 1) * recordLength;
}

QString systemError(int code)
{
    return qt_error_string(code);
}

// Which file a path names now; following links, as opening it would.
FileId pathId(const QString& path, int* error)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        *error = errno;
        return {};
    }
    *error = 0;
    return {st.st_dev, st.st_ino, true};
}

// Closes fd and reports what close() reports: some file systems only tell
// at the close that a write could not be stored.
bool closeChecked(int fd)
{
    return ::close(fd) == 0 || errno == EINTR;
}

// The whole of the file open as fd, from its start; errno tells why not.
bool readWhole(int fd, QByteArray& contents)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    QByteArray data(qsizetype(st.st_size), Qt::Uninitialized);
    const qint64 got = readAt(fd, data.data(), data.size(), 0);
    if (got < 0)
        return false;
    data.truncate(qsizetype(got));
    contents = std::move(data);
    return true;
}

// What a name stands for when it is not an ordinary file, in words.
QString notAFile(const QString& path, mode_t mode)
{
    const QString what = S_ISDIR(mode)    ? QStringLiteral("a folder")
                       : S_ISFIFO(mode)   ? QStringLiteral("a named pipe (FIFO)")
                       : S_ISCHR(mode) || S_ISBLK(mode) ? QStringLiteral("a device")
                       : S_ISSOCK(mode)   ? QStringLiteral("a socket")
                                          : QStringLiteral("no ordinary file");
    return QStringLiteral("'%1' is %2, not a data file").arg(path, what);
}

// Opens path (flags: O_RDONLY or O_RDWR, O_CREAT) if it is an ordinary file,
// without waiting: should a named pipe take the file's place between the
// look and the open, the open does not wait for a writer. -1 on failure.
int openOrdinaryFile(const QString& path, int flags, QString* error)
{
    if (const QString why = FileServices::whyNotAFile(path); !why.isEmpty()) {
        setError(error, why);
        return -1;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        setError(error, systemError(errno));
        return -1;
    }
    struct stat st {};
    const bool looked = ::fstat(fd, &st) == 0;
    if (!looked || !S_ISREG(st.st_mode)) {
        const int code = errno;
        ::close(fd);
        setError(error, looked ? notAFile(path, st.st_mode) : systemError(code));
        return -1;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status >= 0)
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    return fd;
}

// The path a replacement is written to: a symbolic link is followed, so the
// link stays and the file it names gets the new content.
QString replacementTarget(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(path).absoluteFilePath() : canonical;
}

} // namespace

FileServices::FileServices() = default;

bool FileServices::injectedFault(const QString& path, QString* error) const
{
    if (faultInjector_ && faultInjector_(path)) {
        setError(error, QStringLiteral("No space left on device"));
        return true;
    }
    return false;
}

FileServices::~FileServices()
{
    closeAll();
}

int FileServices::freeFile() const
{
    int n = 1;
    while (handles_.count(n))
        ++n;
    return n;
}

FileServices::Handle* FileServices::handle(int fileNo) const
{
    const auto it = handles_.find(fileNo);
    return it == handles_.end() ? nullptr : it->second.get();
}

bool FileServices::open(const QString& path, int fileNo, int recordLength, QString* error)
{
    if (fileNo < 1 || recordLength < 1) {
        setError(error, QStringLiteral("Bad file number or record length"));
        return false;
    }
    if (handles_.count(fileNo)) {
        setError(error, QStringLiteral("File number %1 is already in use").arg(fileNo));
        return false;
    }
    if (path.isEmpty()) {
        setError(error, QStringLiteral("No file name given"));
        return false;
    }
    auto h = std::make_unique<Handle>();
    h->path = path;
    h->absolutePath = QFileInfo(path).absoluteFilePath();
    h->recordLength = recordLength;
    if (!reopen(*h, error))
        return false;
    handles_[fileNo] = std::move(h);
    return true;
}

bool FileServices::reopen(Handle& h, QString* error)
{
    const int fd = openOrdinaryFile(h.absolutePath, O_RDWR | O_CREAT, error);
    if (fd < 0)
        return false;
    auto file = std::make_unique<QFile>(h.absolutePath);
    if (!file->open(fd, QIODevice::ReadWrite | QIODevice::Unbuffered,
                    QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        setError(error, file->errorString());
        return false;
    }
    h.file = std::move(file);
    return true;
}

bool FileServices::isOpen(int fileNo) const
{
    return handle(fileNo) != nullptr;
}

QString FileServices::path(int fileNo) const
{
    const Handle* h = handle(fileNo);
    return h ? h->path : QString();
}

int FileServices::recordLength(int fileNo) const
{
    const Handle* h = handle(fileNo);
    return h ? h->recordLength : 0;
}

qint64 FileServices::length(int fileNo) const
{
    const Handle* h = handle(fileNo);
    if (!h)
        return -1;
    struct stat st {};
    if (::fstat(h->fd(), &st) != 0)
        return -1;
    return st.st_size;
}

PathState FileServices::pathState(int fileNo) const
{
    const Handle* h = handle(fileNo);
    if (!h)
        return PathState::Removed;
    const FileId open = fileId(h->fd());
    int error = 0;
    const FileId named = pathId(h->absolutePath, &error);
    if (!named.valid) {
        // Only a path that leads nowhere tells; a folder that cannot be read
        // says nothing about the file, which is still written through the
        // handle as before.
        return error == ENOENT || error == ENOTDIR ? PathState::Removed : PathState::Same;
    }
    if (!open.valid || open == named)
        return PathState::Same;
    return PathState::Replaced;
}

bool FileServices::readRecord(int fileNo, qint64 n, QByteArray& buffer) const
{
    const Handle* h = handle(fileNo);
    buffer.fill(' ', h ? h->recordLength : buffer.size());
    if (!h)
        return false;
    const qint64 offset = recordOffset(n, h->recordLength);
    if (offset < 0)
        return false;
    const qint64 got = readAt(h->fd(), buffer.data(), h->recordLength, offset);
    if (got < h->recordLength) {
        // Past the end, or a trailing fragment: what was there, then blanks.
        std::fill(buffer.begin() + std::max<qint64>(got, 0), buffer.end(), ' ');
        return false;
    }
    return true;
}

bool FileServices::writeRecord(int fileNo, qint64 n, const QByteArray& buffer, QString* error)
{
    const Handle* h = handle(fileNo);
    if (!h || buffer.size() != h->recordLength) {
        setError(error, QStringLiteral("Invalid record write"));
        return false;
    }
    return writeRecords(fileNo, n, buffer, error);
}

bool FileServices::writeRecords(int fileNo, qint64 n, const QByteArray& buffer, QString* error)
{
    Handle* h = handle(fileNo);
    if (!h || buffer.isEmpty() || buffer.size() % h->recordLength != 0) {
        setError(error, QStringLiteral("Invalid record write"));
        return false;
    }
    const qint64 offset = recordOffset(n, h->recordLength);
    if (offset < 0) {
        setError(error, QStringLiteral("Invalid record number %1").arg(n));
        return false;
    }
    if (injectedFault(h->path, error))
        return false;
    keepBackup(*h);
    struct stat st {};
    if (::fstat(h->fd(), &st) != 0) {
        setError(error, systemError(errno));
        return false;
    }
    // What the write will cover of the file as it is, to put it back should
    // the write stop half-way: a torn record, or a fragment at the end that
    // every later append would sit behind, is worse than no write at all.
    const qint64 oldLength = st.st_size;
    QByteArray overwritten;
    if (offset < oldLength) {
        overwritten.resize(qsizetype(std::min<qint64>(buffer.size(), oldLength - offset)));
        if (readAt(h->fd(), overwritten.data(), overwritten.size(), offset) != overwritten.size()) {
            setError(error, systemError(errno ? errno : EIO));
            return false;
        }
    }
    if (!writeAt(h->fd(), buffer.constData(), buffer.size(), offset)) {
        const int code = errno;
        if (!overwritten.isEmpty())
            writeAt(h->fd(), overwritten.constData(), overwritten.size(), offset);
        if (offset + buffer.size() > oldLength)
            while (::ftruncate(h->fd(), off_t(oldLength)) != 0 && errno == EINTR) {
            }
        setError(error, systemError(code));
        return false;
    }
    return true;
}

bool FileServices::flush(int fileNo, QString* error)
{
    const Handle* h = handle(fileNo);
    if (!h) {
        setError(error, QStringLiteral("File number %1 is not open").arg(fileNo));
        return false;
    }
    while (::fdatasync(h->fd()) != 0) {
        if (errno == EINTR)
            continue;
        // Files that cannot be synced (a pipe, some devices) keep what was
        // written in the system; only a failed store is a failure.
        if (errno == EINVAL || errno == EROFS)
            return true;
        setError(error, systemError(errno));
        return false;
    }
    return true;
}

bool FileServices::readAll(int fileNo, QByteArray& contents) const
{
    const Handle* h = handle(fileNo);
    return h && readWhole(h->fd(), contents);
}

qint64 FileServices::readBytes(int fileNo, qint64 offset, char* data, qint64 size) const
{
    const Handle* h = handle(fileNo);
    if (!h || offset < 0 || size < 0)
        return -1;
    return readAt(h->fd(), data, size, offset);
}

void FileServices::close(int fileNo)
{
    handles_.erase(fileNo);
}

void FileServices::closeAll()
{
    handles_.clear();
}

bool FileServices::replaceContents(int fileNo, const QByteArray& contents, QString* error)
{
    Handle* h = handle(fileNo);
    if (!h) {
        setError(error, QStringLiteral("File number %1 is not open").arg(fileNo));
        return false;
    }
    if (injectedFault(h->path, error))
        return false;
    if (const PathState state = pathState(fileNo); state != PathState::Same) {
        setError(error, pathStateError(state));
        return false;
    }
    keepBackup(*h);
    const FileId replaced = fileId(h->fd());
    const QString target = replacementTarget(h->absolutePath);
    if (!writeFileAtomically(target, contents, error))
        return false;
    // The rename gave the path a new file; every handle on the old one,
    // whatever path it was opened by, would go on reading the old records.
    bool ok = true;
    for (auto& [no, other] : handles_) {
        if (other.get() != h && !(replaced.valid && fileId(other->fd()) == replaced))
            continue;
        other->absolutePath = target;
        QString reopenError;
        if (!reopen(*other, &reopenError)) {
            ok = false;
            setError(error, reopenError);
        }
    }
    return ok;
}

bool FileServices::writeFileAtomically(const QString& path, const QByteArray& contents,
                                       QString* error) const
{
    return writeAtomically(path, contents, error, -1);
}

bool FileServices::writeAtomically(const QString& path, const QByteArray& contents,
                                   QString* error, int permissionsFrom) const
{
    if (injectedFault(path, error))
        return false;
    const QFileInfo info(replacementTarget(path));
    if (const QString why = whyNotAFile(info.filePath()); !why.isEmpty()) {
        setError(error, why);
        return false;
    }
    const QString folder = info.absolutePath();
    // A hidden name that no file dialog offers and no one takes for data,
    // should the program be stopped before it is renamed or removed.
    QByteArray tempName =
        QFile::encodeName(folder + QStringLiteral("/.") + info.fileName() + QLatin1Char('.'))
        + "XXXXXX";
    const int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        // The folder, not the file, is what stands in the way: say so.
        setError(error, code == EACCES || code == EPERM || code == EROFS
                            ? QStringLiteral("No new file can be made in the folder %1: %2")
                                  .arg(QDir::toNativeSeparators(folder), systemError(code))
                            : systemError(code));
        return false;
    }
    auto fail = [&](int code) {
        ::unlink(tempName.constData());
        setError(error, systemError(code));
        return false;
    };

    struct stat old {};
    const QByteArray target = QFile::encodeName(info.filePath());
    if ((permissionsFrom >= 0 && ::fstat(permissionsFrom, &old) == 0)
        || (permissionsFrom < 0 && ::stat(target.constData(), &old) == 0)) {
        // The new file stands in for the old one: same permissions, and
        // the same owner where the program may give it (run as root).
        ::fchmod(fd, old.st_mode & 07777);
        if (::geteuid() == 0 && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // The copy stays root's; its content is what matters.
        }
    } else {
        // mkstemp makes the file for its owner only; a data file is made as
        // any other file of the user's.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }

    if (!writeAt(fd, contents.constData(), contents.size(), 0)) {
        const int code = errno;
        ::close(fd);
        return fail(code);
    }
    while (::fsync(fd) != 0) {
        if (errno == EINTR)
            continue;
        const int code = errno;
        ::close(fd);
        return fail(code);
    }
    struct stat written {};
    if (::fstat(fd, &written) != 0 || written.st_size != contents.size()) {
        ::close(fd);
        return fail(EIO);
    }
    if (!closeChecked(fd))
        return fail(errno);
    if (::rename(tempName.constData(), target.constData()) != 0)
        return fail(errno);

    // The rename lives in the folder: flush it too, or a power cut could
    // bring the old content back after the program reported success.
    const int dirFd = ::open(QFile::encodeName(folder).constData(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool FileServices::copyFile(const QString& from, const QString& to, QString* error) const
{
    QByteArray contents;
    return readFile(from, contents, error) && writeFileAtomically(to, contents, error);
}

QString FileServices::whyNotAFile(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        return S_ISREG(st.st_mode) ? QString() : notAFile(path, st.st_mode);
    if (errno == ELOOP)
        return QStringLiteral("'%1' is a symbolic link that leads round in a circle (%2), not "
                              "a data file")
            .arg(path, systemError(ELOOP));
    return QString();
}

bool FileServices::readFile(const QString& path, QByteArray& contents, QString* error)
{
    const int fd = openOrdinaryFile(path, O_RDONLY, error);
    if (fd < 0)
        return false;
    const bool read = readWhole(fd, contents);
    const int code = errno;
    ::close(fd);
    if (!read)
        setError(error, systemError(code));
    return read;
}

int FileServices::removeLeftovers(const QString& path)
{
    // The names writeFileAtomically gives its temporary files, for the file
    // itself, for its backup and for the copy an import keeps
    // (".before-import-20260314-153012.bak"): "." + name + "." + six letters
    // or digits; beside the file, and beside the name it was opened by where
    // that is a link (the backup's place).
    static const QString kPattern = QStringLiteral(
        "^\\.%1(\\.bak|\\.before-import-[0-9]{8}-[0-9]{6}(-[0-9]+)?\\.bak)?\\.[A-Za-z0-9]{6}$");
    QStringList places{replacementTarget(path), QFileInfo(path).absoluteFilePath()};
    places.removeDuplicates();
    int removed = 0;
    for (const QString& place : places) {
        const QFileInfo info(place);
        const QRegularExpression temporary(
            kPattern.arg(QRegularExpression::escape(info.fileName())));
        const QDir folder = info.absoluteDir();
        for (const QString& entry :
             folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
            if (temporary.match(entry).hasMatch() && QFile::remove(folder.filePath(entry)))
                ++removed;
        }
    }
    return removed;
}

QString FileServices::backupPath(const QString& path)
{
    return path + QStringLiteral(".bak");
}

void FileServices::keepBackup(const Handle& h)
{
    const QString real = replacementTarget(h.absolutePath);
    if (backupsDone_.count(real))
        return;
    struct stat st {};
    if (::fstat(h.fd(), &st) != 0)
        return;
    const QDate changed = QDateTime::fromSecsSinceEpoch(st.st_mtim.tv_sec).date();
    if (!(changed < Clock::today()) || st.st_size == 0) {
        // Changed today already, by this run or before it: the copy of the
        // day, if there is one, was made then.
        backupsDone_.insert(real);
        return;
    }
    const QString backup = backupPath(h.absolutePath);
    QByteArray contents;
    QString error;
    if (!readWhole(h.fd(), contents))
        error = systemError(errno);
    // The copy is as private as the file: its permissions, not the
    // defaults of a new file.
    else if (writeAtomically(backup, contents, &error, h.fd())) {
        backupsDone_.insert(real);
        return;
    }
    if (backupsReported_.insert(real).second && backupFailureHandler_)
        backupFailureHandler_(h.path, backup, error);
}

bool FileServices::copyOpenFile(int fileNo, const QString& to, QString* error) const
{
    QByteArray contents;
    if (!readAll(fileNo, contents)) {
        setError(error, QStringLiteral("The file could not be read"));
        return false;
    }
    return writeFileAtomically(to, contents, error);
}

bool FileServices::deleteFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.remove()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

} // namespace quillary
