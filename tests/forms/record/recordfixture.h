#pragma once

// Shared helpers of the record window tests: a platform built from scripted
// parts, an MDI area to open windows in, and sample data files.

#include "session/appstate.h"
#include "forms/record/quillary.h"
#include "forms/record/recordwindows.h"
#include "platform/fileservices.h"
#include "platform/printer.h"
#include "platform/settingsstore.h"
#include "records/taxrecord.h"
#include "support/scripteddialogs.h"
#include "support/testplatform.h"

#include <QFile>
#include <QMdiArea>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace quillary::test {

struct RecordEnv {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    FileServices files;
    RecordingHelp help;
    Printer printer;
    AppState state{Platform{dialogs, settings, files, help, printer}};
    QMdiArea area;
    QuillaryWindows windows{state, area};

    RecordEnv()
    {
        area.resize(800, 600);
        area.show();
    }
    ~RecordEnv()
    {
        // Windows go before the services they use.
        for (QMdiSubWindow* sub : area.subWindowList())
            delete sub;
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    Quillary* open(const QString& file)
    {
        state.filename = file;
        return qobject_cast<Quillary*>(windows.load());
    }
};

inline TaxRecord makeRecord(char kind, const QString& date, const QString& amount,
                            const QString& invoice, const QString& pay, const QString& type,
                            const QString& party, const QString& description)
{
    TaxRecord r;
    QByteArray bytes = r.bytes();
    bytes[0] = kind;
    r = TaxRecord::fromBytes(bytes);
    r.setField(Field::Date, date);
    r.setField(Field::Amount, amount);
    r.setField(Field::Invoice, invoice);
    r.setField(Field::PayMethod, pay);
    r.setField(Field::Type, type);
    r.setField(Field::Party, party);
    r.setField(Field::Description, description);
    return r;
}

// Three records of three kinds, as a user would have entered them.
inline std::vector<TaxRecord> sampleRecords()
{
    return {
        makeRecord('0', QStringLiteral("3/14/2024"), QStringLiteral("125.4"),
                   QStringLiteral("A-1041"), QStringLiteral("Check No: 1041"),
                   QStringLiteral("Medical and Dental Fees"), QStringLiteral("Dr. Meyer"),
                   QStringLiteral("Check-up")),
        makeRecord('2', QStringLiteral("4/2/2024"), QStringLiteral("89.99"),
                   QStringLiteral("7731"), QStringLiteral("Visa/Mastercard"),
                   QStringLiteral("Supplies"), QStringLiteral("Office Depot"),
                   QStringLiteral("Printer paper")),
        makeRecord('1', QStringLiteral("4/30/2024"), QStringLiteral("2500"), QString(),
                   QStringLiteral("Account"), QStringLiteral("Wages, Salaries, Tips, etc."),
                   QStringLiteral("Acme Tools Inc."), QStringLiteral("April salary")),
    };
}

inline QByteArray bytesOf(const std::vector<TaxRecord>& records)
{
    QByteArray out;
    for (const TaxRecord& r : records)
        out += r.bytes();
    return out;
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

template <class T>
T* find(QObject* parent, const char* name)
{
    return parent->findChild<T*>(QString::fromLatin1(name));
}

} // namespace quillary::test
