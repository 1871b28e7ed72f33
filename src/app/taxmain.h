#pragma once

#include "app/appstate.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>

class QAction;
class QMdiArea;
class QMenu;

namespace quillary {

class Quillary;

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

    // The load of the frame: restores the recent-files list, shows the
    // frame and opens the first record window on the most recent file.
    void startup();

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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    // Grows the frame, within the screen, so the workspace holds a window
    // placed at `wanted`; returns the workspace's size after that.
    QSize makeRoomFor(const QRect& wanted);

    AppState& state_;
    QMdiArea* mdiArea_;
    QPointer<Quillary> firstWindow_;

    QList<QMenu*> ownMenus_;
    QMenu* fl_ = nullptr;
    QMenu* helpm_ = nullptr;
    // The recent-file entries of the File menu: element 0 is the separator
    // above them, elements 1 to 4 are created when needed (null until then).
    std::array<QAction*, 5> mnuFileArray_{};
};

} // namespace quillary
