#pragma once

#include "platform/printer.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace quillary::test {

// A printer for tests: what would go to the default printer is written to
// PDF files in a folder of the test's choosing, without any dialog. The test
// decides whether a default printer exists and whether it fails.
class PdfPrinter final : public Printer {
public:
    explicit PdfPrinter(const QString& folder);

    bool hasDefaultPrinter() const override { return available; }
    bool printWidget(QWidget& widget, const QString& documentName, const PrintTarget& target,
                     QString* error = nullptr) override;

    // Whether the system has a default printer.
    bool available = true;
    // When set, the default printer refuses every job with this error.
    QString failure;
    // Runs while a widget is being printed, before it is rendered.
    std::function<void(QWidget&)> whilePrinting;
    // PDF files written in place of the default printer, in order.
    QStringList documents;
    // Every job, default printer or PDF file, as the path it was written to.
    QStringList written;

protected:
    bool setUp(QPrinter& printer, const PrintTarget& target, QString* error) override;

private:
    QString folder_;
};

// The text of a PDF file as pdftotext gives it (-layout keeps the columns).
// Fails the running test when pdftotext is missing or fails.
QString pdfText(const QString& path, bool layout = true);
// The lines of such a text that hold words, each with its runs of blanks
// made one: pdftotext -layout guesses the number of blanks between words
// from their distance, one more or less at times.
QStringList textLines(const QString& text);
// The same, taken from `strips` horizontal strips of the first page one after
// another: pdftotext leaves out words when a page holds thousands of tiny
// ones, as a form printed with hundreds of rows does.
QString pdfTextInStrips(const QString& path, int strips);
// A word of a PDF page and where it starts, in points from the page's
// top left corner.
struct PdfWord {
    QString text;
    double x = 0;
    double y = 0;
    int page = 0;
};
// Every word of a PDF file, page by page in reading order (pdftotext -bbox).
QList<PdfWord> pdfWords(const QString& path);
// The number of pages of a PDF file, 0 when it cannot be read.
int pdfPages(const QString& path);

} // namespace quillary::test
