#include "app/taxmain.h"

#include "forms/record/quillary.h"
#include "forms/record/recordwindows.h"
#include "platform/dialogs.h"
#include "session/recentlist.h"

#include <QAction>
#include <QMenu>

namespace quillary {

// The frame's recent-files entries, kept on t1 to t4 and the frame's File
// menu.

namespace {

RecentMenu frameMenu(Taxmain* frame, QMenu* fileMenu, std::array<QAction*, 5>& elements)
{
    return RecentMenu(fileMenu, elements, [frame](int k) { frame->mnuFileArray_Click(k); });
}

} // namespace

void Taxmain::restoreRecentMenu()
{
    RecentMenu menu = frameMenu(this, fl_, mnuFileArray_);
    restoreFrameRecent(state_, menu);
}

void Taxmain::UpdateMenu()
{
    RecentMenu menu = frameMenu(this, fl_, mnuFileArray_);
    updateFrameRecent(state_, menu);
}

void Taxmain::mnuFileArray_Click(int index)
{
    if (index < 1 || index > 4 || !mnuFileArray_[index])
        return;
    state_.filename = RecentMenu::caption(mnuFileArray_[index]);
    UpdateMenu();
    if (windows_->open().outcome == OpenOutcome::Failed) {
        state_.platform.dialogs.message(
            QStringLiteral("Error encountered while trying to open file, please retry."),
            Buttons::Ok, Icon::Exclamation, QStringLiteral("Text Editor"));
    }
}

} // namespace quillary
