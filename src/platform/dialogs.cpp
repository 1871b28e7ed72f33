#include "platform/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace quillary {

namespace {

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

std::optional<QString> runFileDialog(const QString& title, QFileDialog::AcceptMode mode,
                                     const QString& filter = kDataFileFilter,
                                     const QString& suffix = QStringLiteral("dat"))
{
    QFileDialog dialog(dialogParent(), title);
    dialog.setAcceptMode(mode);
    // AnyFile lets the user type the name of a data file that does not exist
    // yet; the record window creates it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

Answer QtDialogs::message(const QString& text, Buttons buttons, Icon icon, const QString& title)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(icon == Icon::Information   ? QMessageBox::Information
                : icon == Icon::Exclamation ? QMessageBox::Warning
                                            : QMessageBox::NoIcon);
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
    QMessageBox box(dialogParent());
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(icon == Icon::Information   ? QMessageBox::Information
                : icon == Icon::Exclamation ? QMessageBox::Warning
                                            : QMessageBox::NoIcon);
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
    box.exec();
    const int chosen = int(buttons.indexOf(box.clickedButton()));
    return chosen >= 0 ? chosen : int(choices.size()) - 1;
}

QString QtDialogs::input(const QString& prompt, const QString& title)
{
    QInputDialog dialog(dialogParent());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    // The correction prompts are long sentences: wrapped, they make a box
    // of ordinary size instead of one as wide as the screen.
    for (QLabel* label : dialog.findChildren<QLabel*>())
        label->setWordWrap(true);
    dialog.resize(dialog.fontMetrics().averageCharWidth() * 60, dialog.sizeHint().height());
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

std::optional<QString> QtDialogs::openFileName(const QString& title)
{
    return runFileDialog(title, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::saveFileName(const QString& title)
{
    return runFileDialog(title, QFileDialog::AcceptSave);
}

std::optional<QString> QtDialogs::exportFileName(const QString& title, const QString& filter)
{
    // The default suffix is the filter's first pattern: "(*.pdf)" gives "pdf".
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    const QString suffix = pattern.match(filter).captured(1);
    return runFileDialog(title, QFileDialog::AcceptSave, filter, suffix);
}

void QtDialogs::runModal(QDialog& dialog)
{
    dialog.exec();
}

} // namespace quillary
