#pragma once

#include "session/appstate.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QWidget>
#include <map>
#include <memory>

class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace quillary {

class DataFileLock;

// A record window as the owner of the open windows sees it: a window on one
// data file, in the frame's workspace. The forms make the windows; the
// owner opens, finds, places and locks them.
//
// A window tells what it needs of the frame through its signals, which the
// owner passes on: nothing reaches the frame by any other way.
class RecordWindow : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // The load sequence: opens the frame's filename (or the default file)
    // and shows its records. A window that could open no file at all has
    // told the user so; hasFile() is then false.
    virtual void load() = 0;
    virtual bool hasFile() const = 0;
    // The path of the file the window has open.
    virtual QString filePath() const = 0;
    // The menus the frame shows while this window is active.
    virtual const QList<QMenu*>& menus() const = 0;
    // Runs when the window becomes active again after the user was
    // elsewhere, in this program or another one.
    virtual void activated() = 0;

    QMdiSubWindow* subWindow() const;

signals:
    // Exit or Quit was confirmed: the program ends at once.
    void endProgramRequested();
    // The window now has another file (Save File As), which the frame puts
    // at the top of its recent-files list; the frame's filename names it.
    void fileChanged();
};

enum class OpenOutcome {
    Opened,      // a new window opened the file
    AlreadyOpen, // a window of this program had it: it came to the front
    InUse,       // another copy of the program has it; the user was told
    Failed,      // the window could not open any file; the user was told
};

struct OpenedWindow {
    OpenOutcome outcome = OpenOutcome::Failed;
    RecordWindow* window = nullptr; // the window now showing the file, if any
};

// The owner of the open record windows, for every command that opens one.
// A data file is edited in one place only: in one record window of this
// program, which holds a lock on it against other running copies. The owner
// keeps each window's lock until the window closes its file or goes away.
//
// The windows themselves come from createWindow(), which the forms provide.
class RecordWindows : public QObject {
    Q_OBJECT
public:
    RecordWindows(AppState& state, QMdiArea& area, QObject* parent = nullptr);
    ~RecordWindows() override;

    AppState& state() const { return state_; }
    QMdiArea& area() const { return area_; }

    // Shows state.filename (the default data file when empty) in a record
    // window: a new one, or the one that has the file open already.
    OpenedWindow open();
    // Creates a window, runs its load sequence and shows it in the
    // workspace, without looking for another window on the file and without
    // a lock; nullptr when it could open no file.
    RecordWindow* load();

    // The window that has the data file open, however the path names it
    // (never `except`); nullptr when none.
    RecordWindow* windowFor(const QString& path, const RecordWindow* except = nullptr) const;
    // The open windows, in the order they were opened.
    QList<RecordWindow*> windows() const;
    // Whether a window is open (has its file, not closed or closing).
    static bool isOpen(const RecordWindow* window);
    static void bringToFront(RecordWindow* window);

    // Takes the lock on a data file for a window. When another copy of the
    // program holds it, the user is told (text names the path as %1) and
    // nullptr comes back. Where no lock can be made (a read-only folder) the
    // file is used without one.
    std::unique_ptr<DataFileLock> claim(const QString& path, const QString& text);
    // The message for a file another copy of the program holds; %1 is the
    // path.
    static QString inUseText();
    // The message for a backup that could not be made (the owner tells the
    // user of each, once): %1 the data file, %2 the backup, %3 why.
    static QString backupFailedText();

    // The lock a window holds on its file: replaced on Save File As,
    // released when the window closes its file or goes away.
    void holdLock(const RecordWindow* window, std::unique_ptr<DataFileLock> lock);
    void releaseLock(const RecordWindow* window);
    const DataFileLock* heldLock(const RecordWindow* window) const;

signals:
    // A window is on display now; the frame shows its menus. (Activated
    // while it was still loading, when a box of its load ran an event loop,
    // it would otherwise leave the frame's own menus in the bar.)
    void windowShown(RecordWindow* window);
    void endProgramRequested();
    void fileChanged(RecordWindow* window);

protected:
    // A new window in no workspace yet, of the forms' own kind.
    virtual RecordWindow* createWindow() = 0;

private:
    void place(QMdiSubWindow* sub);
    // Grows the workspace's window, as far as the screen allows, so that a
    // window at `wanted` fits; answers the workspace's size after that.
    QSize makeRoomFor(const QRect& wanted);
    void watchActivation(RecordWindow* window, QMdiSubWindow* sub);

    AppState& state_;
    QMdiArea& area_;
    std::map<const RecordWindow*, std::unique_ptr<DataFileLock>> locks_;
};

} // namespace quillary
