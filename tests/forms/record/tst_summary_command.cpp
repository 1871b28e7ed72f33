// The record window's "Tax Year Summary..." command: the save step first,
// and a record chosen in the summary shown for correction.
#include "forms/record/recordfixture.h"
#include "forms/summary/taxsum.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

using namespace quillary;
using namespace quillary::test;

namespace {

std::vector<TaxRecord> records()
{
    return {
        makeRecord('0', "3/1/1996", "10", "", "Cash", "Other", "Shop", "fine"),
        makeRecord('2', "4/1/1996", "ten", "", "Cash", "Supplies", "Shop", "typed in words"),
        makeRecord('2', "5/1/1996", "7.5", "", "Cash", "Supplies", "Shop", "last one"),
    };
}

} // namespace

class TestSummaryCommand : public QObject {
    Q_OBJECT

    std::unique_ptr<PinnedDay> day_;
    std::unique_ptr<RecordEnv> env_;
    QString file_;

    Quillary* openRecords()
    {
        file_ = env_->path(QStringLiteral("tax.dat"));
        writeBytes(file_, bytesOf(records()));
        return env_->open(file_);
    }
    void trigger(Quillary* w)
    {
        QAction* a = find<QAction>(w, "taxsum");
        QVERIFY(a);
        QCOMPARE(a->text(), QStringLiteral("Tax Year &Summary..."));
        a->trigger();
    }

private slots:
    void init()
    {
        day_ = std::make_unique<PinnedDay>(QDate(1997, 2, 1));
        env_ = std::make_unique<RecordEnv>();
    }
    void cleanup()
    {
                auto env = std::move(env_);
        QUILLARY_VERIFY_DIALOGS(env->dialogs);
        day_.reset();
    }

    void savesTheRecordFirst()
    {
        Quillary* w = openRecords();
        find<QLineEdit>(w, "Text2")->setText(QStringLiteral("edited"));
        QByteArray seen;
        int year = 0;
        env_->dialogs.answerModal([&](QDialog& dialog) {
            seen = fileContents(file_);
            year = *static_cast<Taxsum&>(dialog).year();
        });
        trigger(w);
        QCOMPARE(env_->dialogs.last().title, QStringLiteral("Tax Year Summary: ") + file_);
        QVERIFY(seen.contains("edited"));
        QCOMPARE(year, 1996);
        // Nothing chosen: the record window shows what it showed.
        QCOMPARE(w->Presrecord, 3);
        QCOMPARE(find<QLineEdit>(w, "Text2")->text().trimmed(), QStringLiteral("edited"));
    }

    void aFailedSaveStopsIt()
    {
        Quillary* w = openRecords();
        find<QLineEdit>(w, "Text2")->setText(QStringLiteral("edited"));
        env_->files.setFaultInjector([](const QString&) { return true; });
        env_->dialogs.answerMessage(Answer::Ok);
        trigger(w);
        QCOMPARE(env_->dialogs.shown().size(), 1);
        QCOMPARE(env_->dialogs.last().kind, ShownBox::Kind::Message);
        QCOMPARE(find<QLineEdit>(w, "Text2")->text(), QStringLiteral("edited"));
    }

    void aChosenRecordIsShown()
    {
        Quillary* w = openRecords();
        env_->dialogs.answerModal([](QDialog& dialog) {
            auto* view = dialog.findChild<QTableView*>(QStringLiteral("NotCounted"));
            QVERIFY(view);
            QCOMPARE(view->model()->rowCount(), 1);
            view->setFocus();
            view->setCurrentIndex(view->model()->index(0, 0));
            QTest::keyClick(view, Qt::Key_Enter);
            QVERIFY(!dialog.isVisible());
        });
        trigger(w);
        QCOMPARE(w->Presrecord, 2);
        QCOMPARE(find<QLineEdit>(w, "Text2")->text().trimmed(), QStringLiteral("typed in words"));
        QCOMPARE(find<QLineEdit>(w, "Text6")->text().trimmed(), QStringLiteral("ten"));
        QCOMPARE(find<QLabel>(w, "Label9")->text(), QStringLiteral("Record No.   2  0f   3"));
    }
};

QUILLARY_TEST_MAIN(TestSummaryCommand)
#include "tst_summary_command.moc"
