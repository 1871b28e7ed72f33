#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

namespace quillary::test {

// A box the program showed, as the user would have seen it.
struct ShownBox {
    enum class Kind { Message, Input, Choice, OpenFile, SaveFile, Modal };
    Kind kind = Kind::Message;
    QString title;
    QString text; // message text or input prompt; the window title for Modal
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    QStringList choices; // the buttons of a Choice box
};

// Dialogs for tests: answers come from a queue the test fills beforehand,
// every box shown is recorded. A box the test did not script fails the test
// at once (and is answered as cancelled, so nothing hangs); answers left
// unused fail it in verifyAllUsed().
class ScriptedDialogs final : public Dialogs {
public:
    ScriptedDialogs& answerMessage(Answer answer);
    ScriptedDialogs& answerInput(const QString& text);
    // Presses the button of that index in the next box with buttons of its own.
    ScriptedDialogs& answerChoice(int index);
    ScriptedDialogs& answerOpenFile(std::optional<QString> path);
    ScriptedDialogs& answerSaveFile(std::optional<QString> path);
    // Runs the handler while the modal window is shown, then closes it.
    ScriptedDialogs& answerModal(std::function<void(QDialog&)> handler);

    Answer message(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
    QString input(const QString& prompt, const QString& title) override;
    int choose(const QString& text, const QStringList& choices, Icon icon,
               const QString& title) override;
    std::optional<QString> openFileName(const QString& title) override;
    std::optional<QString> saveFileName(const QString& title) override;
    // Answered like saveFileName; the box's text is the filter it offered.
    std::optional<QString> exportFileName(const QString& title, const QString& filter) override;
    // Answered like openFileName; the box's text is the filter it offered.
    std::optional<QString> importFileName(const QString& title, const QString& filter) override;
    void runModal(QDialog& dialog) override;

    // Lets pending events run while a box is "shown", as the event loop of
    // a real modal box does.
    void setRunEventsWhileShown(bool run) { runEvents_ = run; }

    const QList<ShownBox>& shown() const { return shown_; }
    ShownBox last() const { return shown_.isEmpty() ? ShownBox{} : shown_.constLast(); }
    void clearShown() { shown_.clear(); }
    int unexpectedCount() const { return unexpected_; }
    std::size_t pendingCount() const { return script_.size(); }

    // Fails the running test when scripted answers were never asked for or
    // an unscripted box appeared; returns whether all was well. Clears the
    // script either way.
    bool verifyAllUsed(const char* file, int line);

private:
    struct Step {
        ShownBox::Kind kind;
        Answer answer = Answer::Ok;
        QString text;
        std::optional<QString> path;
        std::function<void(QDialog&)> modal;
        int choice = -1;
    };
    std::optional<Step> take(ShownBox::Kind kind, const ShownBox& box);

    std::deque<Step> script_;
    QList<ShownBox> shown_;
    int unexpected_ = 0;
    bool runEvents_ = false;
};

// The boxes shown with a text of their own (messages, input boxes, choices),
// each as "title: text", in order: what the user read.
QStringList boxTexts(const ScriptedDialogs& dialogs);

#define QUILLARY_VERIFY_DIALOGS(d)                                                       \
    do {                                                                                 \
        if (!(d).verifyAllUsed(__FILE__, __LINE__))                                     \
            return;                                                                      \
    } while (false)

} // namespace quillary::test
