#pragma once

// What the tests of windows share: a GUI application and the platform
// services on scripted parts.

#include "platform/help.h"
#include "support/testenv.h"

#include <QApplication>

namespace quillary::test {

// Help that only counts how often it was opened.
class RecordingHelp final : public HelpService {
public:
    void showContents() override { ++opened; }
    int opened = 0;
};

} // namespace quillary::test

// Like QTEST_MAIN, with the process isolated before the application starts.
#define QUILLARY_TEST_MAIN(TestObject)                                                   \
    int main(int argc, char* argv[])                                                     \
    {                                                                                    \
        quillary::test::isolateTestProcess();                                            \
        QApplication app(argc, argv);                                                    \
        TestObject tc;                                                                   \
        QTEST_SET_MAIN_SOURCE_PATH                                                       \
        return QTest::qExec(&tc, argc, argv);                                            \
    }
