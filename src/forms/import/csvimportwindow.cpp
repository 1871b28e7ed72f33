#include "forms/import/csvimportwindow.h"

#include "forms/import/importpreview.h"
#include "records/categories.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

namespace quillary {

namespace {

template <class T>
T* named(T* widget, const char* name, const QString& accessible)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(accessible);
    return widget;
}

// A combo box of choices, each with the value it stands for.
QComboBox* choices(QWidget* parent, const char* name, const QString& accessible,
                   std::initializer_list<std::pair<QString, QVariant>> items)
{
    auto* box = named(new QComboBox(parent), name, accessible);
    for (const auto& [text, value] : items)
        box->addItem(text, value);
    return box;
}

void select(QComboBox* box, const QVariant& value)
{
    const int i = box->findData(value);
    box->setCurrentIndex(i >= 0 ? i : 0);
}

QString plural(int n, const QString& one, const QString& many)
{
    return n == 1 ? QStringLiteral("1 ") + one : QStringLiteral("%1 ").arg(QLocale().toString(n)) + many;
}

} // namespace

CsvImportWindow::CsvImportWindow(CsvImport& import, const QString& fileName, int existingRecords,
                                 QWidget* parent)
    : QDialog(parent)
    , import_(import)
    , existingRecords_(existingRecords)
{
    setObjectName(QStringLiteral("CsvImport"));
    setWindowTitle(kImportTitle + QStringLiteral(": ") + QFileInfo(fileName).fileName());
    setModal(true);
    buildForm();
    showFormat();
    showSettings();
    showResults();
}

CsvImportWindow::~CsvImportWindow() = default;

