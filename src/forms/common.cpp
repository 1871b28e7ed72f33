#include "forms/common.h"

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

QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* addMenuSeparator(QMenu* menu, const char* name)
{
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
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
