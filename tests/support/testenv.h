#pragma once

// What every test program shares, without a GUI: the process kept away from
// the user's files, the locale and day pinned, and files written and read
// back whole.

#include "platform/fileservices.h"
#include "platform/localeservices.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

namespace quillary::test {

// Pins the default locale for the lifetime of the object.
class LocaleGuard {
public:
    explicit LocaleGuard(const QString& name)
        : saved_(QLocale())
    {
        QLocale::setDefault(QLocale(name));
    }
    ~LocaleGuard() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

// Pins the default locale to en_US and stops the clock at a fixed day, for
// the lifetime of the object: the windows' dates are then known.
class PinnedDay {
public:
    explicit PinnedDay(QDate today)
        : locale_(QStringLiteral("en_US"))
    {
        Clock::setFixedToday(today);
    }
    ~PinnedDay() { Clock::setFixedToday(std::nullopt); }

private:
    LocaleGuard locale_;
};

// Makes the test process use a private settings folder and a temporary
// working folder, so a test never touches the user's files, and makes
// en_US the default locale. Call at the start of main(), before the
// application object exists.
void isolateTestProcess();

// Writes a file whole; fails the running test when it cannot.
void writeBytes(const QString& path, const QByteArray& bytes);
// What a file holds; "<missing>" when it cannot be read.
QByteArray fileContents(const QString& path);

// For FileServices::setFaultInjector: every write to a path in folder
// fails as on a full disk.
FileServices::FaultInjector failWritesUnder(const QString& folder);

} // namespace quillary::test

// Like QTEST_GUILESS_MAIN, with the process isolated before the application
// starts: for tests of the layers without widgets.
#define QUILLARY_CORE_TEST_MAIN(TestObject)                                              \
    int main(int argc, char* argv[])                                                     \
    {                                                                                    \
        quillary::test::isolateTestProcess();                                            \
        QCoreApplication app(argc, argv);                                                \
        TestObject tc;                                                                   \
        QTEST_SET_MAIN_SOURCE_PATH                                                       \
        return QTest::qExec(&tc, argc, argv);                                            \
    }
