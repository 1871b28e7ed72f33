#pragma once

#include "session/appstate.h"

#include <QString>
#include <memory>

namespace quillary {

class DataFileLock;
class Quillary;

// Opening data files in record windows, for every command that opens one.
// A data file is edited in one place only: in one record window of this
// program, which holds a lock on it against other running copies.

// The record window of this program that has the data file open, however
// the path names it; nullptr when none.
Quillary* recordWindowFor(const AppState& state, const QString& path);

// Whether a record window is open (not closed or closing).
bool isOpenWindow(const Quillary* window);

// Brings a record window to the front of the frame.
void bringToFront(Quillary* window);

enum class OpenOutcome {
    Opened,      // a new window opened the file
    AlreadyOpen, // a window of this program had it: it came to the front
    InUse,       // another copy of the program has it; the user was told
    Failed,      // the window could not open any file; the user was told
};

struct OpenedWindow {
    OpenOutcome outcome = OpenOutcome::Failed;
    Quillary* window = nullptr; // the window now showing the file, if any
};

// Shows state.filename (the default data file when empty) in a record
// window: a new one, or the one that has the file open already.
OpenedWindow openRecordWindow(AppState& state);

// Takes the lock on a data file for a window. When another copy of the
// program holds it, the user is told (text names the path as %1) and
// nullptr comes back. Where no lock can be made (a read-only folder) the
// file is used without one.
std::unique_ptr<DataFileLock> claimDataFile(AppState& state, const QString& path,
                                            const QString& text);
// The message for a file another copy of the program holds; %1 is the path.
QString inUseText();

// The lock a window holds on its file: replaced on Save File As, released
// when the window closes its file or goes away.
void holdLock(Quillary* window, std::unique_ptr<DataFileLock> lock);
void releaseLock(Quillary* window);
const DataFileLock* heldLock(const Quillary* window);

} // namespace quillary