void CsvImportWindow::buildForm()
{
    // How the file is read.
    auto* file = named(new QGroupBox(QStringLiteral("File"), this), "FileFrame",
                       QStringLiteral("File"));
    encoding_ = choices(file, "Encoding", QStringLiteral("Encoding"),
                        {{QStringLiteral("UTF-8"), int(TextEncoding::Utf8)},
                         {QStringLiteral("Windows-1252 (Latin-1)"), int(TextEncoding::Windows1252)}});
    separator_ = choices(file, "Separator", QStringLiteral("Separator"),
                         {{separatorName(','), int(',')},
                          {separatorName(';'), int(';')},
                          {separatorName('\t'), int('\t')}});
    header_ = named(new QCheckBox(QStringLiteral("First row is a &header"), file), "Header",
                    QStringLiteral("First row is a header"));
    skipped_ = named(new QLabel(file), "Skipped", QStringLiteral("Lines skipped"));
    auto* encodingLabel = new QLabel(QStringLiteral("&Encoding:"), file);
    encodingLabel->setBuddy(encoding_);
    auto* separatorLabel = new QLabel(QStringLiteral("&Separator:"), file);
    separatorLabel->setBuddy(separator_);
    auto* fileRow = new QHBoxLayout(file);
    fileRow->addWidget(encodingLabel);
    fileRow->addWidget(encoding_);
    fileRow->addSpacing(12);
    fileRow->addWidget(separatorLabel);
    fileRow->addWidget(separator_);
    fileRow->addSpacing(12);
    fileRow->addWidget(header_);
    fileRow->addSpacing(12);
    fileRow->addWidget(skipped_, 1);

    // Which column holds what.
    auto* columns = named(new QGroupBox(QStringLiteral("Columns"), this), "ColumnsFrame",
                          QStringLiteral("Columns"));
    auto column = [columns](const char* name, const QString& accessible) {
        auto* box = named(new QComboBox(columns), name, accessible);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(12);
        return box;
    };
    dateColumn_ = column("DateColumn", QStringLiteral("Date column"));
    oneAmount_ = named(new QRadioButton(QStringLiteral("A&mount:"), columns), "OneAmount",
                       QStringLiteral("One amount column"));
    amountColumn_ = column("AmountColumn", QStringLiteral("Amount column"));
    debitCredit_ = named(new QRadioButton(QStringLiteral("De&bit:"), columns), "DebitCredit",
                         QStringLiteral("Debit and credit columns"));
    debitColumn_ = column("DebitColumn", QStringLiteral("Debit column"));
    creditColumn_ = column("CreditColumn", QStringLiteral("Credit column"));
    descriptionColumn_ = column("DescriptionColumn", QStringLiteral("Description column"));
    partyColumn_ = column("PartyColumn", QStringLiteral("Paid to/by column"));
    invoiceColumn_ = column("InvoiceColumn", QStringLiteral("Invoice No. column"));
    payMethodColumn_ = column("PayMethodColumn", QStringLiteral("Pay Method column"));
    auto* amountKind = new QButtonGroup(this);
    amountKind->addButton(oneAmount_);
    amountKind->addButton(debitCredit_);
    auto* columnGrid = new QGridLayout(columns);
    auto label = [](QWidget* parent, const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, parent);
        l->setBuddy(buddy);
        return l;
    };
    columnGrid->addWidget(label(columns, QStringLiteral("&Date:"), dateColumn_), 0, 0);
    columnGrid->addWidget(dateColumn_, 0, 1);
    columnGrid->addWidget(oneAmount_, 1, 0);
    columnGrid->addWidget(amountColumn_, 1, 1);
    columnGrid->addWidget(debitCredit_, 2, 0);
    columnGrid->addWidget(debitColumn_, 2, 1);
    columnGrid->addWidget(label(columns, QStringLiteral("C&redit:"), creditColumn_), 3, 0,
                          Qt::AlignRight);
    columnGrid->addWidget(creditColumn_, 3, 1);
    columnGrid->addWidget(label(columns, QStringLiteral("Descri&ption:"), descriptionColumn_), 0, 2);
    columnGrid->addWidget(descriptionColumn_, 0, 3);
    columnGrid->addWidget(label(columns, QStringLiteral("Paid &to/by:"), partyColumn_), 1, 2);
    columnGrid->addWidget(partyColumn_, 1, 3);
    columnGrid->addWidget(label(columns, QStringLiteral("In&voice No.:"), invoiceColumn_), 2, 2);
    columnGrid->addWidget(invoiceColumn_, 2, 3);
    columnGrid->addWidget(label(columns, QStringLiteral("Pay Meth&od:"), payMethodColumn_), 3, 2);
    columnGrid->addWidget(payMethodColumn_, 3, 3);
    columnGrid->setColumnStretch(1, 1);
    columnGrid->setColumnStretch(3, 1);

    // How dates and amounts are written.
    auto* values = named(new QGroupBox(QStringLiteral("Dates and amounts"), this), "ValuesFrame",
                         QStringLiteral("Dates and amounts"));
    dateOrder_ = choices(values, "DateOrder", QStringLiteral("Date order"),
                         {{QStringLiteral("Day/Month/Year"), int(DateOrder::DayMonthYear)},
                          {QStringLiteral("Month/Day/Year"), int(DateOrder::MonthDayYear)},
                          {QStringLiteral("Year-Month-Day"), int(DateOrder::YearMonthDay)}});
    dateExample_ = named(new QLabel(values), "DateExample", QStringLiteral("How the first date reads"));
    decimal_ = choices(values, "Decimal", QStringLiteral("Decimal separator"),
                       {{QStringLiteral("Point (1,234.56)"), QString(u'.')},
                        {QStringLiteral("Comma (1.234,56)"), QString(u',')}});
    group_ = choices(values, "Group", QStringLiteral("Group separator"),
                     {{QStringLiteral("None"), QString()},
                      {QStringLiteral("Comma"), QString(u',')},
                      {QStringLiteral("Point"), QString(u'.')},
                      {QStringLiteral("Blank"), QString(u' ')},
                      {QStringLiteral("Apostrophe"), QString(u'\'')}});
    auto* valueForm = new QFormLayout(values);
    valueForm->addRow(label(values, QStringLiteral("Dates &written as:"), dateOrder_), dateOrder_);
    valueForm->addRow(QString(), dateExample_);
    valueForm->addRow(label(values, QStringLiteral("Decim&al separator:"), decimal_), decimal_);
    valueForm->addRow(label(values, QStringLiteral("Gro&up separator:"), group_), group_);

    // What the rows become.
    auto* records = named(new QGroupBox(QStringLiteral("Records"), this), "RecordsFrame",
                          QStringLiteral("Records"));
    personal_ = named(new QRadioButton(QStringLiteral("Persona&l"), records), "Personal",
                      QStringLiteral("Personal"));
    business_ = named(new QRadioButton(QStringLiteral("Busi&ness"), records), "Business",
                      QStringLiteral("Business"));
    auto* scope = new QButtonGroup(this);
    scope->addButton(personal_);
    scope->addButton(business_);
    kindRule_ = choices(records, "KindRule", QStringLiteral("Expense or income"),
                        {{QStringLiteral("Minus is an expense"),
                          int(KindRule::MinusIsExpense)},
                         {QStringLiteral("Plus is an expense"),
                          int(KindRule::PlusIsExpense)},
                         {QStringLiteral("All are expenses"), int(KindRule::AllExpenses)},
                         {QStringLiteral("All are income"), int(KindRule::AllIncome)}});
    kindRule_->setToolTip(QStringLiteral("A bank account shows money out with a minus; a card "
                                         "statement shows charges without one."));
    expenseType_ = named(new QComboBox(records), "ExpenseType", QStringLiteral("Expense type"));
    incomeType_ = named(new QComboBox(records), "IncomeType", QStringLiteral("Income type"));
    // The longest category names would otherwise set the window's width.
    for (QComboBox* box : {kindRule_, expenseType_, incomeType_}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(18);
    }
    auto* scopeRow = new QHBoxLayout;
    scopeRow->addWidget(personal_);
    scopeRow->addWidget(business_);
    scopeRow->addStretch(1);
    auto* recordForm = new QFormLayout(records);
    recordForm->addRow(scopeRow);
    recordForm->addRow(label(records, QStringLiteral("E&xpense or income:"), kindRule_), kindRule_);
    recordForm->addRow(label(records, QStringLiteral("Expense t&ype:"), expenseType_), expenseType_);
    recordForm->addRow(label(records, QStringLiteral("In&come type:"), incomeType_), incomeType_);

    // Every row and what it becomes.
    preview_ = new ImportPreview(import_, this);
    previewView_ = named(new QTableView(this), "Preview", QStringLiteral("Preview of the rows"));
    previewView_->setModel(preview_);
    previewView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    previewView_->setSelectionMode(QAbstractItemView::SingleSelection);
    previewView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    previewView_->setWordWrap(false);
    previewView_->setTabKeyNavigation(false);
    previewView_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    previewView_->verticalHeader()->hide();
    previewView_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    previewView_->verticalHeader()->setDefaultSectionSize(previewView_->fontMetrics().height() + 6);
    previewView_->horizontalHeader()->setHighlightSections(false);
    previewView_->horizontalHeader()->setResizeContentsPrecision(200);
    previewView_->installEventFilter(this);
    auto* previewLabel = new QLabel(QStringLiteral("Rows of the &file (tick a likely duplicate "
                                                   "to import it all the same):"),
                                    this);
    previewLabel->setBuddy(previewView_);

    summary_ = named(new QLabel(this), "Summary", QStringLiteral("Summary"));
    summary_->setWordWrap(true);
    importButton_ = named(new QPushButton(QStringLiteral("&Import"), this), "ImportButton",
                          QStringLiteral("Import"));
    cancelButton_ = named(new QPushButton(QStringLiteral("Cancel"), this), "CancelButton",
                          QStringLiteral("Cancel"));
    // Enter in the lists belongs to them; Import is pressed on purpose.
    importButton_->setAutoDefault(false);
    cancelButton_->setAutoDefault(false);

    // Side by side the three groups need some 1,200 pixels; on a narrower
    // screen the columns take a row of their own, so that the whole window,
    // its buttons included, stays on the screen.
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 800);
    auto* middle = new QGridLayout;
    if (available.width() >= 1240) {
        middle->addWidget(columns, 0, 0);
        middle->addWidget(values, 0, 1);
        middle->addWidget(records, 0, 2);
        middle->setColumnStretch(0, 3);
        middle->setColumnStretch(1, 2);
        middle->setColumnStretch(2, 2);
    } else {
        middle->addWidget(columns, 0, 0, 1, 2);
        middle->addWidget(values, 1, 0);
        middle->addWidget(records, 1, 1);
        middle->setColumnStretch(0, 1);
        middle->setColumnStretch(1, 1);
    }
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(summary_, 1);
    bottom->addWidget(importButton_);
    bottom->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(file);
    layout->addLayout(middle);
    layout->addWidget(previewLabel);
    layout->addWidget(previewView_, 1);
    layout->addLayout(bottom);

    QWidget* order[] = {encoding_,         separator_,      header_,        dateColumn_,
                        oneAmount_,        amountColumn_,   debitCredit_,   debitColumn_,
                        creditColumn_,     descriptionColumn_, partyColumn_, invoiceColumn_,
                        payMethodColumn_,  dateOrder_,      decimal_,       group_,
                        personal_,         business_,       kindRule_,      expenseType_,
                        incomeType_,       previewView_,    importButton_,  cancelButton_};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Every change counts, by mouse, keyboard or screen reader alike.
    connect(encoding_, &QComboBox::currentIndexChanged, this, &CsvImportWindow::formatChanged);
    connect(separator_, &QComboBox::currentIndexChanged, this, &CsvImportWindow::formatChanged);
    connect(header_, &QCheckBox::toggled, this, &CsvImportWindow::headerChanged);
    for (QComboBox* box : {dateColumn_, amountColumn_, debitColumn_, creditColumn_,
                           descriptionColumn_, partyColumn_, invoiceColumn_, payMethodColumn_,
                           dateOrder_, group_, kindRule_, expenseType_, incomeType_})
        connect(box, &QComboBox::currentIndexChanged, this, &CsvImportWindow::settingsChanged);
    connect(decimal_, &QComboBox::currentIndexChanged, this, [this] {
        // A group separator like the decimal one would read no number.
        if (!showing_ && group_->currentData() == decimal_->currentData()) {
            showing_ = true;
            select(group_, decimal_->currentData().toString() == QStringLiteral(",")
                               ? QStringLiteral(".")
                               : QStringLiteral(","));
            showing_ = false;
        }
        settingsChanged();
    });
    for (QRadioButton* option : {oneAmount_, debitCredit_}) {
        connect(option, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                settingsChanged();
        });
    }
    connect(business_, &QRadioButton::toggled, this, [this] {
        if (showing_)
            return;
        showing_ = true;
        fillTypes();
        showing_ = false;
        settingsChanged();
    });
    connect(preview_, &ImportPreview::keptChanged, this, &CsvImportWindow::showSummary);
    connect(importButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    resize(std::min(1040, available.width() - 40), std::min(720, available.height() - 60));
}

