#pragma once

// Tests of what an ordinary user meets: read-only files and folders, a
// full disk. Root may read and write every file, which hides each of these
// faults, and CI runs as root. So a test program with these tests, started
// as root, runs them in a child process that has given up root for the user
// nobody (65534) before any Qt object exists; the first process only waits
// for it and ends as it ended. A small disk for the child is mounted before
// root is given up (see SmallDisk). Where root cannot be given up, the tests
// run as root and those that need an ordinary user skip, saying why.

#include <QString>
#include <QTest>

namespace quillary::test {

// Call first thing in main(). Answers -1 when this process is to run the
// tests; otherwise the exit code for main() to return (the child's).
int runAsOrdinaryUser();

// Whether the running process meets the permissions of files as an ordinary
// user does (tried on a file, not taken from the user id); if not, why.
bool isOrdinaryUser(QString* why = nullptr);

} // namespace quillary::test

// Skips the running test where permissions are not enforced.
#define QUILLARY_REQUIRE_ORDINARY_USER()                                                  \
    do {                                                                                 \
        QString quillaryWhy;                                                             \
        if (!quillary::test::isOrdinaryUser(&quillaryWhy))                               \
            QSKIP(qPrintable(QStringLiteral("needs an ordinary user: ") + quillaryWhy)); \
    } while (false)

// Like QUILLARY_TEST_MAIN, run as an ordinary user (see above).
#define QUILLARY_ORDINARY_USER_TEST_MAIN(TestObject)                                     \
    int main(int argc, char* argv[])                                                     \
    {                                                                                    \
        if (const int code = quillary::test::runAsOrdinaryUser(); code >= 0)             \
            return code;                                                                 \
        quillary::test::isolateTestProcess();                                            \
        QApplication app(argc, argv);                                                    \
        TestObject tc;                                                                   \
        QTEST_SET_MAIN_SOURCE_PATH                                                       \
        return QTest::qExec(&tc, argc, argv);                                            \
    }
