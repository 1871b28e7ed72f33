#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

class QDialog;
class QWidget;

namespace quillary {

// Title of every message box that names none of its own.
inline const QString kAppTitle = QStringLiteral("Quillary2");
inline const QString kDataFileFilter = QStringLiteral("Tax Data Files (*.dat)");

enum class Buttons { Ok, OkCancel, YesNo };
enum class Icon { None, Information, Exclamation };
enum class Answer { Ok, Cancel, Yes, No };

// Every modal box the program shows goes through this interface, so a test
// can answer each one and read what the user would have seen.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual Answer message(const QString& text, Buttons buttons = Buttons::Ok,
                           Icon icon = Icon::None, const QString& title = kAppTitle) = 0;

    // Returns the typed text; the empty text when the user cancels.
    virtual QString input(const QString& prompt, const QString& title) = 0;

    // A box whose buttons carry the given captions, in that order; the last
    // one is the one Escape presses. Returns the index of the button chosen.
    virtual int choose(const QString& text, const QStringList& choices, Icon icon,
                       const QString& title) = 0;

    // File dialogs that accept the name of a file that does not exist yet.
    // std::nullopt means the user cancelled.
    virtual std::optional<QString> openFileName(const QString& title) = 0;
    virtual std::optional<QString> saveFileName(const QString& title) = 0;
    // A save dialog for another kind of file than the data files, with its
    // own filter such as "PDF Files (*.pdf)". Falls back to saveFileName.
    virtual std::optional<QString> exportFileName(const QString& title, const QString& filter)
    {
        return saveFileName(title);
    }
    // An open dialog for an existing file of another kind than the data
    // files, with its own filter such as "CSV Files (*.csv *.txt)". Falls
    // back to openFileName.
    virtual std::optional<QString> importFileName(const QString& title, const QString& filter)
    {
        return openFileName(title);
    }

    // Shows a window modally and returns when it has been closed.
    virtual void runModal(QDialog& dialog) = 0;
};

// The window a box belongs to: the modal window shown (the totals window),
// else the active window, else the window the last box belonged to (right
// after a box closes, no window is active yet), else the main window. A box
// given no owner would appear away from the program, and the program's
// window would stay inactive behind it.
QWidget* boxOwner(QWidget* activeModal, QWidget* active, QWidget* lastOwner, QWidget* mainWindow);

// Room a box leaves for its title in the window frame: the title's width
// and the frame's icon and buttons.
int titleRoom(const QString& title, const QWidget& box);

// The real boxes, on Qt's dialogs, each parented to the window that asks.
class QtDialogs final : public Dialogs {
public:
    Answer message(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
    QString input(const QString& prompt, const QString& title) override;
    int choose(const QString& text, const QStringList& choices, Icon icon,
               const QString& title) override;
    std::optional<QString> openFileName(const QString& title) override;
    std::optional<QString> saveFileName(const QString& title) override;
    std::optional<QString> exportFileName(const QString& title, const QString& filter) override;
    std::optional<QString> importFileName(const QString& title, const QString& filter) override;
    void runModal(QDialog& dialog) override;

private:
    QWidget* owner();
    QPointer<QWidget> lastOwner_;
};

} // namespace quillary
