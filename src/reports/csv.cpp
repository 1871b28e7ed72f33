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

void appendLine(QString& out, const QStringList& fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += u',';
        out += csvField(fields[i]);
    }
    out += QStringLiteral("\r\n");
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
    QString out;
    out.reserve(qsizetype(table.rows.size() + 1) * 96);
    QStringList header;
    for (const QString& name : table.header)
        header << csvSafeText(name);
    appendLine(out, header);
    QStringList fields;
    for (const CsvRow& row : table.rows) {
        fields.clear();
        for (const CsvCell& cell : row)
            fields << (cell.kind == CsvCell::Kind::Number ? cell.text : csvSafeText(cell.text));
        appendLine(out, fields);
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

} // namespace quillary
