#pragma once

// The totals window tests run on the test platform, with the record
// window's file name that the totals window may change.

#include "records/datafile.h"
#include "records/taxrecord.h"
#include "support/records.h"
#include "support/testplatform.h"

#include <QObject>
#include <vector>

namespace quillary::test {

// A named control of a window; a test without it cannot go on, so a
// missing one ends the test program with its name.
template <typename T>
T* child(QObject& w, const char* name)
{
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("no child %s", name);
    return c;
}

struct TotalsEnv : TestPlatform {
    // The record window's file name, which the totals window may change.
    QString presfile = QStringLiteral("caller.dat");

    // Writes a data file and makes it the file the next window opens.
    QString useFile(const std::vector<TaxRecord>& records,
                    const QString& name = QStringLiteral("tax.dat"))
    {
        return useBytes(encodeRecords(records), name);
    }
    QString useBytes(const QByteArray& bytes, const QString& name = QStringLiteral("tax.dat"))
    {
        const QString p = path(name);
        writeBytes(p, bytes);
        state.filename = p;
        return p;
    }
};

} // namespace quillary::test
