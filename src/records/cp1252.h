#pragma once

#include <QByteArray>
#include <QString>

namespace quillary {

// Field text is Windows-1252, the code page the data files come from, so a
// file moves between Windows and Linux unchanged. Every byte decodes to some
// character; a character the code page cannot hold encodes as '?'.
QByteArray toCp1252(const QString& text);
QString fromCp1252(const char* bytes, qsizetype size);
inline QString fromCp1252(const QByteArray& bytes)
{
    return fromCp1252(bytes.constData(), bytes.size());
}

} // namespace quillary
