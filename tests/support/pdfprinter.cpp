#include "support/pdfprinter.h"

#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace quillary::test {

namespace {

// Runs a poppler tool and answers its standard output.
QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("%1 %2 failed: %3 (poppler-utils installed?)")
                                    .arg(program, arguments.join(u' '),
                                         QString::fromLocal8Bit(process.readAllStandardError())
                                             + process.errorString())),
                     __FILE__, __LINE__);
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

PdfPrinter::PdfPrinter(const QString& folder)
    : folder_(folder)
{
}

bool PdfPrinter::printWidget(QWidget& widget, const QString& documentName,
                             const PrintTarget& target, QString* error)
{
    if (whilePrinting)
        whilePrinting(widget);
    return Printer::printWidget(widget, documentName, target, error);
}

bool PdfPrinter::setUp(QPrinter& printer, const PrintTarget& target, QString* error)
{
    if (target.isPdf()) {
        written << target.pdfPath;
        return Printer::setUp(printer, target, error);
    }
    if (!available || !failure.isEmpty()) {
        if (error)
            *error = available ? failure : QStringLiteral("No printer is set up on this computer.");
        return false;
    }
    const QString path =
        QDir(folder_).filePath(QStringLiteral("printed-%1.pdf").arg(documents.size() + 1));
    documents << path;
    written << path;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
}

QString pdfText(const QString& path, bool layout)
{
    QStringList arguments;
    if (layout)
        arguments << QStringLiteral("-layout");
    arguments << path << QStringLiteral("-");
    return runTool(QStringLiteral("pdftotext"), arguments);
}

QStringList textLines(const QString& text)
{
    QStringList out;
    for (const QString& line : text.split(u'\n')) {
        const QString words = line.simplified();
        if (!words.isEmpty())
            out << words;
    }
    return out;
}

QString pdfTextInStrips(const QString& path, int strips)
{
    static const QRegularExpression size(QStringLiteral("^Page size:\\s+([0-9.]+) x ([0-9.]+)"),
                                         QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = size.match(runTool(QStringLiteral("pdfinfo"), {path}));
    const int width = int(m.captured(1).toDouble()) + 1;
    const int height = int(m.captured(2).toDouble()) + 1;
    QString text;
    const int step = (height + strips - 1) / std::max(1, strips);
    for (int y = 0; y < height; y += step) {
        text += runTool(QStringLiteral("pdftotext"),
                        {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-x"),
                         QStringLiteral("0"), QStringLiteral("-y"), QString::number(y),
                         QStringLiteral("-W"), QString::number(width), QStringLiteral("-H"),
                         QString::number(step), QStringLiteral("-f"), QStringLiteral("1"),
                         QStringLiteral("-l"), QStringLiteral("1"), path, QStringLiteral("-")});
    }
    return text;
}

QList<PdfWord> pdfWords(const QString& path)
{
    static const QRegularExpression page(QStringLiteral("<page "));
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    QList<PdfWord> words;
    int pageNo = 0;
    const QString html = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path,
                                                                QStringLiteral("-")});
    for (const QString& line : html.split(u'\n')) {
        if (line.contains(page))
            ++pageNo;
        const QRegularExpressionMatch m = word.match(line);
        if (m.hasMatch())
            words.append({m.captured(3), m.captured(1).toDouble(), m.captured(2).toDouble(),
                          pageNo});
    }
    return words;
}

int pdfPages(const QString& path)
{
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                          QRegularExpression::MultilineOption);
    return pages.match(runTool(QStringLiteral("pdfinfo"), {path})).captured(1).toInt();
}

} // namespace quillary::test
