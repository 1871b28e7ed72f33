#include "forms/common.h"

#include <QAction>
#include <QMenu>

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

} // namespace quillary
