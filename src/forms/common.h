#pragma once

#include <QString>

class QAction;
class QMenu;

namespace quillary {

// Line break of the message texts: carriage return, line feed.
inline const QString kCrLf = QStringLiteral("\r\n");

// The sentence every About box of the program shows.
QString programDescription();

// A menu item or separator with its object name, so tests can find it.
QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption);
QAction* addMenuSeparator(QMenu* menu, const char* name);

} // namespace quillary
