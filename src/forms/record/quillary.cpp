#include "forms/record/quillary.h"

#include "forms/common.h"
#include "forms/csvexport.h"
#include "forms/focus.h"
#include "forms/formbuilder.h"
#include "forms/import/csvimportwindow.h"
#include "forms/record/recordtexts.h"
#include "forms/summary/taxsum.h"
#include "forms/totals/taxtot.h"

#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/help.h"
#include "platform/localeservices.h"
#include "records/categories.h"
#include "records/recordentry.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

namespace quillary {

namespace {

// The form's client area, large enough for every control.
constexpr int kFormWidth = 6105;
constexpr int kFormHeight = 4425;
// Point size of the text boxes, labels and combo boxes.
constexpr qreal kBoxPoints = 9.75;

const QString kDatePrompt = QStringLiteral(
    "The action you request can not be completed until a valid 'Date:' is given for the "
    "current record, input a date and push 'OK' to fix this or push 'Cancel' to continue "
    "without saving changes to the current record.");
const QString kDateTitle = QStringLiteral("Invalid Date on current record");
const QString kAmountPromptStart = QStringLiteral(
    "The action you request can not be completed until a valid 'Amount:' is given for the "
    "current record, input a currency amount and push 'OK' to fix this or push 'Cancel' to "
    "continue without saving ");
const QString kAmountTitle = QStringLiteral("Invalid Amount on the current record");

QString aboutText()
{
    return programDescription();
}

QString basicHelpText()
{
    return QStringLiteral("Push the appropriate button in the 'Personal' and 'Business' option box to select ")
         + QStringLiteral("a record to be Personal or Business.  ")
         + QStringLiteral("Push the appropriate button in the 'Expense' and 'Income' option box to select ")
         + QStringLiteral("a record to be an Expense or Income.") + kCrLf + kCrLf
         + QStringLiteral("File menu: Standard file operations.") + kCrLf
         + QStringLiteral("Records menu: 'Undo Present Record Changes' undoes changes to displayed record.") + kCrLf
         + QStringLiteral("Sort Records...: Sort all records by type or date.") + kCrLf
         + QStringLiteral("Add: Adds a new record, push it and fill in the boxes.") + kCrLf
         + QStringLiteral("Delete: Deletes the present record.") + kCrLf
         + QStringLiteral("First: Moves to the first record.") + kCrLf
         + QStringLiteral("Previous: Moves to the previous record.") + kCrLf
         + QStringLiteral("Next: Moves to the next record.") + kCrLf
         + QStringLiteral("Last: Moves to the last record.") + kCrLf
         + QStringLiteral("The scroll bar at the bottom also simulates these moves.") + kCrLf
         + QStringLiteral("Show Totals: Displays the 'Tax Form Totals' form.") + kCrLf
         + QStringLiteral("The information boxes are self explanatory, push one to activate it, then ")
         + QStringLiteral("enter the info.  Records are saved/updated upon moving to a different record.");
}

// The form was laid out for a narrow system font. Where a caption does not
// fit its label in the font at hand, the label's font is made just small
// enough that nothing is cut off.
void fitCaption(QLabel* label, qreal points)
{
    QFont font = label->font();
    font.setPointSizeF(points);
    const int room = label->width() - 2;
    while (font.pointSizeF() > 6.0
           && QFontMetrics(font).horizontalAdvance(label->text()) > room)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label->setFont(font);
}

} // namespace

Quillary::Quillary(AppState& state, RecordWindows& windows, QWidget* parent)
    : RecordWindow(parent)
    , state_(state)
    , windows_(windows)
    , file_(state.platform.files)
{
    setObjectName(QStringLiteral("Quillary"));
    setWindowTitle(QStringLiteral("Quillary"));
    buildForm();
    buildMenus();
}

Quillary::~Quillary() = default;

void Quillary::buildForm()
{
    // Buttons, frames and option buttons use the form's font; text boxes,
    // labels, the combo boxes and "Show Totals" a larger one.
    setFont(designFont(8));

    QPalette teal = palette();
    teal.setColor(QPalette::Window, QColor(0, 128, 128));
    setPalette(teal);
    setAutoFillBackground(true);
    setFixedSize(twipsToPixels(kFormWidth), twipsToPixels(kFormHeight));

    const FormBuilder form(primaryScreenDpi());
    form.make<QGroupBox>(this, {
        {Frame1, "Frame1", {}, {120, 120, 1695, 615}},
        {Frame2, "Frame2", {}, {1920, 120, 1695, 615}},
    });
    form.make<QRadioButton>(Frame1, {
        {Option1, "Option1", QStringLiteral("Personal"), {120, 120, 1095, 195}},
        {Option2, "Option2", QStringLiteral("Business"), {120, 360, 1095, 195}},
    });
    form.make<QRadioButton>(Frame2, {
        {Option3, "Option3", QStringLiteral("Expense"), {120, 120, 975, 195}},
        {Option4, "Option4", QStringLiteral("Income"), {120, 360, 975, 195}},
    });
    Option1->setChecked(true);
    Option3->setChecked(true);

    form.make<QPushButton>(this, {
        {Command3, "Command3", QStringLiteral("&Add"), {3720, 240, 1095, 495}},
        {Command4, "Command4", QStringLiteral("&Delete"), {4920, 240, 1095, 495}},
        {Command7, "Command7", QStringLiteral("First"), {120, 840, 1095, 375}},
        {Command6, "Command6", QStringLiteral("Previous"), {1320, 840, 1095, 375}},
        {Command5, "Command5", QStringLiteral("Next"), {2520, 840, 1095, 375}},
        {Command8, "Command8", QStringLiteral("Last"), {3720, 840, 1095, 375}},
        {Command9, "Command9", QStringLiteral("&Quit"), {4920, 840, 1095, 375}},
        {Command1, "Command1", QStringLiteral("Show Totals"), {120, 3720, 1455, 495}, kBoxPoints},
    });
    for (QPushButton* button : {Command3, Command4, Command7, Command6, Command5, Command8,
                                Command9, Command1})
        button->setAutoDefault(false);

    form.make<QLabel>(this, {
        {Label2, "Label2", QStringLiteral(" Description:"), {120, 1320, 1575, 375}, kBoxPoints},
        {Label1, "Label1", QStringLiteral(" Date:"), {120, 1800, 855, 375}, kBoxPoints},
        {Label3, "Label3", QStringLiteral(" Invoice No:"), {2520, 1800, 1335, 375}, kBoxPoints},
        {Label6, "Label6", QStringLiteral(" Amount:"), {120, 2280, 855, 375}, kBoxPoints},
        {Label8, "Label8", QStringLiteral(" Pay Method:"), {2520, 2280, 1335, 375}, kBoxPoints},
        {Label7, "Label7", QStringLiteral(" Expense Type:"), {120, 2760, 1575, 375}, kBoxPoints},
        {Label5, "Label5", QStringLiteral(" Paid to:"), {120, 3240, 1575, 375}, kBoxPoints},
    });
    form.make<QLineEdit>(this, {
        {Text2, "Text2", QStringLiteral("Description"), {1680, 1320, 4335, 375}, kBoxPoints},
        {Text1, "Text1", QStringLiteral("Date"), {960, 1800, 1455, 375}, kBoxPoints},
        {Text3, "Text3", QStringLiteral("Invoice no."), {3840, 1800, 2175, 375}, kBoxPoints},
        {Text6, "Text6", QStringLiteral("Amount"), {960, 2280, 1455, 375}, kBoxPoints},
        {Text5, "Text5", QStringLiteral("Payee"), {1680, 3240, 4335, 375}, kBoxPoints},
    });
    form.make<QComboBox>(this, {
        {Paymethod, "Paymethod", {}, {3840, 2280, 2175, 360}, kBoxPoints},
        {Expense, "Expense", {}, {1680, 2760, 4335, 360}, kBoxPoints},
    });
    Paymethod->setEditable(true);
    // The list is kept sorted; what the user types is not added to it.
    Paymethod->setInsertPolicy(QComboBox::NoInsert);
    QStringList methods{QStringLiteral("Account"),        QStringLiteral("American Express"),
                        QStringLiteral("Cash"),           QStringLiteral("Check No:"),
                        QStringLiteral("Discover/Bravo"), QStringLiteral("Purchase Order"),
                        QStringLiteral("Visa/Mastercard")};
    methods.sort(Qt::CaseInsensitive);
    Paymethod->addItems(methods);
    Paymethod->setEditText(QStringLiteral("Check No:"));
    Expense->setEditable(false);

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    // The change is taken when the thumb is let go, not on every step of a
    // drag: each change saves a record and shows another.
    HScroll1->setTracking(false);
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    HScroll1->setGeometry(form.px(QRect(1680, 3720, 4335, 255)));
    // Below the scroll bar, and over its lowest pixel.
    form.make<QLabel>(this, {
        {Label9, "Label9", QStringLiteral("Record No. "), {1680, 3960, 4335, 375}, kBoxPoints},
    });

    const std::pair<QLabel*, QWidget*> labelled[] = {
        {Label2, Text2}, {Label1, Text1},    {Label3, Text3},  {Label6, Text6},
        {Label8, Paymethod}, {Label7, Expense}, {Label5, Text5},
    };
    for (const auto& [label, box] : labelled) {
        fitCaption(label, kBoxPoints);
        label->setBuddy(box);
        box->setAccessibleName(trimBlanks(label->text()));
    }
    HScroll1->setAccessibleName(QStringLiteral("Record position"));

    QWidget* tabOrder[] = {Option1, Option2, Option3, Option4, Command3, Command4, Command7,
                           Command6, Command5, Command8, Command9, Text2, Text1, Text3,
                           Text6, Paymethod, Expense, Text5, Command1, HScroll1};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    for (QRadioButton* option : {Option1, Option2, Option3, Option4})
        fitOptionInFrame(option);
    keepFocusOnCheckedOption({Option1, Option2});
    keepFocusOnCheckedOption({Option3, Option4});
    new FocusMark(this);

    connect(Command7, &QPushButton::clicked, this, &Quillary::Command7_Click);
    connect(Command6, &QPushButton::clicked, this, &Quillary::Command6_Click);
    connect(Command5, &QPushButton::clicked, this, &Quillary::Command5_Click);
    connect(Command8, &QPushButton::clicked, this, &Quillary::Command8_Click);
    connect(Command1, &QPushButton::clicked, this, &Quillary::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &Quillary::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Quillary::Command4_Click);
    connect(Command9, &QPushButton::clicked, this, &Quillary::Command9_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Quillary::HScroll1_Change);
    // Any change of kind counts, not only a click: the keyboard, a screen
    // reader's toggle and the program itself change the options too. Only
    // the option that becomes checked reacts, so one change refills once.
    for (QRadioButton* option : {Option1, Option2, Option3, Option4}) {
        connect(option, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked && !showingKind_)
                listfil();
        });
    }
}

