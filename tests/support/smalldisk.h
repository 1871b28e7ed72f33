#pragma once

#include <QString>
#include <QTemporaryDir>

namespace quillary::test {

// A small file system of its own (a tmpfs mounted in a temporary folder),
// so a test can fill it to the last byte and meet a real full disk.
// Mounting needs root; where it is refused, isMounted() is false and
// reason() says why, for the test to skip with.
class SmallDisk {
public:
    explicit SmallDisk(int kilobytes = 200);
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

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString reason_;
};

} // namespace quillary::test

// Skips the running test where no small disk can be mounted.
#define QUILLARY_REQUIRE_SMALL_DISK(disk)                                                \
    do {                                                                                 \
        if (!(disk).isMounted())                                                         \
            QSKIP(qPrintable(QStringLiteral("no small disk: ") + (disk).reason()));      \
    } while (false)
