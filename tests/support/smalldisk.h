#pragma once

#include <QString>
#include <QTemporaryDir>

#include <string>

namespace quillary::test {

// A small file system of its own (a tmpfs mounted in a temporary folder),
// so a test can fill it to the last byte and meet a real full disk.
// Mounting needs root. A test process that gave up root (ordinaryuser.h)
// gets a folder of the disk its parent mounted for it instead. Where there
// is neither, isMounted() is false and reason() says why, for the test to
// skip with.
class SmallDisk {
public:
    explicit SmallDisk(int kilobytes = kSharedKilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool isMounted() const { return mounted_; }
    QString reason() const { return reason_; }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

    // Writes a filler file until the disk takes no further byte.
    bool fill();
    // Gives the filler's space back.
    void release();

    // The size of the disk a parent mounts for its child.
    static constexpr int kSharedKilobytes = 200;

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    bool ownMount_ = false;
    QString reason_;
};

// The disk a process running as root mounts for a child that gives up root:
// mounted at construction, unmounted at destruction by the process that
// mounted it.
class SharedSmallDisk {
public:
    SharedSmallDisk();
    ~SharedSmallDisk();
    SharedSmallDisk(const SharedSmallDisk&) = delete;
    SharedSmallDisk& operator=(const SharedSmallDisk&) = delete;

    // In the child: tells its SmallDisks where the disk is, and leaves the
    // disk to the parent.
    void exportToChild();
    // In a child that keeps root: leaves the disk to the parent.
    void leaveToParent() { owner_ = false; }

private:
    std::string path_;
    bool owner_ = false;
};

} // namespace quillary::test

// Skips the running test where no small disk can be mounted.
#define QUILLARY_REQUIRE_SMALL_DISK(disk)                                                \
    do {                                                                                 \
        if (!(disk).isMounted())                                                         \
            QSKIP(qPrintable(QStringLiteral("no small disk: ") + (disk).reason()));      \
    } while (false)
