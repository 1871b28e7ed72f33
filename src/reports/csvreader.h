#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace quillary {

// Reading the CSV files that banks, card issuers and payment services give
// out. Their bytes are parsed by libcsv (RFC 4180 quoting, fields with
// separators and line breaks inside quotes) under the separator and the
// encoding found here or chosen by the user.

enum class TextEncoding { Utf8, Windows1252 };

struct CsvFormat {
    TextEncoding encoding = TextEncoding::Utf8;
    char separator = ',';
    friend bool operator==(const CsvFormat&, const CsvFormat&) = default;
};

// The separators offered: comma, semicolon, tab.
inline constexpr char kCsvSeparators[] = {',', ';', '\t'};

struct CsvDetection {
    CsvFormat format;
    bool byteOrderMark = false; // UTF-8 with a byte-order mark
    bool separatorLine = false; // a first line "sep=;" named the separator
};

// UTF-8 when the file starts with the byte-order mark or is valid UTF-8,
// Windows-1252 (which covers Latin-1) otherwise. The separator named by a
// first line "sep=X", as spreadsheets write it; else the one of comma,
// semicolon and tab that splits the most rows into the same number of
// fields.
CsvDetection detectCsvFormat(const QByteArray& bytes);

struct CsvInputRow {
    int line = 0; // where the row starts in the file, from 1
    QStringList fields;
};

struct CsvText {
    // Every row that has a field with something in it; blank lines (and
    // lines of separators only) are left out.
    std::vector<CsvInputRow> rows;
    // The file has more rows than kMaxCsvRows; only those were read.
    bool tooManyRows = false;
};

// Far more rows than a data file can take: a file beyond it cannot be
// imported whole, and reading on would only fill memory.
inline constexpr int kMaxCsvRows = 100000;
// Fields of a row beyond this many are dropped: no statement has them, and
// a hostile file of separators would otherwise make millions of them.
inline constexpr int kMaxCsvFields = 256;

// The rows of the file under format. A first line "sep=X" is not a row, a
// byte-order mark is not text; fields are given without the blanks around
// them. Line breaks inside quoted fields are kept as they stand.
CsvText readCsv(const QByteArray& bytes, const CsvFormat& format);

// The name of a separator as the import window shows it.
QString separatorName(char separator);

} // namespace quillary