void Quillary::buildMenus()
{
    fileMenu_ = new QMenu(QStringLiteral("&File"), this);
    fileMenu_->setObjectName(QStringLiteral("fil"));
    connect(addMenuItem(fileMenu_, "nefil", QStringLiteral("&New File")), &QAction::triggered, this,
            &Quillary::nefil_Click);
    connect(addMenuItem(fileMenu_, "opfil", QStringLiteral("&Open File")), &QAction::triggered, this,
            &Quillary::opfil_Click);
    connect(addMenuItem(fileMenu_, "clfil", QStringLiteral("&Close and Save File")),
            &QAction::triggered, this, &Quillary::clfil_Click);
    connect(addMenuItem(fileMenu_, "safil", QStringLiteral("&Save File As")), &QAction::triggered,
            this, &Quillary::safil_Click);
    connect(addMenuItem(fileMenu_, "exportcsv", kExportMenuCaption), &QAction::triggered, this,
            &Quillary::exportcsv_Click);
    connect(addMenuItem(fileMenu_, "importcsv", kImportMenuCaption), &QAction::triggered, this,
            &Quillary::importcsv_Click);
    addMenuSeparator(fileMenu_, "filsep");
    connect(addMenuItem(fileMenu_, "exit", QStringLiteral("E&xit")), &QAction::triggered, this,
            &Quillary::Command9_Click);
    // Element 0 of the recent-file entries: the separator above them,
    // shown once the list has an entry.
    mnuFileArray_[0] = addMenuSeparator(fileMenu_, "mnuFileArray");
    mnuFileArray_[0]->setVisible(false);

    windowMenu_ = new QMenu(QStringLiteral("&Window"), this);
    windowMenu_->setObjectName(QStringLiteral("windo"));
    connect(addMenuItem(windowMenu_, "cas", QStringLiteral("&Cascade")), &QAction::triggered, this,
            [this] { windows_.area().cascadeSubWindows(); });
    connect(addMenuItem(windowMenu_, "til", QStringLiteral("&Tile")), &QAction::triggered, this,
            [this] { windows_.area().tileSubWindows(); });
    connect(addMenuItem(windowMenu_, "arr", QStringLiteral("&Arrange Icons")), &QAction::triggered,
            this, &Quillary::arrangeIcons);
    connect(windowMenu_, &QMenu::aboutToShow, this, &Quillary::fillWindowList);

    recordsMenu_ = new QMenu(QStringLiteral("&Records"), this);
    recordsMenu_->setObjectName(QStringLiteral("rec"));
    connect(addMenuItem(recordsMenu_, "srch", QStringLiteral("Search for...")), &QAction::triggered,
            this, &Quillary::srch_Click);
    connect(addMenuItem(recordsMenu_, "addre", QStringLiteral("&Add a Record")), &QAction::triggered,
            this, &Quillary::Command3_Click);
    connect(addMenuItem(recordsMenu_, "remrec", QStringLiteral("&Remove Current Record")),
            &QAction::triggered, this, &Quillary::Command4_Click);
    connect(addMenuItem(recordsMenu_, "undolast", QStringLiteral("&Undo Present Record Changes")),
            &QAction::triggered, this, &Quillary::undolast_Click);
    connect(addMenuItem(recordsMenu_, "sortdate", QStringLiteral("Sort Records by &Date")),
            &QAction::triggered, this, &Quillary::sortdate_Click);
    connect(addMenuItem(recordsMenu_, "sorttype", QStringLiteral("Sort Records by &Type")),
            &QAction::triggered, this, &Quillary::sorttype_Click);
    addMenuSeparator(recordsMenu_, "sumsep");
    connect(addMenuItem(recordsMenu_, "taxsum", QStringLiteral("Tax Year &Summary...")),
            &QAction::triggered, this, &Quillary::taxsum_Click);

    helpMenu_ = new QMenu(QStringLiteral("&Help"), this);
    helpMenu_->setObjectName(QStringLiteral("hp"));
    connect(addMenuItem(helpMenu_, "abt", QStringLiteral("&About")), &QAction::triggered, this,
            &Quillary::abt_Click);
    addMenuSeparator(helpMenu_, "hpsep");
    connect(addMenuItem(helpMenu_, "hel", QStringLiteral("&Basic Help")), &QAction::triggered, this,
            &Quillary::hel_Click);
    QAction* helpfl = addMenuItem(helpMenu_, "helpfl", QStringLiteral("&Help"));
    helpfl->setShortcut(QKeySequence(Qt::Key_F1));
    connect(helpfl, &QAction::triggered, this, &Quillary::helpfl_Click);

    menus_ = {fileMenu_, windowMenu_, recordsMenu_, helpMenu_};
}

