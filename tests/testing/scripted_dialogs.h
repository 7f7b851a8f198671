#pragma once
// Dialogs that answer from a script instead of waiting for a player, and remember every
// dialog shown; for the tests of both windows. A step may run an action while its dialog is
// "open", as a timer tick would, or hand the dialog to real ones.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "window_protocol/dialogs.h"

namespace brivana::test {

struct ShownDialog {
    bool input = false;
    std::string text;  // the prompt of an input box
    int style = 0;
    std::string title;
};

class ScriptedDialogs final : public Dialogs {
public:
    using Action = std::function<void()>;

    void answerInput(const std::string& typed, Action whileOpen = {});
    void answerMessage(MsgAnswer answer = MsgAnswer::ok, Action whileOpen = {});
    // The next message box is shown by `real`, with its window and nested loop; beforeOpen
    // runs first (to schedule the press of a button, say).
    void answerWith(Dialogs& real, Action beforeOpen);

    MsgAnswer messageBox(DialogOwner owner, const std::string& text, int style, const std::string& title) override;
    std::string inputBox(DialogOwner owner, const std::string& prompt, const std::string& title) override;

    const std::vector<ShownDialog>& shown() const { return shown_; }
    // The texts of the message boxes shown so far.
    std::vector<std::string> messages() const;
    // Dialogs that came when the script expected another kind, or nothing at all.
    const std::vector<std::string>& surprises() const { return surprises_; }
    bool scriptDone() const { return steps_.empty(); }

private:
    struct Step {
        bool input;
        MsgAnswer answer;
        std::string typed;
        Action whileOpen;
        Dialogs* real = nullptr;
    };
    // The next step when it is of the wanted kind, its action run; otherwise notes the surprise.
    bool takeStep(bool input, const std::string& text, Step& step);

    std::deque<Step> steps_;
    std::vector<ShownDialog> shown_;
    std::vector<std::string> surprises_;
};

}  // namespace brivana::test
