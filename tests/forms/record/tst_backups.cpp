// The copy of a data file as it was, kept as "<name>.bak" before the first
// change of a run to a file last changed on an earlier day, so that an
// unwanted delete or sort of today can be undone from outside the program.
// A copy that cannot be made is told once and stops nothing. The faults run
// as an ordinary user (see ordinaryuser.h).

#include "recordfixture.h"

#include "platform/localeservices.h"
#include "support/ordinaryuser.h"
#include "support/smalldisk.h"

#include <QDateTime>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include <sys/stat.h>

using namespace quillary;
using namespace quillary::test;

namespace {

const QDate kToday(2024, 6, 15);

void setChanged(const QString& path, const QDateTime& when)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
}

// Records as the record window writes them, newest first, so that both
// sorts move them and the save step writes one back unchanged.
std::vector<TaxRecord> records(int count)
{
    std::vector<TaxRecord> out;
    for (int i = count; i >= 1; --i)
        out.push_back(makeRecord(char('0' + i % 2), shortDate(QDate(2024, 1, 1).addDays(i)),
                                 QStringLiteral("%1.5").arg(i), QStringLiteral("N%1").arg(i),
                                 QStringLiteral("Cash"),
                                 i % 2 ? QStringLiteral("Wages, Salaries, Tips, etc.")
                                       : QStringLiteral("Other"),
                                 QStringLiteral("Party %1").arg(i),
                                 QStringLiteral("record %1").arg(i)));
    return out;
}

QString backupFailed(const QString& file, const QString& why)
{
    return QStringLiteral("Backup not made: Before the first change of the day to '%1', Quillary "
                          "keeps a copy of it as it was in '%1.bak'. That copy could not be made: "
                          "%2.\n\nThe change you asked for is made all the same.")
        .arg(file, why);
}

} // namespace

class TestBackups : public QObject {
    Q_OBJECT

    std::unique_ptr<PinnedDay> pinned_;
    std::unique_ptr<RecordEnv> env_;

    // A window on a file of five records, last changed at `changed`.
    Quillary* openOn(const QString& file, const QDateTime& changed)
    {
        writeBytes(file, bytesOf(records(5)));
        setChanged(file, changed);
        Quillary* w = env_->open(file);
        env_->dialogs.clearShown();
        return w;
    }

    // Runs one of the commands that write the file.
    void run(Quillary* w, const QString& command)
    {
        if (command == QLatin1String("edit")) {
            find<QLineEdit>(w, "Text2")->setText(QStringLiteral("edited today"));
            find<QPushButton>(w, "Command7")->click();
        } else if (command == QLatin1String("add")) {
            find<QPushButton>(w, "Command3")->click();
            find<QLineEdit>(w, "Text2")->setText(QStringLiteral("added today"));
            find<QLineEdit>(w, "Text6")->setText(QStringLiteral("3"));
            find<QPushButton>(w, "Command7")->click();
        } else if (command == QLatin1String("delete")) {
            find<QPushButton>(w, "Command4")->click();
        } else if (command == QLatin1String("totals sort")) {
            env_->dialogs.answerModal([](QDialog& totals) {
                QAction* sort = totals.findChild<QAction*>(QStringLiteral("srtdte"));
                QVERIFY(sort);
                sort->trigger();
            });
            find<QPushButton>(w, "Command1")->click();
        } else {
            QAction* a = w->findChild<QAction*>(command);
            QVERIFY(a);
            a->trigger();
        }
    }

private slots:
    void initTestCase() { pinned_ = std::make_unique<PinnedDay>(kToday); }
    void cleanupTestCase() { pinned_.reset(); }
    void init() { env_ = std::make_unique<RecordEnv>(); }
    void cleanup()
    {
        auto env = std::move(env_);
        QUILLARY_VERIFY_DIALOGS(env->dialogs);
    }

