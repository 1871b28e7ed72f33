#include "forms/record/quillary.h"

#include "forms/import/csvimportwindow.h"
#include "platform/dialogs.h"
#include "platform/fileservices.h"
#include "records/maintenance.h"
#include "reports/csvimport.h"

#include <QDateTime>
#include <QFileInfo>

namespace quillary {

namespace {

// Far larger than the statement of a year; a file beyond it is no
// statement, and reading it would only fill memory.
constexpr qint64 kMaxImportBytes = 64 * 1024 * 1024;

// The whole of an ordinary file: a folder, a device or a named pipe (which
// would wait for a writer) is not read.
bool readStatement(const QString& path, QByteArray& bytes, QString* error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = QStringLiteral("there is no such file");
        return false;
    }
    if (!info.isFile()) {
        *error = QStringLiteral("it is not an ordinary file");
        return false;
    }
    auto tooLarge = [error](qint64 size) {
        *error = QStringLiteral("at %1 MB it is far larger than a statement")
                     .arg(size / (1024 * 1024));
        return false;
    };
    if (info.size() > kMaxImportBytes)
        return tooLarge(info.size());
    if (!FileServices::readFile(path, bytes, error))
        return false;
    if (bytes.size() > kMaxImportBytes)
        return tooLarge(bytes.size());
    return true;
}

QString records(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 record") : QStringLiteral("%1 records").arg(QLocale().toString(n));
}

QString rows(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(QLocale().toString(n));
}

} // namespace

void Quillary::importcsv_Click()
{
    Dialogs& dialogs = state_.platform.dialogs;
    auto tell = [&dialogs](const QString& text) {
        dialogs.message(text, Buttons::Ok, Icon::Exclamation, kImportTitle);
    };
    // What is on the form is in the file before the rows join it.
    if (!saveStep())
        return;
    const std::optional<QString> path = dialogs.importFileName(kImportTitle, kImportFileFilter);
    if (!path)
        return;

    QByteArray bytes;
    QString error;
    if (!readStatement(*path, bytes, &error)) {
        tell(QStringLiteral("The file '%1' could not be read: %2.\n\nNothing was imported.")
                 .arg(*path, error));
        return;
    }
    std::vector<TaxRecord> existing;
    if (!file_.readAll(existing)) {
        tell(QStringLiteral("The records of '%1' could not be read to compare the rows with "
                            "them.\n\nNothing was imported.")
                 .arg(presfile));
        return;
    }
    CsvImport import(std::move(bytes), existing);
    if (import.text().tooManyRows) {
        tell(QStringLiteral("The file '%1' holds more than %2 rows, more than a data file can "
                            "take.\n\nNothing was imported.")
                 .arg(*path, QLocale().toString(kMaxCsvRows)));
        return;
    }
    if (import.table().rows.empty()) {
        tell(QStringLiteral("The file '%1' holds no rows to import.").arg(*path));
        return;
    }

    CsvImportWindow window(import, *path, int(existing.size()), this->window());
    dialogs.runModal(window);
    if (window.result() != QDialog::Accepted)
        return;
    const std::vector<TaxRecord> added = import.records();
    if (added.empty() || !fileInPlace())
        return;

    const int before = file_.recordCount();
    const QString backup =
        importBackupPath(QFileInfo(presfile).absoluteFilePath(), QDateTime::currentDateTime());
    bool backupKept = false;
    if (!appendRecords(file_, added, backup, &error, &backupKept)) {
        if (backupKept) {
            tell(QStringLiteral("The rows were imported, but the file '%1' could not be opened "
                                "again: %2\n\nThe file as it was before is kept in '%3'. Close "
                                "this window and open the file anew.")
                     .arg(presfile, error, backup));
            Lastrecord = 0;
            Presrecord = 0;
        } else {
            tell(QStringLiteral("Nothing was imported: %1\n\nThe file '%2' is as it was.")
                     .arg(error, presfile));
        }
        Buttonupd();
        return;
    }
    adding_ = false;
    Lastrecord = file_.recordCount();
    Presrecord = before + 1;
    uprec();
    const ImportCounts counts = import.counts();
    const QString where = added.size() == 1
        ? QStringLiteral("as record %1").arg(QLocale().toString(before + 1))
        : QStringLiteral("as records %1 to %2")
              .arg(QLocale().toString(before + 1), QLocale().toString(Lastrecord));
    dialogs.message(QStringLiteral("%1 imported from '%2' %3 of '%4'; %5 skipped.\n\nThe file "
                                   "as it was before the import is kept in '%6'.")
                        .arg(records(qsizetype(added.size())), QFileInfo(*path).fileName(), where,
                             presfile, rows(counts.skipped()), backup),
                    Buttons::Ok, Icon::Information, kImportTitle);
}

} // namespace quillary
