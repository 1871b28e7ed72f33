#include "forms/totals/taxtot.h"

#include "forms/common.h"
#include "forms/csvexport.h"
#include "forms/focus.h"
#include "forms/formbuilder.h"
#include "forms/printdelivery.h"
#include "forms/totals/totalsgrid.h"
#include "forms/totals/totalsmodel.h"
#include "forms/totals/totalstexts.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/localeservices.h"
#include "platform/printer.h"
#include "records/categories.h"
#include "records/maintenance.h"
#include "reports/exports.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QSignalBlocker>
#include <QTableView>

namespace quillary {

namespace {

const QString kDesignedCaption = QStringLiteral("Tax Form Totals");

} // namespace

Taxtot::Taxtot(AppState& state, QString* callerPresfile, QWidget* parent)
    : QDialog(parent)
    , state_(state)
    , callerPresfile_(callerPresfile)
    , file_(state.platform.files)
{
    setObjectName(QStringLiteral("Taxtot"));
    setWindowTitle(kDesignedCaption);
    setModal(true);
    buildForm();
    buildMenus();
}

void Taxtot::load()
{
    // The load sequence. A failing step tells the user once, points the
    // record window at the default file and goes on with the next step.
    loading_ = true;
    gridrows = 0;
    if (file_.open(state_.filename) == OpenStatus::Ok) {
        totfilenum = file_.fileNumber();
        numrecs = file_.recordCount();
    } else {
        loadFailed();
    }
    showYear();
    fillYearMenu();
    setupGrid();
    listfil();
    Fillists();
    loading_ = false;
}

Taxtot::~Taxtot() = default;

int Taxtot::px(int twips) const
{
    return twipsToPixels(twips, logicalDpiY());
}

void Taxtot::buildForm()
{
    const FormBuilder form(logicalDpiY());
    constexpr qreal kSmall = 8;
    constexpr qreal kMedium = 9.75;

    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("menuBar"));
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setAutoFillBackground(true);

    form.make<QGroupBox>(client_, {
        {Frame1, "Frame1", {}, {0, 0, 1695, 855}, kSmall},
    });
    form.make<QRadioButton>(Frame1, {
        {Option1, "Option1", QStringLiteral("Personal"), {120, 240, 1095, 195}},
        {Option2, "Option2", QStringLiteral("Business"), {120, 480, 1095, 195}},
    });
    form.make<QGroupBox>(client_, {
        {Frame2, "Frame2", {}, {1800, 0, 1695, 855}, kSmall},
    });
    form.make<QRadioButton>(Frame2, {
        {Option3, "Option3", QStringLiteral("Expense"), {120, 240, 975, 195}},
        {Option4, "Option4", QStringLiteral("Income"), {120, 480, 975, 195}},
    });
    Option1->setChecked(true);
    Option3->setChecked(true);

    // The caption stays " Expense Type:" for income too.
    form.make<QLabel>(client_, {
        {Label7, "Label7", QStringLiteral(" Expense Type:"), {3720, 0, 1575, 375}, kMedium},
    });
    form.make<QComboBox>(client_, {
        {Expense, "Expense", {}, {5280, 0, 4095, 0}, kMedium},
    });
    Expense->setEditable(false);
    Expense->setMaxVisibleItems(24);
    Expense->resize(Expense->width(), Expense->sizeHint().height());

    form.make<QLabel>(client_, {
        {Label3, "Label3", QStringLiteral("Total:"), {3720, 480, 1575, 375}, 12},
        {Label2, "Label2", {}, {5280, 480, 1695, 375}, kMedium},
    });
    Label2->setAutoFillBackground(true);
    QPalette labelPalette = Label2->palette();
    labelPalette.setColor(QPalette::Window, labelPalette.color(QPalette::Base));
    Label2->setPalette(labelPalette);

    form.make<QPushButton>(client_, {
        {Command1, "Command1", QStringLiteral("Return to &Main Form"), {7560, 480, 1815, 375}, kSmall},
    });
    // Enter after choosing a type must not close the window; Escape does.
    Command1->setAutoDefault(false);
    Command1->setDefault(false);

