// The record window: its load sequence, showing records, moves with the
// save step, validation of date and amount, and how fields are stored.

#include "recordfixture.h"

#include "forms/focus.h"
#include "platform/fonts.h"
#include "platform/localeservices.h"
#include "records/categories.h"
#include "support/accessibility.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using namespace quillary;
using namespace quillary::test;

namespace {

const QString kToday = QStringLiteral("3/14/2024");
const QString kNoRecords = QStringLiteral("No records, one will now be added.");
const QString kBlank = QStringLiteral("No information in the present record, it will not be saved");
const QString kDatePrompt = QStringLiteral(
    "The action you request can not be completed until a valid 'Date:' is given for the current "
    "record, input a date and push 'OK' to fix this or push 'Cancel' to continue without saving "
    "changes to the current record.");
const QString kDateTitle = QStringLiteral("Invalid Date on current record");
const QString kAmountPromptChange = QStringLiteral(
    "The action you request can not be completed until a valid 'Amount:' is given for the "
    "current record, input a currency amount and push 'OK' to fix this or push 'Cancel' to "
    "continue without saving changes to the current record.");
const QString kAmountPromptAdd = QStringLiteral(
    "The action you request can not be completed until a valid 'Amount:' is given for the "
    "current record, input a currency amount and push 'OK' to fix this or push 'Cancel' to "
    "continue without saving the current record.");
const QString kAmountTitle = QStringLiteral("Invalid Amount on the current record");
const QString kChangeFailed = QStringLiteral("The most recent change record failed");
const QString kAddFailed = QStringLiteral("The most recent 'Add' record failed");
const QString kNoFile =
    QStringLiteral("No file chosen, I will open the default file 'Taxrecs.dat' for you");

// What the form shows, read from its controls.
struct View {
    explicit View(Quillary* w)
        : w(w)
    {
    }
    Quillary* w;
    QLineEdit* text(const char* name) const { return find<QLineEdit>(w, name); }
    QComboBox* combo(const char* name) const { return find<QComboBox>(w, name); }
    QPushButton* button(const char* name) const { return find<QPushButton>(w, name); }
    QRadioButton* option(const char* name) const { return find<QRadioButton>(w, name); }
    QLabel* label(const char* name) const { return find<QLabel>(w, name); }
    QScrollBar* scroll() const { return find<QScrollBar>(w, "HScroll1"); }
    QString caption() const { return label("Label9")->text(); }
    QString kindShown() const
    {
        return QStringLiteral("%1/%2").arg(option("Option1")->isChecked() ? "Personal" : "Business",
                                           option("Option3")->isChecked() ? "Expense" : "Income");
    }
    // First, Previous, Next, Last enabled, as four letters (x = disabled).
    QString moves() const
    {
        QString s;
        s += button("Command7")->isEnabled() ? 'F' : 'x';
        s += button("Command6")->isEnabled() ? 'P' : 'x';
        s += button("Command5")->isEnabled() ? 'N' : 'x';
        s += button("Command8")->isEnabled() ? 'L' : 'x';
        return s;
    }
};

} // namespace

class TestRecordForm : public QObject {
    Q_OBJECT

    std::unique_ptr<PinnedDay> pinned_;
    std::unique_ptr<RecordEnv> env_;

    // A window on a file holding the sample records (plus extra bytes).
    Quillary* openSample(const QByteArray& extra = {})
    {
        const QString file = env_->path(QStringLiteral("sample.dat"));
        writeBytes(file, bytesOf(sampleRecords()) + extra);
        return env_->open(file);
    }
    QByteArray sampleBytes() const { return fileContents(env_->path(QStringLiteral("sample.dat"))); }

    // Makes the windows' workspace the active window, so the focus is real.
    void activateArea()
    {
        env_->area.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&env_->area));
    }

    // A window on an empty file: it starts an add. The form is filled in a
    // little so the record is not blank.
    Quillary* openAdding()
    {
        env_->dialogs.answerMessage(Answer::Ok);
        Quillary* w = env_->open(env_->path(QStringLiteral("add.dat")));
        env_->dialogs.clearShown();
        View v(w);
        v.text("Text2")->setText(QStringLiteral("New one"));
        v.text("Text6")->setText(QStringLiteral("5"));
        return w;
    }

    // The window a row works on: a pending add on an empty file, or
    // record 3 of the sample file.
    struct Target {
        Quillary* w;
        QString file;
        QByteArray before;
        int n; // the record the save step writes
    };
    Target openTarget(bool adding)
    {
        if (adding)
            return {openAdding(), env_->path(QStringLiteral("add.dat")), QByteArray(), 1};
        Quillary* w = openSample();
        return {w, env_->path(QStringLiteral("sample.dat")), bytesOf(sampleRecords()), 3};
    }

