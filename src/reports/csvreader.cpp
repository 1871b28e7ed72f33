#include "reports/csvreader.h"

#include "records/cp1252.h"

#include <QStringDecoder>

#include <csv.h>

#include <algorithm>
#include <map>

namespace quillary {

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

bool startsWithBom(const QByteArray& bytes)
{
    return bytes.startsWith(kByteOrderMark);
}

bool isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
}

// The separator a first line "sep=X" names (quoted or not), and the length
// of that line with its line end; none when the first line is no such line.
struct SeparatorLine {
    char separator = 0;
    qsizetype length = 0;
};

SeparatorLine separatorLine(QByteArrayView text)
{
    qsizetype end = 0;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r')
        ++end;
    QByteArrayView line = text.first(end).trimmed();
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"')
        line = line.sliced(1, line.size() - 2);
    if (line.size() != 5 || line.first(4).compare("sep=", Qt::CaseInsensitive) != 0)
        return {};
    const char c = line[4];
    if (std::find(std::begin(kCsvSeparators), std::end(kCsvSeparators), c)
        == std::end(kCsvSeparators))
        return {};
    qsizetype next = end;
    if (next < text.size() && text[next] == '\r')
        ++next;
    if (next < text.size() && text[next] == '\n')
        ++next;
    return {c, next};
}

int onlyBlankIsSpace(unsigned char c)
{
    return c == CSV_SPACE ? 1 : 0;
}

int blankOrTabIsSpace(unsigned char c)
{
    return c == CSV_SPACE || c == CSV_TAB ? 1 : 0;
}

// Collects libcsv's fields and rows, counting lines as it goes: libcsv
// reports every line end (CSV_REPALL_NL), so blank lines and the LF of a
// CRLF arrive as rows without fields.
struct Collector {
    TextEncoding encoding = TextEncoding::Utf8;
    int maxRows = kMaxCsvRows;
    CsvText* out = nullptr;
    QStringList fields;
    bool anyText = false;   // a field of the row holds more than blanks
    int line = 1;           // where the next row starts
    int breaksInRow = 0;    // line breaks inside the quoted fields of the row
    int lastEnd = 0;        // the character that ended the last line
    bool full = false;

    QString decode(const char* bytes, size_t size) const
    {
        if (encoding == TextEncoding::Windows1252)
            return fromCp1252(bytes, qsizetype(size));
        return QString::fromUtf8(bytes, qsizetype(size));
    }

    void field(const char* bytes, size_t size)
    {
        if (full)
            return;
        for (size_t i = 0; i < size; ++i) {
            if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == size || bytes[i + 1] != '\n')))
                ++breaksInRow;
        }
        if (fields.size() >= kMaxCsvFields)
            return;
        QString text = decode(bytes, size);
        if (!anyText) {
            for (const QChar c : text) {
                if (!c.isSpace()) {
                    anyText = true;
                    break;
                }
            }
        }
        fields.append(std::move(text));
    }

    void rowEnd(int c)
    {
        if (full)
            return;
        const bool noFields = fields.isEmpty();
        if (noFields) {
            // A blank line, or the LF that follows the CR of the last line.
            if (c != -1 && !(c == '\n' && lastEnd == '\r'))
                ++line;
            lastEnd = c;
            return;
        }
        if (anyText) {
            if (int(out->rows.size()) >= maxRows) {
                out->tooManyRows = true;
                full = true;
                return;
            }
            out->rows.push_back({line, std::move(fields)});
        }
        fields = QStringList();
        anyText = false;
        line += breaksInRow + (c == -1 ? 0 : 1);
        breaksInRow = 0;
        lastEnd = c;
    }
};

void onField(void* bytes, size_t size, void* data)
{
    static_cast<Collector*>(data)->field(static_cast<const char*>(bytes), size);
}

void onRowEnd(int c, void* data)
{
    static_cast<Collector*>(data)->rowEnd(c);
}

