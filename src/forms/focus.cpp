#include "forms/focus.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QRadioButton>

namespace quillary {

namespace {

// Ring width, and the gap it may take outside the control.
constexpr int kRing = 2;

class OptionFocus final : public QObject {
public:
    OptionFocus(const QList<QRadioButton*>& group, QObject* parent)
        : QObject(parent)
    {
        for (QRadioButton* option : group)
            group_.append(option);
        for (QRadioButton* option : group) {
            option->installEventFilter(this);
            connect(option, &QRadioButton::toggled, this, [this, option](bool checked) {
                if (!checked)
                    return;
                fixTabStops();
                if (hasFocus())
                    option->setFocus(Qt::OtherFocusReason);
            });
        }
        fixTabStops();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::FocusIn)
            return false;
        auto* option = qobject_cast<QRadioButton*>(watched);
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        QRadioButton* checked = checkedOption();
        if (option && checked && checked != option && reason != Qt::MouseFocusReason
            && reason != Qt::ShortcutFocusReason && checked->isEnabled()
            && checked->isVisible()) {
            // Queued: the focus change under way is finished first.
            QPointer<QRadioButton> target(checked);
            QPointer<QRadioButton> from(option);
            QMetaObject::invokeMethod(
                this,
                [target, from, reason] {
                    if (target && from && from->hasFocus() && !from->isChecked())
                        target->setFocus(reason);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QRadioButton* checkedOption() const
    {
        for (const QPointer<QRadioButton>& option : group_)
            if (option && option->isChecked())
                return option;
        return nullptr;
    }
    bool hasFocus() const
    {
        for (const QPointer<QRadioButton>& option : group_)
            if (option && option->hasFocus())
                return true;
        return false;
    }
    void fixTabStops()
    {
        QRadioButton* checked = checkedOption();
        for (const QPointer<QRadioButton>& option : group_) {
            if (!option)
                continue;
            option->setFocusPolicy(!checked || option == checked ? Qt::StrongFocus
                                                                 : Qt::ClickFocus);
        }
    }

    QList<QPointer<QRadioButton>> group_;
};

} // namespace

void keepFocusOnCheckedOption(const QList<QRadioButton*>& group)
{
    if (group.isEmpty())
        return;
    new OptionFocus(group, group.first());
}

FocusMark::FocusMark(QWidget* form)
    : QWidget(form)
    , form_(form)
{
    setObjectName(QStringLiteral("focusMark"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(form->rect());
    form->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { follow(now); });
    follow(QApplication::focusWidget());
}

void FocusMark::follow(QWidget* focused)
{
    if (target_)
        target_->removeEventFilter(this);
    target_ = focused && form_->isAncestorOf(focused) ? focused : nullptr;
    if (target_)
        target_->installEventFilter(this);
    place();
}

void FocusMark::place()
{
    setGeometry(form_->rect());
    if (!target_) {
        update(ring_);
        ring_ = QRect();
        return;
    }
    const QRect control(target_->mapTo(form_, QPoint(0, 0)), target_->size());
    const QRect before = ring_;
    ring_ = control.adjusted(-kRing, -kRing, kRing, kRing).intersected(form_->rect());
    raise();
    show();
    update(QRegion(before) + QRegion(ring_));
}

bool FocusMark::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        if (watched == form_ || watched == target_)
            place();
        break;
    default:
        break;
    }
    return false;
}

void FocusMark::paintEvent(QPaintEvent*)
{
    if (ring_.isEmpty())
        return;
    QPainter p(this);
    // Gold: clear on the teal form, on the grey buttons and on the white
    // text boxes alike.
    QRegion ring(ring_);
    ring -= QRegion(ring_.adjusted(kRing, kRing, -kRing, -kRing));
    p.setClipRegion(ring);
    p.fillRect(ring_, QColor(255, 204, 0));
}

} // namespace quillary