    model_ = new TotalsModel(this);
    Grid1 = new TotalsGrid(client_);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setFont(designFont(kSmall));
    Grid1->setModel(model_);

    setTabOrder(Expense, Option3);
    setTabOrder(Option3, Option2);
    setTabOrder(Option2, Option4);
    setTabOrder(Option4, Option1);
    setTabOrder(Option1, Grid1);
    setTabOrder(Grid1, Command1);
    for (QRadioButton* option : {Option1, Option2, Option3, Option4})
        fitOptionInFrame(option);
    keepFocusOnCheckedOption({Option1, Option2});
    keepFocusOnCheckedOption({Option3, Option4});

    // Changes of state, not clicks: the keyboard and a screen reader's
    // toggle change the choice as well. Only the option that becomes checked
    // reacts; listfil fills the type list with its signals blocked, so the
    // grid is filled once per change.
    auto onCheck = [this](QRadioButton* option, void (Taxtot::*handler)()) {
        connect(option, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked)
                (this->*handler)();
        });
    };
    onCheck(Option1, &Taxtot::Option1_Click);
    onCheck(Option2, &Taxtot::Option2_Click);
    onCheck(Option3, &Taxtot::Option3_Click);
    onCheck(Option4, &Taxtot::Option4_Click);
    // A new entry refills the grid however it was chosen. Choosing the entry
    // already shown refills it too (after a sort, that shows the new order),
    // but a change that was just handled is not filled a second time by the
    // activation that follows it.
    connect(Expense, &QComboBox::currentIndexChanged, this, [this](int index) {
        Expense_Click();
        justFilledIndex_ = index;
        QMetaObject::invokeMethod(this, [this] { justFilledIndex_ = -1; }, Qt::QueuedConnection);
    });
    connect(Expense, &QComboBox::activated, this, [this](int index) {
        if (index != justFilledIndex_)
            Expense_Click();
        justFilledIndex_ = -1;
    });
    connect(Command1, &QPushButton::clicked, this, &Taxtot::Command1_Click);

    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().topLeft() + QPoint(px(1110), px(2460)));
}

void Taxtot::buildMenus()
{
    QMenu* fl = addMenuBarMenu(menuBar_, QStringLiteral("fl"), QStringLiteral("&File"));
    addMenuCommand(fl, QStringLiteral("prn"), QStringLiteral("&Print"), this, &Taxtot::prn_Click);
    addMenuCommand(fl, QStringLiteral("pall"), QStringLiteral("Print &All"), this,
                   &Taxtot::pall_Click);
    addMenuCommand(fl, QStringLiteral("exportcsv"), kExportMenuCaption, this,
                   &Taxtot::exportcsv_Click);
    addMenuSeparator(fl, QStringLiteral("hyph"));
    addMenuCommand(fl, QStringLiteral("exitf"), QStringLiteral("E&xit"), this,
                   &Taxtot::exitf_Click);

    QMenu* recmnu = addMenuBarMenu(menuBar_, QStringLiteral("recmnu"), QStringLiteral("&Records"));
    addMenuCommand(recmnu, QStringLiteral("srtdte"), QStringLiteral("Sort by &Date"), this,
                   &Taxtot::srtdte_Click);
    addMenuCommand(recmnu, QStringLiteral("srttyp"), QStringLiteral("Sort by &Type"), this,
                   &Taxtot::srttyp_Click);
    addMenuSeparator(recmnu, QStringLiteral("yrsep"));
    yrmnu_ = recmnu->addMenu(QStringLiteral("&Year"));
    yrmnu_->setObjectName(QStringLiteral("yrmnu"));
    yrmnu_->menuAction()->setObjectName(QStringLiteral("yrmnuAction"));
    fillYearMenu();

    QMenu* hl = addMenuBarMenu(menuBar_, QStringLiteral("hl"), QStringLiteral("&Help"));
    addMenuCommand(hl, QStringLiteral("abt"), QStringLiteral("&About"), this, &Taxtot::abt_Click);
    addMenuCommand(hl, QStringLiteral("helpb"), QStringLiteral("&Basic Help"), this,
                   &Taxtot::helpb_Click);
    addMenuCommand(hl, QStringLiteral("h"), QStringLiteral("&Help"), this, &Taxtot::h_Click)
        ->setShortcut(Qt::Key_F1);

    setExtraHeight(0);
}

