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

int pdfPages(const QString& path)
{
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                          QRegularExpression::MultilineOption);
    return pages.match(runTool(QStringLiteral("pdfinfo"), {path})).captured(1).toInt();
}

} // namespace quillary::test