void Quillary::fillWindowList()
{
    for (QAction* action : std::as_const(windowListActions_)) {
        windowMenu_->removeAction(action);
        delete action;
    }
    windowListActions_.clear();
    QMdiArea* area = &windows_.area();
    const QList<QMdiSubWindow*> windows = area->subWindowList();
    if (windows.isEmpty())
        return;
    windowListActions_.append(addMenuSeparator(windowMenu_, QStringLiteral("windowListSeparator")));
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        ++number;
        QString title = window->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = addMenuItem(
            windowMenu_, QStringLiteral("windowListEntry%1").arg(number),
            number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(title)
                        : QStringLiteral("%1 %2").arg(number).arg(title));
        action->setCheckable(true);
        action->setChecked(window == area->currentSubWindow());
        QPointer<QMdiSubWindow> target(window);
        connect(action, &QAction::triggered, this, [area, target] {
            if (target)
                area->setActiveSubWindow(target);
        });
        windowListActions_.append(action);
    }
}

void Quillary::arrangeIcons()
{
    QMdiArea* area = &windows_.area();
    // Minimised windows are lined up along the bottom of the workspace,
    // left to right, wrapping upwards when a row is full.
    const QSize space = area->viewport()->size();
    int x = 0;
    int y = space.height();
    int rowHeight = 0;
    for (QMdiSubWindow* window : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (x > 0 && x + size.width() > space.width()) {
            x = 0;
            y -= rowHeight;
            rowHeight = 0;
        }
        rowHeight = std::max(rowHeight, size.height());
        window->move(x, std::max(0, y - size.height()));
        x += size.width();
    }
}