void Taxtot::fillYearMenu()
{
    std::vector<int> years;
    std::vector<TaxRecord> records;
    if (numrecs > 0 && file_.readAll(records)) {
        if (records.size() > std::size_t(numrecs))
            records.resize(std::size_t(numrecs));
        years = recordYears(records);
    }
    yrmnu_->clear();
    auto* group = new QActionGroup(yrmnu_);
    for (const YearChoice& choice : yearChoices(years)) {
        QAction* a = addMenuItem(yrmnu_,
                                 QStringLiteral("year") + (choice ? QString::number(*choice)
                                                                  : QStringLiteral("All")),
                                 yearText(choice));
        a->setCheckable(true);
        a->setChecked(choice == year_);
        group->addAction(a);
        // A change of state, however it came: menu, keyboard or a screen
        // reader.
        connect(a, &QAction::toggled, this, [this, choice](bool checked) {
            if (checked)
                setYear(choice);
        });
    }
}

void Taxtot::setYear(YearChoice year)
{
    if (year == year_)
        return;
    year_ = year;
    for (QAction* a : yrmnu_->actions())
        if (a->text() == yearText(year) && !a->isChecked())
            a->setChecked(true);
    showYear();
    Fillists();
}

void Taxtot::showYear()
{
    QString caption = kDesignedCaption + QStringLiteral(": ") + state_.filename;
    if (year_)
        caption += QStringLiteral(" (%1)").arg(*year_);
    setWindowTitle(caption);
    // The label is printed with the form: the printout names the year too.
    Label3->setText(year_ ? QStringLiteral("Total %1:").arg(*year_) : QStringLiteral("Total:"));
}

void Taxtot::setupGrid()
{
    QHeaderView* header = Grid1->horizontalHeader();
    header->setFixedHeight(px(kRowTwips));
    header->setHighlightSections(false);

    // Rows are a little lower than the room the form gives each row when it
    // grows for printing, so the header and the border never push the last
    // row out of sight.
    QHeaderView* rows = Grid1->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(px(kRowTwips - 17));

    Grid1->setWordWrap(false);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    // The designed widths were made for a narrower font than any found here
    // and for two-digit years. A column too narrow for its header, or the
    // date column for a four-digit year, is widened; the grid and the form
    // grow by as much, so no column is cut off.
    const QFontMetrics metrics(Grid1->font());
    const int cellMargin =
        2 * (Grid1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, Grid1) + 1) + 1;
    extraWidth_ = 0;
    for (int c = 0; c < kTotalsColumns; ++c) {
        const int designed = px(totalsColumns()[std::size_t(c)].widthTwips);
        int needed = header->sectionSizeHint(c);
        if (c == ColDate)
            needed = std::max(needed, metrics.horizontalAdvance(shortDate(QDate(2000, 12, 28)))
                                          + cellMargin);
        const int width = std::max(designed, needed);
        extraWidth_ += width - designed;
        Grid1->setColumnWidth(c, width);
    }
    setExtraHeight(0);
}

