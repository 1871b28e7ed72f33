#pragma once

#include "session/appstate.h"
#include "platform/fileservices.h"
#include "platform/settingsstore.h"
#include "records/datafile.h"
#include "records/taxrecord.h"
#include "support/pdfprinter.h"
#include "support/scripteddialogs.h"
#include "support/testplatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <vector>

namespace quillary::test {

// A record with the fields the totals window shows; the rest get plain
// values.
inline TaxRecord makeRecord(char kind, const QString& type, const QString& amount,
                            const QString& description, const QString& date = QStringLiteral("1/2/1996"),
                            const QString& party = QStringLiteral("Someone"),
                            const QString& invoice = QStringLiteral("A1"),
                            const QString& payMethod = QStringLiteral("Cash"))
{
    TaxRecord r;
    r.setField(Field::Kind, QString(QLatin1Char(kind)));
    r.setField(Field::Type, type);
    r.setField(Field::Amount, amount);
    r.setField(Field::Description, description);
    r.setField(Field::Date, date);
    r.setField(Field::Party, party);
    r.setField(Field::Invoice, invoice);
    r.setField(Field::PayMethod, payMethod);
    return r;
}

// Everything a totals window needs, on scripted dialogs and a PDF printer,
// in a temporary folder.
struct TotalsEnv {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    FileServices files;
    RecordingHelp help;
    PdfPrinter printer{dir.path()};
    AppState state{Platform{dialogs, settings, files, help, printer}};
    // The record window's file name, which the totals window may change.
    QString presfile = QStringLiteral("caller.dat");

    QString path(const QString& name) const { return dir.filePath(name); }

    // Writes a data file and makes it the file the next window opens.
    QString useFile(const std::vector<TaxRecord>& records,
                    const QString& name = QStringLiteral("tax.dat"))
    {
        return useBytes(encodeRecords(records), name);
    }
    QString useBytes(const QByteArray& bytes, const QString& name = QStringLiteral("tax.dat"))
    {
        const QString p = path(name);
        QFile f(p);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        state.filename = p;
        return p;
    }
    QByteArray contents(const QString& p) const
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace quillary::test
