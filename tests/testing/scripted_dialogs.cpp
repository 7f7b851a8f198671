#include "scripted_dialogs.h"

namespace brivana::test {

void ScriptedDialogs::answerInput(const std::string& typed, Action whileOpen)
{
    steps_.push_back({true, MsgAnswer::ok, typed, std::move(whileOpen)});
}

void ScriptedDialogs::answerMessage(MsgAnswer answer, Action whileOpen)
{
    steps_.push_back({false, answer, {}, std::move(whileOpen)});
}

void ScriptedDialogs::answerWith(Dialogs& real, Action beforeOpen)
{
    steps_.push_back({false, MsgAnswer::ok, {}, std::move(beforeOpen), &real});
}

bool ScriptedDialogs::takeStep(bool input, const std::string& text, Step& step)
{
    if (steps_.empty() || steps_.front().input != input) {
        surprises_.push_back(text);
        return false;
    }
    step = std::move(steps_.front());
    steps_.pop_front();
    if (step.whileOpen) step.whileOpen();
    return true;
}

MsgAnswer ScriptedDialogs::messageBox(DialogOwner owner, const std::string& text, int style, const std::string& title)
{
    shown_.push_back({false, text, style, title});
    Step step;
    // A question nobody expected gets the safe answer.
    if (!takeStep(false, text, step)) return style == MsgStyle::yesNoQuestionDefaultNo ? MsgAnswer::no : MsgAnswer::ok;
    if (step.real) return step.real->messageBox(owner, text, style, title);
    return step.answer;
}

std::string ScriptedDialogs::inputBox(DialogOwner, const std::string& prompt, const std::string& title)
{
    shown_.push_back({true, prompt, 0, title});
    Step step;
    if (!takeStep(true, prompt, step)) return {};
    return step.typed;
}

std::vector<std::string> ScriptedDialogs::messages() const
{
    std::vector<std::string> texts;
    for (const ShownDialog& dialog : shown_)
        if (!dialog.input) texts.push_back(dialog.text);
    return texts;
}

}  // namespace brivana::test
