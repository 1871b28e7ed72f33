#include "platform/filelock.h"

#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/types.h>
#include <unistd.h>

namespace quillary {

namespace {

bool processIsGone(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) == -1 && errno == ESRCH;
}

// QLockFile holds a flock on its lock file for as long as it keeps the lock,
// taken the moment the file is made, before it writes its owner into it. A
// lock file that names no owner (a copy was killed between the two, or the
// file is damaged) is left by nobody when nothing holds that flock: the
// kernel dropped it with the process.
bool nobodyHoldsLockFile(const QString& lockFile)
{
    const int fd = ::open(QFile::encodeName(lockFile).constData(),
                          O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    // A flock refused for any other reason than a holder (a file system
    // without flocks) proves nothing either way: the lock stays.
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

} // namespace

DataFileLock::DataFileLock(const QString& dataFile)
    : dataFile_(dataFile)
    , lock_(std::make_unique<QLockFile>(lockFileNameFor(dataFile)))
{
    // A record window keeps its file for hours: age says nothing about
    // whether the holder still runs, only a vanished process does.
    lock_->setStaleLockTime(0);
}

DataFileLock::~DataFileLock() = default;

QString DataFileLock::lockFileNameFor(const QString& dataFile)
{
    // Hidden: it is the program's business, not one of the user's files.
    const QFileInfo data(identity(dataFile));
    return data.path() + QStringLiteral("/.") + data.fileName() + QStringLiteral(".lock");
}

QString DataFileLock::identity(const QString& dataFile)
{
    // A file that does not exist yet is named through its folder, so the
    // name does not change when the file comes into being.
    const QFileInfo info(dataFile);
    QString name = info.canonicalFilePath();
    if (name.isEmpty()) {
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        name = folder.isEmpty() ? info.absoluteFilePath()
                                : folder + QLatin1Char('/') + info.fileName();
    }
    return name;
}

QString DataFileLock::lockFileName() const
{
    return lockFileNameFor(dataFile_);
}

DataFileLock::Status DataFileLock::lock()
{
    if (lock_->isLocked())
        return Status::Locked;
    if (lock_->tryLock(0))
        return Status::Locked;
    if (lock_->error() != QLockFile::LockFailedError)
        return Status::Unavailable;

    // QLockFile takes over a lock whose process is gone by itself; this
    // covers the lock files it cannot judge on its own.
    qint64 pid = 0;
    QString host;
    const bool stale = lock_->getLockInfo(&pid, &host, nullptr)
        ? (host.isEmpty() || host == QSysInfo::machineHostName()) && processIsGone(pid)
        : nobodyHoldsLockFile(lockFileName());
    if (stale && lock_->removeStaleLockFile() && lock_->tryLock(0))
        return Status::Locked;
    return lock_->error() == QLockFile::LockFailedError ? Status::HeldElsewhere
                                                         : Status::Unavailable;
}

void DataFileLock::unlock()
{
    lock_->unlock();
}

bool DataFileLock::isLocked() const
{
    return lock_->isLocked();
}

qint64 DataFileLock::holderPid() const
{
    qint64 pid = 0;
    if (!lock_->getLockInfo(&pid, nullptr, nullptr))
        return 0;
    return pid;
}

} // namespace quillary
