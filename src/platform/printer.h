#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class QPainter;
class QPrinter;
class QWidget;

namespace quillary {

inline const QString kPdfFileFilter = QStringLiteral("PDF Files (*.pdf)");

// What a job that paints its own pages is given: a painter on the first
// page, the page's printable area in device pixels (its origin where the
// painter's is), the sheet, and the printer's resolution in dots per inch. newPage()
// goes on to a fresh page; false when the printer failed.
struct PageCanvas {
    QPainter& painter;
    QRect area;
    // The whole sheet in the same coordinates: the printable area may reach
    // almost to its edges.
    QRect paper;
    int dpi = 72;
    std::function<bool()> newPage;
};

// Where a print job goes: the default printer, or a PDF file.
struct PrintTarget {
    QString pdfPath; // empty: the default printer

    static PrintTarget defaultPrinter() { return {}; }
    static PrintTarget pdf(const QString& path) { return {path}; }
    bool isPdf() const { return !pdfPath.isEmpty(); }
};

// The printer, without any print dialog: jobs go straight to the system's
// default printer, or into a PDF file when the caller names one.
//
// A test derives from this class and overrides hasDefaultPrinter() and
// setUp() to send the default printer's output into PDF files of its own.
class Printer {
public:
    Printer();
    virtual ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // Whether the system has a default printer at all.
    virtual bool hasDefaultPrinter() const;

    // Renders widget and its visible children as one page, at their size on
    // screen when that fits the page and scaled down to fit otherwise.
    virtual bool printWidget(QWidget& widget, const QString& documentName,
                             const PrintTarget& target, QString* error = nullptr);

    // Prints each line as one line of text in a fixed-pitch font, starting a
    // new page when one is full. A line wider than the page goes on in the
    // next line rather than being cut off at the edge.
    virtual bool printLines(const QStringList& lines, const QString& documentName,
                            const PrintTarget& target, QString* error = nullptr);

    // Lets paint draw the pages of a document; paint answers false when
    // it could not finish.
    virtual bool printPages(const QString& documentName, const PrintTarget& target,
                            const std::function<bool(PageCanvas&)>& paint,
                            QString* error = nullptr);

    // Point size of the text listing.
    static constexpr int kListingPointSize = 10;

protected:
    // Points printer at the target. The default printer is the system's;
    // answers false when it has none.
    virtual bool setUp(QPrinter& printer, const PrintTarget& target, QString* error);

private:
    class Spool;
    // setUp, then a painter begun on the printer for a document of that name.
    bool begin(QPrinter& printer, QPainter& painter, const QString& documentName,
               const PrintTarget& target, Spool& spool, QString* error);
    // Ends the document; a PDF file takes its place only now, complete.
    bool finish(QPainter& painter, QPrinter& printer, const PrintTarget& target, Spool& spool,
                QString* error);
};

} // namespace quillary
