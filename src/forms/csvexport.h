#pragma once

#include "reports/csv.h"

#include <QString>

namespace quillary {

class Dialogs;
class FileServices;

inline const QString kExportTitle = QStringLiteral("Export to CSV");
inline const QString kCsvFileFilter = QStringLiteral("CSV Files (*.csv)");
inline const QString kExportMenuCaption = QStringLiteral("E&xport to CSV...");

// "Export to CSV...": asks for a file name and writes the table there
// whole or not at all; a failure leaves any earlier file of that name as
// it was and is told with its reason. what names what went out, as in
// "12 records". Cancel does nothing.
void exportCsv(Dialogs& dialogs, FileServices& files, const CsvTable& table,
               const QString& what);

} // namespace quillary
