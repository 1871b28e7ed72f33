#include "platform/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace quillary {

namespace {

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

std::optional<QString> runFileDialog(const QString& title, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(dialogParent(), title);
    dialog.setAcceptMode(mode);
    // AnyFile lets the user type the name of a data file that does not exist
    // yet; the record window creates it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(kDataFileFilter);
    dialog.setDefaultSuffix(QStringLiteral("dat"));
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

QString QtDialogs::input(const QString& prompt, const QString& title)
{
    bool ok = false;
    const QString text = QInputDialog::getText(dialogParent(), title, prompt, QLineEdit::Normal,
                                               QString(), &ok);
    return ok ? text : QString();
}

std::optional<QString> QtDialogs::openFileName(const QString& title)
{
    return runFileDialog(title, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::saveFileName(const QString& title)
{
    return runFileDialog(title, QFileDialog::AcceptSave);
}

void QtDialogs::runModal(QDialog& dialog)
{
    dialog.exec();
}

} // namespace quillary
