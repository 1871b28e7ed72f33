#include "reports/csv.h"

namespace quillary {

namespace {

bool startsLikeAFormula(const QString& text)
{
    if (text.isEmpty())
        return false;
    switch (text.front().unicode()) {
    case u'=':
    case u'+':
    case u'-':
    case u'@':
    case u'\t':
    case u'\r':
        return true;
    default:
        return false;
    }
}

bool needsQuotes(const QString& text)
{
    for (const QChar c : text) {
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    }
    return false;
}

// Appends one field in UTF-8, quoted where it has to be, with the
// apostrophe of a guarded text. Most texts are plain ASCII and are copied
// byte by byte; UTF-8 never uses the byte of a quote inside a longer
// character, so doubling quotes on the encoded bytes is safe.
void appendField(QByteArray& out, const QString& text, bool guard)
{
    const bool quote = needsQuotes(text);
    if (quote)
        out += '"';
    if (guard && startsLikeAFormula(text))
        out += '\'';
    bool ascii = true;
    for (const QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
        for (const QChar c : text) {
            const char b = char(c.unicode());
            out += b;
            if (b == '"')
                out += '"';
        }
    } else {
        QByteArray bytes = text.toUtf8();
        if (quote)
            bytes.replace('"', "\"\"");
        out += bytes;
    }
    if (quote)
        out += '"';
}

} // namespace

QString csvSafeText(const QString& text)
{
    return startsLikeAFormula(text) ? QLatin1Char('\'') + text : text;
}

QString csvField(const QString& text)
{
    if (!needsQuotes(text))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray encodeCsv(const CsvTable& table)
{
    QByteArray out("\xEF\xBB\xBF");
    out.reserve(qsizetype(table.rows.size() + 1) * 128);
    auto line = [&out](const auto& cells, auto text, auto guarded) {
        bool first = true;
        for (const auto& cell : cells) {
            if (!first)
                out += ',';
            first = false;
            appendField(out, text(cell), guarded(cell));
        }
        out += "\r\n";
    };
    line(table.header, [](const QString& name) -> const QString& { return name; },
         [](const QString&) { return true; });
    for (const CsvRow& row : table.rows)
        line(row, [](const CsvCell& cell) -> const QString& { return cell.text; },
             [](const CsvCell& cell) { return cell.kind == CsvCell::Kind::Text; });
    return out;
}

} // namespace quillary