void Taxtot::setExtraHeight(int extraTwips)
{
    int width = px(kClientWidth) + extraWidth_;
    const int menuHeight = menuBar_->sizeHint().height();
    int clientHeight = px(kClientHeight + extraTwips);
    // The grid's margins to the client area's right and bottom edges.
    const int rightMargin = px(kClientWidth) - px(9375);
    const int bottomMargin = px(kClientHeight) - px(960) - px(kGridHeight);
    if (extraTwips == 0) {
        // On the screen the window never reaches past the available area:
        // where the designed size is too large, the grid gives way. (While
        // it is laid out for printing it may be as large as it needs.)
        const QSize room = roomOnScreen();
        width = std::min(width, room.width());
        clientHeight = std::min(clientHeight, room.height() - menuHeight);
    }
    menuBar_->setGeometry(0, 0, width, menuHeight);
    client_->setGeometry(0, menuHeight, width, clientHeight);
    Grid1->setGeometry(0, px(960), std::max(0, width - rightMargin),
                       std::max(0, clientHeight - px(960) - bottomMargin));
    setFixedSize(width, menuHeight + clientHeight);
    if (extraTwips == 0)
        keepOnScreen();
}

QRect Taxtot::availableArea() const
{
    const QScreen* s = screen();
    if (!s && parentWidget())
        s = parentWidget()->screen();
    if (!s)
        s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

QMargins Taxtot::decorations() const
{
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    if (isVisible() && outer != inner)
        return {inner.left() - outer.left(), inner.top() - outer.top(),
                outer.right() - inner.right(), outer.bottom() - inner.bottom()};
    // Not framed yet: room for a title bar and thin borders.
    const int border = 4;
    return {border, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) + border,
            border, border};
}

QSize Taxtot::roomOnScreen() const
{
    const QRect area = availableArea();
    if (area.isEmpty())
        return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    const QMargins frame = decorations();
    return area.size().shrunkBy(frame);
}

void Taxtot::keepOnScreen()
{
    const QRect area = availableArea();
    if (area.isEmpty())
        return;
    const QMargins frame = decorations();
    const QSize outer = size().grownBy(frame);
    const QPoint at = frameGeometry().topLeft();
    const int x = std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
    const int y = std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
    if (QPoint(x, y) != at)
        move(x, y);
}

void Taxtot::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The screen and the frame are known now.
    setExtraHeight(0);
}

void Taxtot::listfil()
{
    const Kind kind{!Option1->isChecked(), !Option3->isChecked()};
    {
        const QSignalBlocker block(Expense);
        Expense->clear();
        Expense->addItem(kAllTypes);
        Expense->addItems(typeList(kind));
        Expense->setCurrentIndex(Expense->findText(defaultType(kind)));
    }
    Fillists();
}

void Taxtot::Fillists()
{
    if (fill())
        return;
    if (loading_) {
        loadFailed();
        return;
    }
    state_.platform.dialogs.message(
        QStringLiteral("The records of the file '%1' could not be read.").arg(state_.filename),
        Buttons::Ok, Icon::Exclamation);
}

bool Taxtot::fill()
{
    if (numrecs == 0)
        return true;
    const TotalsSelection selection{
        selectionCode(Option1->isChecked(), Option3->isChecked(), Option4->isChecked()),
        Expense->currentText(), year_};
    gridrows = 0;
    std::vector<TaxRecord> records;
    if (!file_.readAll(records)) {
        model_->clear();
        Label2->clear();
        return false;
    }
    if (records.size() > std::size_t(numrecs))
        records.resize(std::size_t(numrecs));
    if (!records.empty())
        totrec = records.back();
    TotalsListing listing = listTotals(records, selection);
    gridrows = int(listing.entries.size());
    model_->setListing(std::move(records), std::move(listing.entries));
    Label2->setText(totalText(listing.total));
    return true;
}

void Taxtot::loadFailed()
{
    if (!loadFailed_) {
        loadFailed_ = true;
        state_.platform.dialogs.message(
            QStringLiteral("No file open, I will open the default file '%1' for you")
                .arg(kDefaultDataFile),
            Buttons::Ok, Icon::None, QStringLiteral("No file"));
    }
    if (callerPresfile_)
        *callerPresfile_ = kDefaultDataFile;
}

