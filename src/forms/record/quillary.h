#pragma once

#include "platform/twips.h"
#include "records/datafile.h"
#include "records/recordentry.h"
#include "records/taxrecord.h"
#include "session/appstate.h"
#include "session/recentlist.h"
#include "session/recordwindows.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMdiSubWindow;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace quillary {

enum class SortOrder;

// The record window: one open data file, one record of it on display.
//
// The code of this class is split by subject:
//   quillary.cpp          the form, showing and saving a record, moves, help
//   quillary_records.cpp  add, delete, undo, the sorts and the text search
//   quillary_files.cpp    file commands, the recent-files menu, Quit
//   quillary_import.cpp   importing a bank or card statement from CSV
//
// The owner of the open windows (windows) makes it and shows it; the window
// opens its further windows, finds the others and holds its lock through it.
class Quillary : public RecordWindow {
    Q_OBJECT
public:
    Quillary(AppState& state, RecordWindows& windows, QWidget* parent = nullptr);
    ~Quillary() override;

    // The load sequence: opens state.filename (or the default file), shows
    // the last record or starts an add, restores the recent-files menu.
    void load() override;
    bool hasFile() const override { return file_.isOpen(); }
    QString filePath() const override { return presfile; }

    // The window's menus; the frame shows them while this window is active.
    const QList<QMenu*>& menus() const override { return menus_; }
    void activated() override { checkFileOnActivation(); }

    // Public variables other windows read and write.
    QString presfile;
    int Lastrecord = 0;
    int Presrecord = 0;
    QPointer<Quillary> newtax;

    // Public procedures. savr, addr and the save step answer false when the
    // record could not be written (the user was told why): it stays on the
    // form, still to be saved, and the command that asked goes no further.
    // A record not written because it was blank or its correction was
    // cancelled is no failure: the command goes on, as it always has.
    void uprec();
    bool savr();
    bool addr();
    void listfil();
    void Buttonupd();
    void UpdateMenu();
    // addr while adding, savr otherwise.
    bool saveStep();

    // Tells the user, once for each change, when the file this window has
    // open was removed or replaced by another program; run whenever the
    // window becomes active.
    void checkFileOnActivation();

    bool isAdding() const { return adding_; }
    const DataFile& dataFile() const { return file_; }

public slots:
    // Moves.
    void Command7_Click(); // First
    void Command6_Click(); // Previous
    void Command5_Click(); // Next
    void Command8_Click(); // Last
    void HScroll1_Change(int value);
    void Command1_Click(); // Show Totals
    void taxsum_Click();   // Tax Year Summary

    // Add, delete, undo, sorts, search.
    void Command3_Click(); // Add
    void Command4_Click(); // Delete
    void undolast_Click();
    void sortdate_Click();
    void sorttype_Click();
    void srch_Click();

    // File commands.
    void nefil_Click();
    void opfil_Click();
    void clfil_Click();
    void safil_Click();
    // Every record of the file as CSV, for a spreadsheet or an accountant.
    void exportcsv_Click();
    // The rows of a bank or card statement appended as records.
    void importcsv_Click();
    void Command9_Click(); // Quit
    void mnuFileArray_Click(int index);

    // Help.
    void abt_Click();
    void hel_Click();
    void helpfl_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildForm();
    void buildMenus();
    void restoreRecentMenu();
    // Opens presfile as the window's file; false when it cannot be opened.
    bool openPresfile(QString* error);
    // What the boxes and option buttons hold.
    RecordEntry entry() const;
    // savr (adding false) and addr (adding true) share one procedure.
    bool writeBack(bool adding);
    // Save File As after the save step (recordSaved tells whether it wrote
    // the record on the form; if not, it is written into the new file).
    void saveAs(bool recordSaved);
    // Asks whether to go on with a command that would lose the record the
    // save step could not write.
    bool loseUnsavedRecord(const QString& question, const QString& title);
    // Before a write: whether the file is still at its name. If not, the
    // user is told, offered to save the records elsewhere or to reopen the
    // file as it is now, and nothing is written.
    bool fileInPlace();
    void tellFileGone(PathState state);
    void reopenFile();
    // Shows the kind of a record on the option buttons; false for an
    // unknown kind code, which leaves the buttons as they are.
    bool selectKind(char code);
    void fillWindowList();
    void arrangeIcons();
    // Closes the window without a save step (load found no usable file).
    void abandon();

    // Add, delete, undo, the sorts and the search (quillary_records.cpp).
    // The save step, then the whole file reordered and the record now at
    // Presrecord shown.
    void sortRecords(SortOrder order);

    AppState& state_;
    RecordWindows& windows_;
    DataFile file_;
    bool adding_ = false;
    TaxRecord buffer_;
    bool closingSaved_ = false;
    // Set once the close handling (save step) has run.
    bool closeHandled_ = false;
    // Guards HScroll1_Change against running inside itself.
    bool inScrollChange_ = false;
    // What the user was last told about the file's place, and whether that
    // box is up.
    PathState toldState_ = PathState::Same;
    bool inFileGoneBox_ = false;
    // Set while the program shows a record's kind on the options, which
    // then fills the type list once itself.
    bool showingKind_ = false;

    // The window's own copy of the recent-files list and its menu elements
    // (element 0 is the separator; null until created).
    RecentList recent_;
    std::array<QAction*, 5> mnuFileArray_{};

    QList<QMenu*> menus_;
    QMenu* fileMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QMenu* recordsMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    // The entries of the Window menu that list the open windows.
    QList<QAction*> windowListActions_;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command9 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLineEdit* Text6 = nullptr;
    QComboBox* Paymethod = nullptr;
    QComboBox* Expense = nullptr;
    QScrollBar* HScroll1 = nullptr;
};

} // namespace quillary
