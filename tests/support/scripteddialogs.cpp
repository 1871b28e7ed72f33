#include "support/scripteddialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QTest>

namespace quillary::test {

namespace {

const char* kindName(ShownBox::Kind kind)
{
    switch (kind) {
    case ShownBox::Kind::Message: return "message box";
    case ShownBox::Kind::Input: return "input box";
    case ShownBox::Kind::Choice: return "box with choices";
    case ShownBox::Kind::OpenFile: return "file-open dialog";
    case ShownBox::Kind::SaveFile: return "file-save dialog";
    case ShownBox::Kind::Modal: return "modal window";
    }
    return "?";
}

} // namespace

ScriptedDialogs& ScriptedDialogs::answerMessage(Answer answer)
{
    script_.push_back({ShownBox::Kind::Message, answer, {}, {}, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerInput(const QString& text)
{
    script_.push_back({ShownBox::Kind::Input, Answer::Ok, text, {}, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerChoice(int index)
{
    Step step{ShownBox::Kind::Choice, Answer::Ok, {}, {}, {}};
    step.choice = index;
    script_.push_back(std::move(step));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerOpenFile(std::optional<QString> path)
{
    script_.push_back({ShownBox::Kind::OpenFile, Answer::Ok, {}, std::move(path), {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerSaveFile(std::optional<QString> path)
{
    script_.push_back({ShownBox::Kind::SaveFile, Answer::Ok, {}, std::move(path), {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerModal(std::function<void(QDialog&)> handler)
{
    script_.push_back({ShownBox::Kind::Modal, Answer::Ok, {}, {}, std::move(handler)});
    return *this;
}

std::optional<ScriptedDialogs::Step> ScriptedDialogs::take(ShownBox::Kind kind, const ShownBox& box)
{
    shown_.append(box);
    if (runEvents_)
        QCoreApplication::processEvents();
    if (script_.empty() || script_.front().kind != kind) {
        ++unexpected_;
        const QString expected = script_.empty()
            ? QStringLiteral("nothing")
            : QString::fromLatin1(kindName(script_.front().kind));
        const QString what = QStringLiteral("Unscripted %1 \"%2\": \"%3\" (script expected %4)")
                                 .arg(QString::fromLatin1(kindName(kind)), box.title, box.text,
                                      expected);
        QTest::qFail(qPrintable(what), __FILE__, __LINE__);
        return std::nullopt;
    }
    Step step = std::move(script_.front());
    script_.pop_front();
    return step;
}

Answer ScriptedDialogs::message(const QString& text, Buttons buttons, Icon icon, const QString& title)
{
    const auto step = take(ShownBox::Kind::Message, {ShownBox::Kind::Message, title, text, buttons, icon, {}});
    if (!step)
        return buttons == Buttons::YesNo ? Answer::No
             : buttons == Buttons::OkCancel ? Answer::Cancel
                                            : Answer::Ok;
    return step->answer;
}

QString ScriptedDialogs::input(const QString& prompt, const QString& title)
{
    const auto step = take(ShownBox::Kind::Input, {ShownBox::Kind::Input, title, prompt, Buttons::OkCancel, Icon::None, {}});
    return step ? step->text : QString();
}

int ScriptedDialogs::choose(const QString& text, const QStringList& choices, Icon icon,
                            const QString& title)
{
    ShownBox box{ShownBox::Kind::Choice, title, text, Buttons::Ok, icon, {}};
    box.choices = choices;
    const auto step = take(ShownBox::Kind::Choice, box);
    // Unscripted, the box is left as Escape leaves it.
    if (!step || step->choice < 0 || step->choice >= choices.size())
        return int(choices.size()) - 1;
    return step->choice;
}

std::optional<QString> ScriptedDialogs::openFileName(const QString& title)
{
    const auto step = take(ShownBox::Kind::OpenFile, {ShownBox::Kind::OpenFile, title, {}, Buttons::OkCancel, Icon::None, {}});
    return step ? step->path : std::nullopt;
}

std::optional<QString> ScriptedDialogs::saveFileName(const QString& title)
{
    const auto step = take(ShownBox::Kind::SaveFile, {ShownBox::Kind::SaveFile, title, {}, Buttons::OkCancel, Icon::None, {}});
    return step ? step->path : std::nullopt;
}

std::optional<QString> ScriptedDialogs::exportFileName(const QString& title, const QString& filter)
{
    const auto step = take(ShownBox::Kind::SaveFile, {ShownBox::Kind::SaveFile, title, filter, Buttons::OkCancel, Icon::None, {}});
    return step ? step->path : std::nullopt;
}

std::optional<QString> ScriptedDialogs::importFileName(const QString& title, const QString& filter)
{
    const auto step = take(ShownBox::Kind::OpenFile, {ShownBox::Kind::OpenFile, title, filter, Buttons::OkCancel, Icon::None, {}});
    return step ? step->path : std::nullopt;
}

void ScriptedDialogs::runModal(QDialog& dialog)
{
    const auto step = take(ShownBox::Kind::Modal, {ShownBox::Kind::Modal, dialog.windowTitle(), dialog.windowTitle(), Buttons::Ok, Icon::None, {}});
    // Shown the way exec() shows it, so the window's own show handling
    // runs, but without a nested event loop.
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    if (step && step->modal)
        step->modal(dialog);
    dialog.close();
}

bool ScriptedDialogs::verifyAllUsed(const char* file, int line)
{
    bool ok = unexpected_ == 0;
    if (!script_.empty()) {
        QStringList left;
        for (const Step& s : script_)
            left << QString::fromLatin1(kindName(s.kind));
        QTest::qFail(qPrintable(QStringLiteral("Scripted answers never asked for: %1")
                                    .arg(left.join(QStringLiteral(", ")))),
                     file, line);
        ok = false;
    }
    script_.clear();
    unexpected_ = 0;
    return ok;
}

QStringList boxTexts(const ScriptedDialogs& dialogs)
{
    QStringList out;
    for (const ShownBox& box : dialogs.shown()) {
        if (box.kind == ShownBox::Kind::Message || box.kind == ShownBox::Kind::Input
            || box.kind == ShownBox::Kind::Choice)
            out << box.title + QStringLiteral(": ") + box.text;
    }
    return out;
}

} // namespace quillary::test
