// "Import from CSV..." of the record window and its import window: the rows
// of a statement appended in one write, the file as it was kept beside it,
// nothing written when anything goes wrong.

#include "recordfixture.h"

#include "forms/import/csvimportwindow.h"
#include "forms/import/importpreview.h"
#include "support/accessibility.h"
#include "support/smalldisk.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

using namespace quillary;
using namespace quillary::test;

namespace {

QString fixturePath(const QString& name)
{
    return QStringLiteral(QUILLARY_FIXTURES "/csv/") + name;
}

// The backups an import left beside the data file.
QStringList backups(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.before-import-*.bak")}, QDir::Files);
}

std::vector<TaxRecord> germanRecords()
{
    return {makeRecord('0', "01.03.2026", "12,5", "", "Cash", "Other", "Bakery", "Bread"),
            makeRecord('0', "12.03.2026", "45,9", "", "", "Other", "REWE Markt", "Einkauf")};
}

} // namespace

class TestImportCsv : public QObject {
    Q_OBJECT

    std::unique_ptr<PinnedDay> pinned_;
    std::unique_ptr<RecordEnv> env_;

    void importNow(Quillary* w)
    {
        QAction* a = w->findChild<QAction*>(QStringLiteral("importcsv"));
        QVERIFY(a);
        a->trigger();
    }

private slots:
    void initTestCase() { pinned_ = std::make_unique<PinnedDay>(QDate(2026, 4, 2)); }
    void cleanupTestCase() { pinned_.reset(); }
    void init() { env_ = std::make_unique<RecordEnv>(); }
    void cleanup()
    {
        auto env = std::move(env_);
        QUILLARY_VERIFY_DIALOGS(env->dialogs);
    }

    void menuItemFollowsExport()
    {
        Quillary* w = env_->open(env_->writeDataFile(QStringLiteral("tax.dat"), sampleRecords()));
        const QList<QAction*> items = find<QMenu>(w, "fil")->actions();
        int exportAt = -1;
        for (int i = 0; i < items.size(); ++i) {
            if (items[i]->objectName() == QStringLiteral("exportcsv"))
                exportAt = i;
        }
        QVERIFY(exportAt >= 0);
        QCOMPARE(items[exportAt + 1]->objectName(), QStringLiteral("importcsv"));
        QCOMPARE(items[exportAt + 1]->text(), QStringLiteral("&Import from CSV..."));
    }

    // The German statement into a German user's file: guessed, previewed,
    // appended, the file as it was kept, the first new record shown.
    void importsAStatement()
    {
        const LocaleGuard german(QStringLiteral("de_DE"));
        const QString data = env_->writeDataFile(QStringLiteral("tax.dat"), germanRecords());
        const QByteArray before = fileContents(data);
        Quillary* w = env_->open(data);
        env_->dialogs.clearShown();

        QString summary;
        env_->dialogs.answerOpenFile(fixturePath(QStringLiteral("german-bank.csv")));
        env_->dialogs.answerModal([&summary](QDialog& dialog) {
            auto* window = qobject_cast<CsvImportWindow*>(&dialog);
            QVERIFY(window);
            QCOMPARE(find<QComboBox>(window, "Separator")->currentText(), QStringLiteral("Semicolon"));
            QVERIFY(find<QCheckBox>(window, "Header")->isChecked());
            QCOMPARE(find<QLabel>(window, "Skipped")->text(),
                     QStringLiteral("4 lines above the table skipped"));
            QCOMPARE(find<QComboBox>(window, "DateColumn")->currentText(),
                     QStringLiteral("Buchungstag"));
            QCOMPARE(find<QComboBox>(window, "AmountColumn")->currentText(),
                     QStringLiteral("Betrag (EUR)"));
            QCOMPARE(find<QComboBox>(window, "DateOrder")->currentText(),
                     QStringLiteral("Day/Month/Year"));
            QCOMPARE(find<QComboBox>(window, "Decimal")->currentIndex(), 1); // comma
            QCOMPARE(find<QLabel>(window, "DateExample")->text(),
                     QStringLiteral("02.03.26 is 2 M\u00E4rz 2026"));
            // The preview lists the lines above the table and every row.
            const ImportPreview* preview = window->preview();
            QCOMPARE(preview->rowCount(), 4 + 7);
            QCOMPARE(preview->index(0, ImportPreview::ColStatus).data().toString(),
                     QStringLiteral("Skip: above the table"));
            // Both REWE rows repeat a record of the file.
            for (int row : {7, 8}) {
                QCOMPARE(preview->index(row, ImportPreview::ColStatus).data().toString(),
                         QStringLiteral("Skip, likely duplicate: same as record 2"));
                QCOMPARE(preview->index(row, ImportPreview::ColStatus)
                             .data(Qt::CheckStateRole)
                             .toInt(),
                         int(Qt::Unchecked));
            }
            QCOMPARE(preview->index(9, ImportPreview::ColStatus).data().toString(),
                     QStringLiteral("Import"));
            summary = find<QLabel>(window, "Summary")->text();
            QTest::mouseClick(find<QPushButton>(window, "ImportButton"), Qt::LeftButton);
        });
        env_->dialogs.answerMessage(Answer::Ok);
        importNow(w);

        const QList<ShownBox> shown = env_->dialogs.shown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[0].kind, ShownBox::Kind::OpenFile);
        QCOMPARE(shown[0].title, QStringLiteral("Import from CSV"));
        QCOMPARE(shown[0].text, QStringLiteral("CSV Files (*.csv *.txt)"));
        QCOMPARE(shown[1].title, QStringLiteral("Import from CSV: german-bank.csv"));
        QCOMPARE(summary, QStringLiteral("5 rows are imported as records 3 to 7 of the file. "
                                         "Skipped: 2 likely duplicates."));

