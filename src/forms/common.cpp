#include "forms/common.h"

#include "platform/dialogs.h"
#include "records/datafile.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>

#include <algorithm>

namespace quillary {

QString programDescription()
{
    return QStringLiteral("This program is an easy to use Tax record compiler. It enables the user ")
         + QStringLiteral("to input records for both incomes and expenses.  It also enables the ")
         + QStringLiteral("user to view/print totals for all types of these.");
}

void showHelpBox(Dialogs& dialogs, const QString& text, const QString& title)
{
    dialogs.message(text, Buttons::Ok, Icon::Information, title);
}

QString sortFailedText(const DataFile& file, const QString& error)
{
    return file.isOpen()
        ? QStringLiteral("The records could not be sorted: %1\n\nThe data file has not been "
                         "changed.")
              .arg(error)
        : QStringLiteral("The records were sorted, but the data file could not be opened "
                         "again: %1\n\nClose this window and open the file anew.")
              .arg(error);
}

void fitOptionInFrame(QAbstractButton* option)
{
    const int needed = option->sizeHint().width();
    const QWidget* frame = option->parentWidget();
    if (needed <= option->width() || !frame)
        return;
    // The frame's border stays clear.
    const int room = frame->width() - option->x() - 2;
    option->resize(std::max(option->width(), std::min(needed, room)), option->height());
}

} // namespace quillary
