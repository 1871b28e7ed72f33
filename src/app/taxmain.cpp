#include "app/taxmain.h"

#include "app/programicon.h"
#include "forms/common.h"

#include "forms/record/quillary.h"
#include "forms/record/recordwindows.h"
#include "platform/dialogs.h"
#include "platform/fileservices.h"
#include "platform/help.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

namespace quillary {

namespace {

QString aboutText()
{
    return programDescription() + kCrLf + kCrLf;
}

QString basicHelpText()
{
    const QStringList lines{
        QStringLiteral("'File' menu: Standard file operations."),
        QStringLiteral("New: Open a new file to enter record in."),
        QStringLiteral("Open: Open an existing file."),
        QStringLiteral("Exit: Quit."),
        QString(),
        QStringLiteral("Help Menu:"),
        QStringLiteral("About: Program Information."),
        QString(),
        QStringLiteral("Basic Help: This is it."),
        QStringLiteral("More help is available through the main help (Win95) or 'Help' on each form."),
    };
    return lines.join(kCrLf);
}

} // namespace

Taxmain::Taxmain(AppState& state, QWidget* parent)
    : QMainWindow(parent)
    , state_(state)
    , mdiArea_(new QMdiArea(this))
    , windows_(new QuillaryWindows(state, *mdiArea_, this))
{
    setObjectName(QStringLiteral("Taxmain"));
    setWindowTitle(QStringLiteral("Quillary v2"));
    // Every window and box of the program carries the icon, not only the
    // frame, whose own is the 32 and 16 pixel images.
    QApplication::setWindowIcon(programIcon());
    setWindowIcon(frameIcon());
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(mdiArea_);
    connect(windows_, &RecordWindows::windowShown, this, &Taxmain::updateMenus);
    connect(windows_, &RecordWindows::fileChanged, this, &Taxmain::UpdateMenu);
    connect(windows_, &RecordWindows::endProgramRequested, this, &Taxmain::endProgram);
    move(twipsToPixels(2310), twipsToPixels(1455));
    resize(twipsToPixels(6315), twipsToPixels(5205));

    buildMenus();
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &Taxmain::updateMenus);
    updateMenus();
}

Taxmain::~Taxmain()
{
    // The record windows go before the menu bar they may still be shown in.
    mdiArea_->disconnect(this);
}

void Taxmain::buildMenus()
{
    // The menus belong to the frame, not to the menu bar, so taking them out
    // of the bar never deletes them.
    fl_ = new QMenu(QStringLiteral("&File"), this);
    fl_->setObjectName(QStringLiteral("fl"));
    connect(addMenuItem(fl_, "ne", QStringLiteral("&New")), &QAction::triggered, this,
            &Taxmain::ne_Click);
    connect(addMenuItem(fl_, "op", QStringLiteral("&Open")), &QAction::triggered, this,
            &Taxmain::op_Click);
    addMenuSeparator(fl_, "hy");
    connect(addMenuItem(fl_, "ex", QStringLiteral("E&xit")), &QAction::triggered, this,
            &Taxmain::ex_Click);
    mnuFileArray_[0] = addMenuSeparator(fl_, "mnuFileArray");
    mnuFileArray_[0]->setVisible(false);

    helpm_ = new QMenu(QStringLiteral("&Help"), this);
    helpm_->setObjectName(QStringLiteral("helpm"));
    connect(addMenuItem(helpm_, "abm", QStringLiteral("&About")), &QAction::triggered, this,
            &Taxmain::abm_Click);
    addMenuSeparator(helpm_, "hyhm");
    connect(addMenuItem(helpm_, "bhem", QStringLiteral("&Basic Help")), &QAction::triggered, this,
            &Taxmain::bhem_Click);
    QAction* mhelp = addMenuItem(helpm_, "mhelp", QStringLiteral("Help"));
    mhelp->setShortcut(QKeySequence(Qt::Key_F1));
    connect(mhelp, &QAction::triggered, this, &Taxmain::mhelp_Click);

    ownMenus_ = {fl_, helpm_};
}

void Taxmain::updateMenus()
{
    // The window whose menus are shown: the active one, or while the
    // program is in the background the one that was active last. A window
    // still loading (not shown yet) has no say.
    QList<QMenu*> wanted = ownMenus_;
    QMdiSubWindow* sub = mdiArea_->currentSubWindow();
    if (!sub || sub->isHidden()) {
        sub = nullptr;
        for (QMdiSubWindow* w : mdiArea_->subWindowList(QMdiArea::ActivationHistoryOrder))
            if (!w->isHidden())
                sub = w;
    }
    if (sub) {
        if (auto* record = qobject_cast<RecordWindow*>(sub->widget()))
            wanted = record->menus();
    }

    QList<QAction*> wantedActions;
    for (QMenu* menu : std::as_const(wanted))
        wantedActions.append(menu->menuAction());
    QMenuBar* bar = menuBar();
    if (bar->actions() == wantedActions)
        return;
    // Taken out one by one: QMenuBar::clear() would delete actions the bar
    // owns, and none of these are its own.
    for (QAction* action : bar->actions())
        bar->removeAction(action);
    bar->addActions(wantedActions);
}

void Taxmain::startup(const QString& file)
{
    restoreRecentMenu();
    if (state_.t1.isEmpty())
        state_.t1 = kDefaultDataFile;
    state_.filename = file.isEmpty() ? state_.t1 : file;
    show();
    firstWindow_ = qobject_cast<Quillary*>(windows_->open().window);
}

void Taxmain::ne_Click()
{
    const std::optional<QString> path = state_.platform.dialogs.openFileName(QStringLiteral("New File"));
    if (!path) {
        state_.platform.dialogs.message(QStringLiteral("New File Cancelled"));
        return;
    }
    state_.filename = *path;
    UpdateMenu();
    windows_->open();
}

void Taxmain::op_Click()
{
    const std::optional<QString> path =
        state_.platform.dialogs.openFileName(QStringLiteral("Open File"));
    if (!path) {
        state_.platform.dialogs.message(QStringLiteral("File open cancelled"), Buttons::Ok,
                                        Icon::None, QStringLiteral("No new file opened"));
        return;
    }
    state_.filename = *path;
    UpdateMenu();
    windows_->open();
}

void Taxmain::ex_Click()
{
    const Answer answer = state_.platform.dialogs.message(
        QStringLiteral("Quitting Quillary!  Are you sure?"), Buttons::OkCancel, Icon::None,
        QStringLiteral("Quit"));
    if (answer == Answer::Cancel)
        return;
    state_.platform.files.closeAll();
    emit endProgram();
}

void Taxmain::abm_Click()
{
    showHelpBox(state_.platform.dialogs, aboutText(), kAboutTitle);
}

void Taxmain::bhem_Click()
{
    showHelpBox(state_.platform.dialogs, basicHelpText(), QStringLiteral("Quillary Main Form Help"));
}

void Taxmain::mhelp_Click()
{
    state_.platform.help.showContents();
}

void Taxmain::closeEvent(QCloseEvent* event)
{
    // Every record window gets its own close handling (it saves the record
    // on display) before the program ends.
    mdiArea_->closeAllSubWindows();
    // A window whose record could not be saved may have been kept open by
    // the user; the program then goes on.
    for (QMdiSubWindow* sub : mdiArea_->subWindowList()) {
        if (sub->isVisible()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

} // namespace quillary