// The text after the byte-order mark and the "sep=" line.
QByteArrayView body(const QByteArray& bytes, int* linesBefore)
{
    QByteArrayView text(bytes);
    if (startsWithBom(bytes))
        text = text.sliced(kByteOrderMark.size());
    *linesBefore = 0;
    if (const SeparatorLine sep = separatorLine(text); sep.separator) {
        text = text.sliced(sep.length);
        *linesBefore = 1;
    }
    return text;
}

CsvText parse(QByteArrayView text, int firstLine, const CsvFormat& format, int maxRows)
{
    CsvText result;
    csv_parser parser;
    if (csv_init(&parser, CSV_REPALL_NL) != 0)
        return result;
    csv_set_delim(&parser, static_cast<unsigned char>(format.separator));
    // A tab that separates fields is no blank to be trimmed.
    csv_set_space_func(&parser, format.separator == '\t' ? onlyBlankIsSpace : blankOrTabIsSpace);

    Collector collector;
    collector.encoding = format.encoding;
    collector.maxRows = maxRows;
    collector.out = &result;
    collector.line = firstLine;
    // In pieces, so that a file of too many rows stops being read soon.
    constexpr qsizetype kPiece = 1 << 16;
    for (qsizetype at = 0; at < text.size() && !collector.full; at += kPiece) {
        const QByteArrayView piece = text.sliced(at, std::min(kPiece, text.size() - at));
        if (csv_parse(&parser, piece.data(), size_t(piece.size()), onField, onRowEnd, &collector)
            != size_t(piece.size()))
            break; // out of memory: what was read so far is all there is
    }
    if (!collector.full)
        csv_fini(&parser, onField, onRowEnd, &collector);
    csv_free(&parser);
    return result;
}

// How well separator splits the first rows into a table: the number of
// rows of two fields or more that have the most common field count, times
// that count.
long long tableScore(QByteArrayView text, char separator)
{
    constexpr qsizetype kSample = 1 << 16;
    constexpr int kSampleRows = 200;
    const CsvText sample = parse(text.first(std::min(kSample, text.size())), 1,
                                 {TextEncoding::Windows1252, separator}, kSampleRows);
    std::map<int, int> counts;
    for (const CsvInputRow& row : sample.rows) {
        if (row.fields.size() >= 2)
            ++counts[int(row.fields.size())];
    }
    long long best = 0;
    for (const auto& [fields, rows] : counts)
        best = std::max(best, (long long)fields * rows);
    return best;
}

} // namespace

CsvDetection detectCsvFormat(const QByteArray& bytes)
{
    CsvDetection result;
    result.byteOrderMark = startsWithBom(bytes);
    result.format.encoding = result.byteOrderMark || isValidUtf8(bytes) ? TextEncoding::Utf8
                                                                        : TextEncoding::Windows1252;
    QByteArrayView text(bytes);
    if (result.byteOrderMark)
        text = text.sliced(kByteOrderMark.size());
    if (const SeparatorLine sep = separatorLine(text); sep.separator) {
        result.format.separator = sep.separator;
        result.separatorLine = true;
        return result;
    }
    long long best = 0;
    for (const char separator : kCsvSeparators) {
        const long long score = tableScore(text, separator);
        if (score > best) {
            best = score;
            result.format.separator = separator;
        }
    }
    return result;
}

CsvText readCsv(const QByteArray& bytes, const CsvFormat& format)
{
    int linesBefore = 0;
    const QByteArrayView text = body(bytes, &linesBefore);
    return parse(text, 1 + linesBefore, format, kMaxCsvRows);
}

QString separatorName(char separator)
{
    switch (separator) {
    case ',': return QStringLiteral("Comma");
    case ';': return QStringLiteral("Semicolon");
    case '\t': return QStringLiteral("Tab");
    default: return QString(QLatin1Char(separator));
    }
}

} // namespace quillary
