#include "platform/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpacerItem>
#include <QStyle>

#include <algorithm>

namespace quillary {

namespace {

// Marks the boxes made here: a box is never the owner of the next one.
const char* const kBoxProperty = "quillaryBox";

QWidget* mainWindow()
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(top) && top->isVisible())
            return top;
    }
    return nullptr;
}

QWidget* notABox(QWidget* window)
{
    while (window && window->property(kBoxProperty).toBool())
        window = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    return window;
}

// Widens a message box so its title is not cut in the window frame.
void leaveRoomForTitle(QMessageBox& box, const QString& title)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    // The box sets its own fixed size from its layout, so the width is
    // asked for by a spacer across the whole layout.
    grid->addItem(new QSpacerItem(titleRoom(title, box), 0, QSizePolicy::Minimum,
                                  QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

std::optional<QString> runFileDialog(QWidget* parent, const QString& title,
                                     QFileDialog::AcceptMode mode,
                                     const QString& filter = kDataFileFilter,
                                     const QString& suffix = QStringLiteral("dat"),
                                     QFileDialog::FileMode files = QFileDialog::AnyFile)
{
    QFileDialog dialog(parent, title);
    dialog.setProperty(kBoxProperty, true);
    dialog.setAcceptMode(mode);
    // AnyFile lets the user type the name of a data file that does not exist
    // yet; the record window creates it.
    dialog.setFileMode(files);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

QWidget* boxOwner(QWidget* activeModal, QWidget* active, QWidget* lastOwner, QWidget* mainWindow)
{
    for (QWidget* candidate : {activeModal, active, lastOwner, mainWindow}) {
        if (candidate)
            return candidate;
    }
    return nullptr;
}

int titleRoom(const QString& title, const QWidget& box)
{
    // Window managers draw titles in a bold font of about this size.
    QFont font = box.font();
    font.setBold(true);
    const int bar = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    return QFontMetrics(font).horizontalAdvance(title) + 4 * std::max(bar, 16) + 16;
}

QWidget* QtDialogs::owner()
{
    QWidget* owner = boxOwner(notABox(QApplication::activeModalWidget()),
                              notABox(QApplication::activeWindow()),
                              lastOwner_ && lastOwner_->isVisible() ? lastOwner_.data() : nullptr,
                              mainWindow());
    lastOwner_ = owner;
    return owner;
}

namespace {

void setUpBox(QMessageBox& box, const QString& text, Icon icon, const QString& title)
{
    box.setProperty(kBoxProperty, true);
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(icon == Icon::Information   ? QMessageBox::Information
                : icon == Icon::Exclamation ? QMessageBox::Warning
                                            : QMessageBox::NoIcon);
}

} // namespace

Answer QtDialogs::message(const QString& text, Buttons buttons, Icon icon, const QString& title)
{
    QMessageBox box(owner());
    setUpBox(box, text, icon, title);
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    leaveRoomForTitle(box, title);
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // Escape on an OK-only box still means OK; on OK/Cancel it is Cancel.
        return buttons == Buttons::OkCancel && box.clickedButton() == nullptr ? Answer::Cancel
                                                                              : Answer::Ok;
    }
}

int QtDialogs::choose(const QString& text, const QStringList& choices, Icon icon,
                      const QString& title)
{
    QMessageBox box(owner());
    setUpBox(box, text, icon, title);
    QList<QAbstractButton*> buttons;
    for (int i = 0; i < choices.size(); ++i) {
        const bool last = i == choices.size() - 1;
        buttons.append(box.addButton(choices[i], last ? QMessageBox::RejectRole
                                                      : QMessageBox::AcceptRole));
    }
    if (!buttons.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons.constFirst()));
        box.setEscapeButton(buttons.constLast());
    }
    leaveRoomForTitle(box, title);
    box.exec();
    const int chosen = int(buttons.indexOf(box.clickedButton()));
    return chosen >= 0 ? chosen : int(choices.size()) - 1;
}

QString QtDialogs::input(const QString& prompt, const QString& title)
{
    QInputDialog dialog(owner());
    dialog.setProperty(kBoxProperty, true);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    // The correction prompts are long sentences: wrapped, they make a box
    // of ordinary size instead of one as wide as the screen.
    for (QLabel* label : dialog.findChildren<QLabel*>())
        label->setWordWrap(true);
    dialog.resize(std::max(dialog.fontMetrics().averageCharWidth() * 60, titleRoom(title, dialog)),
                  dialog.sizeHint().height());
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

std::optional<QString> QtDialogs::openFileName(const QString& title)
{
    return runFileDialog(owner(), title, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::saveFileName(const QString& title)
{
    return runFileDialog(owner(), title, QFileDialog::AcceptSave);
}

std::optional<QString> QtDialogs::exportFileName(const QString& title, const QString& filter)
{
    // The default suffix is the filter's first pattern: "(*.pdf)" gives "pdf".
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    const QString suffix = pattern.match(filter).captured(1);
    return runFileDialog(owner(), title, QFileDialog::AcceptSave, filter, suffix);
}

std::optional<QString> QtDialogs::importFileName(const QString& title, const QString& filter)
{
    return runFileDialog(owner(), title, QFileDialog::AcceptOpen, filter, QString(),
                         QFileDialog::ExistingFile);
}

void QtDialogs::runModal(QDialog& dialog)
{
    dialog.exec();
}

} // namespace quillary