void Taxtot::Option1_Click() { listfil(); }
void Taxtot::Option2_Click() { listfil(); }
void Taxtot::Option3_Click() { listfil(); }
void Taxtot::Option4_Click() { listfil(); }
void Taxtot::Expense_Click() { Fillists(); }
void Taxtot::Command1_Click() { close(); }
void Taxtot::exitf_Click() { close(); }

// The Help entry has no help file to open on this window.
void Taxtot::h_Click() {}

void Taxtot::abt_Click()
{
    showHelpBox(state_.platform.dialogs, totalsAboutText(), kTotalsAboutTitle);
}

void Taxtot::helpb_Click()
{
    showHelpBox(state_.platform.dialogs, totalsHelpText(), kTotalsHelpTitle);
}

void Taxtot::srtdte_Click()
{
    sortRecords(SortOrder::Date);
}

void Taxtot::srttyp_Click()
{
    sortRecords(SortOrder::Type);
}

void Taxtot::sortRecords(SortOrder order)
{
    if (numrecs < 2)
        return;
    // The whole file is replaced at once, so a failure leaves every record
    // where it was, and the record window's handle reads the new order.
    QString error;
    if (!sortFile(file_, order, &error))
        state_.platform.dialogs.message(sortFailedText(file_, error), Buttons::Ok,
                                        Icon::Exclamation, kSortFailedTitle);
}

void Taxtot::prn_Click()
{
    deliverPrintJob(state_.platform.dialogs, state_.platform.printer, QStringLiteral("form"),
                    [this](const PrintTarget& target, QString* error) {
                        return printForm(target, error);
                    });
}

bool Taxtot::printForm(const PrintTarget& target, QString* error)
{
    // The button is not part of the printout, and every listed row is, from
    // the first; the scroll bar has nothing left to scroll.
    Command1->hide();
    const int scrolled = Grid1->verticalScrollBar()->value();
    const Qt::ScrollBarPolicy policy = Grid1->verticalScrollBarPolicy();
    const int extra = gridrows > kDesignedRows ? kRowTwips * (gridrows - kDesignedRows) : 0;
    setExtraHeight(extra);
    Grid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid1->verticalScrollBar()->setValue(0);
    const bool ok = state_.platform.printer.printWidget(*client_, windowTitle(), target, error);
    Grid1->setVerticalScrollBarPolicy(policy);
    setExtraHeight(0);
    Grid1->verticalScrollBar()->setValue(scrolled);
    Command1->show();
    return ok;
}

void Taxtot::exportcsv_Click()
{
    QStringList header;
    for (const TotalsColumnLayout& column : totalsColumns())
        header << column.header;
    const std::vector<TotalsRow> rows = model_->rows();
    exportCsv(state_.platform.dialogs, state_.platform.files, totalsTable(header, rows),
              rows.size() == 1 ? QStringLiteral("1 record")
                               : QStringLiteral("%1 records").arg(rows.size()));
}

void Taxtot::pall_Click()
{
    std::vector<TaxRecord> records;
    if (numrecs > 0 && !file_.readAll(records)) {
        state_.platform.dialogs.message(
            QStringLiteral("The records of the file '%1' could not be read, so nothing was printed.")
                .arg(state_.filename),
            Buttons::Ok, Icon::Exclamation);
        return;
    }
    if (records.size() > std::size_t(numrecs))
        records.resize(std::size_t(numrecs));
    if (!records.empty())
        totrec = records.back();
    const QStringList lines = printAllListing(state_.filename, records);
    deliverPrintJob(state_.platform.dialogs, state_.platform.printer,
                    QStringLiteral("record listing"),
                    [&](const PrintTarget& target, QString* error) {
                        return state_.platform.printer.printLines(lines, windowTitle(), target,
                                                                  error);
                    });
}

void Taxtot::closeFile()
{
    file_.close();
    totfilenum = 0;
}

void Taxtot::done(int result)
{
    closeFile();
    QDialog::done(result);
}

void Taxtot::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
    if (event->isAccepted())
        closeFile();
}

} // namespace quillary
