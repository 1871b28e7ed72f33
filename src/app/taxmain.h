#pragma once

// app/: program start (main.cpp) and the MDI frame Taxmain with its menus,
// help texts and recent-file entries. The top layer: it may use the forms,
// the session, the reports, the records and the platform.

#include "forms/record/quillary.h"
#include "session/appstate.h"

#include <QMainWindow>
#include <QPointer>
#include <array>

class QAction;
class QMdiArea;
class QMenu;

namespace quillary {

class RecordWindows;

// The MDI frame: the program's first window and the parent of the record
// windows. Its own menus are in the menu bar only while no record window
// is open; otherwise the active record window's menus are.
//
// The recent-files part of the frame (UpdateMenu, restoreRecentMenu and the
// recent entries' click handler) lives in taxmain_recent.cpp.
class Taxmain : public QMainWindow {
    Q_OBJECT
public:
    explicit Taxmain(AppState& state, QWidget* parent = nullptr);
    ~Taxmain() override;

    QMdiArea* mdiArea() const { return mdiArea_; }
    // The owner of the record windows in the frame's workspace.
    RecordWindows& windows() const { return *windows_; }

    // The load of the frame: restores the recent-files list, shows the
    // frame and opens the first record window on the most recent file.
    // file: the data file named on the command line, opened instead of the
    // most recent one (and so put at the top of the list); empty for none.
    void startup(const QString& file = QString());

    // The record window opened at startup (null once it has been closed).
    Quillary* firstWindow() const { return firstWindow_; }

    // The frame's own menus (File and Help).
    const QList<QMenu*>& ownMenus() const { return ownMenus_; }

    // Puts filename at the top of the recent-files list, refreshes the
    // frame's recent-file entries and saves the list.
    void UpdateMenu();
    // Reads the recent-files list into t1..t4 and creates the entries.
    void restoreRecentMenu();

public slots:
    void ne_Click();
    void op_Click();
    void ex_Click();
    void abm_Click();
    void bhem_Click();
    void mhelp_Click();
    void mnuFileArray_Click(int index);

    // Puts the menus of the active record window, or the frame's own when
    // none is open, into the menu bar.
    void updateMenus();

signals:
    // Exit or Quit was confirmed: the program ends at once, and no window
    // saves anything after it. main() leaves the event loop; a test counts.
    void endProgram();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();

    AppState& state_;
    QMdiArea* mdiArea_;
    RecordWindows* windows_;
    QPointer<Quillary> firstWindow_;

    QList<QMenu*> ownMenus_;
    QMenu* fl_ = nullptr;
    QMenu* helpm_ = nullptr;
    // The recent-file entries of the File menu: element 0 is the separator
    // above them, elements 1 to 4 are created when needed (null until then).
    std::array<QAction*, 5> mnuFileArray_{};
};

} // namespace quillary
