#include "app/taxmain.h"

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
#include <QPainter>
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

// A ledger page with a pen stroke, drawn in the sixteen basic colours.
QPixmap iconImage(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const qreal s = size / 16.0;
    p.scale(s, s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 128, 128));
    p.drawRect(QRectF(1, 1, 14, 14));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, 2, 10, 12));
    p.setPen(QPen(QColor(0, 0, 128), 1.0 / s * (size >= 32 ? 2 : 1)));
    for (int y = 5; y <= 11; y += 2)
        p.drawLine(QPointF(4.5, y + 0.5), QPointF(11.5, y + 0.5));
    p.setPen(QPen(QColor(128, 0, 0), 1.5));
    p.drawLine(QPointF(9, 12), QPointF(14, 4));
    return pixmap;
}

} // namespace

Taxmain::Taxmain(AppState& state, QWidget* parent)
    : QMainWindow(parent)
    , state_(state)
    , mdiArea_(new QMdiArea(this))
{
    setObjectName(QStringLiteral("Taxmain"));
    setWindowTitle(QStringLiteral("Quillary v2"));
    QIcon icon;
    icon.addPixmap(iconImage(16));
    icon.addPixmap(iconImage(32));
    // Every window and box of the program carries it, not only the frame.
    QApplication::setWindowIcon(icon);
    setWindowIcon(icon);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(mdiArea_);
    state_.mdiArea = mdiArea_;
    state_.UpdateMenu = [this] { UpdateMenu(); };
    state_.showActiveMenus = [this] { updateMenus(); };
    state_.makeRoomFor = [this](const QRect& wanted) { return makeRoomFor(wanted); };
    move(twipsToPixels(2310), twipsToPixels(1455));
    resize(twipsToPixels(6315), twipsToPixels(5205));

    if (!state_.endProgram)
        state_.endProgram = [] { QCoreApplication::exit(0); };

    buildMenus();
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &Taxmain::updateMenus);
    updateMenus();
}

Taxmain::~Taxmain()
{
    if (state_.mdiArea == mdiArea_)
        state_.mdiArea = nullptr;
    state_.UpdateMenu = nullptr;
    state_.showActiveMenus = nullptr;
    state_.makeRoomFor = nullptr;
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
        if (auto* record = qobject_cast<Quillary*>(sub->widget()))
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

void Taxmain::startup()
{
    restoreRecentMenu();
    if (state_.t1.isEmpty())
        state_.t1 = QStringLiteral("Taxrecs.dat");
    state_.filename = state_.t1;
    show();
    firstWindow_ = openRecordWindow(state_).window;
}

QSize Taxmain::makeRoomFor(const QRect& wanted)
{
    const QSize space = mdiArea_->viewport()->size();
    int growX = std::max(0, wanted.right() + 1 - space.width());
    int growY = std::max(0, wanted.bottom() + 1 - space.height());
    if (isVisible() && screen()) {
        // Never past the screen: what does not fit then is moved in.
        const QRect area = screen()->availableGeometry();
        const QRect outer = frameGeometry();
        growX = std::clamp(area.right() - outer.right(), 0, growX);
        growY = std::clamp(area.bottom() - outer.bottom(), 0, growY);
    }
    if (growX > 0 || growY > 0)
        resize(width() + growX, height() + growY);
    return space + QSize(growX, growY);
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
    openRecordWindow(state_);
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
    openRecordWindow(state_);
}

void Taxmain::ex_Click()
{
    const Answer answer = state_.platform.dialogs.message(
        QStringLiteral("Quitting Quillary!  Are you sure?"), Buttons::OkCancel, Icon::None,
        QStringLiteral("Quit"));
    if (answer == Answer::Cancel)
        return;
    state_.platform.files.closeAll();
    state_.endProgram();
}

void Taxmain::abm_Click()
{
    state_.platform.dialogs.message(aboutText(), Buttons::Ok, Icon::Information,
                                    QStringLiteral("About the Quillary Program"));
}

void Taxmain::bhem_Click()
{
    state_.platform.dialogs.message(basicHelpText(), Buttons::Ok, Icon::Information,
                                    QStringLiteral("Quillary Main Form Help"));
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
