// The command line: which file opens first, --help and --version, and
// arguments the program cannot take. Also the real program answering
// --help and --version without a display.

#include "app/commandline.h"
#include "support/testenv.h"

#include <QProcess>

using namespace quillary;

Q_DECLARE_METATYPE(quillary::CommandLine::Action)

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Quillary"));
        QCoreApplication::setApplicationVersion(QStringLiteral("9.8.7"));
    }

    void parse_data()
    {
        using Action = CommandLine::Action;
        QTest::addColumn<QStringList>("arguments"); // after the program's name
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("output"); // a piece of what is printed
        QTest::newRow("nothing: the most recent file")
            << QStringList{} << Action::Run << QString() << QString();
        QTest::newRow("absolute file")
            << QStringList{"/data/taxes/2026.dat"} << Action::Run << "/data/taxes/2026.dat"
            << QString();
        QTest::newRow("relative file: from the current folder")
            << QStringList{"2026.dat"} << Action::Run << "/home/ann/2026.dat" << QString();
        QTest::newRow("relative file in a folder above")
            << QStringList{"../bob/./b.dat"} << Action::Run << "/home/bob/b.dat" << QString();
        QTest::newRow("name that looks like an option")
            << QStringList{"--", "-odd.dat"} << Action::Run << "/home/ann/-odd.dat" << QString();
        QTest::newRow("--version") << QStringList{"--version"} << Action::Version << QString()
                                   << "Quillary 9.8.7\n";
        QTest::newRow("-v") << QStringList{"-v"} << Action::Version << QString()
                            << "Quillary 9.8.7\n";
        QTest::newRow("--help") << QStringList{"--help"} << Action::Help << QString() << "[FILE]";
        QTest::newRow("-h with a file") << QStringList{"x.dat", "-h"} << Action::Help << QString()
                                        << "The data file to open";
        QTest::newRow("two files")
            << QStringList{"a.dat", "b.dat"} << Action::Error << QString()
            << "Only one FILE can be opened";
        QTest::newRow("unknown option") << QStringList{"--bogus"} << Action::Error << QString()
                                        << "Unknown option 'bogus'";
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLine::Action, action);
        QFETCH(QString, file);
        QFETCH(QString, output);
        const CommandLine command =
            parseCommandLine(QStringList{"quillary"} + arguments, QStringLiteral("/home/ann"));
        QCOMPARE(command.action, action);
        QCOMPARE(command.file, file);
        if (output.isEmpty())
            QCOMPARE(command.output, QString());
        else
            QVERIFY2(command.output.contains(output), qPrintable(command.output));
        QVERIFY(!command.reportStartup);
    }

    void helpLeavesTheTimingOptionOut()
    {
        const CommandLine help = parseCommandLine({"quillary", "--help"}, "/");
        QVERIFY(help.output.contains(QStringLiteral("--version")));
        QVERIFY(!help.output.contains(QStringLiteral("startup-time")));
        QVERIFY(parseCommandLine({"quillary", "--startup-time"}, "/").reportStartup);
    }

    void asksForTextOnly_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("textOnly");
        QTest::newRow("nothing") << QStringList{} << false;
        QTest::newRow("a file") << QStringList{"a.dat"} << false;
        QTest::newRow("--help") << QStringList{"--help"} << true;
        QTest::newRow("-h after a file") << QStringList{"a.dat", "-h"} << true;
        QTest::newRow("--version") << QStringList{"--version"} << true;
        QTest::newRow("a file named --help") << QStringList{"--", "--help"} << false;
        QTest::newRow("Qt's own option") << QStringList{"-style", "fusion"} << false;
    }
    void asksForTextOnly()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, textOnly);
        QCOMPARE(quillary::asksForTextOnly(QStringList{"quillary"} + arguments), textOnly);
    }

    // The program itself answers and ends, with no display to open a
    // window on.
    void programAnswersWithoutADisplay_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stdoutStart");
        QTest::newRow("--version") << "--version" << 0 << "Quillary " QUILLARY_VERSION "\n";
        QTest::newRow("--help") << "--help" << 0 << "Usage: ";
    }
    void programAnswersWithoutADisplay()
    {
        QFETCH(QString, argument);
        QFETCH(int, exitCode);
        QFETCH(QString, stdoutStart);
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(QUILLARY_EXECUTABLE), {argument});
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        QVERIFY2(out.startsWith(stdoutStart), qPrintable(out));
    }
};

QUILLARY_CORE_TEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
