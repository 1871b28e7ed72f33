#pragma once

// Platform services for the benchmarks of windows: no box is expected, no
// help is opened, and the default printer writes into one PDF file.

#include "platform/dialogs.h"
#include "platform/fileservices.h"
#include "platform/help.h"
#include "platform/printer.h"
#include "platform/settingsstore.h"
#include "records/datafile.h"
#include "session/appstate.h"

#include <QFile>
#include <QPrinter>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <optional>
#include <vector>

namespace quillary::bench {

// Any box would mean the run went wrong: report it and answer No.
class NoDialogs final : public Dialogs {
public:
    Answer message(const QString& text, Buttons, Icon, const QString&) override
    {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(text));
        failed = true;
        return Answer::No;
    }
    QString input(const QString&, const QString&) override { return {}; }
    int choose(const QString& text, const QStringList& choices, Icon, const QString&) override
    {
        std::fprintf(stderr, "unexpected box: %s\n", qPrintable(text));
        failed = true;
        return int(choices.size()) - 1;
    }
    std::optional<QString> openFileName(const QString&) override { return std::nullopt; }
    std::optional<QString> saveFileName(const QString&) override { return std::nullopt; }
    void runModal(QDialog&) override {}
    bool failed = false;
};

class NoHelp final : public HelpService {
public:
    void showContents() override {}
};

// The default printer's output goes into one PDF file.
class PdfOnlyPrinter final : public Printer {
public:
    explicit PdfOnlyPrinter(QString path)
        : path_(std::move(path))
    {
    }
    bool hasDefaultPrinter() const override { return true; }

protected:
    bool setUp(QPrinter& printer, const PrintTarget&, QString*) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path_);
        return true;
    }

private:
    QString path_;
};

// A temporary folder with a data file of the given records in it, and the
// services a window runs on; the default printer writes into pdfPath.
struct BenchPlatform {
    explicit BenchPlatform(const QString& pdfName)
        : pdfPath(dir.filePath(pdfName))
        , dataPath(dir.filePath(QStringLiteral("Taxrecs.dat")))
    {
        state.filename = dataPath;
    }
    bool writeData(const std::vector<TaxRecord>& records) const
    {
        QFile f(dataPath);
        return f.open(QIODevice::WriteOnly) && f.write(encodeRecords(records)) >= 0;
    }

    QTemporaryDir dir;
    const QString pdfPath;
    const QString dataPath;
    NoDialogs dialogs;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    FileServices files;
    NoHelp help;
    PdfOnlyPrinter printer{pdfPath};
    AppState state{Platform{dialogs, settings, files, help, printer}};
};

} // namespace quillary::bench