        const QStringList made = backups(env_->dir.path());
        QCOMPARE(made.size(), 1);
        const QString backup = env_->path(made.front());
        QCOMPARE(fileContents(backup), before);
        QCOMPARE(shown[2].icon, Icon::Information);
        QCOMPARE(shown[2].text,
                 QStringLiteral("5 records imported from 'german-bank.csv' as records 3 to 7 of "
                                "'%1'; 2 rows skipped.\n\nThe file as it was before the import "
                                "is kept in '%2'.")
                     .arg(data, QFileInfo(backup).absoluteFilePath()));

        const QByteArray after = fileContents(data);
        QCOMPARE(after.size(), 7 * kRecordLength);
        QVERIFY(after.startsWith(before));
        const TaxRecord third = TaxRecord::fromBytes(after.mid(2 * kRecordLength));
        QCOMPARE(third.kindCode(), '0');
        QCOMPARE(trimBlanks(third.field(Field::Date)), QStringLiteral("02.03.2026"));
        QCOMPARE(trimBlanks(third.field(Field::Amount)), QStringLiteral("84"));
        QCOMPARE(trimBlanks(third.field(Field::Party)), QStringLiteral("Stadtwerke M\u00FCnchen"));
        // The window counts the new records and shows the first of them.
        QCOMPARE(w->Lastrecord, 7);
        QCOMPARE(w->Presrecord, 3);
        QCOMPARE(find<QLineEdit>(w, "Text5")->text().trimmed(),
                 QStringLiteral("Stadtwerke M\u00FCnchen"));
        QCOMPARE(w->dataFile().recordCount(), 7);
    }

    // The choices of the window decide what the rows become: business,
    // every row an income, a type of its own, a duplicate kept. They are
    // changed as the keyboard and a screen reader change them.
    void choicesDecideTheRecords()
    {
        const QString data = env_->writeDataFile(QStringLiteral("tax.dat"), {});
        env_->dialogs.answerMessage(Answer::Ok); // "No records, one will now be added."
        Quillary* w = env_->open(data);
        env_->dialogs.clearShown();
        writeBytes(env_->path(QStringLiteral("st.csv")),
                   "Date,Description,Amount\n3/4/2026,Coffee,-3.50\n3/4/2026,Coffee,-3.50\n"
                   "3/5/2026,Refund,12.00\n");
        env_->dialogs.answerMessage(Answer::Ok); // the blank new record is not saved
        env_->dialogs.answerOpenFile(env_->path(QStringLiteral("st.csv")));
        env_->dialogs.answerModal([](QDialog& dialog) {
            auto* window = qobject_cast<CsvImportWindow*>(&dialog);
            QVERIFY(toggleOption(find<QRadioButton>(window, "Business")));
            find<QComboBox>(window, "KindRule")->setCurrentIndex(3); // all income
            auto* type = find<QComboBox>(window, "IncomeType");
            QCOMPARE(type->currentText(), QStringLiteral("Receipts or Sales"));
            type->setCurrentIndex(type->findText(QStringLiteral("Other Income")));
            // Space on the status cell of the duplicate keeps it.
            auto* view = find<QTableView>(window, "Preview");
            view->setFocus();
            view->setCurrentIndex(window->preview()->index(1, ImportPreview::ColDate));
            QTest::keyClick(view, Qt::Key_Space);
            QCOMPARE(window->preview()->index(1, ImportPreview::ColStatus).data().toString(),
                     QStringLiteral("Import, likely duplicate: same as line 2"));
            // Space again skips it again, Space once more keeps it.
            QTest::keyClick(view, Qt::Key_Space);
            QCOMPARE(window->preview()->index(1, ImportPreview::ColStatus).data().toString(),
                     QStringLiteral("Skip, likely duplicate: same as line 2"));
            QTest::keyClick(view, Qt::Key_Space);
            QVERIFY(window->canImport());
            QTest::keyClick(find<QPushButton>(window, "ImportButton"), Qt::Key_Space);
        });
        env_->dialogs.answerMessage(Answer::Ok);
        importNow(w);
        std::vector<TaxRecord> records;
        QVERIFY(w->dataFile().readAll(records));
        QCOMPARE(records.size(), std::size_t(3));
        for (const TaxRecord& r : records) {
            QCOMPARE(r.kindCode(), '3');
            QCOMPARE(trimBlanks(r.field(Field::Type)), QStringLiteral("Other Income"));
        }
        QCOMPARE(trimBlanks(records[0].field(Field::Date)), QStringLiteral("3/4/2026"));
        QCOMPARE(trimBlanks(records[0].field(Field::Amount)), QStringLiteral("3.5"));
        QCOMPARE(w->Presrecord, 1);
        QCOMPARE(w->Lastrecord, 3);
        QVERIFY(!w->isAdding());
    }

    // Every control can be reached by Tab and has a name for tests and
    // screen readers; a change of the header box by any means re-reads.
    void windowIsReachable()
    {
        CsvImport import(fileContents(fixturePath(QStringLiteral("card-statement.csv"))), {});
        CsvImportWindow window(import, QStringLiteral("card.csv"), 0);
        window.show();
        QSet<QWidget*> reached;
        QWidget* first = find<QComboBox>(&window, "Encoding");
        QWidget* at = first;
        do {
            reached.insert(at);
            at = at->nextInFocusChain();
        } while (at && at != first);
        const QList<QWidget*> controls = window.findChildren<QWidget*>();
        for (QWidget* control : controls) {
            const bool input = qobject_cast<QComboBox*>(control) || qobject_cast<QAbstractButton*>(control)
                || qobject_cast<QTableView*>(control);
            // The parts of a list or a combo box belong to it.
            if (!input || control->parentWidget()->inherits("QComboBox")
                || control->parentWidget()->inherits("QAbstractItemView"))
                continue;
            QVERIFY2(!control->objectName().isEmpty(), control->metaObject()->className());
            QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
            QVERIFY2(reached.contains(control), qPrintable(control->objectName()));
            QVERIFY2(control->focusPolicy() & Qt::TabFocus, qPrintable(control->objectName()));
        }
        QVERIFY(find<QRadioButton>(&window, "DebitCredit")->isChecked());
        QCOMPARE(find<QComboBox>(&window, "DebitColumn")->currentText(), QStringLiteral("Debit"));
        find<QCheckBox>(&window, "Header")->setChecked(false);
        QCOMPARE(find<QComboBox>(&window, "DateColumn")->currentText(), QStringLiteral("Column 1"));
        QCOMPARE(window.preview()->rowCount(), 6);
        QVERIFY(doAccessibleAction(find<QCheckBox>(&window, "Header"),
                                   QAccessibleActionInterface::toggleAction()));
        QCOMPARE(find<QComboBox>(&window, "DateColumn")->currentText(),
                 QStringLiteral("Transaction Date"));
        // A decimal separator chosen like the group one moves the group one.
        find<QComboBox>(&window, "Decimal")->setCurrentIndex(1);
        QCOMPARE(find<QComboBox>(&window, "Group")->currentText(), QStringLiteral("Point"));
        QCOMPARE(import.settings().number.decimal, QChar(u','));
        find<QComboBox>(&window, "Separator")->setCurrentIndex(1);
        QVERIFY(!window.canImport());
        QCOMPARE(window.summaryText(), QStringLiteral("Choose the column that holds the dates."));
    }

    // On a screen of 1,024 x 768 the whole window fits, its buttons
    // included, whatever the headers of the file.
    void fitsASmallScreen()
    {
        CsvImport import(fileContents(fixturePath(QStringLiteral("german-bank.csv"))), {});
        CsvImportWindow window(import, QStringLiteral("german-bank.csv"), 0);
        const QSize needed = window.minimumSizeHint();
        QVERIFY2(needed.width() <= 1024 - 40 && needed.height() <= 768 - 60,
                 qPrintable(QStringLiteral("%1 x %2").arg(needed.width()).arg(needed.height())));
    }

    // An import the file cannot hold is refused in the window, before
    // anything is written.
    void recordLimit()
    {
        CsvImport import(fileContents(fixturePath(QStringLiteral("us-bank.csv"))), {});
        CsvImportWindow full(import, QStringLiteral("us.csv"), kMaxRecords - 5);
        QVERIFY(!full.canImport());
        QCOMPARE(full.summaryText(),
                 QStringLiteral("With these 6 rows the file would hold 32,768 records, more than "
                                "the 32,767 a data file can hold. Import fewer rows, or import "
                                "into a new file."));
        QVERIFY(!find<QPushButton>(&full, "ImportButton")->isEnabled());
        CsvImportWindow fits(import, QStringLiteral("us.csv"), kMaxRecords - 6);
        QVERIFY(fits.canImport());
        // The last record a file can take, named as one record.
        CsvImport one(QByteArray("Date,Amount\n3/4/2026,-3.50\n"), {});
        CsvImportWindow last(one, QStringLiteral("one.csv"), kMaxRecords - 1);
        QVERIFY(last.canImport());
        QCOMPARE(last.summaryText(),
                 QStringLiteral("1 row is imported as record 32,767 of the file."));
    }

    void cancelWritesNothing_data()
    {
        QTest::addColumn<bool>("inWindow");
        QTest::newRow("file dialog") << false;
        QTest::newRow("import window") << true;
    }
    void cancelWritesNothing()
    {
        QFETCH(bool, inWindow);
        const QString data = env_->writeDataFile(QStringLiteral("tax.dat"), sampleRecords());
        const QByteArray before = fileContents(data);
        Quillary* w = env_->open(data);
        env_->dialogs.clearShown();
        if (inWindow) {
            env_->dialogs.answerOpenFile(fixturePath(QStringLiteral("us-bank.csv")));
            env_->dialogs.answerModal([](QDialog& dialog) {
                QTest::mouseClick(find<QPushButton>(&dialog, "CancelButton"), Qt::LeftButton);
            });
        } else {
            env_->dialogs.answerOpenFile(std::nullopt);
        }
        importNow(w);
        QCOMPARE(env_->dialogs.shown().size(), inWindow ? 2 : 1);
        QCOMPARE(fileContents(data), before);
        QCOMPARE(backups(env_->dir.path()), QStringList{});
        QCOMPARE(w->Lastrecord, 3);
    }

    // A failed write leaves the file as it was, no backup claiming
    // otherwise, and the window on its records.
    void failedWriteChangesNothing()
    {
        const QString data = env_->writeDataFile(QStringLiteral("tax.dat"), sampleRecords());
        const QByteArray before = fileContents(data);
        Quillary* w = env_->open(data);
        env_->dialogs.clearShown();
        env_->dialogs.answerOpenFile(fixturePath(QStringLiteral("us-bank.csv")));
        env_->dialogs.answerModal([this](QDialog& dialog) {
            // From now on writes of the data file fail as on a full disk;
            // its backup could be written.
            env_->files.setFaultInjector([](const QString& path) {
                return QFileInfo(path).fileName() == QStringLiteral("tax.dat");
            });
            QTest::mouseClick(find<QPushButton>(&dialog, "ImportButton"), Qt::LeftButton);
        });
        env_->dialogs.answerMessage(Answer::Ok);
        importNow(w);
        const ShownBox box = env_->dialogs.last();
        QCOMPARE(box.icon, Icon::Exclamation);
        QCOMPARE(box.text, QStringLiteral("Nothing was imported: No space left on device\n\nThe "
                                          "file '%1' is as it was.")
                               .arg(data));
        QCOMPARE(fileContents(data), before);
        QCOMPARE(QDir(env_->dir.path()).entryList(QDir::Files | QDir::Hidden).filter(
                     QStringLiteral("tax.dat")),
                 QStringList{QStringLiteral("tax.dat")});
        QCOMPARE(w->Lastrecord, 3);
        QCOMPARE(w->dataFile().recordCount(), 3);
        QVERIFY(w->dataFile().isOpen());
    }

    // On a real full disk not even the copy of the file fits: nothing is
    // written, and no file is left behind on the disk.
    void fullDiskChangesNothing()
    {
        SmallDisk disk;
        QUILLARY_REQUIRE_SMALL_DISK(disk);
        const QString data = disk.filePath(QStringLiteral("tax.dat"));
        writeBytes(data, bytesOf(sampleRecords()));
        const QByteArray before = fileContents(data);
        Quillary* w = env_->open(data);
        env_->dialogs.clearShown();
        QVERIFY(disk.fill());
        const QStringList files =
            QDir(disk.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        env_->dialogs.answerOpenFile(fixturePath(QStringLiteral("us-bank.csv")));
        env_->dialogs.answerModal([](QDialog& dialog) {
            QTest::mouseClick(find<QPushButton>(&dialog, "ImportButton"), Qt::LeftButton);
        });
        env_->dialogs.answerMessage(Answer::Ok);
        importNow(w);
        const ShownBox box = env_->dialogs.last();
        QCOMPARE(box.icon, Icon::Exclamation);
        QVERIFY2(box.text.startsWith(QStringLiteral("Nothing was imported: ")), qPrintable(box.text));
        QVERIFY2(box.text.contains(QStringLiteral("No space left on device")), qPrintable(box.text));
        QCOMPARE(fileContents(data), before);
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
                 files);
        QCOMPARE(w->Lastrecord, 3);
        QVERIFY(w->dataFile().isOpen());
    }

    void unreadableFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("contents"); // written unless empty
        QTest::addColumn<QString>("text");
        QTest::newRow("missing") << "none.csv" << QByteArray()
                                 << "The file '%1' could not be read: there is no such "
                                    "file.\n\nNothing was imported.";
        QTest::newRow("a folder") << "folder.csv" << QByteArray()
                                  << "The file '%1' could not be read: it is not an ordinary "
                                     "file.\n\nNothing was imported.";
        QTest::newRow("no rows") << "empty.csv" << QByteArray("\r\n,,\r\n  \r\n")
                                 << "The file '%1' holds no rows to import.";
    }
    void unreadableFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, contents);
        QFETCH(QString, text);
        const QString path = env_->path(name);
        if (name == QStringLiteral("folder.csv"))
            QDir(env_->dir.path()).mkdir(name);
        else if (!contents.isEmpty())
            writeBytes(path, contents);
        const QString data = env_->writeDataFile(QStringLiteral("tax.dat"), sampleRecords());
        Quillary* w = env_->open(data);
        env_->dialogs.clearShown();
        env_->dialogs.answerOpenFile(path).answerMessage(Answer::Ok);
        importNow(w);
        QCOMPARE(env_->dialogs.last().text, text.arg(path));
        QCOMPARE(env_->dialogs.last().title, QStringLiteral("Import from CSV"));
        QCOMPARE(backups(env_->dir.path()), QStringList{});
    }

    // A record the save step cannot write stops the import before a file
    // is asked for.
    void unsavedRecordStopsTheImport()
    {
        Quillary* w = env_->open(env_->writeDataFile(QStringLiteral("tax.dat"), sampleRecords()));
        env_->dialogs.clearShown();
        find<QLineEdit>(w, "Text2")->setText(QStringLiteral("changed"));
        env_->files.setFaultInjector([](const QString&) { return true; });
        env_->dialogs.answerMessage(Answer::Ok);
        importNow(w);
        QCOMPARE(env_->dialogs.shown().size(), 1);
        QVERIFY(env_->dialogs.last().text.startsWith(
            QStringLiteral("The most recent change record failed")));
    }
};

QUILLARY_TEST_MAIN(TestImportCsv)
#include "tst_importcsv.moc"
