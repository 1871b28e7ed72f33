#pragma once

// Changing controls the way a screen reader does: through the actions of
// their accessible interfaces, which never send a click.

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QTest>

namespace quillary::test {

// Runs an accessible action (QAccessibleActionInterface::toggleAction(),
// pressAction(), ...) on a widget; false when the widget does not offer it.
inline bool doAccessibleAction(QWidget* widget, const QString& action)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    QAccessibleActionInterface* actions = iface ? iface->actionInterface() : nullptr;
    if (!actions || !actions->actionNames().contains(action))
        return false;
    actions->doAction(action);
    return true;
}

// Checks an option with the screen reader's toggle action.
inline bool toggleOption(QAbstractButton* option)
{
    return doAccessibleAction(option, QAccessibleActionInterface::toggleAction())
        && option->isChecked();
}

} // namespace quillary::test
