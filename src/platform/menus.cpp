#include "platform/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace quillary {

QAction* addMenuItem(QMenu* menu, const QString& name, const QString& caption, QAction* before)
{
    auto* action = new QAction(caption, menu);
    action->setObjectName(name);
    menu->insertAction(before, action);
    return action;
}

QAction* addMenuSeparator(QMenu* menu, const QString& name)
{
    QAction* action = menu->addSeparator();
    action->setObjectName(name);
    return action;
}

QMenu* addMenuBarMenu(QMenuBar* bar, const QString& name, const QString& title)
{
    QMenu* menu = bar->addMenu(title);
    menu->setObjectName(name);
    return menu;
}

} // namespace quillary
