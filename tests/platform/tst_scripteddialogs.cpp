#include "support/scripteddialogs.h"
#include "support/testplatform.h"

#include <QDialog>

using namespace quillary;
using quillary::test::ScriptedDialogs;
using quillary::test::ShownBox;

// The scripted dialogs are what every form test stands on: answers come in
// order, each box is recorded as shown, and a box nobody scripted fails the
// test while getting a harmless answer.
class TestScriptedDialogs : public QObject {
    Q_OBJECT

private slots:
    void answersInOrderAndRecordsBoxes()
    {
        ScriptedDialogs d;
        d.answerMessage(Answer::Yes).answerInput(QStringLiteral("3/14/96")).answerOpenFile(
            QStringLiteral("/tmp/a.dat")).answerSaveFile(std::nullopt);
        QCOMPARE(d.message(QStringLiteral("Quit?"), Buttons::YesNo, Icon::Exclamation,
                           QStringLiteral("Exit")),
                 Answer::Yes);
        QCOMPARE(d.input(QStringLiteral("Enter a date"), QStringLiteral("Date")),
                 QStringLiteral("3/14/96"));
        QCOMPARE(d.openFileName(QStringLiteral("Open")), std::optional<QString>("/tmp/a.dat"));
        QCOMPARE(d.saveFileName(QStringLiteral("Save")), std::optional<QString>());
        QCOMPARE(d.shown().size(), 4);
        const ShownBox first = d.shown().first();
        QCOMPARE(first.kind, ShownBox::Kind::Message);
        QCOMPARE(first.text, QStringLiteral("Quit?"));
        QCOMPARE(first.title, QStringLiteral("Exit"));
        QCOMPARE(first.buttons, Buttons::YesNo);
        QCOMPARE(first.icon, Icon::Exclamation);
        QCOMPARE(d.last().kind, ShownBox::Kind::SaveFile);
        QCOMPARE(d.last().title, QStringLiteral("Save"));
        QCOMPARE(d.pendingCount(), std::size_t(0));
        QUILLARY_VERIFY_DIALOGS(d);
    }

    void defaultTitleIsTheApplicationTitle()
    {
        ScriptedDialogs d;
        d.answerMessage(Answer::Ok);
        Dialogs& dialogs = d;
        dialogs.message(QStringLiteral("Hello"));
        QCOMPARE(d.last().title, QStringLiteral("Quillary2"));
        QCOMPARE(d.last().buttons, Buttons::Ok);
        QCOMPARE(d.last().icon, Icon::None);
        QUILLARY_VERIFY_DIALOGS(d);
    }

    void modalHandlerRunsWhileShown()
    {
        ScriptedDialogs d;
        bool wasVisible = false;
        d.answerModal([&](QDialog& dialog) { wasVisible = dialog.isVisible(); });
        QDialog dialog;
        dialog.setWindowTitle(QStringLiteral("Tax Form Totals"));
        d.runModal(dialog);
        QVERIFY(wasVisible);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(d.last().kind, ShownBox::Kind::Modal);
        QCOMPARE(d.last().title, QStringLiteral("Tax Form Totals"));
        QUILLARY_VERIFY_DIALOGS(d);
    }

    void unscriptedBoxesFailAndGetHarmlessAnswers_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("yes/no box") << 0;
        QTest::newRow("ok/cancel box") << 1;
        QTest::newRow("input box") << 2;
        QTest::newRow("file-open dialog") << 3;
        QTest::newRow("box of another kind than scripted") << 4;
    }
    void unscriptedBoxesFailAndGetHarmlessAnswers()
    {
        QFETCH(int, which);
        ScriptedDialogs d;
        Dialogs& dialogs = d;
        QEXPECT_FAIL("", "an unscripted box fails the test", Continue);
        switch (which) {
        case 0:
            QCOMPARE(dialogs.message(QStringLiteral("Delete?"), Buttons::YesNo), Answer::No);
            break;
        case 1:
            QCOMPARE(dialogs.message(QStringLiteral("Go on?"), Buttons::OkCancel), Answer::Cancel);
            break;
        case 2:
            QCOMPARE(d.input(QStringLiteral("Amount"), QStringLiteral("Amount")), QString());
            break;
        case 3:
            QCOMPARE(d.openFileName(QStringLiteral("Open")), std::optional<QString>());
            break;
        case 4:
            d.answerMessage(Answer::Yes);
            QCOMPARE(d.input(QStringLiteral("Amount"), QStringLiteral("Amount")), QString());
            QCOMPARE(d.pendingCount(), std::size_t(1)); // the message answer is still waiting
            d.answerInput(QStringLiteral("unused"));
            break;
        }
        QCOMPARE(d.unexpectedCount(), 1);
        QCOMPARE(d.shown().size(), 1);
        if (which == 4)
            QEXPECT_FAIL("", "answers left over fail the test", Continue);
        // Clears the state, so the next test starts clean.
        QVERIFY(!d.verifyAllUsed(__FILE__, __LINE__));
        QCOMPARE(d.unexpectedCount(), 0);
        QCOMPARE(d.pendingCount(), std::size_t(0));
    }
};

QUILLARY_TEST_MAIN(TestScriptedDialogs)
#include "tst_scripteddialogs.moc"
