#include "app/commandline.h"
#include "app/taxmain.h"
#include "forms/record/quillary.h"
#include "platform/dialogs.h"
#include "platform/fileservices.h"
#include "platform/helpbrowser.h"
#include "platform/localeservices.h"
#include "platform/printer.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

namespace {

void nameTheProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillary"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quillary"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLARY_VERSION));
}

// Prints what --help, --version or a wrong command line call for; answers
// the exit code.
int answer(const quillary::CommandLine& command)
{
    const bool error = command.action == quillary::CommandLine::Action::Error;
    std::fputs(command.output.toLocal8Bit().constData(), error ? stderr : stdout);
    if (error)
        std::fputs("Try 'quillary --help' for more.\n", stderr);
    return error ? 2 : 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // --help and --version are answered without a display.
    if (quillary::asksForTextOnly(arguments)) {
        QCoreApplication app(argc, argv);
        nameTheProgram();
        return answer(quillary::parseCommandLine(app.arguments(), QDir::currentPath()));
    }

    QApplication app(argc, argv);
    nameTheProgram();
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillary.Quillary"));
    // Qt has taken its own options (-style and the like) out by now.
    const quillary::CommandLine command =
        quillary::parseCommandLine(app.arguments(), QDir::currentPath());
    if (command.action != quillary::CommandLine::Action::Run)
        return answer(command);
    const bool reportStartup = command.reportStartup;
    QLocale::setDefault(quillary::programLocale());

    quillary::QtDialogs dialogs;
    quillary::SettingsStore settings;
    quillary::FileServices files;
    quillary::HelpBrowser help;
    quillary::Printer printer;
    quillary::AppState state({dialogs, settings, files, help, printer});

    quillary::Taxmain frame(state);
    QObject::connect(&frame, &quillary::Taxmain::endProgram, &app, [] { QCoreApplication::exit(0); });
    frame.startup(command.file);

    if (reportStartup) {
        // Once the pending paint events have run, the record is on screen.
        QTimer::singleShot(0, &frame, [&] {
            const quillary::Quillary* window = frame.firstWindow();
            std::printf("startup-ms %lld record %d of %d\n",
                        static_cast<long long>(sinceStart.elapsed()),
                        window ? window->Presrecord : 0, window ? window->Lastrecord : 0);
            std::fflush(stdout);
            // Ends like Exit: no window saves anything.
            files.closeAll();
            QCoreApplication::exit(0);
        });
    }
    return app.exec();
}
