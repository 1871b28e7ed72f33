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
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    // --startup-time: print how long it took until the first record window
    // shows its record, then end. Used to measure the start-up time.
    bool reportStartup = false;
    for (int i = 1; i < argc; ++i)
        reportStartup = reportStartup || std::strcmp(argv[i], "--startup-time") == 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillary"));
    QApplication::setOrganizationName(QStringLiteral("Quillary"));
    QLocale::setDefault(quillary::programLocale());

    quillary::QtDialogs dialogs;
    quillary::SettingsStore settings;
    quillary::FileServices files;
    quillary::HelpBrowser help;
    quillary::Printer printer;
    quillary::AppState state({dialogs, settings, files, help, printer});

    quillary::Taxmain frame(state);
    QObject::connect(&frame, &quillary::Taxmain::endProgram, &app, [] { QCoreApplication::exit(0); });
    frame.startup();

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
