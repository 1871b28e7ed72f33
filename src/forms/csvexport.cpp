#include "forms/csvexport.h"

#include "platform/dialogs.h"
#include "platform/fileservices.h"

namespace quillary {

void exportCsv(Dialogs& dialogs, FileServices& files, const CsvTable& table,
               const QString& what)
{
    const std::optional<QString> path = dialogs.exportFileName(kExportTitle, kCsvFileFilter);
    if (!path)
        return;
    QString error;
    if (!files.writeFileAtomically(*path, encodeCsv(table), &error)) {
        dialogs.message(QStringLiteral("The CSV file '%1' could not be written: %2.\n\nNothing "
                                       "was exported; an earlier file of that name is as it "
                                       "was.")
                            .arg(*path, error),
                        Buttons::Ok, Icon::Exclamation, kExportTitle);
        return;
    }
    dialogs.message(QStringLiteral("%1 exported to '%2'.").arg(what, *path), Buttons::Ok,
                    Icon::Information, kExportTitle);
}

} // namespace quillary