void CsvImportWindow::showFormat()
{
    const bool was = showing_;
    showing_ = true;
    select(encoding_, int(import_.format().encoding));
    select(separator_, int(import_.format().separator));
    header_->setChecked(import_.header());
    const int skipped = int(import_.table().skipped.size());
    skipped_->setText(skipped == 0 ? QString()
                                   : plural(skipped, QStringLiteral("line above the table skipped"),
                                            QStringLiteral("lines above the table skipped")));
    showing_ = was;
}

void CsvImportWindow::fillTypes()
{
    const bool business = business_->isChecked();
    const ImportSettings& s = import_.settings();
    auto fill = [](QComboBox* box, Kind kind, const QString& chosen) {
        box->clear();
        box->addItems(typeList(kind));
        const int i = box->findText(chosen.isEmpty() ? defaultType(kind) : chosen);
        box->setCurrentIndex(i >= 0 ? i : box->findText(defaultType(kind)));
    };
    fill(expenseType_, Kind{business, false}, s.business == business ? s.expenseType : QString());
    fill(incomeType_, Kind{business, true}, s.business == business ? s.incomeType : QString());
}

void CsvImportWindow::showSettings()
{
    const bool was = showing_;
    showing_ = true;
    const ImportSettings& s = import_.settings();
    const QStringList& names = import_.table().columns;
    auto fill = [&names](QComboBox* box, int column) {
        box->clear();
        box->addItem(QStringLiteral("(none)"), kNoColumn);
        for (int i = 0; i < names.size(); ++i)
            box->addItem(names[i], i);
        select(box, column);
    };
    fill(dateColumn_, s.columns.date);
    fill(amountColumn_, s.columns.amount);
    fill(debitColumn_, s.columns.debit);
    fill(creditColumn_, s.columns.credit);
    fill(descriptionColumn_, s.columns.description);
    fill(partyColumn_, s.columns.party);
    fill(invoiceColumn_, s.columns.invoice);
    fill(payMethodColumn_, s.columns.payMethod);
    (s.columns.debitCredit ? debitCredit_ : oneAmount_)->setChecked(true);
    select(dateOrder_, int(s.dateOrder));
    select(decimal_, QString(s.number.decimal));
    select(group_, s.number.group.isNull() ? QString() : QString(s.number.group));
    (s.business ? business_ : personal_)->setChecked(true);
    select(kindRule_, int(s.kindRule));
    fillTypes();
    showing_ = was;
}

