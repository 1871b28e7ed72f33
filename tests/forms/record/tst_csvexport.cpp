// "Export to CSV..." of the record window: every record of the file, what
// is on the form included, written whole or not at all.

#include "recordfixture.h"

#include "support/pythoncsv.h"

#include <QLineEdit>

using namespace quillary;
using namespace quillary::test;

class TestCsvExport : public QObject {
    Q_OBJECT

    std::unique_ptr<PinnedDay> pinned_;
    std::unique_ptr<RecordEnv> env_;

    Quillary* openSample()
    {
        Quillary* w = env_->open(env_->writeDataFile(QStringLiteral("tax.dat"), sampleRecords()));
        env_->dialogs.clearShown();
        return w;
    }
    void exportNow(Quillary* w)
    {
        QAction* a = w->findChild<QAction*>(QStringLiteral("exportcsv"));
        QVERIFY(a);
        a->trigger();
    }

private slots:
    void initTestCase() { pinned_ = std::make_unique<PinnedDay>(QDate(2024, 3, 14)); }
    void cleanupTestCase() { pinned_.reset(); }
    void init() { env_ = std::make_unique<RecordEnv>(); }
    void cleanup()
    {
        auto env = std::move(env_);
        QUILLARY_VERIFY_DIALOGS(env->dialogs);
    }

    void exportsEveryRecord()
    {
        Quillary* w = openSample();
        // Changed on the form and not yet saved: the export saves it first.
        find<QLineEdit>(w, "Text2")->setText(QStringLiteral("April salary, net"));
        const QString out = env_->path(QStringLiteral("records.csv"));
        env_->dialogs.answerSaveFile(out).answerMessage(Answer::Ok);
        exportNow(w);

        const ShownBox dialog = env_->dialogs.shown().at(0);
        QCOMPARE(dialog.title, QStringLiteral("Export to CSV"));
        QCOMPARE(dialog.text, QStringLiteral("CSV Files (*.csv)")); // the filter offered
        const ShownBox done = env_->dialogs.last();
        QCOMPARE(done.text, QStringLiteral("3 records exported to '%1'.").arg(out));
        QCOMPARE(done.icon, Icon::Information);
        const QList<QStringList> rows = readCsvWithPython(out);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0].first(), QStringLiteral("Record No."));
        QCOMPARE(rows[1], (QStringList{"1", "Personal", "Expense", "2024-03-14", "125.4", "A-1041",
                                       "Check No: 1041", "Medical and Dental Fees", "Dr. Meyer",
                                       "Check-up"}));
        QCOMPARE(rows[3], (QStringList{"3", "Personal", "Income", "2024-04-30", "2500", "",
                                       "Account", "Wages, Salaries, Tips, etc.",
                                       "Acme Tools Inc.", "April salary, net"}));
    }

    void cancelDoesNothing()
    {
        Quillary* w = openSample();
        env_->dialogs.answerSaveFile(std::nullopt);
        exportNow(w);
        QCOMPARE(env_->dialogs.shown().size(), 1);
        QCOMPARE(QDir(env_->dir.path()).entryList({QStringLiteral("*.csv")}), QStringList{});
    }

    // A write that fails leaves the earlier file of that name as it was and
    // says why.
    void failedWriteKeepsTheEarlierFile()
    {
        Quillary* w = openSample();
        const QString out = env_->path(QStringLiteral("sub/records.csv"));
        QDir(env_->dir.path()).mkdir(QStringLiteral("sub"));
        writeBytes(out, "earlier export\r\n");
        env_->files.setFaultInjector(failWritesUnder(env_->path(QStringLiteral("sub"))));
        env_->dialogs.answerSaveFile(out).answerMessage(Answer::Ok);
        exportNow(w);
        const ShownBox box = env_->dialogs.last();
        QCOMPARE(box.title, QStringLiteral("Export to CSV"));
        QCOMPARE(box.icon, Icon::Exclamation);
        QCOMPARE(box.text, QStringLiteral("The CSV file '%1' could not be written: No space left "
                                          "on device.\n\nNothing was exported; an earlier file "
                                          "of that name is as it was.")
                               .arg(out));
        QCOMPARE(fileContents(out), QByteArray("earlier export\r\n"));
        QCOMPARE(QDir(env_->path(QStringLiteral("sub"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("records.csv")});
    }

    // A record the save step cannot write stops the export: it would be
    // missing from it.
    void unsavedRecordStopsTheExport()
    {
        Quillary* w = openSample();
        find<QLineEdit>(w, "Text2")->setText(QStringLiteral("changed"));
        env_->files.setFaultInjector([](const QString&) { return true; });
        env_->dialogs.answerMessage(Answer::Ok);
        exportNow(w);
        QCOMPARE(env_->dialogs.shown().size(), 1);
        QVERIFY(env_->dialogs.last().text.startsWith(
            QStringLiteral("The most recent change record failed")));
    }
};

QUILLARY_TEST_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
