#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace quillary::test {

// The rows a real CSV parser (Python's csv module, strict, UTF-8 with or
// without byte-order mark) reads from a file or from bytes; empty with a
// warning when Python cannot read it.
QList<QStringList> readCsvWithPython(const QString& path);
QList<QStringList> readCsvWithPython(const QByteArray& csv);

} // namespace quillary::test
