#pragma once
// Dialogs that answer from a script instead of waiting for a player, and remember every
// dialog shown. A step may run an action while its dialog is "open", as a timer tick would.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "window/dialogs.h"

namespace brivana::test {

struct ShownDialog {
    bool input = false;
    QString text;  // the prompt of an input box
    int style = 0;
    QString title;
};

class ScriptedDialogs final : public window::Dialogs {
public:
    using Action = std::function<void()>;

    void answerInput(const QString& typed, Action whileOpen = {});
    void answerMessage(MsgAnswer answer = MsgAnswer::ok, Action whileOpen = {});
    // Shows the program's real message box, with its nested event loop and its window, and
    // presses the button of the answer once the box is open.
    void answerInRealBox(MsgAnswer answer);

    MsgAnswer messageBox(QWidget* parent, const QString& text, int style, const QString& title) override;
    QString inputBox(QWidget* parent, const QString& prompt, const QString& title) override;

    const QList<ShownDialog>& shown() const { return shown_; }
    // The texts of the message boxes shown so far.
    QStringList messages() const;
    // Dialogs that came when the script expected another kind, or nothing at all.
    const QStringList& surprises() const { return surprises_; }
    bool scriptDone() const { return steps_.isEmpty(); }

private:
    struct Step {
        bool input;
        MsgAnswer answer;
        QString typed;
        Action whileOpen;
        bool real = false;
    };
    // The next step when it is of the wanted kind; otherwise notes the surprise.
    bool takeStep(bool input, const QString& text, Step& step);

    QList<Step> steps_;
    QList<ShownDialog> shown_;
    QStringList surprises_;
};

}  // namespace brivana::test
