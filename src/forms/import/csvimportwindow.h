#pragma once

#include "reports/csvimport.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableView;

namespace quillary {

class ImportPreview;

inline const QString kImportTitle = QStringLiteral("Import from CSV");
inline const QString kImportMenuCaption = QStringLiteral("&Import from CSV...");
inline const QString kImportFileFilter = QStringLiteral("CSV Files (*.csv *.txt)");

// The import window: how the file is read, which column holds what, how
// its dates and amounts are written and what its rows become, with a
// preview of every row. Each choice shows its effect on the preview at
// once. It changes no file: "Import" closes it accepted, and the caller
// appends import.records().
class CsvImportWindow : public QDialog {
    Q_OBJECT
public:
    // fileName names the file being imported; existingRecords is the count
    // of the data file the rows are to join.
    CsvImportWindow(CsvImport& import, const QString& fileName, int existingRecords,
                    QWidget* parent = nullptr);
    ~CsvImportWindow() override;

    ImportPreview* preview() const { return preview_; }
    // What the summary line says, and whether Import can be pressed.
    QString summaryText() const;
    bool canImport() const;

protected:
    // Space in the list ticks the row selected, whichever cell is current.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    // Puts the import's state into the controls, without reacting to it.
    void showFormat();
    void showSettings();
    void showResults();
    void showSummary();
    ImportSettings settingsFromControls() const;
    void fillTypes();

    void formatChanged();
    void headerChanged(bool header);
    void settingsChanged();

    CsvImport& import_;
    int existingRecords_;
    bool showing_ = false;

    QComboBox* encoding_ = nullptr;
    QComboBox* separator_ = nullptr;
    QCheckBox* header_ = nullptr;
    QLabel* skipped_ = nullptr;

    QComboBox* dateColumn_ = nullptr;
    QRadioButton* oneAmount_ = nullptr;
    QRadioButton* debitCredit_ = nullptr;
    QComboBox* amountColumn_ = nullptr;
    QComboBox* debitColumn_ = nullptr;
    QComboBox* creditColumn_ = nullptr;
    QComboBox* descriptionColumn_ = nullptr;
    QComboBox* partyColumn_ = nullptr;
    QComboBox* invoiceColumn_ = nullptr;
    QComboBox* payMethodColumn_ = nullptr;

    QComboBox* dateOrder_ = nullptr;
    QLabel* dateExample_ = nullptr;
    QComboBox* decimal_ = nullptr;
    QComboBox* group_ = nullptr;

    QRadioButton* personal_ = nullptr;
    QRadioButton* business_ = nullptr;
    QComboBox* kindRule_ = nullptr;
    QComboBox* expenseType_ = nullptr;
    QComboBox* incomeType_ = nullptr;

    ImportPreview* preview_ = nullptr;
    QTableView* previewView_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* importButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace quillary
