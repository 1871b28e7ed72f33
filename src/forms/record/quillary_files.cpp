#include "forms/record/quillary.h"

#include "app/recentlist.h"
#include "forms/record/recordwindows.h"
#include "platform/dialogs.h"
#include "platform/fileservices.h"
#include "platform/filelock.h"
#include "platform/settingsstore.h"

#include <QCoreApplication>
#include <QMdiSubWindow>

namespace quillary {

namespace {

// Shows the window's second window: brought to the front while it is open
// (it keeps its own file), otherwise loaded on the frame's filename.
OpenedWindow showNewtax(QPointer<Quillary>& newtax, AppState& state)
{
    if (isOpenWindow(newtax)) {
        bringToFront(newtax);
        return {OpenOutcome::AlreadyOpen, newtax};
    }
    const OpenedWindow opened = openRecordWindow(state);
    if (opened.outcome == OpenOutcome::Opened)
        newtax = opened.window;
    return opened;
}

} // namespace

void Quillary::nefil_Click()
{
    Dialogs& dialogs = state_.platform.dialogs;
    saveStep();
    const std::optional<QString> path = dialogs.openFileName(QStringLiteral("New File"));
    if (!path) {
        dialogs.message(QStringLiteral("New File Cancelled"));
        return;
    }
    state_.filename = *path;
    const OpenOutcome outcome = showNewtax(newtax, state_).outcome;
    if (outcome == OpenOutcome::Failed) {
        dialogs.message(QStringLiteral("New File Cancelled"));
        return;
    }
    if (outcome == OpenOutcome::InUse)
        return;
    UpdateMenu();
}

void Quillary::opfil_Click()
{
    Dialogs& dialogs = state_.platform.dialogs;
    auto cancelled = [&dialogs] {
        dialogs.message(QStringLiteral("File open cancelled"), Buttons::Ok, Icon::None,
                        QStringLiteral("No new file opened"));
    };
    saveStep();
    const std::optional<QString> path = dialogs.openFileName(QStringLiteral("Open File"));
    if (!path) {
        cancelled();
        return;
    }
    state_.filename = *path;
    UpdateMenu();
    if (showNewtax(newtax, state_).outcome == OpenOutcome::Failed)
        cancelled();
}

void Quillary::clfil_Click()
{
    saveStep();
    file_.close();
    releaseLock(this);
    // The record was saved above; the window's close handling must not try
    // again on a closed file.
    closingSaved_ = true;
    if (QMdiSubWindow* sub = subWindow())
        sub->close();
    else
        close();
}

void Quillary::safil_Click()
{
    Dialogs& dialogs = state_.platform.dialogs;
    auto cancelled = [&dialogs] { dialogs.message(QStringLiteral("Save File Cancelled")); };
    auto explain = [&dialogs](const QString& text) {
        dialogs.message(text, Buttons::Ok, Icon::Exclamation, QStringLiteral("Save File as"));
    };

    saveStep();
    const std::optional<QString> chosen = dialogs.saveFileName(QStringLiteral("Save File as"));
    if (!chosen) {
        cancelled();
        return;
    }
    const QString newName = *chosen;
    // Another name of the same file (relative, through a link) is the same
    // file: copying it onto itself would gain nothing.
    if (newName != presfile
        && DataFileLock::identity(newName) != DataFileLock::identity(presfile)) {
        if (recordWindowFor(state_, newName)) {
            // Replacing it would pull the file away under that window, and
            // its edits would go nowhere.
            explain(QStringLiteral("The file '%1' is open in another record window. Choose "
                                   "another name, or close that window first.")
                        .arg(newName));
            cancelled();
            return;
        }
        std::unique_ptr<DataFileLock> newLock = claimDataFile(
            state_, newName,
            QStringLiteral("The file '%1' is open in another copy of Quillary. Choose "
                           "another name, or close it there first."));
        if (!newLock) {
            cancelled();
            return;
        }

        const QString oldName = presfile;
        file_.close();
        QString error;
        bool copied = FileServices::copyFile(oldName, newName, &error);
        if (copied) {
            presfile = newName;
            if (!openPresfile(&error)) {
                copied = false;
                presfile = oldName;
            }
        }
        if (!copied) {
            // The copy is written whole or not at all, so whatever stood at
            // the new name is untouched; the window goes on with its file.
            newLock.reset();
            QString reopenError;
            if (!openPresfile(&reopenError)) {
                explain(QStringLiteral("The file could not be saved as '%1' (%2), and '%3' "
                                       "could not be opened again (%4). The window is closed.")
                            .arg(newName, error, oldName, reopenError));
                cancelled();
                releaseLock(this);
                abandon();
                return;
            }
            explain(QStringLiteral("The file could not be saved as '%1' (%2). Your records "
                                   "stay in '%3'.")
                        .arg(newName, error, oldName));
            cancelled();
            return;
        }
        holdLock(this, std::move(newLock));
        Buttonupd();
        state_.filename = presfile;
        if (state_.UpdateMenu)
            state_.UpdateMenu();
    }
    setWindowTitle(presfile);
}

void Quillary::Command9_Click()
{
    saveStep();
    const Answer answer = state_.platform.dialogs.message(
        QStringLiteral("Quitting Quillary!  Do you want to quit?"), Buttons::OkCancel,
        Icon::None, QStringLiteral("Quit"));
    if (answer == Answer::Cancel)
        return;
    state_.platform.files.closeAll();
    if (state_.endProgram)
        state_.endProgram();
}

void Quillary::mnuFileArray_Click(int index)
{
    if (index < 1 || index > 4 || !mnuFileArray_[index])
        return;
    state_.filename = RecentMenu::caption(mnuFileArray_[index]);
    showNewtax(newtax, state_);
    UpdateMenu();
}

void Quillary::UpdateMenu()
{
    // The frame's list is the latest: another window may have put a file
    // on it since this window last looked. Starting from this window's own
    // copy would drop that file again.
    RecentMenu menu(fileMenu_, mnuFileArray_, [this](int k) { mnuFileArray_Click(k); });
    const RecentList list = updateRecentMenu(
        menu, frameList(state_), presfile, state_.platform.settings,
        [this](int k, const QString& entry) { frameEntry(state_, k) = entry; }, true);
    for (int k = 1; k <= 4; ++k)
        recent_[k] = list[k - 1];
}

void Quillary::restoreRecentMenu()
{
    const RecentList list = readRecentList(state_.platform.settings);
    for (int k = 1; k <= 4; ++k)
        recent_[k] = list[k - 1];
    RecentMenu menu(fileMenu_, mnuFileArray_, [this](int k) { mnuFileArray_Click(k); });
    quillary::restoreRecentMenu(menu, list, presfile);
    UpdateMenu();
}

} // namespace quillary
