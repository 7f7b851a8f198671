#include "scripted_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "window/qt_dialogs.h"

namespace brivana::test {

void ScriptedDialogs::answerInput(const QString& typed, Action whileOpen)
{
    steps_.append({true, MsgAnswer::ok, typed, std::move(whileOpen)});
}

void ScriptedDialogs::answerMessage(MsgAnswer answer, Action whileOpen)
{
    steps_.append({false, answer, {}, std::move(whileOpen)});
}

void ScriptedDialogs::answerInRealBox(MsgAnswer answer)
{
    steps_.append({false, answer, {}, {}, true});
}

namespace {

// Presses the button once the message box is open; looks again a little later until then.
void PressWhenOpen(QMessageBox::StandardButton button, int triesLeft = 200)
{
    QTimer::singleShot(10, [button, triesLeft] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible() && box->button(button)) {
            box->button(button)->click();
        } else if (triesLeft > 0) {
            PressWhenOpen(button, triesLeft - 1);
        }
    });
}

}  // namespace

bool ScriptedDialogs::takeStep(bool input, const QString& text, Step& step)
{
    if (steps_.isEmpty() || steps_.first().input != input) {
        surprises_.append(text);
        return false;
    }
    step = steps_.takeFirst();
    return true;
}

MsgAnswer ScriptedDialogs::messageBox(QWidget* parent, const QString& text, int style, const QString& title)
{
    shown_.append({false, text, style, title});
    Step step;
    if (!takeStep(false, text, step)) return MsgAnswer::ok;
    if (step.real) {
        PressWhenOpen(step.answer == MsgAnswer::yes  ? QMessageBox::Yes
                      : step.answer == MsgAnswer::no ? QMessageBox::No
                                                     : QMessageBox::Ok);
        return window::QtDialogs().messageBox(parent, text, style, title);
    }
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
