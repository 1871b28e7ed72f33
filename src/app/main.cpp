#include "app/appstate.h"
#include "app/taxmain.h"
#include "platform/dialogs.h"
#include "platform/fileservices.h"
#include "platform/help.h"
#include "platform/printer.h"
#include "platform/settingsstore.h"

#include <QApplication>

namespace {

class NoHelp final : public quillary::HelpService {
public:
    void showContents() override {}
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillary"));
    QApplication::setOrganizationName(QStringLiteral("Quillary"));

    quillary::QtDialogs dialogs;
    quillary::SettingsStore settings;
    quillary::FileServices files;
    NoHelp help;
    quillary::Printer printer;
    quillary::AppState state({dialogs, settings, files, help, printer});

    quillary::Taxmain frame(state);
    frame.show();
    return app.exec();
}
