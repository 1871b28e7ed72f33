#include "support/smalldisk.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace quillary::test {

namespace {

const char* const kFiller = "filler";
// Where the parent's disk is, for the child.
const char* const kSharedDiskVariable = "QUILLARY_TEST_SMALL_DISK";

bool mountTmpfs(const QByteArray& where, int kilobytes, int* error)
{
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0777";
    if (::mount("quillary-test", where.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData())
        == 0)
        return true;
    *error = errno;
    return false;
}

QString sharedDiskFolder()
{
    const QByteArray shared = qgetenv(kSharedDiskVariable);
    return shared.isEmpty() ? QString() : QFile::decodeName(shared) + QStringLiteral("/disk-XXXXXX");
}

} // namespace

SmallDisk::SmallDisk(int kilobytes)
    : dir_(kilobytes == kSharedKilobytes && !sharedDiskFolder().isEmpty() ? sharedDiskFolder()
                                                                          : QString())
{
    if (!dir_.isValid()) {
        reason_ = QStringLiteral("no temporary folder");
        return;
    }
    if (kilobytes == kSharedKilobytes && !sharedDiskFolder().isEmpty()) {
        mounted_ = true;
        return;
    }
    int error = 0;
    if (!mountTmpfs(QFile::encodeName(dir_.path()), kilobytes, &error)) {
        reason_ = QStringLiteral("mounting a tmpfs was refused (%1)")
                      .arg(QString::fromLocal8Bit(std::strerror(error)));
        return;
    }
    mounted_ = true;
    ownMount_ = true;
}

SmallDisk::~SmallDisk()
{
    if (ownMount_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

bool SmallDisk::fill()
{
    if (!mounted_)
        return false;
    const QByteArray name = QFile::encodeName(filePath(QString::fromLatin1(kFiller)));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    // Big steps first, then single bytes, until not one more byte fits.
    static const char zeros[4096] = {};
    for (std::size_t step : {sizeof zeros, std::size_t(1)}) {
        for (;;) {
            const ssize_t put = ::write(fd, zeros, step);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                break;
        }
    }
    const bool full = errno == ENOSPC;
    ::close(fd);
    return full;
}

void SmallDisk::release()
{
    QFile::remove(filePath(QString::fromLatin1(kFiller)));
}

SharedSmallDisk::SharedSmallDisk()
{
    char name[] = "/tmp/quillary-disk-XXXXXX";
    if (!::mkdtemp(name))
        return;
    int error = 0;
    if (!mountTmpfs(name, SmallDisk::kSharedKilobytes, &error)) {
        ::rmdir(name);
        return;
    }
    path_ = name;
    owner_ = true;
}

SharedSmallDisk::~SharedSmallDisk()
{
    if (!owner_)
        return;
    ::umount2(path_.c_str(), MNT_DETACH);
    ::rmdir(path_.c_str());
}

void SharedSmallDisk::exportToChild()
{
    owner_ = false;
    if (!path_.empty())
        ::setenv(kSharedDiskVariable, path_.c_str(), 1);
}

} // namespace quillary::test
