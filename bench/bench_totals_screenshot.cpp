// Shows the totals window on 25 listed records and saves a picture of it,
// of all years or of the one year given (the records are of 1996):
//   bench_totals_screenshot OUTPUT.png [YEAR]
// Prints how long the window took to build and paint.
#include "forms/totals/taxtot.h"
#include "platform/dialogs.h"
#include "platform/fileservices.h"
#include "platform/help.h"
#include "platform/localeservices.h"
#include "platform/printer.h"
#include "platform/settingsstore.h"
#include "records/datafile.h"
#include "session/appstate.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdio>

namespace {

class NoHelp final : public quillary::HelpService {
public:
    void showContents() override {}
};

quillary::TaxRecord record(int i)
{
    static const char* descriptions[] = {"Prescription glasses", "Dentist check-up",
                                         "Charity gala ticket", "Tax software",
                                         "Hospital parking"};
    static const char* parties[] = {"Vision Center Inc.", "Dr. Maria Gonzales",
                                    "City Food Bank", "Software Warehouse", "General Hospital"};
    static const char* methods[] = {"Credit Card", "Check", "Cash", "Debit Card", "Money Order"};
    quillary::TaxRecord r;
    r.setKind({false, false});
    r.setField(quillary::Field::Type, QStringLiteral("Other"));
    r.setField(quillary::Field::Date, QStringLiteral("%1/%2/1996").arg(1 + i % 12).arg(10 + i % 19));
    const qint64 cents = (13757 * (i + 1)) % 900000;
    r.setField(quillary::Field::Amount, quillary::currencyToText({cents * 100}));
    r.setField(quillary::Field::Invoice, QStringLiteral("INV-%1").arg(100000 + i * 37));
    r.setField(quillary::Field::Description, QString::fromLatin1(descriptions[i % 5]));
    r.setField(quillary::Field::Party, QString::fromLatin1(parties[i % 5]));
    r.setField(quillary::Field::PayMethod, QString::fromLatin1(methods[i % 5]));
    return r;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("totals.png");

    QTemporaryDir dir;
    std::vector<quillary::TaxRecord> records;
    for (int i = 0; i < 25; ++i)
        records.push_back(record(i));
    const QString path = dir.filePath(QStringLiteral("Taxrecs.dat"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(quillary::encodeRecords(records)) < 0)
        return 1;
    file.close();

    quillary::QtDialogs dialogs;
    quillary::SettingsStore settings(dir.filePath(QStringLiteral("settings.ini")));
    quillary::FileServices files;
    NoHelp help;
    quillary::Printer printer;
    quillary::AppState state({dialogs, settings, files, help, printer});
    state.filename = path;
    QString presfile = path;

    QElapsedTimer timer;
    timer.start();
    quillary::Taxtot totals(state, &presfile);
    totals.load();
    if (argc > 2)
        totals.setYear(QString::fromLocal8Bit(argv[2]).toInt());
    totals.show();
    QApplication::processEvents();
    const qint64 shown = timer.elapsed();
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();

    const bool saved = totals.grab().save(output);
    std::printf("totals window with %d rows built and shown in %lld ms; picture %s: %s\n",
                totals.gridRowCount(), static_cast<long long>(shown), saved ? "saved" : "NOT saved",
                qPrintable(output));
    return saved ? 0 : 1;
}
