#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace quillary {

// Comma-separated values as RFC 4180 writes them, for spreadsheets and tax
// programs: comma separators, CRLF line ends, double quotes around a field
// that holds a comma, a quote, a CR or an LF, quotes inside doubled; UTF-8
// with a byte-order mark, so that accented text reads right.
//
// A spreadsheet takes a text that begins with =, +, -, @, a tab or a CR for
// a formula and runs it. Text cells that begin so get a leading apostrophe,
// which shows the text as it is; number cells are numbers and are left alone.

struct CsvCell {
    enum class Kind { Text, Number };
    QString text;
    Kind kind = Kind::Text;

    static CsvCell number(const QString& digits) { return {digits, Kind::Number}; }
};

using CsvRow = std::vector<CsvCell>;

struct CsvTable {
    QStringList header;
    std::vector<CsvRow> rows;
};

// A text made harmless for a spreadsheet (see above).
QString csvSafeText(const QString& text);

// One field as it stands in a line, quoted where it has to be.
QString csvField(const QString& text);

// The whole file: the byte-order mark, the header line and one line per row,
// every line ended by CRLF.
QByteArray encodeCsv(const CsvTable& table);

} // namespace quillary
