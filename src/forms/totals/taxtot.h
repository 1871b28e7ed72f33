#pragma once

#include "platform/twips.h"
#include "records/datafile.h"
#include "records/taxrecord.h"
#include "reports/years.h"
#include "session/appstate.h"

#include <QDialog>
#include <QString>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QMenuBar;
class QPushButton;
class QRadioButton;

namespace quillary {

struct PrintTarget;
enum class SortOrder;
class TotalsGrid;
class TotalsModel;

// The totals window: lists the records of one kind and type of the data file
// named by state.filename, with a running total, and prints and sorts the
// file. It reads the file through a handle of its own, opened by load() and
// closed when the window is closed or destroyed; it never changes a record,
// only their order.
class Taxtot : public QDialog {
    Q_OBJECT
public:
    // Builds the form; load() then opens the file and fills it.
    Taxtot(AppState& state, QString* callerPresfile, QWidget* parent = nullptr);
    ~Taxtot() override;

    // The load sequence: opens state.filename, fills the type list and the
    // grid. When the file cannot be opened the user is told,
    // *callerPresfile (the record window's file name) becomes the default
    // file name, and the window shows no records.
    void load();

    // Refills the type list for the chosen kind, selects its default entry
    // and refills the grid.
    void listfil();
    // Refills the grid and the total label for the chosen kind and type.
    void Fillists();

    int fileNumber() const { return totfilenum; }
    int recordCount() const { return numrecs; }
    int gridRowCount() const { return gridrows; }
    const TaxRecord& recordBuffer() const { return totrec; }
    TotalsModel* gridModel() const { return model_; }
    // The year whose records are listed; none: all years, as at first.
    YearChoice year() const { return year_; }
    // Lists the records of that year only (none: of every year), as the
    // Year menu does.
    void setYear(YearChoice year);

    // Designed sizes, in twips.
    static constexpr int kClientWidth = 9405;
    static constexpr int kClientHeight = 5325;
    static constexpr int kFormHeight = 6075;
    static constexpr int kGridHeight = 4335;
    static constexpr int kRowTwips = 242;
    static constexpr int kDesignedRows = 17;

    int px(int twips) const;

public slots:
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Expense_Click();
    void Command1_Click();

    void prn_Click();
    void pall_Click();
    // The listing as shown, as CSV.
    void exportcsv_Click();
    void exitf_Click();
    void srtdte_Click();
    void srttyp_Click();
    void abt_Click();
    void helpb_Click();
    void h_Click();

protected:
    void done(int result) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildForm();
    void buildMenus();
    // The Year menu's entries: the years of the file's records, newest
    // first, then all years.
    void fillYearMenu();
    // The caption and the total's label tell the year.
    void showYear();
    void setupGrid();
    // Gives the form and the grid room for `extraTwips` more (0: designed).
    void setExtraHeight(int extraTwips);
    // The screen area the window may take, what is left of it inside the
    // window frame, and keeping the framed window inside it.
    QRect availableArea() const;
    QMargins decorations() const;
    QSize roomOnScreen() const;
    void keepOnScreen();
    // Reads the file and fills the grid; false when the file cannot be read.
    bool fill();
    void loadFailed();
    void closeFile();
    void sortRecords(SortOrder order);
    bool printForm(const PrintTarget& target, QString* error);

    AppState& state_;
    QString* callerPresfile_;
    DataFile file_;
    bool loading_ = false;
    bool loadFailed_ = false;
    YearChoice year_;
    // The type entry whose change has just refilled the grid, -1 for none.
    int justFilledIndex_ = -1;

    // Form state.
    int totfilenum = 0;
    int numrecs = 0;
    int gridrows = 0;
    TaxRecord totrec;

    // Pixels the grid and the form are wider than designed.
    int extraWidth_ = 0;

    TotalsModel* model_ = nullptr;
    QWidget* client_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QMenu* yrmnu_ = nullptr;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QLabel* Label7 = nullptr;
    QComboBox* Expense = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command1 = nullptr;
    TotalsGrid* Grid1 = nullptr;
};

} // namespace quillary
