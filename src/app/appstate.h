#pragma once

#include "platform/platform.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

class QMdiArea;

namespace quillary {

// The frame's public variables, shared with the windows it opens: the path
// the next record window is to open, and the frame's copy of the
// recent-files list. Windows get this object instead of the frame itself,
// so no window needs to know the frame's class.
struct AppState {
    explicit AppState(Platform platform)
        : platform(platform)
    {
    }

    Platform platform;

    QString filename;
    QString t1, t2, t3, t4;

    // The frame's MDI area, where record windows open.
    QMdiArea* mdiArea = nullptr;
    // The frame's own UpdateMenu; set by the frame.
    std::function<void()> UpdateMenu;
    // Puts the active record window's menus into the frame's menu bar; set
    // by the frame. A window calls it once it is shown: activated while it
    // was still loading (a message box of its load runs an event loop), it
    // would otherwise leave the frame's own menus in the bar.
    std::function<void()> showActiveMenus;
    // Grows the frame, as far as the screen allows, so that a window placed
    // at the given rectangle of the workspace fits; returns the size of the
    // workspace it will then have. Set by the frame.
    std::function<QSize(const QRect&)> makeRoomFor;
    // Ends the program at once after Exit or Quit was confirmed; no window
    // saves anything after it. The frame leaves the event loop unless a test
    // has set it first so the test process goes on.
    std::function<void()> endProgram;
};

} // namespace quillary
