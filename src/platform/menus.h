#pragma once

#include <QAction>
#include <QString>

class QMenu;
class QMenuBar;

namespace quillary {

// A menu item or separator with its object name, so tests and screen
// readers find it; put before `before` when given, otherwise at the end.
QAction* addMenuItem(QMenu* menu, const QString& name, const QString& caption,
                     QAction* before = nullptr);
QAction* addMenuSeparator(QMenu* menu, const QString& name);

// A menu of a window's own menu bar, with its object name.
QMenu* addMenuBarMenu(QMenuBar* bar, const QString& name, const QString& title);

// A menu item at the end of menu that runs receiver's slot.
template <typename Receiver>
QAction* addMenuCommand(QMenu* menu, const QString& name, const QString& caption,
                        Receiver* receiver, void (Receiver::*slot)())
{
    QAction* action = addMenuItem(menu, name, caption);
    QObject::connect(action, &QAction::triggered, receiver, slot);
    return action;
}

} // namespace quillary
