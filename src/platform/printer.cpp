#include "platform/printer.h"

#include "platform/errors.h"
#include "platform/fileservices.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QWidget>
#include <algorithm>
#include <array>
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

namespace {

// Text in a font whose characters stand side by side as they are: each in
// its own glyph, one fixed step after the other, none joined to the next,
// kerned or moved. Lines of such characters are drawn as runs of glyphs,
// a page at a time, with no text layout; blanks, which show nothing, are
// not drawn at all. A listing of thousands of pages takes a fraction of
// the time, and the page and the text read from it are the same.
class PlainTextPen {
public:
    explicit PlainTextPen(QPainter& painter)
        : painter_(painter)
        , font_(QRawFont::fromFont(painter.font()))
    {
        usable_ = font_.isValid() && laysOutOneByOne();
    }

    // Whether line can be drawn so: printable ASCII characters only.
    bool canDraw(const QString& line) const
    {
        return usable_ && std::all_of(line.begin(), line.end(), [](QChar c) {
                   return c.unicode() >= 0x20 && c.unicode() < 0x7F;
               });
    }

    // Adds line, its baseline at y, to the page's glyphs.
    void add(const QString& line, int y)
    {
        for (qsizetype i = 0; i < line.size(); ++i) {
            const char16_t c = line.at(i).unicode();
            if (c == u' ')
                continue;
            glyphs_.append(glyphOf_[c - 0x20]);
            positions_.append(QPointF(step_ * qreal(i), qreal(y)));
        }
    }

    // Draws the glyphs added since the last time.
    void flush()
    {
        if (glyphs_.isEmpty())
            return;
        QGlyphRun run;
        run.setRawFont(font_);
        run.setGlyphIndexes(glyphs_);
        run.setPositions(positions_);
        painter_.drawGlyphRun(QPointF(0, 0), run);
        glyphs_.clear();
        positions_.clear();
    }

private:
    // Lays every pair of printable ASCII characters out as QPainter's text
    // does and answers whether each came out as its own glyph, one step
    // after the one before. Fonts with ligatures or kerning, or without a
    // glyph for some character, do not; their lines take the text layout.
    bool laysOutOneByOne()
    {
        QString alphabet;
        for (char16_t c = 0x20; c < 0x7F; ++c)
            alphabet.append(QChar(c));
        const QList<quint32> own = font_.glyphIndexesForString(alphabet);
        if (own.size() != alphabet.size())
            return false;
        for (qsizetype i = 0; i < own.size(); ++i) {
            if (own[i] == 0)
                return false;
            glyphOf_[std::size_t(i)] = own[i];
        }
        QString pairs;
        for (QChar a : std::as_const(alphabet))
            for (QChar b : std::as_const(alphabet))
                pairs.append(a).append(b);
        QTextLayout layout(pairs, painter_.font(), painter_.device());
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        if (runs.size() != 1 || runs.front().rawFont() != font_)
            return false;
        const QList<quint32> glyphs = runs.front().glyphIndexes();
        const QList<QPointF> positions = runs.front().positions();
        if (glyphs.size() != pairs.size() || positions.size() != pairs.size())
            return false;
        step_ = positions[1].x() - positions[0].x();
        for (qsizetype i = 0; i < pairs.size(); ++i) {
            if (glyphs[i] != glyphOf_[std::size_t(pairs.at(i).unicode() - 0x20)]
                || qAbs(positions[i].x() - positions[0].x() - step_ * qreal(i)) > 0.01
                || positions[i].y() != positions[0].y())
                return false;
        }
        return step_ > 0;
    }

    QPainter& painter_;
    QRawFont font_;
    bool usable_ = false;
    qreal step_ = 0;
    std::array<quint32, 0x5F> glyphOf_{};
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
};

} // namespace

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
    PlainTextPen pen(painter);

    int y = 0;
    auto put = [&](const QString& text) {
        if (y > 0 && y + lineHeight > page.height()) {
            pen.flush();
            if (!printer.newPage())
                return false;
            y = 0;
        }
        if (pen.canDraw(text)) {
            pen.add(text, y + ascent);
        } else if (!text.isEmpty()) {
            pen.flush();
            painter.drawText(0, y + ascent, text);
        }
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
    pen.flush();
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
