#pragma once

#include <QString>
#include <functional>

namespace quillary {

class Dialogs;
class Printer;
struct PrintTarget;

// A print job: prints to the target, or answers false with the reason.
using PrintJob = std::function<bool(const PrintTarget& target, QString* error)>;

// Runs a print job on the default printer. When there is none, or the job
// fails there, the user is told why and offered to save the output as a PDF
// file instead; `what` names the output in those messages ("summary").
void deliverPrintJob(Dialogs& dialogs, Printer& printer, const QString& what, const PrintJob& job);

} // namespace quillary
