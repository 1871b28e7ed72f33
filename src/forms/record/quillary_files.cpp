#include "forms/record/quillary.h"

#include "forms/csvexport.h"
#include "platform/dialogs.h"
#include "platform/filelock.h"
#include "platform/fileservices.h"
#include "platform/settingsstore.h"
#include "reports/exports.h"
#include "session/recentlist.h"

#include <QCoreApplication>
#include <QMdiSubWindow>

#include <algorithm>

namespace quillary {

namespace {

// Shows the window's second window: brought to the front while it is open
// (it keeps its own file), otherwise loaded on the frame's filename.
OpenedWindow showNewtax(QPointer<Quillary>& newtax, RecordWindows& windows)
{
    if (RecordWindows::isOpen(newtax)) {
        RecordWindows::bringToFront(newtax);
        return {OpenOutcome::AlreadyOpen, newtax};
    }
    const OpenedWindow opened = windows.open();
    if (opened.outcome == OpenOutcome::Opened)
        newtax = qobject_cast<Quillary*>(opened.window);
    return opened;
}

} // namespace

void Quillary::nefil_Click()
{
    Dialogs& dialogs = state_.platform.dialogs;
    if (!saveStep())
        return;
    const std::optional<QString> path = dialogs.openFileName(QStringLiteral("New File"));
    if (!path) {
        dialogs.message(QStringLiteral("New File Cancelled"));
        return;
    }
    state_.filename = *path;
    const OpenOutcome outcome = showNewtax(newtax, windows_).outcome;
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
    if (!saveStep())
        return;
    const std::optional<QString> path = dialogs.openFileName(QStringLiteral("Open File"));
    if (!path) {
        cancelled();
        return;
    }
    state_.filename = *path;
    UpdateMenu();
    if (showNewtax(newtax, windows_).outcome == OpenOutcome::Failed)
        cancelled();
}

void Quillary::clfil_Click()
{
    if (!saveStep()
        && !loseUnsavedRecord(QStringLiteral("Close the file anyway and lose it?"),
                              QStringLiteral("Record not saved")))
        return;
    file_.close();
    windows_.releaseLock(this);
    // The record was saved above; the window's close handling must not try
    // again on a closed file.
    closingSaved_ = true;
    if (QMdiSubWindow* sub = subWindow())
        sub->close();
    else
        close();
}

void Quillary::exportcsv_Click()
{
    // What is on the form goes out with the rest.
    if (!saveStep())
        return;
    std::vector<TaxRecord> records;
    if (!file_.readAll(records)) {
        state_.platform.dialogs.message(
            QStringLiteral("The records of '%1' could not be read for the export.").arg(presfile),
            Buttons::Ok, Icon::Exclamation, kExportTitle);
        return;
    }
    exportCsv(state_.platform.dialogs, state_.platform.files, recordsTable(records),
              records.size() == 1 ? QStringLiteral("1 record")
                                  : QStringLiteral("%1 records").arg(records.size()));
}

void Quillary::safil_Click()
{
    // With the file gone from under the window the save step has nowhere to
    // write: the window's records go to the new name first, the record on
    // the form after them.
    if (file_.pathState() != PathState::Same) {
        saveAs(false);
        return;
    }
    // A record the save step could not write (a full disk) stays on the
    // form and is written into the new file once that is open.
    const bool saved = saveStep();
    saveAs(saved);
}

void Quillary::saveAs(bool recordSaved)
{
    Dialogs& dialogs = state_.platform.dialogs;
    auto cancelled = [&dialogs] { dialogs.message(QStringLiteral("Save File Cancelled")); };
    auto explain = [&dialogs](const QString& text) {
        dialogs.message(text, Buttons::Ok, Icon::Exclamation, QStringLiteral("Save File as"));
    };

    const std::optional<QString> chosen = dialogs.saveFileName(QStringLiteral("Save File as"));
    if (!chosen) {
        cancelled();
        return;
    }
    const QString newName = *chosen;
    const bool sameFile = newName == presfile
        || DataFileLock::identity(newName) == DataFileLock::identity(presfile);
    // The file this window has open is no longer at its name: its records
    // exist only through the window, and go wherever the user says, the
    // old name included.
    const bool gone = file_.pathState() != PathState::Same;
    // Another name of the same file (relative, through a link) is the same
    // file: copying it onto itself would gain nothing.
    if (sameFile && !gone) {
        setWindowTitle(presfile);
        return;
    }
    if (windows_.windowFor(newName, this)) {
        // Replacing it would pull the file away under that window, and its
        // edits would go nowhere.
        explain(QStringLiteral("The file '%1' is open in another record window. Choose "
                               "another name, or close that window first.")
                    .arg(newName));
        cancelled();
        return;
    }
    std::unique_ptr<DataFileLock> newLock;
    if (!sameFile) {
        newLock = windows_.claim(
            newName,
            QStringLiteral("The file '%1' is open in another copy of Quillary. Choose "
                           "another name, or close it there first."));
        if (!newLock) {
            cancelled();
            return;
        }
    }

    // The copy is made from the file the window has open, which is the
    // one its records are in even when its name now leads elsewhere. It is
    // written whole or not at all, so on failure whatever stood at the new
    // name is untouched and the window goes on as before.
    QString error;
    if (!state_.platform.files.copyOpenFile(file_.fileNumber(), newName, &error)) {
        explain(gone ? QStringLiteral("The file could not be saved as '%1' (%2). The records "
                                      "are still in this window; choose another name.")
                           .arg(newName, error)
                     : QStringLiteral("The file could not be saved as '%1' (%2). Your records "
                                      "stay in '%3'.")
                           .arg(newName, error, presfile));
        cancelled();
        return;
    }

    const QString oldName = presfile;
    file_.close();
    presfile = newName;
    if (!openPresfile(&error)) {
        newLock.reset();
        presfile = oldName;
        QString reopenError;
        if (gone || !openPresfile(&reopenError)) {
            explain(QStringLiteral("The records were saved as '%1', but that file could not be "
                                   "opened (%2). The window is closed; open '%1' to go on.")
                        .arg(newName, error));
            cancelled();
            windows_.releaseLock(this);
            abandon();
            return;
        }
        explain(QStringLiteral("The records were saved as '%1', but that file could not be "
                               "opened (%2). This window goes on with '%3'.")
                    .arg(newName, error, oldName));
        cancelled();
        return;
    }
    toldState_ = PathState::Same;
    if (newLock)
        windows_.holdLock(this, std::move(newLock));
    Buttonupd();
    state_.filename = presfile;
    emit fileChanged();
    setWindowTitle(presfile);
    // What the save step could not write before goes into the new file.
    if (!recordSaved)
        saveStep();
}

bool Quillary::loseUnsavedRecord(const QString& question, const QString& title)
{
    return state_.platform.dialogs.message(
               QStringLiteral("The record on display has not been saved. ") + question,
               Buttons::OkCancel, Icon::Exclamation, title)
        == Answer::Ok;
}

bool Quillary::fileInPlace()
{
    const PathState state = file_.pathState();
    if (state == PathState::Same)
        return true;
    tellFileGone(state);
    return false;
}

void Quillary::checkFileOnActivation()
{
    if (inFileGoneBox_ || !file_.isOpen())
        return;
    const PathState state = file_.pathState();
    // Told once for each change: the box itself takes the activation away
    // and gives it back when it closes.
    if (state != PathState::Same && state != toldState_)
        tellFileGone(state);
    else if (state == PathState::Same)
        toldState_ = PathState::Same;
}

void Quillary::tellFileGone(PathState state)
{
    if (inFileGoneBox_)
        return;
    inFileGoneBox_ = true;
    toldState_ = state;
    Dialogs& dialogs = state_.platform.dialogs;
    const QString saveAsChoice = QStringLiteral("Save As...");
    if (state == PathState::Removed) {
        const int choice = dialogs.choose(
            QStringLiteral("The file '%1' has been removed by another program since this window "
                           "opened it. Nothing has been written.\n\nChoose 'Save As...' to keep "
                           "this window's records in a file of your choice (its old name puts "
                           "it back).")
                .arg(presfile),
            {saveAsChoice, QStringLiteral("Cancel")}, Icon::Exclamation,
            QStringLiteral("File removed"));
        inFileGoneBox_ = false;
        if (choice == 0)
            saveAs(false);
        return;
    }
    const int choice = dialogs.choose(
        QStringLiteral("The file '%1' has been replaced by another program since this window "
                       "opened it. Nothing has been written to it.\n\nChoose 'Save As...' to "
                       "keep this window's records in a file of your choice, or 'Reopen' to "
                       "show the file as it is now (what is on the form and not saved is then "
                       "lost).")
            .arg(presfile),
        {saveAsChoice, QStringLiteral("Reopen"), QStringLiteral("Cancel")}, Icon::Exclamation,
        QStringLiteral("File replaced"));
    inFileGoneBox_ = false;
    if (choice == 0)
        saveAs(false);
    else if (choice == 1)
        reopenFile();
}

void Quillary::reopenFile()
{
    QString error;
    const OpenStatus status = file_.open(presfile, &error);
    if (status != OpenStatus::Ok) {
        state_.platform.dialogs.message(
            QStringLiteral("The file '%1' could not be opened again (%2). The window is closed.")
                .arg(presfile, error),
            Buttons::Ok, Icon::Exclamation, QStringLiteral("File replaced"));
        windows_.releaseLock(this);
        abandon();
        return;
    }
    toldState_ = PathState::Same;
    adding_ = false;
    Lastrecord = file_.recordCount();
    Presrecord = std::clamp(Presrecord, Lastrecord > 0 ? 1 : 0, Lastrecord);
    uprec();
}

void Quillary::Command9_Click()
{
    if (saveStep()) {
        const Answer answer = state_.platform.dialogs.message(
            QStringLiteral("Quitting Quillary!  Do you want to quit?"), Buttons::OkCancel,
            Icon::None, QStringLiteral("Quit"));
        if (answer == Answer::Cancel)
            return;
    } else if (!loseUnsavedRecord(QStringLiteral("Quit anyway and lose it?"),
                                  QStringLiteral("Quit"))) {
        return;
    }
    state_.platform.files.closeAll();
    emit endProgramRequested();
}

void Quillary::mnuFileArray_Click(int index)
{
    if (index < 1 || index > 4 || !mnuFileArray_[index])
        return;
    state_.filename = RecentMenu::caption(mnuFileArray_[index]);
    showNewtax(newtax, windows_);
    UpdateMenu();
}

void Quillary::UpdateMenu()
{
    RecentMenu menu(fileMenu_, mnuFileArray_, [this](int k) { mnuFileArray_Click(k); });
    updateWindowRecent(state_, menu, recent_, presfile);
}

void Quillary::restoreRecentMenu()
{
    RecentMenu menu(fileMenu_, mnuFileArray_, [this](int k) { mnuFileArray_Click(k); });
    restoreWindowRecent(state_, menu, recent_, presfile);
}

} // namespace quillary
