#pragma once

#include <QString>

class QAction;
class QMenu;

namespace quillary {

// A menu item or separator with its object name, so tests and screen
// readers find it; put before `before` when given, otherwise at the end.
QAction* addMenuItem(QMenu* menu, const QString& name, const QString& caption,
                     QAction* before = nullptr);
QAction* addMenuSeparator(QMenu* menu, const QString& name);

} // namespace quillary
