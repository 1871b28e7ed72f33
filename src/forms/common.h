#pragma once

#include <QString>

class QAbstractButton;
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

// An option whose caption does not fit its designed width in the font at
// hand grows into the free space of its frame, as far as the caption needs.
void fitOptionInFrame(QAbstractButton* option);

} // namespace quillary
