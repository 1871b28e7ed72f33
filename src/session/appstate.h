#pragma once

// session/: what the windows share. The frame's public variables (this
// file), the recent-files list with the frame's and the record windows'
// versions of UpdateMenu (recentlist.h), and the owner of the open record
// windows, which makes, finds, places and locks them (recordwindows.h). It
// uses the platform and the records only; the forms provide the windows.

#include "platform/platform.h"

#include <QString>

namespace quillary {

// The file the program opens when nothing else is known, in the current
// folder.
inline const QString kDefaultDataFile = QStringLiteral("Taxrecs.dat");

// The frame's public variables, shared with the windows it opens: the path
// the next record window is to open, and the frame's copy of the
// recent-files list; and the platform services every window uses. Windows
// get this object instead of the frame itself, so no window needs to know
// the frame's class.
struct AppState {
    explicit AppState(Platform platform)
        : platform(platform)
    {
    }

    Platform platform;

    QString filename;
    QString t1, t2, t3, t4;
};

} // namespace quillary
