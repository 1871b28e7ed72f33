#include "forms/summary/taxsum.h"

#include "forms/csvexport.h"
#include "forms/printdelivery.h"
#include "forms/summary/summarymodel.h"
#include "forms/summary/summaryprint.h"
#include "platform/dialogs.h"
#include "platform/help.h"
#include "platform/localeservices.h"
#include "platform/menus.h"
#include "platform/printer.h"
#include "reports/exports.h"
#include "reports/summarylayout.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

namespace quillary {

namespace {

const QString kCaption = QStringLiteral("Tax Year Summary");

void setNames(QWidget* widget, const char* name, const QString& accessible)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(accessible);
}

void setUpTable(QTableView* view)
{
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* rows = view->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setHighlightSections(false);
}

} // namespace

Taxsum::Taxsum(AppState& state, QWidget* parent)
    : QDialog(parent)
    , state_(state)
    , file_(state.platform.files)
{
    setObjectName(QStringLiteral("Taxsum"));
    setWindowTitle(kCaption + QStringLiteral(": ") + state_.filename);
    setModal(true);
    buildForm();
    buildMenus();
}

Taxsum::~Taxsum() = default;

int Taxsum::fileNumber() const
{
    return file_.fileNumber();
}

void Taxsum::buildForm()
{
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("menuBar"));

    yearLabel_ = new QLabel(QStringLiteral("Tax &year:"), this);
    yearLabel_->setObjectName(QStringLiteral("yearLabel"));
    yearBox_ = new QComboBox(this);
    setNames(yearBox_, "Year", QStringLiteral("Tax year"));
    yearBox_->setEditable(false);
    yearBox_->setMinimumContentsLength(9);
    yearLabel_->setBuddy(yearBox_);

    hideEmpty_ = new QCheckBox(QStringLiteral("Hide categories &without records"), this);
    setNames(hideEmpty_, "HideEmpty", QStringLiteral("Hide categories without records"));

    close_ = new QPushButton(QStringLiteral("&Close"), this);
    setNames(close_, "Command1", QStringLiteral("Close"));
    // Enter in a list belongs to the list: no button takes it.
    close_->setAutoDefault(false);

    counts_ = new QLabel(this);
    setNames(counts_, "Counts", QStringLiteral("Records counted"));

    summaryModel_ = new SummaryModel(this);
    summaryView_ = new QTableView(this);
    setNames(summaryView_, "Grid1", QStringLiteral("Summary"));
    summaryView_->setModel(summaryModel_);
    summaryView_->setItemDelegate(new SummaryDelegate(summaryView_));
    setUpTable(summaryView_);
    QHeaderView* header = summaryView_->horizontalHeader();
    const QFontMetrics metrics = summaryView_->fontMetrics();
    QFont bold = summaryView_->font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    header->setSectionResizeMode(SummaryModel::ColCategory, QHeaderView::Stretch);
    header->setSectionResizeMode(SummaryModel::ColRecords, QHeaderView::Fixed);
    header->setSectionResizeMode(SummaryModel::ColTotal, QHeaderView::Fixed);
    header->setSectionResizeMode(SummaryModel::ColBar, QHeaderView::Fixed);
    summaryView_->setColumnWidth(SummaryModel::ColRecords,
                                 boldMetrics.horizontalAdvance(QStringLiteral("Records")) + 24);
    summaryView_->setColumnWidth(SummaryModel::ColTotal,
                                 boldMetrics.horizontalAdvance(QStringLiteral("-99999999999999.0000"))
                                     + 16);
    summaryView_->setColumnWidth(SummaryModel::ColBar,
                                 metrics.horizontalAdvance(QLatin1Char('M')) * 14);

    notCountedLabel_ = new QLabel(this);
    notCountedLabel_->setObjectName(QStringLiteral("NotCountedLabel"));
    QFont labelFont = notCountedLabel_->font();
    labelFont.setBold(true);
    notCountedLabel_->setFont(labelFont);
    notCountedHint_ = new QLabel(
        QStringLiteral("These records add to no figure. Double-click one, or select it and "
                       "press Enter, to correct it in the record window."),
        this);
    notCountedHint_->setObjectName(QStringLiteral("NotCountedHint"));
    notCountedHint_->setWordWrap(true);

    notCountedModel_ = new NotCountedModel(this);
    notCountedView_ = new QTableView(this);
    setNames(notCountedView_, "NotCounted", QStringLiteral("Records not counted"));
    notCountedView_->setModel(notCountedModel_);
    setUpTable(notCountedView_);
    notCountedLabel_->setBuddy(notCountedView_);
    QHeaderView* ncHeader = notCountedView_->horizontalHeader();
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    notCountedView_->setColumnWidth(NcNumber, boldMetrics.horizontalAdvance(QStringLiteral("Record")) + 20);
    notCountedView_->setColumnWidth(NcDate, metrics.horizontalAdvance(shortDate(QDate(2000, 12, 28))) + 40);
    notCountedView_->setColumnWidth(NcAmount, digit * 14 + 16);
    notCountedView_->setColumnWidth(NcDescription, metrics.horizontalAdvance(QLatin1Char('M')) * 13);
    ncHeader->setStretchLastSection(true);
    notCountedView_->setFixedHeight(ncHeader->sizeHint().height()
                                    + 5 * notCountedView_->verticalHeader()->defaultSectionSize()
                                    + 2 * notCountedView_->frameWidth());

    auto* top = new QHBoxLayout;
    top->addWidget(yearLabel_);
    top->addWidget(yearBox_);
    top->addSpacing(16);
    top->addWidget(hideEmpty_);
    top->addStretch(1);
    top->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar_);
    layout->addLayout(top);
    layout->addWidget(counts_);
    layout->addWidget(summaryView_, 1);
    layout->addSpacing(4);
    layout->addWidget(notCountedLabel_);
    layout->addWidget(notCountedHint_);
    layout->addWidget(notCountedView_);

    setTabOrder(yearBox_, hideEmpty_);
    setTabOrder(hideEmpty_, summaryView_);
    setTabOrder(summaryView_, notCountedView_);
    setTabOrder(notCountedView_, close_);

    connect(yearBox_, &QComboBox::currentIndexChanged, this, &Taxsum::recount);
    connect(hideEmpty_, &QCheckBox::toggled, this, &Taxsum::showRows);
    connect(close_, &QPushButton::clicked, this, &Taxsum::exitf_Click);
    connect(notCountedView_, &QAbstractItemView::activated, this, &Taxsum::chooseRecord);

    // Wide enough for the longest category and a large figure without a
    // horizontal scroll bar; as high as the screen allows, up to about every
    // row of a year at once.
    const int width = boldMetrics.horizontalAdvance(QStringLiteral("Rent/Lease (Veh.,Mach.,Equip.)"))
        + summaryView_->columnWidth(SummaryModel::ColRecords)
        + summaryView_->columnWidth(SummaryModel::ColTotal)
        + summaryView_->columnWidth(SummaryModel::ColBar) + 90;
    const int wanted = 34 * summaryView_->verticalHeader()->defaultSectionSize() + 300;
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(width, available.width() - 40), std::min(wanted, available.height() - 60));
    setMinimumSize(std::min(width, available.width() - 40) * 3 / 4, 360);
}