    // Every command that changes the file keeps the copy first, once.
    void firstChangeOfTheDayKeepsACopy_data()
    {
        QTest::addColumn<QString>("command");
        for (const char* command :
             {"edit", "add", "delete", "sortdate", "sorttype", "totals sort"})
            QTest::newRow(command) << command;
    }
    void firstChangeOfTheDayKeepsACopy()
    {
        QFETCH(QString, command);
        const QString file = env_->path(QStringLiteral("Taxrecs.dat"));
        const QString backup = file + QStringLiteral(".bak");
        writeBytes(backup, QByteArray("a copy of an earlier day"));
        Quillary* w = openOn(file, QDateTime(kToday.addDays(-1), QTime(22, 0)));
        const QByteArray before = fileContents(file);

        run(w, command);
        QVERIFY(fileContents(file) != before);
        QCOMPARE(fileContents(backup), before);
        const QByteArray afterFirst = fileContents(file);

        // The rest of the run's changes leave the copy as it is.
        find<QLineEdit>(w, "Text2")->setText(QStringLiteral("edited again"));
        QPushButton* first = find<QPushButton>(w, "Command7");
        (first->isEnabled() ? first : find<QPushButton>(w, "Command8"))->click();
        QVERIFY(fileContents(file) != afterFirst);
        QCOMPARE(fileContents(backup), before);
        QCOMPARE(boxTexts(env_->dialogs), QStringList());
        QCOMPARE(QDir(env_->dir.path()).entryList({"*Taxrecs*"}, QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{"Taxrecs.dat", "Taxrecs.dat.bak"}));
    }

    // A file changed today already has had its copy made, if it needed one.
    void fileOfTodayGetsNoCopy()
    {
        const QString file = env_->path(QStringLiteral("Taxrecs.dat"));
        Quillary* w = openOn(file, QDateTime(kToday, QTime(0, 1)));
        run(w, QStringLiteral("delete"));
        QCOMPARE(w->Lastrecord, 4);
        QVERIFY(!QFileInfo::exists(file + QStringLiteral(".bak")));
    }

    // A copy that cannot be made is told once, and the change is made.
    void copyThatCannotBeMade_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("read-only folder") << "read-only folder";
        QTest::newRow("full disk") << "full disk";
    }
    void copyThatCannotBeMade()
    {
        QFETCH(QString, where);
        SmallDisk disk;
        QString folder = env_->path(QStringLiteral("shelf"));
        if (where == QLatin1String("full disk")) {
            QUILLARY_REQUIRE_SMALL_DISK(disk);
            folder = disk.path();
        } else {
            QUILLARY_REQUIRE_ORDINARY_USER();
            QVERIFY(QDir().mkdir(folder));
        }
        const QString file = folder + QStringLiteral("/books.dat");
        Quillary* w = openOn(file, QDateTime(kToday.addDays(-3), QTime(12, 0)));
        if (where == QLatin1String("full disk"))
            QVERIFY(disk.fill());
        else
            QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
        const QString why = where == QLatin1String("full disk")
            ? QStringLiteral("No space left on device")
            : QStringLiteral("No new file can be made in the folder %1: Permission denied")
                  .arg(folder);

        env_->dialogs.answerMessage(Answer::Ok);
        run(w, QStringLiteral("edit"));
        QCOMPARE(boxTexts(env_->dialogs), QStringList{backupFailed(file, why)});
        QCOMPARE(env_->dialogs.last().icon, Icon::Exclamation);
        std::vector<TaxRecord> expected = records(5);
        expected[4].setField(Field::Description, QStringLiteral("edited today"));
        QCOMPARE(fileContents(file), bytesOf(expected));
        QCOMPARE(w->Presrecord, 1);

        // Told once: the next change goes through without a word.
        find<QLineEdit>(w, "Text2")->setText(QStringLiteral("edited again"));
        find<QPushButton>(w, "Command8")->click();
        expected[0].setField(Field::Description, QStringLiteral("edited again"));
        QCOMPARE(fileContents(file), bytesOf(expected));
        QCOMPARE(boxTexts(env_->dialogs).size(), 1);
        QVERIFY(!QFileInfo::exists(file + QStringLiteral(".bak")));
        QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        left.removeAll(QStringLiteral("filler"));
        QCOMPARE(left, QStringList{"books.dat"});
        ::chmod(QFile::encodeName(folder).constData(), 0755);
    }
};

QUILLARY_ORDINARY_USER_TEST_MAIN(TestBackups)
#include "tst_backups.moc"
