#include "platform/printer.h"

#include "platform/errors.h"
#include "platform/fileservices.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <optional>

namespace quillary {

namespace {

QString failureText(const PrintTarget& target)
{
    return target.isPdf()
        ? QStringLiteral("The file '%1' could not be written.").arg(target.pdfPath)
        : QStringLiteral("The printer did not accept the document.");
}

QFont listingFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!QFontInfo(font).fixedPitch()) {
        font.setFamily(QStringLiteral("monospace"));
        font.setStyleHint(QFont::TypeWriter);
    }
    font.setPointSize(Printer::kListingPointSize);
    return font;
}

// The page's printable area in device pixels, with its origin where the
// painter's origin is.
QRect printableArea(const QPrinter& printer)
{
    return QRect(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
}

} // namespace

// A PDF file is drawn into a file of its own first, and takes its place
// under its name only once it is complete and written through to the disk.
// Written straight to its name, it would be left cut short on a full disk
// and yet reported as saved: the PDF writer does not report failed writes.
class Printer::Spool {
public:
    bool redirect(QPrinter& printer, QString* error)
    {
        if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
            return true;
        dir_.emplace();
        if (!dir_->isValid()) {
            setError(error, QStringLiteral("No temporary file could be made for the document: %1")
                                .arg(dir_->errorString()));
            return false;
        }
        target_ = printer.outputFileName();
        printer.setOutputFileName(spoolPath());
        return true;
    }

    bool deliver(QString* error) const
    {
        if (target_.isEmpty())
            return true;
        QFile spooled(spoolPath());
        QByteArray pdf;
        if (spooled.open(QIODevice::ReadOnly))
            pdf = spooled.readAll();
        // Every PDF ends with this mark; a document cut short does not.
        if (!pdf.trimmed().endsWith("%%EOF")) {
            setError(error, QStringLiteral("The document could not be written in full; the "
                                           "disk that holds the temporary files may be full."));
            return false;
        }
        return FileServices().writeFileAtomically(target_, pdf, error);
    }

private:
    QString spoolPath() const { return dir_->filePath(QStringLiteral("document.pdf")); }

    std::optional<QTemporaryDir> dir_;
    QString target_;
};

Printer::Printer() = default;
Printer::~Printer() = default;

bool Printer::hasDefaultPrinter() const
{
    return !QPrinterInfo::defaultPrinter().isNull();
}

bool Printer::setUp(QPrinter& printer, const PrintTarget& target, QString* error)
{
    if (target.isPdf()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target.pdfPath);
        return true;
    }
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        setError(error, QStringLiteral("No printer is set up on this computer."));
        return false;
    }
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(info.printerName());
    if (!printer.isValid()) {
        setError(error, QStringLiteral("The printer '%1' cannot be used.").arg(info.printerName()));
        return false;
    }
    return true;
}

bool Printer::begin(QPrinter& printer, QPainter& painter, const QString& documentName,
                    const PrintTarget& target, Spool& spool, QString* error)
{
    if (!setUp(printer, target, error) || !spool.redirect(printer, error))
        return false;
    printer.setDocName(documentName);
    if (!painter.begin(&printer)) {
        setError(error, failureText(target));
        return false;
    }
    return true;
}

bool Printer::finish(QPainter& painter, QPrinter& printer, const PrintTarget& target,
                     Spool& spool, QString* error)
{
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        setError(error, failureText(target));
        return false;
    }
    QString why;
    if (!spool.deliver(&why)) {
        setError(error, failureText(target) + u' ' + why);
        return false;
    }
    return true;
}

bool Printer::printWidget(QWidget& widget, const QString& documentName, const PrintTarget& target,
                          QString* error)
{
    QPrinter printer(QPrinter::HighResolution);
    QPainter painter;
    Spool spool;
    if (!begin(printer, painter, documentName, target, spool, error))
        return false;
    const QRect page = printableArea(printer);
    const QSize size = widget.size();
    if (size.width() > 0 && size.height() > 0) {
        const qreal natural = qreal(printer.resolution()) / widget.logicalDpiX();
        const qreal fit = std::min(qreal(page.width()) / size.width(),
                                   qreal(page.height()) / size.height());
        const qreal scale = std::min(natural, fit);
        // Qt renders a widget straight onto a printer only as one bitmap at
        // the printer's resolution: blurred text and a huge image. Recorded
        // into a picture first, it prints as lines and text.
        QPicture picture;
        {
            QPainter recorder(&picture);
            widget.render(&recorder, QPoint(), QRegion(),
                          QWidget::DrawWindowBackground | QWidget::DrawChildren);
        }
        // A picture is resolution independent: played on the printer it is
        // already enlarged from the screen's resolution to the printer's.
        const qreal played = qreal(printer.logicalDpiX()) / picture.logicalDpiX();
        painter.scale(scale / played, scale / played);
        painter.drawPicture(0, 0, picture);
    }
    return finish(painter, printer, target, spool, error);
}

bool Printer::printLines(const QStringList& lines, const QString& documentName,
                         const PrintTarget& target, QString* error)
{
    QPrinter printer(QPrinter::HighResolution);
    QPainter painter;
    Spool spool;
    if (!begin(printer, painter, documentName, target, spool, error))
        return false;
    painter.setFont(listingFont());
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = std::max(1, metrics.lineSpacing());
    const int ascent = metrics.ascent();
    const QRect page = printableArea(printer);
    const int charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
    const qsizetype perLine = std::max(1, page.width() / charWidth);

    int y = 0;
    auto put = [&](const QString& text) {
        if (y > 0 && y + lineHeight > page.height()) {
            if (!printer.newPage())
                return false;
            y = 0;
        }
        if (!text.isEmpty())
            painter.drawText(0, y + ascent, text);
        y += lineHeight;
        return true;
    };
    for (const QString& line : lines) {
        bool ok = true;
        if (line.size() <= perLine) {
            ok = put(line);
        } else {
            for (qsizetype from = 0; ok && from < line.size(); from += perLine)
                ok = put(line.mid(from, perLine));
        }
        if (!ok) {
            painter.end();
            setError(error, failureText(target));
            return false;
        }
    }
    return finish(painter, printer, target, spool, error);
}

bool Printer::printPages(const QString& documentName, const PrintTarget& target,
                         const std::function<bool(PageCanvas&)>& paint, QString* error)
{
    QPrinter printer(QPrinter::HighResolution);
    QPainter painter;
    Spool spool;
    if (!begin(printer, painter, documentName, target, spool, error))
        return false;
    const QPageLayout layout = printer.pageLayout();
    const int dpi = printer.resolution();
    const QRect paintRect = layout.paintRectPixels(dpi);
    PageCanvas canvas{painter, printableArea(printer),
                      layout.fullRectPixels(dpi).translated(-paintRect.topLeft()), dpi,
                      [&printer] { return printer.newPage(); }};
    if (!paint(canvas)) {
        painter.end();
        setError(error, failureText(target));
        return false;
    }
    return finish(painter, printer, target, spool, error);
}

} // namespace quillary