void Taxsum::buildMenus()
{
    QMenu* fl = addMenuBarMenu(menuBar_, QStringLiteral("fl"), QStringLiteral("&File"));
    addMenuCommand(fl, QStringLiteral("prn"), QStringLiteral("&Print"), this, &Taxsum::prn_Click)
        ->setShortcut(QKeySequence::Print);
    addMenuCommand(fl, QStringLiteral("exportcsv"), kExportMenuCaption, this,
                   &Taxsum::exportcsv_Click);
    addMenuSeparator(fl, QStringLiteral("hyph"));
    addMenuCommand(fl, QStringLiteral("exitf"), QStringLiteral("E&xit"), this,
                   &Taxsum::exitf_Click);
    QMenu* hl = addMenuBarMenu(menuBar_, QStringLiteral("hl"), QStringLiteral("&Help"));
    addMenuCommand(hl, QStringLiteral("h"), QStringLiteral("&Help"), this, &Taxsum::h_Click)
        ->setShortcut(Qt::Key_F1);
}

bool Taxsum::load()
{
    Dialogs& dialogs = state_.platform.dialogs;
    QString error;
    std::vector<TaxRecord> records;
    if (file_.open(state_.filename, &error) != OpenStatus::Ok) {
        dialogs.message(QStringLiteral("The file '%1' could not be opened, so there is no summary "
                                       "to show.%2")
                            .arg(state_.filename, error.isEmpty() ? QString() : u' ' + error),
                        Buttons::Ok, Icon::Exclamation, kCaption);
        return false;
    }
    const int count = file_.recordCount();
    if (count > 0 && !file_.readAll(records)) {
        dialogs.message(QStringLiteral("The records of the file '%1' could not be read, so there "
                                       "is no summary to show.")
                            .arg(state_.filename),
                        Buttons::Ok, Icon::Exclamation, kCaption);
        file_.close();
        return false;
    }
    if (records.size() > std::size_t(count))
        records.resize(std::size_t(count));
    records_ = DatedRecords(std::move(records));
    loaded_ = true;

    const YearChoice start = defaultYearChoice(records_.years(), Clock::today());
    {
        const QSignalBlocker block(yearBox_);
        for (const YearChoice& year : yearChoices(records_.years()))
            yearBox_->addItem(yearText(year), year ? QVariant(*year) : QVariant());
        yearBox_->setCurrentIndex(yearBox_->findText(yearText(start)));
    }
    recount();
    return true;
}

