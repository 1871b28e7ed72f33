#pragma once

#include "reports/summary.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <vector>

namespace quillary {

// One line of the summary as the window shows it and the printout prints it.
struct SummaryRow {
    enum class Style {
        SectionHeading, // the kind's title
        Category,       // a category with records
        EmptyCategory,  // a category without records, shown quieter
        Unlisted,       // a type found in records that is not in the list
        SectionTotal,
        Total,          // total income, total expenses, business result
    };
    Style style = Style::Category;
    QString label;
    QString note;    // beside the label, e.g. for a type outside the list
    QString records; // number of records, empty where there is none
    QString figure;  // the total as the totals window writes it
    double share = -1; // length of the bar, 0 to 1; negative: no bar
};

inline const QString kUnlistedNote = QStringLiteral("not a category of the list");
// The label of records whose type field is blank.
inline const QString kNoType = QStringLiteral("(no type)");

// The sections in order, then the totals after them. With hideEmpty the
// categories without records are left out.
std::vector<SummaryRow> summaryRows(const Summary& summary, bool hideEmpty,
                                    const QLocale& locale = QLocale());

// A figure cut where its decimal separator is, so that figures can be lined
// up on it: "12.5" gives "12" and ".5"; a figure without one is all whole.
struct FigureParts {
    QString whole;
    QString fraction; // with the separator
};
FigureParts splitFigure(const QString& figure, const QLocale& locale = QLocale());

// The columns of the not-counted list, in order.
enum NotCountedColumn { NcNumber, NcDate, NcAmount, NcDescription, NcReason, kNotCountedColumns };
QStringList notCountedHeaders();
QStringList notCountedCells(const NotCountedRecord& record);

// "Not counted: none", "Not counted: 1 record", "Not counted: 3 records".
QString notCountedTitle(const Summary& summary);
// How many records the figures hold and how many were left out.
QString countsText(const Summary& summary, int recordsInFile);

// The printed summary: a heading, the rows and the records not counted.
struct SummaryPrintout {
    QString title;
    QStringList heading;
    std::vector<SummaryRow> rows;
    QString notCountedTitle;
    std::vector<QStringList> notCounted; // cells in NotCountedColumn order
};

inline const QString kSummaryTitle = QStringLiteral("Tax Year Summary");

SummaryPrintout summaryPrintout(const Summary& summary, bool hideEmpty, const QString& file,
                                QDate printed, const QLocale& locale = QLocale());

// Splits blocks of the given heights into pages of pageHeight: answers the
// index of the first block of every page. A block is never split; a block
// that keeps with the next one (a heading) does not end a page when the next
// one can go with it; a block higher than a page has a page of its own.
std::vector<std::size_t> pageStarts(const std::vector<double>& heights,
                                    const std::vector<bool>& keepWithNext, double pageHeight);

} // namespace quillary
