#include "platform/menus.h"

#include <QAction>
#include <QMenu>

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

} // namespace quillary
