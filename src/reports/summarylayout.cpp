#include "reports/summarylayout.h"

namespace quillary {

namespace {

QString recordsText(int count, const QLocale& locale)
{
    return count == 1 ? QStringLiteral("1 record")
                      : QStringLiteral("%1 records").arg(locale.toString(count));
}

} // namespace

std::vector<SummaryRow> summaryRows(const Summary& summary, bool hideEmpty, const QLocale& locale)
{
    using Style = SummaryRow::Style;
    std::vector<SummaryRow> rows;
    rows.reserve(64);
    for (const SummarySection& section : summary.sections) {
        const QString title = sectionTitle(section.kind);
        SummaryRow heading;
        heading.style = Style::SectionHeading;
        heading.label = title;
        rows.push_back(heading);
        for (const SummaryLine& line : section.lines) {
            if (hideEmpty && line.records == 0)
                continue;
            SummaryRow row;
            row.style = !line.listed ? Style::Unlisted
                : line.records == 0  ? Style::EmptyCategory
                                     : Style::Category;
            row.label = line.type.isEmpty() ? kNoType : line.type;
            if (!line.listed)
                row.note = kUnlistedNote;
            row.records = locale.toString(line.records);
            row.figure = figureText(line.total, locale);
            row.share = line.share;
            rows.push_back(row);
        }
        rows.push_back({Style::SectionTotal, QStringLiteral("Total ") + title.toLower(), QString(),
                        locale.toString(section.records), figureText(section.total, locale)});
    }
    const auto& s = summary.sections;
    rows.push_back({Style::Total, QStringLiteral("Total income"), QString(),
                    locale.toString(s[1].records + s[3].records),
                    figureText(summary.income, locale)});
    rows.push_back({Style::Total, QStringLiteral("Total expenses"), QString(),
                    locale.toString(s[0].records + s[2].records),
                    figureText(summary.expenses, locale)});
    rows.push_back({Style::Total, QStringLiteral("Business result"),
                    QStringLiteral("income less expense"), QString(),
                    figureText(summary.businessResult, locale)});
    return rows;
}

FigureParts splitFigure(const QString& figure, const QLocale& locale)
{
    const qsizetype at = figure.indexOf(locale.decimalPoint());
    if (at < 0)
        return {figure, QString()};
    return {figure.left(at), figure.mid(at)};
}

QStringList notCountedHeaders()
{
    return {QStringLiteral("Record"), QStringLiteral("Date"), QStringLiteral("Amount"),
            QStringLiteral("Description"), QStringLiteral("Why not counted")};
}

QStringList notCountedCells(const NotCountedRecord& record)
{
    return {QString::number(record.number), record.date, record.amount, record.description,
            record.reasonText()};
}

QString notCountedTitle(const Summary& summary)
{
    const std::size_t n = summary.notCounted.size();
    if (n == 0)
        return QStringLiteral("Not counted: none");
    return QStringLiteral("Not counted: ") + recordsText(int(n), QLocale());
}

QString countsText(const Summary& summary, int recordsInFile)
{
    const QLocale locale;
    return QStringLiteral("%1: %2 counted, %3 not counted, of %4 in the file.")
        .arg(yearText(summary.year), recordsText(summary.counted, locale),
             locale.toString(qsizetype(summary.notCounted.size())),
             recordsText(recordsInFile, locale));
}

SummaryPrintout summaryPrintout(const Summary& summary, bool hideEmpty, const QString& file,
                                QDate printed, const QLocale& locale)
{
    SummaryPrintout out;
    out.title = kSummaryTitle + QStringLiteral(": ") + yearText(summary.year);
    out.heading << QStringLiteral("File: ") + file
                << QStringLiteral("Year: ") + yearText(summary.year)
                       + QStringLiteral("        Printed: ") + shortDate(printed, locale);
    out.rows = summaryRows(summary, hideEmpty, locale);
    out.notCountedTitle = notCountedTitle(summary);
    out.notCounted.reserve(summary.notCounted.size());
    for (const NotCountedRecord& record : summary.notCounted)
        out.notCounted.push_back(notCountedCells(record));
    return out;
}

std::vector<std::size_t> pageStarts(const std::vector<double>& heights,
                                    const std::vector<bool>& keepWithNext, double pageHeight)
{
    std::vector<std::size_t> starts{0};
    double y = 0;
    for (std::size_t i = 0; i < heights.size(); ++i) {
        const double h = heights[i];
        bool breakHere = y > 0 && y + h > pageHeight;
        if (!breakHere && y > 0 && i < keepWithNext.size() && keepWithNext[i]
            && i + 1 < heights.size() && y + h + heights[i + 1] > pageHeight
            && h + heights[i + 1] <= pageHeight)
            breakHere = true;
        if (breakHere) {
            starts.push_back(i);
            y = 0;
        }
        y += h;
    }
    return starts;
}

} // namespace quillary
