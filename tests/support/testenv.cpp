#include "support/testenv.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

namespace quillary::test {

void isolateTestProcess()
{
    static QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", dir.filePath(QStringLiteral("cache")).toLocal8Bit());
    QDir().mkpath(dir.filePath(QStringLiteral("work")));
    QDir::setCurrent(dir.filePath(QStringLiteral("work")));
    QStandardPaths::setTestModeEnabled(true);
}

} // namespace quillary::test
