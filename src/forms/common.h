#pragma once

// forms/: the windows. record/ holds the record window Quillary and its
// commands, totals/ the totals window Taxtot; this file what both use. Each
// form keeps the texts it shows. The forms use the session, the reports,
// the records and the platform, never the frame.

#include "platform/menus.h"

#include <QString>

class QAbstractButton;
class QAction;
class QMenu;

namespace quillary {

class DataFile;
class Dialogs;

// Line break of the message texts: carriage return, line feed.
inline const QString kCrLf = QStringLiteral("\r\n");

// The sentence every About box of the program shows.
QString programDescription();
inline const QString kAboutTitle = QStringLiteral("About the Quillary Program");

// An About or Basic Help box: the text under the information icon, with an
// OK button.
void showHelpBox(Dialogs& dialogs, const QString& text, const QString& title);

// What to tell the user when sortFile failed; file is the file it was given.
QString sortFailedText(const DataFile& file, const QString& error);
inline const QString kSortFailedTitle = QStringLiteral("Sort failed");

// An option whose caption does not fit its designed width in the font at
// hand grows into the free space of its frame, as far as the caption needs.
void fitOptionInFrame(QAbstractButton* option);

} // namespace quillary
