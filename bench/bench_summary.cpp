// Speed of the tax year summary on a full file of 32,767 records of ten
// years, every kind and category, a few records that add to nothing:
//  - computing the summary: reading the dates and counting one year
//    (target: under 30 ms);
//  - opening the summary window, file read and first year shown (under 150 ms);
//  - switching the year (under 30 ms);
//  - printing the summary to PDF (under 1 s).
#include "benchplatform.h"

#include "forms/summary/taxsum.h"
#include "platform/dialogs.h"
#include "platform/fileservices.h"
#include "platform/help.h"
#include "platform/localeservices.h"
#include "platform/printer.h"
#include "platform/settingsstore.h"
#include "records/categories.h"
#include "records/datafile.h"
#include "reports/summary.h"
#include "session/appstate.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using namespace quillary;
using namespace quillary::bench;

TaxRecord record(int i)
{
    TaxRecord r;
    const Kind kind{i % 3 == 0, i % 4 == 0};
    r.setKind(kind);
    const QStringList& types = typeList(kind);
    r.setField(Field::Type, types.at((i / 7) % int(types.size())));
    r.setField(Field::Date, shortDate(QDate(2015, 1, 1).addDays(i % 3650)));
    r.setField(Field::Amount,
               i % 1000 == 0 ? QStringLiteral("n/a") : currencyToText({qint64(i % 100000) * 100 + 25}));
    r.setField(Field::Invoice, QStringLiteral("N%1").arg(i));
    r.setField(Field::Description, QStringLiteral("Record %1").arg(i));
    r.setField(Field::Party, QStringLiteral("Party %1").arg(i % 97));
    r.setField(Field::PayMethod, QStringLiteral("Check"));
    return r;
}

// The median of runs of f, in milliseconds.
double medianMs(int runs, const std::function<void()>& f)
{
    std::vector<qint64> times;
    QElapsedTimer timer;
    for (int run = 0; run < runs; ++run) {
        timer.start();
        f();
        times.push_back(timer.nsecsElapsed());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2] / 1e6;
}

void report(const char* what, double ms, double targetMs)
{
    std::printf("%-52s %8.1f ms   (target under %.0f ms)%s\n", what, ms, targetMs,
                ms < targetMs ? "" : "   MISSED");
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    Clock::setFixedToday(QDate(2025, 3, 1));

    BenchPlatform platform(QStringLiteral("summary.pdf"));
    std::vector<TaxRecord> records;
    for (int i = 0; i < kMaxRecords; ++i)
        records.push_back(record(i));
    if (!platform.writeData(records))
        return 1;
    AppState& state = platform.state;
    const QString& pdf = platform.pdfPath;

    int counted = 0;
    const double compute = medianMs(11, [&] {
        const DatedRecords dated(records);
        const Summary s = computeSummary(dated, defaultYearChoice(dated.years(), Clock::today()));
        counted = s.counted;
    });
    const DatedRecords dated(records);
    const double countOnly = medianMs(11, [&] { computeSummary(dated, std::nullopt); });

    const double open = medianMs(5, [&] {
        Taxsum summary(state);
        summary.load();
        summary.show();
        QApplication::processEvents();
    });

    Taxsum summary(state);
    summary.load();
    summary.show();
    QApplication::processEvents();
    auto* year = summary.findChild<QComboBox*>(QStringLiteral("Year"));
    int next = 0;
    const double change = medianMs(std::max(3, year->count()), [&] {
        next = (next + 1) % year->count();
        year->setCurrentIndex(next);
        QApplication::processEvents();
    });
    year->setCurrentIndex(year->findText(QStringLiteral("2024")));
    QApplication::processEvents();
    const double print = medianMs(3, [&] {
        summary.findChild<QAction*>(QStringLiteral("prn"))->trigger();
    });

    std::printf("records: %d over %zu years; %d counted in %s\n", summary.recordCount(),
                dated.years().size(), counted,
                qPrintable(yearText(defaultYearChoice(dated.years(), Clock::today()))));
    report("computing the summary (dates read, one year counted)", compute, 30);
    std::printf("  counting all years, dates already read: %.1f ms\n", countOnly);
    report("opening the summary window", open, 150);
    report("switching the year", change, 30);
    report("printing the summary to PDF", print, 1000);
    std::printf("PDF: %lld KiB\n", static_cast<long long>(QFileInfo(pdf).size() / 1024));
    return platform.dialogs.failed || !QFileInfo::exists(pdf) ? 1 : 0;
}