void Quillary::load()
{
    adding_ = false;
    presfile = state_.filename;
    Text1->setText(shortDate(Clock::today()));
    if (presfile.isEmpty())
        presfile = kDefaultDataFile;

    for (;;) {
        QString error;
        const OpenStatus status = file_.open(presfile, &error);
        if (status == OpenStatus::Ok)
            break;
        Dialogs& dialogs = state_.platform.dialogs;
        if (status == OpenStatus::TooManyRecords) {
            // Opening it as if it were shorter would let a later rewrite
            // drop every record beyond the count.
            dialogs.message(QStringLiteral("The file '%1' holds more than %2 records, more than "
                                           "this program can handle. It is not opened and "
                                           "stays as it is.")
                                .arg(presfile, QLocale().toString(kMaxRecords)),
                            Buttons::Ok, Icon::Exclamation, QStringLiteral("Too many records"));
        }
        if (status == OpenStatus::NotAFile && presfile != kDefaultDataFile) {
            // "No file chosen" alone would leave the user wondering why
            // the file they chose was not opened.
            dialogs.message(error + QStringLiteral(". It is not opened."), Buttons::Ok,
                            Icon::Exclamation, QStringLiteral("Not a data file"));
        }
        if (presfile == kDefaultDataFile) {
            // The default file is the last resort; trying it again would
            // only fail again.
            dialogs.message(QStringLiteral("The default file '%1' could not be opened either "
                                           "(%2). The record window is closed; choose a file "
                                           "with 'New' or 'Open' in the File menu.")
                                .arg(kDefaultDataFile, error),
                            Buttons::Ok, Icon::Exclamation, QStringLiteral("No file"));
            abandon();
            return;
        }
        dialogs.message(
            QStringLiteral("No file chosen, I will open the default file '%1' for you")
                .arg(kDefaultDataFile),
            Buttons::Ok, Icon::None, QStringLiteral("No file"));
        presfile = kDefaultDataFile;
    }

    Lastrecord = file_.recordCount();
    Presrecord = Lastrecord;
    uprec();
    if (!adding_) {
        // The first tab stop: the checked one of Personal and Business.
        (Option1->isChecked() ? Option1 : Option2)->setFocus(Qt::OtherFocusReason);
    }
    setWindowTitle(presfile);
    restoreRecentMenu();
}

