#include "scripted_dialogs.h"

namespace brivana::test {

void ScriptedDialogs::answerInput(const QString& typed, Action whileOpen)
{
    steps_.append({true, MsgAnswer::ok, typed, std::move(whileOpen)});
}

void ScriptedDialogs::answerMessage(MsgAnswer answer, Action whileOpen)
{
    steps_.append({false, answer, {}, std::move(whileOpen)});
}

bool ScriptedDialogs::takeStep(bool input, const QString& text, Step& step)
{
    if (steps_.isEmpty() || steps_.first().input != input) {
        surprises_.append(text);
        return false;
    }
    step = steps_.takeFirst();
    return true;
}

MsgAnswer ScriptedDialogs::messageBox(QWidget*, const QString& text, int style, const QString& title)
{
    shown_.append({false, text, style, title});
    Step step;
    if (!takeStep(false, text, step)) return MsgAnswer::ok;
    if (step.whileOpen) step.whileOpen();
    return step.answer;
}

QString ScriptedDialogs::inputBox(QWidget*, const QString& prompt, const QString& title)
{
    shown_.append({true, prompt, 0, title});
    Step step;
    if (!takeStep(true, prompt, step)) return {};
    if (step.whileOpen) step.whileOpen();
    return step.typed;
}

QStringList ScriptedDialogs::messages() const
{
    QStringList texts;
    for (const ShownDialog& dialog : shown_)
        if (!dialog.input) texts.append(dialog.text);
    return texts;
}

}  // namespace brivana::test
