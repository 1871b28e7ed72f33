#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
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
    // The same conventions on every machine, whatever LANG says (a machine
    // with LANG=C would write dates as "14 Mar 1996"); a test that needs
    // another locale pins it with LocaleGuard.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray fileContents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

FileServices::FaultInjector failWritesUnder(const QString& folder)
{
    const QString prefix = QDir(folder).absolutePath() + u'/';
    return [prefix](const QString& path) {
        return QFileInfo(path).absoluteFilePath().startsWith(prefix);
    };
}

} // namespace quillary::test