private slots:
    void initTestCase() { pinned_ = std::make_unique<PinnedDay>(QDate(2024, 3, 14)); }
    void cleanupTestCase() { pinned_.reset(); }
    void init()
    {
        QFile::remove(QStringLiteral("Taxrecs.dat"));
        env_ = std::make_unique<RecordEnv>();
    }
    void cleanup()
    {
        auto env = std::move(env_);
        QUILLARY_VERIFY_DIALOGS(env->dialogs);
    }

    void emptyFileStartsAnAdd_data()
    {
        QTest::addColumn<QString>("filename");
        QTest::addColumn<QString>("expectedFile");
        QTest::newRow("named file") << QStringLiteral("new.dat") << QStringLiteral("new.dat");
        QTest::newRow("no name: the default") << QString() << QStringLiteral("Taxrecs.dat");
    }
    void emptyFileStartsAnAdd()
    {
        QFETCH(QString, filename);
        QFETCH(QString, expectedFile);
        QFile::remove(expectedFile);
        env_->dialogs.answerMessage(Answer::Ok);
        Quillary* w = env_->open(filename);
        QVERIFY(w);
        View v(w);

        const ShownBox box = env_->dialogs.last();
        QCOMPARE(box.text, kNoRecords);
        QCOMPARE(box.title, QStringLiteral("Quillary2"));
        QCOMPARE(box.buttons, Buttons::Ok);
        QCOMPARE(box.icon, Icon::None);

        QVERIFY(QFile::exists(expectedFile));
        QCOMPARE(QFileInfo(expectedFile).size(), 0);
        QCOMPARE(w->presfile, expectedFile);
        QCOMPARE(w->subWindow()->windowTitle(), expectedFile);
        QVERIFY(w->isAdding());
        QCOMPARE(w->Lastrecord, 0);
        QCOMPARE(w->Presrecord, 1);
        QCOMPARE(v.kindShown(), QStringLiteral("Personal/Expense"));
        QCOMPARE(v.combo("Expense")->currentText(), QStringLiteral("Other"));
        QCOMPARE(v.text("Text1")->text(), kToday);
        for (const char* name : {"Text6", "Text3", "Text5", "Text2"})
            QCOMPARE(v.text(name)->text(), QString());
        QCOMPARE(v.combo("Paymethod")->currentText(), QString());
        QCOMPARE(v.caption(), QStringLiteral("Adding Record Number  1"));
        QCOMPARE(v.moves(), QStringLiteral("xxxx"));
        QFile::remove(expectedFile);
    }

    void lastRecordShownFirst()
    {
        Quillary* w = openSample();
        View v(w);
        QCOMPARE(w->Lastrecord, 3);
        QCOMPARE(w->Presrecord, 3);
        QVERIFY(!w->isAdding());
        QCOMPARE(v.caption(), QStringLiteral("Record No.   3  0f   3"));
        QCOMPARE(v.moves(), QStringLiteral("FPxx"));
        QCOMPARE(v.scroll()->minimum(), 1);
        QCOMPARE(v.scroll()->maximum(), 3);
        QCOMPARE(v.scroll()->value(), 3);
        QCOMPARE(w->subWindow()->windowTitle(), env_->path(QStringLiteral("sample.dat")));

        // Fields as stored, padding included; the type trimmed.
        QCOMPARE(v.kindShown(), QStringLiteral("Personal/Income"));
        QCOMPARE(v.text("Text1")->text(), QStringLiteral("4/30/2024      "));
        QCOMPARE(v.text("Text6")->text(), QStringLiteral("2500          "));
        QCOMPARE(v.text("Text3")->text(), QString(10, QLatin1Char(' ')));
        QCOMPARE(v.combo("Paymethod")->currentText(), QStringLiteral("Account") + QString(13, ' '));
        QCOMPARE(v.combo("Expense")->currentText(), QStringLiteral("Wages, Salaries, Tips, etc."));
        QCOMPARE(v.text("Text5")->text(), QStringLiteral("Acme Tools Inc.     "));
        QCOMPARE(v.text("Text2")->text(), QStringLiteral("April salary        "));
        QCOMPARE(v.label("Label7")->text(), QStringLiteral(" Income Type:"));
        QCOMPARE(v.label("Label5")->text(), QStringLiteral("Paid by:"));
    }

    // Every move writes the record on display back, then shows the next one.
    void movesSaveTheRecordOnDisplay_data()
    {
        QTest::addColumn<QString>("move");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("buttons");
        QTest::newRow("First") << "Command7" << 3 << 1 << "Record No.   1  0f   3" << "xxNL";
        QTest::newRow("Previous") << "Command6" << 3 << 2 << "Record No.   2  0f   3" << "FPNL";
        QTest::newRow("Next") << "Command5" << 1 << 2 << "Record No.   2  0f   3" << "FPNL";
        QTest::newRow("Last") << "Command8" << 1 << 3 << "Record No.   3  0f   3" << "FPxx";
        QTest::newRow("scroll bar back") << "HScroll1" << 3 << 1 << "Record No.   1  0f   3"
                                         << "xxNL";
        QTest::newRow("scroll bar on") << "HScroll1" << 1 << 2 << "Record No.   2  0f   3"
                                       << "FPNL";
    }
    void movesSaveTheRecordOnDisplay()
    {
        QFETCH(QString, move);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, caption);
        QFETCH(QString, buttons);

        Quillary* w = openSample();
        View v(w);
        if (from != 3) {
            v.scroll()->setValue(from);
            QCOMPARE(w->Presrecord, from);
            // Going there wrote record 3 back unchanged.
            QCOMPARE(sampleBytes(), bytesOf(sampleRecords()));
        }
        v.text("Text2")->setText(QStringLiteral("  Changed  "));
        v.text("Text3")->setText(QStringLiteral("INV-9"));

        if (move == QLatin1String("HScroll1"))
            v.scroll()->setValue(to);
        else
            v.button(qPrintable(move))->click();

        std::vector<TaxRecord> expected = sampleRecords();
        expected[from - 1].setField(Field::Description, QStringLiteral("Changed"));
        expected[from - 1].setField(Field::Invoice, QStringLiteral("INV-9"));
        QCOMPARE(sampleBytes(), bytesOf(expected));
        QCOMPARE(w->Presrecord, to);
        QCOMPARE(v.caption(), caption);
        QCOMPARE(v.moves(), buttons);
        QCOMPARE(v.scroll()->value(), to);
        QCOMPARE(v.text("Text2")->text(), expected[to - 1].field(Field::Description));
    }

    void scrollBarAtTheRecordOnDisplayDoesNothing()
    {
        Quillary* w = openSample();
        View v(w);
        v.text("Text6")->setText(QStringLiteral("not a number"));
        w->HScroll1_Change(3);
        v.scroll()->setValue(3);
        // No save step ran: it would have asked for the amount.
        QCOMPARE(env_->dialogs.shown().size(), 0);
        QCOMPARE(w->Presrecord, 3);
        QCOMPARE(sampleBytes(), bytesOf(sampleRecords()));
    }

    void recordsShowTheirKind_data()
    {
        QTest::addColumn<char>("code");
        QTest::addColumn<QString>("kind");
        QTest::newRow("0") << '0' << "Personal/Expense";
        QTest::newRow("1") << '1' << "Personal/Income";
        QTest::newRow("2") << '2' << "Business/Expense";
        QTest::newRow("3") << '3' << "Business/Income";
    }
    void recordsShowTheirKind()
    {
        QFETCH(char, code);
        QFETCH(QString, kind);
        const auto k = *kindFromCode(code);
        const QString type = typeList(k).constFirst();
        writeBytes(env_->path("k.dat"),
                   makeRecord(code, kToday, "1", "", "", type, "", "x").bytes());
        Quillary* w = env_->open(env_->path("k.dat"));
        View v(w);
        QCOMPARE(v.kindShown(), kind);
        QCOMPARE(v.combo("Expense")->currentText(), type);
    }

    // Choosing a kind sets both labels and refills the type list.
    void kindButtonsSetLabelsAndTypes_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("business");
        QTest::addColumn<bool>("income");
        QTest::addColumn<QString>("typeLabel");
        QTest::addColumn<QString>("partyLabel");
        QTest::addColumn<QString>("selected");
        QTest::newRow("personal expense") << "Option1" << "Option3" << false << false
                                          << " Expense Type:" << "Paid to:" << "Other";
        QTest::newRow("personal income") << "Option1" << "Option4" << false << true
                                         << " Income Type:" << "Paid by:"
                                         << "Wages, Salaries, Tips, etc.";
        QTest::newRow("business expense") << "Option2" << "Option3" << true << false
                                          << " Expense Type:" << "Paid to:" << "Supplies";
        QTest::newRow("business income") << "Option2" << "Option4" << true << true
                                         << " Income Type:" << "Paid by:"
                                         << "Receipts or Sales";
    }
    void kindButtonsSetLabelsAndTypes()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, business);
        QFETCH(bool, income);
        QFETCH(QString, typeLabel);
        QFETCH(QString, partyLabel);
        QFETCH(QString, selected);

        Quillary* w = openSample();
        View v(w);
        // Start from the opposite kind so both changes do something.
        QVERIFY(toggleOption(v.option(business ? "Option1" : "Option2")));
        QVERIFY(toggleOption(v.option(income ? "Option3" : "Option4")));
        QVERIFY(toggleOption(v.option(qPrintable(first))));
        QVERIFY(toggleOption(v.option(qPrintable(second))));

        QCOMPARE(v.label("Label7")->text(), typeLabel);
        QCOMPARE(v.label("Label5")->text(), partyLabel);
        QStringList items;
        for (int i = 0; i < v.combo("Expense")->count(); ++i)
            items << v.combo("Expense")->itemText(i);
        QCOMPARE(items, typeList(Kind{business, income}));
        QCOMPARE(v.combo("Expense")->currentText(), selected);
        QCOMPARE(v.combo("Expense")->accessibleName(), typeLabel.trimmed());
        QCOMPARE(v.text("Text5")->accessibleName(), partyLabel);
    }

    // A change of kind by a screen reader's toggle or by the arrow keys sets
    // the labels and the type list as a click does, and the record is
    // stored with the kind and a type of that kind.
    void kindChangesReachTheForm_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("option");
        QTest::addColumn<char>("kind");
        QTest::addColumn<QString>("typeLabel");
        QTest::addColumn<QString>("partyLabel");
        QTest::addColumn<QString>("type");
        for (const char* way : {"toggle", "keyboard"}) {
            QTest::addRow("%s Business", way) << way << "Option2" << '3' << " Income Type:"
                                              << "Paid by:" << "Receipts or Sales";
            QTest::addRow("%s Expense", way) << way << "Option3" << '0' << " Expense Type:"
                                             << "Paid to:" << "Other";
        }
    }
    void kindChangesReachTheForm()
    {
        QFETCH(QString, way);
        QFETCH(QString, option);
        QFETCH(char, kind);
        QFETCH(QString, typeLabel);
        QFETCH(QString, partyLabel);
        QFETCH(QString, type);

        Quillary* w = openSample(); // record 3: Personal income, wages
        View v(w);
        QRadioButton* target = v.option(qPrintable(option));
        if (way == "toggle") {
            QVERIFY(toggleOption(target));
        } else {
            // From the checked option of the pair to the other one.
            QRadioButton* from = v.option(option == "Option2" ? "Option1" : "Option4");
            QVERIFY(from->isChecked());
            env_->area.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&env_->area));
            from->setFocus(Qt::TabFocusReason);
            QTest::keyClick(from, option == "Option2" ? Qt::Key_Down : Qt::Key_Up);
            QVERIFY(target->isChecked());
        }

        QCOMPARE(v.label("Label7")->text(), typeLabel);
        QCOMPARE(v.label("Label5")->text(), partyLabel);
        const Kind shown{kind == '2' || kind == '3', kind == '1' || kind == '3'};
        QStringList items;
        for (int i = 0; i < v.combo("Expense")->count(); ++i)
            items << v.combo("Expense")->itemText(i);
        QCOMPARE(items, typeList(shown));
        QCOMPARE(v.combo("Expense")->currentText(), type);

        w->Command7_Click(); // First: the save step writes record 3
        const TaxRecord stored = TaxRecord::fromBytes(sampleBytes().mid(2 * kRecordLength));
        QCOMPARE(stored.kindCode(), kind);
        QCOMPARE(trimBlanks(stored.field(Field::Type)), type);
    }

    // Showing a record sets both pairs and fills the type list once, so the
    // type read from the file stays selected.
    void showingARecordFillsTheListOnce()
    {
        Quillary* w = openSample();
        View v(w);
        int fills = 0;
        connect(v.combo("Expense"), &QComboBox::currentIndexChanged, this, [&](int index) {
            if (index == -1)
                ++fills; // the list was cleared
        });
        w->Command7_Click(); // record 1: Personal expense, from Personal income
        QCOMPARE(v.kindShown(), QStringLiteral("Personal/Expense"));
        QCOMPARE(v.combo("Expense")->currentText(), QStringLiteral("Medical and Dental Fees"));
        w->Command5_Click(); // record 2: Business expense
        QCOMPARE(v.kindShown(), QStringLiteral("Business/Expense"));
        QCOMPARE(v.combo("Expense")->currentText(), QStringLiteral("Supplies"));
        QCOMPARE(fills, 2);
    }

    // Where the keyboard focus starts: on the checked one of Personal and
    // Business (the first tab stop), or in the Description box when the
    // window starts a new record.
    void focusAtStart_data()
    {
        QTest::addColumn<QString>("last"); // kind of the last record, "" for an empty file
        QTest::addColumn<QString>("focused");
        QTest::newRow("personal record") << "1" << "Option1";
        QTest::newRow("business record") << "3" << "Option2";
        QTest::newRow("empty file") << "" << "Text2";
    }
    void focusAtStart()
    {
        QFETCH(QString, last);
        QFETCH(QString, focused);
        activateArea();
        const QString file = env_->path(QStringLiteral("focus.dat"));
        if (last.isEmpty()) {
            writeBytes(file, {});
            env_->dialogs.answerMessage(Answer::Ok);
        } else {
            std::vector<TaxRecord> records = sampleRecords();
            records.back() = makeRecord(last.at(0).toLatin1(), "4/30/2024", "10", "", "Cash",
                                        last == "1" ? "Other" : "Receipts or Sales", "X", "Y");
            writeBytes(file, bytesOf(records));
        }
        Quillary* w = env_->open(file);
        QVERIFY(w);
        QCOMPARE(w->focusWidget()->objectName(), focused);
        QTRY_COMPARE(QApplication::focusWidget(), w->focusWidget());
    }

    // After Add the cursor is in the Description box, wherever the focus
    // was: typed text with blanks goes there, and the kind stays.
    void focusAfterAdd()
    {
        activateArea();
        std::vector<TaxRecord> records = sampleRecords();
        records.back() = makeRecord('2', "5/1/2024", "12.5", "", "Visa/Mastercard",
                                    "Interest (Other)", "First Bank", "Loan interest");
        const QString file = env_->path(QStringLiteral("add.dat"));
        writeBytes(file, bytesOf(records));
        Quillary* w = env_->open(file);
        View v(w);
        QTRY_COMPARE(QApplication::focusWidget(), v.option("Option2"));
        v.option("Option1")->setFocus(Qt::OtherFocusReason); // the program's focus goes on
        QTRY_COMPARE(QApplication::focusWidget(), v.option("Option2"));

        // Add, pressed the way a screen reader does.
        QVERIFY(doAccessibleAction(v.button("Command3"),
                                   QAccessibleActionInterface::pressAction()));
        QTRY_VERIFY(w->isAdding());
        QCOMPARE(QApplication::focusWidget(), v.text("Text2"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(" new  desk"));
        QCOMPARE(v.text("Text2")->text(), QStringLiteral(" new  desk"));
        QCOMPARE(v.kindShown(), QStringLiteral("Business/Expense"));
        QCOMPARE(v.combo("Expense")->currentText(), QStringLiteral("Supplies"));
    }

    // A move keeps the focus where it was; on an option it goes along to
    // the option the new record checks.
    void focusAfterAMove()
    {
        activateArea();
        Quillary* w = openSample(); // record 3: Personal income
        View v(w);
        v.text("Text3")->setFocus(Qt::TabFocusReason);
        w->Command6_Click(); // record 2: Business expense
        QCOMPARE(QApplication::focusWidget(), v.text("Text3"));

        w->Command8_Click(); // record 3 again
        v.option("Option1")->setFocus(Qt::TabFocusReason);
        w->Command6_Click(); // Business now checked
        QCOMPARE(QApplication::focusWidget(), v.option("Option2"));
        // A Space there changes nothing.
        QTest::keyClick(v.option("Option2"), Qt::Key_Space);
        QCOMPARE(v.kindShown(), QStringLiteral("Business/Expense"));
        QCOMPARE(v.combo("Expense")->currentText(), QStringLiteral("Supplies"));
    }

    // Tab stops at the checked option of each pair only.
    void tabVisitsTheCheckedOptions()
    {
        activateArea();
        Quillary* w = openSample(); // record 3: Personal income
        View v(w);
        QTRY_COMPARE(QApplication::focusWidget(), v.option("Option1"));
        QStringList visited;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, (QStringList{"Option4", "Command3", "Command4", "Command7"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), v.option("Option4"));
    }

    // Every focused control carries the focus ring, just outside it.
    void focusedControlIsMarked_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* n : {"Option1", "Option4", "Command3", "Command9", "Text2", "Paymethod",
                              "Expense", "Command1", "HScroll1"})
            QTest::newRow(n) << n;
    }
    void focusedControlIsMarked()
    {
        QFETCH(QString, name);
        activateArea();
        Quillary* w = openSample();
        auto* control = w->findChild<QWidget*>(name);
        control->setFocus(Qt::TabFocusReason);
        auto* mark = w->findChild<FocusMark*>(QStringLiteral("focusMark"));
        QVERIFY(mark);
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused == control || control->isAncestorOf(focused));
        QCOMPARE(mark->marked(), focused);
        QVERIFY(mark->isVisible());
        const QRect at(focused->mapTo(w, QPoint(0, 0)), focused->size());
        QVERIFY(mark->ring().contains(at));
        QVERIFY(mark->ring() != at);
        // Nothing is marked once the focus leaves the form.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(mark->marked(), nullptr);
    }

    // Stored texts show from their first character: the cursor at the start
    // keeps a box narrower than its padded field from showing only the end.
    void shownTextsStartAtTheirFirstCharacter()
    {
        Quillary* w = openSample();
        View v(w);
        w->Command6_Click(); // record 2, Visa/Mastercard
        QCOMPARE(v.combo("Paymethod")->currentText(), QStringLiteral("Visa/Mastercard     "));
        QLineEdit* pay = v.combo("Paymethod")->lineEdit();
        QCOMPARE(pay->cursorPosition(), 0);
        for (const char* name : {"Text1", "Text6", "Text3", "Text5", "Text2"})
            QVERIFY2(v.text(name)->cursorPosition() == 0, name);
    }

    // A further window opens cascaded from the last one, never exactly over
    // it; the first one goes to its designed spot.
    void furtherWindowsAreCascaded()
    {
        QList<QMdiSubWindow*> subs;
        for (const char* name : {"one.dat", "two.dat", "three.dat"}) {
            const QString file = env_->path(QString::fromLatin1(name));
            writeBytes(file, bytesOf(sampleRecords()));
            Quillary* w = env_->open(file);
            QVERIFY(w);
            subs << w->subWindow();
        }
        QCOMPARE(subs[0]->pos(), QPoint(twipsToPixels(2310), twipsToPixels(1515)));
        const QPoint step = subs[1]->pos() - subs[0]->pos();
        QVERIFY(step.x() > 0 && step.y() > 0);
        QCOMPARE(subs[2]->pos() - subs[1]->pos(), step);
        for (QMdiSubWindow* sub : subs)
            QVERIFY(QRect(QPoint(), env_->area.viewport()->size()).contains(sub->geometry()));
    }

    // How the boxes are stored: trimmed, padded, cut; the type untrimmed.
    void fieldsAreStoredInTheirWidths()
    {
        Quillary* w = openSample();
        View v(w);
        QVERIFY(toggleOption(v.option("Option2")));
        QVERIFY(toggleOption(v.option("Option4")));
        v.combo("Expense")->setCurrentIndex(v.combo("Expense")->findText("Returns & Allowances"));
        v.text("Text1")->setText(QStringLiteral(" 5/6/24 "));
        v.text("Text6")->setText(QStringLiteral("$1,234.50"));
        v.text("Text3")->setText(QStringLiteral("  INV-2024-000123  "));
        v.combo("Paymethod")->setEditText(QStringLiteral("  Cash  "));
        v.text("Text5")->setText(QStringLiteral("A payer with a long name indeed"));
        v.text("Text2")->setText(QStringLiteral("  rent"));
        v.button("Command7")->click();

        const TaxRecord stored = TaxRecord::fromBytes(sampleBytes().mid(2 * kRecordLength));
        QCOMPARE(stored.kindCode(), '3');
        QCOMPARE(stored.field(Field::Date), QStringLiteral("5/6/2024       "));
        QCOMPARE(stored.field(Field::Amount), QStringLiteral("1234.5        "));
        QCOMPARE(stored.field(Field::Invoice), QStringLiteral("INV-2024-0"));
        QCOMPARE(stored.field(Field::PayMethod), QStringLiteral("Cash") + QString(16, ' '));
        QCOMPARE(stored.field(Field::Type), QStringLiteral("Returns & Allowances          "));
        QCOMPARE(stored.field(Field::Party), QStringLiteral("A payer with a long "));
        QCOMPARE(stored.field(Field::Description), QStringLiteral("rent") + QString(16, ' '));
        QCOMPARE(sampleBytes().size(), 3 * kRecordLength);
    }

    void blankRecordIsNotSaved_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::newRow("new record") << true;
        QTest::newRow("existing record") << false;
    }
    void blankRecordIsNotSaved()
    {
        QFETCH(bool, adding);
        const Target t = openTarget(adding);
        View v(t.w);
        for (const char* name : {"Text6", "Text3", "Text5", "Text2"})
            v.text(name)->clear();
        v.combo("Paymethod")->setEditText(QString());
        v.text("Text1")->setText(kToday);
        env_->dialogs.answerMessage(Answer::Ok);
        t.w->saveStep();
        QCOMPARE(env_->dialogs.last().text, kBlank);
        QCOMPARE(env_->dialogs.last().title, QStringLiteral("Quillary2"));
        QCOMPARE(fileContents(t.file), t.before);
        QVERIFY(!t.w->isAdding());
        // A given-up add goes back to the last record.
        QCOMPARE(t.w->Lastrecord, adding ? 0 : 3);
        QCOMPARE(t.w->Presrecord, adding ? 0 : 3);
    }

    void oneBlankIsContent()
    {
        Quillary* w = openSample();
        View v(w);
        for (const char* name : {"Text3", "Text5"})
            v.text(name)->clear();
        v.combo("Paymethod")->setEditText(QString());
        v.text("Text1")->setText(kToday);
        v.text("Text6")->setText(QStringLiteral("0"));
        v.text("Text2")->setText(QStringLiteral(" "));
        w->saveStep();
        const TaxRecord stored = TaxRecord::fromBytes(sampleBytes().mid(2 * kRecordLength));
        QCOMPARE(stored.field(Field::Amount).trimmed(), QStringLiteral("0"));
        QCOMPARE(stored.field(Field::Description), QString(20, ' '));
    }

    // The correction boxes: a good answer is taken, an empty one (OK on an
    // empty field, or Cancel) gives up the save; the move still happens.
    void invalidDateAsksForOne_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("stored"); // empty: nothing written
        QTest::newRow("change, good answer") << false << QStringList{"3/15/2024"} << "3/15/2024";
        QTest::newRow("change, bad then good") << false << QStringList{"13/45/96", "2024-01-02"}
                                               << "1/2/2024";
        QTest::newRow("change, Cancel (an empty answer)") << false << QStringList{""} << "";
        QTest::newRow("add, good answer") << true << QStringList{"3/15/24"} << "3/15/2024";
        QTest::newRow("add, Cancel (an empty answer)") << true << QStringList{""} << "";
    }
    void invalidDateAsksForOne()
    {
        QFETCH(bool, adding);
        QFETCH(QStringList, answers);
        QFETCH(QString, stored);
        const Target t = openTarget(adding);
        View v(t.w);
        v.text("Text1")->setText(QStringLiteral("13/45/96"));
        for (const QString& a : answers)
            env_->dialogs.answerInput(a);
        if (adding)
            t.w->saveStep();
        else
            v.button("Command7")->click();

        for (const ShownBox& box : env_->dialogs.shown()) {
            QCOMPARE(box.kind, ShownBox::Kind::Input);
            QCOMPARE(box.text, kDatePrompt);
            QCOMPARE(box.title, kDateTitle);
        }
        QCOMPARE(env_->dialogs.shown().size(), answers.size());
        QVERIFY(!t.w->isAdding());
        if (stored.isEmpty()) {
            QCOMPARE(fileContents(t.file), t.before);
            QCOMPARE(t.w->Lastrecord, adding ? 0 : 3);
        } else {
            const TaxRecord r = TaxRecord::fromBytes(fileContents(t.file).mid((t.n - 1) * kRecordLength));
            QCOMPARE(r.field(Field::Date).trimmed(), stored);
            QCOMPARE(t.w->Lastrecord, t.n);
        }
        // The move happens whether or not the record was written.
        if (!adding)
            QCOMPARE(t.w->Presrecord, 1);
    }

    void invalidAmountAsksForOne_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("stored"); // empty: nothing written
        QTest::newRow("letters, answered 12.50") << false << "abc" << QStringList{"12.50"}
                                                 << "12.5";
        QTest::newRow("empty box, answered") << false << "" << QStringList{"x", "(7)"} << "-7";
        QTest::newRow("letters, cancelled") << false << "abc" << QStringList{""} << "";
        QTest::newRow("add, answered") << true << "ten" << QStringList{"10.00"} << "10";
        QTest::newRow("add, cancelled") << true << "ten" << QStringList{""} << "";
    }
    void invalidAmountAsksForOne()
    {
        QFETCH(bool, adding);
        QFETCH(QString, amount);
        QFETCH(QStringList, answers);
        QFETCH(QString, stored);
        const Target t = openTarget(adding);
        View v(t.w);
        v.text("Text6")->setText(amount);
        for (const QString& a : answers)
            env_->dialogs.answerInput(a);
        t.w->saveStep();

        for (const ShownBox& box : env_->dialogs.shown()) {
            QCOMPARE(box.text, adding ? kAmountPromptAdd : kAmountPromptChange);
            QCOMPARE(box.title, kAmountTitle);
        }
        QCOMPARE(env_->dialogs.shown().size(), answers.size());
        QVERIFY(!t.w->isAdding());
        if (stored.isEmpty()) {
            QCOMPARE(fileContents(t.file), t.before);
            QCOMPARE(t.w->Lastrecord, adding ? 0 : 3);
        } else {
            const TaxRecord r = TaxRecord::fromBytes(fileContents(t.file).mid((t.n - 1) * kRecordLength));
            QCOMPARE(r.field(Field::Amount).trimmed(), stored);
            QCOMPARE(t.w->Lastrecord, t.n);
            QCOMPARE(v.caption(), QStringLiteral("Record No.  %1  0f  %1").arg(numberText(t.n)));
        }
    }

    // A record that cannot be written is reported with the reason and stays
    // on the form, still to be saved: nothing the user typed is lost, and
    // once the problem is gone the same save writes it.
    void failuresAreReported_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("reason");
        QTest::newRow("change, amount out of range")
            << false << "99999999999999999999" << false << kChangeFailed
            << "The amount 99999999999999999999 is larger than a record can hold.";
        QTest::newRow("change, disk full")
            << false << "5" << true << kChangeFailed << ": No space left on device.";
        QTest::newRow("add, amount out of range")
            << true << "-99999999999999999999" << false << kAddFailed
            << "The amount -99999999999999999999 is larger than a record can hold.";
        QTest::newRow("add, disk full")
            << true << "5" << true << kAddFailed << ": No space left on device.";
    }
    void failuresAreReported()
    {
        QFETCH(bool, adding);
        QFETCH(QString, amount);
        QFETCH(bool, diskFull);
        QFETCH(QString, message);
        QFETCH(QString, reason);
        const Target t = openTarget(adding);
        View v(t.w);
        v.text("Text6")->setText(amount);
        v.text("Text2")->setText(QStringLiteral("typed by the user"));
        if (diskFull)
            env_->files.setFaultInjector([](const QString&) { return true; });
        env_->dialogs.answerMessage(Answer::Ok);
        QVERIFY(!t.w->saveStep());
        env_->files.setFaultInjector({});
        const QString text = env_->dialogs.last().text;
        QVERIFY2(text.startsWith(message + QStringLiteral("\n\n")), qPrintable(text));
        QVERIFY2(text.contains(reason), qPrintable(text));
        QCOMPARE(env_->dialogs.last().title, QStringLiteral("Quillary2"));
        QCOMPARE(fileContents(t.file), t.before);
        QCOMPARE(t.w->isAdding(), adding);
        QCOMPARE(t.w->Lastrecord, adding ? 0 : 3);
        QCOMPARE(t.w->Presrecord, t.n);
        QCOMPARE(v.text("Text6")->text(), amount);
        QCOMPARE(v.text("Text2")->text(), QStringLiteral("typed by the user"));

        // The problem solved, the same record is written.
        v.text("Text6")->setText(QStringLiteral("5"));
        QVERIFY(t.w->saveStep());
        QVERIFY(!t.w->isAdding());
        QCOMPARE(t.w->Lastrecord, adding ? 1 : 3);
        QCOMPARE(fileContents(t.file).size(), (adding ? 1 : 3) * kRecordLength);
        TaxRecord written;
        QVERIFY(t.w->dataFile().read(t.n, written));
        QCOMPARE(trimBlanks(written.field(Field::Description)),
                 QStringLiteral("typed by the user"));
    }

    void addWritesAfterTheLastRecord()
    {
        Quillary* w = openSample();
        View v(w);
        w->Presrecord = 4;
        w->Buttonupd();
        QCOMPARE(v.caption(), QStringLiteral("Adding Record Number  4"));
        QCOMPARE(v.moves(), QStringLiteral("FPxx"));
        v.text("Text2")->setText(QStringLiteral("Fourth"));
        w->addr();
        QCOMPARE(w->Lastrecord, 4);
        QCOMPARE(v.caption(), QStringLiteral("Record No.   4  0f   4"));
        QCOMPARE(sampleBytes().size(), 4 * kRecordLength);
        QCOMPARE(sampleBytes().left(3 * kRecordLength), bytesOf(sampleRecords()));
    }

    // An add given up in an input box leaves the window on its last record:
    // the abandoned record must never reach the file uncounted, where a
    // later Add would overwrite it.
    void abandonedAddIsNeverWritten()
    {
        Quillary* w = openSample();
        View v(w);
        w->Command3_Click();
        QVERIFY(w->isAdding());
        v.text("Text2")->setText(QStringLiteral("Abandoned"));
        v.text("Text1")->setText(QStringLiteral("not a date"));
        env_->dialogs.clearShown();
        env_->dialogs.answerInput(QString());
        env_->dialogs.answerModal([](QDialog&) {});
        v.button("Command1")->click(); // Show Totals saves first
        QVERIFY(!w->isAdding());
        QCOMPARE(w->Presrecord, 3);
        QCOMPARE(v.caption(), QStringLiteral("Record No.   3  0f   3"));
        QCOMPARE(v.text("Text2")->text().trimmed(), QStringLiteral("April salary"));

        v.button("Command6")->click(); // Previous writes record 3 back unchanged
        QCOMPARE(sampleBytes(), bytesOf(sampleRecords()));
        QCOMPARE(w->Lastrecord, 3);
    }

    // Damaged files: the form shows what it can and never fails; a record
    // that cannot be corrected is not written.
    void damagedRecordsAreShown_data()
    {
        QTest::addColumn<QByteArray>("last");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QByteArray>("afterMove"); // record 3 after moving away
        const QByteArray good = sampleRecords()[1].bytes(); // Business expense

        QByteArray kind = good;
        kind[0] = 'X';
        // The buttons keep the kind they showed (the form's initial one);
        // moving away writes the record as shown, the type as that kind's
        // default.
        QTest::newRow("unknown kind code")
            << kind << "Personal/Expense" << QStringList{}
            << makeRecord('0', "4/2/2024", "89.99", "7731", "Visa/Mastercard", "Other",
                          "Office Depot", "Printer paper").bytes();
        QByteArray date = good;
        date.replace(1, 15, QByteArray("\x01\xff garbage\0#!?\0\0", 15));
        QTest::newRow("garbage date") << date << "Business/Expense" << QStringList{""} << date;
        QByteArray amount = good;
        amount.replace(16, 14, QByteArray("12..3e--x\0    ", 14));
        QTest::newRow("garbage amount") << amount << "Business/Expense" << QStringList{""}
                                        << amount;
        const QByteArray zeros(kRecordLength, '\0');
        QTest::newRow("all zero bytes") << zeros << "Personal/Expense" << QStringList{""} << zeros;
    }
    void damagedRecordsAreShown()
    {
        QFETCH(QByteArray, last);
        QFETCH(QString, kind);
        QFETCH(QStringList, answers);
        QFETCH(QByteArray, afterMove);
        const QByteArray contents = bytesOf(sampleRecords()).left(2 * kRecordLength) + last;
        const QString file = env_->path("damaged.dat");
        writeBytes(file, contents);
        Quillary* w = env_->open(file);
        QVERIFY(w);
        View v(w);
        const TaxRecord shown = TaxRecord::fromBytes(last);
        QCOMPARE(v.kindShown(), kind);
        QCOMPARE(v.text("Text1")->text(), shown.field(Field::Date));
        QCOMPARE(v.text("Text6")->text(), shown.field(Field::Amount));
        QCOMPARE(v.text("Text2")->text(), shown.field(Field::Description));
        QCOMPARE(v.caption(), QStringLiteral("Record No.   3  0f   3"));

        for (const QString& a : answers)
            env_->dialogs.answerInput(a);
        v.button("Command7")->click();
        QCOMPARE(w->Presrecord, 1);
        QCOMPARE(v.text("Text2")->text().trimmed(), QStringLiteral("Check-up"));
        QCOMPARE(fileContents(file), contents.left(2 * kRecordLength) + afterMove);
    }

    void truncatedTailIsIgnored()
    {
        Quillary* w = openSample(QByteArray("1 7/1/2024  99", 14));
        View v(w);
        QCOMPARE(w->Lastrecord, 3);
        QCOMPARE(v.caption(), QStringLiteral("Record No.   3  0f   3"));
        QCOMPARE(v.text("Text2")->text().trimmed(), QStringLiteral("April salary"));
        v.button("Command6")->click();
        QCOMPARE(v.text("Text2")->text().trimmed(), QStringLiteral("Printer paper"));
        // The fragment stays as it was.
        QCOMPARE(sampleBytes(), bytesOf(sampleRecords()) + QByteArray("1 7/1/2024  99", 14));
    }

    // The file was cut short behind the window's back: a record beyond the
    // end is neither read (the boxes keep what they show) nor written (that
    // would leave a gap of garbage in the file).
    void recordsBeyondTheEnd()
    {
        Quillary* w = openSample();
        View v(w);
        const QByteArray shortFile = bytesOf(sampleRecords()).left(kRecordLength);
        writeBytes(env_->path("sample.dat"), shortFile);
        env_->dialogs.answerMessage(Answer::Ok);
        v.button("Command6")->click();
        QVERIFY(env_->dialogs.last().text.startsWith(kChangeFailed));
        // The record could not be saved, so the window stays on it.
        QCOMPARE(w->Presrecord, 3);
        QCOMPARE(v.text("Text2")->text().trimmed(), QStringLiteral("April salary"));
        QCOMPARE(v.caption(), QStringLiteral("Record No.   3  0f   3"));
        QCOMPARE(sampleBytes(), shortFile);
    }

    void tooManyRecordsIsNotOpened()
    {
        const QString big = env_->path("big.dat");
        {
            QFile f(big);
            QVERIFY(f.open(QIODevice::WriteOnly));
            const QByteArray record = sampleRecords()[0].bytes();
            QByteArray chunk;
            for (int i = 0; i < 1024; ++i)
                chunk += record;
            for (int i = 0; i < 32; ++i)
                f.write(chunk); // 32,768 records
        }
        const QByteArray before = fileContents(big);
        env_->dialogs.answerMessage(Answer::Ok).answerMessage(Answer::Ok).answerMessage(Answer::Ok);
        Quillary* w = env_->open(big);
        QVERIFY(w);
        const QList<ShownBox> shown = env_->dialogs.shown();
        QCOMPARE(shown.size(), 3);
        QVERIFY2(shown[0].text.contains(QStringLiteral("32,767 records")), qPrintable(shown[0].text));
        QCOMPARE(shown[1].text, kNoFile);
        QCOMPARE(shown[1].title, QStringLiteral("No file"));
        QCOMPARE(shown[1].buttons, Buttons::Ok);
        QCOMPARE(shown[2].text, kNoRecords);
        QCOMPARE(w->presfile, QStringLiteral("Taxrecs.dat"));
        QCOMPARE(fileContents(big), before);
    }

    void unopenablePathFallsBackToTheDefault()
    {
        writeBytes(QStringLiteral("Taxrecs.dat"), bytesOf(sampleRecords()));
        env_->dialogs.answerMessage(Answer::Ok);
        Quillary* w = env_->open(env_->path("no/such/folder/x.dat"));
        QVERIFY(w);
        QCOMPARE(env_->dialogs.last().text, kNoFile);
        QCOMPARE(env_->dialogs.last().title, QStringLiteral("No file"));
        QCOMPARE(env_->dialogs.last().icon, Icon::None);
        QCOMPARE(w->presfile, QStringLiteral("Taxrecs.dat"));
        QCOMPARE(w->subWindow()->windowTitle(), QStringLiteral("Taxrecs.dat"));
        QCOMPARE(w->Lastrecord, 3);
    }

    void unopenableDefaultClosesTheWindow_data()
    {
        QTest::addColumn<QString>("filename");
        QTest::addColumn<int>("messages");
        QTest::newRow("another file first") << "no/such/folder/x.dat" << 2;
        QTest::newRow("the default itself") << "Taxrecs.dat" << 1;
    }
    void unopenableDefaultClosesTheWindow()
    {
        QFETCH(QString, filename);
        QFETCH(int, messages);
        // A folder of that name cannot be opened as a file, not even by root.
        QVERIFY(QDir().mkdir(QStringLiteral("Taxrecs.dat")));
        for (int i = 0; i < messages; ++i)
            env_->dialogs.answerMessage(Answer::Ok);
        Quillary* w = env_->open(filename.startsWith("no/") ? env_->path(filename) : filename);
        QDir().rmdir(QStringLiteral("Taxrecs.dat"));
        QVERIFY(!w);
        QCOMPARE(env_->dialogs.shown().size(), messages);
        QVERIFY(env_->dialogs.last().text.contains(QStringLiteral("could not be opened")));
        QCOMPARE(env_->dialogs.last().title, QStringLiteral("No file"));
        QCOMPARE(env_->area.subWindowList().size(), 0);
    }

    void closingSavesTheRecord()
    {
        Quillary* w = openSample();
        View v(w);
        v.text("Text2")->setText(QStringLiteral("Closed"));
        QVERIFY(w->subWindow()->close());
        std::vector<TaxRecord> expected = sampleRecords();
        expected[2].setField(Field::Description, QStringLiteral("Closed"));
        QCOMPARE(sampleBytes(), bytesOf(expected));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(env_->area.subWindowList().size(), 0);
    }

    void showTotalsSavesAndRereads()
    {
        Quillary* w = openSample();
        View v(w);
        v.text("Text2")->setText(QStringLiteral("Before totals"));
        env_->state.filename = QStringLiteral("something else");
        QByteArray seenInFile;
        env_->dialogs.answerModal([&](QDialog& dialog) {
            seenInFile = sampleBytes();
            // Another handle changes the record on display meanwhile.
            std::vector<TaxRecord> changed = sampleRecords();
            changed[2].setField(Field::Description, QStringLiteral("After totals"));
            writeBytes(env_->path("sample.dat"), bytesOf(changed));
        });
        v.button("Command1")->click();
        QCOMPARE(env_->dialogs.last().title,
                 QStringLiteral("Tax Form Totals: ") + env_->path("sample.dat"));
        QCOMPARE(env_->state.filename, env_->path("sample.dat"));
        QCOMPARE(TaxRecord::fromBytes(seenInFile.mid(2 * kRecordLength)).field(Field::Description).trimmed(),
                 QStringLiteral("Before totals"));
        QCOMPARE(v.text("Text2")->text().trimmed(), QStringLiteral("After totals"));
    }

    void helpAndAbout()
    {
        Quillary* w = openSample();
        QMenu* hp = find<QMenu>(w, "hp");
        QVERIFY(hp);
        env_->dialogs.answerMessage(Answer::Ok).answerMessage(Answer::Ok);
        find<QAction>(hp, "abt")->trigger();
        find<QAction>(hp, "hel")->trigger();
        const QList<ShownBox> shown = env_->dialogs.shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].title, QStringLiteral("About the Quillary Program"));
        QCOMPARE(shown[0].icon, Icon::Information);
        QCOMPARE(shown[0].buttons, Buttons::Ok);
        QCOMPARE(shown[0].text,
                 QStringLiteral("This program is an easy to use Tax record compiler. It enables the "
                                "user to input records for both incomes and expenses.  It also "
                                "enables the user to view/print totals for all types of these."));
        QCOMPARE(shown[1].title, QStringLiteral("Quillary Help"));
        QCOMPARE(shown[1].icon, Icon::Information);
        QCOMPARE(shown[1].buttons, Buttons::Ok);
        QCOMPARE(shown[1].text,
                 QStringLiteral(
                     "Push the appropriate button in the 'Personal' and 'Business' option box to "
                     "select a record to be Personal or Business.  Push the appropriate button in "
                     "the 'Expense' and 'Income' option box to select a record to be an Expense "
                     "or Income.\r\n\r\n"
                     "File menu: Standard file operations.\r\n"
                     "Records menu: 'Undo Present Record Changes' undoes changes to displayed "
                     "record.\r\n"
                     "Sort Records...: Sort all records by type or date.\r\n"
                     "Add: Adds a new record, push it and fill in the boxes.\r\n"
                     "Delete: Deletes the present record.\r\n"
                     "First: Moves to the first record.\r\n"
                     "Previous: Moves to the previous record.\r\n"
                     "Next: Moves to the next record.\r\n"
                     "Last: Moves to the last record.\r\n"
                     "The scroll bar at the bottom also simulates these moves.\r\n"
                     "Show Totals: Displays the 'Tax Form Totals' form.\r\n"
                     "The information boxes are self explanatory, push one to activate it, then "
                     "enter the info.  Records are saved/updated upon moving to a different "
                     "record."));
        QAction* helpfl = find<QAction>(hp, "helpfl");
        QCOMPARE(helpfl->shortcut(), QKeySequence(Qt::Key_F1));
        helpfl->trigger();
        QCOMPARE(env_->help.opened, 1);
    }

    void menusHaveTheirItems()
    {
        Quillary* w = openSample();
        QStringList titles;
        for (QMenu* m : w->menus())
            titles << m->objectName() + "=" + m->title();
        QCOMPARE(titles, (QStringList{"fil=&File", "windo=&Window", "rec=&Records", "hp=&Help"}));

        auto items = [](QMenu* m) {
            QStringList out;
            for (QAction* a : m->actions())
                out << (a->isSeparator() ? a->objectName() + (a->isVisible() ? "|-" : "|hidden")
                                         : a->objectName() + "=" + a->text());
            return out;
        };
        QCOMPARE(items(w->menus()[0]).mid(0, 9),
                 (QStringList{"nefil=&New File", "opfil=&Open File", "clfil=&Close and Save File",
                              "safil=&Save File As", "exportcsv=E&xport to CSV...",
                              "importcsv=&Import from CSV...", "filsep|-",
                              "exit=E&xit", "mnuFileArray|-"}));
        QCOMPARE(items(w->menus()[1]).mid(0, 3),
                 (QStringList{"cas=&Cascade", "til=&Tile", "arr=&Arrange Icons"}));
        QCOMPARE(items(w->menus()[2]),
                 (QStringList{"srch=Search for...", "addre=&Add a Record",
                              "remrec=&Remove Current Record",
                              "undolast=&Undo Present Record Changes",
                              "sortdate=Sort Records by &Date", "sorttype=Sort Records by &Type",
                              "sumsep|-", "taxsum=Tax Year &Summary..."}));
        QCOMPARE(items(w->menus()[3]),
                 (QStringList{"abt=&About", "hpsep|-", "hel=&Basic Help", "helpfl=&Help"}));
        for (QMenu* m : w->menus())
            QCOMPARE(m->parent(), w);
    }

    void windowMenuListsTheWindows()
    {
        Quillary* a = openSample();
        env_->dialogs.answerMessage(Answer::Ok);
        Quillary* b = env_->open(env_->path("other.dat"));
        QMenu* windo = find<QMenu>(b, "windo");
        Q_EMIT windo->aboutToShow();
        QStringList entries;
        for (QAction* act : windo->actions())
            if (act->objectName().startsWith("windowListEntry"))
                entries << act->text();
        QCOMPARE(entries, (QStringList{"&1 " + a->presfile, "&2 " + b->presfile}));
        windo->findChild<QAction*>("windowListEntry1")->trigger();
        QCOMPARE(env_->area.currentSubWindow(), a->subWindow());
    }

    void layoutFollowsTheFormDesign_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qreal>("points");
        const QString none;
        auto row = [](const char* n, int l, int t, int w, int h, const QString& text, qreal pt) {
            QTest::newRow(n) << QString::fromLatin1(n) << QRect(l, t, w, h) << text << pt;
        };
        row("Frame1", 120, 120, 1695, 615, none, 8);
        row("Option1", 120, 120, 1095, 195, "Personal", 8);
        row("Option2", 120, 360, 1095, 195, "Business", 8);
        row("Frame2", 1920, 120, 1695, 615, none, 8);
        row("Option3", 120, 120, 975, 195, "Expense", 8);
        row("Option4", 120, 360, 975, 195, "Income", 8);
        row("Command3", 3720, 240, 1095, 495, "&Add", 8);
        row("Command4", 4920, 240, 1095, 495, "&Delete", 8);
        row("Command7", 120, 840, 1095, 375, "First", 8);
        row("Command6", 1320, 840, 1095, 375, "Previous", 8);
        row("Command5", 2520, 840, 1095, 375, "Next", 8);
        row("Command8", 3720, 840, 1095, 375, "Last", 8);
        row("Command9", 4920, 840, 1095, 375, "&Quit", 8);
        row("Label2", 120, 1320, 1575, 375, " Description:", 9.75);
        row("Text2", 1680, 1320, 4335, 375, none, 9.75);
        row("Label1", 120, 1800, 855, 375, " Date:", 9.75);
        row("Text1", 960, 1800, 1455, 375, none, 9.75);
        row("Label3", 2520, 1800, 1335, 375, " Invoice No:", 9.75);
        row("Text3", 3840, 1800, 2175, 375, none, 9.75);
        row("Label6", 120, 2280, 855, 375, " Amount:", 9.75);
        row("Text6", 960, 2280, 1455, 375, none, 9.75);
        row("Label8", 2520, 2280, 1335, 375, " Pay Method:", 9.75);
        row("Paymethod", 3840, 2280, 2175, 360, none, 9.75);
        row("Label7", 120, 2760, 1575, 375, " Income Type:", 9.75);
        row("Expense", 1680, 2760, 4335, 360, none, 9.75);
        row("Label5", 120, 3240, 1575, 375, "Paid by:", 9.75);
        row("Text5", 1680, 3240, 4335, 375, none, 9.75);
        row("Command1", 120, 3720, 1455, 495, "Show Totals", 9.75);
        row("HScroll1", 1680, 3720, 4335, 255, none, 8);
        row("Label9", 1680, 3960, 4335, 375, "Record No.   3  0f   3", 9.75);
    }
    void layoutFollowsTheFormDesign()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(QString, text);
        QFETCH(qreal, points);
        Quillary* w = openSample();
        QWidget* c = w->findChild<QWidget*>(name);
        QVERIFY(c);
        const QRect px(twipsToPixels(twips.x()), twipsToPixels(twips.y()),
                       twipsToPixels(twips.width()), twipsToPixels(twips.height()));
        if (auto* option = qobject_cast<QRadioButton*>(c)) {
            // An option too narrow for its caption grows inside its frame.
            QCOMPARE(c->geometry().topLeft(), px.topLeft());
            QCOMPARE(c->height(), px.height());
            QVERIFY(c->width() >= px.width());
            QVERIFY(option->sizeHint().width() <= c->width());
            QVERIFY(c->geometry().right() < c->parentWidget()->width() - 1);
            if (c->width() > px.width())
                QCOMPARE(c->width(), option->sizeHint().width());
        } else {
            QCOMPARE(c->geometry(), px);
        }
        // Everything lies inside the form.
        QVERIFY(w->rect().contains(c->mapTo(w, c->rect().bottomRight())));
        if (!text.isEmpty()) {
            if (auto* l = qobject_cast<QLabel*>(c)) {
                QCOMPARE(l->text(), text);
                // A caption too wide for the font at hand is drawn smaller,
                // never cut.
                QVERIFY(l->font().pointSizeF() <= points);
                QVERIFY(QFontMetrics(l->font()).horizontalAdvance(text) <= l->width());
            } else {
                auto* button = qobject_cast<QAbstractButton*>(c);
                QCOMPARE(button->text(), text);
                QCOMPARE(c->font().pointSizeF(), points);
                QString plain = text;
                plain.remove(QLatin1Char('&'));
                QVERIFY(QFontMetrics(c->font()).horizontalAdvance(plain) < c->width() - 4);
            }
            QCOMPARE(c->font().family(), kDesignFamily);
        } else if (!qobject_cast<QLabel*>(c)) {
            QCOMPARE(c->font().pointSizeF(), points);
        }
    }

    // The designed font's stand-in is one of its widths, when installed.
    void designFontIsMetricCompatible()
    {
        Quillary* w = openSample();
        const QFontInfo used(find<QLabel>(w, "Label7")->font());
        const QStringList families = QFontDatabase::families();
        QStringList wanted = designFamilies();
        wanted.removeIf([&](const QString& f) { return !families.contains(f); });
        if (wanted.isEmpty())
            QSKIP("no font of the designed widths is installed (fonts-liberation2)");
        QCOMPARE(used.family(), wanted.first());
    }

    void formProperties()
    {
        Quillary* w = openSample();
        QCOMPARE(w->palette().color(QPalette::Window), QColor(0, 128, 128));
        QVERIFY(w->autoFillBackground());
        QCOMPARE(w->size(), QSize(twipsToPixels(6105), twipsToPixels(4425)));

        auto* pay = find<QComboBox>(w, "Paymethod");
        QVERIFY(pay->isEditable());
        QStringList methods;
        for (int i = 0; i < pay->count(); ++i)
            methods << pay->itemText(i);
        QCOMPARE(methods, (QStringList{"Account", "American Express", "Cash", "Check No:",
                                       "Discover/Bravo", "Purchase Order", "Visa/Mastercard"}));
        QVERIFY(!find<QComboBox>(w, "Expense")->isEditable());

        const QStringList order{"Option1", "Option2", "Option3", "Option4", "Command3",
                                "Command4", "Command7", "Command6", "Command5", "Command8",
                                "Command9", "Text2",   "Text1",   "Text3",   "Text6",
                                "Paymethod", "Expense", "Text5", "Command1", "HScroll1"};
        // The focus chain, reduced to the controls of the tab order.
        QWidget* c = w->findChild<QWidget*>(order.first());
        QStringList chain{c->objectName()};
        for (int steps = 0; steps < 500 && chain.size() < order.size(); ++steps) {
            c = c->nextInFocusChain();
            if (order.contains(c->objectName()) && !chain.contains(c->objectName()))
                chain << c->objectName();
        }
        QCOMPARE(chain, order);

        const std::pair<const char*, const char*> names[] = {
            {"Text2", "Description:"}, {"Text1", "Date:"},         {"Text3", "Invoice No:"},
            {"Text6", "Amount:"},      {"Paymethod", "Pay Method:"}, {"Expense", "Income Type:"},
            {"Text5", "Paid by:"}};
        for (const auto& [control, accessible] : names)
            QCOMPARE(w->findChild<QWidget*>(control)->accessibleName(), QString(accessible));
    }

    void freshFormBeforeLoad()
    {
        // The captions as designed, before a file is opened.
        Quillary w(env_->state, env_->windows);
        View v(&w);
        QCOMPARE(w.windowTitle(), QStringLiteral("Quillary"));
        QCOMPARE(v.text("Text2")->text(), QStringLiteral("Description"));
        QCOMPARE(v.text("Text1")->text(), QStringLiteral("Date"));
        QCOMPARE(v.text("Text3")->text(), QStringLiteral("Invoice no."));
        QCOMPARE(v.text("Text6")->text(), QStringLiteral("Amount"));
        QCOMPARE(v.text("Text5")->text(), QStringLiteral("Payee"));
        QCOMPARE(v.combo("Paymethod")->currentText(), QStringLiteral("Check No:"));
        QCOMPARE(v.label("Label5")->text(), QStringLiteral(" Paid to:"));
        QCOMPARE(v.label("Label9")->text(), QStringLiteral("Record No. "));
        QCOMPARE(v.kindShown(), QStringLiteral("Personal/Expense"));
    }
};

QUILLARY_TEST_MAIN(TestRecordForm)
#include "tst_recordform.moc"