ImportSettings CsvImportWindow::settingsFromControls() const
{
    ImportSettings s = import_.settings();
    s.columns.date = dateColumn_->currentData().toInt();
    s.columns.debitCredit = debitCredit_->isChecked();
    s.columns.amount = amountColumn_->currentData().toInt();
    s.columns.debit = debitColumn_->currentData().toInt();
    s.columns.credit = creditColumn_->currentData().toInt();
    s.columns.description = descriptionColumn_->currentData().toInt();
    s.columns.party = partyColumn_->currentData().toInt();
    s.columns.invoice = invoiceColumn_->currentData().toInt();
    s.columns.payMethod = payMethodColumn_->currentData().toInt();
    s.dateOrder = DateOrder(dateOrder_->currentData().toInt());
    s.number.decimal = decimal_->currentData().toString().at(0);
    const QString group = group_->currentData().toString();
    s.number.group = group.isEmpty() ? QChar() : group.at(0);
    s.business = business_->isChecked();
    s.kindRule = KindRule(kindRule_->currentData().toInt());
    s.expenseType = expenseType_->currentText();
    s.incomeType = incomeType_->currentText();
    return s;
}

void CsvImportWindow::formatChanged()
{
    if (showing_)
        return;
    import_.setFormat({TextEncoding(encoding_->currentData().toInt()),
                       char(separator_->currentData().toInt())});
    showFormat();
    showSettings();
    showResults();
}

