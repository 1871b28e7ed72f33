#pragma once

#include "session/appstate.h"
#include "records/datafile.h"
#include "reports/summary.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QMenuBar;
class QModelIndex;
class QPushButton;
class QTableView;

namespace quillary {

struct PrintTarget;
class NotCountedModel;
class SummaryModel;

// The tax year summary: every category of the four kinds with its number of
// records and its total for one year of the file named by state.filename,
// the totals of income, expenses and the business result, and the records
// that add to no figure. It reads the file once, through a handle of its
// own opened by load() and kept until it is closed, and never changes it.
class Taxsum : public QDialog {
    Q_OBJECT
public:
    // Builds the form; load() then reads the file.
    Taxsum(AppState& state, QWidget* parent = nullptr);
    ~Taxsum() override;

    // Reads the file and shows the summary of the year to start with. When
    // the file cannot be read the user is told and the answer is false: the
    // window is not to be shown.
    bool load();
    bool isLoaded() const { return loaded_; }
    int fileNumber() const;
    int recordCount() const { return int(records_.size()); }

    YearChoice year() const;
    const Summary& summary() const { return summary_; }
    SummaryModel* summaryModel() const { return summaryModel_; }
    NotCountedModel* notCountedModel() const { return notCountedModel_; }

    // The record the user chose from the records not counted, to be shown
    // in the record window; 0 when none was chosen.
    int chosenRecord() const { return chosen_; }

public slots:
    void prn_Click();
    // The summary as shown, as CSV.
    void exportcsv_Click();
    void exitf_Click();
    void h_Click();

protected:
    void done(int result) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildForm();
    void buildMenus();
    // Counts again for the chosen year and shows the result.
    void recount();
    // Shows the rows of the summary, with or without the empty categories.
    void showRows();
    void chooseRecord(const QModelIndex& index);
    bool print(const PrintTarget& target, QString* error);

    AppState& state_;
    DataFile file_;
    bool loaded_ = false;
    DatedRecords records_;
    Summary summary_;
    int chosen_ = 0;

    SummaryModel* summaryModel_ = nullptr;
    NotCountedModel* notCountedModel_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QLabel* yearLabel_ = nullptr;
    QComboBox* yearBox_ = nullptr;
    QCheckBox* hideEmpty_ = nullptr;
    QPushButton* close_ = nullptr;
    QLabel* counts_ = nullptr;
    QTableView* summaryView_ = nullptr;
    QLabel* notCountedLabel_ = nullptr;
    QLabel* notCountedHint_ = nullptr;
    QTableView* notCountedView_ = nullptr;
};

} // namespace quillary
