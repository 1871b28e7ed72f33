#pragma once

// What the tests of windows share: a GUI application and one platform of
// scripted parts that the windows run on.

#include "platform/fileservices.h"
#include "platform/help.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "support/pdfprinter.h"
#include "support/records.h"
#include "support/scripteddialogs.h"
#include "support/testenv.h"

#include <QApplication>
#include <QTemporaryDir>
#include <vector>

namespace quillary::test {

// Help that only counts how often it was opened.
class RecordingHelp final : public HelpService {
public:
    void showContents() override { ++opened; }
    int opened = 0;
};

// The platform services of a test, with the state the windows share: boxes
// answered from a script, a temporary folder with the settings store in it,
// file services of the test's own (faults injected into them go with them),
// help that counts, and a printer that writes PDF files into the folder.
class TestPlatform {
public:
    TestPlatform();
    ~TestPlatform();
    TestPlatform(const TestPlatform&) = delete;
    TestPlatform& operator=(const TestPlatform&) = delete;

    // A path in the temporary folder.
    QString path(const QString& name) const { return dir.filePath(name); }
    // Writes a data file of these records into the folder; returns its path.
    QString writeDataFile(const QString& name, const std::vector<TaxRecord>& records) const;

    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    SettingsStore settings;
    FileServices files;
    RecordingHelp help;
    PdfPrinter printer;
    AppState state;
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
