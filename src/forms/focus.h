#pragma once

#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

class QRadioButton;

namespace quillary {

// Keeps the keyboard focus of a group of option buttons on the checked one,
// as Tab into the group does: only the checked option is a tab stop, focus
// given to another option of the group by the keyboard or the program goes
// to the checked one, and when the program checks another option while the
// group has the focus, the focus follows. So a Space never flips an option
// the user did not reach on purpose. A mouse click still focuses (and
// checks) the option clicked.
void keepFocusOnCheckedOption(const QList<QRadioButton*>& group);

// A clearly visible ring around whichever control of a form has the
// keyboard focus, drawn over the form; styles draw little or nothing for a
// focused option or scroll bar, least of all on a coloured form.
class FocusMark final : public QWidget {
    Q_OBJECT
public:
    explicit FocusMark(QWidget* form);

    // The control marked, null when the focus is outside the form.
    QWidget* marked() const { return target_; }
    // The ring, in the form's coordinates.
    QRect ring() const { return ring_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow(QWidget* focused);
    void place();

    QWidget* form_;
    QPointer<QWidget> target_;
    QRect ring_;
};

} // namespace quillary
