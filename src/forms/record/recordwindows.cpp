#include "forms/record/recordwindows.h"

#include "session/recentlist.h"
#include "forms/record/quillary.h"
#include "platform/dialogs.h"
#include "platform/filelock.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace quillary {

namespace {

// Owns a window's lock as a child object, so the lock goes with the window.
class LockHolder final : public QObject {
public:
    LockHolder(QObject* window, std::unique_ptr<DataFileLock> held)
        : QObject(window)
        , lock(std::move(held))
    {
        setObjectName(QStringLiteral("dataFileLock"));
    }
    std::unique_ptr<DataFileLock> lock;
};

LockHolder* holderOf(const Quillary* window)
{
    if (!window)
        return nullptr;
    for (QObject* child : window->children()) {
        if (auto* holder = dynamic_cast<LockHolder*>(child))
            return holder;
    }
    return nullptr;
}

Quillary* windowFor(const AppState& state, const QString& path, const Quillary* except)
{
    if (!state.mdiArea)
        return nullptr;
    const QString wanted = DataFileLock::identity(path);
    for (QMdiSubWindow* sub : state.mdiArea->subWindowList()) {
        auto* window = qobject_cast<Quillary*>(sub->widget());
        if (window && window != except && isOpenWindow(window)
            && DataFileLock::identity(window->presfile) == wanted) {
            return window;
        }
    }
    return nullptr;
}

// Takes a window that has just loaded away again, without its close
// handling: it has shown its file but the user has not worked in it.
void discard(Quillary* window)
{
    if (QMdiSubWindow* sub = window->subWindow())
        delete sub;
    else
        delete window;
}

} // namespace

Quillary* recordWindowFor(const AppState& state, const QString& path)
{
    return windowFor(state, path, nullptr);
}

bool isOpenWindow(const Quillary* window)
{
    if (!window || !window->dataFile().isOpen())
        return false;
    const QMdiSubWindow* sub = window->subWindow();
    return sub ? !sub->isHidden() : !window->isHidden();
}

void bringToFront(Quillary* window)
{
    if (!window)
        return;
    QMdiSubWindow* sub = window->subWindow();
    if (!sub) {
        window->raise();
        window->activateWindow();
        return;
    }
    if (sub->isMinimized())
        sub->showNormal();
    if (QMdiArea* area = sub->mdiArea())
        area->setActiveSubWindow(sub);
    sub->raise();
}

QString inUseText()
{
    return QStringLiteral("The file '%1' is open in another copy of Quillary. Close it there to "
                          "work on it here.");
}

std::unique_ptr<DataFileLock> claimDataFile(AppState& state, const QString& path,
                                            const QString& text)
{
    auto lock = std::make_unique<DataFileLock>(path);
    if (lock->lock() == DataFileLock::Status::HeldElsewhere) {
        state.platform.dialogs.message(text.arg(path), Buttons::Ok, Icon::Exclamation,
                                       QStringLiteral("File in use"));
        return nullptr;
    }
    return lock;
}

OpenedWindow openRecordWindow(AppState& state)
{
    const QString path = state.filename.isEmpty() ? kDefaultDataFile : state.filename;
    if (Quillary* existing = recordWindowFor(state, path)) {
        bringToFront(existing);
        return {OpenOutcome::AlreadyOpen, existing};
    }
    std::unique_ptr<DataFileLock> lock = claimDataFile(state, path, inUseText());
    if (!lock)
        return {OpenOutcome::InUse, nullptr};

    Quillary* window = Quillary::open(state);
    if (!window)
        return {OpenOutcome::Failed, nullptr};

    if (DataFileLock::identity(window->presfile) != DataFileLock::identity(path)) {
        // The file could not be opened and the window went on with the
        // default file, which has to pass the same checks.
        lock.reset();
        if (Quillary* other = windowFor(state, window->presfile, window)) {
            discard(window);
            bringToFront(other);
            return {OpenOutcome::AlreadyOpen, other};
        }
        lock = claimDataFile(state, window->presfile, inUseText());
        if (!lock) {
            discard(window);
            return {OpenOutcome::InUse, nullptr};
        }
    }
    holdLock(window, std::move(lock));
    return {OpenOutcome::Opened, window};
}

void holdLock(Quillary* window, std::unique_ptr<DataFileLock> lock)
{
    if (!window)
        return;
    releaseLock(window);
    if (lock)
        new LockHolder(window, std::move(lock));
}

void releaseLock(Quillary* window)
{
    delete holderOf(window);
}

const DataFileLock* heldLock(const Quillary* window)
{
    const LockHolder* holder = holderOf(window);
    return holder ? holder->lock.get() : nullptr;
}

} // namespace quillary
