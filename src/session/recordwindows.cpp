#include "session/recordwindows.h"

#include "platform/dialogs.h"
#include "platform/filelock.h"
#include "platform/fileservices.h"
#include "platform/twips.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace quillary {

namespace {

// Takes a window that has just loaded away again, without its close
// handling: it has shown its file but the user has not worked in it.
void discard(RecordWindow* window)
{
    if (QMdiSubWindow* sub = window->subWindow())
        delete sub;
    else
        delete window;
}

// The record window opened last, other than `except`, that is on display.
const QMdiSubWindow* lastOpenedWindow(const QMdiArea& area, const QMdiSubWindow* except)
{
    const QMdiSubWindow* last = nullptr;
    for (const QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (window != except && window->isVisible() && !window->isMinimized()
            && !window->isMaximized() && qobject_cast<const RecordWindow*>(window->widget()))
            last = window;
    }
    return last;
}

} // namespace

QMdiSubWindow* RecordWindow::subWindow() const
{
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

RecordWindows::RecordWindows(AppState& state, QMdiArea& area, QObject* parent)
    : QObject(parent)
    , state_(state)
    , area_(area)
{
    state_.platform.files.setBackupFailureHandler(
        [this](const QString& path, const QString& backup, const QString& error) {
            state_.platform.dialogs.message(backupFailedText().arg(path, backup, error),
                                            Buttons::Ok, Icon::Exclamation,
                                            QStringLiteral("Backup not made"));
        });
}

RecordWindows::~RecordWindows()
{
    state_.platform.files.setBackupFailureHandler({});
}

QString RecordWindows::backupFailedText()
{
    return QStringLiteral("Before the first change of the day to '%1', Quillary keeps a copy of "
                          "it as it was in '%2'. That copy could not be made: %3.\n\nThe "
                          "change you asked for is made all the same.");
}

RecordWindow* RecordWindows::windowFor(const QString& path, const RecordWindow* except) const
{
    const QString wanted = DataFileLock::identity(path);
    for (RecordWindow* window : windows()) {
        if (window != except && DataFileLock::identity(window->filePath()) == wanted)
            return window;
    }
    return nullptr;
}

QList<RecordWindow*> RecordWindows::windows() const
{
    QList<RecordWindow*> out;
    for (QMdiSubWindow* sub : area_.subWindowList(QMdiArea::CreationOrder)) {
        auto* window = qobject_cast<RecordWindow*>(sub->widget());
        if (isOpen(window))
            out << window;
    }
    return out;
}

bool RecordWindows::isOpen(const RecordWindow* window)
{
    if (!window || !window->hasFile())
        return false;
    const QMdiSubWindow* sub = window->subWindow();
    return sub ? !sub->isHidden() : !window->isHidden();
}

void RecordWindows::bringToFront(RecordWindow* window)
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

QString RecordWindows::inUseText()
{
    return QStringLiteral("The file '%1' is open in another copy of Quillary. Close it there to "
                          "work on it here.");
}

std::unique_ptr<DataFileLock> RecordWindows::claim(const QString& path, const QString& text)
{
    auto lock = std::make_unique<DataFileLock>(path);
    if (lock->lock() == DataFileLock::Status::HeldElsewhere) {
        state_.platform.dialogs.message(text.arg(path), Buttons::Ok, Icon::Exclamation,
                                        QStringLiteral("File in use"));
        return nullptr;
    }
    return lock;
}

void RecordWindows::holdLock(const RecordWindow* window, std::unique_ptr<DataFileLock> lock)
{
    if (!window)
        return;
    releaseLock(window);
    if (!lock)
        return;
    // Holding the lock, the window is the only writer of the file: what an
    // earlier run stopped in the middle of a write left behind can go.
    if (lock->isLocked())
        FileServices::removeLeftovers(lock->dataFile());
    locks_[window] = std::move(lock);
}

void RecordWindows::releaseLock(const RecordWindow* window)
{
    locks_.erase(window);
}

const DataFileLock* RecordWindows::heldLock(const RecordWindow* window) const
{
    const auto it = locks_.find(window);
    return it == locks_.end() ? nullptr : it->second.get();
}

OpenedWindow RecordWindows::open()
{
    const QString path = state_.filename.isEmpty() ? kDefaultDataFile : state_.filename;
    if (RecordWindow* existing = windowFor(path)) {
        bringToFront(existing);
        return {OpenOutcome::AlreadyOpen, existing};
    }
    std::unique_ptr<DataFileLock> lock = claim(path, inUseText());
    if (!lock)
        return {OpenOutcome::InUse, nullptr};

    RecordWindow* window = load();
    if (!window)
        return {OpenOutcome::Failed, nullptr};

    if (DataFileLock::identity(window->filePath()) != DataFileLock::identity(path)) {
        // The file could not be opened and the window went on with the
        // default file, which has to pass the same checks.
        lock.reset();
        if (RecordWindow* other = windowFor(window->filePath(), window)) {
            discard(window);
            bringToFront(other);
            return {OpenOutcome::AlreadyOpen, other};
        }
        lock = claim(window->filePath(), inUseText());
        if (!lock) {
            discard(window);
            return {OpenOutcome::InUse, nullptr};
        }
    }
    holdLock(window, std::move(lock));
    return {OpenOutcome::Opened, window};
}

RecordWindow* RecordWindows::load()
{
    RecordWindow* window = createWindow();
    QMdiSubWindow* sub = area_.addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(QStringLiteral("QuillaryWindow"));
    // A window that goes, however, takes its lock with it.
    connect(window, &QObject::destroyed, this, [this, window] { releaseLock(window); });
    window->load();
    if (!window->hasFile()) {
        // load() has told the user; a window without a file is of no use.
        discard(window);
        return nullptr;
    }
    connect(window, &RecordWindow::endProgramRequested, this,
            &RecordWindows::endProgramRequested);
    connect(window, &RecordWindow::fileChanged, this, [this, window] { emit fileChanged(window); });
    watchActivation(window, sub);
    place(sub);
    sub->show();
    area_.setActiveSubWindow(sub);
    emit windowShown(window);
    return window;
}

void RecordWindows::watchActivation(RecordWindow* window, QMdiSubWindow* sub)
{
    // Another program may have removed or replaced the file while the user
    // was elsewhere: the window looks again whenever it comes back.
    connect(sub, &QMdiSubWindow::windowStateChanged, window,
            [window](Qt::WindowStates before, Qt::WindowStates now) {
                if (!(before & Qt::WindowActive) && (now & Qt::WindowActive))
                    QMetaObject::invokeMethod(window, &RecordWindow::activated,
                                              Qt::QueuedConnection);
            });
    connect(qApp, &QGuiApplication::applicationStateChanged, window,
            [window, sub](Qt::ApplicationState appState) {
                if (appState == Qt::ApplicationActive && sub->mdiArea()
                    && sub->mdiArea()->currentSubWindow() == sub)
                    QMetaObject::invokeMethod(window, &RecordWindow::activated,
                                              Qt::QueuedConnection);
            });
}

void RecordWindows::place(QMdiSubWindow* sub)
{
    sub->adjustSize();
    // The first window goes to its usual spot, a further one cascaded from
    // the last one opened, so that each shows there are others. The frame
    // grows for it where the screen allows; what does not fit is moved in
    // as far as needed to lie wholly inside the workspace.
    QSize space = area_.viewport()->size();
    auto inside = [&sub](QPoint spot, QSize space) {
        return QPoint(std::clamp(spot.x(), 0, std::max(0, space.width() - sub->width())),
                      std::clamp(spot.y(), 0, std::max(0, space.height() - sub->height())));
    };
    QPoint spot;
    if (const QMdiSubWindow* last = lastOpenedWindow(area_, sub)) {
        const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub)
            + sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
        spot = last->pos() + QPoint(step, step);
        space = makeRoomFor(QRect(spot, sub->size()));
        spot = inside(spot, space);
    } else {
        spot = inside(QPoint(twipsToPixels(2310), twipsToPixels(1515)), space);
        makeRoomFor(QRect(spot, sub->size()));
    }
    sub->move(spot);
}

QSize RecordWindows::makeRoomFor(const QRect& wanted)
{
    const QSize space = area_.viewport()->size();
    // The frame is the window around the workspace; a workspace that is a
    // window of its own has nothing to grow.
    QWidget* frame = area_.window();
    if (frame == &area_)
        return space;
    int growX = std::max(0, wanted.right() + 1 - space.width());
    int growY = std::max(0, wanted.bottom() + 1 - space.height());
    if (frame->isVisible() && frame->screen()) {
        // Never past the screen: what does not fit then is moved in.
        const QRect screenArea = frame->screen()->availableGeometry();
        const QRect outer = frame->frameGeometry();
        growX = std::clamp(screenArea.right() - outer.right(), 0, growX);
        growY = std::clamp(screenArea.bottom() - outer.bottom(), 0, growY);
    }
    if (growX > 0 || growY > 0)
        frame->resize(frame->width() + growX, frame->height() + growY);
    return space + QSize(growX, growY);
}

} // namespace quillary