YearChoice Taxsum::year() const
{
    const QVariant data = yearBox_->currentData();
    return data.isValid() ? YearChoice(data.toInt()) : std::nullopt;
}

void Taxsum::recount()
{
    summary_ = computeSummary(records_, year());
    counts_->setText(countsText(summary_, recordCount()));
    notCountedLabel_->setText(u'&' + notCountedTitle(summary_));
    notCountedModel_->setRecords(summary_.notCounted);
    notCountedView_->setEnabled(!summary_.notCounted.empty());
    notCountedHint_->setVisible(!summary_.notCounted.empty());
    showRows();
}

void Taxsum::showRows()
{
    summaryModel_->setRows(summaryRows(summary_, hideEmpty_->isChecked()));
    summaryView_->clearSpans();
    const auto& rows = summaryModel_->rows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].style == SummaryRow::Style::SectionHeading)
            summaryView_->setSpan(int(i), 0, 1, SummaryModel::kColumns);
}

void Taxsum::chooseRecord(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    chosen_ = index.data(NotCountedModel::RecordRole).toInt();
    accept();
}

void Taxsum::exportcsv_Click()
{
    exportCsv(state_.platform.dialogs, state_.platform.files,
              summaryTable(summary_, hideEmpty_->isChecked()),
              summary_.year ? QStringLiteral("The summary of %1").arg(*summary_.year)
                            : QStringLiteral("The summary of all years"));
}

void Taxsum::prn_Click()
{
    deliverPrintJob(state_.platform.dialogs, state_.platform.printer, QStringLiteral("summary"),
                    [this](const PrintTarget& target, QString* error) {
                        return print(target, error);
                    });
}

bool Taxsum::print(const PrintTarget& target, QString* error)
{
    const SummaryPrintout printout =
        summaryPrintout(summary_, hideEmpty_->isChecked(),
                        QFileInfo(state_.filename).absoluteFilePath(), Clock::today());
    return state_.platform.printer.printPages(
        windowTitle(), target, [&](PageCanvas& canvas) { return paintSummary(canvas, printout); },
        error);
}

void Taxsum::exitf_Click()
{
    reject();
}

void Taxsum::h_Click()
{
    state_.platform.help.showContents();
}

void Taxsum::done(int result)
{
    file_.close();
    QDialog::done(result);
}

void Taxsum::closeEvent(QCloseEvent* event)
{
    // Closed before it was shown, the dialog does not pass through done().
    QDialog::closeEvent(event);
    if (event->isAccepted())
        file_.close();
}

} // namespace quillary