void Quillary::abandon()
{
    closingSaved_ = true;
    closeHandled_ = true;
    // When load() runs from open(), open() removes the window at once;
    // otherwise it goes as soon as control is back in the event loop.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (QMdiSubWindow* sub = subWindow())
                sub->close();
            else
                close();
        },
        Qt::QueuedConnection);
}

bool Quillary::openPresfile(QString* error)
{
    return file_.open(presfile, error) == OpenStatus::Ok;
}

bool Quillary::selectKind(char code)
{
    const std::optional<Kind> kind = kindFromCode(code);
    if (!kind)
        return false;
    (kind->business ? Option2 : Option1)->setChecked(true);
    (kind->income ? Option4 : Option3)->setChecked(true);
    return true;
}

void Quillary::uprec()
{
    if (Lastrecord != 0) {
        TaxRecord record;
        // A record that cannot be read (beyond the end of the file) leaves
        // the boxes as they are.
        if (file_.read(Presrecord, record)) {
            buffer_ = record;
            {
                // Both pairs may change; the type list is filled once below.
                const QScopedValueRollback guard(showingKind_, true);
                selectKind(buffer_.kindCode());
            }
            listfil();
            Text1->setText(buffer_.field(Field::Date));
            Text6->setText(buffer_.field(Field::Amount));
            Text3->setText(buffer_.field(Field::Invoice));
            Paymethod->setEditText(buffer_.field(Field::PayMethod));
            const int type = Expense->findText(trimBlanks(buffer_.field(Field::Type)),
                                               Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (type >= 0)
                Expense->setCurrentIndex(type);
            Text5->setText(buffer_.field(Field::Party));
            Text2->setText(buffer_.field(Field::Description));
            // Setting a text leaves the cursor at its end, and a box too
            // narrow for the padded field would show only its end.
            for (QLineEdit* box : {Text1, Text6, Text3, Paymethod->lineEdit(), Text5, Text2})
                box->setCursorPosition(0);
        }
    } else {
        adding_ = true;
        state_.platform.dialogs.message(QStringLiteral("No records, one will now be added."));
        Presrecord = 1;
        {
            const QScopedValueRollback guard(showingKind_, true);
            Option1->setChecked(true);
            Option3->setChecked(true);
        }
        listfil();
        Text1->setText(shortDate(Clock::today()));
        Text6->clear();
        Text3->clear();
        const int other = Expense->findText(QStringLiteral("Other"));
        if (other >= 0)
            Expense->setCurrentIndex(other);
        Paymethod->setEditText(QString());
        Text5->clear();
        Text2->clear();
        // A new record is typed in from its description on.
        Text2->setFocus(Qt::OtherFocusReason);
    }
    Buttonupd();
}

void Quillary::listfil()
{
    const Kind kind{!Option1->isChecked(), !Option3->isChecked()};
    Expense->clear();
    Label7->setText(typeLabelCaption(kind));
    Label5->setText(partyLabelCaption(kind));
    fitCaption(Label7, kBoxPoints);
    fitCaption(Label5, kBoxPoints);
    Expense->addItems(typeList(kind));
    Expense->setCurrentIndex(Expense->findText(defaultType(kind)));
    Expense->setAccessibleName(trimBlanks(Label7->text()));
    Text5->setAccessibleName(trimBlanks(Label5->text()));
}

void Quillary::Buttonupd()
{
    {
        // Setting the range or the value must not count as a move.
        const QSignalBlocker block(HScroll1);
        if (Presrecord > 0)
            HScroll1->setMinimum(1);
        if (Presrecord <= Lastrecord) {
            HScroll1->setMaximum(Lastrecord);
            HScroll1->setValue(Presrecord);
            Label9->setText(QStringLiteral("Record No.  ") + numberText(Presrecord)
                            + QStringLiteral("  0f  ") + numberText(Lastrecord));
        } else {
            HScroll1->setMaximum(Presrecord);
            HScroll1->setValue(Presrecord);
            Label9->setText(QStringLiteral("Adding Record Number ") + numberText(Presrecord));
        }
    }
    const bool atStart = Presrecord == 1 || Presrecord == 0;
    Command6->setEnabled(!atStart);
    Command7->setEnabled(!atStart);
    const bool atEnd = Presrecord >= Lastrecord;
    Command5->setEnabled(!atEnd);
    Command8->setEnabled(!atEnd);
}

bool Quillary::saveStep()
{
    return adding_ ? addr() : savr();
}

bool Quillary::savr()
{
    return writeBack(false);
}

bool Quillary::addr()
{
    return writeBack(true);
}

RecordEntry Quillary::entry() const
{
    return {Text1->text(),
            Text6->text(),
            Text3->text(),
            Paymethod->currentText(),
            Expense->currentText(),
            Text5->text(),
            Text2->text(),
            Kind{!Option1->isChecked(), !Option3->isChecked()}};
}

bool Quillary::writeBack(bool adding)
{
    Dialogs& dialogs = state_.platform.dialogs;

    if (isBlankEntry(entry(), shortDate(Clock::today()))) {
        dialogs.message(
            QStringLiteral("No information in the present record, it will not be saved"));
        adding_ = false;
        if (adding)
            Presrecord = Lastrecord;
        return true;
    }

    // A record that cannot be written stays on the form as it is, still to
    // be saved, and the command that asked for the save goes no further: a
    // move or a new record would throw away what the user typed.
    const QString failed = adding ? QStringLiteral("The most recent 'Add' record failed")
                                  : QStringLiteral("The most recent change record failed");
    auto fail = [&](const QString& why, const QString& remedy) {
        dialogs.message(failed + QStringLiteral("\n\n") + why + QStringLiteral("\n\n") + remedy);
        Buttonupd();
        return false;
    };

    // The date, then the amount, corrected until they pass or the user
    // gives up. A given-up add leaves the window browsing its last record.
    // Left at Lastrecord + 1, the next save would append the abandoned
    // record without counting it, and a later Add would then overwrite it.
    ComposedRecord composed = composeRecord(entry());
    while (composed.status == EntryStatus::BadDate || composed.status == EntryStatus::BadAmount) {
        const bool date = composed.status == EntryStatus::BadDate;
        const QString answer = date
            ? dialogs.input(kDatePrompt, kDateTitle)
            : dialogs.input(kAmountPromptStart
                                + (adding ? QStringLiteral("the current record.")
                                          : QStringLiteral("changes to the current record.")),
                            kAmountTitle);
        if (answer.isEmpty()) {
            if (adding) {
                adding_ = false;
                Presrecord = Lastrecord;
            }
            return true;
        }
        (date ? Text1 : Text6)->setText(answer);
        composed = composeRecord(entry());
    }
    if (composed.status == EntryStatus::AmountTooLarge)
        return fail(QStringLiteral("The amount %1 is larger than a record can hold.")
                        .arg(trimBlanks(Text6->text())),
                    QStringLiteral("The record is still on the form: correct the amount and "
                                   "try again."));
    const TaxRecord& record = composed.record;

    if (!fileInPlace())
        return false;
    // A new record goes right after the last one, an edited one where it
    // stands: any other number would leave a gap of garbage records or a
    // record the window does not count. Nor may the file grow past the
    // number of records a count can hold: it could not be opened again.
    QString error;
    const int limit = std::min(adding ? Lastrecord + 1 : Lastrecord, file_.recordCount() + 1);
    const bool inRange = Presrecord >= 1 && Presrecord <= limit && Presrecord <= kMaxRecords;
    if (!inRange)
        error = QStringLiteral("The record number no longer matches the file");
    if (!inRange || !file_.write(Presrecord, record, &error))
        return fail(QStringLiteral("It could not be written to '%1': %2.").arg(presfile, error),
                    QStringLiteral("The record is still on the form. Try again once the "
                                   "problem is solved, or keep the records in another file "
                                   "with 'Save File As' in the File menu."));
    buffer_ = record;
    if (adding) {
        Lastrecord = Presrecord;
        adding_ = false;
    }
    Buttonupd();
    return true;
}

void Quillary::Command7_Click()
{
    if (!saveStep())
        return;
    Presrecord = 1;
    uprec();
}

void Quillary::Command6_Click()
{
    if (!saveStep())
        return;
    Presrecord = Presrecord - 1;
    uprec();
}

void Quillary::Command5_Click()
{
    if (!saveStep())
        return;
    Presrecord = Presrecord + 1;
    uprec();
}

void Quillary::Command8_Click()
{
    if (!saveStep())
        return;
    Presrecord = Lastrecord;
    uprec();
}

void Quillary::HScroll1_Change(int value)
{
    if (value == Presrecord || inScrollChange_)
        return;
    inScrollChange_ = true;
    if (saveStep()) {
        Presrecord = value;
        uprec();
    }
    inScrollChange_ = false;
}

void Quillary::Command1_Click()
{
    if (!saveStep())
        return;
    state_.filename = presfile;
    Taxtot totals(state_, &presfile, window());
    totals.load();
    state_.platform.dialogs.runModal(totals);
    uprec();
}

void Quillary::taxsum_Click()
{
    if (!saveStep())
        return;
    state_.filename = presfile;
    Taxsum summary(state_, window());
    if (!summary.load())
        return;
    state_.platform.dialogs.runModal(summary);
    // The record the user chose to correct; otherwise the form stays as
    // it is, since the summary changes nothing.
    const int chosen = summary.chosenRecord();
    if (chosen >= 1 && chosen <= Lastrecord) {
        Presrecord = chosen;
        uprec();
    }
}

void Quillary::abt_Click()
{
    showHelpBox(state_.platform.dialogs, aboutText(), kAboutTitle);
}

void Quillary::hel_Click()
{
    showHelpBox(state_.platform.dialogs, basicHelpText(), QStringLiteral("Quillary Help"));
}

void Quillary::helpfl_Click()
{
    state_.platform.help.showContents();
}

void Quillary::closeEvent(QCloseEvent* event)
{
    if (!closeHandled_) {
        closeHandled_ = true;
        if (!closingSaved_ && file_.isOpen() && !saveStep()
            && !loseUnsavedRecord(QStringLiteral("Close the window anyway and lose it?"),
                                  QStringLiteral("Record not saved"))) {
            closeHandled_ = false;
            event->ignore();
            return;
        }
    }
    event->accept();
    // Once the close is accepted the file and its lock go now, not only when
    // the window is deleted later.
    file_.close();
    windows_.releaseLock(this);
    // Closing the form itself also takes its MDI window away.
    QPointer<QMdiSubWindow> sub(subWindow());
    if (sub) {
        QMetaObject::invokeMethod(
            sub,
            [sub] {
                if (sub && sub->isVisible())
                    sub->close();
            },
            Qt::QueuedConnection);
    }
}

} // namespace quillary