void CsvImportWindow::headerChanged(bool header)
{
    if (showing_)
        return;
    import_.setHeader(header);
    showFormat();
    showSettings();
    showResults();
}

void CsvImportWindow::settingsChanged()
{
    if (showing_)
        return;
    import_.setSettings(settingsFromControls());
    showResults();
}

bool CsvImportWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == previewView_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space
        && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        const QModelIndex cell = preview_->index(previewView_->currentIndex().row(),
                                                 ImportPreview::ColStatus);
        if (cell.flags() & Qt::ItemIsUserCheckable) {
            const bool kept = cell.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            preview_->setData(cell, kept ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString CsvImportWindow::summaryText() const
{
    const ColumnMap& map = import_.settings().columns;
    if (map.date == kNoColumn)
        return QStringLiteral("Choose the column that holds the dates.");
    if (!isComplete(map))
        return map.debitCredit ? QStringLiteral("Choose the debit and the credit column.")
                               : QStringLiteral("Choose the column that holds the amounts.");
    const ImportCounts counts = import_.counts();
    const int total = existingRecords_ + counts.toImport();
    if (total > kMaxRecords)
        return QStringLiteral("With these %1 the file would hold %2 records, more than the %3 "
                              "a data file can hold. Import fewer rows, or import into a new "
                              "file.")
            .arg(plural(counts.toImport(), QStringLiteral("row"), QStringLiteral("rows")),
                 QLocale().toString(total), QLocale().toString(kMaxRecords));
    if (counts.toImport() == 0)
        return QStringLiteral("No row can be imported as the columns and formats are chosen.");
    QStringList skipped;
    if (counts.unreadable > 0)
        skipped << plural(counts.unreadable, QStringLiteral("unreadable row"),
                          QStringLiteral("unreadable rows"));
    const int duplicates = counts.duplicates - counts.duplicatesKept;
    if (duplicates > 0)
        skipped << plural(duplicates, QStringLiteral("likely duplicate"),
                          QStringLiteral("likely duplicates"));
    QString text = counts.toImport() == 1
        ? QStringLiteral("1 row is imported as record %1 of the file.")
              .arg(QLocale().toString(existingRecords_ + 1))
        : plural(counts.toImport(), QStringLiteral("row is"), QStringLiteral("rows are"))
            + QStringLiteral(" imported as records %1 to %2 of the file.")
                  .arg(QLocale().toString(existingRecords_ + 1), QLocale().toString(total));
    if (!skipped.isEmpty())
        text += QStringLiteral(" Skipped: ") + skipped.join(QStringLiteral(", ")) + u'.';
    return text;
}

bool CsvImportWindow::canImport() const
{
    const int n = import_.counts().toImport();
    return isComplete(import_.settings().columns) && n > 0 && existingRecords_ + n <= kMaxRecords;
}

void CsvImportWindow::showResults()
{
    const ImportSettings& s = import_.settings();
    // The first date as it reads under the chosen order, to check it by.
    QString example;
    for (const CsvInputRow& row : import_.table().rows) {
        if (s.columns.date == kNoColumn || s.columns.date >= row.fields.size())
            continue;
        const QString text = row.fields[s.columns.date].trimmed();
        const DateRead read = readStatementDate(text, s.dateOrder);
        if (read.status != DateStatus::Ok)
            continue;
        // The month by its name, which no order can mistake.
        example = QStringLiteral("%1 is %2").arg(text, QLocale().toString(read.date, QStringLiteral("d MMMM yyyy")));
        break;
    }
    dateExample_->setText(example);
    // The row the user was at stays current.
    const QModelIndex current = previewView_->currentIndex();
    preview_->refresh();
    if (current.isValid() && current.row() < preview_->rowCount())
        previewView_->setCurrentIndex(preview_->index(current.row(), current.column()));
    previewView_->resizeColumnsToContents();
    const int widest = fontMetrics().averageCharWidth() * 44;
    for (int c = 0; c < preview_->columnCount(); ++c) {
        if (previewView_->columnWidth(c) > widest)
            previewView_->setColumnWidth(c, widest);
    }
    showSummary();
}

void CsvImportWindow::showSummary()
{
    summary_->setText(summaryText());
    importButton_->setEnabled(canImport());
}

} // namespace quillary
