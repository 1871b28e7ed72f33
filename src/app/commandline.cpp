#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

namespace quillary {

namespace {

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption startupTime{QStringLiteral("startup-time")};

    Parser()
    {
        parser.setApplicationDescription(
            QStringLiteral("Keeps the income and expense records you need at tax time."));
        parser.addPositionalArgument(
            QStringLiteral("FILE"),
            QStringLiteral("The data file to open; without it the most recent one opens."),
            QStringLiteral("[FILE]"));
        startupTime.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(startupTime);
    }
};

} // namespace

CommandLine parseCommandLine(const QStringList& arguments, const QString& currentFolder)
{
    Parser p;
    CommandLine result;
    if (!p.parser.parse(arguments)) {
        result.action = CommandLine::Action::Error;
        result.output = p.parser.errorText() + QLatin1Char('\n');
        return result;
    }
    if (p.parser.isSet(p.help)) {
        result.action = CommandLine::Action::Help;
        result.output = p.parser.helpText();
        return result;
    }
    if (p.parser.isSet(p.version)) {
        result.action = CommandLine::Action::Version;
        result.output = QCoreApplication::applicationName() + QLatin1Char(' ')
            + QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return result;
    }
    const QStringList files = p.parser.positionalArguments();
    if (files.size() > 1) {
        result.action = CommandLine::Action::Error;
        result.output = QStringLiteral("Only one FILE can be opened at the start.\n");
        return result;
    }
    result.reportStartup = p.parser.isSet(p.startupTime);
    if (!files.isEmpty() && !files.first().isEmpty())
        result.file = QDir::cleanPath(QDir(currentFolder).absoluteFilePath(files.first()));
    return result;
}

bool asksForTextOnly(const QStringList& arguments)
{
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            return false;
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")
            || argument == QLatin1String("-?") || argument == QLatin1String("--help-all")
            || argument == QLatin1String("-v") || argument == QLatin1String("--version"))
            return true;
    }
    return false;
}

} // namespace quillary
