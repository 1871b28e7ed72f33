#include "support/ordinaryuser.h"

#include "support/smalldisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillary::test {

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

// Why root could not be given up; empty when it was, or was not needed.
std::string& dropFailure()
{
    static std::string why;
    return why;
}

bool giveUpRoot(std::string* why)
{
    if (::setgroups(0, nullptr) != 0 || ::setresgid(kNogroup, kNogroup, kNogroup) != 0
        || ::setresuid(kNobody, kNobody, kNobody) != 0) {
        *why = std::string("root could not be given up (") + std::strerror(errno) + ")";
        return false;
    }
    if (::setresuid(0, 0, 0) == 0) {
        *why = "root came back after it was given up";
        return false;
    }
    return true;
}

// A folder of its own for the child (home, runtime folder), since root's
// are closed to it; removed by the parent afterwards.
std::string makeHome()
{
    char name[] = "/tmp/quillary-nobody-XXXXXX";
    if (!::mkdtemp(name) || ::chown(name, kNobody, kNogroup) != 0)
        return {};
    return name;
}

void removeTree(const std::string& path)
{
    if (!path.empty())
        QDir(QString::fromStdString(path)).removeRecursively();
}

} // namespace

int runAsOrdinaryUser()
{
    if (::geteuid() != 0)
        return -1;
    // Mounted while root still can; the child gets a folder of it.
    SharedSmallDisk disk;
    const std::string home = makeHome();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        dropFailure() = std::string("no child process (") + std::strerror(errno) + ")";
        return -1;
    }
    if (child == 0) {
        // A child whose parent is gone (a test run stopped) goes with it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        std::string why;
        if (!home.empty() && giveUpRoot(&why)) {
            ::setenv("HOME", home.c_str(), 1);
            ::setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
            ::chmod(home.c_str(), 0700);
            disk.exportToChild();
            std::fprintf(stderr, "The tests run as the ordinary user nobody (%d).\n", int(kNobody));
        } else {
            disk.leaveToParent();
            dropFailure() = home.empty() ? std::string("no folder for the user nobody") : why;
            std::fprintf(stderr, "The tests run as root: %s.\n", dropFailure().c_str());
        }
        return -1;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    removeTree(home);
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    std::fprintf(stderr, "The test process ended by signal %d.\n",
                 WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

bool isOrdinaryUser(QString* why)
{
    auto fail = [why](const QString& text) {
        if (why)
            *why = text;
        return false;
    };
    if (!dropFailure().empty())
        return fail(QString::fromStdString(dropFailure()));
    // The permissions themselves decide: a process may be root in name
    // only, or an ordinary user allowed past them.
    QTemporaryDir dir;
    const QString probe = dir.filePath(QStringLiteral("read-only"));
    {
        QFile f(probe);
        if (!f.open(QIODevice::WriteOnly))
            return fail(QStringLiteral("no file to try permissions on"));
    }
    ::chmod(QFile::encodeName(probe).constData(), 0444);
    const int fd = ::open(QFile::encodeName(probe).constData(), O_WRONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return fail(QStringLiteral("this process may write to a read-only file (user id %1)")
                        .arg(::geteuid()));
    }
    return true;
}

} // namespace quillary::test
