#include "support/smalldisk.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace quillary::test {

namespace {

const char* const kFiller = "filler";

} // namespace

SmallDisk::SmallDisk(int kilobytes)
{
    if (!dir_.isValid()) {
        reason_ = QStringLiteral("no temporary folder");
        return;
    }
    const QByteArray where = QFile::encodeName(dir_.path());
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0777";
    if (::mount("quillary-test", where.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData())
        != 0) {
        reason_ = QStringLiteral("mounting a tmpfs was refused (%1)")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
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

} // namespace quillary::test
