#include "forms/printdelivery.h"

#include "platform/dialogs.h"
#include "platform/printer.h"

namespace quillary {

void deliverPrintJob(Dialogs& dialogs, Printer& printer, const QString& what, const PrintJob& job)
{
    QString error;
    QString problem;
    if (!printer.hasDefaultPrinter())
        problem = QStringLiteral("No printer is set up on this computer, so the %1 was not printed.")
                      .arg(what);
    else if (job(PrintTarget::defaultPrinter(), &error))
        return;
    else
        problem = QStringLiteral("The %1 could not be printed: %2").arg(what, error);

    if (dialogs.message(problem + QStringLiteral(" Do you want to save it as a PDF file instead?"),
                        Buttons::YesNo, Icon::Exclamation)
        != Answer::Yes)
        return;
    const std::optional<QString> path =
        dialogs.exportFileName(QStringLiteral("Save as PDF"), kPdfFileFilter);
    if (!path || path->isEmpty())
        return;
    if (!job(PrintTarget::pdf(*path), &error))
        dialogs.message(QStringLiteral("The PDF file could not be saved: %1").arg(error),
                        Buttons::Ok, Icon::Exclamation);
}

} // namespace quillary
