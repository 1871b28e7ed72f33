#include "forms/totals/totalsgrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

namespace quillary {

namespace {

QString withoutPadding(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    text.truncate(end);
    return text;
}

} // namespace

void TotalsCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = withoutPadding(option->text);
    option->textElideMode = Qt::ElideRight;
}

int TotalsCellDelegate::textRoom(const QStyleOptionViewItem& option) const
{
    // The room the style draws the text in: the cell less its text margins.
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &option, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    return text.width() - 2 * margin;
}

QString TotalsCellDelegate::shownText(const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    return opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, textRoom(opt));
}

QString TotalsCellDelegate::toolTipText(const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (opt.text.isEmpty() || opt.fontMetrics.horizontalAdvance(opt.text) <= textRoom(opt))
        return {};
    return opt.text;
}

bool TotalsCellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                   const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!event || !view || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString tip = toolTipText(option, index);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), tip, view, view->visualRect(index));
    return true;
}

TotalsGrid::TotalsGrid(QWidget* parent)
    : QTableView(parent)
    , delegate_(new TotalsCellDelegate(this))
{
    setItemDelegate(delegate_);
    setTextElideMode(Qt::ElideRight);
    setTabKeyNavigation(false);
}

QStyleOptionViewItem TotalsGrid::cellOption(const QModelIndex& index) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return option;
}

QString TotalsGrid::shownText(int row, int column) const
{
    const QModelIndex index = model() ? model()->index(row, column) : QModelIndex();
    return index.isValid() ? delegate_->shownText(cellOption(index), index) : QString();
}

QString TotalsGrid::toolTipText(int row, int column) const
{
    const QModelIndex index = model() ? model()->index(row, column) : QModelIndex();
    return index.isValid() ? delegate_->toolTipText(cellOption(index), index) : QString();
}

} // namespace quillary
